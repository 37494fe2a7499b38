#include "users/PasswordDialog.h"

#include "app/AppCore.h"
#include "common/Dialogs.h"
#include "users/UserStore.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace moque::ui {

using users::UserStore;

namespace {

QLineEdit *passwordBox(const QString &name, QWidget *parent)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setEchoMode(QLineEdit::Password);
    return box;
}

} // namespace

PasswordDialog::PasswordDialog(moque::app::AppCore &core, const QString &userName, QWidget *parent)
    : QDialog(parent)
    , m_core(core)
{
    // The window keeps the form name the system knows it by.
    setObjectName(QStringLiteral("frmModifyPassword"));
    setObjectName(QStringLiteral("frmModifyPassword"));
    setWindowTitle(QStringLiteral("更改系统登录密码"));

    m_user = new QComboBox(this);
    m_user->setObjectName(QStringLiteral("cbUser"));
    m_user->setMinimumWidth(200);
    m_oldPassword = passwordBox(QStringLiteral("edtOldPassword"), this);
    m_newPassword1 = passwordBox(QStringLiteral("edtNewPassword1"), this);
    m_newPassword2 = passwordBox(QStringLiteral("edtNewPassword2"), this);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("用户名："), m_user);
    form->addRow(QStringLiteral("原密码："), m_oldPassword);
    form->addRow(QStringLiteral("新密码："), m_newPassword1);
    form->addRow(QStringLiteral("确认新密码："), m_newPassword2);

    m_modify = new QPushButton(QStringLiteral("修改"), this);
    m_modify->setObjectName(QStringLiteral("btModify"));
    m_close = new QPushButton(QStringLiteral("关闭"), this);
    m_close->setObjectName(QStringLiteral("btClose"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_modify);
    buttons->addWidget(m_close);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setMinimumWidth(340);

    connect(m_modify, &QPushButton::clicked, this, &PasswordDialog::saveChange);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);

    setUserName(userName);
}

void PasswordDialog::setUserName(const QString &userName)
{
    QStringList names;
    if (!UserStore(m_core.db()).userNames(&names))
        m_core.dialogs().error(QStringLiteral("数据库访问出错，请确认系统的完整性未被破坏~"));
    m_user->clear();
    m_user->addItems(names);
    m_user->setCurrentIndex(qMax(0, int(names.indexOf(userName))));
    m_oldPassword->clear();
    m_newPassword1->clear();
    m_newPassword2->clear();
    m_oldPassword->setFocus();
}

void PasswordDialog::saveChange()
{
    Dialogs &dialogs = m_core.dialogs();
    if (!users::newPasswordsAgree(m_newPassword1->text(), m_newPassword2->text())) {
        dialogs.info(QStringLiteral("密码两次输入不一致！"));
        m_newPassword1->setFocus();
        return;
    }
    QString error;
    const UserStore::ChangeResult result =
        UserStore(m_core.db()).changePassword(m_user->currentText(), m_oldPassword->text(), m_newPassword1->text(),
                                              &error);
    switch (result) {
    case UserStore::ChangeResult::WrongOldPassword:
        dialogs.warning(QStringLiteral("用户名或密码输入有错误，请重新输入."), QStringLiteral("密码错误"));
        m_oldPassword->clear();
        m_oldPassword->setFocus();
        break;
    case UserStore::ChangeResult::Changed:
        dialogs.info(QStringLiteral("密码修改成功,请牢记新密码。"), QStringLiteral("消息"));
        // Two different fillers: pressing 修改 again reports the mismatch
        // instead of storing the same password a second time.
        m_newPassword1->setText(QString(15, QLatin1Char('1')));
        m_newPassword2->setText(QString(15, QLatin1Char('2')));
        break;
    case UserStore::ChangeResult::DatabaseError:
        dialogs.error(QStringLiteral("密码修改失败，错误=") + error);
        break;
    }
}

} // namespace moque::ui
