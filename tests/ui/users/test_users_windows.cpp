#include "support/TestData.h"
#include "support/Widgets.h"
#include "users/PasswordDialog.h"
#include "users/LoginDialog.h"
#include "users/UserManagerWindow.h"
#include "users/UserStore.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

using namespace moque;
using ui::PasswordDialog;
using ui::LoginDialog;
using ui::UserManagerWindow;
using users::UserStore;
using test::child;
using test::typeText;

namespace {

const QString admin = QStringLiteral("管理员");

QString storedPassword(const test::TestData &data, const QString &name)
{
    return data.scalar(QStringLiteral("select Passwd from UserTable where UserName=?"), {name}).toString();
}

int userCount(const test::TestData &data)
{
    return data.scalar(QStringLiteral("select count(*) from UserTable")).toInt();
}

void addUser(const test::TestData &data, const QString &name, const QString &password)
{
    UserStore store(data.db());
    QCOMPARE(store.addUser(name, QStringLiteral("录单员"), {}), UserStore::EditResult::Stored);
    QCOMPARE(store.changePassword(name, QString(), password), UserStore::ChangeResult::Changed);
}

// Grid row of the user, -1 when not listed.
int gridRow(QTableView *grid, const QString &name)
{
    const QAbstractItemModel *model = grid->model();
    for (int r = 0; r < model->rowCount(); ++r)
        for (int c = 0; c < model->columnCount(); ++c)
            if (!grid->isColumnHidden(c) && model->index(r, c).data().toString() == name)
                return r;
    return -1;
}

void ctrlClickRow(QTableView *grid, int row)
{
    int column = 0;
    while (grid->isColumnHidden(column))
        ++column;
    const QRect cell = grid->visualRect(grid->model()->index(row, column));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ControlModifier, cell.center());
}

} // namespace

