#include "batch/SpreadsheetReader.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>
#include <QTime>
#include <QXmlStreamReader>

#include <freexl.h>
#include <minizip/unzip.h>

#include <cmath>

namespace moque::batch {

namespace {

using Rows = QList<QStringList>;
using Failure = SpreadsheetReader::Failure;

QString failureText(Failure failure, const QString &path, const QString &sheet)
{
    const QString file = QDir::toNativeSeparators(path);
    switch (failure) {
    case Failure::None:
        return {};
    case Failure::CannotOpen:
        return QStringLiteral("无法打开表格文件：%1（文件不存在或没有读取权限）").arg(file);
    case Failure::NotSpreadsheet:
        return QStringLiteral("无法读取表格文件：%1（文件已损坏或不是Excel/CSV格式）").arg(file);
    case Failure::Truncated:
        return QStringLiteral("无法读取表格文件：%1（文件不完整，可能在复制或下载时被截断）").arg(file);
    case Failure::Encrypted:
        return QStringLiteral("无法读取表格文件：%1（文件已加密，请先取消密码保护）").arg(file);
    case Failure::TooLarge:
        return QStringLiteral("无法读取表格文件：%1（表格过大，超出可读取的范围）").arg(file);
    case Failure::NoSuchSheet:
        return QStringLiteral("无法读取表格文件：%1（找不到工作表：%2）").arg(file, sheet);
    }
    return {};
}

// Collects non-empty cells at their places and pads the rows at the end; every
// cell stored, padding included, counts against the limits.
class RowBuilder
{
public:
    explicit RowBuilder(const SpreadsheetLimits &limits) : m_limits(limits) {}

    bool place(qint64 row, qint64 column, QString &&text)
    {
        if (text.isEmpty())
            return true;
        if (row < 0 || column < 0 || row >= m_limits.maxRows || column >= m_limits.maxColumns)
            return false;
        if (row >= m_rows.size())
            m_rows.resize(row + 1);
        QStringList &cells = m_rows[row];
        if (column < cells.size()) {
            cells[column] = std::move(text);
            return true;
        }
        m_stored += column + 1 - cells.size();
        if (m_stored > m_limits.maxCells)
            return false;
        while (cells.size() < column)
            cells.append(QString());
        cells.append(std::move(text));
        return true;
    }

