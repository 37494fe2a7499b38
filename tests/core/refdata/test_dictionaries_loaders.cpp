#include "refdata/CodeLists.h"
#include "refdata/Currencies.h"
#include "refdata/Dictionaries.h"
#include "support/TestData.h"

#include <QTest>

using namespace moque;
using refdata::CodeLists;
using refdata::Currencies;
using refdata::Dictionaries;

namespace {

const QString list = QStringLiteral("测试清单");

void addValue(const test::TestData &data, int templateId, const QString &name, const QString &value)
{
    QVERIFY(data.exec(QStringLiteral("insert into DMTable (CheckTypeId,DMName,DMValue) values(?,?,?)"),
                      {templateId, name, value}));
}

} // namespace

class TestDictionaryLoaders : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void templateIdsParsed_data();
    void templateIdsParsed();
    void ownValuesBeforeCommon_data();
    void ownValuesBeforeCommon();
    void valuesStoredAndFoundExactly();
    void configurationEntriesNeverListed();
    void templateWithoutListsShowsCommonNames();
    void windowValuesWithAndWithoutCommon();
    void newDictionary();
    void pendingEditsStoredTogether();
    void provincesAndCities();
    void blanksAroundStoredCodes();
    void cityAddRenameDelete();
    void currencyOrderAndLookups();
    void currencyAdd_data();
    void currencyAdd();
    void currencyCodeChangeAndDelete();
};

void TestDictionaryLoaders::templateIdsParsed_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("ids");
    QTest::newRow("plain") << "12,0" << QList<int>{12, 0};
    QTest::newRow("blanks") << " 12 ,  0 " << QList<int>{12, 0};
    QTest::newRow("junk skipped") << "12,x,0) or 1=1 --, 3" << QList<int>{12, 3};
    QTest::newRow("negative") << "-1,0" << QList<int>{-1, 0};
    QTest::newRow("empty") << "" << QList<int>{};
}

void TestDictionaryLoaders::templateIdsParsed()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, ids);
    QCOMPARE(refdata::parseTemplateIds(text), ids);
}

void TestDictionaryLoaders::ownValuesBeforeCommon_data()
{
    QTest::addColumn<QString>("ids");
    QTest::addColumn<QStringList>("expected");
    const QStringList both{QStringLiteral("乙"), QStringLiteral("甲"), QStringLiteral("丙"), QStringLiteral("甲")};
    QTest::newRow("template then common") << "3,0" << both;
    QTest::newRow("common listed first") << "0,3" << both;
    QTest::newRow("blanks and junk") << " 3 , abc, 0 " << both;
    QTest::newRow("common only") << "0" << QStringList{QStringLiteral("丙"), QStringLiteral("甲")};
    QTest::newRow("other template") << "4,0" << QStringList{QStringLiteral("丙"), QStringLiteral("甲")};
    QTest::newRow("nothing usable") << "x;y" << QStringList{};
}

void TestDictionaryLoaders::ownValuesBeforeCommon()
{
    QFETCH(QString, ids);
    QFETCH(QStringList, expected);
    test::TestData data;
    QVERIFY(data.open());
    // Entered in this order; a duplicate row of one template is listed once.
    addValue(data, 0, list, QStringLiteral("丙"));
    addValue(data, 3, list, QStringLiteral("乙"));
    addValue(data, 0, list, QStringLiteral("甲"));
    addValue(data, 3, list, QStringLiteral("甲"));
    addValue(data, 3, list, QStringLiteral("乙"));
    addValue(data, 3, QStringLiteral("其他清单"), QStringLiteral("丁"));
    QCOMPARE(Dictionaries(data.db()).loadDMListByName(list, ids), expected);
}

