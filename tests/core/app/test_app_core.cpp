// The program version, the bill printer choice and the day stamp, and the
// session a freshly opened core starts with.

#include "app/AppVersion.h"
#include "app/Session.h"
#include "print/PrinterChoice.h"
#include "support/TestData.h"

#include <QTest>

using namespace moque;

class TestAppCore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void appVersion_data()
    {
        QTest::addColumn<int>("parts");
        QTest::addColumn<int>("numbers");
        QTest::newRow("2: major.minor") << 2 << 2;
        QTest::newRow("3: with release") << 3 << 3;
        QTest::newRow("4: with build") << 4 << 4;
        QTest::newRow("0: everything") << 0 << 4;
        QTest::newRow("1: everything") << 1 << 4;
        QTest::newRow("5: everything") << 5 << 4;
        QTest::newRow("-1: everything") << -1 << 4;
    }
    void appVersion()
    {
        QFETCH(int, parts);
        QFETCH(int, numbers);
        const QStringList configured = QStringLiteral(MOQUE_TEST_PROJECT_VERSION).split(QLatin1Char('.'));
        QCOMPARE(configured.size(), 4);
        const QString version = app::getAppVersion(parts);
        QCOMPARE(version, configured.mid(0, numbers).join(QLatin1Char('.')));
        for (const QString &n : version.split(QLatin1Char('.'))) {
            bool ok = false;
            QVERIFY2(n.toInt(&ok) >= 0 && ok, qPrintable(version));
        }
    }

    void choosePrinter_data()
    {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("option");
        QTest::addColumn<int>("index");
        const QStringList two{QStringLiteral("HP LaserJet"), QStringLiteral("Epson LQ-630K")};
        const QStringList one{QStringLiteral("Epson LQ-630K")};
        QTest::newRow("two printers, nothing named") << two << "" << "" << -1;
        QTest::newRow("two printers, blank name and option") << two << "   " << "  " << -1;
        QTest::newRow("one printer, nothing named") << one << "" << "" << 0;
        QTest::newRow("one printer and the PDF printer, nothing named")
            << QStringList{"Epson LQ-630K", "PDF"} << "" << "" << 0;
        QTest::newRow("two printers and the PDF printer, nothing named")
            << QStringList{"HP LaserJet", "Epson LQ-630K", "PDF"} << "" << "" << -1;
        QTest::newRow("only the PDF printer, nothing named") << QStringList{"PDF"} << "" << "" << -1;
        QTest::newRow("the PDF printer stored") << QStringList{"Epson LQ-630K", "PDF"} << "" << "pdf" << 1;
        QTest::newRow("no printer") << QStringList{} << "HP LaserJet" << "" << -1;
        QTest::newRow("exact name") << two << "Epson LQ-630K" << "" << 1;
        QTest::newRow("other letter case") << two << "epson lq-630k" << "" << 1;
        QTest::newRow("upper case") << two << "HP LASERJET" << "" << 0;
        QTest::newRow("name with blanks") << two << "  Epson LQ-630K\t" << "" << 1;
        QTest::newRow("option when name empty") << two << "" << "hp laserjet" << 0;
        QTest::newRow("option when name blank") << two << "  " << "Epson LQ-630K" << 1;
        QTest::newRow("name before option") << two << "HP LaserJet" << "Epson LQ-630K" << 0;
        QTest::newRow("no match") << two << "Canon" << "" << -1;
        QTest::newRow("no match, option ignored") << two << "Canon" << "HP LaserJet" << -1;
        QTest::newRow("part of a name") << two << "HP" << "" << -1;
        QTest::newRow("first of equal names") << QStringList{"PDF", "pdf", "Other"} << "Pdf" << "" << 0;
        QTest::newRow("one printer, option matches") << one << "" << "EPSON LQ-630K" << 0;
    }
    void choosePrinter()
    {
        QFETCH(QStringList, installed);
        QFETCH(QString, name);
        QFETCH(QString, option);
        QFETCH(int, index);
        QCOMPARE(app::choosePrinter(installed, name, option), index);
    }

    void jobPrinter_data()
    {
        QTest::addColumn<QString>("billPrinter");
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("systemDefault");
        QTest::addColumn<QString>("printer");
        const QStringList two{"HP LaserJet", "Epson LQ-630K", "PDF"};
        QTest::newRow("locked printer") << "Epson LQ-630K" << two << "HP LaserJet" << "Epson LQ-630K";
        QTest::newRow("locked, other letter case") << "epson lq-630k" << two << "HP LaserJet" << "Epson LQ-630K";
        QTest::newRow("none locked: the system default") << "" << two << "Epson LQ-630K" << "Epson LQ-630K";
        QTest::newRow("locked printer gone: the system default") << "Canon" << two << "Epson LQ-630K"
                                                                   << "Epson LQ-630K";
        QTest::newRow("no default: the first printer") << "" << two << "" << "HP LaserJet";
        QTest::newRow("no printer at all: PDF") << "" << QStringList{"PDF"} << "" << "PDF";
        QTest::newRow("nothing listed: PDF") << "" << QStringList{} << "" << "PDF";
        QTest::newRow("PDF locked") << "PDF" << two << "HP LaserJet" << "PDF";
    }
    void jobPrinter()
    {
        QFETCH(QString, billPrinter);
        QFETCH(QStringList, installed);
        QFETCH(QString, systemDefault);
        QFETCH(QString, printer);
        QCOMPARE(print::jobPrinterName(billPrinter, installed, systemDefault), printer);
    }

    void dayStamp_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("day");
        QTest::addColumn<int>("stamp");
        QTest::newRow("2024-03-05") << 2024 << 3 << 5 << 2032;
        QTest::newRow("2023-12-31") << 2023 << 12 << 31 << 2066;
        QTest::newRow("2024-01-01") << 2024 << 1 << 1 << 2026;
        // Days whose numbers add up alike share a stamp.
        QTest::newRow("2024-02-01") << 2024 << 2 << 1 << 2027;
        QTest::newRow("2024-01-02") << 2024 << 1 << 2 << 2027;
    }
    void dayStamp()
    {
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(int, day);
        QFETCH(int, stamp);
        QCOMPARE(app::dayStamp(year, month, day), stamp);
    }

    void freshSession()
    {
        test::TestData data;
        QVERIFY(data.open());
        const app::Session &s = data.core->session();
        QCOMPARE(s.currentTemplateId, 0);
        QVERIFY(s.currentUserName.isEmpty());
        QVERIFY(!s.printerReady);
        QVERIFY(s.billPrinterName.isEmpty());
        QVERIFY(s.params.useDefaultIssuer);
        QVERIFY(!s.params.loginRequired);
        QCOMPARE(data.core->dir().root(), data.root());
        QVERIFY(data.core->errorText().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestAppCore)
#include "test_app_core.moc"
