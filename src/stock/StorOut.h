#pragma once
// The stock-out document.
#include "stock/BaseStor.h"

class TFormStorOut : public TFormBaseStor {
    Q_OBJECT
public:
    explicit TFormStorOut(QWidget* parent = nullptr);
};

// Opens the stock-out window modally; it is destroyed when it closes.
void ShowStorOut();
