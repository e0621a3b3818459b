#include "maint/DataMgr.h"

#include "common/BaseDlg.h"
#include "common/UException.h"
#include "common/UntPublic.h"
#include "common/WindowMessages.h"
#include "maint/DataMaint.h"
#include "maint/ImportPage.h"

#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const QString kDataFilter = QStringLiteral("数据文件 (*.dat)");

QWidget* ButtonPage(QWidget* parent, const char* name, QPushButton*& button, const QString& caption,
                    const char* buttonName, const QString& note = {}) {
    auto* page = new QWidget(parent);
    page->setObjectName(QLatin1String(name));
    if (!note.isEmpty()) {
        auto* label = new QLabel(note, page);
        label->setObjectName(QStringLiteral("Label1"));
        label->setGeometry(40, 50, 310, 24);
    }
    button = new QPushButton(caption, page);
    button->setObjectName(QLatin1String(buttonName));
    button->setGeometry(150, 110, 90, 28);
    button->setAutoDefault(false);
    return page;
}

} // namespace

TFormDataMgr::TFormDataMgr(QWidget* parent)
    : QDialog(parent ? parent : qobject_cast<QWidget*>(MainWindowTarget()),
              Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                  Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("TFormDataMgr"));
    setWindowTitle(QStringLiteral("数据维护"));
    setModal(true);
    setFixedSize(392, 266);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    layout->addWidget(m_pages);

    m_pages->addTab(ButtonPage(m_pages, "TabSheet1", m_btnSave, QStringLiteral("备份"), "btnSave"),
                    QStringLiteral("数据备份"));
    m_pages->addTab(ButtonPage(m_pages, "TabSheet2", m_btnAdd, QStringLiteral("恢复"), "btnAdd"),
                    QStringLiteral("数据恢复"));
    m_pages->addTab(ButtonPage(m_pages, "TabSheet3", m_Button1, QStringLiteral("清除"), "Button1",
                               QStringLiteral("此操作将清除系统所有数据,慎用!")),
                    QStringLiteral("数据清除"));
    AddImportPage();

    connect(m_btnSave, &QPushButton::clicked, this, Guarded([this] { btnSaveClick(); }));
    connect(m_btnAdd, &QPushButton::clicked, this, Guarded([this] { btnAddClick(); }));
    connect(m_Button1, &QPushButton::clicked, this, Guarded([this] { Button1Click(); }));
}

void TFormDataMgr::AddImportPage() {
    m_importPage = new TImportPage(m_pages);
    m_importPage->setObjectName(QStringLiteral("TabSheet4"));
    m_pages->addTab(m_importPage, QStringLiteral("数据导入"));
}

void TFormDataMgr::showEvent(QShowEvent* e) {
    Guard([&] {
        QDialog::showEvent(e);
        if (m_placed || e->spontaneous()) return;
        m_placed = true;
        CenterOnMainWindow(this);
        FormShow();
    });
}

void TFormDataMgr::FormShow() {
    m_importPage->Prepare();
}

bool TFormDataMgr::DataChanged() const {
    return m_changed || m_importPage->Imported();
}

void TFormDataMgr::btnSaveClick() {
    const QString name = PromptSaveFileName(QStringLiteral("备份"), kDataFilter);
    if (name.isEmpty()) return;
    BackupDataAs(name);
}

void TFormDataMgr::btnAddClick() {
    if (!AskYesNo(RestoreQuestion())) return;
    const QString name = PromptOpenFileName(QStringLiteral("恢复"), kDataFilter);
    if (name.isEmpty()) return;
    RestoreDataFrom(name);
    m_changed = true;
    accept();
}

void TFormDataMgr::Button1Click() {
    if (!AskYesNo(ClearQuestion())) return;
    ClearGoodsData();
    m_changed = true;
    accept();
}

bool ShowDataMgr() {
    TFormDataMgr form;
    form.exec();
    return form.DataChanged();
}
