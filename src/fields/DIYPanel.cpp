#include "fields/DIYPanel.h"

#include "common/Seams.h"
#include "common/UException.h"
#include "controls/CardFloatIntEdit.h"
#include "controls/DateBox.h"
#include "data/MD.h"
#include "fields/UntTitle.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

const QColor TDIYPanel::RequiredColor(248, 242, 139);
const QColor TDIYPanel::UniqueColor(137, 239, 234);
const QColor TDIYPanel::BothColor(254, 189, 177);

namespace {

constexpr int LabelWidth = 72;
constexpr int LabelHeight = 17;
constexpr int ControlOffset = 78;
constexpr int ControlWidth = 121;
constexpr int ControlHeight = 20;

QWidget* MakeControl(QWidget* container, int kind, const QString& name, const QString& values) {
    switch (kind) {
    case tkText: {
        auto* e = new QLineEdit(container);
        e->setText(values);
        return e;
    }
    case tkList: {
        auto* c = new QComboBox(container);
        c->setEditable(true);
        c->setInsertPolicy(QComboBox::NoInsert);
        c->addItems(DecodeTitleOptions(values));
        if (c->count() > 0) c->setCurrentIndex(0);
        return c;
    }
    case tkMemoryList: {
        auto* c = new QComboBox(container);
        c->setEditable(true);
        c->setInsertPolicy(QComboBox::NoInsert);
        // Runs while the definitions are walked in QueryData, so it takes the second result set.
        gDbAccess->OpenQuery2(QStringLiteral("select DISTINCT %1 from  Customer ").arg(name));
        TResultSet* rs = gDbAccess->QueryData2;
        for (rs->First(); !rs->Eof(); rs->Next())
            c->addItem(rs->Fields(0).AsString());
        if (c->count() > 0) c->setCurrentIndex(0);
        return c;
    }
    case tkDate: {
        auto* d = new TDateBox(container);
        d->setCalendarPopup(true);
        d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        d->setDate(TitleDateValue(values, Now().date()));
        return d;
    }
    case tkNumber: {
        auto* n = new TCardFloatIntEdit(container);
        n->SetTextType(TTextType::FloatText);
        n->SetZF(true);
        n->setText(values);
        return n;
    }
    default:
        return nullptr;
    }
}

void SetColor(QWidget* control, const QColor& color) {
    QPalette p = control->palette();
    p.setColor(QPalette::Base, color);
    control->setPalette(p);
    if (auto* c = qobject_cast<QComboBox*>(control))
        if (c->lineEdit()) c->lineEdit()->setPalette(p);
}

// The input controls of the panel in creation order.
QList<QWidget*> Controls(QWidget* container) {
    QList<QWidget*> list;
    for (QObject* o : container->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (w && w->objectName().startsWith(QLatin1String("Ctrl"))) list << w;
    }
    return list;
}

// Text boxes and combo boxes have a text; date pickers a date. Other widgets give a null text.
bool TextOf(QWidget* w, QString& text) {
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        text = e->text();
        return true;
    }
    if (auto* c = qobject_cast<QComboBox*>(w)) {
        text = c->currentText();
        return true;
    }
    return false;
}

// The value a control stores: its text, or its date as YYYY-MM-DD. False for a widget that is neither.
bool ValueOf(QWidget* w, QString& value) {
    if (TextOf(w, value)) return true;
    if (auto* d = qobject_cast<QDateEdit*>(w)) {
        value = PanelDateText(d->date());
        return true;
    }
    return false;
}

QColor ColorOf(const QWidget* w) {
    return w->palette().color(QPalette::Base);
}

} // namespace

