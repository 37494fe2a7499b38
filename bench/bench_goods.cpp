// Measures the goods catalogue with 50,000 entries: opening its window and
// filtering it by keyword and by category (target: open + filters under
// 300 ms), and importing 10,000 goods from an .xlsx file (target: under 3 s),
// the file written by the program's own .xlsx writer.
#include "BenchSetup.h"
#include "refdata/GoodsCatalogWindow.h"
#include "refdata/GoodsImport.h"
#include "sheets/XlsxWriter.h"

#include <QElapsedTimer>
#include <QPushButton>
#include <QTreeWidget>

#include <cstdio>

namespace {

const QStringList categories{QStringLiteral("文具"), QStringLiteral("五金"), QStringLiteral("电器"),
                             QStringLiteral("食品"), QStringLiteral("服装"), QStringLiteral("办公耗材"),
                             QStringLiteral("日用品"), QStringLiteral("建材")};
const QStringList units{QStringLiteral("台"), QStringLiteral("只"), QStringLiteral("个"), QStringLiteral("箱")};

} // namespace

int main(int argc, char **argv)
{
    BenchApp bench(argc, argv);
    if (!bench.open())
        return 1;
    QSqlDatabase db = bench.core.db();

    constexpr int entries = 50000;
    insertEntries(db,
                  QStringLiteral("insert into Products (商品名,规格,货号,单位,单价,批价,简码,备注,分类) "
                                 "values (?,?,?,?,?,?,?,?,?)"),
                  entries, [](int i) -> QVariantList {
                      return {QStringLiteral("商品%1").arg(i % 5000),
                              QStringLiteral("型号-%1").arg(i),
                              QStringLiteral("HH%1").arg(i, 6, 10, QLatin1Char('0')),
                              units[i % units.size()],
                              QString::number(1 + i % 900, 'f', 2),
                              QString::number(0.9 * (1 + i % 900), 'f', 2),
                              QStringLiteral("sp%1").arg(i),
                              i % 10 ? QString() : QStringLiteral("畅销"),
                              categories[i % categories.size()]};
                  });

    const moque::refdata::GoodsCatalog catalog(db);
    QElapsedTimer timer;
    timer.start();
    const int all = int(catalog.find(moque::refdata::GoodsFilter()).size());
    std::printf("catalogue: read every entry: %lld ms (%d entries)\n", timer.elapsed(), all);
    timer.restart();
    const int names = int(catalog.names().size());
    const int kinds = int(catalog.categories().size());
    std::printf("catalogue: names and categories: %lld ms (%d names, %d categories)\n", timer.elapsed(), names,
                kinds);

    const QString grid = QStringLiteral("gridGoods");
    const auto [opened, open] = openAndListAll<moque::ui::GoodsCatalogWindow>(bench.core, grid);
    moque::ui::GoodsCatalogWindow &window = *opened;
    const qint64 keyword = filterByKeyword(window, QStringLiteral("edtKey"), QStringLiteral("型号-12"), grid);

    timer.restart();
    window.findChild<QLineEdit *>(QStringLiteral("edtKey"))->clear();
    auto *tree = window.findChild<QTreeWidget *>(QStringLiteral("tvCategory"));
    QTreeWidgetItem *category = tree->topLevelItem(0)->child(0);
    Q_EMIT tree->itemClicked(category, 0);
    bench.app.processEvents();
    const qint64 byCategory = timer.elapsed();
    std::printf("window: category filter (%s): %lld ms (%d rows)\n", qPrintable(category->text(0)), byCategory,
                gridRows(window, grid));

    timer.restart();
    window.findChild<QPushButton *>(QStringLiteral("btAll"))->click();
    bench.app.processEvents();
    std::printf("window: list all again: %lld ms (%d rows)\n", timer.elapsed(), gridRows(window, grid));
    std::printf("window: open + keyword + category: %lld ms (target under 300 ms)\n", open + keyword + byCategory);

    constexpr int imported = 10000;
    const QStringList titles{QStringLiteral("商品名"), QStringLiteral("规格"), QStringLiteral("货号"),
                             QStringLiteral("单位"),   QStringLiteral("单价"), QStringLiteral("批价"),
                             QStringLiteral("简码"),   QStringLiteral("备注"), QStringLiteral("分类")};
    QList<QStringList> rows;
    rows.reserve(imported);
    for (int i = 0; i < imported; ++i)
        rows << QStringList{QStringLiteral("导入商品%1").arg(i), QStringLiteral("规格%1").arg(i % 37),
                            QStringLiteral("DR%1").arg(i), units[i % units.size()], QString::number(5 + i % 300),
                            QString::number(4 + i % 300), QStringLiteral("dr%1").arg(i), QString(),
                            categories[i % categories.size()]};
    const QString file = bench.dir.filePath(QStringLiteral("goods.xlsx"));
    QString error;
    if (!moque::sheets::writeXlsxTable(file, titles, rows, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }

    int reports = 0;
    timer.restart();
    moque::refdata::GoodsImport import(db, bench.dialogs);
    const moque::refdata::GoodsImportResult result = import.importFile(
        file, {}, [&reports](int, int) {
            ++reports;
            return true;
        });
    std::printf("import %d goods from .xlsx into %d entries: %lld ms (target under 3000 ms; %d stored, "
                "%d progress reports)\n",
                imported, entries, timer.elapsed(), result.stored, reports);
    return result.stored == imported ? 0 : 1;
}
