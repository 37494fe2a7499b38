#include "refdata/DictionaryWindow.h"
#include "refdata/CurrencyWindow.h"
#include "refdata/ProvinceCityWindow.h"
#include "support/TestData.h"
#include "support/Widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>

using namespace moque;
using ui::DictionaryWindow;
using ui::CurrencyWindow;
using ui::ProvinceCityWindow;
using test::child;
using test::click;
using test::typeText;
using test::replaceText;

namespace {

QStringList listed(const QAbstractItemView *view, int column = 0)
{
    QStringList texts;
    for (int r = 0; r < view->model()->rowCount(); ++r)
        texts << view->model()->index(r, column).data().toString();
    return texts;
}

// The line editor the grid opened on its current cell.
QLineEdit *openEditor(QTableView *grid)
{
    const QList<QLineEdit *> editors = grid->viewport()->findChildren<QLineEdit *>();
    for (QLineEdit *e : editors)
        if (e->isVisible())
            return e;
    qFatal("no open editor");
}

QStringList valuesOf(const test::TestData &data, int templateId, const QString &name)
{
    QStringList values;
    QSqlQuery q(data.db());
    q.prepare(QStringLiteral("select DMValue from DMTable where CheckTypeId=? and DMName=? order by ID"));
    q.addBindValue(templateId);
    q.addBindValue(name);
    q.exec();
    while (q.next())
        values << q.value(0).toString();
    return values;
}

const QString list = QStringLiteral("测试清单");
constexpr int valueColumn = 2;
constexpr int templateColumn = 3;

} // namespace

class TestDictionaryWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dictionaryWindowOpensOnTemplate_data();
    void dictionaryWindowOpensOnTemplate();
    void dictionaryWindowNewList();
    void dictionaryWindowValues();
    void dictionaryWindowExports();
    void cityWindow();
    void currencyWindow();
    void currencyListShowsAndExports();
};

void TestDictionaryWindows::dictionaryWindowOpensOnTemplate_data()
{
    QTest::addColumn<int>("templateId");
    QTest::addColumn<QString>("caption");
    QTest::newRow("template") << 1 << "字典设置-快递单（通用快递单）(单据号=1)";
    QTest::newRow("none") << 0 << "字典设置-<适用所有单据>(单据号=0)";
    QTest::newRow("missing template") << 999 << "字典设置-<适用所有单据>(单据号=0)";
}

void TestDictionaryWindows::dictionaryWindowOpensOnTemplate()
{
    QFETCH(int, templateId);
    QFETCH(QString, caption);
    test::TestData data;
    QVERIFY(data.open());
    QVERIFY(data.exec(QStringLiteral("insert into DMTable (CheckTypeId,DMName,DMValue) values(0,'cfgShared','1')")));
    DictionaryWindow window(*data.core, templateId);
    window.show();
    QCOMPARE(window.windowTitle(), caption);
    // Without lists of its own the template shows the common names, the first chosen.
    const QStringList names = listed(child<QListView>(&window, "lstNames"));
    QVERIFY(names.contains(QStringLiteral("国家")));
    QVERIFY(!names.contains(QStringLiteral("cfgShared")));
    QCOMPARE(window.currentName(), names.constFirst());
    QCOMPARE(child<QComboBox>(&window, "cbDMName")->currentText(), names.constFirst());
    QCOMPARE(child<QLabel>(&window, "lbValues")->text(),
             QStringLiteral("3、[") + names.constFirst() + QStringLiteral("]已有字典内容：(\"单据号=0\"表示公用内容)"));
    QVERIFY(child<QTableView>(&window, "gridValues")->model()->rowCount() > 0);
}

void TestDictionaryWindows::dictionaryWindowNewList()
{
    test::TestData data;
    QVERIFY(data.open());
    DictionaryWindow window(*data.core, 1);
    window.show();
    auto *nameBox = child<QComboBox>(&window, "cbDMName");
    nameBox->setCurrentText(QStringLiteral("  "));
    click(&window, "btAddName");
    QCOMPARE(data.dialogs.lastText(), QStringLiteral("请输入字典名称"));

    nameBox->setCurrentText(list);
    click(&window, "btAddName");
    QCOMPARE(valuesOf(data, 1, list), QStringList{QStringLiteral("<空>")});
    // The template now has a list of its own: only its names are offered.
    QCOMPARE(listed(child<QListView>(&window, "lstNames")), QStringList{list});
    QCOMPARE(window.currentName(), list);

    data.dialogs.clear();
    click(&window, "btAddName");
    QCOMPARE(data.dialogs.texts(), QStringList{QStringLiteral("字典项目【测试清单】已经存在")});

    // Another template is chosen by its full name.
    auto *templates = child<QComboBox>(&window, "cbTemplates");
    templates->setCurrentIndex(templates->findText(QStringLiteral("快递单（标准快递单）")));
    QCOMPARE(window.currentTemplateId(), 2);
    QVERIFY(!listed(child<QListView>(&window, "lstNames")).contains(list));
}

