#include "refdata/GoodEntryDialog.h"
#include "refdata/GoodsCatalogWindow.h"
#include "refdata/GoodsImportDialog.h"
#include "settings/UserSettings.h"
#include "support/TestData.h"
#include "support/TestFiles.h"
#include "support/Widgets.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

using namespace moque;
using refdata::Good;
using test::child;
using test::click;
using test::typeText;
using test::replaceText;
using ui::GoodEntryDialog;
using ui::GoodsCatalogWindow;
using ui::GoodsImportDialog;

namespace {

void fill(QWidget *editor, const char *box, const QString &text)
{
    replaceText(child<QLineEdit>(editor, box), text);
}

void fillCombo(QWidget *editor, const char *box, const QString &text)
{
    replaceText(child<QComboBox>(editor, box)->lineEdit(), text);
}

// Drives the editor the window's button opens, then closes it.
void throughEditor(QWidget *window, const char *button, const std::function<void(QWidget *)> &drive)
{
    bool driven = false;
    QTimer::singleShot(0, window, [&] {
        auto *editor = qobject_cast<GoodEntryDialog *>(QApplication::activeModalWidget());
        QVERIFY(editor);
        drive(editor);
        driven = true;
        editor->reject();
    });
    click(window, button);
    QVERIFY(driven);
}

QTableView *gridOf(const QWidget *window)
{
    return child<QTableView>(window, "gridGoods");
}

// "商品名/规格" of each listed row.
QStringList listed(const QWidget *window)
{
    const QAbstractItemModel *model = gridOf(window)->model();
    QStringList rows;
    for (int r = 0; r < model->rowCount(); ++r)
        rows << model->index(r, 1).data().toString() + QLatin1Char('/') + model->index(r, 2).data().toString();
    return rows;
}

QStringList treeCategories(const QWidget *window)
{
    const QTreeWidgetItem *root = child<QTreeWidget>(window, "tvCategory")->topLevelItem(0);
    QStringList categories;
    for (int i = 0; i < root->childCount(); ++i)
        categories << root->child(i)->text(0);
    return categories;
}

void clickTree(QWidget *window, const QString &caption)
{
    auto *tree = child<QTreeWidget>(window, "tvCategory");
    const QList<QTreeWidgetItem *> items = tree->findItems(caption, Qt::MatchExactly | Qt::MatchRecursive);
    QVERIFY(!items.isEmpty());
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(items.first()).center());
}

void clickTitle(QWidget *window, int column)
{
    QHeaderView *header = gridOf(window)->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

void clickRow(QWidget *window, int row, Qt::KeyboardModifiers modifiers = {})
{
    QTableView *grid = gridOf(window);
    const QPoint at = grid->visualRect(grid->model()->index(row, 1)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers, at);
}

// Three entries in two categories, written straight into the table.
void seed(test::TestData &data)
{
    QVERIFY(data.exec(QStringLiteral("delete from Products")));
    QVERIFY(data.exec(QStringLiteral("insert into Products (商品名,规格,单位,单价,分类) values"
                                     "('笔','黑','支','3','文具'),('本','A5','本','5','纸品'),"
                                     "('尺','红笔刻度','把','2','文具')")));
}

} // namespace

class TestGoodsWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void addThroughEditorThenSameAgainUpdates();
    void editorRefusesMissingTexts_data();
    void editorRefusesMissingTexts();
    void editorEmptiesAndCopies();
    void editorBoxesSelectTheirText_data();
    void editorBoxesSelectTheirText();
    void search_data();
    void search();
    void allAndCategoryButtons();
    void columnTitlesToggleTheOrder();
    void deleteSelectedAndClear();
    void editNeedsAnEntry();
    void gridMenu();
    void importFromTheGridMenu();
    void importProgress_data();
    void importProgress();
};

