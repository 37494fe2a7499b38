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

        ui::SystemPrintDevice printer(QStringLiteral("Epson_LQ"));
        QVERIFY(printer.makesCopies());
    }

    // A locked printer that is no longer installed leaves the bill to the printer an unlocked one gets.
    void missingBillPrinterIsNotUsed()
    {
        test::ScriptedDialogs dialogs;
        dialogs.files << QStringLiteral("/tmp/a.pdf") << QStringLiteral("/tmp/b.pdf");
        auto gone = ui::makeBillPrintDevice(QStringLiteral("Printer_Removed_Long_Ago"), dialogs, QString());
        auto none = ui::makeBillPrintDevice(QString(), dialogs, QString());
        QVERIFY(gone && none);
        QCOMPARE(typeid(*gone).name(), typeid(*none).name());
        if (auto *system = dynamic_cast<ui::SystemPrintDevice *>(gone.get()))
            QCOMPARE(system->printer().printerName(), ui::jobPrinterName(QString()));
    }

    void noBillPrinterUsesTheSystemDefaultOrPdf()
    {
        test::ScriptedDialogs dialogs;
        dialogs.files.enqueue(QStringLiteral("/tmp/bill.pdf"));
        auto device = ui::makeBillPrintDevice(QString(), dialogs, QStringLiteral("快递单.pdf"));
        if (ui::jobPrinterName(QString()) == QStringLiteral("PDF")) {
            QVERIFY(dynamic_cast<print::PdfPrintDevice *>(device.get()));
            QCOMPARE(dialogs.shown.size(), 1);
        } else {
            auto *system = dynamic_cast<ui::SystemPrintDevice *>(device.get());
            QVERIFY(system);
            QCOMPARE(system->printer().printerName(), QPrinterInfo::defaultPrinterName().isEmpty()
                                                          ? QPrinterInfo::availablePrinterNames().value(0)
                                                          : QPrinterInfo::defaultPrinterName());
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
