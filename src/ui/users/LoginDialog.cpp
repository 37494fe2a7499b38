#include "users/LoginDialog.h"

#include "app/AppCore.h"
#include "common/Dialogs.h"
#include "users/UserStore.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace moque::ui {

using users::UserStore;

LoginDialog::LoginDialog(moque::app::AppCore &core, QWidget *parent)
    : QDialog(parent)
    , m_core(core)
{
    // The window keeps the form name the system knows it by.
    setObjectName(QStringLiteral("frmUserLogin"));
    setObjectName(QStringLiteral("frmUserLogin"));
    setWindowTitle(QStringLiteral("操作员切换及登录"));

    m_user = new QComboBox(this);
    m_user->setObjectName(QStringLiteral("cbUser"));
    m_user->setEditable(true);
    // Typing a name must not add it to the list.
    m_user->setInsertPolicy(QComboBox::NoInsert);
    m_user->setMinimumWidth(200);

    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("edtPassword"));
    m_password->setEchoMode(QLineEdit::Password);

    auto *note = new QLabel(QStringLiteral("(*初始密码为空)"), this);
    note->setObjectName(QStringLiteral("lbNote"));

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("用户名："), m_user);
    form->addRow(QStringLiteral("密  码："), m_password);
    form->addRow(QString(), note);

    m_login = new QPushButton(QStringLiteral("登录"), this);
    m_login->setObjectName(QStringLiteral("btLogin"));
    m_cancel = new QPushButton(QStringLiteral("取消"), this);
    m_cancel->setObjectName(QStringLiteral("btCancel"));
    // Enter logs in only from the password box, which handles it itself: no
    // button may also take Enter as the dialog's default.
    m_login->setAutoDefault(false);
    m_cancel->setAutoDefault(false);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_login);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);
    setMinimumWidth(320);

    connect(m_login, &QPushButton::clicked, this, &LoginDialog::logIn);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_password, &QLineEdit::returnPressed, this, &LoginDialog::logIn);
    connect(m_user->lineEdit(), &QLineEdit::returnPressed, m_password, [this] { m_password->setFocus(); });
}

bool LoginDialog::execLogin(moque::app::AppCore &core, QWidget *parent)
{
    LoginDialog window(core, parent);
    return window.exec() == QDialog::Accepted;
}

void LoginDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        loadUserNames();
}

void LoginDialog::loadUserNames()
{
    QStringList names;
    const bool ok = UserStore(m_core.db()).userNames(&names);
    m_user->clear();
    m_user->addItems(names);
    if (!names.isEmpty())
        m_user->setCurrentIndex(0);
    if (!ok)
        m_core.dialogs().error(QStringLiteral("数据库访问出错，请确认系统的完整性未被破坏~"));
    m_password->setFocus();
}

void LoginDialog::logIn()
{
    app::Session &session = m_core.session();
    const UserStore::Login result = UserStore(m_core.db()).login(m_user->currentText(), m_password->text());
    if (result.result == UserStore::LoginResult::Success) {
        session.currentUserName = result.userName;
        session.currentRoleName = result.roleName;
        m_password->clear();
        accept();
        return;
    }
    if (result.result == UserStore::LoginResult::EmptyName) {
        m_core.dialogs().info(UserStore::loginFailureText(result.result));
        m_user->setFocus();
        return;
    }
    session.currentUserName.clear();
    session.currentRoleName.clear();
    m_core.dialogs().warning(UserStore::loginFailureText(result.result), QStringLiteral("提示"));
    m_password->setFocus();
    m_password->selectAll();
}

} // namespace moque::ui
