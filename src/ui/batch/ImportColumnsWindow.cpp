#include "batch/ImportColumnsWindow.h"

#include "app/AppCore.h"
#include "batch/ColumnMatching.h"
#include "common/Dialogs.h"
#include "dialogs/CommandButton.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace moque::ui {

using batch::MatchColumnStore;

namespace {

const QString caption = QStringLiteral("导入列匹配-设置");
constexpr int showOrdRole = Qt::UserRole + 1;

} // namespace

ImportColumnsWindow::ImportColumnsWindow(app::AppCore &core, QWidget *parent) : QDialog(parent), m_core(core)
{
    setObjectName(QStringLiteral("frmImportColumnCfg"));
    setWindowTitle(caption);

    m_model = new QStandardItemModel(0, 3, this);
    m_model->setHorizontalHeaderLabels(
        {QStringLiteral("ID"), QStringLiteral("项目名"), QStringLiteral("Excel/CSV源列名")});
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("gridColumns"));
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 8);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setColumnWidth(0, 50);
    m_grid->setColumnWidth(1, 110);

    m_showOrd = new QLineEdit(this);
    m_showOrd->setObjectName(QStringLiteral("edtShowOrd"));
    m_showOrd->setMaximumWidth(120);
    m_itemName = new QLineEdit(this);
    m_itemName->setObjectName(QStringLiteral("edtItemName"));
    m_itemName->setReadOnly(true);
    m_aliases = new QLineEdit(this);
    m_aliases->setObjectName(QStringLiteral("edtSourceName"));
    m_aliases->setMaxLength(200);
    auto *hint = new QLabel(QStringLiteral("提示：多个列名以逗号分隔(例如： 联系人,收货人,收件人 ) 。"), this);
    hint->setObjectName(QStringLiteral("lbHint"));

    QPushButton *submitButton = commandButton(QStringLiteral("提交修改"), QStringLiteral("btSubmit"), this);
    m_add = commandButton(QStringLiteral("添加"), QStringLiteral("btAdd"), this);
    m_remove = commandButton(QStringLiteral("删除"), QStringLiteral("btDelete"), this);
    m_add->hide();
    m_remove->hide();
    QPushButton *closeButton = commandButton(QStringLiteral("关 闭"), QStringLiteral("btClose"), this);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("顺序号:"), m_showOrd);
    form->addRow(QStringLiteral("项目名:"), m_itemName);
    form->addRow(QStringLiteral("Excel/CSV源列名:"), m_aliases);
    form->addRow(QString(), hint);
    auto *commands = new QHBoxLayout;
    commands->addWidget(m_add);
    commands->addWidget(m_remove);
    commands->addStretch(1);
    commands->addWidget(submitButton);
    commands->addWidget(closeButton);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(form);
    layout->addLayout(commands);
    resize(640, 520);

    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &ImportColumnsWindow::showCurrent);
    connect(m_showOrd, &QLineEdit::textEdited, this, &ImportColumnsWindow::showOrdChanged);
    connect(submitButton, &QPushButton::clicked, this, &ImportColumnsWindow::submit);
    connect(m_add, &QPushButton::clicked, this, &ImportColumnsWindow::addRow);
    connect(m_remove, &QPushButton::clicked, this, &ImportColumnsWindow::removeRow);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);

    reload();
}

void ImportColumnsWindow::reload(int selectId)
{
    m_model->removeRows(0, m_model->rowCount());
    int selectRow = 0;
    for (const batch::AliasRow &row : MatchColumnStore(m_core.db()).rows()) {
        auto *id = new QStandardItem(QString::number(row.id));
        id->setData(row.id, Qt::UserRole);
        id->setData(row.showOrd, showOrdRole);
        if (row.id == selectId)
            selectRow = m_model->rowCount();
        m_model->appendRow({id, new QStandardItem(row.itemName), new QStandardItem(row.sourceName)});
    }
    if (m_model->rowCount() > 0)
        m_grid->setCurrentIndex(m_model->index(selectRow, 0));
    else
        showCurrent();
}

int ImportColumnsWindow::currentId() const
{
    const QModelIndex current = m_grid->currentIndex();
    return current.isValid() ? m_model->index(current.row(), 0).data(Qt::UserRole).toInt() : 0;
}

bool ImportColumnsWindow::maintenance() const
{
    return MatchColumnStore::isMaintenanceCode(m_showOrd->text());
}

void ImportColumnsWindow::showCurrent()
{
    const QModelIndex current = m_grid->currentIndex();
    const int row = current.row();
    // The maintenance code stays while the user moves from row to row.
    if (!maintenance())
        m_showOrd->setText(current.isValid() ? m_model->index(row, 0).data(showOrdRole).toString() : QString());
    m_itemName->setText(current.isValid() ? m_model->index(row, 1).data().toString() : QString());
    m_aliases->setText(current.isValid() ? m_model->index(row, 2).data().toString() : QString());
}

void ImportColumnsWindow::showOrdChanged(const QString &text)
{
    const bool on = MatchColumnStore::isMaintenanceCode(text);
    m_add->setVisible(on);
    m_remove->setVisible(on);
    m_itemName->setReadOnly(!on);
}

void ImportColumnsWindow::submit()
{
    const int id = currentId();
    if (id == 0 || m_itemName->text().trimmed().isEmpty())
        return;
    const MatchColumnStore store(m_core.db());
    QString error;
    if (!store.changeAliases(id, m_aliases->text(), &error)) {
        m_core.dialogs().info(error);
        if (error == MatchColumnStore::emptyAliasesMessage())
            m_aliases->setFocus();
        return;
    }
    if (maintenance() && !store.renameItem(id, m_itemName->text(), &error)) {
        m_core.dialogs().error(error, caption);
        return;
    }
    reload(id);
}

void ImportColumnsWindow::addRow()
{
    QString error;
    const int id = MatchColumnStore(m_core.db()).addRow(m_itemName->text(), m_aliases->text(), &error);
    if (id < 0) {
        m_core.dialogs().error(error, caption);
        return;
    }
    reload(id);
}

void ImportColumnsWindow::removeRow()
{
    const int id = currentId();
    if (id == 0)
        return;
    QString error;
    if (!MatchColumnStore(m_core.db()).removeRow(id, &error)) {
        m_core.dialogs().error(error, caption);
        return;
    }
    reload();
}

} // namespace moque::ui
