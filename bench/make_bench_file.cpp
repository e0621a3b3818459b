// Writes the shared benchmark data file that scripts/bench.sh hands to every benchmark: the generated goods
// catalogue with its user fields and the movements. The file appears under its name only when it is whole.
#include "BenchSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench-datafile FILE\n");
        return 2;
    }
    const QFileInfo target(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(target.absolutePath());
    QElapsedTimer timer;
    timer.start();
    QString made;
    {
        TBenchDataFile file;
        std::printf("generating %d goods with %d user fields, %d + %d + %d movements...\n", kBenchGoods,
                    kBenchFields, kBenchMovements, kBenchOutMovements, kBenchOkMovements);
        std::fflush(stdout);
        GenerateGoods(kBenchGoods, kBenchFields);
        GenerateMovements(kBenchMovements, kBenchOutMovements, kBenchOkMovements, kBenchGoods);
        // Written into the target's folder first, so that the rename below cannot cross file systems.
        made = target.absoluteFilePath() + QStringLiteral(".part");
        QFile::remove(made);
        RawExec(QStringLiteral("VACUUM INTO '%1'")
                    .arg(QString(made).replace(QLatin1Char('\''), QStringLiteral("''")))
                    .toUtf8()
                    .constData());
    }
    QFile::remove(target.absoluteFilePath());
    if (!QFile::rename(made, target.absoluteFilePath())) {
        std::fprintf(stderr, "cannot write %s\n", qUtf8Printable(target.absoluteFilePath()));
        return 1;
    }
    std::printf("%s: %lld bytes in %.1f s\n", qUtf8Printable(target.absoluteFilePath()),
                static_cast<long long>(QFileInfo(target.absoluteFilePath()).size()),
                timer.elapsed() / 1000.0);
    return 0;
}
