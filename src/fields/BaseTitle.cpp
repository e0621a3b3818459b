#include "fields/BaseTitle.h"

#include "common/Seams.h"
#include "common/UException.h"
#include "common/UntPublic.h"
#include "controls/DateBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int x, int y) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(x, y, 64, 22);
    return l;
}

const int DateToday = 0;  // "当前时间"
const int DateCustom = 1; // "自定义"

} // namespace

TFormBaseTitle::TFormBaseTitle(QWidget* parent) : TFormBaseDlg(parent) {
    setObjectName(QStringLiteral("TFormBaseTitle"));
    resize(446, 343);
    QWidget* c = pnlClient();

    MakeLabel(c, "lblName", QStringLiteral("标题名称"), 24, 18);
    edtName = new QLineEdit(c);
    edtName->setObjectName(QStringLiteral("edtName"));
    edtName->setMaxLength(10);
    edtName->setGeometry(96, 18, 160, 22);

    MakeLabel(c, "lblType", QStringLiteral("类        型"), 24, 52);
    cbbType = new QComboBox(c);
    cbbType->setObjectName(QStringLiteral("cbbType"));
    cbbType->setEditable(false);
    cbbType->addItems(TitleKindNames());
    cbbType->setGeometry(96, 52, 160, 22);

    lblmrz = MakeLabel(c, "lblmrz", QStringLiteral("默  认  值"), 24, 86);
    edtmrz = new QLineEdit(c);
    edtmrz->setObjectName(QStringLiteral("edtmrz"));
    edtmrz->setGeometry(96, 86, 320, 22);
    mmomrz = new QPlainTextEdit(c);
    mmomrz->setObjectName(QStringLiteral("mmomrz"));
    mmomrz->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mmomrz->setLineWrapMode(QPlainTextEdit::NoWrap);
    mmomrz->setGeometry(96, 86, 320, 84);
    cbbsj = new QComboBox(c);
    cbbsj->setObjectName(QStringLiteral("cbbsj"));
    cbbsj->addItems({QStringLiteral("当前时间"), QStringLiteral("自定义")});
    cbbsj->setGeometry(96, 86, 100, 22);
    DBDate = new TDateBox(c);
    DBDate->setObjectName(QStringLiteral("DBDate"));
    DBDate->setCalendarPopup(true);
    DBDate->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    DBDate->setDate(Now().date());
    DBDate->setGeometry(204, 86, 120, 22);

    chkwy = new QCheckBox(QStringLiteral("输入数据唯一"), c);
    chkwy->setObjectName(QStringLiteral("chkwy"));
    chkwy->setGeometry(96, 178, 120, 22);
    chkbt = new QCheckBox(QStringLiteral("必填"), c);
    chkbt->setObjectName(QStringLiteral("chkbt"));
    chkbt->setGeometry(236, 178, 80, 22);

    grpType = new QGroupBox(QStringLiteral("类型说明"), c);
    grpType->setObjectName(QStringLiteral("grpType"));
    grpType->setGeometry(16, 206, 410, 84);
    mmo1 = new QPlainTextEdit(grpType);
    mmo1->setObjectName(QStringLiteral("mmo1"));
    mmo1->setReadOnly(true);
    mmo1->setFrameShape(QFrame::NoFrame);
    mmo1->setGeometry(10, 22, 390, 54);
    QPalette p = mmo1->palette();
    p.setColor(QPalette::Text, Qt::blue);
    p.setColor(QPalette::Base, grpType->palette().color(QPalette::Window));
    mmo1->setPalette(p);

    connect(cbbType, &QComboBox::currentIndexChanged, this, Guarded([this] { cbbTypeChange(); }));
    connect(cbbsj, &QComboBox::currentIndexChanged, this, Guarded([this] { cbbsjChange(); }));
    cbbTypeChange();
}

void TFormBaseTitle::showEvent(QShowEvent* event) {
    TFormBaseDlg::showEvent(event);
    Guard([&] { ShowDescription(); });
}

void TFormBaseTitle::ShowDescription() {
    mmo1->setPlainText(TitleKindDescription(cbbType->currentIndex()));
}

void TFormBaseTitle::cbbTypeChange() {
    const int kind = cbbType->currentIndex();
    edtmrz->setVisible(kind == tkText || kind == tkNumber);
    mmomrz->setVisible(kind == tkList);
    lblmrz->setVisible(kind != tkMemoryList);
    cbbsj->setVisible(kind == tkDate);
    // The picker belongs to "自定义": a hidden picker would still decide what is saved.
    DBDate->setVisible(kind == tkDate && cbbsj->currentIndex() == DateCustom);
    edtmrz->clear();
    mmomrz->clear();
    ShowDescription();
}

void TFormBaseTitle::cbbsjChange() {
    DBDate->setVisible(cbbsj->currentIndex() == DateCustom);
}

QString TFormBaseTitle::TitleValues() const {
    switch (cbbType->currentIndex()) {
    case tkText:
    case tkNumber:
        return edtmrz->text();
    case tkList:
        return EncodeTitleOptions(TitleLinesFromText(mmomrz->toPlainText()));
    case tkDate:
        return EncodeTitleDate(cbbsj->currentIndex() == DateToday, DBDate->date());
    default:
        return QString();
    }
}

TTitleDef TFormBaseTitle::Definition() const {
    TTitleDef d;
    d.Name = edtName->text();
    d.Type = cbbType->currentIndex();
    d.Values = TitleValues();
    d.Required = chkbt->isChecked();
    d.Unique = chkwy->isChecked();
    return d;
}

void TFormBaseTitle::LoadDefinition(const TTitleDef& def) {
    edtName->setText(def.Name);
    if (def.Type >= 0 && def.Type < TitleKindCount) {
        if (cbbType->currentIndex() == def.Type)
            cbbTypeChange(); // the same kind: still show its controls and empty the boxes
        else
            cbbType->setCurrentIndex(def.Type);
    }
    chkbt->setChecked(def.Required);
    chkwy->setChecked(def.Unique);
    switch (def.Type) {
    case tkText:
    case tkNumber:
        edtmrz->setText(def.Values);
        break;
    case tkList:
        mmomrz->setPlainText(TitleTextFromLines(DecodeTitleOptions(def.Values)));
        break;
    case tkDate:
        if (def.Values == QLatin1String(TitleDateToday)) {
            cbbsj->setCurrentIndex(DateToday);
        } else {
            cbbsj->setCurrentIndex(DateCustom);
            DBDate->setDate(TitleDateValue(def.Values, Now().date()));
        }
        cbbsjChange();
        break;
    default:
        break;
    }
}

bool TFormBaseTitle::CheckNameNotEmpty() {
    if (!edtName->text().trimmed().isEmpty()) return true;
    ShowInfo(QStringLiteral("标题名不能为空！"));
    edtName->setFocus();
    return false;
}
