#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace moque::app {
class AppCore;
}

namespace moque::ui {

// The password change window ("更改系统登录密码"): the old password once, the
// new one twice.
class PasswordDialog : public QDialog
{
    Q_OBJECT
public:
    explicit PasswordDialog(moque::app::AppCore &core, const QString &userName = {}, QWidget *parent = nullptr);

    // Lists the user names again and picks the user (the first when missing);
    // the password boxes are emptied.
    void setUserName(const QString &userName);

private Q_SLOTS:
    void saveChange();

private:
    moque::app::AppCore &m_core;
    QComboBox *m_user = nullptr;
    QLineEdit *m_oldPassword = nullptr;
    QLineEdit *m_newPassword1 = nullptr;
    QLineEdit *m_newPassword2 = nullptr;
    QPushButton *m_modify = nullptr;
    QPushButton *m_close = nullptr;
};

} // namespace moque::ui
