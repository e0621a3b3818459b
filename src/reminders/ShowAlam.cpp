#include "reminders/ShowAlam.h"

#include "common/UException.h"
#include "common/WindowMessages.h"
#include "reminders/Chime.h"

#include <QAction>
#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QScreen>
#include <QTextEdit>
#include <iterator>

namespace {

const char* const kSnoozeItems[][2] = {
    {"N31", "3分钟后再提醒"},   {"N51", "5分钟后再提醒"}, {"N101", "10分钟后再提醒"},
    {"N301", "30分钟后再提醒"}, {"N11", "1小时后再提醒"},
};

constexpr int kStrip = 34;
constexpr int kButtonWidth = 86;
constexpr int kRollMs = 200;

} // namespace

TFormShowAlam::TFormShowAlam()
    : QWidget(nullptr,
              Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("TFormShowAlam"));
    setWindowTitle(QStringLiteral("提醒"));
    setAttribute(Qt::WA_DeleteOnClose);
    // Open popups do not keep the program running once the main window has closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    // Typing elsewhere goes on undisturbed: a key meant for another window must not answer the reminder.
    setAttribute(Qt::WA_ShowWithoutActivating);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(240, 240, 240));
    setPalette(pal);
    setAutoFillBackground(true);
    resize(ClientWidth, ClientHeight);

    // The content keeps its size and stays at the bottom edge while the window rolls up.
    m_pnlContent = new QWidget(this);
    m_pnlContent->setObjectName(QStringLiteral("pnlContent"));
    m_pnlContent->setFixedSize(ClientWidth, ClientHeight);

    m_mmo1 = new QTextEdit(m_pnlContent);
    m_mmo1->setObjectName(QStringLiteral("mmo1"));
    m_mmo1->setReadOnly(true);
    m_mmo1->setAcceptRichText(false);
    m_mmo1->setGeometry(0, 0, ClientWidth, ClientHeight - kStrip);
    QFont font = m_mmo1->font();
    font.setPixelSize(17);
    m_mmo1->setFont(font);
    QPalette textPal = m_mmo1->palette();
    textPal.setColor(QPalette::Text, QColor(255, 0, 0));
    m_mmo1->setPalette(textPal);

    m_btnCon = new QPushButton(QStringLiteral("再次提醒"), m_pnlContent);
    m_btnCon->setObjectName(QStringLiteral("btnCon"));
    m_btnOkDel = new QPushButton(QStringLiteral("看到了并删除"), m_pnlContent);
    m_btnOkDel->setObjectName(QStringLiteral("btnOkDel"));
    m_btnOkSave = new QPushButton(QStringLiteral("看到了并保留"), m_pnlContent);
    m_btnOkSave->setObjectName(QStringLiteral("btnOkSave"));
    // Anchored to the right edge, left to right: 再次提醒, 看到了并删除, 看到了并保留.
    const int top = ClientHeight - kStrip + (kStrip - 25) / 2;
    int left = ClientWidth - 3 * (kButtonWidth + 4);
    for (QPushButton* b : {m_btnCon, m_btnOkDel, m_btnOkSave}) {
        b->setGeometry(left, top, kButtonWidth, 25);
        b->setAutoDefault(false);
        left += kButtonWidth + 4;
    }

    m_pm1 = new QMenu(this);
    m_pm1->setObjectName(QStringLiteral("pm1"));
    for (int i = 0; i < int(std::size(kSnoozeItems)); ++i) {
        m_snooze[i] = m_pm1->addAction(QString::fromUtf8(kSnoozeItems[i][1]));
        m_snooze[i]->setObjectName(QLatin1String(kSnoozeItems[i][0]));
        connect(m_snooze[i], &QAction::triggered, this, Guarded([this, i] { SnoozeClick(i); }));
    }

    connect(m_btnOkSave, &QPushButton::clicked, this, Guarded([this] { btnOkSaveClick(); }));
    connect(m_btnOkDel, &QPushButton::clicked, this, Guarded([this] { btnOkDelClick(); }));
    connect(m_btnCon, &QPushButton::clicked, this, Guarded([this] { btnConClick(); }));
}

