#include "sheets/XlsRecords.h"

#include "sheets/XlsBytes.h"

#include <QtEndian>

#include <bit>

namespace moque::sheets {

namespace {

constexpr quint16 continueRecord = 0x003C;

// The decoder for a Windows or Mac code page number, as the CODEPAGE record
// gives it.
QByteArray decoderName(int codePage)
{
    switch (codePage) {
    case 1200:
        return "UTF-16LE";
    case 936:
    case 10008:     // Mac Chinese Simplified: GB 2312 in EUC form
        return "GB18030";
    case 950:
    case 10002:     // Mac Chinese Traditional
        return "Big5";
    case 932:
    case 10001:     // Mac Japanese
        return "Shift_JIS";
    case 949:
    case 10003:     // Mac Korean
        return "windows-949";
    case 10000:
    case 32768:     // Mac Roman, as old Mac versions of Excel number it
        return "macintosh";
    case 10006:
        return "x-mac-greek";
    case 10007:
        return "x-mac-cyrillic";
    case 10029:
        return "x-mac-centraleurroman";
    case 10081:
        return "x-mac-turkish";
    case 367:       // US-ASCII, of which windows-1252 is a superset
    case 32769:     // Windows Latin 1, as Excel 2.x numbers it
        return "windows-1252";
    default:
        break;
    }
    for (const char *prefix : {"windows-", "IBM"}) {
        const QByteArray name = prefix + QByteArray::number(codePage);
        if (QStringDecoder(name.constData()).isValid())
            return name;
    }
    return {};
}

} // namespace

XlsRecordCursor::XlsRecordCursor(QByteArrayView stream, qsizetype offset)
    : m_stream(stream), m_next(offset)
{
}

bool XlsRecordCursor::next()
{
    if (m_next + 4 > m_stream.size()) {
        // A few bytes after the last record are a record cut short.
        m_damaged = m_next < m_stream.size();
        return false;
    }
    const qsizetype length = le16(m_stream, m_next + 2);
    if (m_next + 4 + length > m_stream.size()) {
        m_damaged = true;
        return false;
    }
    m_type = le16(m_stream, m_next);
    m_body = m_stream.sliced(m_next + 4, length);
    m_next += 4 + length;
    return true;
}

bool XlsRecordCursor::peekContinue() const
{
    return m_next + 4 <= m_stream.size() && le16(m_stream, m_next) == continueRecord;
}

QList<QByteArrayView> XlsRecordCursor::bodyWithContinues()
{
    const quint16 type = m_type;
    QList<QByteArrayView> pieces{m_body};
    while (peekContinue() && next())
        pieces.append(m_body);
    m_type = type;
    return pieces;
}

XlsPieceReader::XlsPieceReader(QList<QByteArrayView> pieces) : m_pieces(std::move(pieces)) {}

qsizetype XlsPieceReader::leftInPiece() const
{
    return m_piece < m_pieces.size() ? m_pieces.at(m_piece).size() - m_at : 0;
}

bool XlsPieceReader::nextPiece()
{
    if (m_piece + 1 >= m_pieces.size()) {
        m_ok = false;
        return false;
    }
    ++m_piece;
    m_at = 0;
    return true;
}

bool XlsPieceReader::atEnd() const
{
    if (leftInPiece() > 0)
        return false;
    for (qsizetype piece = m_piece + 1; piece < m_pieces.size(); ++piece) {
        if (!m_pieces.at(piece).isEmpty())
            return false;
    }
    return true;
}

quint8 XlsPieceReader::u8()
{
    while (m_ok && leftInPiece() == 0)
        nextPiece();
    if (!m_ok)
        return 0;
    return quint8(m_pieces.at(m_piece).at(m_at++));
}

quint16 XlsPieceReader::u16()
{
    const quint16 low = u8();
    return quint16(low | u8() << 8);
}

quint32 XlsPieceReader::u32()
{
    const quint32 low = u16();
    return low | quint32(u16()) << 16;
}

double XlsPieceReader::f64()
{
    const quint64 low = u32();
    return std::bit_cast<double>(low | quint64(u32()) << 32);
}

void XlsPieceReader::skip(qint64 bytes)
{
    while (m_ok && bytes > 0) {
        const qint64 step = qMin<qint64>(bytes, leftInPiece());
        m_at += step;
        bytes -= step;
        if (bytes > 0)
            nextPiece();
    }
}

void XlsPieceReader::appendChars(int count, bool wide, QString *text)
{
    while (m_ok && count > 0) {
        const qsizetype fit = wide ? leftInPiece() / 2 : leftInPiece();
        if (fit == 0) {
            // On to the next piece and its flag byte; a lone byte left here
            // would be half a character, which no writer splits.
            if (!nextPiece())
                return;
            if (leftInPiece() == 0) {
                m_ok = false;
                return;
            }
            wide = u8() & 0x01;
            continue;
        }
        const qsizetype take = qMin<qsizetype>(fit, count);
        const char *from = m_pieces.at(m_piece).constData() + m_at;
        if (wide) {
            const qsizetype start = text->size();
            text->resize(start + take);
            QChar *to = text->data() + start;
            for (qsizetype i = 0; i < take; ++i)
                to[i] = QChar(qFromLittleEndian<quint16>(from + 2 * i));
            m_at += 2 * take;
        } else {
            text->append(QLatin1String(from, take));
            m_at += take;
        }
        count -= int(take);
    }
}

QByteArray XlsPieceReader::bytes(int count)
{
    QByteArray bytes;
    while (m_ok && count > 0) {
        const qsizetype take = qMin<qsizetype>(count, leftInPiece());
        bytes.append(m_pieces.at(m_piece).constData() + m_at, take);
        m_at += take;
        count -= int(take);
        if (count > 0)
            nextPiece();
    }
    return m_ok ? bytes : QByteArray();
}

// Without a CODEPAGE record, or with one no decoder here knows, text is read
// as GB18030: the code page of the people this program is for, and plain
// ASCII reads the same in it.
XlsCodePage::XlsCodePage() : m_decoder("GB18030", QStringConverter::Flag::Stateless) {}

void XlsCodePage::set(int codePage)
{
    const QByteArray name = decoderName(codePage);
    if (!name.isEmpty())
        m_decoder = QStringDecoder(name.constData(), QStringConverter::Flag::Stateless);
}

QString XlsCodePage::decode(QByteArrayView bytes)
{
    return m_decoder.decode(bytes);
}

} // namespace moque::sheets
