// The print layout designer window driven offscreen: items drawn at their
// print places, a drag written once on release, arrow keys, Ctrl+Z and Ctrl+Y,
// property controls, batch buttons, paper size and zoom, and templates without
// a picture or without items.

#include "app/FontSetup.h"
#include "designers/LayoutCanvas.h"
#include "designers/PrintLayoutDesigner.h"
#include "print/Units.h"
#include "support/PdfText.h"
#include "support/TemplateFixture.h"
#include "support/Widgets.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QSqlQuery>
#include <QTest>

#include <memory>

using namespace moque;
using ui::LayoutCanvas;
using ui::PrintLayoutDesigner;

namespace {

// The default waybill template of a new data file.
constexpr int kWaybill = 1;

struct Place
{
    QString name;
    int x = 0;
    int y = 0;
};

} // namespace

class TestPrintDesigner : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::TestData> m_data;

    std::unique_ptr<PrintLayoutDesigner> openDesigner(int templateId)
    {
        auto d = std::make_unique<PrintLayoutDesigner>(*m_data->core, templateId);
        if (d->isUsable()) {
            d->show();
            d->activateWindow();
            if (!QTest::qWaitForWindowActive(d.get()))
                qWarning("designer window not active");
        }
        return d;
    }

    // The printable items of the waybill template as stored.
    QList<Place> waybillPlaces() const
    {
        QList<Place> places;
        QSqlQuery q(m_data->db());
        q.exec(QStringLiteral("select a.CtlName,a.CtlX,a.CtlY from ckControl a, NameDict b where a.CtlName=b.CtlName "
                              "and b.CheckTypeName='快递单' and b.PrintItem=1 and a.NeedPrint=1 and a.CheckTypeID=1"));
        while (q.next())
            places << Place{q.value(0).toString(), q.value(1).toInt(), q.value(2).toInt()};
        return places;
    }
    int stored(const QString &name, const QString &column, int templateId = kWaybill) const
    {
        return m_data->scalar(QStringLiteral("select %1 from ckControl where CheckTypeID=? and CtlName=?").arg(column),
                              {templateId, name})
            .toInt();
    }
    static double ratioOf(const PrintLayoutDesigner &d, int pageWidth = 2300)
    {
        return pageWidth / 10.0 / d.canvas()->width();
    }
    // The top-left corner of everything drawn for an item.
    static QPoint originOf(const LayoutCanvas *canvas, const QString &item)
    {
        QPoint p(INT_MAX, INT_MAX);
        for (const QString &label : canvas->labelNamesOf(item)) {
            const QRect r = canvas->itemRect(label);
            p = QPoint(std::min(p.x(), r.x()), std::min(p.y(), r.y()));
        }
        return p;
    }
    // An item drawn as one label, whose label lies on top where it is clicked.
    static QString singleLabelItem(const LayoutCanvas *canvas, const QList<Place> &places)
    {
        for (const Place &p : places) {
            const QStringList labels = canvas->labelNamesOf(p.name);
            if (labels == QStringList{p.name} && canvas->itemAt(canvas->itemRect(p.name).center()) == p.name
                && canvas->itemRect(p.name).center().x() > 40)
                return p.name;
        }
        return {};
    }
    static void clickItem(LayoutCanvas *canvas, const QString &item)
    {
        QTest::mouseClick(canvas, Qt::LeftButton, Qt::NoModifier, canvas->itemRect(item).center());
    }

