#pragma once
// The group picker: choose a goods group, or make one on the way.
#include "common/BaseDlg.h"

#include <memory>

class QPushButton;
class QTreeWidget;
class TCardTree;

class TFormViewCustomerType : public TFormBaseDlg {
    Q_OBJECT
public:
    explicit TFormViewCustomerType(QWidget* parent = nullptr);
    ~TFormViewCustomerType() override;

    QTreeWidget* tv1;
    QPushButton* btn1;
    TCardTree* Tree() const { return m_tree.get(); }

    int PickedIndex = 0;
    QString PickedText;

protected:
    void btnOKClick() override;
    void showEvent(QShowEvent* event) override;

private:
    void btn1Click();
    std::unique_ptr<TCardTree> m_tree;
    bool m_loaded = false;
};

// Lets the user pick a goods group. On OK index is the group's SelfIndex and text its name, or "未分组" for
// the root. Returns QDialog::Accepted or QDialog::Rejected.
int PickGroup(int& index, QString& text);
