// A waybill printed through a real CUPS queue lands where the direct PDF puts it.
// The queue (cups-pdf, A4 with margins) is made the system default printer for
// the run; its page and the direct PDF's page are rendered and the ink of every
// printed value is compared, both pages measured from the paper's top-left corner.

#include "app/FontSetup.h"
#include "app/MainWindow.h"
#include "print/KeptPrinters.h"
#include "entry/WaybillWindow.h"
#include "support/CupsQueue.h"
#include "support/TestData.h"
#include "support/TestFiles.h"
#include "support/Widgets.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QPlainTextEdit>
#include <QProcess>
#include <QSqlQuery>
#include <QTest>
#include <QToolButton>

#include <unistd.h>

using namespace moque;
using test::child;

namespace {

const QString templateName = QStringLiteral("快递单（通用快递单）");
constexpr int dpi = 300;
constexpr double toleranceMm = 0.1;
// Around each item box, in 0.1 mm: room for a value that strays, yet short of
// the ink of the next row of items (about 2.5 mm below a box).
constexpr int regionMargin = 15;

// Fields of the default waybill and their values, all inside an A4 printable area.
const QList<QPair<QString, QString>> &waybill()
{
    static const QList<QPair<QString, QString>> values{
        {QStringLiteral("zdPJBH"), QStringLiteral("SF1234567890")},
        {QStringLiteral("zdHKR"), QStringLiteral("深圳市墨雀科技有限公司")},
        {QStringLiteral("zdHKRLXR"), QStringLiteral("张三")},
        // Two lines on the form.
        {QStringLiteral("zdHKRDZ"),
         QStringLiteral("广东省深圳市南山区粤海街道科技园南区高新南七道18号墨雀大厦12楼1203室（前台代收）")},
        {QStringLiteral("zdSKR"), QStringLiteral("杭州星河贸易有限公司")},
        {QStringLiteral("zdSKRLXR"), QStringLiteral("李四")},
        {QStringLiteral("zdSKRDH"), QStringLiteral("0571-88886666")},
        {QStringLiteral("zdSKRDZ"), QStringLiteral("浙江省杭州市西湖区文三路90号3号楼")},
        {QStringLiteral("zdWPNR"), QStringLiteral("合同文件")},
        {QStringLiteral("edtWeight"), QStringLiteral("2.5")},
        {QStringLiteral("zdYunFee"), QStringLiteral("12.00")},
        {QStringLiteral("DEFCHECK0"), QStringLiteral("√")},
    };
    return values;
}

struct CliRun
{
    int exitCode = -1;
    QString output;
};

CliRun cli(const QStringList &args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral(MOQUE_CLI), args);
    if (!p.waitForFinished(60000))
        p.kill();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAll()).trimmed()};
}

} // namespace

// Fails the test where CUPS must work (as root, as CI runs), skips it elsewhere.
#define REQUIRE_QUEUE()                                                                                      \
    do {                                                                                                     \
        if (!m_queue->isReady()) {                                                                           \
            if (geteuid() == 0)                                                                              \
                QFAIL(qPrintable(m_queue->errorText()));                                                     \
            QSKIP(qPrintable(QStringLiteral("no CUPS queue: ") + m_queue->errorText()));                     \
        }                                                                                                    \
    } while (false)

class TestPrintCups : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::TestData> m_data;
    std::unique_ptr<test::CupsQueue> m_queue;
    QTemporaryDir m_out;
    QList<test::InkRegion> m_regions;

    QString dataDir() const { return m_data->tempDir.path(); }
    QString billPath() const { return m_out.filePath(QStringLiteral("bill.json")); }

    QStringList printArgs() const
    {
        return {QStringLiteral("--data-dir"), dataDir(), QStringLiteral("print"), QStringLiteral("--template"),
                templateName, QStringLiteral("--values"), billPath()};
    }

    // The waybill printed straight into a PDF whose page is the template's paper.
    QString printDirect()
    {
        const QString path = m_out.filePath(QStringLiteral("direct.pdf"));
        QFile::remove(path);
        const CliRun run = cli(printArgs() << QStringLiteral("--output") << path);
        if (run.exitCode != 0 || !QFile::exists(path)) {
            qWarning() << "moque-cli --output:" << run.output;
            return {};
        }
        return path;
    }

    // Renders both pages and compares the ink of every printed value.
    void compareWithDirect(const QString &cupsPdf)
    {
        const QString direct = printDirect();
        QVERIFY(!direct.isEmpty());
        QString error;
        const QImage expected = test::renderPdfPage(direct, dpi, &error);
        QVERIFY2(!expected.isNull(), qPrintable(error));
        const QImage actual = test::renderPdfPage(cupsPdf, dpi, &error);
        QVERIFY2(!actual.isNull(), qPrintable(error));
        // Pages of different sizes, both measured from their top-left corner: the template's
        // 230 × 127 mm paper, and the queue's A4 portrait, neither rotated nor resized by CUPS.
        auto isMm = [](const QImage &page, double width, double height) {
            return qAbs(page.width() - width / 25.4 * dpi) < 2 && qAbs(page.height() - height / 25.4 * dpi) < 2;
        };
        auto size = [](const QImage &page) {
            return QStringLiteral("%1 x %2 px").arg(page.width()).arg(page.height());
        };
        QVERIFY2(isMm(expected, 230, 127), qPrintable(size(expected)));
        QVERIFY2(isMm(actual, 210, 297), qPrintable(size(actual)));
        double worst = 0;
        const QStringList differences = test::compareInk(expected, actual, dpi, m_regions, toleranceMm, &worst);
        // One line each: a failure message alone would be cut short.
        for (const QString &difference : differences)
            qWarning("%s", qPrintable(difference));
        QVERIFY2(differences.isEmpty(), qPrintable(QStringLiteral("%1 of %2 values are elsewhere on the CUPS page")
                                                       .arg(differences.size())
                                                       .arg(m_regions.size())));
        qInfo("largest ink edge difference: %.3f mm over %lld values", worst, qlonglong(m_regions.size()));
    }

