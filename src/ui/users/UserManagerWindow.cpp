#include "users/UserManagerWindow.h"

#include "app/AppCore.h"
#include "common/Dialogs.h"
#include "store/SqlListModel.h"
#include "users/PasswordDialog.h"
#include "users/UserStore.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlError>
#include <QTableView>
#include <QVBoxLayout>

namespace moque::ui {

using users::UserStore;

namespace {

const QString idField = QStringLiteral("ID");

// Grid columns shown, with their titles; every other column is hidden.
const QList<QPair<QString, QString>> &shownColumns()
{
    static const QList<QPair<QString, QString>> columns = {
        {QStringLiteral("UserName"), QStringLiteral("用户名")},
        {QStringLiteral("RoleName"), QStringLiteral("操作角色")},
        {QStringLiteral("lastlogin"), QStringLiteral("最后登录时间")},
        {QStringLiteral("Remark"), QStringLiteral("备注")},
    };
    return columns;
}

QPushButton *button(const QString &text, const QString &name, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    return b;
}

} // namespace

UserManagerWindow::UserManagerWindow(moque::app::AppCore &core, QWidget *parent)
    : QDialog(parent)
    , m_core(core)
{
    // The window keeps the form name the system knows it by.
    setObjectName(QStringLiteral("frmUserManage"));
    setObjectName(QStringLiteral("frmUserManage"));
    setWindowTitle(QStringLiteral("用户及权限管理"));

    m_model = new SqlListModel(this);
    m_model->setSource(core.db(), users::userListStatement(), {}, QStringLiteral("UserTable"), idField);

    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("gridUsers"));
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setMinimumHeight(180);

    m_userName = new QLineEdit(this);
    m_userName->setObjectName(QStringLiteral("edtUserName"));
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("edtPassword"));
    // Tells whether a password is set; its digest means nothing to a reader.
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setPlaceholderText(QStringLiteral("(空)"));
    m_password->setReadOnly(true);
    m_role = new QComboBox(this);
    m_role->setObjectName(QStringLiteral("cbRole"));
    m_role->setEditable(true);
    m_role->setInsertPolicy(QComboBox::NoInsert);
    m_role->addItems(users::offeredRoles());
    m_remark = new QLineEdit(this);
    m_remark->setObjectName(QStringLiteral("edtRemark"));

    auto *editBox = new QGroupBox(QStringLiteral("用户信息"), this);
    auto *edit = new QGridLayout(editBox);
    edit->addWidget(new QLabel(QStringLiteral("用户名："), editBox), 0, 0);
    edit->addWidget(m_userName, 0, 1);
    edit->addWidget(new QLabel(QStringLiteral("密码："), editBox), 0, 2);
    edit->addWidget(m_password, 0, 3);
    edit->addWidget(new QLabel(QStringLiteral("角色："), editBox), 1, 0);
    edit->addWidget(m_role, 1, 1);
    edit->addWidget(new QLabel(QStringLiteral("备注："), editBox), 1, 2);
    edit->addWidget(m_remark, 1, 3);
    edit->setColumnStretch(1, 1);
    edit->setColumnStretch(3, 1);

    QPushButton *add = button(QStringLiteral("添加"), QStringLiteral("btAdd"), this);
    QPushButton *modify = button(QStringLiteral("修改"), QStringLiteral("btEdit"), this);
    QPushButton *post = button(QStringLiteral("提交刷新"), QStringLiteral("btPost"), this);
    QPushButton *remove = button(QStringLiteral("删除选中"), QStringLiteral("btDelete"), this);
    QPushButton *reset = button(QStringLiteral("重置密码"), QStringLiteral("btResetPassword"), this);
    QPushButton *change = button(QStringLiteral("修改密码"), QStringLiteral("btChangePassword"), this);
    QPushButton *close = button(QStringLiteral("关闭"), QStringLiteral("btClose"), this);
    // Enter in the edit area stores the edit.
    post->setDefault(true);

    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {add, modify, post, remove, reset, change})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addWidget(editBox);
    layout->addLayout(buttons);
    setMinimumSize(680, 420);

    connect(add, &QPushButton::clicked, this, &UserManagerWindow::addEntry);
    connect(modify, &QPushButton::clicked, this, &UserManagerWindow::editEntry);
    connect(post, &QPushButton::clicked, this, &UserManagerWindow::saveUser);
    connect(remove, &QPushButton::clicked, this, &UserManagerWindow::deleteEntry);
    connect(reset, &QPushButton::clicked, this, &UserManagerWindow::resetPassword);
    connect(change, &QPushButton::clicked, this, &UserManagerWindow::changePassword);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
        if (m_mode == Mode::Browse)
            bindCurrentRow();
    });

    reload();
}

void UserManagerWindow::applyColumns()
{
    for (int c = 0; c < m_model->columnCount(); ++c)
        m_grid->setColumnHidden(c, true);
    for (const auto &[field, title] : shownColumns()) {
        const int c = m_model->fieldIndex(field);
        if (c < 0)
            continue;
        m_model->setHeaderData(c, Qt::Horizontal, title);
        m_grid->setColumnHidden(c, false);
        m_grid->setColumnWidth(c, 140);
    }
}

