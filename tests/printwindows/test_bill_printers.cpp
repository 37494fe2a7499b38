#include "app/FontSetup.h"
#include "print/PdfPrintDevice.h"
#include "print/SystemPrintDevice.h"
#include "support/ScriptedDialogs.h"

#include <QFontInfo>
#include <QPrinterInfo>
#include <QTest>

using namespace moque;

class TestBillPrinters : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void pdfPrinterIsListedLast()
    {
        const QStringList names = ui::billPrinterNames();
        QVERIFY(!names.isEmpty());
        QCOMPARE(names.last(), QStringLiteral("PDF"));
        QCOMPARE(names.count(QStringLiteral("PDF")), 1);
    }

    void pdfPrinterAsksWhereToSave()
    {
        test::ScriptedDialogs dialogs;
        QVERIFY(!ui::makeBillPrintDevice(QStringLiteral("PDF"), dialogs, QStringLiteral("快递单.pdf")));
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown[0].kind, QStringLiteral("save"));

        dialogs.files.enqueue(QStringLiteral("/tmp/bill"));
        auto device = ui::makeBillPrintDevice(QStringLiteral("pdf"), dialogs, QString());
        QVERIFY(dynamic_cast<print::PdfPrintDevice *>(device.get()));
        QVERIFY(!device->makesCopies());

        auto printer = ui::makeBillPrintDevice(QStringLiteral("Epson_LQ"), dialogs, QString());
        QVERIFY(dynamic_cast<ui::SystemPrintDevice *>(printer.get()));
        QVERIFY(printer->makesCopies());
    }

    void noBillPrinterUsesTheSystemDefaultOrPdf()
    {
        test::ScriptedDialogs dialogs;
        dialogs.files.enqueue(QStringLiteral("/tmp/bill.pdf"));
        auto device = ui::makeBillPrintDevice(QString(), dialogs, QStringLiteral("快递单.pdf"));
        if (QPrinterInfo::defaultPrinterName().isEmpty()) {
            QVERIFY(dynamic_cast<print::PdfPrintDevice *>(device.get()));
            QCOMPARE(dialogs.shown.size(), 1);
        } else {
            QVERIFY(dynamic_cast<ui::SystemPrintDevice *>(device.get()));
            QVERIFY(dialogs.shown.isEmpty());
        }
    }

    // Template faces print in installed faces of the same style, Chinese never in Japanese shapes.
    void windowsFacesMapToInstalledFaces_data()
    {
        QTest::addColumn<QString>("face");
        QTest::addColumn<QString>("family");
        QTest::newRow("宋体") << "宋体" << "Noto Serif CJK SC";
        QTest::newRow("SimSun") << "SimSun" << "Noto Serif CJK SC";
        QTest::newRow("仿宋") << "仿宋" << "Noto Serif CJK SC";
        QTest::newRow("楷体") << "楷体" << "Noto Serif CJK SC";
        QTest::newRow("黑体") << "黑体" << "Noto Sans CJK SC";
        QTest::newRow("微软雅黑") << "微软雅黑" << "Noto Sans CJK SC";
        QTest::newRow("Arial") << "Arial" << "Liberation Sans";
        QTest::newRow("Times New Roman") << "Times New Roman" << "Liberation Serif";
    }
    void windowsFacesMapToInstalledFaces()
    {
        QFETCH(QString, face);
        QFETCH(QString, family);
        app::installFontSubstitutions();
        QCOMPARE(QFontInfo(QFont(face)).family(), family);
    }
};

QTEST_MAIN(TestBillPrinters)
#include "test_bill_printers.moc"
