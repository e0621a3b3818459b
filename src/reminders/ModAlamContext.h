#pragma once
// The change-preset dialog.
#include "reminders/AddAlamContext.h"

class TFormModAlamContext : public TFormAddAlamContext {
    Q_OBJECT
public:
    explicit TFormModAlamContext(QWidget* parent = nullptr);

    QString AlamId;

protected:
    void btnOKClick() override;
};

// Shows the change dialog for the preset id with its text in the box; Accepted when it was changed.
int ShowModAlamContext(const QString& id, const QString& text);
