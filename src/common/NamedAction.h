#pragma once
// Menu items carry their names as object names, so that tests and other windows can find them.
#include <QAction>
#include <QMenu>

inline QAction* AddNamedAction(QMenu* menu, const char* name, const QString& caption) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
}