void TestGoodsWindows::addThroughEditorThenSameAgainUpdates()
{
    test::TestData data;
    QVERIFY(data.open());
    QVERIFY(data.exec(QStringLiteral("delete from Products")));
    GoodsCatalogWindow window(*data.core);
    window.show();
    QCOMPARE(window.objectName(), QStringLiteral("frm_GoodsManage"));
    QCOMPARE(window.windowTitle(), QStringLiteral("产品分类管理 (0)"));
    QCOMPARE(child<QTreeWidget>(&window, "tvCategory")->topLevelItem(0)->text(0), QStringLiteral("全部分类"));
    QVERIFY(gridOf(&window)->isColumnHidden(0));

    throughEditor(&window, "btAdd", [&](QWidget *editor) {
        QCOMPARE(editor->objectName(), QStringLiteral("frm_GoodInfo"));
        QCOMPARE(editor->windowTitle(), QStringLiteral("商品详细资料"));
        fill(editor, "edtName", QStringLiteral("打印纸"));
        fill(editor, "edtModelNo", QStringLiteral("A4"));
        fill(editor, "edtPrice", QStringLiteral("25"));
        fillCombo(editor, "cbCategory", QStringLiteral(" 纸品 "));
        click(editor, "btSave");
        QCOMPARE(data.dialogs.lastText(), QStringLiteral("成功新增一条商品信息！"));
        // The category as stored, trimmed.
        QCOMPARE(child<QComboBox>(editor, "cbCategory")->currentText(), QStringLiteral("纸品"));
        // The window listed the entry while the editor is still open.
        QCOMPARE(listed(&window), QStringList{"打印纸/A4"});
    });
    QCOMPARE(window.windowTitle(), QStringLiteral("产品分类管理 (1)"));
    QCOMPARE(treeCategories(&window), QStringList{"纸品"});
    QVERIFY(child<QComboBox>(&window, "cbName")->findText(QStringLiteral("打印纸")) > 0);

    // A new entry with the same name and model (规格) rewrites the stored one.
    throughEditor(&window, "btAdd", [&](QWidget *editor) {
        QVERIFY(child<QLineEdit>(editor, "edtName")->text().isEmpty());
        fill(editor, "edtName", QStringLiteral("打印纸"));
        fill(editor, "edtModelNo", QStringLiteral("A4"));
        fill(editor, "edtPrice", QStringLiteral("26.5"));
        fillCombo(editor, "cbUnit", QStringLiteral("包"));
        click(editor, "btSaveClose");
        QCOMPARE(data.dialogs.lastText(), QStringLiteral("历史商品信息修改成功！"));
        QVERIFY(!editor->isVisible());
    });
    QCOMPARE(data.scalar(QStringLiteral("select count(*) from Products")).toInt(), 1);
    const QAbstractItemModel *model = gridOf(&window)->model();
    QCOMPARE(model->index(0, 4).data().toString(), QStringLiteral("包"));
    QCOMPARE(model->index(0, 5).data().toString(), QStringLiteral("26.5"));

    // A double-click on the row edits it: saving rewrites it by its ID.
    bool edited = false;
    QTimer::singleShot(0, &window, [&] {
        auto *editor = qobject_cast<GoodEntryDialog *>(QApplication::activeModalWidget());
        QVERIFY(editor);
        QCOMPARE(child<QLineEdit>(editor, "edtPrice")->text(), QStringLiteral("26.5"));
        fill(editor, "edtName", QStringLiteral("复印纸"));
        click(editor, "btSaveClose");
        QCOMPARE(data.dialogs.lastText(), QStringLiteral("历史商品资料更新成功！"));
        edited = true;
    });
    QTableView *grid = gridOf(&window);
    const QPoint at = grid->visualRect(model->index(0, 1)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
    QVERIFY(edited);
    QCOMPARE(listed(&window), QStringList{"复印纸/A4"});
}

void TestGoodsWindows::editorRefusesMissingTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focused");
    QTest::newRow("no name") << "  " << "3" << "商品名不能为空！" << "edtName";
    QTest::newRow("no price") << "笔" << "" << "单价不能为空！" << "edtPrice";
}

