#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringDecoder>

namespace moque::sheets {

// The records of a workbook stream (BIFF5 or BIFF8), one after another from
// an offset: each is a 2-byte type, a 2-byte length and that many bytes.
class XlsRecordCursor
{
public:
    XlsRecordCursor(QByteArrayView stream, qsizetype offset);

    // Moves to the next record; false at the end of the stream, or when the
    // record runs past it (then damaged()).
    bool next();
    bool damaged() const { return m_damaged; }

    quint16 type() const { return m_type; }
    QByteArrayView body() const { return m_body; }
    // The body and those of the CONTINUE records right after it, which a
    // long string or table runs on into; moves past them.
    QList<QByteArrayView> bodyWithContinues();

private:
    bool peekContinue() const;

    QByteArrayView m_stream;
    qsizetype m_next = 0;
    quint16 m_type = 0;
    QByteArrayView m_body;
    bool m_damaged = false;
};

// Reads little-endian values from a record body that may run on over
// CONTINUE records (its pieces). A read past the last piece fails, and so
// does every read after it: callers check ok() once after a group of reads,
// and a value read after a failure is 0.
class XlsPieceReader
{
public:
    explicit XlsPieceReader(QList<QByteArrayView> pieces);

    quint8 u8();
    quint16 u16();
    quint32 u32();
    double f64();
    void skip(qint64 bytes);

    // Appends BIFF8 characters, 8-bit (the low bytes of UTF-16) or 16-bit.
    // Where they run on into the next piece, that piece starts with a flag
    // byte that says again which.
    void appendChars(int count, bool wide, QString *text);
    // BIFF5 text: count bytes in the workbook's code page.
    QByteArray bytes(int count);

    bool atEnd() const;
    bool ok() const { return m_ok; }

private:
    qsizetype leftInPiece() const;
    bool nextPiece();

    QList<QByteArrayView> m_pieces;
    qsizetype m_piece = 0;
    qsizetype m_at = 0;
    bool m_ok = true;
};

// Decodes the 8-bit text of a BIFF5 workbook in the code page its CODEPAGE
// record names.
class XlsCodePage
{
public:
    XlsCodePage();
    void set(int codePage);
    QString decode(QByteArrayView bytes);

private:
    QStringDecoder m_decoder;
};

} // namespace moque::sheets
