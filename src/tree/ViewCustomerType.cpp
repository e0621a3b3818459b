#include "tree/ViewCustomerType.h"

#include "common/UException.h"
#include "tree/UntTree.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QShowEvent>
#include <QTreeWidget>
#include <QVBoxLayout>

TFormViewCustomerType::TFormViewCustomerType(QWidget* parent)
    : TFormBaseDlg(parent), tv1(new QTreeWidget(pnlClient())),
      btn1(new QPushButton(QStringLiteral("新建分组"))) {
    setObjectName(QStringLiteral("FormViewCustomerType"));
    setWindowTitle(QStringLiteral("选择组"));
    auto* layout = new QVBoxLayout(pnlClient());
    layout->setContentsMargins(0, 0, 0, 0);
    tv1->setObjectName(QStringLiteral("tv1"));
    layout->addWidget(tv1);
    btn1->setObjectName(QStringLiteral("btn1"));
    btn1->setMinimumSize(75, 25);
    // At the left end of the bottom bar, before the stretch that pushes OK and Cancel to the right.
    if (auto* bottom = qobject_cast<QHBoxLayout*>(pnlBottom()->layout()))
        bottom->insertWidget(0, btn1);
    else
        btn1->setParent(pnlBottom());
    m_tree = std::make_unique<TCardTree>(tv1, QStringLiteral("全部"), QStringLiteral("CustomerType"));
    connect(tv1, &QTreeWidget::itemDoubleClicked, this, Guarded([this] { btnOKClick(); }));
    connect(btn1, &QPushButton::clicked, this, Guarded([this] { btn1Click(); }));
    resize(288, 381);
}

TFormViewCustomerType::~TFormViewCustomerType() = default;

void TFormViewCustomerType::showEvent(QShowEvent* event) {
    TFormBaseDlg::showEvent(event);
    if (m_loaded) return;
    m_loaded = true;
    Guard([this] { m_tree->LoadGroups(); });
}

void TFormViewCustomerType::btnOKClick() {
    const QTreeWidgetItem* node = m_tree->Selected();
    if (!node) return;
    PickedIndex = m_tree->SelectedGroupIndex();
    PickedText = node->text(0);
    accept();
}

void TFormViewCustomerType::btn1Click() {
    m_tree->NewGroup();
}

int PickGroup(int& index, QString& text) {
    text.clear();
    TFormViewCustomerType picker;
    const int result = picker.exec();
    if (result == QDialog::Accepted) {
        index = picker.PickedIndex;
        text = index != 0 ? picker.PickedText : QStringLiteral("未分组");
    }
    return result;
}