    // The padded rows; false when padding would pass the cell limit.
    bool finish(Rows *out)
    {
        while (!m_rows.isEmpty() && m_rows.last().isEmpty())
            m_rows.removeLast();
        qsizetype width = 0;
        for (const QStringList &cells : std::as_const(m_rows))
            width = qMax(width, cells.size());
        if (qint64(width) * m_rows.size() > m_limits.maxCells)
            return false;
        for (QStringList &cells : m_rows) {
            cells.reserve(width);
            while (cells.size() < width)
                cells.append(QString());
        }
        *out = std::move(m_rows);
        return true;
    }

private:
    const SpreadsheetLimits &m_limits;
    Rows m_rows;
    qint64 m_stored = 0;
};

// How a number is shown, from its cell format.
enum class Shown { Number, Date, DateTime, DateTimeSeconds, Time, TimeSeconds, ZeroPadded };

struct CellStyle
{
    Shown shown = Shown::Number;
    int digits = 0;    // for ZeroPadded: the number of digits shown
};

Shown shownForTime(bool date, bool time, bool seconds)
{
    if (date && time)
        return seconds ? Shown::DateTimeSeconds : Shown::DateTime;
    if (time)
        return seconds ? Shown::TimeSeconds : Shown::Time;
    return date ? Shown::Date : Shown::Number;
}

// Built-in formats by id; the Chinese built-ins 27-36 and 50-58 included.
CellStyle builtInStyle(int id)
{
    if ((id >= 14 && id <= 17) || (id >= 27 && id <= 31) || id == 36 || (id >= 50 && id <= 54) || id == 57
        || id == 58)
        return {Shown::Date};
    if (id == 22)
        return {Shown::DateTime};
    if (id == 18 || id == 20 || id == 32 || id == 34 || id == 55)
        return {Shown::Time};
    if (id == 19 || id == 21 || id == 33 || id == 35 || id == 45 || id == 46 || id == 47 || id == 56)
        return {Shown::TimeSeconds};
    return {};
}

// A custom format shows a date or time when its first section, without quoted
// text, escapes, fill and padding characters and [..] tags, holds date or time
// letters. "m" is a month unless hours or seconds are shown.
CellStyle customStyle(const QString &code)
{
    QString letters;
    bool inQuote = false;
    bool elapsed = false;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code.at(i);
        if (inQuote) {
            inQuote = c != u'"';
            continue;
        }
        if (c == u'"') {
            inQuote = true;
        } else if (c == u'\\' || c == u'_' || c == u'*') {
            ++i;
        } else if (c == u'[') {
            const qsizetype close = code.indexOf(u']', i);
            const QString tag = code.mid(i + 1, close < 0 ? -1 : close - i - 1).toLower();
            if (!tag.isEmpty() && (tag.count(tag.at(0)) == tag.size()) && QStringLiteral("hms").contains(tag.at(0))) {
                elapsed = true;
                letters += tag;
            }
            if (close < 0)
                break;
            i = close;
        } else if (c == u';') {
            break;
        } else {
            letters += c.toLower();
        }
    }
    letters.remove(QStringLiteral("am/pm")).remove(QStringLiteral("a/p"));
    const bool hours = letters.contains(u'h');
    const bool seconds = letters.contains(u's');
    const bool date = !elapsed
        && (letters.contains(u'y') || letters.contains(u'd') || (letters.contains(u'm') && !hours && !seconds));
    const bool time = hours || seconds;
    if (date || time)
        return {shownForTime(date, time, seconds)};
    if (!letters.isEmpty() && letters.count(u'0') == letters.size())
        return {Shown::ZeroPadded, int(letters.size())};
    return {};
}

QString shortestNumber(double value)
{
    constexpr double exactIntegers = 9007199254740992.0;    // 2^53
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < exactIntegers)
        return QString::number(qint64(value));
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QString dateTimeText(const QDate &date, const QTime &time, Shown shown)
{
    switch (shown) {
    case Shown::Date:
        return date.toString(QStringLiteral("yyyy-MM-dd"));
    case Shown::DateTime:
        return date.toString(QStringLiteral("yyyy-MM-dd ")) + time.toString(QStringLiteral("HH:mm"));
    case Shown::DateTimeSeconds:
        return date.toString(QStringLiteral("yyyy-MM-dd ")) + time.toString(QStringLiteral("HH:mm:ss"));
    case Shown::Time:
        return time.toString(QStringLiteral("HH:mm"));
    case Shown::TimeSeconds:
        return time.toString(QStringLiteral("HH:mm:ss"));
    case Shown::Number:
    case Shown::ZeroPadded:
        break;
    }
    return {};
}

// An Excel serial date: days since 1899-12-30 (the 1900 system, which counts
// a 29 February 1900 that never was) or since 1904-01-01.
QString serialDateText(double serial, Shown shown, bool date1904)
{
    constexpr double lastSerial = 2958466.0;    // 9999-12-31 and one day
    if (!(serial >= 0 && serial < lastSerial))
        return shortestNumber(serial);
    const qint64 seconds = std::llround(serial * 86400.0);
    const qint64 days = seconds / 86400;
    QDate base = date1904 ? QDate(1904, 1, 1) : QDate(1899, 12, 30);
    if (!date1904 && days < 61)
        base = QDate(1899, 12, 31);
    return dateTimeText(base.addDays(days), QTime(0, 0).addSecs(int(seconds % 86400)), shown);
}

QString numberText(QStringView value, const CellStyle &style, bool date1904)
{
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok)
        return value.toString();
    if (style.shown == Shown::Number)
        return shortestNumber(number);
    if (style.shown == Shown::ZeroPadded) {
        const QString digits = shortestNumber(number);
        const bool plain = !digits.isEmpty() && digits.front().isDigit() && !digits.contains(u'.')
            && !digits.contains(u'e');
        return plain ? digits.rightJustified(style.digits, u'0') : digits;
    }
    return serialDateText(number, style.shown, date1904);
}

