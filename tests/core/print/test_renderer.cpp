#include "print/BillRenderer.h"
#include "print/ItemRenderer.h"
#include "print/RecordingCanvas.h"
#include "print/Units.h"
#include "support/ScriptedDialogs.h"

#include <QTest>

using namespace moque;
using print::RecordingCanvas;

namespace {

// At 254 dpi one device unit is exactly 0.1 mm, so expected places read as template values.
const print::DeviceFacts exactFacts{254, 254, 0, 0};

templates::PrintItem item(const QString &name, int x, int y)
{
    templates::PrintItem i;
    i.name = name;
    i.x = x;
    i.y = y;
    i.width = 600;
    i.height = 60;
    i.fontName = QStringLiteral("宋体");
    i.fontSize = 12;
    i.breakFontSize = 8;
    return i;
}

} // namespace

class TestRenderer : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void deviceUnitsRoundHalvesToEven_data()
    {
        QTest::addColumn<int>("tenths");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<int>("device");
        QTest::newRow("exact") << 1000 << 254 << 1000;
        QTest::newRow("0.5 → 0") << 1 << 127 << 0;
        QTest::newRow("1.5 → 2") << 3 << 127 << 2;
        QTest::newRow("2.5 → 2") << 5 << 127 << 2;
        QTest::newRow("-1.5 → -2") << -3 << 127 << -2;
        QTest::newRow("600 dpi 100 mm") << 1000 << 600 << 2362;
        QTest::newRow("600 dpi 0.1 mm") << 1 << 600 << 2;
        QTest::newRow("1200 dpi 230 mm") << 2300 << 1200 << 10866;
    }
    void deviceUnitsRoundHalvesToEven()
    {
        QFETCH(int, tenths);
        QFETCH(int, dpi);
        QFETCH(int, device);
        QCOMPARE(print::tenthsToDevice(tenths, dpi), device);
    }

    void printableAreaOffsetsOnTheirOwnAxis()
    {
        // The printable area starts 50 units from the left edge and 20 from the top.
        RecordingCanvas canvas({254, 254, 50, 20});
        print::ItemRenderer r(canvas, nullptr);
        r.printTextAt(1000, 500, QStringLiteral("A"), print::TextStyle());
        QCOMPARE(canvas.calls.size(), 1);
        QCOMPARE(canvas.calls[0].x, 950);
        QCOMPARE(canvas.calls[0].y, 480);
    }

    void yClamp_data()
    {
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("deviceY");
        QTest::newRow("far above") << -10 << -3;
        QTest::newRow("-3 stays") << -3 << -3;
        QTest::newRow("-2 stays") << -2 << -2;
        QTest::newRow("inside") << 7 << 7;
    }
    void yClamp()
    {
        QFETCH(int, y);
        QFETCH(int, deviceY);
        RecordingCanvas canvas(exactFacts);
        print::ItemRenderer r(canvas, nullptr);
        r.printTextAt(100, y, QStringLiteral("A"), print::TextStyle());
        QCOMPARE(canvas.calls.value(0).y, deviceY);
    }

    void splitByDelimiter_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("parts");
        QTest::newRow("two") << "a##b" << QStringList{"a", "b"};
        QTest::newRow("empty middle") << "a####b" << QStringList{"a", "", "b"};
        QTest::newRow("remainder trimmed") << "a## b " << QStringList{"a", "b"};
        QTest::newRow("trailing") << "北京##" << QStringList{"北京", ""};
        QTest::newRow("part kept untrimmed") << " a ##b" << QStringList{" a ", "b"};
    }
    void splitByDelimiter()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, parts);
        QCOMPARE(print::ItemRenderer::splitByDelimiter(text, QStringLiteral("##")), parts);
    }

    void breakByWidth_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("n");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("chinese") << "上海市浦东新区世纪大道" << 4 << QStringList{"上海市浦", "东新区世", "纪大道"};
        QTest::newRow("latin") << "ABCDEFGHIJ" << 4 << QStringList{"ABCDEFGH", "IJ"};
        QTest::newRow("mixed") << "AB上海市浦东" << 4 << QStringList{"AB上海市", "浦东"};
        QTest::newRow("straddle") << "A上海市浦东" << 4 << QStringList{"A上海市浦", "东"};
        QTest::newRow("fits") << "上海市浦" << 4 << QStringList{"上海市浦"};
        QTest::newRow("empty") << "" << 4 << QStringList{};
    }
    void breakByWidth()
    {
        QFETCH(QString, text);
        QFETCH(int, n);
        QFETCH(QStringList, lines);
        QCOMPARE(print::ItemRenderer::breakByWidth(text, n), lines);
    }

    void linesPitchAndFontSize_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("lineHeight");
        QTest::addColumn<int>("breakFontSize");
        QTest::addColumn<QString>("breakNum");
        QTest::addColumn<QList<int>>("ys");
        QTest::addColumn<int>("pointSize");
        QTest::newRow("pitch 0 means 50") << "甲##乙" << 0 << 8 << "" << QList<int>{300, 350} << 8;
        QTest::newRow("negative pitch means 50") << "甲##乙" << -5 << 8 << "" << QList<int>{300, 350} << 8;
        QTest::newRow("own pitch") << "甲##乙##丙" << 40 << 8 << "" << QList<int>{300, 340, 380} << 8;
        QTest::newRow("break size below 6 is 6") << "甲##乙" << 45 << 3 << "" << QList<int>{300, 345} << 6;
        QTest::newRow("trailing delimiter: one line") << "北京##" << 45 << 8 << "" << QList<int>{300} << 12;
        QTest::newRow("fits despite BreakNum") << "上海" << 45 << 8 << "4" << QList<int>{300} << 12;
        QTest::newRow("BreakNum breaks") << "上海市浦东" << 45 << 8 << "4" << QList<int>{300, 345} << 8;
        QTest::newRow("BreakNum with blank: none") << "上海市浦东" << 45 << 8 << "4 " << QList<int>{300} << 12;
        QTest::newRow("Chinese numeral BreakNum: none") << "上海市浦东" << 45 << 8 << "四" << QList<int>{300} << 12;
        QTest::newRow("empty piece dropped") << "a####b" << 45 << 8 << "" << QList<int>{300, 345} << 8;
    }
    void linesPitchAndFontSize()
    {
        QFETCH(QString, value);
        QFETCH(int, lineHeight);
        QFETCH(int, breakFontSize);
        QFETCH(QString, breakNum);
        QFETCH(QList<int>, ys);
        QFETCH(int, pointSize);
        RecordingCanvas canvas(exactFacts);
        print::ItemRenderer r(canvas, nullptr);
        templates::PrintItem i = item(QStringLiteral("ZDSKRDZ"), 200, 300);
        i.lineHeight = lineHeight;
        i.breakFontSize = breakFontSize;
        i.breakNum = breakNum;
        QVERIFY(r.printCheckItem(&i, 0, 0, value, QStringLiteral("##")));
        QList<int> drawnYs;
        for (const auto &c : canvas.texts()) {
            drawnYs << c.y;
            QCOMPARE(c.x, 200);
            QCOMPARE(c.font.pointSize, pointSize);
        }
        QCOMPARE(drawnYs, ys);
    }

    void equalWidthSpacing_data()
    {
        QTest::addColumn<QString>("fit");
        QTest::addColumn<QList<int>>("xs");
        QTest::addColumn<bool>("ok");
        QTest::newRow("30: 3 mm apart, blank only advances") << "30" << QList<int>{100, 130, 190} << true;
        QTest::newRow("trimmed 30") << " 30 " << QList<int>{100, 130, 190} << true;
        QTest::newRow("2.5 is an error") << "2.5" << QList<int>{} << false;
        QTest::newRow("empty: normal") << "" << QList<int>{100} << true;
        QTest::newRow("letters: normal") << "ab" << QList<int>{100} << true;
    }
    void equalWidthSpacing()
    {
        QFETCH(QString, fit);
        QFETCH(QList<int>, xs);
        QFETCH(bool, ok);
        RecordingCanvas canvas(exactFacts);
        test::ScriptedDialogs dialogs;
        print::ItemRenderer r(canvas, &dialogs);
        templates::PrintItem i = item(QStringLiteral("ZDJEDX1"), 100, 200);
        i.fitParam = fit;
        QCOMPARE(r.printCheckItem(&i, 0, 0, QStringLiteral("壹贰 叁"), QStringLiteral("##")), ok);
        QList<int> drawnXs;
        for (const auto &c : canvas.texts())
            drawnXs << c.x;
        QCOMPARE(drawnXs, xs);
        if (ok) {
            QVERIFY(dialogs.shown.isEmpty());
        } else {
            QCOMPARE(dialogs.lastText(), QStringLiteral("打印ZDJEDX1出现错误！"));
            QCOMPARE(dialogs.lastCaption(), QStringLiteral("错误"));
        }
    }

    void alignment_data()
    {
        QTest::addColumn<QString>("align");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("x");
        // The recording canvas measures "AB" as 20 units.
        QTest::newRow("left") << "0" << 100 << 500;
        QTest::newRow("empty is left") << "" << 100 << 500;
        QTest::newRow("right") << "2" << 100 << 580;
        QTest::newRow("right with width 0 ends at x") << "2" << 0 << 480;
        QTest::newRow("centre") << "1" << 100 << 540;
        QTest::newRow("centre, half to even (down)") << "1" << 21 << 500;
        QTest::newRow("centre, half to even (up)") << "1" << 23 << 502;
        QTest::newRow("unknown") << "7" << 100 << 500;
    }
    void alignment()
    {
        QFETCH(QString, align);
        QFETCH(int, width);
        QFETCH(int, x);
        RecordingCanvas canvas(exactFacts);
        print::ItemRenderer r(canvas, nullptr);
        templates::PrintItem i = item(QStringLiteral("ZDSKR"), 500, 100);
        i.align = align;
        i.width = width;
        QVERIFY(r.printCheckItem(&i, 0, 0, QStringLiteral("AB"), QStringLiteral("##")));
        QCOMPARE(canvas.texts().value(0).x, x);
    }

    void fontStyleAndColour_data()
    {
        QTest::addColumn<QString>("face");
        QTest::addColumn<QString>("color");
        QTest::addColumn<int>("bold");
        QTest::addColumn<QString>("expectedFace");
        QTest::addColumn<QColor>("expectedColor");
        QTest::newRow("empty face is 宋体") << "" << "" << 0 << "宋体" << QColor(Qt::black);
        QTest::newRow("red is 255") << "黑体" << "255" << 1 << "黑体" << QColor(255, 0, 0);
        QTest::newRow("blue is 16711680") << "楷体" << "16711680" << 0 << "楷体" << QColor(0, 0, 255);
        QTest::newRow("not a number is black") << "Arial" << "abc" << 2 << "Arial" << QColor(Qt::black);
    }
    void fontStyleAndColour()
    {
        QFETCH(QString, face);
        QFETCH(QString, color);
        QFETCH(int, bold);
        QFETCH(QString, expectedFace);
        QFETCH(QColor, expectedColor);
        RecordingCanvas canvas(exactFacts);
        print::ItemRenderer r(canvas, nullptr);
        templates::PrintItem i = item(QStringLiteral("ZDHKR"), 100, 100);
        i.fontName = face;
        i.fontColor = color;
        i.bold = bold;
        i.italic = 1;
        i.underline = 0;
        QVERIFY(r.printCheckItem(&i, 0, 0, QStringLiteral("名称"), QStringLiteral("##")));
        const auto c = canvas.texts().value(0);
        QCOMPARE(c.font.face, expectedFace);
        QCOMPARE(c.font.color, expectedColor);
        QCOMPARE(c.font.bold, bold > 0);
        QVERIFY(c.font.italic);
        QVERIFY(!c.font.underline);
    }

    void wholeTemplateOffsetAndTrimming()
    {
        RecordingCanvas canvas(exactFacts);
        print::ItemRenderer r(canvas, nullptr);
        templates::PrintItem i = item(QStringLiteral("ZDHKR"), 100, 200);
        QVERIFY(r.printCheckItem(&i, 15, -20, QStringLiteral("\t 张三 \r\n"), QStringLiteral("##")));
        QCOMPARE(canvas.describe(), QStringList{"text 115,180 \"张三\" 宋体 12pt #000000"});
        canvas.calls.clear();
        QVERIFY(r.printCheckItem(&i, 0, 0, QStringLiteral("  \t"), QStringLiteral("##")));
        QVERIFY(r.printCheckItem(nullptr, 0, 0, QStringLiteral("x"), QStringLiteral("##")));
        QVERIFY(canvas.calls.isEmpty());
    }

    void lines_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("bold");
        QTest::addColumn<QString>("drawn");
        QTest::newRow("horizontal") << 300 << 10 << 0 << "line 100,200 400,200 w1";
        QTest::newRow("equal is horizontal") << 50 << 50 << 0 << "line 100,200 150,200 w1";
        QTest::newRow("vertical, bold") << 10 << 300 << 1 << "line 100,200 100,500 w2";
    }
    void lines()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, bold);
        QFETCH(QString, drawn);
        RecordingCanvas canvas(exactFacts);
        print::ItemRenderer r(canvas, nullptr);
        templates::PrintItem i = item(QStringLiteral("LINE1"), 100, 200);
        i.type = QStringLiteral("LINE");
        i.width = width;
        i.height = height;
        i.bold = bold;
        QVERIFY(r.printCheckItem(&i, 0, 0, QStringLiteral("-"), QString()));
        QCOMPARE(canvas.describe(), QStringList{drawn});
    }

    void amountCodeAdjustment_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("x");
        QTest::newRow("USD moves one box left") << "USD" << "USD" << 969;
        QTest::newRow("two letters move 0.4 mm right") << "US" << "US" << 1004;
        QTest::newRow("full-width sign 1 mm left") << "￥" << "￥" << 990;
        QTest::newRow("one letter stays") << "$" << "$" << 1000;
        QTest::newRow("other value stays") << "USD" << "EUR" << 1000;
        QTest::newRow("no code") << "" << "USD" << 1000;
    }
    void amountCodeAdjustment()
    {
        QFETCH(QString, code);
        QFETCH(QString, value);
        QFETCH(int, x);
        RecordingCanvas canvas(exactFacts);
        print::ItemRenderer r(canvas, nullptr);
        r.setMoneyCode(code);
        r.setMoneyCellWidth(35);
        templates::PrintItem i = item(QStringLiteral("ZDMONEYCODE"), 1000, 100);
        QVERIFY(r.printCheckItem(&i, 0, 0, value, QStringLiteral("##")));
        QCOMPARE(canvas.texts().value(0).x, x);
    }

    void billRendersPrintableFieldsInOrder()
    {
        RecordingCanvas canvas(exactFacts);
        print::ItemRenderer r(canvas, nullptr);
        templates::PrintItemSet items;
        items.add(item(QStringLiteral("ZDHKR"), 100, 100));
        items.add(item(QStringLiteral("ZDSKR"), 100, 300));
        items.add(item(QStringLiteral("ZDSKRDZ"), 100, 400));
        templates::PrintItem tick = item(QStringLiteral("DEFCHECK0"), 900, 100);
        items.add(tick);
        templates::PrintItem off = item(QStringLiteral("ZDBZ"), 900, 500);
        off.needPrint = 0;
        items.add(off);
        templates::PrintItem label = item(QStringLiteral("ZDTXT1"), 900, 600);
        items.add(label);
        auto field = [](const QString &name, const QString &type) {
            templates::DictionaryField f;
            f.name = name;
            f.type = type;
            return f;
        };
        const QList<templates::DictionaryField> fields{
            field("ZDSKRDZ", "TEXT"), field("ZDHKR", "text"),   field("ZDSKR", ""), field("DEFCHECK0", "CHECKBOX"),
            field("ZDBZ", "TEXT"),    field("ZDTXT1", "LABEL"), field("ZDNOITEM", "TEXT")};
        print::MapValueSource values;
        values.set("zdhkr", "寄件人");
        values.set("ZDSKR", print::receiverPrompt);
        values.set("ZDSKRDZ", "甲\r\n乙\r\n");
        values.set("DEFCHECK0", "√");
        values.set("ZDBZ", "不打印");
        values.set("ZDTXT1", "标签");
        values.set("ZDNOITEM", "无项目");

        print::BillRenderer waybill(r, fields, items, print::KindRules::forKind("快递单"), 0, 0);
        QVERIFY(waybill.render(values));
        QCOMPARE(canvas.describe(), (QStringList{"text 100,400 \"甲\" 宋体 8pt #000000",
                                                 "text 100,450 \"乙\" 宋体 8pt #000000",
                                                 "text 100,100 \"寄件人\" 宋体 12pt #000000",
                                                 "text 900,100 \"√\" 宋体 12pt #000000"}));

        // A hidden control gives no value; a receipt prints its labels.
        canvas.calls.clear();
        values.set("ZDHKR", "寄件人", false);
        values.set("DEFCHECK0", "");
        print::BillRenderer receipt(r, fields, items, print::KindRules::forKind("普通发票收据"), 0, 0);
        QVERIFY(receipt.render(values));
        QCOMPARE(canvas.describe(), (QStringList{"text 100,400 \"甲\" 宋体 8pt #000000",
                                                 "text 100,450 \"乙\" 宋体 8pt #000000",
                                                 "text 100,300 \"" + print::receiverPrompt + "\" 宋体 12pt #000000",
                                                 "text 900,600 \"标签\" 宋体 12pt #000000"}));
    }

    void receiptLinesPrintWithoutValue()
    {
        RecordingCanvas canvas(exactFacts);
        print::ItemRenderer r(canvas, nullptr);
        templates::PrintItemSet items;
        templates::PrintItem line = item(QStringLiteral("LINE1"), 100, 200);
        line.type = QStringLiteral("LINE");
        line.width = 300;
        line.height = 0;
        items.add(line);
        templates::DictionaryField f;
        f.name = QStringLiteral("LINE1");
        f.type = QStringLiteral("LINE");
        print::MapValueSource none;
        print::BillRenderer waybill(r, {f}, items, print::KindRules::forKind("快递单"), 0, 0);
        waybill.render(none);
        QVERIFY(canvas.calls.isEmpty());
        print::BillRenderer receipt(r, {f}, items, print::KindRules::forKind("普通发票收据"), 0, 0);
        receipt.render(none);
        QCOMPARE(canvas.describe(), QStringList{"line 100,200 400,200 w1"});
    }
};

QTEST_GUILESS_MAIN(TestRenderer)
#include "test_renderer.moc"
