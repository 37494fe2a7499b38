// The offset window, the print preview and the calibration window, driven as
// a user drives them; the waybill printed before and after an offset change.

#include "designers/ImageViewer.h"
#include "designers/PreviewCanvas.h"
#include "designers/PrintOffsetWindow.h"
#include "designers/PrintPreviewWindow.h"
#include "designers/PrinterCalibrationWindow.h"
#include "entry/WaybillWindow.h"
#include "print/Units.h"
#include "support/EntryWindows.h"
#include "support/PdfText.h"
#include "support/TemplateFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTableView>

using namespace moque;
using test::child;

namespace {

int waybillTemplate(const test::TestData &data)
{
    return data
        .scalar(QStringLiteral("select CheckTypeID from CKTypeTable where TypeFirstName=? and IsDefault=?"),
                {QStringLiteral("快递单"), templates::marker::isDefault})
        .toInt();
}

int column(const test::TestData &data, int id, const char *name)
{
    return data.scalar(QStringLiteral("select %1 from CKTypeTable where CheckTypeID=?").arg(QLatin1String(name)), {id})
        .toInt();
}

// Types into a box of the window and leaves it with Enter, as a user does.
void typeInto(QSpinBox *box, const QString &keys)
{
    box->setFocus();
    QLineEdit *edit = box->findChild<QLineEdit *>();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, keys);
    QTest::keyClick(edit, Qt::Key_Return);
}

QList<test::PdfWord> printWaybill(test::TestData &data, const QString &path)
{
    auto w = test::openActive<ui::WaybillWindow>(*data.core);
    test::enterText(*w, QStringLiteral("zdSKR"), QStringLiteral("张三"));
    test::enterText(*w, QStringLiteral("zdSKRS"), QStringLiteral("李四"));
    data.dialogs.files.enqueue(path);
    w->printOne();
    w->close();
    return test::readPdfWords(path);
}

} // namespace

