#include "stock/StockCommands.h"

#include "common/StatusPanels.h"
#include "common/UException.h"
#include "goods/GoodsPage.h"
#include "goods/UntCustomer.h"
#include "stock/QStor.h"
#include "stock/StorIn.h"
#include "stock/StorOk.h"
#include "stock/StorOut.h"

#include <QPointer>
#include <QToolButton>

namespace {
// The panel of the goods page's status bar that holds the total stock.
constexpr int kStockPanel = 3;
} // namespace

void ShowStockTotal(TGoodsPage* page) {
    TStatusPanels* bar = page->stat1();
    if (bar->PanelCount() > kStockPanel) bar->SetPanelText(kStockPanel, StockTotal().ToString());
}

void ConnectStockCommands(TGoodsPage* page) {
    auto document = [page](void (*show)()) {
        return Guarded([page, show] {
            QPointer<TGoodsPage> alive(page);
            show();
            if (alive) ShowStockTotal(page);
        });
    };
    QObject::connect(page->ToolButtonCZ(), &QToolButton::clicked, page, document(&ShowStorIn));
    QObject::connect(page->btn4(), &QToolButton::clicked, page, document(&ShowStorOut));
    QObject::connect(page->btn6(), &QToolButton::clicked, page, document(&ShowStorOk));
    QObject::connect(page->btn8(), &QToolButton::clicked, page, Guarded([] { ShowQStor(); }));
    for (QToolButton* b : {page->ToolButtonCZ(), page->btn4(), page->btn6(), page->btn8()})
        b->setEnabled(true);
}
