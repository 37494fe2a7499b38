#include "entry/Amounts.h"
#include "entry/InvoiceAmounts.h"
#include "entry/ReceiptAids.h"

#include <QTest>

using namespace moque::entry;

namespace {

// Eleven box texts written as one character each, "_" for an empty box.
QStringList boxTexts(const QString &pattern)
{
    QStringList texts;
    for (const QChar c : pattern)
        texts << (c == u'_' ? QString() : QString(c));
    return texts;
}

QStringList valuesOf(const QHash<QString, QString> &boxes, const QStringList &names)
{
    QStringList texts;
    for (const QString &name : names) {
        if (!boxes.contains(name))
            texts << QStringLiteral("<missing %1>").arg(name);
        else
            texts << boxes.value(name);
    }
    return texts;
}

// The receipt's default look with the code "￥", changed by blank-separated
// words: +lineSign -lineSign +lineThousands -lineThousands +totalSign
// +totalThousands -withYuan -rmbPrefix -capitalYuan -nonStandard name=… code=…
AmountLook lookOf(const QString &changes)
{
    AmountLook look;
    look.currencyCode = QStringLiteral("￥");
    for (const QString &word : changes.split(u' ', Qt::SkipEmptyParts)) {
        if (word == QLatin1String("+lineSign") || word == QLatin1String("-lineSign"))
            look.lineCurrencySign = word.startsWith(u'+');
        else if (word == QLatin1String("+lineThousands") || word == QLatin1String("-lineThousands"))
            look.lineThousands = word.startsWith(u'+');
        else if (word == QLatin1String("+totalSign"))
            look.totalCurrencySign = true;
        else if (word == QLatin1String("+totalThousands"))
            look.totalThousands = true;
        else if (word == QLatin1String("-withYuan"))
            look.totalWithYuan = false;
        else if (word == QLatin1String("-rmbPrefix"))
            look.capitalWithCurrency = false;
        else if (word == QLatin1String("-capitalYuan"))
            look.capitalYuan = false;
        else if (word == QLatin1String("-nonStandard"))
            look.nonStandardCapital = false;
        else if (word.startsWith(QLatin1String("name=")))
            look.currencyName = word.mid(5);
        else if (word.startsWith(QLatin1String("code=")))
            look.currencyCode = word.mid(5);
        else
            qFatal("unknown look word %s", qPrintable(word));
    }
    return look;
}

// The export invoice's look: +total +capitalName +rmbCapital name=… code=…
ExportLook exportLookOf(const QString &changes)
{
    ExportLook look;
    look.currencyName = QStringLiteral("美元");
    look.currencyCode = QStringLiteral("USD");
    for (const QString &word : changes.split(u' ', Qt::SkipEmptyParts)) {
        if (word == QLatin1String("+total"))
            look.totalWithCurrency = true;
        else if (word == QLatin1String("+capitalName"))
            look.capitalWithCurrencyName = true;
        else if (word == QLatin1String("+rmbCapital"))
            look.rmbCapitalWithRmb = true;
        else if (word.startsWith(QLatin1String("name=")))
            look.currencyName = word.mid(5);
        else if (word.startsWith(QLatin1String("code=")))
            look.currencyCode = word.mid(5);
        else
            qFatal("unknown export look word %s", qPrintable(word));
    }
    return look;
}

QStringList sevenLines(QStringList lines)
{
    while (lines.size() < 7)
        lines << QString();
    return lines;
}

const QString kReceiptRange = QStringLiteral("金额值必须介于0~1,000,000,000之间！");
const QString kFreightRange = QStringLiteral("金额值必须小于1,000,000,000之间！");
const QString kThousandChoice = QStringLiteral("     0000.00 千位发票");
const QString kHundredChoice = QStringLiteral("      000.00 百位发票");

} // namespace

Q_DECLARE_METATYPE(InvoiceForm)

