#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>

namespace moque::entry {

// The rows of one bill kind's history table (DataKDDTable for the waybill),
// keyed by the database-assigned 流水号. Columns are checked against the
// table's schema; every value is bound, so any text round-trips as it is.
// A failed write leaves the table as it was and reports the engine's message.
class BillStore
{
public:
    explicit BillStore(QSqlDatabase db, QString table = QStringLiteral("DataKDDTable"));

    QString table() const { return m_table; }

    // Inserts one row in its own transaction; the new 流水号, or nothing with `error` set.
    std::optional<int> insert(const QHash<QString, QString> &values, QString *error = nullptr);
    // Rewrites the given columns of row id; false with `error` set when the
    // row does not exist or the write fails.
    bool update(int id, const QHash<QString, QString> &values, QString *error = nullptr);
    // True when row id exists; false on an engine error too (with `error` set).
    bool exists(int id, QString *error = nullptr);
    // Every column of row id as text (NULL as empty text); nothing when the row
    // is missing or the read fails (then `error` is set).
    std::optional<QHash<QString, QString>> load(qint64 id, QString *error = nullptr);

    static QString keyColumn() { return QStringLiteral("流水号"); }

private:
    // The table's columns other than the key; empty when the table is unknown.
    QStringList writableColumns() const;
    bool checkColumns(const QHash<QString, QString> &values, QStringList *columns, QString *error) const;

    QSqlDatabase m_db;
    QString m_table;
};

} // namespace moque::entry
