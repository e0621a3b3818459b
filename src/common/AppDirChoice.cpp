#include "common/AppDirChoice.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <unistd.h>

namespace {

QString WithSeparator(QString dir) {
    dir = QDir::toNativeSeparators(QDir::cleanPath(dir));
    if (!dir.endsWith(QDir::separator())) dir += QDir::separator();
    return dir;
}

// Compares folders after following links, so that /usr/bin reached through /bin still counts.
QString Canonical(const QString& dir) {
    const QString c = QFileInfo(dir).canonicalFilePath();
    return c.isEmpty() ? QDir::cleanPath(dir) : c;
}

} // namespace

TAppDirFacts CurrentAppDirFacts() {
    TAppDirFacts facts;
    facts.ExeDir =
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    // access() asks the kernel, so a read-only mount counts as not writable as well.
    facts.ExeDirWritable = ::access(QFile::encodeName(facts.ExeDir).constData(), W_OK) == 0;
#ifdef BOOKKEEP_INSTALL_BINDIR
    facts.InstallBinDir = QStringLiteral(BOOKKEEP_INSTALL_BINDIR);
#endif
    facts.XdgDataHome = qEnvironmentVariable("XDG_DATA_HOME");
    facts.HomeDir = QDir::homePath();
    return facts;
}

QString UserDataAppDir(const TAppDirFacts& facts) {
    // The freedesktop rule: a relative $XDG_DATA_HOME is invalid and ignored.
    const QString base = !facts.XdgDataHome.isEmpty() && QDir::isAbsolutePath(facts.XdgDataHome)
                             ? facts.XdgDataHome
                             : facts.HomeDir + QStringLiteral("/.local/share");
    return WithSeparator(base + QStringLiteral("/bookkeep"));
}

bool UsesUserDataAppDir(const TAppDirFacts& facts) {
    if (!facts.ExeDirWritable) return true;
    return !facts.InstallBinDir.isEmpty() && Canonical(facts.ExeDir) == Canonical(facts.InstallBinDir);
}

QString ChooseAppDir(const TAppDirFacts& facts) {
    return UsesUserDataAppDir(facts) ? UserDataAppDir(facts) : WithSeparator(facts.ExeDir);
}
