#pragma once
// The program's start-up and shutdown, apart from main() so that tests can run it.
#include <QString>

class QApplication;

// "仓库管理软件-Quvaro软件": the application title and the main window's caption.
QString AppTitle();

// The Fusion style with a calm light palette and a font that renders Chinese well.
void ApplyLook(QApplication& app);

// Connects to the data file, creates and runs the main window, frees the access layer afterwards.
// Without a connection (the error box has been shown) it returns at once, without a window.
// The application object must exist.
int RunApplication();
