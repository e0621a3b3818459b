#include "app/Startup.h"

#include "app/FirstStart.h"
#include "app/FormMain.h"
#include "common/AppDirChoice.h"
#include "common/UntPublic.h"
#include "common/Wait.h"
#include "data/DataFileLock.h"
#include "data/MD.h"

#include <QApplication>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPalette>
#include <QPointer>
#include <QStyleFactory>
#include <QTimer>

QString AppTitle() {
    return QStringLiteral("仓库管理软件-Quvaro软件");
}

void ApplyLook(QApplication& app) {
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) app.setStyle(fusion);
    QPalette p;
    const QColor window(0xF1, 0xF3, 0xF6);
    const QColor text(0x1F, 0x29, 0x37);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::AlternateBase, QColor(0xF6, 0xF8, 0xFA));
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, QColor(0xE8, 0xEC, 0xF1));
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::BrightText, Qt::white);
    p.setColor(QPalette::Highlight, QColor(0x3B, 0x7D, 0xD8));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::ToolTipBase, QColor(0xFF, 0xFB, 0xE6));
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, QColor(0x8A, 0x94, 0xA3));
    p.setColor(QPalette::Link, QColor(0x1F, 0x6F, 0xC5));
    p.setColor(QPalette::Light, Qt::white);
    p.setColor(QPalette::Midlight, QColor(0xE2, 0xE6, 0xEB));
    p.setColor(QPalette::Mid, QColor(0xB8, 0xC0, 0xCA));
    p.setColor(QPalette::Dark, QColor(0x9A, 0xA3, 0xAE));
    p.setColor(QPalette::Shadow, QColor(0x6B, 0x72, 0x7C));
    const QColor disabled(0x9A, 0xA3, 0xAE);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, disabled);
    app.setPalette(p);

    const QStringList families = QFontDatabase::families();
    for (const char* name : {"Noto Sans CJK SC", "Noto Sans SC", "Noto Sans CJK"}) {
        if (families.contains(QLatin1String(name))) {
            QFont font{QString::fromLatin1(name)};
            font.setPointSize(10);
            app.setFont(font);
            break;
        }
    }
}

int RunApplication() {
    // The error handler, AppDir and the storage singletons are set up when their modules load; the
    // application object exists already.
    PrepareAppDir(CurrentAppDirFacts()); // an installed program's first start makes its data file
    // A second program on the same data file would overwrite the first one's work: it ends before it opens
    // the file. Without a data file there is nothing to lock and the connection reports the missing file.
    const QString dataFile = TDbAccess::DataFilePath();
    if (QFileInfo::exists(dataFile) && !LockDataFile(dataFile)) {
        ShowError(DataFileInUseText());
        return 0;
    }
    if (!gDbAccess) gDbAccess = new TDbAccess;
    gDbAccess->Connect();

    int rc = 0;
    if (gDbAccess->Connection->Connected()) {
        QCoreApplication::setApplicationName(AppTitle());
        QPointer<TFormMain> form = new TFormMain; // FormCreate runs here
        form->setAttribute(Qt::WA_DeleteOnClose);
        // Closing the main window ends the program, even with reminder popups still open.
        QObject::connect(form, &QObject::destroyed, qApp, &QCoreApplication::quit);
        // Shown once the loop runs, so that the first show's work (and a login refused there) can end it.
        QTimer::singleShot(0, form, [form] { form->showMaximized(); });
        rc = QApplication::exec();
        delete form; // still there when the loop was ended without closing it
    }
    // Without a main window the loop is not run at all: there is nothing to wait for.

    FreeFormWaiting();
    try {
        delete gDbAccess;
    } catch (...) {
        // a failure while freeing is of no interest any more
    }
    gDbAccess = nullptr;
    ReleaseDataFile(dataFile);
    return rc;
}
