// bookkeep_core
// Comma-separated text with a header row, as spreadsheet programs save it.
#include "maint/SheetTable.h"

#include "common/UException.h"

#include <QFile>
#include <QStringDecoder>
#include <cerrno>
#include <iconv.h>

namespace {

bool IsUtf8(const QByteArray& bytes) {
    QStringDecoder strict(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = strict.decode(bytes); // the conversion runs when its result is taken
    return !strict.hasError();
}

// Chinese spreadsheet programs save text in the system's code page, GB18030 (a superset of GBK).
QString FromGb18030(const QByteArray& bytes) {
    iconv_t cd = iconv_open("UTF-16LE", "GB18030");
    if (cd == iconv_t(-1)) throw EAppError(QStringLiteral("无法识别文件的文字编码"));
    QByteArray out(bytes.size() * 2 + 16, Qt::Uninitialized);
    char* in = const_cast<char*>(bytes.constData());
    size_t inLeft = size_t(bytes.size());
    char* to = out.data();
    size_t outLeft = size_t(out.size());
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &to, &outLeft) != size_t(-1)) break;
        if (errno == E2BIG) {
            const qsizetype used = to - out.data();
            out.resize(out.size() * 2);
            to = out.data() + used;
            outLeft = size_t(out.size() - used);
        } else {
            // A byte that is no character: keep a replacement mark and go on, as a text editor would.
            ++in;
            --inLeft;
            if (outLeft < 2) continue;
            *to++ = char(0xFD);
            *to++ = char(0xFF);
            outLeft -= 2;
        }
    }
    iconv_close(cd);
    const qsizetype used = to - out.data();
    return QString(reinterpret_cast<const QChar*>(out.constData()), used / 2);
}

QString DecodeText(const QByteArray& bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF")) return QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE
                                                          : QStringDecoder::Utf16BE);
        return utf16.decode(bytes.mid(2));
    }
    if (IsUtf8(bytes)) return QString::fromUtf8(bytes);
    return FromGb18030(bytes);
}

} // namespace

TSheetTable ParseCsv(const QByteArray& bytes) {
    const QString text = DecodeText(bytes);
    TSheetTable table;
    QStringList record; // fields of the record being read, until the header is known
    bool headerDone = false;
    QString field;
    int column = 0;
    bool rowHasCells = false;
    auto endField = [&] {
        if (!headerDone)
            record << field;
        else {
            if (!field.isEmpty()) rowHasCells = true;
            table.AddCell(column, field);
        }
        field.clear();
        ++column;
    };
    auto endRecord = [&] {
        endField();
        if (!headerDone) {
            // Lines before the header that hold nothing are skipped.
            bool any = false;
            for (const QString& s : record)
                any = any || !s.isEmpty();
            if (any) {
                table.Header = record;
                headerDone = true;
                table.AddRow();
            }
            record.clear();
        } else {
            if (!rowHasCells) table.DropEmptyLastRow();
            table.AddRow();
        }
        column = 0;
        rowHasCells = false;
    };
    const qsizetype n = text.size();
    bool inQuotes = false;
    bool pending = false; // something of the current record has been read
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (inQuotes) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < n && text[i + 1] == QLatin1Char('"')) {
                    field += c;
                    ++i;
                } else
                    inQuotes = false;
            } else
                field += c;
            continue;
        }
        if (c == QLatin1Char('"')) {
            inQuotes = true;
            pending = true;
        } else if (c == QLatin1Char(',')) {
            endField();
            pending = true;
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n')) ++i;
            endRecord();
            pending = false;
        } else {
            field += c;
            pending = true;
        }
    }
    if (pending || !field.isEmpty()) endRecord();
    table.DropEmptyLastRow();
    return table;
}

TSheetTable ReadCsvFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw EAppError(QStringLiteral("无法打开文件“%1”：%2").arg(path, f.errorString()));
    return ParseCsv(f.readAll());
}