// OOXML writes characters XML cannot hold as _xHHHH_.
QString decodeEscapes(QString text)
{
    qsizetype at = text.indexOf(QLatin1String("_x"));
    while (at >= 0 && at + 7 <= text.size()) {
        bool ok = false;
        const ushort code = text.mid(at + 2, 4).toUShort(&ok, 16);
        if (ok && text.at(at + 6) == u'_') {
            text.replace(at, 7, QChar(code));
            at = text.indexOf(QLatin1String("_x"), at + 1);
        } else {
            at = text.indexOf(QLatin1String("_x"), at + 2);
        }
    }
    return text;
}

// The text of a shared string <si> or inline string <is>: every run's <t>,
// without phonetic runs.
QString readRichText(QXmlStreamReader &xml)
{
    QString text;
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            --depth;
        } else if (token == QXmlStreamReader::StartElement) {
            if (xml.name() == u"rPh")
                xml.skipCurrentElement();
            else if (xml.name() == u"t")
                text += xml.readElementText(QXmlStreamReader::IncludeChildElements);
            else
                ++depth;
        }
    }
    return text.contains(QLatin1String("_x")) ? decodeEscapes(std::move(text)) : text;
}

Failure xmlFailure(const QXmlStreamReader &xml)
{
    return xml.error() == QXmlStreamReader::PrematureEndOfDocumentError ? Failure::Truncated
                                                                         : Failure::NotSpreadsheet;
}

// The zip container of an .xlsx.
class ZipFile
{
public:
    ~ZipFile()
    {
        if (m_zip)
            unzClose(m_zip);
    }

    bool open(const QString &path)
    {
        m_zip = unzOpen64(QFile::encodeName(path).constData());
        return m_zip != nullptr;
    }

    bool locate(const QString &name)
    {
        const QByteArray entry = name.toUtf8();
        constexpr int caseSensitive = 1;
        constexpr int caseInsensitive = 2;
        return unzLocateFile(m_zip, entry.constData(), caseSensitive) == UNZ_OK
            || unzLocateFile(m_zip, entry.constData(), caseInsensitive) == UNZ_OK;
    }

