// The main window's handlers: first show, closing, the system menu, the ticker and the posted messages.
#include "app/FormMain.h"

#include "app/OpenDocument.h"
#include "common/StatusPanels.h"
#include "common/UException.h"
#include "common/WindowMessages.h"
#include "data/MD.h"
#include "goods/GoodsBrowser.h"
#include "goods/GoodsPage.h"
#include "notes/NotePad.h"
#include "notes/NotePage.h"
#include "reminders/AlamCommands.h"
#include "tree/GoodsGroups.h"
#include "tree/UntTree.h"

#include <QCloseEvent>
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
        // step 1: gConfig.Load reads the login settings
        // step 2: the login password when one is set; anything but OK ends the program (no compaction)
        // step 3: load the goods and note trees
        GoodsTree->LoadGroups();
        NoteTree->LoadGroups();
        // step 4: fill the quick-search items into cbbQuery and select the first
        GoodsBrowser->FillQueryItems();
        // step 5: run the goods query
        GoodsBrowser->QueryGoods();
        // step 6: fill the reminder list with the view "全部提醒"
        Alams->FillList(0);
        // step 7: check chk1 when the program starts with the system
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
        // step 3: compact the data file; its result is ignored and a failure is silent
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
    Guard([] {
        // the settings dialog, modal
    });
}

void TFormMain::N8Click() {
    Guard([] {
        // the data maintenance dialog, modal; nothing here is queried again afterwards
    });
}

void TFormMain::NOpenWWW1Click() {
    Guard([this] { OpenDocument(this, HomePageAddress()); });
}

void TFormMain::chk1Click() {
    Guard([] {
        // start with the system: the application title as name, the executable's path, the new state
    });
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