void TestGoodsWindows::editorRefusesMissingTexts()
{
    QFETCH(QString, name);
    QFETCH(QString, price);
    QFETCH(QString, message);
    QFETCH(QString, focused);
    test::TestData data;
    QVERIFY(data.open());
    QVERIFY(data.exec(QStringLiteral("delete from Products")));
    GoodEntryDialog editor(*data.core);
    editor.show();
    QApplication::setActiveWindow(&editor);
    int saves = 0;
    connect(&editor, &GoodEntryDialog::saved, this, [&] { ++saves; });
    child<QCheckBox>(&editor, "cbAddNext")->setChecked(true);
    fill(&editor, "edtName", name);
    fill(&editor, "edtModelNo", QStringLiteral("黑"));
    fill(&editor, "edtPrice", price);
    click(&editor, "btSaveClose");
    QCOMPARE(data.dialogs.texts(), QStringList{message});
    QCOMPARE(data.dialogs.lastCaption(), QStringLiteral("警告"));
    QCOMPARE(QApplication::focusWidget()->objectName(), focused);
    QVERIFY(editor.isVisible());
    QCOMPARE(saves, 0);
    // A refused save keeps the boxes even when the next entry is to follow.
    QCOMPARE(child<QLineEdit>(&editor, "edtModelNo")->text(), QStringLiteral("黑"));
    QCOMPARE(data.scalar(QStringLiteral("select count(*) from Products")).toInt(), 0);
}

void TestGoodsWindows::editorEmptiesAndCopies()
{
    test::TestData data;
    QVERIFY(data.open());
    seed(data);
    const qint64 id = data.scalar(QStringLiteral("select ID from Products where 商品名='笔'")).toLongLong();
    GoodEntryDialog editor(*data.core);
    editor.show();
    QCOMPARE(child<QLineEdit>(&editor, "edtModelNo")->placeholderText(), QStringLiteral("（如：T60/WSDC）"));
    QCOMPARE(child<QLineEdit>(&editor, "edtShortCode")->maxLength(), 12);
    QCOMPARE(child<QLineEdit>(&editor, "edtRemark")->maxLength(), 100);
    auto *categories = child<QComboBox>(&editor, "cbCategory");
    QCOMPARE(categories->count(), 2);
    QVERIFY(child<QComboBox>(&editor, "cbUnit")->findText(QStringLiteral("把")) >= 0);

    Good g;
    g.id = id;
    g.name = QStringLiteral("笔");
    g.model = QStringLiteral("黑");
    g.price = QStringLiteral("3");
    g.unit = QStringLiteral("支");
    g.category = QStringLiteral("文具");
    editor.setGood(g);

    // Prices take digits and points only.
    fill(&editor, "edtPrice", QStringLiteral("1a2.5元"));
    QCOMPARE(child<QLineEdit>(&editor, "edtPrice")->text(), QStringLiteral("12.5"));

    // 置  空 keeps the category and the ID: the next save rewrites that entry.
    click(&editor, "btClear");
    for (const char *box : {"edtName", "edtShortCode", "edtModelNo", "edtArticleNo", "edtPrice",
                            "edtWholesalePrice", "edtRemark"})
        QVERIFY2(child<QLineEdit>(&editor, box)->text().isEmpty(), box);
    QVERIFY(child<QComboBox>(&editor, "cbUnit")->currentText().isEmpty());
    QCOMPARE(categories->currentText(), QStringLiteral("文具"));
    QCOMPARE(editor.good().id, id);
    fill(&editor, "edtName", QStringLiteral("钢笔"));
    fill(&editor, "edtPrice", QStringLiteral("9"));
    click(&editor, "btSave");
    QCOMPARE(data.dialogs.lastText(), QStringLiteral("历史商品资料更新成功！"));
    QCOMPARE(data.scalar(QStringLiteral("select 商品名 from Products where ID=?"), {id}).toString(),
             QStringLiteral("钢笔"));

    // 副  本 forgets the ID: the same texts with another 规格 are a new entry.
    click(&editor, "btCopy");
    QCOMPARE(editor.good().id, qint64(0));
    fill(&editor, "edtModelNo", QStringLiteral("蓝"));
    // With 客户保存后立即新增 the boxes empty after the save, as 置  空 does.
    child<QCheckBox>(&editor, "cbAddNext")->setChecked(true);
    click(&editor, "btSave");
    QCOMPARE(data.dialogs.lastText(), QStringLiteral("成功新增一条商品信息！"));
    QCOMPARE(data.scalar(QStringLiteral("select count(*) from Products where 商品名='钢笔'")).toInt(), 2);
    QVERIFY(child<QLineEdit>(&editor, "edtName")->text().isEmpty());
    QCOMPARE(categories->currentText(), QStringLiteral("文具"));
}

