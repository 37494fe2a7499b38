// Opening a data directory: broken data files are refused and left untouched,
// directories that cannot be written are refused with a message, an existing
// directory is opened as it is, and older data files missing columns still open.

#include "print/PdfPrintDevice.h"
#include "app/PrintJob.h"
#include "store/Database.h"
#include "support/TestData.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

#include <unistd.h>

using namespace moque;

namespace {

using test::execOnFile;
using test::readAll;
using test::writeFile;

QByteArray randomBytes(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator gen(4711);
    for (char &b : bytes)
        b = char(gen.bounded(256));
    return bytes;
}

} // namespace

class TestDataOpen : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void notADatabase_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("random bytes") << randomBytes(4096);
        QTest::newRow("text file") << QByteArray("[Info]\nnm=墨雀\nThis is not a database.\n");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("Jet database header")
            << QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20) + randomBytes(2028);
        QTest::newRow("database header, broken pages") << QByteArray("SQLite format 3\0", 16) + randomBytes(4080);
    }
    void notADatabase()
    {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("Data")));
        const QString dataFile = dir.filePath(QStringLiteral("Data/EPData.ini"));
        QVERIFY(writeFile(dataFile, content));

        test::ScriptedDialogs dialogs;
        {
            app::AppCore core(store::DataDirectory(dir.path()), dialogs);
            QVERIFY(!core.open());
            QVERIFY2(core.errorText().contains(dataFile), qPrintable(core.errorText()));
            QVERIFY(!core.createdDataFile());
        }
        QCOMPARE(readAll(dataFile), content);
        QVERIFY(!QFileInfo::exists(dataFile + QStringLiteral(".new")));
        QVERIFY(!QFileInfo::exists(dataFile + QStringLiteral("-journal")));
    }

    void dataFileIsAFolder()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("Data/EPData.ini")));
        test::ScriptedDialogs dialogs;
        app::AppCore core(store::DataDirectory(dir.path()), dialogs);
        QVERIFY(!core.open());
        QVERIFY2(core.errorText().contains(dir.filePath(QStringLiteral("Data/EPData.ini"))), qPrintable(core.errorText()));
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("Data/EPData.ini"))).isDir());
    }

    void directoryCannotBeWritten_data()
    {
        QTest::addColumn<QString>("where"); // "file parent", "Data is a file", "read-only", "proc"
        QTest::newRow("parent is a file") << "file parent";
        QTest::newRow("Data is a file") << "Data is a file";
        QTest::newRow("under a read-only directory") << "read-only";
        QTest::newRow("under a system folder") << "proc";
    }
    void directoryCannotBeWritten()
    {
        QFETCH(QString, where);
        QTemporaryDir tmp;
        QString root;
        if (where == QLatin1String("file parent")) {
            QVERIFY(writeFile(tmp.filePath(QStringLiteral("plain.txt")), "x"));
            root = tmp.filePath(QStringLiteral("plain.txt/moque"));
        } else if (where == QLatin1String("Data is a file")) {
            root = tmp.path();
            QVERIFY(writeFile(tmp.filePath(QStringLiteral("Data")), "x"));
        } else if (where == QLatin1String("read-only")) {
            const QString locked = tmp.filePath(QStringLiteral("locked"));
            QVERIFY(QDir(tmp.path()).mkdir(QStringLiteral("locked")));
            QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner));
            if (::access(qPrintable(locked), W_OK) == 0) {
                QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
                QSKIP("this user may write into read-only directories");
            }
            root = locked + QStringLiteral("/moque");
        } else {
            root = QStringLiteral("/proc/moque-test-%1").arg(QUuid::createUuid().toString(QUuid::WithoutBraces));
        }

        test::ScriptedDialogs dialogs;
        {
            app::AppCore core(store::DataDirectory(root), dialogs);
            QVERIFY(!core.open());
            QVERIFY2(core.errorText().startsWith(QStringLiteral("无法写入数据目录：")), qPrintable(core.errorText()));
            QVERIFY2(core.errorText().contains(root), qPrintable(core.errorText()));
        }
        QFile::setPermissions(tmp.filePath(QStringLiteral("locked")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!QFileInfo::exists(root + QStringLiteral("/Data/EPData.ini")));
    }

    // A data file that cannot be created leaves no data file behind.
    void dataFileCannotBeCreated()
    {
        QTemporaryDir dir;
        // A folder where the temporary file must be written.
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("Data/EPData.ini.new")));
        test::ScriptedDialogs dialogs;
        app::AppCore core(store::DataDirectory(dir.path()), dialogs);
        QVERIFY(!core.open());
        QVERIFY2(core.errorText().contains(dir.filePath(QStringLiteral("Data/EPData.ini"))), qPrintable(core.errorText()));
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("Data/EPData.ini"))));
    }

    // A temporary file left by a start that was stopped half-way does not hinder the next start.
    void leftoverTemporaryFileIsReplaced()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("Data")));
        QVERIFY(writeFile(dir.filePath(QStringLiteral("Data/EPData.ini.new")), randomBytes(1000)));
        test::ScriptedDialogs dialogs;
        app::AppCore core(store::DataDirectory(dir.path()), dialogs);
        QVERIFY2(core.open(), qPrintable(core.errorText()));
        QVERIFY(core.createdDataFile());
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("Data/EPData.ini.new"))));
        QCOMPARE(core.store().CountTableAllRows(QStringLiteral("MatchColumn")), 34);
    }

    void secondOpenKeepsEverything()
    {
        test::TestData data;
        QVERIFY(data.open());
        QVERIFY(data.core->createdDataFile());
        QVERIFY(data.exec(QStringLiteral("insert into coins (币种, 缩写, 顺序) values (?, ?, ?)"),
                          {QStringLiteral("自己的币"), QStringLiteral("OWN"), 7}));
        QVERIFY(data.exec(QStringLiteral("delete from UserTable")));
        QVERIFY(data.exec(QStringLiteral("delete from MatchColumn where ItemName='省'")));
        data.core.reset();

        const QString config = data.root() + QStringLiteral("Config.ini");
        const QByteArray ownConfig("[Info]\nnm=自己的品牌\n; kept as written\n");
        QVERIFY(writeFile(config, ownConfig));
        const QString splash = data.root() + QStringLiteral("Image/Sys_boot.jpg");
        const QByteArray ownPicture("not really a picture");
        QVERIFY(writeFile(splash, ownPicture));
        const QByteArray skeleton = readAll(data.root() + QStringLiteral("Data/Template.a01"));

        test::ScriptedDialogs dialogs;
        app::AppCore again(store::DataDirectory(data.root()), dialogs);
        QVERIFY2(again.open(), qPrintable(again.errorText()));
        QVERIFY(!again.createdDataFile());
        QSqlQuery q(again.db());
        QVERIFY(q.exec(QStringLiteral("select 缩写 from coins where 币种='自己的币'")));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("OWN"));
        // Default data is written into new files only.
        QCOMPARE(again.store().CountTableAllRows(QStringLiteral("UserTable")), 0);
        QCOMPARE(again.store().CountTableAllRows(QStringLiteral("MatchColumn")), 33);
        QCOMPARE(readAll(config), ownConfig);
        QCOMPARE(again.settings().brandWord(), QStringLiteral("自己的品牌"));
        QCOMPARE(readAll(splash), ownPicture);
        QCOMPARE(readAll(data.root() + QStringLiteral("Data/Template.a01")), skeleton);
        QVERIFY(dialogs.shown.isEmpty());
    }

    // Missing pieces of an existing directory other than the data file are added.
    void missingSettingsFileAndSkeletonAreAdded()
    {
        test::TestData data;
        QVERIFY(data.open());
        data.core.reset();
        QVERIFY(QFile::remove(data.root() + QStringLiteral("Config.ini")));
        QVERIFY(QFile::remove(data.root() + QStringLiteral("Data/Template.a01")));
        test::ScriptedDialogs dialogs;
        app::AppCore again(store::DataDirectory(data.root()), dialogs);
        QVERIFY2(again.open(), qPrintable(again.errorText()));
        QVERIFY(!again.createdDataFile());
        QVERIFY(QFileInfo::exists(data.root() + QStringLiteral("Config.ini")));
        QVERIFY(QFileInfo::exists(data.root() + QStringLiteral("Data/Template.a01")));
        QCOMPARE(again.settings().brandWord(), QStringLiteral("墨雀"));
        QVERIFY(again.settings().toolbarVisible());
    }

    void olderDataFileMissingColumns_data()
    {
        QTest::addColumn<QStringList>("statements");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("missing");
        QTest::newRow("column dropped from a copy")
            << QStringList{"alter table CKTypeTable drop column IsCommon"} << "CKTypeTable" << "IsCommon";
        QTest::newRow("table made without a column")
            << QStringList{"drop table MatchColumn",
                           "create table MatchColumn (Id integer primary key autoincrement, MatchType text, "
                           "ItemName text, ShowOrd integer)"}
            << "MatchColumn" << "SourceName";
        QTest::newRow("history table without fee columns")
            << QStringList{"alter table DataKDDTable drop column 加急费", "alter table DataKDDTable drop column 体积"}
            << "DataKDDTable" << "加急费";
    }
    void olderDataFileMissingColumns()
    {
        QFETCH(QStringList, statements);
        QFETCH(QString, table);
        QFETCH(QString, missing);
        // A data file as an older version left it: a copy of a new one with a column less.
        QTemporaryDir older;
        {
            test::TestData fresh;
            QVERIFY(fresh.open());
            fresh.core.reset();
            QVERIFY(QDir(older.path()).mkpath(QStringLiteral("Data")));
            QVERIFY(QFile::copy(fresh.root() + QStringLiteral("Data/EPData.ini"),
                                older.filePath(QStringLiteral("Data/EPData.ini"))));
        }
        QVERIFY(execOnFile(older.filePath(QStringLiteral("Data/EPData.ini")), statements));

        test::ScriptedDialogs dialogs;
        app::AppCore core(store::DataDirectory(older.path()), dialogs);
        QVERIFY2(core.open(), qPrintable(core.errorText()));
        QVERIFY(!core.createdDataFile());
        QVERIFY(!core.store().aIFExistsColumn(table, missing));
        // The upgrade can add it back.
        QVERIFY(core.store().aAddColumn(table, missing));
        QVERIFY(core.store().aIFExistsColumn(table, missing));
        QVERIFY(core.options().getConfigByname(QStringLiteral("启用默认出票人")) == QLatin1String("yes"));
        QVERIFY(dialogs.shown.isEmpty());
    }

    // A data file from a much older version that lacks whole tables still opens.
    void olderDataFileMissingTables()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("Data")));
        QVERIFY(execOnFile(dir.filePath(QStringLiteral("Data/EPData.ini")),
                           {QStringLiteral("create table configtable (cname text, cvalue text)"),
                            QStringLiteral("insert into configtable values ('进入系统需验证', '1')")}));
        test::ScriptedDialogs dialogs;
        app::AppCore core(store::DataDirectory(dir.path()), dialogs);
        QVERIFY2(core.open(), qPrintable(core.errorText()));
        QVERIFY(core.session().params.loginRequired);
        QVERIFY(!core.store().aIFExistsColumn(QStringLiteral("MatchColumn"), QStringLiteral("Id")));
    }

    // A data file another program holds is in use, not damaged, once the wait is over.
    void lockedDataFileIsInUse()
    {
        test::TestData data;
        QVERIFY(data.open());
        const QString file = data.root() + QStringLiteral("Data/EPData.ini");
        {
            QSqlDatabase holder = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
            holder.setDatabaseName(file);
            QVERIFY(holder.open());
            QSqlQuery lock(holder);
            QVERIFY(lock.exec(QStringLiteral("begin exclusive")));
            store::Database db;
            QVERIFY(!db.open(file, QStringLiteral("locked"), 200));
            QVERIFY2(db.errorText().startsWith(QStringLiteral("数据文件正被其他程序使用")), qPrintable(db.errorText()));
            QVERIFY(lock.exec(QStringLiteral("rollback")));
            QVERIFY2(db.open(file, QStringLiteral("locked"), 200), qPrintable(db.errorText()));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("holder"));
    }

    // A data file that lost a table or a page says so where printing needs it, instead
    // of printing a blank page or naming a field unknown.
    void damagedDataFileIsReportedWhenPrinting_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("message");
        QTest::newRow("print items dropped") << "drop ckControl" << "数据文件不完整（缺少 ckControl 表）";
        QTest::newRow("field dictionary dropped") << "drop NameDict" << "数据文件不完整（缺少 NameDict 表）";
        QTest::newRow("print items page zeroed") << "zero ckControl" << "数据文件已损坏";
        QTest::newRow("field dictionary page zeroed") << "zero NameDict" << "数据文件已损坏";
    }
    void damagedDataFileIsReportedWhenPrinting()
    {
        QFETCH(QString, damage);
        QFETCH(QString, message);
        test::TestData data;
        QVERIFY(data.open());
        const QString file = data.root() + QStringLiteral("Data/EPData.ini");
        const QString table = damage.section(QLatin1Char(' '), 1);
        const int page = data.scalar(QStringLiteral("select rootpage from sqlite_master where name=?"), {table}).toInt();
        const int pageSize = data.scalar(QStringLiteral("pragma page_size")).toInt();
        data.core.reset();
        if (damage.startsWith(QLatin1String("drop"))) {
            QVERIFY(execOnFile(file, {QStringLiteral("drop table ") + table}));
        } else {
            QFile f(file);
            QVERIFY(f.open(QIODevice::ReadWrite) && f.seek(qint64(page - 1) * pageSize));
            QCOMPARE(f.write(QByteArray(pageSize, '\0')), qint64(pageSize));
        }
        test::ScriptedDialogs dialogs;
        app::AppCore core(store::DataDirectory(data.root()), dialogs);
        QVERIFY2(core.open(), qPrintable(core.errorText()));
        print::PdfPrintDevice device(data.root() + QStringLiteral("out.pdf"));
        app::PrintJob job(core, device);
        QVERIFY(!job.PrintPrepare(1));
        QVERIFY2(dialogs.lastText().startsWith(message), qPrintable(dialogs.lastText()));
        QVERIFY(!QFile::exists(data.root() + QStringLiteral("out.pdf")));
    }

    // Two cores may hold the same data file at once and see each other's writes.
    void twoConnectionsToOneFile()
    {
        test::TestData data;
        QVERIFY(data.open());
        test::ScriptedDialogs dialogs;
        app::AppCore second(store::DataDirectory(data.root()), dialogs);
        QVERIFY(second.open());
        QVERIFY(data.core->options().setConfigByname(QStringLiteral("共享"), QStringLiteral("值")));
        QCOMPARE(second.options().getConfigByname(QStringLiteral("共享")), QStringLiteral("值"));
    }
};

QTEST_GUILESS_MAIN(TestDataOpen)
#include "test_data_open.moc"
