#pragma once

#include <QSqlDatabase>
#include <QStringList>
#include <QVector>

struct sqlite3;

namespace moque::store {

// The SQLite handle behind an open connection; null for any other connection.
sqlite3 *sqliteHandle(QSqlDatabase db);

// Every row of a statement as text, row after row: a large list reads several
// times faster straight from SQLite than through QSqlQuery's variants.
struct TextTable
{
    QStringList fields;
    QVector<bool> numeric; // columns declared as integers, which sort as numbers
    QVector<QString> cells; // null values as empty text
};
bool readTextTable(QSqlDatabase db, const QString &sql, TextTable *table, QString *error = nullptr);

} // namespace moque::store
