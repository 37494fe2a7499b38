// Receipts, freight and export invoices printed from a shell: saved bills
// reprinted and bills given per field, with their digits in their boxes, the
// same words at the same places as their windows print, and clear refusals.

#include "app/FontSetup.h"
#include "entry/ExportInvoiceWindow.h"
#include "entry/FreightInvoiceWindow.h"
#include "entry/ReceiptWindow.h"
#include "support/CliRun.h"
#include "support/PdfText.h"
#include "support/TestData.h"
#include "support/TestFiles.h"
#include "support/Widgets.h"
#include "templates/TemplateCache.h"
#include "templates/TemplateCatalog.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlQuery>
#include <QTest>

#include <optional>

using namespace moque;

namespace {

const QString kReceipt = QStringLiteral("普通发票收据");
const QString kFreight = QStringLiteral("国际货运发票");
const QString kExport = QStringLiteral("出口商品发票");
constexpr int kReceiptTemplate = 3; // 普通发票收据（通用收据）
constexpr int kFreightTemplate = 4; // 国际货运发票（国际货运代理发票）
constexpr int kExportTemplate = 5;  // 出口商品发票（通用出口发票）

// Where each kind keeps its bills, the display name of its template and the template's number.
struct KindData
{
    QString table;
    QString templateName;
    int templateId;
};
KindData kindData(const QString &kind)
{
    if (kind == kReceipt)
        return {QStringLiteral("DataCheckReceipt"), QStringLiteral("通用收据"), kReceiptTemplate};
    if (kind == kFreight)
        return {QStringLiteral("DataCheckIntel"), QStringLiteral("国际货运代理发票"), kFreightTemplate};
    return {QStringLiteral("DataCKSPTable"), QStringLiteral("通用出口发票"), kExportTemplate};
}

// "name=value" pairs of a data row.
QList<QPair<QString, QString>> pairs(const QStringList &list)
{
    QList<QPair<QString, QString>> result;
    for (const QString &item : list) {
        const qsizetype at = item.indexOf(QLatin1Char('='));
        result.append({item.left(at), item.mid(at + 1)});
    }
    return result;
}

// Text taken from a PDF can name 角 and 民 by their radical look-alikes.
QString plainText(QString text)
{
    return text.replace(QChar(0x2EC6), QChar(0x89D2)).replace(QChar(0x2EA0), QChar(0x6C11));
}

QString wordsText(const QList<test::PdfWord> &words)
{
    QStringList texts;
    for (const test::PdfWord &w : words)
        texts << QStringLiteral("%1@%2,%3").arg(w.text).arg(w.x, 0, 'f', 1).arg(w.y, 0, 'f', 1);
    return texts.join(QLatin1Char(' '));
}

} // namespace