void TestDictionaryWindows::dictionaryWindowValues()
{
    test::TestData data;
    QVERIFY(data.open());
    QVERIFY(data.exec(QStringLiteral("insert into DMTable (CheckTypeId,DMName,DMValue) values(1,?,'乙'),(0,?,'甲')"),
                      {list, list}));
    DictionaryWindow window(*data.core, 1);
    window.show();
    auto *grid = child<QTableView>(&window, "gridValues");
    QCOMPARE(listed(grid, valueColumn), (QStringList{QStringLiteral("乙"), QStringLiteral("甲")}));
    QVERIFY(grid->isColumnHidden(0) && grid->isColumnHidden(1) && !grid->isColumnHidden(valueColumn));

    // Common values hidden: only the template's own.
    child<QCheckBox>(&window, "chkShowCommon")->setChecked(false);
    QCOMPARE(listed(grid, valueColumn), QStringList{QStringLiteral("乙")});
    child<QCheckBox>(&window, "chkShowCommon")->setChecked(true);

    // +添加 opens an editor on a new row of the current template.
    click(&window, "btAppend");
    QCOMPARE(grid->model()->index(2, templateColumn).data().toInt(), 1);
    const QString typed = QStringLiteral("50%“丙”'s");
    replaceText(openEditor(grid), typed);
    click(&window, "btSave");
    QCOMPARE(valuesOf(data, 1, list), (QStringList{QStringLiteral("乙"), typed}));

    // E 修改 edits the current row; values are listed in order of their text.
    QCOMPARE(listed(grid, valueColumn), (QStringList{typed, QStringLiteral("乙"), QStringLiteral("甲")}));
    grid->setCurrentIndex(grid->model()->index(1, valueColumn));
    click(&window, "btEdit");
    replaceText(openEditor(grid), QStringLiteral("丁"));
    click(&window, "btSave");
    QCOMPARE(valuesOf(data, 1, list), (QStringList{QStringLiteral("丁"), typed}));

    // Deleting asks first; No keeps the row.
    data.dialogs.clear();
    grid->setCurrentIndex(grid->model()->index(0, valueColumn));
    click(&window, "btDelete");
    QCOMPARE(data.dialogs.texts(), QStringList{QStringLiteral("确认删除字典项目吗？")});
    QCOMPARE(valuesOf(data, 1, list).size(), 2);
    for (int i = 0; i < 3; ++i) {
        grid->setCurrentIndex(grid->model()->index(0, valueColumn));
        data.dialogs.answers.enqueue(true);
        click(&window, "btDelete");
    }
    QCOMPARE(valuesOf(data, 1, list), QStringList{});
    QCOMPARE(data.scalar(QStringLiteral("select count(*) from DMTable where DMName=?"), {list}).toInt(), 0);
    // The emptied list is gone from the names.
    QVERIFY(!listed(child<QListView>(&window, "lstNames")).contains(list));

    // An empty list has nothing to delete.
    child<QCheckBox>(&window, "chkShowCommon")->setChecked(false);
    QCOMPARE(grid->model()->rowCount(), 0);
    data.dialogs.clear();
    click(&window, "btDelete");
    QCOMPARE(data.dialogs.texts(), QStringList{QStringLiteral("对不起，没有内容可删除！")});
}

void TestDictionaryWindows::dictionaryWindowExports()
{
    test::TestData data;
    QVERIFY(data.open());
    DictionaryWindow window(*data.core, 0);
    window.show();
    QVERIFY(!child<QPushButton>(&window, "btExport")->isVisible());
    QTableView *exported = nullptr;
    QString title;
    window.setExporter([&](QTableView *grid, const QString &t) {
        exported = grid;
        title = t;
    });
    click(&window, "btExport");
    QCOMPARE(exported, child<QTableView>(&window, "gridValues"));
    QVERIFY(!title.isEmpty());
}