    // Inflates one entry, refusing more than `limit` bytes whatever the entry declares.
    Failure read(const QString &name, qint64 limit, QByteArray *out)
    {
        out->clear();
        if (!locate(name))
            return Failure::NotSpreadsheet;
        unz_file_info64 info{};
        if (unzGetCurrentFileInfo64(m_zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
            return Failure::NotSpreadsheet;
        if (info.flag & 1u)
            return Failure::Encrypted;
        if (info.uncompressed_size > quint64(limit))
            return Failure::TooLarge;
        if (unzOpenCurrentFile(m_zip) != UNZ_OK)
            return Failure::NotSpreadsheet;
        out->reserve(qsizetype(info.uncompressed_size));
        constexpr int chunk = 64 * 1024;
        Failure failure = Failure::None;
        while (true) {
            const qsizetype before = out->size();
            out->resize(before + chunk);
            const int got = unzReadCurrentFile(m_zip, out->data() + before, chunk);
            out->resize(before + qMax(got, 0));
            if (got < 0) {
                failure = Failure::Truncated;
                break;
            }
            if (got == 0)
                break;
            if (out->size() > limit) {
                failure = Failure::TooLarge;
                break;
            }
        }
        const int closed = unzCloseCurrentFile(m_zip);
        if (failure == Failure::None && closed != UNZ_OK)
            failure = Failure::Truncated;
        if (failure != Failure::None)
            out->clear();
        return failure;
    }

private:
    unzFile m_zip = nullptr;
};

// The folder part of an entry name, with its "/".
QString entryFolder(const QString &entry)
{
    return entry.left(entry.lastIndexOf(u'/') + 1);
}

// A relationship target as an entry name: absolute from the root, else
// relative to the folder of the part that refers to it.
QString resolveTarget(const QString &folder, const QString &target)
{
    if (target.startsWith(u'/'))
        return target.mid(1);
    QStringList parts = (folder + target).split(u'/', Qt::SkipEmptyParts);
    QStringList resolved;
    for (const QString &part : std::as_const(parts)) {
        if (part == QLatin1String(".."))
            resolved.removeLast();
        else if (part != QLatin1String("."))
            resolved.append(part);
    }
    return resolved.join(u'/');
}

struct Relationship
{
    QString type;
    QString target;
};

bool hasExcelName(const QString &path)
{
    static const QStringList suffixes = {QStringLiteral("xls"),  QStringLiteral("xlsx"), QStringLiteral("xlsm"),
                                         QStringLiteral("xlt"),  QStringLiteral("xltx"), QStringLiteral("xltm"),
                                         QStringLiteral("xlsb"), QStringLiteral("et"),   QStringLiteral("ett")};
    return suffixes.contains(QFileInfo(path).suffix().toLower());
}

// Text files: UTF-8 with or without BOM, UTF-16 with BOM, else GBK (GB18030).
QString decodeText(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
    if (bytes.startsWith("\xFF\xFE"))
        return QStringDecoder(QStringDecoder::Utf16LE, QStringDecoder::Flag::Default).decode(bytes.mid(2));
    if (bytes.startsWith("\xFE\xFF"))
        return QStringDecoder(QStringDecoder::Utf16BE, QStringDecoder::Flag::Default).decode(bytes.mid(2));
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return QStringDecoder("GB18030").decode(bytes);
}

// Splits comma or tab separated text into cells: quoted fields may hold the
// separator, doubled quotes and line breaks; lines end in CRLF, LF or CR.
bool parseDelimited(QStringView text, QChar separator, RowBuilder &rows)
{
    const QChar *p = text.data();
    const QChar *const end = p + text.size();
    const auto atFieldEnd = [&](const QChar *q) {
        return *q == separator || *q == u'\n' || *q == u'\r';
    };
    qint64 row = 0;
    qint64 column = 0;
    while (p < end) {
        QString field;
        if (*p == u'"') {
            ++p;
            while (p < end) {
                if (*p == u'"') {
                    if (p + 1 < end && p[1] == u'"') {
                        field += u'"';
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                const QChar *q = p;
                while (q < end && *q != u'"')
                    ++q;
                field.append(p, q - p);
                p = q;
            }
        }
        // Unquoted text, or what follows a closing quote, runs to the field's end.
        const QChar *q = p;
        while (q < end && !atFieldEnd(q))
            ++q;
        field.append(p, q - p);
        p = q;
        if (!rows.place(row, column, std::move(field)))
            return false;
        if (p == end)
            break;
        if (*p == separator) {
            ++p;
            ++column;
            continue;
        }
        if (*p == u'\r' && p + 1 < end && p[1] == u'\n')
            ++p;
        ++p;
        ++row;
        column = 0;
    }
    return true;
}

QChar guessSeparator(QStringView text)
{
    const QStringView firstLine = text.left(text.indexOf(u'\n'));
    return !firstLine.contains(u',') && firstLine.contains(u'\t') ? QChar(u'\t') : QChar(u',');
}

} // namespace

struct SpreadsheetReader::Private
{
    SpreadsheetLimits limits;
    QString path;
    Format format = Format::None;
    Failure failure = Failure::None;
    QString error;
    QStringList sheetNames;

    // .xlsx
    std::unique_ptr<ZipFile> zip;
    QStringList sheetEntries;
    QString sharedStringsEntry;
    QString stylesEntry;
    bool date1904 = false;
    bool partsLoaded = false;
    QStringList sharedStrings;
    QList<CellStyle> styles;

    // .xls
    const void *xls = nullptr;

    bool fail(Failure cause, const QString &sheet = {})
    {
        failure = cause;
        error = failureText(cause, path, sheet);
        return false;
    }

    void reset()
    {
        zip.reset();
        if (xls)
            freexl_close(xls);
        xls = nullptr;
        format = Format::None;
        sheetNames.clear();
        sheetEntries.clear();
        sharedStringsEntry.clear();
        stylesEntry.clear();
        date1904 = false;
        partsLoaded = false;
        sharedStrings.clear();
        styles.clear();
    }

    bool readXml(const QString &entry, QByteArray *bytes)
    {
        const Failure cause = zip->read(entry, limits.maxBytes, bytes);
        return cause == Failure::None || fail(cause);
    }

    QHash<QString, Relationship> readRelationships(const QString &part, bool *ok)
    {
        QHash<QString, Relationship> relations;
        const QString entry = entryFolder(part) + QStringLiteral("_rels/") + part.mid(part.lastIndexOf(u'/') + 1)
            + QStringLiteral(".rels");
        QByteArray bytes;
        *ok = readXml(entry, &bytes);
        if (!*ok)
            return relations;
        QXmlStreamReader xml(bytes);
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"Relationship") {
                const auto attributes = xml.attributes();
                relations.insert(attributes.value(QLatin1String("Id")).toString(),
                                 {attributes.value(QLatin1String("Type")).toString(), attributes.value(QLatin1String("Target")).toString()});
            }
        }
        if (xml.hasError())
            *ok = fail(xmlFailure(xml));
        return relations;
    }

    bool openXlsx()
    {
        zip = std::make_unique<ZipFile>();
        if (!zip->open(path))
            return fail(Failure::Truncated);
        bool ok = false;
        QString workbook = QStringLiteral("xl/workbook.xml");
        if (zip->locate(QStringLiteral("_rels/.rels"))) {
            const auto rootRelations = readRelationships(QString(), &ok);
            if (!ok)
                return false;
            for (const Relationship &relation : rootRelations) {
                if (relation.type.endsWith(QLatin1String("/officeDocument")))
                    workbook = resolveTarget(QString(), relation.target);
            }
        }
        if (!zip->locate(workbook))
            return fail(Failure::NotSpreadsheet);
        const auto relations = readRelationships(workbook, &ok);
        if (!ok)
            return false;
        const QString folder = entryFolder(workbook);
        for (const Relationship &relation : relations) {
            if (relation.type.endsWith(QLatin1String("/sharedStrings")))
                sharedStringsEntry = resolveTarget(folder, relation.target);
            else if (relation.type.endsWith(QLatin1String("/styles")))
                stylesEntry = resolveTarget(folder, relation.target);
        }

        QByteArray bytes;
        if (!readXml(workbook, &bytes))
            return false;
        QXmlStreamReader xml(bytes);
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            const auto attributes = xml.attributes();
            if (xml.name() == u"workbookPr") {
                const auto value = attributes.value(QLatin1String("date1904"));
                date1904 = value == u"1" || value == u"true";
            } else if (xml.name() == u"sheet") {
                // The relationship id is the namespaced "id" attribute, whatever its prefix.
                QString id;
                for (const QXmlStreamAttribute &attribute : attributes) {
                    if (attribute.name() == u"id" && !attribute.namespaceUri().isEmpty())
                        id = attribute.value().toString();
                }
                const Relationship relation = relations.value(id);
                if (relation.type.endsWith(QLatin1String("/worksheet"))) {
                    sheetNames.append(attributes.value(QLatin1String("name")).toString());
                    sheetEntries.append(resolveTarget(folder, relation.target));
                }
            }
        }
        if (xml.hasError())
            return fail(xmlFailure(xml));
        return true;
    }