private Q_SLOTS:
    void initTestCase() { app::installFontSubstitutions(); }

    void init()
    {
        m_data = std::make_unique<test::TestData>();
        QVERIFY(m_data->open());
    }
    void cleanup() { m_data.reset(); }

    void unknownTemplateDoesNotOpen()
    {
        const auto d = openDesigner(4711);
        QVERIFY(!d->isUsable());
        QCOMPARE(m_data->dialogs.lastText(), QStringLiteral("没有找到对应的单据信息~"));
    }

    void labelsStandAtTheirPrintPlaces()
    {
        const auto d = openDesigner(kWaybill);
        QVERIFY(d->isUsable());
        QCOMPARE(d->objectName(), QStringLiteral("fmTemplateDesigner"));
        QCOMPARE(d->windowTitle(), QStringLiteral("【快递单（通用快递单）】打印设置"));
        const QList<Place> places = waybillPlaces();
        QVERIFY(places.size() > 30);
        QCOMPARE(d->canvas()->itemCount(), places.size());
        const double ratio = ratioOf(*d);
        for (const Place &p : places) {
            QVERIFY2(!d->canvas()->labelNamesOf(p.name).isEmpty(), qPrintable(p.name));
            QCOMPARE(originOf(d->canvas(), p.name),
                     QPoint(print::tenthsToCanvas(p.x, ratio), print::tenthsToCanvas(p.y, ratio)));
        }
        QCOMPARE(test::child<QListWidget>(d.get(), "lstAllCtlNames")->count(), places.size());
        QVERIFY(d->statusMessage().isEmpty());
    }

    void dragWritesThePlaceOnceOnRelease()
    {
        const auto d = openDesigner(kWaybill);
        LayoutCanvas *canvas = d->canvas();
        const QString item = singleLabelItem(canvas, waybillPlaces());
        QVERIFY(!item.isEmpty());
        const int x = stored(item, QStringLiteral("CtlX"));
        const int y = stored(item, QStringLiteral("CtlY"));
        const QRect before = canvas->itemRect(item);
        const QPoint start = before.center();

        QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, start);
        QCOMPARE(d->selectedNames(), QStringList{item});
        QTest::mouseMove(canvas, start + QPoint(10, 5));
        QTest::mouseMove(canvas, start + QPoint(30, 20));
        // The boxes follow the mouse; nothing is written yet.
        const double ratio = ratioOf(*d);
        QCOMPARE(test::child<QSpinBox>(d.get(), "edtCtlX")->value(), print::canvasToTenths(before.x() + 30, ratio));
        QCOMPARE(stored(item, QStringLiteral("CtlX")), x);
        QCOMPARE(d->history().stack().count(), 0);
        QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, start + QPoint(30, 20));

        QCOMPARE(stored(item, QStringLiteral("CtlX")), print::canvasToTenths(before.x() + 30, ratio));
        QCOMPARE(stored(item, QStringLiteral("CtlY")), print::canvasToTenths(before.y() + 20, ratio));
        QCOMPARE(d->history().stack().count(), 1);
        QCOMPARE(canvas->itemRect(item).topLeft(), before.topLeft() + QPoint(30, 20));

        // One undo puts the item back where it was.
        d->history().stack().undo();
        QCOMPARE(stored(item, QStringLiteral("CtlX")), x);
        QCOMPARE(stored(item, QStringLiteral("CtlY")), y);
        QCOMPARE(canvas->itemRect(item).topLeft(), before.topLeft());
    }

    void arrowKeysNudgeAndCtrlZUndoes()
    {
        const auto d = openDesigner(kWaybill);
        LayoutCanvas *canvas = d->canvas();
        const QString item = singleLabelItem(canvas, waybillPlaces());
        const int x = stored(item, QStringLiteral("CtlX"));
        const int y = stored(item, QStringLiteral("CtlY"));
        clickItem(canvas, item);
        QVERIFY(canvas->hasFocus());
        QCOMPARE(d->history().stack().count(), 0);

        QTest::keyClick(canvas, Qt::Key_Right);
        QTest::keyClick(canvas, Qt::Key_Up);
        QCOMPARE(stored(item, QStringLiteral("CtlX")), x + 5);
        QCOMPARE(stored(item, QStringLiteral("CtlY")), y - 5);
        QCOMPARE(test::child<QSpinBox>(d.get(), "edtCtlX")->value(), x + 5);

        QTest::keyClick(canvas, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(stored(item, QStringLiteral("CtlY")), y);
        QCOMPARE(stored(item, QStringLiteral("CtlX")), x + 5);
        QTest::keyClick(canvas, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(stored(item, QStringLiteral("CtlX")), x);
        QCOMPARE(test::child<QSpinBox>(d.get(), "edtCtlX")->value(), x);
        QTest::keyClick(canvas, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(stored(item, QStringLiteral("CtlX")), x + 5);
        QVERIFY(test::child<QPushButton>(d.get(), "btRedo")->isEnabled());
        test::click(d.get(), "btUndo");
        QCOMPARE(stored(item, QStringLiteral("CtlX")), x);
    }

    void stepButtonsMoveByTheStep()
    {
        const auto d = openDesigner(kWaybill);
        const QString item = singleLabelItem(d->canvas(), waybillPlaces());
        const int y = stored(item, QStringLiteral("CtlY"));
        clickItem(d->canvas(), item);
        test::click(d.get(), "btStep2");
        QCOMPARE(test::child<QSpinBox>(d.get(), "StepLenth")->value(), 20);
        QCOMPARE(test::child<QLabel>(d.get(), "lbStepLenth")->text(), QStringLiteral("2mm"));
        test::click(d.get(), "btDown");
        QCOMPARE(stored(item, QStringLiteral("CtlY")), y + 20);
    }

    void propertyControlsWriteTheirColumn()
    {
        const auto d = openDesigner(kWaybill);
        const QString item = singleLabelItem(d->canvas(), waybillPlaces());
        clickItem(d->canvas(), item);
        QSpinBox *size = test::child<QSpinBox>(d.get(), "edtFontSize");
        size->setValue(size->value() == 14 ? 15 : 14);
        const int chosen = size->value();
        QCOMPARE(stored(item, QStringLiteral("CtlFontSize")), chosen);
        QCOMPARE(d->statusMessage(), item + QStringLiteral(":CtlFontSize=%1属性保存成功~").arg(chosen));

        test::child<QRadioButton>(d.get(), "rbAlignRight")->click();
        QCOMPARE(m_data->scalar(QStringLiteral("select Align from ckControl where CheckTypeID=1 and CtlName=?"), {item})
                     .toString(),
                 QStringLiteral("2"));
        test::child<QCheckBox>(d.get(), "ckBold")->click();
        QCOMPARE(stored(item, QStringLiteral("Bold")), 1);
        QCOMPARE(d->history().stack().count(), 3);
    }

    void untickingLineBreakClearsBreakNum()
    {
        const QString item = waybillPlaces().first().name;
        QVERIFY(m_data->exec(QStringLiteral("update ckControl set BreakNum='10' where CheckTypeID=1 and CtlName=?"),
                             {item}));
        const auto d = openDesigner(kWaybill);
        // The list's double click selects the item and loads it.
        QListWidget *list = test::child<QListWidget>(d.get(), "lstAllCtlNames");
        const QList<QListWidgetItem *> entries = list->findItems(QLatin1Char('=') + item, Qt::MatchEndsWith);
        QCOMPARE(entries.size(), 1);
        Q_EMIT list->itemDoubleClicked(entries.first());
        QCOMPARE(d->selectedNames(), QStringList{item});
        QCheckBox *multiLine = test::child<QCheckBox>(d.get(), "ckMutiLineOn");
        QVERIFY(multiLine->isChecked());
        QCOMPARE(test::child<QSpinBox>(d.get(), "edtBreakNum")->value(), 10);
        multiLine->click();
        QCOMPARE(multiLine->text(), QStringLiteral("无需换行打印."));
        QVERIFY(m_data->scalar(QStringLiteral("select BreakNum from ckControl where CheckTypeID=1 and CtlName=?"),
                               {item})
                    .toString()
                    .isEmpty());
        QVERIFY(!test::child<QSpinBox>(d.get(), "edtBreakNum")->isVisibleTo(d.get()));
    }

    void batchAlignInMultipleMode()
    {
        const auto d = openDesigner(kWaybill);
        LayoutCanvas *canvas = d->canvas();
        QStringList items;
        for (const Place &p : waybillPlaces())
            if (canvas->labelNamesOf(p.name) == QStringList{p.name}
                && canvas->itemAt(canvas->itemRect(p.name).center()) == p.name && items.size() < 2
                && (items.isEmpty() || stored(items.first(), QStringLiteral("CtlX")) != p.x))
                items << p.name;
        QCOMPARE(items.size(), 2);
        test::child<QRadioButton>(d.get(), "rbMulti")->click();
        clickItem(canvas, items[0]);
        clickItem(canvas, items[1]);
        QCOMPARE(d->selectedNames(), items);
        QCOMPARE(test::child<QListWidget>(d.get(), "lstSelectedNames")->count(), 2);
        test::click(d.get(), "btSaveItem");
        QCOMPARE(d->statusMessage(), QStringLiteral("单选一个项目才可以保存！"));

        const int left = std::min(stored(items[0], QStringLiteral("CtlX")), stored(items[1], QStringLiteral("CtlX")));
        const int right = std::max(stored(items[0], QStringLiteral("CtlX")), stored(items[1], QStringLiteral("CtlX")));
        test::click(d.get(), "btAlignLeft");
        QCOMPARE(d->statusMessage(), QStringLiteral("2批量修改最左对齐成功！"));
        QCOMPARE(stored(items[1], QStringLiteral("CtlX")), left);
        QCOMPARE(stored(items[0], QStringLiteral("CtlX")), left);
        QCOMPARE(canvas->itemRect(items[0]).x(), canvas->itemRect(items[1]).x());
        QTest::keyClick(canvas, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(std::max(stored(items[0], QStringLiteral("CtlX")), stored(items[1], QStringLiteral("CtlX"))), right);

        // A second click deselects in multiple mode.
        clickItem(canvas, items[0]);
        QCOMPARE(d->selectedNames(), QStringList{items[1]});
    }

    void paperSizeSaveResizesAndTells_data()
    {
        QTest::addColumn<QString>("width");
        QTest::addColumn<QString>("height");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("saved");
        QTest::newRow("accepted") << "20" << "32.04" << QStringLiteral("底图实际长和宽保存成功！") << true;
        QTest::newRow("too high") << "20" << "32.1" << QStringLiteral("失败，票据最高不能大于32厘米。") << false;
        QTest::newRow("too wide") << "30.1" << "10" << QStringLiteral("失败，票据最宽不能大于30厘米。") << false;
    }
    void paperSizeSaveResizesAndTells()
    {
        QFETCH(QString, width);
        QFETCH(QString, height);
        QFETCH(QString, message);
        QFETCH(bool, saved);
        const auto d = openDesigner(kWaybill);
        QSignalSpy spy(d.get(), &PrintLayoutDesigner::paperSizeSaved);
        const QSize before = d->canvas()->size();
        QCOMPARE(test::child<QLineEdit>(d.get(), "edtPHeight")->text(), QStringLiteral("12.7"));
        test::replaceText(test::child<QLineEdit>(d.get(), "edtPWidth"), width);
        test::replaceText(test::child<QLineEdit>(d.get(), "edtPHeight"), height);
        test::click(d.get(), "btSavePaper");
        QCOMPARE(d->statusMessage(), message);
        QCOMPARE(spy.size(), saved ? 1 : 0);
        if (!saved) {
            QCOMPARE(d->canvas()->size(), before);
            return;
        }
        QCOMPARE(spy.first().first().toInt(), kWaybill);
        QCOMPARE(d->canvas()->size(), design::PrintLayout::scaleFor(2000, 3204, 100).size);
        QCOMPARE(test::child<QSpinBox>(d.get(), "edtCtlY")->maximum(), 3199);
    }

    void zoomRelaysTheCanvas()
    {
        const auto d = openDesigner(kWaybill);
        const QList<Place> places = waybillPlaces();
        QComboBox *zoom = test::child<QComboBox>(d.get(), "cbZoom");
        zoom->setCurrentIndex(zoom->findText(QStringLiteral("50")));
        Q_EMIT zoom->activated(zoom->currentIndex());
        QCOMPARE(d->canvas()->size(), design::PrintLayout::scaleFor(2300, 1270, 50).size);
        const double ratio = ratioOf(*d);
        QCOMPARE(originOf(d->canvas(), places.first().name),
                 QPoint(print::tenthsToCanvas(places.first().x, ratio), print::tenthsToCanvas(places.first().y, ratio)));
        test::replaceText(zoom->lineEdit(), QStringLiteral("abc"));
        QTest::keyClick(zoom->lineEdit(), Qt::Key_Return);
        QCOMPARE(zoom->currentText(), QStringLiteral("100"));
        QCOMPARE(d->canvas()->size(), design::PrintLayout::scaleFor(2300, 1270, 100).size);
    }

    void templatesWithoutPictureOrItems_data()
    {
        QTest::addColumn<bool>("withItems");
        QTest::addColumn<QString>("note");
        QTest::newRow("no picture, no items") << false << QStringLiteral("该模板没有背景图片；该模板没有可打印的项目");
        QTest::newRow("no picture") << true << QStringLiteral("该模板没有背景图片");
    }
    void templatesWithoutPictureOrItems()
    {
        QFETCH(bool, withItems);
        QFETCH(QString, note);
        QVERIFY(test::addTemplate(*m_data, {1000, test::testKind, QStringLiteral("空")}));
        if (withItems) {
            QVERIFY(test::addField(*m_data, QStringLiteral("ZDA")));
            QVERIFY(test::addItem(*m_data, {1000, QStringLiteral("ZDA"), 10, 10, 80, 20, 1, QString(), 300}));
        }
        const auto d = openDesigner(1000);
        QVERIFY(d->isUsable());
        QCOMPARE(d->statusMessage(), note);
        QCOMPARE(d->canvas()->itemCount(), withItems ? 1 : 0);
        // The designer still works: a move with nothing selected changes nothing.
        test::click(d.get(), "btUp");
        QCOMPARE(d->history().stack().count(), 0);
        if (withItems) {
            // The item had no box: it takes its entry control's width.
            QCOMPARE(stored(QStringLiteral("ZDA"), QStringLiteral("CtlW"), 1000), print::canvasToTenths(80, ratioOf(*d)));
        }
    }

    void testTextIsUpdatedAndShown()
    {
        const auto d = openDesigner(kWaybill);
        const QString item = singleLabelItem(d->canvas(), waybillPlaces());
        QVERIFY(m_data->exec(QStringLiteral("update ckControl set InitValue='' where CheckTypeID=1 and CtlName=?"),
                             {item}));
        clickItem(d->canvas(), item);
        QComboBox *text = test::child<QComboBox>(d.get(), "edtTestText");
        text->setEditText(QStringLiteral("  样本文字 "));
        test::click(d.get(), "btTestText");
        QCOMPARE(d->statusMessage(), QStringLiteral("更新成功！"));
        QCOMPARE(m_data->scalar(QStringLiteral("select CtlData from NameDict where CheckTypeName='快递单' and "
                                               "CtlName=?"),
                                {item})
                     .toString(),
                 QStringLiteral("样本文字"));
    }

    void listMenusSelectInvertAndClear()
    {
        const auto d = openDesigner(kWaybill);
        const int items = d->canvas()->itemCount();
        test::child<QAction>(d.get(), "actSelectAll")->trigger();
        QVERIFY(test::child<QRadioButton>(d.get(), "rbMulti")->isChecked());
        QCOMPARE(d->selectedNames().size(), items);
        QCOMPARE(test::child<QListWidget>(d.get(), "lstSelectedNames")->count(), items);
        QVERIFY(test::child<QTabWidget>(d.get(), "pcBatch")->isVisible());
        QVERIFY(!test::child<QWidget>(d.get(), "pnlProperty")->isVisible());

        test::child<QAction>(d.get(), "actClearSelection")->trigger();
        QCOMPARE(d->selectedNames().size(), 0);
        QListWidget *list = test::child<QListWidget>(d.get(), "lstAllCtlNames");
        Q_EMIT list->itemDoubleClicked(list->item(0));
        Q_EMIT list->itemDoubleClicked(list->item(1));
        QCOMPARE(d->selectedNames().size(), 2);
        test::child<QAction>(d.get(), "actInvertSelection")->trigger();
        QCOMPARE(d->selectedNames().size(), items - 2);
        QVERIFY(!d->selectedNames().contains(list->item(0)->text().section(QLatin1Char('='), -1)));
        QVERIFY(!d->selectedNames().contains(list->item(1)->text().section(QLatin1Char('='), -1)));

        test::child<QRadioButton>(d.get(), "rbSingle")->click();
        QCOMPARE(d->selectedNames().size(), 0);
        QCOMPARE(test::child<QComboBox>(d.get(), "cbSelGroup")->currentText(), QStringLiteral("请选择分组"));
    }

    void groupBoxSelectsAGroupOrALabelPattern_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("condition");
        QTest::newRow("group") << QStringLiteral("寄件方") << QStringLiteral("b.Groups='寄件方'");
        QTest::newRow("label pattern") << QStringLiteral("寄方*") << QStringLiteral("b.CtlLabel like '寄方%'");
    }
    void groupBoxSelectsAGroupOrALabelPattern()
    {
        QFETCH(QString, typed);
        QFETCH(QString, condition);
        QStringList expected;
        QSqlQuery q(m_data->db());
        QVERIFY(q.exec(QStringLiteral("select a.CtlName from ckControl a, NameDict b where a.CtlName=b.CtlName and "
                                      "a.CheckTypeID=1 and a.NeedPrint=1 and b.PrintItem=1 and "
                                      "b.CheckTypeName='快递单' and %1 order by b.ShowOrd")
                           .arg(condition)));
        while (q.next())
            expected << q.value(0).toString();
        QVERIFY(expected.size() >= 2);

        const auto d = openDesigner(kWaybill);
        QComboBox *groups = test::child<QComboBox>(d.get(), "cbSelGroup");
        QVERIFY(!groups->isEnabled());
        test::child<QRadioButton>(d.get(), "rbMulti")->click();
        QVERIFY(groups->isEnabled());
        test::replaceText(groups->lineEdit(), typed);
        QTest::keyClick(groups->lineEdit(), Qt::Key_Return);
        QCOMPARE(d->selectedNames(), expected);
    }

    void fullScreenHidesThePanelsAndReturns()
    {
        const auto d = openDesigner(kWaybill);
        QWidget *side = test::child<QWidget>(d.get(), "pnlSide");
        QVERIFY(side->isVisible());
        test::click(d.get(), "btFullScreen");
        QCOMPARE(test::child<QPushButton>(d.get(), "btFullScreen")->text(), QStringLiteral("返回"));
        QVERIFY(!side->isVisible());
        test::click(d.get(), "btFullScreen");
        QCOMPARE(test::child<QPushButton>(d.get(), "btFullScreen")->text(), QStringLiteral("满屏"));
        QVERIFY(side->isVisible());
    }

    void equalWidthTickWritesFitParam()
    {
        const auto d = openDesigner(kWaybill);
        const QString item = singleLabelItem(d->canvas(), waybillPlaces());
        QVERIFY(m_data->exec(QStringLiteral("update ckControl set FitParam='' where CheckTypeID=1 and CtlName=?"),
                             {item}));
        Q_EMIT test::child<QListWidget>(d.get(), "lstAllCtlNames")
            ->itemDoubleClicked(test::child<QListWidget>(d.get(), "lstAllCtlNames")
                                    ->findItems(QLatin1Char('=') + item, Qt::MatchEndsWith)
                                    .first());
        QCheckBox *widthAve = test::child<QCheckBox>(d.get(), "ckWidthAveOn");
        QVERIFY(!widthAve->isChecked());
        widthAve->click();
        QCOMPARE(widthAve->text(), QStringLiteral("需等宽打印,"));
        QCOMPARE(m_data->dialogs.lastText(), QStringLiteral("等宽打印勾选后，需要修改字宽后才生效（大于25=2.5mm）！"));
        const auto fit = [&] {
            return m_data->scalar(QStringLiteral("select FitParam from ckControl where CheckTypeID=1 and CtlName=?"),
                                  {item})
                .toString();
        };
        QCOMPARE(fit(), QStringLiteral("20"));
        // 20 is not above 25: still one label.
        QCOMPARE(d->canvas()->labelNamesOf(item), QStringList{item});
        test::child<QSpinBox>(d.get(), "edtAveWidth")->setValue(40);
        QCOMPARE(fit(), QStringLiteral("40"));
        QVERIFY(d->canvas()->labelNamesOf(item).first().startsWith(item + QLatin1Char('R')));
        widthAve->click();
        QCOMPARE(widthAve->text(), QStringLiteral("无需等宽打印."));
        QVERIFY(fit().isEmpty());
    }

    void testPrintGoesThroughThePrintEngine()
    {
        QTemporaryDir out;
        const QString pdf = out.filePath(QStringLiteral("test.pdf"));
        m_data->core->session().billPrinterName = QStringLiteral("PDF");
        m_data->dialogs.files.enqueue(pdf);
        QVERIFY(m_data->exec(QStringLiteral("update NameDict set CtlData='墨雀测试打印' where CheckTypeName='快递单' "
                                            "and CtlName='ZDHKR'")));
        const auto d = openDesigner(kWaybill);
        test::click(d.get(), "btTestPrint");
        const QString text = test::readPdfText(pdf);
        QVERIFY2(text.contains(QStringLiteral("墨雀测试打印")), qPrintable(text));
    }
};

QTEST_MAIN(TestPrintDesigner)
#include "test_print_designer.moc"