class TestUsersWindows : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void loginListsUsersWithFirstSelected()
    {
        test::TestData data;
        QVERIFY(data.open());
        addUser(data, QStringLiteral("bob"), QStringLiteral("x"));
        addUser(data, QStringLiteral("alice"), QStringLiteral("x"));
        LoginDialog window(*data.core);
        window.show();
        QCOMPARE(window.windowTitle(), QStringLiteral("操作员切换及登录"));
        auto *user = child<QComboBox>(&window, "cbUser");
        QCOMPARE(user->count(), 3);
        QCOMPARE(user->currentIndex(), 0);
        QCOMPARE(user->currentText(), user->itemText(0));
        QVERIFY(user->isEditable());
        QCOMPARE(child<QLineEdit>(&window, "edtPassword")->echoMode(), QLineEdit::Password);
    }

    // Enter in the password box logs in, exactly once.
    void loginWithEnter_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("success");
        QTest::newRow("empty initial password") << QString() << QString() << true;
        QTest::newRow("right") << "abc" << "abc" << true;
        QTest::newRow("surrounding spaces") << "abc" << "  abc  " << true;
        QTest::newRow("chinese") << QStringLiteral("密码") << QStringLiteral("密码") << true;
        QTest::newRow("wrong") << "abc" << "abd" << false;
        QTest::newRow("empty for set password") << "abc" << QString() << false;
    }
    void loginWithEnter()
    {
        QFETCH(QString, stored);
        QFETCH(QString, typed);
        QFETCH(bool, success);
        test::TestData data;
        QVERIFY(data.open());
        QCOMPARE(UserStore(data.db()).changePassword(admin, QString(), stored), UserStore::ChangeResult::Changed);
        // A failed login must clear whoever was recorded before.
        data.core->session().currentUserName = QStringLiteral("someone");
        data.core->session().currentRoleName = QStringLiteral("someone");

        LoginDialog window(*data.core);
        window.show();
        auto *password = child<QLineEdit>(&window, "edtPassword");
        typeText(password, typed);
        QTest::keyClick(password, Qt::Key_Return);

        if (success) {
            QVERIFY(data.dialogs.shown.isEmpty());
            QCOMPARE(window.result(), int(QDialog::Accepted));
            QCOMPARE(data.core->session().currentUserName, admin);
            QCOMPARE(data.core->session().currentRoleName, admin);
            QVERIFY(password->text().isEmpty());
        } else {
            QCOMPARE(data.dialogs.texts(), QStringList{QStringLiteral("用户名或密码输入错误~")});
            QVERIFY(window.isVisible());
            QVERIFY(data.core->session().currentUserName.isEmpty());
            QVERIFY(data.core->session().currentRoleName.isEmpty());
        }
    }

    void loginRefusesEmptyName()
    {
        test::TestData data;
        QVERIFY(data.open());
        LoginDialog window(*data.core);
        window.show();
        child<QComboBox>(&window, "cbUser")->setEditText(QStringLiteral("  "));
        child<QPushButton>(&window, "btLogin")->click();
        QCOMPARE(data.dialogs.texts(), QStringList{QStringLiteral("请选择正确的用户名~")});
        QVERIFY(data.core->session().currentUserName.isEmpty());
        QVERIFY(window.isVisible());
    }

    void loginPicksTypedUser()
    {
        test::TestData data;
        QVERIFY(data.open());
        addUser(data, QStringLiteral("O'Brien 100%"), QStringLiteral("pw"));
        LoginDialog window(*data.core);
        window.show();
        auto *user = child<QComboBox>(&window, "cbUser");
        user->setCurrentIndex(user->findText(QStringLiteral("O'Brien 100%")));
        typeText(child<QLineEdit>(&window, "edtPassword"), QStringLiteral("pw"));
        child<QPushButton>(&window, "btLogin")->click();
        QVERIFY(data.dialogs.shown.isEmpty());
        QCOMPARE(data.core->session().currentUserName, QStringLiteral("O'Brien 100%"));
        QCOMPARE(data.core->session().currentRoleName, QStringLiteral("录单员"));
    }

    void cancelLeavesNobodyLoggedIn()
    {
        test::TestData data;
        QVERIFY(data.open());
        LoginDialog window(*data.core);
        window.show();
        child<QPushButton>(&window, "btCancel")->click();
        QCOMPARE(window.result(), int(QDialog::Rejected));
        QVERIFY(!window.isVisible());
        QVERIFY(data.core->session().currentUserName.isEmpty());
    }

    void passwordWithQuoteSetInChangeWindowLogsIn()
    {
        test::TestData data;
        QVERIFY(data.open());
        PasswordDialog change(*data.core, admin);
        change.show();
        typeText(child<QLineEdit>(&change, "edtNewPassword1"), QStringLiteral("it's"));
        typeText(child<QLineEdit>(&change, "edtNewPassword2"), QStringLiteral("it's"));
        child<QPushButton>(&change, "btModify")->click();
        QCOMPARE(data.dialogs.texts(), QStringList{QStringLiteral("密码修改成功,请牢记新密码。")});
        data.dialogs.clear();

        LoginDialog login(*data.core);
        login.show();
        auto *password = child<QLineEdit>(&login, "edtPassword");
        typeText(password, QStringLiteral("it's"));
        QTest::keyClick(password, Qt::Key_Return);
        QVERIFY(data.dialogs.shown.isEmpty());
        QCOMPARE(data.core->session().currentUserName, admin);
    }

    void changeWindowPresetsGivenUser()
    {
        test::TestData data;
        QVERIFY(data.open());
        addUser(data, QStringLiteral("alice"), QStringLiteral("x"));
        addUser(data, QStringLiteral("张三"), QStringLiteral("x"));
        PasswordDialog change(*data.core, QStringLiteral("张三"));
        QCOMPARE(change.windowTitle(), QStringLiteral("更改系统登录密码"));
        QCOMPARE(child<QComboBox>(&change, "cbUser")->count(), 3);
        QCOMPARE(child<QComboBox>(&change, "cbUser")->currentText(), QStringLiteral("张三"));
        change.setUserName(QStringLiteral("alice"));
        QCOMPARE(child<QComboBox>(&change, "cbUser")->currentText(), QStringLiteral("alice"));
    }

    void changeRefusesMismatchAndWrongOldPassword_data()
    {
        QTest::addColumn<QString>("oldPassword");
        QTest::addColumn<QString>("new1");
        QTest::addColumn<QString>("new2");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("caption");
        QTest::newRow("mismatch") << "abc" << "one" << "two" << QStringLiteral("密码两次输入不一致！")
                                  << QStringLiteral("提示");
        QTest::newRow("wrong old") << "abd" << "new" << "new" << QStringLiteral("用户名或密码输入有错误，请重新输入.")
                                   << QStringLiteral("密码错误");
        // The old password is taken as typed: surrounding spaces make it wrong.
        QTest::newRow("old with spaces") << " abc" << "new" << " new " << QStringLiteral("用户名或密码输入有错误，请重新输入.")
                                         << QStringLiteral("密码错误");
    }
    void changeRefusesMismatchAndWrongOldPassword()
    {
        QFETCH(QString, oldPassword);
        QFETCH(QString, new1);
        QFETCH(QString, new2);
        QFETCH(QString, text);
        QFETCH(QString, caption);
        test::TestData data;
        QVERIFY(data.open());
        QCOMPARE(UserStore(data.db()).changePassword(admin, QString(), QStringLiteral("abc")),
                 UserStore::ChangeResult::Changed);
        PasswordDialog change(*data.core, admin);
        change.show();
        QVERIFY(QTest::qWaitForWindowActive(&change));
        auto *old = child<QLineEdit>(&change, "edtOldPassword");
        typeText(old, oldPassword);
        typeText(child<QLineEdit>(&change, "edtNewPassword1"), new1);
        typeText(child<QLineEdit>(&change, "edtNewPassword2"), new2);
        child<QPushButton>(&change, "btModify")->click();

        QCOMPARE(data.dialogs.texts(), QStringList{text});
        QCOMPARE(data.dialogs.lastCaption(), caption);
        QCOMPARE(storedPassword(data, admin), users::passwordHash(QStringLiteral("abc")));
        if (caption == QStringLiteral("密码错误")) {
            QVERIFY(old->text().isEmpty());
            QVERIFY(old->hasFocus());
        }
    }

    void changeSucceedsThenReportsMismatchOnSecondPress()
    {
        test::TestData data;
        QVERIFY(data.open());
        QCOMPARE(UserStore(data.db()).changePassword(admin, QString(), QStringLiteral("abc")),
                 UserStore::ChangeResult::Changed);
        PasswordDialog change(*data.core, admin);
        change.show();
        auto *new1 = child<QLineEdit>(&change, "edtNewPassword1");
        auto *new2 = child<QLineEdit>(&change, "edtNewPassword2");
        typeText(child<QLineEdit>(&change, "edtOldPassword"), QStringLiteral("abc"));
        typeText(new1, QStringLiteral(" 新密码 "));
        typeText(new2, QStringLiteral("新密码"));
        child<QPushButton>(&change, "btModify")->click();

        QCOMPARE(data.dialogs.texts(), QStringList{QStringLiteral("密码修改成功,请牢记新密码。")});
        QCOMPARE(data.dialogs.lastCaption(), QStringLiteral("消息"));
        QCOMPARE(storedPassword(data, admin), users::passwordHash(QStringLiteral("新密码")));
        QCOMPARE(new1->text().size(), 15);
        QCOMPARE(new2->text().size(), 15);
        QVERIFY(new1->text().trimmed() != new2->text().trimmed());

        data.dialogs.clear();
        child<QPushButton>(&change, "btModify")->click();
        QCOMPARE(data.dialogs.texts(), QStringList{QStringLiteral("密码两次输入不一致！")});
        QCOMPARE(storedPassword(data, admin), users::passwordHash(QStringLiteral("新密码")));
    }

    void manageGridShowsUsers()
    {
        test::TestData data;
        QVERIFY(data.open());
        addUser(data, QStringLiteral("alice"), QStringLiteral("x"));
        UserManagerWindow window(*data.core);
        window.show();
        QCOMPARE(window.windowTitle(), QStringLiteral("用户及权限管理"));
        auto *grid = child<QTableView>(&window, "gridUsers");
        QCOMPARE(grid->selectionMode(), QAbstractItemView::ExtendedSelection);
        QStringList titles;
        for (int c = 0; c < grid->model()->columnCount(); ++c)
            if (!grid->isColumnHidden(c))
                titles << grid->model()->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(titles, (QStringList{QStringLiteral("用户名"), QStringLiteral("操作角色"),
                                      QStringLiteral("最后登录时间"), QStringLiteral("备注")}));
        QCOMPARE(grid->model()->rowCount(), 2);
        QVERIFY(gridRow(grid, QStringLiteral("alice")) >= 0);
        QVERIFY(grid->selectionModel()->selectedRows().isEmpty());

        // The edit area follows the current row.
        grid->selectRow(gridRow(grid, QStringLiteral("alice")));
        QCOMPARE(child<QLineEdit>(&window, "edtUserName")->text(), QStringLiteral("alice"));
        QCOMPARE(child<QComboBox>(&window, "cbRole")->currentText(), QStringLiteral("录单员"));
        QVERIFY(child<QLineEdit>(&window, "edtPassword")->isReadOnly());
    }

    void deleteAndResetNeedSelectionAndConfirmation_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QStringList>("captions");
        const QString deleteAsk = QStringLiteral("用户删除将无法找回，用户处理的订单等数据并不会删除，确认删除这些用户吗？");
        const QString resetAsk = QStringLiteral("确定要重置选中用户的密码为空吗？");
        const QString tip = QStringLiteral("提示");
        QTest::newRow("delete nothing selected")
            << "btDelete" << 0 << true << QStringList{QStringLiteral("没有选中任何要删除的用户")} << QStringList{tip};
        QTest::newRow("delete answered no")
            << "btDelete" << 2 << false << QStringList{deleteAsk} << QStringList{QStringLiteral("删除确认")};
        QTest::newRow("delete two") << "btDelete" << 2 << true
                                    << QStringList{deleteAsk, QStringLiteral("2个用户删除成功！")}
                                    << QStringList{QStringLiteral("删除确认"), tip};
        QTest::newRow("reset nothing selected")
            << "btResetPassword" << 0 << true << QStringList{QStringLiteral("没有选中任何重置的用户")}
            << QStringList{tip};
        QTest::newRow("reset answered no")
            << "btResetPassword" << 2 << false << QStringList{resetAsk} << QStringList{QStringLiteral("确认")};
        QTest::newRow("reset two") << "btResetPassword" << 2 << true
                                   << QStringList{resetAsk, QStringLiteral("2个用户密码重置成功！")}
                                   << QStringList{QStringLiteral("确认"), tip};
    }
    void deleteAndResetNeedSelectionAndConfirmation()
    {
        QFETCH(QString, button);
        QFETCH(int, selected);
        QFETCH(bool, answer);
        QFETCH(QStringList, texts);
        QFETCH(QStringList, captions);
        test::TestData data;
        QVERIFY(data.open());
        const QStringList names{QStringLiteral("u1"), QStringLiteral("u2"), QStringLiteral("u3")};
        for (const QString &name : names)
            addUser(data, name, QStringLiteral("pw"));
        const QString hash = users::passwordHash(QStringLiteral("pw"));

        UserManagerWindow window(*data.core);
        window.show();
        auto *grid = child<QTableView>(&window, "gridUsers");
        for (int i = 0; i < selected; ++i)
            ctrlClickRow(grid, gridRow(grid, names[i]));
        QCOMPARE(grid->selectionModel()->selectedRows().size(), selected);
        data.dialogs.answers << answer;
        child<QPushButton>(&window, button.toLatin1().constData())->click();

        QCOMPARE(data.dialogs.texts(), texts);
        QStringList shownCaptions;
        for (const auto &s : data.dialogs.shown)
            shownCaptions << s.caption;
        QCOMPARE(shownCaptions, captions);

        const bool changed = selected > 0 && answer;
        const bool deleting = button == QStringLiteral("btDelete");
        QCOMPARE(userCount(data), changed && deleting ? 2 : 4);
        QCOMPARE(grid->model()->rowCount(), userCount(data));
        for (int i = 0; i < names.size(); ++i) {
            const bool touched = changed && i < selected;
            if (deleting)
                QCOMPARE(gridRow(grid, names[i]) >= 0, !touched);
            else
                QCOMPARE(storedPassword(data, names[i]), touched ? QString("") : hash);
        }
        QCOMPARE(storedPassword(data, admin), QString(""));
    }

    void addStoresUserWithEmptyPassword_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("quotes and percent") << "O'Brien 100%" << QString();
        QTest::newRow("chinese") << QStringLiteral("张三") << QString();
        QTest::newRow("empty") << "  " << QStringLiteral("用户名不能为空，请输入用户名！");
        QTest::newRow("existing") << QStringLiteral("管理员") << QStringLiteral("该用户名已经存在，请换一个用户名！");
    }
    void addStoresUserWithEmptyPassword()
    {
        QFETCH(QString, name);
        QFETCH(QString, refusal);
        test::TestData data;
        QVERIFY(data.open());
        UserManagerWindow window(*data.core);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto *userName = child<QLineEdit>(&window, "edtUserName");
        QCOMPARE(userName->text(), admin);
        child<QPushButton>(&window, "btAdd")->click();
        QVERIFY(userName->text().isEmpty());
        QVERIFY(userName->hasFocus());
        typeText(userName, name);
        child<QComboBox>(&window, "cbRole")->setCurrentIndex(1);
        typeText(child<QLineEdit>(&window, "edtRemark"), QStringLiteral("新来的"));
        child<QPushButton>(&window, "btPost")->click();

        auto *grid = child<QTableView>(&window, "gridUsers");
        if (!refusal.isEmpty()) {
            QCOMPARE(data.dialogs.texts(), QStringList{refusal});
            QCOMPARE(userCount(data), 1);
            return;
        }
        QVERIFY(data.dialogs.shown.isEmpty());
        QCOMPARE(userCount(data), 2);
        QVERIFY(gridRow(grid, name) >= 0);
        QCOMPARE(data.scalar(QStringLiteral("select RoleName || '|' || Remark || '|' || Passwd from UserTable where "
                                            "UserName=?"),
                             {name})
                     .toString(),
                 QStringLiteral("订单处理员|新来的|"));
        // The new user is current after the reload.
        QCOMPARE(userName->text(), name);

        LoginDialog login(*data.core);
        login.show();
        auto *user = child<QComboBox>(&login, "cbUser");
        user->setCurrentIndex(user->findText(name));
        QTest::keyClick(child<QLineEdit>(&login, "edtPassword"), Qt::Key_Return);
        QCOMPARE(data.core->session().currentUserName, name);
    }

    void editChangesCurrentRowAndKeepsPassword()
    {
        test::TestData data;
        QVERIFY(data.open());
        addUser(data, QStringLiteral("alice"), QStringLiteral("pw"));
        UserManagerWindow window(*data.core);
        window.show();
        auto *grid = child<QTableView>(&window, "gridUsers");
        grid->selectRow(gridRow(grid, QStringLiteral("alice")));
        child<QPushButton>(&window, "btEdit")->click();
        auto *userName = child<QLineEdit>(&window, "edtUserName");
        userName->setText(QStringLiteral("alice'2"));
        auto *remark = child<QLineEdit>(&window, "edtRemark");
        typeText(remark, QStringLiteral("夜班"));
        child<QPushButton>(&window, "btPost")->click();

        QVERIFY(data.dialogs.shown.isEmpty());
        QCOMPARE(userCount(data), 2);
        QCOMPARE(storedPassword(data, QStringLiteral("alice'2")), users::passwordHash(QStringLiteral("pw")));
        QCOMPARE(data.scalar(QStringLiteral("select Remark from UserTable where UserName=?"), {QStringLiteral("alice'2")})
                     .toString(),
                 QStringLiteral("夜班"));
        QVERIFY(gridRow(grid, QStringLiteral("alice'2")) >= 0);

        // Renaming onto another user is refused and changes nothing.
        grid->selectRow(gridRow(grid, QStringLiteral("alice'2")));
        child<QPushButton>(&window, "btEdit")->click();
        userName->setText(admin);
        child<QPushButton>(&window, "btPost")->click();
        QCOMPARE(data.dialogs.texts(), QStringList{QStringLiteral("该用户名已经存在，请换一个用户名！")});
        QCOMPARE(data.scalar(QStringLiteral("select count(*) from UserTable where UserName=?"), {admin}).toInt(), 1);
    }

    void changePasswordOpensForCurrentUserAndReloads()
    {
        test::TestData data;
        QVERIFY(data.open());
        addUser(data, QStringLiteral("alice"), QString());
        UserManagerWindow window(*data.core);
        window.show();
        auto *grid = child<QTableView>(&window, "gridUsers");
        grid->selectRow(gridRow(grid, QStringLiteral("alice")));
        QVERIFY(child<QLineEdit>(&window, "edtPassword")->text().isEmpty());

        QString presetUser;
        bool shownModal = false;
        QTimer::singleShot(0, &window, [&] {
            auto *change = window.findChild<PasswordDialog *>();
            QVERIFY(change);
            shownModal = change->isVisible() && change->isModal();
            presetUser = child<QComboBox>(change, "cbUser")->currentText();
            typeText(child<QLineEdit>(change, "edtNewPassword1"), QStringLiteral("pw"));
            typeText(child<QLineEdit>(change, "edtNewPassword2"), QStringLiteral("pw"));
            child<QPushButton>(change, "btModify")->click();
            child<QPushButton>(change, "btClose")->click();
        });
        child<QPushButton>(&window, "btChangePassword")->click();

        QVERIFY(shownModal);
        QCOMPARE(presetUser, QStringLiteral("alice"));
        QCOMPARE(data.dialogs.texts(), QStringList{QStringLiteral("密码修改成功,请牢记新密码。")});
        QCOMPARE(storedPassword(data, QStringLiteral("alice")), users::passwordHash(QStringLiteral("pw")));
        // Reloaded: the edit area shows that the still current user has a password now.
        QCOMPARE(child<QLineEdit>(&window, "edtUserName")->text(), QStringLiteral("alice"));
        QVERIFY(!child<QLineEdit>(&window, "edtPassword")->text().isEmpty());
    }
};

QTEST_MAIN(TestUsersWindows)
#include "test_users_windows.moc"