void TestDictionaryWindows::cityWindow()
{
    test::TestData data;
    QVERIFY(data.open());
    ProvinceCityWindow window(*data.core);
    window.show();
    QCOMPARE(window.windowTitle(), QStringLiteral("省市代码设置"));
    auto *provinces = child<QComboBox>(&window, "cbProvince");
    auto *cities = child<QListView>(&window, "lstCities");
    provinces->setCurrentIndex(provinces->findText(QStringLiteral("广东省")));
    QVERIFY(listed(cities).contains(QStringLiteral(" 深圳市")));

    click(&window, "btEdit");
    QCOMPARE(data.dialogs.lastText(), QStringLiteral("请先选中要修改的市(县)！"));
    QCOMPARE(data.dialogs.lastCaption(), QStringLiteral("提示"));

    // Adding an existing city is refused.
    click(&window, "btAdd");
    auto *panel = child<QGroupBox>(&window, "pnlInput");
    QVERIFY(panel->isVisible());
    QVERIFY(!cities->isEnabled());
    QCOMPARE(child<QLineEdit>(&window, "edtProvince")->text(), QStringLiteral("广东省"));
    auto *city = child<QLineEdit>(&window, "edtCity");
    click(&window, "btOk");
    QCOMPARE(data.dialogs.lastText(), QStringLiteral("省和市输入不能为空！"));
    typeText(city, QStringLiteral(" 深圳市"));
    click(&window, "btOk");
    QCOMPARE(data.dialogs.lastText(), QStringLiteral("\"广东省--深圳市\"已经存在，不需要添加！"));
    replaceText(city, QStringLiteral("测试市"));
    click(&window, "btOk");
    QCOMPARE(data.dialogs.lastText(), QStringLiteral("\"广东省--测试市\"代码添加成功！"));
    QVERIFY(!panel->isVisible());
    QVERIFY(listed(cities).contains(QStringLiteral(" 测试市")));
    QCOMPARE(child<QLabel>(&window, "lbCurrent")->text(), QStringLiteral("当前选中：测试市"));

    // Renaming the selected city.
    click(&window, "btEdit");
    QCOMPARE(city->text(), QStringLiteral("测试市"));
    replaceText(city, QStringLiteral("改名市"));
    click(&window, "btOk");
    QCOMPARE(data.dialogs.lastText(), QStringLiteral("修改成功！"));
    QVERIFY(listed(cities).contains(QStringLiteral(" 改名市")));
    QVERIFY(!listed(cities).contains(QStringLiteral(" 测试市")));

    // A click on a city selects it; 删 除 removes it without asking.
    const int row = int(listed(cities).indexOf(QStringLiteral(" 改名市")));
    QTest::mouseClick(cities->viewport(), Qt::LeftButton, {}, cities->visualRect(cities->model()->index(row, 0)).center());
    QCOMPARE(window.currentCity(), QStringLiteral("改名市"));
    click(&window, "btDelete");
    QCOMPARE(data.dialogs.lastText(), QStringLiteral("删除成功！"));
    QVERIFY(!listed(cities).contains(QStringLiteral(" 改名市")));
    QCOMPARE(data.scalar(QStringLiteral("select count(*) from DMTable2 where 二级代码 in('测试市','改名市')")).toInt(), 0);

    // Cancel closes the panel without a change.
    click(&window, "btAdd");
    click(&window, "btCancel");
    QVERIFY(!panel->isVisible());
    QVERIFY(cities->isEnabled());
}

