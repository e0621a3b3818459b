#include "common/WindowMessages.h"

QObject*& MainWindowTarget() {
    static QObject* target = nullptr;
    return target;
}
