// moque-cli batch print: the batch list in one job, as a script drives it.

#include "support/CliRun.h"
#include "support/PdfText.h"
#include "support/TestData.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Run = moque::test::CliRun;

Run cli(const QStringList &args)
{
    return moque::test::runCli(args);
}

} // namespace

class TestCliBatch : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString dataDir() const { return m_dir.filePath(QStringLiteral("data")); }
    QString database() const { return dataDir() + QStringLiteral("/Data/EPData.ini"); }
    QString pdf(const QString &name) const { return m_dir.filePath(name); }

    // The page texts of a PDF, each page's words joined by spaces.
    static QStringList pageTexts(const QString &path)
    {
        QStringList pages;
        for (const moque::test::PdfPage &page : moque::test::readPdfPages(path)) {
            QStringList words;
            for (const moque::test::PdfWord &w : page.words)
                words << w.text;
            pages << words.join(QLatin1Char(' '));
        }
        return pages;
    }

    int receiverRows() const
    {
        int rows = -1;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("count"));
            db.setDatabaseName(database());
            QSqlQuery q(db);
            if (db.open() && q.exec(QStringLiteral("select count(*) from ReceiverList")) && q.next())
                rows = q.value(0).toInt();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("count"));
        return rows;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QCOMPARE(cli({"--data-dir", dataDir(), "init"}).exitCode, 0);
        QVERIFY(moque::test::execOnFile(
            database(),
            {"insert into ReceiverList (全称,联系人,批打分组) values ('AlphaCo','Li',null)",
             "insert into ReceiverList (全称,联系人,批打分组) values ('OtherGroupCo','Zhao','分组甲')",
             "insert into ReceiverList (全称,联系人,批打分组) values ('BetaCo','Wang','')",
             "insert into CKPersonalInfoTable (ID,全称,联系人) values (777,'SenderCo','Qian')"}));
    }

    void printsTheListInOneJob_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<bool>("withSender");
        QTest::newRow("default template, no sender") << QStringList{} << false;
        QTest::newRow("a sender") << QStringList{"--sender", "777"} << true;
        QTest::newRow("another template") << QStringList{"--template", "快递单（标准快递单）", "--sender", "777"} << true;
        QTest::newRow("the PDF printer") << QStringList{"--printer", "pdf"} << false;
    }

    void printsTheListInOneJob()
    {
        QFETCH(QStringList, options);
        QFETCH(bool, withSender);
        const QString path = pdf(QStringLiteral("%1.pdf").arg(QTest::currentDataTag()));
        const Run r = cli(QStringList{"--data-dir", dataDir(), "batch", "print", "--output", path} + options);
        QVERIFY2(r.exitCode == 0, qPrintable(r.err.join('|')));
        QCOMPARE(r.out, QStringList{QStringLiteral("printed 2 waybill(s) on %1").arg(path)});
        const QStringList pages = pageTexts(path);
        QCOMPARE(pages.size(), 2);
        QVERIFY2(pages[0].contains("AlphaCo") && !pages[0].contains("BetaCo"), qPrintable(pages[0]));
        QVERIFY2(pages[1].contains("BetaCo") && !pages[1].contains("AlphaCo"), qPrintable(pages[1]));
        for (const QString &page : pages) {
            QVERIFY(!page.contains("OtherGroupCo"));
            QCOMPARE(page.contains("SenderCo"), withSender);
        }
        QCOMPARE(receiverRows(), 3); // printing keeps the list
    }

    void errorsAreOneLineAndLeaveNoPdf_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        QTest::newRow("no action") << QStringList{"batch"} << "batch takes one action: batch print";
        QTest::newRow("an unknown action") << QStringList{"batch", "list"} << "batch takes one action: batch print";
        QTest::newRow("a sender that is no number") << QStringList{"batch", "print", "--sender", "abc"}
                                                    << "--sender takes the number of an address book entry, not abc";
        QTest::newRow("a sender of 0") << QStringList{"batch", "print", "--sender", "0"}
                                       << "--sender takes the number of an address book entry, not 0";
        QTest::newRow("a sender not in the book") << QStringList{"batch", "print", "--sender", "999"}
                                                  << "no address book entry 999";
        QTest::newRow("an unknown template") << QStringList{"batch", "print", "--template", "快递单（没有）"}
                                             << "unknown template: 快递单（没有）";
        QTest::newRow("not a waybill template")
            << QStringList{"batch", "print", "--template", "出口商品发票（通用出口发票）"}
            << "出口商品发票（通用出口发票） is not a 快递单 template";
        QTest::newRow("an unknown printer") << QStringList{"batch", "print", "--printer", "No_Such_Printer"}
                                            << "unknown printer: No_Such_Printer";
    }

    void errorsAreOneLineAndLeaveNoPdf()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        const QString path = pdf(QStringLiteral("error.pdf"));
        QStringList full{"--data-dir", dataDir()};
        full << args;
        if (!args.contains("--printer"))
            full << "--output" << path;
        const Run r = cli(full);
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.err, QStringList{QStringLiteral("moque-cli: ") + message});
        QVERIFY(r.out.isEmpty());
        QVERIFY(!QFile::exists(path));
    }

    void anEmptyListPrintsNothing()
    {
        QTemporaryDir other;
        const QString data = other.filePath(QStringLiteral("data"));
        QCOMPARE(cli({"--data-dir", data, "init"}).exitCode, 0);
        const QString path = other.filePath(QStringLiteral("empty.pdf"));
        const Run r = cli({"--data-dir", data, "batch", "print", "--output", path});
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.err, QStringList{"moque-cli: the batch list is empty: nothing to print"});
        QVERIFY(!QFile::exists(path));
    }
};

QTEST_MAIN(TestCliBatch)
#include "test_cli_batch.moc"
