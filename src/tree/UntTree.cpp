#include "tree/UntTree.h"

#include "common/UException.h"
#include "common/UntPublic.h"
#include "data/MD.h"
#include "tree/AddType.h"

#include <QDialog>
#include <QHash>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

const char* const PathSeparator = "->";

namespace {
constexpr int kSelfIndexRole = Qt::UserRole + 1;
constexpr int kParentIndexRole = Qt::UserRole + 2;
constexpr int kImageRole = Qt::UserRole + 3;
constexpr int kSelectedImageRole = Qt::UserRole + 4;

const QString kNameExists = QStringLiteral("该名称已经存在，请重新输入！");

QIcon NodeIcon(int image, int selectedImage) {
    QIcon icon;
    icon.addPixmap(TCardTree::NodeImage(image), QIcon::Normal);
    icon.addPixmap(TCardTree::NodeImage(selectedImage), QIcon::Selected);
    return icon;
}

void SetImages(QTreeWidgetItem* node, int image, int selectedImage) {
    node->setData(0, kImageRole, image);
    node->setData(0, kSelectedImageRole, selectedImage);
    node->setIcon(0, NodeIcon(image, selectedImage));
}
} // namespace

TCardTree::TCardTree(QTreeWidget* treeView, const QString& rootCaption, const QString& tableName)
    : TableName(tableName), RootCaption(rootCaption), TreeView(treeView), RootNode(nullptr),
      m_view(treeView) {
    TreeView->clear();
    TreeView->setColumnCount(1);
    TreeView->setHeaderHidden(true);
    TreeView->setIconSize(QSize(16, 16));
    TreeView->setSelectionMode(QAbstractItemView::SingleSelection);
    TreeView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    RootNode = new QTreeWidgetItem(TreeView, QStringList(RootCaption));
    RootNode->setData(0, kSelfIndexRole, 0);
    RootNode->setData(0, kParentIndexRole, 0);
    SetImages(RootNode, 0, 0);
}

TCardTree::~TCardTree() {
    // The tree view may already be gone when its window is torn down before the tree.
    if (m_view && RootNode && m_view->indexOfTopLevelItem(RootNode) >= 0) {
        // The nodes go quietly: the owner's selection handlers must not run on a tree being freed.
        const QSignalBlocker quiet(m_view.data());
        delete RootNode;
    }
}

QTreeWidgetItem* TCardTree::MakeNode(QTreeWidgetItem* parent, const QString& text,
                                     const TGroupNodeData& data) {
    auto* node = new QTreeWidgetItem(parent, QStringList(text));
    node->setData(0, kSelfIndexRole, data.SelfIndex);
    node->setData(0, kParentIndexRole, data.ParentIndex);
    node->setFlags(node->flags() | Qt::ItemIsEditable);
    SetImages(node, 1, 2);
    return node;
}

void TCardTree::LoadGroups() {
    qDeleteAll(RootNode->takeChildren());
    gDbAccess->OpenQuery(
        QStringLiteral(
            "select SelfIndex,ParentIndex,TypeName from %1 where SelfIndex <>0 order by SelfIndex asc")
            .arg(TableName));
    TResultSet* rs = gDbAccess->QueryData;
    const bool updates = TreeView->updatesEnabled();
    TreeView->setUpdatesEnabled(false);
    // Parents come before their children because a child is always numbered above its parent.
    QHash<int, QTreeWidgetItem*> byIndex;
    byIndex.insert(0, RootNode);
    for (rs->First(); !rs->Eof(); rs->Next()) {
        const TGroupNodeData data{rs->FieldByName(QStringLiteral("SelfIndex")).AsInteger(),
                                  rs->FieldByName(QStringLiteral("ParentIndex")).AsInteger()};
        // A row whose parent is missing hangs under the root, where the user can still see and delete it.
        QTreeWidgetItem* parent = byIndex.value(data.ParentIndex, RootNode);
        QTreeWidgetItem* node =
            MakeNode(parent, rs->FieldByName(QStringLiteral("TypeName")).AsString(), data);
        if (!byIndex.contains(data.SelfIndex)) byIndex.insert(data.SelfIndex, node);
    }
    SetImages(RootNode, 0, 0);
    TreeView->setUpdatesEnabled(updates);
    RootNode->setExpanded(true);
}

QTreeWidgetItem* TCardTree::Selected() const {
    QTreeWidgetItem* current = TreeView->currentItem();
    return current && current->isSelected() ? current : nullptr;
}

