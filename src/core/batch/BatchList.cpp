#include "batch/BatchList.h"

#include "store/BoundQuery.h"
#include "store/Store.h"

#include <QSqlRecord>

#include <algorithm>

namespace moque::batch {

namespace {

const QString groupColumn = QStringLiteral("批打分组");

// The grid may call the destination station 目的地.
QString tableColumn(const QString &name)
{
    const QString trimmed = name.trimmed();
    return trimmed == QStringLiteral("目的地") ? QStringLiteral("目的站") : trimmed;
}

Receiver readReceiver(const QSqlQuery &q)
{
    Receiver r;
    const QSqlRecord rec = q.record();
    for (int i = 0; i < rec.count(); ++i) {
        if (rec.fieldName(i).compare(BatchList::keyColumn(), Qt::CaseInsensitive) == 0)
            r.id = q.value(i).toLongLong();
        else
            r.values.insert(rec.fieldName(i), q.value(i).toString());
    }
    return r;
}

} // namespace

QStringList BatchList::columns()
{
    return {keyColumn(),         QStringLiteral("全称"),   QStringLiteral("联系人"),   QStringLiteral("电话"),
            QStringLiteral("手机"), QStringLiteral("国家"),   QStringLiteral("省"),       QStringLiteral("市"),
            QStringLiteral("镇区"), QStringLiteral("地址"),   QStringLiteral("邮编"),     QStringLiteral("目的站"),
            QStringLiteral("内件说明"), QStringLiteral("件数"), QStringLiteral("重量"),  QStringLiteral("费用"),
            QStringLiteral("备注"), groupColumn,              QStringLiteral("体积"),     QStringLiteral("代收金额"),
            QStringLiteral("手续费"), QStringLiteral("保价金额"), QStringLiteral("保价费"), QStringLiteral("运费"),
            QStringLiteral("加急费"), QStringLiteral("包装费"), QStringLiteral("送货费"), QStringLiteral("其他费"),
            QStringLiteral("金额大写1"), QStringLiteral("自定义3"), QStringLiteral("自定义4"), QStringLiteral("自定义5")};
}

QStringList BatchList::filterEntries(const QStringList &gridColumns)
{
    QStringList entries{QStringLiteral("联系人|全称|电话"), QStringLiteral("电话|手机"), QStringLiteral("省|市|镇区")};
    entries << gridColumns.mid(1);
    return entries;
}

history::BoundStatement BatchList::listStatement(const ListFilter &filter)
{
    history::BoundStatement s;
    const QString group = store::quoteIdentifier(groupColumn);
    s.sql = QStringLiteral("select * from ReceiverList where ");
    if (filter.group == ListFilter::allGroups()) {
        s.sql += QStringLiteral("1=1");
    } else if (filter.group.isEmpty()) {
        s.sql += QStringLiteral("(trim(%1)='' or %1 is null)").arg(group);
    } else {
        s.sql += QStringLiteral("(%1=?)").arg(group);
        s.values << filter.group;
    }
    // Only the list's own columns reach the statement: a name is never taken as text.
    const QStringList known = columns();
    QStringList filterColumns;
    for (const QString &name : filter.filterEntry.split(QLatin1Char('|'))) {
        const QString column = tableColumn(name);
        if (known.contains(column) && !filterColumns.contains(column))
            filterColumns << column;
    }
    const QString keyword = filter.keyword.trimmed();
    if (!keyword.isEmpty() && filterColumns.isEmpty())
        s.sql += QStringLiteral(" and 1=0"); // a keyword over no column of the list finds nothing
    history::Conditions c;
    c.addText(filterColumns, keyword, filter.match);
    s.sql += c.sql();
    s.values << c.values();
    s.sql += QStringLiteral(" order by ID ") + (filter.descending ? QStringLiteral("DESC") : QStringLiteral("ASC"));
    return s;
}

std::optional<QList<Receiver>> BatchList::list(const ListFilter &filter, QString *error) const
{
    const history::BoundStatement s = listStatement(filter);
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    QString message;
    if (!store::execBound(q, s.sql, s.values, message)) {
        if (error)
            *error = message;
        return std::nullopt;
    }
    QList<Receiver> rows;
    while (q.next())
        rows << readReceiver(q);
    return rows;
}

std::optional<Receiver> BatchList::row(qint64 id) const
{
    QSqlQuery q(m_db);
    if (!store::execBound(q, QStringLiteral("select * from ReceiverList where ID=?"), QVariantList{id}) || !q.next())
        return std::nullopt;
    return readReceiver(q);
}

int BatchList::count() const
{
    QSqlQuery q(m_db);
    return q.exec(QStringLiteral("select count(*) from ReceiverList")) && q.next() ? q.value(0).toInt() : 0;
}

QHash<QString, QString> BatchList::rowOf(const refdata::TPersonKDD &person)
{
    using F = refdata::TPerson;
    return {
        {QStringLiteral("全称"), person.text(F::FullName)},
        {QStringLiteral("省"), person.text(F::Province)},
        {QStringLiteral("市"), person.text(F::City)},
        {QStringLiteral("地址"), person.text(F::Address)},
        {QStringLiteral("镇区"), person.text(F::Town)},
        {QStringLiteral("电话"), person.text(F::Phone)},
        {QStringLiteral("联系人"), person.text(F::Contact)},
        {QStringLiteral("邮编"), person.text(F::ZipCode)},
        {QStringLiteral("手机"), person.text(F::Mobile)},
        {QStringLiteral("国家"), person.text(F::Country)},
        {QStringLiteral("内件说明"), person.goodsDescription()},
        {QStringLiteral("备注"), person.text(F::Remark)},
        {QStringLiteral("目的站"), person.destination()},
        {QStringLiteral("批打分组"), QString()},
    };
}

qint64 BatchList::add(const QHash<QString, QString> &values, QString *error)
{
    const auto filled = [&](const char *column) { return !values.value(QString::fromUtf8(column)).isEmpty(); };
    if (!filled("联系人") && !filled("全称") && !filled("地址"))
        return 0;
    const QStringList known = columns();
    QStringList names;
    QStringList marks;
    QVariantList bound;
    for (auto it = values.begin(); it != values.end(); ++it) {
        if (it.key() == keyColumn() || !known.contains(it.key())) {
            if (error)
                *error = QStringLiteral("没有这一列：") + it.key();
            return 0;
        }
        names << store::quoteIdentifier(it.key());
        marks << QStringLiteral("?");
        bound << it.value();
    }
    QSqlQuery q(m_db);
    QString message;
    if (!store::execBound(q,
                          QStringLiteral("insert into ReceiverList (%1) values (%2)")
                              .arg(names.join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
                          bound, message)) {
        if (error)
            *error = message;
        return 0;
    }
    return q.lastInsertId().toLongLong();
}

bool BatchList::setCell(qint64 id, const QString &column, const QString &text, QString *error)
{
    const QString name = tableColumn(column);
    if (name == keyColumn() || !columns().contains(name)) {
        if (error)
            *error = QStringLiteral("不能修改这一列：") + column;
        return false;
    }
    QSqlQuery q(m_db);
    QString message;
    if (!store::execBound(q, QStringLiteral("update ReceiverList set %1=? where ID=?").arg(store::quoteIdentifier(name)),
                          {text, id}, message)) {
        if (error)
            *error = message;
        return false;
    }
    if (q.numRowsAffected() < 1) {
        if (error)
            *error = QStringLiteral("调用错误，找不到记录，编号=") + QString::number(id);
        return false;
    }
    return true;
}

int BatchList::remove(const QList<qint64> &ids, QString *error)
{
    if (ids.isEmpty())
        return 0;
    m_db.transaction();
    QSqlQuery q(m_db);
    q.prepare(QStringLiteral("delete from ReceiverList where ID=?"));
    int removed = 0;
    for (qint64 id : ids) {
        q.bindValue(0, id);
        if (!q.exec()) {
            if (error)
                *error = q.lastError().text();
            m_db.rollback();
            return -1;
        }
        removed += q.numRowsAffected();
    }
    if (!m_db.commit()) {
        if (error)
            *error = m_db.lastError().text();
        m_db.rollback();
        return -1;
    }
    return removed;
}

QStringList BatchList::fillDictionaryValues(const QString &target) const
{
    QString name;
    if (target == QStringLiteral("@备注"))
        name = QStringLiteral("备注");
    else if (target == QStringLiteral("@内件说明") || target == QStringLiteral("@物品内容"))
        name = QStringLiteral("物品内容");
    else
        return {};
    QStringList values;
    QSqlQuery q(m_db);
    if (!store::execBound(q, QStringLiteral("select distinct DMValue from DMTable where DMName=?"),
                          QVariantList{name}))
        return values;
    while (q.next())
        values << q.value(0).toString();
    return values;
}

int BatchList::fillColumn(const QString &target, const QStringList &parts, QString *error)
{
    const auto refuse = [&](const QString &message) {
        if (error)
            *error = message;
        return -1;
    };
    const QString column = tableColumn(QString(target).remove(QLatin1Char('@')));
    if (column.isEmpty())
        return refuse(QStringLiteral("请选择要批量改写列~"));
    const QStringList known = columns();
    if (column == keyColumn() || !known.contains(column))
        return refuse(QStringLiteral("不能修改这一列：") + target);
    QStringList terms;
    QVariantList bound;
    for (const QString &part : parts) {
        if (part.contains(QLatin1Char('@'))) {
            const QString source = tableColumn(QString(part).remove(QLatin1Char('@')));
            if (!known.contains(source))
                return refuse(QStringLiteral("没有这一列：") + part);
            terms << store::quoteIdentifier(source);
        } else {
            terms << QStringLiteral("?");
            bound << (part.isEmpty() ? QStringLiteral("") : part);
        }
    }
    if (terms.isEmpty()) {
        terms << QStringLiteral("?");
        bound << QStringLiteral("");
    }
    QSqlQuery q(m_db);
    QString message;
    if (!store::execBound(q,
                          QStringLiteral("update ReceiverList set %1=%2")
                              .arg(store::quoteIdentifier(column), terms.join(QStringLiteral(" || "))),
                          bound, message))
        return refuse(message);
    return q.numRowsAffected();
}

bool BatchList::clear(store::Store &store)
{
    return store.clearReceiverList();
}

QList<qint64> BatchList::chosenRows(const QList<Receiver> &listed, RowChoice choice, const QList<qint64> &selected, int n)
{
    QList<qint64> ids;
    switch (choice) {
    case RowChoice::All:
        for (const Receiver &r : listed)
            ids << r.id;
        break;
    case RowChoice::Selected:
        // A selected row no longer listed is not printed.
        for (qint64 id : selected)
            if (!ids.contains(id)
                && std::any_of(listed.begin(), listed.end(), [id](const Receiver &r) { return r.id == id; }))
                ids << id;
        break;
    case RowChoice::FirstN:
        for (qsizetype i = 0; i < listed.size() && i < n; ++i)
            ids << listed[i].id;
        break;
    }
    return ids;
}

} // namespace moque::batch
