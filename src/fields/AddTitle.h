#pragma once
// The field editor in new mode.
#include "fields/BaseTitle.h"

class TFormAddTitle : public TFormBaseTitle {
    Q_OBJECT
public:
    explicit TFormAddTitle(QWidget* parent = nullptr);

protected:
    void btnOKClick() override;
};

// Opens the editor for a new field; true when a definition was saved.
bool ShowAddTitle();
