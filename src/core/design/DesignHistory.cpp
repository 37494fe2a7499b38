#include "design/DesignHistory.h"

#include "store/BoundQuery.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QUndoCommand>

namespace moque::design {

namespace {

// The first redo comes from QUndoStack::push, after the designer has written
// the change itself: only later redos write.
class RecordedCommand : public QUndoCommand
{
public:
    RecordedCommand(DesignHistory &history, const QString &text) : m_history(history) { setText(text); }

    void undo() override
    {
        if (revert())
            Q_EMIT m_history.applied();
    }
    void redo() override
    {
        if (!m_pushed) {
            m_pushed = true;
            return;
        }
        if (replay())
            Q_EMIT m_history.applied();
    }

protected:
    virtual bool revert() = 0;
    virtual bool replay() = 0;
    DesignHistory &m_history;

private:
    bool m_pushed = false;
};

class ColumnWrite : public RecordedCommand
{
public:
    ColumnWrite(DesignHistory &history, RowKey row, QString column, QVariant before, QVariant after,
                const QString &text)
        : RecordedCommand(history, text), m_row(std::move(row)), m_column(std::move(column)),
          m_before(std::move(before)), m_after(std::move(after))
    {
    }

protected:
    bool revert() override { return m_history.apply(m_row, m_column, m_before); }
    bool replay() override { return m_history.apply(m_row, m_column, m_after); }

private:
    RowKey m_row;
    QString m_column;
    QVariant m_before;
    QVariant m_after;
};

class RowInsert : public RecordedCommand
{
public:
    RowInsert(DesignHistory &history, RowKey row, QVariantMap values, const QString &text)
        : RecordedCommand(history, text), m_row(std::move(row)), m_values(std::move(values))
    {
    }

protected:
    bool revert() override { return m_history.removeRow(m_row); }
    bool replay() override { return m_history.insertRow(m_row, m_values); }

private:
    RowKey m_row;
    QVariantMap m_values;
};

} // namespace

DesignHistory::DesignHistory(QSqlDatabase db, QObject *parent) : QObject(parent), m_db(db) {}

DesignHistory::~DesignHistory()
{
    // The commands emit through this object: they go before its signals do.
    m_stack.clear();
}

bool DesignHistory::isIdentifier(const QString &name)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return plain.match(name).hasMatch();
}

QString DesignHistory::whereClause(const RowKey &row, QVariantList &values) const
{
    QStringList parts;
    for (const auto &[column, value] : row.match) {
        parts << column + QStringLiteral("=?");
        values << value;
    }
    return parts.join(QStringLiteral(" and "));
}

bool DesignHistory::run(const QString &sql, const QVariantList &values)
{
    QSqlQuery q(m_db);
    if (store::execBound(q, sql, values, m_error))
        return true;
    Q_EMIT failed(m_error);
    return false;
}

QVariant DesignHistory::read(const RowKey &row, const QString &column)
{
    if (!isIdentifier(row.table) || !isIdentifier(column))
        return {};
    QVariantList values;
    const QString where = whereClause(row, values);
    QSqlQuery q(m_db);
    if (!store::execBound(q, QStringLiteral("select %1 from %2 where %3").arg(column, row.table, where), values,
                          m_error)
        || !q.next())
        return {};
    return q.value(0);
}

bool DesignHistory::apply(const RowKey &row, const QString &column, const QVariant &value)
{
    if (!isIdentifier(row.table) || !isIdentifier(column)) {
        m_error = QStringLiteral("无效的列名:") + column;
        return false;
    }
    QVariantList values{value};
    const QString where = whereClause(row, values);
    return run(QStringLiteral("update %1 set %2=? where %3").arg(row.table, column, where), values);
}

bool DesignHistory::removeRow(const RowKey &row)
{
    if (!isIdentifier(row.table))
        return false;
    QVariantList values;
    const QString where = whereClause(row, values);
    return run(QStringLiteral("delete from %1 where %2").arg(row.table, where), values);
}

bool DesignHistory::insertRow(const RowKey &row, const QVariantMap &values)
{
    if (!isIdentifier(row.table))
        return false;
    QStringList columns;
    QStringList marks;
    QVariantList bound;
    for (auto it = values.constBegin(); it != values.constEnd(); ++it) {
        if (!isIdentifier(it.key()))
            return false;
        columns << it.key();
        marks << QStringLiteral("?");
        bound << it.value();
    }
    return run(QStringLiteral("insert into %1 (%2) values (%3)")
                   .arg(row.table, columns.join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
               bound);
}

bool DesignHistory::write(const RowKey &row, const QString &column, const QVariant &value, const QString &text)
{
    const QVariant before = read(row, column);
    if (!isIdentifier(row.table) || !isIdentifier(column)) {
        m_error = QStringLiteral("无效的列名:") + column;
        return false;
    }
    if (before.isValid() && !before.isNull() && before.toString() == value.toString())
        return true;
    QVariantList values{value};
    const QString where = whereClause(row, values);
    QSqlQuery q(m_db);
    if (!store::execBound(q, QStringLiteral("update %1 set %2=? where %3").arg(row.table, column, where), values,
                          m_error))
        return false;
    if (q.numRowsAffected() > 0)
        recordWrite(row, column, before, value, text);
    return true;
}

void DesignHistory::recordWrite(const RowKey &row, const QString &column, const QVariant &before,
                                const QVariant &after, const QString &text)
{
    m_stack.push(new ColumnWrite(*this, row, column, before, after, text.isEmpty() ? column : text));
}

void DesignHistory::recordInsert(const RowKey &row, const QVariantMap &values, const QString &text)
{
    m_stack.push(new RowInsert(*this, row, values, text.isEmpty() ? row.table : text));
}

void DesignHistory::beginGroup(const QString &text)
{
    m_stack.beginMacro(text);
}

void DesignHistory::endGroup()
{
    m_stack.endMacro();
}

} // namespace moque::design
