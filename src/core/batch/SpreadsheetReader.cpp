#include "batch/SpreadsheetReader.h"

#include "batch/SheetRows.h"
#include "batch/SheetText.h"
#include "batch/XlsChild.h"
#include "batch/ZipXml.h"

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>
#include <QTime>

#include <freexl.h>

#include <cmath>

namespace moque::batch {

namespace {

using Rows = QList<QStringList>;
using Failure = SpreadsheetReader::Failure;

QString failureText(Failure failure, const QString &path, const QString &detail)
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
        return QStringLiteral("无法读取表格文件：%1（找不到工作表：%2）").arg(file, detail);
    case Failure::Damaged:
        return QStringLiteral("无法读取表格文件：%1（文件已损坏：%2）").arg(file, detail);
    case Failure::NoXlsReader:
        return QStringLiteral("无法读取表格文件：%1（找不到读取.xls文件的程序：%2）").arg(file, detail);
    }
    return {};
}

QString &xlsReaderProgramSetting()
{
    static QString program;
    return program;
}

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
bool readRichText(XmlPart &part, QString *text)
{
    text->clear();
    int depth = 1;
    while (depth > 0 && part.next()) {
        if (part.isEnd()) {
            --depth;
        } else if (part.isStart()) {
            if (part.xml().name() == u"rPh") {
                part.skipElement();
            } else if (part.xml().name() == u"t") {
                if (!part.readText(text))
                    return false;
            } else {
                ++depth;
            }
        }
    }
    if (depth > 0)
        return false;
    if (text->contains(QLatin1String("_x")))
        *text = decodeEscapes(std::move(*text));
    return true;
}

// The folder part of an entry name, with its "/".
QString entryFolder(const QString &entry)
{
    return entry.left(entry.lastIndexOf(u'/') + 1);
}

struct Relationship
{
    QString type;
    QString target;
};

// A row number as OOXML writes it: 1 to 7 digits, no leading zero.
bool parseRowNumber(QStringView digits, qint64 *row)
{
    if (digits.isEmpty() || digits.size() > 7 || digits.front() == u'0')
        return false;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9')
            return false;
    }
    *row = digits.toLongLong() - 1;
    return true;
}

