// moque-cli import: recipients from a spreadsheet into the batch list or the address book.

#include "support/CliRun.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString orders()
{
    return QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("../fixtures/import/orders-gbk.csv"));
}

} // namespace

class TestCliImport : public QObject
{
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    QString dataDir() const { return m_dir->filePath(QStringLiteral("data")); }
    QString logPath() const { return dataDir() + QStringLiteral("/ImportLog.txt"); }

    moque::test::CliRun import(const QStringList &args)
    {
        return moque::test::runCli(QStringList{"--data-dir", dataDir(), "import"} + args);
    }
    // Rows of the table, read through a connection of the test's own.
    int rowsOf(const QString &table) const
    {
        int rows = -1;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
            db.setDatabaseName(dataDir() + QStringLiteral("/Data/EPData.ini"));
            if (db.open()) {
                QSqlQuery q(db);
                if (q.exec(QStringLiteral("select count(*) from ") + table) && q.next())
                    rows = q.value(0).toInt();
            }
        }
        QSqlDatabase::removeDatabase(QStringLiteral("check"));
        return rows;
    }
    QString summary(int read, int stored, int duplicates, int invalid) const
    {
        return QStringLiteral("rows read: %1, imported: %2, skipped: %3 (duplicates: %4, without 全称, 联系人 and 电话: %5), "
                              "log: %6")
            .arg(read)
            .arg(stored)
            .arg(duplicates + invalid)
            .arg(duplicates)
            .arg(invalid)
            .arg(QDir::toNativeSeparators(logPath()));
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        QCOMPARE(moque::test::runCli({"--data-dir", dataDir(), "init"}).exitCode, 0);
        QCOMPARE(rowsOf(QStringLiteral("ReceiverList")), 0);
    }

    // Imported twice: the batch list takes every row again, the address book none.
    void importTwice_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QStringList>("first");
        QTest::addColumn<QStringList>("second");
        QTest::addColumn<int>("rows");
        QTest::newRow("batch list by default") << QStringList{} << "ReceiverList" << QStringList{"4", "3", "0", "1"}
                                               << QStringList{"4", "3", "0", "1"} << 6;
        QTest::newRow("address book") << QStringList{"--into", "book"} << "CKPersonalInfoTable"
                                      << QStringList{"4", "2", "1", "1"} << QStringList{"4", "0", "3", "1"} << 2;
    }
    void importTwice()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, table);
        QFETCH(QStringList, first);
        QFETCH(QStringList, second);
        QFETCH(int, rows);
        const int before = rowsOf(table);
        for (const QStringList &counts : {first, second}) {
            const auto run = import(QStringList{orders(), "--sheet", "1"} + args);
            QCOMPARE(run.exitCode, 0);
            QCOMPARE(run.out, QStringList{summary(counts.at(0).toInt(), counts.at(1).toInt(), counts.at(2).toInt(),
                                                  counts.at(3).toInt())});
        }
        QCOMPARE(rowsOf(table), before + rows);
        const QByteArray log = moque::test::readAll(logPath());
        QVERIFY(log.contains("[LOG]\n"));
        QVERIFY(log.contains("\nN4=无效行，联系人、电话、全称均为空！\n"));
        QVERIFY(log.contains("[INFO]\nFile=数据文件来源:"));
    }

    void refused_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("error");
        QTest::newRow("unknown target") << QStringList{"--into", "shop"} << QByteArray("姓名\n张三\n")
                                        << "moque-cli: --into must be batch or book";
        QTest::newRow("sheet 0") << QStringList{"--sheet", "0"} << QByteArray("姓名\n张三\n")
                                 << "moque-cli: --sheet must be a whole number from 1";
        QTest::newRow("no such sheet") << QStringList{"--sheet", "2"} << QByteArray("姓名\n张三\n") << "";
        QTest::newRow("broken workbook") << QStringList{} << QByteArray("PK\x03\x04 broken", 11) << "";
        QTest::newRow("no key column") << QStringList{} << QByteArray("电话\n1\n")
                                       << "moque-cli: 收、发件单位名称、联系人、地址不能同时为空，请选择有效的Excel数据文件并匹配项目！";
        QTest::newRow("no file") << QStringList{} << QByteArray() << "moque-cli: import needs one spreadsheet file";
    }
    void refused()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, file);
        QFETCH(QString, error);
        const QString path = m_dir->filePath(file.startsWith("PK") ? QStringLiteral("list.xlsx") : QStringLiteral("list.csv"));
        if (!file.isEmpty())
            QVERIFY(moque::test::writeFile(path, file));
        const auto run = import((file.isEmpty() ? QStringList{} : QStringList{path}) + args);
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.out.isEmpty());
        QCOMPARE(run.err.size(), 1);
        if (error.isEmpty())
            QVERIFY2(run.err.first().contains(QFileInfo(path).fileName()), qPrintable(run.err.first()));
        else
            QCOMPARE(run.err.first(), error);
        QCOMPARE(rowsOf(QStringLiteral("ReceiverList")), 0);
    }
};

QTEST_GUILESS_MAIN(TestCliImport)
#include "test_cli_import.moc"