class TestCliInvoices : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::TestData> m_data;
    QTemporaryDir m_out;

    test::CliRun cli(const QStringList &args) const
    {
        return test::runCli(QStringList{QStringLiteral("--data-dir"), m_data->tempDir.path()} + args);
    }

    // A saved bill of the kind's history table with the given columns; its 流水号.
    int saveBill(const QString &kind, const QStringList &columns)
    {
        const QString table = kindData(kind).table;
        QStringList names{QStringLiteral("票据状态")};
        QVariantList values{QStringLiteral("已用")};
        bool named = false;
        for (const auto &[column, value] : pairs(columns)) {
            names << QLatin1Char('"') + column + QLatin1Char('"');
            values << value;
            named = named || column == QLatin1String("模板种类");
        }
        if (!named) {
            names << QStringLiteral("模板种类");
            values << kindData(kind).templateName;
        }
        const QString marks = QStringList(QList<QString>(names.size(), QStringLiteral("?"))).join(QLatin1Char(','));
        if (!m_data->exec(QStringLiteral("insert into %1 (%2) values (%3)").arg(table, names.join(QLatin1Char(',')), marks),
                          values))
            return 0;
        return m_data->scalar(QStringLiteral("select max(流水号) from %1").arg(table)).toInt();
    }

    // Remembers print options of a template as 记住选项 does.
    bool setOptions(int templateId, const QStringList &options)
    {
        templates::TemplateCatalog catalog(m_data->db(), m_data->dialogs, m_data->core->store());
        templates::TemplateCache cache(catalog, m_data->dialogs, m_data->core->dir());
        for (const auto &[name, value] : pairs(options))
            if (!cache.setCheckConfigByName(templateId, name, value))
                return false;
        return cache.buildCheckIniFile(templateId);
    }

    // Where the template prints an item: the middle of its box and its top, in points.
    struct ItemPlace
    {
        double centre = 0;
        double top = 0;
        double left = 0;
        double right = 0;
    };
    // A digit sits in the middle of its box; a wider text (a currency code) covers the middle.
    static bool inBox(const test::PdfWord &word, const QString &value, const ItemPlace &place)
    {
        if (word.text != value || qAbs(word.y - place.top) > test::tenthsToPoints(10))
            return false;
        if (value.size() > 1)
            return word.x <= place.centre && place.centre <= word.x + word.width;
        return qAbs(word.x + word.width / 2 - place.centre) <= test::tenthsToPoints(2);
    }
    std::optional<ItemPlace> placeOf(int templateId, const QString &name)
    {
        QSqlQuery q(m_data->db());
        q.prepare(QStringLiteral("select c.CtlX,c.CtlY,c.CtlW,t.XMove,t.YMove from ckControl c join CKTypeTable t "
                                 "on t.CheckTypeID=c.CheckTypeID where c.CheckTypeID=? and upper(c.CtlName)=? "
                                 "and c.NeedPrint=1"));
        q.addBindValue(templateId);
        q.addBindValue(name.toUpper());
        if (!q.exec() || !q.next())
            return std::nullopt;
        const int left = q.value(0).toInt() + q.value(3).toInt();
        return ItemPlace{test::tenthsToPoints(left + q.value(2).toInt() / 2),
                         test::tenthsToPoints(q.value(1).toInt() + q.value(4).toInt()), test::tenthsToPoints(left),
                         test::tenthsToPoints(left + q.value(2).toInt())};
    }

    // Prints the window's bill into a PDF as 单张打印 does.
    bool printFromWindow(ui::EntryWindow &w, const QString &path)
    {
        m_data->dialogs.files.enqueue(path);
        test::click(&w, "btPrint1");
        return QFile::exists(path);
    }

