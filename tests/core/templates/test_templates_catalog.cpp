// The template catalogue: default, common and named lookups, kinds from full
// names, the type codes, new numbers, history lists and the repair of older
// data files.

#include "support/TemplateFixture.h"
#include "templates/TemplateCatalog.h"

#include <QTest>

using namespace moque;
using templates::TemplateCatalog;
using test::addTemplate;
using test::TemplateSpec;
using test::testKind;
namespace marker = templates::marker;

namespace {

TemplateCatalog catalogOf(test::TestData &data)
{
    return TemplateCatalog(data.db(), data.dialogs, data.core->store());
}

const QString noDefaultText = QStringLiteral("没有设定默认的测试单,请到【系统管理】-【模板管理】，设定!");
const QString noneEnabledText = QStringLiteral("没有找到任何启用的【测试单】模板！");

} // namespace

class TestTemplatesCatalog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // --- loadDefaultCheckTypeId ---

    void defaultTemplate_data()
    {
        // Each template: "number visibility default", in insertion order.
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<int>("expected");
        QTest::addColumn<QStringList>("messages");

        QTest::newRow("all hidden, none default")
            << QStringList{"1001 停用隐藏 0", "1002 停用隐藏 0"} << -1 << QStringList{noDefaultText, noneEnabledText};
        QTest::newRow("hidden default still wins")
            << QStringList{"1001 启用 0", "1002 停用隐藏 默认"} << 1002 << QStringList{};
        QTest::newRow("two defaults: the first row")
            << QStringList{"1004 启用 默认", "1003 启用 默认"} << 1003 << QStringList{};
        QTest::newRow("no default: lowest enabled")
            << QStringList{"1007 启用 0", "1005 停用隐藏 0", "1006 启用 0"} << 1006 << QStringList{noDefaultText};
        QTest::newRow("no template at all") << QStringList{} << -1 << QStringList{noDefaultText, noneEnabledText};
    }

    void defaultTemplate()
    {
        QFETCH(QStringList, rows);
        QFETCH(int, expected);
        QFETCH(QStringList, messages);
        test::TestData data;
        QVERIFY(test::openWithoutTemplates(data));
        for (const QString &row : rows) {
            const QStringList p = row.split(QLatin1Char(' '));
            QVERIFY(addTemplate(data, {.id = p[0].toInt(), .name = QStringLiteral("T") + p[0], .visible = p[1],
                                       .isDefault = p[2]}));
        }
        // A default template of another kind must not be taken.
        QVERIFY(addTemplate(data, {.id = 1000, .kind = QStringLiteral("快递单"), .name = QStringLiteral("顺丰"),
                                   .isDefault = marker::isDefault}));

        QCOMPARE(catalogOf(data).loadDefaultCheckTypeId(testKind), expected);
        QCOMPARE(data.dialogs.texts(), messages);
    }

    // --- loadCommonTypeLastNameList ---

    void commonListPutsDefaultFirst()
    {
        test::TestData data;
        QVERIFY(test::openWithoutTemplates(data));
        QVERIFY(addTemplate(data, {.id = 1001, .name = QStringLiteral("甲"), .isCommon = marker::common}));
        QVERIFY(addTemplate(data, {.id = 1002, .name = QStringLiteral("乙")}));
        QVERIFY(addTemplate(data, {.id = 1003, .name = QStringLiteral("丙"), .visible = marker::hidden,
                                   .isCommon = marker::common}));
        QVERIFY(addTemplate(data, {.id = 1004, .name = QStringLiteral("丁"), .isCommon = marker::common}));
        QVERIFY(addTemplate(data, {.id = 1005, .name = QStringLiteral("戊"), .isDefault = marker::isDefault,
                                   .isCommon = marker::common}));
        QVERIFY(addTemplate(data, {.id = 1006, .kind = QStringLiteral("快递单"), .name = QStringLiteral("己"),
                                   .isCommon = marker::common}));

        TemplateCatalog catalog = catalogOf(data);
        QCOMPARE(catalog.loadCommonTypeLastNameList(testKind),
                 (QStringList{QStringLiteral("戊"), QStringLiteral("甲"), QStringLiteral("丁")}));
        QVERIFY(catalog.loadCommonTypeLastNameList(QString()).isEmpty());
        QVERIFY(data.dialogs.shown.isEmpty());
    }

    void commonListWithoutIsCommonColumn()
    {
        test::TestData data;
        QVERIFY(test::openWithoutTemplates(data));
        QVERIFY(addTemplate(data, {.id = 1001, .name = QStringLiteral("甲"), .isCommon = marker::common}));
        QVERIFY(data.exec(QStringLiteral("alter table CKTypeTable drop column IsCommon")));

        QVERIFY(catalogOf(data).loadCommonTypeLastNameList(testKind).isEmpty());
        QCOMPARE(data.dialogs.texts(), QStringList{QStringLiteral("数据文件来自旧版本，请先升级（帮助 → 升级）！")});
    }

    // --- lookups by name ---

    void idByKindAndDisplayName()
    {
        test::TestData data;
        QVERIFY(test::openWithoutTemplates(data));
        QVERIFY(addTemplate(data, {.id = 1001, .name = QStringLiteral("圆通")}));
        // An older template without its kind, found through its full name.
        QVERIFY(addTemplate(data, {.id = 1002, .kind = QString(), .name = QStringLiteral("旧版")}));
        QVERIFY(data.exec(QStringLiteral("update CKTypeTable set TypeName=? where CheckTypeID=1002"),
                          {QStringLiteral("测试单（旧版）")}));

        TemplateCatalog catalog = catalogOf(data);
        QCOMPARE(catalog.loadCheckTypeIDByFirstAndLastName(testKind, QStringLiteral("圆通")), 1001);
        QCOMPARE(catalog.loadCheckTypeIDByFirstAndLastName(testKind, QStringLiteral("旧版")), 1002);
        QCOMPARE(catalog.loadCheckTypeIDByFirstAndLastName(testKind, QStringLiteral("没有")), 0);
        QCOMPARE(catalog.loadCheckTypeIDByFirstAndLastName(QStringLiteral("快递单"), QStringLiteral("圆通")), 0);
    }

    void quoteAndPercentAreJustCharacters()
    {
        test::TestData data;
        QVERIFY(test::openWithoutTemplates(data));
        const QString odd = QStringLiteral("O'Neil%速递");
        QVERIFY(addTemplate(data, {.id = 1001, .name = odd}));
        QVERIFY(addTemplate(data, {.id = 1002, .name = QStringLiteral("O'Neil")}));

        TemplateCatalog catalog = catalogOf(data);
        QString error;
        QVERIFY(catalog.CheckTypeExists(testKind, odd, &error));
        QVERIFY(error.isEmpty());
        QCOMPARE(catalog.loadCheckTypeIDByFirstAndLastName(testKind, odd), 1001);
        QCOMPARE(catalog.loadCheckTypeIDByTypeFullName(QStringLiteral("测试单（O'Neil%速递）")), QStringLiteral("1001"));
        QCOMPARE(catalog.loadCheckTypeIDByFirstAndLastName(testKind, QStringLiteral("O'Neil")), 1002);
        // "%" matches only itself.
        QVERIFY(!catalog.CheckTypeExists(testKind, QStringLiteral("%"), &error));
        QVERIFY(!catalog.CheckTypeExists(testKind, QStringLiteral("O'Neil%"), &error));
        QCOMPARE(catalog.loadCheckTypeIDByTypeFullName(QStringLiteral("测试单（%）")), QStringLiteral("0"));
        QVERIFY(error.isEmpty());
    }

    void namesById()
    {
        test::TestData data;
        QVERIFY(test::openWithoutTemplates(data));
        QVERIFY(addTemplate(data, {.id = 1001, .name = QStringLiteral("圆通")}));
        QVERIFY(data.exec(QStringLiteral("update CKTypeTable set HVPrint=1 where CheckTypeID=1001")));
        QVERIFY(addTemplate(data, {.id = 1002, .name = QStringLiteral("申通")}));

        TemplateCatalog catalog = catalogOf(data);
        QCOMPARE(catalog.loadCheckTypeFullNameByID(1001), QStringLiteral("测试单（圆通）"));
        QCOMPARE(catalog.loadCheckTypeLastNameByID(1001), QStringLiteral("圆通"));
        QCOMPARE(catalog.getHXPaperIn(1001), QStringLiteral("1"));
        QCOMPARE(catalog.getHXPaperIn(1002), QStringLiteral("0"));
        QCOMPARE(catalog.loadCheckTypeFullNameByID(999), QString());
        QCOMPARE(catalog.loadCheckTypeLastNameByID(999), QString());
        QCOMPARE(catalog.getHXPaperIn(999), QString());
        QCOMPARE(catalog.loadCheckTypeIDByTypeFullName(QStringLiteral("测试单（没有）")), QStringLiteral("0"));
    }

    // --- loadCheckTypeFirstNameByID ---

    void kindById_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("fullName");
        QTest::addColumn<QString>("expected");

        QTest::newRow("kind stored") << QStringLiteral("快递单") << QStringLiteral("别的（x）") << QStringLiteral("快递单");
        QTest::newRow("half-width parenthesis")
            << QString() << QStringLiteral("快递单(顺丰)") << QStringLiteral("快递单");
        QTest::newRow("full-width before half-width")
            << QString() << QStringLiteral("快递单(a)（b）") << QStringLiteral("快递单(a)");
        QTest::newRow("no parenthesis") << QString() << QStringLiteral("快递单") << QStringLiteral("快递单");
    }

    void kindById()
    {
        QFETCH(QString, kind);
        QFETCH(QString, fullName);
        QFETCH(QString, expected);
        test::TestData data;
        QVERIFY(test::openWithoutTemplates(data));
        QVERIFY(data.exec(QStringLiteral("insert into CKTypeTable (CheckTypeID,TypeName,TypeFirstName) values (1001,?,?)"),
                          {fullName, kind}));
        TemplateCatalog catalog = catalogOf(data);
        QCOMPARE(catalog.loadCheckTypeFirstNameByID(1001), expected);
        QCOMPARE(catalog.loadCheckTypeFirstNameByID(1002), QString());
    }

    void kindColumnAddedToOlderDataFile()
    {
        test::TestData data;
        QVERIFY(test::openWithoutTemplates(data));
        QVERIFY(addTemplate(data, {.id = 1001, .kind = QStringLiteral("快递单"), .name = QStringLiteral("顺丰")}));
        QVERIFY(data.exec(QStringLiteral("insert into CKTypeTable (CheckTypeID,TypeName) values (1002,?)"),
                          {QStringLiteral("普通发票收据(通用)")}));
        QVERIFY(data.exec(QStringLiteral("alter table CKTypeTable drop column TypeFirstName")));

        TemplateCatalog catalog = catalogOf(data);
        QCOMPARE(catalog.loadCheckTypeFirstNameByID(1001), QString());
        QCOMPARE(data.scalar(QStringLiteral("select TypeFirstName from CKTypeTable where CheckTypeID=1001")).toString(),
                 QStringLiteral("快递单"));
        QCOMPARE(catalog.loadCheckTypeFirstNameByID(1002), QStringLiteral("普通发票收据"));
        QVERIFY(data.dialogs.shown.isEmpty());
    }

    // --- lists ---

    void templateLists()
    {
        test::TestData data;
        QVERIFY(test::openWithoutTemplates(data));
        QVERIFY(addTemplate(data, {.id = 1001, .name = QStringLiteral("b")}));
        QVERIFY(addTemplate(data, {.id = 1002, .name = QStringLiteral("a")}));
        QVERIFY(addTemplate(data, {.id = 1003, .name = QStringLiteral("c"), .visible = marker::hidden}));
        QVERIFY(addTemplate(data, {.id = 1004, .kind = QStringLiteral("快递单"), .name = QStringLiteral("z")}));

        TemplateCatalog catalog = catalogOf(data);
        QCOMPARE(catalog.loadCheckTypeLastNameList(testKind), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
        QCOMPARE(catalog.loadCheckTypeFullNameList(testKind),
                 (QStringList{QStringLiteral("测试单（a）"), QStringLiteral("测试单（b）")}));
        QCOMPARE(catalog.loadCheckTypeFullNameList(QString()),
                 (QStringList{QStringLiteral("快递单（z）"), QStringLiteral("测试单（a）"), QStringLiteral("测试单（b）")}));
        QVERIFY(data.dialogs.shown.isEmpty());

        QVERIFY(catalog.loadCheckTypeLastNameList(QString()).isEmpty());
        QCOMPARE(data.dialogs.texts(), QStringList{QStringLiteral("没有指定单据类型，无法调入确定的模板种类！")});
    }

    void kindsOfTheDictionary()
    {
        test::TestData data;
        QVERIFY(data.open());
        QVERIFY(data.exec(QStringLiteral("delete from NameDict")));
        TemplateCatalog catalog = catalogOf(data);
        QCOMPARE(catalog.loadDefaultTypeFirstName(), QString());
        QVERIFY(catalog.loadCheckTypeFirstNameList().isEmpty());

        QVERIFY(test::addField(data, QStringLiteral("ZDB"), 0, 1, QStringLiteral("kind-b")));
        QVERIFY(test::addField(data, QStringLiteral("ZDA"), 0, 1, QStringLiteral("kind-a")));
        QVERIFY(test::addField(data, QStringLiteral("ZDC"), 0, 1, QStringLiteral("kind-b")));
        QCOMPARE(catalog.loadDefaultTypeFirstName(), QStringLiteral("kind-b"));
        QCOMPARE(catalog.loadCheckTypeFirstNameList(), (QStringList{QStringLiteral("kind-a"), QStringLiteral("kind-b")}));
    }

    void wholeRows()
    {
        test::TestData data;
        QVERIFY(test::openWithoutTemplates(data));
        QVERIFY(addTemplate(data, {.id = 1003, .name = QStringLiteral("c"), .isDefault = marker::isDefault}));
        QVERIFY(addTemplate(data, {.id = 1001, .kind = QStringLiteral("快递单"), .name = QStringLiteral("a")}));
        QVERIFY(addTemplate(data, {.id = 1002, .name = QStringLiteral("b")}));
        QVERIFY(data.exec(QStringLiteral("update CKTypeTable set XMove=-5,YMove=7,PWidth=2000,ImgFile='x.jpg' "
                                         "where CheckTypeID=1003")));

        TemplateCatalog catalog = catalogOf(data);
        const auto row = catalog.templateById(1003);
        QVERIFY(row.has_value());
        QCOMPARE(row->fullName, QStringLiteral("测试单（c）"));
        QCOMPARE(row->kind, testKind);
        QCOMPARE(row->displayName, QStringLiteral("c"));
        QCOMPARE(row->xMove, -5);
        QCOMPARE(row->yMove, 7);
        QCOMPARE(row->paperWidth, 2000);
        QCOMPARE(row->effectivePaperHeight(), 1270);
        QCOMPARE(row->imageFile, QStringLiteral("x.jpg"));
        QCOMPARE(row->isDefault, marker::isDefault);
        QVERIFY(!catalog.templateById(999).has_value());

        const auto byName = catalog.templateByFullName(QStringLiteral("测试单（b）"));
        QVERIFY(byName.has_value());
        QCOMPARE(byName->id, 1002);
        QVERIFY(!catalog.templateByFullName(QStringLiteral("测试单")).has_value());

        QList<int> order;
        for (const auto &t : catalog.allTemplates())
            order << t.id;
        QCOMPARE(order, (QList<int>{1001, 1002, 1003}));
    }

    // --- numbers, offsets, errors ---

    void nextTemplateNumber()
    {
        test::TestData data;
        QVERIFY(test::openWithoutTemplates(data));
        TemplateCatalog catalog = catalogOf(data);
        QCOMPARE(catalog.loadMaxNewCheckTypeId(), QStringLiteral("1"));
        QVERIFY(addTemplate(data, {.id = 1436, .name = QStringLiteral("a")}));
        QVERIFY(addTemplate(data, {.id = 7, .name = QStringLiteral("b")}));
        QCOMPARE(catalog.loadMaxNewCheckTypeId(), QStringLiteral("1437"));
    }

    void offsetOfTheKind()
    {
        test::TestData data;
        QVERIFY(test::openWithoutTemplates(data));
        // Ordered by IsCommon, then IsDefault: 否 sorts before 是, "0" before 默认.
        QVERIFY(addTemplate(data, {.id = 1001, .name = QStringLiteral("a"), .isDefault = marker::isDefault,
                                   .isCommon = marker::common}));
        QVERIFY(addTemplate(data, {.id = 1002, .name = QStringLiteral("b"), .isCommon = marker::notCommon}));
        QVERIFY(data.exec(QStringLiteral("update CKTypeTable set XMove=CheckTypeID-1000, YMove=-(CheckTypeID-1000)")));

        TemplateCatalog catalog = catalogOf(data);
        int x = 99;
        int y = 99;
        QString error;
        QVERIFY(catalog.loadUserXYMoveByFirstName(testKind, x, y, &error));
        QCOMPARE(x, 2);
        QCOMPARE(y, -2);
        QVERIFY(!catalog.loadUserXYMoveByFirstName(QStringLiteral("快递单"), x, y, &error));
        QVERIFY(error.isEmpty());
    }

    void engineErrorsCarryTheirPrefix()
    {
        test::TestData data;
        QVERIFY(test::openWithoutTemplates(data));
        QVERIFY(data.exec(QStringLiteral("drop table CKTypeTable")));
        TemplateCatalog catalog = catalogOf(data);

        QString error;
        QVERIFY(!catalog.CheckTypeExists(testKind, QStringLiteral("a"), &error));
        QVERIFY2(error.startsWith(QStringLiteral("CheckTypeExists:")) && error.contains(QStringLiteral("CKTypeTable"),
                                                                                       Qt::CaseInsensitive),
                 qPrintable(error));
        error.clear();
        int x = 0;
        int y = 0;
        QVERIFY(!catalog.loadUserXYMoveByFirstName(testKind, x, y, &error));
        QVERIFY2(error.startsWith(QStringLiteral("用户常用单据偏移参数获取失败!:")) && error.size() > 20,
                 qPrintable(error));
        error.clear();
        QCOMPARE(catalog.loadMaxNewCheckTypeId(&error), QString());
        QVERIFY2(error.startsWith(QStringLiteral("NewMaxCheckTypeId:")) && error.size() > 20, qPrintable(error));
        QCOMPARE(catalog.getHXPaperIn(1), QString());
        QVERIFY(data.dialogs.shown.isEmpty());
    }

    // --- type codes ---

    void typeCodes_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("code");
        const char *table[][2] = {{"电汇单", "dhd"},      {"支票", "zp"},           {"进账单", "jzd"},
                                  {"汇票申请书", "hp"},   {"承兑汇票", "cdhp"},     {"缴款单", "jkd"},
                                  {"境外汇款申请书", "jwh"}, {"贷记凭证", "djpz"},   {"快递单", "kdd"},
                                  {"海关缴款单", "hgjkd"}, {"海关载货单", "hgzhd"}, {"普通发票收据", "fpiv"},
                                  {"发票及收据", "fpiv"},  {"货运发票", "hyfp"},     {"出口商品发票", "cksp"},
                                  {"国际货运发票", "ivIntel"}, {"定制单", "def"},    {"测试单", ""},
                                  {"快递单 ", ""},         {"", ""}};
        for (const auto &row : table)
            QTest::newRow(row[0][0] ? row[0] : "empty") << QString::fromUtf8(row[0]) << QString::fromUtf8(row[1]);
    }

    void typeCodes()
    {
        QFETCH(QString, kind);
        QFETCH(QString, code);
        QCOMPARE(TemplateCatalog::getTypeCodeByTypeName(kind), code);
    }

    // --- history lists ---

    void historyLists()
    {
        test::TestData data;
        QVERIFY(data.open());
        const QString insert =
            QStringLiteral("insert into DataCheckReceipt (模板种类,票据编号,票据状态) values (?,?,?)");
        QVERIFY(data.exec(insert, {QStringLiteral("普通发票收据（a）"), QStringLiteral("001"), QStringLiteral("正常")}));
        QVERIFY(data.exec(insert, {QStringLiteral("普通发票收据（b）"), QStringLiteral("002"), QStringLiteral("作废")}));
        QVERIFY(data.exec(insert, {QStringLiteral("普通发票收据（a）"), QStringLiteral("003"), QStringLiteral("正常")}));
        QVERIFY(data.exec(insert, {QStringLiteral("普通发票收据（a）"), QStringLiteral("003"), QStringLiteral("正常")}));

        TemplateCatalog catalog = catalogOf(data);
        QStringList names = catalog.loadHistoryTypeNameList(QStringLiteral("DataCheckReceipt"));
        names.sort();
        QCOMPARE(names, (QStringList{QStringLiteral("普通发票收据（a）"), QStringLiteral("普通发票收据（b）")}));

        QStringList normal =
            catalog.loadCheckNOList(QStringLiteral("DataCheckReceipt"), QStringLiteral("正常"), QStringLiteral("票据编号"));
        normal.sort();
        QCOMPARE(normal, (QStringList{QStringLiteral("001"), QStringLiteral("003")}));
        QStringList all =
            catalog.loadCheckNOList(QStringLiteral("datacheckreceipt"), QString(), QStringLiteral("票据编号"));
        all.sort();
        QCOMPARE(all, (QStringList{QStringLiteral("001"), QStringLiteral("002"), QStringLiteral("003")}));
        QVERIFY(catalog.loadCheckNOList(QStringLiteral("DataCheckReceipt"), QStringLiteral("正常' or '1'='1"),
                                        QStringLiteral("票据编号"))
                    .isEmpty());

        // Names outside the schema never reach the statement.
        QVERIFY(catalog.loadHistoryTypeNameList(QStringLiteral("DataCheckReceipt; drop table UserTable")).isEmpty());
        QVERIFY(catalog.loadCheckNOList(QStringLiteral("DataCheckReceipt"), QString(),
                                        QStringLiteral("票据编号 from UserTable --"))
                    .isEmpty());
        QVERIFY(data.scalar(QStringLiteral("select count(*) from UserTable")).isValid());
        QVERIFY(data.dialogs.shown.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestTemplatesCatalog)
#include "test_templates_catalog.moc"
