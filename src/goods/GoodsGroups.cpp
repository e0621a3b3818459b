#include "goods/GoodsGroups.h"

#include "common/UException.h"
#include "data/MD.h"
#include "goods/GoodsPage.h"
#include "goods/UntCustomer.h"
#include "tree/TreeRename.h"
#include "tree/UntTree.h"

#include <QAction>

TGoodsGroupCommands::TGoodsGroupCommands(TGoodsPage* page, TCardTree* tree)
    : QObject(page), m_page(page), m_tree(tree) {
    setObjectName(QStringLiteral("GoodsGroups"));
    connect(m_page->NAddIEType(), &QAction::triggered, this, Guarded([this] { NAddIETypeClick(); }));
    connect(m_page->NModIeType(), &QAction::triggered, this, Guarded([this] { NModIeTypeClick(); }));
    connect(m_page->NDelIEType(), &QAction::triggered, this, Guarded([this] { NDelIETypeClick(); }));
}

void TGoodsGroupCommands::RunQueryGoods() {
    if (QueryGoods) QueryGoods();
}

void TGoodsGroupCommands::NAddIETypeClick() {
    if (m_tree->NewGroup()) RunQueryGoods();
}

void TGoodsGroupCommands::NModIeTypeClick() {
    EditSelectedGroupLabel(m_tree, [this](const QString& name) { tv1Edited(name); });
}

void TGoodsGroupCommands::tv1Edited(const QString& newText) {
    m_tree->RenameGroup(newText);
    // The grid's group column shows the new name without a new selection.
    if (!gDbAccess->GridData->CommandText.isEmpty()) gDbAccess->RefreshGrid();
}

void TGoodsGroupCommands::NDelIETypeClick() {
    if (!m_tree->Selected()) return;
    const QString index = QString::number(m_tree->SelectedGroupIndex());
    m_tree->DeleteGroup(); // a refusal or No ends the command here
    gCustomer->DeleteGroupGoods(index);
    RunQueryGoods();
}
