#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTableView;

namespace moque {
class SqlListModel;
}
namespace moque::app {
class AppCore;
}

namespace moque::ui {

class PasswordDialog;

// The user management window ("用户及权限管理"): the user grid with an edit
// area bound to its current row, deletion, password reset and change.
class UserManagerWindow : public QDialog
{
    Q_OBJECT
public:
    explicit UserManagerWindow(moque::app::AppCore &core, QWidget *parent = nullptr);

    // Lists the users again and makes the user with the ID current (the first
    // row when missing); the edit area returns to browsing.
    void reload(int currentId = -1);

private Q_SLOTS:
    void addEntry();
    void editEntry();
    void saveUser();
    void deleteEntry();
    void resetPassword();
    void changePassword();

private:
    // Browsing shows the current row; adding and editing let the area be typed in.
    enum class Mode { Browse, Add, Edit };

    void setMode(Mode mode);
    void bindCurrentRow();
    int currentRow() const;
    int currentId() const;
    QList<int> selectedIds() const;
    void applyColumns();

    moque::app::AppCore &m_core;
    SqlListModel *m_model = nullptr;
    QTableView *m_grid = nullptr;
    QLineEdit *m_userName = nullptr;
    QLineEdit *m_password = nullptr;
    QComboBox *m_role = nullptr;
    QLineEdit *m_remark = nullptr;
    PasswordDialog *m_passwordWindow = nullptr;
    Mode m_mode = Mode::Browse;
    int m_editId = 0;
};

} // namespace moque::ui