// "AB12": one to three letters give the column, then the row number. A
// well-formed place beyond the limits is the limits' business.
bool parseCellReference(QStringView reference, qint64 *row, qint64 *column)
{
    qint64 letters = 0;
    qsizetype i = 0;
    for (; i < reference.size() && i <= 3; ++i) {
        const char16_t c = reference.at(i).toUpper().unicode();
        if (c < u'A' || c > u'Z')
            break;
        letters = letters * 26 + (c - u'A' + 1);
    }
    if (i == 0 || i > 3 || !parseRowNumber(reference.mid(i), row))
        return false;
    *column = letters - 1;
    return true;
}

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
    XlsReading xlsReading = XlsReading::ChildProcess;
    QString path;
    Format format = Format::None;
    Failure failure = Failure::None;
    QString error;
    QStringList sheetNames;
    // What the open file holds (names, shared strings, styles); a sheet's
    // rows are counted on top of it.
    MemoryBudget budget{0};

    // .xlsx
    std::unique_ptr<ZipFile> zip;
    QStringList sheetEntries;
    QString sharedStringsEntry;
    QString stylesEntry;
    bool date1904 = false;
    bool partsLoaded = false;
    bool hasSharedStrings = false;
    QStringList sharedStrings;
    QList<CellStyle> styles;

    // .xls
    const void *xls = nullptr;

    bool fail(Failure cause, const QString &detail = {})
    {
        failure = cause;
        error = failureText(cause, path, detail);
        return false;
    }

    bool fail(const XmlPart &part) { return fail(part.failure(), part.failureDetail()); }

    void reset()
    {
        zip.reset();
        if (xls)
            freexl_close(xls);
        xls = nullptr;
        format = Format::None;
        sheetNames.clear();
        budget = MemoryBudget(limits.maxMemory);
        sheetEntries.clear();
        sharedStringsEntry.clear();
        stylesEntry.clear();
        date1904 = false;
        partsLoaded = false;
        hasSharedStrings = false;
        sharedStrings.clear();
        styles.clear();
    }

    bool addSheet(const QString &name, const QString &entry = {})
    {
        if (!budget.charge(2 * MemoryBudget::slot + MemoryBudget::text(name) + MemoryBudget::text(entry)))
            return fail(Failure::TooLarge);
        sheetNames.append(name);
        sheetEntries.append(entry);
        return true;
    }

    // A relationship target as an entry name: absolute from the root, else
    // relative to the folder of the part that refers to it. A target above
    // the root points out of the file.
    bool resolveTarget(const QString &folder, const QString &target, QString *entry)
    {
        if (target.startsWith(u'/')) {
            *entry = target.mid(1);
            return true;
        }
        const QStringList parts = (folder + target).split(u'/', Qt::SkipEmptyParts);
        QStringList resolved;
        for (const QString &part : parts) {
            if (part == QLatin1String("..")) {
                if (resolved.isEmpty())
                    return fail(Failure::Damaged, QStringLiteral("内部引用%1指向文件之外").arg(quoteInMessage(target)));
                resolved.removeLast();
            } else if (part != QLatin1String(".")) {
                resolved.append(part);
            }
        }
        *entry = resolved.join(u'/');
        return true;
    }

    bool readRelationships(const QString &part, QHash<QString, Relationship> *relations)
    {
        const QString entry = entryFolder(part) + QStringLiteral("_rels/") + part.mid(part.lastIndexOf(u'/') + 1)
            + QStringLiteral(".rels");
        XmlPart xml(*zip, limits);
        if (!xml.open(entry))
            return fail(xml);
        while (xml.next()) {
            if (!xml.isStart() || xml.xml().name() != u"Relationship")
                continue;
            const auto attributes = xml.xml().attributes();
            const QString id = attributes.value(QLatin1String("Id")).toString();
            Relationship relation{attributes.value(QLatin1String("Type")).toString(),
                                  attributes.value(QLatin1String("Target")).toString()};
            constexpr qint64 hashNode = 64;
            if (!budget.charge(hashNode + MemoryBudget::text(id) + MemoryBudget::text(relation.type)
                               + MemoryBudget::text(relation.target)))
                return fail(Failure::TooLarge);
            relations->insert(id, std::move(relation));
        }
        return xml.finish() || fail(xml);
    }

    bool openXlsx()
    {
        zip = std::make_unique<ZipFile>();
        if (!zip->open(path))
            return fail(Failure::Truncated);
        QString workbook = QStringLiteral("xl/workbook.xml");
        if (zip->locate(QStringLiteral("_rels/.rels"))) {
            QHash<QString, Relationship> rootRelations;
            if (!readRelationships(QString(), &rootRelations))
                return false;
            for (const Relationship &relation : std::as_const(rootRelations)) {
                if (relation.type.endsWith(QLatin1String("/officeDocument"))
                    && !resolveTarget(QString(), relation.target, &workbook))
                    return false;
            }
        }
        if (!zip->locate(workbook))
            return fail(Failure::NotSpreadsheet);
        QHash<QString, Relationship> relations;
        if (!readRelationships(workbook, &relations))
            return false;
        const QString folder = entryFolder(workbook);
        for (const Relationship &relation : std::as_const(relations)) {
            if (relation.type.endsWith(QLatin1String("/sharedStrings"))
                && !resolveTarget(folder, relation.target, &sharedStringsEntry))
                return false;
            if (relation.type.endsWith(QLatin1String("/styles")) && !resolveTarget(folder, relation.target, &stylesEntry))
                return false;
        }

        XmlPart part(*zip, limits);
        if (!part.open(workbook))
            return fail(part);
        while (part.next()) {
            if (!part.isStart())
                continue;
            const auto attributes = part.xml().attributes();
            if (part.xml().name() == u"workbookPr") {
                const auto value = attributes.value(QLatin1String("date1904"));
                date1904 = value == u"1" || value == u"true";
            } else if (part.xml().name() == u"sheet") {
                // The relationship id is the "id" attribute with a namespace prefix, whatever the prefix.
                QString id;
                for (const QXmlStreamAttribute &attribute : attributes) {
                    if (attribute.name() == u"id" && !attribute.prefix().isEmpty() && attribute.prefix() != u"xmlns")
                        id = attribute.value().toString();
                }
                const Relationship relation = relations.value(id);
                QString entry;
                if (relation.type.endsWith(QLatin1String("/worksheet"))
                    && !(resolveTarget(folder, relation.target, &entry)
                         && addSheet(attributes.value(QLatin1String("name")).toString(), entry)))
                    return false;
            }
        }
        return part.finish() || fail(part);
    }

    bool loadSharedStrings()
    {
        XmlPart part(*zip, limits);
        if (!part.open(sharedStringsEntry))
            return fail(part);
        QString text;
        while (part.next()) {
            if (!part.isStart() || part.xml().name() != u"si")
                continue;
            if (!readRichText(part, &text))
                break;
            if (!budget.charge(MemoryBudget::slot + MemoryBudget::text(text)))
                return fail(Failure::TooLarge);
            sharedStrings.append(text);
        }
        hasSharedStrings = true;
        return part.finish() || fail(part);
    }

    bool loadStyles()
    {
        XmlPart part(*zip, limits);
        if (!part.open(stylesEntry))
            return fail(part);
        QHash<int, QString> customFormats;
        QList<int> formatIds;
        bool inCellFormats = false;
        while (part.next()) {
            if (part.isEnd() && part.xml().name() == u"cellXfs")
                inCellFormats = false;
            if (!part.isStart())
                continue;
            const auto attributes = part.xml().attributes();
            if (part.xml().name() == u"numFmt") {
                const QString code = attributes.value(QLatin1String("formatCode")).toString();
                constexpr qint64 hashNode = 48;
                if (!budget.charge(hashNode + MemoryBudget::text(code)))
                    return fail(Failure::TooLarge);
                customFormats.insert(attributes.value(QLatin1String("numFmtId")).toInt(), code);
            } else if (part.xml().name() == u"cellXfs") {
                inCellFormats = true;
            } else if (inCellFormats && part.xml().name() == u"xf") {
                if (!budget.charge(qint64(sizeof(int) + sizeof(CellStyle))))
                    return fail(Failure::TooLarge);
                formatIds.append(attributes.value(QLatin1String("numFmtId")).toInt());
            }
        }
        if (!part.finish())
            return fail(part);
        for (int id : std::as_const(formatIds))
            styles.append(customFormats.contains(id) ? customStyle(customFormats.value(id)) : builtInStyle(id));
        return true;
    }

    bool loadXlsxParts()
    {
        if (partsLoaded)
            return true;
        if (!sharedStringsEntry.isEmpty() && zip->locate(sharedStringsEntry) && !loadSharedStrings())
            return false;
        if (!stylesEntry.isEmpty() && zip->locate(stylesEntry) && !loadStyles())
            return false;
        partsLoaded = true;
        return true;
    }

    // The text a cell shows; false with the failure set when it refers to a
    // shared string that is not there. *shared tells a copy of a shared string.
    bool xlsxCellText(QStringView type, const QString &value, const QString &inlineText, int style, QString *text,
                      bool *shared)
    {
        *shared = false;
        if (type == u"s") {
            if (value.isEmpty()) {
                text->clear();
                return true;
            }
            if (!hasSharedStrings)
                return fail(Failure::Damaged, QStringLiteral("缺少共享字符串表"));
            bool ok = false;
            const int index = value.toInt(&ok);
            if (!ok)
                return fail(Failure::Damaged, QStringLiteral("共享字符串编号%1无效").arg(quoteInMessage(value)));
            if (index < 0 || index >= sharedStrings.size())
                return fail(Failure::Damaged, QStringLiteral("共享字符串编号%1超出范围").arg(quoteInMessage(value)));
            *text = sharedStrings.at(index);
            *shared = true;
        } else if (type == u"inlineStr") {
            *text = inlineText;
        } else if (type == u"str" || type == u"e") {
            *text = decodeEscapes(value);
        } else if (type == u"b") {
            *text = value == u"1" ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
        } else if (type == u"d") {
            const QDateTime moment = QDateTime::fromString(value, Qt::ISODate);
            *text = !moment.isValid() ? value
                                      : dateTimeText(moment.date(), moment.time(),
                                                     moment.time() == QTime(0, 0) ? Shown::Date : Shown::DateTime);
        } else {
            const CellStyle cellStyle = style >= 0 && style < styles.size() ? styles.at(style) : CellStyle{};
            *text = numberText(value, cellStyle, date1904);
        }
        return true;
    }

    bool readXlsxSheet(int index, Rows *out)
    {
        if (!loadXlsxParts())
            return false;
        XmlPart part(*zip, limits);
        if (!part.open(sheetEntries.at(index)))
            return fail(part);
        RowBuilder rows(limits, budget);
        qint64 row = -1;
        qint64 column = 0;
        while (part.next()) {
            if (!part.isStart())
                continue;
            const auto attributes = part.xml().attributes();
            if (part.xml().name() == u"row") {
                const QStringView number = attributes.value(QLatin1String("r"));
                if (number.isEmpty())
                    ++row;
                else if (!parseRowNumber(number, &row))
                    return fail(Failure::Damaged, QStringLiteral("行号%1无效").arg(quoteInMessage(number)));
                column = 0;
                continue;
            }
            if (part.xml().name() != u"c")
                continue;
            const QStringView reference = attributes.value(QLatin1String("r"));
            if (!reference.isEmpty() && !parseCellReference(reference, &row, &column))
                return fail(Failure::Damaged, QStringLiteral("单元格位置%1无效").arg(quoteInMessage(reference)));
            const QString type = attributes.value(QLatin1String("t")).toString();
            const int style = attributes.value(QLatin1String("s")).toInt();
            QString value;
            QString inlineText;
            while (part.next() && !part.isEnd()) {
                if (!part.isStart())
                    continue;
                if (part.xml().name() == u"v") {
                    value.clear();
                    part.readText(&value);
                } else if (part.xml().name() == u"is") {
                    readRichText(part, &inlineText);
                } else {
                    part.skipElement();
                }
            }
            // The cell ended early: the part is broken or a limit was hit.
            if (part.failed() || !part.isEnd())
                break;
            QString text;
            bool shared = false;
            if (!xlsxCellText(type, value, inlineText, style, &text, &shared))
                return false;
            if (!rows.place(row, column, std::move(text), shared))
                return fail(Failure::TooLarge);
            ++column;
        }
        if (!part.finish())
            return fail(part);
        return rows.finish(out) || fail(Failure::TooLarge);
    }

    // An encrypted Office 2007+ workbook is an OLE file holding an "EncryptedPackage" stream.
    bool checkNotEncrypted(qint64 size)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return fail(Failure::CannotOpen);
        const uchar *mapped = file.map(0, size);
        if (!mapped)
            return true;
        const QByteArrayView content(reinterpret_cast<const char *>(mapped), size);
        const QString stream = QStringLiteral("EncryptedPackage");
        const QByteArrayView utf16(reinterpret_cast<const char *>(stream.utf16()), stream.size() * 2);
        const bool encrypted = content.indexOf(utf16) >= 0;
        file.unmap(const_cast<uchar *>(mapped));
        return !encrypted || fail(Failure::Encrypted);
    }

    bool openXls(qint64 size)
    {
        if (!checkNotEncrypted(size))
            return false;
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
            if (!addSheet(QString::fromUtf8(name)))
                return false;
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
        RowBuilder rows(limits, budget);
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

    // Runs the .xls reader program; false with the failure set when it did
    // not finish its work.
    bool runXlsReader(QStringList arguments, const std::function<bool(const QString &line)> &onLine)
    {
        const QString program = SpreadsheetReader::xlsReaderProgram();
        // "--": a file name may start with "-".
        arguments << QStringLiteral("--") << path;
        const XlsChildRun run = runXlsChild(program, arguments, limits, onLine);
        switch (run.end) {
        case XlsChildRun::End::Finished:
            return true;
        case XlsChildRun::End::Refused:
            return failAs(run.message);
        case XlsChildRun::End::Crashed:
            return fail(Failure::Damaged, QStringLiteral("读取时程序意外终止"));
        case XlsChildRun::End::TimedOut:
            return fail(Failure::Damaged,
                        QStringLiteral("读取超过%1秒仍未完成").arg((limits.xlsReaderMilliseconds + 999) / 1000));
        case XlsChildRun::End::NotStarted:
            return fail(Failure::NoXlsReader, QDir::toNativeSeparators(program));
        case XlsChildRun::End::Stopped:
            return fail(Failure::TooLarge);
        case XlsChildRun::End::Garbled:
            break;
        }
        return fail(Failure::Damaged, QStringLiteral("读取结果无法识别"));
    }

    // The reader program's message is one of ours for the same path: take
    // over its failure.
    bool failAs(QString message)
    {
        const QString prefix = QStringLiteral("moque-cli: ");
        if (message.startsWith(prefix))
            message.remove(0, prefix.size());
        const QString marker(QChar(0xFFFF));
        for (const Failure cause : {Failure::CannotOpen, Failure::NotSpreadsheet, Failure::Truncated, Failure::Encrypted,
                                    Failure::TooLarge, Failure::NoSuchSheet, Failure::Damaged}) {
            const QString pattern = failureText(cause, path, marker);
            const qsizetype at = pattern.indexOf(marker);
            if (at < 0) {
                if (message == pattern)
                    return fail(cause);
                continue;
            }
            const QStringView before = QStringView(pattern).left(at);
            const QStringView after = QStringView(pattern).mid(at + 1);
            if (message.size() > before.size() + after.size() && message.startsWith(before) && message.endsWith(after))
                return fail(cause, message.mid(before.size(), message.size() - before.size() - after.size()));
        }
        return fail(Failure::Damaged, QStringLiteral("读取结果无法识别"));
    }

    bool openXlsInChild(qint64 size)
    {
        if (!checkNotEncrypted(size))
            return false;
        return runXlsReader({QStringLiteral("sheet"), QStringLiteral("--sheet-names")}, [this](const QString &line) {
            return addSheet(sheetLineCells(line).constFirst());
        });
    }

    bool readXlsSheetInChild(int index, Rows *out)
    {
        RowBuilder rows(limits, budget);
        qint64 row = 0;
        const bool read = runXlsReader(
            {QStringLiteral("sheet"), QStringLiteral("--sheet"), QString::number(index + 1)},
            [&rows, &row](const QString &line) {
                QStringList cells = sheetLineCells(line);
                for (qsizetype column = 0; column < cells.size(); ++column) {
                    if (!rows.place(row, column, std::move(cells[column])))
                        return false;
                }
                ++row;
                return true;
            });
        return read && (rows.finish(out) || fail(Failure::TooLarge));
    }

    bool readCsv(Rows *out)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return fail(Failure::CannotOpen);
        if (file.size() > limits.maxBytes)
            return fail(Failure::TooLarge);
        QByteArray bytes = file.readAll();
        const bool utf16 = bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
        if (!utf16 && bytes.contains('\0'))
            return fail(Failure::NotSpreadsheet);
        const QString text = decodeText(bytes);
        bytes.clear();
        // The decoded text stays while the rows are built: it counts with them.
        MemoryBudget held = budget;
        if (!held.charge(MemoryBudget::text(text)))
            return fail(Failure::TooLarge);
        RowBuilder rows(limits, held);
        if (!parseDelimited(text, guessSeparator(text), rows))
            return fail(Failure::TooLarge);
        return rows.finish(out) || fail(Failure::TooLarge);
    }
};

SpreadsheetReader::SpreadsheetReader(const SpreadsheetLimits &limits, XlsReading xlsReading)
    : d(std::make_unique<Private>())
{
    d->limits = limits;
    d->xlsReading = xlsReading;
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
        if (size > d->limits.maxBytes)
            ok = d->fail(Failure::TooLarge);
        else
            ok = d->xlsReading == XlsReading::InProcess ? d->openXls(size) : d->openXlsInChild(size);
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
        if (d->xlsReading == XlsReading::InProcess)
            d->readXlsSheet(index, &rows);
        else
            d->readXlsSheetInChild(index, &rows);
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

void SpreadsheetReader::setXlsReaderProgram(const QString &program)
{
    xlsReaderProgramSetting() = program;
}

QString SpreadsheetReader::xlsReaderProgram()
{
    const QString &program = xlsReaderProgramSetting();
    return program.isEmpty() ? QCoreApplication::applicationDirPath() + QStringLiteral("/moque-cli") : program;
}

} // namespace moque::batch
