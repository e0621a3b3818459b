#include "reminders/AlamLists.h"

#include "data/ListView.h"
#include "reminders/UntAlam.h"
#include "reminders/UntAlamContext.h"

#include <QBrush>
#include <QColor>
#include <QTreeWidget>

namespace {

// The cells line up as their column titles do.
void AlignAsHeader(QTreeWidget* listView, QTreeWidgetItem* item) {
    for (int c = 0; c < listView->columnCount(); ++c)
        item->setTextAlignment(c, Qt::Alignment(listView->headerItem()->textAlignment(c)));
}

} // namespace

void FillList(TAlam& alam, QTreeWidget* listView, int view) {
    FillListView(alam.ListSql(view), listView);
    for (int i = 0; i < listView->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = listView->topLevelItem(i);
        AlignAsHeader(listView, item);
        ColourAlamRow(item);
        const QString kind = item->text(acKind);
        if (kind == AlamKindText(akOnce) && alam.IsMissed(item->text(acID)))
            item->setText(acStatus, QStringLiteral("错过的"));
        if (kind == AlamKindText(akWeekly)) item->setText(acTime, WeekDigitToText(item->text(acTime)));
    }
}

void FillList(TAlamContext& context, QTreeWidget* listView) {
    FillListView(context.ListSql(), listView);
    for (int i = 0; i < listView->topLevelItemCount(); ++i)
        AlignAsHeader(listView, listView->topLevelItem(i));
}

void ColourAlamRow(QTreeWidgetItem* item) {
    const QString kind = item->text(acKind);
    QColor colour;
    if (kind == AlamKindText(akOnce))
        colour = QColor(255, 0, 0);
    else if (kind == AlamKindText(akWeekly))
        colour = QColor(0, 128, 0);
    else if (kind == AlamKindText(akMonthly))
        colour = QColor(0, 0, 255);
    for (int c = 0; c < item->columnCount(); ++c)
        item->setForeground(c, colour.isValid() ? QBrush(colour) : QBrush());
}
