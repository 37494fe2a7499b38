#include "sheets/SheetText.h"
#include "sheets/SpreadsheetReader.h"
#include "support/SheetLines.h"
#include "support/TestFiles.h"
#include "XlsFiles.h"
#include "ZipFiles.h"

#include <QTemporaryDir>
#include <QtTest>

using moque::sheets::SpreadsheetLimits;
using moque::sheets::SpreadsheetReader;
using moque::test::ZipEntries;
using Rows = QList<QStringList>;
using Failure = SpreadsheetReader::Failure;
using Format = SpreadsheetReader::Format;

Q_DECLARE_METATYPE(SpreadsheetLimits)

namespace {

QString fixture(const QString &name)
{
    return QStringLiteral(MOQUE_SPREADSHEET_FIXTURES "/") + name;
}

// The table every sample fixture holds. The .xlsx shows its dates in the
// built-in date formats as a Chinese spreadsheet program does; the .xls has
// them in the custom formats its writer made of them (m/d/yyyy); a .csv
// holds the text it was written with.
Rows sampleRows(Format format = Format::Xlsx)
{
    if (format == Format::Xls) {
        return {
            {"编号", "名称", "金额", "日期", "时间"},
            {"00123", "北京墨雀科技有限公司", "1005.3", "1/31/2024", "1/31/2024 9:30"},
            {"A-7", "引号\"与,逗号", "42", "1/1/2021", "1/1/2021 18:00"},
        };
    }
    if (format == Format::Csv) {
        return {
            {"编号", "名称", "金额", "日期", "时间"},
            {"00123", "北京墨雀科技有限公司", "1005.3", "2024-01-31", "2024-01-31 09:30"},
            {"A-7", "引号\"与,逗号", "42", "2021-01-01", "2021-01-01 18:00"},
        };
    }
    return {
        {"编号", "名称", "金额", "日期", "时间"},
        {"00123", "北京墨雀科技有限公司", "1005.3", "2024/1/31", "2024/1/31 9:30"},
        {"A-7", "引号\"与,逗号", "42", "2021/1/1", "2021/1/1 18:00"},
    };
}

} // namespace

