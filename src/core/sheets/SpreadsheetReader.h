#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

namespace moque::sheets {

// What a reader accepts before it gives up with "too large": a hostile or
// broken file must not take unbounded memory or time.
struct SpreadsheetLimits
{
    // The most bytes read from one zip entry (declared or while inflating) or
    // from a whole .csv/.xls file.
    qint64 maxBytes = 512LL * 1024 * 1024;
    // A sheet's full size: 1,048,576 rows of 16,384 columns.
    int maxRows = 1'048'576;
    int maxColumns = 16384;
    // Rows times columns of the padded result.
    qint64 maxCells = 20'000'000;
    // What the text read may take in memory: every cell (padding included),
    // every shared string and style of an .xlsx, at what its QString costs.
    qint64 maxMemory = 1024LL * 1024 * 1024;
    // The longest piece of an .xlsx's XML held at once: a tag, a text, a run
    // of spaces (the XML parser keeps a whole one in memory); also the longest
    // text of one cell, and of one row of an .xls.
    qint64 maxXmlToken = 8LL * 1024 * 1024;
};

// Reads every cell of a worksheet as text, from .xlsx, .xls or .csv. The real
// format comes from the file's bytes, not its name: a zip is read as .xlsx, an
// OLE compound file as .xls, anything else as comma (or tab) separated text,
// except that a file named as a workbook (.xls, .xlsx, ...) must be one.
//
// Rows come in sheet order and are padded: every row has as many cells as the
// last column holding a non-empty cell; rows after the last non-empty one are
// dropped, empty rows between them are kept. Cells show what the spreadsheet
// program shows: numbers and dates under their cell's number format (see
// NumberFormat.h), formulas by their last computed result, booleans as
// TRUE/FALSE, error values as #DIV/0! and the like. A .csv's cells are its text.
//
// On any failure nothing is returned and errorString() names the file and the
// cause in one line, one message per Failure.
class SpreadsheetReader
{
public:
    enum class Format { None, Xlsx, Xls, Csv };
    enum class Failure {
        None,
        CannotOpen,
        NotSpreadsheet,
        Truncated,
        Encrypted,
        TooLarge,
        NoSuchSheet,
        Damaged,
    };

    explicit SpreadsheetReader(const SpreadsheetLimits &limits = {});
    ~SpreadsheetReader();
    SpreadsheetReader(const SpreadsheetReader &) = delete;
    SpreadsheetReader &operator=(const SpreadsheetReader &) = delete;

    // Opens the file and lists its worksheets; false with errorString() set.
    bool open(const QString &path);
    void close();
    bool isOpen() const;

    QString fileName() const;
    Format format() const;
    // Worksheet names in workbook order; a .csv has one, named after the file.
    QStringList sheetNames() const;

    // The cells of a worksheet by position or by name; empty with
    // errorString() set when it cannot be read.
    QList<QStringList> readSheet(int index);
    QList<QStringList> readSheet(const QString &name);

    Failure failure() const;
    QString errorString() const;

    // Opens the file and reads its first worksheet in one go.
    static QList<QStringList> readFirstSheet(const QString &path, QString *error = nullptr,
                                             const SpreadsheetLimits &limits = {});

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace moque::sheets
