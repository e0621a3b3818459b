#pragma once
// Reads the first sheet of an .xlsx package the way a spreadsheet program does: libzip for the package,
// Qt's XML reader for the sheet, the shared strings and the number formats. Link libzip to the test program.
#include <QFile>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>
#include <algorithm>
#include <map>
#include <vector>
#include <zip.h>

struct TSheetCell {
    QString type;   // the t attribute: "" or "n" for numbers, "s" shared, "inlineStr", "str", "b"
    QString value;  // as stored, _xHHHH_ escapes not decoded
    QString format; // the number format of the cell's style, "" for General
    bool IsNumber() const { return type.isEmpty() || type == QLatin1String("n"); }
};

struct TSheet {
    bool ok = false;                     // the package opened and every part read was well-formed XML
    QString error;                       // the first XML error
    QByteArray xml;                      // the sheet's XML as stored
    std::map<QString, TSheetCell> cells; // by reference, "A1"
    const TSheetCell* Cell(const QString& ref) const {
        const auto it = cells.find(ref);
        return it == cells.end() ? nullptr : &it->second;
    }
};

inline QByteArray ReadZipEntry(zip_t* zip, const char* name) {
    zip_stat_t st;
    if (zip_stat(zip, name, 0, &st) != 0) return {};
    zip_file_t* f = zip_fopen(zip, name, 0);
    if (!f) return {};
    QByteArray data(qsizetype(st.size), '\0');
    const zip_int64_t n = zip_fread(f, data.data(), st.size);
    zip_fclose(f);
    return n == zip_int64_t(st.size) ? data : QByteArray();
}

// The text of the <t> elements inside the current element (rich text runs joined).
inline QString ReadSheetText(QXmlStreamReader& xml) {
    const QString endName = xml.name().toString();
    QString text;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("t"))
            text += xml.readElementText();
        else if (xml.isEndElement() && xml.name() == endName)
            break;
    }
    return text;
}

// Decodes the _xHHHH_ escapes as spreadsheet programs do, in one pass.
inline QString DecodeSheetEscapes(const QString& stored) {
    QString out;
    for (qsizetype i = 0; i < stored.size(); ++i) {
        if (stored[i] == QLatin1Char('_') && i + 6 < stored.size() && stored[i + 1] == QLatin1Char('x') &&
            stored[i + 6] == QLatin1Char('_')) {
            bool hex = false;
            const uint code = stored.mid(i + 2, 4).toUInt(&hex, 16);
            if (hex) {
                out += QChar(char16_t(code));
                i += 6;
                continue;
            }
        }
        out += stored[i];
    }
    return out;
}

inline TSheet ReadSheet(const QString& path) {
    TSheet sheet;
    int err = 0;
    zip_t* zip = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &err);
    if (!zip) {
        sheet.error = QStringLiteral("cannot open the package");
        return sheet;
    }
    const QByteArray sharedXml = ReadZipEntry(zip, "xl/sharedStrings.xml");
    const QByteArray stylesXml = ReadZipEntry(zip, "xl/styles.xml");
    sheet.xml = ReadZipEntry(zip, "xl/worksheets/sheet1.xml");
    zip_close(zip);
    sheet.ok = !sheet.xml.isEmpty();
    auto fail = [&](const QXmlStreamReader& xml) {
        if (xml.hasError() && sheet.ok) {
            sheet.ok = false;
            sheet.error = xml.errorString();
        }
    };

    QStringList shared;
    QXmlStreamReader sst(sharedXml);
    while (!sharedXml.isEmpty() && !sst.atEnd())
        if (sst.readNext() == QXmlStreamReader::StartElement && sst.name() == QLatin1String("si"))
            shared << ReadSheetText(sst);
    if (!sharedXml.isEmpty()) fail(sst);

    // Style index -> number format code.
    std::map<int, QString> formatCodes;
    QStringList styleFormats;
    QXmlStreamReader styles(stylesXml);
    bool inCellXfs = false;
    while (!styles.atEnd()) {
        styles.readNext();
        if (styles.isStartElement() && styles.name() == QLatin1String("numFmt"))
            formatCodes[styles.attributes().value(QLatin1String("numFmtId")).toInt()] =
                styles.attributes().value(QLatin1String("formatCode")).toString();
        else if (styles.isStartElement() && styles.name() == QLatin1String("cellXfs"))
            inCellXfs = true;
        else if (styles.isEndElement() && styles.name() == QLatin1String("cellXfs"))
            inCellXfs = false;
        else if (inCellXfs && styles.isStartElement() && styles.name() == QLatin1String("xf"))
            styleFormats << formatCodes[styles.attributes().value(QLatin1String("numFmtId")).toInt()];
    }
    fail(styles);

    QXmlStreamReader xml(sheet.xml);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != QLatin1String("c")) continue;
        const QString ref = xml.attributes().value(QLatin1String("r")).toString();
        TSheetCell cell;
        cell.type = xml.attributes().value(QLatin1String("t")).toString();
        cell.format = styleFormats.value(xml.attributes().value(QLatin1String("s")).toInt());
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isEndElement() && xml.name() == QLatin1String("c")) break;
            if (xml.isStartElement() && xml.name() == QLatin1String("v")) {
                const QString v = xml.readElementText();
                cell.value = cell.type == QLatin1String("s") ? shared.value(v.toInt()) : v;
            } else if (xml.isStartElement() && xml.name() == QLatin1String("is")) {
                cell.value = ReadSheetText(xml);
            }
        }
        sheet.cells[ref] = cell;
    }
    fail(xml);
    return sheet;
}

// The sheet as "A1=text" lines in reading order: numbers marked "#", dates "@" with their format.
inline QStringList DescribeSheet(const TSheet& sheet) {
    std::vector<std::pair<std::pair<int, QString>, QString>> ordered;
    for (const auto& [ref, cell] : sheet.cells) {
        int i = 0;
        while (i < ref.size() && ref[i].isLetter())
            ++i;
        QString mark;
        if (cell.IsNumber())
            mark = cell.format.isEmpty() ? QStringLiteral("#")
                                         : QLatin1Char('@') + cell.format + QLatin1Char(' ');
        ordered.push_back(
            {{ref.mid(i).toInt(), QString(QLatin1Char(char('A' + ref.left(i).size() - 1))) + ref.left(i)},
             ref + QLatin1Char('=') + mark + DecodeSheetEscapes(cell.value)});
    }
    std::sort(ordered.begin(), ordered.end());
    QStringList out;
    for (const auto& o : ordered)
        out << o.second;
    return out;
}
