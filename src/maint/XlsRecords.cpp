// bookkeep_core
// A compound file is a small file system of sectors; its "Workbook" stream holds BIFF8 records. Only the
// records that freexl does not turn into cell values are looked at here.
#include "maint/XlsRecords.h"

#include "maint/NumberFormats.h"
#include "maint/SheetTable.h"

#include <QFile>
#include <QHash>
#include <cstring>
#include <stdexcept>

namespace {

struct TBadFile : std::runtime_error {
    TBadFile() : std::runtime_error("xls") {}
};

class TBytes {
public:
    explicit TBytes(const QByteArray& data) : m_data(data) {}
    uint8_t U8(qsizetype at) const {
        Need(at, 1);
        return uint8_t(m_data[at]);
    }
    uint16_t U16(qsizetype at) const { return uint16_t(U8(at) | U8(at + 1) << 8); }
    uint32_t U32(qsizetype at) const { return uint32_t(U16(at)) | uint32_t(U16(at + 2)) << 16; }
    double F64(qsizetype at) const {
        Need(at, 8);
        double v;
        std::memcpy(&v, m_data.constData() + at, 8);
        return v;
    }
    QByteArray Mid(qsizetype at, qsizetype n) const {
        Need(at, n);
        return m_data.mid(at, n);
    }
    qsizetype Size() const { return m_data.size(); }

private:
    void Need(qsizetype at, qsizetype n) const {
        if (at < 0 || n < 0 || at + n > m_data.size()) throw TBadFile();
    }
    QByteArray m_data;
};

constexpr uint32_t kEndOfChain = 0xFFFFFFFE;

// The "Workbook" stream of a compound file.
QByteArray WorkbookStream(const QByteArray& file) {
    const TBytes f(file);
    if (file.left(8) != QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)) throw TBadFile();
    const int shift = f.U16(0x1E);
    if (shift != 9 && shift != 12) throw TBadFile();
    const qsizetype sector = qsizetype(1) << shift;
    const int miniShift = f.U16(0x20);
    const uint32_t miniCutoff = f.U32(0x38);
    auto sectorAt = [&](uint32_t n) { return (qsizetype(n) + 1) * sector; };

    // The sector allocation table, from the sectors the header and the DIFAT chain list.
    std::vector<uint32_t> fatSectors;
    for (int i = 0; i < 109; ++i) {
        const uint32_t s = f.U32(0x4C + i * 4);
        if (s < 0xFFFFFFFA) fatSectors.push_back(s);
    }
    uint32_t difat = f.U32(0x44);
    for (uint32_t guard = 0; difat < 0xFFFFFFFA && guard < f.U32(0x48) + 1; ++guard) {
        const qsizetype at = sectorAt(difat);
        for (qsizetype i = 0; i < sector / 4 - 1; ++i) {
            const uint32_t s = f.U32(at + i * 4);
            if (s < 0xFFFFFFFA) fatSectors.push_back(s);
        }
        difat = f.U32(at + sector - 4);
    }
    std::vector<uint32_t> fat;
    for (uint32_t s : fatSectors)
        for (qsizetype i = 0; i < sector / 4; ++i)
            fat.push_back(f.U32(sectorAt(s) + i * 4));

    auto chain = [&](uint32_t start, const std::vector<uint32_t>& table, auto&& read) {
        QByteArray out;
        for (size_t guard = 0; start != kEndOfChain; ++guard) {
            if (start >= table.size() || guard > table.size()) throw TBadFile();
            out += read(start);
            start = table[start];
        }
        return out;
    };
    auto bigSector = [&](uint32_t n) { return f.Mid(sectorAt(n), sector); };

    const TBytes dir(chain(f.U32(0x30), fat, bigSector));
    uint32_t rootStart = kEndOfChain, bookStart = kEndOfChain;
    uint64_t rootSize = 0, bookSize = 0;
    bool found = false;
    for (qsizetype at = 0; at + 128 <= dir.Size(); at += 128) {
        const int nameBytes = dir.U16(at + 0x40);
        const int type = dir.U8(at + 0x42);
        if (nameBytes < 2 || nameBytes > 64) continue;
        const QByteArray raw = dir.Mid(at, nameBytes - 2);
        const QString name =
            QString::fromUtf16(reinterpret_cast<const char16_t*>(raw.constData()), raw.size() / 2);
        if (type == 5) {
            rootStart = dir.U32(at + 0x74);
            rootSize = dir.U32(at + 0x78);
        } else if (type == 2 && !found &&
                   (name.compare(QLatin1String("Workbook"), Qt::CaseInsensitive) == 0 ||
                    name.compare(QLatin1String("Book"), Qt::CaseInsensitive) == 0)) {
            bookStart = dir.U32(at + 0x74);
            bookSize = dir.U32(at + 0x78);
            found = true;
        }
    }
    if (!found) throw TBadFile();
    QByteArray stream;
    if (bookSize < miniCutoff) {
        // Small streams live in 64-byte pieces inside the root entry's stream.
        std::vector<uint32_t> miniFat;
        const QByteArray miniFatBytes =
            f.U32(0x3C) < 0xFFFFFFFA ? chain(f.U32(0x3C), fat, bigSector) : QByteArray();
        const TBytes mf(miniFatBytes);
        for (qsizetype i = 0; i + 4 <= mf.Size(); i += 4)
            miniFat.push_back(mf.U32(i));
        const TBytes mini(chain(rootStart, fat, bigSector).left(qsizetype(rootSize)));
        const qsizetype miniSector = qsizetype(1) << miniShift;
        stream = chain(bookStart, miniFat,
                       [&](uint32_t n) { return mini.Mid(qsizetype(n) * miniSector, miniSector); });
    } else {
        stream = chain(bookStart, fat, bigSector);
    }
    if (uint64_t(stream.size()) < bookSize) throw TBadFile();
    return stream.left(qsizetype(bookSize));
}

