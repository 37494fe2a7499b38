// Measures the address book with 50,000 entries: opening the window's list
// (reading every entry) and applying a keyword filter to it.
#include "BenchSetup.h"
#include "refdata/PersonListModel.h"
#include "refdata/AddressBookWindow.h"

#include <QElapsedTimer>

#include <cstdio>

int main(int argc, char **argv)
{
    BenchApp bench(argc, argv);
    if (!bench.open())
        return 1;
    QSqlDatabase db = bench.core.db();

    constexpr int entries = 50000;
    const QStringList provinces = {QStringLiteral("广东省"), QStringLiteral("浙江省"), QStringLiteral("江苏省"),
                                   QStringLiteral("北京市"), QStringLiteral("四川省")};
    insertEntries(db,
                  QStringLiteral("insert into CKPersonalInfoTable (全称,助记码,联系人,电话,手机,省,市,地址,开户行账号,单位类型,分组,排序) "
                                 "values (?,?,?,?,?,?,?,?,?,?,?,?)"),
                  entries, [&provinces](int i) -> QVariantList {
                      return {QStringLiteral("测试贸易有限公司%1").arg(i),
                              QStringLiteral("csmy%1").arg(i),
                              QStringLiteral("联系人%1").arg(i % 997),
                              QStringLiteral("020-%1").arg(80000000 + i),
                              QStringLiteral("139%1").arg(10000000 + i),
                              provinces[i % provinces.size()],
                              QStringLiteral("某市"),
                              QStringLiteral("某区某路%1号").arg(i % 500),
                              QStringLiteral("6222%1").arg(i),
                              i % 3 ? QStringLiteral("往来单位") : QStringLiteral("我方单位"),
                              QStringLiteral("分组%1").arg(i % 20),
                              i % 7};
                  });

    moque::refdata::PersonListModel model;
    QElapsedTimer timer;
    timer.start();
    model.load(db);
    std::printf("model: read every entry: %lld ms (%d rows)\n", timer.elapsed(), model.totalRows());
    timer.restart();
    moque::refdata::PersonFilter filter;
    filter.keyword = QStringLiteral("1234");
    filter.sortColumns = {QStringLiteral("全称")};
    filter.direction = QStringLiteral("DESC");
    model.apply(filter);
    std::printf("model: keyword filter: %lld ms (%d listed)\n", timer.elapsed(), model.rowCount());

    const QString grid = QStringLiteral("gridPerson");
    const auto [window, open] = openAndListAll<moque::ui::AddressBookWindow>(bench.core, grid);
    const qint64 keyword = filterByKeyword(*window, QStringLiteral("KeyEdit"), QStringLiteral("广东"), grid);
    std::printf("window: open + filter: %lld ms (target under 300 ms)\n", open + keyword);
    return 0;
}
