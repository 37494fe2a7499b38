#include "store/SqlListModel.h"
#include "history/HistoryQuery.h"
#include "history/HistoryStore.h"
#include "store/Schema.h"
#include "HistoryFixture.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

using namespace moque;
using namespace moque::history;

namespace {

QList<int> listedIds(QSqlDatabase db, const BoundStatement &statement)
{
    SqlListModel model;
    model.setSource(db, statement.sql, statement.values, WaybillQuery::table(), WaybillQuery::keyColumn());
    if (!model.refresh()) {
        qWarning() << model.lastError().text();
        return {-1};
    }
    QList<int> ids;
    for (int row = 0; row < model.rowCount(); ++row)
        ids << model.fieldValue(row, WaybillQuery::keyColumn()).toInt();
    return ids;
}

WaybillFilter period(const QString &from, const QString &to)
{
    WaybillFilter f;
    f.anyDate = false;
    f.from = QDate::fromString(from, Qt::ISODate);
    f.to = QDate::fromString(to, Qt::ISODate);
    return f;
}

} // namespace

class TestHistoryQuery : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void filters_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("sender");
        QTest::addColumn<QString>("receiver");
        QTest::addColumn<QString>("templateName");
        QTest::addColumn<QString>("from"); // empty: "不限日期"
        QTest::addColumn<QString>("to");
        QTest::addColumn<bool>("exact");
        QTest::addColumn<QList<int>>("ids");

        using L = QList<int>;
        QTest::newRow("none, newest first") << "" << "" << "" << "" << "" << "" << false << L{6, 5, 4, 3, 2, 1};
        QTest::newRow("blank filters are not in use") << "  " << " " << "\t" << " " << "" << "" << true
                                                      << L{6, 5, 4, 3, 2, 1};
        QTest::newRow("receiver contains, company or contact") << "" << "" << "广州甲" << "" << "" << "" << false
                                                               << L{6, 2, 1};
        QTest::newRow("receiver contains, trimmed") << "" << "" << "  广州甲 " << "" << "" << "" << false
                                                    << L{6, 2, 1};
        QTest::newRow("receiver exact, company or contact") << "" << "" << "广州甲公司" << "" << "" << "" << true
                                                            << L{2, 1};
        QTest::newRow("receiver exact, part finds nothing") << "" << "" << "广州甲" << "" << "" << "" << true << L{};
        QTest::newRow("receiver exact, % is a character") << "" << "" << "50%折扣店" << "" << "" << "" << true
                                                           << L{3};
        QTest::newRow("receiver exact, _ is a character") << "" << "" << "赵_六" << "" << "" << "" << true << L{3};
        QTest::newRow("receiver contains %, literally") << "" << "" << "0%" << "" << "" << "" << false << L{3};
        QTest::newRow("receiver contains _, literally") << "" << "" << "赵_" << "" << "" << "" << false << L{3};
        QTest::newRow("receiver exact with quotes") << "" << "" << "O'Brien \"Ltd\"" << "" << "" << "" << true
                                                    << L{4};
        QTest::newRow("receiver contains quotes") << "" << "" << "'Brien \"" << "" << "" << "" << false << L{4};
        QTest::newRow("sender exact contact") << "" << "李四" << "" << "" << "" << "" << true << L{3, 1};
        QTest::newRow("sender contains company") << "" << "深圳" << "" << "" << "" << "" << false << L{3, 1};
        QTest::newRow("sender exact company") << "" << "上海丁" << "" << "" << "" << "" << true << L{2};
        QTest::newRow("number exact, letter case ignored") << "SF001" << "" << "" << "" << "" << "" << true
                                                           << L{6, 1};
        QTest::newRow("number contains") << "SF001" << "" << "" << "" << "" << "" << false << L{6, 4, 1};
        QTest::newRow("template exact") << "" << "" << "" << "顺丰" << "" << "" << true << L{6, 3, 1};
        QTest::newRow("template contains") << "" << "" << "" << "顺丰" << "" << "" << false << L{6, 4, 3, 1};
        QTest::newRow("period, both ends included") << "" << "" << "" << "" << "2024-03-01" << "2024-03-10" << false
                                                    << L{5, 3, 2, 1};
        QTest::newRow("period of one day") << "" << "" << "" << "" << "2024-03-05" << "2024-03-05" << true << L{2};
        QTest::newRow("period across the leap day") << "" << "" << "" << "" << "2024-02-29" << "2024-03-01" << true
                                                    << L{4, 1};
        QTest::newRow("combined") << "" << "李四" << "" << "顺丰" << "2024-03-01" << "2024-03-09" << true << L{1};
        QTest::newRow("combined contains") << "SF" << "" << "广州" << "顺丰" << "" << "" << false << L{6, 1};
        QTest::newRow("combined, one filter excludes") << "SF003" << "" << "广州" << "" << "" << "" << false << L{};
    }
    void filters()
    {
        QFETCH(QString, number);
        QFETCH(QString, sender);
        QFETCH(QString, receiver);
        QFETCH(QString, templateName);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(bool, exact);
        QFETCH(QList<int>, ids);

        test::TestData data;
        QVERIFY(data.open());
        QVERIFY(test::addWaybills(data));
        WaybillFilter f = from.isEmpty() ? WaybillFilter() : period(from, to);
        f.number = number;
        f.sender = sender;
        f.receiver = receiver;
        f.templateName = templateName;
        f.match = exact ? MatchMode::Exact : MatchMode::Contains;

        const BoundStatement list = WaybillQuery::listStatement(f);
        for (const QString &typed : {number, sender, receiver, templateName})
            if (!typed.trimmed().isEmpty())
                QVERIFY2(!list.sql.contains(typed.trimmed()), qPrintable(list.sql));
        QCOMPARE(listedIds(data.db(), list), ids);

        // With or without the indexes, the same rows.
        QVERIFY(ensureHistoryIndexes(data.db()));
        QCOMPARE(listedIds(data.db(), list), ids);

        const std::optional<Totals> totals = readTotals(data.db(), WaybillQuery::totalsStatement(f));
        QVERIFY(totals);
        QCOMPARE(totals->count, qint64(ids.size()));
    }

    void sortColumn_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QList<int>>("ids");
        QTest::newRow("key") << "流水号" << QList<int>{6, 5, 4, 3, 2, 1};
        QTest::newRow("date, descending") << "寄件日期" << QList<int>{6, 5, 3, 2, 1, 4};
        QTest::newRow("unknown column sorts by key") << "x\"; DROP TABLE DataKDDTable; --"
                                                     << QList<int>{6, 5, 4, 3, 2, 1};
    }
    void sortColumn()
    {
        QFETCH(QString, column);
        QFETCH(QList<int>, ids);
        test::TestData data;
        QVERIFY(data.open());
        QVERIFY(test::addWaybills(data));
        QList<int> listed = listedIds(data.db(), WaybillQuery::listStatement(WaybillFilter(), column));
        // Rows 3 and 5 share a date: their order among themselves is the engine's.
        if (column == QStringLiteral("寄件日期") && listed.size() == 6 && listed[1] == 3)
            listed.swapItemsAt(1, 2);
        QCOMPARE(listed, ids);
    }

    void totals_data()
    {
        QTest::addColumn<QString>("receiver");
        QTest::addColumn<qint64>("count");
        QTest::addColumn<QString>("label");
        // Fees: " 10", "20元", "  ", null, "abc", "5.5".
        QTest::newRow("all: blanks and null left out, text counts 0") << "" << qint64(6) << "总费用汇总:￥35.5";
        QTest::newRow("unit after the number") << "北京丙" << qint64(1) << "总费用汇总:￥20";
        QTest::newRow("only text fees") << "500折扣店" << qint64(1) << "总费用汇总:￥0";
        QTest::newRow("only a blank fee: empty sum") << "50%折扣店" << qint64(1) << "总费用汇总:￥";
        QTest::newRow("only a null fee: empty sum") << "O'Brien \"Ltd\"" << qint64(1) << "总费用汇总:￥";
        QTest::newRow("no rows") << "nobody" << qint64(0) << "总费用汇总:￥";
    }
    void totals()
    {
        QFETCH(QString, receiver);
        QFETCH(qint64, count);
        QFETCH(QString, label);
        test::TestData data;
        QVERIFY(data.open());
        QVERIFY(test::addWaybills(data));
        WaybillFilter f;
        f.receiver = receiver;
        f.match = MatchMode::Exact;
        QString error;
        const std::optional<Totals> totals = readTotals(data.db(), WaybillQuery::totalsStatement(f), &error);
        QVERIFY2(totals, qPrintable(error));
        QCOMPARE(totals->count, count);
        QCOMPARE(totals->waybillLabel(), label);
    }

    void totalsOfEmptyTable()
    {
        test::TestData data;
        QVERIFY(data.open());
        const std::optional<Totals> totals = readTotals(data.db(), WaybillQuery::totalsStatement(WaybillFilter()));
        QVERIFY(totals);
        QCOMPARE(totals->count, qint64(0));
        QVERIFY(totals->sum.isNull());
        QCOMPARE(totals->waybillLabel(), QStringLiteral("总费用汇总:￥"));
    }

    void totalsError()
    {
        test::TestData data;
        QVERIFY(data.open());
        QString error;
        QVERIFY(!readTotals(data.db(), {QStringLiteral("SELECT count(*) FROM NoSuchTable"), {}}, &error));
        QVERIFY(!error.isEmpty());
    }

    void dateError_data()
    {
        QTest::addColumn<bool>("anyDate");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("text");
        QTest::newRow("reversed") << false << "2024-03-10" << "2024-03-01"
                                  << "日期选择有误:\"2024-03-10\">\"2024-03-01\"";
        QTest::newRow("same day") << false << "2024-03-10" << "2024-03-10" << "";
        QTest::newRow("in order") << false << "2024-03-01" << "2024-03-10" << "";
        QTest::newRow("reversed but not in use") << true << "2024-03-10" << "2024-03-01" << "";
    }
    void dateError()
    {
        QFETCH(bool, anyDate);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, text);
        WaybillFilter f = period(from, to);
        f.anyDate = anyDate;
        QCOMPARE(WaybillQuery::dateError(f), text);
    }

    void periods_data()
    {
        QTest::addColumn<QString>("node");
        QTest::addColumn<QDate>("from");
        QTest::addColumn<bool>("runQuery");
        // Today is 2024-03-15, in a leap year.
        QTest::newRow("今天") << "今天" << QDate(2024, 3, 15) << true;
        QTest::newRow("最近三天") << "最近三天" << QDate(2024, 3, 13) << true;
        QTest::newRow("最近一周") << "最近一周" << QDate(2024, 3, 9) << true;
        QTest::newRow("最近一个月") << "最近一个月" << QDate(2024, 2, 14) << true;
        QTest::newRow("最近三个月") << "最近三个月" << QDate(2023, 12, 16) << true;
        QTest::newRow("最近一年") << "最近一年" << QDate(2023, 3, 16) << true;
        QTest::newRow("本月内") << "本月内" << QDate(2024, 3, 1) << true;
        QTest::newRow("本年度内") << "本年度内" << QDate(2024, 1, 1) << true;
        QTest::newRow("其他日期") << "其他日期" << QDate(2022, 9, 14) << false;
    }
    void periods()
    {
        QFETCH(QString, node);
        QFETCH(QDate, from);
        QFETCH(bool, runQuery);
        QVERIFY(periodNodes().contains(node));
        const Period p = periodOfNode(node, QDate(2024, 3, 15));
        QCOMPARE(p.from, from);
        QCOMPARE(p.to, QDate(2024, 3, 15));
        QCOMPARE(p.runQuery, runQuery);
    }

    void sameFiltersGiveTheSameStatement()
    {
        WaybillFilter a;
        a.receiver = QStringLiteral("甲");
        WaybillFilter b = a;
        b.receiver = QStringLiteral(" 甲 ");
        QCOMPARE(WaybillQuery::listStatement(a), WaybillQuery::listStatement(b));
        b.match = MatchMode::Exact;
        QVERIFY(!(WaybillQuery::listStatement(a) == WaybillQuery::listStatement(b)));
    }

    void columnsAreTheTable()
    {
        const QStringList columns = WaybillQuery::columns();
        QCOMPARE(columns.value(0), QStringLiteral("流水号"));
        for (const char *c : {"收件单位", "收件联系人", "寄件单位", "寄件联系人", "寄件日期", "模板种类", "快递单号",
                              "总费用", "备注"})
            QVERIFY2(columns.contains(QString::fromUtf8(c)), c);
        test::TestData data;
        QVERIFY(data.open());
        SqlListModel model;
        const BoundStatement all = WaybillQuery::listStatement(WaybillFilter());
        model.setSource(data.db(), all.sql, all.values, WaybillQuery::table(), WaybillQuery::keyColumn());
        QVERIFY(model.refresh());
        QCOMPARE(model.columnCount(), columns.size());
    }
};

QTEST_GUILESS_MAIN(TestHistoryQuery)
#include "test_history_query.moc"
