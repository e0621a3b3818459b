// bookkeep_core
// The first worksheet of an Office Open XML workbook: a zip of XML parts read with libzip and Qt's
// stream reader.
#include "maint/NumberFormats.h"
#include "maint/SheetTable.h"

#include "common/UException.h"

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QXmlStreamReader>
#include <algorithm>
#include <memory>
#include <zip.h>

namespace {

QString BadFile(const QString& path, const QString& why) {
    return QStringLiteral("无法读取工作簿“%1”：%2").arg(path, why);
}

// One part of the zip, inflated as the XML reader asks for it, so that a large sheet is never held whole.
class TZipPartDevice : public QIODevice {
public:
    TZipPartDevice(zip_file_t* file, qint64 size) : m_file(file), m_left(size) { open(QIODevice::ReadOnly); }
    ~TZipPartDevice() override { zip_fclose(m_file); }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return m_left + QIODevice::bytesAvailable(); }
    bool atEnd() const override { return bytesAvailable() == 0; }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        if (m_left == 0) return -1;
        const zip_int64_t got = zip_fread(m_file, data, zip_uint64_t(std::min(maxSize, m_left)));
        if (got <= 0) {
            setErrorString(QStringLiteral("read error"));
            return -1;
        }
        m_left -= got;
        return got;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    zip_file_t* m_file;
    qint64 m_left;
};

class TZip {
public:
    explicit TZip(const QString& path) : m_path(path) {
        int error = 0;
        m_zip = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
        if (!m_zip) {
            zip_error_t ze;
            zip_error_init_with_code(&ze, error);
            const QString why = QString::fromUtf8(zip_error_strerror(&ze));
            zip_error_fini(&ze);
            throw EAppError(BadFile(path, why));
        }
    }
    ~TZip() { zip_discard(m_zip); }
    TZip(const TZip&) = delete;
    TZip& operator=(const TZip&) = delete;

    bool Has(const QString& name) const { return zip_name_locate(m_zip, name.toUtf8().constData(), 0) >= 0; }
    // The part's bytes; a missing part is an error unless optional (then empty).
    // The part as a stream; nullptr for a missing optional part.
    std::unique_ptr<QIODevice> Open(const QString& name, bool optional = false) const {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat(m_zip, name.toUtf8().constData(), 0, &st) != 0) {
            if (optional) return nullptr;
            throw EAppError(BadFile(m_path, QStringLiteral("缺少部件 %1").arg(name)));
        }
        zip_file_t* f = zip_fopen_index(m_zip, st.index, 0);
        if (!f) throw EAppError(BadFile(m_path, QString::fromUtf8(zip_strerror(m_zip))));
        return std::make_unique<TZipPartDevice>(f, qint64(st.size));
    }
    QByteArray Read(const QString& name, bool optional = false) const {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat(m_zip, name.toUtf8().constData(), 0, &st) != 0) {
            if (optional) return {};
            throw EAppError(BadFile(m_path, QStringLiteral("缺少部件 %1").arg(name)));
        }
        zip_file_t* f = zip_fopen_index(m_zip, st.index, 0);
        if (!f) throw EAppError(BadFile(m_path, QString::fromUtf8(zip_strerror(m_zip))));
        QByteArray data;
        data.resize(qsizetype(st.size));
        const zip_int64_t got = zip_fread(f, data.data(), st.size);
        zip_fclose(f);
        if (got < 0 || zip_uint64_t(got) != st.size)
            throw EAppError(BadFile(m_path, QStringLiteral("部件 %1 已损坏").arg(name)));
        return data;
    }

private:
    QString m_path;
    zip_t* m_zip;
};

void CheckXml(const QXmlStreamReader& xml, const QString& path, const QString& part) {
    if (xml.hasError())
        throw EAppError(BadFile(path, QStringLiteral("部件 %1 有错：%2").arg(part, xml.errorString())));
}

// Relationship targets of a part, by id, resolved against the part's folder.
struct TRel {
    QString type;
    QString target;
};

QString PartFolder(const QString& part) {
    const qsizetype slash = part.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : part.left(slash + 1);
}

QString ResolveTarget(const QString& folder, const QString& target) {
    if (target.startsWith(QLatin1Char('/'))) return target.mid(1);
    QStringList parts = (folder + target).split(QLatin1Char('/'));
    QStringList out;
    for (const QString& p : parts) {
        if (p == QLatin1String(".."))
            out.removeLast();
        else if (p != QLatin1String("."))
            out << p;
    }
    return out.join(QLatin1Char('/'));
}