class TestSpreadsheetReader : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString tempPath(const QString &name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void fixtures_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("format");
        QTest::addColumn<QStringList>("sheets");
        QTest::addColumn<Rows>("rows");

        QTest::newRow("xlsx") << "sample.xlsx" << int(Format::Xlsx) << QStringList{"名单", "第二页"} << sampleRows();
        QTest::newRow("xls") << "sample.xls" << int(Format::Xls) << QStringList{"名单", "第二页"}
                             << sampleRows(Format::Xls);
        QTest::newRow("utf-8 csv with BOM") << "utf8-bom.csv" << int(Format::Csv) << QStringList{"utf8-bom"}
                                            << sampleRows(Format::Csv);
        QTest::newRow("utf-8 csv") << "utf8.csv" << int(Format::Csv) << QStringList{"utf8"} << sampleRows(Format::Csv);
        QTest::newRow("gbk csv") << "gbk.csv" << int(Format::Csv) << QStringList{"gbk"} << sampleRows(Format::Csv);
        // Shared strings with rich text and phonetic runs, inline strings, a row and
        // cells left out, dates and times in built-in and custom formats, a zero-padded
        // number, a boolean, a formula's text and an escaped carriage return.
        QTest::newRow("hand-made xlsx")
            << "minimal.xlsx" << int(Format::Xlsx) << QStringList{"数据", "空表"}
            << Rows{
                   {"名称", "数量", "日期", "备注", ""},
                   {"苹果, \"红\"", "42", "2024/1/31", "第一行\n第二行", ""},
                   {"", "", "", "", ""},
                   {"梨", "3.5", "2024/1/31 12:00", "", "TRUE"},
                   {"00123", "abc", "0.3", "行1\r\n行2", "18:00"},
               };
    }

    void fixtures()
    {
        QFETCH(QString, file);
        QFETCH(int, format);
        QFETCH(QStringList, sheets);
        QFETCH(Rows, rows);

        SpreadsheetReader reader;
        QVERIFY2(reader.open(fixture(file)), qPrintable(reader.errorString()));
        QCOMPARE(int(reader.format()), format);
        QCOMPARE(reader.sheetNames(), sheets);
        QCOMPARE(reader.readSheet(0), rows);
        QCOMPARE(reader.failure(), Failure::None);
    }

    void sheetsByName_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("format");
        QTest::newRow("xlsx") << "sample.xlsx" << int(Format::Xlsx);
        QTest::newRow("xls") << "sample.xls" << int(Format::Xls);
    }

    void sheetsByName()
    {
        QFETCH(QString, file);
        QFETCH(int, format);
        SpreadsheetReader reader;
        QVERIFY(reader.open(fixture(file)));
        QCOMPARE(reader.readSheet(QStringLiteral("第二页")), (Rows{{"x"}}));
        QCOMPARE(reader.readSheet(QStringLiteral("名单")), sampleRows(Format(format)));

        QVERIFY(reader.readSheet(QStringLiteral("没有这页")).isEmpty());
        QCOMPARE(reader.failure(), Failure::NoSuchSheet);
        QVERIFY(reader.errorString().contains(QStringLiteral("没有这页")));
        QVERIFY(reader.readSheet(2).isEmpty());
        QCOMPARE(reader.failure(), Failure::NoSuchSheet);
    }

    void emptyWorksheet()
    {
        SpreadsheetReader reader;
        QVERIFY(reader.open(fixture(QStringLiteral("minimal.xlsx"))));
        QVERIFY(reader.readSheet(1).isEmpty());
        QCOMPARE(reader.failure(), Failure::None);
    }

    void csvText_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Rows>("rows");

        QTest::newRow("quoted separators, quotes and line breaks")
            << QByteArray("a,\"b,c\",\"say \"\"hi\"\"\"\r\n\"two\r\nlines\",x,\"\"\r\n")
            << Rows{{"a", "b,c", "say \"hi\""}, {"two\r\nlines", "x", ""}};
        QTest::newRow("LF, lone CR and no final line end")
            << QByteArray("1,2\n3,4\r5,6") << Rows{{"1", "2"}, {"3", "4"}, {"5", "6"}};
        QTest::newRow("ragged rows are padded, trailing empty columns dropped")
            << QByteArray("a,b,c,\nd\ne,,f,,\n") << Rows{{"a", "b", "c"}, {"d", "", ""}, {"e", "", "f"}};
        QTest::newRow("empty lines inside kept, at the end dropped")
            << QByteArray("a\n\nb\n\n\n") << Rows{{"a"}, {""}, {"b"}};
        QTest::newRow("spaces and leading zeros stay") << QByteArray(" 00123 , x ") << Rows{{" 00123 ", " x "}};
        QTest::newRow("tab separated") << QByteArray("名称\t数量\n苹果, 红\t3\n") << Rows{{"名称", "数量"}, {"苹果, 红", "3"}};
        QTest::newRow("text after a closing quote") << QByteArray("\"ab\"c,d") << Rows{{"abc", "d"}};
        QTest::newRow("utf-16 with BOM")
            << QByteArray("\xFF\xFE" "a\0,\0\x2D\x4E\n\0", 10) << Rows{{"a", "中"}};
        QTest::newRow("empty file") << QByteArray() << Rows{};
    }

    void csvText()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Rows, rows);
        const QString path = tempPath(QStringLiteral("text.csv"));
        QVERIFY(moque::test::writeFile(path, bytes));
        QString error;
        QCOMPARE(SpreadsheetReader::readFirstSheet(path, &error), rows);
        QCOMPARE(error, QString());
    }

    void textNamedAsCsvIsDetectedByContent()
    {
        // A workbook renamed to .csv is still read as the workbook it is.
        const QString path = tempPath(QStringLiteral("renamed.csv"));
        QVERIFY(QFile::copy(fixture(QStringLiteral("sample.xlsx")), path));
        SpreadsheetReader reader;
        QVERIFY(reader.open(path));
        QCOMPARE(reader.format(), Format::Xlsx);
        QCOMPARE(reader.readSheet(0), sampleRows());
    }

    void badInput_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("failure");

        const QByteArray xlsx = moque::test::readAll(fixture(QStringLiteral("sample.xlsx")));
        const QByteArray xls = moque::test::readAll(fixture(QStringLiteral("sample.xls")));
        const QByteArray oleMagic("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
        QByteArray oleGarbage = oleMagic;
        for (int i = 0; oleGarbage.size() < 4096; ++i)
            oleGarbage.append(char(i * 37 + 11));
        // A password-protected Office 2007+ workbook: a compound file with the encrypted package.
        const QByteArray encryptedPackage =
            moque::test::xls::compoundFile(QByteArray(5000, '\x5A'), {3, 0, QStringLiteral("EncryptedPackage")}).bytes;

        QTest::newRow("text named .xlsx") << "text.xlsx" << QByteArray("名称,数量\n苹果,3\n")
                                          << int(Failure::NotSpreadsheet);
        QTest::newRow("text named .xls") << "text.xls" << QByteArray("<html><table></table></html>")
                                         << int(Failure::NotSpreadsheet);
        QTest::newRow("truncated xlsx") << "cut.xlsx" << xlsx.left(xlsx.size() / 2) << int(Failure::Truncated);
        QTest::newRow("truncated xls") << "cut.xls" << xls.left(3000) << int(Failure::Truncated);
        QTest::newRow("garbage after the OLE signature") << "garbage.xls" << oleGarbage
                                                         << int(Failure::Damaged);
        QTest::newRow("password-protected xls") << "protected.xls"
                                                << moque::test::readAll(fixture(QStringLiteral("encrypted.xls")))
                                                << int(Failure::Encrypted);
        QTest::newRow("encrypted Office package") << "protected.xlsx" << encryptedPackage << int(Failure::Encrypted);
        QTest::newRow("binary named .csv") << "binary.csv" << QByteArray("a,b\0\x01\x02", 6)
                                           << int(Failure::NotSpreadsheet);
    }

    void badInput()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(int, failure);
        const QString path = tempPath(name);
        QVERIFY(moque::test::writeFile(path, bytes));
        checkFailure(path, Failure(failure));
    }

    void badWorkbook_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("failure");

        QTest::newRow("zip without a workbook") << "plain.xlsx" << int(Failure::NotSpreadsheet);
        QTest::newRow("malformed sheet XML") << "malformed.xlsx" << int(Failure::NotSpreadsheet);
        QTest::newRow("sheet XML cut short") << "short.xlsx" << int(Failure::Truncated);
        QTest::newRow("password-protected zip entries") << "zipcrypt.xlsx" << int(Failure::Encrypted);
        QTest::newRow("cell beyond the last row") << "farrow.xlsx" << int(Failure::TooLarge);
        QTest::newRow("cell beyond the last column") << "farcolumn.xlsx" << int(Failure::TooLarge);
    }

    void badWorkbook()
    {
        QFETCH(QString, name);
        QFETCH(int, failure);
        const QString path = tempPath(name);
        const QByteArray cell = "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>x</t></is></c></row>";
        bool written = false;
        if (name == QLatin1String("plain.xlsx"))
            written = moque::test::writeZip(path, {{QStringLiteral("readme.txt"), "hello"}});
        else if (name == QLatin1String("malformed.xlsx"))
            written = moque::test::writeZip(path, moque::test::workbookEntries("<row><c r=\"A1\"><v>1</c></row>"));
        else if (name == QLatin1String("short.xlsx")) {
            auto entries = moque::test::workbookEntries(cell);
            entries.last().second.chop(30);
            written = moque::test::writeZip(path, entries);
        } else if (name == QLatin1String("zipcrypt.xlsx"))
            written = moque::test::writeZip(path, moque::test::workbookEntries(cell), "secret");
        else if (name == QLatin1String("farrow.xlsx"))
            written = moque::test::writeZip(
                path, moque::test::workbookEntries("<row r=\"2000000\"><c r=\"A2000000\"><v>1</v></c></row>"));
        else if (name == QLatin1String("farcolumn.xlsx"))
            written = moque::test::writeZip(path, moque::test::workbookEntries("<row r=\"1\"><c r=\"XFE1\"><v>1</v></c></row>"));
        QVERIFY(written);
        checkFailure(path, Failure(failure));
    }

    void xlsxNumberFormats_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QByteArray>("code");    // empty: the built-in format
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QString>("shown");

        QTest::newRow("General without floating noise") << 0 << QByteArray() << QByteArray("49.199999999999996")
                                                        << "49.2";
        QTest::newRow("General small number") << 0 << QByteArray() << QByteArray("0.0006") << "0.0006";
        QTest::newRow("fixed decimals") << 164 << QByteArray("0.00") << QByteArray("12.5") << "12.50";
        QTest::newRow("thousands") << 3 << QByteArray() << QByteArray("1234567.89") << "1,234,568";
        QTest::newRow("percent") << 9 << QByteArray() << QByteArray("0.15") << "15%";
        QTest::newRow("currency") << 164 << QByteArray("&quot;¥&quot;#,##0.00") << QByteArray("1234.5")
                                  << "¥1,234.50";
        QTest::newRow("literal text") << 164 << QByteArray("0.00&quot;元&quot;") << QByteArray("19.9") << "19.90元";
        QTest::newRow("postal code") << 164 << QByteArray("000000") << QByteArray("1234") << "001234";
        QTest::newRow("Chinese date") << 31 << QByteArray() << QByteArray("45322") << "2024年1月31日";
        QTest::newRow("short date an English writer wrote out") << 14 << QByteArray("m/d/yyyy") << QByteArray("45322")
                                                                << "2024/1/31";
        QTest::newRow("minutes hide seconds") << 20 << QByteArray() << QByteArray("0.75005787037037") << "18:00";
        QTest::newRow("seconds shown") << 21 << QByteArray() << QByteArray("0.75005787037037") << "18:00:05";
        QTest::newRow("elapsed hours") << 164 << QByteArray("[h]:mm") << QByteArray("1.5") << "36:00";
        QTest::newRow("fraction") << 164 << QByteArray("# ?/?") << QByteArray("1.5") << "1 1/2";
        QTest::newRow("scientific") << 11 << QByteArray() << QByteArray("12345") << "1.23E+04";
        QTest::newRow("weekday and month in the system's Chinese")
            << 164 << QByteArray("dddd, mmmm d") << QByteArray("45322") << "星期三, 一月 31";
    }

    // A number arrives as the sheet shows it under its cell's format.
    void xlsxNumberFormats()
    {
        QFETCH(int, id);
        QFETCH(QByteArray, code);
        QFETCH(QByteArray, value);
        QFETCH(QString, shown);
        const QString path = tempPath(QStringLiteral("formats.xlsx"));
        QFile::remove(path);
        const QByteArray cell = "<row r=\"1\"><c r=\"A1\" s=\"0\"><v>" + value + "</v></c></row>";
        QVERIFY(moque::test::writeZip(path, moque::test::withNumberFormats(moque::test::workbookEntries(cell),
                                                                           {{id, code}})));
        QString error;
        QCOMPARE(SpreadsheetReader::readFirstSheet(path, &error), (Rows{{shown}}));
        QCOMPARE(error, QString());
    }

    void xlsxCellKinds_data()
    {
        QTest::addColumn<QByteArray>("cell");
        QTest::addColumn<QString>("shown");
        QTest::newRow("false") << QByteArray("<c r=\"A1\" t=\"b\"><v>0</v></c>") << "FALSE";
        QTest::newRow("boolean without a value") << QByteArray("<c r=\"A1\" t=\"b\"/>") << "";
        QTest::newRow("error") << QByteArray("<c r=\"A1\" t=\"e\"><v>#N/A</v></c>") << "#N/A";
        QTest::newRow("ISO date") << QByteArray("<c r=\"A1\" t=\"d\"><v>2024-01-31</v></c>") << "2024/1/31";
        QTest::newRow("ISO date and time") << QByteArray("<c r=\"A1\" t=\"d\"><v>2024-01-31T09:30:00</v></c>")
                                           << "2024/1/31 9:30";
        QTest::newRow("formula without a cached result") << QByteArray("<c r=\"A1\"><f>B1*2</f></c>") << "";
    }

    // Cells other than numbers and strings; a second cell keeps the row.
    void xlsxCellKinds()
    {
        QFETCH(QByteArray, cell);
        QFETCH(QString, shown);
        const QString path = tempPath(QStringLiteral("kinds.xlsx"));
        QFile::remove(path);
        QVERIFY(moque::test::writeZip(
            path, moque::test::workbookEntries("<row r=\"1\">" + cell + "<c r=\"B1\"><v>7</v></c></row>")));
        QCOMPARE(SpreadsheetReader::readFirstSheet(path), (Rows{{shown, "7"}}));
    }

    void xlsxDateSystem_data()
    {
        QTest::addColumn<QByteArray>("properties");
        QTest::addColumn<QByteArray>("serial");
        // What a newer suite adds at the end of the workbook: an element of the
        // same local name as the workbook's properties.
        const QByteArray extension = "<extLst><ext uri=\"{140A7094-0E35-4892-8432-C4D2E57EDEB5}\" "
                                     "xmlns:x15=\"http://schemas.microsoft.com/office/spreadsheetml/2010/11/main\">"
                                     "<x15:workbookPr chartTrackingRefBase=\"1\"/></ext></extLst>";
        QTest::newRow("1900") << QByteArray("<workbookPr/>") + extension << QByteArray("45322");
        QTest::newRow("1904") << QByteArray("<workbookPr date1904=\"1\"/>") + extension << QByteArray("43860");
        QTest::newRow("1904 as true") << QByteArray("<workbookPr date1904=\"true\"/>") << QByteArray("43860");
    }

    // The same day, 2024-01-31, in either date system.
    void xlsxDateSystem()
    {
        QFETCH(QByteArray, properties);
        QFETCH(QByteArray, serial);
        moque::test::ZipEntries entries = moque::test::withNumberFormats(
            moque::test::workbookEntries("<row r=\"1\"><c r=\"A1\" s=\"0\"><v>" + serial + "</v></c></row>"),
            {{164, "yyyy-mm-dd"}});
        QByteArray &workbook = entries[1].second;
        const qsizetype extensionAt = properties.indexOf("<extLst>");
        workbook.replace("<sheets>", (extensionAt < 0 ? properties : properties.left(extensionAt)) + "<sheets>");
        if (extensionAt >= 0)
            workbook.replace("</workbook>", properties.mid(extensionAt) + "</workbook>");
        const QString path = tempPath(QStringLiteral("dates.xlsx"));
        QFile::remove(path);
        QVERIFY(moque::test::writeZip(path, entries));
        QCOMPARE(SpreadsheetReader::readFirstSheet(path), (Rows{{"2024-01-31"}}));
    }

    // A cell in the last row a sheet has is read, not refused as too large.
    void lastRowOfASheet()
    {
        const QString path = tempPath(QStringLiteral("lastrow.xlsx"));
        QVERIFY(moque::test::writeZip(
            path, moque::test::workbookEntries("<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>首</t></is></c></row>"
                                               "<row r=\"1048576\"><c r=\"B1048576\"><v>1</v></c></row>")));
        QString error;
        const Rows rows = SpreadsheetReader::readFirstSheet(path, &error);
        QCOMPARE(error, QString());
        QCOMPARE(rows.size(), 1048576);
        QCOMPARE(rows.first(), (QStringList{"首", ""}));
        QCOMPARE(rows.last(), (QStringList{"", "1"}));
    }

    void xlsShownAsTheSheet_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("cells");

        // Formula results, a postal code, percent, currency, Chinese and ISO
        // dates, a time, booleans, error values, text formulas.
        const QStringList zhang{"张三", "深圳市南山区科技园南区深南大道10000号", "001234", "12.5", "4", "50", "15%",
                                "¥1,234.50", "2024年1月31日", "2024-02-29", "09:30", "TRUE", "#DIV/0!", "张三x", ""};
        QTest::newRow("Excel 97") << "workbook.xls" << 1 << zhang;
        QTest::newRow("Excel 97, second row")
            << "workbook.xls" << 2
            << QStringList{"李四", "北京市海淀区中关村大街1号", "100080", "3.2", "10", "32", "50%", "-¥88.00",
                           "1999年12月31日", "1900-03-01", "23:59", "FALSE", "#N/A", "北京市海淀区中关村大街1号x", "TRUE"};
        // The writer could not put the ¥ into GBK.
        QStringList zhang95 = zhang;
        zhang95[7] = QStringLiteral("?1,234.50");
        QTest::newRow("Excel 95") << "workbook95.xls" << 1 << zhang95;
        QTest::newRow("1904 date system") << "date1904.xls" << 1 << QStringList{"2024-01-31", "7"};
    }

    void xlsShownAsTheSheet()
    {
        QFETCH(QString, file);
        QFETCH(int, row);
        QFETCH(QStringList, cells);
        QString error;
        const Rows rows = SpreadsheetReader::readFirstSheet(QStringLiteral(MOQUE_XLS_FIXTURES "/") + file, &error);
        QCOMPARE(error, QString());
        QVERIFY(row < rows.size());
        QCOMPARE(rows.at(row), cells);
    }

    void missingFile()
    {
        checkFailure(tempPath(QStringLiteral("nowhere.xlsx")), Failure::CannotOpen);
    }

    void limits_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<SpreadsheetLimits>("limits");

        const auto limits = [](qint64 bytes, int rows, int columns, qint64 cells) {
            return SpreadsheetLimits{bytes, rows, columns, cells};
        };
        QByteArray eleven;
        for (int i = 0; i < 11; ++i)
            eleven += "a,b\n";
        QTest::newRow("csv rows") << "rows.csv" << eleven << limits(1 << 20, 10, 100, 1000);
        QTest::newRow("csv columns") << "columns.csv" << QByteArray("1,2,3,4\n") << limits(1 << 20, 10, 3, 1000);
        QTest::newRow("csv cells") << "cells.csv" << eleven << limits(1 << 20, 100, 100, 21);
        QTest::newRow("csv bytes") << "bytes.csv" << eleven << limits(40, 100, 100, 1000);
        // Two thousand characters of text make a cell of a thousand quotes: the
        // text read counts along with the cells.
        SpreadsheetLimits textBudget;
        textBudget.maxMemory = 6000;
        QTest::newRow("csv text") << "text.csv" << "\"" + QByteArray("\"\"").repeated(1000) + "\"" << textBudget;
        QTest::newRow("xls bytes") << "bytes.xls" << moque::test::readAll(fixture(QStringLiteral("sample.xls")))
                                   << limits(4096, 100, 100, 1000);
        QTest::newRow("xls rows") << "rows.xls" << moque::test::readAll(fixture(QStringLiteral("sample.xls")))
                                  << limits(1 << 20, 2, 100, 1000);
    }

    void limits()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(SpreadsheetLimits, limits);
        const QString path = tempPath(name);
        QVERIFY(moque::test::writeFile(path, bytes));
        checkFailure(path, Failure::TooLarge, limits);
        // The same file is read within the default limits.
        QString error;
        QVERIFY(!SpreadsheetReader::readFirstSheet(path, &error).isEmpty());
        QCOMPARE(error, QString());
    }

    void zipBombIsRefused()
    {
        // 4 MB of spaces inside the sheet deflate to a few kilobytes.
        const QString path = tempPath(QStringLiteral("bomb.xlsx"));
        const QByteArray padding(4 * 1024 * 1024, ' ');
        QVERIFY(moque::test::writeZip(
            path, moque::test::workbookEntries("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>" + padding)));
        QVERIFY(QFileInfo(path).size() < 64 * 1024);
        checkFailure(path, Failure::TooLarge, SpreadsheetLimits{1024 * 1024});
        QString error;
        QCOMPARE(SpreadsheetReader::readFirstSheet(path, &error), (Rows{{"1"}}));
        QCOMPARE(error, QString());
    }

    void damagedWorkbook_data()
    {
        QTest::addColumn<ZipEntries>("entries");
        QTest::addColumn<QString>("detail");

        const QByteArray text = "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>x</t></is></c></row>";
        const auto sheet = [](const QByteArray &data) { return moque::test::workbookEntries(data); };
        const auto shared = [](const QByteArray &index) {
            return moque::test::workbookEntries("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>" + index + "</v></c></row>",
                                                "<si><t>a</t></si>");
        };
        const auto cellAt = [](const QByteArray &reference) {
            return moque::test::workbookEntries("<row r=\"1\"><c r=\"" + reference + "\"><v>1</v></c></row>");
        };

        ZipEntries sheetAbove = sheet(text);
        sheetAbove[2].second.replace("worksheets/sheet1.xml", "../../sheet1.xml");
        QTest::newRow("worksheet above the package root") << sheetAbove << "内部引用“../../sheet1.xml”指向文件之外";
        ZipEntries workbookAbove = sheet(text);
        workbookAbove[0].second.replace("Target=\"xl/workbook.xml\"", "Target=\"../xl/workbook.xml\"");
        QTest::newRow("workbook above the package root") << workbookAbove << "“../xl/workbook.xml”";
        ZipEntries stringsAbove = shared("0");
        stringsAbove[2].second.replace("Target=\"sharedStrings.xml\"", "Target=\"../../s.xml\"");
        QTest::newRow("shared strings above the package root") << stringsAbove << "“../../s.xml”";

        QTest::newRow("no shared strings part")
            << sheet("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c></row>") << "缺少共享字符串表";
        QTest::newRow("shared string index out of range") << shared("1") << "共享字符串编号“1”超出范围";
        QTest::newRow("negative shared string index") << shared("-1") << "共享字符串编号“-1”超出范围";
        QTest::newRow("shared string index not a number") << shared("x") << "共享字符串编号“x”无效";

        QTest::newRow("row 0 in a cell") << cellAt("A0") << "单元格位置“A0”无效";
        QTest::newRow("five column letters") << cellAt("ZZZZZ1") << "单元格位置“ZZZZZ1”无效";
        QTest::newRow("row before column") << cellAt("1A") << "单元格位置“1A”无效";
        QTest::newRow("leading zero") << cellAt("A01") << "单元格位置“A01”无效";
        QTest::newRow("trailing letter") << cellAt("A1B") << "单元格位置“A1B”无效";
        QTest::newRow("a long reference, quoted short")
            << cellAt("B" + QByteArray(1000, '7')) << "单元格位置“B" + QString(31, u'7') + "…”无效";
        QTest::newRow("row number 0") << sheet("<row r=\"0\"><c><v>1</v></c></row>") << "行号“0”无效";
        QTest::newRow("row number not a number") << sheet("<row r=\"x\"><c><v>1</v></c></row>") << "行号“x”无效";

        ZipEntries doctype = sheet(text);
        doctype[3].second.prepend("<!DOCTYPE worksheet [<!ENTITY a \"aaaaaaaa\">]>");
        QTest::newRow("DOCTYPE") << doctype << "DOCTYPE";
        QTest::newRow("deep nesting") << sheet(QByteArray("<x>").repeated(200) + QByteArray("</x>").repeated(200))
                                      << "XML嵌套过深";
        QByteArray attributes = "<row r=\"1\"";
        for (int i = 0; i < 100; ++i)
            attributes += " a" + QByteArray::number(i) + "=\"\"";
        QTest::newRow("a hundred attributes") << sheet(attributes + "/>") << "属性过多";
    }

    // A workbook that contradicts itself is damaged: not empty, not too large.
    void damagedWorkbook()
    {
        QFETCH(ZipEntries, entries);
        QFETCH(QString, detail);
        const QString path = tempPath(QStringLiteral("damaged.xlsx"));
        QFile::remove(path);
        QVERIFY(moque::test::writeZip(path, entries));
        checkFailure(path, Failure::Damaged);
        QString error;
        SpreadsheetReader::readFirstSheet(path, &error);
        QVERIFY2(error.contains(QStringLiteral("（文件已损坏：")) && error.contains(detail), qPrintable(error));
    }

    void amplifyingWorkbook_data()
    {
        QTest::addColumn<ZipEntries>("entries");
        QTest::addColumn<SpreadsheetLimits>("limits");
        QTest::addColumn<Rows>("rows");

        SpreadsheetLimits shortTokens;
        shortTokens.maxXmlToken = 64 * 1024;
        SpreadsheetLimits smallMemory;
        smallMemory.maxMemory = 1024 * 1024;
        const QByteArray spaces(1024 * 1024, ' ');
        const QByteArray firstString = "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c></row>";

        QTest::newRow("spaces between elements")
            << moque::test::workbookEntries("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>" + spaces) << shortTokens
            << Rows{{"1"}};
        QTest::newRow("spaces inside a tag")
            << moque::test::workbookEntries("<row r=\"1\"" + spaces + "><c r=\"A1\"><v>1</v></c></row>") << shortTokens
            << Rows{{"1"}};
        QTest::newRow("a long shared string")
            << moque::test::workbookEntries(firstString, "<si><t>" + QByteArray(100000, 'a') + "</t></si>")
            << shortTokens << Rows{{QString(100000, u'a')}};
        QTest::newRow("a shared string of many runs")
            << moque::test::workbookEntries(firstString,
                                            "<si>" + QByteArray("<r><t>aaaaaaaa</t></r>").repeated(10000) + "</si>")
            << shortTokens << Rows{{QString(80000, u'a')}};
        QTest::newRow("many empty shared strings")
            << moque::test::workbookEntries(firstString, "<si><t>a</t></si>" + QByteArray("<si/>").repeated(100000))
            << smallMemory << Rows{{"a"}};
        QTest::newRow("many shared strings")
            << moque::test::workbookEntries(firstString,
                                            ("<si><t>" + QByteArray(100, 'a') + "</t></si>").repeated(5000))
            << smallMemory << Rows{{QString(100, u'a')}};
        QTest::newRow("many tiny cells")
            << moque::test::workbookEntries(
                   ("<row>" + QByteArray("<c><v>1</v></c>").repeated(100) + "</row>").repeated(500))
            << smallMemory << Rows(500, QStringList(100, QStringLiteral("1")));
        QByteArray padded = "<row r=\"1\"><c r=\"CV1\"><v>1</v></c></row>";
        Rows paddedRows{QStringList(100, QString())};
        paddedRows[0][99] = QStringLiteral("1");
        for (int row = 2; row <= 600; ++row) {
            const QByteArray number = QByteArray::number(row);
            padded += "<row r=\"" + number + "\"><c r=\"A" + number + "\"><v>2</v></c></row>";
            paddedRows.append(QStringList(100, QString()));
            paddedRows.last()[0] = QStringLiteral("2");
        }
        QTest::newRow("padding") << moque::test::workbookEntries(padded) << smallMemory << paddedRows;
    }

    // Spaces, shared strings and cells all count against the limits: a small
    // file that would inflate far in memory is refused, and read when the
    // limits allow it.
    void amplifyingWorkbook()
    {
        QFETCH(ZipEntries, entries);
        QFETCH(SpreadsheetLimits, limits);
        QFETCH(Rows, rows);
        const QString path = tempPath(QStringLiteral("amplifying.xlsx"));
        QFile::remove(path);
        QVERIFY(moque::test::writeZip(path, entries));
        QVERIFY(QFileInfo(path).size() < 64 * 1024);
        checkFailure(path, Failure::TooLarge, limits);
        QString error;
        QCOMPARE(SpreadsheetReader::readFirstSheet(path, &error), rows);
        QCOMPARE(error, QString());
    }

    void sheetLines_data()
    {
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<QString>("line");
        QTest::newRow("plain") << QStringList{"a", "", "b"} << "a\t\tb";
        QTest::newRow("tab, line feed, carriage return, backslash")
            << QStringList{"a\tb", "c\r\nd", "e\\f"} << "a\\tb\tc\\r\\nd\te\\\\f";
        QTest::newRow("backslashes before letters") << QStringList{"\\t", "\\\\n"} << "\\\\t\t\\\\\\\\n";
        QTest::newRow("one empty cell") << QStringList{""} << "";
    }

    // How `moque-cli sheet` writes a row, and how such a row is read back.
    void sheetLines()
    {
        QFETCH(QStringList, cells);
        QFETCH(QString, line);
        QCOMPARE(moque::sheets::sheetLine(cells), line);
        QCOMPARE(moque::test::sheetLineCells(line), cells);
    }

    void readerCanBeReused()
    {
        SpreadsheetReader reader;
        QVERIFY(!reader.open(tempPath(QStringLiteral("nowhere.xls"))));
        QVERIFY(!reader.isOpen());
        QVERIFY(reader.open(fixture(QStringLiteral("gbk.csv"))));
        QCOMPARE(reader.failure(), Failure::None);
        QCOMPARE(reader.errorString(), QString());
        QCOMPARE(reader.readSheet(0), sampleRows(Format::Csv));
        reader.close();
        QVERIFY(reader.readSheet(0).isEmpty());
        QVERIFY(reader.sheetNames().isEmpty());
    }

private:
    void checkFailure(const QString &path, Failure expected, const SpreadsheetLimits &limits = {})
    {
        SpreadsheetReader reader(limits);
        Rows rows;
        if (reader.open(path))
            rows = reader.readSheet(0);
        QCOMPARE(reader.failure(), expected);
        QVERIFY(rows.isEmpty());
        QVERIFY2(reader.errorString().contains(QDir::toNativeSeparators(path)), qPrintable(reader.errorString()));
        QVERIFY(reader.errorString().startsWith(QStringLiteral("无法")));
        QVERIFY(!reader.errorString().contains(u'\n'));

        QString error;
        QVERIFY(SpreadsheetReader::readFirstSheet(path, &error, limits).isEmpty());
        QCOMPARE(error, reader.errorString());
    }
};

QTEST_GUILESS_MAIN(TestSpreadsheetReader)
#include "test_spreadsheet_reader.moc"
