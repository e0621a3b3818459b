#include "controls/ListView.h"

#include "data/MD.h"

#include <QTreeWidget>

void FillListView(const QString& sql, QTreeWidget* listView) {
    listView->clear();
    gDbAccess->OpenQuery(sql);
    TResultSet* rs = gDbAccess->QueryData;
    listView->setUpdatesEnabled(false);
    QList<QTreeWidgetItem*> items;
    items.reserve(rs->RecordCount());
    const int n = rs->FieldCount();
    for (int row = 0; row < rs->RecordCount(); ++row) {
        auto* item = new QTreeWidgetItem;
        for (int col = 0; col < n; ++col)
            item->setText(col, rs->Text(row, col));
        items << item;
    }
    listView->addTopLevelItems(items);
    rs->MoveTo(rs->RecordCount()); // walked to the end, as a loop over the rows leaves it
    listView->setUpdatesEnabled(true);
}
