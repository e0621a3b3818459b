#pragma once
// The stocktake document.
#include "stock/BaseStor.h"

class TFormStorOk : public TFormBaseStor {
    Q_OBJECT
public:
    explicit TFormStorOk(QWidget* parent = nullptr);
};

// Opens the stocktake window modally; it is destroyed when it closes.
void ShowStorOk();