    bool loadXlsxParts()
    {
        if (partsLoaded)
            return true;
        QByteArray bytes;
        if (!sharedStringsEntry.isEmpty() && zip->locate(sharedStringsEntry)) {
            if (!readXml(sharedStringsEntry, &bytes))
                return false;
            QXmlStreamReader xml(bytes);
            while (!xml.atEnd()) {
                if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"si")
                    sharedStrings.append(readRichText(xml));
            }
            if (xml.hasError())
                return fail(xmlFailure(xml));
        }
        if (!stylesEntry.isEmpty() && zip->locate(stylesEntry)) {
            if (!readXml(stylesEntry, &bytes))
                return false;
            QHash<int, QString> customFormats;
            QList<int> formatIds;
            QXmlStreamReader xml(bytes);
            bool inCellFormats = false;
            while (!xml.atEnd()) {
                const auto token = xml.readNext();
                if (token == QXmlStreamReader::EndElement && xml.name() == u"cellXfs")
                    inCellFormats = false;
                if (token != QXmlStreamReader::StartElement)
                    continue;
                if (xml.name() == u"numFmt") {
                    customFormats.insert(xml.attributes().value(QLatin1String("numFmtId")).toInt(),
                                         xml.attributes().value(QLatin1String("formatCode")).toString());
                } else if (xml.name() == u"cellXfs") {
                    inCellFormats = true;
                } else if (inCellFormats && xml.name() == u"xf") {
                    formatIds.append(xml.attributes().value(QLatin1String("numFmtId")).toInt());
                }
            }
            if (xml.hasError())
                return fail(xmlFailure(xml));
            for (int id : std::as_const(formatIds))
                styles.append(customFormats.contains(id) ? customStyle(customFormats.value(id)) : builtInStyle(id));
        }
        partsLoaded = true;
        return true;
    }

    QString xlsxCellText(QStringView type, QStringView value, const QString &inlineText, int style) const
    {
        if (type == u"s") {
            bool ok = false;
            const int index = value.toInt(&ok);
            return ok && index >= 0 && index < sharedStrings.size() ? sharedStrings.at(index) : QString();
        }
        if (type == u"inlineStr")
            return inlineText;
        if (type == u"str" || type == u"e")
            return decodeEscapes(value.toString());
        if (type == u"b")
            return value == u"1" ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
        if (type == u"d") {
            const QDateTime moment = QDateTime::fromString(value.toString(), Qt::ISODate);
            if (!moment.isValid())
                return value.toString();
            return dateTimeText(moment.date(), moment.time(),
                                moment.time() == QTime(0, 0) ? Shown::Date : Shown::DateTime);
        }
        const CellStyle cellStyle = style >= 0 && style < styles.size() ? styles.at(style) : CellStyle{};
        return numberText(value, cellStyle, date1904);
    }

    bool readXlsxSheet(int index, Rows *out)
    {
        if (!loadXlsxParts())
            return false;
        QByteArray bytes;
        if (!readXml(sheetEntries.at(index), &bytes))
            return false;
        RowBuilder rows(limits);
        QXmlStreamReader xml(bytes);
        qint64 row = -1;
        qint64 column = 0;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == u"row") {
                const auto number = xml.attributes().value(QLatin1String("r"));
                row = number.isEmpty() ? row + 1 : number.toLongLong() - 1;
                column = 0;
                continue;
            }
            if (xml.name() != u"c")
                continue;
            const auto attributes = xml.attributes();
            const QStringView reference = attributes.value(QLatin1String("r"));
            if (!reference.isEmpty()) {
                // "AB12": letters give the column, digits the row.
                qint64 letters = 0;
                qsizetype i = 0;
                for (; i < reference.size() && reference[i].isLetter(); ++i)
                    letters = qMin<qint64>(letters * 26 + (reference[i].toUpper().unicode() - 'A' + 1), 1 << 24);
                column = letters - 1;
                if (i < reference.size())
                    row = reference.mid(i).toLongLong() - 1;
            }
            const QString type = attributes.value(QLatin1String("t")).toString();
            const int style = attributes.value(QLatin1String("s")).toInt();
            QString value;
            QString inlineText;
            while (!xml.atEnd()) {
                const auto token = xml.readNext();
                if (token == QXmlStreamReader::EndElement)
                    break;
                if (token != QXmlStreamReader::StartElement)
                    continue;
                if (xml.name() == u"v")
                    value = xml.readElementText();
                else if (xml.name() == u"is")
                    inlineText = readRichText(xml);
                else
                    xml.skipCurrentElement();
            }
            if (!rows.place(row, column, xlsxCellText(type, value, inlineText, style)))
                return fail(Failure::TooLarge);
            ++column;
        }
        if (xml.hasError())
            return fail(xmlFailure(xml));
        return rows.finish(out) || fail(Failure::TooLarge);
    }

    bool openXls(qint64 size)
    {
        // An encrypted Office 2007+ workbook is an OLE file holding an "EncryptedPackage" stream.
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return fail(Failure::CannotOpen);
        const uchar *mapped = file.map(0, size);
        if (mapped) {
            const QByteArrayView content(reinterpret_cast<const char *>(mapped), size);
            const QString stream = QStringLiteral("EncryptedPackage");
            const QByteArrayView utf16(reinterpret_cast<const char *>(stream.utf16()), stream.size() * 2);
            const bool encrypted = content.indexOf(utf16) >= 0;
            file.unmap(const_cast<uchar *>(mapped));
            if (encrypted)
                return fail(Failure::Encrypted);
        }
        const int result = freexl_open(QFile::encodeName(path).constData(), &xls);
        if (result != FREEXL_OK) {
            if (result == FREEXL_INSUFFICIENT_MEMORY)
                return fail(Failure::TooLarge);
            constexpr int sector = 512;
            const bool cut = result == FREEXL_CFBF_READ_ERROR || result == FREEXL_CFBF_SEEK_ERROR
                || size < sector || size % sector != 0;
            return fail(cut ? Failure::Truncated : Failure::NotSpreadsheet);
        }
        // freexl opens a password-protected workbook without giving a handle.
        unsigned int info = 0;
        if (!xls || (freexl_get_info(xls, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK && info == FREEXL_BIFF_OBFUSCATED))
            return fail(Failure::Encrypted);
        unsigned int count = 0;
        if (freexl_get_info(xls, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK)
            return fail(Failure::NotSpreadsheet);
        for (unsigned short i = 0; i < count; ++i) {
            const char *name = nullptr;
            if (freexl_get_worksheet_name(xls, i, &name) != FREEXL_OK)
                return fail(Failure::NotSpreadsheet);
            sheetNames.append(QString::fromUtf8(name));
        }
        return true;
    }

    bool readXlsSheet(int index, Rows *out)
    {
        unsigned int rowCount = 0;
        unsigned short columnCount = 0;
        if (freexl_select_active_worksheet(xls, ushort(index)) != FREEXL_OK
            || freexl_worksheet_dimensions(xls, &rowCount, &columnCount) != FREEXL_OK)
            return fail(Failure::NotSpreadsheet);
        if (rowCount > uint(limits.maxRows) || columnCount > limits.maxColumns
            || qint64(rowCount) * columnCount > limits.maxCells)
            return fail(Failure::TooLarge);
        RowBuilder rows(limits);
        for (unsigned int r = 0; r < rowCount; ++r) {
            for (unsigned short c = 0; c < columnCount; ++c) {
                FreeXL_CellValue cell;
                if (freexl_get_cell_value(xls, r, c, &cell) != FREEXL_OK)
                    return fail(Failure::NotSpreadsheet);
                QString text;
                switch (cell.type) {
                case FREEXL_CELL_INT:
                    text = QString::number(cell.value.int_value);
                    break;
                case FREEXL_CELL_DOUBLE:
                    text = shortestNumber(cell.value.double_value);
                    break;
                case FREEXL_CELL_TEXT:
                case FREEXL_CELL_SST_TEXT:
                case FREEXL_CELL_DATE:
                    text = QString::fromUtf8(cell.value.text_value);
                    break;
                case FREEXL_CELL_DATETIME:
                case FREEXL_CELL_TIME:
                    // freexl gives HH:MM:SS; seconds are shown only when there are some.
                    text = QString::fromUtf8(cell.value.text_value);
                    if (text.endsWith(QLatin1String(":00")))
                        text.chop(3);
                    break;
                default:
                    break;
                }
                if (!rows.place(r, c, std::move(text)))
                    return fail(Failure::TooLarge);
            }
        }
        return rows.finish(out) || fail(Failure::TooLarge);
    }

    bool readCsv(Rows *out)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return fail(Failure::CannotOpen);
        if (file.size() > limits.maxBytes)
            return fail(Failure::TooLarge);
        const QByteArray bytes = file.readAll();
        const bool utf16 = bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
        if (!utf16 && bytes.contains('\0'))
            return fail(Failure::NotSpreadsheet);
        const QString text = decodeText(bytes);
        RowBuilder rows(limits);
        if (!parseDelimited(text, guessSeparator(text), rows))
            return fail(Failure::TooLarge);
        return rows.finish(out) || fail(Failure::TooLarge);
    }
};

