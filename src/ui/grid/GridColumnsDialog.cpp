#include "grid/GridColumnsDialog.h"

#include "common/Dialogs.h"
#include "grid/GridOperations.h"
#include "settings/UserSettings.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace moque::ui {

GridColumnsDialog::GridColumnsDialog(QTableView *grid, const QString &key, settings::UserSettings &settings,
                               Dialogs &dialogs, QWidget *parent)
    : QDialog(parent)
    , m_grid(grid)
    , m_key(key)
    , m_settings(settings)
    , m_dialogs(dialogs)
{
    // The window keeps the form name the system knows it by.
    setObjectName(QStringLiteral("frmGridConfig"));
    setObjectName(QStringLiteral("frmGridConfig"));
    setWindowTitle(QStringLiteral("表格栏目配置"));

    auto *group = new QGroupBox(QStringLiteral("表格数据列配置"), this);
    group->setObjectName(QStringLiteral("gbColumns"));
    m_shown = new QListWidget(group);
    m_shown->setObjectName(QStringLiteral("lstShown"));
    m_hidden = new QListWidget(group);
    m_hidden->setObjectName(QStringLiteral("lstHidden"));
    for (QListWidget *list : {m_shown, m_hidden})
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);

    auto *hide = new QPushButton(QStringLiteral("隐藏"), group);
    hide->setObjectName(QStringLiteral("btnHide"));
    connect(hide, &QPushButton::clicked, this, &GridColumnsDialog::hideSelected);
    auto *show = new QPushButton(QStringLiteral("显示"), group);
    show->setObjectName(QStringLiteral("btnShow"));
    connect(show, &QPushButton::clicked, this, &GridColumnsDialog::showSelected);

    auto *moves = new QVBoxLayout;
    moves->addStretch();
    moves->addWidget(hide);
    moves->addWidget(show);
    moves->addStretch();

    auto *columns = new QGridLayout(group);
    columns->addWidget(new QLabel(QStringLiteral("需要的数据列："), group), 0, 0);
    columns->addWidget(new QLabel(QStringLiteral("不需要的数据列："), group), 0, 2);
    columns->addWidget(m_shown, 1, 0);
    columns->addLayout(moves, 1, 1);
    columns->addWidget(m_hidden, 1, 2);

    auto *applyButton = new QPushButton(QStringLiteral("应用修改"), this);
    applyButton->setObjectName(QStringLiteral("btnApply"));
    connect(applyButton, &QPushButton::clicked, this, &GridColumnsDialog::apply);
    auto *close = new QPushButton(QStringLiteral("关 闭"), this);
    close->setObjectName(QStringLiteral("btnClose"));
    connect(close, &QPushButton::clicked, this, &GridColumnsDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(applyButton);
    buttons->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);

    // The header text is what the user knows a column by; the field name is what is matched.
    const QAbstractItemModel *model = m_grid->model();
    for (int c = 0; c < model->columnCount(); ++c) {
        auto *item = new QListWidgetItem(model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString());
        item->setData(Qt::UserRole, gridFieldName(m_grid, c));
        (m_grid->isColumnHidden(c) ? m_hidden : m_shown)->addItem(item);
    }
}

void GridColumnsDialog::showEvent(QShowEvent *event)
{
    FormFaceLoad(this, m_settings);
    QDialog::showEvent(event);
}

void GridColumnsDialog::done(int result)
{
    FormFaceSave(this, m_settings);
    QDialog::done(result);
}

void GridColumnsDialog::hideSelected()
{
    moveSelected(m_shown, m_hidden);
}

void GridColumnsDialog::showSelected()
{
    moveSelected(m_hidden, m_shown);
}

void GridColumnsDialog::moveSelected(QListWidget *from, QListWidget *to)
{
    from->setSortingEnabled(false);
    to->setSortingEnabled(false);
    // From the last entry up, so that taking one does not shift the ones still to visit.
    for (int i = from->count() - 1; i >= 0; --i) {
        if (from->item(i)->isSelected())
            to->addItem(from->takeItem(i));
    }
}

QStringList GridColumnsDialog::fieldNames(const QListWidget *list)
{
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names << list->item(i)->data(Qt::UserRole).toString();
    return names;
}

void GridColumnsDialog::apply()
{
    const QStringList shown = fieldNames(m_shown);
    const QStringList hidden = fieldNames(m_hidden);
    const int columns = m_grid->model()->columnCount();
    for (int c = 0; c < columns; ++c) {
        if (!shown.contains(gridFieldName(m_grid, c)))
            continue;
        m_grid->setColumnHidden(c, false);
        if (m_grid->columnWidth(c) < 1)
            m_grid->setColumnWidth(c, 50);
    }
    for (int c = 0; c < columns; ++c) {
        if (hidden.contains(gridFieldName(m_grid, c)))
            m_grid->setColumnHidden(c, true);
    }
    if (GridColsWidthSave(m_grid, m_key, m_settings, m_dialogs))
        m_dialogs.info(QStringLiteral("栏目显示设置成功~"), QStringLiteral("提示"));
    else
        m_dialogs.error(QStringLiteral("设置出现意外错误~") + QStringLiteral("无法写入") + m_settings.file().path());
}

} // namespace moque::ui