void TestDictionaryLoaders::valuesStoredAndFoundExactly()
{
    test::TestData data;
    QVERIFY(data.open());
    const QString name = QStringLiteral("O'Brien的100%清单");
    const QString value = QStringLiteral("it's 50%_off，“引号”；'x' \"y\" 【备注】");
    Dictionaries dictionaries(data.db());
    QVERIFY(dictionaries.saveValues({{0, name, value, 2}}));
    QCOMPARE(dictionaries.loadDMListByName(name, QStringLiteral("2,0")), QStringList{value});
    // The name is compared as it stands, never as a pattern.
    QCOMPARE(dictionaries.loadDMListByName(QStringLiteral("O'Brien的1%"), QStringLiteral("2,0")), QStringList{});
    QCOMPARE(dictionaries.loadDictionaryNames(2), QStringList{name});
}

void TestDictionaryLoaders::configurationEntriesNeverListed()
{
    test::TestData data;
    QVERIFY(data.open());
    addValue(data, 3, QStringLiteral("cfgDefaultMoney"), QStringLiteral("人民币"));
    addValue(data, 3, QStringLiteral("CFGPRINTCOPY"), QStringLiteral("1"));
    addValue(data, 3, list, QStringLiteral("甲"));
    addValue(data, 0, QStringLiteral("CfgShared"), QStringLiteral("1"));
    Dictionaries dictionaries(data.db());
    QCOMPARE(dictionaries.loadDictionaryNames(3), QStringList{list});
    const QStringList common = dictionaries.loadDictionaryNames(0);
    QVERIFY(common.contains(QStringLiteral("国家")));
    for (const QString &name : common)
        QVERIFY2(!name.startsWith(QStringLiteral("cfg"), Qt::CaseInsensitive), qPrintable(name));
}

void TestDictionaryLoaders::templateWithoutListsShowsCommonNames()
{
    test::TestData data;
    QVERIFY(data.open());
    Dictionaries dictionaries(data.db());
    // Only configuration entries of its own: still the common names.
    addValue(data, 4, QStringLiteral("cfgDefaultMoney"), QStringLiteral("美元"));
    const QStringList common = dictionaries.loadDictionaryNames(0);
    QVERIFY(common.size() > 5);
    QCOMPARE(dictionaries.loadDictionaryNames(4), common);
    QVERIFY(std::is_sorted(common.begin(), common.end()));
}

void TestDictionaryLoaders::windowValuesWithAndWithoutCommon()
{
    test::TestData data;
    QVERIFY(data.open());
    addValue(data, 0, list, QStringLiteral("b"));
    addValue(data, 5, list, QStringLiteral("c"));
    addValue(data, 5, list, QStringLiteral("a"));
    addValue(data, 6, list, QStringLiteral("z"));
    Dictionaries dictionaries(data.db());
    auto values = [&](bool withCommon) {
        QStringList texts;
        const auto rows = dictionaries.loadValues(list, 5, withCommon);
        for (const refdata::DictionaryValue &v : *rows)
            texts << v.value + QLatin1Char('@') + QString::number(v.templateId);
        return texts;
    };
    QCOMPARE(values(true), (QStringList{QStringLiteral("a@5"), QStringLiteral("b@0"), QStringLiteral("c@5")}));
    QCOMPARE(values(false), (QStringList{QStringLiteral("a@5"), QStringLiteral("c@5")}));
}

void TestDictionaryLoaders::newDictionary()
{
    test::TestData data;
    QVERIFY(data.open());
    Dictionaries dictionaries(data.db());
    const Dictionaries::Outcome empty = dictionaries.addDictionary(3, QStringLiteral("   "));
    QCOMPARE(empty.result, Dictionaries::Result::EmptyName);
    QCOMPARE(empty.text, QStringLiteral("请输入字典名称"));

    QVERIFY(dictionaries.addDictionary(3, QStringLiteral(" 开票人 ")).ok());
    QCOMPARE(dictionaries.loadDMListByName(QStringLiteral("开票人"), QStringLiteral("3")), QStringList{QStringLiteral("<空>")});

    const Dictionaries::Outcome again = dictionaries.addDictionary(3, QStringLiteral("开票人"));
    QCOMPARE(again.result, Dictionaries::Result::Exists);
    QCOMPARE(again.text, QStringLiteral("字典项目【开票人】已经存在"));
    // The common list of that name does not stop another template.
    QVERIFY(dictionaries.addDictionary(4, QStringLiteral("开票人")).ok());
}

