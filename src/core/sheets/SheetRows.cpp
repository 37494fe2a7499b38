#include "sheets/SheetRows.h"

namespace moque::sheets {

bool RowBuilder::place(qint64 row, qint64 column, QString &&text, bool charged)
{
    if (text.isEmpty())
        return true;
    if (row < 0 || column < 0 || row >= m_limits.maxRows || column >= m_limits.maxColumns)
        return false;
    const qint64 textCost = charged ? 0 : MemoryBudget::text(text);
    if (row >= m_rows.size()) {
        if (!m_budget.charge((row + 1 - m_rows.size()) * qint64(sizeof(QStringList))))
            return false;
        m_rows.resize(row + 1);
    }
    QStringList &cells = m_rows[row];
    if (column < cells.size()) {
        if (!m_budget.charge(textCost - MemoryBudget::text(cells.at(column))))
            return false;
        cells[column] = std::move(text);
        return true;
    }
    m_stored += column + 1 - cells.size();
    if (m_stored > m_limits.maxCells)
        return false;
    // Lists grow by more than they need: the spare slots are memory too.
    const qsizetype capacity = cells.capacity();
    const qsizetype needed = qMax<qsizetype>(column + 1, capacity);
    if (!m_budget.charge((needed - capacity) * MemoryBudget::slot + (capacity == 0 ? MemoryBudget::listBlock : 0)
                         + textCost))
        return false;
    while (cells.size() < column)
        cells.append(QString());
    cells.append(std::move(text));
    if (cells.capacity() > needed && !m_budget.charge((cells.capacity() - needed) * MemoryBudget::slot))
        return false;
    return true;
}

bool RowBuilder::finish(QList<QStringList> *out)
{
    while (!m_rows.isEmpty() && m_rows.last().isEmpty())
        m_rows.removeLast();
    qsizetype width = 0;
    for (const QStringList &cells : std::as_const(m_rows))
        width = qMax(width, cells.size());
    if (qint64(width) * m_rows.size() > m_limits.maxCells)
        return false;
    qint64 padding = 0;
    for (const QStringList &cells : std::as_const(m_rows)) {
        if (cells.capacity() < width)
            padding += (width - cells.capacity()) * MemoryBudget::slot
                + (cells.capacity() == 0 ? MemoryBudget::listBlock : 0);
    }
    if (!m_budget.charge(padding))
        return false;
    for (QStringList &cells : m_rows) {
        cells.reserve(width);
        while (cells.size() < width)
            cells.append(QString());
    }
    *out = std::move(m_rows);
    return true;
}

} // namespace moque::sheets
