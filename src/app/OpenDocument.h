#pragma once
// Asks the desktop to open a file or a web address with its usual program.
#include <QString>

class QWidget;

// The product's home page, opened by "软件主页".
QString HomePageAddress();

// Opens target (a web address or a file) in the program the desktop chooses; a refusal is not reported.
void OpenDocument(QWidget* owner, const QString& target);
