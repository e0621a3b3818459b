// A second process for the data-file tests: holds a data file the way the program or a tool does, or runs a
// batch and dies in the middle of it.
//   datafile_helper hold FILE       takes the file like the program; prints "held", waits for end of input
//   datafile_helper share FILE      takes it like a writing tool; prints "shared", waits for end of input
//   exit 3 when the file is held elsewhere.
#include "data/DataFileLock.h"

#include <QCoreApplication>
#include <cstdio>
#include <iostream>
#include <string>

namespace {

void WaitForEndOfInput() {
    std::string line;
    while (std::getline(std::cin, line)) {
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 2) return 2;
    const QString mode = args[0];
    const QString file = args[1];
    if (mode == QLatin1String("hold")) {
        if (!LockDataFile(file)) return 3;
        std::printf("held\n");
        std::fflush(stdout);
        WaitForEndOfInput();
        ReleaseDataFile(file);
        return 0;
    }
    if (mode == QLatin1String("share")) {
        if (DataFileHeldElsewhere(file)) return 3;
        std::printf("shared\n");
        std::fflush(stdout);
        WaitForEndOfInput();
        return 0; // the hold ends with the process
    }
    return 2;
}
