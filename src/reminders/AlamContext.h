#pragma once
// The preset picker: the list of ready-made reminder texts, their commands and a typed-out hint.
#include "common/BaseDlg.h"

class QAction;
class QMenu;
class QTimer;
class QTreeWidget;
class TStatusPanels;

class TFormAlamContext : public TFormBaseDlg {
    Q_OBJECT
public:
    explicit TFormAlamContext(QWidget* parent = nullptr);

    QTreeWidget* lv1() const { return m_lv1; }
    TStatusPanels* statHint() const { return m_statHint; }
    QMenu* pmContext() const { return m_pmContext; }
    QAction* NAddContext() const { return m_NAddContext; }
    QAction* NModContext() const { return m_NModContext; }
    QAction* NDelContext() const { return m_NDelContext; }
    QTimer* tmrHint() const { return m_tmrHint; }

    // The text chosen with OK.
    QString ChosenText;

    void NAddContextClick();
    void NModContextClick();
    void NDelContextClick();
    void lv1DblClick();
    void tmrHintTimer();

protected:
    void btnOKClick() override;
    void showEvent(QShowEvent* e) override;

private:
    QTreeWidget* m_lv1;
    TStatusPanels* m_statHint;
    QMenu* m_pmContext;
    QAction* m_NAddContext;
    QAction* m_NModContext;
    QAction* m_NDelContext;
    QTimer* m_tmrHint;
    int m_hintBytes = 0; // bytes of the hint typed out so far
    bool m_filled = false;
};

// Shows the picker modally; on Accepted text holds the chosen preset.
int ShowAlamContext(QString& text);
