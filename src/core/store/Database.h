#pragma once

#include <QSqlDatabase>
#include <QString>

namespace moque::store {

// One named SQLite connection to a database file, removed when the object goes.
// Opening checks that the file really is a database before anything is written.
class Database
{
public:
    Database() = default;
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // Opens an existing database file. On failure returns false and leaves the
    // reason in errorText(); the file is not changed.
    bool open(const QString &filePath, const QString &connectionName);
    void close();

    bool isOpen() const;
    QSqlDatabase db() const;
    QString connectionName() const { return m_connectionName; }
    QString filePath() const { return m_filePath; }
    QString errorText() const { return m_error; }

    // True when the file starts with the SQLite header.
    static bool looksLikeDatabase(const QString &filePath);

private:
    QString m_connectionName;
    QString m_filePath;
    QString m_error;
};

} // namespace moque::store
