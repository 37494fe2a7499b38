#include "sheets/NumberFormat.h"

#include <QTest>

using namespace moque::sheets;

namespace {

void addCase(double value, const QString &code, const QString &expected, bool date1904 = false)
{
    QTest::addRow("%s | %s%s", qPrintable(code), qPrintable(QString::number(value, 'g', 17)),
                  date1904 ? " | 1904" : "")
        << value << code << date1904 << expected;
}

// 18:00:59.6 on no particular day
constexpr double almostOneMinutePastSix = (18 * 3600 + 59.6) / 86400.0;

} // namespace

class TestNumberFormat : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void general_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("binary noise") << 49.199999999999996 << "49.2";
        QTest::newRow("0.1 + 0.2") << 0.1 + 0.2 << "0.3";
        QTest::newRow("two decimals") << 1234567.89 << "1234567.89";
        QTest::newRow("15 digits kept") << 12345.6789012345 << "12345.6789012345";
        QTest::newRow("small, plain") << 0.0006 << "0.0006";
        QTest::newRow("smaller, E") << 0.00001 << "1E-05";
        QTest::newRow("integer") << 100.0 << "100";
        QTest::newRow("mobile number") << 13812345678.0 << "13812345678";
        QTest::newRow("15-digit integer") << 123456789012345.0 << "123456789012345";
        QTest::newRow("identity card number") << 110105199001011234.0 << "1.10105E+17";
        QTest::newRow("1E+20") << 1e20 << "1E+20";
        QTest::newRow("six digits in E") << 1.23456789e-10 << "1.23457E-10";
        QTest::newRow("E mantissa carries") << 9.999996e20 << "1E+21";
        QTest::newRow("negative") << -12.5 << "-12.5";
        QTest::newRow("negative small") << -0.000123 << "-0.000123";
        QTest::newRow("zero") << 0.0 << "0";
    }
    void general()
    {
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(generalNumber(value), expected);
        QCOMPARE(formatCellNumber(value, QStringLiteral("General")), expected);
    }

    void format_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("date1904");
        QTest::addColumn<QString>("expected");

        // Fixed decimals, rounded half away from zero on the decimal digits
        addCase(12.5, "0.00", "12.50");
        addCase(2.675, "0.00", "2.68");
        addCase(1.005, "0.00", "1.01");
        addCase(-2.675, "0.00", "-2.68");
        addCase(2.5, "0", "3");
        addCase(-2.5, "0", "-3");
        addCase(12.34, "0.0", "12.3");
        addCase(1234567.89, "#,##0", "1,234,568");
        addCase(1234.5, "#,##0.00", "1,234.50");
        addCase(999.999, "#,##0.00", "1,000.00");
        addCase(0.4, "#,##0", "0");
        addCase(-1234567.891, "#,##0.00", "-1,234,567.89");
        addCase(0.5, "#.##", ".5");
        addCase(12.5, ".00", "12.50");
        addCase(1, "0.0#", "1.0");
        addCase(1.25, "0.0#", "1.25");
        addCase(1.5, "0.??", "1.5 ");
        addCase(1234, "000000", "001234");
        addCase(1234567, "000000", "1234567");
        addCase(5, "0,000", "0,005");
        addCase(13812345678, "000-0000-0000", "138-1234-5678");

        // Percent, scaling, exponent
        addCase(0.15, "0%", "15%");
        addCase(0.12345, "0.00%", "12.35%");
        addCase(1234567, "#,##0,", "1,235");
        addCase(1234567, "0.0,,\"百万\"", "1.2百万");
        addCase(12345, "0.00E+00", "1.23E+04");
        addCase(0.00012345, "0.00E+00", "1.23E-04");
        addCase(9.996, "0.00E+00", "1.00E+01");
        addCase(0, "0.00E+00", "0.00E+00");
        addCase(12345, "##0.0E+0", "12.3E+3");

        // Literals and currency symbols
        addCase(19.9, "0.00\"元\"", "19.90元");
        addCase(1234, "0\\件", "1234件");
        addCase(25, "0\" kg\"", "25 kg");
        addCase(1234.5, "¥#,##0.00", "¥1,234.50");
        addCase(1234.5, "\"¥\"#,##0.00", "¥1,234.50");
        addCase(1234.5, "[$¥-804]#,##0.00", "¥1,234.50");
        addCase(1234.5, "[$$-409]#,##0.00", "$1,234.50");
        addCase(1234.5, "[$-804]0.0", "1234.5");
        addCase(-1234.5, "¥#,##0.00", "-¥1,234.50");
        addCase(1234.5, "_(\"¥\"* #,##0.00_)", " ¥1,234.50 ");
        addCase(1234, "General\"件\"", "1234件");
        addCase(12.5, "@", "12.5");

        // Sections and conditions
        addCase(1234.5, "#,##0.00_);(#,##0.00)", "1,234.50 ");
        addCase(-1234.5, "#,##0.00_);(#,##0.00)", "(1,234.50)");
        addCase(-1234.5, "#,##0.00;[Red]-#,##0.00", "-1,234.50");
        addCase(-5, "0;0", "5");
        addCase(0, "0.00;-0.00;\"-\"", "-");
        addCase(0, "#,##0;-#,##0;", "");
        addCase(5, "0;-0;0;@", "5");
        addCase(-1234.5, "\"¥\"#,##0.00;\"¥\"\\-#,##0.00", "¥-1,234.50");
        addCase(150, "[>=100]\"大额\";\"小额\"", "大额");
        addCase(50, "[>=100]\"大额\";\"小额\"", "小额");
        addCase(150, "[>=100][Red]0.00;0", "150.00");
        addCase(-5, "[<0]\"欠\"0;0", "欠5");
        addCase(-5, "[<=100]0;0.00", "-5");
        addCase(3, "[=1]\"一\";[=2]\"二\"", "3");

        // Fractions
        addCase(1.25, "# ?/?", "1 1/4");
        addCase(3.75, "# ?\?/??", "3  3/4 ");
        addCase(0.3333, "?\?/??", " 1/3 ");
        addCase(1.25, "?/?", "5/4");
        addCase(2, "# ?/?", "2    ");
        addCase(2.5, "# ?/8", "2 4/8");
        addCase(0.99, "# ?/?", "1    ");
        addCase(1.5, "# ??0/??0", "1   1/2  ");

        // Chinese numerals
        addCase(1234, "[DBNum2][$-804]General", "壹仟贰佰叁拾肆");
        addCase(10, "[DBNum2][$-804]General", "壹拾");
        addCase(100010, "[DBNum2]General", "壹拾万零壹拾");
        addCase(100000000, "[DBNum2]General", "壹亿");
        addCase(12.5, "[DBNum2]General", "壹拾贰.伍");
        addCase(-3, "[DBNum2]General", "-叁");
        addCase(0, "[DBNum2]General", "零");
        addCase(10001, "[DBNum1]General", "一万〇一");
        addCase(45322, "[DBNum1][$-804]yyyy\"年\"m\"月\"d\"日\"", "二〇二四年一月三十一日");

        // Codes that cannot be read show General
        addCase(12.5, "[Red", "12.5");
        addCase(12.5, "0.00 pcs", "12.5");
        addCase(12.5, "[<abc]0", "12.5");
        addCase(12.5, "", "12.5");

        // Dates in the 1900 system, with its 29 February 1900
        addCase(43831.0423726852, "yyyy\"年\"m\"月\"d\"日\"", "2020年1月1日");
        addCase(43831.0423726852, "yyyy-mm-dd hh:mm:ss", "2020-01-01 01:01:01");
        addCase(43831.0423726852, "yy/m/d h:m", "20/1/1 1:1");
        addCase(43831.0423726852, "mm:ss", "01:01");
        addCase(43831, "yyyy/m/d;@", "2020/1/1");
        addCase(43831, "m/d/yy", "1/1/20");
        addCase(43831, "[$-804]yyyy\"年\"m\"月\"d\"日\" aaaa", "2020年1月1日 星期三");
        addCase(43831, "aaa", "三");
        // Names in an English locale, in a Chinese one, and in the system's (Chinese)
        addCase(43831, "[$-409]mmm d, yyyy", "Jan 1, 2020");
        addCase(43831, "[$-409]dddd, mmmm dd", "Wednesday, January 01");
        addCase(43831, "[$-409]ddd", "Wed");
        addCase(45000, "[$-409]d-mmm-yy", "15-Mar-23");
        addCase(45000, "[$-409]mmmmm", "M");
        addCase(43831, "[$-804]dddd, mmmm dd", "星期三, 一月 01");
        addCase(45000, "d-mmm-yy", "15-3月-23");
        addCase(45291, "ddd mmmm", "周日 十二月");
        addCase(45000, "mmmmm", "3");
        // AM/PM in a Chinese locale; the system's long time and long date
        addCase(0.75, "[$-804]h:mm AM/PM", "6:00 下午");
        addCase(0.25, "[$-804]AM/PM h:mm", "上午 6:00");
        addCase(0.75, "h:mm AM/PM", "6:00 PM");
        addCase(0.94611111111, "[$-F400]h:mm:ss AM/PM", "22:42:24");
        addCase(45322, "[$-F800]dddd, mmmm dd, yyyy", "2024年1月31日");
        addCase(0, "yyyy-mm-dd", "1900-01-00");
        addCase(1, "[$-409]yyyy-mm-dd dddd", "1900-01-01 Sunday");
        addCase(59, "yyyy-mm-dd", "1900-02-28");
        addCase(60, "yyyy-mm-dd", "1900-02-29");
        addCase(61, "yyyy-mm-dd dddd", "1900-03-01 星期四");
        addCase(2958465, "yyyy-mm-dd", "9999-12-31");
        addCase(2958466, "yyyy-mm-dd", "2958466");
        addCase(-1, "yyyy-mm-dd", "-1");
        addCase(42369, "[$-409]yyyy-mm-dd dddd", "2020-01-01 Wednesday", true);
        addCase(0, "yyyy-mm-dd", "1904-01-01", true);

        // Times: rounded to the second (or the decimals shown), then cut to the parts shown
        addCase(0.75, "hh:mm", "18:00");
        addCase(0.7500578, "hh:mm", "18:00");
        addCase(0.7500578, "h:mm:ss", "18:00:05");
        addCase(almostOneMinutePastSix, "hh:mm:ss", "18:01:00");
        addCase(almostOneMinutePastSix, "hh:mm", "18:01");
        addCase(almostOneMinutePastSix, "hh:mm:ss.0", "18:00:59.6");
        addCase(43831.999999, "yyyy-mm-dd hh:mm:ss", "2020-01-02 00:00:00");
        addCase(1.5, "[h]:mm", "36:00");
        addCase(0.0423726852, "[h]:mm:ss", "1:01:01");
        addCase(2.5, "[mm]:ss", "3600:00");
        addCase(43831.25, "h:mm AM/PM", "6:00 AM");
        addCase(43831.5, "h:mm AM/PM", "12:00 PM");
        addCase(0.75, "hh:mm a/p", "06:00 p");
        addCase(43831.75, "上午/下午h\"时\"mm\"分\"", "下午6时00分");
        addCase(43831.4, "上午/下午h\"时\"mm\"分\"ss\"秒\"", "上午9时36分00秒");
        addCase(-0.5, "[h]:mm;-[h]:mm", "-12:00");
    }
    void format()
    {
        QFETCH(double, value);
        QFETCH(QString, code);
        QFETCH(bool, date1904);
        QFETCH(QString, expected);
        QCOMPARE(formatCellNumber(value, code, date1904), expected);
    }

    void builtin_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("0 General") << 0 << 49.199999999999996 << "49.2";
        QTest::newRow("4 thousands") << 4 << 1234.5 << "1,234.50";
        QTest::newRow("7 yuan") << 7 << -1234.5 << "¥-1,234.50";
        QTest::newRow("10 percent") << 10 << 0.125 << "12.50%";
        QTest::newRow("13 fraction") << 13 << 1.5 << "1  1/2 ";
        QTest::newRow("14 short date") << 14 << 43831.0 << "2020/1/1";
        QTest::newRow("20 time") << 20 << 0.75 << "18:00";
        QTest::newRow("22 date and time") << 22 << 43831.75 << "2020/1/1 18:00";
        QTest::newRow("39 room for the bracket") << 39 << 1.5 << "1.50 ";
        QTest::newRow("39 negative in brackets") << 39 << -1234.5 << "(1,234.50)";
        QTest::newRow("27 year month") << 27 << 43831.0 << "2020年1月";
        QTest::newRow("31 full date") << 31 << 43831.0 << "2020年1月1日";
        QTest::newRow("32 hour minute") << 32 << 0.75 << "18时00分";
        QTest::newRow("35 afternoon") << 35 << 0.7500578 << "下午6时00分05秒";
        QTest::newRow("44 accounting") << 44 << 1234.5 << " ¥1,234.50 ";
        QTest::newRow("46 elapsed") << 46 << 1.5 << "36:00:00";
        QTest::newRow("47 tenths") << 47 << 62.3 / 86400 << "01:02.3";
        QTest::newRow("49 text") << 49 << 12.5 << "12.5";
        QTest::newRow("58 month day") << 58 << 43831.0 << "1月1日";
    }
    void builtin()
    {
        QFETCH(int, id);
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(formatCellNumber(value, builtinFormatCode(id)), expected);
    }

    void builtinUnknown_data()
    {
        QTest::addColumn<int>("id");
        QTest::newRow("reserved 23") << 23;
        QTest::newRow("past the table") << 59;
        QTest::newRow("custom range") << 176;
        QTest::newRow("negative") << -1;
    }
    void builtinUnknown()
    {
        QFETCH(int, id);
        QVERIFY(builtinFormatCode(id).isEmpty());
    }

    void dateFormat_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("date");
        QTest::newRow("date") << "yyyy-mm-dd" << true;
        QTest::newRow("time") << "hh:mm" << true;
        QTest::newRow("elapsed") << "[h]:mm" << true;
        QTest::newRow("Chinese date") << "[$-804]yyyy\"年\"m\"月\"" << true;
        QTest::newRow("Chinese time") << "上午/下午h\"时\"" << true;
        QTest::newRow("date with a text section") << "yyyy/m/d;@" << true;
        QTest::newRow("General") << "General" << false;
        QTest::newRow("decimals") << "0.00" << false;
        QTest::newRow("exponent") << "0.00E+00" << false;
        QTest::newRow("quoted letters") << "0\"d\"" << false;
        QTest::newRow("escaped letter") << "0\\d" << false;
        QTest::newRow("colour names hold date letters") << "#,##0_);[Red](#,##0)" << false;
        QTest::newRow("text") << "@" << false;
        QTest::newRow("broken") << "yyyy[" << false;
    }
    void dateFormat()
    {
        QFETCH(QString, code);
        QFETCH(bool, date);
        QCOMPARE(isDateFormat(code), date);
    }

    void cellCode_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("fileCode");
        QTest::addColumn<QString>("code");
        QTest::newRow("built-in not written out") << 31 << "" << "yyyy\"年\"m\"月\"d\"日\"";
        QTest::newRow("short date in an English writer's words") << 14 << "M/D/YYYY" << "yyyy/m/d";
        QTest::newRow("short time in an English writer's words") << 22 << "m/d/yyyy h:mm" << "yyyy/m/d h:mm";
        // Some writers number their own codes below 164.
        QTest::newRow("a writer's own code on a date id") << 54 << "000000" << "000000";
        QTest::newRow("a writer's own date on a Chinese date id") << 53 << "yyyy\"年\"m\"月\"d\"日\""
                                                                 << "yyyy\"年\"m\"月\"d\"日\"";
        QTest::newRow("currency the file writes") << 7 << "\"$\"#,##0.00" << "\"$\"#,##0.00";
        QTest::newRow("custom") << 164 << "0.00\"元\"" << "0.00\"元\"";
        QTest::newRow("custom without its code") << 170 << "" << "General";
    }
    void cellCode()
    {
        QFETCH(int, id);
        QFETCH(QString, fileCode);
        QFETCH(QString, code);
        QCOMPARE(cellFormatCode(id, fileCode), code);
    }
};

QTEST_GUILESS_MAIN(TestNumberFormat)
#include "test_number_format.moc"
