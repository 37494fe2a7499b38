#pragma once

#include <QSqlDatabase>
#include <QString>

#include <functional>

namespace moque {
class Dialogs;
}

namespace moque::store {

// Double-quotes a table or column name so that Chinese and mixed-case names
// are taken as they stand.
QString quoteIdentifier(const QString &name);

// The store's operations on the main connection. Failures are reported
// through the dialogs with the system's messages.
class Store
{
public:
    Store(QSqlDatabase db, Dialogs &dialogs) : m_db(db), m_dialogs(dialogs) {}

    QSqlDatabase db() const { return m_db; }

    // Rows of a table; on an engine error shows "计算表格总数失败:" + table + "-" + message and gives 0.
    int CountTableAllRows(const QString &table);

    // True when the column can be selected from the table (false for a missing table too).
    bool aIFExistsColumn(const QString &table, const QString &column, QSqlDatabase connection = {});

    // Adds a column; kind "text"/"string"/"varchar" (size, default 50),
    // "numeric"/"number"/"long", or another engine type. Each call advances
    // the upgrade progress by one step.
    bool aAddColumn(const QString &table, const QString &column, QSqlDatabase connection = {},
                    const QString &size = {}, const QString &kind = QStringLiteral("varchar"));

    // Runs the create statement when the table cannot be read.
    bool CreateTableIFNotExists(const QString &table, const QString &createStatement);

    // The next template number: max + 1, 1 for an empty catalogue.
    int newTemplateId();

    // Empties the batch-print list and restarts its counter so the next entry is number 1.
    bool clearReceiverList();

    // Called with "升级表存储结构..." + table after each column added.
    void setProgress(std::function<void(const QString &)> progress) { m_progress = std::move(progress); }

private:
    QSqlDatabase connectionOrMain(QSqlDatabase connection) const;

    QSqlDatabase m_db;
    Dialogs &m_dialogs;
    std::function<void(const QString &)> m_progress;
};

} // namespace moque::store
