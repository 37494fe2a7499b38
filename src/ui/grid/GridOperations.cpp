#include "grid/GridOperations.h"

#include "common/Dialogs.h"
#include "store/SqlListModel.h"
#include "grid/GridColumnsDialog.h"
#include "settings/UserSettings.h"

#include <QAbstractProxyModel>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScreen>
#include <QSet>
#include <QTableView>

namespace moque::ui {

namespace {

bool inNormalState(const QWidget *window)
{
    return !(window->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
}

// A list model counts as open once it ran its statement; any other model once it has columns.
bool holdsOpenData(const QTableView *grid)
{
    if (!grid || !grid->model())
        return false;
    if (const SqlListModel *list = gridListModel(grid))
        return list->isOpen();
    return grid->model()->columnCount() > 0;
}

bool checkWidthKey(const QString &key, Dialogs &dialogs)
{
    if (!key.isEmpty())
        return true;
    dialogs.error(QStringLiteral("保存表格列宽异常！"));
    return false;
}

int sourceRow(QModelIndex index)
{
    while (const auto *proxy = qobject_cast<const QAbstractProxyModel *>(index.model()))
        index = proxy->mapToSource(index);
    return index.row();
}

// Keys of the rows the grid lists; through a filtering proxy these can be fewer than the model holds.
QVariantList listedKeys(const QTableView *grid, const SqlListModel *list)
{
    const int keyIndex = list->fieldIndex(list->keyColumn());
    const QAbstractItemModel *shown = grid->model();
    QVariantList keys;
    for (int r = 0; r < shown->rowCount(); ++r)
        keys << list->index(sourceRow(shown->index(r, 0)), keyIndex).data(Qt::EditRole);
    return keys;
}

} // namespace

void setUpListGrid(QTableView *grid, const QString &name, QAbstractItemModel *model, QObject *filter)
{
    grid->setObjectName(name);
    grid->setModel(model);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    grid->setStyleSheet(QStringLiteral("QTableView { selection-background-color: blue; selection-color: white; }"));
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    grid->horizontalHeader()->setSectionsClickable(true);
    grid->viewport()->installEventFilter(filter);
}

void FormFaceSave(QWidget *window, settings::UserSettings &settings)
{
    if (!window || window->objectName().isEmpty() || !inNormalState(window))
        return;
    settings.saveFormSize(window->objectName(), window->size());
}

void FormFaceLoad(QWidget *window, settings::UserSettings &settings)
{
    if (!window || window->objectName().isEmpty() || !inNormalState(window))
        return;
    const QScreen *screen = window->screen();
    const QSize available = screen ? screen->availableGeometry().size() : QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    window->resize(settings.loadFormSize(window->objectName(), window->size(), available));
}

bool GridColsWidthSave(QTableView *grid, const QString &key, settings::UserSettings &settings, Dialogs &dialogs)
{
    if (!holdsOpenData(grid) || !checkWidthKey(key, dialogs))
        return true;
    QList<int> widths;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        widths << (grid->isColumnHidden(c) ? -1 : grid->columnWidth(c));
    return settings.saveGridWidths(key, grid->objectName(), widths);
}

void GridColsWidthLoad(QTableView *grid, const QString &key, settings::UserSettings &settings, Dialogs &dialogs)
{
    if (!holdsOpenData(grid) || !checkWidthKey(key, dialogs))
        return;
    const QList<int> widths = settings.loadGridWidths(key, grid->objectName(), grid->model()->columnCount());
    for (int c = 0; c < widths.size(); ++c) {
        if (widths[c] > 0) {
            grid->setColumnHidden(c, false);
            grid->setColumnWidth(c, widths[c]);
        } else {
            grid->setColumnHidden(c, true);
            // Remembered as 0 wide, so that showing it again gives it a fresh width.
            grid->setColumnWidth(c, 0);
        }
    }
}

void GridColsWidthLoadOrFit(QTableView *grid, const QString &key, settings::UserSettings &settings,
                            Dialogs &dialogs)
{
    if (!grid || !grid->model() || settings.hasGridWidths(key, grid->objectName())) {
        GridColsWidthLoad(grid, key, settings, dialogs);
        return;
    }
    // Contents are measured over the first rows only, so a long list stays quick.
    grid->horizontalHeader()->setResizeContentsPrecision(100);
    constexpr int widest = 260;
    for (int c = 0; c < grid->model()->columnCount(); ++c) {
        grid->resizeColumnToContents(c);
        if (grid->columnWidth(c) > widest)
            grid->setColumnWidth(c, widest);
    }
}

void GridColsConfigration(QTableView *grid, const QString &key, settings::UserSettings &settings,
                          Dialogs &dialogs, QWidget *parent)
{
    if (!grid || !grid->model())
        return;
    GridColumnsDialog dialog(grid, key, settings, dialogs, parent);
    dialog.exec();
}

QString gridFieldName(const QTableView *grid, int column)
{
    if (const auto *list = qobject_cast<const SqlListModel *>(grid->model()))
        return list->fieldName(column);
    return grid->model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
}

SqlListModel *gridListModel(const QTableView *grid)
{
    QAbstractItemModel *model = grid ? grid->model() : nullptr;
    while (const auto *proxy = qobject_cast<const QAbstractProxyModel *>(model))
        model = proxy->sourceModel();
    return qobject_cast<SqlListModel *>(model);
}

QVariantList GridSelectedKeys(QTableView *grid, const QString &keyColumn, Dialogs &dialogs)
{
    const QString failed = QStringLiteral("DBGrid记录选取失败~");
    if (keyColumn.isEmpty()) {
        dialogs.error(failed + QStringLiteral("没有指定列名~"));
        return {};
    }
    const SqlListModel *list = gridListModel(grid);
    if (!list || !list->isOpen() || !grid->selectionModel())
        return {};
    const QItemSelection selection = grid->selectionModel()->selection();
    if (selection.isEmpty())
        return {};
    const int keyIndex = list->fieldIndex(keyColumn);
    if (keyIndex < 0) {
        dialogs.error(failed + QStringLiteral("没有找到列：") + keyColumn);
        return {};
    }

    // Ranges come in the order they were selected; a row selected twice counts once.
    QVariantList keys;
    QSet<int> seen;
    for (const QItemSelectionRange &range : selection) {
        for (int r = range.top(); r <= range.bottom(); ++r) {
            const int row = sourceRow(grid->model()->index(r, range.left(), range.parent()));
            if (row < 0 || seen.contains(row))
                continue;
            seen.insert(row);
            keys << list->index(row, keyIndex).data(Qt::EditRole);
        }
    }
    return keys;
}

int GridSelectedFetch(QTableView *grid, const QString &keyColumn, const QString &keyType, QString &text,
                      Dialogs &dialogs)
{
    const QVariantList keys = GridSelectedKeys(grid, keyColumn, dialogs);
    text = appendKeyList(text, keys, keyType);
    return int(keys.size());
}

bool confirmDeleteSelected(int selected, const QString &itemWord, const RowRemover &remove, Dialogs &dialogs)
{
    if (selected <= 0)
        return false;
    if (!dialogs.alert(QStringLiteral("确认要删除所选中的") + QString::number(selected) + QStringLiteral("个") + itemWord
                           + QStringLiteral("吗?"),
                       QStringLiteral("删除确认"), true))
        return false;
    QString error;
    const int deleted = remove(&error);
    if (deleted < 0)
        dialogs.error(QStringLiteral("删除失败，错误=") + error);
    else
        dialogs.alert(QString::number(deleted) + QStringLiteral("个") + itemWord + QStringLiteral("删除成功！"),
                      QStringLiteral("提示"));
    return true;
}

bool confirmDeleteListed(const RowRemover &remove, Dialogs &dialogs)
{
    if (!dialogs.alert(QStringLiteral("此操作将删除当前查询到的所有记录，确定删除吗？"), QStringLiteral("警告"), true))
        return false;
    QString error;
    const int deleted = remove(&error);
    if (deleted < 0)
        dialogs.error(QStringLiteral("删除出现异常！"));
    else
        dialogs.alert(QString::number(deleted) + QStringLiteral("条记录删除成功！"), QStringLiteral("提示"));
    return true;
}

void GridSelectedDelete(QTableView *grid, const QString &table, const QString &itemWord, const QString &keyType,
                        const QString &keyColumn, QSqlDatabase db, Dialogs &dialogs)
{
    QVariantList keys = GridSelectedKeys(grid, keyColumn, dialogs);
    // Text keys are compared as text, whatever type the model read them as.
    if (keyType.toUpper() == QLatin1String("STR"))
        for (QVariant &k : keys)
            k = k.toString();
    const QString word = itemWord.isEmpty() ? QStringLiteral("数据记录") : itemWord;
    if (confirmDeleteSelected(int(keys.size()), word,
                              [&](QString *error) { return deleteRowsByKeys(db, table, keyColumn, keys, error); },
                              dialogs))
        gridListModel(grid)->refresh();
}

void GridDeleteCurrentList(QTableView *grid, QSqlDatabase db, Dialogs &dialogs)
{
    SqlListModel *list = gridListModel(grid);
    if (!list)
        return;
    const auto remove = [&](QString *) {
        if (grid->model()->rowCount() == 0)
            return 0;
        if (list->fieldIndex(list->keyColumn()) < 0)
            return -1;
        return deleteRowsByKeys(db, list->table(), list->keyColumn(), listedKeys(grid, list));
    };
    if (confirmDeleteListed(remove, dialogs))
        list->refresh();
}

} // namespace moque::ui
