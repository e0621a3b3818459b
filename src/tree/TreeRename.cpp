#include "tree/TreeRename.h"

#include "common/UException.h"
#include "tree/UntTree.h"

#include <QEventLoop>
#include <QLineEdit>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTreeWidget>

namespace {
// Hands the edited text to the tree's owner instead of writing it into the item.
class TRenameDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    std::function<void(const QString&)> OnEdited;

    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override {
        auto* line = qobject_cast<QLineEdit*>(editor);
        if (!line || !OnEdited) return;
        const QString text = line->text();
        if (text == index.data(Qt::DisplayRole).toString()) return;
        const auto onEdited = OnEdited;
        Guard([&] { onEdited(text); });
    }
};
} // namespace

void EditSelectedGroupLabel(TCardTree* tree, const std::function<void(const QString&)>& onEdited) {
    QTreeWidgetItem* node = tree->Selected();
    if (!node || node == tree->RootNode) return;
    QTreeWidget* view = tree->TreeView;
    auto* delegate = dynamic_cast<TRenameDelegate*>(view->itemDelegate());
    if (!delegate) {
        delegate = new TRenameDelegate(view);
        view->setItemDelegate(delegate);
    }
    delegate->OnEdited = onEdited;
    // The view (and its delegate with it) may be destroyed while the local loop runs.
    QPointer<TRenameDelegate> guard(delegate);
    view->editItem(node, 0);
    // A label that could not be opened for editing has no editor to wait for.
    if (view->indexWidget(view->indexFromItem(node))) {
        QEventLoop loop;
        QObject::connect(delegate, &QAbstractItemDelegate::closeEditor, &loop, &QEventLoop::quit);
        QObject::connect(view, &QObject::destroyed, &loop, &QEventLoop::quit);
        loop.exec();
    }
    if (guard) guard->OnEdited = nullptr;
}
