#include "templates/TemplateCatalog.h"

#include "common/Dialogs.h"
#include "store/Schema.h"
#include "store/Store.h"
#include "store/BoundQuery.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <utility>

namespace moque::templates {

using store::Bind;
using store::execBound;

namespace {

// The values of one column of every row, in query order; a failure keeps the rows read so far.
QStringList readColumn(QSqlQuery &q)
{
    QStringList values;
    while (q.next())
        values << q.value(0).toString();
    return values;
}

QVariant field(const QSqlRecord &r, const char *name)
{
    const int i = r.indexOf(QLatin1String(name));
    return i < 0 ? QVariant() : r.value(i);
}

void setInt(int &target, const QVariant &v)
{
    if (!v.isNull())
        target = v.toInt();
}

TemplateRow rowFromRecord(const QSqlRecord &r)
{
    TemplateRow t;
    setInt(t.id, field(r, "CheckTypeID"));
    t.fullName = field(r, "TypeName").toString();
    t.kind = field(r, "TypeFirstName").toString();
    t.displayName = field(r, "TypeDescribe").toString();
    setInt(t.xMove, field(r, "XMove"));
    setInt(t.yMove, field(r, "YMove"));
    setInt(t.screenHeight, field(r, "THeight"));
    setInt(t.screenWidth, field(r, "TWidth"));
    setInt(t.paperWidth, field(r, "PWidth"));
    setInt(t.paperHeight, field(r, "PHeight"));
    setInt(t.orientation, field(r, "HVPrint"));
    t.imageFile = field(r, "ImgFile").toString();
    t.visible = field(r, "Visiable").toString();
    t.isDefault = field(r, "IsDefault").toString();
    t.isCommon = field(r, "IsCommon").toString();
    setInt(t.showOrder, field(r, "ShowOrd"));
    t.checkBoxes = field(r, "CheckBoxs").toString();
    t.iniFile = field(r, "IniFile").toString();
    t.inputBgColor = field(r, "InputBgColor").toString();
    t.inputFtColor = field(r, "InputFtColor").toString();
    t.preImgUrl = field(r, "PreImgURL").toString();
    return t;
}

QList<TemplateRow> readTemplates(QSqlDatabase db, const QString &sql, std::initializer_list<Bind> binds)
{
    QList<TemplateRow> rows;
    QSqlQuery q(db);
    if (!execBound(q, sql, binds))
        return rows;
    while (q.next())
        rows << rowFromRecord(q.record());
    return rows;
}

// The history table and the column as the schema spells them; empty when the
// schema has no such table or column, so that no caller's text reaches the SQL.
std::pair<QString, QString> historyColumn(const QString &table, const QString &column)
{
    const store::TableDef *def = store::findTable(store::dataFileTables(), table.trimmed());
    if (!def)
        return {};
    for (const QString &c : def->columnNames())
        if (c.compare(column.trimmed(), Qt::CaseInsensitive) == 0)
            return {def->name, c};
    return {};
}

} // namespace

TemplateCatalog::TemplateCatalog(QSqlDatabase db, Dialogs &dialogs, store::Store &store)
    : m_db(db)
    , m_dialogs(dialogs)
    , m_store(store)
{
}

int TemplateCatalog::loadCheckTypeIDByFirstAndLastName(const QString &kind, const QString &displayName)
{
    QSqlQuery q(m_db);
    if (execBound(q,
                  QStringLiteral("select CheckTypeId from ckTypeTable where TypeFirstName=:kind and "
                                 "TypeDescribe=:name order by CheckTypeId"),
                  {{":kind", kind}, {":name", displayName}})
        && q.next())
        return q.value(0).toInt();
    // Templates of older data files may lack their kind; their full name still has it.
    QSqlQuery byFullName(m_db);
    if (execBound(byFullName,
                  QStringLiteral("select CheckTypeId from ckTypeTable where TypeName=:full order by CheckTypeId"),
                  {{":full", TemplateRow::makeFullName(kind, displayName)}})
        && byFullName.next())
        return byFullName.value(0).toInt();
    return 0;
}

QString TemplateCatalog::loadCheckTypeIDByTypeFullName(const QString &fullName)
{
    QSqlQuery q(m_db);
    if (execBound(q, QStringLiteral("select CheckTypeId from ckTypeTable where TypeName=:full order by CheckTypeId"),
                  {{":full", fullName}})
        && q.next())
        return QString::number(q.value(0).toInt());
    return QStringLiteral("0");
}

QString TemplateCatalog::loadCheckTypeFullNameByID(int templateId)
{
    QSqlQuery q(m_db);
    if (execBound(q, QStringLiteral("select TypeName from ckTypeTable where CheckTypeId=:id"), {{":id", templateId}})
        && q.next())
        return q.value(0).toString();
    return {};
}

QString TemplateCatalog::kindOfFullName(const QString &fullName)
{
    qsizetype cut = fullName.indexOf(QStringLiteral("（"));
    if (cut < 0)
        cut = fullName.indexOf(QLatin1Char('('));
    return cut < 0 ? fullName : fullName.left(cut);
}

QString TemplateCatalog::loadCheckTypeFirstNameByID(int templateId)
{
    QSqlQuery q(m_db);
    if (!execBound(q, QStringLiteral("select TypeFirstname,TypeName from ckTypeTable where CheckTypeId=:id"),
                   {{":id", templateId}})) {
        if (q.lastError().text().contains(QLatin1String("TypeFirstname"), Qt::CaseInsensitive))
            repairTypeFirstName();
        return {};
    }
    if (!q.next())
        return {};
    const QString kind = q.value(0).toString();
    return kind.isEmpty() ? kindOfFullName(q.value(1).toString()) : kind;
}

void TemplateCatalog::repairTypeFirstName()
{
    if (!m_store.aAddColumn(QStringLiteral("CKTypeTable"), QStringLiteral("TypeFirstName"), {}, QStringLiteral("50"),
                            QStringLiteral("String")))
        return;
    QSqlQuery rows(m_db);
    if (!rows.exec(QStringLiteral("select CheckTypeID,TypeName from CKTypeTable "
                                  "where TypeFirstName is null or TypeFirstName=''")))
        return;
    QList<std::pair<int, QString>> kinds;
    while (rows.next())
        kinds.append({rows.value(0).toInt(), kindOfFullName(rows.value(1).toString())});
    for (const auto &[id, kind] : kinds) {
        QSqlQuery update(m_db);
        execBound(update, QStringLiteral("update CKTypeTable set TypeFirstName=:kind where CheckTypeID=:id"),
                  {{":kind", kind}, {":id", id}});
    }
}

QString TemplateCatalog::loadCheckTypeLastNameByID(int templateId)
{
    QSqlQuery q(m_db);
    if (execBound(q, QStringLiteral("select TypeDescribe from ckTypeTable where CheckTypeId=:id"),
                  {{":id", templateId}})
        && q.next())
        return q.value(0).toString();
    return {};
}

QString TemplateCatalog::loadDefaultTypeFirstName()
{
    QSqlQuery q(m_db);
    if (q.exec(QStringLiteral("select CheckTypeName from NameDict order by ID limit 1")) && q.next())
        return q.value(0).toString();
    return {};
}

QStringList TemplateCatalog::loadCheckTypeFirstNameList()
{
    QSqlQuery q(m_db);
    if (!q.exec(QStringLiteral("select distinct CheckTypeName from NameDict order by CheckTypeName")))
        return {};
    return readColumn(q);
}

QStringList TemplateCatalog::loadCheckTypeLastNameList(const QString &kind)
{
    if (kind.isEmpty()) {
        m_dialogs.info(QStringLiteral("没有指定单据类型，无法调入确定的模板种类！"));
        return {};
    }
    QSqlQuery q(m_db);
    if (!execBound(q,
                   QStringLiteral("select TypeDescribe from ckTypeTable where visiable=:enabled and "
                                  "TypeFirstName=:kind order by TypeDescribe"),
                   {{":enabled", marker::enabled}, {":kind", kind}}))
        return {};
    return readColumn(q);
}

QStringList TemplateCatalog::loadCheckTypeFullNameList(const QString &kind)
{
    QSqlQuery q(m_db);
    const bool ok = kind.isEmpty()
                        ? execBound(q,
                                    QStringLiteral("select TypeName from ckTypeTable where visiable=:enabled "
                                                   "order by TypeName"),
                                    {{":enabled", marker::enabled}})
                        : execBound(q,
                                    QStringLiteral("select TypeName from ckTypeTable where visiable=:enabled and "
                                                   "TypeFirstName=:kind order by TypeName"),
                                    {{":enabled", marker::enabled}, {":kind", kind}});
    return ok ? readColumn(q) : QStringList();
}

QStringList TemplateCatalog::loadCommonTypeLastNameList(const QString &kind)
{
    if (kind.isEmpty())
        return {};
    QSqlQuery q(m_db);
    if (!execBound(q,
                   QStringLiteral("select TypeDescribe,IsDefault from CKTypeTable where Visiable=:enabled and "
                                  "IsCommon=:common and TypeFirstName=:kind order by CheckTypeID"),
                   {{":enabled", marker::enabled}, {":common", marker::common}, {":kind", kind}})) {
        // A data file from before common templates existed: the upgrade adds the column.
        if (q.lastError().text().contains(QLatin1String("IsCommon"), Qt::CaseInsensitive))
            m_dialogs.info(QStringLiteral("数据文件来自旧版本，请先升级（帮助 → 升级）！"));
        return {};
    }
    QStringList names;
    QList<std::pair<QString, QString>> seen;
    while (q.next()) {
        const std::pair<QString, QString> row{q.value(0).toString(), q.value(1).toString()};
        if (seen.contains(row))
            continue;
        seen << row;
        if (row.second == marker::isDefault)
            names.prepend(row.first);
        else
            names.append(row.first);
    }
    return names;
}

int TemplateCatalog::loadDefaultCheckTypeId(const QString &kind)
{
    QSqlQuery q(m_db);
    if (execBound(q,
                  QStringLiteral("select CheckTypeID from ckTypeTable where IsDefault=:default and "
                                 "TypeFirstName=:kind order by CheckTypeID"),
                  {{":default", marker::isDefault}, {":kind", kind}})
        && q.next())
        return q.value(0).toInt();

    m_dialogs.info(QStringLiteral("没有设定默认的") + kind + QStringLiteral(",请到【系统管理】-【模板管理】，设定!"));
    QSqlQuery enabled(m_db);
    if (execBound(enabled,
                  QStringLiteral("select CheckTypeID from ckTypeTable where visiable=:enabled and "
                                 "TypeFirstName=:kind order by CheckTypeId"),
                  {{":enabled", marker::enabled}, {":kind", kind}})
        && enabled.next())
        return enabled.value(0).toInt();

    m_dialogs.info(QStringLiteral("没有找到任何启用的【") + kind + QStringLiteral("】模板！"));
    return -1;
}

bool TemplateCatalog::CheckTypeExists(const QString &kind, const QString &displayName, QString *error)
{
    QSqlQuery q(m_db);
    if (!execBound(q, QStringLiteral("select 1 from CkTypeTable where TypeFirstName=:kind and TypeDescribe=:name"),
                   {{":kind", kind}, {":name", displayName}})) {
        if (error)
            *error = QStringLiteral("CheckTypeExists:") + q.lastError().text();
        return false;
    }
    return q.next();
}

bool TemplateCatalog::loadUserXYMoveByFirstName(const QString &kind, int &xMove, int &yMove, QString *error)
{
    QSqlQuery q(m_db);
    if (!execBound(q,
                   QStringLiteral("select XMove,YMove from CkTypeTable where TypeFirstName=:kind "
                                  "order by IsCommon,IsDefault,CheckTypeID"),
                   {{":kind", kind}})) {
        if (error)
            *error = QStringLiteral("用户常用单据偏移参数获取失败!:") + q.lastError().text();
        return false;
    }
    if (!q.next())
        return false;
    xMove = q.value(0).toInt();
    yMove = q.value(1).toInt();
    return true;
}

QString TemplateCatalog::loadMaxNewCheckTypeId(QString *error)
{
    QSqlQuery q(m_db);
    if (!q.exec(QStringLiteral("select max(checktypeid)+1 as MaxId from CkTypeTable"))) {
        if (error)
            *error = QStringLiteral("NewMaxCheckTypeId:") + q.lastError().text();
        return {};
    }
    if (!q.next() || q.value(0).isNull())
        return QStringLiteral("1");
    return QString::number(q.value(0).toLongLong());
}

QString TemplateCatalog::getTypeCodeByTypeName(const QString &kind)
{
    static const QList<std::pair<QString, QString>> codes{
        {QStringLiteral("电汇单"), QStringLiteral("dhd")},
        {QStringLiteral("支票"), QStringLiteral("zp")},
        {QStringLiteral("进账单"), QStringLiteral("jzd")},
        {QStringLiteral("汇票申请书"), QStringLiteral("hp")},
        {QStringLiteral("承兑汇票"), QStringLiteral("cdhp")},
        {QStringLiteral("缴款单"), QStringLiteral("jkd")},
        {QStringLiteral("境外汇款申请书"), QStringLiteral("jwh")},
        {QStringLiteral("贷记凭证"), QStringLiteral("djpz")},
        {QStringLiteral("快递单"), QStringLiteral("kdd")},
        {QStringLiteral("海关缴款单"), QStringLiteral("hgjkd")},
        {QStringLiteral("海关载货单"), QStringLiteral("hgzhd")},
        {QStringLiteral("普通发票收据"), QStringLiteral("fpiv")},
        {QStringLiteral("发票及收据"), QStringLiteral("fpiv")},
        {QStringLiteral("货运发票"), QStringLiteral("hyfp")},
        {QStringLiteral("出口商品发票"), QStringLiteral("cksp")},
        {QStringLiteral("国际货运发票"), QStringLiteral("ivIntel")},
        {QStringLiteral("定制单"), QStringLiteral("def")},
    };
    for (const auto &[name, code] : codes)
        if (name == kind)
            return code;
    return {};
}

QString TemplateCatalog::getHXPaperIn(int templateId)
{
    QSqlQuery q(m_db);
    if (execBound(q, QStringLiteral("select HVPrint from ckTypeTable where CheckTypeId=:id"), {{":id", templateId}})
        && q.next())
        return q.value(0).toString();
    return {};
}

QStringList TemplateCatalog::loadHistoryTypeNameList(const QString &historyTable)
{
    const auto [table, column] = historyColumn(historyTable, QStringLiteral("模板种类"));
    if (table.isEmpty())
        return {};
    QSqlQuery q(m_db);
    if (!q.exec(QStringLiteral("select distinct ") + store::quoteIdentifier(column) + QStringLiteral(" from ")
                + store::quoteIdentifier(table)))
        return {};
    return readColumn(q);
}

QStringList TemplateCatalog::loadCheckNOList(const QString &historyTable, const QString &status,
                                             const QString &column)
{
    const auto [table, col] = historyColumn(historyTable, column);
    if (table.isEmpty())
        return {};
    QString sql = QStringLiteral("select distinct ") + store::quoteIdentifier(col) + QStringLiteral(" from ")
                  + store::quoteIdentifier(table);
    QSqlQuery q(m_db);
    const bool ok = status.isEmpty() ? execBound(q, sql)
                                     : execBound(q, sql + QStringLiteral(" where \"票据状态\"=:status"),
                                                 {{":status", status}});
    return ok ? readColumn(q) : QStringList();
}

std::optional<TemplateRow> TemplateCatalog::templateById(int templateId)
{
    const QList<TemplateRow> rows =
        readTemplates(m_db, QStringLiteral("select * from CKTypeTable where CheckTypeID=:id"), {{":id", templateId}});
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first();
}

std::optional<TemplateRow> TemplateCatalog::templateByFullName(const QString &fullName)
{
    const QList<TemplateRow> rows = readTemplates(
        m_db, QStringLiteral("select * from CKTypeTable where TypeName=:full order by CheckTypeID"),
        {{":full", fullName}});
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first();
}

QList<TemplateRow> TemplateCatalog::allTemplates()
{
    return readTemplates(m_db, QStringLiteral("select * from CKTypeTable order by TypeFirstName,CheckTypeID"), {});
}

} // namespace moque::templates
