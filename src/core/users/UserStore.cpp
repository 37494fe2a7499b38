#include "users/UserStore.h"

#include "common/Helpers.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace moque::users {

QString passwordHash(const QString &password)
{
    // Empty but not null: a null QString is bound as SQL NULL, which matches nothing.
    if (password.isEmpty())
        return QStringLiteral("");
    return QString::fromLatin1(QCryptographicHash::hash(toGbk(password), QCryptographicHash::Md5).toHex());
}

QStringList offeredRoles()
{
    return {QStringLiteral("管理员"), QStringLiteral("订单处理员"), QStringLiteral("录单员")};
}

QString userListStatement()
{
    return QStringLiteral("select * from usertable order by UserName");
}

bool newPasswordsAgree(const QString &first, const QString &second)
{
    return first.trimmed() == second.trimmed();
}

bool UserStore::userNames(QStringList *names) const
{
    names->clear();
    QSqlQuery q(m_db);
    if (!q.exec(QStringLiteral("select distinct UserName from UserTable order by UserName")))
        return false;
    while (q.next())
        *names << q.value(0).toString();
    return true;
}

UserStore::Login UserStore::login(const QString &name, const QString &password) const
{
    Login result;
    if (name.trimmed().isEmpty()) {
        result.result = LoginResult::EmptyName;
        return result;
    }
    QSqlQuery q(m_db);
    q.prepare(QStringLiteral("select UserName, RoleName, ID from UserTable where UserName=:pUser and "
                             "coalesce(Passwd,'')=:pPwd"));
    q.bindValue(QStringLiteral(":pUser"), name.trimmed());
    q.bindValue(QStringLiteral(":pPwd"), passwordHash(password.trimmed()));
    if (!q.exec()) {
        result.result = LoginResult::DatabaseError;
        return result;
    }
    int rows = 0;
    int id = 0;
    while (q.next()) {
        if (++rows == 1) {
            result.userName = q.value(0).toString();
            result.roleName = q.value(1).toString();
            id = q.value(2).toInt();
        }
    }
    if (rows != 1) {
        result.userName.clear();
        result.roleName.clear();
        return result;
    }
    result.result = LoginResult::Success;
    QSqlQuery stamp(m_db);
    stamp.prepare(QStringLiteral("update UserTable set lastlogin=:t where ID=:id"));
    stamp.bindValue(QStringLiteral(":t"), QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    stamp.bindValue(QStringLiteral(":id"), id);
    stamp.exec();
    return result;
}

QString UserStore::loginFailureText(LoginResult result)
{
    switch (result) {
    case LoginResult::Success:
        return {};
    case LoginResult::EmptyName:
        return QStringLiteral("请选择正确的用户名~");
    case LoginResult::WrongPassword:
        return QStringLiteral("用户名或密码输入错误~");
    case LoginResult::DatabaseError:
        return QStringLiteral("密码或用户名输入错误~");
    }
    return {};
}

UserStore::ChangeResult UserStore::changePassword(const QString &name, const QString &oldPassword,
                                                  const QString &newPassword, QString *error)
{
    QSqlQuery check(m_db);
    check.prepare(QStringLiteral("select 1 from UserTable where username=:u and coalesce(passwd,'')=:p"));
    check.bindValue(QStringLiteral(":u"), name);
    check.bindValue(QStringLiteral(":p"), passwordHash(oldPassword));
    if (!check.exec()) {
        if (error)
            *error = check.lastError().text();
        return ChangeResult::DatabaseError;
    }
    if (!check.next())
        return ChangeResult::WrongOldPassword;
    QSqlQuery update(m_db);
    update.prepare(QStringLiteral("update UserTable set Passwd=:p where Username=:u"));
    update.bindValue(QStringLiteral(":p"), passwordHash(newPassword.trimmed()));
    update.bindValue(QStringLiteral(":u"), name);
    if (!update.exec()) {
        if (error)
            *error = update.lastError().text();
        return ChangeResult::DatabaseError;
    }
    return ChangeResult::Changed;
}

int UserStore::nameTaken(const QString &name, int exceptId, QString *error) const
{
    QSqlQuery q(m_db);
    q.prepare(QStringLiteral("select count(*) from UserTable where UserName=:n and ID<>:id"));
    q.bindValue(QStringLiteral(":n"), name);
    q.bindValue(QStringLiteral(":id"), exceptId);
    if (!q.exec() || !q.next()) {
        if (error)
            *error = q.lastError().text();
        return -1;
    }
    return q.value(0).toInt() > 0 ? 1 : 0;
}

UserStore::EditResult UserStore::addUser(const QString &name, const QString &role, const QString &remark, int *newId,
                                         QString *error)
{
    const QString n = name.trimmed();
    if (n.isEmpty())
        return EditResult::EmptyName;
    // No user has ID 0: every existing name counts.
    const int taken = nameTaken(n, 0, error);
    if (taken < 0)
        return EditResult::DatabaseError;
    if (taken > 0)
        return EditResult::DuplicateName;
    QSqlQuery q(m_db);
    q.prepare(QStringLiteral("insert into UserTable (UserName, Passwd, RoleName, Remark) values (:n, '', :r, :m)"));
    q.bindValue(QStringLiteral(":n"), n);
    q.bindValue(QStringLiteral(":r"), role.trimmed());
    q.bindValue(QStringLiteral(":m"), remark.trimmed());
    if (!q.exec()) {
        if (error)
            *error = q.lastError().text();
        return EditResult::DatabaseError;
    }
    if (newId)
        *newId = q.lastInsertId().toInt();
    return EditResult::Stored;
}

UserStore::EditResult UserStore::updateUser(int id, const QString &name, const QString &role, const QString &remark,
                                            QString *error)
{
    const QString n = name.trimmed();
    if (n.isEmpty())
        return EditResult::EmptyName;
    const int taken = nameTaken(n, id, error);
    if (taken < 0)
        return EditResult::DatabaseError;
    if (taken > 0)
        return EditResult::DuplicateName;
    QSqlQuery q(m_db);
    q.prepare(QStringLiteral("update UserTable set UserName=:n, RoleName=:r, Remark=:m where ID=:id"));
    q.bindValue(QStringLiteral(":n"), n);
    q.bindValue(QStringLiteral(":r"), role.trimmed());
    q.bindValue(QStringLiteral(":m"), remark.trimmed());
    q.bindValue(QStringLiteral(":id"), id);
    if (!q.exec()) {
        if (error)
            *error = q.lastError().text();
        return EditResult::DatabaseError;
    }
    return q.numRowsAffected() > 0 ? EditResult::Stored : EditResult::NotFound;
}

QString UserStore::editFailureText(EditResult result, const QString &error)
{
    switch (result) {
    case EditResult::Stored:
        return {};
    case EditResult::EmptyName:
        return QStringLiteral("用户名不能为空，请输入用户名！");
    case EditResult::DuplicateName:
        return QStringLiteral("该用户名已经存在，请换一个用户名！");
    case EditResult::NotFound:
        return QStringLiteral("要修改的用户已不存在，请刷新后重试！");
    case EditResult::DatabaseError:
        return QStringLiteral("用户保存失败，错误=") + error;
    }
    return {};
}

int UserStore::runForIds(const QString &statementHead, const QList<int> &ids, QString *error)
{
    if (ids.isEmpty())
        return 0;
    QStringList marks;
    for (int i = 0; i < ids.size(); ++i)
        marks << QStringLiteral(":id%1").arg(i);
    m_db.transaction();
    QSqlQuery q(m_db);
    q.prepare(statementHead + QStringLiteral(" where ID in(") + marks.join(QLatin1Char(',')) + QLatin1Char(')'));
    for (int i = 0; i < ids.size(); ++i)
        q.bindValue(marks[i], ids[i]);
    if (!q.exec()) {
        if (error)
            *error = q.lastError().text();
        m_db.rollback();
        return -1;
    }
    const int n = q.numRowsAffected();
    if (!m_db.commit()) {
        if (error)
            *error = m_db.lastError().text();
        m_db.rollback();
        return -1;
    }
    return n;
}

int UserStore::deleteUsers(const QList<int> &ids, QString *error)
{
    return runForIds(QStringLiteral("delete from UserTable"), ids, error);
}

int UserStore::resetPasswords(const QList<int> &ids, QString *error)
{
    return runForIds(QStringLiteral("update UserTable set passwd=''"), ids, error);
}

} // namespace moque::users