private Q_SLOTS:
    void initTestCase()
    {
        app::installFontSubstitutions();
        QVERIFY(m_out.isValid());
        m_data = std::make_unique<test::TestData>();
        QVERIFY(m_data->open());

        QJsonObject bill;
        for (const auto &[name, text] : waybill())
            bill.insert(name, text);
        QVERIFY(test::writeFile(billPath(), QJsonDocument(bill).toJson()));

        QSqlQuery q(m_data->db());
        QVERIFY(q.prepare(QStringLiteral("select c.CtlX+t.XMove, c.CtlY+t.YMove, c.CtlW, c.CtlH from ckControl c "
                                         "join CKTypeTable t on t.CheckTypeID=c.CheckTypeID "
                                         "where t.TypeName=? and upper(c.CtlName)=?")));
        for (const auto &[name, text] : waybill()) {
            q.addBindValue(templateName);
            q.addBindValue(name.toUpper());
            QVERIFY(q.exec());
            QVERIFY2(q.next(), qPrintable(name));
            const QRect box(q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt(), q.value(3).toInt());
            m_regions << test::InkRegion{name, box.adjusted(-regionMargin, -regionMargin, regionMargin, regionMargin)};
        }

        m_queue = std::make_unique<test::CupsQueue>();
    }
    void init()
    {
        if (m_queue)
            m_queue->clear();
    }
    // The queue goes here rather than at exit, so that a failed test leaves CUPS as it was too.
    void cleanupTestCase() { m_queue.reset(); }

    // The comparison itself: a shift beyond the tolerance or a value missing on either page fails.
    void inkComparisonCatchesShiftsAndMissingValues_data()
    {
        QTest::addColumn<QPoint>("shift");
        QTest::addColumn<bool>("inExpected");
        QTest::addColumn<bool>("inActual");
        QTest::addColumn<bool>("same");
        QTest::newRow("identical") << QPoint() << true << true << true;
        QTest::newRow("one pixel right (0.08 mm)") << QPoint(1, 0) << true << true << true;
        QTest::newRow("two pixels right (0.17 mm)") << QPoint(2, 0) << true << true << false;
        QTest::newRow("two pixels up") << QPoint(0, -2) << true << true << false;
        QTest::newRow("missing on the printed page") << QPoint() << true << false << false;
        QTest::newRow("missing on the direct page") << QPoint() << false << true << false;
        QTest::newRow("missing on both") << QPoint() << false << false << false;
    }
    void inkComparisonCatchesShiftsAndMissingValues()
    {
        QFETCH(QPoint, shift);
        QFETCH(bool, inExpected);
        QFETCH(bool, inActual);
        QFETCH(bool, same);
        // A value box at (20 mm, 10 mm), 30 × 5 mm; the ink a grey-edged bar inside it.
        const QList<test::InkRegion> regions{{QStringLiteral("zdSKR"), QRect(200 - 20, 100 - 20, 300 + 40, 50 + 40)},
                                             {QStringLiteral("other"), QRect(800, 800, 100, 100)}};
        auto page = [](bool inked, QPoint offset, bool otherToo) {
            QImage image(1200, 1200, QImage::Format_Grayscale8);
            image.fill(Qt::white);
            QPainter p(&image);
            if (inked) {
                p.fillRect(QRect(QPoint(240, 120) + offset, QSize(300, 40)), Qt::black);
                p.fillRect(QRect(QPoint(239, 119) + offset, QSize(1, 42)), QColor(200, 200, 200));
            }
            if (otherToo)
                p.fillRect(QRect(960, 960, 20, 20), Qt::black);
            return image;
        };
        double worst = -1;
        const QStringList differences = test::compareInk(page(inExpected, {}, true), page(inActual, shift, true), dpi,
                                                         regions, toleranceMm, &worst);
        QCOMPARE(differences.isEmpty(), same);
        if (!same) {
            QCOMPARE(differences.size(), 1);
            QVERIFY2(differences.first().startsWith(QStringLiteral("zdSKR: ")), qPrintable(differences.first()));
        }
        if (inExpected && inActual)
            QCOMPARE(worst, std::max(qAbs(shift.x()), qAbs(shift.y())) * 25.4 / dpi);
    }

    // moque-cli on a printer by name, and with no printer at all on the system default one.
    void cliPrintsThroughTheQueueAsOnTheDirectPage_data()
    {
        QTest::addColumn<bool>("named");
        QTest::newRow("the queue by name") << true;
        QTest::newRow("the system default") << false;
    }
    void cliPrintsThroughTheQueueAsOnTheDirectPage()
    {
        QFETCH(bool, named);
        REQUIRE_QUEUE();
        QStringList args = printArgs();
        if (named)
            args << QStringLiteral("--printer") << m_queue->name();
        const CliRun run = cli(args);
        QVERIFY2(run.exitCode == 0, qPrintable(run.output));
        const QString printed = m_queue->waitForPdf();
        QVERIFY2(!printed.isEmpty(), qPrintable(m_queue->errorText()));
        compareWithDirect(printed);
    }

    // Paper chosen in 打印机设置 is the paper of every later job on that printer.
    void printerDialogSettingsReachEveryLaterJob()
    {
        REQUIRE_QUEUE();
        ui::KeptPrinters &kept = ui::KeptPrinters::session();
        kept.clear();
        QString dialogPrinter;
        kept.setDialogRunner([&](QPrinter &printer, QWidget *, const QString &) {
            dialogPrinter = printer.printerName();
            return printer.setPageSize(QPageSize(QPageSize::A5));
        });
        m_data->core->session().billPrinterName.clear();
        {
            ui::MainWindow main(*m_data->core);
            main.action(QStringLiteral("mPrinterSetup"))->trigger();
        }
        kept.setDialogRunner({});
        QCOMPARE(dialogPrinter, m_queue->name());
        QVERIFY(m_data->core->session().printerReady);

        ui::WaybillWindow w(*m_data->core);
        w.show();
        qobject_cast<QComboBox *>(w.control(QStringLiteral("zdSKR")))->setEditText(QStringLiteral("杭州星河"));
        auto *button = child<QToolButton>(&w, "btPrint1");
        for (int job = 0; job < 2; ++job) {
            m_data->dialogs.clear();
            button->click();
            QVERIFY2(m_data->dialogs.shown.isEmpty(), qPrintable(m_data->dialogs.texts().join(QLatin1Char('|'))));
            const QString printed = m_queue->waitForPdf();
            QVERIFY2(!printed.isEmpty(), qPrintable(m_queue->errorText()));
            QString error;
            const QImage page = test::renderPdfPage(printed, 100, &error);
            QVERIFY2(!page.isNull(), qPrintable(error));
            // A5 portrait: 148 × 210 mm.
            QVERIFY2(qAbs(page.width() - 583) <= 2 && qAbs(page.height() - 827) <= 2,
                     qPrintable(QStringLiteral("job %1: %2 x %3 px").arg(job).arg(page.width()).arg(page.height())));
        }
        kept.clear();
    }

    // The waybill window with no bill printer locked prints on the system default printer, asking nothing.
    void windowPrintsOnTheDefaultPrinterAsOnTheDirectPage()
    {
        REQUIRE_QUEUE();
        m_data->core->session().billPrinterName.clear();
        ui::WaybillWindow w(*m_data->core);
        w.show();
        QVERIFY(w.isUsable());
        QCOMPARE(w.curTypeId(), m_data->scalar(QStringLiteral("select CheckTypeID from CKTypeTable where TypeName=?"),
                                               {templateName})
                                     .toInt());
        for (const auto &[name, text] : waybill()) {
            QWidget *c = w.control(name);
            QVERIFY2(c, qPrintable(name));
            if (auto *e = qobject_cast<QLineEdit *>(c))
                e->setText(text);
            else if (auto *cb = qobject_cast<QComboBox *>(c))
                cb->setEditText(text);
            else if (auto *m = qobject_cast<QPlainTextEdit *>(c))
                m->setPlainText(text);
            else if (auto *check = qobject_cast<QCheckBox *>(c))
                check->setChecked(true);
            else
                QFAIL(qPrintable(name + QStringLiteral(" is no input control")));
            const print::FieldValue value = w.values().value(name);
            QVERIFY2(value.shown && !value.text.isEmpty(), qPrintable(name));
            if (!qobject_cast<QCheckBox *>(c))
                QCOMPARE(value.text, text);
        }
        m_data->dialogs.clear();
        auto *button = child<QToolButton>(&w, "btPrint1");
        button->click();
        QVERIFY2(m_data->dialogs.shown.isEmpty(), qPrintable(m_data->dialogs.texts().join(QLatin1Char('|'))));
        const QString printed = m_queue->waitForPdf();
        QVERIFY2(!printed.isEmpty(), qPrintable(m_queue->errorText()));
        compareWithDirect(printed);
    }
};

QTEST_MAIN(TestPrintCups)
#include "test_print_cups.moc"
