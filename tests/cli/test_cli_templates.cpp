// moque-cli templates export / import: template packages from a shell.

#include "support/CliRun.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

class TestCliTemplates : public QObject
{
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    QString dataDir(const char *name) const { return m_dir->filePath(QLatin1String(name)); }
    QString package() const { return m_dir->filePath(QStringLiteral("快递单.tpk")); }

    moque::test::CliRun run(const char *dir, const QStringList &args)
    {
        return moque::test::runCli(QStringList{"--data-dir", dataDir(dir), "templates"} + args);
    }
    // Full names of the templates, read through a connection of the test's own.
    QStringList fullNames(const char *dir) const
    {
        QStringList names;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
            db.setDatabaseName(dataDir(dir) + QStringLiteral("/Data/EPData.ini"));
            if (db.open()) {
                QSqlQuery q(db);
                q.exec(QStringLiteral("select TypeName from CKTypeTable order by CheckTypeID"));
                while (q.next())
                    names << q.value(0).toString();
            }
        }
        QSqlDatabase::removeDatabase(QStringLiteral("check"));
        return names;
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        for (const char *dir : {"from", "to"})
            QCOMPARE(moque::test::runCli({"--data-dir", dataDir(dir), "init"}).exitCode, 0);
    }

    void exportsAndImports_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("templates");
        QTest::newRow("replacing") << QStringList{}
                                   << QStringList{"replaced\t1\t快递单（通用快递单）", "replaced\t2\t快递单（标准快递单）",
                                                  "templates imported: 2, failed: 0"}
                                   << 5;
        QTest::newRow("--keep-old") << QStringList{"--keep-old"}
                                    << QStringList{"added\t6\t快递单（通用快递单.新）", "added\t7\t快递单（标准快递单.新）",
                                                   "templates imported: 2, failed: 0"}
                                    << 7;
    }
    void exportsAndImports()
    {
        QFETCH(QStringList, options);
        QFETCH(QStringList, lines);
        QFETCH(int, templates);
        const moque::test::CliRun exported = run("from", {"export", "--ids", "1,2", "--output", package()});
        QCOMPARE(exported.exitCode, 0);
        QCOMPARE(exported.out, (QStringList{"1\t快递单（通用快递单）", "2\t快递单（标准快递单）",
                                            "templates exported: 2, failed: 0, package: "
                                                + QDir::toNativeSeparators(package())}));
        const moque::test::CliRun imported = run("to", QStringList{"import", package()} + options);
        QCOMPARE(imported.exitCode, 0);
        QCOMPARE(imported.out, lines);
        QCOMPARE(fullNames("to").size(), templates);
        QVERIFY(QFile::exists(dataDir("to") + QStringLiteral("/Image/kdd%1.jpg").arg(templates == 5 ? 1 : 7)));
    }

    // Wrong input: a line on standard error, exit status 1, nothing written.
    void refuses_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("error");
        QTest::newRow("unknown number") << QStringList{"export", "--ids", "1,99", "--output", "OUT"}
                                        << "moque-cli: no template with the number 99";
        QTest::newRow("numbers not numbers") << QStringList{"export", "--ids", "1,x", "--output", "OUT"}
                                             << "moque-cli: --ids must be template numbers separated by commas";
        QTest::newRow("no output") << QStringList{"export", "--ids", "1"}
                                   << "moque-cli: templates export needs --output FILE.tpk";
        QTest::newRow("not a package") << QStringList{"import", "NOTPACKAGE"}
                                       << "moque-cli: 票据包无法读取：NOTPACKAGE；文件不是票据包（不是数据库文件）";
        QTest::newRow("no file") << QStringList{"import"} << "moque-cli: templates import needs one package file";
    }
    void refuses()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, error);
        const QString notPackage = m_dir->filePath(QStringLiteral("notes.tpk"));
        QFile f(notPackage);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("not a package\n");
        f.close();
        args.replaceInStrings(QStringLiteral("NOTPACKAGE"), notPackage);
        args.replaceInStrings(QStringLiteral("OUT"), package());
        error.replace(QStringLiteral("NOTPACKAGE"), notPackage);
        const QStringList before = fullNames("to");
        const moque::test::CliRun result = run("to", args);
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.err, QStringList{error});
        QVERIFY(!QFile::exists(package()));
        QCOMPARE(fullNames("to"), before);
    }
};

QTEST_GUILESS_MAIN(TestCliTemplates)
#include "test_cli_templates.moc"
