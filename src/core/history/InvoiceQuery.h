#pragma once

#include "history/HistoryQuery.h"

#include <QColor>
#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

namespace moque::history {

// The three invoice kinds that keep a history of their own.
enum class InvoiceKind { Receipt, Freight, Export };

// The filters of an invoice history window, as typed. Which of them a kind
// uses is told by its InvoiceQuery; the others are ignored.
struct InvoiceFilter
{
    QString number;       // 票据编号
    QString party;        // 顾客名称 (receipt, freight) or 购方单位 (export)
    QString templateName; // 模板种类 (receipt, freight)
    QString state;        // 票据状态 (export)
    QString contract;     // 合同号码 (export)
    QString amountFrom;   // lower bound of the amount, as typed
    QString amountTo;     // upper bound of the amount, as typed
    bool anyDate = true;  // "不限日期"
    QDate from;           // 出票日期 from
    QDate to;             // 出票日期 to, included
    MatchMode match = MatchMode::Contains;

    // The same filters with every text trimmed, as the window writes them back.
    InvoiceFilter trimmed() const;
};

// An amount bound as typed: the number of a valid trimmed text, none for an
// empty or invalid one.
std::optional<double> amountBound(const QString &typed);
// A non-empty trimmed text that is no number: the window replaces it by
// invalidAmountText() and it adds no condition.
bool isInvalidAmount(const QString &typed);
inline QString invalidAmountText()
{
    return QStringLiteral("非法数字");
}

// The history of one invoice kind: its table, its filters, its list and totals.
class InvoiceQuery
{
public:
    explicit InvoiceQuery(InvoiceKind kind) : m_kind(kind) {}

    InvoiceKind kind() const { return m_kind; }
    // "普通发票收据", "国际货运发票", "出口商品发票".
    QString kindName() const;
    // DataCheckReceipt, DataCheckIntel, DataCKSPTable.
    QString table() const;
    static QString keyColumn() { return QStringLiteral("流水号"); }
    static QString dateColumn() { return QStringLiteral("出票日期"); }
    static QString stateColumn() { return QStringLiteral("票据状态"); }
    static QString numberColumn() { return QStringLiteral("票据编号"); }
    // The columns the number filter searches: the export invoice's registered
    // numbers stand in 发票编号 until a bill is saved into them.
    QStringList numberColumns() const;
    // 顾客名称, or 购方单位 for the export invoice.
    QString partyColumn() const;
    // 合计金额, or 金额合计 for the export invoice.
    QString amountColumn() const;

    bool hasTemplateFilter() const { return m_kind != InvoiceKind::Export; }
    bool hasStateFilter() const { return m_kind == InvoiceKind::Export; }
    bool hasContractFilter() const { return m_kind == InvoiceKind::Export; }
    // The amount total beside the list; the export invoice shows none.
    bool hasTotal() const { return m_kind != InvoiceKind::Export; }
    // Rows drawn by their 票据状态, and "作废选中".
    bool coloursByState() const { return m_kind != InvoiceKind::Freight; }
    bool canVoid() const { return m_kind != InvoiceKind::Freight; }
    // "领用联号票据".
    bool canRegister() const { return m_kind == InvoiceKind::Export; }
    // Leaving the party filter expands "%code".
    bool expandsMnemonic() const { return m_kind != InvoiceKind::Freight; }
    // Above this many listed rows the export invoice window asks for clean-up.
    int rowWarningLimit() const { return m_kind == InvoiceKind::Export ? 5000 : 0; }
    static QString rowWarningText()
    {
        return QStringLiteral("发票资料数目已经超出5000条，为了保证查询性能，请按月导出并清理！");
    }

    // Every column of the table, in table order.
    QStringList columns() const;

    // The conditions of the filters the kind uses, in order: number, party,
    // period (unless "不限日期"), template, state, contract, amount range.
    // Texts are trimmed here; invalid amounts add nothing.
    Conditions conditions(const InvoiceFilter &filter) const;
    // Every column of the matching rows, descending by the sort column (a
    // column the table lacks sorts by 流水号).
    BoundStatement listStatement(const InvoiceFilter &filter,
                                 const QString &sortColumn = QStringLiteral("流水号")) const;
    // One row: the number of matching rows and the sum of val(amount) over
    // those whose amount is neither null nor blank (null when there are none).
    BoundStatement totalsStatement(const InvoiceFilter &filter) const;

    // "金额汇总:￥" + the sum text.
    static QString totalLabel(const Totals &totals) { return QStringLiteral("金额汇总:￥") + totals.sumText(); }

private:
    InvoiceKind m_kind;
};

// How a row of an invoice list is drawn when not selected.
struct RowColours
{
    QColor text;
    QColor background;

    bool operator==(const RowColours &other) const = default;
};

// By 票据状态: "作废" white on red, "已用" black on yellow, anything else black on white.
RowColours rowColoursOfState(const QString &state);

} // namespace moque::history
