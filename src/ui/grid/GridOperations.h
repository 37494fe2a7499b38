#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

#include <functional>

class QAbstractItemModel;
class QObject;
class QTableView;
class QWidget;

namespace moque {
class Dialogs;
class SqlListModel;
namespace settings {
class UserSettings;
}
} // namespace moque

namespace moque::ui {

// Sets up the grid of a list window over its model: whole rows selected as
// the list's users expect (click, Ctrl+click, Shift+click), nothing edited in
// place, a context menu, the selection in blue, rows a text line high,
// titles that can be clicked; the viewport's events go to `filter`.
void setUpListGrid(QTableView *grid, const QString &name, QAbstractItemModel *model, QObject *filter);

// Window sizes in Config.ini under the window's objectName (upper case); only
// a window in normal state (not maximised or minimised) is stored or resized.
// A stored size larger than the screen is cut to the screen's available size.
void FormFaceSave(QWidget *window, settings::UserSettings &settings);
void FormFaceLoad(QWidget *window, settings::UserSettings &settings);

// Column widths of a grid under the key (section) and the grid's objectName,
// -1 for a hidden column. Both act only when the grid's model holds an open
// data set; an empty key shows "保存表格列宽异常！". Save returns false only
// when Config.ini could not be written. Load applies a stored width above 0 and
// hides the column for a width below 1; a missing width counts as 40.
bool GridColsWidthSave(QTableView *grid, const QString &key, settings::UserSettings &settings, Dialogs &dialogs);
void GridColsWidthLoad(QTableView *grid, const QString &key, settings::UserSettings &settings, Dialogs &dialogs);
// The remembered widths; a grid that has none remembered yet is sized to its
// titles and contents instead of starting with narrow columns.
void GridColsWidthLoadOrFit(QTableView *grid, const QString &key, settings::UserSettings &settings,
                            Dialogs &dialogs);

// Opens the column settings dialog for the grid modally.
void GridColsConfigration(QTableView *grid, const QString &key, settings::UserSettings &settings,
                          Dialogs &dialogs, QWidget *parent = nullptr);

// The field name of a grid column: the list model's field name, else the header text.
QString gridFieldName(const QTableView *grid, int column);

// The SqlListModel behind the grid, through any proxy models; null for any other model.
SqlListModel *gridListModel(const QTableView *grid);

// Key values of the grid's selected rows, in the order they were selected.
// An empty or unknown key column shows "DBGrid记录选取失败~" with the reason.
QVariantList GridSelectedKeys(QTableView *grid, const QString &keyColumn, Dialogs &dialogs);

// Appends the selected rows' keys to the text (quoted when the key type is
// "str", any case) and returns the number of selected rows.
int GridSelectedFetch(QTableView *grid, const QString &keyColumn, const QString &keyType, QString &text,
                      Dialogs &dialogs);

// The delete flows every list window shares. `remove` deletes and returns
// how many rows went, or -1 with the engine's message in *error.
using RowRemover = std::function<int(QString *error)>;
// Nothing selected: nothing is asked. Asks "确认要删除所选中的N个<item>吗?",
// deletes, reports the count or the failure; false when declined.
bool confirmDeleteSelected(int selected, const QString &itemWord, const RowRemover &remove, Dialogs &dialogs);
// Asks whether to delete every row the list shows, deletes, reports; false when declined.
bool confirmDeleteListed(const RowRemover &remove, Dialogs &dialogs);

// Asks, then deletes the selected rows of the table by their key (every key
// bound, one transaction) and lists the grid afresh. Nothing selected: nothing
// is asked. An empty item word means "数据记录".
void GridSelectedDelete(QTableView *grid, const QString &table, const QString &itemWord, const QString &keyType,
                        const QString &keyColumn, QSqlDatabase db, Dialogs &dialogs);

// Asks, then deletes every row the grid lists (whatever row is current) and
// lists the grid afresh.
void GridDeleteCurrentList(QTableView *grid, QSqlDatabase db, Dialogs &dialogs);

} // namespace moque::ui
