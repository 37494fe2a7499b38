#include "entry/ReceiptAids.h"

#include <QSet>
#include <QTest>

using namespace moque::entry;

class TestReceiptAids : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lines_data()
    {
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("amount");
        QTest::newRow("empty quantity counts one") << "" << "12.5" << "12.5";
        QTest::newRow("empty price counts nothing") << "3" << "" << "0";
        QTest::newRow("no binary rounding") << "3" << "0.1" << "0.3";
        QTest::newRow("decimals times decimals") << "1.5" << "2.25" << "3.375";
        QTest::newRow("trailing zeros dropped") << "2.50" << "4.00" << "10";
        QTest::newRow("spaces trimmed") << " 2 " << " 19.9 " << "39.8";
        QTest::newRow("a point alone") << ".5" << "8" << "4";
        QTest::newRow("negative quantity") << "-2" << "0.5" << "-1";
        QTest::newRow("zero") << "0" << "9.99" << "0";
        QTest::newRow("large, exact") << "1000000" << "123456.78" << "123456780000";
    }
    void lines()
    {
        QFETCH(QString, quantity);
        QFETCH(QString, price);
        QFETCH(QString, amount);
        const LineAmount line = lineAmount(quantity, price);
        QVERIFY2(line.ok(), qPrintable(line.error));
        QCOMPARE(line.amount, amount);
    }

    void badLines_data()
    {
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("price");
        QTest::newRow("letters") << "two" << "3";
        QTest::newRow("full-width digits") << "２" << "3";
        QTest::newRow("comma") << "1" << "1,000";
        QTest::newRow("two points") << "1.2.3" << "1";
        QTest::newRow("sign alone") << "-" << "1";
        QTest::newRow("too many digits") << "99999999999999999999" << "1";
        QTest::newRow("product beyond 64 bits") << "9999999999" << "9999999999";
    }
    void badLines()
    {
        QFETCH(QString, quantity);
        QFETCH(QString, price);
        const LineAmount line = lineAmount(quantity, price);
        QCOMPARE(line.error, QStringLiteral("非法的数量或单价(必须是英文半角的数字和.)！"));
        QVERIFY(line.amount.isEmpty());
    }

    void dateBoxes_data()
    {
        QTest::addColumn<bool>("twoDigits");
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("four-digit year") << false << QStringList{"2009", "03", "05"};
        QTest::newRow("两位年") << true << QStringList{"09", "03", "05"};
    }
    void dateBoxes()
    {
        QFETCH(bool, twoDigits);
        QFETCH(QStringList, boxes);
        const DateBoxes got = receiptDateBoxes(QDate(2009, 3, 5), twoDigits);
        QCOMPARE((QStringList{got.year, got.month, got.day}), boxes);
    }

    void dateLine_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("line");
        QTest::newRow("dashes") << "YYYY-MM-DD" << "2026-01-09";
        QTest::newRow("slashes whatever the system's separator") << "YYYY/MM/DD" << "2026/01/09";
        QTest::newRow("Chinese") << "YYYY年MM月DD日" << "2026年01月09日";
        QTest::newRow("with time") << "YYYYMMDD hh:nn" << "20260109 07:05";
        QTest::newRow("slashes with time") << " YYYY/MM/DD hh:nn " << "2026/01/09 07:05";
        QTest::newRow("unknown choice") << "DD.MM.YYYY" << "2026-01-09";
    }
    void dateLine()
    {
        QFETCH(QString, format);
        QFETCH(QString, line);
        QCOMPARE(billDateLine(QDateTime(QDate(2026, 1, 9), QTime(7, 5, 30)), format), line);
    }

    void verificationCodes_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("group");
        QTest::addColumn<QString>("seeds");
        QTest::addColumn<int>("shownLength");
        QTest::newRow("twenty digits") << 20 << 0 << "0123456789" << 20;
        QTest::newRow("groups of four") << 20 << 4 << "0123456789" << 24;
        QTest::newRow("letters upper-cased") << 12 << 5 << "abc" << 14;
        QTest::newRow("no length") << 0 << 4 << "0123456789" << 0;
    }
    void verificationCodes()
    {
        QFETCH(int, length);
        QFETCH(int, group);
        QFETCH(QString, seeds);
        QFETCH(int, shownLength);
        QRandomGenerator random(42);
        const QString code = verificationCode(length, group, seeds, random);
        QCOMPARE(code.size(), shownLength);
        QVERIFY(!code.startsWith(QLatin1Char(' ')) && !code.endsWith(QLatin1Char(' ')));
        for (qsizetype i = 0; i < code.size(); ++i) {
            const bool gap = group > 0 && (i + 1) % (group + 1) == 0;
            if (gap)
                QCOMPARE(code.at(i), QLatin1Char(' '));
            else
                QVERIFY2(seeds.toUpper().contains(code.at(i)), qPrintable(code));
        }
    }

    // Every seed character turns up: the draw is not stuck on a few.
    void codesUseEverySeed()
    {
        QRandomGenerator random(7);
        const QString code = verificationCode(2000, 0, QStringLiteral("0123456789ABCDEF"), random);
        QCOMPARE(QSet<QChar>(code.cbegin(), code.cend()).size(), 16);
    }
};

QTEST_GUILESS_MAIN(TestReceiptAids)
#include "test_receipt_aids.moc"