SpreadsheetReader::SpreadsheetReader(const SpreadsheetLimits &limits) : d(std::make_unique<Private>())
{
    d->limits = limits;
}

SpreadsheetReader::~SpreadsheetReader()
{
    d->reset();
}

bool SpreadsheetReader::open(const QString &path)
{
    d->reset();
    d->path = path;
    d->failure = Failure::None;
    d->error.clear();

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || QFileInfo(path).isDir())
        return d->fail(Failure::CannotOpen);
    const qint64 size = file.size();
    const QByteArray head = file.read(8);
    file.close();

    bool ok = false;
    if (head.startsWith("PK\x03\x04")) {
        d->format = Format::Xlsx;
        ok = d->openXlsx();
    } else if (head == QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)) {
        d->format = Format::Xls;
        ok = size <= d->limits.maxBytes ? d->openXls(size) : d->fail(Failure::TooLarge);
    } else if (hasExcelName(path)) {
        ok = d->fail(Failure::NotSpreadsheet);
    } else {
        d->format = Format::Csv;
        d->sheetNames.append(QFileInfo(path).completeBaseName());
        ok = true;
    }
    if (!ok)
        d->reset();
    return ok;
}

void SpreadsheetReader::close()
{
    d->reset();
    d->path.clear();
}

