// Writes a 10,000-row, 20-column table as .xlsx and .csv into a temporary
// folder, reads each back with the spreadsheet reader and prints the times.
// Targets on the development machine: .xlsx read under 1 s, .csv under 0.3 s.
// Then has moque-cli (beside this program) read a sheet that uses all its
// 1,048,576 rows, three columns, and prints its time and peak memory: the
// reader's limits must let it through, in bounded memory.

#include "sheets/SpreadsheetReader.h"
#include "sheets/XlsxWriter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>



namespace {

constexpr int rowCount = 10000;
constexpr int columnCount = 20;

QString cellText(int row, int column)
{
    switch (column % 4) {
    case 0:
        return QStringLiteral("北京墨雀科技有限公司%1").arg(row);
    case 1:
        return QStringLiteral("ITEM-%1-%2").arg(row).arg(column);
    case 2:
        return QString::number(row * 13.25 + column, 'f', 2);
    default:
        return QStringLiteral("%1").arg(row, 6, 10, QLatin1Char('0'));
    }
}

QString csvField(const QString &text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n'))
        return text;
    return u'"' + QString(text).replace(QStringLiteral("\""), QStringLiteral("\"\"")) + u'"';
}

// VmHWM of a running process: the most memory it has held.
long peakMemoryKb(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

double seconds(const QElapsedTimer &timer)
{
    return timer.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;

    QStringList titles;
    for (int c = 0; c < columnCount; ++c)
        titles.append(QStringLiteral("字段%1").arg(c + 1));
    QList<QStringList> rows;
    rows.reserve(rowCount);
    for (int r = 0; r < rowCount; ++r) {
        QStringList cells;
        for (int c = 0; c < columnCount; ++c)
            cells.append(cellText(r, c));
        rows.append(cells);
    }

    const QString xlsxPath = dir.filePath(QStringLiteral("bench.xlsx"));
    QElapsedTimer timer;
    timer.start();
    QString error;
    if (!moque::sheets::writeXlsxTable(xlsxPath, titles, rows, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const double xlsxWrite = seconds(timer);

    const QString csvPath = dir.filePath(QStringLiteral("bench.csv"));
    timer.restart();
    {
        QString text;
        const auto appendLine = [&text](const QStringList &cells) {
            for (qsizetype c = 0; c < cells.size(); ++c) {
                if (c > 0)
                    text += u',';
                text += csvField(cells.at(c));
            }
            text += QStringLiteral("\r\n");
        };
        appendLine(titles);
        for (const QStringList &cells : std::as_const(rows))
            appendLine(cells);
        QFile file(csvPath);
        if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0)
            return 1;
    }
    const double csvWrite = seconds(timer);

    const auto readBack = [&](const QString &path, double *elapsed) {
        QElapsedTimer readTimer;
        readTimer.start();
        QString readError;
        const QList<QStringList> read = moque::sheets::SpreadsheetReader::readFirstSheet(path, &readError);
        *elapsed = seconds(readTimer);
        const bool same = read.size() == rowCount + 1 && read.first() == titles && read.mid(1) == rows;
        if (!same)
            std::fprintf(stderr, "%s read back differently %s\n", qPrintable(path), qPrintable(readError));
        return same;
    };
    double xlsxRead = 0;
    double csvRead = 0;
    const bool xlsxSame = readBack(xlsxPath, &xlsxRead);
    const bool csvSame = readBack(csvPath, &csvRead);

    std::printf("spreadsheet %d rows x %d columns\n", rowCount, columnCount);
    std::printf("xlsx: write %.3f s, read %.3f s (target < 1 s), %lld bytes\n", xlsxWrite, xlsxRead,
                static_cast<long long>(QFile(xlsxPath).size()));
    std::printf("csv:  write %.3f s, read %.3f s (target < 0.3 s), %lld bytes\n", csvWrite, csvRead,
                static_cast<long long>(QFile(csvPath).size()));

    // The full sheet: a name, an amount and a zero-padded code in every row.
    const int fullRows = 1'048'576;
    QList<QStringList> full;
    full.reserve(fullRows - 1);
    for (int r = 1; r < fullRows; ++r)
        full.append({QStringLiteral("收件人%1").arg(r), QString::number(r * 1.25), QStringLiteral("%1").arg(r, 6, 10, QLatin1Char('0'))});
    const QString fullPath = dir.filePath(QStringLiteral("full.xlsx"));
    if (!moque::sheets::writeXlsxTable(fullPath, {QStringLiteral("收件人"), QStringLiteral("金额"), QStringLiteral("编号")},
                                      full, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    full.clear();
    full.squeeze();
    QProcess reader;
    reader.setStandardOutputFile(QProcess::nullDevice());
    timer.restart();
    reader.start(QCoreApplication::applicationDirPath() + QStringLiteral("/moque-cli"),
                 {QStringLiteral("sheet"), fullPath});
    // Its peak memory, as the kernel keeps it while it runs (a child's rusage
    // would count this process's own peak, inherited at the fork).
    long peakKb = 0;
    while (reader.state() != QProcess::NotRunning && !reader.waitForFinished(20))
        peakKb = qMax(peakKb, peakMemoryKb(reader.processId()));
    const bool fullSame = reader.exitStatus() == QProcess::NormalExit && reader.exitCode() == 0;
    const double fullSeconds = seconds(timer);
    if (!fullSame)
        std::fprintf(stderr, "moque-cli could not read the full sheet: %s\n", reader.readAllStandardError().constData());
    std::printf("xlsx %d rows x 3 columns through moque-cli sheet: %.3f s, %lld bytes, peak memory %ld MB\n", fullRows,
                fullSeconds, static_cast<long long>(QFile(fullPath).size()), peakKb / 1024);
    return xlsxSame && csvSame && fullSame ? 0 : 1;
}