private Q_SLOTS:
    void initTestCase()
    {
        app::installFontSubstitutions();
        QVERIFY(m_out.isValid());
    }
    void init()
    {
        m_data = std::make_unique<test::TestData>();
        QVERIFY(m_data->open());
        m_data->core->session().billPrinterName = QStringLiteral("PDF");
    }
    void cleanup() { m_data.reset(); }

    void digitsPrintInTheirBoxes_data()
    {
        QTest::addColumn<bool>("saved");          // a saved receipt, else values given per field
        QTest::addColumn<QStringList>("bill");    // saved columns, or field names of the values file
        QTest::addColumn<QStringList>("options"); // the template's remembered options
        QTest::addColumn<QStringList>("boxes");   // what each digit box prints

        QTest::newRow("saved, amount from quantity and price")
            << true << QStringList{"收费内容1=咨询费", "数量1=3", "单价1=41.23", "出票日期=2026-03-05"} << QStringList{}
            << QStringList{"zdBY1=1",   "zdSY1=2",   "zdY1=3",    "zdJ1=6",    "zdF1=9",   "zdBY6=1",
                           "zdSY6=2",   "zdY6=3",    "zdJ6=6",    "zdF6=9",    "zddxSW=零", "zddxWY=零",
                           "zddxQY=零", "zddxBY=壹", "zddxSY=贰", "zddxY=叁", "zddxJ=陆",  "zddxF=玖"};
        QTest::newRow("saved in US dollars, the code before each amount")
            << true << QStringList{"收费内容1=咨询费", "单价1=41.23", "金额1=41.23", "币种=美元"}
            << QStringList{"cfgJENeedSheep=1"}
            << QStringList{"zdBY1=USD", "zdSY1=4", "zdY1=1", "zdJ1=2", "zdF1=3", "zdBY6=USD", "zdSY6=4", "zddxSY=肆"};
        QTest::newRow("given, a computed line and a typed one")
            << false << QStringList{"zdSFNR1=咨询费", "zdSL1=2", "zdDJ1=150", "zdSFNR2=设计费", "zdJE2=￥1,005.3"}
            << QStringList{}
            << QStringList{"zdBY1=3",   "zdSY1=0",   "zdY1=0",    "zdJ1=0",    "zdF1=0",    "zdQY2=1",
                           "zdBY2=0",   "zdSY2=0",   "zdY2=5",    "zdJ2=3",    "zdF2=0",    "zdQY6=1",
                           "zdBY6=3",   "zdSY6=0",   "zdY6=5",    "zdJ6=3",    "zdF6=0",    "zddxSW=零",
                           "zddxWY=零", "zddxQY=壹", "zddxBY=叁", "zddxSY=零", "zddxY=伍", "zddxJ=叁", "zddxF=零"};
        QTest::newRow("given on a template remembering US dollars")
            << false << QStringList{"zdSL1=2", "zdDJ1=3.5"} << QStringList{"cfgDefaultMoney=美元", "cfgJENeedSheep=1"}
            << QStringList{"zdSY1=USD", "zdY1=7", "zdJ1=0", "zdF1=0", "zdSY6=USD", "zdY6=7", "zddxY=柒"};
        QTest::newRow("given on a ten-thousands form")
            << false << QStringList{"zdSL1=100", "zdDJ1=123.45"} << QStringList{"cfgJEDXFormat=00000.00 万位发票"}
            << QStringList{"zdWY1=1", "zdQY1=2", "zdBY1=3", "zdSY1=4", "zdY1=5", "zdJ1=0", "zdF1=0", "zddxWY=壹"};
    }
    // Each digit of an amount lands in the middle of its box on paper.
    void digitsPrintInTheirBoxes()
    {
        QFETCH(bool, saved);
        QFETCH(QStringList, bill);
        QFETCH(QStringList, options);
        QFETCH(QStringList, boxes);
        QVERIFY(setOptions(kReceiptTemplate, options));
        const QString pdf = m_out.filePath(QStringLiteral("digits.pdf"));
        QFile::remove(pdf);
        QStringList args{QStringLiteral("print"), QStringLiteral("--output"), pdf};
        if (saved) {
            const int id = saveBill(kReceipt, bill);
            QVERIFY(id > 0);
            args << QStringLiteral("--saved") << QStringLiteral("普通发票收据:%1").arg(id);
        } else {
            QJsonObject values;
            for (const auto &[name, value] : pairs(bill))
                values.insert(name, value);
            const QString file = m_out.filePath(QStringLiteral("values.json"));
            QVERIFY(test::writeFile(file, QJsonDocument(values).toJson()));
            args << QStringLiteral("--template") << QStringLiteral("普通发票收据（通用收据）") << QStringLiteral("--values")
                 << file;
        }
        const test::CliRun run = cli(args);
        QVERIFY2(run.exitCode == 0, qPrintable(run.err.join('|')));
        const QList<test::PdfWord> words = test::readPdfWords(pdf);
        for (const auto &[name, value] : pairs(boxes)) {
            const std::optional<ItemPlace> place = placeOf(kReceiptTemplate, name);
            QVERIFY2(place, qPrintable(name));
            const auto at = std::find_if(words.begin(), words.end(),
                                         [&](const test::PdfWord &word) { return inBox(word, value, *place); });
            QVERIFY2(at != words.end(), qPrintable(name + QLatin1Char('=') + value + QStringLiteral(" in ") + wordsText(words)));
        }
    }

    void windowAndCliPrintAlike_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QStringList>("bill");
        QTest::addColumn<QStringList>("options");

        QTest::newRow("receipt, two lines and a ticked box")
            << kReceipt
            << QStringList{"收费内容1=咨询费", "数量1=3",      "单价1=41.23",    "金额1=123.69",  "收费内容2=设计费",
                           "金额2=1005.3",     "合计金额=1128.99", "顾客名称=星河贸易", "收款人=李四", "开票人=王五",
                           "自定义1=合同12",   "其他选项=现金",   "出票日期=2026-03-05", "票据编号=00000007",
                           "销货方名称=墨雀科技", "备注=第一行\r\n第二行"}
            << QStringList{};
        QTest::newRow("receipt in US dollars with its options")
            << kReceipt
            << QStringList{"收费内容1=咨询费", "单价1=41.23", "金额1=41.23", "币种=美元", "出票日期=2009-03-05"}
            << QStringList{"cfgJENeedSheep=1", "cfg2YearChar=1", "cfgDateFormat=YYYY/MM/DD", "cfgHJJEXXWithYuan=1",
                           "cfgJEDXFormatNoStandard=1", "cfgJEDXYuan=1"};
        QTest::newRow("freight invoice in US dollars")
            << kFreight
            << QStringList{"收费内容1=海运费", "金额1=1000",      "收费内容2=港杂费", "数量2=2",
                           "单价2=50.5",       "金额2=101",       "收费内容6=报关费", "金额6=88",
                           "合计金额=1189",    "顾客名称=ACME",   "币种=美元",        "出票日期=2026-03-05",
                           "其他选项=海运,快件"}
            << QStringList{};
        QTest::newRow("export invoice in euros with FOB values")
            << kExport
            << QStringList{"购方单位=HarborTrading",  "购方地址=1 Quay Road",  "销方单位=墨雀科技",
                           "币种=欧元",               "当期汇率=100:785.5",    "合同号码=HT-2026-01",
                           "贸易方式=一般贸易",       "启运港=上海",           "目的港=Hamburg",
                           "订单号码1=PO-7",          "商品名称1=Tea",         "单位1=kg",
                           "数量1=1200",              "单价1=41.23",           "离岸价1=EUR48,000.5",
                           "商品名称2=Cups",          "单价2=2.5",             "离岸价2=2",
                           "出票日期=2026-03-05",     "票据编号=00000009",     "开票人=王五",
                           "勾选项=海运"}
            << QStringList{};
        QTest::newRow("export invoice in the template's currency, its looks stored off")
            << kExport
            << QStringList{"购方单位=ACME", "当期汇率= 100：790 ", "数量1=3", "单价1=1005.3", "离岸价1=3000",
                           "出票日期=2026-03-05"}
            << QStringList{"cfgDefaultMoney=欧元", "cfgJEDXWithMoneyName=0", "cfgTotalJEWithSheep=0",
                           "cfgRMBJEDXWithRMB=0", "cfgDateFormat=YYYY/MM/DD"};
        QTest::newRow("export invoice with a quantity longer than its box")
            << kExport
            << QStringList{"购方单位=ACME", "当期汇率=100:700", "数量1=1234567890.5678", "单价1=2", "出票日期=2026-03-05"}
            << QStringList{};
        QTest::newRow("freight invoice without the date")
            << kFreight
            << QStringList{"收费内容1=海运费", "金额1=2500",    "合计金额=2500",    "出票日期=2026-03-05",
                           "顾客名称=ACME",    "票据编号=00000008", "开票人=王五", "收款人=李四"}
            << QStringList{"cfgWantPrintRQ=0", "cfgTotalJEWithSheep=0", "cfgHJJENeedQianFF=0"};
    }
    // The window and the command line print a saved bill with the same words
    // at the same places; only the receipt's verification code is drawn anew.
    void windowAndCliPrintAlike()
    {
        QFETCH(QString, kind);
        QFETCH(QStringList, bill);
        QFETCH(QStringList, options);
        const bool receipt = kind == kReceipt;
        QVERIFY(setOptions(kindData(kind).templateId, options));
        const int id = saveBill(kind, bill);
        QVERIFY(id > 0);

        std::unique_ptr<ui::EntryWindow> w;
        if (receipt)
            w = std::make_unique<ui::ReceiptWindow>(*m_data->core);
        else if (kind == kFreight)
            w = std::make_unique<ui::FreightInvoiceWindow>(*m_data->core);
        else
            w = std::make_unique<ui::ExportInvoiceWindow>(*m_data->core);
        w->show();
        QVERIFY(w->openSavedBill(QString(), id));
        const QString windowPdf = m_out.filePath(QStringLiteral("window.pdf"));
        const QString cliPdf = m_out.filePath(QStringLiteral("cli.pdf"));
        QFile::remove(windowPdf);
        QFile::remove(cliPdf);
        QVERIFY2(printFromWindow(*w, windowPdf), qPrintable(m_data->dialogs.texts().join('|')));
        const QString code = w->values().value(QStringLiteral("zdCodeAuto")).text;
        w.reset();

        const test::CliRun run = cli({QStringLiteral("print"), QStringLiteral("--saved"),
                                      QStringLiteral("%1:%2").arg(kind).arg(id), QStringLiteral("--output"), cliPdf});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err.join('|')));

        QList<test::PdfWord> fromWindow = test::readPdfWords(windowPdf);
        QList<test::PdfWord> fromCli = test::readPdfWords(cliPdf);
        QVERIFY(fromWindow.size() > 5);
        // The verification code differs by design; a new one stands in its place.
        if (receipt) {
            const auto codeWord = std::find_if(fromWindow.begin(), fromWindow.end(),
                                               [&](const test::PdfWord &word) { return word.text == code; });
            QVERIFY2(codeWord != fromWindow.end(), qPrintable(code));
            const test::PdfWord windowCode = *codeWord;
            fromWindow.erase(codeWord);
            const auto newCode = std::find_if(fromCli.begin(), fromCli.end(), [&](const test::PdfWord &word) {
                return qAbs(word.x - windowCode.x) < 0.5 && qAbs(word.y - windowCode.y) < 0.5;
            });
            QVERIFY2(newCode != fromCli.end(), qPrintable(wordsText(fromCli)));
            QCOMPARE(newCode->text.size(), code.size());
            fromCli.erase(newCode);
        }
        for (const test::PdfWord &word : std::as_const(fromWindow)) {
            const auto same = std::find_if(fromCli.begin(), fromCli.end(), [&](const test::PdfWord &other) {
                return other.text == word.text && qAbs(other.x - word.x) < 0.3 && qAbs(other.y - word.y) < 0.3;
            });
            QVERIFY2(same != fromCli.end(), qPrintable(QStringLiteral("%1 not printed by the command line; it printed %2")
                                                           .arg(wordsText({word}), wordsText(fromCli))));
            fromCli.erase(same);
        }
        QVERIFY2(fromCli.isEmpty(), qPrintable(QStringLiteral("only the command line printed ") + wordsText(fromCli)));
    }

    void givenExportInvoice_data()
    {
        QTest::addColumn<QStringList>("bill");  // field names of the values file
        QTest::addColumn<QString>("keptRate");  // the rate kept for US dollars; empty: none
        QTest::addColumn<QStringList>("shown"); // what each computed item prints

        QTest::newRow("rate given, FOB values")
            << QStringList{"zdAmount1=1200", "zdPrice1=41.23", "zdD2Price1=48000.5", "zdPrice2=2.5",
                           "zdExchRate=100:785.5", "zdNianYueRi=2026-03-05"}
            << QString()
            << QStringList{"zdSum1=49,476.00",          "zdSum2=2.50",
                           "zdWaiHJXX=USD49478.50",     "ZDWAIHJDX=美元肆万玖仟肆佰柒拾捌元伍角整",
                           "zdRmbHJXX=RMB388653.62",    "zdRmbHJDX=人民币叁拾捌万捌仟陆佰伍拾叁元陆角贰分",
                           "zdFobWaiHJXX=USD48,000.50", "zdFobRmbHJXX=RMB377,043.93",
                           "zdWaiBiName=美元",          "zdExchRate=100:785.5",
                           "zdNianYueRi=2026年03月05日"};
        QTest::newRow("the rate kept for the currency")
            << QStringList{"zdAmount1=3", "zdPrice1=1005.3"} << QStringLiteral("100:690")
            << QStringList{"zdSum1=3,015.90", "zdWaiHJXX=USD3015.90", "zdRmbHJXX=RMB20809.71", "zdExchRate=100:690"};
        QTest::newRow("no rate anywhere")
            << QStringList{"zdAmount1=3", "zdPrice1=1005.3"} << QString()
            << QStringList{"zdWaiHJXX=USD3015.90", "zdRmbHJXX=RMB3015.90", "zdExchRate=100:100"};
    }
    // The boxes the window computes print from the quantities, prices, FOB
    // values and rate given, each at its item's place.
    void givenExportInvoice()
    {
        QFETCH(QStringList, bill);
        QFETCH(QString, keptRate);
        QFETCH(QStringList, shown);
        if (!keptRate.isEmpty())
            QVERIFY(m_data->core->options().setConfigByname(QStringLiteral("美元"), keptRate));
        QJsonObject values;
        for (const auto &[name, value] : pairs(bill))
            values.insert(name, value);
        const QString file = m_out.filePath(QStringLiteral("export.json"));
        QVERIFY(test::writeFile(file, QJsonDocument(values).toJson()));
        const QString pdf = m_out.filePath(QStringLiteral("export.pdf"));
        QFile::remove(pdf);
        const test::CliRun run = cli({QStringLiteral("print"), QStringLiteral("--template"),
                                      QStringLiteral("出口商品发票（通用出口发票）"), QStringLiteral("--values"), file,
                                      QStringLiteral("--output"), pdf});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err.join('|')));
        const QList<test::PdfWord> words = test::readPdfWords(pdf);
        for (const auto &[name, value] : pairs(shown)) {
            const std::optional<ItemPlace> place = placeOf(kExportTemplate, name);
            QVERIFY2(place, qPrintable(name));
            const auto at = std::find_if(words.begin(), words.end(), [&](const test::PdfWord &word) {
                return plainText(word.text) == value && qAbs(word.y - place->top) <= test::tenthsToPoints(10)
                    && word.x < place->right && word.x + word.width > place->left;
            });
            QVERIFY2(at != words.end(), qPrintable(name + QLatin1Char('=') + value + QStringLiteral(" in ") + wordsText(words)));
        }
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("kind");      // of the saved bill; empty: none saved
        QTest::addColumn<QStringList>("bill");  // saved columns
        QTest::addColumn<QStringList>("args");  // %1 is the saved bill's 流水号
        QTest::addColumn<QByteArray>("values"); // the values file, when args name one
        QTest::addColumn<QString>("error");

        const QString limit = QStringLiteral("溢出，发票金额合计“%1”大于限位[9999.99],请重填金额数量或者修改发票模版设置~");
        QTest::newRow("unknown receipt") << QString() << QStringList{} << QStringList{"--saved", "普通发票收据:999"}
                                         << QByteArray() << "没有流水号为999的普通发票收据";
        QTest::newRow("unknown freight invoice") << kReceipt << QStringList{"金额1=5", "合计金额=5"}
                                                 << QStringList{"--saved", "国际货运发票:%1"} << QByteArray()
                                                 << "的国际货运发票";
        QTest::newRow("unknown kind") << QString() << QStringList{} << QStringList{"--saved", "增值税发票:1"}
                                      << QByteArray()
                                      << "--saved takes 快递单:流水号, 普通发票收据:流水号, 国际货运发票:流水号 or 出口商品发票:流水号";
        QTest::newRow("no number") << QString() << QStringList{} << QStringList{"--saved", "普通发票收据:七"}
                                   << QByteArray() << "--saved takes";
        QTest::newRow("saved total beyond the form")
            << kReceipt << QStringList{"金额1=9000", "金额2=3345.67", "合计金额=12345.67"}
            << QStringList{"--saved", "普通发票收据:%1"} << QByteArray() << limit.arg("12345.67");
        QTest::newRow("template gone") << kReceipt << QStringList{"模板种类=旧收据", "金额1=5"}
                                       << QStringList{"--saved", "普通发票收据:%1"} << QByteArray()
                                       << "普通发票收据模板(旧收据)不存在或被重命名了";
        QTest::newRow("given total beyond the form")
            << QString() << QStringList{} << QStringList{"--template", "普通发票收据（通用收据）", "--values", "v.json"}
            << QByteArray(R"({"zdSL1": "100", "zdDJ1": "100"})") << limit.arg("10000.00");
        QTest::newRow("given quantity not a number")
            << QString() << QStringList{} << QStringList{"--template", "普通发票收据（通用收据）", "--values", "v.json"}
            << QByteArray(R"({"zdSL1": "三", "zdDJ1": "100"})") << "非法的数量或单价(必须是英文半角的数字和.)！";
        QTest::newRow("unknown export invoice") << kFreight << QStringList{"金额1=5", "合计金额=5"}
                                                << QStringList{"--saved", "出口商品发票:%1"} << QByteArray()
                                                << "的出口商品发票";
        const QString badQuantity = QStringLiteral("非法的数量或单价(必须是英文半角的数字和.)！");
        QTest::newRow("saved export quantity not a number")
            << kExport << QStringList{"购方单位=ACME", "当期汇率=100:700", "数量1=3", "数量2=三", "单价2=5"}
            << QStringList{"--saved", "出口商品发票:%1"} << QByteArray() << badQuantity;
        QTest::newRow("saved export price not a number")
            << kExport << QStringList{"购方单位=ACME", "当期汇率=100:700", "单价1=5元"}
            << QStringList{"--saved", "出口商品发票:%1"} << QByteArray() << badQuantity;
        QTest::newRow("saved FOB value not a number")
            << kExport << QStringList{"购方单位=ACME", "当期汇率=100:700", "数量1=3", "单价1=5", "离岸价3=FOB"}
            << QStringList{"--saved", "出口商品发票:%1"} << QByteArray()
            << "请输入正确的离岸价(如：256.89 或 USD256.89)！";
        QTest::newRow("saved rate not readable")
            << kExport << QStringList{"购方单位=ACME", "当期汇率=ab:cd", "数量1=3", "单价1=5"}
            << QStringList{"--saved", "出口商品发票:%1"} << QByteArray() << "没有输入正确的汇率(如: 100:680.23等)！";
        QTest::newRow("saved rate of no foreign units")
            << kExport << QStringList{"购方单位=ACME", "当期汇率=00:50", "数量1=3", "单价1=5"}
            << QStringList{"--saved", "出口商品发票:%1"} << QByteArray() << "无效的外汇汇率！";
        QTest::newRow("given export price not a number")
            << QString() << QStringList{} << QStringList{"--template", "出口商品发票（通用出口发票）", "--values", "v.json"}
            << QByteArray(R"([{"zdAmount1": "2", "zdPrice1": "3"}, {"zdAmount1": "2", "zdPrice1": "3,5"}])")
            << "bill 2: " + badQuantity;
        QTest::newRow("given FOB value not a number")
            << QString() << QStringList{} << QStringList{"--template", "出口商品发票（通用出口发票）", "--values", "v.json"}
            << QByteArray(R"({"zdAmount1": "2", "zdPrice1": "3", "zdD2Price1": "USD"})")
            << "请输入正确的离岸价(如：256.89 或 USD256.89)！";
        QTest::newRow("given line amount not a number")
            << QString() << QStringList{}
            << QStringList{"--template", "国际货运发票（国际货运代理发票）", "--values", "v.json"}
            << QByteArray(R"([{"zdJE1": "12"}, {"zdJE3": "十二"}])") << "bill 2: zdJE3: 错误,非法的数值或溢出！";
    }
    // Nothing is printed, the reason is one line and the exit status says it failed.
    void refusals()
    {
        QFETCH(QString, kind);
        QFETCH(QStringList, bill);
        QFETCH(QStringList, args);
        QFETCH(QByteArray, values);
        QFETCH(QString, error);
        const int id = kind.isEmpty() ? 0 : saveBill(kind, bill);
        QVERIFY(kind.isEmpty() || id > 0);
        const QString pdf = m_out.filePath(QStringLiteral("refused.pdf"));
        QFile::remove(pdf);
        QStringList full{QStringLiteral("print"), QStringLiteral("--output"), pdf};
        for (const QString &arg : std::as_const(args)) {
            if (arg == QLatin1String("v.json")) {
                QVERIFY(test::writeFile(m_out.filePath(arg), values));
                full << m_out.filePath(arg);
            } else {
                full << (arg.contains(QLatin1String("%1")) ? arg.arg(id) : arg);
            }
        }
        const test::CliRun run = cli(full);
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.err.size(), 1);
        QVERIFY2(run.err.first().contains(error), qPrintable(run.err.first()));
        QVERIFY(!QFile::exists(pdf));
    }
};

QTEST_MAIN(TestCliInvoices)
#include "test_cli_invoices.moc"