void TestGoodsWindows::editorBoxesSelectTheirText_data()
{
    QTest::addColumn<QString>("box");
    QTest::newRow("name") << "edtName";
    QTest::newRow("remark") << "edtRemark";
    QTest::newRow("category") << "cbCategory";
}

void TestGoodsWindows::editorBoxesSelectTheirText()
{
    QFETCH(QString, box);
    test::TestData data;
    QVERIFY(data.open());
    GoodEntryDialog editor(*data.core);
    editor.show();
    QApplication::setActiveWindow(&editor);
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    auto *edit = editor.findChild<QLineEdit *>(box);
    if (!edit)
        edit = child<QComboBox>(&editor, qPrintable(box))->lineEdit();
    // Two words: a plain double-click would select only the first.
    const QString text = QStringLiteral("红笔 刻度");
    edit->setText(text);
    const QPoint onFirstWord(4, edit->height() / 2);
    child<QLineEdit>(&editor, "edtPrice")->setFocus();

    // The click that gives the focus leaves the whole text selected.
    QTest::mouseClick(edit, Qt::LeftButton, {}, onFirstWord);
    QTRY_COMPARE(edit->selectedText(), text);
    edit->deselect();
    QTest::mouseDClick(edit, Qt::LeftButton, {}, onFirstWord);
    QCOMPARE(edit->selectedText(), text);
}

void TestGoodsWindows::search_data()
{
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("category");
    QTest::addColumn<QStringList>("found");
    QTest::addColumn<QString>("path");
    // Names descending by their codes: 笔 before 本 before 尺.
    QTest::newRow("everything") << "" << "所有商品" << "" << QStringList{"笔/黑", "本/A5", "尺/红笔刻度"}
                                << "全部分类\\";
    QTest::newRow("blank keyword, no name: the category") << "  " << "" << "文具"
                                                          << QStringList{"笔/黑", "尺/红笔刻度"} << "全部分类\\文具";
    QTest::newRow("keyword in 商品名 or 规格") << "笔" << "所有商品" << ""
                                                      << QStringList{"笔/黑", "尺/红笔刻度"} << "全部分类\\";
    QTest::newRow("keyword within the category") << "A" << "所有商品" << "纸品" << QStringList{"本/A5"}
                                                  << "全部分类\\纸品";
    QTest::newRow("keyword outside the category") << "A" << "所有商品" << "文具" << QStringList{}
                                                  << "全部分类\\文具";
    QTest::newRow("one name") << "" << "尺" << "" << QStringList{"尺/红笔刻度"} << "全部分类\\";
    QTest::newRow("name and keyword") << "刻度" << "笔" << "" << QStringList{} << "全部分类\\";
}

void TestGoodsWindows::search()
{
    QFETCH(QString, keyword);
    QFETCH(QString, name);
    QFETCH(QString, category);
    QFETCH(QStringList, found);
    QFETCH(QString, path);
    test::TestData data;
    QVERIFY(data.open());
    seed(data);
    GoodsCatalogWindow window(*data.core);
    window.show();
    QCOMPARE(treeCategories(&window), (QStringList{"文具", "纸品"}));
    auto *names = child<QComboBox>(&window, "cbName");
    QCOMPARE(names->itemText(0), QStringLiteral("所有商品"));
    QCOMPARE(names->currentText(), QStringLiteral("所有商品"));

    clickTree(&window, category.isEmpty() ? QStringLiteral("全部分类") : category);
    QCOMPARE(window.categoryPath(), path);
    QCOMPARE(child<QLineEdit>(&window, "edtPath")->text(), path);
    names->setCurrentText(name);
    auto *key = child<QLineEdit>(&window, "edtKey");
    replaceText(key, keyword);
    QTest::keyClick(key, Qt::Key_Return);
    QCOMPARE(listed(&window), found);
    QCOMPARE(window.windowTitle(), QStringLiteral("产品分类管理 (%1)").arg(found.size()));
    // 查询 lists the same.
    click(&window, "btQuery");
    QCOMPARE(listed(&window), found);
}

