#include "store/SqlListModel.h"
#include "grid/GridOperations.h"
#include "grid/GridColumnsDialog.h"
#include "support/TestData.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QHeaderView>
#include <QTest>
#include <QTimer>

using namespace moque;
using namespace moque::ui;

namespace {

using Rows = QList<int>;

// A list grid over table T; the query lists the rows with ID below 10, so
// that row 10 is in the table but not in the list.
struct Grid
{
    test::TestData data;
    SqlListModel model;
    QTableView view;

    bool open()
    {
        if (!data.open())
            return false;
        if (!data.exec(QStringLiteral("create table T(ID integer primary key, Name text, Note text, City text)")))
            return false;
        const QList<QVariantList> rows = {{1, QStringLiteral("甲"), QStringLiteral("a"), QStringLiteral("北京")},
                                          {2, QStringLiteral("O'Brien"), QStringLiteral("b"), QStringLiteral("上海")},
                                          {3, QStringLiteral("丙"), QStringLiteral("c"), QStringLiteral("广州")},
                                          {10, QStringLiteral("外"), QStringLiteral("d"), QStringLiteral("深圳")}};
        for (const QVariantList &r : rows)
            if (!data.exec(QStringLiteral("insert into T(ID, Name, Note, City) values(?, ?, ?, ?)"), r))
                return false;
        model.setSource(data.db(), QStringLiteral("select ID, Name, Note, City from T where ID < ? order by ID"), {10},
                        QStringLiteral("T"), QStringLiteral("ID"));
        if (!model.refresh())
            return false;
        view.setObjectName(QStringLiteral("dgList"));
        view.setModel(&model);
        view.setSelectionBehavior(QAbstractItemView::SelectRows);
        view.setSelectionMode(QAbstractItemView::ExtendedSelection);
        return true;
    }

