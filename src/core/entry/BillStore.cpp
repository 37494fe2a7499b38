#include "entry/BillStore.h"

#include "store/Schema.h"
#include "store/Store.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

namespace moque::entry {

namespace {

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

// Placeholders must be ASCII; columns are Chinese, so each value gets :vN.
QString placeholder(qsizetype i)
{
    return QStringLiteral(":v") + QString::number(i);
}

// Empty text is stored as '' rather than NULL, so that searches comparing
// with the empty text find it.
QString storedText(const QString &value)
{
    return value.isNull() ? QStringLiteral("") : value;
}

// Runs the statement inside a transaction that is rolled back on failure.
bool runInTransaction(QSqlDatabase db, QSqlQuery &q, QString *error)
{
    if (!db.transaction()) {
        setError(error, db.lastError().text());
        return false;
    }
    if (!q.exec()) {
        setError(error, q.lastError().text());
        db.rollback();
        return false;
    }
    if (!db.commit()) {
        setError(error, db.lastError().text());
        db.rollback();
        return false;
    }
    return true;
}

} // namespace

BillStore::BillStore(QSqlDatabase db, QString table) : m_db(db), m_table(std::move(table)) {}

QStringList BillStore::writableColumns() const
{
    const store::TableDef *def = store::findTable(store::dataFileTables(), m_table);
    if (!def)
        return {};
    QStringList columns = def->columnNames();
    columns.removeAll(keyColumn());
    return columns;
}

bool BillStore::checkColumns(const QHash<QString, QString> &values, QStringList *columns, QString *error) const
{
    const QStringList known = writableColumns();
    if (known.isEmpty()) {
        setError(error, QStringLiteral("unknown table ") + m_table);
        return false;
    }
    if (values.isEmpty()) {
        setError(error, QStringLiteral("no column to write"));
        return false;
    }
    // Schema order keeps the statement the same for the same set of columns.
    for (const QString &column : known) {
        if (values.contains(column))
            *columns << column;
    }
    if (columns->size() != values.size()) {
        for (auto it = values.cbegin(); it != values.cend(); ++it) {
            if (!known.contains(it.key())) {
                setError(error, QStringLiteral("unknown column ") + it.key() + QStringLiteral(" in ") + m_table);
                break;
            }
        }
        return false;
    }
    return true;
}

std::optional<int> BillStore::insert(const QHash<QString, QString> &values, QString *error)
{
    QStringList columns;
    if (!checkColumns(values, &columns, error))
        return std::nullopt;
    QStringList names;
    QStringList holders;
    for (qsizetype i = 0; i < columns.size(); ++i) {
        names << store::quoteIdentifier(columns[i]);
        holders << placeholder(i);
    }
    QSqlQuery q(m_db);
    const QString sql = QStringLiteral("insert into ") + store::quoteIdentifier(m_table) + QStringLiteral(" (")
                        + names.join(QLatin1Char(',')) + QStringLiteral(") values (") + holders.join(QLatin1Char(','))
                        + QLatin1Char(')');
    if (!q.prepare(sql)) {
        setError(error, q.lastError().text());
        return std::nullopt;
    }
    for (qsizetype i = 0; i < columns.size(); ++i)
        q.bindValue(placeholder(i), storedText(values.value(columns[i])));
    if (!runInTransaction(m_db, q, error))
        return std::nullopt;
    return q.lastInsertId().toInt();
}

bool BillStore::update(int id, const QHash<QString, QString> &values, QString *error)
{
    QStringList columns;
    if (!checkColumns(values, &columns, error))
        return false;
    QStringList sets;
    for (qsizetype i = 0; i < columns.size(); ++i)
        sets << store::quoteIdentifier(columns[i]) + QLatin1Char('=') + placeholder(i);
    QSqlQuery q(m_db);
    const QString sql = QStringLiteral("update ") + store::quoteIdentifier(m_table) + QStringLiteral(" set ")
                        + sets.join(QLatin1Char(',')) + QStringLiteral(" where ") + store::quoteIdentifier(keyColumn())
                        + QStringLiteral("=:id");
    if (!q.prepare(sql)) {
        setError(error, q.lastError().text());
        return false;
    }
    for (qsizetype i = 0; i < columns.size(); ++i)
        q.bindValue(placeholder(i), storedText(values.value(columns[i])));
    q.bindValue(QStringLiteral(":id"), id);
    if (!runInTransaction(m_db, q, error))
        return false;
    if (q.numRowsAffected() < 1) {
        setError(error, QStringLiteral("no row ") + QString::number(id) + QStringLiteral(" in ") + m_table);
        return false;
    }
    return true;
}

bool BillStore::exists(int id, QString *error)
{
    QSqlQuery q(m_db);
    q.prepare(QStringLiteral("select 1 from ") + store::quoteIdentifier(m_table) + QStringLiteral(" where ")
              + store::quoteIdentifier(keyColumn()) + QStringLiteral("=:id"));
    q.bindValue(QStringLiteral(":id"), id);
    if (!q.exec()) {
        setError(error, q.lastError().text());
        return false;
    }
    return q.next();
}

std::optional<QHash<QString, QString>> BillStore::load(qint64 id, QString *error)
{
    QSqlQuery q(m_db);
    q.prepare(QStringLiteral("select * from ") + store::quoteIdentifier(m_table) + QStringLiteral(" where ")
              + store::quoteIdentifier(keyColumn()) + QStringLiteral("=:id"));
    q.bindValue(QStringLiteral(":id"), id);
    if (!q.exec()) {
        setError(error, q.lastError().text());
        return std::nullopt;
    }
    if (!q.next())
        return std::nullopt;
    const QSqlRecord record = q.record();
    QHash<QString, QString> row;
    for (int i = 0; i < record.count(); ++i)
        row.insert(record.fieldName(i), q.value(i).toString());
    return row;
}

} // namespace moque::entry
