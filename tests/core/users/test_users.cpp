#include "support/TestData.h"
#include "users/UserStore.h"

#include <QTest>

using namespace moque;
using users::UserStore;

Q_DECLARE_METATYPE(UserStore::LoginResult)
Q_DECLARE_METATYPE(UserStore::EditResult)

namespace {

const QString admin = QStringLiteral("管理员");

QString storedPassword(const test::TestData &data, const QString &name)
{
    return data.scalar(QStringLiteral("select Passwd from UserTable where UserName=?"), {name}).toString();
}

} // namespace

class TestUsers : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void passwordHashIsMd5OfGbkBytes_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("hash");
        QTest::newRow("abc") << QStringLiteral("abc") << QStringLiteral("900150983cd24fb0d6963f7d28e17f72");
        // Expected values are hashlib.md5(text.encode('gbk')): the UTF-8 bytes give other digests.
        QTest::newRow("chinese") << QStringLiteral("密码") << QStringLiteral("d2293e30f0c964c5f6242486aa8a483c");
        QTest::newRow("mixed") << QStringLiteral("中文密码123") << QStringLiteral("7a4bf6257335f6efe8d3e0ba1a62d020");
        QTest::newRow("empty stays empty") << QString() << QString();
    }
    void passwordHashIsMd5OfGbkBytes()
    {
        QFETCH(QString, password);
        QFETCH(QString, hash);
        QCOMPARE(users::passwordHash(password), hash);
    }

    void defaultAdministratorLogsInWithEmptyPassword()
    {
        test::TestData data;
        QVERIFY(data.open());
        QCOMPARE(data.scalar(QStringLiteral("select count(*) from UserTable")).toInt(), 1);
        const UserStore::Login login = UserStore(data.db()).login(admin, QString());
        QCOMPARE(login.result, UserStore::LoginResult::Success);
        QCOMPARE(login.userName, admin);
        QCOMPARE(login.roleName, admin);
        QVERIFY(!data.scalar(QStringLiteral("select lastlogin from UserTable")).toString().isEmpty());
    }

    void login_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<UserStore::LoginResult>("result");
        using R = UserStore::LoginResult;
        QTest::newRow("right") << "abc" << admin << "abc" << R::Success;
        QTest::newRow("surrounding spaces") << "abc" << admin << "  abc \t" << R::Success;
        QTest::newRow("name with spaces") << "abc" << QStringLiteral(" 管理员 ") << "abc" << R::Success;
        QTest::newRow("wrong") << "abc" << admin << "abd" << R::WrongPassword;
        QTest::newRow("empty for set password") << "abc" << admin << "" << R::WrongPassword;
        QTest::newRow("quote kept") << "a'b" << admin << "a'b" << R::Success;
        QTest::newRow("unknown user") << "abc" << "nobody" << "abc" << R::WrongPassword;
        QTest::newRow("empty name") << "abc" << "  " << "abc" << R::EmptyName;
    }
    void login()
    {
        QFETCH(QString, stored);
        QFETCH(QString, name);
        QFETCH(QString, typed);
        QFETCH(UserStore::LoginResult, result);
        test::TestData data;
        QVERIFY(data.open());
        UserStore store(data.db());
        QCOMPARE(store.changePassword(admin, QString(), stored), UserStore::ChangeResult::Changed);
        const UserStore::Login login = store.login(name, typed);
        QCOMPARE(login.result, result);
        QCOMPARE(login.userName, result == UserStore::LoginResult::Success ? admin : QString());
    }

    void resetPasswordLetsUserInWithEmptyPassword()
    {
        test::TestData data;
        QVERIFY(data.open());
        UserStore store(data.db());
        QCOMPARE(store.addUser(QStringLiteral("张三"), QStringLiteral("录单员"), {}), UserStore::EditResult::Stored);
        QCOMPARE(store.changePassword(admin, QString(), QStringLiteral("abc")), UserStore::ChangeResult::Changed);
        QCOMPARE(store.changePassword(QStringLiteral("张三"), QString(), QStringLiteral("xyz")),
                 UserStore::ChangeResult::Changed);
        const int adminId = data.scalar(QStringLiteral("select ID from UserTable where UserName=?"), {admin}).toInt();
        QCOMPARE(store.login(admin, QString()).result, UserStore::LoginResult::WrongPassword);

        QCOMPARE(store.resetPasswords({adminId}), 1);
        QCOMPARE(storedPassword(data, admin), QString(""));
        QCOMPARE(store.login(admin, QString()).result, UserStore::LoginResult::Success);
        QCOMPARE(store.login(admin, QStringLiteral("abc")).result, UserStore::LoginResult::WrongPassword);
        // Only the chosen user is reset.
        QCOMPARE(storedPassword(data, QStringLiteral("张三")), users::passwordHash(QStringLiteral("xyz")));
    }

    void changePasswordTakesOldAsTypedAndNewTrimmed()
    {
        test::TestData data;
        QVERIFY(data.open());
        UserStore store(data.db());
        QCOMPARE(store.changePassword(admin, QString(), QStringLiteral("  abc ")), UserStore::ChangeResult::Changed);
        QCOMPARE(storedPassword(data, admin), users::passwordHash(QStringLiteral("abc")));
        QCOMPARE(store.changePassword(admin, QStringLiteral(" abc"), QStringLiteral("new")),
                 UserStore::ChangeResult::WrongOldPassword);
        QCOMPARE(storedPassword(data, admin), users::passwordHash(QStringLiteral("abc")));
        QCOMPARE(store.changePassword(admin, QStringLiteral("abc"), QString()), UserStore::ChangeResult::Changed);
        QCOMPARE(storedPassword(data, admin), QString(""));
    }

    void namesAreStoredAndFoundExactly_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("lookalike");
        QTest::newRow("quote") << "O'Brien" << "OBrien";
        QTest::newRow("percent") << "100%" << "100x";
        QTest::newRow("underscore") << "a_b" << "axb";
        QTest::newRow("chinese") << QStringLiteral("张三丰") << QStringLiteral("张三");
        QTest::newRow("statement text") << "x'; delete from UserTable; --" << "x";
        QTest::newRow("double quote") << "say \"hi\"" << "say hi";
    }
    void namesAreStoredAndFoundExactly()
    {
        QFETCH(QString, name);
        QFETCH(QString, lookalike);
        test::TestData data;
        QVERIFY(data.open());
        UserStore store(data.db());
        int id = 0;
        QCOMPARE(store.addUser(name, QStringLiteral("录单员"), QStringLiteral("备注'%"), &id),
                 UserStore::EditResult::Stored);
        QCOMPARE(store.addUser(lookalike, QStringLiteral("录单员"), {}), UserStore::EditResult::Stored);
        QCOMPARE(data.scalar(QStringLiteral("select UserName from UserTable where ID=?"), {id}).toString(), name);
        QCOMPARE(data.scalar(QStringLiteral("select Remark from UserTable where ID=?"), {id}).toString(),
                 QStringLiteral("备注'%"));

        QCOMPARE(store.changePassword(name, QString(), QStringLiteral("pw")), UserStore::ChangeResult::Changed);
        QCOMPARE(storedPassword(data, lookalike), QString(""));
        const UserStore::Login login = store.login(name, QStringLiteral("pw"));
        QCOMPARE(login.result, UserStore::LoginResult::Success);
        QCOMPARE(login.userName, name);
        QCOMPARE(store.login(lookalike, QStringLiteral("pw")).result, UserStore::LoginResult::WrongPassword);
        QCOMPARE(data.scalar(QStringLiteral("select count(*) from UserTable")).toInt(), 3);

        QStringList names;
        QVERIFY(store.userNames(&names));
        QVERIFY(names.contains(name));
    }

    void addUserGivesEmptyPasswordAndRefusesBadNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<UserStore::EditResult>("result");
        using R = UserStore::EditResult;
        QTest::newRow("new") << " 李四 " << R::Stored;
        QTest::newRow("empty") << "" << R::EmptyName;
        QTest::newRow("blank") << "   " << R::EmptyName;
        QTest::newRow("existing") << QStringLiteral("管理员") << R::DuplicateName;
        QTest::newRow("existing with spaces") << QStringLiteral(" 管理员") << R::DuplicateName;
    }
    void addUserGivesEmptyPasswordAndRefusesBadNames()
    {
        QFETCH(QString, name);
        QFETCH(UserStore::EditResult, result);
        test::TestData data;
        QVERIFY(data.open());
        UserStore store(data.db());
        QCOMPARE(store.addUser(name, QStringLiteral("订单处理员"), {}), result);
        const int expectedRows = result == UserStore::EditResult::Stored ? 2 : 1;
        QCOMPARE(data.scalar(QStringLiteral("select count(*) from UserTable")).toInt(), expectedRows);
        if (result != UserStore::EditResult::Stored)
            return;
        const QString trimmed = name.trimmed();
        QCOMPARE(data.scalar(QStringLiteral("select count(*) from UserTable where Passwd='' and UserName=?"), {trimmed})
                     .toInt(),
                 1);
        const UserStore::Login login = store.login(trimmed, QString());
        QCOMPARE(login.result, UserStore::LoginResult::Success);
        QCOMPARE(login.roleName, QStringLiteral("订单处理员"));
    }

    void updateUserKeepsPasswordAndRefusesTakenName()
    {
        test::TestData data;
        QVERIFY(data.open());
        UserStore store(data.db());
        int id = 0;
        QCOMPARE(store.addUser(QStringLiteral("王五"), QStringLiteral("录单员"), {}, &id), UserStore::EditResult::Stored);
        QCOMPARE(store.changePassword(QStringLiteral("王五"), QString(), QStringLiteral("pw")),
                 UserStore::ChangeResult::Changed);

        QCOMPARE(store.updateUser(id, admin, QStringLiteral("管理员"), {}), UserStore::EditResult::DuplicateName);
        QCOMPARE(store.updateUser(id, QString(), QStringLiteral("管理员"), {}), UserStore::EditResult::EmptyName);
        QCOMPARE(store.updateUser(id + 100, QStringLiteral("赵六"), {}, {}), UserStore::EditResult::NotFound);
        // Keeping its own name is no clash.
        QCOMPARE(store.updateUser(id, QStringLiteral("王五"), QStringLiteral("订单处理员"), QStringLiteral("x")),
                 UserStore::EditResult::Stored);
        QCOMPARE(store.updateUser(id, QStringLiteral("王五五"), QStringLiteral("订单处理员"), QStringLiteral("x")),
                 UserStore::EditResult::Stored);

        const UserStore::Login login = store.login(QStringLiteral("王五五"), QStringLiteral("pw"));
        QCOMPARE(login.result, UserStore::LoginResult::Success);
        QCOMPARE(login.roleName, QStringLiteral("订单处理员"));
        QCOMPARE(data.scalar(QStringLiteral("select count(*) from UserTable where UserName=?"), {admin}).toInt(), 1);
    }

    void deleteAndResetTouchOnlyTheGivenUsers()
    {
        test::TestData data;
        QVERIFY(data.open());
        UserStore store(data.db());
        QList<int> ids;
        for (const QString &name : {QStringLiteral("u1"), QStringLiteral("u2"), QStringLiteral("u3")}) {
            int id = 0;
            QCOMPARE(store.addUser(name, {}, {}, &id), UserStore::EditResult::Stored);
            QCOMPARE(store.changePassword(name, QString(), QStringLiteral("pw")), UserStore::ChangeResult::Changed);
            ids << id;
        }
        QCOMPARE(store.resetPasswords({ids[0], ids[2]}), 2);
        QCOMPARE(storedPassword(data, QStringLiteral("u2")), users::passwordHash(QStringLiteral("pw")));
        QCOMPARE(store.deleteUsers({ids[1], ids[2]}), 2);
        QCOMPARE(data.scalar(QStringLiteral("select group_concat(UserName) from (select UserName from UserTable "
                                            "order by UserName)"))
                     .toString(),
                 QStringLiteral("u1,") + admin);
        QCOMPARE(store.deleteUsers({}), 0);
    }
};

QTEST_GUILESS_MAIN(TestUsers)
#include "test_users.moc"
