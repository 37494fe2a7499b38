// Prints through the whole engine into a PDF and reads back where the text
// landed (pdftotext -bbox): every value's top-left within 0.1 mm of its item.

#include "app/FontSetup.h"
#include "print/PdfPrintDevice.h"
#include "app/PrintJob.h"
#include "templates/PrintItemStore.h"
#include "templates/TemplateCatalog.h"
#include "support/PdfText.h"
#include "support/TestData.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

#include <sys/stat.h>

using namespace moque;

namespace {

using test::PdfPage;
using test::PdfWord;

// 0.1 mm in points.
constexpr double tolerance = 72.0 / 254.0;

} // namespace

class TestPdfPrint : public QObject
{
    Q_OBJECT

    test::TestData m_data;
    QTemporaryDir m_out;

    void addTemplate(int id, int pWidth, int pHeight, int landscape, int xMove, int yMove)
    {
        QVERIFY(m_data.exec("insert into CKTypeTable (CheckTypeID,TypeName,TypeFirstName,TypeDescribe,XMove,YMove,"
                            "PWidth,PHeight,HVPrint,Visiable,IsDefault,IsCommon) values (?,?,?,?,?,?,?,?,?,?,?,?)",
                            {id, QStringLiteral("快递单（测试%1）").arg(id), QStringLiteral("快递单"),
                             QStringLiteral("测试%1").arg(id), xMove, yMove, pWidth, pHeight, landscape,
                             QStringLiteral("启用"), QStringLiteral("0"), QStringLiteral("是")}));
    }
    void addItem(int id, const QString &name, int x, int y, const QString &font, int size, const QString &fit = {})
    {
        QVERIFY(m_data.exec("insert into ckControl (CheckTypeID,CtlName,CtlX,CtlY,CtlW,CtlH,CtlFontName,CtlFontSize,"
                            "FitParam) values (?,?,?,?,600,60,?,?,?)",
                            {id, name, x, y, font, size, fit}));
    }

    QList<PdfPage> print(int templateId, const QList<print::MapValueSource> &bills, int copies = 1)
    {
        const QString path = m_out.filePath(QStringLiteral("job%1.pdf").arg(templateId));
        print::PdfPrintDevice device(path);
        app::PrintJob job(*m_data.core, device);
        if (!job.PrintPrepare(templateId) || !job.PrinterTransBegin(copies))
            return {};
        for (int i = 0; i < bills.size(); ++i) {
            if (i > 0)
                job.NewCheckPage();
            job.SendCheckToPrinter(bills[i]);
        }
        if (!job.PrinterTransEnd())
            return {};
        return test::readPdfPages(path);
    }

private Q_SLOTS:
    void initTestCase()
    {
        app::installFontSubstitutions();
        QVERIFY(m_data.open());
        addTemplate(901, 2300, 1270, 0, 15, -10);
        addItem(901, "ZDHKR", 200, 150, "Arial", 12);
        addItem(901, "ZDSKR", 1200, 150, "黑体", 12);
        addItem(901, "ZDSKRLXR", 1200, 420, "宋体", 10);
        addItem(901, "ZDSKRDH", 1750, 420, "Times New Roman", 10);
        addItem(901, "ZDJEDX1", 300, 1000, "Arial", 11, "50");
        addTemplate(902, 2100, 2970, 1, 0, 0);
        addItem(902, "ZDHKR", 100, 100, "宋体", 10);
        addTemplate(903, 2970, 2100, 1, 0, 0);
        QVERIFY(m_data.exec("insert into CKTypeTable (CheckTypeID,TypeName,TypeFirstName,TypeDescribe,PWidth,PHeight,"
                            "HVPrint) values (904,'普通发票收据（测试）','普通发票收据','测试',2100,1400,0)"));
        addItem(904, "ZDPJBH", 200, 200, "宋体", 10);
        addItem(903, "ZDHKR", 2500, 1900, "Arial", 10);
    }

