#include "templates/DatabaseUpgrade.h"

#include "settings/Options.h"
#include "store/BoundQuery.h"
#include "store/DefaultData.h"
#include "store/Schema.h"
#include "store/Store.h"
#include "templates/TemplateRow.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <utility>

namespace moque::templates {

using store::ColumnDef;
using store::ColumnKind;
using store::execBound;
using store::TableDef;

// One change of structure: a missing table created (column empty) or a missing column added.
struct DatabaseUpgrade::Step
{
    const TableDef *table = nullptr;
    ColumnDef column;
};

namespace {

const QString waybillKind = QStringLiteral("快递单");

// The columns earlier versions lacked, in the order they were introduced;
// every other column of this version's schema follows them.
const QList<std::pair<QString, QStringList>> &introducedColumns()
{
    static const QList<std::pair<QString, QStringList>> columns{
        {QStringLiteral("ckControl"),
         {QStringLiteral("CtlLH"), QStringLiteral("CtlH"), QStringLiteral("CtlW"), QStringLiteral("NeedShow"),
          QStringLiteral("NeedPrint"), QStringLiteral("SrcX"), QStringLiteral("SrcY"), QStringLiteral("SrcW"),
          QStringLiteral("SrcH"), QStringLiteral("CtlType"), QStringLiteral("InitValue")}},
        {QStringLiteral("NameDict"), {QStringLiteral("CtlData"), QStringLiteral("CtlType")}},
        {QStringLiteral("CKTypeTable"), {QStringLiteral("IsCommon"), QStringLiteral("PWidth"), QStringLiteral("PHeight")}},
        {QStringLiteral("ReceiverList"),
         {QStringLiteral("体积"), QStringLiteral("代收金额"), QStringLiteral("手续费"), QStringLiteral("保价金额"),
          QStringLiteral("保价费"), QStringLiteral("运费"), QStringLiteral("加急费"), QStringLiteral("包装费"),
          QStringLiteral("送货费"), QStringLiteral("其他费"), QStringLiteral("金额大写1"), QStringLiteral("自定义3"),
          QStringLiteral("自定义4"), QStringLiteral("自定义5")}},
        {QStringLiteral("DataKDDTable"),
         {QStringLiteral("体积"), QStringLiteral("代收金额"), QStringLiteral("手续费"), QStringLiteral("保价金额"),
          QStringLiteral("保价费"), QStringLiteral("运费"), QStringLiteral("加急费"), QStringLiteral("包装费"),
          QStringLiteral("送货费"), QStringLiteral("其他费"), QStringLiteral("金额大写1"), QStringLiteral("自定义1"),
          QStringLiteral("自定义2"), QStringLiteral("自定义3"), QStringLiteral("自定义4"), QStringLiteral("自定义5")}},
        {QStringLiteral("CKTypeTable"), {QStringLiteral("IniFile"), QStringLiteral("TypeFirstName")}},
        {QStringLiteral("_ckControl"),
         {QStringLiteral("SrcX"), QStringLiteral("SrcY"), QStringLiteral("SrcH"), QStringLiteral("SrcW"),
          QStringLiteral("NeedShow"), QStringLiteral("NeedPrint"), QStringLiteral("CtlLH"), QStringLiteral("CtlType"),
          QStringLiteral("InitValue")}},
        {QStringLiteral("_CKTypeTable"), {QStringLiteral("PWidth"), QStringLiteral("PHeight")}},
    };
    return columns;
}

// The waybill fields earlier dictionaries lacked, with the caption and order
// they get when this version's default dictionary has no row for them.
struct DictionaryField
{
    QString name;
    QString label;
    int order;
};

const QList<DictionaryField> &introducedFields()
{
    static const QList<DictionaryField> fields = [] {
        QList<DictionaryField> f{{QStringLiteral("zdTiJi"), QStringLiteral("体积"), 357},
                                 {QStringLiteral("zdDaisJE"), QStringLiteral("代收金额"), 357},
                                 {QStringLiteral("zdShouxuFee"), QStringLiteral("手续费"), 358},
                                 {QStringLiteral("zdBJJE"), QStringLiteral("保价金额"), 359},
                                 {QStringLiteral("zdBJFee"), QStringLiteral("保价费"), 360},
                                 {QStringLiteral("zdYunFee"), QStringLiteral("运费"), 361},
                                 {QStringLiteral("zdJFKHBM"), QStringLiteral("寄方编码"), 29},
                                 {QStringLiteral("zdJiaJiFee"), QStringLiteral("加急费"), 362},
                                 {QStringLiteral("zdBaoZFee"), QStringLiteral("包装费"), 363},
                                 {QStringLiteral("zdSongHFee"), QStringLiteral("送货费"), 364},
                                 {QStringLiteral("zdQiTaFee"), QStringLiteral("其他费"), 365},
                                 {QStringLiteral("zdJEDX1"), QStringLiteral("金额大写1"), 366}};
        for (int n = 0; n <= 12; ++n)
            f.append({QStringLiteral("DEFCHECK%1").arg(n), QStringLiteral("勾选%1").arg(n), 409 + n});
        for (int n = 3; n <= 5; ++n)
            f.append({QStringLiteral("zdDef%1").arg(n), QStringLiteral("自定义%1").arg(n), 467 + n});
        return f;
    }();
    return fields;
}

// Templates of these carriers are offered among the common templates.
const QStringList commonCarriers{QStringLiteral("邮政快递"), QStringLiteral("申通速递"), QStringLiteral("圆通速递"),
                                 QStringLiteral("韵达快运"), QStringLiteral("顺丰速运")};

// Rows of this version's default data for one table: the header's columns and the rows' values.
struct DefaultRows
{
    QStringList columns;
    QList<QStringList> rows;
};

DefaultRows defaultRows(const QString &table)
{
    DefaultRows d;
    QFile f(store::DefaultData::builtInFolder() + QLatin1Char('/') + table + QStringLiteral(".tsv"));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return d;
    for (QString line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList values = store::DefaultData::splitLine(line);
        if (d.columns.isEmpty())
            d.columns = values;
        else if (values.size() == d.columns.size())
            d.rows << values;
    }
    return d;
}

bool isTextKind(const TableDef &table, const QString &column)
{
    for (const ColumnDef &c : table.columns)
        if (c.name.compare(column, Qt::CaseInsensitive) == 0)
            return c.kind == ColumnKind::Text || c.kind == ColumnKind::Memo || c.kind == ColumnKind::Date;
    return true;
}

// Inserts rows into a table; an empty value is empty text in a text column and NULL elsewhere.
QString insertRows(QSqlDatabase db, const TableDef &table, const QStringList &columns, const QList<QStringList> &rows)
{
    QStringList quoted;
    for (const QString &c : columns)
        quoted << store::quoteIdentifier(c);
    QSqlQuery insert(db);
    if (!insert.prepare(QStringLiteral("insert into %1 (%2) values (%3)")
                            .arg(table.name, quoted.join(QLatin1Char(',')),
                                 QStringList(columns.size(), QStringLiteral("?")).join(QLatin1Char(',')))))
        return insert.lastError().text();
    for (const QStringList &row : rows) {
        for (int i = 0; i < row.size(); ++i)
            insert.bindValue(i, !row[i].isEmpty() || isTextKind(table, columns[i]) ? QVariant(row[i]) : QVariant());
        if (!insert.exec())
            return insert.lastError().text();
    }
    return {};
}

// Column names of a table in lower case; empty when the table is missing.
QSet<QString> existingColumns(QSqlDatabase db, const QString &table)
{
    QSet<QString> names;
    QSqlQuery q(db);
    if (execBound(q, QStringLiteral("select name from pragma_table_info(:t)"), {{":t", table}}))
        while (q.next())
            names.insert(q.value(0).toString().toLower());
    return names;
}

const ColumnDef *findColumn(const TableDef &table, const QString &name)
{
    for (const ColumnDef &c : table.columns)
        if (c.name.compare(name, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

// A connection of its own to the package skeleton, closed and removed when it goes.
class SkeletonConnection
{
public:
    SkeletonConnection(const QString &path, bool readOnly)
        : m_name(QStringLiteral("upgrade-") + QUuid::createUuid().toString(QUuid::WithoutBraces))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        db.setConnectOptions(readOnly ? QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=10000")
                                      : QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
        db.open();
    }
    ~SkeletonConnection()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            if (db.isOpen())
                db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }

private:
    QString m_name;
};

} // namespace

DatabaseUpgrade::DatabaseUpgrade(QSqlDatabase db, const QString &packageSkeleton, const QString &version)
    : m_db(db)
    , m_skeletonPath(packageSkeleton)
    , m_version(version)
{
}

QString DatabaseUpgrade::progressText(int position, int maximum, const QString &step)
{
    QString text = QStringLiteral("进度:%1/%2").arg(position).arg(maximum);
    if (!step.isEmpty())
        text += QStringLiteral(" >> ") + step;
    return text;
}

QString DatabaseUpgrade::backUpDataFile(const QString &dataFile)
{
    const QString backup =
        dataFile + QStringLiteral(".bak-") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddHHmmss"));
    if (QFile::exists(backup) || !QFile::copy(dataFile, backup))
        return {};
    return backup;
}

QString DatabaseUpgrade::recordedVersion() const
{
    return settings::Options(m_db).getConfigByname(settings::option::version);
}

QList<DatabaseUpgrade::Step> DatabaseUpgrade::structureSteps(QSqlDatabase db, bool dataFile) const
{
    const QList<TableDef> &tables = dataFile ? store::dataFileTables() : store::packageTables();
    QList<Step> steps;
    QHash<QString, QSet<QString>> existing;
    for (const TableDef &t : tables)
        existing.insert(t.name, existingColumns(db, t.name));

    auto addMissing = [&](const TableDef &table, const ColumnDef &column) {
        QSet<QString> &columns = existing[table.name];
        if (columns.isEmpty() || columns.contains(column.name.toLower()))
            return;
        columns.insert(column.name.toLower());
        ColumnDef added = column;
        // A key cannot be added to a table that has rows; it becomes a plain number.
        if (added.kind == ColumnKind::Counter || added.kind == ColumnKind::Key)
            added = {column.name, ColumnKind::Long, 0, {}};
        steps.append(Step{&table, added});
    };
    for (const auto &[tableName, columns] : introducedColumns()) {
        const TableDef *table = store::findTable(tables, tableName);
        if (!table)
            continue;
        for (const QString &name : columns)
            if (const ColumnDef *column = findColumn(*table, name))
                addMissing(*table, *column);
    }
    for (const TableDef &table : tables) {
        if (existing.value(table.name).isEmpty())
            steps.append(Step{&table, {}});
        else
            for (const ColumnDef &column : table.columns)
                addMissing(table, column);
    }
    return steps;
}

bool DatabaseUpgrade::isNeeded()
{
    if (recordedVersion() != m_version || !structureSteps(m_db, true).isEmpty()
        || !QFileInfo::exists(m_skeletonPath))
        return true;
    SkeletonConnection skeleton(m_skeletonPath, true);
    return !skeleton.db().isOpen() || !structureSteps(skeleton.db(), false).isEmpty();
}

void DatabaseUpgrade::grow(int by, const QString &step)
{
    m_position = qMin(m_position + by, m_maximum);
    if (m_progress)
        m_progress(m_position, m_maximum, progressText(m_position, m_maximum, step));
}

bool DatabaseUpgrade::run()
{
    m_changes.clear();
    m_typeFirstNameAdded = false;
    // A file that records this version but still lacks part of it (written by
    // an earlier build of the same version) is upgraded all the same.
    if (versionRecorded() && !isNeeded()) {
        m_message = QStringLiteral("当前软件已经是V") + m_version + QStringLiteral("，无需再升级！");
        return false;
    }
    SkeletonConnection skeleton(m_skeletonPath, false);
    QString error = skeleton.db().isOpen() ? QString() : skeleton.db().lastError().text();
    if (error.isEmpty() && !skeleton.db().transaction())
        error = skeleton.db().lastError().text();
    if (error.isEmpty() && !m_db.transaction()) {
        error = m_db.lastError().text();
        skeleton.db().rollback();
    }
    if (error.isEmpty()) {
        error = upgrade(skeleton.db());
        // The skeleton goes first: should the data file then fail to commit, it stays as it
        // was and the next run finds the skeleton done.
        if (error.isEmpty() && !skeleton.db().commit())
            error = skeleton.db().lastError().text();
        if (error.isEmpty() && !m_db.commit())
            error = m_db.lastError().text();
        if (!error.isEmpty()) {
            skeleton.db().rollback();
            m_db.rollback();
        }
    }
    if (!error.isEmpty()) {
        m_changes.clear();
        m_message = QStringLiteral("升级失败，意外错误:") + error;
        return false;
    }
    if (m_progress)
        m_progress(m_maximum, m_maximum, progressText(m_maximum, m_maximum) + QStringLiteral("    升级完成！"));
    m_message = QStringLiteral("恭喜，升级成功啦！");
    return true;
}

QString DatabaseUpgrade::upgrade(QSqlDatabase skeleton)
{
    const QList<Step> dataSteps = structureSteps(m_db, true);
    const QList<Step> skeletonSteps = structureSteps(skeleton, false);
    QSqlQuery count(m_db);
    const int templates = count.exec(QStringLiteral("select count(*) from CKTypeTable")) && count.next()
                              ? count.value(0).toInt()
                              : 0;
    count.finish();
    m_position = 0;
    // One step a column or table, the skeleton, each dictionary field, the three fixes and each
    // template; five for each of the six common-flag updates.
    m_maximum = int(dataSteps.size() + skeletonSteps.size() + introducedFields().size()) + 1 + 3 + templates
                + 5 * int(commonCarriers.size() + 1);
    if (m_progress)
        m_progress(0, m_maximum, progressText(0, m_maximum));

    QString error = upgradeStructure(m_db, dataSteps);
    if (error.isEmpty()) {
        grow(1, QStringLiteral("升级模板样本结构"));
        error = upgradeStructure(skeleton, skeletonSteps);
    }
    if (error.isEmpty() && m_typeFirstNameAdded)
        error = fillTypeFirstName();
    if (error.isEmpty())
        error = writeSkeletonVersion(skeleton);
    if (error.isEmpty())
        error = addDictionaryFields();
    if (error.isEmpty())
        error = normaliseDictionary();
    if (error.isEmpty()) {
        for (int i = 0; i < templates; ++i)
            grow(1, QStringLiteral("升级模板数据.."));
        error = markCommonTemplates();
    }
    if (error.isEmpty() && !settings::Options(m_db).setConfigByname(settings::option::version, m_version))
        error = QStringLiteral("configtable: version");
    if (error.isEmpty())
        m_changes << QStringLiteral("configtable: version %1").arg(m_version);
    return error;
}

QString DatabaseUpgrade::upgradeStructure(QSqlDatabase db, const QList<Step> &steps)
{
    for (const Step &step : steps) {
        const TableDef &table = *step.table;
        QSqlQuery q(db);
        if (step.column.name.isEmpty()) {
            if (!q.exec(table.createStatement()))
                return table.name + QStringLiteral(": ") + q.lastError().text();
            m_changes << table.name + QStringLiteral(": created");
            const DefaultRows defaults = defaultRows(table.name);
            if (!defaults.rows.isEmpty()) {
                const QString error = insertRows(db, table, defaults.columns, defaults.rows);
                if (!error.isEmpty())
                    return table.name + QStringLiteral(": ") + error;
                m_changes << QStringLiteral("%1: added %2 default rows").arg(table.name).arg(defaults.rows.size());
            }
        } else {
            if (!q.exec(QStringLiteral("alter table ") + table.name + QStringLiteral(" add column ")
                        + step.column.declaration()))
                return table.name + QStringLiteral(": ") + q.lastError().text();
            m_changes << table.name + QStringLiteral(": added ") + step.column.name;
            if (table.name == QLatin1String("CKTypeTable") && step.column.name == QLatin1String("TypeFirstName"))
                m_typeFirstNameAdded = true;
        }
        grow(1, QStringLiteral("升级表存储结构...") + table.name);
    }
    return {};
}

QString DatabaseUpgrade::fillTypeFirstName()
{
    QSqlQuery rows(m_db);
    if (!rows.exec(QStringLiteral("select CheckTypeID,TypeName from CKTypeTable "
                                  "where TypeFirstName is null or TypeFirstName=''")))
        return rows.lastError().text();
    QList<std::pair<QVariant, QString>> kinds;
    while (rows.next()) {
        const QString name = rows.value(1).toString();
        qsizetype cut = name.indexOf(QStringLiteral("（"));
        if (cut < 0)
            cut = name.indexOf(QLatin1Char('('));
        // A name without a bracket names no kind: it stays empty.
        if (cut >= 0)
            kinds.append({rows.value(0), name.left(cut)});
    }
    rows.finish();
    for (const auto &[id, kind] : kinds) {
        QSqlQuery update(m_db);
        if (!execBound(update, QStringLiteral("update CKTypeTable set TypeFirstName=:kind where CheckTypeID=:id"),
                       {{":kind", kind}, {":id", id}}))
            return update.lastError().text();
    }
    if (!kinds.isEmpty())
        m_changes << QStringLiteral("CKTypeTable: TypeFirstName filled for %1 templates").arg(kinds.size());
    return {};
}

QString DatabaseUpgrade::writeSkeletonVersion(QSqlDatabase skeleton)
{
    QSqlQuery q(skeleton);
    if (!execBound(q, QStringLiteral("select DMValue from _Config where DMName=:name"), {{":name", settings::option::version}}))
        return QStringLiteral("_Config: ") + q.lastError().text();
    const bool exists = q.next();
    const bool same = exists && q.value(0).toString() == m_version;
    q.finish();
    if (same)
        return {};
    QSqlQuery write(skeleton);
    const bool ok =
        exists ? execBound(write, QStringLiteral("update _Config set DMValue=:value where DMName=:name"),
                           {{":value", m_version}, {":name", settings::option::version}})
               : execBound(write,
                           QStringLiteral("insert into _Config (DMName,DMValue,CheckTypeId) values (:name,:value,0)"),
                           {{":name", settings::option::version}, {":value", m_version}});
    if (!ok)
        return QStringLiteral("_Config: ") + write.lastError().text();
    m_changes << QStringLiteral("_Config: version %1").arg(m_version);
    return {};
}

QString DatabaseUpgrade::addDictionaryFields()
{
    const TableDef &nameDict = *store::findTable(store::dataFileTables(), QStringLiteral("NameDict"));
    const DefaultRows defaults = defaultRows(nameDict.name);
    const int kindColumn = int(defaults.columns.indexOf(QStringLiteral("CheckTypeName")));
    const int nameColumn = int(defaults.columns.indexOf(QStringLiteral("CtlName")));
    for (const DictionaryField &field : introducedFields()) {
        const QString name = field.name.toUpper();
        QSqlQuery q(m_db);
        if (!execBound(q,
                       QStringLiteral("select count(*) from NameDict where CheckTypeName=:kind and upper(CtlName)=:name"),
                       {{":kind", waybillKind}, {":name", name}})
            || !q.next())
            return QStringLiteral("升级模型数据失败(%1,%2):%3").arg(waybillKind, name, q.lastError().text());
        const bool present = q.value(0).toInt() > 0;
        q.finish();
        if (!present) {
            // The row this version's default dictionary has, so that an upgraded dictionary reads as a new one.
            QStringList columns{QStringLiteral("CheckTypeName"), QStringLiteral("CtlName"), QStringLiteral("CtlLabel"),
                                QStringLiteral("PrintItem"), QStringLiteral("ShowOrd"), QStringLiteral("CtlType")};
            QStringList row{waybillKind, name, field.label, QStringLiteral("1"),
                            QString::number(field.order), QStringLiteral("TEXT")};
            for (const QStringList &d : defaults.rows) {
                if (kindColumn >= 0 && nameColumn >= 0 && d[kindColumn] == waybillKind
                    && d[nameColumn].toUpper() == name) {
                    columns = defaults.columns;
                    row = d;
                    break;
                }
            }
            const QString error = insertRows(m_db, nameDict, columns, {row});
            if (!error.isEmpty())
                return QStringLiteral("升级模型数据失败(%1,%2):%3").arg(waybillKind, name, error);
            m_changes << QStringLiteral("NameDict: added ") + name;
        }
        grow(1, QStringLiteral("升级单据模型..."));
    }
    return {};
}

QString DatabaseUpgrade::normaliseDictionary()
{
    struct Fix
    {
        QString sql;
        QVariantList values;
        QString progress;
        QString change;
    };
    const QString checkBoxes = QStringLiteral("DEFCHECK%");
    const QList<Fix> fixes{
        {QStringLiteral("update NameDict set CtlName=upper(CtlName) where CtlName<>upper(CtlName) collate binary"),
         {},
         QStringLiteral("编码大小写修正..."),
         QStringLiteral("NameDict: %1 names upper-cased")},
        {QStringLiteral("update NameDict set CtlType=? where CtlName not like ? "
                        "and (CtlType is null or CtlType<>? collate binary)"),
         {QStringLiteral("TEXT"), checkBoxes, QStringLiteral("TEXT")},
         QStringLiteral("编码修正，控件类型TEXT..."),
         QStringLiteral("NameDict: %1 fields typed TEXT")},
        {QStringLiteral("update NameDict set CtlType=? where CtlName like ? "
                        "and (CtlType is null or CtlType<>? collate binary)"),
         {QStringLiteral("CHECKBOX"), checkBoxes, QStringLiteral("CHECKBOX")},
         QStringLiteral("编码修正，控件类型CHECKBOX..."),
         QStringLiteral("NameDict: %1 fields typed CHECKBOX")},
    };
    for (const Fix &fix : fixes) {
        QSqlQuery q(m_db);
        if (!execBound(q, fix.sql, fix.values))
            return QStringLiteral("NameDict: ") + q.lastError().text();
        if (q.numRowsAffected() > 0)
            m_changes << fix.change.arg(q.numRowsAffected());
        grow(1, fix.progress);
    }
    return {};
}

QString DatabaseUpgrade::markCommonTemplates()
{
    const QString notYet = QStringLiteral(" and (IsCommon is null or IsCommon<>:common)");
    int marked = 0;
    auto mark = [&](const QString &condition, std::initializer_list<store::Bind> binds) -> QString {
        QSqlQuery q(m_db);
        if (!execBound(q, QStringLiteral("update CKTypeTable set IsCommon=:common where ") + condition + notYet, binds))
            return QStringLiteral("CKTypeTable表升级数据失败.") + q.lastError().text();
        marked += q.numRowsAffected();
        grow(5, QStringLiteral("CKTypeTable升级数据"));
        return {};
    };
    for (const QString &carrier : commonCarriers) {
        const QString error = mark(QStringLiteral("TypeName like :pattern and Visiable=:enabled"),
                                   {{":common", marker::common},
                                    {":pattern", QLatin1Char('%') + carrier + QLatin1Char('%')},
                                    {":enabled", marker::enabled}});
        if (!error.isEmpty())
            return error;
    }
    const QString error =
        mark(QStringLiteral("IsDefault=:default"), {{":common", marker::common}, {":default", marker::isDefault}});
    if (!error.isEmpty())
        return error;
    if (marked > 0)
        m_changes << QStringLiteral("CKTypeTable: %1 templates made common").arg(marked);
    return {};
}

} // namespace moque::templates
