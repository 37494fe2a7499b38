#include "history/HistoryQuery.h"

#include "store/Schema.h"
#include "store/Store.h"

#include <QSqlError>
#include <QSqlQuery>

namespace moque::history {

namespace {

QString isoDate(QDate date)
{
    return date.toString(Qt::ISODate);
}

} // namespace

QString escapeLike(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('%') || c == QLatin1Char('_'))
            escaped += QLatin1Char('\\');
        escaped += c;
    }
    return escaped;
}

void Conditions::addText(const QStringList &columns, const QString &text, MatchMode mode)
{
    if (text.isEmpty() || columns.isEmpty())
        return;
    QStringList alternatives;
    for (const QString &column : columns) {
        const QString name = store::quoteIdentifier(column);
        if (mode == MatchMode::Exact) {
            alternatives << name + QStringLiteral(" = ?");
            m_values << text;
        } else {
            alternatives << name + QStringLiteral(" LIKE ? ESCAPE '\\'");
            m_values << QLatin1Char('%') + escapeLike(text) + QLatin1Char('%');
        }
    }
    m_parts << QLatin1Char('(') + alternatives.join(QStringLiteral(" OR ")) + QLatin1Char(')');
}

void Conditions::addDateRange(const QString &column, QDate from, QDate to)
{
    const QString name = store::quoteIdentifier(column);
    m_parts << name + QStringLiteral(" >= ? AND ") + name + QStringLiteral(" < ?");
    m_values << isoDate(from) << isoDate(to.addDays(1));
}

void Conditions::addValRange(const QString &column, std::optional<double> from, std::optional<double> to)
{
    const QString value = QStringLiteral("val(") + store::quoteIdentifier(column) + QLatin1Char(')');
    if (from) {
        m_parts << value + QStringLiteral(" >= ?");
        m_values << *from;
    }
    if (to) {
        m_parts << value + QStringLiteral(" <= ?");
        m_values << *to;
    }
}

QString Conditions::sql() const
{
    QString c;
    for (const QString &part : m_parts)
        c += QStringLiteral(" AND ") + part;
    return c;
}

WaybillFilter WaybillFilter::trimmed() const
{
    WaybillFilter f = *this;
    f.number = number.trimmed();
    f.sender = sender.trimmed();
    f.receiver = receiver.trimmed();
    f.templateName = templateName.trimmed();
    return f;
}

QString WaybillQuery::table()
{
    return QStringLiteral("DataKDDTable");
}

QString WaybillQuery::keyColumn()
{
    return QStringLiteral("流水号");
}

QString WaybillQuery::dateColumn()
{
    return QStringLiteral("寄件日期");
}

QString WaybillQuery::feeColumn()
{
    return QStringLiteral("总费用");
}

QStringList WaybillQuery::columns()
{
    const store::TableDef *def = store::findTable(store::dataFileTables(), table());
    return def ? def->columnNames() : QStringList();
}

QString periodError(bool anyDate, QDate from, QDate to)
{
    if (anyDate || !from.isValid() || !to.isValid() || to >= from)
        return {};
    return QStringLiteral("日期选择有误:\"") + isoDate(from) + QStringLiteral("\">\"") + isoDate(to) + QLatin1Char('"');
}

QString WaybillQuery::dateError(const WaybillFilter &filter)
{
    return periodError(filter.anyDate, filter.from, filter.to);
}

Conditions WaybillQuery::conditions(const WaybillFilter &filter)
{
    const WaybillFilter f = filter.trimmed();
    Conditions c;
    c.addText({QStringLiteral("快递单号")}, f.number, f.match);
    c.addText({QStringLiteral("寄件单位"), QStringLiteral("寄件联系人")}, f.sender, f.match);
    c.addText({QStringLiteral("收件单位"), QStringLiteral("收件联系人")}, f.receiver, f.match);
    if (!f.anyDate && f.from.isValid() && f.to.isValid())
        c.addDateRange(dateColumn(), f.from, f.to);
    c.addText({QStringLiteral("模板种类")}, f.templateName, f.match);
    return c;
}

BoundStatement WaybillQuery::listStatement(const WaybillFilter &filter, const QString &sortColumn)
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

BoundStatement WaybillQuery::totalsStatement(const WaybillFilter &filter)
{
    const Conditions c = conditions(filter);
    const QString fee = store::quoteIdentifier(feeColumn());
    // trim() of a null fee is null, so the CASE leaves null and blank fees out of the sum.
    QString sql = QStringLiteral("SELECT count(*), sum(CASE WHEN trim(") + fee + QStringLiteral(") <> '' THEN val(")
                  + fee + QStringLiteral(") END) FROM ") + table();
    if (!c.isEmpty())
        sql += QStringLiteral(" WHERE 1=1") + c.sql();
    return {sql, c.values()};
}

QString Totals::sumText() const
{
    if (sum.isNull())
        return {};
    return QString::number(sum.toDouble(), 'g', 15);
}

std::optional<Totals> readTotals(QSqlDatabase db, const BoundStatement &statement, QString *error)
{
    QSqlQuery q(db);
    q.prepare(statement.sql);
    for (int i = 0; i < statement.values.size(); ++i)
        q.bindValue(i, statement.values[i]);
    if (!q.exec() || !q.next()) {
        if (error)
            *error = q.lastError().text();
        return std::nullopt;
    }
    Totals t;
    t.count = q.value(0).toLongLong();
    t.sum = q.value(1).isNull() ? QVariant() : QVariant(q.value(1).toDouble());
    return t;
}

QStringList periodNodes()
{
    return {QStringLiteral("今天"),     QStringLiteral("最近三天"),   QStringLiteral("最近一周"),
            QStringLiteral("最近一个月"), QStringLiteral("最近三个月"), QStringLiteral("最近一年"),
            QStringLiteral("本月内"),   QStringLiteral("本年度内"),   QStringLiteral("其他日期")};
}

Period periodOfNode(const QString &node, QDate today)
{
    static const QList<QPair<QString, int>> daysBack{
        {QStringLiteral("今天"), 0},        {QStringLiteral("最近三天"), 2},    {QStringLiteral("最近一周"), 6},
        {QStringLiteral("最近一个月"), 30}, {QStringLiteral("最近三个月"), 90}, {QStringLiteral("最近一年"), 365}};
    for (const auto &[name, days] : daysBack)
        if (node == name)
            return {today.addDays(-days), today, true};
    if (node == QStringLiteral("本月内"))
        return {QDate(today.year(), today.month(), 1), today, true};
    if (node == QStringLiteral("本年度内"))
        return {QDate(today.year(), 1, 1), today, true};
    return {today.addDays(-548), today, false};
}

} // namespace moque::history
