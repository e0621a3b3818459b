#include "common/StatusPanels.h"

#include <QHBoxLayout>
#include <QLabel>

TStatusPanels::TStatusPanels(QWidget* parent) : QFrame(parent), m_layout(new QHBoxLayout(this)) {
    setFrameShape(QFrame::NoFrame);
    m_layout->setContentsMargins(2, 1, 2, 1);
    m_layout->setSpacing(2);
    setFixedHeight(fontMetrics().height() + 8);
}

int TStatusPanels::AddPanel(const QString& text, int width, Qt::Alignment alignment) {
    auto* panel = new QLabel(text, this);
    panel->setObjectName(QStringLiteral("panel%1").arg(m_panels.size()));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setAlignment(alignment | Qt::AlignVCenter);
    // As in a native status bar, the last panel runs on to the right edge; the others keep their width.
    if (!m_panels.empty()) {
        QLabel* previous = m_panels.back();
        previous->setFixedWidth(previous->minimumWidth());
        previous->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
        m_layout->setStretchFactor(previous, 0);
    }
    panel->setMinimumWidth(width);
    panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_layout->addWidget(panel, 1);
    m_panels.push_back(panel);
    return int(m_panels.size()) - 1;
}

void TStatusPanels::ClearPanels() {
    for (QLabel* panel : m_panels)
        delete panel;
    m_panels.clear();
}

QLabel* TStatusPanels::Panel(int index) const {
    return index >= 0 && index < PanelCount() ? m_panels[size_t(index)] : nullptr;
}

QString TStatusPanels::PanelText(int index) const {
    QLabel* panel = Panel(index);
    return panel ? panel->text() : QString();
}

void TStatusPanels::SetPanelText(int index, const QString& text) {
    if (QLabel* panel = Panel(index)) panel->setText(text);
}
