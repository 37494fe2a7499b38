#include "store/SqlListModel.h"

#include "store/Store.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace moque {

void SqlListModel::setSource(QSqlDatabase db, const QString &statement, const QVariantList &values,
                             const QString &table, const QString &keyColumn)
{
    m_db = db;
    m_statement = statement;
    m_values = values;
    m_table = table;
    m_keyColumn = keyColumn;
}

bool SqlListModel::refresh()
{
    QSqlQuery q(m_db);
    q.prepare(m_statement);
    for (int i = 0; i < m_values.size(); ++i)
        q.bindValue(i, m_values[i]);
    q.exec();
    setQuery(std::move(q));
    if (lastError().isValid())
        return false;
    while (canFetchMore())
        fetchMore();
    return true;
}

int SqlListModel::fieldIndex(const QString &field) const
{
    const QSqlRecord r = record();
    for (int i = 0; i < r.count(); ++i)
        if (r.fieldName(i).compare(field, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QString SqlListModel::fieldName(int column) const
{
    return record().fieldName(column);
}

QVariant SqlListModel::fieldValue(int row, const QString &field) const
{
    const int c = fieldIndex(field);
    return c < 0 ? QVariant() : record(row).value(c);
}

QVariantList SqlListModel::allKeys() const
{
    QVariantList keys;
    const int c = fieldIndex(m_keyColumn);
    if (c < 0)
        return keys;
    for (int r = 0; r < rowCount(); ++r)
        keys << record(r).value(c);
    return keys;
}

int deleteRowsByKeys(QSqlDatabase db, const QString &table, const QString &keyColumn, const QVariantList &keys,
                     QString *error)
{
    if (keys.isEmpty())
        return 0;
    db.transaction();
    int deleted = 0;
    // Bound in slices: SQLite limits the number of parameters of one statement.
    constexpr int slice = 500;
    for (int start = 0; start < keys.size(); start += slice) {
        const int n = qMin(slice, int(keys.size()) - start);
        QSqlQuery q(db);
        q.prepare(QStringLiteral("delete from ") + store::quoteIdentifier(table) + QStringLiteral(" where ")
                  + store::quoteIdentifier(keyColumn) + QStringLiteral(" in(")
                  + QStringList(n, QStringLiteral("?")).join(QLatin1Char(',')) + QLatin1Char(')'));
        for (int i = 0; i < n; ++i)
            q.bindValue(i, keys[start + i]);
        if (!q.exec()) {
            if (error)
                *error = q.lastError().text();
            db.rollback();
            return -1;
        }
        deleted += q.numRowsAffected();
    }
    if (!db.commit()) {
        if (error)
            *error = db.lastError().text();
        db.rollback();
        return -1;
    }
    return deleted;
}

QString appendKeyList(const QString &text, const QVariantList &keys, const QString &keyType)
{
    const bool quoted = keyType.toUpper() == QLatin1String("STR");
    QString result = text;
    for (const QVariant &k : keys) {
        if (!result.isEmpty())
            result += QLatin1Char(',');
        result += quoted ? QLatin1Char('\'') + k.toString() + QLatin1Char('\'') : k.toString();
    }
    return result;
}

} // namespace moque