void TestDictionaryLoaders::pendingEditsStoredTogether()
{
    test::TestData data;
    QVERIFY(data.open());
    addValue(data, 3, list, QStringLiteral("旧"));
    Dictionaries dictionaries(data.db());
    refdata::DictionaryValueModel model;
    model.setRows(*dictionaries.loadValues(list, 3, false));
    QVERIFY(!model.hasPending());
    QVERIFY(model.setData(model.index(0, refdata::DictionaryValueModel::ValueColumn), QStringLiteral("新")));
    model.appendRow(list, 3);
    const int typed = model.appendRow(list, 3);
    QVERIFY(model.setData(model.index(typed, refdata::DictionaryValueModel::ValueColumn), QStringLiteral("加")));
    QVERIFY(!(model.flags(model.index(0, refdata::DictionaryValueModel::TemplateColumn)) & Qt::ItemIsEditable));
    // The untouched appended row is not stored.
    QCOMPARE(model.pendingRows().size(), 2);
    QVERIFY(dictionaries.saveValues(model.pendingRows()));
    QCOMPARE(dictionaries.loadDMListByName(list, QStringLiteral("3")), (QStringList{QStringLiteral("新"), QStringLiteral("加")}));

    // A failing row leaves the others unstored too.
    QVERIFY(data.exec(QStringLiteral("create trigger refuse before insert on DMTable when new.DMValue='坏' "
                                     "begin select raise(abort, 'refused'); end")));
    QVERIFY(!dictionaries.saveValues({{0, list, QStringLiteral("好"), 3}, {0, list, QStringLiteral("坏"), 3}}));
    QCOMPARE(dictionaries.loadDMListByName(list, QStringLiteral("3")).size(), 2);
}

void TestDictionaryLoaders::provincesAndCities()
{
    test::TestData data;
    QVERIFY(data.open());
    CodeLists codes(data.db());
    const QStringList provinces = codes.loadProvinces();
    QVERIFY(provinces.contains(QStringLiteral("广东省")));
    QVERIFY(provinces.contains(QStringLiteral("北京市")));
    // Listed in pinyin order, as a reader looks them up.
    QCOMPARE(provinces.size(), 34);
    QCOMPARE(provinces.first(), QStringLiteral("安徽省"));
    QVERIFY(provinces.indexOf(QStringLiteral("北京市")) < provinces.indexOf(QStringLiteral("广东省")));
    QVERIFY(provinces.indexOf(QStringLiteral("广东省")) < provinces.indexOf(QStringLiteral("浙江省")));
    QCOMPARE(provinces.last(), QStringLiteral("浙江省"));
    const QStringList cities = codes.loadCitysByProvince(QStringLiteral("广东省"));
    QVERIFY(cities.indexOf(QStringLiteral("潮州市")) < cities.indexOf(QStringLiteral("深圳市")));
    QVERIFY(cities.contains(QStringLiteral("深圳市")));
    QVERIFY(cities.contains(QStringLiteral("广州市")));
    QVERIFY(!cities.contains(QStringLiteral("杭州市")));
    // Address substitutions are not provinces.
    QVERIFY(data.exec(QStringLiteral("insert into DMTable2 (类型,一级代码,二级代码) values('其他字符','广东省','粤')")));
    QCOMPARE(codes.loadCitysByProvince(QStringLiteral("广东省")), cities);
    QCOMPARE(codes.loadProvinces(), provinces);
}

