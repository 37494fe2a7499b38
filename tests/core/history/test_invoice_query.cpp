#include "store/SqlListModel.h"
#include "history/HistoryStore.h"
#include "history/InvoiceQuery.h"
#include "InvoiceFixture.h"

#include <QSqlError>
#include <QTest>

using namespace moque;
using namespace moque::history;

Q_DECLARE_METATYPE(moque::history::InvoiceKind)

namespace {

QList<int> listedIds(QSqlDatabase db, const InvoiceQuery &query, const BoundStatement &statement)
{
    SqlListModel model;
    model.setSource(db, statement.sql, statement.values, query.table(), InvoiceQuery::keyColumn());
    if (!model.refresh()) {
        qWarning() << model.lastError().text();
        return {-1};
    }
    QList<int> ids;
    for (int row = 0; row < model.rowCount(); ++row)
        ids << model.fieldValue(row, InvoiceQuery::keyColumn()).toInt();
    return ids;
}

} // namespace

class TestInvoiceQuery : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void filters_data()
    {
        QTest::addColumn<InvoiceKind>("kind");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("party");
        QTest::addColumn<QString>("templateName");
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("contract");
        QTest::addColumn<QString>("from"); // empty: "不限日期"
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("amountFrom");
        QTest::addColumn<QString>("amountTo");
        QTest::addColumn<bool>("exact");
        QTest::addColumn<QList<int>>("ids");

        using L = QList<int>;
        const auto receipt = InvoiceKind::Receipt;
        const auto freight = InvoiceKind::Freight;
        const auto exportKind = InvoiceKind::Export;
        QTest::newRow("receipt, none, newest first")
            << receipt << "" << "" << "" << "" << "" << "" << "" << "" << "" << false << L{5, 4, 3, 2, 1};
        QTest::newRow("receipt, party contains")
            << receipt << "" << " 广州甲 " << "" << "" << "" << "" << "" << "" << "" << false << L{4, 1};
        QTest::newRow("receipt, party exact")
            << receipt << "" << "广州甲公司" << "" << "" << "" << "" << "" << "" << "" << true << L{1};
        QTest::newRow("receipt, party exact, % is a character")
            << receipt << "" << "50%折扣店" << "" << "" << "" << "" << "" << "" << "" << true << L{3};
        QTest::newRow("receipt, party contains %, literally")
            << receipt << "" << "0%" << "" << "" << "" << "" << "" << "" << "" << false << L{3};
        QTest::newRow("receipt, party exact with quotes")
            << receipt << "" << "O'Brien \"Ltd\"" << "" << "" << "" << "" << "" << "" << "" << true << L{5};
        QTest::newRow("receipt, number exact, letter case ignored")
            << receipt << "R001" << "" << "" << "" << "" << "" << "" << "" << "" << true << L{4, 1};
        QTest::newRow("receipt, number contains")
            << receipt << "R0" << "" << "" << "" << "" << "" << "" << "" << "" << false << L{4, 3, 2, 1};
        QTest::newRow("receipt, template exact")
            << receipt << "" << "" << "通用收据" << "" << "" << "" << "" << "" << "" << true << L{4, 3, 1};
        QTest::newRow("receipt, template exact, a prefix finds nothing")
            << receipt << "" << "" << "通用" << "" << "" << "" << "" << "" << "" << true << L{};
        QTest::newRow("receipt, template contains")
            << receipt << "" << "" << "定额" << "" << "" << "" << "" << "" << "" << false << L{5, 2};
        QTest::newRow("receipt, period, both ends included")
            << receipt << "" << "" << "" << "" << "" << "2024-03-01" << "2024-03-10" << "" << "" << false
            << L{3, 2, 1};
        QTest::newRow("receipt, period across the leap day")
            << receipt << "" << "" << "" << "" << "" << "2024-02-29" << "2024-03-01" << "" << "" << false << L{4, 1};
        QTest::newRow("receipt, amount from: unit counted, null left out")
            << receipt << "" << "" << "" << "" << "" << "" << "" << " 20 " << "" << false << L{2, 1};
        QTest::newRow("receipt, amount to: blank and text count 0")
            << receipt << "" << "" << "" << "" << "" << "" << "" << "" << "50" << false << L{5, 3, 2};
        QTest::newRow("receipt, amount range")
            << receipt << "" << "" << "" << "" << "" << "" << "" << "20" << "20.5" << false << L{2};
        QTest::newRow("receipt, invalid amounts add nothing")
            << receipt << "" << "" << "" << "" << "" << "" << "" << "abc" << "12元" << false << L{5, 4, 3, 2, 1};
        QTest::newRow("receipt, state and contract are not its filters")
            << receipt << "" << "" << "" << "作废" << "HT-100" << "" << "" << "" << "" << true << L{5, 4, 3, 2, 1};
        QTest::newRow("receipt, combined")
            << receipt << "R0" << "广州" << "通用收据" << "" << "" << "2024-03-01" << "2024-03-31" << "50" << ""
            << false << L{1};
        QTest::newRow("freight, party contains")
            << freight << "" << "广州甲" << "" << "" << "" << "" << "" << "" << "" << false << L{4, 1};
        QTest::newRow("freight, template and amount")
            << freight << "" << "" << "通用收据" << "" << "" << "" << "" << "1" << "" << true << L{1};
        QTest::newRow("export, buyer exact")
            << exportKind << "" << "广州甲公司" << "" << "" << "" << "" << "" << "" << "" << true << L{1};
        QTest::newRow("export, state exact")
            << exportKind << "" << "" << "" << "作废" << "" << "" << "" << "" << "" << true << L{2};
        QTest::newRow("export, state contains")
            << exportKind << "" << "" << "" << "用" << "" << "" << "" << "" << "" << false << L{5, 3, 1};
        QTest::newRow("export, contract contains")
            << exportKind << "" << "" << "" << "" << "HT-1" << "" << "" << "" << "" << false << L{3, 1};
        QTest::newRow("export, contract exact")
            << exportKind << "" << "" << "" << "" << "HT-1" << "" << "" << "" << "" << true << L{};
        QTest::newRow("export, template is not its filter")
            << exportKind << "" << "" << "定额收据" << "" << "" << "" << "" << "" << "" << true << L{5, 4, 3, 2, 1};
        QTest::newRow("export, amount on 金额合计")
            << exportKind << "" << "" << "" << "" << "" << "" << "" << "20" << "" << false << L{2, 1};
        QTest::newRow("export, combined")
            << exportKind << "" << "广州" << "" << "已用" << "" << "" << "" << "" << "" << false << L{1};
    }
    void filters()
    {
        QFETCH(InvoiceKind, kind);
        QFETCH(QString, number);
        QFETCH(QString, party);
        QFETCH(QString, templateName);
        QFETCH(QString, state);
        QFETCH(QString, contract);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, amountFrom);
        QFETCH(QString, amountTo);
        QFETCH(bool, exact);
        QFETCH(QList<int>, ids);

        test::TestData data;
        QVERIFY(data.open());
        QVERIFY(test::addInvoices(data, kind));
        const InvoiceQuery query(kind);
        InvoiceFilter f;
        f.number = number;
        f.party = party;
        f.templateName = templateName;
        f.state = state;
        f.contract = contract;
        f.amountFrom = amountFrom;
        f.amountTo = amountTo;
        f.anyDate = from.isEmpty();
        f.from = QDate::fromString(from, Qt::ISODate);
        f.to = QDate::fromString(to, Qt::ISODate);
        f.match = exact ? MatchMode::Exact : MatchMode::Contains;

        const BoundStatement list = query.listStatement(f);
        for (const QString &typed : {number, party, templateName, state, contract})
            if (!typed.trimmed().isEmpty())
                QVERIFY2(!list.sql.contains(typed.trimmed()), qPrintable(list.sql));
        QCOMPARE(listedIds(data.db(), query, list), ids);

        QVERIFY(ensureHistoryIndexes(data.db()));
        QCOMPARE(listedIds(data.db(), query, list), ids);

        const std::optional<Totals> totals = readTotals(data.db(), query.totalsStatement(f));
        QVERIFY(totals);
        QCOMPARE(totals->count, qint64(ids.size()));
    }

    void exportNumberFindsARegisteredNumber_data()
    {
        QTest::addColumn<bool>("exact");
        QTest::newRow("exact") << true;
        QTest::newRow("contains") << false;
    }
    void exportNumberFindsARegisteredNumber()
    {
        QFETCH(bool, exact);
        test::TestData data;
        QVERIFY(data.open());
        QVERIFY(test::addInvoices(data, InvoiceKind::Export));
        QVERIFY(data.exec("insert into DataCKSPTable(模板种类, 发票代码, 发票编号, 票据状态) values(?, ?, ?, ?)",
                          {QStringLiteral("通用出口发票"), QStringLiteral("4400"), QStringLiteral("00000042"),
                           QStringLiteral("未用")}));
        const int registered = data.scalar("select max(流水号) from DataCKSPTable").toInt();
        const InvoiceQuery query(InvoiceKind::Export);
        InvoiceFilter f;
        f.number = exact ? QStringLiteral("00000042") : QStringLiteral("0042");
        f.match = exact ? MatchMode::Exact : MatchMode::Contains;
        QCOMPARE(listedIds(data.db(), query, query.listStatement(f)), QList<int>{registered});
    }

    void totals_data()
    {
        QTest::addColumn<InvoiceKind>("kind");
        QTest::addColumn<QString>("party");
        QTest::addColumn<qint64>("count");
        QTest::addColumn<QString>("label");
        // Amounts: "100", "20.5元", "  ", null, "abc".
        QTest::newRow("receipt, all: blank and null left out, text counts 0")
            << InvoiceKind::Receipt << "" << qint64(5) << "金额汇总:￥120.5";
        QTest::newRow("receipt, unit after the number")
            << InvoiceKind::Receipt << "北京丙" << qint64(1) << "金额汇总:￥20.5";
        QTest::newRow("receipt, only a blank amount: empty sum")
            << InvoiceKind::Receipt << "50%折扣店" << qint64(1) << "金额汇总:￥";
        QTest::newRow("freight, only a null amount: empty sum")
            << InvoiceKind::Freight << "广州甲公司分部" << qint64(1) << "金额汇总:￥";
        QTest::newRow("freight, only a text amount") << InvoiceKind::Freight << "O'Brien \"Ltd\"" << qint64(1)
                                                    << "金额汇总:￥0";
        QTest::newRow("export sums 金额合计") << InvoiceKind::Export << "" << qint64(5) << "金额汇总:￥120.5";
        QTest::newRow("no rows") << InvoiceKind::Receipt << "nobody" << qint64(0) << "金额汇总:￥";
    }
    void totals()
    {
        QFETCH(InvoiceKind, kind);
        QFETCH(QString, party);
        QFETCH(qint64, count);
        QFETCH(QString, label);
        test::TestData data;
        QVERIFY(data.open());
        QVERIFY(test::addInvoices(data, kind));
        const InvoiceQuery query(kind);
        InvoiceFilter f;
        f.party = party;
        f.match = MatchMode::Exact;
        QString error;
        const std::optional<Totals> totals = readTotals(data.db(), query.totalsStatement(f), &error);
        QVERIFY2(totals, qPrintable(error));
        QCOMPARE(totals->count, count);
        QCOMPARE(InvoiceQuery::totalLabel(*totals), label);
    }

    void kinds_data()
    {
        QTest::addColumn<InvoiceKind>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("party");
        QTest::addColumn<QString>("amount");
        QTest::newRow("receipt") << InvoiceKind::Receipt << "普通发票收据" << "DataCheckReceipt" << "顾客名称"
                                 << "合计金额";
        QTest::newRow("freight") << InvoiceKind::Freight << "国际货运发票" << "DataCheckIntel" << "顾客名称"
                                 << "合计金额";
        QTest::newRow("export") << InvoiceKind::Export << "出口商品发票" << "DataCKSPTable" << "购方单位"
                                << "金额合计";
    }
    void kinds()
    {
        QFETCH(InvoiceKind, kind);
        QFETCH(QString, name);
        QFETCH(QString, table);
        QFETCH(QString, party);
        QFETCH(QString, amount);
        const InvoiceQuery query(kind);
        QCOMPARE(query.kindName(), name);
        QCOMPARE(query.table(), table);
        QCOMPARE(query.partyColumn(), party);
        QCOMPARE(query.amountColumn(), amount);
        const QStringList columns = query.columns();
        QCOMPARE(columns.value(0), QStringLiteral("流水号"));
        for (const QString &c : {InvoiceQuery::numberColumn(), InvoiceQuery::dateColumn(), InvoiceQuery::stateColumn(),
                                 party, amount, QStringLiteral("模板种类")})
            QVERIFY2(columns.contains(c), qPrintable(c));

        test::TestData data;
        QVERIFY(data.open());
        SqlListModel model;
        const BoundStatement all = query.listStatement(InvoiceFilter());
        model.setSource(data.db(), all.sql, all.values, query.table(), InvoiceQuery::keyColumn());
        QVERIFY(model.refresh());
        QCOMPARE(model.columnCount(), columns.size());
    }

    void sortColumn_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QList<int>>("ids");
        QTest::newRow("key") << "流水号" << QList<int>{5, 4, 3, 2, 1};
        QTest::newRow("date, descending") << "出票日期" << QList<int>{5, 3, 2, 1, 4};
        QTest::newRow("unknown column sorts by key") << "x\"; DROP TABLE DataCheckReceipt; --"
                                                     << QList<int>{5, 4, 3, 2, 1};
    }
    void sortColumn()
    {
        QFETCH(QString, column);
        QFETCH(QList<int>, ids);
        test::TestData data;
        QVERIFY(data.open());
        QVERIFY(test::addInvoices(data, InvoiceKind::Receipt));
        const InvoiceQuery query(InvoiceKind::Receipt);
        QCOMPARE(listedIds(data.db(), query, query.listStatement(InvoiceFilter(), column)), ids);
    }

    void amounts_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("invalid");
        QTest::newRow("whole") << "12" << true << 12.0 << false;
        QTest::newRow("trimmed decimal") << " 12.5 " << true << 12.5 << false;
        QTest::newRow("negative") << "-3" << true << -3.0 << false;
        QTest::newRow("empty: no bound, not invalid") << "" << false << 0.0 << false;
        QTest::newRow("blank: no bound, not invalid") << "   " << false << 0.0 << false;
        QTest::newRow("text") << "abc" << false << 0.0 << true;
        QTest::newRow("number with a unit") << "12元" << false << 0.0 << true;
        QTest::newRow("the replacement itself") << "非法数字" << false << 0.0 << true;
    }
    void amounts()
    {
        QFETCH(QString, typed);
        QFETCH(bool, valid);
        QFETCH(double, value);
        QFETCH(bool, invalid);
        const std::optional<double> bound = amountBound(typed);
        QCOMPARE(bool(bound), valid);
        if (valid)
            QCOMPARE(*bound, value);
        QCOMPARE(isInvalidAmount(typed), invalid);
    }

    void rowColours_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QColor>("text");
        QTest::addColumn<QColor>("background");
        QTest::newRow("voided") << "作废" << QColor(Qt::white) << QColor(Qt::red);
        QTest::newRow("voided, blanks around") << " 作废 " << QColor(Qt::white) << QColor(Qt::red);
        QTest::newRow("used") << "已用" << QColor(Qt::black) << QColor(Qt::yellow);
        QTest::newRow("unused") << "未用" << QColor(Qt::black) << QColor(Qt::white);
        QTest::newRow("none") << "" << QColor(Qt::black) << QColor(Qt::white);
        QTest::newRow("other text") << "作废了" << QColor(Qt::black) << QColor(Qt::white);
    }
    void rowColours()
    {
        QFETCH(QString, state);
        QFETCH(QColor, text);
        QFETCH(QColor, background);
        QCOMPARE(rowColoursOfState(state), (RowColours{text, background}));
    }

    void reversedPeriod()
    {
        InvoiceFilter f;
        f.anyDate = false;
        f.from = QDate(2024, 3, 10);
        f.to = QDate(2024, 3, 1);
        QCOMPARE(periodError(f.anyDate, f.from, f.to), QStringLiteral("日期选择有误:\"2024-03-10\">\"2024-03-01\""));
        QVERIFY(periodError(true, f.from, f.to).isEmpty());
        QVERIFY(periodError(false, f.to, f.from).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestInvoiceQuery)
#include "test_invoice_query.moc"
