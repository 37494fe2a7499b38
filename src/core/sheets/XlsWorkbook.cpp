#include "sheets/XlsWorkbook.h"

#include "sheets/NumberFormat.h"
#include "sheets/XlsBytes.h"
#include "sheets/XlsCompoundFile.h"
#include "sheets/XlsRecords.h"


#include <algorithm>
#include <bit>
#include <optional>

namespace moque::sheets {

namespace {

// The record types read here; every other record is skipped by its length.
namespace Record {
constexpr quint16 Bof = 0x0809;
constexpr quint16 Eof = 0x000A;
constexpr quint16 BoundSheet = 0x0085;
constexpr quint16 CodePage = 0x0042;
constexpr quint16 DateMode = 0x0022;
constexpr quint16 FilePass = 0x002F;
constexpr quint16 Sst = 0x00FC;
constexpr quint16 Format = 0x041E;
constexpr quint16 Xf = 0x00E0;
constexpr quint16 LabelSst = 0x00FD;
constexpr quint16 Label = 0x0204;
constexpr quint16 RString = 0x00D6;
constexpr quint16 Number = 0x0203;
constexpr quint16 Rk = 0x027E;
constexpr quint16 MulRk = 0x00BD;
constexpr quint16 BoolErr = 0x0205;
constexpr quint16 Formula = 0x0006;
constexpr quint16 String = 0x0207;
constexpr quint16 SharedFormula = 0x04BC;
constexpr quint16 Array = 0x0221;
constexpr quint16 Table = 0x0236;
} // namespace Record

constexpr quint16 biff8 = 0x0600;
constexpr quint16 biff5 = 0x0500;
constexpr quint16 globalsSubstream = 0x0005;
constexpr quint8 worksheet = 0x00;

QString errorText(quint8 code)
{
    switch (code) {
    case 0x00: return QStringLiteral("#NULL!");
    case 0x07: return QStringLiteral("#DIV/0!");
    case 0x0F: return QStringLiteral("#VALUE!");
    case 0x17: return QStringLiteral("#REF!");
    case 0x1D: return QStringLiteral("#NAME?");
    case 0x24: return QStringLiteral("#NUM!");
    case 0x2B: return QStringLiteral("#GETTING_DATA");
    // 0x2A, and codes no spreadsheet program writes: the value is not available.
    default: return QStringLiteral("#N/A");
    }
}

// An RK value: a number packed into 30 bits, either the high bits of a
// double or an integer, possibly scaled by 100.
double rkNumber(quint32 rk)
{
    double number = rk & 0x02 ? double(qint32(rk) >> 2) : std::bit_cast<double>(quint64(rk & 0xFFFFFFFCu) << 32);
    if (rk & 0x01)
        number /= 100;
    return number;
}

XlsCell numberCell(double number)
{
    XlsCell cell;
    cell.kind = XlsCell::Kind::Number;
    cell.number = number;
    return cell;
}

XlsCell textCell(const QString &text)
{
    XlsCell cell;
    cell.text = text;
    return cell;
}

XlsCell booleanCell(bool value)
{
    XlsCell cell;
    cell.kind = XlsCell::Kind::Boolean;
    cell.number = value ? 1 : 0;
    cell.text = value ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    return cell;
}

XlsCell errorCell(quint8 code)
{
    XlsCell cell;
    cell.kind = XlsCell::Kind::Error;
    cell.text = errorText(code);
    return cell;
}

} // namespace

// Reads one worksheet's substream, from its BOF to the EOF that closes it.
// Substreams nested in it (an embedded chart's) are counted, not recursed
// into, and their records skipped.
class XlsWorkbook::SheetReader
{
public:
    using Callback = std::function<bool(int, int, const XlsCell &)>;

    SheetReader(XlsWorkbook &book, const Sheet &sheet, const Callback &cell)
        : m_book(book), m_sheet(sheet), m_cell(cell),
          m_records(QByteArrayView(book.m_stream).first(sheet.end), sheet.offset)
    {
        m_codePage.set(book.m_codePage);
    }

    bool read()
    {
        if (!m_records.next() || m_records.type() != Record::Bof)
            return damaged(QStringLiteral("does not start with BOF"));
        int depth = 1;
        while (m_records.next()) {
            const quint16 type = m_records.type();
            if (type == Record::Bof) {
                ++depth;
            } else if (type == Record::Eof) {
                if (--depth == 0)
                    return true;
            } else if (depth == 1 && !readRecord(type)) {
                return false;
            }
        }
        return damaged(m_records.damaged() ? QStringLiteral("has a record that runs past its end")
                                           : QStringLiteral("has no EOF"));
    }

private:
    // Where a formula's text result goes: the STRING record after it.
    struct Pending
    {
        int row = 0;
        int column = 0;
        int xf = 0;
    };

