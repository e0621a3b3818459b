#pragma once
// A status bar made of panels, each a text with its own width and alignment, rebuilt freely by its owner.
#include <QFrame>
#include <QString>
#include <vector>

class QLabel;
class QHBoxLayout;

class TStatusPanels : public QFrame {
    Q_OBJECT
public:
    explicit TStatusPanels(QWidget* parent = nullptr);

    // Appends a panel; returns its index. Width in pixels; the last panel also takes the
    // rest of the bar, as native status bars do.
    int AddPanel(const QString& text, int width, Qt::Alignment alignment = Qt::AlignLeft);
    void ClearPanels();
    int PanelCount() const { return int(m_panels.size()); }
    QString PanelText(int index) const;
    void SetPanelText(int index, const QString& text);
    QLabel* Panel(int index) const;

private:
    QHBoxLayout* m_layout;
    std::vector<QLabel*> m_panels;
};
