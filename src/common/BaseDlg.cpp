#include "common/BaseDlg.h"

#include "common/UException.h"
#include "common/WindowMessages.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

QFrame* Bevel(QWidget* parent, const char* name) {
    auto* line = new QFrame(parent);
    line->setObjectName(QLatin1String(name));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QWidget* MainWindowWidget() {
    return qobject_cast<QWidget*>(MainWindowTarget());
}

} // namespace

TFormBaseDlg::TFormBaseDlg(QWidget* parent)
    : QDialog(parent ? parent : MainWindowWidget(), Qt::Dialog | Qt::CustomizeWindowHint |
                                                        Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                                        Qt::WindowCloseButtonHint),
      m_pnlClient(new QWidget(this)), m_pnlBottom(new QFrame(this)),
      m_btnOK(new QPushButton(QStringLiteral("确定(&O)"), m_pnlBottom)),
      m_btnCancel(new QPushButton(QStringLiteral("取消(&C)"), m_pnlBottom)) {
    setObjectName(QStringLiteral("TFormBaseDlg"));
    setModal(true);
    setSizeGripEnabled(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Bevel(this, "Bevel1"));
    m_pnlClient->setObjectName(QStringLiteral("pnlClient"));
    layout->addWidget(m_pnlClient, 1);
    layout->addWidget(Bevel(this, "Bevel2"));

    m_pnlBottom->setObjectName(QStringLiteral("pnlBottom"));
    m_pnlBottom->setFixedHeight(34);
    auto* bottom = new QHBoxLayout(m_pnlBottom);
    bottom->setContentsMargins(8, 4, 8, 4);
    bottom->setSpacing(8);
    bottom->addStretch(1);
    m_btnOK->setObjectName(QStringLiteral("btnOK"));
    m_btnCancel->setObjectName(QStringLiteral("btnCancel"));
    for (QPushButton* button : {m_btnOK, m_btnCancel}) {
        button->setMinimumSize(75, 25);
        bottom->addWidget(button);
    }
    layout->addWidget(m_pnlBottom);

    m_btnOK->setDefault(true);
    connect(m_btnOK, &QPushButton::clicked, this, Guarded([this] { btnOKClick(); }));
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(400, 260);
}

void TFormBaseDlg::btnOKClick() {}

void TFormBaseDlg::showEvent(QShowEvent* event) {
    Guard([&] {
        QDialog::showEvent(event);
        if (m_placed || event->spontaneous()) return;
        m_placed = true;
        CenterOnMainWindow(this);
    });
}

void CenterOnMainWindow(QWidget* window) {
    QRect area;
    if (QWidget* main = MainWindowWidget(); main && main->isVisible())
        area = main->frameGeometry();
    else if (QScreen* s = window->screen())
        area = s->availableGeometry();
    // move() places the frame, so the frame (title bar included, once known) is what gets centred.
    if (area.isValid())
        window->move(area.center() - QRect(QPoint(), window->frameGeometry().size()).center());
}
