// The upgrade window offscreen: its environment test, an upgrade with its
// progress and backup, and the refusal when the version is already recorded.

#include "app/AppVersion.h"
#include "app/UpgradeWindow.h"
#include "support/TestData.h"
#include "support/Widgets.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTest>
#include <QUuid>

using namespace moque;
using test::child;
using test::click;

namespace {

const QString version = app::getAppVersion(2);

QStringList backups(const test::TestData &data)
{
    return QDir(data.root() + QStringLiteral("Data")).entryList({QStringLiteral("EPData.ini.bak-*")}, QDir::Files);
}

// Whether the file's table has the column, read through a connection of the test's own.
bool fileHasColumn(const QString &path, const QString &table, const QString &column)
{
    const QString name = QUuid::createUuid().toString();
    bool found = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery q(db);
            q.prepare(QStringLiteral("select count(*) from pragma_table_info(?) where name=?"));
            q.addBindValue(table);
            q.addBindValue(column);
            found = q.exec() && q.next() && q.value(0).toInt() > 0;
        }
    }
    QSqlDatabase::removeDatabase(name);
    return found;
}

} // namespace

class TestUpgradeWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void showsTheProgramAndItsControls()
    {
        test::TestData data;
        QVERIFY(data.open());
        ui::UpgradeWindow window(*data.core);
        window.show();
        QCOMPARE(window.objectName(), QStringLiteral("frmUp2NewVersion"));
        QCOMPARE(window.windowTitle(), QStringLiteral("墨雀软件升级包"));
        QCOMPARE(child<QLabel>(&window, "lbTitle")->text(), QStringLiteral("升级到V") + version);
        QCOMPARE(child<QLabel>(&window, "lbMessage")->text(), QStringLiteral("进度:"));
        auto *appFile = child<QComboBox>(&window, "cbAppFile");
        QVERIFY(!appFile->isEditable());
        QCOMPARE(appFile->currentText(), QDir::toNativeSeparators(QCoreApplication::applicationFilePath()));
        QVERIFY(window.width() <= 580 && window.height() <= 430);
        for (const auto &[name, text] : {std::pair{"btBrowse", "浏览"}, std::pair{"btCheck", "升级环境检测"},
                                         std::pair{"btStart", "3、开始升级"}, std::pair{"btClose", "4、关   闭"}})
            QCOMPARE(child<QAbstractButton>(&window, name)->text(), QString::fromUtf8(text));

        data.dialogs.files.enqueue(data.root() + QStringLiteral("其他/moque"));
        click(&window, "btBrowse");
        QCOMPARE(appFile->currentText(), data.root() + QStringLiteral("其他/moque"));
    }

    void environmentTest_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<bool>("removeDataFile");
        QTest::addColumn<QString>("message");
        QTest::newRow("ready") << "" << false << "环境OK，可以升级~";
        QTest::newRow("program chosen that does not exist") << "/nonexistent/moque" << false << "主程序文件无效~";
        QTest::newRow("no data file") << "" << true << "主程序数据文件无效，请重新选择符合完整的主程序文件~";
    }

    void environmentTest()
    {
        QFETCH(QString, program);
        QFETCH(bool, removeDataFile);
        QFETCH(QString, message);
        test::TestData data;
        QVERIFY(data.open());
        ui::UpgradeWindow window(*data.core);
        window.show();
        if (!program.isEmpty()) {
            data.dialogs.files.enqueue(program);
            click(&window, "btBrowse");
            data.dialogs.clear();
        }
        if (removeDataFile)
            QVERIFY(QFile::rename(data.core->dir().dataFile(), data.core->dir().dataFile() + QStringLiteral(".away")));
        click(&window, "btCheck");
        QCOMPARE(data.dialogs.texts(), QStringList{message});
        QVERIFY(child<QAbstractButton>(&window, "btStart")->isEnabled());
    }

    void upgradesWithProgressAndBackup()
    {
        test::TestData data;
        QVERIFY(data.open());
        QVERIFY(data.exec(QStringLiteral("alter table CKTypeTable drop column IsCommon")));
        QVERIFY(data.exec(QStringLiteral("delete from configtable where cname='version'")));
        ui::UpgradeWindow window(*data.core);
        window.show();
        click(&window, "btStart");

        QCOMPARE(data.dialogs.texts(), QStringList{QStringLiteral("恭喜，升级成功啦！")});
        QCOMPARE(window.result(), int(QDialog::Accepted));
        QVERIFY(!window.isVisible());
        auto *progress = child<QProgressBar>(&window, "ProgressBar1");
        QVERIFY(progress->maximum() > 0);
        QCOMPARE(progress->value(), progress->maximum());
        QCOMPARE(child<QLabel>(&window, "lbMessage")->text(),
                 QStringLiteral("进度:%1/%1    升级完成！").arg(progress->maximum()));
        QVERIFY(fileHasColumn(data.core->dir().dataFile(), QStringLiteral("CKTypeTable"), QStringLiteral("IsCommon")));
        QCOMPARE(data.scalar(QStringLiteral("select cvalue from configtable where cname='version'")).toString(), version);

        // The backup is the data file as it was before.
        const QStringList saved = backups(data);
        QCOMPARE(saved.size(), 1);
        QCOMPARE(window.backupFile(), data.root() + QStringLiteral("Data/") + saved.first());
        QVERIFY(QRegularExpression(QStringLiteral("^EPData\\.ini\\.bak-\\d{14}$")).match(saved.first()).hasMatch());
        QVERIFY(!fileHasColumn(window.backupFile(), QStringLiteral("CKTypeTable"), QStringLiteral("IsCommon")));
        QVERIFY(fileHasColumn(window.backupFile(), QStringLiteral("CKTypeTable"), QStringLiteral("TypeName")));
    }

    void refusedWhenTheVersionIsRecorded()
    {
        test::TestData data;
        QVERIFY(data.open());
        ui::UpgradeWindow window(*data.core);
        window.show();
        click(&window, "btStart");
        QCOMPARE(data.dialogs.texts(),
                 QStringList{QStringLiteral("当前软件已经是V") + version + QStringLiteral("，无需再升级！")});
        QVERIFY(window.isVisible());
        QVERIFY(backups(data).isEmpty());
        QVERIFY(child<QAbstractButton>(&window, "btStart")->isEnabled());
    }
};

QTEST_MAIN(TestUpgradeWindow)
#include "test_upgrade_window.moc"
