#include "store/Schema.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace moque::store {

QString ColumnDef::declaration() const
{
    QString decl = name + QLatin1Char(' ');
    switch (kind) {
    case ColumnKind::Counter:
        return decl + QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    case ColumnKind::Key:
        // Not declared PRIMARY KEY: SQLite would then make up a number for a row without one.
        return decl + QStringLiteral("INTEGER NOT NULL UNIQUE");
    case ColumnKind::Long:
        decl += QStringLiteral("INTEGER");
        break;
    case ColumnKind::Text:
        // Text compares without regard to letter case, as the system's lookups expect.
        decl += (size > 0 ? QStringLiteral("VARCHAR(%1)").arg(size) : QStringLiteral("TEXT"))
                + QStringLiteral(" COLLATE NOCASE");
        break;
    case ColumnKind::Date:
        // Text affinity: a date typed as 20240305 must stay text and never become
        // a number, which would compare wrongly against the ISO dates of a period.
        decl += QStringLiteral("TEXT");
        break;
    case ColumnKind::Binary:
        decl += QStringLiteral("BLOB");
        break;
    case ColumnKind::Memo:
        decl += QStringLiteral("TEXT");
        break;
    }
    if (!defaultValue.isEmpty())
        decl += QStringLiteral(" DEFAULT ") + defaultValue;
    return decl;
}

QStringList TableDef::columnNames() const
{
    QStringList names;
    for (const ColumnDef &c : columns)
        names << c.name;
    return names;
}

QString TableDef::createStatement() const
{
    QStringList decls;
    for (const ColumnDef &c : columns)
        decls << c.declaration();
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(name, decls.join(QStringLiteral(", ")));
}

