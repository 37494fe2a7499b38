// The system options of configtable: exact names and values (quotes, percent
// signs, Chinese text), what counts as on, insert versus update, and the four
// flags read at start.

#include "settings/Options.h"
#include "support/TestData.h"

#include <QTest>

using namespace moque;

class TestOptions : public QObject
{
    Q_OBJECT

private:
    int rowsNamed(test::TestData &data, const QString &name)
    {
        return data.scalar(QStringLiteral("select count(*) from configtable where cname=?"), {name}).toInt();
    }

private Q_SLOTS:
    void roundTrip_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::newRow("quotes and percent") << "a'b%名" << "x'y";
        QTest::newRow("double quotes") << "say \"hi\"" << "\"quoted\"";
        QTest::newRow("wildcards") << "50%_off" << "%";
        QTest::newRow("chinese") << "打印机名称" << "办公室 HP LaserJet（二楼）";
        QTest::newRow("statement text") << "x'); drop table configtable; --" << "'; delete from UserTable; --";
        QTest::newRow("empty value") << "空值" << "";
    }
    void roundTrip()
    {
        QFETCH(QString, name);
        QFETCH(QString, value);
        test::TestData data;
        QVERIFY(data.open());
        settings::Options &options = data.core->options();
        QVERIFY(options.setConfigByname(name, value));
        QCOMPARE(options.getConfigByname(name), value);
        QCOMPARE(rowsNamed(data, name), 1);
        // Stored as given, and nothing else was touched.
        QCOMPARE(data.scalar(QStringLiteral("select cvalue from configtable where cname=?"), {name}).toString(), value);
        QCOMPARE(data.core->store().CountTableAllRows(QStringLiteral("UserTable")), 1);
    }

    // A percent sign is a plain character, not a wildcard that finds another option.
    void percentIsNotAWildcard()
    {
        test::TestData data;
        QVERIFY(data.open());
        QVERIFY(data.core->options().setConfigByname(QStringLiteral("ab"), QStringLiteral("1")));
        QCOMPARE(data.core->options().getConfigByname(QStringLiteral("a%")), QString());
        QCOMPARE(data.core->options().getConfigByname(QStringLiteral("a_")), QString());
    }

    void missingOptionIsInserted()
    {
        test::TestData data;
        QVERIFY(data.open());
        const int before = data.core->store().CountTableAllRows(QStringLiteral("configtable"));
        QCOMPARE(rowsNamed(data, QStringLiteral("新选项")), 0);
        QVERIFY(data.core->options().setConfigByname(QStringLiteral("新选项"), QStringLiteral("v1")));
        QCOMPARE(rowsNamed(data, QStringLiteral("新选项")), 1);
        QCOMPARE(data.core->store().CountTableAllRows(QStringLiteral("configtable")), before + 1);
    }

    void existingOptionIsUpdated()
    {
        test::TestData data;
        QVERIFY(data.open());
        settings::Options &options = data.core->options();
        const int before = data.core->store().CountTableAllRows(QStringLiteral("configtable"));
        QVERIFY(options.setConfigByname(QStringLiteral("DefaultPrinter"), QStringLiteral("PDF")));
        QVERIFY(options.setConfigByname(QStringLiteral("DefaultPrinter"), QStringLiteral("HP")));
        QCOMPARE(rowsNamed(data, QStringLiteral("DefaultPrinter")), 1);
        QCOMPARE(data.core->store().CountTableAllRows(QStringLiteral("configtable")), before);
        QCOMPARE(options.getConfigByname(QStringLiteral("DefaultPrinter")), QStringLiteral("HP"));
        // Writing the same value again is an update too, not an insert.
        QVERIFY(options.setConfigByname(QStringLiteral("DefaultPrinter"), QStringLiteral("HP")));
        QCOMPARE(rowsNamed(data, QStringLiteral("DefaultPrinter")), 1);
    }

    // Names are looked up after trimming the stored name.
    void storedNameWithBlanks()
    {
        test::TestData data;
        QVERIFY(data.open());
        QVERIFY(data.exec(QStringLiteral("insert into configtable (cname, cvalue) values (?, ?)"),
                          {QStringLiteral("  带空格  "), QStringLiteral("找到")}));
        QCOMPARE(data.core->options().getConfigByname(QStringLiteral("带空格")), QStringLiteral("找到"));
        QVERIFY(data.core->options().setConfigByname(QStringLiteral("带空格"), QStringLiteral("改了")));
        QCOMPARE(data.scalar(QStringLiteral("select count(*) from configtable where trim(cname)='带空格'")).toInt(), 1);
        QCOMPARE(data.core->options().getConfigByname(QStringLiteral("带空格")), QStringLiteral("改了"));
    }

    void missingOptionReadsEmpty()
    {
        test::TestData data;
        QVERIFY(data.open());
        QCOMPARE(data.core->options().getConfigByname(QStringLiteral("没有这个")), QString());
        QVERIFY(!data.core->options().isOn(QStringLiteral("没有这个")));
    }

    // A broken option table reads as empty and refuses writes, without a message.
    void optionTableMissing()
    {
        test::TestData data;
        QVERIFY(data.open());
        QVERIFY(data.exec(QStringLiteral("drop table configtable")));
        QCOMPARE(data.core->options().getConfigByname(QStringLiteral("进入系统需验证")), QString());
        QVERIFY(!data.core->options().setConfigByname(QStringLiteral("x"), QStringLiteral("y")));
        QVERIFY(data.dialogs.shown.isEmpty());
    }

    void onValues_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("on");
        QTest::newRow("1") << "1" << true;
        QTest::newRow("yes") << "yes" << true;
        QTest::newRow("YES") << "YES" << false;
        QTest::newRow("Yes") << "Yes" << false;
        QTest::newRow("no") << "no" << false;
        QTest::newRow("0") << "0" << false;
        QTest::newRow("true") << "true" << false;
        QTest::newRow("checked") << "checked" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("11") << "11" << false;
    }
    void onValues()
    {
        QFETCH(QString, stored);
        QFETCH(bool, on);
        test::TestData data;
        QVERIFY(data.open());
        QVERIFY(data.core->options().setConfigByname(QStringLiteral("启用系统背景"), stored));
        QCOMPARE(data.core->options().isOn(QStringLiteral("启用系统背景")), on);
    }

    void setOnWritesYesOrNo()
    {
        test::TestData data;
        QVERIFY(data.open());
        data.core->options().setOn(QStringLiteral("打印前弹出打印机设置"), true);
        QCOMPARE(data.core->options().getConfigByname(QStringLiteral("打印前弹出打印机设置")), QStringLiteral("yes"));
        data.core->options().setOn(QStringLiteral("打印前弹出打印机设置"), false);
        QCOMPARE(data.core->options().getConfigByname(QStringLiteral("打印前弹出打印机设置")), QStringLiteral("no"));
    }

    // The four flags come from their own options, each independently.
    void sysParams_data()
    {
        QTest::addColumn<QStringList>("values"); // login, printer dialog, default issuer, background
        QTest::addColumn<QList<bool>>("flags");
        QTest::newRow("all on") << QStringList{"yes", "1", "yes", "1"} << QList<bool>{true, true, true, true};
        QTest::newRow("all off") << QStringList{"no", "0", "YES", ""} << QList<bool>{false, false, false, false};
        QTest::newRow("login only") << QStringList{"1", "no", "no", "no"} << QList<bool>{true, false, false, false};
        QTest::newRow("printer only") << QStringList{"no", "yes", "no", "no"}
                                      << QList<bool>{false, true, false, false};
        QTest::newRow("issuer only") << QStringList{"no", "no", "yes", "no"} << QList<bool>{false, false, true, false};
        QTest::newRow("background only") << QStringList{"no", "no", "no", "yes"}
                                         << QList<bool>{false, false, false, true};
    }
    void sysParams()
    {
        QFETCH(QStringList, values);
        QFETCH(QList<bool>, flags);
        test::TestData data;
        QVERIFY(data.open());
        const QStringList names{QStringLiteral("进入系统需验证"), QStringLiteral("打印前弹出打印机设置"),
                                QStringLiteral("启用默认出票人"), QStringLiteral("启用系统背景")};
        for (int i = 0; i < 4; ++i)
            QVERIFY(data.core->options().setConfigByname(names[i], values[i]));
        const settings::SysParams p = settings::SysParams::load(data.core->options());
        QCOMPARE(p.loginRequired, flags[0]);
        QCOMPARE(p.popPrinterSetup, flags[1]);
        QCOMPARE(p.useDefaultIssuer, flags[2]);
        QCOMPARE(p.systemBackground, flags[3]);
        // The core's session follows after LoadSysParam.
        data.core->LoadSysParam();
        QCOMPARE(data.core->session().params.loginRequired, flags[0]);
        QCOMPARE(data.core->session().params.popPrinterSetup, flags[1]);
        QCOMPARE(data.core->session().params.useDefaultIssuer, flags[2]);
        QCOMPARE(data.core->session().params.systemBackground, flags[3]);
    }

    // Without the login option no login is asked; the new data file starts with the defaults.
    void defaultsOfNewDataFile()
    {
        test::TestData data;
        QVERIFY(data.open());
        QVERIFY(!data.core->session().params.loginRequired);
        QVERIFY(data.core->session().params.useDefaultIssuer);
        QVERIFY(data.exec(QStringLiteral("delete from configtable where cname='进入系统需验证'")));
        data.core->LoadSysParam();
        QVERIFY(!data.core->session().params.loginRequired);
    }
};

QTEST_GUILESS_MAIN(TestOptions)
#include "test_options.moc"
