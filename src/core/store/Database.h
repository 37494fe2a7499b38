#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QStringList>
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

    // Opens an existing database file, waiting up to busyWait ms for another
    // program that holds it. On failure returns false and leaves the reason in
    // errorText(); the file is not changed.
    bool open(const QString &filePath, const QString &connectionName, int busyWait = busyWaitMs);
    void close();

    bool isOpen() const;
    QSqlDatabase db() const;
    QString connectionName() const { return m_connectionName; }
    QString filePath() const { return m_filePath; }
    QString errorText() const { return m_error; }

    // True when the file starts with the SQLite header.
    static bool looksLikeDatabase(const QString &filePath);
    // True when the error says another connection holds the file.
    static bool isBusy(const QSqlError &error);
    // SQLite's quick check: empty when the file is sound, else its first finding.
    // Run where a query fails or comes back empty where it never should.
    static QString integrityProblem(QSqlDatabase db);
    // The first of the tables that the file lacks; empty when it has them all.
    static QString missingTable(QSqlDatabase db, const QStringList &tables);

    // How long a statement waits for another program that holds the file.
    static constexpr int busyWaitMs = 10000;

private:
    QString m_connectionName;
    QString m_filePath;
    QString m_error;
};

} // namespace moque::store
