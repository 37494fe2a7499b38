#include "sheets/SpreadsheetReader.h"

#include "sheets/SheetRows.h"
#include "sheets/SheetText.h"
#include "sheets/NumberFormat.h"
#include "sheets/XlsWorkbook.h"
#include "sheets/ZipXml.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>
#include <QTime>

#include <cmath>
#include <optional>

namespace moque::sheets {

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
    }
    return {};
}

// A number cell as its format code shows it; a value that is not a number
// stays as written.
QString numberText(QStringView value, const QString &formatCode, bool date1904)
{
    bool ok = false;
    const double number = value.toDouble(&ok);
    return ok ? formatCellNumber(number, formatCode, date1904) : value.toString();
}

// The serial day number of an ISO date cell (some writers store dates so),
// counting the 29 February 1900 that the 1900 system has.
std::optional<double> isoDateSerial(const QString &value, bool date1904)
{
    const QDateTime moment = QDateTime::fromString(value, Qt::ISODate);
    if (!moment.isValid())
        return std::nullopt;
    const QDate date = moment.date();
    const QDate base = date1904 ? QDate(1904, 1, 1) : date < QDate(1900, 3, 1) ? QDate(1899, 12, 31) : QDate(1899, 12, 30);
    return double(base.daysTo(date)) + moment.time().msecsSinceStartOfDay() / 86'400'000.0;
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
    // The number format code of each cell format, by the cells' s="" index.
    QStringList formatCodes;

    // .xls
    std::unique_ptr<XlsWorkbook> xls;

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
        xls.reset();
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
        formatCodes.clear();
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
            // Extensions may hold elements of the same local names (a newer
            // suite's workbookPr there says nothing about the date system).
            if (part.xml().name() == u"extLst") {
                part.skipElement();
            } else if (part.xml().name() == u"workbookPr") {
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
                if (!budget.charge(qint64(sizeof(int)) + MemoryBudget::slot))
                    return fail(Failure::TooLarge);
                formatIds.append(attributes.value(QLatin1String("numFmtId")).toInt());
            }
        }
        if (!part.finish())
            return fail(part);
        for (int id : std::as_const(formatIds))
            formatCodes.append(cellFormatCode(id, customFormats.value(id)));
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

    QString cellFormat(int style) const
    {
        return style >= 0 && style < formatCodes.size() ? formatCodes.at(style) : QStringLiteral("General");
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
            // A boolean cell without a value shows nothing.
            *text = value.isEmpty() ? QString() : value == u"1" ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
        } else if (type == u"d") {
            const std::optional<double> serial = isoDateSerial(value, date1904);
            // A date cell left in General format still shows a date.
            QString code = cellFormat(style);
            if (serial && !isDateFormat(code))
                code = builtinFormatCode(*serial == std::trunc(*serial) ? 14 : 22);
            *text = serial ? formatCellNumber(*serial, code, date1904) : value;
        } else {
            *text = numberText(value, cellFormat(style), date1904);
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

    bool openXls()
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return fail(Failure::CannotOpen);
        const QByteArray bytes = file.readAll();
        xls = std::make_unique<XlsWorkbook>(limits.maxMemory);
        if (!xls->open(bytes)) {
            // A compound file is whole sectors of 512 bytes: one that is not
            // was cut short in copying or downloading.
            constexpr qint64 sector = 512;
            const bool cut = bytes.size() < sector || bytes.size() % sector != 0;
            switch (xls->failure()) {
            case XlsWorkbook::Failure::Encrypted:
                return fail(Failure::Encrypted);
            case XlsWorkbook::Failure::TooLarge:
                return fail(Failure::TooLarge);
            case XlsWorkbook::Failure::NotXls:
                return fail(cut ? Failure::Truncated : Failure::NotSpreadsheet);
            default:
                return cut ? fail(Failure::Truncated) : failXlsDamaged();
            }
        }
        for (const QString &name : xls->sheetNames()) {
            if (!addSheet(name))
                return false;
        }
        return true;
    }

    bool failXlsDamaged()
    {
        return fail(Failure::Damaged, QStringLiteral("工作簿内部结构有误（%1）").arg(xls->detail()));
    }

    bool readXlsSheet(int index, Rows *out)
    {
        RowBuilder rows(limits, budget);
        bool placed = true;
        const bool read = xls->readSheet(index, [&](int row, int column, const XlsCell &cell) {
            QString text = cell.kind == XlsCell::Kind::Number
                ? formatCellNumber(cell.number, cell.formatCode, xls->date1904())
                : cell.text;
            placed = rows.place(row, column, std::move(text));
            return placed;
        });
        if (!placed)
            return fail(Failure::TooLarge);
        if (!read)
            return xls->failure() == XlsWorkbook::Failure::TooLarge ? fail(Failure::TooLarge) : failXlsDamaged();
        return rows.finish(out) || fail(Failure::TooLarge);
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

SpreadsheetReader::SpreadsheetReader(const SpreadsheetLimits &limits)
    : d(std::make_unique<Private>())
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
        if (size > d->limits.maxBytes)
            ok = d->fail(Failure::TooLarge);
        else
            ok = d->openXls();
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

} // namespace moque::sheets
