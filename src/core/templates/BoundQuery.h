#pragma once

#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <initializer_list>

namespace moque::templates::detail {

struct Bind
{
    const char *name; // a named placeholder such as ":id"
    QVariant value;
};

// Prepares the statement, binds every value and runs it; false on any engine
// error (read it from q.lastError()).
inline bool execBound(QSqlQuery &q, const QString &sql, std::initializer_list<Bind> binds = {})
{
    if (!q.prepare(sql))
        return false;
    for (const Bind &b : binds)
        q.bindValue(QLatin1String(b.name), b.value);
    return q.exec();
}

} // namespace moque::templates::detail
