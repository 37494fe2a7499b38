#include "sheets/SpreadsheetReader.h"
#include "sheets/XlsxWriter.h"
#include "ZipFiles.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

using moque::sheets::SpreadsheetReader;
using moque::sheets::textWidthUnits;
using moque::sheets::writeXlsxTable;
using Rows = QList<QStringList>;

namespace {

struct Cell
{
    int row = 0;
    int style = 0;
};

// The cells of the written sheet: their row and style index.
QList<Cell> sheetCells(const QByteArray &sheet)
{
    QList<Cell> cells;
    QXmlStreamReader xml(sheet);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("c")) {
            const QString ref = xml.attributes().value(QLatin1String("r")).toString();
            cells.append({ref.mid(ref.indexOf(QRegularExpression(QStringLiteral("[0-9]")))).toInt(),
                          xml.attributes().value(QLatin1String("s")).toInt()});
        }
    }
    return cells;
}

struct CellFormat
{
    int numberFormat = -1;
    bool bold = false;
    double fontSize = 0;
};

// Each cell format of the styles part, with its font's weight and size.
QList<CellFormat> cellFormats(const QByteArray &styles)
{
    QList<QPair<bool, double>> fonts;
    QList<CellFormat> formats;
    QXmlStreamReader xml(styles);
    bool inCellFormats = false;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::EndElement && xml.name() == QLatin1String("cellXfs"))
            inCellFormats = false;
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("font"))
            fonts.append({false, 0});
        else if (xml.name() == QLatin1String("b") && !fonts.isEmpty())
            fonts.last().first = true;
        else if (xml.name() == QLatin1String("sz") && !fonts.isEmpty())
            fonts.last().second = xml.attributes().value(QLatin1String("val")).toDouble();
        else if (xml.name() == QLatin1String("cellXfs"))
            inCellFormats = true;
        else if (inCellFormats && xml.name() == QLatin1String("xf")) {
            const auto font = fonts.value(xml.attributes().value(QLatin1String("fontId")).toInt());
            formats.append({xml.attributes().value(QLatin1String("numFmtId")).toInt(), font.first, font.second});
        }
    }
    return formats;
}

// Column widths of the written sheet, by column.
QList<double> columnWidths(const QByteArray &sheet)
{
    QList<double> widths;
    QXmlStreamReader xml(sheet);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("col"))
            widths.append(xml.attributes().value(QLatin1String("width")).toDouble());
    }
    return widths;
}

} // namespace

class TestSpreadsheetWriter : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private Q_SLOTS:
    void roundTrip_data()
    {
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<Rows>("rows");

        QTest::newRow("numbers stay texts")
            << QStringList{"编号", "金额", "日期"}
            << Rows{{"00123", "1005.30", "2024-01-31"}, {"1e5", "0.1", "45322"}, {"-0", "+86 10", "TRUE"}};
        QTest::newRow("chinese, quotes, commas and line breaks")
            << QStringList{"名称", "备注"}
            << Rows{{"北京墨雀科技有限公司", "他说：\"好,的\""}, {"第一行\n第二行", "a,b,,c"}, {"'单引号", "行1\r\n行2"}};
        QTest::newRow("formula-like text and spaces")
            << QStringList{"公式", "空格"} << Rows{{"=SUM(A1:A2)", "  两边有空格  "}, {"@x", "\t制表"}};
        QTest::newRow("empty cells inside") << QStringList{"a", "b", "c"} << Rows{{"1", "", "3"}, {"", "", "x"}};
        QTest::newRow("characters XML cannot hold")
            << QStringList{"控制"} << Rows{{QStringLiteral("a\x01" "b")}, {"_x0041_"}};
    }

    void roundTrip()
    {
        QFETCH(QStringList, titles);
        QFETCH(Rows, rows);
        const QString path = m_dir.filePath(QStringLiteral("round trip.xlsx"));
        QString error;
        QVERIFY2(writeXlsxTable(path, titles, rows, &error, QStringLiteral("导出")), qPrintable(error));

        SpreadsheetReader reader;
        QVERIFY2(reader.open(path), qPrintable(reader.errorString()));
        QCOMPARE(reader.sheetNames(), QStringList{"导出"});
        QCOMPARE(reader.readSheet(0), Rows{titles} + rows);
    }

    void everyCellIsTextAtNinePoints()
    {
        const QString path = m_dir.filePath(QStringLiteral("formats.xlsx"));
        QVERIFY(writeXlsxTable(path, {"编号", "名称"}, {{"00123", "甲"}, {"7", "乙"}}));
        const QList<CellFormat> formats = cellFormats(moque::test::readZipEntry(path, "xl/styles.xml"));
        const QList<Cell> cells = sheetCells(moque::test::readZipEntry(path, "xl/worksheets/sheet1.xml"));
        QCOMPARE(cells.size(), 6);
        constexpr int textFormat = 49;    // the built-in "@"
        for (const Cell &cell : cells) {
            QVERIFY(cell.style < formats.size());
            const CellFormat format = formats.at(cell.style);
            QCOMPARE(format.numberFormat, textFormat);
            QCOMPARE(format.fontSize, 9.0);
            QCOMPARE(format.bold, cell.row == 1);
        }
    }

    void columnsAreSizedToTheirTexts()
    {
        const QString path = m_dir.filePath(QStringLiteral("widths.xlsx"));
        QVERIFY(writeXlsxTable(path, {"a", "b", "c", "d"},
                               {{"x", "abcdefghij", "中文中文中文中文中文", "短"},
                                {"y", "abc", "", "很长很长很长的第二行\n短"}}));
        const QList<double> widths = columnWidths(moque::test::readZipEntry(path, "xl/worksheets/sheet1.xml"));
        QCOMPARE(widths.size(), 4);
        QVERIFY(widths.at(1) > widths.at(0));
        QVERIFY(widths.at(2) > widths.at(1) * 1.5);    // ten wide characters against ten narrow ones
        QCOMPARE(widths.at(3), widths.at(2));          // the longest line counts
    }

    void textWidths_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("units");
        QTest::newRow("ascii") << "abc12" << 5;
        QTest::newRow("chinese counts 2") << "墨雀" << 4;
        QTest::newRow("full-width punctuation") << "（，）" << 6;
        QTest::newRow("mixed") << "A类" << 3;
        QTest::newRow("longest line") << "ab\n中文字\r\nx" << 6;
        QTest::newRow("empty") << "" << 0;
    }

    void textWidths()
    {
        QFETCH(QString, text);
        QFETCH(int, units);
        QCOMPARE(textWidthUnits(text), units);
    }

    void longTextsAreCut()
    {
        const QString path = m_dir.filePath(QStringLiteral("long.xlsx"));
        const QString longText(moque::sheets::maxCellTextLength + 10, u'长');
        QVERIFY(writeXlsxTable(path, {"t"}, {{longText}}));
        QCOMPARE(SpreadsheetReader::readFirstSheet(path).value(1).value(0), longText.left(moque::sheets::maxCellTextLength));
    }

    void writeFailureNamesTheFile()
    {
        const QString path = m_dir.filePath(QStringLiteral("no such folder/out.xlsx"));
        QString error;
        QVERIFY(!writeXlsxTable(path, {"a"}, {{"1"}}, &error));
        QVERIFY(error.startsWith(QStringLiteral("无法写入Excel文件")));
        QVERIFY(error.contains(QDir::toNativeSeparators(path)));
        QVERIFY(!QFile::exists(path));
    }
};

QTEST_GUILESS_MAIN(TestSpreadsheetWriter)
#include "test_spreadsheet_writer.moc"
