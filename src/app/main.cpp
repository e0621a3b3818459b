// Program entry. (The main window arrives with the application shell.)
#include "common/MessageBoxes.h"
#include "common/UntPublic.h"
#include "data/MD.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    InstallGuiSeams();
    if (!gDbAccess)
        gDbAccess = new TDbAccess;
    gDbAccess->Connect();
    const int rc = 0;
    delete gDbAccess;
    gDbAccess = nullptr;
    return rc;
}
