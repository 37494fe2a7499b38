#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

namespace moque::batch {

// What a reader accepts before it gives up with "too large": a hostile or
// broken file must not take unbounded memory or time.
struct SpreadsheetLimits
{
    // The most bytes read from one zip entry (declared or while inflating) or
    // from a whole .csv/.xls file.
    qint64 maxBytes = 200LL * 1024 * 1024;
    int maxRows = 1'000'000;
    int maxColumns = 16384;
    // Rows times columns of the padded result.
    qint64 maxCells = 20'000'000;
    // What the text read may take in memory: every cell (padding included),
    // every shared string and style of an .xlsx, at what its QString costs.
    qint64 maxMemory = 200LL * 1024 * 1024;
    // The longest piece of an .xlsx's XML held at once: a tag, a text, a run
    // of spaces (the XML parser keeps a whole one in memory); also the longest
    // text of one cell, and of one row of an .xls.
    qint64 maxXmlToken = 8LL * 1024 * 1024;
    // An .xls is read by a child process (see SpreadsheetReader) that gets at
    // most this much address space and time before its file counts as damaged.
    qint64 xlsReaderMemory = 1024LL * 1024 * 1024;
    int xlsReaderMilliseconds = 60'000;
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
// cause in one line, one message per Failure.
//
// The .xls library (freexl) is not ours and reads past its buffers on some
// damaged files, so by default an .xls is read by a child process, the
// command-line program's `sheet` command beside the running program, under
// the limits above: a crash, a kill or a timeout there is a damaged file, not
// a lost bill here. .xlsx and .csv are read in this process.
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
        NoXlsReader,
    };
    enum class XlsReading { ChildProcess, InProcess };

    explicit SpreadsheetReader(const SpreadsheetLimits &limits = {},
                               XlsReading xlsReading = XlsReading::ChildProcess);
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

    // The program that reads an .xls for this process; empty (the default)
    // means moque-cli in the running program's folder.
    static void setXlsReaderProgram(const QString &program);
    static QString xlsReaderProgram();

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace moque::batch
