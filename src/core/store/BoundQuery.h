#pragma once

#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>

namespace moque::store {

// Prepares the statement, binds the values by position and runs it; false
// with the engine's message in `error` when any step fails.
inline bool execPositional(QSqlQuery &q, const QString &sql, const QVariantList &values, QString &error)
{
    if (q.prepare(sql)) {
        for (int i = 0; i < values.size(); ++i)
            q.bindValue(i, values[i]);
        if (q.exec())
            return true;
    }
    error = q.lastError().text();
    return false;
}

} // namespace moque::store
