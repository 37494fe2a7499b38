#pragma once

#include <QList>
#include <QObject>
#include <QSqlDatabase>
#include <QString>
#include <QUndoStack>
#include <QVariant>
#include <QVariantMap>

#include <utility>

namespace moque::design {

// One row of a table, found by key columns that must all match.
struct RowKey
{
    QString table;
    QList<std::pair<QString, QVariant>> match;
};

// The designers write every change at once. This keeps those writes for the
// session so that Undo (Ctrl+Z) writes the value before back and Redo
// (Ctrl+Y) writes it again. Table and column names come from the designers'
// own code and must be plain identifiers; every value is bound.
class DesignHistory : public QObject
{
    Q_OBJECT
public:
    explicit DesignHistory(QSqlDatabase db, QObject *parent = nullptr);
    ~DesignHistory() override;

    QUndoStack &stack() { return m_stack; }

    // Writes one column of the row and records the change when the stored
    // value differs. False on an engine error (errorText()), nothing recorded.
    bool write(const RowKey &row, const QString &column, const QVariant &value, const QString &text = {});
    // Records a change the caller has already written.
    void recordWrite(const RowKey &row, const QString &column, const QVariant &before, const QVariant &after,
                     const QString &text = {});
    // Records a row the caller has just inserted with these column values:
    // undo deletes it, redo inserts it again.
    void recordInsert(const RowKey &row, const QVariantMap &values, const QString &text = {});

    // The writes between begin and end are undone and redone as one step (a
    // batch alignment of many items).
    void beginGroup(const QString &text);
    void endGroup();

    // The stored value of the column, invalid when the row is missing.
    QVariant read(const RowKey &row, const QString &column);
    QString errorText() const { return m_error; }

    // For the commands: a single write or delete/insert, reported through failed().
    bool apply(const RowKey &row, const QString &column, const QVariant &value);
    bool removeRow(const RowKey &row);
    bool insertRow(const RowKey &row, const QVariantMap &values);

Q_SIGNALS:
    // An undo or redo changed the data: the designers redraw what they show.
    void applied();
    // An undo or redo could not be written; the engine's message.
    void failed(const QString &error);

private:
    static bool isIdentifier(const QString &name);
    QString whereClause(const RowKey &row, QVariantList &values) const;
    bool run(const QString &sql, const QVariantList &values);

    QSqlDatabase m_db;
    QUndoStack m_stack;
    QString m_error;
};

} // namespace moque::design
