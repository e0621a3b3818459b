#pragma once
// The field editor in change mode: loaded from one definition, saved over it (renaming its column when the
// name changed).
#include "fields/BaseTitle.h"

class TFormModTitle : public TFormBaseTitle {
    Q_OBJECT
public:
    explicit TFormModTitle(QWidget* parent = nullptr);

    // Loads the definition with that name; false when there is none.
    bool Load(const QString& name);
    const QString& OldName() const { return m_oldName; }

protected:
    void btnOKClick() override;

private:
    QString m_oldName;
};

// Opens the editor on the field of that name; true when the definition was saved.
bool ShowModTitle(const QString& name);
