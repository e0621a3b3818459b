// The program: takes no arguments; everything happens in RunApplication.
#include "app/Startup.h"
#include "common/MessageBoxes.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    InstallGuiSeams();
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/bookkeep-%1.png").arg(size));
    QApplication::setWindowIcon(icon);
    ApplyLook(app);
    return RunApplication();
}
