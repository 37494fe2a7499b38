#include "sheets/SpreadsheetReader.h"
#include "grid/GridExport.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFiles.h"

#include <QHeaderView>
#include <QStandardItemModel>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

using moque::sheets::SpreadsheetReader;
using moque::test::ScriptedDialogs;
using moque::ui::ExportGrid2Excel;
using Rows = QList<QStringList>;

namespace {

const QString exportCaption = QStringLiteral("提示");

// A grid of three columns, the middle one hidden and the last one moved first.
class Grid
{
public:
    Grid()
    {
        model.setHorizontalHeaderLabels({"单位名称", "内部编号", "编码"});
        view.setModel(&model);
    }

    void addRow(const QString &name, const QString &key, const QVariant &code)
    {
        auto *codeItem = new QStandardItem;
        codeItem->setData(code, Qt::DisplayRole);
        model.appendRow({new QStandardItem(name), new QStandardItem(key), codeItem});
    }

    void arrange()
    {
        view.setColumnHidden(1, true);
        view.horizontalHeader()->moveSection(2, 0);
    }

    QStandardItemModel model;
    QTableView view;
};

// Records the files it was asked to open and answers as told.
struct Opener
{
    bool succeeds = true;
    QStringList opened;

    moque::ui::FileOpener function()
    {
        return [this](const QUrl &url) {
            opened.append(url.toLocalFile());
            return succeeds;
        };
    }
};

} // namespace