    void select(const Rows &rows)
    {
        for (int r : rows)
            view.selectionModel()->select(model.index(r, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    QVariantList ids() const
    {
        QVariantList ids;
        QSqlQuery q(data.db());
        q.exec(QStringLiteral("select ID from T order by ID"));
        while (q.next())
            ids << q.value(0).toInt();
        return ids;
    }

    settings::UserSettings &settings() { return data.core->settings(); }
    test::ScriptedDialogs &dialogs() { return data.dialogs; }
};

QStringList entries(const QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

void selectEntries(QListWidget *list, const QStringList &texts)
{
    list->clearSelection();
    for (int i = 0; i < list->count(); ++i)
        if (texts.contains(list->item(i)->text()))
            list->item(i)->setSelected(true);
}

} // namespace

class TestGrid : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void fetchSelectedKeys_data()
    {
        QTest::addColumn<QString>("keyColumn");
        QTest::addColumn<QString>("keyType");
        QTest::addColumn<QString>("text");
        QTest::addColumn<Rows>("selected");
        QTest::addColumn<QString>("expected");
        QTest::newRow("str quotes, selection order") << "ID" << "str" << "" << Rows{2, 0} << "'3','1'";
        QTest::newRow("other type as it stands") << "ID" << "int" << "" << Rows{0, 2} << "1,3";
        QTest::newRow("appended after text") << "ID" << "INT" << "9" << Rows{1} << "9,2";
        QTest::newRow("text keys") << "name" << "Str" << "" << Rows{1, 0} << "'O'Brien','甲'";
        QTest::newRow("nothing selected") << "ID" << "str" << "x" << Rows{} << "x";
    }
    void fetchSelectedKeys()
    {
        QFETCH(QString, keyColumn);
        QFETCH(QString, keyType);
        QFETCH(QString, text);
        QFETCH(Rows, selected);
        QFETCH(QString, expected);
        Grid g;
        QVERIFY(g.open());
        g.select(selected);
        QCOMPARE(GridSelectedFetch(&g.view, keyColumn, keyType, text, g.dialogs()), int(selected.size()));
        QCOMPARE(text, expected);
        QVERIFY(g.dialogs().shown.isEmpty());
    }

    void fetchFailures_data()
    {
        QTest::addColumn<QString>("keyColumn");
        QTest::addColumn<QString>("shown");
        QTest::newRow("no key column") << "" << "DBGrid记录选取失败~没有指定列名~";
        QTest::newRow("unknown key column") << "Code" << "DBGrid记录选取失败~没有找到列：Code";
    }
    void fetchFailures()
    {
        QFETCH(QString, keyColumn);
        QFETCH(QString, shown);
        Grid g;
        QVERIFY(g.open());
        g.select({0});
        QString text = QStringLiteral("x");
        QCOMPARE(GridSelectedFetch(&g.view, keyColumn, QStringLiteral("str"), text, g.dialogs()), 0);
        QCOMPARE(text, QStringLiteral("x"));
        QCOMPARE(g.dialogs().texts(), QStringList{shown});
    }

    void fetchOtherModelDoesNothing()
    {
        test::ScriptedDialogs dialogs;
        QStandardItemModel model(2, 2);
        QTableView view;
        view.setModel(&model);
        view.selectAll();
        QString text;
        QCOMPARE(GridSelectedFetch(&view, QStringLiteral("ID"), QStringLiteral("str"), text, dialogs), 0);
        QVERIFY(text.isEmpty());
        GridSelectedDelete(&view, QStringLiteral("T"), {}, QStringLiteral("int"), QStringLiteral("ID"), {}, dialogs);
        GridDeleteCurrentList(&view, {}, dialogs);
        QVERIFY(dialogs.shown.isEmpty());
    }

    void deleteSelected_data()
    {
        QTest::addColumn<Rows>("selected");
        QTest::addColumn<QString>("keyColumn");
        QTest::addColumn<QString>("keyType");
        QTest::addColumn<QString>("itemWord");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QVariantList>("remaining");
        const QVariantList all = {1, 2, 3, 10};
        QTest::newRow("nothing selected") << Rows{} << "ID" << "int" << "客户" << true << QStringList{} << all;
        QTest::newRow("answered no") << Rows{0, 1} << "ID" << "int" << "客户" << false
                                     << QStringList{"确认要删除所选中的2个客户吗?"} << all;
        QTest::newRow("answered yes") << Rows{2, 0} << "ID" << "int" << "客户" << true
                                      << QStringList{"确认要删除所选中的2个客户吗?", "2个客户删除成功！"}
                                      << QVariantList{2, 10};
        QTest::newRow("key with a quote, default word")
            << Rows{1} << "Name" << "str" << "" << true
            << QStringList{"确认要删除所选中的1个数据记录吗?", "1个数据记录删除成功！"} << QVariantList{1, 3, 10};
    }
    void deleteSelected()
    {
        QFETCH(Rows, selected);
        QFETCH(QString, keyColumn);
        QFETCH(QString, keyType);
        QFETCH(QString, itemWord);
        QFETCH(bool, answer);
        QFETCH(QStringList, shown);
        QFETCH(QVariantList, remaining);
        Grid g;
        QVERIFY(g.open());
        g.select(selected);
        g.dialogs().answers.enqueue(answer);
        GridSelectedDelete(&g.view, QStringLiteral("T"), itemWord, keyType, keyColumn, g.data.db(), g.dialogs());
        QCOMPARE(g.dialogs().texts(), shown);
        if (!shown.isEmpty()) {
            QCOMPARE(g.dialogs().shown.first().kind, QStringLiteral("ask"));
            QCOMPARE(g.dialogs().shown.first().caption, QStringLiteral("删除确认"));
        }
        if (shown.size() > 1)
            QCOMPARE(g.dialogs().lastCaption(), QStringLiteral("提示"));
        QCOMPARE(g.ids(), remaining);
        QCOMPARE(g.model.rowCount(), int(remaining.size()) - 1);
    }

    void deleteSelectedReportsEngineError()
    {
        Grid g;
        QVERIFY(g.open());
        g.select({0});
        g.dialogs().answers.enqueue(true);
        GridSelectedDelete(&g.view, QStringLiteral("Missing"), {}, QStringLiteral("int"), QStringLiteral("ID"),
                           g.data.db(), g.dialogs());
        QVERIFY(g.dialogs().lastText().startsWith(QStringLiteral("删除失败，错误=")));
        QVERIFY(g.dialogs().lastText().size() > QStringLiteral("删除失败，错误=").size());
        QCOMPARE(g.ids(), (QVariantList{1, 2, 3, 10}));
    }

    void deleteCurrentList_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QVariantList>("remaining");
        QTest::newRow("yes") << true << QStringList{"此操作将删除当前查询到的所有记录，确定删除吗？", "3条记录删除成功！"}
                             << QVariantList{10};
        QTest::newRow("no") << false << QStringList{"此操作将删除当前查询到的所有记录，确定删除吗？"}
                            << QVariantList{1, 2, 3, 10};
    }
    void deleteCurrentList()
    {
        QFETCH(bool, answer);
        QFETCH(QStringList, shown);
        QFETCH(QVariantList, remaining);
        Grid g;
        QVERIFY(g.open());
        g.view.setCurrentIndex(g.model.index(g.model.rowCount() - 1, 1));
        g.dialogs().answers.enqueue(answer);
        GridDeleteCurrentList(&g.view, g.data.db(), g.dialogs());
        QCOMPARE(g.dialogs().texts(), shown);
        QCOMPARE(g.dialogs().shown.first().caption, QStringLiteral("警告"));
        QCOMPARE(g.ids(), remaining);
        QCOMPARE(g.model.rowCount(), int(remaining.size()) - 1);
    }

    void throughSortingAndFilteringProxy()
    {
        Grid g;
        QVERIFY(g.open());
        QSortFilterProxyModel proxy;
        proxy.setSourceModel(&g.model);
        proxy.setFilterKeyColumn(1);
        proxy.setFilterRegularExpression(QStringLiteral("^(甲|丙)$"));
        proxy.sort(0, Qt::DescendingOrder);
        g.view.setModel(&proxy);
        g.view.selectionModel()->select(proxy.index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QString text;
        QCOMPARE(GridSelectedFetch(&g.view, QStringLiteral("ID"), QStringLiteral("int"), text, g.dialogs()), 1);
        QCOMPARE(text, QStringLiteral("3"));

        g.dialogs().answers.enqueue(true);
        GridDeleteCurrentList(&g.view, g.data.db(), g.dialogs());
        QCOMPARE(g.dialogs().lastText(), QStringLiteral("2条记录删除成功！"));
        QCOMPARE(g.ids(), (QVariantList{2, 10}));
    }

    void widthsRoundTrip()
    {
        Grid g;
        QVERIFY(g.open());
        g.view.setColumnWidth(0, 80);
        g.view.setColumnWidth(1, 120);
        g.view.setColumnHidden(2, true);
        g.view.setColumnWidth(3, 33);
        QVERIFY(GridColsWidthSave(&g.view, QStringLiteral("kddView"), g.settings(), g.dialogs()));
        const settings::IniFile stored(g.settings().file().path());
        const QString section = QStringLiteral("KDDVIEW");
        QCOMPARE(stored.value(section, QStringLiteral("DGLIST.W0")), QStringLiteral("80"));
        QCOMPARE(stored.value(section, QStringLiteral("DGLIST.W2")), QStringLiteral("-1"));

        QTableView other;
        other.setObjectName(QStringLiteral("dgList"));
        other.setModel(&g.model);
        GridColsWidthLoad(&other, QStringLiteral("KDDView"), g.settings(), g.dialogs());
        QCOMPARE(other.columnWidth(0), 80);
        QCOMPARE(other.columnWidth(1), 120);
        QVERIFY(other.isColumnHidden(2));
        QCOMPARE(other.columnWidth(3), 33);
        QVERIFY(!other.isColumnHidden(3));

        // Nothing stored under another key: every column 40 wide and shown.
        GridColsWidthLoad(&other, QStringLiteral("Other"), g.settings(), g.dialogs());
        for (int c = 0; c < 4; ++c) {
            QVERIFY(!other.isColumnHidden(c));
            QCOMPARE(other.columnWidth(c), 40);
        }
        QVERIFY(g.dialogs().shown.isEmpty());
    }

    void gridWithoutStoredWidthsFitsItsTitles()
    {
        Grid g;
        QVERIFY(g.open());
        g.model.setHeaderData(1, Qt::Horizontal, QStringLiteral("一个很长很长的栏目标题"));
        g.view.setColumnWidth(0, 80);
        g.view.setColumnWidth(1, 40);
        QVERIFY(GridColsWidthSave(&g.view, QStringLiteral("Saved"), g.settings(), g.dialogs()));

        QTableView fresh;
        fresh.setObjectName(QStringLiteral("dgList"));
        fresh.setModel(&g.model);
        fresh.setColumnWidth(1, 40);
        // Nothing remembered under this key: the long title is shown whole.
        GridColsWidthLoadOrFit(&fresh, QStringLiteral("Fresh"), g.settings(), g.dialogs());
        QVERIFY(fresh.columnWidth(1) >= fresh.horizontalHeader()->sectionSizeHint(1));
        QVERIFY(fresh.columnWidth(1) > 40);
        // Remembered widths win.
        GridColsWidthLoadOrFit(&fresh, QStringLiteral("Saved"), g.settings(), g.dialogs());
        QCOMPARE(fresh.columnWidth(0), 80);
        QCOMPARE(fresh.columnWidth(1), 40);
    }

    void widthsNeedKeyAndOpenData()
    {
        Grid g;
        QVERIFY(g.open());
        GridColsWidthSave(&g.view, {}, g.settings(), g.dialogs());
        GridColsWidthLoad(&g.view, {}, g.settings(), g.dialogs());
        QCOMPARE(g.dialogs().texts(), QStringList(2, QStringLiteral("保存表格列宽异常！")));

        // A list that never ran its statement holds no data set: nothing is stored or shown.
        g.dialogs().clear();
        SqlListModel closed;
        QTableView view;
        view.setObjectName(QStringLiteral("dgClosed"));
        view.setModel(&closed);
        QVERIFY(GridColsWidthSave(&view, {}, g.settings(), g.dialogs()));
        QVERIFY(GridColsWidthSave(&view, QStringLiteral("K"), g.settings(), g.dialogs()));
        QVERIFY(g.dialogs().shown.isEmpty());
        QVERIFY(g.settings().file().keys(QStringLiteral("K")).isEmpty());
    }

    void formFace()
    {
        test::TestData data;
        QVERIFY(data.open());
        QWidget saved;
        saved.setObjectName(QStringLiteral("frmSized"));
        saved.resize(300, 200);
        FormFaceSave(&saved, data.core->settings());
        QCOMPARE(data.core->settings().file().value(QStringLiteral("FRMSIZED"), QStringLiteral("FormWidth")),
                 QStringLiteral("300"));

        QWidget loaded;
        loaded.setObjectName(QStringLiteral("frmSized"));
        loaded.resize(500, 400);
        FormFaceLoad(&loaded, data.core->settings());
        QCOMPARE(loaded.size(), QSize(300, 200));

        QWidget maximised;
        maximised.setObjectName(QStringLiteral("frmSized"));
        maximised.resize(640, 480);
        maximised.setWindowState(Qt::WindowMaximized);
        FormFaceSave(&maximised, data.core->settings());
        QCOMPARE(data.core->settings().file().value(QStringLiteral("FRMSIZED"), QStringLiteral("FormWidth")),
                 QStringLiteral("300"));
    }

    void formFaceCappedAtScreen()
    {
        test::TestData data;
        QVERIFY(data.open());
        data.core->settings().saveFormSize(QStringLiteral("frmWide"), QSize(100000, 100));
        QWidget w;
        w.setObjectName(QStringLiteral("frmWide"));
        FormFaceLoad(&w, data.core->settings());
        QCOMPARE(w.width(), w.screen()->availableGeometry().width());
        QCOMPARE(w.height(), 100);
    }

    void configListsAndMoves()
    {
        Grid g;
        QVERIFY(g.open());
        g.view.setColumnHidden(3, true);
        GridColumnsDialog d(&g.view, QStringLiteral("KDDView"), g.settings(), g.dialogs());
        QCOMPARE(d.windowTitle(), QStringLiteral("表格栏目配置"));
        auto *shown = d.findChild<QListWidget *>(QStringLiteral("lstShown"));
        auto *hidden = d.findChild<QListWidget *>(QStringLiteral("lstHidden"));
        QCOMPARE(entries(shown), (QStringList{"ID", "Name", "Note"}));
        QCOMPARE(entries(hidden), (QStringList{"City"}));

        selectEntries(shown, {"Name", "Note"});
        d.findChild<QPushButton *>(QStringLiteral("btnHide"))->click();
        QCOMPARE(entries(shown), (QStringList{"ID"}));
        QCOMPARE(entries(hidden), (QStringList{"City", "Note", "Name"}));

        selectEntries(hidden, {"City", "Name"});
        d.findChild<QPushButton *>(QStringLiteral("btnShow"))->click();
        QCOMPARE(entries(shown), (QStringList{"ID", "Name", "City"}));
        QCOMPARE(entries(hidden), (QStringList{"Note"}));
        QVERIFY(!shown->isSortingEnabled());
    }

    void configApply()
    {
        Grid g;
        QVERIFY(g.open());
        g.model.setHeaderData(1, Qt::Horizontal, QStringLiteral("名称"));
        g.view.setColumnWidth(1, 90);
        GridColumnsDialog d(&g.view, QStringLiteral("KDDView"), g.settings(), g.dialogs());
        auto *shown = d.findChild<QListWidget *>(QStringLiteral("lstShown"));
        QCOMPARE(entries(shown), (QStringList{"ID", "名称", "Note", "City"}));
        selectEntries(shown, {"名称"});
        d.hideSelected();
        d.findChild<QPushButton *>(QStringLiteral("btnApply"))->click();

        QVERIFY(g.view.isColumnHidden(1));
        QVERIFY(!g.view.isColumnHidden(0));
        QCOMPARE(g.dialogs().texts(), QStringList{QStringLiteral("栏目显示设置成功~")});
        QCOMPARE(g.dialogs().lastCaption(), QStringLiteral("提示"));
        const settings::IniFile stored(g.settings().file().path());
        QCOMPARE(stored.value(QStringLiteral("KDDVIEW"), QStringLiteral("DGLIST.W1")), QStringLiteral("-1"));
        QCOMPARE(stored.value(QStringLiteral("KDDVIEW"), QStringLiteral("DGLIST.W0")),
                 QString::number(g.view.columnWidth(0)));

        // Shown again within the same dialog: the column keeps the width it had.
        selectEntries(d.findChild<QListWidget *>(QStringLiteral("lstHidden")), {"名称"});
        d.showSelected();
        d.apply();
        QVERIFY(!g.view.isColumnHidden(1));
        QCOMPARE(g.view.columnWidth(1), 90);
    }

    void columnHiddenByStoredWidthComesBackFiftyWide()
    {
        Grid g;
        QVERIFY(g.open());
        g.settings().saveGridWidths(QStringLiteral("KDDView"), QStringLiteral("dgList"), {60, 70, -1, 80});
        GridColsWidthLoad(&g.view, QStringLiteral("KDDView"), g.settings(), g.dialogs());
        QVERIFY(g.view.isColumnHidden(2));

        GridColumnsDialog d(&g.view, QStringLiteral("KDDView"), g.settings(), g.dialogs());
        auto *hidden = d.findChild<QListWidget *>(QStringLiteral("lstHidden"));
        QCOMPARE(entries(hidden), (QStringList{"Note"}));
        selectEntries(hidden, {"Note"});
        d.showSelected();
        d.apply();
        QVERIFY(!g.view.isColumnHidden(2));
        QCOMPARE(g.view.columnWidth(2), 50);
        const settings::IniFile stored(g.settings().file().path());
        QCOMPARE(stored.value(QStringLiteral("KDDVIEW"), QStringLiteral("DGLIST.W2")), QStringLiteral("50"));
    }

    void configOpensModallyAndKeepsItsSize()
    {
        Grid g;
        QVERIFY(g.open());
        g.settings().saveFormSize(QStringLiteral("frmGridConfig"), QSize(420, 330));
        QString title;
        QSize size;
        QTimer::singleShot(0, [&] {
            auto *d = qobject_cast<GridColumnsDialog *>(QApplication::activeModalWidget());
            if (!d)
                return;
            title = d->windowTitle();
            size = d->size();
            d->resize(440, 350);
            d->findChild<QPushButton *>(QStringLiteral("btnClose"))->click();
        });
        GridColsConfigration(&g.view, QStringLiteral("KDDView"), g.settings(), g.dialogs());
        QCOMPARE(title, QStringLiteral("表格栏目配置"));
        QCOMPARE(size, QSize(420, 330));
        const settings::IniFile stored(g.settings().file().path());
        QCOMPARE(stored.value(QStringLiteral("FRMGRIDCONFIG"), QStringLiteral("FormWidth")), QStringLiteral("440"));
        QCOMPARE(stored.value(QStringLiteral("FRMGRIDCONFIG"), QStringLiteral("FormHeight")), QStringLiteral("350"));
    }
};

QTEST_MAIN(TestGrid)
#include "test_grid.moc"
