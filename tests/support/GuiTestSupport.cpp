#include "support/GuiTestSupport.h"

#include <QApplication>
#include <QTimer>

void WhenModal(std::function<void()> action) {
    QTimer::singleShot(0, std::move(action));
}

QWidget* ActiveModal() {
    return QApplication::activeModalWidget();
}