void TestGoodsWindows::allAndCategoryButtons()
{
    test::TestData data;
    QVERIFY(data.open());
    seed(data);
    GoodsCatalogWindow window(*data.core);
    window.show();
    auto *names = child<QComboBox>(&window, "cbName");
    auto *key = child<QLineEdit>(&window, "edtKey");

    // A click on the category lists it at once.
    clickTree(&window, QStringLiteral("文具"));
    QCOMPARE(listed(&window), (QStringList{"笔/黑", "尺/红笔刻度"}));
    replaceText(key, QStringLiteral("刻度"));
    click(&window, "btQuery");
    QCOMPARE(listed(&window), QStringList{"尺/红笔刻度"});

    // 分类内所有 drops the keyword and the name, not the category.
    names->setCurrentText(QStringLiteral("尺"));
    click(&window, "btCategoryAll");
    QVERIFY(key->text().isEmpty());
    QCOMPARE(names->currentText(), QStringLiteral("所有商品"));
    QCOMPARE(listed(&window), (QStringList{"笔/黑", "尺/红笔刻度"}));

    // A name stored meanwhile appears in the name list after 全部.
    QVERIFY(data.exec(QStringLiteral("insert into Products (商品名,规格,单价,分类) values('胶水','','4','文具')")));
    replaceText(key, QStringLiteral("刻度"));
    click(&window, "btAll");
    QCOMPARE(window.categoryPath(), QStringLiteral("全部分类\\"));
    QCOMPARE(child<QTreeWidget>(&window, "tvCategory")->currentItem()->text(0), QStringLiteral("全部分类"));
    QVERIFY(key->text().isEmpty());
    QCOMPARE(names->currentText(), QStringLiteral("所有商品"));
    QVERIFY(names->findText(QStringLiteral("胶水")) > 0);
    QCOMPARE(listed(&window).size(), 4);
    QCOMPARE(window.windowTitle(), QStringLiteral("产品分类管理 (4)"));

    // 刷新 lists again with the current search.
    QVERIFY(data.exec(QStringLiteral("delete from Products where 商品名='胶水'")));
    click(&window, "btRefresh");
    QCOMPARE(listed(&window).size(), 3);
}

void TestGoodsWindows::columnTitlesToggleTheOrder()
{
    test::TestData data;
    QVERIFY(data.open());
    seed(data);
    GoodsCatalogWindow window(*data.core);
    window.show();
    QCOMPARE(window.sort().sortColumn, QStringLiteral("商品名"));
    QVERIFY(window.sort().descending);
    constexpr int priceColumn = 5;
    const QStringList ascending{"尺/红笔刻度", "笔/黑", "本/A5"};
    QStringList descending = ascending;
    std::reverse(descending.begin(), descending.end());

    clickTitle(&window, priceColumn);
    QCOMPARE(window.sort().sortColumn, QStringLiteral("单价"));
    QVERIFY(!window.sort().descending);
    QCOMPARE(listed(&window), ascending);
    clickTitle(&window, priceColumn);
    QVERIFY(window.sort().descending);
    QCOMPARE(listed(&window), descending);
    clickTitle(&window, priceColumn);
    QCOMPARE(listed(&window), ascending);
    // The order holds for a search too.
    clickTree(&window, QStringLiteral("文具"));
    QCOMPARE(listed(&window), (QStringList{"尺/红笔刻度", "笔/黑"}));
}