class TestOffsetWindows : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void offsetBoxesSaveAsTheyAreLeft()
    {
        test::TestData data;
        QVERIFY(data.open());
        const int id = waybillTemplate(data);
        ui::PrintOffsetWindow window(*data.core, id);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.templateId(), id);
        QVERIFY(child<QLabel>(&window, "lbTypeName")->text().startsWith(QStringLiteral("当前调整：")));

        // The point is refused as it is typed: 12.5 becomes 125.
        typeInto(child<QSpinBox>(&window, "edtXMove"), QStringLiteral("12.5"));
        QCOMPARE(column(data, id, "XMove"), 125);
        QCOMPARE(window.windowTitle(), QStringLiteral("票据整体属性修改成功！"));
        QCOMPARE(child<QLabel>(&window, "lbXMoveCm")->text(), QStringLiteral("=1.25厘米"));

        // Three clicks of "up" on the Y arrow move the print up by 3 mm.
        for (int i = 0; i < 3; ++i)
            test::click(&window, "udYUp");
        QCOMPARE(column(data, id, "YMove"), -30);
        test::click(&window, "udXDown");
        QCOMPARE(column(data, id, "XMove"), 115);

        // The entry size opens for editing only after a double click.
        QSpinBox *entryWidth = child<QSpinBox>(&window, "edtTWidth");
        QVERIFY(entryWidth->isReadOnly());
        QTest::mouseDClick(entryWidth->findChild<QLineEdit *>(), Qt::LeftButton);
        QVERIFY(!entryWidth->isReadOnly());

        child<QComboBox>(&window, "cbHVPrint")->setCurrentText(QStringLiteral("横向"));
        test::click(&window, "btSave");
        QCOMPARE(data.dialogs.lastText(), QStringLiteral("票据整体属性修改成功！"));
        QCOMPARE(data.scalar(QStringLiteral("select HVPrint from CKTypeTable where CheckTypeID=?"), {id}).toString(),
                 QStringLiteral("1"));
        test::click(&window, "btSave");
        QCOMPARE(data.dialogs.lastText(), QStringLiteral("票据整体属性没有变动！"));
    }

    void offsetOffThePaperIsRefused()
    {
        test::TestData data;
        QVERIFY(data.open());
        const int id = waybillTemplate(data);
        const int paperWidth = column(data, id, "PWidth");
        ui::PrintOffsetWindow window(*data.core, id);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        typeInto(child<QSpinBox>(&window, "edtXMove"), QString::number(paperWidth));
        QCOMPARE(data.dialogs.lastText(), QStringLiteral("整体偏移超出了票据大小，打印内容将落在票据之外，没有保存！"));
        QCOMPARE(column(data, id, "XMove"), 0);
        QCOMPARE(child<QSpinBox>(&window, "edtXMove")->value(), 0);
    }

    void unknownTemplateFallsBackToTheFirst()
    {
        test::TestData data;
        QVERIFY(data.open());
        ui::PrintOffsetWindow window(*data.core, 99999);
        QCOMPARE(data.dialogs.lastText(), QStringLiteral("没有找到编号为99999的票据，请查看是否存在或被隐藏。"));
        QCOMPARE(child<QListWidget>(&window, "lstCheckType")->currentRow(), 0);
        QVERIFY(window.templateId() > 0);
    }

    void anOffsetMovesEveryPrintedValue_data()
    {
        QTest::addColumn<bool>("calibration");
        QTest::newRow("offset window") << false;
        QTest::newRow("calibration of every template") << true;
    }
    void anOffsetMovesEveryPrintedValue()
    {
        QFETCH(bool, calibration);
        test::TestData data;
        QVERIFY(data.open());
        data.core->session().billPrinterName = QStringLiteral("PDF");
        const int id = waybillTemplate(data);
        const QList<test::PdfWord> before = printWaybill(data, data.root() + QStringLiteral("before.pdf"));
        QVERIFY(before.size() > 3);
        if (calibration) {
            ui::PrinterCalibrationWindow window(*data.core, {QStringLiteral("PDF")}, QStringLiteral("PDF"), {});
            child<QLineEdit>(&window, "edtModelName")->setText(QStringLiteral("我的打印机"));
            child<QSpinBox>(&window, "edtX")->setValue(20);
            child<QSpinBox>(&window, "edtY")->setValue(20);
            data.dialogs.answers.enqueue(true);
            test::click(&window, "btApply");
            QCOMPARE(column(data, id, "XMove"), 20);
        } else {
            ui::PrintOffsetWindow window(*data.core, id);
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            // 2 mm right with the arrow's two clicks, 2 mm down typed.
            test::click(&window, "udXUp");
            test::click(&window, "udXUp");
            typeInto(child<QSpinBox>(&window, "edtYMove"), QStringLiteral("20"));
        }
        const QList<test::PdfWord> after = printWaybill(data, data.root() + QStringLiteral("after.pdf"));
        QCOMPARE(after.size(), before.size());
        const double shift = test::tenthsToPoints(20);
        const double tolerance = test::tenthsToPoints(1) / 2; // 0.05 mm
        for (qsizetype i = 0; i < before.size(); ++i) {
            QCOMPARE(after[i].text, before[i].text);
            QVERIFY2(qAbs(after[i].x - before[i].x - shift) <= tolerance, qPrintable(before[i].text));
            QVERIFY2(qAbs(after[i].y - before[i].y - shift) <= tolerance, qPrintable(before[i].text));
        }
    }

    void previewPlacesItemsAsThePrintEngine()
    {
        test::TestData data;
        QVERIFY(data.open());
        const int id = waybillTemplate(data);
        QVERIFY(data.exec(QStringLiteral("update CKTypeTable set XMove=50,YMove=-20 where CheckTypeID=?"), {id}));
        QVERIFY(data.exec(QStringLiteral("update ckControl set BreakNum=NULL,FitParam=NULL,Align='0' where "
                                         "CheckTypeID=? and upper(CtlName)='ZDSKR'"),
                          {id}));
        const int x = data.scalar(QStringLiteral("select CtlX from ckControl where CheckTypeID=? and "
                                                 "upper(CtlName)='ZDSKR'"),
                                  {id})
                          .toInt();
        const int y = data.scalar(QStringLiteral("select CtlY from ckControl where CheckTypeID=? and "
                                                 "upper(CtlName)='ZDSKR'"),
                                  {id})
                          .toInt();
        ui::PrintPreviewWindow preview(*data.core, id);
        QVERIFY(preview.isUsable());
        QVERIFY(preview.windowTitle().startsWith(QStringLiteral("【")));
        preview.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        ui::PreviewCanvas *canvas = preview.canvas();
        const int dpi = preview.dpi();
        const auto screen = [dpi](int tenths) { return print::tenthsToScreen(tenths, dpi); };
        QList<QRect> rects = canvas->itemRects(QStringLiteral("zdSKR"));
        QCOMPARE(rects.size(), 1);
        QCOMPARE(rects.first().topLeft(), canvas->textOrigin() + QPoint(screen(x + 50), screen(y - 20)));
        QCOMPARE(canvas->hintAt(rects.first().center()).isEmpty(), false);

        // One centimetre of offset moves the panel by one ruler centimetre.
        const QPoint panel = canvas->panelOrigin();
        child<QSpinBox>(&preview, "edtXMove")->setValue(150);
        QCOMPARE(canvas->panelOrigin() - panel, QPoint(screen(150) - screen(50), 0));
        QCOMPARE(canvas->panelOrigin().x() - canvas->pixels(0), ui::PreviewCanvas::rulerWidth + screen(150));
        rects = canvas->itemRects(QStringLiteral("zdSKR"));
        QCOMPARE(rects.first().topLeft(), canvas->textOrigin() + QPoint(screen(x + 150), screen(y - 20)));

        auto *ignore = child<QCheckBox>(&preview, "ckIgnoreOffset");
        ignore->setChecked(true);
        QCOMPARE(canvas->panelOrigin(), QPoint(ui::PreviewCanvas::rulerWidth, ui::PreviewCanvas::rulerWidth));
        QCOMPARE(canvas->itemRects(QStringLiteral("zdSKR")).first().topLeft(),
                 canvas->textOrigin() + QPoint(screen(x), screen(y)));
        ignore->setChecked(false);
        QCOMPARE(canvas->panelOrigin(), panel + QPoint(screen(150) - screen(50), 0));

        // A test text typed in the grid shows at once.
        test::click(&preview, "btData");
        auto *grid = child<QTableView>(&preview, "gridData");
        QVERIFY(grid->isVisible());
        auto *model = qobject_cast<QStandardItemModel *>(grid->model());
        int row = -1;
        for (int r = 0; r < model->rowCount(); ++r)
            if (model->item(r, 1)->text().compare(QStringLiteral("zdSKR"), Qt::CaseInsensitive) == 0)
                row = r;
        QVERIFY(row >= 0);
        const int width = canvas->itemRects(QStringLiteral("zdSKR")).first().width();
        model->item(row, 3)->setText(QStringLiteral("欧阳长名字收件人欧阳长名字收件人欧阳长名字收件人"));
        QVERIFY(canvas->itemRects(QStringLiteral("zdSKR")).first().width() > width);
        QCOMPARE(data.scalar(QStringLiteral("select CtlData from NameDict where ID=?"), {model->item(row, 0)->text()})
                     .toString(),
                 QStringLiteral("欧阳长名字收件人欧阳长名字收件人欧阳长名字收件人"));

        // Saving the offset stores both boxes.
        QSignalSpy saved(&preview, &ui::PrintPreviewWindow::offsetSaved);
        test::click(&preview, "btSaveOffset");
        QCOMPARE(saved.count(), 1);
        QCOMPARE(column(data, id, "XMove"), 150);
        QCOMPARE(column(data, id, "YMove"), -20);
    }

    void previewOfNoTemplate()
    {
        test::TestData data;
        QVERIFY(data.open());
        ui::PrintPreviewWindow unknown(*data.core, 0);
        QCOMPARE(unknown.windowTitle(), QStringLiteral("未知的单据"));
        QVERIFY(data.dialogs.shown.isEmpty());
        QVERIFY(test::addTemplate(data, {1000, QString(), QStringLiteral("无类")}));
        QVERIFY(data.exec(QStringLiteral("update CKTypeTable set TypeName='' where CheckTypeID=1000")));
        ui::PrintPreviewWindow kindless(*data.core, 1000);
        QVERIFY(!kindless.isUsable());
        QCOMPARE(data.dialogs.lastText(), QStringLiteral("没有找到对应的单据信息~"));

        // A template without print items or picture shows an empty bill and says why.
        data.dialogs.clear();
        QVERIFY(test::addTemplate(data, {1001, test::testKind, QStringLiteral("空")}));
        ui::PrintPreviewWindow empty(*data.core, 1001);
        QVERIFY(empty.isUsable());
        QVERIFY(data.dialogs.shown.isEmpty());
        QCOMPARE(child<QLabel>(&empty, "lbNote")->text(), QStringLiteral("该模板没有可打印的项目，请在设计模式中添加"));
        QVERIFY(empty.canvas()->itemRects(QStringLiteral("zdSKR")).isEmpty());
    }

    void pictureViewerShowsTheTemplatePicture()
    {
        test::TestData data;
        QVERIFY(data.open());
        const QString name =
            data.scalar(QStringLiteral("select TypeName from CKTypeTable where CheckTypeID=?"), {waybillTemplate(data)})
                .toString();
        ui::ImageViewer viewer(*data.core);
        viewer.loadPictureByFullName(name);
        QCOMPARE(viewer.windowTitle(), QStringLiteral("墨雀软件-模板图片查看【") + name + QStringLiteral("】"));
        QVERIFY(child<QLabel>(&viewer, "imgShow")->pixmap().width() > 100);
        QVERIFY(data.exec(QStringLiteral("update CKTypeTable set ImgFile='' where TypeName=?"), {name}));
        viewer.loadPictureByFullName(name);
        QCOMPARE(viewer.shownText(), QStringLiteral("没有有效的图片文件~"));
        // The paper feed help pictures come with a new data directory.
        viewer.loadPicture(data.core->dir().imageDir() + QStringLiteral("sys_exHX.jpg"), QSize(400, 400));
        QCOMPARE(child<QLabel>(&viewer, "imgShow")->pixmap().width(), 400);
    }

    void calibrationAppliesToEveryTemplateAndKeepsTheUsersPrinter()
    {
        test::TestData data;
        QVERIFY(data.open());
        QStringList chosen;
        ui::PrinterCalibrationWindow window(*data.core, {QStringLiteral("PDF")}, QStringLiteral("PDF"),
                                            [&chosen](const QString &name) { chosen << name; });
        auto *models = child<QComboBox>(&window, "cbPrinterModel");
        QVERIFY(models->count() > 1);
        models->setCurrentIndex(1);
        QCOMPARE(child<QLineEdit>(&window, "edtPresetBoard")->text(), child<QLineEdit>(&window, "edtBoard")->text());
        QCOMPARE(child<QLineEdit>(&window, "edtModelName")->text(), QStringLiteral("PDF"));
        QVERIFY(!child<QComboBox>(&window, "cbPrinter")->isEnabled());
        child<QLineEdit>(&window, "edtModelName")->setText(QStringLiteral("我的打印机"));
        child<QSpinBox>(&window, "edtX")->setValue(-15);
        child<QSpinBox>(&window, "edtY")->setValue(25);

        // The test page prints where the user chose; its texts read back.
        const QString page = data.root() + QStringLiteral("test.pdf");
        data.dialogs.answers.enqueue(true);
        data.dialogs.files.enqueue(page);
        test::click(&window, "btTestPage");
        QVERIFY(data.dialogs.texts().first().startsWith(QStringLiteral("你确认打印机的挡板调为“")));
        // The font's character map may name compatibility forms (⾥ for 里).
        const auto normal = [](const QString &text) { return text.normalized(QString::NormalizationForm_KC); };
        const QString pageText = normal(test::readPdfText(page));
        QVERIFY2(pageText.contains(normal(QStringLiteral("这里是向右偏移:10mm向下偏移：20mm的起始位"))),
                 qPrintable(pageText));

        // No: nothing changes.
        test::click(&window, "btApply");
        QCOMPARE(data.scalar(QStringLiteral("select count(*) from CKTypeTable where XMove=-15")).toInt(), 0);
        data.dialogs.answers.enqueue(true);
        test::click(&window, "btApply");
        const QStringList texts = data.dialogs.texts();
        QVERIFY(texts.contains(QStringLiteral("应用单据成功！")));
        QCOMPARE(texts.last(), QStringLiteral("配置修改成功！"));
        QCOMPARE(data.scalar(QStringLiteral("select count(*) from CKTypeTable where XMove<>-15 or YMove<>25")).toInt(),
                 0);
        QCOMPARE(chosen, QStringList{QStringLiteral("PDF")});
        settings::IniFile stored(data.core->settings().file().path());
        QCOMPARE(stored.value(QStringLiteral("printeruse"), QStringLiteral("printers")), QStringLiteral("我的打印机"));
        QCOMPARE(stored.value(QStringLiteral("printeruse"), QStringLiteral("我的打印机.x")), QStringLiteral("-15"));

        // The next opening shows the user's own values.
        ui::PrinterCalibrationWindow again(*data.core, {QStringLiteral("PDF")}, QStringLiteral("PDF"), {});
        QCOMPARE(child<QLineEdit>(&again, "edtModelName")->text(), QStringLiteral("我的打印机"));
        QCOMPARE(child<QSpinBox>(&again, "edtY")->value(), 25);
    }
};

QTEST_MAIN(TestOffsetWindows)
#include "test_offset_windows.moc"
