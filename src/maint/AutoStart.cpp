#include "maint/AutoStart.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTextStream>

namespace {

// Exec= takes a command line: a path with blanks or quotes goes between double quotes with the desktop
// entry's escapes, a plain one as it is.
QString ExecValue(const QString& path) {
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool plain = true;
    for (const QChar c : path)
        if (reserved.contains(c)) plain = false;
    if (plain) return path;
    QString quoted;
    for (const QChar c : path) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// The path an Exec= value names when it is one quoted or plain word; empty otherwise.
QString ExecPath(const QString& value) {
    if (!value.startsWith(QLatin1Char('"'))) return value;
    QString out;
    for (int i = 1; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == QLatin1Char('\\') && i + 1 < value.size()) {
            out += value[++i];
        } else if (c == QLatin1Char('"')) {
            return i == value.size() - 1 ? out : QString();
        } else {
            out += c;
        }
    }
    return QString();
}

// The value of Exec= in the [Desktop Entry] group; null when there is none.
QString ReadExec(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return QString();
    QTextStream in(&f);
    bool inEntry = false;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inEntry = line == QLatin1String("[Desktop Entry]");
        } else if (inEntry && line.startsWith(QLatin1String("Exec"))) {
            const int eq = line.indexOf(QLatin1Char('='));
            if (eq > 0 && line.left(eq).trimmed() == QLatin1String("Exec")) return line.mid(eq + 1).trimmed();
        }
    }
    return QString();
}

} // namespace

QString AutoStartDir() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    // The freedesktop rules ignore a relative setting.
    if (base.isEmpty() || QDir::isRelativePath(base)) base = QDir::homePath() + QStringLiteral("/.config");
    if (!base.endsWith(QLatin1Char('/'))) base += QLatin1Char('/');
    return base + QStringLiteral("autostart/");
}

QString AutoStartFile(const QString& valueName) {
    QString name = valueName;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    return AutoStartDir() + name + QStringLiteral(".desktop");
}

bool IsAutoStart(const QString& valueName, const QString& exePath) {
    const QString file = AutoStartFile(valueName);
    if (!QFile::exists(file)) return false;
    const QString exec = ReadExec(file);
    return !exec.isNull() && ExecPath(exec) == exePath;
}

void SetAutoStart(const QString& valueName, const QString& exePath, bool on) {
    const QString file = AutoStartFile(valueName);
    if (!on) {
        QFile::remove(file);
        return;
    }
    if (!QDir().mkpath(AutoStartDir())) return;
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly)) return;
    const QString text = QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\nExec=%2\n"
                                        "Terminal=false\nX-GNOME-Autostart-enabled=true\n")
                             .arg(valueName, ExecValue(exePath));
    out.write(text.toUtf8());
    out.commit(); // a folder that cannot be written leaves everything as it was
}
