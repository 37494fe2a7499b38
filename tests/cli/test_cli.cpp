// Drives build/moque-cli as a script would and checks what it prints and leaves behind.

#include "support/CliRun.h"
#include "support/PdfText.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Run = moque::test::CliRun;

Run cli(const QStringList &args)
{
    return moque::test::runCli(args);
}

using moque::test::writeFile;

QString spreadsheetFixture(const QString &name)
{
    return QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("../fixtures/spreadsheets/") + name);
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString dataDir() const { return m_dir.filePath(QStringLiteral("data")); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QCOMPARE(cli({"--data-dir", dataDir(), "init"}).exitCode, 0);
    }

    void amounts_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QStringList>("out");
        QTest::addColumn<int>("errors");
        QTest::newRow("capital") << QStringList{"amount", "capital", "1005.30"} << QStringList{"壹仟零伍元叁角整"} << 0;
        QTest::newRow("digits") << QStringList{"amount", "digits", "1005.3", "--count", "7", "--format", "0.00"}
                                << QStringList{"零零零壹零零伍叁零"} << 0;
        QTest::newRow("money thousands") << QStringList{"amount", "money", "1234567", "--thousands"}
                                         << QStringList{"1,234,567.00"} << 0;
        QTest::newRow("clean") << QStringList{"amount", "clean", "￥1,005.30"} << QStringList{"1005.30"} << 0;
        QTest::newRow("negatives after --") << QStringList{"amount", "capital", "--", "-12.5", "3"}
                                            << QStringList{"负壹拾贰元伍角整", "叁元整"} << 0;
        QTest::newRow("a bad amount among good ones")
            << QStringList{"amount", "capital", "12", "abc", "5"} << QStringList{"壹拾贰元整", "", "伍元整"} << 1;
        QTest::newRow("a bad amount first") << QStringList{"amount", "clean", "abc", "12"} << QStringList{"", "12"} << 1;
        QTest::newRow("digits overflow") << QStringList{"amount", "digits", "12345.6", "--count", "4", "--format", "0.00"}
                                         << QStringList{""} << 1;
    }
    void amounts()
    {
        QFETCH(QStringList, args);
        QFETCH(QStringList, out);
        QFETCH(int, errors);
        const Run r = cli(args);
        QCOMPARE(r.out, out);
        QCOMPARE(r.err.size(), errors);
        QCOMPARE(r.exitCode != 0, errors > 0);
    }

    void sheet_data()
    {
        QTest::addColumn<QString>("name");        // the file written from bytes, or a fixture
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("out");
        QTest::addColumn<QString>("error");       // in the one line on standard error; empty: none

        const QString xls = spreadsheetFixture(QStringLiteral("sample.xls"));
        QTest::newRow("tabs, line breaks and backslashes escaped")
            << "cells.csv" << QByteArray("\"a\tb\",c\\d,\"x\ny\",\"r\r\nz\"\n1,,3,\n") << QStringList{}
            << QStringList{"a\\tb\tc\\\\d\tx\\ny\tr\\r\\nz", "1\t\t3\t"} << "";
        QTest::newRow("xlsx") << spreadsheetFixture(QStringLiteral("sample.xlsx")) << QByteArray() << QStringList{}
                              << QStringList{"编号\t名称\t金额\t日期\t时间",
                                             "00123\t北京墨雀科技有限公司\t1005.3\t2024/1/31\t2024/1/31 9:30",
                                             "A-7\t引号\"与,逗号\t42\t2021/1/1\t2021/1/1 18:00"}
                              << "";
        QTest::newRow("second sheet of an xls") << xls << QByteArray() << QStringList{"--sheet", "2"}
                                                << QStringList{"x"} << "";
        QTest::newRow("sheet names") << xls << QByteArray() << QStringList{"--sheet-names"}
                                     << QStringList{"名单", "第二页"} << "";
        QTest::newRow("missing file") << m_dir.filePath("nowhere.xlsx") << QByteArray() << QStringList{}
                                      << QStringList{} << "无法打开表格文件：" + m_dir.filePath("nowhere.xlsx");
        QTest::newRow("not a workbook") << "text.xlsx" << QByteArray("a,b\n") << QStringList{} << QStringList{}
                                        << "文件已损坏或不是Excel/CSV格式";
        QTest::newRow("no such sheet") << xls << QByteArray() << QStringList{"--sheet", "3"} << QStringList{}
                                       << "（找不到工作表：3）";
        QTest::newRow("sheet 0") << xls << QByteArray() << QStringList{"--sheet", "0"} << QStringList{}
                                 << "--sheet must be a whole number from 1";
        QTest::newRow("no file") << "" << QByteArray() << QStringList{} << QStringList{}
                                 << "sheet needs one spreadsheet file";
    }
    // Prints what the spreadsheet reader reads, without a data directory.
    void sheet()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, options);
        QFETCH(QStringList, out);
        QFETCH(QString, error);
        QString file = name;
        if (!bytes.isEmpty()) {
            file = m_dir.filePath(name);
            QVERIFY(writeFile(file, bytes));
        }
        QStringList args{"sheet"};
        if (!file.isEmpty())
            args << file;
        const Run r = cli(args + options);
        QCOMPARE(r.out, out);
        if (error.isEmpty()) {
            QCOMPARE(r.err, QStringList());
            QCOMPARE(r.exitCode, 0);
            return;
        }
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.err.size(), 1);
        QVERIFY2(r.err[0].contains(error), qPrintable(r.err[0]));
    }

    void initCreatesTheDataDirectoryAndTemplatesAreListed()
    {
        const Run init = cli({"--data-dir", dataDir(), "init"});
        QCOMPARE(init.exitCode, 0);
        QVERIFY(QFile::exists(dataDir() + "/Data/EPData.ini"));
        const Run list = cli({"--data-dir", dataDir(), "templates"});
        QCOMPARE(list.exitCode, 0);
        QCOMPARE(list.out.value(0), QStringLiteral("number\tkind\tdisplay name\tfull name\tdefault\tcommon\tenabled"));
        QVERIFY(list.out.contains(QStringLiteral("1\t快递单\t通用快递单\t快递单（通用快递单）\tyes\tyes\tyes")));
    }

    void printErrorsAreOneLineAndLeaveNoPdf_data()
    {
        QTest::addColumn<QString>("templateName");
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown template") << "快递单（没有）" << QByteArray("{}") << "out.pdf" << "unknown template";
        QTest::newRow("malformed json") << "快递单（通用快递单）" << QByteArray("{\"zdHKR\": ") << "out.pdf"
                                        << "is not valid JSON";
        QTest::newRow("unknown field") << "快递单（通用快递单）" << QByteArray("{\"zdNope\": \"x\"}") << "out.pdf"
                                       << "unknown field zdNope";
        QTest::newRow("unwritable output") << "快递单（通用快递单）" << QByteArray("{\"zdHKR\": \"x\"}")
                                           << "no-such-folder/out.pdf" << "无法写入文件";
    }
    void printErrorsAreOneLineAndLeaveNoPdf()
    {
        QFETCH(QString, templateName);
        QFETCH(QByteArray, json);
        QFETCH(QString, output);
        QFETCH(QString, message);
        QVERIFY(writeFile(m_dir.filePath("bill.json"), json));
        const QString pdf = m_dir.filePath(output);
        const Run r = cli({"--data-dir", dataDir(), "print", "--template", templateName, "--values",
                           m_dir.filePath("bill.json"), "--output", pdf});
        QVERIFY(r.exitCode != 0);
        QCOMPARE(r.err.size(), 1);
        QVERIFY2(r.err[0].contains(message), qPrintable(r.err[0]));
        QVERIFY(!QFile::exists(pdf));
    }

    // With the PDF printer locked as the bill printer there is no printer to print on
    // unless a file is named.
    void noPrinterNamedWithThePdfPrinterLocked()
    {
        QTemporaryDir dir;
        const QString data = dir.filePath("data");
        QCOMPARE(cli({"--data-dir", data, "init"}).exitCode, 0);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "locked");
            db.setDatabaseName(data + "/Data/EPData.ini");
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec("update configtable set cvalue='PDF' where cname='DefaultPrinter'"));
            QCOMPARE(q.numRowsAffected(), 1);
        }
        QSqlDatabase::removeDatabase("locked");
        QVERIFY(writeFile(dir.filePath("bill.json"), "{\"zdHKR\": \"x\"}"));
        const Run r = cli({"--data-dir", data, "print", "--template", "快递单（通用快递单）", "--values",
                           dir.filePath("bill.json")});
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.err, QStringList{"moque-cli: no printer to print on: give --output FILE.pdf or --printer NAME"});
    }

    void reprintsASavedWaybill_data()
    {
        QTest::addColumn<QString>("templateName");
        QTest::addColumn<QString>("saved");
        QTest::addColumn<QString>("error");
        QTest::newRow("on its template") << "通用快递单" << "" << "";
        QTest::newRow("no such bill") << "通用快递单" << "快递单:999999" << "999999";
        QTest::newRow("template gone") << "已删除的模板" << "" << "已删除的模板";
        QTest::newRow("not a waybill") << "通用快递单" << "收据:1" << "--saved takes";
    }
    void reprintsASavedWaybill()
    {
        QFETCH(QString, templateName);
        QFETCH(QString, saved);
        QFETCH(QString, error);
        int id = 0;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "saved");
            db.setDatabaseName(dataDir() + "/Data/EPData.ini");
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec(QStringLiteral("insert into DataKDDTable (模板种类,收件单位,收件联系人,寄件日期) values ('%1',"
                                          "'Hangzhou Xinghe','Li Si','2026-12-08')")
                               .arg(templateName)));
            id = q.lastInsertId().toInt();
        }
        QSqlDatabase::removeDatabase("saved");
        const QString pdf = m_dir.filePath("saved.pdf");
        QFile::remove(pdf);
        const Run r = cli({"--data-dir", dataDir(), "print", "--saved",
                           saved.isEmpty() ? QStringLiteral("快递单:%1").arg(id) : saved, "--output", pdf});
        if (!error.isEmpty()) {
            QVERIFY(r.exitCode != 0);
            QCOMPARE(r.err.size(), 1);
            QVERIFY2(r.err[0].contains(error), qPrintable(r.err[0]));
            QVERIFY(!QFile::exists(pdf));
            return;
        }
        QCOMPARE(r.exitCode, 0);
        const QString printed = moque::test::readPdfText(pdf);
        QVERIFY2(printed.contains("Hangzhou Xinghe") && printed.contains("Li Si"), qPrintable(printed));
        // The date boxes print as the window shows them.
        QVERIFY(printed.contains("2026"));
    }

    void printsBillsIntoOnePdf()
    {
        QVERIFY(writeFile(m_dir.filePath("bills.json"),
                      QByteArray(R"([{"zdHKR": "Moque Ltd", "DEFCHECK0": true}, {"ZDSKR": "Second"}])")));
        const QString pdf = m_dir.filePath("bills.pdf");
        const Run r = cli({"--data-dir", dataDir(), "print", "--template", "快递单（通用快递单）", "--values",
                           m_dir.filePath("bills.json"), "--output", pdf, "--copies", "2"});
        QCOMPARE(r.exitCode, 0);
        QVERIFY(r.err.isEmpty());
        QProcess info;
        info.start("pdfinfo", {pdf});
        QVERIFY(info.waitForFinished(30000));
        // Two bills, two copies each.
        QVERIFY(QString::fromUtf8(info.readAllStandardOutput()).contains(QRegularExpression("Pages:\\s+4\\b")));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "test_cli.moc"
