#pragma once
// The main window: three pages, the bottom bar with the system menu, the hint ticker, the timers and the
// messages other windows post to it.
#include "app/HintTicker.h"

#include <QWidget>

class QAction;
class QCheckBox;
class QFrame;
class QMenu;
class QPushButton;
class QTabWidget;
class QTimer;
class TAlamCommands;
class TAlamPage;
class TCardTree;
class TGoodsBrowser;
class TGoodsGroupCommands;
class TNotePad;
class TGoodsPage;
class TNotePage;
class TPostedMessage;

class TFormMain : public QWidget {
    Q_OBJECT
public:
    explicit TFormMain(QWidget* parent = nullptr);
    ~TFormMain() override;

    QTabWidget* pgc1() const { return m_pgc1; }
    TGoodsPage* ts1() const { return m_ts1; } // "仓库管理"
    TNotePage* ts2() const { return m_ts2; }  // "记事本"
    TAlamPage* ts3() const { return m_ts3; }  // "定时提醒"

    QFrame* pnlMainTottom() const { return m_pnlMainTottom; }
    QCheckBox* chk1() const { return m_chk1; }
    QPushButton* btnSystem() const { return m_btnSystem; }
    QMenu* pmSystem() const { return m_pmSystem; }
    QAction* N15() const { return m_N15; }             // 软件设置
    QAction* N8() const { return m_N8; }               // 数据维护
    QAction* NOpenWWW1() const { return m_NOpenWWW1; } // 软件主页

    // The category trees of the goods page and the notepad, made in FormCreate and freed in FormClose, and
    // the behaviour that goes with them.
    TCardTree* GoodsTree = nullptr;
    TCardTree* NoteTree = nullptr;
    TGoodsGroupCommands* GoodsGroups = nullptr;
    TGoodsBrowser* GoodsBrowser = nullptr;
    TNotePad* NotePad = nullptr;
    TAlamCommands* Alams = nullptr; // owned by the reminder page

    QTimer* tmrHint() const { return m_tmrHint; }
    QTimer* tmr1() const { return m_tmr1; }

    // Handlers; each runs its body under the application-wide error handler.
    void FormShow(); // the first show's work; runs once
    void FormClose();
    void btnSystemClick();
    void N15Click();
    void N8Click();
    void NOpenWWW1Click();
    void chk1Click();
    void tmrHintTimer();
    void tmr1Timer();
    void WMRefreshGoods();

    // Keeps "软件设置" and "开机运行" at the right end of the bottom bar.
    void PlaceBottomBar();

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void FormCreate();
    void BuildBottomBar();
    void BuildSystemMenu();
    void HandlePostedMessage(const TPostedMessage& message);

    QTabWidget* m_pgc1 = nullptr;
    TGoodsPage* m_ts1 = nullptr;
    TNotePage* m_ts2 = nullptr;
    TAlamPage* m_ts3 = nullptr;
    QFrame* m_pnlMainTottom = nullptr;
    QCheckBox* m_chk1 = nullptr;
    QPushButton* m_btnSystem = nullptr;
    QMenu* m_pmSystem = nullptr;
    QAction* m_N15 = nullptr;
    QAction* m_N8 = nullptr;
    QAction* m_NOpenWWW1 = nullptr;
    QTimer* m_tmrHint = nullptr;
    QTimer* m_tmr1 = nullptr;
    THintTicker m_hintTicker;
    bool m_shown = false;
};
