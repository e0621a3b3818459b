// The program: takes no arguments; everything happens in RunApplication.
#include "app/Startup.h"
#include "common/MessageBoxes.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    InstallGuiSeams();
    ApplyLook(app);
    return RunApplication();
}
