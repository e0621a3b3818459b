#include "app/FormMain.h"

#include "app/Startup.h"
#include "common/UException.h"
#include "common/Wait.h"
#include "common/WindowMessages.h"
#include "goods/GoodsBrowser.h"
#include "goods/GoodsPage.h"
#include "notes/NotePad.h"
#include "notes/NotePage.h"
#include "reminders/AlamCommands.h"
#include "reminders/AlamPage.h"
#include "tree/GoodsGroups.h"
#include "tree/UntTree.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QGuiApplication>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

TFormMain::TFormMain(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("TFormMain"));
    setWindowTitle(AppTitle());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_pgc1 = new QTabWidget(this);
    m_pgc1->setObjectName(QStringLiteral("pgc1"));
    m_pgc1->setUsesScrollButtons(true);
    m_pgc1->setDocumentMode(false);
    m_ts1 = new TGoodsPage(m_pgc1);
    m_ts1->setObjectName(QStringLiteral("ts1"));
    m_ts2 = new TNotePage(m_pgc1);
    m_ts2->setObjectName(QStringLiteral("ts2"));
    m_ts3 = new TAlamPage(m_pgc1);
    m_ts3->setObjectName(QStringLiteral("ts3"));
    m_pgc1->addTab(m_ts1, QStringLiteral("仓库管理"));
    m_pgc1->addTab(m_ts2, QStringLiteral("记事本"));
    m_pgc1->addTab(m_ts3, QStringLiteral("定时提醒"));
    m_pgc1->setCurrentIndex(0);
    layout->addWidget(m_pgc1, 1);

    BuildBottomBar();
    layout->addWidget(m_pnlMainTottom);
    BuildSystemMenu();

    // 800 x 520 when restored, centred on the screen.
    resize(800, 520);
    if (QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());

    m_hintTicker.SetHint(m_ts1->tv1()->toolTip());
    m_tmrHint = new QTimer(this);
    m_tmrHint->setObjectName(QStringLiteral("tmrHint"));
    m_tmrHint->setInterval(200);
    connect(m_tmrHint, &QTimer::timeout, this, &TFormMain::tmrHintTimer);
    m_tmr1 = new QTimer(this);
    m_tmr1->setObjectName(QStringLiteral("tmr1"));
    m_tmr1->setInterval(1000);
    connect(m_tmr1, &QTimer::timeout, this, &TFormMain::tmr1Timer);

    MainWindowTarget() = this;
    FormCreate();
    m_tmrHint->start();
    m_tmr1->start();
}

TFormMain::~TFormMain() {
    // When FormClose did not run (the program ended at the login), the trees still go before their views.
    delete GoodsGroups;
    delete GoodsBrowser;
    delete NotePad;
    delete GoodsTree;
    delete NoteTree;
    if (MainWindowTarget() == this) MainWindowTarget() = nullptr;
}

void TFormMain::BuildBottomBar() {
    m_pnlMainTottom = new QFrame(this);
    m_pnlMainTottom->setObjectName(QStringLiteral("pnlMainTottom"));
    m_pnlMainTottom->setFixedHeight(42);
    m_pnlMainTottom->setFrameShape(QFrame::NoFrame);
    // No layout: both controls are placed by their distance from the right edge.
    m_chk1 = new QCheckBox(QStringLiteral("开机运行"), m_pnlMainTottom);
    m_chk1->setObjectName(QStringLiteral("chk1"));
    m_chk1->resize(78, 25);
    m_btnSystem = new QPushButton(QStringLiteral("软件设置"), m_pnlMainTottom);
    m_btnSystem->setObjectName(QStringLiteral("btnSystem"));
    m_btnSystem->resize(75, 25);
    m_btnSystem->setAutoDefault(false);
    m_pnlMainTottom->installEventFilter(this);

    // Start with the system: the registry replacement is not wired yet.
    m_chk1->setEnabled(false);
    connect(m_chk1, &QCheckBox::clicked, this, &TFormMain::chk1Click);
    connect(m_btnSystem, &QPushButton::clicked, this, &TFormMain::btnSystemClick);

    // btnSystem is the window's cancel button: Esc anywhere in the window clicks it.
    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    esc->setObjectName(QStringLiteral("EscShortcut"));
    esc->setContext(Qt::WindowShortcut);
    connect(esc, &QShortcut::activated, m_btnSystem, &QPushButton::click);
    PlaceBottomBar();
}

void TFormMain::BuildSystemMenu() {
    m_pmSystem = new QMenu(this);
    m_pmSystem->setObjectName(QStringLiteral("pmSystem"));
    m_N15 = m_pmSystem->addAction(QStringLiteral("软件设置"));
    m_N15->setObjectName(QStringLiteral("N15"));
    m_pmSystem->addSeparator();
    m_N8 = m_pmSystem->addAction(QStringLiteral("数据维护"));
    m_N8->setObjectName(QStringLiteral("N8"));
    m_pmSystem->addSeparator();
    m_NOpenWWW1 = m_pmSystem->addAction(QStringLiteral("软件主页"));
    m_NOpenWWW1->setObjectName(QStringLiteral("NOpenWWW1"));
    // The settings dialog and the data maintenance dialog are not wired yet.
    m_N15->setEnabled(false);
    m_N8->setEnabled(false);
    connect(m_N15, &QAction::triggered, this, &TFormMain::N15Click);
    connect(m_N8, &QAction::triggered, this, &TFormMain::N8Click);
    connect(m_NOpenWWW1, &QAction::triggered, this, &TFormMain::NOpenWWW1Click);
}

void TFormMain::PlaceBottomBar() {
    const int width = m_pnlMainTottom->width();
    const int height = m_pnlMainTottom->height();
    m_btnSystem->move(width - 100, (height - m_btnSystem->height()) / 2);
    m_chk1->move(width - 180, (height - m_chk1->height()) / 2);
}

void TFormMain::FormCreate() {
    CreateFormWaiting();
    GoodsTree = new TCardTree(m_ts1->tv1(), QStringLiteral("全部商品"), QStringLiteral("Customertype"));
    NoteTree = new TCardTree(m_ts2->tvNote(), QStringLiteral("根目录"), QStringLiteral("NoteType"));
    GoodsGroups = new TGoodsGroupCommands(m_ts1, GoodsTree);
    GoodsBrowser = new TGoodsBrowser(m_ts1, GoodsTree);
    GoodsGroups->QueryGoods = [this] { GoodsBrowser->QueryGoods(); };
    NotePad = new TNotePad(m_ts2, NoteTree);
    Alams = new TAlamCommands(m_ts3);
}
