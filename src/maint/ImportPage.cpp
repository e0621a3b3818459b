#include "maint/ImportPage.h"

#include "common/UException.h"
#include "common/UntPublic.h"
#include "controls/CardEdtBut.h"
#include "data/MD.h"
#include "goods/UntCustomer.h"
#include "maint/GoodsImport.h"
#include "tree/ViewCustomerType.h"

#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace {
const QString kNoGroupText = QStringLiteral("未分组");
}

TImportPage::TImportPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TImportPage"));
    LabGou = new QLabel(QStringLiteral("所属分组"), this);
    LabGou->setObjectName(QStringLiteral("LabGou"));
    LabGou->setGeometry(12, 14, 56, 16);

    EdtGoup = new TCardEdtBut(this);
    EdtGoup->setObjectName(QStringLiteral("EdtGoup"));
    EdtGoup->setGeometry(72, 10, 161, 21);
    EdtGoup->setReadOnly(true);
    EdtGoup->SetButtonBmp(CardFind);
    EdtGoup->SetButVisible(true);
    QPalette grey = EdtGoup->palette();
    grey.setColor(QPalette::Base, grey.color(QPalette::Window));
    EdtGoup->setPalette(grey);
    EdtGoup->setText(kNoGroupText);
    LabGou->setBuddy(EdtGoup);
    connect(EdtGoup, &TCardEdtBut::OnButClick, this, Guarded([this] { EdtGoupButClick(); }));

    lstbox1 = new QListWidget(this);
    lstbox1->setObjectName(QStringLiteral("lstbox1"));
    lstbox1->setGeometry(12, 40, 221, 185);

    Label4 = new QLabel(
        QStringLiteral("选择需要导入的客户资料字段，Excel中填入同样的客户资料字段\n导入前请先数据备份"),
        this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setWordWrap(true);
    Label4->setGeometry(244, 40, 136, 120);
    Label4->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    btnInData = new QPushButton(QStringLiteral("数据导入"), this);
    btnInData->setObjectName(QStringLiteral("btnInData"));
    btnInData->setGeometry(276, 200, 89, 25);
    connect(btnInData, &QPushButton::clicked, this, Guarded([this] { btnInDataClick(); }));
}

void TImportPage::Prepare() {
    m_groupIndex = 0;
    EdtGoup->setText(kNoGroupText);
    QStringList items;
    gCustomer->FillQueryItems(items);
    lstbox1->clear();
    for (const QString& name : items) {
        auto* item = new QListWidgetItem(name, lstbox1);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
}

QStringList TImportPage::TickedFields() const {
    QStringList names;
    for (int i = 0; i < lstbox1->count(); ++i)
        if (lstbox1->item(i)->checkState() == Qt::Checked) names << lstbox1->item(i)->text();
    return names;
}

void TImportPage::EdtGoupButClick() {
    int index = 0;
    QString text;
    if (PickGroup(index, text) != QDialog::Accepted) return;
    m_groupIndex = index;
    EdtGoup->setText(text);
}

void TImportPage::btnInDataClick() {
    const QStringList fields = TickedFields();
    if (fields.isEmpty()) {
        ShowInfo(QStringLiteral("必须选择需要导入的商品资料标题!"));
        return;
    }
    const QString file =
        PromptOpenFileName(QStringLiteral("打开"), QStringLiteral("EXCEL (*.xls *.xlsx);;CSV (*.csv)"));
    if (file.isEmpty()) return;
    // The safety copy; when it fails the import does not start ("数据库备份失败！").
    BackupData(AppDir() + QStringLiteral("tmpData.dat"));
    int count = 0;
    try {
        TWaitingScope waiting(QStringLiteral("正在导入数据，请稍后..."));
        count = ImportGoodsFile(file, fields, m_groupIndex);
    } catch (const EAppError& e) {
        ShowError(ImportFailureMessage(e.Message()));
        return;
    }
    m_imported = true;
    ShowInfo(ImportSuccessMessage(count));
}