QString UnicodeString(const TBytes& b, qsizetype at, qsizetype end) {
    const int count = b.U16(at);
    const bool wide = b.U8(at + 2) & 1;
    const qsizetype n = std::min<qsizetype>(wide ? count * 2 : count, end - at - 3);
    const QByteArray raw = b.Mid(at + 3, n);
    return wide ? QString::fromUtf16(reinterpret_cast<const char16_t*>(raw.constData()), raw.size() / 2)
                : QString::fromLatin1(raw);
}

QString ErrorText(int code) {
    switch (code) {
    case 0x00:
        return QStringLiteral("#NULL!");
    case 0x07:
        return QStringLiteral("#DIV/0!");
    case 0x0F:
        return QStringLiteral("#VALUE!");
    case 0x17:
        return QStringLiteral("#REF!");
    case 0x1D:
        return QStringLiteral("#NAME?");
    case 0x24:
        return QStringLiteral("#NUM!");
    default:
        return QStringLiteral("#N/A");
    }
}

std::vector<TXlsCellText> Scan(const QByteArray& streamBytes) {
    const TBytes b(streamBytes);
    // The globals: number formats, cell styles, the date system and where the first worksheet starts.
    QHash<int, TDateKind> formats;
    std::vector<TDateKind> styles;
    bool date1904 = false;
    int64_t sheetAt = -1;
    qsizetype at = 0;
    if (b.U16(0) != 0x0809 || b.U16(4) != 0x0600) throw TBadFile(); // BIFF8 only
    while (at + 4 <= b.Size()) {
        const int type = b.U16(at), len = b.U16(at + 2);
        const qsizetype body = at + 4;
        if (type == 0x000A) break;
        if (type == 0x041E) {
            formats.insert(b.U16(body), FormatKind(UnicodeString(b, body + 2, body + len)));
        } else if (type == 0x00E0) {
            const int id = b.U16(body + 2);
            styles.push_back(formats.contains(id) ? formats.value(id) : BuiltInKind(id));
        } else if (type == 0x0022) {
            date1904 = b.U16(body) == 1;
        } else if (type == 0x0085 && sheetAt < 0 && b.U8(body + 5) == 0) {
            sheetAt = b.U32(body);
        }
        at = body + len;
    }
    if (sheetAt < 0) throw TBadFile();

    std::vector<TXlsCellText> cells;
    at = qsizetype(sheetAt);
    bool pendingString = false;
    while (at + 4 <= b.Size()) {
        const int type = b.U16(at), len = b.U16(at + 2);
        const qsizetype body = at + 4;
        if (type == 0x000A) break;
        if (type == 0x0006 && len >= 20) {
            TXlsCellText cell{b.U16(body), b.U16(body + 2), QString()};
            const int style = b.U16(body + 4);
            pendingString = false;
            if (b.U16(body + 12) == 0xFFFF) {
                const int kind = b.U8(body + 6);
                if (kind == 0)
                    pendingString = true; // the text follows in a STRING record
                else if (kind == 1)
                    cell.text = b.U8(body + 8) ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
                else if (kind == 2)
                    cell.text = ErrorText(b.U8(body + 8));
            } else {
                const TDateKind k = style < int(styles.size()) ? styles[size_t(style)] : TDateKind::None;
                cell.text = FormattedNumber(b.F64(body + 6), k, date1904);
            }
            cells.push_back(cell);
        } else if (type == 0x0207 && pendingString && !cells.empty()) {
            cells.back().text = UnicodeString(b, body, body + len);
            pendingString = false;
        } else if (type == 0x0205 && len >= 8) {
            const bool error = b.U8(body + 7);
            const int value = b.U8(body + 6);
            cells.push_back({b.U16(body), b.U16(body + 2),
                             error   ? ErrorText(value)
                             : value ? QStringLiteral("TRUE")
                                     : QStringLiteral("FALSE")});
        }
        at = body + len;
    }
    return cells;
}

} // namespace

std::vector<TXlsCellText> ReadXlsFormulaCells(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    try {
        return Scan(WorkbookStream(file.readAll()));
    } catch (const TBadFile&) {
        return {};
    }
}
