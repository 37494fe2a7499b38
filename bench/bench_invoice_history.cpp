// Fills a fresh data directory with 100,000 receipts, then times the receipt
// history's searches (rows listed through the grid model, every row fetched,
// plus the amount total) and the registration of 10,000 export invoice numbers.

#include "HistoryBench.h"
#include "app/AppCore.h"
#include "history/InvoiceNumbers.h"
#include "history/InvoiceQuery.h"

#include <QCoreApplication>
#include <QTextStream>

using namespace moque;
using namespace moque::history;

namespace {

constexpr int receiptCount = 100000;
constexpr int customerCount = 2000;
constexpr qint64 registeredCount = 10000;

bool fill(QSqlDatabase db)
{
    db.transaction();
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO DataCheckReceipt(模板种类, 票据编号, 票据代码, 票据状态, 出票日期, 币种, "
                             "合计金额, 销货方名称, 顾客名称, 顾客地址, 顾客电话, 开票人, 收款人, 收费内容1, 数量1, "
                             "单价1, 金额1) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    const QStringList templates{QStringLiteral("通用收据"), QStringLiteral("定额收据"), QStringLiteral("增值税普通发票")};
    const QStringList states{QStringLiteral("已用"), QStringLiteral("已用"), QStringLiteral("未用"), QStringLiteral("作废")};
    const QDate first(2022, 1, 1);
    for (int i = 0; i < receiptCount; ++i) {
        const int c = (i * 7919) % customerCount;
        // Amounts: plain numbers, numbers with a unit, a few blanks and texts.
        QString amount = QString::number(50 + (i * 37) % 5000) + (i % 3 == 0 ? QStringLiteral(".50") : QString());
        if (i % 10 == 0)
            amount += QStringLiteral("元");
        else if (i % 17 == 0)
            amount.clear();
        else if (i % 29 == 0)
            amount = QStringLiteral("待定");
        q.addBindValue(templates[i % templates.size()]);
        q.addBindValue(QStringLiteral("%1").arg(i, 8, 10, QLatin1Char('0')));
        q.addBindValue(QStringLiteral("144001900111"));
        q.addBindValue(states[i % states.size()]);
        q.addBindValue(first.addDays(i % 1095).toString(Qt::ISODate));
        q.addBindValue(QStringLiteral("人民币"));
        q.addBindValue(amount);
        q.addBindValue(QStringLiteral("我方贸易有限公司"));
        q.addBindValue(QStringLiteral("客户公司%1有限公司").arg(c, 4, 10, QLatin1Char('0')));
        q.addBindValue(QStringLiteral("某某省某某市某某区某某路%1号").arg(c));
        q.addBindValue(QStringLiteral("1380000%1").arg(c, 4, 10, QLatin1Char('0')));
        q.addBindValue(QStringLiteral("开票员%1").arg(i % 7));
        q.addBindValue(QStringLiteral("收款员%1").arg(i % 5));
        q.addBindValue(QStringLiteral("服务费"));
        q.addBindValue(QStringLiteral("1"));
        q.addBindValue(amount);
        q.addBindValue(amount);
        if (!insertRow(db, q))
            return false;
    }
    return db.commit();
}

HistorySearch search(const InvoiceQuery &query, const QString &name, const InvoiceFilter &filter)
{
    return {name, query.listStatement(filter), query.totalsStatement(filter)};
}

// Registers a range through the core and prints how long it took.
bool timeRegistration(QSqlDatabase db, const QString &what, const NumberRange &range, QTextStream &out)
{
    QElapsedTimer t;
    t.start();
    const RegistrationReport report = registerNumbers(db, range);
    const qint64 ms = t.elapsed();
    if (!report.ok()) {
        out << what << " failed: " << report.error << Qt::endl;
        return false;
    }
    out << "  " << what << ": " << report.registered << " registered, " << report.duplicates << " duplicates, "
        << ms << " ms" << Qt::endl;
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    BenchCore bench;
    if (!openAndFill(bench.core, fill, receiptCount, QStringLiteral("receipts"), out))
        return 1;

    const InvoiceQuery receipts(InvoiceKind::Receipt);
    const HistoryTable receiptTable{receipts.table(), InvoiceQuery::keyColumn(), &InvoiceQuery::totalLabel};
    QList<HistorySearch> searches;
    InvoiceFilter f;
    f.party = QStringLiteral("公司0123");
    searches << search(receipts, QStringLiteral("customer contains"), f);
    f.party = QStringLiteral("客户公司0123有限公司");
    f.match = MatchMode::Exact;
    searches << search(receipts, QStringLiteral("customer exact"), f);
    f = InvoiceFilter();
    f.party = QStringLiteral("公司01");
    f.amountFrom = QStringLiteral("1000");
    f.amountTo = QStringLiteral("3000");
    searches << search(receipts, QStringLiteral("customer contains, amount range"), f);
    f = InvoiceFilter();
    f.anyDate = false;
    f.from = QDate(2023, 5, 1);
    f.to = QDate(2023, 5, 31);
    searches << search(receipts, QStringLiteral("one month"), f);
    searches << search(receipts, QStringLiteral("no filter (every row)"), InvoiceFilter());
    out << "receipt history searches:" << Qt::endl;
    timeHistorySearches(bench.core.db(), receiptTable, searches, out);
    out << "target: customer search (list and totals) under 300 ms" << Qt::endl;

    out << "export invoice number registration:" << Qt::endl;
    const QString templateName = QStringLiteral("通用出口发票");
    if (!timeRegistration(bench.core.db(), QStringLiteral("10,000 new numbers"),
                          {templateName, QStringLiteral("1100"), 1, registeredCount, 8}, out)
        || !timeRegistration(bench.core.db(), QStringLiteral("the same 10,000 again (all duplicates)"),
                             {templateName, QStringLiteral("1100"), 1, registeredCount, 8}, out)
        || !timeRegistration(bench.core.db(), QStringLiteral("10,000 more beside 10,000 of the code"),
                             {templateName, QStringLiteral("1100"), registeredCount + 1, 2 * registeredCount, 8}, out))
        return 1;
    out << "target: 10,000 numbers registered under 1 s" << Qt::endl;
    return 0;
}
