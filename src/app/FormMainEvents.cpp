// The main window's handlers: first show, closing, the system menu, the ticker and the posted messages.
#include "app/FormMain.h"

#include "app/OpenDocument.h"
#include "app/Startup.h"
#include "common/StatusPanels.h"
#include "common/UException.h"
#include "common/WindowMessages.h"
#include "data/MD.h"
#include "goods/GoodsBrowser.h"
#include "goods/GoodsGroups.h"
#include "goods/GoodsPage.h"
#include "maint/AutoStart.h"
#include "maint/Config.h"
#include "maint/DataMgr.h"
#include "maint/Pass.h"
#include "maint/UntCompactDatabase.h"
#include "maint/UntConfig.h"
#include "notes/NotePad.h"
#include "notes/NotePage.h"
#include "reminders/AlamCommands.h"
#include "tree/UntTree.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QMenu>
#include <QPushButton>
#include <QShowEvent>

void TFormMain::showEvent(QShowEvent* e) {
    Guard([&] {
        QWidget::showEvent(e);
        if (!m_shown && !e->spontaneous()) {
            m_shown = true;
            FormShow();
        }
    });
}

void TFormMain::FormShow() {
    Guard([this] {
        gConfig->Load();
        // Anything but OK at the login ends the program; the loop ends before the user can act, and the file
        // is not compacted.
        if (gConfig->bPass && ShowPasswordDialog(gConfig->PassWord, QStringLiteral("先输入密码登录软件")) !=
                                  QDialog::Accepted) {
            m_loginRefused = true;
            QCoreApplication::quit();
        }
        // step 3: load the goods and note trees
        GoodsTree->LoadGroups();
        NoteTree->LoadGroups();
        // step 4: fill the quick-search items into cbbQuery and select the first
        GoodsBrowser->FillQueryItems();
        // step 5: run the goods query
        GoodsBrowser->QueryGoods();
        // step 6: fill the reminder list with the view "全部提醒"
        Alams->FillList(0);
        if (!m_chk1->isChecked() && IsAutoStart(AppTitle(), QCoreApplication::applicationFilePath())) {
            m_chk1->setChecked(true);
            chk1Click();
        }
        // step 8: place the bottom bar's controls at the right edge
        PlaceBottomBar();
        // step 9: select the root of tvNote and show its note
        m_ts2->tvNote()->setCurrentItem(NoteTree->RootNode);
        NotePad->tvNoteClick();
    });
}

void TFormMain::closeEvent(QCloseEvent* e) {
    Guard([&] {
        FormClose();
        QWidget::closeEvent(e);
    });
}

void TFormMain::FormClose() {
    Guard([this] {
        // The program ends with this window: no tick may reach the closed connection or the freed trees
        // while the window waits for its deletion.
        m_tmrHint->stop();
        m_tmr1->stop();
        // step 1: free GoodsTree and NoteTree, and first what acts on them
        delete GoodsGroups;
        GoodsGroups = nullptr;
        delete GoodsBrowser;
        GoodsBrowser = nullptr;
        delete NotePad;
        NotePad = nullptr;
        delete GoodsTree;
        GoodsTree = nullptr;
        delete NoteTree;
        NoteTree = nullptr;
        if (gDbAccess) gDbAccess->Connection->Close();
        if (!m_loginRefused) CompactDatabase(TDbAccess::DataFilePath(), DatabasePassword());
    });
}

bool TFormMain::eventFilter(QObject* watched, QEvent* e) {
    Guard([&] {
        if (watched == m_pnlMainTottom && e->type() == QEvent::Resize) PlaceBottomBar();
    });
    return QWidget::eventFilter(watched, e);
}

void TFormMain::btnSystemClick() {
    Guard([this] { m_pmSystem->popup(QCursor::pos()); });
}

void TFormMain::N15Click() {
    Guard([] { ShowConfigDialog(); });
}

void TFormMain::N8Click() {
    Guard([this] {
        if (ShowDataMgr()) ShowDataAgain();
    });
}

void TFormMain::ShowDataAgain() {
    // The file changed under every page: what they show, and what a keystroke in the note box would write,
    // must be the file's own.
    GoodsTree->LoadGroups();
    m_ts1->tv1()->setCurrentItem(GoodsTree->RootNode);
    GoodsBrowser->FillQueryItems();
    GoodsBrowser->QueryGoods();
    NoteTree->LoadGroups();
    Alams->Refill();
    m_ts2->tvNote()->setCurrentItem(NoteTree->RootNode);
    NotePad->tvNoteClick();
}

void TFormMain::NOpenWWW1Click() {
    Guard([this] { OpenDocument(this, HomePageAddress()); });
}

void TFormMain::chk1Click() {
    Guard([this] { SetAutoStart(AppTitle(), QCoreApplication::applicationFilePath(), m_chk1->isChecked()); });
}

void TFormMain::tmrHintTimer() {
    Guard([this] {
        const QString shown = m_hintTicker.Tick();
        m_ts1->statHint()->SetPanelText(0, shown);
        m_ts2->stat2()->SetPanelText(0, shown);
    });
}

void TFormMain::tmr1Timer() {
    Guard([this] { Alams->tmr1Timer(); });
}

void TFormMain::WMRefreshGoods() {
    Guard([this] { m_ts1->btnQuery()->click(); });
}

bool TFormMain::event(QEvent* e) {
    if (TPostedMessage::IsPostedMessage(e)) {
        if (auto* message = dynamic_cast<TPostedMessage*>(e)) {
            Guard([&] { HandlePostedMessage(*message); });
            return true;
        }
    }
    return QWidget::event(e);
}

void TFormMain::HandlePostedMessage(const TPostedMessage& message) {
    switch (message.Message) {
    case WM_REFRESHGOODS:
        WMRefreshGoods();
        break;
    case WM_ALAMDELETE:
    case WM_ALAMSEEN:
    case WM_ALAMSNOOZE:
        // the reminder popup's answers, with the reminder ID in WParam
        Alams->HandleMessage(message.Message, message.WParam, message.LParam);
        break;
    default:
        break;
    }
}