QHash<QString, TRel> ReadRels(const TZip& zip, const QString& path, const QString& part) {
    const QString relsName = PartFolder(part) + QStringLiteral("_rels/") + part.mid(PartFolder(part).size()) +
                             QStringLiteral(".rels");
    QHash<QString, TRel> rels;
    QXmlStreamReader xml(zip.Read(relsName, true));
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("Relationship")) {
            const auto a = xml.attributes();
            QString target = a.value(QLatin1String("Target")).toString();
            if (a.value(QLatin1String("TargetMode")) != QLatin1String("External"))
                target = ResolveTarget(PartFolder(part), target);
            rels.insert(a.value(QLatin1String("Id")).toString(),
                        {a.value(QLatin1String("Type")).toString(), target});
        }
    }
    CheckXml(xml, path, relsName);
    return rels;
}

QString RelOfType(const QHash<QString, TRel>& rels, QLatin1String typeEnd) {
    for (const TRel& r : rels)
        if (r.type.endsWith(typeEnd)) return r.target;
    return {};
}

// The text of an element with rich-text runs: every <t> except phonetic guides (<rPh>).
QString ReadRichText(QXmlStreamReader& xml) {
    const QString end = xml.name().toString();
    QString text;
    int phonetic = 0;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            if (xml.name() == QLatin1String("rPh"))
                ++phonetic;
            else if (xml.name() == QLatin1String("t") && !phonetic)
                text += xml.readElementText();
        } else if (token == QXmlStreamReader::EndElement) {
            if (xml.name() == QLatin1String("rPh"))
                --phonetic;
            else if (xml.name() == end)
                break;
        }
    }
    return text;
}

// The date kind of every cell style (index into cellXfs).
std::vector<TDateKind> ReadStyles(const TZip& zip, const QString& path, const QString& part) {
    std::vector<TDateKind> kinds;
    if (part.isEmpty()) return kinds;
    QXmlStreamReader xml(zip.Read(part, true));
    QHash<int, TDateKind> custom;
    bool inCellXfs = false;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            const auto name = xml.name();
            if (name == QLatin1String("numFmt")) {
                const auto a = xml.attributes();
                custom.insert(a.value(QLatin1String("numFmtId")).toInt(),
                              FormatKind(a.value(QLatin1String("formatCode")).toString()));
            } else if (name == QLatin1String("cellXfs")) {
                inCellXfs = true;
            } else if (name == QLatin1String("xf") && inCellXfs) {
                const int id = xml.attributes().value(QLatin1String("numFmtId")).toInt();
                kinds.push_back(custom.contains(id) ? custom.value(id) : BuiltInKind(id));
            }
        } else if (token == QXmlStreamReader::EndElement && xml.name() == QLatin1String("cellXfs")) {
            inCellXfs = false;
        }
    }
    CheckXml(xml, path, part);
    return kinds;
}

std::vector<QString> ReadSharedStrings(const TZip& zip, const QString& path, const QString& part) {
    std::vector<QString> strings;
    if (part.isEmpty()) return strings;
    const std::unique_ptr<QIODevice> device = zip.Open(part, true);
    if (!device) return strings;
    QXmlStreamReader xml(device.get());
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("si"))
            strings.push_back(ReadRichText(xml));
    }
    CheckXml(xml, path, part);
    return strings;
}

// "AB12" → column 27 (0-based 27), or -1 without letters.
int ColumnOfRef(QStringView ref) {
    int col = 0;
    qsizetype i = 0;
    for (; i < ref.size() && ref[i].isLetter(); ++i)
        col = col * 26 + (ref[i].toUpper().unicode() - 'A' + 1);
    return i ? col - 1 : -1;
}

QString IsoDateText(const QString& iso) {
    QDateTime dt = QDateTime::fromString(iso, Qt::ISODateWithMs);
    if (!dt.isValid()) {
        const QDate d = QDate::fromString(iso.left(10), Qt::ISODate);
        return d.isValid() ? d.toString(QStringLiteral("yyyy-MM-dd")) : iso;
    }
    const QTime t = dt.time();
    const QString date = dt.date().toString(QStringLiteral("yyyy-MM-dd"));
    return t == QTime(0, 0) ? date : date + t.toString(QStringLiteral(" hh:mm:ss"));
}

struct TWorkbookInfo {
    QString sheetPart;
    QString stylesPart;
    QString stringsPart;
    bool date1904 = false;
};

