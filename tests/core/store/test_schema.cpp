// A new data directory: every table and column of the data file and of the
// package skeleton, Config.ini, and the default data written into the new file.

#include "store/Schema.h"
#include "support/TestData.h"

#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

using namespace moque;

namespace {

struct ColumnInfo
{
    QString name;
    QString type;
    bool primaryKey = false;
    QString defaultValue;
};

QList<ColumnInfo> tableInfo(QSqlDatabase db, const QString &table)
{
    QList<ColumnInfo> cols;
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA table_info(\"%1\")").arg(table)))
        return cols;
    while (q.next())
        cols << ColumnInfo{q.value(1).toString(), q.value(2).toString(), q.value(5).toInt() > 0,
                           q.value(4).toString()};
    return cols;
}

QStringList columnNames(QSqlDatabase db, const QString &table)
{
    QStringList names;
    for (const ColumnInfo &c : tableInfo(db, table))
        names << c.name;
    return names;
}

QStringList numbered(const QString &stem, int from, int to)
{
    QStringList names;
    for (int i = from; i <= to; ++i)
        names << stem + QString::number(i);
    return names;
}

// A database file opened on a connection of its own for the test's duration.
class FileConnection
{
public:
    explicit FileConnection(const QString &path)
        : m_name(QUuid::createUuid().toString())
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        db.open();
    }
    ~FileConnection()
    {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }

private:
    QString m_name;
};

} // namespace

