// The print layout designer's decisions: the single-column save, moves, batch
// alignment and sizes, distribution, test texts, paper size limits, the labels
// drawn for an item, and undo of every write.

#include "design/DesignHistory.h"
#include "design/PrintLayout.h"
#include "print/Units.h"
#include "support/TemplateFixture.h"

#include <QTest>

#include <memory>

using namespace moque;
using design::BatchOp;
using design::DesignHistory;
using design::MoveDirection;
using design::PrintLayout;

Q_DECLARE_METATYPE(moque::design::BatchOp)
Q_DECLARE_METATYPE(moque::design::MoveDirection)

namespace {

// A data directory with template 1000 of the test kind and its print items A, B, C …
struct Layout
{
    test::TestData data;
    std::unique_ptr<DesignHistory> history;
    std::unique_ptr<PrintLayout> layout;

    bool open(int items = 3)
    {
        if (!test::openWithoutTemplates(data) || !test::addTemplate(data, {1000, test::testKind, QStringLiteral("甲")}))
            return false;
        for (int i = 0; i < items; ++i) {
            const QString name = QString(QChar(u'A' + i));
            if (!test::addField(data, name, i) || !test::addItem(data, {1000, name}))
                return false;
        }
        // Places and boxes away from the defaults, so that a write shows.
        if (!data.exec(QStringLiteral("update ckControl set CtlX=100,CtlY=200,CtlW=400,CtlH=50")))
            return false;
        history = std::make_unique<DesignHistory>(data.db());
        layout = std::make_unique<PrintLayout>(data.db(), *history);
        return layout->open(1000);
    }
    int value(const QString &name, const QString &column) const
    {
        return data.scalar(QStringLiteral("select %1 from ckControl where CheckTypeID=1000 and CtlName=?").arg(column),
                           {name})
            .toInt();
    }
    QString text(const QString &name, const QString &column) const
    {
        return data.scalar(QStringLiteral("select %1 from ckControl where CheckTypeID=1000 and CtlName=?").arg(column),
                           {name})
            .toString();
    }
    bool set(const QString &name, const QString &column, const QVariant &v) const
    {
        return data.exec(QStringLiteral("update ckControl set %1=? where CheckTypeID=1000 and CtlName=?").arg(column),
                         {v, name});
    }
    QList<int> values(const QStringList &names, const QString &column) const
    {
        QList<int> list;
        for (const QString &n : names)
            list << value(n, column);
        return list;
    }
};

const QStringList kABC{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};

} // namespace

class TestPrintLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void unknownTemplateIsRefused()
    {
        Layout l;
        QVERIFY(l.open());
        QVERIFY(!l.layout->open(4711));
        QCOMPARE(l.layout->errorText(), QStringLiteral("没有找到对应的单据信息~"));
    }

    void titleAndPageDefaults()
    {
        Layout l;
        QVERIFY(l.open());
        QCOMPARE(l.layout->title(), QStringLiteral("【测试单（甲）】打印设置"));
        // No paper size stored: a waybill page of 230 × 127 mm.
        QCOMPARE(l.layout->pageWidth(), 2300);
        QCOMPARE(l.layout->pageHeight(), 1270);
        QCOMPARE(l.layout->rangeOf(QStringLiteral("CtlY"))->max, 1265);
    }

    void availableEntriesByShowOrderDescending()
    {
        Layout l;
        QVERIFY(l.open());
        QVERIFY(l.data.exec(QStringLiteral("update ckControl set CtlCName='名'||CtlName")));
        QVERIFY(l.data.exec(QStringLiteral("update ckControl set NeedPrint=0 where CtlName='B'")));
        QCOMPARE(l.layout->availableEntries(), QStringList({QStringLiteral("名C=C"), QStringLiteral("名A=A")}));
        QCOMPARE(l.layout->selectedEntry(QStringLiteral("A")), QStringLiteral("A标签=A"));
        QCOMPARE(l.layout->selectedEntry(QStringLiteral("ZZ")), QStringLiteral("错误=ZZ"));
    }

    void singleColumnSave_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<bool>("duplicate");
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("steps");
        QTest::addColumn<QString>("message");

        QTest::newRow("one row writes") << "CtlX" << QVariant(120) << false << 120 << 1
                                        << QStringLiteral("A:CtlX=120属性保存成功~");
        QTest::newRow("unchanged writes nothing") << "CtlX" << QVariant(100) << false << 100 << 0
                                                  << QStringLiteral("A:CtlX=100属性保存成功~");
        QTest::newRow("two rows refuse") << "CtlX" << QVariant(120) << true << 100 << 0
                                         << QStringLiteral("保存出错,同一个项目多条记录=！A,1000");
        QTest::newRow("font size above 20 refused") << "CtlFontSize" << QVariant(21) << false << 9 << 0
                                                    << QStringLiteral("CtlFontSize超出范围:6-20");
        QTest::newRow("Y below the page end") << "CtlY" << QVariant(1265) << false << 1265 << 1
                                              << QStringLiteral("A:CtlY=1265属性保存成功~");
        QTest::newRow("Y beyond the page refused") << "CtlY" << QVariant(1266) << false << 200 << 0
                                                   << QStringLiteral("CtlY超出范围:0-1265");
    }
    void singleColumnSave()
    {
        QFETCH(QString, column);
        QFETCH(QVariant, value);
        QFETCH(bool, duplicate);
        QFETCH(int, stored);
        QFETCH(int, steps);
        QFETCH(QString, message);
        Layout l;
        QVERIFY(l.open());
        if (duplicate)
            QVERIFY(test::addItem(l.data, {1000, QStringLiteral("A"), 10, 10, 50, 20, 1, QString(), 100}));
        const design::DesignResult r = l.layout->saveColumn(QStringLiteral("A"), column, value);
        QCOMPARE(r.message(), message);
        QCOMPARE(l.data.scalar(QStringLiteral("select max(%1) from ckControl where CtlName='A'").arg(column)).toInt(),
                 stored);
        QCOMPARE(l.history->stack().count(), steps);
    }

    void emptyFontNameSavesSongti()
    {
        Layout l;
        QVERIFY(l.open());
        QVERIFY(l.layout->saveColumn(QStringLiteral("B"), QStringLiteral("CtlFontName"), QString()).ok);
        QCOMPARE(l.text(QStringLiteral("B"), QStringLiteral("CtlFontName")), QStringLiteral("宋体"));
    }

    void moveByStep_data()
    {
        QTest::addColumn<MoveDirection>("direction");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::newRow("上移") << MoveDirection::Up << 100 << 193;
        QTest::newRow("下移") << MoveDirection::Down << 100 << 207;
        QTest::newRow("左移") << MoveDirection::Left << 93 << 200;
        QTest::newRow("右移") << MoveDirection::Right << 107 << 200;
    }
    void moveByStep()
    {
        QFETCH(MoveDirection, direction);
        QFETCH(int, x);
        QFETCH(int, y);
        Layout l;
        QVERIFY(l.open());
        const design::DesignResult r = l.layout->move({QStringLiteral("A"), QStringLiteral("C")}, direction, 7);
        QVERIFY(r.ok);
        QCOMPARE(l.values({QStringLiteral("A"), QStringLiteral("C")}, QStringLiteral("CtlX")), QList<int>({x, x}));
        QCOMPARE(l.values({QStringLiteral("A"), QStringLiteral("C")}, QStringLiteral("CtlY")), QList<int>({y, y}));
        // B was not selected.
        QCOMPARE(l.value(QStringLiteral("B"), QStringLiteral("CtlX")), 100);
        QCOMPARE(l.value(QStringLiteral("B"), QStringLiteral("CtlY")), 200);
        // Both items move in one step of the history.
        QCOMPARE(l.history->stack().count(), 1);
    }

    void moveOfAnItemWithTwoRowsIsReported()
    {
        Layout l;
        QVERIFY(l.open());
        QVERIFY(test::addItem(l.data, {1000, QStringLiteral("A"), 10, 10, 50, 20, 1, QString(), 100}));
        const design::DesignResult r = l.layout->move({QStringLiteral("A"), QStringLiteral("B")}, MoveDirection::Right, 5);
        QCOMPARE(r.message(), QStringLiteral("修改错误！update CkControl set CtlX=CtlX+(5) where "
                                             "CheckTypeId=:pCheckTypeId and CtlName=:pCtlName "));
        QCOMPARE(l.data.scalar(QStringLiteral("select max(CtlX) from ckControl where CtlName='A'")).toInt(), 100);
        QCOMPARE(l.value(QStringLiteral("B"), QStringLiteral("CtlX")), 105);
    }

    void batchOperations_data()
    {
        QTest::addColumn<BatchOp>("op");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QList<int>>("before");
        QTest::addColumn<QList<int>>("after");
        QTest::addColumn<QString>("message");

        QTest::newRow("最左对齐") << BatchOp::AlignLeft << "CtlX" << QList<int>{300, 100, 200} << QList<int>{100, 100, 100}
                              << QStringLiteral("3批量修改最左对齐成功！");
        QTest::newRow("最右对齐") << BatchOp::AlignRight << "CtlX" << QList<int>{300, 100, 200}
                              << QList<int>{300, 300, 300} << QStringLiteral("3批量修改最右对齐成功！");
        QTest::newRow("最顶对齐") << BatchOp::AlignTop << "CtlY" << QList<int>{300, 100, 200} << QList<int>{100, 100, 100}
                              << QStringLiteral("3批量修改距最顶对齐成功！");
        QTest::newRow("最底对齐") << BatchOp::AlignBottom << "CtlY" << QList<int>{300, 100, 200}
                              << QList<int>{300, 300, 300} << QStringLiteral("3批量修改距最底对齐成功！");
        QTest::newRow("等宽-最宽") << BatchOp::SameWidthMax << "CtlW" << QList<int>{30, 90, 60} << QList<int>{90, 90, 90}
                               << QStringLiteral("3批量修改等量宽度（最宽）成功！");
        QTest::newRow("等宽-最宽 all 0") << BatchOp::SameWidthMax << "CtlW" << QList<int>{0, 0, 0}
                                     << QList<int>{120, 120, 120} << QStringLiteral("3批量修改等量宽度（最宽）成功！");
        QTest::newRow("等高-最高") << BatchOp::SameHeightMax << "CtlH" << QList<int>{30, 90, 60}
                               << QList<int>{90, 90, 90} << QStringLiteral("3批量修改等量高度（最高）成功！");
        QTest::newRow("等宽-最窄") << BatchOp::SameWidthMin << "CtlW" << QList<int>{30, 90, 60} << QList<int>{30, 30, 30}
                               << QStringLiteral("3个批量修改等量宽度(最窄)成功！");
        QTest::newRow("等宽-最窄 all 0") << BatchOp::SameWidthMin << "CtlW" << QList<int>{0, 0, 0}
                                     << QList<int>{35, 35, 35} << QStringLiteral("3个批量修改等量宽度(最窄)成功！");
        QTest::newRow("等高-最矮 with 0") << BatchOp::SameHeightMin << "CtlH" << QList<int>{0, 90, 60}
                                      << QList<int>{40, 40, 40} << QStringLiteral("3个批量修改等量高度(最矮)成功！");
        QTest::newRow("+宽") << BatchOp::Widen << "CtlW" << QList<int>{5, 40, 0} << QList<int>{10, 45, 5}
                            << QStringLiteral("3个批量加宽成功！");
        QTest::newRow("-宽") << BatchOp::Narrow << "CtlW" << QList<int>{5, 40, 6} << QList<int>{5, 35, 1}
                            << QStringLiteral("A的CtlW更新失败！ 2个批量减宽成功！");
        QTest::newRow("+高") << BatchOp::Heighten << "CtlH" << QList<int>{5, 40, 0} << QList<int>{10, 45, 5}
                            << QStringLiteral("3个批量加高成功！");
        QTest::newRow("-高 none") << BatchOp::Lower << "CtlH" << QList<int>{5, 4, 0} << QList<int>{5, 4, 0}
                                << QStringLiteral("A的CtlH更新失败！ B的CtlH更新失败！ C的CtlH更新失败！ 影响了0个项目！");
    }
    void batchOperations()
    {
        QFETCH(BatchOp, op);
        QFETCH(QString, column);
        QFETCH(QList<int>, before);
        QFETCH(QList<int>, after);
        QFETCH(QString, message);
        Layout l;
        QVERIFY(l.open());
        for (int i = 0; i < kABC.size(); ++i)
            QVERIFY(l.set(kABC[i], column, before[i]));
        const design::DesignResult r = l.layout->batch(kABC, op, 5);
        QCOMPARE(r.message(), message);
        QCOMPARE(l.values(kABC, column), after);
        QCOMPARE(l.history->stack().count(), before == after ? 0 : 1);
    }

    void narrowEdgeCaseOfTwoItems()
    {
        Layout l;
        QVERIFY(l.open(2));
        QVERIFY(l.set(QStringLiteral("A"), QStringLiteral("CtlW"), 5));
        QVERIFY(l.set(QStringLiteral("B"), QStringLiteral("CtlW"), 40));
        const design::DesignResult r = l.layout->batch({QStringLiteral("A"), QStringLiteral("B")}, BatchOp::Narrow, 5);
        QCOMPARE(r.messages.first(), QStringLiteral("A的CtlW更新失败！"));
        QCOMPARE(l.values({QStringLiteral("A"), QStringLiteral("B")}, QStringLiteral("CtlW")), QList<int>({5, 35}));
    }

    void batchFonts()
    {
        Layout l;
        QVERIFY(l.open());
        QCOMPARE(l.layout->setFontSize({QStringLiteral("A"), QStringLiteral("C")}, 14).message(),
                 QStringLiteral("2修改字号（字体大小）成功！"));
        QCOMPARE(l.values(kABC, QStringLiteral("CtlFontSize")), QList<int>({14, 9, 14}));
        QCOMPARE(l.layout->setFontName(kABC, QString()).message(), QStringLiteral("字体必须选择"));
        QCOMPARE(l.layout->setFontName(kABC, QStringLiteral("黑体")).message(), QStringLiteral("3修改字体成功！！"));
        QCOMPARE(l.text(QStringLiteral("B"), QStringLiteral("CtlFontName")), QStringLiteral("黑体"));
    }

    void distributeInSelectionOrder_data()
    {
        QTest::addColumn<bool>("horizontal");
        QTest::addColumn<QString>("column");
        QTest::newRow("横向") << true << "CtlX";
        QTest::newRow("纵向") << false << "CtlY";
    }
    void distributeInSelectionOrder()
    {
        QFETCH(bool, horizontal);
        QFETCH(QString, column);
        Layout l;
        QVERIFY(l.open());
        QVERIFY(l.set(QStringLiteral("A"), column, 500));
        QVERIFY(l.set(QStringLiteral("B"), column, 60));
        QVERIFY(l.set(QStringLiteral("C"), column, 100));
        const QStringList order{QStringLiteral("C"), QStringLiteral("A"), QStringLiteral("B")};
        const design::DesignResult r = l.layout->distribute(order, horizontal, 40);
        QCOMPARE(r.message(), QStringLiteral("3个等宽分布修改成功！"));
        QCOMPARE(l.values(order, column), QList<int>({100, 140, 180}));
        QCOMPARE(l.history->stack().count(), 1);
    }

    void distributeWithoutTheFirstItemStops()
    {
        Layout l;
        QVERIFY(l.open());
        const QStringList order{QStringLiteral("ZZ"), QStringLiteral("A")};
        QCOMPARE(l.layout->distribute(order, true, 40).message(),
                 QStringLiteral("没有找到第一个项目的距左参数,中断分布动作！"));
        QCOMPARE(l.layout->distribute(order, false, 40).message(),
                 QStringLiteral("没有找到第一个项目的距顶参数,中断分布动作！"));
        QCOMPARE(l.value(QStringLiteral("A"), QStringLiteral("CtlX")), 100);
    }

    void paperSizeLimits_data()
    {
        QTest::addColumn<QString>("width");
        QTest::addColumn<QString>("height");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("pWidth");
        QTest::addColumn<int>("pHeight");
        QTest::newRow("32.04 cm high rounds to 320 mm") << "23" << "32.04" << QStringLiteral("底图实际长和宽保存成功！")
                                                       << 2300 << 3204;
        QTest::newRow("32.1 cm high") << "23" << "32.1" << QStringLiteral("失败，票据最高不能大于32厘米。") << 0 << 0;
        QTest::newRow("30.1 cm wide") << "30.1" << "12" << QStringLiteral("失败，票据最宽不能大于30厘米。") << 0 << 0;
        QTest::newRow("30 cm wide") << "30" << "12.7" << QStringLiteral("底图实际长和宽保存成功！") << 3000 << 1270;
    }
    void paperSizeLimits()
    {
        QFETCH(QString, width);
        QFETCH(QString, height);
        QFETCH(QString, message);
        QFETCH(int, pWidth);
        QFETCH(int, pHeight);
        Layout l;
        QVERIFY(l.open());
        QCOMPARE(l.layout->savePaperSize(width, height).message(), message);
        QCOMPARE(l.data.scalar(QStringLiteral("select PWidth from CKTypeTable where CheckTypeID=1000")).toInt(), pWidth);
        QCOMPARE(l.data.scalar(QStringLiteral("select PHeight from CKTypeTable where CheckTypeID=1000")).toInt(),
                 pHeight);
        if (pWidth > 0)
            QCOMPARE(l.layout->pageHeight(), pHeight);
    }

    void testTextUpdate()
    {
        Layout l;
        QVERIFY(l.open());
        QCOMPARE(l.layout->updateTestText(QStringLiteral("B"), QStringLiteral("  深圳市  ")).message(),
                 QStringLiteral("更新成功！"));
        QCOMPARE(l.data.scalar(QStringLiteral("select CtlData from NameDict where CtlName='B'")).toString(),
                 QStringLiteral("深圳市"));
        QCOMPARE(l.layout->updateTestText(QStringLiteral("ZZ"), QStringLiteral("x")).message(),
                 QStringLiteral("测试值更新失败.没有有效的行！"));
        l.history->stack().undo();
        QVERIFY(l.data.scalar(QStringLiteral("select CtlData from NameDict where CtlName='B'")).toString().isEmpty());
    }

    void shownTextChoice_data()
    {
        QTest::addColumn<QString>("initValue");
        QTest::addColumn<QString>("testText");
        QTest::addColumn<QString>("shown");
        QTest::newRow("default value") << "默认" << "测试" << "默认";
        QTest::newRow("blank default value") << "  " << "测试" << "测试";
        QTest::newRow("label") << "" << "" << "A标签";
    }
    void shownTextChoice()
    {
        QFETCH(QString, initValue);
        QFETCH(QString, testText);
        QFETCH(QString, shown);
        Layout l;
        QVERIFY(l.open(1));
        QVERIFY(l.set(QStringLiteral("A"), QStringLiteral("InitValue"), initValue));
        QVERIFY(l.data.exec(QStringLiteral("update NameDict set CtlData=? where CtlName='A'"), {testText}));
        const auto item = l.layout->item(QStringLiteral("A"), 0.25);
        QVERIFY(item);
        QCOMPARE(PrintLayout::labelsOf(*item, 0.25).first().text, shown);
    }

    void labelsOfAnItem_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("breakNum");
        QTest::addColumn<QString>("fitParam");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QList<int>>("xs");
        QTest::addColumn<QList<int>>("ys");

        // 0.25 mm a pixel: 0.1 mm values divide by 2.5. CtlX 100, CtlY 200, CtlLH 60.
        QTest::newRow("one line") << "北京" << "" << "" << QStringList{"A"} << QList<int>{40} << QList<int>{80};
        QTest::newRow("FitParam 25 is not spread") << "北京" << "" << "25" << QStringList{"A"} << QList<int>{40}
                                                   << QList<int>{80};
        QTest::newRow("FitParam 30 spreads characters") << "北 京" << "" << "30" << QStringList{"AR0", "AR2"}
                                                        << QList<int>{40, 64} << QList<int>{80, 80};
        QTest::newRow("broken lines") << "上海市浦东新区世纪大道" << "4" << "" << QStringList{"AL0", "AL1", "AL2"}
                                      << QList<int>{40, 40, 40} << QList<int>{80, 104, 128};
        QTest::newRow("short text with BreakNum") << "上海" << "4" << "" << QStringList{"A"} << QList<int>{40}
                                                  << QList<int>{80};
        QTest::newRow("lines spread") << "ABCDEFGHIJ" << "4" << "40" << QStringList{"AL0R0", "AL0R1", "AL0R2", "AL0R3",
                                                                                    "AL0R4", "AL0R5", "AL0R6", "AL0R7",
                                                                                    "AL1R0", "AL1R1"}
                                      << QList<int>{40, 56, 72, 88, 104, 120, 136, 152, 40, 56}
                                      << QList<int>{80, 80, 80, 80, 80, 80, 80, 80, 104, 104};
    }
    void labelsOfAnItem()
    {
        QFETCH(QString, text);
        QFETCH(QString, breakNum);
        QFETCH(QString, fitParam);
        QFETCH(QStringList, names);
        QFETCH(QList<int>, xs);
        QFETCH(QList<int>, ys);
        design::DesignItem item;
        item.name = QStringLiteral("A");
        item.x = 100;
        item.y = 200;
        item.width = 400;
        item.height = 50;
        item.lineHeight = 60;
        item.fontSize = 12;
        item.breakFontSize = 8;
        item.initValue = text;
        item.breakNum = breakNum;
        item.fitParam = fitParam;
        const QList<design::LayoutLabel> labels = PrintLayout::labelsOf(item, 0.25);
        QStringList gotNames;
        QList<int> gotXs;
        QList<int> gotYs;
        for (const design::LayoutLabel &label : labels) {
            gotNames << label.name;
            gotXs << label.rect.x();
            gotYs << label.rect.y();
            QCOMPARE(label.itemName, QStringLiteral("A"));
            // 12 or 8 points at 0.25 mm a pixel.
            QCOMPARE(label.pixelSize, names.size() > 1 && names.first().contains(QLatin1Char('L')) ? 11 : 17);
        }
        QCOMPARE(gotNames, names);
        QCOMPARE(gotXs, xs);
        QCOMPARE(gotYs, ys);
    }

    void untickedBreakPrintsOneLine()
    {
        Layout l;
        QVERIFY(l.open(1));
        QVERIFY(l.set(QStringLiteral("A"), QStringLiteral("BreakNum"), QStringLiteral("2")));
        QVERIFY(l.set(QStringLiteral("A"), QStringLiteral("InitValue"), QStringLiteral("上海市浦东")));
        QCOMPARE(PrintLayout::labelsOf(*l.layout->item(QStringLiteral("A"), 0.25), 0.25).size(), 3);
        QVERIFY(l.layout->saveColumn(QStringLiteral("A"), QStringLiteral("BreakNum"), QString()).ok);
        QVERIFY(l.text(QStringLiteral("A"), QStringLiteral("BreakNum")).isEmpty());
        const auto item = l.layout->item(QStringLiteral("A"), 0.25);
        QCOMPARE(PrintLayout::labelsOf(*item, 0.25).size(), 1);
        QVERIFY(!PrintLayout::propertiesOf(*item, 0.25).breakOn);
    }

    void zeroBoxTakesTheEntryControlsSize()
    {
        Layout l;
        QVERIFY(l.open(2));
        QVERIFY(l.data.exec(QStringLiteral("update ckControl set CtlW=0,SrcW=100 where CtlName='A'")));
        QVERIFY(l.data.exec(QStringLiteral("update ckControl set CtlH=0,SrcH=30 where CtlName='B'")));
        const design::CanvasScale scale = l.layout->scale(100);
        const QList<design::DesignItem> items = l.layout->items(scale.ratioX);
        QCOMPARE(items.size(), 2);
        QCOMPARE(l.value(QStringLiteral("A"), QStringLiteral("CtlW")), print::canvasToTenths(100, scale.ratioX));
        QCOMPARE(l.value(QStringLiteral("A"), QStringLiteral("CtlH")), 50);
        QCOMPARE(l.value(QStringLiteral("B"), QStringLiteral("CtlH")), print::canvasToTenths(30, scale.ratioX));
        QCOMPARE(l.value(QStringLiteral("B"), QStringLiteral("CtlW")), 400);
        QCOMPARE(l.history->stack().count(), 0);
    }

    void canvasScaleAtZoom_data()
    {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<QSize>("size");
        QTest::newRow("100") << 100 << QSize(869, 480);
        QTest::newRow("50") << 50 << QSize(435, 240);
        QTest::newRow("150") << 150 << QSize(1304, 720);
    }
    void canvasScaleAtZoom()
    {
        QFETCH(int, zoom);
        QFETCH(QSize, size);
        const design::CanvasScale s = PrintLayout::scaleFor(2300, 1270, zoom);
        QCOMPARE(s.size, size);
        QCOMPARE(s.ratioX, 230.0 / size.width());
        QCOMPARE(s.ratioY, 127.0 / size.height());
        QCOMPARE(PrintLayout::zoomOf(QStringLiteral("abc")), 100);
    }

    void undoAndRedoOfAMoveAndABatch()
    {
        Layout l;
        QVERIFY(l.open());
        QVERIFY(l.set(QStringLiteral("B"), QStringLiteral("CtlX"), 300));
        QVERIFY(l.layout->move({QStringLiteral("A")}, MoveDirection::Right, 5).ok);
        QVERIFY(l.layout->batch(kABC, BatchOp::AlignRight, 5).ok);
        QCOMPARE(l.values(kABC, QStringLiteral("CtlX")), QList<int>({300, 300, 300}));
        QCOMPARE(l.history->stack().count(), 2);

        l.history->stack().undo();
        QCOMPARE(l.values(kABC, QStringLiteral("CtlX")), QList<int>({105, 300, 100}));
        l.history->stack().undo();
        QCOMPARE(l.values(kABC, QStringLiteral("CtlX")), QList<int>({100, 300, 100}));
        l.history->stack().redo();
        QCOMPARE(l.values(kABC, QStringLiteral("CtlX")), QList<int>({105, 300, 100}));
        l.history->stack().redo();
        QCOMPARE(l.values(kABC, QStringLiteral("CtlX")), QList<int>({300, 300, 300}));
    }

    void undoOfAPaperSize()
    {
        Layout l;
        QVERIFY(l.open());
        QVERIFY(l.layout->savePaperSize(QStringLiteral("20"), QStringLiteral("10")).ok);
        l.history->stack().undo();
        QVERIFY(l.data.scalar(QStringLiteral("select PWidth from CKTypeTable where CheckTypeID=1000")).isNull());
        l.history->stack().redo();
        QCOMPARE(l.data.scalar(QStringLiteral("select PWidth from CKTypeTable where CheckTypeID=1000")).toInt(), 2000);
    }

    void groupsAndLabelPatterns()
    {
        Layout l;
        QVERIFY(l.open());
        QVERIFY(l.data.exec(QStringLiteral("update NameDict set Groups='收件' where CtlName in ('A','C')")));
        QVERIFY(l.data.exec(QStringLiteral("update NameDict set CtlLabel='数量1' where CtlName='B'")));
        QCOMPARE(l.layout->groups(), QStringList({QStringLiteral("收件"), QStringLiteral("请选择分组")}));
        QCOMPARE(l.layout->groupItems(QStringLiteral("收件")), QStringList({QStringLiteral("A"), QStringLiteral("C")}));
        QCOMPARE(l.layout->groupItems(QStringLiteral("数量*")), QStringList({QStringLiteral("B")}));
    }

    void selectionModes()
    {
        design::LayoutSelection s;
        s.click(QStringLiteral("A"));
        s.click(QStringLiteral("B"));
        QCOMPARE(s.names(), QStringList({QStringLiteral("B")}));
        s.setMultiple(true);
        s.click(QStringLiteral("A"));
        s.click(QStringLiteral("C"));
        s.click(QStringLiteral("B"));
        QCOMPARE(s.names(), QStringList({QStringLiteral("A"), QStringLiteral("C")}));
        s.invert(kABC);
        QCOMPARE(s.names(), QStringList({QStringLiteral("B")}));
        s.doubleClickLabel(QStringLiteral("C"));
        QCOMPARE(s.names(), QStringList({QStringLiteral("C")}));
        s.setMultiple(false);
        QCOMPARE(s.size(), 0);
        s.selectAll(kABC);
        QVERIFY(s.multiple());
        QCOMPARE(s.names(), kABC);
    }

    void testValuesPreferTheTestText()
    {
        Layout l;
        QVERIFY(l.open(2));
        QVERIFY(l.data.exec(QStringLiteral("update NameDict set CtlData='样本' where CtlName='B'")));
        const print::MapValueSource values = l.layout->testValues();
        QCOMPARE(values.value(QStringLiteral("A")).text, QStringLiteral("A标签"));
        QCOMPARE(values.value(QStringLiteral("B")).text, QStringLiteral("样本"));
        QVERIFY(!values.value(QStringLiteral("C")).shown);
    }
};

QTEST_GUILESS_MAIN(TestPrintLayout)
#include "test_print_layout.moc"
