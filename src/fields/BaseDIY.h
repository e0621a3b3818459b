#pragma once
// The preview of the field panel as the goods entry dialog will show it. Entries made here are discarded.
#include <QDialog>

class QFrame;
class QPushButton;

class TFormBaseDIY : public QDialog {
    Q_OBJECT
public:
    explicit TFormBaseDIY(QWidget* parent = nullptr);

    QWidget* pnlClient;
    QFrame* pnlBottom;
    QPushButton* btnOK; // kept hidden: the preview saves nothing
    QPushButton* btnCancel;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool m_built = false;
};

void ShowBaseDIY();
