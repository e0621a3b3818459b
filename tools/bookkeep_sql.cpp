// bookkeep-sql: runs SQL against a data file, for support staff and scripted checks.
//   bookkeep-sql --create FILE      makes a new, empty data file
//   bookkeep-sql FILE SQL           ("-" reads SQL from standard input) select: prints a header and the rows,
//   tab-separated; else runs SQL as a batch bookkeep-sql FILE --export OUT.xlsx SQL   writes the rows of a
//   select to a workbook, titles first bookkeep-sql --backup FILE DEST / --restore FILE SOURCE / --compact
//   FILE   maintenance (SqlMaint.cpp) bookkeep-sql --import FILE WORKBOOK --fields NAME[,NAME...] [--group N]
//   imports goods (SqlImport.cpp)
#include "SqlExport.h"
#include "SqlImport.h"
#include "SqlMaint.h"
#include "common/Seams.h"
#include "common/UException.h"
#include "common/UntPublic.h"
#include "data/DataFileLock.h"
#include "data/MD.h"
#include "data/Schema.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cstdio>

namespace {

// Messages go to standard error; questions are answered No.
class TStderrMessages : public IMessageSink {
public:
    bool Show(TMessageKind, const QString&, const QString& text) override {
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
        return false;
    }
};

QString Escape(const QString& v) {
    QString out;
    out.reserve(v.size());
    for (const QChar c : v) {
        if (c == QLatin1Char('\t'))
            out += QStringLiteral("\\t");
        else if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (c == QLatin1Char('\\'))
            out += QStringLiteral("\\\\");
        else
            out += c;
    }
    return out;
}

int Usage() {
    std::fprintf(
        stderr,
        "usage: bookkeep-sql --create FILE\n       bookkeep-sql FILE SQL   (SQL \"-\": from standard input)\n"
        "       bookkeep-sql FILE --export OUT.xlsx SQL\n%s%s",
        ImportUsage, MaintUsage);
    return 2;
}

} // namespace

static QString ReadStandardInput() {
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly)) return QString();
    return QString::fromUtf8(in.readAll());
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    TStderrMessages messages;
    SetMessageSink(&messages);
    const QStringList args = app.arguments().mid(1);
    if (!args.isEmpty() && args[0] == QLatin1String("--import")) return RunImportCommand(args.mid(1));
    if (IsMaintCommand(args)) return RunMaintCommand(args);
    if (args.size() == 2 && args[0] == QLatin1String("--create")) {
        try {
            CreateDataFile(args[1]);
            return 0;
        } catch (const EAppError& e) {
            std::fprintf(stderr, "%s\n", e.what());
            return 1;
        }
    }
    const bool exporting = args.size() == 4 && args[1] == QLatin1String("--export");
    if (args.size() != 2 && !exporting) return Usage();

    const QFileInfo file(args[0]);
    SetAppDir(file.absolutePath());
    static const QRegularExpression isSelect(QStringLiteral("^\\s*select\\b"),
                                             QRegularExpression::CaseInsensitiveOption);
    // "-" reads the SQL from standard input, for scripts longer than a command line can hold.
    const QString sql = args[1] == QLatin1String("-") ? ReadStandardInput() : args[1];
    const bool reads = exporting || isSelect.match(sql).hasMatch();
    // Reading beside the running program is harmless; writing would undo its work or be undone by it.
    if (!reads && DataFileHeldElsewhere(file.absoluteFilePath())) {
        std::fprintf(stderr, "%s\n", DataFileInUseText().toUtf8().constData());
        return 1;
    }
    TDbAccess access;
    gDbAccess = &access;
    if (file.fileName() != QLatin1String("bookkeep.dat")) {
        // The access layer always opens AppDir + "bookkeep.dat"; other names are opened directly.
        try {
            access.Connection->Open(file.absoluteFilePath(), DatabasePassword());
        } catch (const EAppError& e) {
            std::fprintf(stderr, "数据库连接失败！\n%s\n", e.what());
            return 1;
        }
    } else {
        access.Connect();
        if (!access.Connection->Connected()) return 1;
    }
    if (exporting) {
        const int code = RunSqlExport(args[2], args[3]);
        gDbAccess = nullptr;
        return code;
    }
    try {
        if (reads) {
            access.OpenQuery(sql);
            TResultSet* rs = access.QueryData;
            QStringList header;
            for (const QString& name : rs->FieldNames())
                header << Escape(name);
            std::printf("%s\n", header.join(QLatin1Char('\t')).toUtf8().constData());
            for (int row = 0; row < rs->RecordCount(); ++row) {
                QStringList line;
                for (int col = 0; col < rs->FieldCount(); ++col)
                    line << Escape(rs->Text(row, col));
                std::printf("%s\n", line.join(QLatin1Char('\t')).toUtf8().constData());
            }
        } else {
            ExecSql(sql);
        }
    } catch (const EDBException& e) {
        std::fprintf(stderr, "%s\n%s\n", e.UserMsg.toUtf8().constData(), e.what());
        gDbAccess = nullptr;
        return 1;
    } catch (const EAppError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        gDbAccess = nullptr;
        return 1;
    }
    gDbAccess = nullptr;
    return 0;
}