class TestInvoiceAmounts : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void boxNames()
    {
        const QStringList row3 = digitBoxNames(3);
        QCOMPARE(row3,
                 (QStringList{"zdYY3", "zdQW3", "zdBW3", "zdSW3", "zdWY3", "zdQY3", "zdBY3", "zdSY3", "zdY3",
                              "zdJ3", "zdF3"}));
        QCOMPARE(capitalBoxNames(),
                 (QStringList{"zddxYY", "zddxQW", "zddxBW", "zddxSW", "zddxWY", "zddxQY", "zddxBY", "zddxSY",
                              "zddxY", "zddxJ", "zddxF"}));
        QCOMPARE(digitBoxNames(kTotalRow).constLast(), QStringLiteral("zdF6"));
    }

    void lineRowBoxes_data()
    {
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("look");
        QTest::addColumn<QString>("expected");
        QTest::newRow("0.29 fills jiao and fen") << "0.29" << "-lineSign" << "_________29";
        QTest::newRow("0.29 with the code above") << "0.29" << "" << "________￥29";
        QTest::newRow("12.50 with the code in zdBY") << "12.50" << "" << "______￥1250";
        QTest::newRow("12.50 without the code") << "12.50" << "-lineSign" << "_______1250";
        QTest::newRow("rounded to the fen") << "12.505" << "" << "______￥1251";
        QTest::newRow("separators read") << "1,005.30" << "" << "____￥100530";
        QTest::newRow("ten digits: code in zdYY") << "12345678.90" << "" << "￥1234567890";
        QTest::newRow("eleven digits: no room for the code") << "123456789.01" << "" << "12345678901";
        QTest::newRow("digits beyond eleven dropped") << "1234567890.12" << "" << "23456789012";
        QTest::newRow("below a fen yet above 0") << "0.004" << "" << "_________￥0";
        QTest::newRow("other code") << "12.5" << "code=$" << "______$1250";
        QTest::newRow("empty code leaves the box empty") << "12.5" << "code=" << "_______1250";
        QTest::newRow("zero clears") << "0" << "" << "___________";
        QTest::newRow("negative clears") << "-5" << "" << "___________";
        QTest::newRow("not a number clears") << "abc" << "" << "___________";
        QTest::newRow("empty clears") << "" << "" << "___________";
    }
    void lineRowBoxes()
    {
        QFETCH(QString, amount);
        QFETCH(QString, look);
        QFETCH(QString, expected);
        for (int row = 1; row <= 5; ++row) {
            const QHash<QString, QString> boxes = digitBoxesOf(row, amount, lookOf(look));
            QCOMPARE(valuesOf(boxes, digitBoxNames(row)), boxTexts(expected));
            // A line row owns its eleven boxes only.
            QCOMPARE(boxes.size(), 11);
        }
    }

    void totalRowBoxes_data()
    {
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("digits");
        QTest::addColumn<QString>("capital");
        QTest::newRow("1005.30") << "1005.30" << "____￥100530" << "零零零零零壹零零伍叁零";
        QTest::newRow("0.29") << "0.29" << "________￥29" << "零零零零零零零零零贰玖";
        QTest::newRow("largest total") << "999999999.99" << "99999999999" << "玖玖玖玖玖玖玖玖玖玖玖";
        QTest::newRow("too many digits for the capital boxes")
            << "1000000000" << "00000000000" << "___________";
        QTest::newRow("zero clears both rows") << "0" << "___________" << "___________";
    }
    void totalRowBoxes()
    {
        QFETCH(QString, amount);
        QFETCH(QString, digits);
        QFETCH(QString, capital);
        const QHash<QString, QString> boxes = digitBoxesOf(kTotalRow, amount, lookOf({}));
        QCOMPARE(valuesOf(boxes, digitBoxNames(kTotalRow)), boxTexts(digits));
        QCOMPARE(valuesOf(boxes, capitalBoxNames()), boxTexts(capital));
        QCOMPARE(boxes.size(), 22);
    }

    void lineLooks_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("charge");
        QTest::addColumn<QString>("look");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("boxes");
        QTest::newRow("12.50 with the code") << "12.50" << "运费" << "" << "￥12.50" << "______￥1250";
        QTest::newRow("trimmed") << " 7 " << "运费" << "" << "￥7.00" << "_______￥700";
        QTest::newRow("rounded half up") << "12.505" << "运费" << "" << "￥12.51" << "______￥1251";
        QTest::newRow("separators") << "1234567" << "运费" << "-lineSign" << "1,234,567.00" << "__123456700";
        QTest::newRow("no separators") << "1234567" << "运费" << "-lineSign -lineThousands" << "1234567.00"
                                       << "__123456700";
        QTest::newRow("zero without a charge emptied") << "0" << "" << "" << "" << "___________";
        QTest::newRow("plain zero without a charge emptied") << "0.00" << "" << "-lineSign" << ""
                                                             << "___________";
        QTest::newRow("zero with a charge kept") << "0" << "运费" << "" << "￥0.00" << "___________";
        QTest::newRow("only the listed zero texts are emptied") << "0" << "" << "code=$" << "$0.00"
                                                                << "___________";
        QTest::newRow("below a fen shows as zero") << "0.004" << "" << "" << "" << "_________￥0";
        QTest::newRow("empty") << "" << "运费" << "" << "" << "___________";
        QTest::newRow("negative shown, no boxes") << "-5" << "运费" << "" << "￥-5.00" << "___________";
    }
    void lineLooks()
    {
        QFETCH(QString, typed);
        QFETCH(QString, charge);
        QFETCH(QString, look);
        QFETCH(QString, shown);
        QFETCH(QString, boxes);
        const LineLook line = lineLook(4, typed, charge, lookOf(look));
        QVERIFY(!line.invalid);
        QCOMPARE(line.shown, shown);
        QCOMPARE(valuesOf(line.boxes, digitBoxNames(4)), boxTexts(boxes));
    }

    void lineLookInvalid_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("letters") << "abc";
        QTest::newRow("separators") << "1,005";
        QTest::newRow("two points") << "1.2.3";
        QTest::newRow("too large") << "123456789012345678";
    }
    void lineLookInvalid()
    {
        QFETCH(QString, typed);
        const LineLook line = lineLook(2, typed, QStringLiteral("运费"), lookOf({}));
        QVERIFY(line.invalid);
        QVERIFY(line.shown.isEmpty());
        // The boxes keep what they showed.
        QVERIFY(line.boxes.isEmpty());
    }

    void sums_data()
    {
        QTest::addColumn<QStringList>("amounts");
        QTest::addColumn<QString>("choice");
        QTest::addColumn<InvoiceForm>("form");
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("message");
        const QString overflow1000 =
            QStringLiteral("溢出，发票金额合计“1000.00”大于限位[999.99],请重填金额数量或者修改发票模版设置~");
        const QString failed = QStringLiteral("金额汇总合计失败-") + kNotANumber;
        QTest::newRow("sum of lines") << QStringList{"12.5", "7.25", "", "", ""} << kThousandChoice
                                      << InvoiceForm::Receipt << "19.75" << "";
        QTest::newRow("exact in fen") << QStringList{"0.1", "0.2"} << kThousandChoice << InvoiceForm::Receipt
                                      << "0.3" << "";
        QTest::newRow("1000 against 百位发票") << QStringList{"600", "400"} << kHundredChoice
                                               << InvoiceForm::Receipt << "0" << overflow1000;
        QTest::newRow("at the limit") << QStringList{"999.99"} << kHundredChoice << InvoiceForm::Receipt
                                      << "999.99" << "";
        QTest::newRow("no choice means 百位发票") << QStringList{"1000"} << "" << InvoiceForm::Receipt << "0"
                                                  << overflow1000;
        QTest::newRow("亿位发票") << QStringList{"999999999.99"} << "000000000.00 亿位发票"
                                  << InvoiceForm::Receipt << "999999999.99" << "";
        QTest::newRow("freight has no limit") << QStringList{"600", "400"} << kHundredChoice
                                              << InvoiceForm::Freight << "1000" << "";
        QTest::newRow("no lines") << QStringList{} << kThousandChoice << InvoiceForm::Receipt << "0" << "";
        QTest::newRow("blank lines skipped") << QStringList{" ", ""} << kThousandChoice << InvoiceForm::Receipt
                                             << "0" << "";
        QTest::newRow("negative line") << QStringList{"10", "-2.5"} << kThousandChoice << InvoiceForm::Receipt
                                       << "7.5" << "";
        QTest::newRow("unreadable line") << QStringList{"12", "abc"} << kThousandChoice << InvoiceForm::Receipt
                                         << "0" << failed;
        QTest::newRow("unreadable freight line") << QStringList{"12", "1..2"} << kThousandChoice
                                                 << InvoiceForm::Freight << "0" << failed;
    }
    void sums()
    {
        QFETCH(QStringList, amounts);
        QFETCH(QString, choice);
        QFETCH(InvoiceForm, form);
        QFETCH(QString, total);
        QFETCH(QString, message);
        const SumResult sum = sumLines(amounts, choice, form);
        QCOMPARE(sum.total, total);
        QCOMPARE(sum.message, message);
    }

    void totals_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("look");
        QTest::addColumn<InvoiceForm>("form");
        QTest::addColumn<QString>("plain");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("capital");
        const auto receipt = InvoiceForm::Receipt;
        QTest::newRow("defaults: non-standard with 圆") << "1005.3" << "" << receipt << "1005.30" << "1005.30元"
                                                         << "人民币壹仟零佰零拾伍圆叁角零分";
        QTest::newRow("standard") << "1005.3" << "-nonStandard" << receipt << "1005.30" << "1005.30元"
                                  << "人民币壹仟零伍圆叁角整";
        QTest::newRow("standard with 元") << "1005.3" << "-nonStandard -capitalYuan" << receipt << "1005.30"
                                          << "1005.30元" << "人民币壹仟零伍元叁角整";
        QTest::newRow("人民币 only when ticked") << "1005.3" << "-nonStandard -capitalYuan -rmbPrefix" << receipt
                                                 << "1005.30" << "1005.30元" << "壹仟零伍元叁角整";
        QTest::newRow("美元 unticked") << "1005.3" << "-nonStandard -capitalYuan -rmbPrefix name=美元"
                                       << receipt << "1005.30" << "1005.30元" << "美元壹仟零伍元叁角整";
        QTest::newRow("美元 ticked") << "1005.3" << "-nonStandard -capitalYuan name=美元" << receipt
                                     << "1005.30" << "1005.30元" << "美元壹仟零伍元叁角整";
        QTest::newRow("圆 replaces every 元") << "1005.3" << "-nonStandard name=美元" << receipt << "1005.30"
                                              << "1005.30元" << "美圆壹仟零伍圆叁角整";
        QTest::newRow("non-standard skips leading zeros") << "0.05" << "-capitalYuan" << receipt << "0.05"
                                                           << "0.05元" << "人民币伍分";
        QTest::newRow("non-standard keeps inner zeros") << "20000000.1" << "-capitalYuan" << receipt
                                                         << "20000000.10" << "20000000.10元"
                                                         << "人民币贰仟零佰零拾零万零仟零佰零拾零元壹角零分";
        QTest::newRow("standard without 零 before 壹角") << "20000000.1" << "-nonStandard -capitalYuan"
                                                          << receipt << "20000000.10" << "20000000.10元"
                                                          << "人民币贰仟万元壹角整";
        QTest::newRow("code and separators") << "1234567.8" << "+totalSign +totalThousands" << receipt
                                             << "1234567.80" << "￥1,234,567.80元"
                                             << "人民币壹佰贰拾叁万肆仟伍佰陆拾柒圆捌角零分";
        QTest::newRow("code without separators") << "1234567.8" << "+totalSign -nonStandard" << receipt
                                                 << "1234567.80" << "￥1234567.80元"
                                                 << "人民币壹佰贰拾叁万肆仟伍佰陆拾柒圆捌角整";
        QTest::newRow("no 元") << "12" << "-withYuan -nonStandard -rmbPrefix" << receipt << "12.00" << "12.00"
                               << "壹拾贰圆整";
        QTest::newRow("largest accepted") << "999999999.99" << "-nonStandard -capitalYuan -rmbPrefix" << receipt
                                          << "999999999.99" << "999999999.99元"
                                          << "玖亿玖仟玖佰玖拾玖万玖仟玖佰玖拾玖元玖角玖分";
        QTest::newRow("blank padded") << " 88 " << "-nonStandard -rmbPrefix" << receipt << "88.00" << "88.00元"
                                      << "捌拾捌圆整";
        QTest::newRow("freight like the receipt") << "1005.3" << "+totalSign +totalThousands"
                                                  << InvoiceForm::Freight << "1005.30" << "￥1,005.30元"
                                                  << "人民币壹仟零佰零拾伍圆叁角零分";
        QTest::newRow("freight negative") << "-5" << "-nonStandard -capitalYuan" << InvoiceForm::Freight
                                          << "-5.00" << "-5.00元" << "人民币负伍元整";
    }
    void totals()
    {
        QFETCH(QString, text);
        QFETCH(QString, look);
        QFETCH(InvoiceForm, form);
        QFETCH(QString, plain);
        QFETCH(QString, shown);
        QFETCH(QString, capital);
        const TotalLook total = totalLook(text, lookOf(look), form);
        QVERIFY2(total.message.isEmpty(), qPrintable(total.message));
        QVERIFY(total.caption.isEmpty());
        QVERIFY(!total.zero);
        QCOMPARE(total.plain, plain);
        QCOMPARE(total.shown, shown);
        QCOMPARE(total.capital, capital);
    }

    void totalBoxes()
    {
        const TotalLook receipt = totalLook(QStringLiteral("1005.3"), lookOf({}), InvoiceForm::Receipt);
        QCOMPARE(valuesOf(receipt.boxes, digitBoxNames(kTotalRow)), boxTexts(QStringLiteral("____￥100530")));
        QCOMPARE(valuesOf(receipt.boxes, capitalBoxNames()), boxTexts(QStringLiteral("零零零零零壹零零伍叁零")));

        // The freight invoice has only the capital boxes.
        const TotalLook freight = totalLook(QStringLiteral("1005.3"), lookOf({}), InvoiceForm::Freight);
        QCOMPARE(freight.boxes.size(), 11);
        QCOMPARE(valuesOf(freight.boxes, capitalBoxNames()), boxTexts(QStringLiteral("零零零零零壹零零伍叁零")));

        const TotalLook negative = totalLook(QStringLiteral("-5"), lookOf({}), InvoiceForm::Freight);
        QCOMPARE(valuesOf(negative.boxes, capitalBoxNames()), boxTexts(QStringLiteral("___________")));
    }

    void zeroTotals_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<InvoiceForm>("form");
        QTest::addColumn<QString>("capital");
        QTest::addColumn<int>("boxCount");
        QTest::newRow("receipt empty") << "" << InvoiceForm::Receipt << "" << 22;
        QTest::newRow("receipt 0") << "0" << InvoiceForm::Receipt << "" << 22;
        QTest::newRow("receipt below a fen") << "0.001" << InvoiceForm::Receipt << "" << 22;
        QTest::newRow("freight 0.00") << "0.00" << InvoiceForm::Freight << "零元整" << 11;
        QTest::newRow("freight empty") << "" << InvoiceForm::Freight << "零元整" << 11;
    }
    void zeroTotals()
    {
        QFETCH(QString, text);
        QFETCH(InvoiceForm, form);
        QFETCH(QString, capital);
        QFETCH(int, boxCount);
        const TotalLook total = totalLook(text, lookOf(QStringLiteral("+totalSign")), form);
        QVERIFY(total.message.isEmpty());
        QVERIFY(total.zero);
        QCOMPARE(total.plain, QStringLiteral("0.00"));
        QVERIFY(total.shown.isEmpty());
        QCOMPARE(total.capital, capital);
        QCOMPARE(total.boxes.size(), boxCount);
        for (auto it = total.boxes.cbegin(); it != total.boxes.cend(); ++it)
            QVERIFY2(it.value().isEmpty(), qPrintable(it.key()));
        QVERIFY(total.boxes.contains(QStringLiteral("zddxF")));
    }

    void refusedTotals_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<InvoiceForm>("form");
        QTest::addColumn<QString>("message");
        QTest::newRow("a billion") << "1000000000" << InvoiceForm::Receipt << kReceiptRange;
        QTest::newRow("rounds up to a billion") << "999999999.995" << InvoiceForm::Receipt << kReceiptRange;
        QTest::newRow("negative") << "-1" << InvoiceForm::Receipt << kReceiptRange;
        QTest::newRow("letters") << "12元" << InvoiceForm::Receipt << kNotANumber;
        QTest::newRow("freight billion") << "1000000000" << InvoiceForm::Freight << kFreightRange;
        QTest::newRow("freight letters") << "abc" << InvoiceForm::Freight << kNotANumber;
    }
    void refusedTotals()
    {
        QFETCH(QString, text);
        QFETCH(InvoiceForm, form);
        QFETCH(QString, message);
        const TotalLook total = totalLook(text, lookOf({}), form);
        QCOMPARE(total.message, message);
        QCOMPARE(total.caption, QStringLiteral("金额输入"));
        QVERIFY(total.plain.isEmpty());
        QVERIFY(total.shown.isEmpty());
        QVERIFY(total.capital.isEmpty());
        QVERIFY(total.boxes.isEmpty());
        QVERIFY(!total.zero);
    }

    // The receipt's own way from typed lines to the total, as the window chains it.
    void linesToTotal()
    {
        const SumResult sum = sumLines({QStringLiteral("600"), QStringLiteral("405.3")}, kThousandChoice,
                                       InvoiceForm::Receipt);
        const TotalLook total = totalLook(sum.total, lookOf(QStringLiteral("-nonStandard")), InvoiceForm::Receipt);
        QCOMPARE(total.plain, QStringLiteral("1005.30"));
        QCOMPARE(total.capital, QStringLiteral("人民币壹仟零伍圆叁角整"));

        const SumResult over = sumLines({QStringLiteral("600"), QStringLiteral("400")}, kHundredChoice,
                                        InvoiceForm::Receipt);
        QVERIFY(totalLook(over.total, lookOf({}), InvoiceForm::Receipt).zero);
    }

    void exportLines_data()
    {
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("error");
        QTest::newRow("no price") << "3" << "" << "0.00" << "";
        QTest::newRow("no quantity") << "" << "2.5" << "2.50" << "";
        QTest::newRow("both empty") << " " << "" << "" << "";
        QTest::newRow("separators") << "1000" << "1234.5" << "1,234,500.00" << "";
        QTest::newRow("half away from zero") << "1.5" << "0.333" << "0.50" << "";
        QTest::newRow("trimmed") << " 2 " << " 3 " << "6.00" << "";
        QTest::newRow("letters") << "abc" << "1" << "" << kBadQuantityOrPrice;
    }
    void exportLines()
    {
        QFETCH(QString, quantity);
        QFETCH(QString, price);
        QFETCH(QString, amount);
        QFETCH(QString, error);
        const ExportLine line = exportLineSum(quantity, price);
        QCOMPARE(line.amount, amount);
        QCOMPARE(line.error, error);
    }

    void exportSums_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QString>("look");
        QTest::addColumn<QStringList>("expected"); // foreign, capital, rmb, rmb capital, rate message, rate
        QTest::newRow("plain totals")
            << QStringList{"1,234.50", "100.00"} << "100:680.23" << ""
            << QStringList{"1334.50", "壹仟叁佰叁拾肆元伍角整", "9077.67", "玖仟零柒拾柒元陆角柒分", "",
                           "100:680.23"};
        QTest::newRow("with currency prefixes")
            << QStringList{"1,234.50", "100.00"} << "100:680.23" << "+total +capitalName +rmbCapital"
            << QStringList{"USD1334.50", "美元壹仟叁佰叁拾肆元伍角整", "RMB9077.67", "人民币玖仟零柒拾柒元陆角柒分",
                           "", "100:680.23"};
        QTest::newRow("code before the amount, full-width colon")
            << QStringList{"", "USD1,000.00"} << " 100：700 " << ""
            << QStringList{"1000.00", "壹仟元整", "7000.00", "柒仟元整", "", "100:700"};
        QTest::newRow("only sixteen characters read")
            << QStringList{"1,234,567,890.125"} << "100:100" << ""
            << QStringList{"1234567890.12", "壹拾贰亿叁仟肆佰伍拾陆万柒仟捌佰玖拾元壹角贰分", "1234567890.12",
                           "壹拾贰亿叁仟肆佰伍拾陆万柒仟捌佰玖拾元壹角贰分", "", "100:100"};
        QTest::newRow("no amounts")
            << QStringList{} << "100:680.23" << "+total"
            << QStringList{"", "零元整", "RMB0.00", "零元整", "", "100:680.23"};
        QTest::newRow("rate missing") << QStringList{"10"} << "  " << ""
                                      << QStringList{"10.00", "壹拾元整", "0.00", "零元整", "没有输入汇率！", ""};
        QTest::newRow("zero rate") << QStringList{"10"} << "0.0:5.0" << ""
                                   << QStringList{"10.00", "壹拾元整", "0.00", "零元整", "无效的外汇汇率！", "0.0:5.0"};
        // The rate pattern wants two characters on each side of the colon.
        QTest::newRow("rate 0:5")
            << QStringList{"10"} << "0:5" << ""
            << QStringList{"10.00", "壹拾元整", "0.00", "零元整", "没有输入正确的汇率(如: 100:680.23等)！", "0:5"};
        QTest::newRow("rate malformed")
            << QStringList{"10"} << "680" << ""
            << QStringList{"10.00", "壹拾元整", "0.00", "零元整", "没有输入正确的汇率(如: 100:680.23等)！", "680"};
    }
    void exportSums()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, rate);
        QFETCH(QString, look);
        QFETCH(QStringList, expected);
        const ExportTotals totals = exportTotals(sevenLines(lines), rate, exportLookOf(look));
        QVERIFY2(totals.message.isEmpty(), qPrintable(totals.message));
        QCOMPARE(totals.badLine, 0);
        QCOMPARE((QStringList{totals.foreign, totals.foreignCapital, totals.rmb, totals.rmbCapital,
                              totals.rateMessage, totals.cleanedRate}),
                 expected);
    }

    void exportBadLines_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("badLine");
        QTest::addColumn<QString>("text");
        QTest::newRow("letters") << QStringList{"10", "", "abc"} << 3 << "abc";
        QTest::newRow("points only") << QStringList{"..."} << 1 << "...";
        QTest::newRow("separator only") << QStringList{"", "", "", "", "", "", "USD,"} << 7 << "USD,";
        QTest::newRow("first bad line wins") << QStringList{"1", "x", "y"} << 2 << "x";
    }
    void exportBadLines()
    {
        QFETCH(QStringList, lines);
        QFETCH(int, badLine);
        QFETCH(QString, text);
        const ExportTotals totals = exportTotals(sevenLines(lines), QStringLiteral("100:680"), exportLookOf({}));
        QCOMPARE(totals.badLine, badLine);
        QCOMPARE(totals.message, QStringLiteral("不正确的金额(") + text + QStringLiteral(")！"));
        QVERIFY(totals.foreign.isEmpty() && totals.foreignCapital.isEmpty());
        QVERIFY(totals.rmb.isEmpty() && totals.rmbCapital.isEmpty());
        QVERIFY(totals.rateMessage.isEmpty() && totals.cleanedRate.isEmpty());

        const FobTotals fob = fobTotals(sevenLines(lines), QStringLiteral("100:680"), exportLookOf({}));
        QCOMPARE(fob.badLine, badLine);
        QCOMPARE(fob.message, QStringLiteral("请输入正确的离岸价(如：256.89 或 USD256.89)！"));
        QVERIFY(fob.foreign.isEmpty() && fob.rmb.isEmpty());
    }

    void fobSums_data()
    {
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QStringList>("expected"); // foreign, rmb, rate message, rate
        QTest::newRow("code and separators") << QStringList{"256.89", "USD1,000"} << "100:700"
                                             << QStringList{"USD1,256.89", "RMB8,798.23", "", "100:700"};
        QTest::newRow("full-width colon") << QStringList{"100"} << "100：680.23"
                                          << QStringList{"USD100.00", "RMB680.23", "", "100:680.23"};
        QTest::newRow("zero sum leaves both empty, rate unread")
            << QStringList{"", "0.00"} << "" << QStringList{"", "", "", ""};
        QTest::newRow("zero rate") << QStringList{"100"} << "00:50"
                                   << QStringList{"USD100.00", "", "无效的外汇汇率！", "00:50"};
        QTest::newRow("rate missing") << QStringList{"100"} << ""
                                      << QStringList{"USD100.00", "", "没有输入汇率！", ""};
    }
    void fobSums()
    {
        QFETCH(QStringList, values);
        QFETCH(QString, rate);
        QFETCH(QStringList, expected);
        // The FOB total prints its code and RMB whatever the total options say.
        const FobTotals fob = fobTotals(sevenLines(values), rate, exportLookOf({}));
        QVERIFY2(fob.message.isEmpty(), qPrintable(fob.message));
        QCOMPARE((QStringList{fob.foreign, fob.rmb, fob.rateMessage, fob.cleanedRate}), expected);
    }

    void savedTotals_data()
    {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("saved");
        QTest::newRow("prefixed") << "USD1334.50" << "USD" << "1334.50";
        QTest::newRow("FOB with separators") << "USD1,256.89" << "USD" << "1,256.89";
        QTest::newRow("not prefixed") << "1334.50" << "USD" << "1334.50";
        QTest::newRow("no code") << "$5.00" << "" << "$5.00";
        QTest::newRow("empty") << "" << "USD" << "";
    }
    void savedTotals()
    {
        QFETCH(QString, shown);
        QFETCH(QString, code);
        QFETCH(QString, saved);
        QCOMPARE(withoutCurrencyPrefix(shown, code), saved);
    }

    // The foreign total the window shows saves back as its plain amount.
    void savedTotalFromShown()
    {
        const QStringList lines = sevenLines({QStringLiteral("1334.5")});
        const ExportTotals totals = exportTotals(lines, QStringLiteral("1:1"), exportLookOf(QStringLiteral("+total")));
        QCOMPARE(totals.foreign, QStringLiteral("USD1334.50"));
        QCOMPARE(withoutCurrencyPrefix(totals.foreign, QStringLiteral("USD")), QStringLiteral("1334.50"));
        const FobTotals fob = fobTotals(lines, QStringLiteral("1:1"), exportLookOf({}));
        QCOMPARE(withoutCurrencyPrefix(fob.foreign, QStringLiteral("USD")), QStringLiteral("1,334.50"));
    }
};

QTEST_GUILESS_MAIN(TestInvoiceAmounts)
#include "test_invoice_amounts.moc"
