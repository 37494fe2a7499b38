#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace moque::users {

// The stored form of a password: the lowercase MD5 hex digest of its GBK
// bytes; an empty password stays empty.
QString passwordHash(const QString &password);

// The roles offered for users (free text is accepted as well).
QStringList offeredRoles();

// Users of table UserTable: login, password change, deletion, reset.
class UserStore
{
public:
    explicit UserStore(QSqlDatabase db) : m_db(db) {}

    enum class LoginResult { Success, WrongPassword, DatabaseError };
    struct Login
    {
        LoginResult result = LoginResult::WrongPassword;
        QString userName;
        QString roleName;
    };

    // Distinct user names for the user boxes; false on a database error.
    bool userNames(QStringList *names) const;

    // Checks name and password (both trimmed) against exactly one row, and
    // records the time of the login.
    Login login(const QString &name, const QString &password) const;

    enum class ChangeResult { Changed, WrongOldPassword, DatabaseError };
    // The old password is taken as typed; the new one trimmed.
    ChangeResult changePassword(const QString &name, const QString &oldPassword, const QString &newPassword,
                                QString *error = nullptr);

    // Each runs in one transaction; the number of rows affected, -1 on an error.
    int deleteUsers(const QList<int> &ids, QString *error = nullptr);
    int resetPasswords(const QList<int> &ids, QString *error = nullptr);

private:
    int runForIds(const QString &statementHead, const QList<int> &ids, QString *error);

    QSqlDatabase m_db;
};

} // namespace moque::users
