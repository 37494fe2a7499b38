// The INI files of the data directory: Config.ini through IniFile and
// UserSettings, Debug.ini through DebugLog, and the installation record.

#include "settings/IniFile.h"
#include "settings/UserSettings.h"
#include "support/TestData.h"
#include "support/TestFiles.h"

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using namespace moque;
using settings::IniFile;

namespace {

using test::readAll;
using test::writeFile;

} // namespace

class TestSettingsFiles : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_fileNo = 0;

    // A new file name in the test's folder, with the given content when not empty.
    QString file(const QByteArray &content = {})
    {
        const QString path = m_dir.filePath(QStringLiteral("f%1.ini").arg(++m_fileNo));
        if (!content.isEmpty())
            writeFile(path, content);
        return path;
    }

private Q_SLOTS:
    // --- IniFile ---

    void namesCompareWithoutCase_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::newRow("as written") << "Config" << "KDDView_DBLOPEN";
        QTest::newRow("upper case") << "CONFIG" << "KDDVIEW_DBLOPEN";
        QTest::newRow("lower case") << "config" << "kddview_dblopen";
        QTest::newRow("blanks around") << " Config " << " kddview_dblopen ";
    }
    void namesCompareWithoutCase()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        const QString path = file("[Config]\nKDDView_DBLOPEN=1\n");
        IniFile ini(path);
        QVERIFY(ini.contains(section, key));
        QCOMPARE(ini.value(section, key), QStringLiteral("1"));
        ini.setValue(section, key, QStringLiteral("0"));
        QVERIFY(ini.flush());
        // One key, spelled as it was.
        QCOMPARE(readAll(path), QByteArray("[Config]\nKDDView_DBLOPEN=0\n"));
    }

    void writingKeepsTheRestOfTheFile()
    {
        const QByteArray before = "; settings of the bill printer\n"
                                  "[Info]\n"
                                  "nm=墨雀\n"
                                  "\n"
                                  "[Config]\n"
                                  "# written by hand\n"
                                  "KDDView_DBLOPEN=1\n"
                                  "Other = spaced value \n"
                                  "\n"
                                  "[FM_MAIN]\n"
                                  "TOOLBARMAIN=1\n";
        const QString path = file(before);
        IniFile ini(path);
        ini.setValue(QStringLiteral("config"), QStringLiteral("kddview_dblopen"), QStringLiteral("0"));
        ini.setValue(QStringLiteral("CONFIG"), QStringLiteral("NewKey"), QStringLiteral("新值"));
        ini.setValue(QStringLiteral("TFMCHECKKDD"), QStringLiteral("FormWidth"), QStringLiteral("800"));
        QVERIFY(ini.flush());
        const QByteArray after = "; settings of the bill printer\n"
                                 "[Info]\n"
                                 "nm=墨雀\n"
                                 "\n"
                                 "[Config]\n"
                                 "# written by hand\n"
                                 "KDDView_DBLOPEN=0\n"
                                 "Other=spaced value\n"
                                 "NewKey=新值\n"
                                 "\n"
                                 "[FM_MAIN]\n"
                                 "TOOLBARMAIN=1\n"
                                 "\n"
                                 "[TFMCHECKKDD]\n"
                                 "FormWidth=800\n";
        QCOMPARE(readAll(path), after);
        QCOMPARE(IniFile(path).value(QStringLiteral("Config"), QStringLiteral("Other")), QStringLiteral("spaced value"));
    }

    // Lines the file does not understand stay as they were.
    void oddLinesAreKept()
    {
        const QByteArray before = "[Config]\n=no key\njust text\nA=1=2\n";
        const QString path = file(before);
        IniFile ini(path);
        QCOMPARE(ini.value(QStringLiteral("Config"), QStringLiteral("A")), QStringLiteral("1=2"));
        QCOMPARE(ini.keys(QStringLiteral("Config")), QStringList{QStringLiteral("A")});
        ini.setValue(QStringLiteral("Config"), QStringLiteral("B"), QStringLiteral("2"));
        QVERIFY(ini.flush());
        QCOMPARE(readAll(path), QByteArray("[Config]\n=no key\njust text\nA=1=2\nB=2\n"));
    }

    void chineseValuesAreUtf8Text()
    {
        const QString path = file();
        {
            IniFile ini(path);
            ini.setValue(QStringLiteral("Info"), QStringLiteral("nm"), QStringLiteral("墨雀"));
            ini.setValue(QStringLiteral("打印机"), QStringLiteral("名称"), QStringLiteral("办公室（二楼）"));
            QVERIFY(ini.flush());
        }
        const QByteArray bytes = readAll(path);
        QCOMPARE(bytes, QStringLiteral("[Info]\nnm=墨雀\n\n[打印机]\n名称=办公室（二楼）\n").toUtf8());
        QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));
        const IniFile again(path);
        QCOMPARE(again.value(QStringLiteral("INFO"), QStringLiteral("NM")), QStringLiteral("墨雀"));
        QCOMPARE(again.value(QStringLiteral("打印机"), QStringLiteral("名称")), QStringLiteral("办公室（二楼）"));
    }

    void encodingsAreRead_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QStringEncoder gbk("GB18030");
        QTest::newRow("GBK") << QByteArray(gbk.encode(QStringLiteral("[Info]\r\nnm=墨雀票据\r\n")));
        QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBF[Info]\nnm=墨雀票据\n");
        QTest::newRow("UTF-8, CRLF, no last line break")
            << QStringLiteral("[Info]\r\nnm=墨雀票据").toUtf8();
    }
    void encodingsAreRead()
    {
        QFETCH(QByteArray, bytes);
        const QString path = file(bytes);
        IniFile ini(path);
        QCOMPARE(ini.value(QStringLiteral("Info"), QStringLiteral("nm")), QStringLiteral("墨雀票据"));
        // Written back, the file is UTF-8.
        ini.setValue(QStringLiteral("Info"), QStringLiteral("x"), QStringLiteral("1"));
        QVERIFY(ini.flush());
        QCOMPARE(IniFile(path).value(QStringLiteral("Info"), QStringLiteral("nm")), QStringLiteral("墨雀票据"));
        QVERIFY(readAll(path).contains(QStringLiteral("墨雀票据").toUtf8()));
    }

    void reloadDropsUnsavedChanges()
    {
        const QString path = file("[Config]\nA=1\n");
        IniFile ini(path);
        ini.setValue(QStringLiteral("Config"), QStringLiteral("A"), QStringLiteral("2"));
        ini.setValue(QStringLiteral("Config"), QStringLiteral("B"), QStringLiteral("3"));
        QVERIFY(ini.isModified());
        ini.reload();
        QVERIFY(!ini.isModified());
        QCOMPARE(ini.value(QStringLiteral("Config"), QStringLiteral("A")), QStringLiteral("1"));
        QVERIFY(!ini.contains(QStringLiteral("Config"), QStringLiteral("B")));
        QCOMPARE(readAll(path), QByteArray("[Config]\nA=1\n"));
    }

    void lineBreakInValueStaysOnOneLine()
    {
        const QString path = file();
        IniFile ini(path);
        ini.setValue(QStringLiteral("ERROR"), QStringLiteral("LASTERROR"), QStringLiteral("第一行\r\n[Injected]\nX=1"));
        QVERIFY(ini.flush());
        const IniFile again(path);
        QVERIFY(!again.contains(QStringLiteral("Injected"), QStringLiteral("X")));
        QCOMPARE(again.value(QStringLiteral("ERROR"), QStringLiteral("LASTERROR")), QStringLiteral("第一行  [Injected] X=1"));
    }

    void removeAndDefaults()
    {
        const QString path = file("[S]\nA=1\nB=2\n");
        IniFile ini(path);
        QCOMPARE(ini.value(QStringLiteral("S"), QStringLiteral("C"), QStringLiteral("默认")), QStringLiteral("默认"));
        QCOMPARE(ini.value(QStringLiteral("T"), QStringLiteral("A"), QStringLiteral("d")), QStringLiteral("d"));
        ini.remove(QStringLiteral("s"), QStringLiteral("a"));
        QVERIFY(ini.isModified());
        QCOMPARE(ini.keys(QStringLiteral("S")), QStringList{QStringLiteral("B")});
        QVERIFY(ini.flush());
        QVERIFY(!ini.isModified());
        QCOMPARE(readAll(path), QByteArray("[S]\nB=2\n"));
        // Writing a value the file already holds changes nothing.
        ini.setValue(QStringLiteral("S"), QStringLiteral("B"), QStringLiteral("2"));
        QVERIFY(!ini.isModified());
    }

    void missingAndUnwritableFiles()
    {
        IniFile missing(m_dir.filePath(QStringLiteral("nothing-here.ini")));
        QCOMPARE(missing.value(QStringLiteral("Info"), QStringLiteral("nm"), QStringLiteral("d")), QStringLiteral("d"));
        IniFile unwritable(m_dir.filePath(QStringLiteral("no-such-folder/Config.ini")));
        unwritable.setValue(QStringLiteral("Info"), QStringLiteral("nm"), QStringLiteral("x"));
        QVERIFY(!unwritable.flush());
        QVERIFY(unwritable.isModified());
    }

    // --- UserSettings over Config.ini ---

    void toolbar_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("visible");
        QTest::newRow("no file") << QByteArray() << true;
        QTest::newRow("no key") << QByteArray("[FM_MAIN]\n") << true;
        QTest::newRow("1") << QByteArray("[FM_MAIN]\nTOOLBARMAIN=1\n") << true;
        QTest::newRow("0") << QByteArray("[FM_MAIN]\nTOOLBARMAIN=0\n") << false;
        QTest::newRow("other case") << QByteArray("[fm_Main]\nToolBarMain=0\n") << false;
        QTest::newRow("yes is not 1") << QByteArray("[FM_MAIN]\nTOOLBARMAIN=yes\n") << false;
        QTest::newRow("empty") << QByteArray("[FM_MAIN]\nTOOLBARMAIN=\n") << false;
    }
    void toolbar()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, visible);
        settings::UserSettings s(file(content));
        QCOMPARE(s.toolbarVisible(), visible);
    }

    void toolbarIsWritten()
    {
        const QString path = file();
        settings::UserSettings s(path);
        s.setToolbarVisible(false);
        QCOMPARE(IniFile(path).value(QStringLiteral("FM_MAIN"), QStringLiteral("TOOLBARMAIN")), QStringLiteral("0"));
        QVERIFY(!settings::UserSettings(path).toolbarVisible());
        s.setToolbarVisible(true);
        QCOMPARE(IniFile(path).value(QStringLiteral("FM_MAIN"), QStringLiteral("TOOLBARMAIN")), QStringLiteral("1"));
    }

    void formSize_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QSize>("current");
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QSize>("expected");
        const QSize screen(1366, 768);
        QTest::newRow("stored") << QByteArray("[TFMCHECKKDD]\nFormWidth=900\nFormHeight=600\n") << QSize(500, 400)
                                << screen << QSize(900, 600);
        QTest::newRow("wider than screen") << QByteArray("[TFMCHECKKDD]\nFormWidth=3000\nFormHeight=600\n")
                                           << QSize(500, 400) << screen << QSize(1366, 600);
        QTest::newRow("taller than screen") << QByteArray("[TFMCHECKKDD]\nFormWidth=900\nFormHeight=5000\n")
                                            << QSize(500, 400) << screen << QSize(900, 768);
        QTest::newRow("missing") << QByteArray() << QSize(500, 400) << screen << QSize(500, 400);
        QTest::newRow("height missing") << QByteArray("[TFMCHECKKDD]\nFormWidth=900\n") << QSize(500, 400) << screen
                                        << QSize(900, 400);
        QTest::newRow("not a number") << QByteArray("[TFMCHECKKDD]\nFormWidth=abc\nFormHeight=600\n")
                                      << QSize(500, 400) << screen << QSize(500, 600);
        QTest::newRow("section in other case") << QByteArray("[TfmCheckKDD]\nformwidth=700\nformheight=500\n")
                                               << QSize(500, 400) << screen << QSize(700, 500);
        QTest::newRow("current larger than screen") << QByteArray() << QSize(2000, 1000) << screen << screen;
    }
    void formSize()
    {
        QFETCH(QByteArray, content);
        QFETCH(QSize, current);
        QFETCH(QSize, screen);
        QFETCH(QSize, expected);
        settings::UserSettings s(file(content));
        QCOMPARE(s.loadFormSize(QStringLiteral("TfmCheckKDD"), current, screen), expected);
    }

    void formSizeIsSavedUnderUpperCaseName()
    {
        const QString path = file();
        settings::UserSettings s(path);
        s.saveFormSize(QStringLiteral("TfmCheckKDD"), QSize(812, 634));
        const IniFile written(path);
        QCOMPARE(written.keys(QStringLiteral("TFMCHECKKDD")),
                 (QStringList{QStringLiteral("FormWidth"), QStringLiteral("FormHeight")}));
        QVERIFY(readAll(path).contains("[TFMCHECKKDD]"));
        QCOMPARE(written.value(QStringLiteral("TFMCHECKKDD"), QStringLiteral("FormWidth")), QStringLiteral("812"));
        QCOMPARE(written.value(QStringLiteral("TFMCHECKKDD"), QStringLiteral("FormHeight")), QStringLiteral("634"));
        QCOMPARE(settings::UserSettings(path).loadFormSize(QStringLiteral("tfmcheckkdd"), QSize(1, 1), QSize(1920, 1080)),
                 QSize(812, 634));
    }

    void gridWidths_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("columns");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("nothing stored") << QByteArray() << 3 << QList<int>{40, 40, 40};
        QTest::newRow("stored and hidden")
            << QByteArray("[KDDVIEW]\nDBGRID1.W0=120\nDBGRID1.W1=-1\nDBGRID1.W2=0\n") << 4
            << QList<int>{120, -1, 0, 40};
        QTest::newRow("other letter case") << QByteArray("[kddView]\ndbGrid1.w0=77\n") << 1 << QList<int>{77};
        QTest::newRow("other grid") << QByteArray("[KDDVIEW]\nDBGRID2.W0=77\n") << 1 << QList<int>{40};
        QTest::newRow("not a number") << QByteArray("[KDDVIEW]\nDBGRID1.W0=wide\n") << 1 << QList<int>{40};
    }
    void gridWidths()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, columns);
        QFETCH(QList<int>, expected);
        settings::UserSettings s(file(content));
        QCOMPARE(s.loadGridWidths(QStringLiteral("KDDView"), QStringLiteral("DBGrid1"), columns), expected);
    }

    void gridWidthsAreSavedAndKeepOtherWriters()
    {
        const QString path = file("[Config]\nA=1\n");
        settings::UserSettings s(path);
        // Another window writes the file after this one read it.
        {
            IniFile other(path);
            other.setValue(QStringLiteral("Config"), QStringLiteral("FromOther"), QStringLiteral("kept"));
            QVERIFY(other.flush());
        }
        s.saveGridWidths(QStringLiteral("KDDView"), QStringLiteral("DBGrid1"), {100, -1, 55});
        const IniFile written(path);
        QCOMPARE(written.value(QStringLiteral("Config"), QStringLiteral("FromOther")), QStringLiteral("kept"));
        QCOMPARE(written.keys(QStringLiteral("KDDVIEW")),
                 (QStringList{QStringLiteral("DBGRID1.W0"), QStringLiteral("DBGRID1.W1"), QStringLiteral("DBGRID1.W2")}));
        QVERIFY(readAll(path).contains("[KDDVIEW]\nDBGRID1.W0=100\nDBGRID1.W1=-1\nDBGRID1.W2=55\n"));
        QCOMPARE(settings::UserSettings(path).loadGridWidths(QStringLiteral("kddview"), QStringLiteral("dbgrid1"), 3),
                 (QList<int>{100, -1, 55}));
    }

    // Re-opening the file writes this window's own pending changes first.
    void reopeningKeepsOwnPendingChanges()
    {
        const QString path = file("[Config]\nA=1\n");
        settings::UserSettings s(path);
        s.file().setValue(QStringLiteral("TFMCHECKKDD"), QStringLiteral("PositionX"), QStringLiteral("12"));
        s.saveGridWidths(QStringLiteral("KDDView"), QStringLiteral("DBGrid1"), {100});
        QCOMPARE(IniFile(path).value(QStringLiteral("TFMCHECKKDD"), QStringLiteral("PositionX")), QStringLiteral("12"));
        QCOMPARE(s.file().value(QStringLiteral("TFMCHECKKDD"), QStringLiteral("PositionX")), QStringLiteral("12"));
    }

    void iniConfig()
    {
        const QString path = file("[Info]\nnm=墨雀\n");
        settings::UserSettings s(path);
        QCOMPARE(s.getINIConfigByname(QStringLiteral("KDDView_DBLOPEN")), QString());
        s.setINIConfigByname(QStringLiteral("KDDView_DBLOPEN"), QStringLiteral("1"));
        s.setINIConfigByname(QStringLiteral("名称'%"), QStringLiteral("值'%"));
        QCOMPARE(s.getINIConfigByname(QStringLiteral("kddview_dblopen")), QStringLiteral("1"));
        // Written at once, in section Config.
        const IniFile written(path);
        QCOMPARE(written.value(QStringLiteral("Config"), QStringLiteral("KDDView_DBLOPEN")), QStringLiteral("1"));
        QCOMPARE(written.value(QStringLiteral("Config"), QStringLiteral("名称'%")), QStringLiteral("值'%"));
        QCOMPARE(written.value(QStringLiteral("Info"), QStringLiteral("nm")), QStringLiteral("墨雀"));
        QVERIFY(!written.contains(QStringLiteral("Info"), QStringLiteral("KDDView_DBLOPEN")));
    }

    void brandWord_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("word");
        QTest::newRow("no file") << QByteArray() << "墨雀";
        QTest::newRow("no key") << QByteArray("[Info]\nother=1\n") << "墨雀";
        QTest::newRow("own word") << QByteArray("[Info]\nnm=青鸟\n") << "青鸟";
        QTest::newRow("other case") << QByteArray("[INFO]\nNM=青鸟\n") << "青鸟";
    }
    void brandWord()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, word);
        QCOMPARE(settings::UserSettings(file(content)).brandWord(), word);
    }

    // The Config.ini of a new data directory holds the defaults the program reads.
    void configIniOfNewDirectory()
    {
        test::TestData data;
        QVERIFY(data.open());
        settings::UserSettings &s = data.core->settings();
        QCOMPARE(s.brandWord(), QStringLiteral("墨雀"));
        QVERIFY(s.toolbarVisible());
        QVERIFY(IniFile(data.root() + QStringLiteral("Config.ini")).contains(QStringLiteral("FM_MAIN"),
                                                                              QStringLiteral("TOOLBARMAIN")));
        s.setINIConfigByname(QStringLiteral("KDDView_DBLOPEN"), QStringLiteral("1"));
        QCOMPARE(IniFile(data.root() + QStringLiteral("Config.ini")).value(QStringLiteral("Config"),
                                                                            QStringLiteral("KDDView_DBLOPEN")),
                 QStringLiteral("1"));
    }

    // --- Debug.ini ---

    void debugOutN()
    {
        const QString path = file();
        settings::DebugLog log(path);
        log.DebugOutN(QStringLiteral("打印"), QStringLiteral("第一次"));
        log.DebugOutN(QStringLiteral("打印"), QStringLiteral("第二次"));
        const IniFile written(path);
        QCOMPARE(written.keys(QStringLiteral("debug")), (QStringList{QStringLiteral("打印-1"), QStringLiteral("打印-2")}));
        QCOMPARE(written.value(QStringLiteral("debug"), QStringLiteral("打印-1")), QStringLiteral("第一次"));
        QCOMPARE(written.value(QStringLiteral("debug"), QStringLiteral("打印-2")), QStringLiteral("第二次"));
    }

    // One counter for every key; DebugOut overwrites its key.
    void debugOutCounterAndOverwrite()
    {
        const QString path = file();
        settings::DebugLog log(path);
        log.DebugOutN(QStringLiteral("a"), QStringLiteral("1"));
        log.DebugOutN(QStringLiteral("b"), QStringLiteral("2"));
        log.DebugOut(QStringLiteral("c"), QStringLiteral("x"));
        log.DebugOut(QStringLiteral("c"), QStringLiteral("y"));
        const IniFile written(path);
        QCOMPARE(written.keys(QStringLiteral("debug")),
                 (QStringList{QStringLiteral("a-1"), QStringLiteral("b-2"), QStringLiteral("c")}));
        QCOMPARE(written.value(QStringLiteral("debug"), QStringLiteral("c")), QStringLiteral("y"));
    }

    // The core writes Debug.ini of its own data directory.
    void debugFileOfCore()
    {
        test::TestData data;
        QVERIFY(data.open());
        data.core->debug().DebugOutN(QStringLiteral("k"), QStringLiteral("v"));
        QCOMPARE(IniFile(data.root() + QStringLiteral("Debug.ini")).value(QStringLiteral("debug"), QStringLiteral("k-1")),
                 QStringLiteral("v"));
    }

    // --- the installation record ---

    void installRecord()
    {
        const QString path = file("[Info]\nnm=墨雀\n");
        IniFile ini(path);
        settings::InstallRecord record(ini);
        QCOMPARE(record.read(QStringLiteral("RunPath")), QStringLiteral("空"));
        QCOMPARE(record.read(QStringLiteral("Version")), QStringLiteral("空"));
        QVERIFY(record.update(QStringLiteral("/opt/moque/"), QStringLiteral("9.28"), QStringLiteral("/opt/moque/moque")));
        {
            const IniFile written(path);
            QCOMPARE(written.value(QStringLiteral("NORDAPT_KX"), QStringLiteral("RunPath")), QStringLiteral("/opt/moque/"));
            QCOMPARE(written.value(QStringLiteral("NORDAPT_KX"), QStringLiteral("Version")), QStringLiteral("9.28"));
            QCOMPARE(written.value(QStringLiteral("NORDAPT_KX"), QStringLiteral("FullPath")),
                     QStringLiteral("/opt/moque/moque"));
            QCOMPARE(written.value(QStringLiteral("Info"), QStringLiteral("nm")), QStringLiteral("墨雀"));
        }
        // A later start from another place with another version.
        QVERIFY(record.update(QStringLiteral("/home/a/moque/"), QStringLiteral("9.29"),
                              QStringLiteral("/home/a/moque/moque")));
        const IniFile written(path);
        QCOMPARE(written.keys(QStringLiteral("NORDAPT_KX")),
                 (QStringList{QStringLiteral("RunPath"), QStringLiteral("Version"), QStringLiteral("FullPath")}));
        QCOMPARE(record.read(QStringLiteral("RunPath")), QStringLiteral("/home/a/moque/"));
        QCOMPARE(record.read(QStringLiteral("Version")), QStringLiteral("9.29"));
        QCOMPARE(written.value(QStringLiteral("NORDAPT_KX"), QStringLiteral("FullPath")),
                 QStringLiteral("/home/a/moque/moque"));
    }

    // Equal values are left as they are written (spelling of the key included); FullPath is always written.
    void installRecordUnchangedValues()
    {
        const QString path = file("[NORDAPT_KX]\nrunpath=/opt/moque/\nversion=9.28\nFullPath=/old/moque\n");
        IniFile ini(path);
        settings::InstallRecord record(ini);
        QCOMPARE(record.read(QStringLiteral("RunPath")), QStringLiteral("/opt/moque/"));
        QVERIFY(record.update(QStringLiteral("/opt/moque/"), QStringLiteral("9.28"), QStringLiteral("/opt/moque/moque")));
        QCOMPARE(readAll(path), QByteArray("[NORDAPT_KX]\nrunpath=/opt/moque/\nversion=9.28\nFullPath=/opt/moque/moque\n"));
    }

    void installRecordWriteFails()
    {
        IniFile ini(m_dir.filePath(QStringLiteral("missing-folder/Config.ini")));
        settings::InstallRecord record(ini);
        QVERIFY(!record.update(QStringLiteral("/a/"), QStringLiteral("1.0"), QStringLiteral("/a/x")));
    }
};

QTEST_GUILESS_MAIN(TestSettingsFiles)
#include "test_settings_files.moc"
