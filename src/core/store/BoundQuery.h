#pragma once

#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <initializer_list>

namespace moque::store {

// Every value reaches a statement as a bound parameter, never inside its
// text: a name with a quote in it is just a name.

struct Bind
{
    const char *name; // a named placeholder such as ":id"
    QVariant value;
};

// Prepares the statement, binds every value by its name and runs it; false
// on any engine error (read it from q.lastError()).
inline bool execBound(QSqlQuery &q, const QString &sql, std::initializer_list<Bind> binds = {})
{
    if (!q.prepare(sql))
        return false;
    for (const Bind &b : binds)
        q.bindValue(QLatin1String(b.name), b.value);
    return q.exec();
}

// The same with the values bound by position to the statement's "?".
inline bool execBound(QSqlQuery &q, const QString &sql, const QVariantList &values)
{
    if (!q.prepare(sql))
        return false;
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, values[i]);
    return q.exec();
}

// The same with the engine's message in `error` when any step fails.
inline bool execBound(QSqlQuery &q, const QString &sql, const QVariantList &values, QString &error)
{
    if (execBound(q, sql, values))
        return true;
    error = q.lastError().text();
    return false;
}

} // namespace moque::store
