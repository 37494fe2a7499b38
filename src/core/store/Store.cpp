#include "store/Store.h"

#include "common/Dialogs.h"

#include <QSqlError>
#include <QSqlQuery>

namespace moque::store {

QString quoteIdentifier(const QString &name)
{
    QString n = name.trimmed();
    n.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + n + QLatin1Char('"');
}

QSqlDatabase Store::connectionOrMain(QSqlDatabase connection) const
{
    return connection.isValid() ? connection : m_db;
}

int Store::CountTableAllRows(const QString &table)
{
    QSqlQuery q(m_db);
    if (!q.exec(QStringLiteral("select count(*) from ") + quoteIdentifier(table))) {
        m_dialogs.error(QStringLiteral("计算表格总数失败:") + table + QStringLiteral("-") + q.lastError().text());
        return 0;
    }
    return q.next() ? q.value(0).toInt() : 0;
}

bool Store::aIFExistsColumn(const QString &table, const QString &column, QSqlDatabase connection)
{
    // Backquotes, unlike double quotes, always name a column, whatever the
    // connection's settings: a missing column is an error, not a text value.
    QString name = column.trimmed();
    name.replace(QLatin1Char('`'), QStringLiteral("``"));
    QSqlQuery q(connectionOrMain(connection));
    return q.exec(QStringLiteral(" select `") + name + QStringLiteral("` from ") + quoteIdentifier(table)
                  + QStringLiteral(" where 1>2 "));
}

bool Store::aAddColumn(const QString &table, const QString &column, QSqlDatabase connection, const QString &size,
                       const QString &kind)
{
    QString k = kind.trimmed().toLower();
    if (k == QLatin1String("text") || k == QLatin1String("string"))
        k = QStringLiteral("varchar");
    if (k == QLatin1String("numeric") || k == QLatin1String("number"))
        k = QStringLiteral("long");

    QString type;
    if (k == QLatin1String("varchar")) {
        const QString n = size.trimmed().isEmpty() ? QStringLiteral("50") : size.trimmed();
        type = QStringLiteral("VARCHAR(") + QString::number(n.toInt()) + QStringLiteral(") COLLATE NOCASE");
    } else if (k == QLatin1String("long")) {
        type = QStringLiteral("INTEGER");
    } else if (k == QLatin1String("memo")) {
        type = QStringLiteral("TEXT");
    } else if (k == QLatin1String("datetime") || k == QLatin1String("date")) {
        type = QStringLiteral("DATE");
    } else {
        type = kind.trimmed();
    }

    QSqlQuery q(connectionOrMain(connection));
    const bool ok = q.exec(QStringLiteral(" alter table ") + quoteIdentifier(table) + QStringLiteral(" ADD column ")
                           + quoteIdentifier(column) + QLatin1Char(' ') + type);
    if (!ok)
        m_dialogs.error(QStringLiteral("修改表结构(") + column + QStringLiteral(")错误,Error=") + q.lastError().text());
    if (m_progress)
        m_progress(QStringLiteral("升级表存储结构...") + table);
    return ok;
}

bool Store::CreateTableIFNotExists(const QString &table, const QString &createStatement)
{
    QSqlQuery probe(m_db);
    if (probe.exec(QStringLiteral("select * from ") + quoteIdentifier(table) + QStringLiteral(" where 1>2")))
        return true;
    QSqlQuery create(m_db);
    if (create.exec(createStatement))
        return true;
    m_dialogs.error(QStringLiteral("创建表格失败") + table);
    return false;
}

int Store::newTemplateId()
{
    QSqlQuery q(m_db);
    if (!q.exec(QStringLiteral("select max(checktypeid)+1 as MaxId from CkTypeTable")) || !q.next()
        || q.value(0).isNull())
        return 1;
    return q.value(0).toInt();
}

bool Store::clearReceiverList()
{
    m_db.transaction();
    QSqlQuery q(m_db);
    const bool ok = q.exec(QStringLiteral("delete from ReceiverList"))
                    && q.exec(QStringLiteral("delete from sqlite_sequence where name='ReceiverList'"));
    if (ok && m_db.commit())
        return true;
    m_db.rollback();
    m_dialogs.error(QStringLiteral("清空失败！"));
    return false;
}

} // namespace moque::store
