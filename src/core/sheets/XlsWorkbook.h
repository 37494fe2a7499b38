#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace moque::sheets {

class XlsCodePage;
class XlsPieceReader;

// One cell's value as the workbook stores it.
struct XlsCell
{
    enum class Kind { Number, Text, Boolean, Error };
    Kind kind = Kind::Text;
    // Number: the value (a date or time is its serial day number); Boolean: 1 or 0.
    double number = 0;
    // Text: the text (a formula's empty text result is an empty Text cell);
    // Boolean: TRUE or FALSE; Error: #DIV/0!, #N/A, #VALUE!, #REF!, #NAME?, #NUM!, #NULL!.
    QString text;
    // The cell's number format code, as cellFormatCode() picks it from the
    // workbook's FORMAT records and the built-in ones.
    QString formatCode;
    // The format's number, for callers that read built-in ones their own way.
    int formatId = 0;
};

// Reads an Excel 97-2003 (BIFF8) or Excel 5.0/95 (BIFF5/BIFF7) workbook from
// the bytes of its file: worksheet names, the date system, and every cell
// with a value, formulas by their cached results.
//
// Any input is safe: every offset and length is checked, nothing recurses
// on the file's structure, loops in it are damage, and memory stays within a
// small multiple of the file's size (and within maxMemory). Records it has
// no use for (charts, drawings, objects, sheets of other kinds) are skipped
// by their length.
class XlsWorkbook
{
public:
    enum class Failure {
        None,
        NotXls,         // not a compound file, no workbook stream in it, or older than BIFF5
        Encrypted,      // the workbook, or the Office package in the file, has a password to open it
        Damaged,        // a structure runs past its end, loops or contradicts itself
        TooLarge,       // the workbook stream and its strings would pass maxMemory
        NoSuchSheet,    // readSheet() was given an index outside sheetNames()
    };

    // maxMemory bounds what the workbook stream, its shared strings and its
    // formats take in memory (strings at what their QString costs).
    explicit XlsWorkbook(qint64 maxMemory = 200LL * 1024 * 1024);

    // Reads the workbook's container and its globals; false with failure().
    bool open(const QByteArray &file);

    // Worksheet names in workbook order, hidden ones too; chart sheets,
    // macro sheets and modules are not worksheets.
    QStringList sheetNames() const;
    // Whether date serials count from 1904-01-01 instead of 1899-12-31.
    bool date1904() const { return m_date1904; }

    // Calls cell for every cell of worksheet index with a value, in file
    // order (formatted empty cells are left out). Returns false on damage
    // (with failure(); cells before it have been handed over) or when cell
    // returned false (failure() stays None).
    bool readSheet(int index, const std::function<bool(int row, int column, const XlsCell &cell)> &cell);

    Failure failure() const { return m_failure; }
    // A short English reason for logs, e.g. "the SST runs past its records".
    QString detail() const { return m_detail; }

private:
    struct Sheet
    {
        QString name;
        quint32 offset = 0;     // of its BOF in the workbook stream
        qsizetype end = 0;      // where the next worksheet starts
    };
    class SheetReader;

    bool fail(Failure failure, const QString &detail);
    bool readGlobals();
    bool readSheetRecord(QByteArrayView body, XlsCodePage &codePage);
    bool placeSheets();
    bool readSharedStrings(QList<QByteArrayView> pieces);
    bool readFormat(QByteArrayView body, XlsCodePage &codePage);
    bool addMemory(qint64 bytes);
    // A string whose length field has lengthBytes bytes: BIFF8 characters,
    // or BIFF5 bytes in the workbook's code page.
    QString readString(XlsPieceReader &in, int lengthBytes, XlsCodePage &codePage) const;
    QString sharedString(qsizetype index) const;
    void setFormat(int xf, XlsCell *cell) const;

    qint64 m_maxMemory;
    qint64 m_memory = 0;
    QByteArray m_stream;
    bool m_biff8 = true;
    bool m_date1904 = false;
    int m_codePage = 0;
    QList<Sheet> m_sheets;
    // The shared strings, one after another, and where each starts.
    QString m_sharedText;
    QList<qsizetype> m_sharedStarts;
    QList<quint16> m_xfFormats;
    QHash<int, QString> m_formats;
    Failure m_failure = Failure::None;
    QString m_detail;
};

} // namespace moque::sheets