void TDIYPanel::Build(QWidget* container) {
    gDbAccess->OpenQuery(
        QStringLiteral("select TitleName,TitleValues,TitleType,Titlebt,Titlewy from APPTitle "));
    TResultSet* rs = gDbAccess->QueryData;
    int row = 0, col = 0, n = 0;
    for (rs->First(); !rs->Eof(); rs->Next()) {
        const QString name = rs->FieldByName(QStringLiteral("TitleName")).AsString();
        const QString values = rs->FieldByName(QStringLiteral("TitleValues")).AsString();
        const int kind = rs->FieldByName(QStringLiteral("TitleType")).AsInteger();
        const bool required = rs->FieldByName(QStringLiteral("Titlebt")).AsBoolean();
        const bool unique = rs->FieldByName(QStringLiteral("Titlewy")).AsBoolean();

        const int top = 20 + 38 * row;
        const int left = 2 + 200 * col;
        if (++col == 3) {
            col = 0;
            ++row;
        }
        ++n;

        auto* label = new QLabel(name, container);
        label->setObjectName(QStringLiteral("Label%1").arg(n));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setGeometry(left, top + 2, LabelWidth, LabelHeight);
        label->show();

        QWidget* control = MakeControl(container, kind, name, values);
        if (!control) continue; // an unknown kind keeps its label only
        control->setObjectName(QStringLiteral("Ctrl%1").arg(n));
        const int height = qobject_cast<QLineEdit*>(control) ? control->sizeHint().height() : ControlHeight;
        control->setGeometry(left + ControlOffset, top, ControlWidth, height);
        control->setToolTip(name);
        if (required) SetColor(control, RequiredColor);
        if (unique) SetColor(control, UniqueColor);
        if (required && unique) SetColor(control, BothColor);
        control->show();
    }
}

QString TDIYPanel::FieldName(const QWidget* control) {
    return control->toolTip();
}

bool TDIYPanel::IsRequired(const QWidget* control) {
    const QColor c = ColorOf(control);
    return c == RequiredColor || c == BothColor;
}

bool TDIYPanel::IsUnique(const QWidget* control) {
    const QColor c = ColorOf(control);
    return c == UniqueColor || c == BothColor;
}

void TDIYPanel::CheckRequired(QWidget* container) {
    for (QWidget* w : Controls(container)) {
        QString text;
        if (!TextOf(w, text) || !IsRequired(w)) continue; // date pickers always hold a date
        if (text.isEmpty()) throw EAppError(RequiredEmptyMessage(FieldName(w)));
    }
}

void TDIYPanel::CheckUnique(QWidget* container, const QString& guid, bool change) {
    for (QWidget* w : Controls(container)) {
        QString value;
        if (!IsUnique(w) || !ValueOf(w, value)) continue;
        const QString field = FieldName(w);
        if (QueryInt(UniqueCountSql(field, value, guid, change)) > 0)
            throw EAppError(UniqueTakenMessage(field, value));
    }
}

void TDIYPanel::InsertLists(QWidget* container, QString& columns, QString& values) {
    QStringList cols, vals;
    for (QWidget* w : Controls(container)) {
        QString value;
        if (!ValueOf(w, value)) continue;
        cols << FieldName(w);
        vals << QStringLiteral("'%1'").arg(QuotedSql(value));
    }
    columns = cols.join(QLatin1Char(','));
    values = vals.join(QLatin1Char(','));
}

QString TDIYPanel::UpdateList(QWidget* container) {
    QStringList sets;
    for (QWidget* w : Controls(container)) {
        QString value;
        if (ValueOf(w, value)) sets << QStringLiteral("%1='%2'").arg(FieldName(w), QuotedSql(value));
    }
    return sets.join(QLatin1Char(','));
}

void TDIYPanel::Fill(QWidget* container, const TResultSet& record) {
    for (QWidget* w : Controls(container)) {
        const int column = record.FindField(FieldName(w).trimmed());
        const QString text = column >= 0 && !record.Eof() ? record.Fields(column).AsString() : QString();
        if (auto* e = qobject_cast<QLineEdit*>(w))
            e->setText(text);
        else if (auto* c = qobject_cast<QComboBox*>(w))
            c->setEditText(text);
        else if (auto* d = qobject_cast<QDateEdit*>(w)) {
            const QDate date = ParseTitleDate(text);
            d->setDate(date.isValid() ? date : Now().date());
        }
    }
}
