#pragma once
// The window of the three stock documents: heading band, group tree, goods list with a quantity per row,
// search band and the confirm button. Each document books its own way.
#include "common/BaseDlg.h"
#include "stock/UntStor.h"

#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSplitter;
class QTreeWidget;
class QTreeWidgetItem;
class TCardTree;
class TStorListView;
class TStorModel;

class TFormBaseStor : public TFormBaseDlg {
    Q_OBJECT
public:
    TFormBaseStor(TStorKind kind, QWidget* parent = nullptr);
    ~TFormBaseStor() override;

    TStorKind Kind() const { return m_kind; }
    QLabel* lblTitle() const { return m_lblTitle; }
    QTreeWidget* tv1() const { return m_tv1; }
    TStorListView* lv1() const { return m_lv1; }
    TStorModel* Model() const { return m_model; }
    QComboBox* cbbQuery() const { return m_cbbQuery; }
    QLineEdit* edtQuery() const { return m_edtQuery; }
    QPushButton* btnQuery() const { return m_btnQuery; }
    TCardTree* Tree() const { return m_tree.get(); }

    // The opening work of the first show: groups, query items, the list. Runs once.
    void FormShow();
    // The list of the selected group's goods that match the search. A new list while typed quantities
    // would be lost asks first; on No nothing changes.
    void QueryGoods();
    void tv1Click();
    void btnQueryClick();

    // Refuses a document without rows or whose quantities add up to 0.
    void CheckQuantities();

protected:
    // The confirm button: check, book the document in one batch, list again, tell.
    void btnOKClick() override;
    void showEvent(QShowEvent* event) override;

public slots:
    // Closing with typed quantities asks first.
    void reject() override;

private:
    bool MayDiscard();
    void RunQuery();
    void RestoreQueriedNode();

    TStorKind m_kind;
    QLabel* m_lblTitle = nullptr;
    QSplitter* m_splitter = nullptr;
    QTreeWidget* m_tv1 = nullptr;
    TStorListView* m_lv1 = nullptr;
    TStorModel* m_model = nullptr;
    QComboBox* m_cbbQuery = nullptr;
    QLineEdit* m_edtQuery = nullptr;
    QPushButton* m_btnQuery = nullptr;
    std::unique_ptr<TCardTree> m_tree;
    QTreeWidgetItem* m_queriedNode = nullptr;
    bool m_shown = false;
};