namespace {

ColumnDef counter(const QString &n) { return {n, ColumnKind::Counter, 0, {}}; }
ColumnDef lng(const QString &n, const QString &def = {}) { return {n, ColumnKind::Long, 0, def}; }
ColumnDef text(const QString &n, int size = 0) { return {n, ColumnKind::Text, size, {}}; }
ColumnDef date(const QString &n) { return {n, ColumnKind::Date, 0, {}}; }

QList<ColumnDef> texts(const QStringList &names, int size = 0)
{
    QList<ColumnDef> cols;
    for (const QString &n : names)
        cols << text(n, size);
    return cols;
}

// Numbered columns such as 收费内容1 … 收费内容5, grouped by number.
QList<ColumnDef> lineItems(const QStringList &stems, int count)
{
    QList<ColumnDef> cols;
    for (int i = 1; i <= count; ++i)
        for (const QString &s : stems)
            cols << text(s + QString::number(i));
    return cols;
}

QList<ColumnDef> numbered(const QString &stem, int count, int size = 0)
{
    QList<ColumnDef> cols;
    for (int i = 1; i <= count; ++i)
        cols << text(stem + QString::number(i), size);
    return cols;
}

QList<ColumnDef> billHead()
{
    return {counter(QStringLiteral("流水号")), text(QStringLiteral("模板种类")), text(QStringLiteral("备注"))};
}

TableDef ckTypeTable()
{
    return {QStringLiteral("CKTypeTable"),
            {{QStringLiteral("CheckTypeID"), ColumnKind::Key, 0, {}}, text(QStringLiteral("TypeName")),
             text(QStringLiteral("TypeFirstName"), 50), text(QStringLiteral("TypeDescribe")),
             lng(QStringLiteral("XMove"), QStringLiteral("0")), lng(QStringLiteral("YMove"), QStringLiteral("0")),
             lng(QStringLiteral("THeight")), lng(QStringLiteral("TWidth")), lng(QStringLiteral("PWidth")),
             lng(QStringLiteral("PHeight")), lng(QStringLiteral("HVPrint"), QStringLiteral("0")),
             text(QStringLiteral("ImgFile")), text(QStringLiteral("Visiable")), text(QStringLiteral("IsDefault")),
             text(QStringLiteral("IsCommon"), 10), lng(QStringLiteral("ShowOrd"), QStringLiteral("0")),
             text(QStringLiteral("CheckBoxs")), text(QStringLiteral("IniFile"), 50),
             text(QStringLiteral("InputBgColor")), text(QStringLiteral("InputFtColor")),
             text(QStringLiteral("PreImgURL"))}};
}

TableDef ckControlTable()
{
    return {QStringLiteral("ckControl"),
            {counter(QStringLiteral("ID")), lng(QStringLiteral("CheckTypeID")), text(QStringLiteral("CtlName")),
             text(QStringLiteral("CtlCName")), text(QStringLiteral("CtlType"), 30),
             lng(QStringLiteral("CtlX"), QStringLiteral("0")), lng(QStringLiteral("CtlY"), QStringLiteral("0")),
             lng(QStringLiteral("CtlW"), QStringLiteral("0")), lng(QStringLiteral("CtlH"), QStringLiteral("0")),
             lng(QStringLiteral("CtlLH"), QStringLiteral("0")),
             lng(QStringLiteral("SrcX"), QStringLiteral("10")), lng(QStringLiteral("SrcY"), QStringLiteral("10")),
             lng(QStringLiteral("SrcW"), QStringLiteral("50")), lng(QStringLiteral("SrcH"), QStringLiteral("20")),
             lng(QStringLiteral("NeedPrint"), QStringLiteral("1")), lng(QStringLiteral("NeedShow"), QStringLiteral("1")),
             text(QStringLiteral("CtlFontName")), lng(QStringLiteral("CtlFontSize"), QStringLiteral("9")),
             text(QStringLiteral("CtlFontColor")), lng(QStringLiteral("BreakFontSize"), QStringLiteral("7")),
             lng(QStringLiteral("Bold"), QStringLiteral("0")), lng(QStringLiteral("Italic"), QStringLiteral("0")),
             lng(QStringLiteral("UnderLine"), QStringLiteral("0")), text(QStringLiteral("FitParam")),
             text(QStringLiteral("Align")), text(QStringLiteral("BreakNum")), text(QStringLiteral("InitValue"), 80),
             lng(QStringLiteral("ShowOrd"), QStringLiteral("0"))}};
}

QList<TableDef> buildDataFileTables()
{
    QList<TableDef> t;
    t << ckTypeTable() << ckControlTable();
    t << TableDef{QStringLiteral("NameDict"),
                  {counter(QStringLiteral("ID")), text(QStringLiteral("CheckTypeName")), text(QStringLiteral("CtlName")),
                   text(QStringLiteral("CtlLabel")), text(QStringLiteral("CtlData"), 100),
                   lng(QStringLiteral("PrintItem"), QStringLiteral("1")), lng(QStringLiteral("ShowOrd"), QStringLiteral("0")),
                   text(QStringLiteral("CtlType"), 20), text(QStringLiteral("Groups"))}};
    t << TableDef{QStringLiteral("DMTable"),
                  {counter(QStringLiteral("ID")), lng(QStringLiteral("CheckTypeId"), QStringLiteral("0")),
                   text(QStringLiteral("DMName")), text(QStringLiteral("DMValue"))}};
    t << TableDef{QStringLiteral("DMTable2"),
                  {text(QStringLiteral("类型")), text(QStringLiteral("一级代码")), text(QStringLiteral("二级代码"))}};
    t << TableDef{QStringLiteral("coins"),
                  {text(QStringLiteral("币种")), text(QStringLiteral("缩写")), lng(QStringLiteral("顺序"), QStringLiteral("0"))}};
    t << TableDef{QStringLiteral("configtable"), {text(QStringLiteral("cname")), text(QStringLiteral("cvalue"))}};
    t << TableDef{QStringLiteral("UserTable"),
                  {counter(QStringLiteral("ID")), text(QStringLiteral("UserName")),
                   {QStringLiteral("Passwd"), ColumnKind::Text, 0, QStringLiteral("''")},
                   text(QStringLiteral("RoleName")), date(QStringLiteral("lastlogin")), text(QStringLiteral("Remark"))}};

    TableDef person{QStringLiteral("CKPersonalInfoTable"), {counter(QStringLiteral("ID"))}};
    person.columns << texts({QStringLiteral("全称"), QStringLiteral("助记码"), QStringLiteral("联系人"),
                             QStringLiteral("电话"), QStringLiteral("手机"), QStringLiteral("国家"), QStringLiteral("省"),
                             QStringLiteral("市"), QStringLiteral("镇区"), QStringLiteral("地址"), QStringLiteral("邮编"),
                             QStringLiteral("开户银行"), QStringLiteral("开户行账号"), QStringLiteral("开户行地址"),
                             QStringLiteral("开户行行号"), QStringLiteral("识别号"), QStringLiteral("单位类型"),
                             QStringLiteral("分组")});
    person.columns << lng(QStringLiteral("排序"), QStringLiteral("0"));
    person.columns << texts({QStringLiteral("扩展信息"), QStringLiteral("自定义1"), QStringLiteral("自定义2"),
                             QStringLiteral("自定义3")});
    t << person;

    t << TableDef{QStringLiteral("ClassPerson"), {counter(QStringLiteral("Id")), text(QStringLiteral("FullPathName"))}};

    TableDef products{QStringLiteral("Products"), {counter(QStringLiteral("ID"))}};
    products.columns << texts({QStringLiteral("商品名"), QStringLiteral("规格"), QStringLiteral("货号"),
                               QStringLiteral("单位"), QStringLiteral("单价"), QStringLiteral("批价"),
                               QStringLiteral("简码"), QStringLiteral("备注"), QStringLiteral("分类")});
    t << products;

    TableDef sale{QStringLiteral("DataSaleDetail"), {counter(QStringLiteral("ID"))}};
    sale.columns << texts({QStringLiteral("订单号"), QStringLiteral("货号"), QStringLiteral("商品名"),
                           QStringLiteral("规格"), QStringLiteral("单位"), QStringLiteral("数量"),
                           QStringLiteral("单价")});
    t << sale;

    TableDef receivers{QStringLiteral("ReceiverList"), {counter(QStringLiteral("ID"))}};
    receivers.columns << texts({QStringLiteral("全称"), QStringLiteral("联系人"), QStringLiteral("电话"),
                                QStringLiteral("手机"), QStringLiteral("国家"), QStringLiteral("省"),
                                QStringLiteral("市"), QStringLiteral("镇区"), QStringLiteral("地址"),
                                QStringLiteral("邮编"), QStringLiteral("目的站"), QStringLiteral("内件说明"),
                                QStringLiteral("件数"), QStringLiteral("重量"), QStringLiteral("费用"),
                                QStringLiteral("备注"), QStringLiteral("批打分组")});
    receivers.columns << text(QStringLiteral("体积"), 50) << text(QStringLiteral("代收金额"), 30);
    receivers.columns << texts({QStringLiteral("手续费"), QStringLiteral("保价金额"), QStringLiteral("保价费"),
                                QStringLiteral("运费"), QStringLiteral("加急费"), QStringLiteral("包装费"),
                                QStringLiteral("送货费"), QStringLiteral("其他费"), QStringLiteral("金额大写1"),
                                QStringLiteral("自定义3"), QStringLiteral("自定义4"), QStringLiteral("自定义5")},
                               50);
    t << receivers;

    t << TableDef{QStringLiteral("MatchColumn"),
                  {counter(QStringLiteral("Id")), text(QStringLiteral("MatchType"), 50),
                   text(QStringLiteral("ItemName"), 50), text(QStringLiteral("SourceName"), 200),
                   lng(QStringLiteral("ShowOrd"), QStringLiteral("0"))}};

    TableDef kdd{QStringLiteral("DataKDDTable"), billHead()};
    kdd.columns << texts({QStringLiteral("寄件单位"), QStringLiteral("寄件地址"), QStringLiteral("寄件国家"),
                          QStringLiteral("始发站"), QStringLiteral("寄件省"), QStringLiteral("寄件市县"),
                          QStringLiteral("寄件镇区"), QStringLiteral("寄件联系人"), QStringLiteral("寄件电话"),
                          QStringLiteral("寄方手机"), QStringLiteral("寄方邮编")});
    kdd.columns << date(QStringLiteral("寄件日期")) << text(QStringLiteral("寄件时间"));
    kdd.columns << texts({QStringLiteral("收件单位"), QStringLiteral("收件地址"), QStringLiteral("目的站"),
                          QStringLiteral("收件国家"), QStringLiteral("收件省"), QStringLiteral("收件市县"),
                          QStringLiteral("收件镇区"), QStringLiteral("收件联系人"), QStringLiteral("收件电话"),
                          QStringLiteral("收方手机"), QStringLiteral("收方邮编"), QStringLiteral("物品内容"),
                          QStringLiteral("件数"), QStringLiteral("重量"), QStringLiteral("总费用"),
                          QStringLiteral("快递帐号"), QStringLiteral("快递单号"), QStringLiteral("其他选项")});
    kdd.columns << text(QStringLiteral("代收金额"), 30);
    kdd.columns << texts({QStringLiteral("体积"), QStringLiteral("手续费"), QStringLiteral("保价金额"),
                          QStringLiteral("保价费"), QStringLiteral("运费"), QStringLiteral("加急费"),
                          QStringLiteral("包装费"), QStringLiteral("送货费"), QStringLiteral("其他费"),
                          QStringLiteral("金额大写1")},
                         50);
    kdd.columns << numbered(QStringLiteral("自定义"), 5, 50);
    t << kdd;

    TableDef receipt{QStringLiteral("DataCheckReceipt"), billHead()};
    receipt.columns << texts({QStringLiteral("票据编号"), QStringLiteral("票据代码"), QStringLiteral("票据状态")});
    receipt.columns << date(QStringLiteral("出票日期"));
    receipt.columns << texts({QStringLiteral("币种"), QStringLiteral("合计金额"), QStringLiteral("其他选项"),
                              QStringLiteral("销货方名称"), QStringLiteral("顾客名称"), QStringLiteral("顾客地址"),
                              QStringLiteral("顾客税号"), QStringLiteral("顾客电话"), QStringLiteral("开票人"),
                              QStringLiteral("收款人")});
    const QStringList receiptItems{QStringLiteral("收费内容"), QStringLiteral("货号"), QStringLiteral("规格"),
                                   QStringLiteral("单位"), QStringLiteral("数量"), QStringLiteral("单价"),
                                   QStringLiteral("金额")};
    receipt.columns << lineItems(receiptItems, 5) << numbered(QStringLiteral("自定义"), 10);
    t << receipt;

    TableDef intel{QStringLiteral("DataCheckIntel"), billHead()};
    intel.columns << texts({QStringLiteral("票据编号"), QStringLiteral("票据代码"), QStringLiteral("票据状态")});
    intel.columns << date(QStringLiteral("出票日期"));
    intel.columns << texts({QStringLiteral("币种"), QStringLiteral("合计金额"), QStringLiteral("其他选项"),
                            QStringLiteral("顾客名称"), QStringLiteral("顾客税号"), QStringLiteral("开票人"),
                            QStringLiteral("收款人")});
    intel.columns << lineItems(receiptItems, 6) << numbered(QStringLiteral("自定义"), 10);
    t << intel;

    TableDef cksp{QStringLiteral("DataCKSPTable"), billHead()};
    cksp.columns << texts({QStringLiteral("发票代码"), QStringLiteral("票据编号"), QStringLiteral("发票编号"),
                           QStringLiteral("票据状态")});
    cksp.columns << date(QStringLiteral("出票日期"));
    cksp.columns << texts({QStringLiteral("购方单位"), QStringLiteral("购方地址"), QStringLiteral("购方电话"),
                           QStringLiteral("销方单位"), QStringLiteral("销方地址"), QStringLiteral("销方电话"),
                           QStringLiteral("币种"), QStringLiteral("金额合计"), QStringLiteral("当期汇率"),
                           QStringLiteral("离岸价合计"), QStringLiteral("开票人"), QStringLiteral("合同号码"),
                           QStringLiteral("信用证号"), QStringLiteral("贸易方式"), QStringLiteral("收汇方式"),
                           QStringLiteral("运输方式"), QStringLiteral("启运港"), QStringLiteral("转运港"),
                           QStringLiteral("目的港")});
    cksp.columns << lineItems({QStringLiteral("订单号码"), QStringLiteral("商品名称"), QStringLiteral("单位"),
                               QStringLiteral("数量"), QStringLiteral("单价"), QStringLiteral("销售额"),
                               QStringLiteral("离岸价")},
                              7);
    cksp.columns << numbered(QStringLiteral("自定义"), 3) << text(QStringLiteral("勾选项"));
    t << cksp;
    return t;
}

QList<TableDef> buildPackageTables()
{
    const QString zero = QStringLiteral("0");
    TableDef types{QStringLiteral("_CKTypeTable"),
                   {lng(QStringLiteral("CheckTypeID"), zero), text(QStringLiteral("TypeName")),
                    text(QStringLiteral("TypeFirstName")), text(QStringLiteral("TypeDescribe")),
                    lng(QStringLiteral("XMove"), zero), lng(QStringLiteral("YMove"), zero),
                    lng(QStringLiteral("THeight"), zero), lng(QStringLiteral("TWidth"), zero),
                    lng(QStringLiteral("HVPrint"), zero), text(QStringLiteral("ImgFile")),
                    text(QStringLiteral("Visiable")), text(QStringLiteral("CheckBoxs")),
                    text(QStringLiteral("IsCommon")), lng(QStringLiteral("ShowOrd"), zero),
                    text(QStringLiteral("IsDefault")), lng(QStringLiteral("PWidth"), zero),
                    lng(QStringLiteral("PHeight"), zero), {QStringLiteral("Img_Bytes"), ColumnKind::Binary, 0, {}},
                    {QStringLiteral("Ini_Text"), ColumnKind::Memo, 0, {}}}};
    // Numeric print item columns default to 0 so that every packaged row carries a number.
    TableDef controls{QStringLiteral("_ckControl"),
                      {lng(QStringLiteral("CheckTypeID"), zero), text(QStringLiteral("CtlName")),
                       text(QStringLiteral("CtlCName")), text(QStringLiteral("CtlType"), 30)}};
    for (const char *n : {"CtlX", "CtlY", "CtlH", "CtlW", "CtlLH", "SrcX", "SrcY", "SrcH", "SrcW", "NeedPrint",
                          "NeedShow"})
        controls.columns << lng(QLatin1String(n), zero);
    controls.columns << text(QStringLiteral("CtlFontName"));
    for (const char *n : {"CtlFontSize", "BreakFontSize", "Bold", "Italic", "UnderLine"})
        controls.columns << lng(QLatin1String(n), zero);
    controls.columns << text(QStringLiteral("FitParam")) << text(QStringLiteral("BreakNum"))
                     << text(QStringLiteral("InitValue"), 60) << lng(QStringLiteral("ShowOrd"), zero)
                     << text(QStringLiteral("CtlFontColor")) << text(QStringLiteral("Align"));
    TableDef config{QStringLiteral("_Config"),
                    {counter(QStringLiteral("Id")), text(QStringLiteral("DMName"), 50),
                     text(QStringLiteral("DMValue"), 200), lng(QStringLiteral("CheckTypeId"), zero)}};
    return {types, controls, config};
}

} // namespace

const QList<TableDef> &dataFileTables()
{
    static const QList<TableDef> tables = buildDataFileTables();
    return tables;
}

const QList<TableDef> &packageTables()
{
    static const QList<TableDef> tables = buildPackageTables();
    return tables;
}

const TableDef *findTable(const QList<TableDef> &tables, const QString &name)
{
    for (const TableDef &t : tables)
        if (t.name.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

QString createMissingTables(QSqlDatabase db, const QList<TableDef> &tables)
{
    const QStringList existing = db.tables();
    for (const TableDef &t : tables) {
        bool found = false;
        for (const QString &e : existing)
            found = found || e.compare(t.name, Qt::CaseInsensitive) == 0;
        if (found)
            continue;
        QSqlQuery q(db);
        if (!q.exec(t.createStatement()))
            return t.name + QStringLiteral(": ") + q.lastError().text();
    }
    return {};
}

} // namespace moque::store
