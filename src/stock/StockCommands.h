#pragma once
// The goods page's stock buttons: the three documents and the movement history.
class TGoodsPage;

// Enables "商品进货", "商品出货", "商品盘点" and "进出货查询" and opens their windows; after a document has
// closed, the page's status bar shows the new total stock (the goods list is not queried again).
void ConnectStockCommands(TGoodsPage* page);

// The total stock into the stock field of the page's status bar.
void ShowStockTotal(TGoodsPage* page);