TWorkbookInfo ReadWorkbook(const TZip& zip, const QString& path) {
    QString book = RelOfType(ReadRels(zip, path, QString()), QLatin1String("/officeDocument"));
    if (book.isEmpty()) book = QStringLiteral("xl/workbook.xml");
    const QHash<QString, TRel> rels = ReadRels(zip, path, book);
    TWorkbookInfo info;
    info.stylesPart = RelOfType(rels, QLatin1String("/styles"));
    info.stringsPart = RelOfType(rels, QLatin1String("/sharedStrings"));
    QXmlStreamReader xml(zip.Read(book));
    QString firstHidden;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        const auto a = xml.attributes();
        if (xml.name() == QLatin1String("workbookPr")) {
            const auto v = a.value(QLatin1String("date1904"));
            info.date1904 = v == QLatin1String("1") || v == QLatin1String("true");
        } else if (xml.name() == QLatin1String("sheet")) {
            QString id;
            for (const QXmlStreamAttribute& attr : a)
                if (attr.name() == QLatin1String("id")) id = attr.value().toString();
            const TRel rel = rels.value(id);
            if (!rel.type.endsWith(QLatin1String("/worksheet"))) continue; // chart sheets hold no cells
            // The first sheet the user sees; a hidden one only when all are hidden. Defined names are not
            // tables here: a named range never takes the place of the first sheet, in either workbook format.
            if (a.value(QLatin1String("state")).isEmpty() ||
                a.value(QLatin1String("state")) == QLatin1String("visible")) {
                info.sheetPart = rel.target;
                break;
            }
            if (firstHidden.isEmpty()) firstHidden = rel.target;
        }
    }
    CheckXml(xml, path, book);
    if (info.sheetPart.isEmpty()) info.sheetPart = firstHidden;
    if (info.sheetPart.isEmpty()) throw EAppError(BadFile(path, QStringLiteral("工作簿中没有工作表")));
    return info;
}

} // namespace

TSheetTable ReadXlsxFile(const QString& path) {
    const TZip zip(path);
    const TWorkbookInfo info = ReadWorkbook(zip, path);
    const std::vector<TDateKind> styles = ReadStyles(zip, path, info.stylesPart);
    const std::vector<QString> strings = ReadSharedStrings(zip, path, info.stringsPart);

    TSheetTable table;
    bool headerDone = false;
    QStringList header;
    int nextColumn = 0;
    const std::unique_ptr<QIODevice> device = zip.Open(info.sheetPart);
    QXmlStreamReader xml(device.get());
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::EndElement && xml.name() == QLatin1String("row")) {
            if (!headerDone) {
                while (!header.isEmpty() && header.last().isEmpty())
                    header.removeLast();
                if (!header.isEmpty()) {
                    table.Header = header;
                    headerDone = true;
                }
                header.clear();
            } else {
                table.DropEmptyLastRow();
            }
            continue;
        }
        if (token != QXmlStreamReader::StartElement) continue;
        if (xml.name() == QLatin1String("row")) {
            nextColumn = 0;
            if (headerDone) table.AddRow();
            continue;
        }
        if (xml.name() != QLatin1String("c")) continue;
        const auto a = xml.attributes();
        const auto ref = a.value(QLatin1String("r"));
        int column = ref.isEmpty() ? nextColumn : ColumnOfRef(ref);
        if (column < 0) column = nextColumn;
        nextColumn = column + 1;
        const QString type = a.value(QLatin1String("t")).toString();
        const int style = a.value(QLatin1String("s")).toInt();
        QString raw;
        bool haveValue = false;
        // The cell's children: <f> (ignored, the cached value is in <v>), <v>, <is>.
        while (!xml.atEnd()) {
            const auto t = xml.readNext();
            if (t == QXmlStreamReader::StartElement) {
                if (xml.name() == QLatin1String("v")) {
                    raw = xml.readElementText();
                    haveValue = true;
                } else if (xml.name() == QLatin1String("is")) {
                    raw = ReadRichText(xml);
                    haveValue = true;
                } else
                    xml.skipCurrentElement();
            } else if (t == QXmlStreamReader::EndElement && xml.name() == QLatin1String("c"))
                break;
        }
        if (!haveValue) continue;
        QString text;
        if (type == QLatin1String("s")) {
            bool ok = false;
            const int i = raw.toInt(&ok);
            if (!ok || i < 0 || size_t(i) >= strings.size())
                throw EAppError(BadFile(path, QStringLiteral("共享字符串 %1 不存在").arg(raw)));
            text = strings[size_t(i)];
        } else if (type == QLatin1String("inlineStr") || type == QLatin1String("str") ||
                   type == QLatin1String("e")) {
            text = raw;
        } else if (type == QLatin1String("b")) {
            text = raw.trimmed() == QLatin1String("1") ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
        } else if (type == QLatin1String("d")) {
            text = IsoDateText(raw.trimmed());
        } else {
            bool ok = false;
            const double v = raw.toDouble(&ok);
            if (!ok) {
                text = raw;
            } else {
                const TDateKind kind =
                    style >= 0 && size_t(style) < styles.size() ? styles[size_t(style)] : TDateKind::None;
                text = FormattedNumber(v, kind, info.date1904);
            }
        }
        if (!headerDone) {
            while (header.size() <= column && column < 16384)
                header << QString();
            if (column < header.size()) header[column] = text;
        } else {
            table.AddCell(column, text);
        }
    }
    CheckXml(xml, path, info.sheetPart);
    table.DropEmptyLastRow();
    return table;
}