    bool damaged(const QString &what)
    {
        return m_book.fail(Failure::Damaged, QStringLiteral("sheet \"%1\" %2").arg(m_sheet.name, what));
    }

    bool cutShort() { return damaged(QStringLiteral("has a cell record cut short")); }

    bool deliver(int row, int column, int xf, XlsCell cell)
    {
        m_book.setFormat(xf, &cell);
        return m_cell(row, column, cell);
    }

    bool readRecord(quint16 type)
    {
        // A formula's STRING may follow only its shared or array formula.
        if (type != Record::String && type != Record::SharedFormula && type != Record::Array
            && type != Record::Table)
            m_pending.reset();
        switch (type) {
        case Record::Number:
        case Record::Rk:
        case Record::BoolErr:
        case Record::LabelSst:
            return readValue(type);
        case Record::MulRk:
            return readMulRk();
        case Record::Label:
        case Record::RString:
            return readLabel();
        case Record::Formula:
            return readFormula();
        case Record::String:
            return readString();
        default:
            return true;
        }
    }

    // A record with one cell and a value of a fixed size.
    bool readValue(quint16 type)
    {
        XlsPieceReader in({m_records.body()});
        const int row = in.u16();
        const int column = in.u16();
        const int xf = in.u16();
        XlsCell cell;
        if (type == Record::Number) {
            cell = numberCell(in.f64());
        } else if (type == Record::Rk) {
            cell = numberCell(rkNumber(in.u32()));
        } else if (type == Record::BoolErr) {
            const quint8 value = in.u8();
            cell = in.u8() ? errorCell(value) : booleanCell(value != 0);
        } else {
            const quint32 index = in.u32();
            if (in.ok() && index >= quint64(m_book.m_sharedStarts.size()))
                return damaged(QStringLiteral("refers to shared string %1 of %2")
                                   .arg(index)
                                   .arg(m_book.m_sharedStarts.size()));
            if (in.ok())
                cell = textCell(m_book.sharedString(index));
        }
        return in.ok() ? deliver(row, column, xf, cell) : cutShort();
    }

    bool readMulRk()
    {
        const QByteArrayView body = m_records.body();
        if (body.size() < 6)
            return cutShort();
        XlsPieceReader in({body});
        const int row = in.u16();
        const int first = in.u16();
        // Six bytes a cell between the first column and the last one's number.
        const qsizetype count = (body.size() - 6) / 6;
        for (qsizetype i = 0; i < count; ++i) {
            const int xf = in.u16();
            if (!deliver(row, first + int(i), xf, numberCell(rkNumber(in.u32()))))
                return false;
        }
        return true;
    }

    bool readLabel()
    {
        XlsPieceReader in(m_records.bodyWithContinues());
        const int row = in.u16();
        const int column = in.u16();
        const int xf = in.u16();
        const QString text = m_book.readString(in, 2, m_codePage);
        return in.ok() ? deliver(row, column, xf, textCell(text)) : cutShort();
    }

    bool readFormula()
    {
        const QByteArrayView body = m_records.body();
        if (body.size() < 14)
            return cutShort();
        const int row = le16(body, 0);
        const int column = le16(body, 2);
        const int xf = le16(body, 4);
        const QByteArrayView result = body.sliced(6, 8);
        // The cached result: a double, or a marker 0xFFFF in its top bytes
        // with the kind of result in its first byte.
        if (le16(result, 6) != 0xFFFF)
            return deliver(row, column, xf,
                        numberCell(std::bit_cast<double>(le64(result, 0))));
        switch (quint8(result.at(0))) {
        case 0:
            m_pending = Pending{row, column, xf};
            return true;
        case 1:
            return deliver(row, column, xf, booleanCell(result.at(2) != 0));
        case 2:
            return deliver(row, column, xf, errorCell(quint8(result.at(2))));
        case 3:
            return deliver(row, column, xf, textCell(QString()));
        default:
            return true;
        }
    }

    bool readString()
    {
        if (!m_pending)
            return true;
        const Pending pending = *m_pending;
        m_pending.reset();
        XlsPieceReader in(m_records.bodyWithContinues());
        const QString text = m_book.readString(in, 2, m_codePage);
        if (!in.ok())
            return damaged(QStringLiteral("has a formula's STRING record cut short"));
        return deliver(pending.row, pending.column, pending.xf, textCell(text));
    }

