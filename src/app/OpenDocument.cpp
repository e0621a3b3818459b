#include "app/OpenDocument.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

QString HomePageAddress() {
    return QStringLiteral("http://www.quvaro.example/");
}

void OpenDocument(QWidget* /*owner*/, const QString& target) {
    const QUrl url = QFileInfo::exists(target) ? QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath())
                                               : QUrl::fromUserInput(target);
    QDesktopServices::openUrl(url);
}
