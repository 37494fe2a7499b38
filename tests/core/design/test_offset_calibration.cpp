// The whole-template offset, printer calibration, the test pages and the
// preview's picture, without windows.

#include "design/BillPreview.h"
#include "design/PrinterCalibration.h"
#include "design/TemplateOffset.h"
#include "design/TestPages.h"
#include "print/RecordingCanvas.h"
#include "print/Units.h"
#include "support/TemplateFixture.h"
#include "templates/PrintItemStore.h"

#include <QTest>

using namespace moque;
using design::TemplateOffset;
using design::WholeTemplateSettings;

namespace {

bool setColumns(const test::TestData &data, int id, const QString &assignments)
{
    return data.exec(QStringLiteral("update CKTypeTable set %1 where CheckTypeID=?").arg(assignments), {id});
}

} // namespace

class TestOffsetCalibration : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void centimetreLabels_data()
    {
        QTest::addColumn<int>("tenths");
        QTest::addColumn<QString>("shown");
        QTest::newRow("a negative offset shows its size") << -35 << QStringLiteral("=0.35厘米");
        QTest::newRow("one centimetre") << 100 << QStringLiteral("=1厘米");
        QTest::newRow("paper height") << 1270 << QStringLiteral("=12.7厘米");
        QTest::newRow("none") << 0 << QStringLiteral("=0厘米");
    }
    void centimetreLabels()
    {
        QFETCH(int, tenths);
        QFETCH(QString, shown);
        QCOMPARE(TemplateOffset::centimetres(tenths), shown);
    }

    void arrowsMoveByOneMillimetre()
    {
        // Three clicks of the Y arrow's "up" from 0 leave -30.
        int y = 0;
        for (int i = 0; i < 3; ++i)
            y += TemplateOffset::yStep(true);
        QCOMPARE(y, -30);
        QCOMPARE(TemplateOffset::xStep(true), 10);
        QCOMPARE(TemplateOffset::xStep(false), -10);
        QCOMPARE(TemplateOffset::yStep(false), 10);
    }

    void loadsWhatTheTemplateHolds()
    {
        test::TestData data;
        QVERIFY(test::openWithoutTemplates(data));
        QVERIFY(test::addTemplate(data, {1000, test::testKind, QStringLiteral("甲")}));
        QVERIFY(test::addTemplate(data, {1001, test::testKind, QStringLiteral("乙"), templates::marker::hidden}));
        QVERIFY(setColumns(data, 1000, QStringLiteral("XMove=-35,YMove=20,TWidth=0,THeight=500,PWidth=0,PHeight=1000,"
                                                      "HVPrint='2'")));
        TemplateOffset offsets(data.db());

        const QList<TemplateOffset::Entry> listed = offsets.enabledTemplates();
        QCOMPARE(listed.size(), 1);
        QCOMPARE(listed.first().id, 1000);

        const auto loaded = offsets.load(listed.first().name);
        QVERIFY(loaded);
        QCOMPARE(loaded->first, 1000);
        const WholeTemplateSettings s = loaded->second;
        QCOMPARE(s.xMove, -35);
        QCOMPARE(s.yMove, 20);
        // Sizes of 0 are the defaults, never a box's minimum.
        QCOMPARE(s.screenWidth, 780);
        QCOMPARE(s.screenHeight, 500);
        QCOMPARE(s.paperWidth, 2300);
        QCOMPARE(s.paperHeight, 1000);
        // Any orientation but "0" is landscape, and saves back as "1".
        QVERIFY(s.landscape);
        WholeTemplateSettings changed = s;
        changed.xMove = 125;
        QCOMPARE(offsets.save(1000, changed), TemplateOffset::Outcome::Changed);
        QCOMPARE(data.scalar(QStringLiteral("select HVPrint from CKTypeTable where CheckTypeID=1000")).toString(),
                 QStringLiteral("1"));
        QCOMPARE(data.scalar(QStringLiteral("select XMove from CKTypeTable where CheckTypeID=1000")).toInt(), 125);
        QCOMPARE(offsets.save(1000, changed), TemplateOffset::Outcome::Unchanged);
        QVERIFY(!offsets.load(QStringLiteral("没有这个模板")));
    }

    void refusesWhatThePaperCannotTake_data()
    {
        QTest::addColumn<int>("xMove");
        QTest::addColumn<int>("yMove");
        QTest::addColumn<int>("paperWidth");
        QTest::addColumn<bool>("stored");
        QTest::newRow("inside") << 200 << -200 << 2300 << true;
        QTest::newRow("as wide as the paper") << 2300 << 0 << 2300 << false;
        QTest::newRow("beyond the range") << -3010 << 0 << 3000 << false;
        QTest::newRow("as tall as the paper") << 0 << -1270 << 2300 << false;
        QTest::newRow("a paper too small") << 0 << 0 << 299 << false;
    }
    void refusesWhatThePaperCannotTake()
    {
        QFETCH(int, xMove);
        QFETCH(int, yMove);
        QFETCH(int, paperWidth);
        QFETCH(bool, stored);
        test::TestData data;
        QVERIFY(test::openWithoutTemplates(data));
        QVERIFY(test::addTemplate(data, {1000, test::testKind, QStringLiteral("甲")}));
        TemplateOffset offsets(data.db());
        WholeTemplateSettings s;
        s.xMove = xMove;
        s.yMove = yMove;
        s.paperWidth = paperWidth;
        const TemplateOffset::Outcome outcome = offsets.save(1000, s);
        QCOMPARE(outcome == TemplateOffset::Outcome::Changed, stored);
        QCOMPARE(TemplateOffset::rangeFault(s).isEmpty(), stored);
        QCOMPARE(data.scalar(QStringLiteral("select XMove from CKTypeTable where CheckTypeID=1000")).toInt(),
                 stored ? xMove : 0);
        if (!stored)
            QCOMPARE(offsets.errorText(), TemplateOffset::rangeFault(s));
    }

    void calibrationPresetsFromTheSettingsFile()
    {
        test::TestData data;
        QVERIFY(data.open());
        settings::IniFile ini(data.root() + QStringLiteral("presets.ini"));
        design::PrinterCalibration none(ini, data.db());
        QCOMPARE(none.knownModels(), QStringList{design::PrinterCalibration::noPresets});
        ini.setValue(QStringLiteral("PrinterWeKnow"), QStringLiteral("printers"), QStringLiteral("甲型, 乙型,"));
        ini.setValue(QStringLiteral("printerweknow"), QStringLiteral("default.甲型.x"), QStringLiteral("15"));
        ini.setValue(QStringLiteral("printerweknow"), QStringLiteral("default.甲型.d"), QStringLiteral("横向"));
        design::PrinterCalibration calibration(ini, data.db());
        QCOMPARE(calibration.knownModels(), (QStringList{QStringLiteral("甲型"), QStringLiteral("乙型")}));
        const design::CalibrationPreset preset = calibration.preset(QStringLiteral("甲型"));
        QCOMPARE(preset.x, QStringLiteral("15"));
        QCOMPARE(preset.direction, QStringLiteral("横向"));
        // A key the file lacks leaves the box empty.
        QVERIFY(preset.y.isEmpty());
        QVERIFY(calibration.preset(QStringLiteral("乙型")).x.isEmpty());
        // A new data directory ships presets.
        design::PrinterCalibration shipped(data.core->settings().file(), data.db());
        QVERIFY(shipped.knownModels().size() > 1);
        QVERIFY(!shipped.preset(shipped.knownModels().first()).board.isEmpty());
    }

    void calibrationReachesEveryTemplate()
    {
        test::TestData data;
        QVERIFY(data.open());
        const int templates = data.scalar(QStringLiteral("select count(*) from CKTypeTable")).toInt();
        QVERIFY(data.exec(QStringLiteral("update CKTypeTable set Visiable=? where CheckTypeID in "
                                         "(select min(CheckTypeID) from CKTypeTable)"),
                          {templates::marker::hidden}));
        design::PrinterCalibration calibration(data.core->settings().file(), data.db());
        QString message;
        QVERIFY(calibration.applyToAllTemplates(-25, 40, QStringLiteral("横向"), message));
        QCOMPARE(message, QStringLiteral("应用单据成功！"));
        QCOMPARE(data.scalar(QStringLiteral("select count(*) from CKTypeTable where XMove=-25 and YMove=40 and "
                                            "HVPrint='1'"))
                     .toInt(),
                 templates);
    }

    void calibrationChangesAllOrNone_data()
    {
        QTest::addColumn<QString>("direction");
        QTest::addColumn<bool>("failingRow");
        QTest::addColumn<QString>("message");
        QTest::newRow("no direction") << QString() << false << QStringLiteral("请选择打印方向！");
        QTest::newRow("not a direction") << QStringLiteral("斜向") << false << QStringLiteral("非法的打印方向参数！");
        QTest::newRow("one template refuses") << QStringLiteral("纵向") << true << QStringLiteral("应用单据失败！！");
    }
    void calibrationChangesAllOrNone()
    {
        QFETCH(QString, direction);
        QFETCH(bool, failingRow);
        QFETCH(QString, message);
        test::TestData data;
        QVERIFY(data.open());
        const QString before =
            data.scalar(QStringLiteral("select group_concat(XMove||','||YMove||','||HVPrint,';') from CKTypeTable"))
                .toString();
        if (failingRow)
            QVERIFY(data.exec(QStringLiteral("create trigger refuse before update on CKTypeTable when "
                                             "old.CheckTypeID=(select max(CheckTypeID) from CKTypeTable) "
                                             "begin select raise(abort,'locked'); end")));
        design::PrinterCalibration calibration(data.core->settings().file(), data.db());
        QString shown;
        QVERIFY(!calibration.applyToAllTemplates(30, 30, direction, shown));
        QCOMPARE(shown, message);
        QCOMPARE(data.scalar(QStringLiteral("select group_concat(XMove||','||YMove||','||HVPrint,';') from "
                                            "CKTypeTable"))
                     .toString(),
                 before);
    }

    void userCalibrationIsKept_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("printer");
        QTest::addColumn<QString>("message");
        QTest::newRow("no model") << QString() << QStringLiteral("PDF") << QStringLiteral("请输入适配打印机类型名！");
        QTest::newRow("no printer") << QStringLiteral("我的630K") << QString() << QStringLiteral("请选择你的票据打印机！");
        QTest::newRow("stored") << QStringLiteral("我的630K") << QStringLiteral("PDF") << QStringLiteral("配置修改成功！");
    }
    void userCalibrationIsKept()
    {
        QFETCH(QString, model);
        QFETCH(QString, printer);
        QFETCH(QString, message);
        test::TestData data;
        QVERIFY(data.open());
        settings::IniFile ini(data.root() + QStringLiteral("use.ini"));
        design::PrinterCalibration calibration(ini, data.db());
        QString shown;
        const bool stored = calibration.storeUserCalibration(
            {model, printer, QStringLiteral("-20"), QStringLiteral("35"), QStringLiteral("纵向"), QStringLiteral("靠左")},
            shown);
        QCOMPARE(shown, message);
        QCOMPARE(stored, message == QStringLiteral("配置修改成功！"));
        // What a later start reads from the file.
        settings::IniFile again(ini.path());
        design::PrinterCalibration reread(again, data.db());
        const design::UserCalibration use = reread.userCalibration();
        QCOMPARE(use.model, stored ? model : QString());
        if (stored) {
            QCOMPARE(use.printerName, printer);
            QCOMPARE(use.x, QStringLiteral("-20"));
            QCOMPARE(use.y, QStringLiteral("35"));
            QCOMPARE(use.direction, QStringLiteral("纵向"));
            QCOMPARE(use.board, QStringLiteral("靠左"));
        }
    }

    void calibrationPageSaysWhereEachTextStarts()
    {
        const QList<design::TestPageText> texts = design::calibrationTexts();
        QCOMPARE(texts.size(), 8);
        QCOMPARE(texts.first().text, QStringLiteral("这里是向右偏移:-7mm向下偏移：-1mm的起始位"));
        QCOMPARE(texts.last().text, QStringLiteral("这里是向右偏移:10mm向下偏移：120mm的起始位"));
        // At 254 dpi a device unit is 0.1 mm: each text starts where it says, from the sheet's corner.
        print::RecordingCanvas canvas({254, 254, 30, 40});
        design::drawCalibrationPage(canvas);
        QCOMPARE(canvas.calls.size(), 8);
        for (int i = 0; i < 8; ++i) {
            QCOMPARE(canvas.calls[i].text, texts[i].text);
            const print::DevicePoint p = print::sheetToDevice(texts[i].x, texts[i].y, canvas.facts());
            QCOMPARE(canvas.calls[i].x, p.x);
            QCOMPARE(canvas.calls[i].y, p.y);
        }
    }

    void alignmentGridShowsEveryItemBoxAtItsPrintPlace()
    {
        templates::TemplateRow row;
        row.paperWidth = 1000;
        row.paperHeight = 500;
        row.xMove = 20;
        row.yMove = -10;
        templates::PrintItem shown;
        shown.name = QStringLiteral("ZDSKR");
        shown.caption = QStringLiteral("收件人");
        shown.x = 300;
        shown.y = 200;
        shown.width = 400;
        shown.height = 60;
        templates::PrintItem notPrinted = shown;
        notPrinted.name = QStringLiteral("ZDJJR");
        notPrinted.caption = QStringLiteral("寄件人");
        notPrinted.needPrint = 0;
        print::RecordingCanvas canvas({254, 254, 0, 0});
        design::drawAlignmentGrid(canvas, row, {shown, notPrinted});

        int centimetreLines = 0;
        int thinLines = 0;
        QList<print::RecordingCanvas::Call> box;
        QStringList names;
        for (const print::RecordingCanvas::Call &c : canvas.calls) {
            if (c.kind == print::RecordingCanvas::Call::Kind::Text) {
                names << c.text;
                continue;
            }
            if (c.penWidth == 3)
                box << c;
            else if (c.penWidth == 2)
                ++centimetreLines;
            else
                ++thinLines;
        }
        // Every centimetre across (11) and down (6), edges included; the 5 mm
        // lines between them (10 + 5) and a tick at every other millimetre of
        // each centimetre line (11 × 40 + 6 × 80).
        QCOMPARE(centimetreLines, 11 + 6);
        QCOMPARE(thinLines, 10 + 5 + 11 * 40 + 6 * 80);
        QVERIFY(names.contains(QStringLiteral("收件人")));
        QVERIFY(!names.contains(QStringLiteral("寄件人")));
        QCOMPARE(box.size(), 4);
        QCOMPARE(QPoint(box.first().x, box.first().y), QPoint(320, 190));
        QCOMPARE(QPoint(box.first().x2, box.first().y2), QPoint(720, 190));
        QCOMPARE(QPoint(box[1].x2, box[1].y2), QPoint(720, 250));
    }

    void previewDrawsWhereThePrintEngineDoes()
    {
        test::TestData data;
        QVERIFY(test::openWithoutTemplates(data));
        QVERIFY(test::addTemplate(data, {1000, test::testKind, QStringLiteral("甲"), templates::marker::enabled,
                                         templates::marker::isDefault}));
        QVERIFY(test::addField(data, QStringLiteral("ZDPLAIN"), 3));
        QVERIFY(test::addField(data, QStringLiteral("ZDBROKEN"), 2));
        QVERIFY(test::addField(data, QStringLiteral("ZDNOTEXT"), 1));
        QVERIFY(data.exec(QStringLiteral("update NameDict set CtlData=? where CtlName='ZDPLAIN'"),
                          {QStringLiteral("张三")}));
        QVERIFY(data.exec(QStringLiteral("update NameDict set CtlData=? where CtlName='ZDBROKEN'"),
                          {QStringLiteral("一二三四五六七八九十")}));
        for (const QString &name : {QStringLiteral("ZDPLAIN"), QStringLiteral("ZDBROKEN"), QStringLiteral("ZDNOTEXT")})
            QVERIFY(test::addItem(data, {1000, name}));
        QVERIFY(data.exec(QStringLiteral("update ckControl set CtlX=120,CtlY=250,CtlW=600,CtlH=60,CtlFontName='宋体',"
                                         "CtlFontSize=10 where CtlName='ZDPLAIN'")));
        QVERIFY(data.exec(QStringLiteral("update ckControl set CtlX=400,CtlY=500,CtlW=600,CtlH=200,CtlLH=60,"
                                         "BreakNum='4',BreakFontSize=9,CtlFontName='宋体',CtlFontSize=10 "
                                         "where CtlName='ZDBROKEN'")));
        QVERIFY(data.exec(QStringLiteral("update ckControl set CtlX=800,CtlY=900,CtlW=600,CtlH=60,CtlFontName='宋体',"
                                         "CtlFontSize=10 where CtlName='ZDNOTEXT'")));

        for (const int dpi : {96, 120}) {
            design::BillPreview preview(*data.core, dpi);
            QVERIFY(preview.render(1000, 35, -20));
            QCOMPARE(preview.items().size(), 3);
            QHash<QString, design::PreviewItem> byName;
            for (const design::PreviewItem &item : preview.items())
                byName.insert(item.name, item);
            // Each item starts at its print place plus the offset, at the screen's scale, to the pixel.
            const auto at = [dpi](int x, int y) {
                return QPoint(print::tenthsToScreen(x, dpi), print::tenthsToScreen(y, dpi));
            };
            QCOMPARE(byName.value(QStringLiteral("ZDPLAIN")).rects.size(), 1);
            QCOMPARE(byName.value(QStringLiteral("ZDPLAIN")).rects.first().topLeft(), at(155, 230));
            // Ten characters broken at four a line: three lines, a pitch apart.
            const QList<QRect> lines = byName.value(QStringLiteral("ZDBROKEN")).rects;
            QCOMPARE(lines.size(), 3);
            for (int k = 0; k < 3; ++k)
                QCOMPARE(lines[k].topLeft(), at(435, 480 + 60 * k));
            // No test text: the label shows.
            QCOMPARE(byName.value(QStringLiteral("ZDNOTEXT")).rects.first().topLeft(), at(835, 880));
            QVERIFY(byName.value(QStringLiteral("ZDNOTEXT")).rects.first().width()
                    > byName.value(QStringLiteral("ZDPLAIN")).rects.first().width());
        }
        const print::MapValueSource values =
            design::BillPreview::testValues(templates::PrintItemStore(data.db()).printableFields(test::testKind));
        QCOMPARE(values.value(QStringLiteral("zdNoText")).text, QStringLiteral("ZDNOTEXT标签"));
    }

    void previewOfAShippedTemplateShowsEveryPrintedItem()
    {
        test::TestData data;
        QVERIFY(data.open());
        const int id = data.scalar(QStringLiteral("select min(CheckTypeID) from CKTypeTable where TypeFirstName=?"),
                                   {QStringLiteral("快递单")})
                           .toInt();
        const int dpi = 96;
        design::BillPreview preview(*data.core, dpi);
        QVERIFY(preview.render(id, 37, -12));
        QVERIFY(preview.items().size() > 10);
        // Every item starts where the print engine places it at the screen's
        // scale, to the pixel: its line at its CtlY, a left-aligned one at its CtlX.
        const templates::PrintItemSet items = templates::PrintItemStore(data.db()).itemsOf(id);
        int drawn = 0;
        for (const design::PreviewItem &shown : preview.items()) {
            const templates::PrintItem *item = items.find(shown.name);
            QVERIFY(item);
            if (shown.rects.isEmpty())
                continue;
            ++drawn;
            const QPoint start = shown.rects.first().topLeft();
            QCOMPARE(start.y(), print::tenthsToScreen(item->y - 12, dpi));
            if (item->align.trimmed().isEmpty() || item->align.trimmed() == QLatin1String("0"))
                QCOMPARE(start.x(), print::tenthsToScreen(item->x + 37, dpi));
        }
        QVERIFY2(drawn > 10, qPrintable(QString::number(drawn)));
        QCOMPARE(preview.image().dotsPerMeterX(), qRound(96 / 0.0254));
        QVERIFY(data.dialogs.shown.isEmpty());
    }
};

QTEST_MAIN(TestOffsetCalibration)
#include "test_offset_calibration.moc"