class TestSpreadsheetExport : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // Exports go to the temporary location: keep them inside this test's folder.
        qputenv("TMPDIR", m_dir.filePath(QStringLiteral("tmp")).toLocal8Bit());
        QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("tmp"))));
    }

    void emptyGridExportsNothing()
    {
        Grid grid;
        ScriptedDialogs dialogs;
        Opener opener;
        QVERIFY(!ExportGrid2Excel(&grid.view, QStringLiteral("单位信息导出"), dialogs, opener.function()));
        QCOMPARE(dialogs.texts(), QStringList{"没有可导出的数据~"});
        QCOMPARE(dialogs.lastCaption(), exportCaption);
        QVERIFY(opener.opened.isEmpty());

        QTableView noModel;
        dialogs.clear();
        QVERIFY(!ExportGrid2Excel(&noModel, QStringLiteral("单位信息导出"), dialogs, opener.function()));
        QCOMPARE(dialogs.texts(), QStringList{"没有可导出的数据~"});
        QVERIFY(opener.opened.isEmpty());
    }

    void exportWritesVisibleColumnsAndOpensTheFile()
    {
        Grid grid;
        grid.addRow(QStringLiteral("北京墨雀科技有限公司"), QStringLiteral("k1"), QStringLiteral("00123"));
        grid.addRow(QStringLiteral("甲\"乙\",丙\n第二行"), QStringLiteral("k2"), 1005.5);
        grid.arrange();
        ScriptedDialogs dialogs;
        Opener opener;

        QVERIFY(ExportGrid2Excel(&grid.view, QStringLiteral("单位信息导出"), dialogs, opener.function()));
        QVERIFY(dialogs.shown.isEmpty());
        QCOMPARE(opener.opened.size(), 1);
        const QFileInfo file(opener.opened.first());
        QVERIFY(file.fileName().startsWith(QStringLiteral("单位信息导出_")));
        QCOMPARE(file.suffix(), QStringLiteral("xlsx"));
        QVERIFY(file.absolutePath().startsWith(QDir(m_dir.filePath(QStringLiteral("tmp"))).canonicalPath())
                || file.absolutePath().startsWith(m_dir.filePath(QStringLiteral("tmp"))));

        QString error;
        QCOMPARE(SpreadsheetReader::readFirstSheet(file.filePath(), &error),
                 (Rows{{"编码", "单位名称"},
                       {"00123", "北京墨雀科技有限公司"},
                       {"1005.5", "甲\"乙\",丙\n第二行"}}));

        // A second export the same second does not overwrite the first, which may be open.
        QVERIFY(ExportGrid2Excel(&grid.view, QStringLiteral("单位信息导出"), dialogs, opener.function()));
        QCOMPARE(opener.opened.size(), 2);
        QVERIFY(opener.opened.at(0) != opener.opened.at(1));
        QVERIFY(QFile::exists(opener.opened.at(0)));
    }

    void withoutSpreadsheetProgramTheUserSavesTheFile_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("saved");
        QTest::newRow("with suffix") << "单位.xlsx" << "单位.xlsx";
        QTest::newRow("suffix added") << "单位" << "单位.xlsx";
    }

    void withoutSpreadsheetProgramTheUserSavesTheFile()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, saved);
        Grid grid;
        grid.addRow(QStringLiteral("甲"), QStringLiteral("k"), QStringLiteral("007"));
        ScriptedDialogs dialogs;
        dialogs.files.enqueue(m_dir.filePath(chosen));
        Opener opener;
        opener.succeeds = false;

        QVERIFY(ExportGrid2Excel(&grid.view, QStringLiteral("商品导出Excel"), dialogs, opener.function()));
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown.first().kind, QStringLiteral("save"));
        QVERIFY(dialogs.shown.first().text.contains(QStringLiteral("商品导出Excel_")));
        QCOMPARE(SpreadsheetReader::readFirstSheet(m_dir.filePath(saved)),
                 (Rows{{"单位名称", "内部编号", "编码"}, {"甲", "k", "007"}}));
        // The temporary file that could not be opened is not left behind.
        QCOMPARE(opener.opened.size(), 1);
        QVERIFY(!QFile::exists(opener.opened.first()));
        QFile::remove(m_dir.filePath(saved));
    }

    void cancellingTheSaveWritesNothing()
    {
        Grid grid;
        grid.addRow(QStringLiteral("甲"), QStringLiteral("k"), QStringLiteral("1"));
        ScriptedDialogs dialogs;
        Opener opener;
        opener.succeeds = false;

        QVERIFY(!ExportGrid2Excel(&grid.view, QStringLiteral("批量打印导出Excel"), dialogs, opener.function()));
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown.first().kind, QStringLiteral("save"));
        QVERIFY(!QFile::exists(opener.opened.first()));
    }

    void failuresShowTheExportError()
    {
        Grid grid;
        grid.addRow(QStringLiteral("甲"), QStringLiteral("k"), QStringLiteral("1"));
        ScriptedDialogs dialogs;
        Opener opener;
        opener.succeeds = false;
        // The chosen place cannot be written: a folder that does not exist.
        dialogs.files.enqueue(m_dir.filePath(QStringLiteral("missing folder/out.xlsx")));
        QVERIFY(!ExportGrid2Excel(&grid.view, QStringLiteral("导出"), dialogs, opener.function()));
        QVERIFY(dialogs.lastText().startsWith(QStringLiteral("数据导出Excel出错,错误提示:")));

        // The export folder cannot be made: a plain file holds its name.
        const QString blocker = m_dir.filePath(QStringLiteral("tmp/moque-export"));
        QVERIFY(QDir(blocker).removeRecursively());
        QVERIFY(moque::test::writeFile(blocker, "x"));
        dialogs.clear();
        opener.opened.clear();
        const bool exported = ExportGrid2Excel(&grid.view, QStringLiteral("导出"), dialogs, opener.function());
        QFile::remove(blocker);
        QVERIFY(!exported);
        QCOMPARE(dialogs.shown.size(), 1);
        QVERIFY(dialogs.lastText().startsWith(QStringLiteral("数据导出Excel出错,错误提示:")));
        QVERIFY(opener.opened.isEmpty());
    }

    void exportFileNames_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("name");
        const QString stamp = QStringLiteral("_20240131_093005.xlsx");
        QTest::newRow("plain") << "单位信息导出" << "单位信息导出" + stamp;
        QTest::newRow("characters a file name cannot hold") << "发票/收据:2024*?" << "发票_收据_2024__" + stamp;
        QTest::newRow("empty") << "" << "导出" + stamp;
    }

    void exportFileNames()
    {
        QFETCH(QString, title);
        QFETCH(QString, name);
        QCOMPARE(moque::ui::exportFileName(title, QDateTime(QDate(2024, 1, 31), QTime(9, 30, 5))), name);
    }
};

QTEST_MAIN(TestSpreadsheetExport)
#include "test_spreadsheet_export.moc"
