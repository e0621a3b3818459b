#include "reminders/AlamCommands.h"

#include "common/Seams.h"
#include "common/UException.h"
#include "common/UntPublic.h"
#include "common/WindowMessages.h"
#include "reminders/AddAlam.h"
#include "reminders/AlamLists.h"
#include "reminders/AlamPage.h"
#include "reminders/ModAlam.h"
#include "reminders/ShowAlam.h"
#include "reminders/UntAlam.h"

#include <QAction>
#include <QButtonGroup>
#include <QDialog>
#include <QTreeWidget>

TAlamCommands::TAlamCommands(TAlamPage* page) : QObject(page), m_page(page), m_minutes(Now()) {
    setObjectName(QStringLiteral("AlamCommands"));
    ShowPopup = [](const QString& id, const QString& text, bool repeating) {
        ShowAlamPopup(id, text, repeating);
    };
    connect(m_page->rgAlamItems(), &QButtonGroup::idClicked, this, Guarded([this] { rgAlamClick(); }));
    connect(m_page->NAddAlam(), &QAction::triggered, this, Guarded([this] { NAddAlamClick(); }));
    connect(m_page->NModAlam(), &QAction::triggered, this, Guarded([this] { NModAlamClick(); }));
    connect(m_page->NDelAlam(), &QAction::triggered, this, Guarded([this] { NDelAlamClick(); }));
    connect(m_page->lv1(), &QTreeWidget::itemDoubleClicked, this, Guarded([this] { lv1DblClick(); }));
    for (QAction* action : {m_page->NAddAlam(), m_page->NModAlam(), m_page->NDelAlam()})
        action->setEnabled(true);
}

void TAlamCommands::FillList(int view) {
    ::FillList(*gAlam, m_page->lv1(), view);
}

void TAlamCommands::Refill() {
    FillList(m_page->ItemIndex());
}

void TAlamCommands::rgAlamClick() {
    Refill();
}

void TAlamCommands::NAddAlamClick() {
    if (ShowAddAlam() == QDialog::Accepted) Refill();
}

void TAlamCommands::NModAlamClick() {
    QTreeWidgetItem* item = m_page->lv1()->selectedItems().value(0);
    if (!item) return;
    if (ShowModAlam(item->text(acID)) == QDialog::Accepted) Refill();
}

void TAlamCommands::lv1DblClick() {
    NModAlamClick();
}

void TAlamCommands::NDelAlamClick() {
    QTreeWidgetItem* item = m_page->lv1()->selectedItems().value(0);
    if (!item) return;
    if (!AskYesNo(QStringLiteral("确实要删除 ") + item->text(acTime) + QStringLiteral(" 的提醒吗？"))) return;
    gAlam->Delete(item->text(acID));
    // The other rows keep what the last fill gave them.
    delete item;
}

void TAlamCommands::tmr1Timer() {
    // Every minute owed is marked checked before its query runs: a failing query is reported once and
    // tried again when the next minute begins, not on every tick.
    for (const QDateTime& minute : m_minutes.Take(Now()))
        for (const TDueAlam& due : gAlam->DueAt(minute))
            ShowPopup(due.ID, due.ReMark, due.ReDay != akOnce);
}

void TAlamCommands::WMAlamDelete(const QString& id) {
    gAlam->Delete(id);
    QTreeWidget* lv = m_page->lv1();
    for (int i = lv->topLevelItemCount() - 1; i >= 0; --i)
        if (lv->topLevelItem(i)->text(acID) == id) delete lv->takeTopLevelItem(i);
}

void TAlamCommands::WMAlamSeen(const QString& id) {
    gAlam->MarkSeen(id);
    QTreeWidget* lv = m_page->lv1();
    for (int i = 0; i < lv->topLevelItemCount(); ++i)
        if (lv->topLevelItem(i)->text(acID) == id)
            lv->topLevelItem(i)->setText(acStatus, QStringLiteral("看过的"));
}

void TAlamCommands::WMAlamSnooze(const QString& id, int choice) {
    gAlam->Snooze(id, choice);
    Refill();
}

bool TAlamCommands::HandleMessage(int message, qintptr wParam, qintptr lParam) {
    const QString id = QString::number(qlonglong(wParam));
    switch (message) {
    case WM_ALAMDELETE:
        WMAlamDelete(id);
        return true;
    case WM_ALAMSEEN:
        WMAlamSeen(id);
        return true;
    case WM_ALAMSNOOZE:
        WMAlamSnooze(id, int(lParam));
        return true;
    default:
        return false;
    }
}
