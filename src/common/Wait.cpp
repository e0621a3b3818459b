#include "common/Wait.h"

#include "common/BaseDlg.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>

TFormWaiting* gFormWaiting = nullptr;

TFormWaiting::TFormWaiting()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_panel1(new QLabel(this)) {
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

void TFormWaiting::ShowMessage(const QString& text) {
    if (!text.isEmpty()) m_panel1->setText(text);
    if (!isVisible()) CenterOnMainWindow(this);
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
