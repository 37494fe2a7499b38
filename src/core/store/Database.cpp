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

bool Database::looksLikeDatabase(const QString &filePath)
{
    QFile f(filePath);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    return f.read(16) == QByteArray("SQLite format 3\0", 16);
}

bool Database::open(const QString &filePath, const QString &connectionName)
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
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=3000"));
        m_connectionName = connectionName;
        m_filePath = filePath;
        QString reason;
        if (!db.open()) {
            reason = db.lastError().text();
        } else {
            QSqlQuery probe(db);
            if (!probe.exec(QStringLiteral("select count(*) from sqlite_master")))
                reason = probe.lastError().text();
            else if (!registerJetFunctions(db) || !namesOnlyInDoubleQuotes(db))
                reason = QStringLiteral("the SQL functions and settings could not be set up");
        }
        if (reason.isEmpty())
            return true;
        m_error = QStringLiteral("数据文件已损坏或不是本软件的数据库：%1\n%2")
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
