#include "refdata/GoodsCatalog.h"

#include "store/BoundQuery.h"

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <array>

namespace moque::refdata {

using store::execBound;

namespace {

const QStringList kColumns{QStringLiteral("商品名"), QStringLiteral("规格"), QStringLiteral("货号"),
                           QStringLiteral("单位"),   QStringLiteral("单价"), QStringLiteral("批价"),
                           QStringLiteral("简码"),   QStringLiteral("备注"), QStringLiteral("分类")};

// An entry's texts in the order of kColumns (const or not, as the entry).
template<typename Entry>
auto textsOf(Entry &g)
{
    return std::array{&g.name, &g.model, &g.articleNo, &g.unit, &g.price,
                      &g.wholesalePrice, &g.shortCode, &g.remark, &g.category};
}

QVariantList valuesOf(const Good &g)
{
    QVariantList values;
    for (const QString *text : textsOf(g))
        values << *text;
    return values;
}

QString assignments()
{
    return kColumns.join(QStringLiteral("=?,")) + QStringLiteral("=?");
}

void trim(Good &g)
{
    for (QString *text : textsOf(g))
        *text = text->trimmed();
}

QStringList firstColumn(QSqlQuery &q)
{
    QStringList values;
    while (q.next())
        values << q.value(0).toString();
    return values;
}

// The entry at the query's row, read as "ID" and the catalogue's columns.
Good goodOf(const QSqlQuery &q)
{
    Good g;
    g.id = q.value(0).toLongLong();
    int column = 1;
    for (QString *text : textsOf(g))
        *text = q.value(column++).toString();
    return g;
}

QString textAt(const Good &g, int column)
{
    const auto texts = textsOf(g);
    if (column == 0)
        return QString::number(g.id);
    return column > 0 && column <= int(texts.size()) ? *texts[column - 1] : QString();
}

} // namespace

void GoodsFilter::sortBy(const QString &column)
{
    sortColumn = column;
    descending = !descending;
}

QString GoodsCatalog::categoryPath(const QString &category)
{
    return allCategories() + QLatin1Char('\\') + category;
}

QString GoodsCatalog::categoryOfPath(const QString &path)
{
    const QString root = categoryPath(QString());
    return path.startsWith(root) ? path.mid(root.size()) : QString();
}

QStringList GoodsCatalog::columns()
{
    return QStringList{QStringLiteral("ID")} + kColumns;
}

QString GoodsCatalog::refusal(const Good &good)
{
    if (good.name.trimmed().isEmpty())
        return QStringLiteral("商品名不能为空！");
    if (good.price.trimmed().isEmpty())
        return QStringLiteral("单价不能为空！");
    return {};
}

QList<Good> GoodsCatalog::find(const GoodsFilter &filter, QString *error) const
{
    QList<Good> goods;
    QSqlQuery q(m_db);
    // Read once from first to last: the engine need not keep the rows read.
    q.setForwardOnly(true);
    if (!select(q, QStringLiteral("ID,") + kColumns.join(QLatin1Char(',')), filter, error))
        return goods;
    while (q.next())
        goods << goodOf(q);
    return goods;
}

QList<qint64> GoodsCatalog::findIds(const GoodsFilter &filter, QString *error) const
{
    QList<qint64> ids;
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    if (!select(q, QStringLiteral("ID"), filter, error))
        return ids;
    while (q.next())
        ids << q.value(0).toLongLong();
    return ids;
}

QList<Good> GoodsCatalog::read(const QList<qint64> &ids) const
{
    QList<Good> goods;
    if (ids.isEmpty())
        return goods;
    QVariantList values;
    for (const qint64 id : ids)
        values << id;
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    if (!execBound(q,
                   QStringLiteral("select ID,") + kColumns.join(QLatin1Char(','))
                       + QStringLiteral(" from Products where ID in (")
                       + QStringList(ids.size(), QStringLiteral("?")).join(QLatin1Char(',')) + QLatin1Char(')'),
                   values))
        return goods;
    while (q.next())
        goods << goodOf(q);
    return goods;
}

bool GoodsCatalog::select(QSqlQuery &q, const QString &fields, const GoodsFilter &filter, QString *error) const
{
    QStringList conditions;
    QVariantList values;
    const QString keyword = filter.keyword.trimmed();
    if (!keyword.isEmpty()) {
        conditions << QStringLiteral("(商品名 like ? or 规格 like ?)");
        values << QLatin1Char('%') + keyword + QLatin1Char('%') << QLatin1Char('%') + keyword + QLatin1Char('%');
    }
    if (!filter.name.isEmpty() && filter.name != allNames()) {
        conditions << QStringLiteral("商品名=?");
        values << filter.name;
    }
    if (!filter.category.isEmpty()) {
        conditions << QStringLiteral("分类=?");
        values << filter.category;
    }
    QString sql = QStringLiteral("select ") + fields + QStringLiteral(" from Products");
    if (!conditions.isEmpty())
        sql += QStringLiteral(" where ") + conditions.join(QStringLiteral(" and "));
    // Only a catalogue column names the order: it is written into the statement.
    if (kColumns.contains(filter.sortColumn))
        sql += QStringLiteral(" order by ") + filter.sortColumn + (filter.descending ? QStringLiteral(" desc") : QString());
    QString failure;
    if (execBound(q, sql, values, failure))
        return true;
    if (error)
        *error = failure;
    return false;
}

QStringList GoodsCatalog::names() const
{
    QSqlQuery q(m_db);
    if (!execBound(q, QStringLiteral("select distinct 商品名 from Products order by 商品名 desc")))
        return {};
    return firstColumn(q);
}

QStringList GoodsCatalog::categories() const
{
    QSqlQuery q(m_db);
    if (!execBound(q, QStringLiteral("select distinct trim(分类) from Products where trim(分类)<>'' order by 1")))
        return {};
    return firstColumn(q);
}

QStringList GoodsCatalog::units() const
{
    QSqlQuery q(m_db);
    if (!execBound(q, QStringLiteral("select count(*) from Products")) || !q.next())
        return {};
    if (q.value(0).toInt() == 0)
        return {QStringLiteral("台"), QStringLiteral("只"), QStringLiteral("个"),
                QStringLiteral("箱"), QStringLiteral("套"), QStringLiteral("件")};
    if (!execBound(q, QStringLiteral("select distinct 单位 from Products")))
        return {};
    return firstColumn(q);
}

bool GoodsCatalog::save(Good &good, QString *message) const
{
    trim(good);
    *message = refusal(good);
    if (!message->isEmpty())
        return false;
    message->clear();
    QSqlQuery q(m_db);
    QString success;
    if (good.id > 0) {
        if (!execBound(q, QStringLiteral("select 1 from Products where ID=?"), {good.id}) || !q.next())
            return false;
        execBound(q, QStringLiteral("update Products set ") + assignments() + QStringLiteral(" where ID=?"),
                  valuesOf(good) << good.id);
        success = QStringLiteral("历史商品资料更新成功！");
    } else {
        if (!execBound(q, QStringLiteral("select 1 from Products where 商品名=? and 规格=?"),
                       {good.name, good.model}))
            return false;
        if (q.next()) {
            // Every entry of that name and model takes the new values.
            execBound(q,
                      QStringLiteral("update Products set ") + assignments()
                          + QStringLiteral(" where 商品名=? and 规格=?"),
                      valuesOf(good) << good.name << good.model);
            success = QStringLiteral("历史商品信息修改成功！");
        } else {
            execBound(q,
                      QStringLiteral("insert into Products (") + kColumns.join(QLatin1Char(','))
                          + QStringLiteral(") values(?,?,?,?,?,?,?,?,?)"),
                      valuesOf(good));
            if (q.numRowsAffected() == 1)
                good.id = q.lastInsertId().toLongLong();
            success = QStringLiteral("成功新增一条商品信息！");
        }
    }
    if (q.numRowsAffected() == 1)
        *message = success;
    return q.numRowsAffected() > 0;
}

bool GoodsCatalog::remove(const QList<qint64> &ids, QString *error) const
{
    QSqlQuery q(m_db);
    for (const qint64 id : ids) {
        if (!execBound(q, QStringLiteral("delete from Products where ID=?"), {id})) {
            *error = q.lastError().text();
            return false;
        }
    }
    return true;
}

bool GoodsCatalog::clear(QString *error) const
{
    QSqlQuery q(m_db);
    if (execBound(q, QStringLiteral("delete from Products")))
        return true;
    *error = q.lastError().text();
    return false;
}

void GoodsListModel::load(QSqlDatabase db, const GoodsFilter &filter, QString *error)
{
    beginResetModel();
    m_db = db;
    m_ids = GoodsCatalog(db).findIds(filter, error);
    m_goods = QList<Good>(m_ids.size());
    m_batchRead = QList<bool>((m_ids.size() + batchRows - 1) / batchRows, false);
    endResetModel();
}

void GoodsListModel::setGoods(const QList<Good> &goods)
{
    beginResetModel();
    m_ids.clear();
    for (const Good &g : goods)
        m_ids << g.id;
    m_goods = goods;
    m_batchRead = QList<bool>((m_ids.size() + batchRows - 1) / batchRows, true);
    endResetModel();
}

Good GoodsListModel::good(int row) const
{
    return row >= 0 && row < m_ids.size() ? at(row) : Good();
}

const Good &GoodsListModel::at(int row) const
{
    const int batch = row / batchRows;
    if (!m_batchRead[batch]) {
        m_batchRead[batch] = true;
        const int first = batch * batchRows;
        const QList<qint64> ids = m_ids.mid(first, batchRows);
        QHash<qint64, Good> byId;
        for (const Good &g : GoodsCatalog(m_db).read(ids))
            byId.insert(g.id, g);
        for (int i = 0; i < ids.size(); ++i) {
            Good g = byId.value(ids[i]);
            g.id = ids[i];
            m_goods[first + i] = g;
        }
    }
    return m_goods[row];
}

int GoodsListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_ids.size());
}

int GoodsListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(kColumns.size()) + 1;
}

QVariant GoodsListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_ids.size() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return textAt(at(index.row()), index.column());
}

QVariant GoodsListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return GoodsCatalog::columns().value(section);
}

} // namespace moque::refdata
