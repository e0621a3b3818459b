#pragma once
// The goods page of the main window: toolbar, group tree, goods grid area, totals and quick search.
// It holds the controls only; the goods browser connects their behaviour.
#include <QStyle>
#include <QWidget>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QSplitter;
class QToolBar;
class QToolButton;
class QTreeWidget;
class QAction;
class TStatusPanels;

class TGoodsPage : public QWidget {
    Q_OBJECT
public:
    explicit TGoodsPage(QWidget* parent = nullptr);

    QToolBar* ToolBar1() const { return m_toolBar1; }
    QToolButton* ToolButtonHY() const { return m_toolButtonHY; } // 自定义商品资料
    QToolButton* ToolButtonCZ() const { return m_toolButtonCZ; } // 商品进货
    QToolButton* btn4() const { return m_btn4; }                 // 商品出货
    QToolButton* btn6() const { return m_btn6; }                 // 商品盘点
    QToolButton* btn8() const { return m_btn8; }                 // 进出货查询

    QTreeWidget* tv1() const { return m_tv1; }
    TStatusPanels* statHint() const { return m_statHint; }
    QSplitter* Splitter1() const { return m_splitter1; }
    // The place of the goods grid DBGrid1: an empty container with a vertical layout.
    QWidget* pnlGrid() const { return m_pnlGrid; }
    TStatusPanels* stat1() const { return m_stat1; }

    QGroupBox* grp1() const { return m_grp1; }
    QComboBox* cbbQuery() const { return m_cbbQuery; }
    QLineEdit* edtQuery() const { return m_edtQuery; }
    QPushButton* btnQuery() const { return m_btnQuery; }

    QMenu* pmCustomerType() const { return m_pmCustomerType; }
    QAction* NAddIEType() const { return m_NAddIEType; }
    QAction* NModIeType() const { return m_NModIeType; }
    QAction* NDelIEType() const { return m_NDelIEType; }
    QAction* N5() const { return m_N5; }

    QMenu* pmCustomer() const { return m_pmCustomer; }
    QAction* NAddCustomer() const { return m_NAddCustomer; }
    QAction* NModCustomer() const { return m_NModCustomer; }
    QAction* N3() const { return m_N3; }
    QAction* N9() const { return m_N9; }
    QAction* Excel1() const { return m_Excel1; }

private:
    QToolButton* AddToolButton(const char* name, const QString& caption, QStyle::StandardPixmap icon);
    void BuildLeft();
    void BuildRight();
    void BuildMenus();

    QToolBar* m_toolBar1 = nullptr;
    QToolButton* m_toolButtonHY = nullptr;
    QToolButton* m_toolButtonCZ = nullptr;
    QToolButton* m_btn4 = nullptr;
    QToolButton* m_btn6 = nullptr;
    QToolButton* m_btn8 = nullptr;
    QSplitter* m_splitter1 = nullptr;
    QTreeWidget* m_tv1 = nullptr;
    TStatusPanels* m_statHint = nullptr;
    QWidget* m_pnlGrid = nullptr;
    TStatusPanels* m_stat1 = nullptr;
    QGroupBox* m_grp1 = nullptr;
    QComboBox* m_cbbQuery = nullptr;
    QLineEdit* m_edtQuery = nullptr;
    QPushButton* m_btnQuery = nullptr;
    QMenu* m_pmCustomerType = nullptr;
    QAction* m_NAddIEType = nullptr;
    QAction* m_NModIeType = nullptr;
    QAction* m_NDelIEType = nullptr;
    QAction* m_N5 = nullptr;
    QMenu* m_pmCustomer = nullptr;
    QAction* m_NAddCustomer = nullptr;
    QAction* m_NModCustomer = nullptr;
    QAction* m_N3 = nullptr;
    QAction* m_N9 = nullptr;
    QAction* m_Excel1 = nullptr;
};
