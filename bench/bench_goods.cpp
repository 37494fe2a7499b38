// Measures the goods catalogue with 50,000 entries: opening its window and
// filtering it by keyword and by category (target: open + filters under
// 300 ms), and importing 10,000 goods from an .xlsx file (target: under 3 s),
// the file written by the program's own .xlsx writer.
#include "BenchDialogs.h"
#include "app/AppCore.h"
#include "refdata/GoodsCatalogWindow.h"
#include "refdata/GoodsImport.h"
#include "sheets/XlsxWriter.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <cstdio>

namespace {

const QStringList categories{QStringLiteral("文具"), QStringLiteral("五金"), QStringLiteral("电器"),
                             QStringLiteral("食品"), QStringLiteral("服装"), QStringLiteral("办公耗材"),
                             QStringLiteral("日用品"), QStringLiteral("建材")};
const QStringList units{QStringLiteral("台"), QStringLiteral("只"), QStringLiteral("个"), QStringLiteral("箱")};

int rowsOf(QWidget &window)
{
    return window.findChild<QTableView *>(QStringLiteral("gridGoods"))->model()->rowCount();
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    BenchDialogs dialogs;
    moque::app::AppCore core(moque::store::DataDirectory(dir.path()), dialogs);
    if (!core.open()) {
        std::fprintf(stderr, "cannot open data: %s\n", qPrintable(core.errorText()));
        return 1;
    }
    QSqlDatabase db = core.db();

    constexpr int entries = 50000;
    QElapsedTimer timer;
    timer.start();
    db.transaction();
    QSqlQuery insert(db);
    insert.prepare(QStringLiteral("insert into Products (商品名,规格,货号,单位,单价,批价,简码,备注,分类) "
                                  "values (?,?,?,?,?,?,?,?,?)"));
    for (int i = 0; i < entries; ++i) {
        insert.bindValue(0, QStringLiteral("商品%1").arg(i % 5000));
        insert.bindValue(1, QStringLiteral("型号-%1").arg(i));
        insert.bindValue(2, QStringLiteral("HH%1").arg(i, 6, 10, QLatin1Char('0')));
        insert.bindValue(3, units[i % units.size()]);
        insert.bindValue(4, QString::number(1 + i % 900, 'f', 2));
        insert.bindValue(5, QString::number(0.9 * (1 + i % 900), 'f', 2));
        insert.bindValue(6, QStringLiteral("sp%1").arg(i));
        insert.bindValue(7, i % 10 ? QString() : QStringLiteral("畅销"));
        insert.bindValue(8, categories[i % categories.size()]);
        insert.exec();
    }
    db.commit();
    std::printf("insert %d entries: %lld ms\n", entries, timer.elapsed());

    const moque::refdata::GoodsCatalog catalog(db);
    timer.restart();
    const int all = int(catalog.find(moque::refdata::GoodsFilter()).size());
    std::printf("catalogue: read every entry: %lld ms (%d entries)\n", timer.elapsed(), all);
    timer.restart();
    const int names = int(catalog.names().size());
    const int kinds = int(catalog.categories().size());
    std::printf("catalogue: names and categories: %lld ms (%d names, %d categories)\n", timer.elapsed(), names,
                kinds);

    timer.restart();
    moque::ui::GoodsCatalogWindow window(core);
    window.show();
    app.processEvents();
    const qint64 open = timer.elapsed();
    std::printf("window: open and list all: %lld ms (%d rows)\n", open, rowsOf(window));

    timer.restart();
    window.findChild<QLineEdit *>(QStringLiteral("edtKey"))->setText(QStringLiteral("型号-12"));
    window.findChild<QPushButton *>(QStringLiteral("btQuery"))->click();
    app.processEvents();
    const qint64 keyword = timer.elapsed();
    std::printf("window: keyword filter: %lld ms (%d rows)\n", keyword, rowsOf(window));

    timer.restart();
    window.findChild<QLineEdit *>(QStringLiteral("edtKey"))->clear();
    auto *tree = window.findChild<QTreeWidget *>(QStringLiteral("tvCategory"));
    QTreeWidgetItem *category = tree->topLevelItem(0)->child(0);
    Q_EMIT tree->itemClicked(category, 0);
    app.processEvents();
    const qint64 byCategory = timer.elapsed();
    std::printf("window: category filter (%s): %lld ms (%d rows)\n", qPrintable(category->text(0)), byCategory,
                rowsOf(window));

    timer.restart();
    window.findChild<QPushButton *>(QStringLiteral("btAll"))->click();
    app.processEvents();
    std::printf("window: list all again: %lld ms (%d rows)\n", timer.elapsed(), rowsOf(window));
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
    const QString file = dir.filePath(QStringLiteral("goods.xlsx"));
    QString error;
    if (!moque::sheets::writeXlsxTable(file, titles, rows, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }

    int reports = 0;
    timer.restart();
    moque::refdata::GoodsImport import(db, dialogs);
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