int TCardTree::SelectedGroupIndex() const {
    const QTreeWidgetItem* node = Selected();
    return node ? NodeData(node).SelfIndex : 0;
}

int TCardTree::MaxGroupIndex() const {
    int result = 0;
    for (QTreeWidgetItemIterator it(TreeView); *it; ++it)
        result = std::max(result, NodeData(*it).SelfIndex);
    return result;
}

bool TCardTree::GroupNameExists(const QString& name) const {
    for (QTreeWidgetItemIterator it(TreeView); *it; ++it)
        if ((*it)->text(0) == name) return true;
    return false;
}

int TCardTree::StoredMaxGroupIndex() const {
    return QueryInt(QStringLiteral("select max(SelfIndex) from %1 ").arg(TableName));
}

bool TCardTree::StoredNameExists(const QString& name) const {
    // Another tree over the same table may have added the name since this one was loaded.
    gDbAccess->OpenQuery(QStringLiteral("select TypeName from %1 where SelfIndex <>0 and TypeName='%2'")
                             .arg(TableName, QuotedSql(name)));
    TResultSet* rs = gDbAccess->QueryData;
    for (rs->First(); !rs->Eof(); rs->Next())
        if (rs->Fields(0).AsString() == name) return true;
    return false;
}

QTreeWidgetItem* TCardTree::AddGroup(const QString& name) {
    if (GroupNameExists(name) || StoredNameExists(name)) throw EAppError(kNameExists);
    QTreeWidgetItem* parent = Selected();
    if (!parent) parent = RootNode;
    // Another tree over the same table may have numbered groups this one has not loaded.
    const TGroupNodeData data{std::max(MaxGroupIndex(), StoredMaxGroupIndex()) + 1, SelectedGroupIndex()};
    ExecSql(QStringLiteral("insert into %1(SelfIndex,ParentIndex,TypeName) values (%2,%3,'%4')")
                .arg(TableName, QString::number(data.SelfIndex), QString::number(data.ParentIndex),
                     QuotedSql(name)));
    QTreeWidgetItem* node = MakeNode(parent, name, data);
    parent->setExpanded(true);
    return node;
}

bool TCardTree::NewGroup() {
    const QTreeWidgetItem* selected = Selected();
    if (!selected) return false;
    QString name;
    if (ShowNewGroupDialog(PositionText(selected), name) != QDialog::Accepted) return false;
    QTreeWidgetItem* node = AddGroup(name);
    TreeView->setCurrentItem(node);
    return true;
}

void TCardTree::RenameGroup(const QString& newName) {
    QTreeWidgetItem* node = Selected();
    // The root is not stored; owners never offer to rename it.
    if (!node || node == RootNode) return;
    if (GroupNameExists(newName) || StoredNameExists(newName)) throw EAppError(kNameExists);
    ExecSql(QStringLiteral("update %1 set TypeName='%2' where SelfIndex=%3 ")
                .arg(TableName, QuotedSql(newName), QString::number(NodeData(node).SelfIndex)));
    node->setText(0, newName);
}

void TCardTree::DeleteGroup() {
    QTreeWidgetItem* node = Selected();
    if (!node) throw EAppError(QStringLiteral("请选择要删除的分组！"));
    if (node == RootNode) throw EAppError(QStringLiteral("不能删除根分组！"));
    if (node->childCount() > 0) throw EAppError(QStringLiteral("还有下级分组，不能删除该分组！"));
    if (!AskYesNo(QStringLiteral("确定要删除 ") + node->text(0) + QStringLiteral(" 分组吗？"))) Abort();
    const QString n = QString::number(NodeData(node).SelfIndex);
    ExecSql(QStringLiteral("delete from %1 where selfIndex=%2 ").arg(TableName, n) +
            QLatin1String(BatchSeparator) +
            QStringLiteral("delete from %1 where ParentIndex=%2 ").arg(TableName, n));
    delete node;
}

QString TCardTree::PositionText(const QTreeWidgetItem* node) const {
    QStringList names;
    for (; node; node = node->parent())
        names.prepend(node->text(0));
    return names.join(QLatin1String(PathSeparator));
}

TGroupNodeData TCardTree::NodeData(const QTreeWidgetItem* node) {
    if (!node) return {};
    return {node->data(0, kSelfIndexRole).toInt(), node->data(0, kParentIndexRole).toInt()};
}

int TCardTree::ImageIndex(const QTreeWidgetItem* node) {
    return node->data(0, kImageRole).toInt();
}
int TCardTree::SelectedImageIndex(const QTreeWidgetItem* node) {
    return node->data(0, kSelectedImageRole).toInt();
}