bool SpreadsheetReader::isOpen() const
{
    return d->format != Format::None;
}

QString SpreadsheetReader::fileName() const
{
    return d->path;
}

SpreadsheetReader::Format SpreadsheetReader::format() const
{
    return d->format;
}

QStringList SpreadsheetReader::sheetNames() const
{
    return d->sheetNames;
}

QList<QStringList> SpreadsheetReader::readSheet(int index)
{
    d->failure = Failure::None;
    d->error.clear();
    if (!isOpen()) {
        d->fail(Failure::CannotOpen);
        return {};
    }
    if (index < 0 || index >= d->sheetNames.size()) {
        d->fail(Failure::NoSuchSheet, QString::number(index + 1));
        return {};
    }
    Rows rows;
    switch (d->format) {
    case Format::Xlsx:
        d->readXlsxSheet(index, &rows);
        break;
    case Format::Xls:
        d->readXlsSheet(index, &rows);
        break;
    case Format::Csv:
        d->readCsv(&rows);
        break;
    case Format::None:
        break;
    }
    return d->failure == Failure::None ? rows : Rows();
}

QList<QStringList> SpreadsheetReader::readSheet(const QString &name)
{
    const qsizetype index = d->sheetNames.indexOf(name);
    if (index < 0 && isOpen()) {
        d->fail(Failure::NoSuchSheet, name);
        return {};
    }
    return readSheet(int(index));
}

SpreadsheetReader::Failure SpreadsheetReader::failure() const
{
    return d->failure;
}

QString SpreadsheetReader::errorString() const
{
    return d->error;
}

QList<QStringList> SpreadsheetReader::readFirstSheet(const QString &path, QString *error,
                                                     const SpreadsheetLimits &limits)
{
    SpreadsheetReader reader(limits);
    Rows rows;
    if (reader.open(path))
        rows = reader.readSheet(0);
    if (error)
        *error = reader.errorString();
    return rows;
}

} // namespace moque::batch
