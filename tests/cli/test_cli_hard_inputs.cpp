// moque-cli fed what a careless script or a hostile file gives it: every refusal
// is one line naming the real cause, nothing is printed silently wrong, and
// nothing outside the data directory and the named output is written.

#include "support/CliRun.h"
#include "support/PdfText.h"
#include "support/TestData.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

using Run = moque::test::CliRun;

Run cli(const QStringList &args)
{
    return moque::test::runCli(args);
}

using moque::test::writeFile;

// One statement on the data file, as another program would run it.
bool exec(const QString &dataFile, const QString &statement)
{
    return moque::test::execOnFile(dataFile, {statement});
}

const QString waybill = QStringLiteral("快递单（通用快递单）");

} // namespace

class TestCliHardInputs : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString dataDir() const { return m_dir.filePath(QStringLiteral("data")); }

    Run print(const QByteArray &json, const QStringList &more = {})
    {
        const QString values = m_dir.filePath(QStringLiteral("bill.json"));
        if (!writeFile(values, json))
            return {};
        return cli(QStringList{"--data-dir", dataDir(), "print", "--template", waybill, "--values", values} + more);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QCOMPARE(cli({"--data-dir", dataDir(), "init"}).exitCode, 0);
    }

    // Values that would print blank, or one of two, are refused with the reason.
    void valuesThatAreNoBills_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("message");
        QTest::newRow("a number") << QByteArray("42") << "holds no bills";
        QTest::newRow("null") << QByteArray("null") << "holds no bills";
        QTest::newRow("text") << QByteArray("\"zdHKR\"") << "holds no bills";
        QTest::newRow("broken") << QByteArray("{\"zdHKR\": ") << "is not valid JSON";
        QTest::newRow("object value") << QByteArray(R"({"zdHKR": {"a": 1}})") << "field zdHKR must be text";
        QTest::newRow("array value") << QByteArray(R"({"zdHKR": ["a"]})") << "field zdHKR must be text";
        QTest::newRow("null value") << QByteArray(R"({"zdHKR": null})") << "field zdHKR must be text";
        QTest::newRow("name twice") << QByteArray(R"({"zdHKR": "a", "zdHKR": "b"})") << "field zdHKR is given twice";
        QTest::newRow("name twice in other case") << QByteArray(R"([{"zdSKR": "x"}, {"zdHKR": "a", "ZDHKR": "b"}])")
                                                  << "bill 2: field ZDHKR is given twice";
        QTest::newRow("escaped name twice") << QByteArray(R"({"zd\u0048KR": "a", "zdHKR": "b"})")
                                            << "field zdHKR is given twice";
        QTest::newRow("a bill that is no object") << QByteArray(R"([{"zdHKR": "a"}, 7])") << "bill 2 is not an object";
        QTest::newRow("value too long") << ("{\"zdHKR\": \"" + QByteArray(65537, 'x') + "\"}")
                                        << "field zdHKR is longer than 65536 characters";
    }
    void valuesThatAreNoBills()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, message);
        const QString pdf = m_dir.filePath(QStringLiteral("none.pdf"));
        const Run r = print(json, {"--output", pdf});
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.err.size(), 1);
        QVERIFY2(r.err[0].contains(message), qPrintable(r.err[0]));
        QVERIFY(!QFile::exists(pdf));
    }

    // Text, numbers and true/false still print, and the same name in two bills is fine.
    void plainValuesPrint()
    {
        const QString pdf = m_dir.filePath(QStringLiteral("plain.pdf"));
        const Run r = print(R"([{"zdHKR": "甲", "zdYunFee": 12.5, "DEFCHECK0": true}, {"zdHKR": "乙"}])", {"--output", pdf});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err.join('|')));
        QVERIFY(QFile::exists(pdf));
    }

    // A values file that never ends, or a waybill asked for a million times, is refused at once.
    void boundlessInputsAreRefused_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        QTest::newRow("endless values") << QStringList{"--values", "/dev/zero", "--output", "x.pdf"}
                                        << "is larger than 32 MB";
        QTest::newRow("a million copies") << QStringList{"--copies", "1000000", "--output", "x.pdf"}
                                          << "--copies must be a whole number from 1 to 9999";
        QTest::newRow("more copies than a waybill takes") << QStringList{"--copies", "51", "--output", "x.pdf"}
                                                          << "prints at most 50 copies";
    }
    void boundlessInputsAreRefused()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        QVERIFY(writeFile(m_dir.filePath(QStringLiteral("bill.json")), R"({"zdHKR": "甲"})"));
        QStringList all{"--data-dir", dataDir(), "print", "--template", waybill};
        if (!args.contains(QStringLiteral("--values")))
            all << "--values" << m_dir.filePath(QStringLiteral("bill.json"));
        const Run r = cli(all + args);
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.err.size(), 1);
        QVERIFY2(r.err[0].contains(message), qPrintable(r.err[0]));
        QVERIFY(!QFile::exists(QStringLiteral("x.pdf")));
    }

    // A device named as the output is refused and stays what it was.
    void deviceOutputIsRefused()
    {
        const Run r = print(R"({"zdHKR": "甲"})", {"--output", "/dev/null"});
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.err.size(), 1);
        QVERIFY2(r.err[0].contains(QStringLiteral("不是普通文件")), qPrintable(r.err[0]));
        QVERIFY(!r.err[0].contains(QStringLiteral("打印机")));
        QVERIFY(QFileInfo(QStringLiteral("/dev/null")).exists() && !QFileInfo(QStringLiteral("/dev/null")).isFile());
    }

    // Bill numbers past 2³¹ are numbers like any other.
    void largeBillNumbersReprint()
    {
        QTemporaryDir dir;
        const QString data = dir.filePath(QStringLiteral("data"));
        QCOMPARE(cli({"--data-dir", data, "init"}).exitCode, 0);
        QVERIFY(exec(data + "/Data/EPData.ini", QStringLiteral("insert into DataKDDTable (流水号,模板种类,收件单位,寄件日期) "
                                                               "values (3000000000,'通用快递单','杭州星河','')")));
        const QString pdf = dir.filePath(QStringLiteral("again.pdf"));
        const Run r = cli({"--data-dir", data, "print", "--saved", "快递单:3000000000", "--output", pdf});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err.join('|')));
        const QString printed = moque::test::readPdfText(pdf);
        QVERIFY2(printed.contains(QStringLiteral("杭州星河")), qPrintable(printed));
        // The bill has no date: its date boxes print nothing rather than zeros.
        QVERIFY2(!printed.contains(QStringLiteral("0000")), qPrintable(printed));
    }

    // Programs starting together on a new data directory all succeed and leave it whole.
    void simultaneousStartsShareOneDataDirectory()
    {
        for (int round = 0; round < 4; ++round) {
            QTemporaryDir dir;
            const QString data = dir.filePath(QStringLiteral("data"));
            QList<QProcess *> runs;
            for (int i = 0; i < 3; ++i) {
                auto *p = new QProcess(this);
                p->start(QStringLiteral(MOQUE_CLI), {"--data-dir", data, "init"});
                runs << p;
            }
            for (QProcess *p : runs) {
                QVERIFY(p->waitForFinished(60000));
                QVERIFY2(p->exitCode() == 0, p->readAllStandardError().constData());
                delete p;
            }
            const Run list = cli({"--data-dir", data, "templates"});
            QCOMPARE(list.exitCode, 0);
            QCOMPARE(list.out.size(), 6);
            QCOMPARE(QDir(data + "/Data").entryList(QDir::Files | QDir::Hidden),
                     (QStringList{"EPData.ini", "Template.a01"}));
            for (const char *picture : {"Sys_boot.jpg", "sys_bg.jpg", "kdd1.jpg", "cksp5.jpg"})
                QVERIFY2(QFileInfo(data + "/Image/" + QLatin1String(picture)).size() > 1000, picture);
        }
    }

    // A complete data directory that its user may only read still lists and prints.
    void readOnlyDataDirectoryStillReads()
    {
        QTemporaryDir dir;
        const QString data = dir.filePath(QStringLiteral("data"));
        QCOMPARE(cli({"--data-dir", data, "init"}).exitCode, 0);
        // Root may write anywhere: the directory is read-only to an ordinary user, who runs
        // a copy of the program there (the build folder may be closed to other users).
        const QString user = geteuid() == 0 ? QStringLiteral("nobody") : QString();
        QString program = QStringLiteral(MOQUE_CLI);
        if (user.isEmpty()) {
            QVERIFY(QFile::setPermissions(data, QFile::ReadOwner | QFile::ExeOwner));
        } else {
            QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                          | QFile::ReadOther | QFile::ExeOther));
            program = dir.filePath(QStringLiteral("moque-cli"));
            QVERIFY(QFile::copy(QStringLiteral(MOQUE_CLI), program));
        }
        const Run list = moque::test::runProgram(program, {"--data-dir", data, "templates"}, user);
        QFile::setPermissions(data, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY2(list.exitCode == 0, qPrintable(list.err.join('|')));
        QCOMPARE(list.out.size(), 6);
    }

    // A data directory that cannot be made is one line too, though the message has two.
    void unusableDataDirectoryIsOneLine()
    {
        const Run r = cli({"--data-dir", "/proc/moque-cannot-be-here", "templates"});
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.err.size(), 1);
        QVERIFY2(r.err[0].startsWith(QStringLiteral("moque-cli: 无法写入数据目录")), qPrintable(r.err[0]));
    }

    // A data file that lost its field dictionary says so instead of naming a field unknown.
    void damagedDataFileIsNamedAsSuch()
    {
        QTemporaryDir dir;
        const QString data = dir.filePath(QStringLiteral("data"));
        QCOMPARE(cli({"--data-dir", data, "init"}).exitCode, 0);
        QVERIFY(exec(data + "/Data/EPData.ini", QStringLiteral("delete from NameDict")));
        QVERIFY(writeFile(dir.filePath(QStringLiteral("bill.json")), R"({"zdHKR": "甲"})"));
        const Run r = cli({"--data-dir", data, "print", "--template", waybill, "--values",
                           dir.filePath(QStringLiteral("bill.json")), "--output", dir.filePath("x.pdf")});
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.err.size(), 1);
        QVERIFY2(r.err[0].contains(QStringLiteral("unknown field zdHKR")), qPrintable(r.err[0]));

        QVERIFY(exec(data + "/Data/EPData.ini", QStringLiteral("drop table NameDict")));
        const Run dropped = cli({"--data-dir", data, "print", "--template", waybill, "--values",
                                 dir.filePath(QStringLiteral("bill.json")), "--output", dir.filePath("x.pdf")});
        QCOMPARE(dropped.exitCode, 1);
        QCOMPARE(dropped.err.size(), 1);
        QVERIFY2(dropped.err[0].contains(QStringLiteral("数据文件不完整（缺少 NameDict 表）")), qPrintable(dropped.err[0]));
    }
};

QTEST_MAIN(TestCliHardInputs)
#include "test_cli_hard_inputs.moc"
