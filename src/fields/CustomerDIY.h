#pragma once
// The window that lists the user-defined goods fields and offers new, change, delete and preview. Closing it
// after a change asks the main window to run its goods query again.
#include <QDialog>

class QAction;
class QFrame;
class QMenu;
class QPushButton;
class QTreeWidget;

class TFormCustomerDIY : public QDialog {
    Q_OBJECT
public:
    explicit TFormCustomerDIY(QWidget* parent = nullptr);

    QFrame* pnlTop;
    QPushButton* btnNew;
    QPushButton* btnModify;
    QPushButton* btnDelete;
    QPushButton* btnPreview;
    QPushButton* btnExit;
    QTreeWidget* lv1;
    QMenu* pm1;
    QAction* actNew;
    QAction* actModify;
    QAction* actDelete;
    QAction* actPreview;

    bool Changed() const { return m_changed; }

    void FillList();
    void btnNewClick();
    void btnModifyClick();
    void btnDeleteClick();
    void btnPreviewClick();

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool m_changed = false;
    bool m_filled = false;
    bool m_posted = false;
};

// Opens the custom field list window modally (the goods page's "自定义商品资料").
void ShowCustomerDIY();
