// The database upgrade: an older data file and package skeleton brought to
// this version's structure, their rows kept, the dictionary completed and
// normalised, the version recorded; all or nothing, and nothing the second time.

#include "app/AppVersion.h"
#include "store/BoundQuery.h"
#include "store/Schema.h"
#include "support/TestData.h"
#include "templates/DatabaseUpgrade.h"

#include <QCryptographicHash>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <QUuid>

using namespace moque;
using templates::DatabaseUpgrade;

namespace {

const QString version = app::getAppVersion(2);

// The columns earlier versions lacked, as their tables had them.
const QList<std::pair<QString, QStringList>> droppedColumns{
    {QStringLiteral("ckControl"),
     {"CtlLH", "CtlH", "CtlW", "NeedShow", "NeedPrint", "SrcX", "SrcY", "SrcW", "SrcH", "CtlType", "InitValue"}},
    {QStringLiteral("NameDict"), {"CtlData", "CtlType", "Groups"}},
    {QStringLiteral("CKTypeTable"), {"IsCommon", "PWidth", "PHeight", "IniFile", "TypeFirstName", "PreImgURL"}},
    {QStringLiteral("ReceiverList"),
     {"体积", "代收金额", "手续费", "保价金额", "保价费", "运费", "加急费", "包装费", "送货费", "其他费", "金额大写1",
      "自定义3", "自定义4", "自定义5"}},
    {QStringLiteral("DataKDDTable"),
     {"体积", "代收金额", "手续费", "保价金额", "保价费", "运费", "加急费", "包装费", "送货费", "其他费", "金额大写1",
      "自定义1", "自定义2", "自定义3", "自定义4", "自定义5"}},
};
const QList<std::pair<QString, QStringList>> droppedSkeletonColumns{
    {QStringLiteral("_ckControl"),
     {"SrcX", "SrcY", "SrcH", "SrcW", "NeedShow", "NeedPrint", "CtlLH", "CtlType", "InitValue"}},
    {QStringLiteral("_CKTypeTable"), {"PWidth", "PHeight"}},
};
const QStringList newWaybillFields{"ZDTIJI",     "ZDDAISJE",  "ZDSHOUXUFEE", "ZDBJJE",    "ZDBJFEE",   "ZDYUNFEE",
                                   "ZDJFKHBM",   "ZDJIAJIFEE", "ZDBAOZFEE",  "ZDSONGHFEE", "ZDQITAFEE", "ZDJEDX1",
                                   "DEFCHECK0",  "DEFCHECK1", "DEFCHECK2",   "DEFCHECK3", "DEFCHECK4", "DEFCHECK5",
                                   "DEFCHECK6",  "DEFCHECK7", "DEFCHECK8",   "DEFCHECK9", "DEFCHECK10", "DEFCHECK11",
                                   "DEFCHECK12", "ZDDEF3",    "ZDDEF4",      "ZDDEF5"};

bool run(QSqlDatabase db, const QString &sql, const QVariantList &values = {})
{
    QSqlQuery q(db);
    QString error;
    if (store::execBound(q, sql, values, error))
        return true;
    qWarning() << sql << error;
    return false;
}

// Makes the table as an earlier version had it: this version's declarations without the given columns, rows kept.
bool dropColumns(QSqlDatabase db, const QList<store::TableDef> &tables, const QString &table, const QStringList &drop)
{
    const store::TableDef *def = store::findTable(tables, table);
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

// A connection of the test's own to a file.
struct FileConnection
{
    explicit FileConnection(const QString &path) : name(QUuid::createUuid().toString())
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.open();
    }
    ~FileConnection() { QSqlDatabase::removeDatabase(name); }
    QSqlDatabase db() const { return QSqlDatabase::database(name, false); }
    QString name;
};

QStringList tableNames(QSqlDatabase db)
{
    QStringList names;
    QSqlQuery q(db);
    q.exec(QStringLiteral("select name from sqlite_master where type='table' and name not like 'sqlite%' order by name"));
    while (q.next())
        names << q.value(0).toString();
    return names;
}

// Every table with its columns: lower-case name, declared type and default, sorted.
QMap<QString, QStringList> structureOf(QSqlDatabase db)
{
    QMap<QString, QStringList> structure;
    for (const QString &table : tableNames(db)) {
        QSqlQuery q(db);
        store::execBound(q, QStringLiteral("select name,type,dflt_value from pragma_table_info(?)"), QVariantList{table});
        QStringList columns;
        while (q.next())
            columns << QStringLiteral("%1 %2 %3").arg(q.value(0).toString().toLower(), q.value(1).toString(),
                                                       q.value(2).toString());
        columns.sort();
        structure.insert(table.toLower(), columns);
    }
    return structure;
}

// A checksum of every row's values of every table, over the columns each table has now.
QMap<QString, QByteArray> rowChecksums(QSqlDatabase db, const QMap<QString, QStringList> &columnsOf = {})
{
    QMap<QString, QByteArray> sums;
    for (const QString &table : tableNames(db)) {
        QStringList columns = columnsOf.value(table.toLower());
        if (columns.isEmpty()) {
            QSqlQuery info(db);
            store::execBound(info, QStringLiteral("select name from pragma_table_info(?)"), QVariantList{table});
            while (info.next())
                columns << info.value(0).toString();
        }
        QCryptographicHash hash(QCryptographicHash::Sha1);
        QSqlQuery q(db);
        QStringList quoted;
        for (const QString &c : columns)
            quoted << QLatin1Char('"') + c + QLatin1Char('"');
        q.exec(QStringLiteral("select %1 from \"%2\" order by rowid").arg(quoted.join(QLatin1Char(',')), table));
        int rows = 0;
        while (q.next()) {
            ++rows;
            for (int i = 0; i < columns.size(); ++i)
                hash.addData((q.value(i).isNull() ? QStringLiteral("<null>") : q.value(i).toString() + QLatin1Char('|'))
                                 .toUtf8());
        }
        sums.insert(table.toLower(), QByteArray::number(rows) + ':' + hash.result().toHex());
    }
    return sums;
}

QMap<QString, QStringList> columnNamesOf(QSqlDatabase db)
{
    QMap<QString, QStringList> names;
    for (const QString &table : tableNames(db)) {
        QSqlQuery info(db);
        store::execBound(info, QStringLiteral("select name from pragma_table_info(?)"), QVariantList{table});
        while (info.next())
            names[table.toLower()] << info.value(0).toString();
    }
    return names;
}

// The whole file as text: its schema and every row.
QString dumpOf(QSqlDatabase db)
{
    QString dump;
    QSqlQuery schema(db);
    schema.exec(QStringLiteral("select type,name,sql from sqlite_master order by type,name"));
    while (schema.next())
        dump += schema.value(0).toString() + schema.value(1).toString() + schema.value(2).toString() + QLatin1Char('\n');
    const QMap<QString, QByteArray> sums = rowChecksums(db);
    for (auto it = sums.cbegin(); it != sums.cend(); ++it)
        dump += it.key() + QLatin1Char(' ') + QString::fromLatin1(it.value()) + QLatin1Char('\n');
    return dump;
}

QString skeletonDump(const test::TestData &data)
{
    FileConnection skeleton(data.core->dir().packageSkeleton());
    return dumpOf(skeleton.db());
}

// Rows every table of interest has before the upgrade, some with quotes and Chinese text.
bool addRows(const test::TestData &data)
{
    QSqlDatabase db = data.db();
    for (int i = 1; i <= 30; ++i)
        if (!run(db, QStringLiteral("insert into DataKDDTable (模板种类,收件单位,收件地址,物品内容,件数) values (?,?,?,?,?)"),
                 {QStringLiteral("快递单"), QStringLiteral("收件单位%1'").arg(i), QStringLiteral("文三路%1号").arg(i),
                  QStringLiteral("文件"), QString::number(i)})
            || !run(db, QStringLiteral("insert into ReceiverList (全称,联系人,手机) values (?,?,?)"),
                    {QStringLiteral("公司%1").arg(i), QStringLiteral("张三\"%1").arg(i),
                     QStringLiteral("1391234%1").arg(i, 4, 10, QLatin1Char('0'))}))
            return false;
    return true;
}

// An old data file and skeleton: this version's columns and tables gone, the
// new waybill fields missing from the dictionary, no version recorded.
bool makeOld(const test::TestData &data)
{
    QSqlDatabase db = data.db();
    for (const auto &[table, columns] : droppedColumns)
        if (!dropColumns(db, store::dataFileTables(), table, columns))
            return false;
    if (!run(db, QStringLiteral("drop table MatchColumn")) || !run(db, QStringLiteral("drop table DataSaleDetail")))
        return false;
    for (const QString &name : newWaybillFields)
        if (!run(db, QStringLiteral("delete from NameDict where CheckTypeName=? and CtlName=?"),
                 {QStringLiteral("快递单"), name}))
            return false;
    if (!run(db, QStringLiteral("delete from configtable where cname='version'")))
        return false;
    FileConnection skeleton(data.core->dir().packageSkeleton());
    for (const auto &[table, columns] : droppedSkeletonColumns)
        if (!dropColumns(skeleton.db(), store::packageTables(), table, columns))
            return false;
    return true;
}

QString typeOf(QSqlDatabase db, const QString &table, const QString &column)
{
    QSqlQuery q(db);
    store::execBound(q, QStringLiteral("select type from pragma_table_info(?) where name=?"), QVariantList{table, column});
    return q.next() ? q.value(0).toString() : QString();
}

QVariant scalar(QSqlDatabase db, const QString &sql, const QVariantList &values = {})
{
    QSqlQuery q(db);
    store::execBound(q, sql, values);
    return q.next() ? q.value(0) : QVariant();
}

DatabaseUpgrade upgradeOf(const test::TestData &data)
{
    return DatabaseUpgrade(data.db(), data.core->dir().packageSkeleton(), version);
}

} // namespace