void TestDictionaryWindows::currencyWindow()
{
    test::TestData data;
    QVERIFY(data.open());
    CurrencyWindow window(*data.core);
    window.show();
    QCOMPARE(window.windowTitle(), QStringLiteral("币种设置"));
    auto *names = child<QComboBox>(&window, "cbMoneyName");
    auto *newName = child<QLineEdit>(&window, "edtNewName");
    auto *newCode = child<QLineEdit>(&window, "edtNewCode");
    QCOMPARE(names->itemText(0), QStringLiteral("人民币"));
    QVERIFY(!child<QComboBox>(&window, "cbMoneyCode")->isVisible());

    click(&window, "btDelete");
    QCOMPARE(data.dialogs.lastText(), QStringLiteral("请先选中要删除的币种！"));
    click(&window, "btModify");
    QCOMPARE(data.dialogs.lastText(), QStringLiteral("请先选中要修改的币种名称！"));

    names->setCurrentIndex(names->findText(QStringLiteral("美元")));
    QCOMPARE(newName->text(), QStringLiteral("美元"));
    QCOMPARE(newCode->text(), QStringLiteral("USD"));

    // 增加 refuses a listed name, then a listed code.
    click(&window, "btAdd");
    QCOMPARE(data.dialogs.lastText(), QStringLiteral("币种\"美元\"已经存在！"));
    QCOMPARE(data.dialogs.lastCaption(), QStringLiteral("存在的币种"));
    replaceText(newName, QStringLiteral("测试币"));
    click(&window, "btAdd");
    QCOMPARE(data.dialogs.lastText(), QStringLiteral("币种简码\"USD\"已经存在！"));
    QCOMPARE(data.dialogs.lastCaption(), QStringLiteral("存在的币种简码"));
    replaceText(newCode, QStringLiteral("TST"));
    click(&window, "btAdd");
    QCOMPARE(data.dialogs.lastText(), QStringLiteral("新币种添加成功！"));
    QCOMPARE(data.dialogs.lastCaption(), QStringLiteral("成功"));
    QVERIFY(names->findText(QStringLiteral("测试币")) >= 0);
    QCOMPARE(window.chosenName(), QStringLiteral("测试币"));

    // 修改 keeps the name and changes the code.
    replaceText(newName, QStringLiteral("别的币"));
    click(&window, "btModify");
    QCOMPARE(data.dialogs.lastText(), QStringLiteral("修改不能改变币种名称！"));
    QCOMPARE(newName->text(), QStringLiteral("测试币"));
    replaceText(newCode, QStringLiteral("T$"));
    click(&window, "btModify");
    QCOMPARE(data.dialogs.lastText(), QStringLiteral("币种\"测试币\"修改成功！"));
    QCOMPARE(data.scalar(QStringLiteral("select 缩写 from coins where 币种='测试币'")).toString(), QStringLiteral("T$"));

    click(&window, "btDelete");
    QCOMPARE(data.dialogs.lastText(), QStringLiteral("币种\"测试币\"删除成功！"));
    QCOMPARE(names->findText(QStringLiteral("测试币")), -1);
    QVERIFY(newName->text().isEmpty() && newCode->text().isEmpty());
    QCOMPARE(window.chosenName(), QString());
}

QTEST_MAIN(TestDictionaryWindows)
#include "test_dictionaries_windows.moc"

void TestDictionaryWindows::currencyListShowsAndExports()
{
    test::TestData data;
    QVERIFY(data.open());
    CurrencyWindow window(*data.core);
    window.show();
    auto *grid = child<QTableView>(&window, "gridCoins");
    // Listed by order, highest first, with their codes.
    QCOMPARE(grid->model()->index(0, 0).data().toString(), QStringLiteral("人民币"));
    QCOMPARE(grid->model()->index(0, 1).data().toString(), QStringLiteral("￥"));
    const int rows = grid->model()->rowCount();
    QCOMPARE(rows, data.scalar("select count(*) from coins").toInt());

    // A click on a row chooses that currency.
    const QModelIndex usd = grid->model()->match(grid->model()->index(0, 0), Qt::DisplayRole, QStringLiteral("美元"))
                                .value(0);
    QVERIFY(usd.isValid());
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(usd).center());
    QCOMPARE(window.chosenName(), QStringLiteral("美元"));
    QCOMPARE(child<QLineEdit>(&window, "edtNewCode")->text(), QStringLiteral("USD"));

    // Export only where an exporter is given.
    QVERIFY(!child<QPushButton>(&window, "btExport")->isVisible());
    QTableView *exported = nullptr;
    QString title;
    window.setExporter([&](QTableView *g, const QString &t) {
        exported = g;
        title = t;
    });
    QVERIFY(child<QPushButton>(&window, "btExport")->isVisible());
    click(&window, "btExport");
    QCOMPARE(exported, grid);
    QCOMPARE(title, QStringLiteral("币种导出"));

    // The list follows the table.
    child<QLineEdit>(&window, "edtNewName")->setText(QStringLiteral("泰铢"));
    child<QLineEdit>(&window, "edtNewCode")->setText(QStringLiteral("THB"));
    click(&window, "btAdd");
    QCOMPARE(grid->model()->rowCount(), rows + 1);
}
