#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

namespace moque::batch {

// What a reader accepts before it gives up with "too large": a hostile or
// broken file must not take unbounded memory.
struct SpreadsheetLimits
{
    // The most bytes read into memory from one zip entry (declared or while
    // inflating) or from a whole .csv/.xls file.
    qint64 maxBytes = 200LL * 1024 * 1024;
    int maxRows = 1'000'000;
    int maxColumns = 16384;
    // Rows times columns of the padded result.
    qint64 maxCells = 20'000'000;
};

// Reads every cell of a worksheet as text, from .xlsx, .xls or .csv. The real
// format comes from the file's bytes, not its name: a zip is read as .xlsx, an
// OLE compound file as .xls, anything else as comma (or tab) separated text,
// except that a file named as a workbook (.xls, .xlsx, ...) must be one.
//
// Rows come in sheet order and are padded: every row has as many cells as the
// last column holding a non-empty cell; rows after the last non-empty one are
// dropped, empty rows between them are kept. Cells show what the sheet shows:
// dates as yyyy-MM-dd (with HH:mm, or HH:mm:ss when seconds are shown, for a
// time), integers without ".0", other numbers as their shortest exact text,
// booleans as TRUE/FALSE.
//
// On any failure nothing is returned and errorString() names the file and the
// cause, one message per Failure.
class SpreadsheetReader
{
public:
    enum class Format { None, Xlsx, Xls, Csv };
    enum class Failure { None, CannotOpen, NotSpreadsheet, Truncated, Encrypted, TooLarge, NoSuchSheet };

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

} // namespace moque::batch
