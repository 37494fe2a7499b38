#pragma once

#include "history/InvoiceQuery.h"
#include "support/TestData.h"

#include <QVariant>

namespace moque::test {

// Five invoices of the kind whose 流水号 are 1..5: a number differing only in
// letter case, a party with "%", another whose name holds another's, amounts
// with a unit, blank, null and text, every state and none, dates around the
// leap day of 2024, contracts for the export invoice.
inline bool addInvoices(TestData &data, history::InvoiceKind kind)
{
    struct Row
    {
        QString number, party, date, templateName;
        QVariant amount, state;
        QString contract;
    };
    const QList<Row> rows{
        {"R001", "广州甲公司", "2024-03-01", "通用收据", "100", "已用", "HT-100"},
        {"R002", "北京丙", "2024-03-05", "定额收据", "20.5元", "作废", "HT-200"},
        {"R010", "50%折扣店", "2024-03-10", "通用收据", "  ", "未用", "HT-101"},
        {"r001", "广州甲公司分部", "2024-02-29", "通用收据", QVariant(), QVariant(), ""},
        {"X5", "O'Brien \"Ltd\"", "2024-03-11", "定额收据", "abc", "已用", "X"},
    };
    const history::InvoiceQuery query(kind);
    const bool contract = query.hasContractFilter();
    const QString sql = QStringLiteral("insert into ") + query.table() + QStringLiteral("(票据编号, ")
                        + query.partyColumn() + QStringLiteral(", 出票日期, 模板种类, ") + query.amountColumn()
                        + QStringLiteral(", 票据状态") + (contract ? QStringLiteral(", 合同号码") : QString())
                        + QStringLiteral(") values(?, ?, ?, ?, ?, ?") + (contract ? QStringLiteral(", ?") : QString())
                        + QLatin1Char(')');
    for (const Row &r : rows) {
        QVariantList values{r.number, r.party, r.date, r.templateName, r.amount, r.state};
        if (contract)
            values << r.contract;
        if (!data.exec(sql, values))
            return false;
    }
    return true;
}

} // namespace moque::test
