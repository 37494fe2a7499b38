#include "batch/SpreadsheetReader.h"
#include "support/TestFiles.h"
#include "ZipFiles.h"

#include <QTemporaryDir>
#include <QtTest>

using moque::batch::SpreadsheetLimits;
using moque::batch::SpreadsheetReader;
using Rows = QList<QStringList>;
using Failure = SpreadsheetReader::Failure;
using Format = SpreadsheetReader::Format;

Q_DECLARE_METATYPE(SpreadsheetLimits)

namespace {

QString fixture(const QString &name)
{
    return QStringLiteral(MOQUE_SPREADSHEET_FIXTURES "/") + name;
}

// The table every sample fixture holds, whatever its format.
Rows sampleRows()
{
    return {
        {"编号", "名称", "金额", "日期", "时间"},
        {"00123", "北京墨雀科技有限公司", "1005.3", "2024-01-31", "2024-01-31 09:30"},
        {"A-7", "引号\"与,逗号", "42", "2021-01-01", "2021-01-01 18:00"},
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
        QTest::newRow("xls") << "sample.xls" << int(Format::Xls) << QStringList{"名单", "第二页"} << sampleRows();
        QTest::newRow("utf-8 csv with BOM") << "utf8-bom.csv" << int(Format::Csv) << QStringList{"utf8-bom"}
                                            << sampleRows();
        QTest::newRow("utf-8 csv") << "utf8.csv" << int(Format::Csv) << QStringList{"utf8"} << sampleRows();
        QTest::newRow("gbk csv") << "gbk.csv" << int(Format::Csv) << QStringList{"gbk"} << sampleRows();
        // Shared strings with rich text and phonetic runs, inline strings, a row and
        // cells left out, dates and times in built-in and custom formats, a zero-padded
        // number, a boolean, a formula's text and an escaped carriage return.
        QTest::newRow("hand-made xlsx")
            << "minimal.xlsx" << int(Format::Xlsx) << QStringList{"数据", "空表"}
            << Rows{
                   {"名称", "数量", "日期", "备注", ""},
                   {"苹果, \"红\"", "42", "2024-01-31", "第一行\n第二行", ""},
                   {"", "", "", "", ""},
                   {"梨", "3.5", "2024-01-31 12:00", "", "TRUE"},
                   {"00123", "abc", "0.30000000000000004", "行1\r\n行2", "18:00"},
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
        QTest::newRow("xlsx") << "sample.xlsx";
        QTest::newRow("xls") << "sample.xls";
    }

    void sheetsByName()
    {
        QFETCH(QString, file);
        SpreadsheetReader reader;
        QVERIFY(reader.open(fixture(file)));
        QCOMPARE(reader.readSheet(QStringLiteral("第二页")), (Rows{{"x"}}));
        QCOMPARE(reader.readSheet(QStringLiteral("名单")), sampleRows());

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
        const QString stream = QStringLiteral("EncryptedPackage");
        QByteArray encryptedPackage = oleMagic + QByteArray(1016, '\0')
            + QByteArray(reinterpret_cast<const char *>(stream.utf16()), stream.size() * 2);
        encryptedPackage.append(QByteArray(3072 - encryptedPackage.size(), '\0'));

        QTest::newRow("text named .xlsx") << "text.xlsx" << QByteArray("名称,数量\n苹果,3\n")
                                          << int(Failure::NotSpreadsheet);
        QTest::newRow("text named .xls") << "text.xls" << QByteArray("<html><table></table></html>")
                                         << int(Failure::NotSpreadsheet);
        QTest::newRow("truncated xlsx") << "cut.xlsx" << xlsx.left(xlsx.size() / 2) << int(Failure::Truncated);
        QTest::newRow("truncated xls") << "cut.xls" << xls.left(3000) << int(Failure::Truncated);
        QTest::newRow("garbage after the OLE signature") << "garbage.xls" << oleGarbage
                                                         << int(Failure::NotSpreadsheet);
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

    void readerCanBeReused()
    {
        SpreadsheetReader reader;
        QVERIFY(!reader.open(tempPath(QStringLiteral("nowhere.xls"))));
        QVERIFY(!reader.isOpen());
        QVERIFY(reader.open(fixture(QStringLiteral("gbk.csv"))));
        QCOMPARE(reader.failure(), Failure::None);
        QCOMPARE(reader.errorString(), QString());
        QCOMPARE(reader.readSheet(0), sampleRows());
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

        QString error;
        QVERIFY(SpreadsheetReader::readFirstSheet(path, &error, limits).isEmpty());
        QCOMPARE(error, reader.errorString());
    }
};

QTEST_GUILESS_MAIN(TestSpreadsheetReader)
#include "test_spreadsheet_reader.moc"