QAction* TFormShowAlam::SnoozeItem(int choice) const {
    return choice >= 0 && choice < int(std::size(m_snooze)) ? m_snooze[choice] : nullptr;
}

QPropertyAnimation* TFormShowAlam::RollIn() const {
    return findChild<QPropertyAnimation*>(QStringLiteral("RollIn"), Qt::FindDirectChildrenOnly);
}

void TFormShowAlam::SetAlam(const QString& id, const QString& text, bool repeating) {
    AlamId = id;
    Repeating = repeating;
    m_mmo1->setPlainText(text);
    QTextOption option = m_mmo1->document()->defaultTextOption();
    option.setAlignment(Qt::AlignHCenter);
    m_mmo1->document()->setDefaultTextOption(option);
    if (Repeating) {
        m_btnOkSave->setText(QStringLiteral("看到了"));
        m_btnOkDel->hide();
        m_btnCon->hide();
    }
}

void TFormShowAlam::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    m_pnlContent->move(0, height() - ClientHeight);
}

QRect PopupPlace(const QRect& available, const QMargins& frameMargins) {
    // The frame's right edge 2 pixels inside the available area, its bottom edge 2 pixels above its end.
    const int left = available.right() + 1 - 2 - frameMargins.right() - TFormShowAlam::ClientWidth;
    const int top = available.bottom() + 1 - 2 - frameMargins.bottom() - TFormShowAlam::ClientHeight;
    return QRect(left, top, TFormShowAlam::ClientWidth, TFormShowAlam::ClientHeight);
}

QMargins TFormShowAlam::FrameMargins() const {
    const QRect inner = geometry();
    const QRect outer = frameGeometry();
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                    outer.bottom() - inner.bottom());
}

void TFormShowAlam::SettleInCorner(const QRect& available) {
    m_target = PopupPlace(available, FrameMargins());
    if (geometry() != m_target) setGeometry(m_target);
}

void TFormShowAlam::ShowPopup() {
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen) screen = QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    // Shown first at its place, rolled up to nothing, so that the frame around it is known.
    m_target = PopupPlace(available, FrameMargins());
    setGeometry(m_target.left(), m_target.bottom(), m_target.width(), 1);
    show();
    m_target = PopupPlace(available, FrameMargins());
    // Rolls up from the bottom edge: the window grows upwards from nothing to its full height.
    const QRect start(m_target.left(), m_target.bottom(), m_target.width(), 1);
    setGeometry(start);
    auto* roll = new QPropertyAnimation(this, "geometry", this);
    roll->setObjectName(QStringLiteral("RollIn"));
    roll->setDuration(kRollMs);
    roll->setStartValue(start);
    roll->setEndValue(m_target);
    // Once the window is mapped its frame is known: settle the corner for the real frame.
    connect(roll, &QAbstractAnimation::finished, this,
            Guarded([this, available] { SettleInCorner(available); }));
    roll->start(QAbstractAnimation::DeleteWhenStopped);
    PlayChime();
}

void TFormShowAlam::btnOkSaveClick() {
    if (!Repeating) PostToMainWindow(WM_ALAMSEEN, qintptr(AlamId.toLongLong()));
    close();
}

void TFormShowAlam::btnOkDelClick() {
    PostToMainWindow(WM_ALAMDELETE, qintptr(AlamId.toLongLong()));
    close();
}

void TFormShowAlam::btnConClick() {
    // Leaving the menu without a choice leaves the popup open.
    m_pm1->popup(QCursor::pos());
}

void TFormShowAlam::SnoozeClick(int choice) {
    PostToMainWindow(WM_ALAMSNOOZE, qintptr(AlamId.toLongLong()), choice);
    close();
}

TFormShowAlam* ShowAlamPopup(const QString& id, const QString& text, bool repeating) {
    auto* popup = new TFormShowAlam;
    popup->SetAlam(id, text, repeating);
    popup->ShowPopup();
    return popup;
}