void TestDictionaryLoaders::blanksAroundStoredCodes()
{
    test::TestData data;
    QVERIFY(data.open());
    QVERIFY(data.exec(QStringLiteral("insert into DMTable2 (类型,一级代码,二级代码) values(' 省市 ',' 测试省  ','  测试市 ')")));
    CodeLists codes(data.db());
    QVERIFY(codes.loadProvinces().contains(QStringLiteral("测试省")));
    QCOMPARE(codes.loadCitysByProvince(QStringLiteral("测试省")), QStringList{QStringLiteral("测试市")});
    QCOMPARE(codes.loadCitysByProvince(QStringLiteral(" 测试省 ")), QStringList{QStringLiteral("测试市")});
    QVERIFY(codes.cityExists(QStringLiteral("测试省"), QStringLiteral("测试市")));
    QCOMPARE(codes.addCity(QStringLiteral("测试省"), QStringLiteral("测试市")).result, CodeLists::Result::Exists);
    QVERIFY(codes.deleteCity(QStringLiteral("测试省"), QStringLiteral("测试市")).ok());
    QVERIFY(!codes.loadProvinces().contains(QStringLiteral("测试省")));
}

void TestDictionaryLoaders::cityAddRenameDelete()
{
    test::TestData data;
    QVERIFY(data.open());
    CodeLists codes(data.db());
    const CodeLists::Outcome empty = codes.addCity(QStringLiteral("广东省"), QStringLiteral("  "));
    QCOMPARE(empty.text, QStringLiteral("省和市输入不能为空！"));
    QCOMPARE(empty.caption, QStringLiteral("提示"));

    const CodeLists::Outcome exists = codes.addCity(QStringLiteral("广东省"), QStringLiteral("深圳市"));
    QCOMPARE(exists.text, QStringLiteral("\"广东省--深圳市\"已经存在，不需要添加！"));
    // The same city under another province is accepted.
    const CodeLists::Outcome added = codes.addCity(QStringLiteral(" 测试省 "), QStringLiteral("深圳市"));
    QCOMPARE(added.text, QStringLiteral("\"测试省--深圳市\"代码添加成功！"));
    QCOMPARE(codes.loadCitysByProvince(QStringLiteral("测试省")), QStringList{QStringLiteral("深圳市")});

    QCOMPARE(codes.renameCity(QStringLiteral("测试省"), QStringLiteral("深圳市"), QStringLiteral("O'市%")).text,
             QStringLiteral("修改成功！"));
    QCOMPARE(codes.loadCitysByProvince(QStringLiteral("测试省")), QStringList{QStringLiteral("O'市%")});
    QVERIFY(codes.cityExists(QStringLiteral("广东省"), QStringLiteral("深圳市")));
    QCOMPARE(codes.renameCity(QStringLiteral("测试省"), QStringLiteral("没有的市"), QStringLiteral("新市")).text,
             QStringLiteral("修改失败！"));

    QCOMPARE(codes.deleteCity(QStringLiteral("测试省"), QStringLiteral("O'市%")).text, QStringLiteral("删除成功！"));
    QVERIFY(!codes.loadProvinces().contains(QStringLiteral("测试省")));
    QVERIFY(codes.cityExists(QStringLiteral("广东省"), QStringLiteral("深圳市")));
}

void TestDictionaryLoaders::currencyOrderAndLookups()
{
    test::TestData data;
    QVERIFY(data.open());
    Currencies currencies(data.db());
    QStringList names = currencies.loadMoneyTypeList();
    QCOMPARE(names.value(0), QStringLiteral("人民币"));
    QCOMPARE(names.value(1), QStringLiteral("美元"));
    const QList<refdata::Currency> list = currencies.loadCurrencies();
    for (int i = 1; i < list.size(); ++i)
        QVERIFY(list[i - 1].order >= list[i].order);

    QVERIFY(currencies.addCurrency(QStringLiteral("测试币"), QStringLiteral("TST")).ok());
    QCOMPARE(currencies.loadMoneyTypeList().constLast(), QStringLiteral("测试币"));
    QVERIFY(currencies.setOrder(QStringLiteral("测试币"), 1000));
    QCOMPARE(currencies.loadMoneyTypeList().constFirst(), QStringLiteral("测试币"));

    QCOMPARE(currencies.getMoneyCodeByName(QStringLiteral("人民币")), QStringLiteral("￥"));
    QCOMPARE(currencies.getMoneyNameByCode(QStringLiteral("USD")), QStringLiteral("美元"));
    QCOMPARE(currencies.getMoneyCodeByName(QStringLiteral("没有的币")), QString());
    QCOMPARE(currencies.getMoneyNameByCode(QStringLiteral("' or '1'='1")), QString());
}

