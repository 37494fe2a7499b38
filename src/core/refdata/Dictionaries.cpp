#include "refdata/Dictionaries.h"

#include "store/BoundQuery.h"

#include <QBrush>
#include <QColor>
#include <QSqlError>
#include <QSqlQuery>

namespace moque::refdata {

namespace {

using store::execBound;

QString placeholders(qsizetype count)
{
    return QStringList(count, QStringLiteral("?")).join(QLatin1Char(','));
}

} // namespace

const QString Dictionaries::placeholderValue = QStringLiteral("<空>");

QList<int> parseTemplateIds(const QString &ids)
{
    QList<int> result;
    const QStringList parts = ids.split(QLatin1Char(','));
    for (const QString &part : parts) {
        bool ok = false;
        const int id = part.trimmed().toInt(&ok);
        if (ok)
            result << id;
    }
    return result;
}

QStringList presetDictionaryNames()
{
    return {QStringLiteral("计量单位"), QStringLiteral("收费内容"), QStringLiteral("开票人"),
            QStringLiteral("收款人"),   QStringLiteral("始发站"),   QStringLiteral("发件人签名"),
            QStringLiteral("国家"),     QStringLiteral("备注"),     QStringLiteral("物品内容"),
            QStringLiteral("自定义1"),  QStringLiteral("自定义2")};
}

QStringList Dictionaries::loadDMListByName(const QString &name, const QString &templateIds) const
{
    return loadDMListByName(name, parseTemplateIds(templateIds));
}

QStringList Dictionaries::loadDMListByName(const QString &name, const QList<int> &templateIds) const
{
    QStringList values;
    if (templateIds.isEmpty())
        return values;
    // Grouping keeps one row per (value, template) as "distinct" would, and
    // lets each template's values keep the order they were entered in.
    const QString sql = QStringLiteral("select DMValue from DMTable where DMName=? and CheckTypeId in(")
                        + placeholders(templateIds.size())
                        + QStringLiteral(") group by CheckTypeId, DMValue order by CheckTypeId desc, min(ID)");
    QVariantList binds{name};
    for (int id : templateIds)
        binds << id;
    QSqlQuery q(m_db);
    if (!execBound(q, sql, binds, m_error))
        return {};
    while (q.next())
        values << q.value(0).toString();
    return values;
}

QStringList Dictionaries::loadDictionaryNames(int templateId) const
{
    auto namesOf = [this](int id) {
        QStringList names;
        QSqlQuery q(m_db);
        if (!execBound(q,
                 QStringLiteral("select distinct DMName from DMTable where (DMName not like 'cfg%') and CheckTypeId=? "
                                "order by DMName"),
                 {id}, m_error))
            return names;
        while (q.next())
            names << q.value(0).toString();
        return names;
    };
    QStringList names = namesOf(templateId);
    if (names.isEmpty() && templateId != 0)
        names = namesOf(0);
    return names;
}

QString Dictionaries::valuesStatement(bool withCommon)
{
    return withCommon ? QStringLiteral("select ID,DMName,DMValue,CheckTypeId from DMTable where DMName=? and "
                                       "CheckTypeId in(?,0) order by DMValue ASC, ID")
                      : QStringLiteral("select ID,DMName,DMValue,CheckTypeId from DMTable where DMName=? and "
                                       "CheckTypeId=? order by DMValue ASC, ID");
}

std::optional<QList<DictionaryValue>> Dictionaries::loadValues(const QString &name, int templateId,
                                                               bool withCommon) const
{
    QSqlQuery q(m_db);
    if (!execBound(q, valuesStatement(withCommon), {name, templateId}, m_error))
        return std::nullopt;
    QList<DictionaryValue> rows;
    while (q.next())
        rows << DictionaryValue{q.value(0).toInt(), q.value(1).toString(), q.value(2).toString(), q.value(3).toInt()};
    return rows;
}

Dictionaries::Outcome Dictionaries::addDictionary(int templateId, const QString &name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return {Result::EmptyName, QStringLiteral("请输入字典名称"), QStringLiteral("提示")};
    m_db.transaction();
    QSqlQuery q(m_db);
    if (!execBound(q, QStringLiteral("select 1 from DMTable where CheckTypeId=? and DMName=?"), {templateId, trimmed},
             m_error)) {
        m_db.rollback();
        return {Result::Failed, m_error, QStringLiteral("错误")};
    }
    if (q.next()) {
        m_db.rollback();
        return {Result::Exists, QStringLiteral("字典项目【") + trimmed + QStringLiteral("】已经存在"),
                QStringLiteral("提示")};
    }
    QSqlQuery insert(m_db);
    if (!execBound(insert, QStringLiteral("insert into DMTable (CheckTypeId,DMName,DMValue) values(?,?,?)"),
             {templateId, trimmed, placeholderValue}, m_error)
        || !m_db.commit()) {
        m_db.rollback();
        return {Result::Failed, m_error, QStringLiteral("错误")};
    }
    return {Result::Done, {}, {}};
}

bool Dictionaries::saveValues(const QList<DictionaryValue> &rows)
{
    if (rows.isEmpty())
        return true;
    m_db.transaction();
    for (const DictionaryValue &row : rows) {
        QSqlQuery q(m_db);
        const bool stored =
            row.id == 0 ? execBound(q, QStringLiteral("insert into DMTable (CheckTypeId,DMName,DMValue) values(?,?,?)"),
                              {row.templateId, row.name, row.value}, m_error)
                        : execBound(q, QStringLiteral("update DMTable set DMValue=? where ID=?"), {row.value, row.id},
                              m_error);
        if (!stored) {
            m_db.rollback();
            return false;
        }
    }
    if (!m_db.commit()) {
        m_error = m_db.lastError().text();
        m_db.rollback();
        return false;
    }
    return true;
}

bool Dictionaries::deleteValue(int id)
{
    QSqlQuery q(m_db);
    return execBound(q, QStringLiteral("delete from DMTable where ID=?"), {id}, m_error);
}

void DictionaryValueModel::setRows(const QList<DictionaryValue> &rows)
{
    beginResetModel();
    m_rows = rows;
    m_changed = QList<bool>(rows.size(), false);
    endResetModel();
}

int DictionaryValueModel::appendRow(const QString &name, int templateId)
{
    const int r = int(m_rows.size());
    beginInsertRows({}, r, r);
    // A blank value marks a row the user has not typed into yet.
    m_rows << DictionaryValue{0, name, QStringLiteral(" "), templateId};
    m_changed << false;
    endInsertRows();
    return r;
}

void DictionaryValueModel::removeListedRow(int r)
{
    if (r < 0 || r >= m_rows.size())
        return;
    beginRemoveRows({}, r, r);
    m_rows.removeAt(r);
    m_changed.removeAt(r);
    endRemoveRows();
}

QList<DictionaryValue> DictionaryValueModel::pendingRows() const
{
    QList<DictionaryValue> pending;
    for (int r = 0; r < m_rows.size(); ++r) {
        const DictionaryValue &row = m_rows[r];
        // An appended row left blank is dropped, as an untouched new record would be.
        if (row.id == 0 ? !row.value.trimmed().isEmpty() : m_changed[r])
            pending << row;
    }
    return pending;
}

int DictionaryValueModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int DictionaryValueModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant DictionaryValueModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const DictionaryValue &row = m_rows[index.row()];
    if (role == Qt::BackgroundRole && index.column() == TemplateColumn)
        return QBrush(QColor(Qt::yellow));
    if (role == Qt::TextAlignmentRole && index.column() == TemplateColumn)
        return int(Qt::AlignCenter);
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    switch (index.column()) {
    case IdColumn:
        return row.id;
    case NameColumn:
        return row.name;
    case ValueColumn:
        return row.value;
    case TemplateColumn:
        return row.templateId;
    default:
        return {};
    }
}

QVariant DictionaryValueModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const QStringList titles{QStringLiteral("ID"), QStringLiteral("DMName"), QStringLiteral("字典内容"),
                                    QStringLiteral("单据号")};
    return titles.value(section);
}

Qt::ItemFlags DictionaryValueModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == ValueColumn)
        f |= Qt::ItemIsEditable;
    return f;
}

bool DictionaryValueModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.column() != ValueColumn || index.row() >= m_rows.size())
        return false;
    DictionaryValue &row = m_rows[index.row()];
    const QString text = value.toString();
    if (text == row.value)
        return true;
    row.value = text;
    m_changed[index.row()] = true;
    Q_EMIT dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

} // namespace moque::refdata
