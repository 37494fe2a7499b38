#pragma once

#include "sheets/SpreadsheetReader.h"

namespace moque::sheets {

// Counts what a reader holds against SpreadsheetLimits::maxMemory, at what
// Qt's containers take for it on the heap.
class MemoryBudget
{
public:
    explicit MemoryBudget(qint64 limit) : m_limit(limit) {}

    // False once everything charged passes the limit.
    bool charge(qint64 bytes)
    {
        m_used += bytes;
        return m_used <= m_limit;
    }
    bool exceeded() const { return m_used > m_limit; }

    // A QString in a list, the block of its own characters (a copy of a shared
    // string has none), and a list's block of elements.
    static constexpr qint64 slot = sizeof(QString);
    static qint64 text(const QString &text) { return text.isEmpty() ? 0 : 32 + 2 * text.size(); }
    static constexpr qint64 listBlock = 32;

private:
    qint64 m_limit;
    qint64 m_used = 0;
};

// Collects non-empty cells at their places and pads the rows at the end; every
// cell stored, padding included, counts against the limits and the budget.
class RowBuilder
{
public:
    RowBuilder(const SpreadsheetLimits &limits, const MemoryBudget &budget) : m_limits(limits), m_budget(budget) {}

    // False when the place is outside the limits or the budget is spent. A
    // text that shares its characters with one already charged (a copy of a
    // shared string) costs only its slot.
    bool place(qint64 row, qint64 column, QString &&text, bool charged = false);

    // The padded rows; false when padding would pass a limit.
    bool finish(QList<QStringList> *out);

private:
    const SpreadsheetLimits &m_limits;
    MemoryBudget m_budget;
    QList<QStringList> m_rows;
    qint64 m_stored = 0;
};

} // namespace moque::sheets
