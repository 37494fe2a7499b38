// Measures the address book with 50,000 entries: opening the window's list
// (reading every entry) and applying a keyword filter to it.
#include "BenchDialogs.h"
#include "app/AppCore.h"
#include "refdata/PersonListModel.h"
#include "refdata/AddressBookWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>

#include <cstdio>

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

    constexpr int entries = 50000;
    QElapsedTimer timer;
    timer.start();
    QSqlDatabase db = core.db();
    db.transaction();
    QSqlQuery insert(db);
    insert.prepare(QStringLiteral("insert into CKPersonalInfoTable (全称,助记码,联系人,电话,手机,省,市,地址,开户行账号,单位类型,分组,排序) "
                                  "values (?,?,?,?,?,?,?,?,?,?,?,?)"));
    const QStringList provinces = {QStringLiteral("广东省"), QStringLiteral("浙江省"), QStringLiteral("江苏省"),
                                   QStringLiteral("北京市"), QStringLiteral("四川省")};
    for (int i = 0; i < entries; ++i) {
        insert.bindValue(0, QStringLiteral("测试贸易有限公司%1").arg(i));
        insert.bindValue(1, QStringLiteral("csmy%1").arg(i));
        insert.bindValue(2, QStringLiteral("联系人%1").arg(i % 997));
        insert.bindValue(3, QStringLiteral("020-%1").arg(80000000 + i));
        insert.bindValue(4, QStringLiteral("139%1").arg(10000000 + i));
        insert.bindValue(5, provinces[i % provinces.size()]);
        insert.bindValue(6, QStringLiteral("某市"));
        insert.bindValue(7, QStringLiteral("某区某路%1号").arg(i % 500));
        insert.bindValue(8, QStringLiteral("6222%1").arg(i));
        insert.bindValue(9, i % 3 ? QStringLiteral("往来单位") : QStringLiteral("我方单位"));
        insert.bindValue(10, QStringLiteral("分组%1").arg(i % 20));
        insert.bindValue(11, i % 7);
        insert.exec();
    }
    db.commit();
    std::printf("insert %d entries: %lld ms\n", entries, timer.elapsed());

    moque::refdata::PersonListModel model;
    timer.restart();
    model.load(db);
    std::printf("model: read every entry: %lld ms (%d rows)\n", timer.elapsed(), model.totalRows());
    timer.restart();
    moque::refdata::PersonFilter filter;
    filter.keyword = QStringLiteral("1234");
    filter.sortColumns = {QStringLiteral("全称")};
    filter.direction = QStringLiteral("DESC");
    model.apply(filter);
    std::printf("model: keyword filter: %lld ms (%d listed)\n", timer.elapsed(), model.rowCount());

    timer.restart();
    moque::ui::AddressBookWindow window(core);
    window.show();
    app.processEvents();
    const qint64 open = timer.elapsed();
    const int all = window.findChild<QTableView *>(QStringLiteral("gridPerson"))->model()->rowCount();
    std::printf("window: open and list all: %lld ms (%d rows)\n", open, all);
    timer.restart();
    window.findChild<QLineEdit *>(QStringLiteral("KeyEdit"))->setText(QStringLiteral("广东"));
    window.findChild<QPushButton *>(QStringLiteral("btQuery"))->click();
    app.processEvents();
    std::printf("window: keyword filter: %lld ms (%d rows)\n", timer.elapsed(),
                window.findChild<QTableView *>(QStringLiteral("gridPerson"))->model()->rowCount());
    std::printf("window: open + filter: %lld ms (target under 300 ms)\n", open + timer.elapsed());
    return 0;
}
