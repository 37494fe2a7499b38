#include "print/BillPrinterDialog.h"
#include "support/TestData.h"
#include "support/Widgets.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace moque;
using moque::ui::BillPrinterDialog;
using test::child;

class TestLockPrinter : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void preselectsTheStoredPrinterExactly_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("stored") << "HP LaserJet" << "HP LaserJet";
        QTest::newRow("other letter case is not preselected") << "hp laserjet" << "";
        QTest::newRow("nothing stored") << "" << "";
    }
    void preselectsTheStoredPrinterExactly()
    {
        QFETCH(QString, stored);
        QFETCH(QString, chosen);
        test::TestData data;
        QVERIFY(data.open());
        data.core->options().setConfigByname("DefaultPrinter", stored);
        BillPrinterDialog window(*data.core, {"Epson LQ-630K", "HP LaserJet", "PDF"}, {});
        QCOMPARE(window.windowTitle(), QStringLiteral("固定票据打印机"));
        QCOMPARE(window.chosenPrinter(), chosen);
        QCOMPARE(child<QPushButton>(&window, "btLock")->isEnabled(), !chosen.isEmpty());
    }

    void lockingStoresAndSelectsThePrinter()
    {
        test::TestData data;
        QVERIFY(data.open());
        QString selected;
        BillPrinterDialog window(*data.core, {"Epson LQ-630K", "PDF"}, [&](const QString &n) { selected = n; });
        auto *list = child<QListWidget>(&window, "lbPrinters");
        list->setCurrentRow(0);
        child<QPushButton>(&window, "btLock")->click();
        QCOMPARE(data.core->options().getConfigByname("DefaultPrinter"), QStringLiteral("Epson LQ-630K"));
        QCOMPARE(selected, QStringLiteral("Epson LQ-630K"));
        QCOMPARE(data.dialogs.lastText(), QStringLiteral("默认票据打印机设置成功！"));
    }

    void lockingWithoutChoiceAsksForOne()
    {
        test::TestData data;
        QVERIFY(data.open());
        bool called = false;
        BillPrinterDialog window(*data.core, {"Epson LQ-630K", "PDF"}, [&](const QString &) { called = true; });
        auto *list = child<QListWidget>(&window, "lbPrinters");
        list->setCurrentRow(1);
        list->clearSelection();
        child<QPushButton>(&window, "btLock")->click();
        QCOMPARE(data.dialogs.lastText(), QStringLiteral("请选择票据打印机！"));
        QVERIFY(!called);
        QVERIFY(data.core->options().getConfigByname("DefaultPrinter").isEmpty());
    }

    void calibrationOpensOnTheChosenPrinter()
    {
        test::TestData data;
        QVERIFY(data.open());
        BillPrinterDialog window(*data.core, {"Epson LQ-630K", "PDF"}, {});
        auto *list = child<QListWidget>(&window, "lbPrinters");
        list->clearSelection();
        child<QPushButton>(&window, "btCalibrate")->click();
        QCOMPARE(data.dialogs.lastText(), QStringLiteral("请选择要固定的票据打印机！"));

        list->setCurrentRow(0);
        QString opened;
        QString printer;
        bool locked = false;
        QTimer::singleShot(0, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            opened = modal->objectName();
            if (auto *printers = modal->findChild<QComboBox *>(QStringLiteral("cbPrinter"))) {
                printer = printers->currentText();
                locked = !printers->isEnabled();
            }
            modal->close();
        });
        window.show();
        child<QPushButton>(&window, "btCalibrate")->click();
        QCOMPARE(opened, QStringLiteral("frmPrinterParam"));
        QCOMPARE(printer, QStringLiteral("Epson LQ-630K"));
        QVERIFY(locked);
        // The bill-printer window closes after calibration.
        QCOMPARE(window.result(), int(QDialog::Accepted));
    }

    void noPrinterInstalled()
    {
        test::TestData data;
        QVERIFY(data.open());
        BillPrinterDialog window(*data.core, {}, {});
        QCOMPARE(data.dialogs.lastText(), QStringLiteral("没有检测到打印机！请安装打印机并重启动本软件！"));
        QVERIFY(!child<QPushButton>(&window, "btLock")->isEnabled());
        QVERIFY(!child<QPushButton>(&window, "btCalibrate")->isEnabled());
    }
};

QTEST_MAIN(TestLockPrinter)
#include "test_lock_printer.moc"