class TestTemplatesUpgrade : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void oldFileGetsTheCurrentStructureAndKeepsItsRows()
    {
        test::TestData fresh;
        QVERIFY(fresh.open());
        test::TestData data;
        QVERIFY(data.open());
        QVERIFY(addRows(data));
        QVERIFY(makeOld(data));
        QVERIFY(structureOf(data.db()) != structureOf(fresh.db()));
        const QMap<QString, QStringList> oldColumns = columnNamesOf(data.db());
        const QMap<QString, QByteArray> oldRows = rowChecksums(data.db(), oldColumns);

        DatabaseUpgrade upgrade = upgradeOf(data);
        QVERIFY(upgrade.isNeeded());
        QList<std::tuple<int, int, QString>> progress;
        upgrade.setProgress([&](int position, int maximum, const QString &text) {
            progress.append({position, maximum, text});
        });
        QVERIFY2(upgrade.run(), qPrintable(upgrade.message()));
        QCOMPARE(upgrade.message(), QStringLiteral("恭喜，升级成功啦！"));

        QCOMPARE(structureOf(data.db()), structureOf(fresh.db()));
        FileConnection freshSkeleton(fresh.core->dir().packageSkeleton());
        FileConnection skeleton(data.core->dir().packageSkeleton());
        QCOMPARE(structureOf(skeleton.db()), structureOf(freshSkeleton.db()));
        QCOMPARE(scalar(skeleton.db(), QStringLiteral("select DMValue from _Config where DMName='version'")).toString(),
                 version);

        // Every row is there with the values it had, and nothing else changed in the tables the upgrade only widens.
        const QMap<QString, QByteArray> newRows = rowChecksums(data.db(), oldColumns);
        for (const QString &table : QStringList{"datakddtable", "receiverlist", "ckcontrol", "ckpersonalinfotable", "usertable",
                                     "coins", "dmtable", "dmtable2"})
            QCOMPARE(newRows.value(table), oldRows.value(table));
        QCOMPARE(scalar(data.db(), QStringLiteral("select count(*) from MatchColumn")),
                 scalar(fresh.db(), QStringLiteral("select count(*) from MatchColumn")));
        // No table lost a row: only the dictionary, the options and the created tables gained some.
        const QMap<QString, int> gained{{"namedict", int(newWaybillFields.size())}, {"configtable", 1}};
        for (auto it = oldRows.cbegin(); it != oldRows.cend(); ++it) {
            const int before = it.value().left(it.value().indexOf(':')).toInt();
            const int after = newRows.value(it.key()).left(newRows.value(it.key()).indexOf(':')).toInt();
            QCOMPARE(after, before + gained.value(it.key()));
        }

        // The dictionary reads as a new one.
        const QString dictionary = QStringLiteral("select CheckTypeName,CtlName,CtlLabel,PrintItem,ShowOrd,CtlType,"
                                                  "CtlData,Groups from NameDict where CheckTypeName='快递单' "
                                                  "order by CtlName");
        QStringList upgraded, expected;
        for (auto [db, into] : {std::pair{data.db(), &upgraded}, std::pair{fresh.db(), &expected}}) {
            QSqlQuery q(db);
            QVERIFY(q.exec(dictionary));
            while (q.next()) {
                QStringList values;
                for (int i = 0; i < q.record().count(); ++i)
                    values << q.value(i).toString();
                // The old rows lost CtlData and Groups with their columns; the new rows bring theirs.
                if (!newWaybillFields.contains(values[1]))
                    values = values.mid(0, 6);
                *into << values.join(QLatin1Char('|'));
            }
        }
        QCOMPARE(upgraded, expected);

        QCOMPARE(settings::Options(data.db()).getConfigByname(settings::option::version), version);
        const QStringList changes = upgrade.changes();
        for (const QString &line : QStringList{"CKTypeTable: added IsCommon", "NameDict: added ZDTIJI", "NameDict: added DEFCHECK12",
                                    "MatchColumn: created", "DataKDDTable: added 代收金额", "_ckControl: added SrcX",
                                    "_CKTypeTable: added PWidth", "configtable: version 9.28"})
            QVERIFY2(changes.contains(QString(line).replace(QLatin1String("9.28"), version)), qPrintable(line));
        QVERIFY(!upgrade.isNeeded());

        QVERIFY(!progress.isEmpty());
        const int maximum = std::get<1>(progress.first());
        int last = 0;
        QStringList texts;
        for (const auto &[position, max, text] : progress) {
            QCOMPARE(max, maximum);
            QVERIFY(position >= last && position <= maximum);
            QVERIFY(text.startsWith(QStringLiteral("进度:%1/%2").arg(position).arg(maximum)));
            last = position;
            texts << text;
        }
        QCOMPARE(last, maximum);
        QCOMPARE(texts.last(), QStringLiteral("进度:%1/%1    升级完成！").arg(maximum));
        for (const QString &step : QStringList{"升级表存储结构...ckControl", "升级表存储结构...DataKDDTable", "升级模板样本结构",
                                    "升级单据模型...", "编码大小写修正...", "编码修正，控件类型CHECKBOX...", "升级模板数据.."})
            QVERIFY2(texts.filter(QStringLiteral(" >> ") + step).size() > 0, qPrintable(step));
    }

    void edgeCases_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<bool>("structureChanges");
        QTest::addColumn<QStringList>("kinds");
        // Each case upgrades a fresh file lacking only what it names; three templates are
        // added with an empty kind: "快递单（甲）", "收据(乙)" and "无括号".
        QTest::newRow("every column already there") << "" << false << QStringList{"", "", ""};
        QTest::newRow("waybill fields in lower case") << "lower" << false << QStringList{"", "", ""};
        QTest::newRow("no TypeFirstName") << "noKind" << true << QStringList{"快递单", "收据", ""};
    }

    void edgeCases()
    {
        QFETCH(QString, setup);
        QFETCH(bool, structureChanges);
        QFETCH(QStringList, kinds);
        test::TestData data;
        QVERIFY(data.open());
        QSqlDatabase db = data.db();
        int id = 9001;
        for (const QString &name : QStringList{"快递单（甲）", "收据(乙)", "无括号"})
            QVERIFY(data.exec(QStringLiteral("insert into CKTypeTable (CheckTypeID,TypeName,TypeFirstName,Visiable) "
                                             "values (?,?,'','启用')"),
                              {id++, name}));
        QVERIFY(data.exec(QStringLiteral("delete from configtable where cname='version'")));
        if (setup == QLatin1String("lower"))
            QVERIFY(data.exec(QStringLiteral("update NameDict set CtlName=lower(CtlName), CtlType=lower(CtlType) "
                                             "where CheckTypeName='快递单'")));
        if (setup == QLatin1String("noKind"))
            QVERIFY(dropColumns(db, store::dataFileTables(), QStringLiteral("CKTypeTable"), {"TypeFirstName"}));
        const int fields = scalar(db, QStringLiteral("select count(*) from NameDict")).toInt();
        const QMap<QString, QStringList> before = structureOf(db);

        DatabaseUpgrade upgrade = upgradeOf(data);
        QVERIFY2(upgrade.run(), qPrintable(upgrade.message()));

        QCOMPARE(structureOf(db) != before, structureChanges);
        const bool added = !upgrade.changes().filter(QStringLiteral(": added ")).isEmpty();
        QCOMPARE(added, structureChanges);
        QCOMPARE(scalar(db, QStringLiteral("select count(*) from NameDict")).toInt(), fields);
        QCOMPARE(scalar(db, QStringLiteral("select count(*) from NameDict where CtlName<>upper(CtlName) collate binary"))
                     .toInt(),
                 0);
        QCOMPARE(scalar(db, QStringLiteral("select count(*) from (select 1 from NameDict group by CheckTypeName,"
                                           "upper(CtlName) having count(*)>1)"))
                     .toInt(),
                 0);
        QCOMPARE(scalar(db, QStringLiteral("select count(*) from NameDict where not ((CtlName like 'DEFCHECK%' and "
                                           "CtlType='CHECKBOX' collate binary) or (CtlName not like 'DEFCHECK%' and "
                                           "CtlType='TEXT' collate binary))"))
                     .toInt(),
                 0);
        QStringList found;
        QSqlQuery q(db);
        QVERIFY(q.exec(QStringLiteral("select TypeFirstName from CKTypeTable where CheckTypeID>9000 order by CheckTypeID")));
        while (q.next())
            found << q.value(0).toString();
        QCOMPARE(found, kinds);
        QCOMPARE(settings::Options(db).getConfigByname(settings::option::version), version);
    }

    void columnTypes_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("type");
        QTest::newRow("ReceiverList 代收金额") << "ReceiverList" << "代收金额" << "VARCHAR(30)";
        QTest::newRow("DataKDDTable 代收金额") << "DataKDDTable" << "代收金额" << "VARCHAR(30)";
        QTest::newRow("ReceiverList 体积") << "ReceiverList" << "体积" << "VARCHAR(50)";
        QTest::newRow("DataKDDTable 运费") << "DataKDDTable" << "运费" << "VARCHAR(50)";
        QTest::newRow("DataKDDTable 自定义1") << "DataKDDTable" << "自定义1" << "VARCHAR(50)";
        QTest::newRow("ckControl SrcX") << "ckControl" << "SrcX" << "INTEGER";
        QTest::newRow("ckControl InitValue") << "ckControl" << "InitValue" << "VARCHAR(80)";
        QTest::newRow("NameDict CtlData") << "NameDict" << "CtlData" << "VARCHAR(100)";
        QTest::newRow("CKTypeTable IsCommon") << "CKTypeTable" << "IsCommon" << "VARCHAR(10)";
        QTest::newRow("CKTypeTable TypeFirstName") << "CKTypeTable" << "TypeFirstName" << "VARCHAR(50)";
    }

    void columnTypes()
    {
        QFETCH(QString, table);
        QFETCH(QString, column);
        QFETCH(QString, type);
        test::TestData data;
        QVERIFY(data.open());
        QVERIFY(makeOld(data));
        QVERIFY(typeOf(data.db(), table, column).isEmpty());
        DatabaseUpgrade upgrade = upgradeOf(data);
        QVERIFY2(upgrade.run(), qPrintable(upgrade.message()));
        QCOMPARE(typeOf(data.db(), table, column), type);
    }

    void commonTemplates()
    {
        test::TestData data;
        QVERIFY(data.open());
        const QList<std::tuple<QString, QString, QString, QString>> templates{
            {"快递单（顺丰速运）", "启用", "0", "是"},     {"快递单（申通速递2）", "启用", "0", "是"},
            {"快递单（圆通速递）", "停用隐藏", "0", "否"}, {"快递单（韵达快运）", "停用隐藏", "默认", "是"},
            {"快递单（其他）", "启用", "0", "否"}};
        int id = 9001;
        for (const auto &[name, visible, isDefault, common] : templates)
            QVERIFY(data.exec(QStringLiteral("insert into CKTypeTable (CheckTypeID,TypeName,Visiable,IsDefault,"
                                             "IsCommon) values (?,?,?,?,'否')"),
                              {id++, name, visible, isDefault}));
        QVERIFY(data.exec(QStringLiteral("delete from configtable where cname='version'")));
        DatabaseUpgrade upgrade = upgradeOf(data);
        QVERIFY2(upgrade.run(), qPrintable(upgrade.message()));
        id = 9001;
        for (const auto &[name, visible, isDefault, common] : templates)
            QCOMPARE(scalar(data.db(), QStringLiteral("select IsCommon from CKTypeTable where CheckTypeID=?"), {id++})
                         .toString(),
                     common);
    }

    void secondRunChangesNothing()
    {
        test::TestData data;
        QVERIFY(data.open());
        QVERIFY(addRows(data));
        QVERIFY(makeOld(data));
        {
            DatabaseUpgrade upgrade = upgradeOf(data);
            QVERIFY2(upgrade.run(), qPrintable(upgrade.message()));
        }
        const QString dump = dumpOf(data.db());
        const QString skeleton = skeletonDump(data);

        DatabaseUpgrade again = upgradeOf(data);
        QVERIFY(!again.isNeeded());
        bool progressed = false;
        again.setProgress([&](int, int, const QString &) { progressed = true; });
        QVERIFY(!again.run());
        QCOMPARE(again.message(), QStringLiteral("当前软件已经是V") + version + QStringLiteral("，无需再升级！"));
        QVERIFY(!progressed);
        QCOMPARE(dumpOf(data.db()), dump);

        // With an older version recorded every step runs again and finds its work done.
        QVERIFY(data.exec(QStringLiteral("update configtable set cvalue='9.0' where cname='version'")));
        DatabaseUpgrade rerun = upgradeOf(data);
        QVERIFY(rerun.isNeeded());
        QVERIFY2(rerun.run(), qPrintable(rerun.message()));
        QCOMPARE(rerun.changes(), QStringList{QStringLiteral("configtable: version ") + version});
        QCOMPARE(dumpOf(data.db()), dump);
        QCOMPARE(skeletonDump(data), skeleton);
    }

    void failureLeavesEverythingAsItWas_data()
    {
        QTest::addColumn<QString>("trigger");
        QTest::addColumn<QString>("reason");
        QTest::newRow("dictionary insert fails after the columns")
            << "create trigger stop before insert on NameDict begin select raise(abort,'blocked'); end" << "blocked";
        QTest::newRow("template updates fail")
            << "create trigger stop before update on CKTypeTable begin select raise(abort,'blocked'); end" << "blocked";
        QTest::newRow("version write fails at the end")
            << "create trigger stop before insert on configtable begin select raise(abort,'blocked'); end"
            << "configtable: version";
    }

    void failureLeavesEverythingAsItWas()
    {
        QFETCH(QString, trigger);
        QFETCH(QString, reason);
        test::TestData data;
        QVERIFY(data.open());
        QVERIFY(addRows(data));
        QVERIFY(data.exec(QStringLiteral("insert into CKTypeTable (CheckTypeID,TypeName,Visiable) values "
                                         "(9001,'快递单（顺丰速运）','启用')")));
        QVERIFY(makeOld(data));
        QVERIFY(data.exec(trigger));
        const QString dump = dumpOf(data.db());
        const QString skeleton = skeletonDump(data);

        DatabaseUpgrade upgrade = upgradeOf(data);
        QVERIFY(!upgrade.run());
        QVERIFY2(upgrade.message().startsWith(QStringLiteral("升级失败，意外错误:")), qPrintable(upgrade.message()));
        QVERIFY2(upgrade.message().contains(reason), qPrintable(upgrade.message()));
        QVERIFY(upgrade.changes().isEmpty());
        QCOMPARE(dumpOf(data.db()), dump);
        QCOMPARE(skeletonDump(data), skeleton);
        QVERIFY(upgrade.isNeeded());

        // Without the obstacle the same file upgrades.
        QVERIFY(data.exec(QStringLiteral("drop trigger stop")));
        QVERIFY2(upgrade.run(), qPrintable(upgrade.message()));
    }
};

QTEST_GUILESS_MAIN(TestTemplatesUpgrade)
#include "test_templates_upgrade.moc"
