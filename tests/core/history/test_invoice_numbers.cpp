#include "history/InvoiceNumbers.h"
#include "InvoiceFixture.h"

#include <QSqlQuery>
#include <QTest>

#include <limits>

using namespace moque;
using namespace moque::history;

Q_DECLARE_METATYPE(moque::history::InvoiceKind)

namespace {

// The registered numbers of the code, in the order they were inserted.
QStringList storedNumbers(const test::TestData &data, const QString &code)
{
    QSqlQuery q(data.db());
    q.prepare(QStringLiteral("select 发票编号 from DataCKSPTable where 发票代码 = ? order by 流水号"));
    q.addBindValue(code);
    QStringList numbers;
    if (q.exec())
        while (q.next())
            numbers << q.value(0).toString();
    return numbers;
}

QStringList rangeTexts(qint64 first, qint64 last, int digits)
{
    QStringList texts;
    for (qint64 n = first; n <= last; ++n)
        texts << numberText(n, digits);
    return texts;
}

} // namespace

class TestInvoiceNumbers : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void numberTexts_data()
    {
        QTest::addColumn<qint64>("n");
        QTest::addColumn<int>("digits");
        QTest::addColumn<QString>("text");
        QTest::newRow("padded") << qint64(1) << 8 << "00000001";
        QTest::newRow("padded hundred") << qint64(100) << 8 << "00000100";
        QTest::newRow("exact length") << qint64(12345678) << 8 << "12345678";
        QTest::newRow("cut to the last digits") << qint64(123456789) << 4 << "6789";
        QTest::newRow("zero") << qint64(0) << 4 << "0000";
        QTest::newRow("twenty digits") << qint64(5) << 20 << "00000000000000000005";
        QTest::newRow("largest number, cut") << std::numeric_limits<qint64>::max() << 4 << "5807";
    }
    void numberTexts()
    {
        QFETCH(qint64, n);
        QFETCH(int, digits);
        QFETCH(QString, text);
        QCOMPARE(numberText(n, digits), text);
    }

    void registers_data()
    {
        QTest::addColumn<QStringList>("existing"); // numbers already registered under code "A"
        QTest::addColumn<QString>("code");
        QTest::addColumn<qint64>("first");
        QTest::addColumn<qint64>("last");
        QTest::addColumn<int>("digits");
        QTest::addColumn<int>("registered");
        QTest::addColumn<int>("duplicates");
        QTest::addColumn<QStringList>("named");
        QTest::addColumn<QStringList>("stored"); // every number of the code afterwards

        const QStringList ten = rangeTexts(1, 10, 8);
        QTest::newRow("1 to 100 with 8 digits") << QStringList() << "A" << qint64(1) << qint64(100) << 8 << 100 << 0
                                                << QStringList() << rangeTexts(1, 100, 8);
        QTest::newRow("the same ten again: four named")
            << ten << "A" << qint64(1) << qint64(10) << 8 << 0 << 10 << ten.mid(0, 4) << ten;
        QTest::newRow("another code registers again")
            << ten << "B" << qint64(1) << qint64(10) << 8 << 10 << 0 << QStringList() << ten;
        QTest::newRow("code compared without letter case")
            << ten << "a" << qint64(9) << qint64(12) << 8 << 2 << 2 << QStringList({"00000009", "00000010"})
            << ten + QStringList({"00000011", "00000012"});
        QTest::newRow("cut digits collide with a registered number")
            << QStringList({"0001"}) << "A" << qint64(123450001) << qint64(123450003) << 4 << 2 << 1
            << QStringList({"0001"}) << QStringList({"0001", "0002", "0003"});
        QTest::newRow("cut digits collide within the range")
            << QStringList() << "A" << qint64(5) << qint64(15) << 1 << 10 << 1 << QStringList({"5"})
            << QStringList({"5", "6", "7", "8", "9", "0", "1", "2", "3", "4"});
        QTest::newRow("reversed range registers nothing")
            << QStringList() << "A" << qint64(10) << qint64(1) << 8 << 0 << 0 << QStringList() << QStringList();
        QTest::newRow("one number") << QStringList() << "A" << qint64(7) << qint64(7) << 8 << 1 << 0 << QStringList()
                                    << QStringList({"00000007"});
    }
    void registers()
    {
        QFETCH(QStringList, existing);
        QFETCH(QString, code);
        QFETCH(qint64, first);
        QFETCH(qint64, last);
        QFETCH(int, digits);
        QFETCH(int, registered);
        QFETCH(int, duplicates);
        QFETCH(QStringList, named);
        QFETCH(QStringList, stored);

        test::TestData data;
        QVERIFY(data.open());
        for (const QString &number : existing)
            QVERIFY(data.exec(QStringLiteral("insert into DataCKSPTable(发票代码, 发票编号, 票据状态) values('A', ?, '未用')"),
                              {number}));
        QStringList heard;
        const RegistrationReport report = registerNumbers(
            data.db(), {QStringLiteral("通用出口发票"), code, first, last, digits},
            [&](const QString &number) { heard << number; });
        QVERIFY2(report.ok(), qPrintable(report.error));
        QCOMPARE(report.registered, registered);
        QCOMPARE(report.duplicates, duplicates);
        QCOMPARE(report.firstDuplicates, named);
        QCOMPARE(heard.size(), int(last >= first ? last - first + 1 : 0));
        QCOMPARE(storedNumbers(data, code), stored);
        QCOMPARE(data.scalar(QStringLiteral("select count(*) from DataCKSPTable where 模板种类 = ? and 票据状态 = ? "
                                            "and 发票代码 = ?"),
                             {QStringLiteral("通用出口发票"), QStringLiteral("未用"), code})
                     .toInt(),
                 registered);
    }

    void noCodeIsTheEmptyCode()
    {
        test::TestData data;
        QVERIFY(data.open());
        QCOMPARE(registerNumbers(data.db(), {QStringLiteral("t"), QString(), 1, 3, 8}).registered, 3);
        const RegistrationReport again = registerNumbers(data.db(), {QStringLiteral("t"), QStringLiteral(""), 1, 3, 8});
        QCOMPARE(again.registered, 0);
        QCOMPARE(again.duplicates, 3);
        QCOMPARE(data.scalar(QStringLiteral("select count(*) from DataCKSPTable where 发票代码 = ''")).toInt(), 3);
    }

    void aFailedInsertRegistersNothing()
    {
        test::TestData data;
        QVERIFY(data.open());
        QVERIFY(data.exec(QStringLiteral("insert into DataCKSPTable(发票代码, 发票编号) values('A', '00000020')")));
        QVERIFY(data.exec(QStringLiteral("create trigger refuse before insert on DataCKSPTable when "
                                         "new.发票编号 = '00000005' begin select raise(abort, 'refused'); end")));
        const RegistrationReport report =
            registerNumbers(data.db(), {QStringLiteral("通用出口发票"), QStringLiteral("A"), 1, 10, 8});
        QVERIFY(!report.ok());
        QVERIFY2(report.error.contains(QStringLiteral("refused")), qPrintable(report.error));
        QCOMPARE(report.failedNumber, QStringLiteral("00000005"));
        QCOMPARE(report.registered, 0);
        QCOMPARE(storedNumbers(data, QStringLiteral("A")), QStringList({"00000020"}));

        // The connection is usable afterwards: the transaction was closed.
        QVERIFY(data.exec(QStringLiteral("drop trigger refuse")));
        QCOMPARE(registerNumbers(data.db(), {QStringLiteral("t"), QStringLiteral("A"), 1, 10, 8}).registered, 10);
    }

    void voids_data()
    {
        QTest::addColumn<InvoiceKind>("kind");
        QTest::addColumn<QVariantList>("keys");
        QTest::addColumn<int>("voided");
        QTest::addColumn<QStringList>("states"); // of rows 1..5 afterwards
        QTest::newRow("receipt, two rows") << InvoiceKind::Receipt << QVariantList{1, 3} << 2
                                           << QStringList({"作废", "作废", "作废", "", "已用"});
        QTest::newRow("export, a missing key") << InvoiceKind::Export << QVariantList{4, 99} << 1
                                               << QStringList({"已用", "作废", "未用", "作废", "已用"});
        QTest::newRow("freight, none") << InvoiceKind::Freight << QVariantList{} << 0
                                       << QStringList({"已用", "作废", "未用", "", "已用"});
        QTest::newRow("keys as text") << InvoiceKind::Receipt << QVariantList{QStringLiteral("5")} << 1
                                      << QStringList({"已用", "作废", "未用", "", "作废"});
    }
    void voids()
    {
        QFETCH(InvoiceKind, kind);
        QFETCH(QVariantList, keys);
        QFETCH(int, voided);
        QFETCH(QStringList, states);
        test::TestData data;
        QVERIFY(data.open());
        QVERIFY(test::addInvoices(data, kind));
        QString error;
        QCOMPARE(voidInvoices(data.db(), kind, keys, &error), voided);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QSqlQuery q(data.db());
        QVERIFY(q.exec(QStringLiteral("select 票据状态 from ") + InvoiceQuery(kind).table()
                       + QStringLiteral(" order by 流水号")));
        QStringList after;
        while (q.next())
            after << q.value(0).toString();
        QCOMPARE(after, states);
        QCOMPARE(voidReport(voided), QStringLiteral("成功作废") + QString::number(voided) + QStringLiteral("条记录！"));
    }

    void manyKeysVoidInSlices()
    {
        test::TestData data;
        QVERIFY(data.open());
        QVERIFY(registerNumbers(data.db(), {QStringLiteral("t"), QStringLiteral("A"), 1, 1200, 8}).ok());
        QVariantList keys;
        for (int id = 1; id <= 1200; ++id)
            keys << id;
        QCOMPARE(voidInvoices(data.db(), InvoiceKind::Export, keys), 1200);
        QCOMPARE(data.scalar(QStringLiteral("select count(*) from DataCKSPTable where 票据状态 = '作废'")).toInt(), 1200);
    }

    void voidErrorChangesNothing()
    {
        test::TestData data;
        QVERIFY(data.open());
        QVERIFY(test::addInvoices(data, InvoiceKind::Export));
        QVERIFY(data.exec(QStringLiteral("create trigger refuse before update on DataCKSPTable when "
                                         "old.流水号 = 3 begin select raise(abort, 'refused'); end")));
        QString error;
        QCOMPARE(voidInvoices(data.db(), InvoiceKind::Export, {1, 3}, &error), -1);
        QVERIFY(error.contains(QStringLiteral("refused")));
        QCOMPARE(data.scalar(QStringLiteral("select 票据状态 from DataCKSPTable where 流水号 = 1")).toString(),
                 QStringLiteral("已用"));
    }

    void duplicateMessage()
    {
        QCOMPARE(duplicateText(QStringLiteral("00000001")), QStringLiteral("00000001编号票据已经存在了，跳过登记了！"));
    }
};

QTEST_GUILESS_MAIN(TestInvoiceNumbers)
#include "test_invoice_numbers.moc"