    void valuesLandAtTheirPlaces()
    {
        print::MapValueSource bill;
        bill.set("ZDHKR", "Moque Ltd");
        bill.set("ZDSKR", "上海浦东");
        bill.set("ZDSKRLXR", "张三丰");
        bill.set("ZDSKRDH", "13800138000");
        const QList<PdfPage> pages = print(901, {bill});
        QCOMPARE(pages.size(), 1);
        const struct
        {
            QString text;
            int x;
            int y;
        } expected[] = {{"Moque", 200, 150}, {"上海浦东", 1200, 150}, {"张三丰", 1200, 420}, {"13800138000", 1750, 420}};
        for (const auto &e : expected) {
            auto it = std::find_if(pages[0].words.begin(), pages[0].words.end(),
                                   [&](const PdfWord &w) { return w.text == e.text; });
            QVERIFY2(it != pages[0].words.end(), qPrintable(e.text));
            // The template is moved 1.5 mm right and 1 mm up as a whole.
            QVERIFY2(qAbs(it->x - test::tenthsToPoints(e.x + 15)) <= tolerance, qPrintable(QStringLiteral("%1 x %2").arg(e.text).arg(it->x)));
            QVERIFY2(qAbs(it->y - test::tenthsToPoints(e.y - 10)) <= tolerance, qPrintable(QStringLiteral("%1 y %2").arg(e.text).arg(it->y)));
        }
    }

    // Every text item of every default template, in whatever face it uses, keeps a value of
    // Latin letters, digits, Chinese and punctuation in the PDF's text, in order. Items near the
    // paper's edge get as much of the value as fits on the paper.
    void everyDefaultTemplateItemReadsBackExactly()
    {
        const QString sample = QStringLiteral("A0189B深圳，Tel:13(8)#7号");
        templates::TemplateCatalog catalog(m_data.db(), m_data.dialogs, m_data.core->store());
        templates::PrintItemStore store(m_data.db());
        int checked = 0;
        for (const templates::TemplateRow &row : catalog.allTemplates()) {
            if (row.id >= 900)
                continue;
            const int pageWidth = row.landscape() ? qMax(row.effectivePaperWidth(), row.effectivePaperHeight())
                                                  : row.effectivePaperWidth();
            const templates::PrintItemSet items = store.itemsOf(row.id);
            QList<print::MapValueSource> bills;
            QStringList names;
            QStringList values;
            for (const templates::DictionaryField &field : store.printableFields(row.kind)) {
                const templates::PrintItem *item = items.find(field.name);
                if (!item || item->needPrint != 1 || (!field.type.isEmpty() && field.type.toUpper() != "TEXT"))
                    continue;
                // A character takes its box in digit-box items; elsewhere a Chinese character is
                // about as wide as the point size (1 pt = 0.3528 mm).
                const double room = (pageWidth - item->x - row.xMove) / 10.0;
                const double box = item->fitParam.toInt() > 0 ? item->fitParam.toInt() / 10.0
                                                                : qMax(item->fontSize, item->breakFontSize) * 0.3528;
                const int fits = int(room / box) - 1;
                print::MapValueSource bill;
                values << sample.left(qBound(4, fits, int(sample.size())));
                bill.set(field.name, values.last());
                bills << bill;
                names << field.name;
            }
            QVERIFY2(!bills.isEmpty(), qPrintable(row.fullName));
            const QList<PdfPage> pages = print(row.id, bills);
            QCOMPARE(pages.size(), bills.size());
            for (int i = 0; i < pages.size(); ++i) {
                QString read;
                for (const PdfWord &w : pages[i].words)
                    read += w.text;
                QVERIFY2(read == values[i].normalized(QString::NormalizationForm_KC),
                         qPrintable(QStringLiteral("%1 %2: %3").arg(row.fullName, names[i], read)));
                ++checked;
            }
        }
        QVERIFY(checked > 200);
    }

