#include "history/InvoiceQuery.h"

#include "store/Schema.h"
#include "store/Store.h"

#include <cmath>

namespace moque::history {

InvoiceFilter InvoiceFilter::trimmed() const
{
    InvoiceFilter f = *this;
    for (QString *text : {&f.number, &f.party, &f.templateName, &f.state, &f.contract, &f.amountFrom, &f.amountTo})
        *text = text->trimmed();
    return f;
}

std::optional<double> amountBound(const QString &typed)
{
    bool ok = false;
    const double value = typed.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool isInvalidAmount(const QString &typed)
{
    return !typed.trimmed().isEmpty() && !amountBound(typed);
}

QString InvoiceQuery::kindName() const
{
    switch (m_kind) {
    case InvoiceKind::Receipt:
        return QStringLiteral("普通发票收据");
    case InvoiceKind::Freight:
        return QStringLiteral("国际货运发票");
    case InvoiceKind::Export:
        break;
    }
    return QStringLiteral("出口商品发票");
}

QString InvoiceQuery::table() const
{
    switch (m_kind) {
    case InvoiceKind::Receipt:
        return QStringLiteral("DataCheckReceipt");
    case InvoiceKind::Freight:
        return QStringLiteral("DataCheckIntel");
    case InvoiceKind::Export:
        break;
    }
    return QStringLiteral("DataCKSPTable");
}

QString InvoiceQuery::partyColumn() const
{
    return m_kind == InvoiceKind::Export ? QStringLiteral("购方单位") : QStringLiteral("顾客名称");
}

QStringList InvoiceQuery::numberColumns() const
{
    if (m_kind == InvoiceKind::Export)
        return {numberColumn(), QStringLiteral("发票编号")};
    return {numberColumn()};
}

QString InvoiceQuery::amountColumn() const
{
    return m_kind == InvoiceKind::Export ? QStringLiteral("金额合计") : QStringLiteral("合计金额");
}

QStringList InvoiceQuery::columns() const
{
    const store::TableDef *def = store::findTable(store::dataFileTables(), table());
    return def ? def->columnNames() : QStringList();
}

Conditions InvoiceQuery::conditions(const InvoiceFilter &filter) const
{
    const InvoiceFilter f = filter.trimmed();
    Conditions c;
    c.addText(numberColumns(), f.number, f.match);
    c.addText({partyColumn()}, f.party, f.match);
    if (!f.anyDate && f.from.isValid() && f.to.isValid())
        c.addDateRange(dateColumn(), f.from, f.to);
    if (hasTemplateFilter())
        c.addText({QStringLiteral("模板种类")}, f.templateName, f.match);
    if (hasStateFilter())
        c.addText({stateColumn()}, f.state, f.match);
    if (hasContractFilter())
        c.addText({QStringLiteral("合同号码")}, f.contract, f.match);
    c.addValRange(amountColumn(), amountBound(f.amountFrom), amountBound(f.amountTo));
    return c;
}

BoundStatement InvoiceQuery::listStatement(const InvoiceFilter &filter, const QString &sortColumn) const
{
    const Conditions c = conditions(filter);
    const bool known = columns().contains(sortColumn, Qt::CaseInsensitive);
    QString sql = QStringLiteral("SELECT * FROM ") + table();
    if (!c.isEmpty())
        sql += QStringLiteral(" WHERE 1=1") + c.sql();
    sql += QStringLiteral(" ORDER BY ") + store::quoteIdentifier(known ? sortColumn : keyColumn())
           + QStringLiteral(" DESC");
    return {sql, c.values()};
}

BoundStatement InvoiceQuery::totalsStatement(const InvoiceFilter &filter) const
{
    const Conditions c = conditions(filter);
    const QString amount = store::quoteIdentifier(amountColumn());
    // trim() of a null amount is null, so the CASE leaves null and blank amounts out of the sum.
    QString sql = QStringLiteral("SELECT count(*), sum(CASE WHEN trim(") + amount
                  + QStringLiteral(") <> '' THEN val(") + amount + QStringLiteral(") END) FROM ") + table();
    if (!c.isEmpty())
        sql += QStringLiteral(" WHERE 1=1") + c.sql();
    return {sql, c.values()};
}

RowColours rowColoursOfState(const QString &state)
{
    const QString s = state.trimmed();
    if (s == QStringLiteral("作废"))
        return {Qt::white, Qt::red};
    if (s == QStringLiteral("已用"))
        return {Qt::black, Qt::yellow};
    return {Qt::black, Qt::white};
}

} // namespace moque::history
