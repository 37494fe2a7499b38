#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace moque::app {
class AppCore;
}

namespace moque::ui {

// The login window ("操作员切换及登录"): picks a user and checks the password.
// A successful login records the user and role in the session and accepts.
class LoginDialog : public QDialog
{
    Q_OBJECT
public:
    explicit LoginDialog(moque::app::AppCore &core, QWidget *parent = nullptr);

    // Shows the window modally; true when a user logged in.
    static bool execLogin(moque::app::AppCore &core, QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private Q_SLOTS:
    void logIn();

private:
    void loadUserNames();

    moque::app::AppCore &m_core;
    QComboBox *m_user = nullptr;
    QLineEdit *m_password = nullptr;
    QPushButton *m_login = nullptr;
    QPushButton *m_cancel = nullptr;
};

} // namespace moque::ui
