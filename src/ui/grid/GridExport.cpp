#include "grid/GridExport.h"

#include "sheets/XlsxWriter.h"
#include "common/Dialogs.h"
#include "common/Helpers.h"

#include <QAbstractItemModel>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QProcess>
#include <QStandardPaths>
#include <QTableView>

namespace moque::ui {

namespace {

constexpr auto xlsxMimeType = "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet";

QString exportError(const QString &message)
{
    return QStringLiteral("数据导出Excel出错,错误提示:") + message;
}

// A name in the export folder that no earlier export holds (an opened one may still be in use).
QString freshExportPath(const QString &fileName)
{
    const QDir folder(QStandardPaths::writableLocation(QStandardPaths::TempLocation)
                      + QStringLiteral("/moque-export"));
    folder.mkpath(QStringLiteral("."));
    const QFileInfo name(fileName);
    QString path = folder.filePath(fileName);
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = folder.filePath(QStringLiteral("%1(%2).%3").arg(name.completeBaseName()).arg(n).arg(name.suffix()));
    return path;
}

// Keeps the grid from repainting and shows the busy cursor while rows are read.
class BusyGrid
{
public:
    explicit BusyGrid(QTableView *grid) : m_grid(grid), m_wasEnabled(grid->updatesEnabled())
    {
        m_grid->setUpdatesEnabled(false);
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~BusyGrid()
    {
        QGuiApplication::restoreOverrideCursor();
        m_grid->setUpdatesEnabled(m_wasEnabled);
    }
    BusyGrid(const BusyGrid &) = delete;
    BusyGrid &operator=(const BusyGrid &) = delete;

private:
    QTableView *m_grid;
    bool m_wasEnabled;
};

} // namespace

bool openWithDesktop(const QUrl &url)
{
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), QString::fromLatin1(xlsxMimeType)});
    constexpr int waitMs = 3000;
    if (query.waitForFinished(waitMs) && query.exitStatus() == QProcess::NormalExit && query.exitCode() == 0
        && query.readAllStandardOutput().trimmed().isEmpty())
        return false;
    return QDesktopServices::openUrl(url);
}

QString exportFileName(const QString &title, const QDateTime &when)
{
    QString name;
    for (const QChar c : title.trimmed())
        name += QStringLiteral("/\\:*?\"<>|").contains(c) || !c.isPrint() ? QChar(u'_') : c;
    if (name.isEmpty())
        name = QStringLiteral("导出");
    return name + when.toString(QStringLiteral("_yyyyMMdd_HHmmss")) + QStringLiteral(".xlsx");
}

bool ExportGrid2Excel(QTableView *grid, const QString &title, Dialogs &dialogs, const FileOpener &opener)
{
    QAbstractItemModel *model = grid ? grid->model() : nullptr;
    QStringList titles;
    QList<QStringList> rows;
    if (model) {
        BusyGrid busy(grid);
        while (model->canFetchMore({}))
            model->fetchMore({});
        const QHeaderView *header = grid->horizontalHeader();
        QList<int> columns;
        for (int visual = 0; visual < header->count(); ++visual) {
            const int column = header->logicalIndex(visual);
            if (!header->isSectionHidden(column))
                columns.append(column);
        }
        for (int column : std::as_const(columns))
            titles.append(model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString());
        rows.reserve(model->rowCount());
        for (int row = 0; row < model->rowCount(); ++row) {
            QStringList cells;
            cells.reserve(columns.size());
            for (int column : std::as_const(columns))
                cells.append(model->index(row, column).data(Qt::DisplayRole).toString());
            rows.append(cells);
        }
    }
    if (rows.isEmpty()) {
        dialogs.info(QStringLiteral("没有可导出的数据~"));
        return false;
    }

    const QString fileName = exportFileName(title, QDateTime::currentDateTime());
    const QString path = freshExportPath(fileName);
    QString error;
    if (!sheets::writeXlsxTable(path, titles, rows, &error, title)) {
        dialogs.error(exportError(error));
        return false;
    }
    if (opener && opener(QUrl::fromLocalFile(path)))
        return true;

    QString target = dialogs.saveFileName(QStringLiteral("没有找到可以打开Excel文件的程序，请选择保存位置"),
                                          QDir::home().filePath(fileName), QStringLiteral("Excel文件 (*.xlsx)"));
    if (!target.isEmpty() && QFileInfo(target).suffix().compare(QLatin1String("xlsx"), Qt::CaseInsensitive) != 0)
        target += QStringLiteral(".xlsx");
    const bool saved = !target.isEmpty() && copyWholeFile(path, target, &error);
    QFile::remove(path);
    if (!target.isEmpty() && !saved)
        dialogs.error(exportError(error));
    return saved;
}

} // namespace moque::ui
