#pragma once
// The movement history window: one page per movement table, each filtering its movements by period, group
// and a goods field, with totals on the stock-in and stock-out pages and the export.
#include <QDialog>
#include <QWidget>
#include <memory>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTimeEdit;
class QTreeWidget;
class TCardDBGrid;
class TCardTree;
class TStatusPanels;

class TQStorPage : public QWidget {
    Q_OBJECT
public:
    // page: 0 stock in, 1 stock out, 2 stocktake.
    TQStorPage(int page, QWidget* parent);
    ~TQStorPage() override;

    int Page() const { return m_page; }
    QDateEdit* dtpBegin() const { return m_dtpBegin; }
    QTimeEdit* dtpBeginTime() const { return m_dtpBeginTime; }
    QDateEdit* dtpEnd() const { return m_dtpEnd; }
    QTimeEdit* dtpEndTime() const { return m_dtpEndTime; }
    QComboBox* cbbQuery() const { return m_cbbQuery; }
    QLineEdit* edtQuery() const { return m_edtQuery; }
    QPushButton* btnQuery() const { return m_btnQuery; }
    QPushButton* btnExcel() const { return m_btnExcel; }
    QTreeWidget* tv1() const { return m_tv1; }
    TCardDBGrid* DBGrid1() const { return m_grid; }
    TStatusPanels* stat1() const { return m_stat1; } // nullptr on the stocktake page
    TCardTree* Tree() const { return m_tree.get(); }

    // The page's movements in its period, group and search; then the totals.
    void Query();
    void btnExcelClick();

private:
    void BuildTop();
    void ShowTotals();

    int m_page;
    QDateEdit* m_dtpBegin = nullptr;
    QTimeEdit* m_dtpBeginTime = nullptr;
    QDateEdit* m_dtpEnd = nullptr;
    QTimeEdit* m_dtpEndTime = nullptr;
    QComboBox* m_cbbQuery = nullptr;
    QLineEdit* m_edtQuery = nullptr;
    QPushButton* m_btnQuery = nullptr;
    QPushButton* m_btnExcel = nullptr;
    QTreeWidget* m_tv1 = nullptr;
    TCardDBGrid* m_grid = nullptr;
    TStatusPanels* m_stat1 = nullptr;
    std::unique_ptr<TCardTree> m_tree;
};

class TFormQStor : public QDialog {
    Q_OBJECT
public:
    explicit TFormQStor(QWidget* parent = nullptr);

    QTabWidget* pgc1() const { return m_pgc1; }
    TQStorPage* PageAt(int page) const { return m_pages[page]; }

    // The first show's work: trees, today's period on every page, query items, the first page's query.
    void FormShow();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QTabWidget* m_pgc1;
    TQStorPage* m_pages[3];
    bool m_shown = false;
};

// Opens the history window modally; it is destroyed when it closes.
void ShowQStor();
