#pragma once

#include "BenchDialogs.h"
#include "app/AppCore.h"
#include "history/HistoryQuery.h"
#include "store/SqlListModel.h"

#include <QElapsedTimer>
#include <QList>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

#include <functional>
#include <optional>

// One history search as a window runs it: the list and the totals of a filter.
struct HistorySearch
{
    QString name;
    moque::history::BoundStatement list;
    moque::history::BoundStatement totals;
};

// Where a history's rows are kept and how its total reads.
struct HistoryTable
{
    QString table;
    QString keyColumn;
    std::function<QString(const moque::history::Totals &)> totalLabel;
};

// The core over a fresh data directory.
struct BenchCore
{
    QTemporaryDir dir;
    BenchDialogs dialogs;
    moque::app::AppCore core{moque::store::DataDirectory(dir.path()), dialogs};
};

// Opens the core's data directory and fills it in one transaction, saying
// how long the rows (count and what they are) took.
inline bool openAndFill(moque::app::AppCore &core, const std::function<bool(QSqlDatabase)> &fill, int count,
                        const QString &rows, QTextStream &out)
{
    if (!core.open()) {
        out << "failed: " << core.errorText() << Qt::endl;
        return false;
    }
    QElapsedTimer t;
    t.start();
    if (!fill(core.db()))
        return false;
    out << count << " " << rows << " inserted in one transaction: " << t.elapsed() << " ms" << Qt::endl;
    return true;
}

// Runs the prepared insert for the row just bound; on failure says why and
// undoes the fill.
inline bool insertRow(QSqlDatabase db, QSqlQuery &q)
{
    if (q.exec())
        return true;
    QTextStream(stderr) << q.lastError().text() << Qt::endl;
    db.rollback();
    return false;
}

// The best of three runs: list (every row fetched into the model) and totals, in ms.
inline void timeHistorySearch(QSqlDatabase db, const HistoryTable &history, const HistorySearch &search,
                              QTextStream &out)
{
    qint64 bestList = -1;
    qint64 bestTotals = -1;
    int rows = 0;
    QString label;
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer t;
        t.start();
        moque::SqlListModel model;
        model.setSource(db, search.list.sql, search.list.values, history.table, history.keyColumn);
        if (!model.refresh()) {
            out << search.name << ": " << model.lastError().text() << Qt::endl;
            return;
        }
        rows = model.rowCount();
        const qint64 listed = t.restart();
        const std::optional<moque::history::Totals> totals = moque::history::readTotals(db, search.totals);
        const qint64 summed = t.elapsed();
        label = totals ? history.totalLabel(*totals) : QStringLiteral("totals failed");
        bestList = bestList < 0 ? listed : qMin(bestList, listed);
        bestTotals = bestTotals < 0 ? summed : qMin(bestTotals, summed);
    }
    out << "  " << search.name << ": " << rows << " rows, list " << bestList << " ms, totals " << bestTotals
        << " ms, together " << bestList + bestTotals << " ms (" << label << ")" << Qt::endl;
}

inline void timeHistorySearches(QSqlDatabase db, const HistoryTable &history, const QList<HistorySearch> &searches,
                                QTextStream &out)
{
    for (const HistorySearch &search : searches)
        timeHistorySearch(db, history, search, out);
}
