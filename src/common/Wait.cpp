#include "common/Wait.h"

#include "common/WindowMessages.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>

TFormWaiting* gFormWaiting = nullptr;

TFormWaiting::TFormWaiting()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_panel1(new QLabel(QStringLiteral("正在发送短信，请稍侯..."), this)) {
    setObjectName(QStringLiteral("TFormWaiting"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(305, 41);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_panel1->setObjectName(QStringLiteral("Panel1"));
    m_panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_panel1->setLineWidth(1);
    m_panel1->setAlignment(Qt::AlignCenter);
    m_panel1->setAutoFillBackground(true);
    layout->addWidget(m_panel1);
}

TFormWaiting::~TFormWaiting() {
    if (m_cursorSet) QApplication::restoreOverrideCursor();
    if (WaitingIndicator() == this) SetWaitingIndicator(nullptr);
}

void TFormWaiting::CentreOnMainWindow() {
    QRect area;
    if (auto* main = qobject_cast<QWidget*>(MainWindowTarget()); main && main->isVisible())
        area = main->frameGeometry();
    else if (QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isValid()) move(area.center() - rect().center());
}

void TFormWaiting::ShowMessage(const QString& text) {
    if (!text.isEmpty()) m_panel1->setText(text);
    if (!isVisible()) CentreOnMainWindow();
    show();
    raise();
    // One pass of the queue so the window paints before the work blocks the thread.
    QCoreApplication::processEvents();
    if (!m_cursorSet) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_cursorSet = true;
    }
}

void TFormWaiting::Hide() {
    hide();
    if (m_cursorSet) {
        QApplication::restoreOverrideCursor();
        m_cursorSet = false;
    }
}

void CreateFormWaiting() {
    if (!gFormWaiting) gFormWaiting = new TFormWaiting;
    SetWaitingIndicator(gFormWaiting);
}

void FreeFormWaiting() {
    delete gFormWaiting;
    gFormWaiting = nullptr;
}
