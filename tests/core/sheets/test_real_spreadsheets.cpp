#include "sheets/SheetText.h"
#include "sheets/SpreadsheetReader.h"
#include "support/SheetLines.h"
#include "support/CliRun.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QtTest>

// The spreadsheets in tests/fixtures/real were written by LibreOffice, Gnumeric,
// openpyxl, xlsxwriter, xlwt and Python's csv module; beside each is what
// LibreOffice shows of every sheet, FILE.sheetN.shown.tsv, with the README's
// rules for where Excel shows a cell otherwise. Every sheet must arrive as
// shown, the same through the reader and through `moque-cli sheet`.

using moque::sheets::SpreadsheetReader;
using Rows = QList<QStringList>;

namespace {

QDir fixtures()
{
    return QDir(QStringLiteral(MOQUE_REAL_FIXTURES));
}

bool isSpreadsheet(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("\\.(xlsx|xls|csv)$"));
    return pattern.match(name).hasMatch();
}

// The stored references by spreadsheet: sheet number to .shown.tsv path.
QMap<QString, QMap<int, QString>> references()
{
    static const QRegularExpression pattern(QStringLiteral("^(.+)\\.sheet(\\d+)\\.shown\\.tsv$"));
    QMap<QString, QMap<int, QString>> found;
    const QDir dir = fixtures();
    for (const QString &name : dir.entryList(QDir::Files)) {
        const QRegularExpressionMatch m = pattern.match(name);
        if (m.hasMatch())
            found[m.captured(1)][m.captured(2).toInt()] = dir.filePath(name);
    }
    return found;
}

// A reference or moque-cli's output: one row a line in the `moque-cli sheet` form.
Rows rowsOfLines(const QStringList &lines)
{
    Rows rows;
    for (const QString &line : lines)
        rows.append(moque::test::sheetLineCells(line));
    return rows;
}

Rows readReference(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    lines.removeLast();
    return rowsOfLines(lines);
}

QString cellName(qsizetype row, qsizetype column)
{
    QString letters;
    for (qsizetype n = column + 1; n > 0; n = (n - 1) / 26)
        letters.prepend(QChar(char16_t(u'A' + (n - 1) % 26)));
    return letters + QString::number(row + 1);
}

QString shown(const QString &cell)
{
    constexpr qsizetype longest = 80;
    const QString line = moque::sheets::sheetLine({cell});
    return QLatin1Char('"') + (line.size() > longest ? line.left(longest) + QStringLiteral("…") : line)
           + QLatin1Char('"');
}

// Where two sheets differ: the differing cells (the first few, then a count)
// and a difference in rows or columns, one a line; empty when they are equal.
QString differences(const Rows &expected, const Rows &got)
{
    constexpr int listed = 25;
    QStringList lines;
    int cells = 0;
    for (qsizetype r = 0; r < qMax(expected.size(), got.size()); ++r) {
        const QStringList e = expected.value(r);
        const QStringList g = got.value(r);
        for (qsizetype c = 0; c < qMax(e.size(), g.size()); ++c) {
            if (e.value(c) == g.value(c))
                continue;
            if (++cells <= listed)
                lines << QStringLiteral("  %1: expected %2, got %3").arg(cellName(r, c), shown(e.value(c)), shown(g.value(c)));
        }
    }
    if (cells > listed)
        lines << QStringLiteral("  ... and %1 more cells").arg(cells - listed);
    auto width = [](const Rows &rows) { return rows.isEmpty() ? 0 : rows.first().size(); };
    if (expected.size() != got.size() || width(expected) != width(got))
        lines << QStringLiteral("  expected %1 rows of %2 cells, got %3 rows of %4")
                     .arg(expected.size())
                     .arg(width(expected))
                     .arg(got.size())
                     .arg(width(got));
    return lines.join(QLatin1Char('\n'));
}

} // namespace

class TestRealSpreadsheets : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Every spreadsheet in the folder has a reference for each of its sheets,
    // and the reader and moque-cli list as many sheets.
    void sheetCount_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("stored");
        const auto stored = references();
        int files = 0;
        for (const QString &name : fixtures().entryList(QDir::Files)) {
            if (!isSpreadsheet(name))
                continue;
            ++files;
            QTest::newRow(qPrintable(name)) << name << int(stored.value(name).size());
        }
        QVERIFY2(files > 0, "no spreadsheets in " MOQUE_REAL_FIXTURES);
    }

    void sheetCount()
    {
        QFETCH(QString, file);
        QFETCH(int, stored);
        const QString path = fixtures().filePath(file);
        QVERIFY2(stored > 0, "no FILE.sheetN.shown.tsv: run scripts/sheet-compare.py --store (see the README)");
        SpreadsheetReader reader;
        QVERIFY2(reader.open(path), qPrintable(reader.errorString()));
        QCOMPARE(int(reader.sheetNames().size()), stored);
        const moque::test::CliRun names = moque::test::runCli({QStringLiteral("sheet"), path, QStringLiteral("--sheet-names")});
        QVERIFY2(names.exitCode == 0, qPrintable(names.err.join(QLatin1Char('\n'))));
        QCOMPARE(names.out, reader.sheetNames());
    }

    void sheet_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("sheet");
        QTest::addColumn<QString>("reference");
        const auto stored = references();
        for (auto file = stored.cbegin(); file != stored.cend(); ++file) {
            for (auto sheet = file->cbegin(); sheet != file->cend(); ++sheet)
                QTest::addRow("%s sheet %d", qPrintable(file.key()), sheet.key()) << file.key() << sheet.key() << sheet.value();
        }
    }

    // (a) moque-cli prints what the reader reads, (b) which is what the sheet shows.
    void sheet()
    {
        QFETCH(QString, file);
        QFETCH(int, sheet);
        QFETCH(QString, reference);
        const QString path = fixtures().filePath(file);
        const Rows expected = readReference(reference);
        QVERIFY2(!expected.isEmpty(), qPrintable(reference));

        SpreadsheetReader reader;
        QVERIFY2(reader.open(path), qPrintable(reader.errorString()));
        const Rows read = reader.readSheet(sheet - 1);
        QVERIFY2(reader.failure() == SpreadsheetReader::Failure::None, qPrintable(reader.errorString()));
        const moque::test::CliRun cli =
            moque::test::runCli({QStringLiteral("sheet"), path, QStringLiteral("--sheet"), QString::number(sheet)});
        QVERIFY2(cli.exitCode == 0, qPrintable(cli.err.join(QLatin1Char('\n'))));
        const Rows printed = rowsOfLines(cli.out);

        QStringList failures;
        if (const QString d = differences(read, printed); !d.isEmpty())
            failures << QStringLiteral("moque-cli prints otherwise than the reader reads (expected: the reader):\n") + d;
        if (const QString d = differences(expected, read); !d.isEmpty())
            failures << QStringLiteral("the reader reads otherwise than the sheet shows (%1):\n").arg(reference) + d;
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
    }
};

QTEST_GUILESS_MAIN(TestRealSpreadsheets)
#include "test_real_spreadsheets.moc"
