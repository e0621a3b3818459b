#pragma once
// The data maintenance dialog: backup, restore, clearing and the goods import.
#include <QDialog>

class QPushButton;
class QTabWidget;
class QWidget;
class TImportPage;

class TFormDataMgr : public QDialog {
    Q_OBJECT
public:
    explicit TFormDataMgr(QWidget* parent = nullptr);

    QTabWidget* PageControl1() const { return m_pages; }
    QPushButton* btnSave() const { return m_btnSave; }
    QPushButton* btnAdd() const { return m_btnAdd; }
    QPushButton* Button1() const { return m_Button1; }
    TImportPage* ImportPage() const { return m_importPage; }

    void FormShow();
    void btnSaveClick();
    void btnAddClick();
    void Button1Click();

    // Whether the data file's contents were replaced or changed (restore, clearing, import): the main
    // window then shows them again.
    bool DataChanged() const;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void AddImportPage();

    QTabWidget* m_pages = nullptr;
    QPushButton* m_btnSave = nullptr;
    QPushButton* m_btnAdd = nullptr;
    QPushButton* m_Button1 = nullptr;
    TImportPage* m_importPage = nullptr;
    bool m_changed = false;
    bool m_placed = false;
};

// Shows the dialog modally and frees it; true when the data changed.
bool ShowDataMgr();