void TestGoodsWindows::deleteSelectedAndClear()
{
    test::TestData data;
    QVERIFY(data.open());
    seed(data);
    GoodsCatalogWindow window(*data.core);
    window.show();
    QCOMPARE(gridOf(&window)->toolTip(), QStringLiteral("按住ctrl点击方可多选"));
    clickRow(&window, 0);
    clickRow(&window, 2, Qt::ControlModifier);
    QCOMPARE(gridOf(&window)->selectionModel()->selectedRows().size(), 2);

    data.dialogs.answers.enqueue(false);
    click(&window, "btDeleteSelected");
    QCOMPARE(data.dialogs.texts(), QStringList{"真的要删除选中的商品信息吗?"});
    QCOMPARE(data.dialogs.lastCaption(), QStringLiteral("删除确认"));
    QCOMPARE(listed(&window).size(), 3);

    data.dialogs.clear();
    data.dialogs.answers.enqueue(true);
    click(&window, "btDeleteSelected");
    QCOMPARE(data.dialogs.texts(), QStringList{"真的要删除选中的商品信息吗?"});
    QCOMPARE(listed(&window), QStringList{"本/A5"});
    QCOMPARE(data.scalar(QStringLiteral("select count(*) from Products")).toInt(), 1);
    QCOMPARE(treeCategories(&window), QStringList{"纸品"});

    // 清 空 asks with a warning; No keeps everything.
    QCOMPARE(child<QPushButton>(&window, "btClear")->toolTip(), QStringLiteral("删除所有的客户资料"));
    const QString question = QStringLiteral("警告：清空操作将删除所有的客户数据，且不可恢复！确定要清空吗？");
    data.dialogs.clear();
    click(&window, "btClear");
    QCOMPARE(data.dialogs.texts(), QStringList{question});
    QCOMPARE(listed(&window).size(), 1);
    data.dialogs.clear();
    data.dialogs.answers.enqueue(true);
    click(&window, "btClear");
    QCOMPARE(data.dialogs.texts(), QStringList{question});
    QCOMPARE(data.scalar(QStringLiteral("select count(*) from Products")).toInt(), 0);
    QCOMPARE(listed(&window), QStringList{});
    QCOMPARE(treeCategories(&window), QStringList{});
    QCOMPARE(window.windowTitle(), QStringLiteral("产品分类管理 (0)"));
}

