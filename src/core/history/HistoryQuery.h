#pragma once

#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include <optional>

namespace moque::history {

// A statement with its values bound by position, in the order of the "?"s.
struct BoundStatement
{
    QString sql;
    QVariantList values;

    bool operator==(const BoundStatement &other) const = default;
};

// How every text filter of a history window compares: "精确查询" or "模糊查询".
enum class MatchMode { Exact, Contains };

// The conditions of a history query, collected in order; each value bound.
class Conditions
{
public:
    // Exact: one of the columns equals the text (a "%" in it is just a
    // character). Contains: one of the columns holds the text, its LIKE
    // wildcards taken literally. An empty text adds nothing.
    void addText(const QStringList &columns, const QString &text, MatchMode mode);
    // Rows whose date column lies in from..to, both days included. Dates are
    // ISO text, possibly followed by a time, so the end is "before the next day".
    void addDateRange(const QString &column, QDate from, QDate to);
    // Rows whose val(column) lies within the bounds given; a missing bound adds nothing.
    void addValRange(const QString &column, std::optional<double> from, std::optional<double> to);

    bool isEmpty() const { return m_parts.isEmpty(); }
    // " and ..." for each condition, in the order added.
    QString sql() const;
    const QVariantList &values() const { return m_values; }

private:
    QStringList m_parts;
    QVariantList m_values;
};

// The text a LIKE pattern needs to find the text itself: "\", "%" and "_"
// each preceded by "\" (the statements say ESCAPE '\').
QString escapeLike(const QString &text);

// The box text for a reversed period in use ("日期选择有误:" "d1">"d2"); empty otherwise.
QString periodError(bool anyDate, QDate from, QDate to);

// The filters of the waybill history window, as typed.
struct WaybillFilter
{
    QString number;       // 快递单号
    QString sender;       // 寄件单位 or 寄件联系人
    QString receiver;     // 收件单位 or 收件联系人
    QString templateName; // 模板种类
    bool anyDate = true;  // "不限日期"
    QDate from;           // 寄件日期 from
    QDate to;             // 寄件日期 to, included
    MatchMode match = MatchMode::Contains;

    // The same filters with every text trimmed, as the window writes them back.
    WaybillFilter trimmed() const;
};

// The waybill history: table DataKDDTable, period on 寄件日期.
class WaybillQuery
{
public:
    static QString table();      // "DataKDDTable"
    static QString keyColumn();  // "流水号"
    static QString dateColumn(); // "寄件日期"
    static QString feeColumn();  // "总费用"

    // The columns the grid lists, in table order: every column of the table.
    static QStringList columns();

    // The box text for a reversed period ("日期选择有误:" "d1">"d2", box
    // "日期输入"); empty when the period is usable or not in use.
    static QString dateError(const WaybillFilter &filter);
    static QString dateErrorCaption() { return QStringLiteral("日期输入"); }

    // The conditions of the filters, in the window's order: number, sender,
    // receiver, period (unless "不限日期"), template. Texts are trimmed here.
    static Conditions conditions(const WaybillFilter &filter);

    // Every column of the matching rows, newest first by the sort column
    // (always descending; a column the table lacks sorts by 流水号).
    static BoundStatement listStatement(const WaybillFilter &filter,
                                        const QString &sortColumn = QStringLiteral("流水号"));

    // One row: the number of matching rows, and the sum of val(总费用) over
    // those whose 总费用 is neither null nor blank (null when there are none).
    static BoundStatement totalsStatement(const WaybillFilter &filter);
};

struct Totals
{
    qint64 count = 0;
    QVariant sum; // null when no row has a fee

    // The sum as the label shows it: empty when null, else the shortest decimal text.
    QString sumText() const;
    // "总费用汇总:￥" + the sum text.
    QString waybillLabel() const { return QStringLiteral("总费用汇总:￥") + sumText(); }
};

// Runs a totals statement. Nothing with the engine's message on an error.
std::optional<Totals> readTotals(QSqlDatabase db, const BoundStatement &statement, QString *error = nullptr);

// The period of a node of the period tree.
struct Period
{
    QDate from;
    QDate to;
    bool runQuery = true; // false for "其他日期": the user picks the dates first
};

// The names of the period tree's nodes, in order.
QStringList periodNodes();
// The period of a node relative to today; any unknown node is "其他日期".
Period periodOfNode(const QString &node, QDate today);
// What "其他日期" shows.
inline QString otherPeriodHint()
{
    return QStringLiteral("请选择右侧限定的起始年月日~再点击【查询】按钮");
}

} // namespace moque::history