    XlsWorkbook &m_book;
    const Sheet &m_sheet;
    const Callback &m_cell;
    XlsRecordCursor m_records;
    XlsCodePage m_codePage;
    std::optional<Pending> m_pending;
};

XlsWorkbook::XlsWorkbook(qint64 maxMemory) : m_maxMemory(maxMemory) {}

bool XlsWorkbook::fail(Failure failure, const QString &detail)
{
    m_failure = failure;
    m_detail = detail;
    return false;
}

bool XlsWorkbook::addMemory(qint64 bytes)
{
    m_memory += bytes;
    if (m_memory <= m_maxMemory)
        return true;
    return fail(Failure::TooLarge, QStringLiteral("the workbook takes more than %1 bytes in memory").arg(m_maxMemory));
}

bool XlsWorkbook::open(const QByteArray &file)
{
    *this = XlsWorkbook(m_maxMemory);
    XlsCompoundFile container;
    if (!container.open(file))
        return fail(container.failure() == XlsCompoundFile::Failure::NotCompoundFile ? Failure::NotXls
                                                                                      : Failure::Damaged,
                    container.detail());
    // Excel 97 and later name the stream Workbook, Excel 5.0/95 Book; a file
    // saved for both holds both.
    QString name;
    for (const QString &candidate : {QStringLiteral("Workbook"), QStringLiteral("Book")}) {
        if (name.isEmpty() && container.hasStream(candidate))
            name = candidate;
    }
    // A password-protected Office 2007+ workbook is a compound file holding
    // the encrypted package instead.
    if (name.isEmpty() && container.hasStream(QStringLiteral("EncryptedPackage")))
        return fail(Failure::Encrypted, QStringLiteral("an encrypted Office package"));
    if (name.isEmpty())
        return fail(Failure::NotXls, QStringLiteral("no Workbook or Book stream"));
    if (!container.readStream(name, &m_stream))
        return fail(Failure::Damaged, container.detail());
    return addMemory(m_stream.size()) && readGlobals();
}

bool XlsWorkbook::readGlobals()
{
    XlsRecordCursor records(m_stream, 0);
    if (!records.next() || records.type() != Record::Bof || records.body().size() < 4)
        return fail(Failure::Damaged, QStringLiteral("the workbook stream does not start with BOF"));
    const quint16 version = le16(records.body(), 0);
    if (version != biff8 && version != biff5)
        return fail(Failure::NotXls, QStringLiteral("BIFF version 0x%1 is not BIFF5 or BIFF8").arg(version, 0, 16));
    if (le16(records.body(), 2) != globalsSubstream)
        return fail(Failure::Damaged, QStringLiteral("the workbook stream does not start with its globals"));
    m_biff8 = version == biff8;

    XlsCodePage codePage;
    while (records.next()) {
        const QByteArrayView body = records.body();
        switch (records.type()) {
        case Record::Eof:
            return placeSheets();
        case Record::FilePass:
            return fail(Failure::Encrypted, QStringLiteral("the workbook is encrypted"));
        case Record::CodePage:
        case Record::DateMode:
        case Record::Xf:
            if (body.size() < (records.type() == Record::Xf ? 4 : 2))
                return fail(Failure::Damaged, QStringLiteral("a globals record is cut short"));
            if (records.type() == Record::CodePage) {
                m_codePage = le16(body, 0);
                codePage.set(m_codePage);
            } else if (records.type() == Record::DateMode) {
                m_date1904 = le16(body, 0) != 0;
            } else {
                m_xfFormats.append(le16(body, 2));
            }
            break;
        case Record::BoundSheet:
            if (!readSheetRecord(body, codePage))
                return false;
            break;
        case Record::Sst:
            if (m_biff8 && !readSharedStrings(records.bodyWithContinues()))
                return false;
            break;
        case Record::Format:
            if (!readFormat(body, codePage))
                return false;
            break;
        default:
            break;
        }
    }
    return fail(Failure::Damaged, records.damaged() ? QStringLiteral("a record runs past the workbook stream")
                                                    : QStringLiteral("the workbook globals have no EOF"));
}

// Each worksheet is read at most up to where the next one starts: however
// its sheets point into the stream, reading all of them reads no part of it
// twice.
bool XlsWorkbook::placeSheets()
{
    QList<quint32> starts;
    for (const Sheet &sheet : std::as_const(m_sheets))
        starts.append(sheet.offset);
    std::sort(starts.begin(), starts.end());
    if (std::adjacent_find(starts.cbegin(), starts.cend()) != starts.cend())
        return fail(Failure::Damaged, QStringLiteral("two sheets start at the same place"));
    for (Sheet &sheet : m_sheets) {
        const auto next = std::upper_bound(starts.cbegin(), starts.cend(), sheet.offset);
        sheet.end = next == starts.cend() ? m_stream.size() : qMin<qsizetype>(*next, m_stream.size());
    }
    return true;
}

QString XlsWorkbook::readString(XlsPieceReader &in, int lengthBytes, XlsCodePage &codePage) const
{
    const int length = lengthBytes == 1 ? in.u8() : in.u16();
    if (!m_biff8)
        return codePage.decode(in.bytes(length));
    const bool wide = in.u8() & 0x01;
    QString text;
    in.appendChars(length, wide, &text);
    return text;
}

bool XlsWorkbook::readSheetRecord(QByteArrayView body, XlsCodePage &codePage)
{
    XlsPieceReader in({body});
    Sheet sheet;
    sheet.offset = in.u32();
    in.u8();    // visibility: hidden sheets are read too
    const quint8 type = in.u8();
    sheet.name = readString(in, 1, codePage);
    if (!in.ok())
        return fail(Failure::Damaged, QStringLiteral("a BOUNDSHEET record is cut short"));
    if (type == worksheet)
        m_sheets.append(sheet);
    return addMemory(2 * sheet.name.size() + qint64(sizeof(Sheet)));
}

bool XlsWorkbook::readSharedStrings(QList<QByteArrayView> pieces)
{
    XlsPieceReader in(std::move(pieces));
    in.u32();   // how often strings are used
    // How many strings there are: only a bound on the loop, never a size
    // to reserve, since every string must still be there to be read.
    const quint32 count = in.u32();
    if (!in.ok())
        return fail(Failure::Damaged, QStringLiteral("the SST record is cut short"));
    for (quint32 i = 0; i < count && !in.atEnd(); ++i) {
        const int length = in.u16();
        const quint8 flags = in.u8();
        const int runs = flags & 0x08 ? in.u16() : 0;
        const quint32 phonetic = flags & 0x04 ? in.u32() : 0;
        const qsizetype start = m_sharedText.size();
        in.appendChars(length, flags & 0x01, &m_sharedText);
        // Rich text runs and phonetic data follow the characters; not needed.
        in.skip(4 * qint64(runs) + phonetic);
        if (!in.ok())
            return fail(Failure::Damaged, QStringLiteral("the SST runs past its records"));
        m_sharedStarts.append(start);
        if (!addMemory(2 * (m_sharedText.size() - start) + qint64(sizeof(qsizetype))))
            return false;
    }
    return true;
}

bool XlsWorkbook::readFormat(QByteArrayView body, XlsCodePage &codePage)
{
    XlsPieceReader in({body});
    const int id = in.u16();
    const QString code = readString(in, m_biff8 ? 2 : 1, codePage);
    if (!in.ok())
        return fail(Failure::Damaged, QStringLiteral("a FORMAT record is cut short"));
    m_formats.insert(id, code);
    return addMemory(2 * code.size() + 32);
}

QString XlsWorkbook::sharedString(qsizetype index) const
{
    const qsizetype start = m_sharedStarts.at(index);
    const qsizetype end = index + 1 < m_sharedStarts.size() ? m_sharedStarts.at(index + 1) : m_sharedText.size();
    return m_sharedText.mid(start, end - start);
}

void XlsWorkbook::setFormat(int xf, XlsCell *cell) const
{
    cell->formatId = xf < m_xfFormats.size() ? m_xfFormats.at(xf) : 0;
    cell->formatCode = cellFormatCode(cell->formatId, m_formats.value(cell->formatId));
}

QStringList XlsWorkbook::sheetNames() const
{
    QStringList names;
    for (const Sheet &sheet : m_sheets)
        names.append(sheet.name);
    return names;
}

bool XlsWorkbook::readSheet(int index, const std::function<bool(int, int, const XlsCell &)> &cell)
{
    if (index < 0 || index >= m_sheets.size())
        return fail(Failure::NoSuchSheet, QStringLiteral("no sheet %1").arg(index));
    m_failure = Failure::None;
    m_detail.clear();
    return SheetReader(*this, m_sheets.at(index), cell).read();
}

} // namespace moque::sheets
