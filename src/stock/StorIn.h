#pragma once
// The stock-in document.
#include "stock/BaseStor.h"

class TFormStorIn : public TFormBaseStor {
    Q_OBJECT
public:
    explicit TFormStorIn(QWidget* parent = nullptr);
};

// Opens the stock-in window modally; it is destroyed when it closes.
void ShowStorIn();