void UserManagerWindow::reload(int currentId)
{
    if (currentId < 0)
        currentId = this->currentId();
    if (!m_model->refresh())
        m_core.dialogs().error(QStringLiteral("数据库访问出错，请确认系统的完整性未被破坏~") + QLatin1Char('\n')
                               + m_model->lastError().text());
    applyColumns();
    int row = 0;
    for (int r = 0; r < m_model->rowCount(); ++r) {
        if (m_model->fieldValue(r, idField).toInt() == currentId) {
            row = r;
            break;
        }
    }
    // Only rows the user picks count as selected: the current row alone is not.
    m_grid->selectionModel()->clearSelection();
    if (m_model->rowCount() > 0)
        m_grid->selectionModel()->setCurrentIndex(m_model->index(row, m_model->fieldIndex(QStringLiteral("UserName"))),
                                                  QItemSelectionModel::NoUpdate);
    setMode(Mode::Browse);
}

void UserManagerWindow::setMode(Mode mode)
{
    m_mode = mode;
    const bool editing = mode != Mode::Browse;
    m_userName->setReadOnly(!editing);
    m_remark->setReadOnly(!editing);
    m_role->setEnabled(editing);
    if (mode == Mode::Browse)
        bindCurrentRow();
}

int UserManagerWindow::currentRow() const
{
    const QModelIndex current = m_grid->selectionModel()->currentIndex();
    return current.isValid() ? current.row() : -1;
}

int UserManagerWindow::currentId() const
{
    const int row = currentRow();
    return row < 0 ? -1 : m_model->fieldValue(row, idField).toInt();
}

void UserManagerWindow::bindCurrentRow()
{
    const int row = currentRow();
    auto value = [&](const char *field) {
        return row < 0 ? QString() : m_model->fieldValue(row, QString::fromLatin1(field)).toString();
    };
    m_userName->setText(value("UserName"));
    m_password->setText(value("Passwd").isEmpty() ? QString() : QStringLiteral("******"));
    m_role->setEditText(value("RoleName"));
    m_remark->setText(value("Remark"));
}

QList<int> UserManagerWindow::selectedIds() const
{
    QList<int> ids;
    for (const QModelIndex &index : m_grid->selectionModel()->selectedRows())
        ids << m_model->fieldValue(index.row(), idField).toInt();
    return ids;
}

void UserManagerWindow::addEntry()
{
    setMode(Mode::Add);
    m_editId = 0;
    m_userName->clear();
    m_password->clear();
    m_role->setEditText(QString());
    m_remark->clear();
    m_userName->setFocus();
}

void UserManagerWindow::editEntry()
{
    const int id = currentId();
    if (id < 0) {
        m_core.dialogs().info(QStringLiteral("请先选择要修改的用户"));
        return;
    }
    bindCurrentRow();
    setMode(Mode::Edit);
    m_editId = id;
    m_userName->setFocus();
    m_userName->selectAll();
}

void UserManagerWindow::saveUser()
{
    if (m_mode == Mode::Browse) {
        reload();
        return;
    }
    UserStore store(m_core.db());
    QString error;
    int id = m_editId;
    const UserStore::EditResult result =
        m_mode == Mode::Add ? store.addUser(m_userName->text(), m_role->currentText(), m_remark->text(), &id, &error)
                            : store.updateUser(m_editId, m_userName->text(), m_role->currentText(), m_remark->text(),
                                               &error);
    if (result != UserStore::EditResult::Stored) {
        m_core.dialogs().warning(UserStore::editFailureText(result, error), QStringLiteral("提示"));
        m_userName->setFocus();
        return;
    }
    reload(id);
}

void UserManagerWindow::deleteEntry()
{
    Dialogs &dialogs = m_core.dialogs();
    const QList<int> ids = selectedIds();
    if (ids.isEmpty()) {
        dialogs.info(QStringLiteral("没有选中任何要删除的用户"), QStringLiteral("提示"));
        return;
    }
    if (!dialogs.ask(QStringLiteral("用户删除将无法找回，用户处理的订单等数据并不会删除，确认删除这些用户吗？"),
                     QStringLiteral("删除确认"), Dialogs::Icon::Question))
        return;
    QString error;
    const int n = UserStore(m_core.db()).deleteUsers(ids, &error);
    if (n < 0)
        dialogs.error(QStringLiteral("用户删除失败，错误=") + error);
    else
        dialogs.info(QString::number(n) + QStringLiteral("个用户删除成功！"));
    reload();
}

void UserManagerWindow::resetPassword()
{
    Dialogs &dialogs = m_core.dialogs();
    const QList<int> ids = selectedIds();
    if (ids.isEmpty()) {
        dialogs.info(QStringLiteral("没有选中任何重置的用户"), QStringLiteral("提示"));
        return;
    }
    if (!dialogs.ask(QStringLiteral("确定要重置选中用户的密码为空吗？"), QStringLiteral("确认"),
                     Dialogs::Icon::Question))
        return;
    QString error;
    const int n = UserStore(m_core.db()).resetPasswords(ids, &error);
    if (n < 0)
        dialogs.error(QStringLiteral("密码重置失败，错误=") + error);
    else
        dialogs.info(QString::number(n) + QStringLiteral("个用户密码重置成功！"));
    reload();
}

void UserManagerWindow::changePassword()
{
    const int row = currentRow();
    const QString name = row < 0 ? QString() : m_model->fieldValue(row, QStringLiteral("UserName")).toString();
    // Created once and kept, like the system's password window.
    if (m_passwordWindow)
        m_passwordWindow->setUserName(name);
    else
        m_passwordWindow = new PasswordDialog(m_core, name, this);
    m_passwordWindow->exec();
    reload();
}

} // namespace moque::ui