void TestDictionaryLoaders::currencyAdd_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("caption");
    using R = Currencies::Result;
    QTest::newRow("no name") << " " << "X" << int(R::EmptyName) << "请填写要添加的币种名称！" << "输入不完整";
    QTest::newRow("no code") << "新币" << "" << int(R::EmptyCode) << "请填写要添加的币种简码！" << "输入不完整";
    QTest::newRow("name taken") << " 美元 " << "XYZ" << int(R::NameExists) << "币种\"美元\"已经存在！" << "存在的币种";
    QTest::newRow("code taken, other case") << "新币" << "usd" << int(R::CodeExists) << "币种简码\"usd\"已经存在！"
                                            << "存在的币种简码";
    QTest::newRow("added") << "新'币%" << "N'B" << int(R::Done) << "新币种添加成功！" << "成功";
}

void TestDictionaryLoaders::currencyAdd()
{
    QFETCH(QString, name);
    QFETCH(QString, code);
    QFETCH(int, result);
    QFETCH(QString, text);
    QFETCH(QString, caption);
    test::TestData data;
    QVERIFY(data.open());
    Currencies currencies(data.db());
    const int before = currencies.loadCurrencies().size();
    const Currencies::Outcome outcome = currencies.addCurrency(name, code);
    QCOMPARE(int(outcome.result), result);
    QCOMPARE(outcome.text, text);
    QCOMPARE(outcome.caption, caption);
    QCOMPARE(currencies.loadCurrencies().size(), before + (outcome.ok() ? 1 : 0));
    if (outcome.ok()) {
        QCOMPARE(currencies.getMoneyCodeByName(name), code);
        QCOMPARE(data.scalar(QStringLiteral("select 顺序 from coins where 币种=?"), {name}).toInt(), 0);
    }
}

void TestDictionaryLoaders::currencyCodeChangeAndDelete()
{
    test::TestData data;
    QVERIFY(data.open());
    Currencies currencies(data.db());
    const QString usd = QStringLiteral("美元");
    QCOMPARE(currencies.changeCode({}, usd, QStringLiteral("US$")).text, QStringLiteral("请先选中要修改的币种名称！"));
    QCOMPARE(currencies.changeCode(usd, QStringLiteral("美金"), QStringLiteral("US$")).text,
             QStringLiteral("修改不能改变币种名称！"));
    QCOMPARE(currencies.changeCode(usd, usd, QStringLiteral(" ")).text, QStringLiteral("请输入新的币种简码！"));
    QCOMPARE(currencies.changeCode(usd, usd, QStringLiteral("EUR")).result, Currencies::Result::CodeExists);
    QCOMPARE(currencies.changeCode(usd, usd, QStringLiteral("usd")).text, QStringLiteral("币种\"美元\"修改成功！"));
    QCOMPARE(currencies.changeCode(usd, usd, QStringLiteral("US$")).text, QStringLiteral("币种\"美元\"修改成功！"));
    QCOMPARE(currencies.getMoneyCodeByName(usd), QStringLiteral("US$"));

    QCOMPARE(currencies.deleteCurrency({}).text, QStringLiteral("请先选中要删除的币种！"));
    QCOMPARE(currencies.deleteCurrency(QStringLiteral("没有的币")).text, QStringLiteral("币种删除失败！"));
    const Currencies::Outcome deleted = currencies.deleteCurrency(usd);
    QCOMPARE(deleted.text, QStringLiteral("币种\"美元\"删除成功！"));
    QCOMPARE(deleted.caption, QStringLiteral("成功"));
    QVERIFY(!currencies.loadMoneyTypeList().contains(usd));
}

QTEST_GUILESS_MAIN(TestDictionaryLoaders)
#include "test_dictionaries_loaders.moc"
