#include "entry/Amounts.h"

#include <QTest>

using namespace moque::entry;

class TestAmounts : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void chineseCapital_data()
    {
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("expected");
        QTest::newRow("zeros in the middle") << "1005.30" << "壹仟零伍元叁角整";
        QTest::newRow("100000") << "100000" << "壹拾万元整";
        QTest::newRow("100010") << "100010" << "壹拾万零壹拾元整";
        QTest::newRow("1000001") << "1000001" << "壹佰万零壹元整";
        QTest::newRow("one yi") << "100000000" << "壹亿元整";
        QTest::newRow("zero jiao, some fen") << "1010.01" << "壹仟零壹拾元零壹分";
        QTest::newRow("all places") << "12345678.9" << "壹仟贰佰叁拾肆万伍仟陆佰柒拾捌元玖角整";
        QTest::newRow("no zero before jiao") << "20000000.1" << "贰仟万元壹角整";
        QTest::newRow("10.5") << "10.5" << "壹拾元伍角整";
        QTest::newRow("10") << "10" << "壹拾元整";
        QTest::newRow("110") << "110" << "壹佰壹拾元整";
        QTest::newRow("50") << "50" << "伍拾元整";
        QTest::newRow("1") << "1" << "壹元整";
        QTest::newRow("jiao without fen") << "0.1" << "壹角整";
        QTest::newRow("fen only") << "0.05" << "伍分";
        QTest::newRow("negative") << "-12.5" << "负壹拾贰元伍角整";
        QTest::newRow("exactly 0") << "0" << "零元整";
        QTest::newRow("0.00") << "0.00" << "零元整";
        QTest::newRow("rounds half up") << "0.125" << "壹角叁分";
        QTest::newRow("rounds to zero") << "0.004" << "零元整";
        QTest::newRow("yi and wan") << "100050000" << "壹亿零伍万元整";
        QTest::newRow("largest") << "9999999999999.99"
                                 << "玖万玖仟玖佰玖拾玖亿玖仟玖佰玖拾玖万玖仟玖佰玖拾玖元玖角玖分";
        QTest::newRow("padded by blanks") << " 50 " << "伍拾元整";
    }
    void chineseCapital()
    {
        QFETCH(QString, amount);
        QFETCH(QString, expected);
        const AmountText r = toChineseCapital(amount);
        QVERIFY2(r.ok(), qPrintable(r.error));
        QCOMPARE(r.text, expected);
    }

    void chineseCapitalFailures_data()
    {
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("message");
        QTest::newRow("one beyond the largest") << "10000000000000" << kDigitLimitExceeded;
        QTest::newRow("rounds beyond the largest") << "9999999999999.995" << kDigitLimitExceeded;
        QTest::newRow("far beyond qint64") << "123456789012345678901234" << kDigitLimitExceeded;
        QTest::newRow("letters") << "abc" << kNotANumber;
        QTest::newRow("empty") << "" << kNotANumber;
        QTest::newRow("two points") << "1.2.3" << kNotANumber;
        QTest::newRow("separator") << "1,005.30" << kNotANumber;
        QTest::newRow("sign only") << "-" << kNotANumber;
    }
    void chineseCapitalFailures()
    {
        QFETCH(QString, amount);
        QFETCH(QString, message);
        const AmountText r = toChineseCapital(amount);
        QVERIFY(!r.ok());
        QCOMPARE(r.error, message);
        QVERIFY(r.text.isEmpty());
    }

    void chineseCapitalFromFen()
    {
        QCOMPARE(toChineseCapital(qint64(100530)).text, QStringLiteral("壹仟零伍元叁角整"));
        QCOMPARE(toChineseCapital(std::numeric_limits<qint64>::min()).error, kDigitLimitExceeded);
        QCOMPARE(toChineseCapital(-kMaxCapitalFen - 1).error, kDigitLimitExceeded);
    }

    void capitalDigits_data()
    {
        QTest::addColumn<QString>("amount");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("expected");
        QTest::newRow("seven digits") << "1005.3" << 7 << "0.00" << "零零零壹零零伍叁零";
        QTest::newRow("no decimals") << "88" << 4 << "0" << "零零捌捌";
        QTest::newRow("one decimal") << "6.78" << 2 << "0.0" << "零陆捌";
        QTest::newRow("point format") << "6.78" << 2 << ".0" << "零陆捌";
        QTest::newRow("other format is two decimals") << "6.785" << 1 << "#" << "陆柒玖";
        QTest::newRow("separators removed") << "1,005.30" << 4 << ".00" << "壹零零伍叁零";
        QTest::newRow("exactly fills") << "9999" << 4 << "0" << "玖玖玖玖";
        QTest::newRow("zero is one box") << "0" << 7 << "0.00" << "零";
        QTest::newRow("0.00 is one box") << "0.00" << 7 << "0.00" << "零";
        QTest::newRow("fraction only") << "0.29" << 3 << "0.00" << "零零零贰玖";
        QTest::newRow("row 6 boxes") << "999999999.99" << 9 << ".00" << "玖玖玖玖玖玖玖玖玖玖玖";
    }
    void capitalDigits()
    {
        QFETCH(QString, amount);
        QFETCH(int, count);
        QFETCH(QString, format);
        QFETCH(QString, expected);
        const AmountText r = toCapitalDigits(amount, count, format);
        QVERIFY2(r.ok(), qPrintable(r.error));
        QCOMPARE(r.text, expected);
        // The filler never shows in the result.
        QCOMPARE(toCapitalDigits(amount, count, format, u'*').text, expected);
    }

    void capitalDigitsOverflow_data()
    {
        QTest::addColumn<QString>("amount");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("message");
        QTest::newRow("too many digits") << "1005.3" << 3 << "0.00" << kDigitLimitExceeded;
        QTest::newRow("rounding carries over") << "999.995" << 3 << "0.00" << kDigitLimitExceeded;
        QTest::newRow("rounding without decimals") << "99.5" << 2 << "0" << kDigitLimitExceeded;
        QTest::newRow("billion on nine boxes") << "1000000000" << 9 << ".00" << kDigitLimitExceeded;
        QTest::newRow("negative") << "-5" << 3 << "0.00" << kDigitLimitExceeded;
        QTest::newRow("huge") << "123456789012345678901" << 30 << "0.00" << kDigitLimitExceeded;
        QTest::newRow("letters") << "12a" << 5 << "0.00" << kNotANumber;
    }
    void capitalDigitsOverflow()
    {
        QFETCH(QString, amount);
        QFETCH(int, count);
        QFETCH(QString, format);
        QFETCH(QString, message);
        const AmountText r = toCapitalDigits(amount, count, format);
        QCOMPARE(r.error, message);
        QVERIFY(r.text.isEmpty());
    }

    void normalize_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("full-width with yuan") << "１，２３４．５元" << "1234.5";
        QTest::newRow("currency sign and separators") << "￥1,005.30" << "1005.30";
        QTest::newRow("full-width") << "１２３．５０" << "123.50";
        QTest::newRow("ideographic full stop") << "12。5" << "12.5";
        QTest::newRow("letters only") << "abc" << "";
        QTest::newRow("blank") << "   " << "";
        QTest::newRow("negative kept") << " -12.5 " << "-12.5";
        QTest::newRow("all full-width digits") << "０１２３４５６７８９" << "0123456789";
    }
    void normalize()
    {
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        QCOMPARE(normalizeDigits(typed), expected);
    }

    void money_data()
    {
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("plain");
        QTest::addColumn<QString>("grouped");
        QTest::newRow("1005.3") << "1005.3" << "1005.30" << "1,005.30";
        QTest::newRow("1234567") << "1234567" << "1234567.00" << "1,234,567.00";
        QTest::newRow("three digits") << "999.999" << "1000.00" << "1,000.00";
        QTest::newRow("zero") << "0" << "0.00" << "0.00";
        QTest::newRow("fen only") << "0.05" << "0.05" << "0.05";
        QTest::newRow("half away from zero") << "-2.345" << "-2.35" << "-2.35";
        QTest::newRow("negative grouped") << "-1234.5" << "-1234.50" << "-1,234.50";
        QTest::newRow("just below a billion") << "999999999.99" << "999999999.99" << "999,999,999.99";
    }
    void money()
    {
        QFETCH(QString, amount);
        QFETCH(QString, plain);
        QFETCH(QString, grouped);
        QCOMPARE(formatMoney(amount, false).text, plain);
        QCOMPARE(formatMoney(amount, true).text, grouped);
    }

    void moneyFailures()
    {
        QCOMPARE(formatMoney(QStringLiteral("12x"), true).error, kNotANumber);
        QCOMPARE(formatMoney(QStringLiteral("99999999999999999"), false).error, kNotANumber);
        QCOMPARE(formatMoney(std::numeric_limits<qint64>::min(), true).text,
                 QStringLiteral("-92,233,720,368,547,758.08"));
    }

    void noStandard_data()
    {
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QString>("expected");
        QTest::newRow("1005.30") << QStringList{"", "", "", "", "", "壹", "零", "零", "伍", "叁", "零"}
                                 << "壹仟零佰零拾伍元叁角零分";
        QTest::newRow("leading zeros skipped")
            << QStringList{"零", "零", "零", "零", "零", "零", "零", "零", "零", "贰", "玖"} << "贰角玖分";
        QTest::newRow("all zeros") << QStringList(11, QStringLiteral("零")) << "";
        QTest::newRow("all empty") << QStringList(11, QString()) << "";
    }
    void noStandard()
    {
        QFETCH(QStringList, boxes);
        QFETCH(QString, expected);
        QCOMPARE(getNoStandardChineseJEDX(boxes), expected);
        QCOMPARE(getNoStandardChineseJEDX(boxes, false), QString());
    }

    void noStandardFromDigits()
    {
        // The receipt total row: eleven capital digits spread into the boxes, read back.
        const QString digits = toCapitalDigits(QStringLiteral("1005.30"), 9, QStringLiteral(".00")).text;
        QCOMPARE(digits.size(), 11);
        QStringList boxes;
        for (const QChar c : digits)
            boxes << QString(c);
        QCOMPARE(getNoStandardChineseJEDX(boxes), QStringLiteral("壹仟零佰零拾伍元叁角零分"));
    }

    void sumLimit_data()
    {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<qint64>("limitFen");
        QTest::newRow("thousands") << "     0000.00 千位发票" << qint64(999999);
        QTest::newRow("hundreds") << "      000.00 百位发票" << qint64(99999);
        QTest::newRow("empty means hundreds") << "" << qint64(99999);
        QTest::newRow("yi") << "000000000.00 亿位发票" << qint64(99999999999);
        QTest::newRow("tens") << "       00.00 十位发票" << qint64(9999);
    }
    void sumLimit()
    {
        QFETCH(QString, choice);
        QFETCH(qint64, limitFen);
        QCOMPARE(sumLimitFen(choice), limitFen);
    }

    void sumOverflow()
    {
        const qint64 limit = sumLimitFen(QStringLiteral("      000.00 百位发票"));
        QVERIFY(qint64(100000) > limit);
        QCOMPARE(sumOverflowMessage(100000, limit),
                 QStringLiteral("溢出，发票金额合计“1000.00”大于限位[999.99],请重填金额数量或者修改发票模版设置~"));
    }

    void total_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("freight");
        QTest::addColumn<qint64>("fen");
        QTest::addColumn<QString>("message");
        const QString range = QStringLiteral("金额值必须介于0~1,000,000,000之间！");
        const QString freightRange = QStringLiteral("金额值必须小于1,000,000,000之间！");
        QTest::newRow("largest accepted") << "999999999.99" << false << qint64(99999999999) << "";
        QTest::newRow("a billion refused") << "1000000000" << false << qint64(-1) << range;
        QTest::newRow("negative refused") << "-0.01" << false << qint64(-1) << range;
        QTest::newRow("empty is zero") << " " << false << qint64(0) << "";
        QTest::newRow("not a number") << "12元" << false << qint64(-1) << kNotANumber;
        QTest::newRow("huge") << "99999999999999999999" << false << qint64(-1) << range;
        QTest::newRow("freight billion") << "1000000000" << true << qint64(-1) << freightRange;
        QTest::newRow("freight negative allowed") << "-12.5" << true << qint64(-1250) << "";
    }
    void total()
    {
        QFETCH(QString, text);
        QFETCH(bool, freight);
        QFETCH(qint64, fen);
        QFETCH(QString, message);
        const TotalCheck r = checkTotal(text, freight);
        QCOMPARE(r.message, message);
        QCOMPARE(r.fen.has_value(), message.isEmpty());
        if (r.fen)
            QCOMPARE(*r.fen, fen);
    }

    void waybill_data()
    {
        QTest::addColumn<QString>("figure");
        QTest::addColumn<QString>("choice");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("error");
        const QString invalid = QStringLiteral("请输入有效数字，例如：116.5。 不接受全角数字,请尽量用小键盘输入~");
        QTest::newRow("hundreds overflow") << "1005.3" << "000.00    限百位到分" << "" << kDigitLimitExceeded;
        QTest::newRow("thousands no decimals") << "88" << "0000      限千位无小数" << "零零捌捌" << "";
        QTest::newRow("ten-thousands to jiao") << "1005.36" << "00000.0   限万位到角" << "零壹零零伍肆" << "";
        QTest::newRow("hundred-thousands to fen") << "1005.3" << "000000.00 限十万位到分" << "零零壹零零伍叁零" << "";
        QTest::newRow("traditional capital") << "1005.30" << "打印中国传统大写金额" << "壹仟零伍元叁角整" << "";
        QTest::newRow("figure unchanged") << "1005.3" << "打印小写金额" << "1005.3" << "";
        QTest::newRow("no choice") << "1005.3" << "" << "1005.3" << "";
        QTest::newRow("blank figure") << "" << "0000      限千位无小数" << "" << "";
        QTest::newRow("full-width digits") << "１２" << "0000      限千位无小数" << "" << invalid;
        QTest::newRow("separator") << "1,005" << "0000      限千位无小数" << "" << invalid;
        QTest::newRow("negative") << "-5" << "0000      限千位无小数" << "" << invalid;
        QTest::newRow("two points") << "1.2.3" << "0000      限千位无小数" << "" << invalid;
    }
    void waybill()
    {
        QFETCH(QString, figure);
        QFETCH(QString, choice);
        QFETCH(QString, expected);
        QFETCH(QString, error);
        const AmountText r = waybillAmount(figure, choice);
        QCOMPARE(r.error, error);
        QCOMPARE(r.text, expected);
    }

    void waybillFormat_data()
    {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("format");
        QTest::newRow("to fen") << "00000.00  限万位到分" << 5 << "0.00";
        QTest::newRow("to jiao") << "0000.0    限千位到角" << 4 << "0.0";
        QTest::newRow("no decimals") << "000000    限十万位无小数" << 6 << "0";
    }
    void waybillFormat()
    {
        QFETCH(QString, choice);
        QFETCH(int, count);
        QFETCH(QString, format);
        const auto f = parseWaybillFormat(choice);
        QVERIFY(f);
        QCOMPARE(f->integerDigits, count);
        QCOMPARE(f->decimalsFormat, format);
    }

    void rate_data()
    {
        QTest::addColumn<QString>("rate");
        QTest::addColumn<qint64>("amountFen");
        QTest::addColumn<qint64>("expectedFen");
        QTest::addColumn<QString>("cleaned");
        QTest::addColumn<QString>("message");
        QTest::newRow("100 units") << "100:680.23" << qint64(10000) << qint64(68023) << "100:680.23" << "";
        QTest::newRow("full-width colon") << " 100：680.23 " << qint64(10000) << qint64(68023) << "100:680.23" << "";
        QTest::newRow("rounds half away") << "100:680.23" << qint64(1) << qint64(7) << "100:680.23" << "";
        QTest::newRow("separator in yuan") << "10:1,000" << qint64(250) << qint64(25000) << "10:1,000" << "";
        QTest::newRow("large amount") << "100:12345678" << qint64(99999999999) << qint64(12345677999876543)
                                      << "100:12345678" << "";
        QTest::newRow("empty") << "  " << qint64(100) << qint64(0) << "" << "没有输入汇率！";
        QTest::newRow("malformed") << "100-680" << qint64(100) << qint64(0) << "100-680"
                                   << "没有输入正确的汇率(如: 100:680.23等)！";
        QTest::newRow("one digit side") << "1:5" << qint64(100) << qint64(0) << "1:5"
                                        << "没有输入正确的汇率(如: 100:680.23等)！";
        QTest::newRow("zero rate") << "00:50" << qint64(100) << qint64(0) << "00:50" << "无效的外汇汇率！";
    }
    void rate()
    {
        QFETCH(QString, rate);
        QFETCH(qint64, amountFen);
        QFETCH(qint64, expectedFen);
        QFETCH(QString, cleaned);
        QFETCH(QString, message);
        const RateResult r = changeRate(amountFen, rate);
        QCOMPARE(r.message, message);
        QCOMPARE(r.fen, expectedFen);
        QCOMPARE(r.cleanedRate, cleaned);
    }
};

QTEST_GUILESS_MAIN(TestAmounts)
#include "test_amounts.moc"
