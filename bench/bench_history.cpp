// Fills a fresh data directory with 100,000 waybills, then times the waybill
// history's searches (rows listed through the grid model, every row fetched,
// plus the totals) before and after the history indexes are created.

#include "BenchDialogs.h"
#include "app/AppCore.h"
#include "store/SqlListModel.h"
#include "history/HistoryQuery.h"
#include "history/HistoryStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

#include <functional>

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
        if (!q.exec()) {
            QTextStream(stderr) << q.lastError().text() << Qt::endl;
            db.rollback();
            return false;
        }
    }
    return db.commit();
}

struct Search
{
    QString name;
    WaybillFilter filter;
};

// The best of three runs: list (every row fetched into the model) and totals, in ms.
void timeSearch(QSqlDatabase db, const Search &search, QTextStream &out)
{
    qint64 bestList = -1;
    qint64 bestTotals = -1;
    int rows = 0;
    QString label;
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer t;
        t.start();
        SqlListModel model;
        const BoundStatement list = WaybillQuery::listStatement(search.filter);
        model.setSource(db, list.sql, list.values, WaybillQuery::table(), WaybillQuery::keyColumn());
        if (!model.refresh()) {
            out << search.name << ": " << model.lastError().text() << Qt::endl;
            return;
        }
        rows = model.rowCount();
        const qint64 listed = t.restart();
        const std::optional<Totals> totals = readTotals(db, WaybillQuery::totalsStatement(search.filter));
        const qint64 summed = t.elapsed();
        label = totals ? totals->waybillLabel() : QStringLiteral("totals failed");
        bestList = bestList < 0 ? listed : qMin(bestList, listed);
        bestTotals = bestTotals < 0 ? summed : qMin(bestTotals, summed);
    }
    out << "  " << search.name << ": " << rows << " rows, list " << bestList << " ms, totals " << bestTotals
        << " ms, together " << bestList + bestTotals << " ms (" << label << ")" << Qt::endl;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir dir;
    BenchDialogs dialogs;
    app::AppCore core(store::DataDirectory(dir.path()), dialogs);
    if (!core.open()) {
        out << "failed: " << core.errorText() << Qt::endl;
        return 1;
    }
    QElapsedTimer t;
    t.start();
    if (!fill(core.db()))
        return 1;
    out << waybillCount << " waybills inserted in one transaction: " << t.elapsed() << " ms" << Qt::endl;

    QList<Search> searches;
    WaybillFilter f;
    f.receiver = QStringLiteral("公司0123");
    searches << Search{QStringLiteral("receiver contains"), f};
    f.receiver = QStringLiteral("客户公司0123有限公司");
    f.match = MatchMode::Exact;
    searches << Search{QStringLiteral("receiver exact"), f};
    f = WaybillFilter();
    f.anyDate = false;
    f.from = QDate(2023, 5, 1);
    f.to = QDate(2023, 5, 31);
    searches << Search{QStringLiteral("one month"), f};
    f.receiver = QStringLiteral("公司01");
    searches << Search{QStringLiteral("one month, receiver contains"), f};
    f = WaybillFilter();
    f.number = QStringLiteral("SF100054321");
    f.match = MatchMode::Exact;
    searches << Search{QStringLiteral("waybill number exact"), f};
    searches << Search{QStringLiteral("no filter (every row)"), WaybillFilter()};

    out << "without history indexes:" << Qt::endl;
    for (const Search &s : searches)
        timeSearch(core.db(), s, out);

    t.restart();
    QString error;
    if (!ensureHistoryIndexes(core.db(), &error)) {
        out << "indexes failed: " << error << Qt::endl;
        return 1;
    }
    out << "history indexes created: " << t.elapsed() << " ms" << Qt::endl;
    out << "with history indexes:" << Qt::endl;
    for (const Search &s : searches)
        timeSearch(core.db(), s, out);
    out << "target: receiver search (list and totals) under 300 ms" << Qt::endl;
    return 0;
}