class TestSchema : public QObject
{
    Q_OBJECT

private:
    test::TestData m_data;

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_data.open()); }

    void filesOfNewDirectory_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("data file") << "Data/EPData.ini";
        QTest::newRow("package skeleton") << "Data/Template.a01";
        QTest::newRow("settings file") << "Config.ini";
        QTest::newRow("splash picture") << "Image/Sys_boot.jpg";
        QTest::newRow("background picture") << "Image/sys_bg.jpg";
        QTest::newRow("cache folder") << "Temp/CheckIni";
    }
    void filesOfNewDirectory()
    {
        QFETCH(QString, path);
        QVERIFY2(QFileInfo::exists(m_data.root() + path), qPrintable(path));
        QVERIFY(m_data.core->createdDataFile());
        QVERIFY(!QFileInfo::exists(m_data.root() + QStringLiteral("Data/EPData.ini.new")));
        QVERIFY(!QFileInfo::exists(m_data.root() + QStringLiteral("Data/Template.a01.new")));
    }

    void dataFileHasEveryTable()
    {
        const QStringList expected{
            "CKTypeTable", "ckControl", "NameDict", "DMTable", "DMTable2", "coins", "configtable", "UserTable",
            "CKPersonalInfoTable", "ClassPerson", "Products", "DataSaleDetail", "ReceiverList", "MatchColumn",
            "DataKDDTable", "DataCheckReceipt", "DataCheckIntel", "DataCKSPTable"};
        const QStringList tables = m_data.db().tables();
        for (const QString &t : expected)
            QVERIFY2(tables.contains(t), qPrintable(t));
    }

    // Every column the store describes exists, in the order described.
    void everyDescribedColumnExists_data()
    {
        QTest::addColumn<bool>("package");
        QTest::addColumn<QString>("table");
        for (const store::TableDef &t : store::dataFileTables())
            QTest::newRow(qPrintable(t.name)) << false << t.name;
        for (const store::TableDef &t : store::packageTables())
            QTest::newRow(qPrintable(t.name)) << true << t.name;
    }
    void everyDescribedColumnExists()
    {
        QFETCH(bool, package);
        QFETCH(QString, table);
        const store::TableDef *def = store::findTable(package ? store::packageTables() : store::dataFileTables(), table);
        QVERIFY(def);
        FileConnection skeleton(m_data.core->dir().packageSkeleton());
        QCOMPARE(columnNames(package ? skeleton.db() : m_data.db(), table), def->columnNames());
    }

    void fullColumnLists_data()
    {
        QTest::addColumn<bool>("package");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QStringList>("columns");
        QTest::newRow("MatchColumn") << false << "MatchColumn"
                                     << QStringList{"Id", "MatchType", "ItemName", "SourceName", "ShowOrd"};
        QTest::newRow("CKTypeTable")
            << false << "CKTypeTable"
            << QStringList{"CheckTypeID", "TypeName",  "TypeFirstName", "TypeDescribe", "XMove",       "YMove",
                           "THeight",     "TWidth",    "PWidth",        "PHeight",      "HVPrint",     "ImgFile",
                           "Visiable",    "IsDefault", "IsCommon",      "ShowOrd",      "CheckBoxs",   "IniFile",
                           "InputBgColor", "InputFtColor", "PreImgURL"};
        QTest::newRow("UserTable") << false << "UserTable"
                                   << QStringList{"ID", "UserName", "Passwd", "RoleName", "lastlogin", "Remark"};
        QStringList kdd{"流水号",   "模板种类", "备注",     "寄件单位", "寄件地址",   "寄件国家", "始发站",
                        "寄件省",   "寄件市县", "寄件镇区", "寄件联系人", "寄件电话", "寄方手机", "寄方邮编",
                        "寄件日期", "寄件时间", "收件单位", "收件地址",   "目的站",   "收件国家", "收件省",
                        "收件市县", "收件镇区", "收件联系人", "收件电话", "收方手机", "收方邮编", "物品内容",
                        "件数",     "重量",     "总费用",   "快递帐号",   "快递单号", "其他选项", "代收金额",
                        "体积",     "手续费",   "保价金额", "保价费",     "运费",     "加急费",   "包装费",
                        "送货费",   "其他费",   "金额大写1"};
        kdd << numbered(QStringLiteral("自定义"), 1, 5);
        QTest::newRow("DataKDDTable") << false << "DataKDDTable" << kdd;
        QTest::newRow("_Config") << true << "_Config" << QStringList{"Id", "DMName", "DMValue", "CheckTypeId"};
        QTest::newRow("_CKTypeTable")
            << true << "_CKTypeTable"
            << QStringList{"CheckTypeID", "TypeName", "TypeFirstName", "TypeDescribe", "XMove",   "YMove",
                           "THeight",     "TWidth",   "HVPrint",       "ImgFile",      "Visiable", "CheckBoxs",
                           "IsCommon",    "ShowOrd",  "IsDefault",     "PWidth",       "PHeight", "Img_Bytes",
                           "Ini_Text"};
        QTest::newRow("_ckControl")
            << true << "_ckControl"
            << QStringList{"CheckTypeID", "CtlName",  "CtlCName",    "CtlType",     "CtlX",          "CtlY",
                           "CtlH",        "CtlW",     "CtlLH",       "SrcX",        "SrcY",          "SrcH",
                           "SrcW",        "NeedPrint", "NeedShow",   "CtlFontName", "CtlFontSize",   "BreakFontSize",
                           "Bold",        "Italic",   "UnderLine",   "FitParam",    "BreakNum",      "InitValue",
                           "ShowOrd",     "CtlFontColor", "Align"};
    }
    void fullColumnLists()
    {
        QFETCH(bool, package);
        QFETCH(QString, table);
        QFETCH(QStringList, columns);
        FileConnection skeleton(m_data.core->dir().packageSkeleton());
        QCOMPARE(columnNames(package ? skeleton.db() : m_data.db(), table), columns);
    }

    // The numbered line-item columns end where each bill kind's form ends.
    void historyLineItems_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("present");
        QTest::addColumn<QString>("absent");
        QTest::newRow("receipt last item") << "DataCheckReceipt" << "金额5" << "金额6";
        QTest::newRow("receipt last custom") << "DataCheckReceipt" << "自定义10" << "自定义11";
        QTest::newRow("receipt seller") << "DataCheckReceipt" << "销货方名称" << "购方单位";
        QTest::newRow("freight last item") << "DataCheckIntel" << "收费内容6" << "收费内容7";
        QTest::newRow("freight no seller") << "DataCheckIntel" << "顾客税号" << "销货方名称";
        QTest::newRow("freight no customer address") << "DataCheckIntel" << "顾客名称" << "顾客地址";
        QTest::newRow("freight no customer phone") << "DataCheckIntel" << "开票人" << "顾客电话";
        QTest::newRow("export last item") << "DataCKSPTable" << "离岸价7" << "离岸价8";
        QTest::newRow("export last custom") << "DataCKSPTable" << "自定义3" << "自定义4";
        QTest::newRow("export ticks") << "DataCKSPTable" << "勾选项" << "其他选项";
        QTest::newRow("waybill last custom") << "DataKDDTable" << "自定义5" << "自定义6";
    }
    void historyLineItems()
    {
        QFETCH(QString, table);
        QFETCH(QString, present);
        QFETCH(QString, absent);
        const QStringList cols = columnNames(m_data.db(), table);
        QVERIFY2(cols.contains(present), qPrintable(present));
        QVERIFY2(!cols.contains(absent), qPrintable(absent));
    }

    void historyKeyColumns_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("columnCount");
        QTest::newRow("DataKDDTable") << "DataKDDTable" << 50;
        QTest::newRow("DataCheckReceipt") << "DataCheckReceipt" << 62;
        QTest::newRow("DataCheckIntel") << "DataCheckIntel" << 66;
        QTest::newRow("DataCKSPTable") << "DataCKSPTable" << 80;
    }
    void historyKeyColumns()
    {
        QFETCH(QString, table);
        QFETCH(int, columnCount);
        const QList<ColumnInfo> cols = tableInfo(m_data.db(), table);
        QCOMPARE(cols.size(), columnCount);
        QCOMPARE(cols[0].name, QStringLiteral("流水号"));
        QVERIFY(cols[0].primaryKey);
        QCOMPARE(cols[0].type, QStringLiteral("INTEGER"));
        QVERIFY(columnNames(m_data.db(), table).contains(QStringLiteral("模板种类")));
        QVERIFY(columnNames(m_data.db(), table).contains(QStringLiteral("备注")));

        // The serial number counts from 1 and is never reused after a delete.
        QVERIFY(m_data.exec(QStringLiteral("insert into %1 (模板种类) values (?)").arg(table), {QStringLiteral("a")}));
        QCOMPARE(m_data.scalar(QStringLiteral("select max(流水号) from %1").arg(table)).toInt(), 1);
        QVERIFY(m_data.exec(QStringLiteral("delete from %1").arg(table)));
        QVERIFY(m_data.exec(QStringLiteral("insert into %1 (模板种类) values (?)").arg(table), {QStringLiteral("b")}));
        QCOMPARE(m_data.scalar(QStringLiteral("select max(流水号) from %1").arg(table)).toInt(), 2);
        QVERIFY(m_data.exec(QStringLiteral("delete from %1").arg(table)));
    }

    void fixedWidthsAndKinds_data()
    {
        QTest::addColumn<bool>("package");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("columnName");
        QTest::addColumn<QString>("type");
        const auto row = [](bool package, const char *table, const char *col, const char *type) {
            QTest::addRow("%s.%s", table, col) << package << QString::fromUtf8(table) << QString::fromUtf8(col)
                                               << QString::fromUtf8(type);
        };
        row(false, "MatchColumn", "MatchType", "VARCHAR(50)");
        row(false, "MatchColumn", "ItemName", "VARCHAR(50)");
        row(false, "MatchColumn", "SourceName", "VARCHAR(200)");
        row(false, "MatchColumn", "ShowOrd", "INTEGER");
        row(false, "CKTypeTable", "CheckTypeID", "INTEGER");
        row(false, "CKTypeTable", "TypeFirstName", "VARCHAR(50)");
        row(false, "CKTypeTable", "IsCommon", "VARCHAR(10)");
        row(false, "CKTypeTable", "IniFile", "VARCHAR(50)");
        row(false, "ckControl", "CtlType", "VARCHAR(30)");
        row(false, "ckControl", "InitValue", "VARCHAR(80)");
        row(false, "ckControl", "CtlX", "INTEGER");
        row(false, "NameDict", "CtlData", "VARCHAR(100)");
        row(false, "NameDict", "CtlType", "VARCHAR(20)");
        row(false, "UserTable", "lastlogin", "TEXT");
        row(false, "ReceiverList", "体积", "VARCHAR(50)");
        row(false, "ReceiverList", "代收金额", "VARCHAR(30)");
        row(false, "ReceiverList", "其他费", "VARCHAR(50)");
        row(false, "ReceiverList", "金额大写1", "VARCHAR(50)");
        row(false, "ReceiverList", "自定义5", "VARCHAR(50)");
        row(false, "DataKDDTable", "代收金额", "VARCHAR(30)");
        row(false, "DataKDDTable", "体积", "VARCHAR(50)");
        row(false, "DataKDDTable", "送货费", "VARCHAR(50)");
        row(false, "DataKDDTable", "金额大写1", "VARCHAR(50)");
        row(false, "DataKDDTable", "自定义1", "VARCHAR(50)");
        row(false, "DataKDDTable", "寄件日期", "TEXT");
        row(false, "DataCheckReceipt", "出票日期", "TEXT");
        row(false, "DataCheckIntel", "出票日期", "TEXT");
        row(false, "DataCKSPTable", "出票日期", "TEXT");
        row(false, "coins", "顺序", "INTEGER");
        row(false, "CKPersonalInfoTable", "排序", "INTEGER");
        row(true, "_ckControl", "InitValue", "VARCHAR(60)");
        row(true, "_ckControl", "CtlType", "VARCHAR(30)");
        row(true, "_Config", "DMName", "VARCHAR(50)");
        row(true, "_Config", "DMValue", "VARCHAR(200)");
        row(true, "_CKTypeTable", "Img_Bytes", "BLOB");
    }
    void datesStayText()
    {
        // A date typed without separators must not turn into a number.
        QVERIFY(m_data.exec("insert into DataKDDTable (寄件日期) values (?)", {QStringLiteral("20240305")}));
        QCOMPARE(m_data.scalar("select typeof(寄件日期) from DataKDDTable where 寄件日期='20240305'").toString(),
                 QStringLiteral("text"));
        QVERIFY(m_data.exec("delete from DataKDDTable"));
    }

    void fixedWidthsAndKinds()
    {
        QFETCH(bool, package);
        QFETCH(QString, table);
        QFETCH(QString, columnName);
        QFETCH(QString, type);
        FileConnection skeleton(m_data.core->dir().packageSkeleton());
        const QList<ColumnInfo> cols = tableInfo(package ? skeleton.db() : m_data.db(), table);
        auto it = std::find_if(cols.begin(), cols.end(), [&](const ColumnInfo &c) { return c.name == columnName; });
        QVERIFY2(it != cols.end(), qPrintable(columnName));
        QCOMPARE(it->type, type);
    }

    // Columns the import copies unquoted into SQL and rows inserted without them carry defaults.
    void defaults_data()
    {
        QTest::addColumn<bool>("package");
        QTest::addColumn<QString>("insert");
        QTest::addColumn<QString>("select");
        QTest::addColumn<QString>("expected");
        QTest::newRow("ckControl SrcW") << false << "insert into ckControl (CheckTypeID) values (900)"
                                        << "select SrcW from ckControl where CheckTypeID=900" << "50";
        QTest::newRow("ckControl NeedPrint") << false << "insert into ckControl (CheckTypeID) values (901)"
                                             << "select NeedPrint from ckControl where CheckTypeID=901" << "1";
        QTest::newRow("ckControl BreakFontSize") << false << "insert into ckControl (CheckTypeID) values (902)"
                                                 << "select BreakFontSize from ckControl where CheckTypeID=902"
                                                 << "7";
        QTest::newRow("MatchColumn ShowOrd") << false << "insert into MatchColumn (ItemName) values ('x1')"
                                             << "select ShowOrd from MatchColumn where ItemName='x1'" << "0";
        QTest::newRow("coins order") << false << "insert into coins (币种) values ('x2')"
                                     << "select 顺序 from coins where 币种='x2'" << "0";
        QTest::newRow("_ckControl CtlX") << true << "insert into _ckControl (CtlName) values ('x3')"
                                         << "select CtlX from _ckControl where CtlName='x3'" << "0";
        QTest::newRow("_ckControl Bold") << true << "insert into _ckControl (CtlName) values ('x4')"
                                         << "select Bold from _ckControl where CtlName='x4'" << "0";
        QTest::newRow("_Config id") << true << "insert into _Config (DMName) values ('x5')"
                                    << "select Id from _Config where DMName='x5'" << "1";
    }
    void defaults()
    {
        QFETCH(bool, package);
        QFETCH(QString, insert);
        QFETCH(QString, select);
        QFETCH(QString, expected);
        // A copy of the file, so that the default data stays as written for the other tests.
        QTemporaryDir tmp;
        const QString copy = tmp.filePath(QStringLiteral("copy.db"));
        QVERIFY(QFile::copy(package ? m_data.core->dir().packageSkeleton() : m_data.core->dir().dataFile(), copy));
        FileConnection connection(copy);
        QSqlQuery q(connection.db());
        QVERIFY(q.exec(insert));
        QVERIFY(q.exec(select));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), expected);
    }

    void packageSkeletonIsEmpty()
    {
        FileConnection skeleton(m_data.core->dir().packageSkeleton());
        QCOMPARE(skeleton.db().tables(QSql::Tables).contains(QStringLiteral("_CKTypeTable")), true);
        for (const char *table : {"_CKTypeTable", "_ckControl", "_Config"}) {
            QSqlQuery q(skeleton.db());
            QVERIFY(q.exec(QStringLiteral("select count(*) from %1").arg(QLatin1String(table))));
            QVERIFY(q.next());
            QCOMPARE(q.value(0).toInt(), 0);
        }
        // The package skeleton holds none of the data file's tables.
        QVERIFY(!skeleton.db().tables().contains(QStringLiteral("CKTypeTable")));
    }

    // --- default data ---

    void fieldDictionaryOfEachKind_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char *k : {"快递单", "普通发票收据", "国际货运发票", "出口商品发票"})
            QTest::newRow(k) << QString::fromUtf8(k);
    }
    void fieldDictionaryOfEachKind()
    {
        QFETCH(QString, kind);
        QSqlQuery q(m_data.db());
        q.prepare(QStringLiteral("select CtlName, CtlLabel, CtlType from NameDict where CheckTypeName=?"));
        q.bindValue(0, kind);
        QVERIFY(q.exec());
        QHash<QString, QPair<QString, QString>> fields;
        QStringList duplicates;
        int rows = 0;
        while (q.next()) {
            ++rows;
            const QString name = q.value(0).toString();
            QCOMPARE(name, name.toUpper());
            QVERIFY2(!name.trimmed().isEmpty(), qPrintable(kind));
            if (fields.contains(name))
                duplicates << name;
            fields.insert(name, {q.value(1).toString(), q.value(2).toString()});
        }
        QVERIFY2(duplicates.isEmpty(), qPrintable(duplicates.join(QLatin1Char(','))));
        QVERIFY(rows > 13);
        for (int i = 0; i <= 12; ++i) {
            const QString name = QStringLiteral("DEFCHECK%1").arg(i);
            QVERIFY2(fields.contains(name), qPrintable(name));
            QCOMPARE(fields[name].first, QStringLiteral("勾选%1").arg(i));
            QCOMPARE(fields[name].second, QStringLiteral("CHECKBOX"));
        }
        // Every other field is a text field.
        int checkBoxes = 0;
        for (const auto &f : std::as_const(fields))
            checkBoxes += f.second == QLatin1String("CHECKBOX");
        QCOMPARE(checkBoxes, 13);
    }

    void matchColumnRows()
    {
        const QList<QPair<QString, QString>> expected{
            {"联系人", "联系人,收件人姓名,收货人,收件联系人,*姓名*,name,fullname"},
            {"单位全称", "会员ID,买家会员名,全称,单位全称,收件单位,收件公司,*公司*,企业名称"},
            {"电话", "收件电话,固定电话,联系方式,联系电话,*电话*"},
            {"手机", "收件手机,Mobile,移动电话,*手机*"},
            {"地址", "收件地址,*地址*,address"},
            {"省", "*省*,州,Province"},
            {"市", "市,县市,城市,二级区划,city"},
            {"镇区", "镇区,区县,三级区划,区镇"},
            {"银行账号", "账号,银行账号,开户行账号,帐号"},
            {"开户银行", "开户行,开户银行,银行名称,银行"},
            {"物品内容", "物品内容,内件说明,商品名称,宝贝名称,宝贝标题"},
            {"重量", "重量,计费重量,weight"},
            {"国家", "国家,country"},
            {"备注", "备注,买家留言"},
            {"目的站", "目的地,目的站,城市"},
            {"件数", "件数,数量"},
            {"费用", "费用,总费用,费用合计"},
            {"订单号", "\t订单编号,订单ID,订单号"},
            {"会员ID", "QQ,旺旺,会员ID,客户编号"},
            {"保价金额", "保价金额,声明价值,保险金额"},
            {"保价费", "保价费,保险费"},
            {"运费", "运费,运输费"},
            {"加急费", "加急费"},
            {"加急费", "加急费"},
            {"包装费", "包装费"},
            {"体积", "体积"},
            {"代收金额", "代收金额,代收金额小写,代收款"},
            {"手续费", "手续费,代收费"},
            {"金额大写1", "金额大写1,金额"},
            {"自定义3", "自定义3"},
            {"自定义4", "自定义4"},
            {"自定义5", "自定义5"},
            {"助记码", "助记码"},
            {"批打分组", "分组,批打分组,导入分组"}};
        QSqlQuery q(m_data.db());
        QVERIFY(q.exec(QStringLiteral("select Id, MatchType, ItemName, SourceName, ShowOrd from MatchColumn order by Id")));
        int i = 0;
        while (q.next()) {
            QVERIFY2(i < expected.size(), "more MatchColumn rows than expected");
            QCOMPARE(q.value(0).toInt(), i + 1);
            QCOMPARE(q.value(1).toString(), QStringLiteral("收件信息导入"));
            QCOMPARE(q.value(2).toString(), expected[i].first);
            QCOMPARE(q.value(3).toString(), expected[i].second);
            QCOMPARE(q.value(4).toInt(), 0);
            ++i;
        }
        QCOMPARE(i, 34);
    }

    void currencies_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *c : {"人民币", "美元", "欧元", "港币", "日元", "英镑"})
            QTest::newRow(c) << QString::fromUtf8(c);
    }
    void currencies()
    {
        QFETCH(QString, name);
        QCOMPARE(m_data.scalar(QStringLiteral("select count(*) from coins where 币种=?"), {name}).toInt(), 1);
        QVERIFY(!m_data.scalar(QStringLiteral("select 缩写 from coins where 币种=?"), {name}).toString().isEmpty());
    }

    void currencyNamesUniqueAndRmbFirst()
    {
        QCOMPARE(m_data.scalar(QStringLiteral("select count(*) - count(distinct 币种) from coins")).toInt(), 0);
        QCOMPARE(m_data.scalar(QStringLiteral("select 币种 from coins order by 顺序 desc limit 1")).toString(),
                 QStringLiteral("人民币"));
    }

    void provincesAndCities_data()
    {
        QTest::addColumn<QString>("province");
        QTest::addColumn<QString>("city");
        QTest::newRow("广东省") << "广东省" << "深圳市";
        QTest::newRow("浙江省") << "浙江省" << "杭州市";
        QTest::newRow("新疆") << "新疆维吾尔自治区" << "乌鲁木齐市";
        QTest::newRow("台湾省") << "台湾省" << QString();
        QTest::newRow("香港") << "香港特别行政区" << QString();
        QTest::newRow("澳门") << "澳门特别行政区" << QString();
    }
    void provincesAndCities()
    {
        QFETCH(QString, province);
        QFETCH(QString, city);
        QVERIFY(m_data.scalar(QStringLiteral("select count(*) from DMTable2 where 类型='省市' and trim(一级代码)=?"),
                              {province})
                    .toInt()
                > 0);
        if (!city.isEmpty())
            QCOMPARE(m_data.scalar(QStringLiteral("select count(*) from DMTable2 where 类型='省市' and "
                                                  "trim(一级代码)=? and trim(二级代码)=?"),
                                   {province, city})
                         .toInt(),
                     1);
    }

    void thirtyFourProvinces()
    {
        QCOMPARE(m_data.scalar(QStringLiteral("select count(distinct trim(一级代码)) from DMTable2 where 类型='省市'"))
                     .toInt(),
                 34);
        // No city is listed under two provinces of the same name twice.
        QCOMPARE(m_data.scalar(QStringLiteral("select count(*) from (select 一级代码, 二级代码 from DMTable2 where "
                                              "类型='省市' group by 一级代码, 二级代码 having count(*) > 1)"))
                     .toInt(),
                 0);
    }

    void dropDownDictionaries_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *n : {"物品内容", "备注", "始发站"})
            QTest::newRow(n) << QString::fromUtf8(n);
    }
    void dropDownDictionaries()
    {
        QFETCH(QString, name);
        QVERIFY(m_data.scalar(QStringLiteral("select count(*) from DMTable where CheckTypeId=0 and DMName=?"), {name})
                    .toInt()
                > 0);
    }

    void systemOptions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::newRow("login") << "进入系统需验证" << "no";
        QTest::newRow("printer dialog") << "打印前弹出打印机设置" << "no";
        QTest::newRow("default issuer") << "启用默认出票人" << "yes";
        QTest::newRow("background") << "启用系统背景" << "yes";
        QTest::newRow("default printer") << "DefaultPrinter" << QStringLiteral("");
        QTest::newRow("panel date") << "HideADPanelDate" << QStringLiteral("");
        QTest::newRow("excel") << "MS EXCEL FIRST" << "0";
    }
    void systemOptions()
    {
        QFETCH(QString, name);
        QFETCH(QString, value);
        QCOMPARE(m_data.scalar(QStringLiteral("select count(*) from configtable where cname=?"), {name}).toInt(), 1);
        const QVariant stored = m_data.scalar(QStringLiteral("select cvalue from configtable where cname=?"), {name});
        QCOMPARE(stored.toString(), value);
        // An empty option is empty text, not NULL.
        QVERIFY(!stored.isNull());
    }

    void versionOptionIsSet()
    {
        QVERIFY(!m_data.scalar(QStringLiteral("select cvalue from configtable where cname='version'"))
                     .toString()
                     .isEmpty());
    }

    void administratorWithEmptyPassword()
    {
        QCOMPARE(m_data.scalar(QStringLiteral("select count(*) from UserTable")).toInt(), 1);
        QCOMPARE(m_data.scalar(QStringLiteral("select UserName from UserTable")).toString(), QStringLiteral("管理员"));
        const QVariant password = m_data.scalar(QStringLiteral("select Passwd from UserTable"));
        QVERIFY(!password.isNull());
        QCOMPARE(password.toString(), QString());
    }

    void emptyTablesOfNewFile_data()
    {
        QTest::addColumn<QString>("table");
        for (const char *t : {"CKPersonalInfoTable", "ClassPerson", "Products", "DataSaleDetail", "ReceiverList",
                              "DataKDDTable", "DataCheckReceipt", "DataCheckIntel", "DataCKSPTable"})
            QTest::newRow(t) << QString::fromUtf8(t);
    }
    void emptyTablesOfNewFile()
    {
        QFETCH(QString, table);
        QCOMPARE(m_data.scalar(QStringLiteral("select count(*) from %1").arg(table)).toInt(), 0);
    }
};

QTEST_GUILESS_MAIN(TestSchema)
#include "test_schema.moc"
