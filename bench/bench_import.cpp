// Times the goods import of 10,000 and 100,000 rows with five ticked fields, from a workbook written by
// libxlsxwriter and from CSV text, each read and imported into a fresh catalogue; and the same rows put in
// by raw SQLite for comparison. Prints medians.
#include "BenchSupport.h"
#include "goods/UntGUID.h"
#include "maint/GoodsImport.h"
#include "maint/SheetTable.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <sys/resource.h>
#include <xlsxwriter.h>

namespace {

const QStringList kFields{QStringLiteral("商品编号"), QStringLiteral("商品名称"), BenchFieldName(0),
                          BenchFieldName(2), BenchFieldName(3)};

// Row i of the sheet: a bar code, a name, a price, a colour and a date, as a shop's list would hold.
QString Code(int i) {
    return QString::number(6901234500000LL + i);
}
QString Name(int i) {
    return QStringLiteral("商品%1号").arg(i);
}
double Price(int i) {
    return (i % 1000) / 4.0;
}
QString Colour(int i) {
    static const QStringList colours{"红", "黄", "蓝", "绿", "白"};
    return colours[i % colours.size()];
}

void WriteXlsx(const QString& path, int rows) {
    lxw_workbook* wb = workbook_new(QFile::encodeName(path).constData());
    lxw_worksheet* ws = workbook_add_worksheet(wb, "商品");
    lxw_format* date = workbook_add_format(wb);
    format_set_num_format(date, "yyyy-mm-dd");
    for (int c = 0; c < kFields.size(); ++c)
        worksheet_write_string(ws, 0, lxw_col_t(c), kFields[c].toUtf8().constData(), nullptr);
    for (int i = 0; i < rows; ++i) {
        const lxw_row_t r = lxw_row_t(i + 1);
        worksheet_write_number(ws, r, 0, double(6901234500000LL + i), nullptr);
        worksheet_write_string(ws, r, 1, Name(i).toUtf8().constData(), nullptr);
        worksheet_write_number(ws, r, 2, Price(i), nullptr);
        worksheet_write_string(ws, r, 3, Colour(i).toUtf8().constData(), nullptr);
        lxw_datetime d{2024, 1 + i % 12, 1 + i % 28, 0, 0, 0};
        worksheet_write_datetime(ws, r, 4, &d, date);
    }
    if (workbook_close(wb) != LXW_NO_ERROR) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

void WriteCsv(const QString& path, int rows) {
    QByteArray text = kFields.join(QLatin1Char(',')).toUtf8() + "\r\n";
    for (int i = 0; i < rows; ++i)
        text += QStringLiteral("%1,%2,%3,%4,2024-%5-%6\r\n")
                    .arg(Code(i), Name(i), NumberText(Price(i)), Colour(i))
                    .arg(1 + i % 12, 2, 10, QLatin1Char('0'))
                    .arg(1 + i % 28, 2, 10, QLatin1Char('0'))
                    .toUtf8();
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

// The same rows through one prepared statement, without reading a file.
void RawInsert(int rows) {
    sqlite3* db = gDbAccess->Connection->Handle();
    RawExec("BEGIN");
    sqlite3_stmt* st = nullptr;
    const QByteArray sql = QStringLiteral("insert into Customer(GUID,TypeID,商品编号,商品名称,%1,%2,%3) "
                                          "values (?,?,?,?,?,?,?)")
                               .arg(kFields[2], kFields[3], kFields[4])
                               .toUtf8();
    sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr);
    for (int i = 0; i < rows; ++i) {
        auto bind = [&](int col, const QString& text) {
            const QByteArray b = text.toUtf8();
            sqlite3_bind_text(st, col, b.constData(), b.size(), SQLITE_TRANSIENT);
        };
        bind(1, NewGuidText());
        sqlite3_bind_int(st, 2, 0);
        bind(3, Code(i));
        bind(4, Name(i));
        bind(5, NumberText(Price(i)));
        bind(6, Colour(i));
        bind(7, QStringLiteral("2024-01-01"));
        StepInsert(st);
    }
    sqlite3_finalize(st);
    RawExec("COMMIT");
}

void Clear() {
    ExecSql(QStringLiteral("delete from Customer"));
}

// The median of runs timings of f, each on an emptied catalogue.
double MedianOnEmpty(int runs, const std::function<void()>& f) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        Clear();
        times.push_back(MedianMs(1, f));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The process's peak resident memory so far.
double PeakMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

} // namespace

// Writes the workbooks in a child process, so that the peak memory reported is the import's own.
void WriteInChild(const char* kind, const QString& path, int rows) {
    const int rc = QProcess::execute(
        QCoreApplication::applicationFilePath(),
        {QStringLiteral("--write"), QString::fromLatin1(kind), path, QString::number(rows)});
    if (rc != 0) std::exit(1);
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc == 5 && QByteArray(argv[1]) == "--write") {
        const QString path = QString::fromLocal8Bit(argv[3]);
        const int rows = std::atoi(argv[4]);
        if (QByteArray(argv[2]) == "xlsx")
            WriteXlsx(path, rows);
        else
            WriteCsv(path, rows);
        return 0;
    }
    TBenchDataFile file;
    GenerateGoods(0, 4);
    for (const int rows : {10000, 100000}) {
        const int runs = rows > 10000 ? 3 : 5;
        const double limit = rows > 10000 ? 10000 : 2000;
        const QString xlsx = file.Path() + QStringLiteral("/goods%1.xlsx").arg(rows);
        const QString csv = file.Path() + QStringLiteral("/goods%1.csv").arg(rows);
        WriteInChild("xlsx", xlsx, rows);
        WriteInChild("csv", csv, rows);
        for (const auto& [kind, path] : {std::pair{"xlsx", xlsx}, std::pair{"csv", csv}}) {
            const double read = MedianMs(runs, [&] { ReadSheetFile(path); });
            std::printf("BENCH read_%s_%d %.1f ms\n", kind, rows, read);
            int count = 0;
            const double ms = MedianOnEmpty(runs, [&] { count = ImportGoodsFile(path, kFields, 0); });
            if (count != rows) {
                std::fprintf(stderr, "imported %d of %d rows\n", count, rows);
                return 1;
            }
            std::printf("BENCH import_%s_%d %.1f ms limit %.0f\n", kind, rows, ms, limit);
        }
        const double raw = MedianOnEmpty(runs, [&] { RawInsert(rows); });
        std::printf("BENCH import_raw_sqlite_%d %.1f ms\n", rows, raw);
        Clear();
    }
    std::printf("BENCH import_peak_memory %.0f MB\n", PeakMb());
    return 0;
}
