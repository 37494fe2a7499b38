#include "store/Database.h"

#include "store/JetFunctions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace moque::store {

Database::~Database()
{
    close();
}

bool Database::isBusy(const QSqlError &error)
{
    // SQLITE_BUSY and SQLITE_LOCKED, also as extended codes (the low byte).
    const int code = error.nativeErrorCode().toInt() & 0xff;
    return code == 5 || code == 6;
}

QString Database::integrityProblem(QSqlDatabase db)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA quick_check")))
        return q.lastError().text();
    const QString first = q.next() ? q.value(0).toString() : QStringLiteral("no answer");
    return first == QLatin1String("ok") ? QString() : first;
}

QString Database::missingTable(QSqlDatabase db, const QStringList &tables)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("select count(*) from sqlite_master where type='table' and lower(name)=lower(?)"));
    for (const QString &table : tables) {
        q.addBindValue(table);
        if (!q.exec() || !q.next() || q.value(0).toInt() == 0)
            return table;
    }
    return {};
}

bool Database::looksLikeDatabase(const QString &filePath)
{
    QFile f(filePath);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    return f.read(16) == QByteArray("SQLite format 3\0", 16);
}

bool Database::open(const QString &filePath, const QString &connectionName, int busyWait)
{
    close();
    m_error.clear();
    const QFileInfo info(filePath);
    if (!info.exists()) {
        m_error = QStringLiteral("数据文件不存在：%1").arg(QDir::toNativeSeparators(filePath));
        return false;
    }
    if (!info.isReadable()) {
        m_error = QStringLiteral("数据文件无法读取：%1").arg(QDir::toNativeSeparators(filePath));
        return false;
    }
    if (!looksLikeDatabase(filePath)) {
        m_error = QStringLiteral("数据文件已损坏或不是本软件的数据库：%1").arg(QDir::toNativeSeparators(filePath));
        return false;
    }
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
        db.setDatabaseName(filePath);
        // Another program writing the file holds it for a moment; wait that out.
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyWait));
        m_connectionName = connectionName;
        m_filePath = filePath;
        QString reason;
        bool busy = false;
        if (!db.open()) {
            reason = db.lastError().text();
        } else {
            QSqlQuery probe(db);
            if (!probe.exec(QStringLiteral("select count(*) from sqlite_master"))) {
                busy = isBusy(probe.lastError());
                reason = probe.lastError().text();
            } else if (!registerJetFunctions(db) || !namesOnlyInDoubleQuotes(db))
                reason = QStringLiteral("the SQL functions and settings could not be set up");
        }
        if (reason.isEmpty())
            return true;
        m_error = busy ? QStringLiteral("数据文件正被其他程序使用，请关闭该程序后再试：%1")
                             .arg(QDir::toNativeSeparators(filePath))
                       : QStringLiteral("数据文件已损坏或不是本软件的数据库：%1（%2）")
                             .arg(QDir::toNativeSeparators(filePath), reason);
    }
    close();
    return false;
}

void Database::close()
{
    if (m_connectionName.isEmpty())
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
    m_connectionName.clear();
}

bool Database::isOpen() const
{
    return !m_connectionName.isEmpty() && QSqlDatabase::database(m_connectionName, false).isOpen();
}

QSqlDatabase Database::db() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

} // namespace moque::store