    void equalWidthCharactersAtTheirBoxes()
    {
        print::MapValueSource bill;
        bill.set("ZDJEDX1", "40715");
        const QList<PdfPage> pages = print(901, {bill});
        QCOMPARE(pages.size(), 1);
        QCOMPARE(pages[0].words.size(), 5);
        for (int k = 0; k < 5; ++k) {
            QCOMPARE(pages[0].words[k].text, QString("40715").mid(k, 1));
            QVERIFY(qAbs(pages[0].words[k].x - test::tenthsToPoints(300 + 15 + k * 50)) <= tolerance);
            QVERIFY(qAbs(pages[0].words[k].y - test::tenthsToPoints(1000 - 10)) <= tolerance);
        }
    }

    void pageIsTheTemplatesPaper_data()
    {
        QTest::addColumn<int>("templateId");
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::newRow("waybill 230 × 127 mm") << 901 << test::tenthsToPoints(2300) << test::tenthsToPoints(1270);
        QTest::newRow("A4 turned for landscape") << 902 << test::tenthsToPoints(2970) << test::tenthsToPoints(2100);
        QTest::newRow("landscape entered as seen") << 903 << test::tenthsToPoints(2970) << test::tenthsToPoints(2100);
    }
    void pageIsTheTemplatesPaper()
    {
        QFETCH(int, templateId);
        QFETCH(double, width);
        QFETCH(double, height);
        print::MapValueSource bill;
        bill.set("ZDHKR", "Page");
        const QList<PdfPage> pages = print(templateId, {bill});
        QCOMPARE(pages.size(), 1);
        QVERIFY(qAbs(pages[0].width - width) < 1);
        QVERIFY(qAbs(pages[0].height - height) < 1);
        // The value lies on the page, where its item is.
        QCOMPARE(pages[0].words.size(), 1);
        QVERIFY(pages[0].words[0].x < width && pages[0].words[0].y < height);
    }

    void billsAndCopiesMakePages()
    {
        print::MapValueSource first;
        first.set("ZDHKR", "First");
        print::MapValueSource second;
        second.set("ZDHKR", "Second");
        const QList<PdfPage> pages = print(901, {first, second}, 2);
        QCOMPARE(pages.size(), 4);
        const QStringList texts{pages[0].words.value(0).text, pages[1].words.value(0).text,
                                pages[2].words.value(0).text, pages[3].words.value(0).text};
        QCOMPARE(texts, (QStringList{"First", "First", "Second", "Second"}));
    }

    void copiesOfAWaybillStopAtFifty_data()
    {
        QTest::addColumn<int>("templateId");
        QTest::addColumn<int>("copies");
        QTest::addColumn<int>("pages");
        QTest::newRow("waybill 80 → 50") << 901 << 80 << 50;
        QTest::newRow("waybill 0 → 1") << 901 << 0 << 1;
        QTest::newRow("receipt 60 stays") << 904 << 60 << 60;
    }
    void copiesOfAWaybillStopAtFifty()
    {
        QFETCH(int, templateId);
        QFETCH(int, copies);
        QFETCH(int, pages);
        print::MapValueSource bill;
        bill.set("ZDHKR", "Copy");
        bill.set("ZDPJBH", "Copy");
        QCOMPARE(print(templateId, {bill}, copies).size(), pages);
    }

    void cancelledPrinterSetupPrintsNothing()
    {
        m_data.core->session().params.popPrinterSetup = true;
        const QString path = m_out.filePath(QStringLiteral("cancelled.pdf"));
        print::PdfPrintDevice device(path);
        app::PrintJob job(*m_data.core, device);
        int asked = 0;
        job.setPrinterSetup([&] {
            ++asked;
            return false;
        });
        m_data.dialogs.clear();
        QVERIFY(!job.PrintPrepare(901));
        m_data.core->session().params.popPrinterSetup = false;
        QCOMPARE(asked, 1);
        QVERIFY(!m_data.core->session().printerReady);
        QVERIFY(!job.PrinterTransBegin(1));
        print::MapValueSource bill;
        bill.set("ZDHKR", "x");
        QVERIFY(!job.SendCheckToPrinter(bill));
        QVERIFY(!job.PrinterTransEnd());
        QVERIFY(m_data.dialogs.shown.isEmpty());
        QVERIFY(!QFile::exists(path));
    }