void TestGoodsWindows::editNeedsAnEntry()
{
    test::TestData data;
    QVERIFY(data.open());
    QVERIFY(data.exec(QStringLiteral("delete from Products")));
    GoodsCatalogWindow window(*data.core);
    window.show();
    click(&window, "btEdit");
    QCOMPARE(data.dialogs.texts(), QStringList{"没有商品可修改，请先选中或添加一个商品！"});
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

void TestGoodsWindows::gridMenu()
{
    test::TestData data;
    QVERIFY(data.open());
    seed(data);
    GoodsCatalogWindow window(*data.core);
    window.show();
    QTableView *exported = nullptr;
    QString title;
    window.setExporter([&](QTableView *grid, const QString &t) {
        exported = grid;
        title = t;
    });
    child<QAction>(&window, "acExport")->trigger();
    QCOMPARE(exported, gridOf(&window));
    QCOMPARE(title, QStringLiteral("商品导出"));

    QVERIFY(!data.core->settings().hasGridWidths(QStringLiteral("frm_GoodsManage"), QStringLiteral("gridGoods")));
    gridOf(&window)->setColumnWidth(1, 123);
    child<QAction>(&window, "acSaveWidths")->trigger();
    QVERIFY(data.core->settings().hasGridWidths(QStringLiteral("frm_GoodsManage"), QStringLiteral("gridGoods")));
    const QList<int> widths = data.core->settings().loadGridWidths(QStringLiteral("frm_GoodsManage"),
                                                                   QStringLiteral("gridGoods"), 10);
    QCOMPARE(widths.value(0), -1);
    QCOMPARE(widths.value(1), 123);
}

// 导入商品 from the grid's menu: a sheet without the needed titles is
// refused and another chosen; a good one is added and listed.
void TestGoodsWindows::importFromTheGridMenu()
{
    test::TestData data;
    QVERIFY(data.open());
    QVERIFY(data.exec(QStringLiteral("delete from Products")));
    QTemporaryDir dir;
    const QString bad = dir.filePath(QStringLiteral("bad.csv"));
    const QString good = dir.filePath(QStringLiteral("goods.csv"));
    QVERIFY(test::writeFile(bad, QByteArrayLiteral("名称,价格\n笔,3\n")));
    QVERIFY(test::writeFile(good, QByteArrayLiteral("商品名,规格型号,单价,分类\n笔,黑,3,文具\n本,A5,5,纸品\n")));
    data.dialogs.files.enqueue(bad);
    data.dialogs.files.enqueue(good);
    GoodsCatalogWindow window(*data.core);
    window.show();

    bool driven = false;
    QTimer::singleShot(0, &window, [&] {
        auto *dialog = qobject_cast<GoodsImportDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        QCOMPARE(child<QLabel>(dialog, "lbStatus")->text(), QStringLiteral("导入准备就绪！"));
        auto *start = child<QPushButton>(dialog, "btStart");
        QVERIFY(!start->isEnabled());
        click(dialog, "btBrowse");
        QCOMPARE(child<QLineEdit>(dialog, "edtFile")->text(), bad);
        click(dialog, "btStart");
        QCOMPARE(data.dialogs.lastText(), QStringLiteral("验证数据文件失败，文档的第一行必须含有列：\n商品名,规格,单价"));
        QCOMPARE(child<QLabel>(dialog, "lbStatus")->text(), QStringLiteral("验证数据文件失败,请重新选择有效的数据文件！"));
        QVERIFY(!start->isEnabled());
        click(dialog, "btBrowse");
        click(dialog, "btStart");
        QCOMPARE(data.dialogs.lastText(), QStringLiteral("导入完成，共有 2 条导入成功！"));
        QCOMPARE(data.dialogs.lastCaption(), QStringLiteral("导入结束"));
        click(dialog, "btDone");
        driven = true;
    });
    child<QAction>(&window, "acImport")->trigger();
    QVERIFY(driven);
    QCOMPARE(listed(&window), (QStringList{"笔/黑", "本/A5"}));
    QCOMPARE(treeCategories(&window), (QStringList{"文具", "纸品"}));
}

void TestGoodsWindows::importProgress_data()
{
    QTest::addColumn<int>("rowCount");
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<bool>("bar");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("status");
    QTest::newRow("small sheet, no bar") << 20 << false << false << 20 << "导入结束！";
    QTest::newRow("large sheet to the end") << 600 << false << true << 600 << "导入结束！";
    QTest::newRow("large sheet cancelled") << 600 << true << true << 0 << "导入已取消，没有导入任何商品！";
}

// A large sheet shows its progress while it is imported; 取消 on the bar
// stops the import and leaves nothing of it in the catalogue.
void TestGoodsWindows::importProgress()
{
    QFETCH(int, rowCount);
    QFETCH(bool, cancel);
    QFETCH(bool, bar);
    QFETCH(int, stored);
    QFETCH(QString, status);
    test::TestData data;
    QVERIFY(data.open());
    QVERIFY(data.exec(QStringLiteral("delete from Products")));
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("goods.csv"));
    QByteArray csv("商品名,规格,单价\n");
    for (int i = 0; i < rowCount; ++i)
        csv += QStringLiteral("纸%1,A4,20\n").arg(i).toUtf8();
    QVERIFY(test::writeFile(file, csv));
    data.dialogs.files.enqueue(file);
    GoodsImportDialog dialog(*data.core);
    dialog.show();
    click(&dialog, "btBrowse");

    // Watches the bar while the import runs and, when asked to, cancels it once it moved.
    int maximum = -1;
    int value = -1;
    bool cancelled = false;
    QTimer watch;
    watch.setInterval(0);
    connect(&watch, &QTimer::timeout, &dialog, [&] {
        auto *progress = dialog.findChild<QProgressDialog *>(QStringLiteral("progressImport"));
        if (!progress || !progress->isVisible() || cancelled)
            return;
        maximum = progress->maximum();
        value = progress->value();
        if (cancel && value > 0) {
            auto *button = progress->findChild<QPushButton *>();
            QCOMPARE(button->text(), QStringLiteral("取消"));
            button->click();
            cancelled = true;
        }
    });
    watch.start();
    click(&dialog, "btStart");
    watch.stop();

    QCOMPARE(maximum, bar ? rowCount : -1);
    QCOMPARE(cancelled, cancel);
    if (bar)
        QCOMPARE(value == rowCount, !cancel);
    QSqlQuery count(data.db());
    QVERIFY(count.exec(QStringLiteral("select count(*) from Products")) && count.next());
    QCOMPARE(count.value(0).toInt(), stored);
    QCOMPARE(child<QLabel>(&dialog, "lbStatus")->text(), status);
    QCOMPARE(dialog.imported(), stored > 0);
    QCOMPARE(data.dialogs.lastCaption() == QStringLiteral("导入结束"), !cancel);
}

QTEST_MAIN(TestGoodsWindows)
#include "test_goods_windows.moc"
