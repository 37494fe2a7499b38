#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace moque::users {

// The stored form of a password: the lowercase MD5 hex digest of its GBK
// bytes; an empty password stays empty text.
QString passwordHash(const QString &password);

// The roles offered for users (free text is accepted as well).
QStringList offeredRoles();

// The statement of the user management grid.
QString userListStatement();

// True when the two new-password boxes agree once trimmed.
bool newPasswordsAgree(const QString &first, const QString &second);

// Users of table UserTable: login, password change, deletion, reset.
class UserStore
{
public:
    explicit UserStore(QSqlDatabase db) : m_db(db) {}

    enum class LoginResult { Success, EmptyName, WrongPassword, DatabaseError };
    struct Login
    {
        LoginResult result = LoginResult::WrongPassword;
        QString userName;
        QString roleName;
    };

    // Distinct user names for the user boxes; false on a database error.
    bool userNames(QStringList *names) const;

    // Checks name and password (both trimmed, quotes kept: they are bound
    // values) against exactly one row, and records the time of the login.
    Login login(const QString &name, const QString &password) const;
    // The message for a failed login; empty for Success.
    static QString loginFailureText(LoginResult result);

    enum class ChangeResult { Changed, WrongOldPassword, DatabaseError };
    // The old password is taken as typed; the new one trimmed.
    ChangeResult changePassword(const QString &name, const QString &oldPassword, const QString &newPassword,
                                QString *error = nullptr);

    enum class EditResult { Stored, EmptyName, DuplicateName, NotFound, DatabaseError };
    // A new user (name trimmed) with an empty password, so that it logs in
    // with an empty password; its ID in *newId.
    EditResult addUser(const QString &name, const QString &role, const QString &remark, int *newId = nullptr,
                       QString *error = nullptr);
    // Name (trimmed), role and remark of the user with the ID; the password stays.
    EditResult updateUser(int id, const QString &name, const QString &role, const QString &remark,
                          QString *error = nullptr);
    // The message for a refused or failed add or edit; empty for Stored.
    static QString editFailureText(EditResult result, const QString &error = {});

    // Each runs in one transaction; the number of rows affected, -1 on an error.
    int deleteUsers(const QList<int> &ids, QString *error = nullptr);
    int resetPasswords(const QList<int> &ids, QString *error = nullptr);

private:
    // 1 when another user (ID other than exceptId) has the name, 0 when none, -1 on an error.
    int nameTaken(const QString &name, int exceptId, QString *error) const;
    int runForIds(const QString &statementHead, const QList<int> &ids, QString *error);

    QSqlDatabase m_db;
};

} // namespace moque::users
