// Upgrades an older data file holding 100,000 waybills and 10,000 batch print
// recipients to this version's structure, and times the check, the backup and
// the upgrade. Target: under 5 s in all.

#include "BenchDialogs.h"
#include "app/AppCore.h"
#include "app/AppVersion.h"
#include "store/Schema.h"
#include "templates/DatabaseUpgrade.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>
#include <QUuid>

using namespace moque;

namespace {

constexpr int waybillCount = 100000;
constexpr int receiverCount = 10000;

// The columns earlier versions lacked, as their tables had them.
const QList<std::pair<QString, QStringList>> droppedColumns{
    {QStringLiteral("ckControl"),
     {"CtlLH", "CtlH", "CtlW", "NeedShow", "NeedPrint", "SrcX", "SrcY", "SrcW", "SrcH", "CtlType", "InitValue"}},
    {QStringLiteral("NameDict"), {"CtlData", "CtlType"}},
    {QStringLiteral("CKTypeTable"), {"IsCommon", "PWidth", "PHeight", "IniFile", "TypeFirstName"}},
    {QStringLiteral("ReceiverList"),
     {"体积", "代收金额", "手续费", "保价金额", "保价费", "运费", "加急费", "包装费", "送货费", "其他费", "金额大写1",
      "自定义3", "自定义4", "自定义5"}},
    {QStringLiteral("DataKDDTable"),
     {"体积", "代收金额", "手续费", "保价金额", "保价费", "运费", "加急费", "包装费", "送货费", "其他费", "金额大写1",
      "自定义1", "自定义2", "自定义3", "自定义4", "自定义5"}},
};

bool run(QSqlDatabase db, const QString &sql)
{
    QSqlQuery q(db);
    if (q.exec(sql))
        return true;
    QTextStream(stderr) << sql << ": " << q.lastError().text() << Qt::endl;
    return false;
}

// The table as an earlier version had it: without the given columns, rows kept.
bool dropColumns(QSqlDatabase db, const QString &table, const QStringList &drop)
{
    const store::TableDef *def = store::findTable(store::dataFileTables(), table);
    store::TableDef kept{def->name + QStringLiteral("_kept"), {}};
    for (const store::ColumnDef &c : def->columns)
        if (!drop.contains(c.name, Qt::CaseInsensitive))
            kept.columns << c;
    const QString names = kept.columnNames().join(QLatin1Char(','));
    return run(db, kept.createStatement())
           && run(db, QStringLiteral("insert into %1 (%2) select %2 from %3").arg(kept.name, names, def->name))
           && run(db, QStringLiteral("drop table ") + def->name)
           && run(db, QStringLiteral("alter table %1 rename to %2").arg(kept.name, def->name));
}

bool fill(QSqlDatabase db)
{
    db.transaction();
    QSqlQuery waybill(db);
    waybill.prepare(QStringLiteral("insert into DataKDDTable (模板种类,寄件单位,收件单位,收件地址,收件联系人,收件电话,"
                                   "物品内容,件数,总费用,快递单号) values (?,?,?,?,?,?,?,?,?,?)"));
    for (int i = 0; i < waybillCount; ++i) {
        for (const QVariant &v : QVariantList{QStringLiteral("快递单"), QStringLiteral("我方贸易有限公司%1部").arg(i % 5),
                                              QStringLiteral("客户公司%1有限公司").arg(i % 2000),
                                              QStringLiteral("某某省某某市某某路%1号").arg(i % 700),
                                              QStringLiteral("联系人%1").arg(i % 2000),
                                              QStringLiteral("1380000%1").arg(i % 10000, 4, 10, QLatin1Char('0')),
                                              QStringLiteral("文件资料"), QString::number(1 + i % 5),
                                              QString::number(10 + i % 90), QStringLiteral("SF%1").arg(100000000 + i)})
            waybill.addBindValue(v);
        if (!waybill.exec())
            return false;
    }
    QSqlQuery receiver(db);
    receiver.prepare(QStringLiteral("insert into ReceiverList (全称,联系人,手机,地址,内件说明) values (?,?,?,?,?)"));
    for (int i = 0; i < receiverCount; ++i) {
        for (const QVariant &v : QVariantList{QStringLiteral("收件公司%1").arg(i), QStringLiteral("收件人%1").arg(i),
                                              QStringLiteral("1391234%1").arg(i, 4, 10, QLatin1Char('0')),
                                              QStringLiteral("某某区某某街%1号").arg(i), QStringLiteral("样品")})
            receiver.addBindValue(v);
        if (!receiver.exec())
            return false;
    }
    return db.commit();
}

bool makeOld(QSqlDatabase db)
{
    db.transaction();
    for (const auto &[table, columns] : droppedColumns)
        if (!dropColumns(db, table, columns))
            return false;
    return run(db, QStringLiteral("drop table MatchColumn"))
           && run(db, QStringLiteral("delete from NameDict where CheckTypeName='快递单' and (CtlName like 'DEFCHECK%' "
                                     "or CtlName in ('ZDTIJI','ZDDAISJE','ZDYUNFEE','ZDDEF3','ZDDEF4','ZDDEF5'))"))
           && run(db, QStringLiteral("delete from configtable where cname='version'")) && db.commit();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir dir;
    BenchDialogs dialogs;
    app::AppCore core{store::DataDirectory(dir.path()), dialogs};
    if (!core.open()) {
        QTextStream(stderr) << "cannot open data: " << core.errorText() << Qt::endl;
        return 1;
    }
    QElapsedTimer timer;
    timer.start();
    if (!fill(core.db()) || !makeOld(core.db())) {
        QTextStream(stderr) << "cannot prepare the old data file" << Qt::endl;
        return 1;
    }
    out << "prepare " << waybillCount << " waybills, " << receiverCount << " recipients, old structure: "
        << timer.elapsed() << " ms (" << QFile(core.dir().dataFile()).size() / (1024 * 1024) << " MB)" << Qt::endl;

    templates::DatabaseUpgrade upgrade(core.db(), core.dir().packageSkeleton(), app::getAppVersion(2));
    int steps = 0;
    upgrade.setProgress([&](int, int, const QString &) { ++steps; });
    QElapsedTimer total;
    total.start();
    timer.start();
    const bool needed = upgrade.isNeeded();
    out << "check (needed: " << (needed ? "yes" : "no") << "): " << timer.elapsed() << " ms" << Qt::endl;
    timer.start();
    const QString backup = templates::DatabaseUpgrade::backUpDataFile(core.dir().dataFile());
    out << "backup: " << timer.elapsed() << " ms" << Qt::endl;
    timer.start();
    const bool ok = upgrade.run();
    out << "upgrade: " << timer.elapsed() << " ms (" << upgrade.changes().size() << " changes, " << steps
        << " progress steps)" << Qt::endl;
    const qint64 ms = total.elapsed();
    out << "total: " << ms << " ms, target under 5000 ms: " << (ms < 5000 ? "met" : "missed") << Qt::endl;
    if (!ok || backup.isEmpty()) {
        QTextStream(stderr) << "upgrade failed: " << upgrade.message() << Qt::endl;
        return 1;
    }
    return 0;
}