    // A file that cannot be written is the file's fault, said in one line, not the printer's.
    void unwritableOutputLeavesNothing()
    {
        const QString path = m_out.filePath(QStringLiteral("missing-folder/job.pdf"));
        print::PdfPrintDevice device(path);
        app::PrintJob job(*m_data.core, device);
        QVERIFY(job.PrintPrepare(901));
        m_data.dialogs.clear();
        QVERIFY(!job.PrinterTransBegin(1));
        QVERIFY2(m_data.dialogs.lastText().startsWith(QStringLiteral("无法写入文件：")), qPrintable(m_data.dialogs.lastText()));
        QVERIFY(!m_data.dialogs.lastText().contains(QLatin1Char('\n')));
        QVERIFY(!QFile::exists(path));
    }

    // A device, pipe or folder named as the output is refused, never replaced by a file;
    // a link is written through to its target.
    void outputMustBeAPlainFile()
    {
        QTemporaryDir dir;
        const QString fifo = dir.filePath(QStringLiteral("pipe.pdf"));
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        const QString folder = dir.filePath(QStringLiteral("folder.pdf"));
        QVERIFY(QDir().mkpath(folder));
        for (const QString &path : {fifo, folder, QStringLiteral("/dev/null")}) {
            print::PdfPrintDevice device(path);
            app::PrintJob job(*m_data.core, device);
            QVERIFY(job.PrintPrepare(901));
            m_data.dialogs.clear();
            QVERIFY2(!job.PrinterTransBegin(1), qPrintable(path));
            QVERIFY2(m_data.dialogs.lastText().contains(QStringLiteral("不是普通文件")), qPrintable(m_data.dialogs.lastText()));
        }
        QVERIFY(!QFileInfo(fifo).isFile() && QFileInfo(folder).isDir() && !QFileInfo(QStringLiteral("/dev/null")).isFile());

        const QString target = dir.filePath(QStringLiteral("real.pdf"));
        const QString link = dir.filePath(QStringLiteral("link.pdf"));
        QVERIFY(QFile::link(target, link));
        print::MapValueSource bill;
        bill.set("ZDHKR", "Linked");
        {
            print::PdfPrintDevice device(link);
            app::PrintJob job(*m_data.core, device);
            QVERIFY(job.PrintPrepare(901) && job.PrinterTransBegin(1) && job.SendCheckToPrinter(bill)
                    && job.PrinterTransEnd());
        }
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(test::readPdfPages(target).value(0).words.value(0).text, QStringLiteral("Linked"));
    }

    void abortedJobLeavesNoFile()
    {
        const QString path = m_out.filePath(QStringLiteral("aborted.pdf"));
        {
            print::PdfPrintDevice device(path);
            app::PrintJob job(*m_data.core, device);
            QVERIFY(job.PrintPrepare(901));
            QVERIFY(job.PrinterTransBegin(1));
            print::MapValueSource bill;
            bill.set("ZDHKR", "x");
            QVERIFY(job.SendCheckToPrinter(bill));
            job.AbortPrint();
        }
        QVERIFY(!QFile::exists(path));
    }

    void missingTemplateIsReported()
    {
        const QString path = m_out.filePath(QStringLiteral("none.pdf"));
        print::PdfPrintDevice device(path);
        app::PrintJob job(*m_data.core, device);
        m_data.dialogs.clear();
        QVERIFY(!job.PrintPrepare(4242, QStringLiteral("快递单（旧）")));
        QCOMPARE(m_data.dialogs.lastText(),
                 QStringLiteral("Err:\"快递单（旧）\"没有进行初始化，无法取得整体打印偏移量！"));
        QCOMPARE(m_data.dialogs.lastCaption(), QStringLiteral("提示"));
        QVERIFY(!job.PrinterTransBegin(1));
        QVERIFY(!QFile::exists(path));
    }
};

QTEST_MAIN(TestPdfPrint)
#include "test_pdf_print.moc"
