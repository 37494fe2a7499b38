#pragma once

#include <QDateTime>
#include <QString>
#include <QUrl>

#include <functional>

class QTableView;

namespace moque {
class Dialogs;
}

namespace moque::ui {

// Opens a file with the desktop's application for it; false when none starts.
using FileOpener = std::function<bool(const QUrl &)>;

// The desktop opener: false when no application is registered for .xlsx
// files, else QDesktopServices::openUrl.
bool openWithDesktop(const QUrl &url);

// The export file's name: the title (characters a file name cannot hold
// replaced by "_") and the moment, e.g. "单位信息导出_20240131_093005.xlsx".
QString exportFileName(const QString &title, const QDateTime &when);

// Writes the grid's rows to an .xlsx (row 1 the header texts of the visible
// columns in their shown order, then every row's shown texts, all text cells)
// in the temporary folder and opens it with the opener. When that fails the
// user is asked where to save the file instead. An empty grid shows
// "没有可导出的数据~". True when the file was opened or saved.
bool ExportGrid2Excel(QTableView *grid, const QString &title, Dialogs &dialogs,
                      const FileOpener &opener = openWithDesktop);

} // namespace moque::ui
