// Print items and field dictionaries: reading a template's items in one go,
// the dictionary orders and the width of an amount digit box.

#include "support/TemplateFixture.h"
#include "templates/PrintItemStore.h"

#include <QTest>

using namespace moque;
using templates::PrintItemStore;
using test::testKind;

class TestTemplatesItems : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void itemsOfATemplate()
    {
        test::TestData data;
        QVERIFY(test::openWithoutTemplates(data));
        QVERIFY(data.exec(QStringLiteral(
            "insert into ckControl (CheckTypeID,CtlName,CtlCName,CtlType,CtlX,CtlY,CtlW,CtlH,CtlLH,SrcX,SrcY,SrcW,"
            "SrcH,NeedPrint,NeedShow,CtlFontName,CtlFontSize,CtlFontColor,BreakFontSize,Bold,Italic,UnderLine,"
            "FitParam,Align,BreakNum,InitValue,ShowOrd) values "
            "(1001,'zdSkr','收件单位','Text',120,340,800,60,45,11,12,130,22,0,0,'黑体',12,'255',8,1,1,1,"
            "'35','2','20','某公司',4)")));
        // Every optional column missing: the item keeps its defaults.
        QVERIFY(data.exec(QStringLiteral(
            "insert into ckControl (CheckTypeID,CtlName,CtlType,CtlLH,SrcX,SrcY,SrcW,SrcH,NeedPrint,NeedShow,"
            "CtlFontSize,BreakFontSize,Bold,Italic,UnderLine,ShowOrd) values "
            "(1001,'DEFCHECK0',NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL)")));
        QVERIFY(data.exec(QStringLiteral("insert into ckControl (CheckTypeID,CtlName,CtlType) values (1002,'ZDOTHER','LINE')")));

        const templates::PrintItemSet set = PrintItemStore(data.db()).itemsOf(1001);
        QCOMPARE(set.size(), 2);
        QVERIFY(!set.find(QStringLiteral("ZDOTHER")));

        const templates::PrintItem *skr = set.find(QStringLiteral("ZDSKR"));
        QVERIFY(skr);
        QCOMPARE(set.find(QStringLiteral("zdskr")), skr);
        QCOMPARE(skr->name, QStringLiteral("ZDSKR"));
        QCOMPARE(skr->templateId, 1001);
        QCOMPARE(skr->caption, QStringLiteral("收件单位"));
        QCOMPARE(skr->type, QStringLiteral("TEXT"));
        QCOMPARE(QList<int>({skr->x, skr->y, skr->width, skr->height, skr->lineHeight}), QList<int>({120, 340, 800, 60, 45}));
        QCOMPARE(QList<int>({skr->screenX, skr->screenY, skr->screenW, skr->screenH}), QList<int>({11, 12, 130, 22}));
        QCOMPARE(QList<int>({skr->needPrint, skr->needShow, skr->fontSize, skr->breakFontSize, skr->bold, skr->italic,
                             skr->underline, skr->showOrder}),
                 QList<int>({0, 0, 12, 8, 1, 1, 1, 4}));
        QCOMPARE(QStringList({skr->fontName, skr->fontColor, skr->fitParam, skr->align, skr->breakNum, skr->initValue}),
                 QStringList({QStringLiteral("黑体"), QStringLiteral("255"), QStringLiteral("35"), QStringLiteral("2"),
                              QStringLiteral("20"), QStringLiteral("某公司")}));

        const templates::PrintItem *check = set.find(QStringLiteral("DEFCHECK0"));
        QVERIFY(check);
        const templates::PrintItem defaults;
        QCOMPARE(check->type, defaults.type);
        QCOMPARE(QList<int>({check->lineHeight, check->screenX, check->screenY, check->screenW, check->screenH,
                             check->needPrint, check->needShow, check->fontSize, check->breakFontSize, check->bold,
                             check->showOrder}),
                 QList<int>({defaults.lineHeight, defaults.screenX, defaults.screenY, defaults.screenW,
                             defaults.screenH, defaults.needPrint, defaults.needShow, defaults.fontSize,
                             defaults.breakFontSize, defaults.bold, defaults.showOrder}));
        QVERIFY(check->fontName.isEmpty() && check->fitParam.isEmpty() && check->breakNum.isEmpty());

        QVERIFY(PrintItemStore(data.db()).itemsOf(999).isEmpty());
    }

    void dictionaryOrders()
    {
        test::TestData data;
        QVERIFY(data.open());
        QVERIFY(test::addField(data, QStringLiteral("ZDC"), 2));
        QVERIFY(test::addField(data, QStringLiteral("zdA"), 1, 0));
        QVERIFY(test::addField(data, QStringLiteral("ZDB"), 2));
        QVERIFY(test::addField(data, QStringLiteral("DEFCHECK0"), 0, 1, testKind, QStringLiteral("CHECKBOX")));
        QVERIFY(test::addField(data, QStringLiteral("ZDX"), 0, 1, QStringLiteral("另一种")));

        PrintItemStore items(data.db());
        QStringList names;
        for (const auto &f : items.dictionary(testKind))
            names << f.name;
        QCOMPARE(names, (QStringList{QStringLiteral("DEFCHECK0"), QStringLiteral("ZDA"), QStringLiteral("ZDC"),
                                     QStringLiteral("ZDB")}));
        names.clear();
        for (const auto &f : items.printableFields(testKind))
            names << f.name;
        QCOMPARE(names, (QStringList{QStringLiteral("DEFCHECK0"), QStringLiteral("ZDC"), QStringLiteral("ZDB")}));

        const auto fields = items.dictionary(testKind);
        QCOMPARE(fields.first().type, QStringLiteral("CHECKBOX"));
        QCOMPARE(fields.first().label, QStringLiteral("DEFCHECK0标签"));
        QCOMPARE(fields.first().kind, testKind);
        QCOMPARE(fields[1].printItem, 0);

        QCOMPARE(items.fieldNames(testKind), (QStringList{QStringLiteral("ZDC"), QStringLiteral("zdA"),
                                                          QStringLiteral("ZDB"), QStringLiteral("DEFCHECK0")}));
    }

    void cellsWidth_data()
    {
        // Each item: "name CtlX", stored for template 1001 in this order.
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<int>("expected");

        QTest::newRow("two items") << QStringList{"ZDBY 400", "ZDSY 365"} << 35;
        QTest::newRow("names in any case") << QStringList{"zdsy 300", "Zdby 342"} << 42;
        QTest::newRow("first two rows only") << QStringList{"ZDBY 100", "ZDSY 130", "ZDBY 500"} << 30;
        QTest::newRow("one item: default") << QStringList{"ZDBY 400"} << 31;
        QTest::newRow("other names: default") << QStringList{"ZDQY 400", "ZDWY 430"} << 31;
        QTest::newRow("no item: default") << QStringList{} << 31;
    }

    void cellsWidth()
    {
        QFETCH(QStringList, rows);
        QFETCH(int, expected);
        test::TestData data;
        QVERIFY(test::openWithoutTemplates(data));
        for (const QString &row : rows) {
            const QStringList p = row.split(QLatin1Char(' '));
            QVERIFY(test::addItem(data, {.templateId = 1001, .name = p[0], .ctlX = p[1].toInt()}));
        }
        QVERIFY(test::addItem(data, {.templateId = 1002, .name = QStringLiteral("ZDSY"), .ctlX = 9000}));
        QCOMPARE(PrintItemStore(data.db()).getCellsWidth(1001, QStringLiteral("ZDBY"), 31, QStringLiteral("zdSY")),
                 expected);
    }

    void cellsWidthOnEngineError()
    {
        test::TestData data;
        QVERIFY(data.open());
        QVERIFY(data.exec(QStringLiteral("drop table ckControl")));
        QCOMPARE(PrintItemStore(data.db()).getCellsWidth(1001, QStringLiteral("ZDBY"), 31, QStringLiteral("ZDSY")), 0);
    }
};

QTEST_GUILESS_MAIN(TestTemplatesItems)
#include "test_templates_items.moc"
