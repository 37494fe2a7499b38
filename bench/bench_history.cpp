// Fills a fresh data directory with 100,000 waybills, then times the waybill
// history's searches (rows listed through the grid model, every row fetched,
// plus the totals) before and after the history indexes are created.

#include "HistoryBench.h"
#include "app/AppCore.h"
#include "history/HistoryStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

using namespace moque;
using namespace moque::history;

namespace {

constexpr int waybillCount = 100000;
constexpr int receiverCount = 2000;

bool fill(QSqlDatabase db)
{
    db.transaction();
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO DataKDDTable(模板种类, 寄件单位, 寄件地址, 寄件联系人, 寄件电话, 寄件日期, "
                             "收件单位, 收件地址, 收件省, 收件市县, 收件联系人, 收件电话, 物品内容, 件数, 重量, "
                             "总费用, 快递单号) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    const QStringList templates{QStringLiteral("顺丰速运"), QStringLiteral("圆通快递"), QStringLiteral("中通快递"),
                                QStringLiteral("韵达快递"), QStringLiteral("EMS")};
    const QDate first(2022, 1, 1);
    for (int i = 0; i < waybillCount; ++i) {
        const int r = (i * 7919) % receiverCount;
        // Fees: plain numbers, numbers with a unit, a few blanks and texts.
        QVariant fee = QString::number(5 + (i * 37) % 200) + (i % 3 == 0 ? QStringLiteral(".5") : QString());
        if (i % 10 == 0)
            fee = fee.toString() + QStringLiteral("元");
        else if (i % 17 == 0)
            fee = QString();
        else if (i % 29 == 0)
            fee = QStringLiteral("到付");
        q.addBindValue(templates[i % templates.size()]);
        q.addBindValue(QStringLiteral("我方贸易有限公司%1部").arg(i % 5));
        q.addBindValue(QStringLiteral("广东省深圳市南山区科技园路%1号").arg(i % 300));
        q.addBindValue(QStringLiteral("寄件人%1").arg(i % 40));
        q.addBindValue(QStringLiteral("0755-8%1").arg(1000000 + i % 9000000));
        q.addBindValue(first.addDays(i % 1095).toString(Qt::ISODate));
        q.addBindValue(QStringLiteral("客户公司%1有限公司").arg(r, 4, 10, QLatin1Char('0')));
        q.addBindValue(QStringLiteral("某某省某某市某某区某某路%1号%2室").arg(r).arg(i % 50));
        q.addBindValue(QStringLiteral("省份%1").arg(r % 31));
        q.addBindValue(QStringLiteral("城市%1").arg(r % 300));
        q.addBindValue(QStringLiteral("联系人%1").arg(r, 4, 10, QLatin1Char('0')));
        q.addBindValue(QStringLiteral("1380000%1").arg(r, 4, 10, QLatin1Char('0')));
        q.addBindValue(QStringLiteral("文件资料"));
        q.addBindValue(QString::number(1 + i % 5));
        q.addBindValue(QString::number(0.5 + (i % 20) * 0.5));
        q.addBindValue(fee);
        q.addBindValue(QStringLiteral("SF%1").arg(100000000 + i));
        if (!insertRow(db, q))
            return false;
    }
    return db.commit();
}

HistorySearch search(const QString &name, const WaybillFilter &filter)
{
    return {name, WaybillQuery::listStatement(filter), WaybillQuery::totalsStatement(filter)};
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    BenchCore bench;
    if (!openAndFill(bench.core, fill, waybillCount, QStringLiteral("waybills"), out))
        return 1;

    const HistoryTable waybills{WaybillQuery::table(), WaybillQuery::keyColumn(),
                                [](const Totals &totals) { return totals.waybillLabel(); }};
    QList<HistorySearch> searches;
    WaybillFilter f;
    f.receiver = QStringLiteral("公司0123");
    searches << search(QStringLiteral("receiver contains"), f);
    f.receiver = QStringLiteral("客户公司0123有限公司");
    f.match = MatchMode::Exact;
    searches << search(QStringLiteral("receiver exact"), f);
    f = WaybillFilter();
    f.anyDate = false;
    f.from = QDate(2023, 5, 1);
    f.to = QDate(2023, 5, 31);
    searches << search(QStringLiteral("one month"), f);
    f.receiver = QStringLiteral("公司01");
    searches << search(QStringLiteral("one month, receiver contains"), f);
    f = WaybillFilter();
    f.number = QStringLiteral("SF100054321");
    f.match = MatchMode::Exact;
    searches << search(QStringLiteral("waybill number exact"), f);
    searches << search(QStringLiteral("no filter (every row)"), WaybillFilter());

    out << "without history indexes:" << Qt::endl;
    timeHistorySearches(bench.core.db(), waybills, searches, out);

    QElapsedTimer t;
    t.start();
    QString error;
    if (!ensureHistoryIndexes(bench.core.db(), &error)) {
        out << "indexes failed: " << error << Qt::endl;
        return 1;
    }
    out << "history indexes created: " << t.elapsed() << " ms" << Qt::endl;
    out << "with history indexes:" << Qt::endl;
    timeHistorySearches(bench.core.db(), waybills, searches, out);
    out << "target: receiver search (list and totals) under 300 ms" << Qt::endl;
    return 0;
}
