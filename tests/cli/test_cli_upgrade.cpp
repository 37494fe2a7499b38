// moque-cli upgrade: an older data file brought to this version, what changed
// printed one line each; nothing to do on a current file; refused when the
// version is recorded already.

#include "app/AppVersion.h"
#include "support/CliRun.h"
#include "support/TestData.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString version = moque::app::getAppVersion(2);

} // namespace

class TestCliUpgrade : public QObject
{
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    QString dataDir() const { return m_dir->filePath(QStringLiteral("data")); }
    QString dataFile() const { return dataDir() + QStringLiteral("/Data/EPData.ini"); }
    QStringList backups() const
    {
        return QDir(dataDir() + QStringLiteral("/Data")).entryList({QStringLiteral("EPData.ini.bak-*")}, QDir::Files);
    }
    moque::test::CliRun runUpgrade() const { return moque::test::runCli({"--data-dir", dataDir(), "upgrade"}); }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        QCOMPARE(moque::test::runCli({"--data-dir", dataDir(), "init"}).exitCode, 0);
    }

    void upgrade_data()
    {
        QTest::addColumn<QStringList>("statements");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("lines"); // patterns of the lines printed, in order
        QTest::addColumn<QString>("error");
        QTest::addColumn<bool>("backedUp");
        QTest::newRow("current file") << QStringList{} << 0 << QStringList{"nothing to upgrade"} << "" << false;
        QTest::newRow("older file")
            << QStringList{"alter table CKTypeTable drop column IsCommon",
                           "alter table ReceiverList drop column 代收金额",
                           "delete from NameDict where CtlName in ('ZDTIJI','DEFCHECK3')",
                           "delete from configtable where cname='version'"}
            << 0
            << QStringList{"CKTypeTable: added IsCommon", "ReceiverList: added 代收金额", "_Config: version " + version,
                           "NameDict: added ZDTIJI", "NameDict: added DEFCHECK3",
                           "CKTypeTable: \\d+ templates made common", "configtable: version " + version}
            << "" << true;
        QTest::newRow("only the version differs")
            << QStringList{"update configtable set cvalue='9.0' where cname='version'"} << 0
            << QStringList{"_Config: version " + version, "configtable: version " + version} << "" << true;
        // Written by an earlier build of this version: what it lacks is added all the same.
        QTest::newRow("version recorded, column missing")
            << QStringList{"alter table CKTypeTable drop column IsCommon"} << 0
            << QStringList{"CKTypeTable: added IsCommon", "_Config: version " + version,
                           "CKTypeTable: \\d+ templates made common", "configtable: version " + version}
            << "" << true;
    }

    void upgrade()
    {
        QFETCH(QStringList, statements);
        QFETCH(int, exitCode);
        QFETCH(QStringList, lines);
        QFETCH(QString, error);
        QFETCH(bool, backedUp);
        QVERIFY(moque::test::execOnFile(dataFile(), statements));

        const moque::test::CliRun run = runUpgrade();
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(run.err, error.isEmpty() ? QStringList{} : QStringList{error});
        QStringList out = run.out;
        QCOMPARE(backups().size(), backedUp ? 1 : 0);
        if (backedUp) {
            QVERIFY(!out.isEmpty());
            const QString backup = out.takeLast();
            QCOMPARE(backup, QStringLiteral("backup: ") + dataDir() + QStringLiteral("/Data/") + backups().first());
        }
        QCOMPARE(out.size(), lines.size());
        for (int i = 0; i < lines.size(); ++i)
            QVERIFY2(QRegularExpression(QStringLiteral("^") + lines[i] + QStringLiteral("$")).match(out[i]).hasMatch(),
                     qPrintable(out[i]));

        // Whatever happened, a second run finds nothing more to do unless it was refused.
        if (exitCode == 0)
            QCOMPARE(runUpgrade().out, QStringList{QStringLiteral("nothing to upgrade")});
    }
};

QTEST_GUILESS_MAIN(TestCliUpgrade)
#include "test_cli_upgrade.moc"
