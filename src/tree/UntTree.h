#pragma once
// A tree of user-made groups kept in a table (SelfIndex, ParentIndex, TypeName) and shown in a tree view.
// The root node is not stored: it stands for group index 0.
#include <QIcon>
#include <QPointer>
#include <QString>
#include <QTreeWidget>

class QTreeWidgetItem;

// The record every node carries; the root's is {0, 0}.
struct TGroupNodeData {
    int SelfIndex = 0;
    int ParentIndex = 0;
};

extern const char* const PathSeparator; // "->"

class TCardTree {
public:
    TCardTree(QTreeWidget* treeView, const QString& rootCaption, const QString& tableName);
    ~TCardTree();
    TCardTree(const TCardTree&) = delete;
    TCardTree& operator=(const TCardTree&) = delete;

    QString TableName;
    QString RootCaption;
    QTreeWidget* TreeView;
    QTreeWidgetItem* RootNode;

    void LoadGroups();
    int SelectedGroupIndex() const;
    int MaxGroupIndex() const;
    bool GroupNameExists(const QString& name) const;
    QTreeWidgetItem* AddGroup(const QString& name);
    bool NewGroup();
    void RenameGroup(const QString& newName);
    void DeleteGroup();

    // The selected node, or nullptr when none is.
    QTreeWidgetItem* Selected() const;
    // "全部商品->饮料->果汁": the captions from the root down to node.
    QString PositionText(const QTreeWidgetItem* node) const;

    static TGroupNodeData NodeData(const QTreeWidgetItem* node);
    // The image a node shows (0 root, 1 group) and the one it shows while selected (0 root, 2 group).
    static int ImageIndex(const QTreeWidgetItem* node);
    static int SelectedImageIndex(const QTreeWidgetItem* node);
    // The three 16×16 node images: 0 root, 1 group, 2 selected group.
    static QPixmap NodeImage(int index);

private:
    QTreeWidgetItem* MakeNode(QTreeWidgetItem* parent, const QString& text, const TGroupNodeData& data);
    int StoredMaxGroupIndex() const;
    bool StoredNameExists(const QString& name) const;
    QPointer<QTreeWidget> m_view; // tells the destructor whether the view is still there
};
