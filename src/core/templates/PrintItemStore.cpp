#include "templates/PrintItemStore.h"

#include "store/BoundQuery.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <cstdlib>

namespace moque::templates {

using store::execBound;

namespace {

// Reads the columns of a row by name; a column the data file lacks, or a
// NULL value, leaves the target at its default.
class RowReader
{
public:
    explicit RowReader(const QSqlQuery &q) : m_query(q), m_record(q.record()) {}
    RowReader(const QSqlQuery &q, const QSqlRecord &record) : m_query(q), m_record(record) {}

    void read(const char *column, int &target) const
    {
        const QVariant v = value(column);
        if (!v.isNull())
            target = v.toInt();
    }
    void read(const char *column, QString &target) const
    {
        const QVariant v = value(column);
        if (!v.isNull())
            target = v.toString();
    }

private:
    QVariant value(const char *column) const
    {
        const int i = m_record.indexOf(QLatin1String(column));
        return i < 0 ? QVariant() : m_query.value(i);
    }

    const QSqlQuery &m_query;
    QSqlRecord m_record;
};

QString normalType(const QString &type)
{
    const QString t = type.trimmed().toUpper();
    return t.isEmpty() ? QStringLiteral("TEXT") : t;
}

} // namespace

PrintItem PrintItemStore::readItem(const QSqlQuery &q, const QSqlRecord &record)
{
    const RowReader r(q, record);
    PrintItem item;
    r.read("ID", item.id);
    r.read("CheckTypeID", item.templateId);
    r.read("CtlName", item.name);
    item.name = item.name.toUpper();
    r.read("CtlCName", item.caption);
    r.read("CtlType", item.type);
    item.type = normalType(item.type);
    r.read("CtlX", item.x);
    r.read("CtlY", item.y);
    r.read("CtlW", item.width);
    r.read("CtlH", item.height);
    r.read("CtlLH", item.lineHeight);
    r.read("SrcX", item.screenX);
    r.read("SrcY", item.screenY);
    r.read("SrcW", item.screenW);
    r.read("SrcH", item.screenH);
    r.read("NeedPrint", item.needPrint);
    r.read("NeedShow", item.needShow);
    r.read("CtlFontName", item.fontName);
    r.read("CtlFontSize", item.fontSize);
    r.read("CtlFontColor", item.fontColor);
    r.read("BreakFontSize", item.breakFontSize);
    r.read("Bold", item.bold);
    r.read("Italic", item.italic);
    r.read("UnderLine", item.underline);
    r.read("FitParam", item.fitParam);
    r.read("Align", item.align);
    r.read("BreakNum", item.breakNum);
    r.read("InitValue", item.initValue);
    r.read("ShowOrd", item.showOrder);
    return item;
}

QList<PrintItem> PrintItemStore::itemList(int templateId)
{
    QList<PrintItem> items;
    QSqlQuery q(m_db);
    if (!execBound(q, QStringLiteral("select * from ckControl where CheckTypeID=:id order by ID"),
                   {{":id", templateId}}))
        return items;
    const QSqlRecord record = q.record();
    while (q.next())
        items << readItem(q, record);
    return items;
}

PrintItemSet PrintItemStore::itemsOf(int templateId)
{
    PrintItemSet set;
    for (const PrintItem &item : itemList(templateId)) {
        // A name stored twice keeps its first row, the one the designers edit.
        if (!set.find(item.name))
            set.add(item);
    }
    return set;
}

QList<DictionaryField> PrintItemStore::readFields(const QString &sql, const QString &kind)
{
    QList<DictionaryField> fields;
    QSqlQuery q(m_db);
    if (!execBound(q, sql, {{":kind", kind}}))
        return fields;
    const RowReader r(q);
    while (q.next()) {
        DictionaryField f;
        r.read("ID", f.id);
        r.read("CheckTypeName", f.kind);
        r.read("CtlName", f.name);
        f.name = f.name.toUpper();
        r.read("CtlLabel", f.label);
        r.read("CtlData", f.testData);
        r.read("PrintItem", f.printItem);
        r.read("ShowOrd", f.showOrder);
        r.read("CtlType", f.type);
        f.type = normalType(f.type);
        r.read("Groups", f.group);
        fields << f;
    }
    return fields;
}

QList<DictionaryField> PrintItemStore::dictionary(const QString &kind)
{
    return readFields(QStringLiteral("select * from NameDict where CheckTypeName=:kind order by ShowOrd,ID"), kind);
}

QList<DictionaryField> PrintItemStore::printableFields(const QString &kind)
{
    return readFields(
        QStringLiteral("select * from NameDict where CheckTypeName=:kind and PrintItem=1 order by ShowOrd,ID"), kind);
}

QStringList PrintItemStore::fieldNames(const QString &kind, QString *error)
{
    QSqlQuery q(m_db);
    if (!execBound(q, QStringLiteral("select CtlName from NameDict where CheckTypeName=:kind order by ID"),
                   {{":kind", kind}})) {
        if (error)
            *error = q.lastError().text();
        return {};
    }
    QStringList names;
    while (q.next())
        names << q.value(0).toString();
    return names;
}

int PrintItemStore::getCellsWidth(int templateId, const QString &first, int defaultWidth, const QString &second)
{
    QSqlQuery q(m_db);
    if (!execBound(q,
                   QStringLiteral("select CtlX from ckControl where CheckTypeID=:id and "
                                  "(upper(CtlName)=:first or upper(CtlName)=:second) order by ID"),
                   {{":id", templateId}, {":first", first.toUpper()}, {":second", second.toUpper()}}))
        return 0;
    QList<int> xs;
    while (xs.size() < 2 && q.next())
        xs << q.value(0).toInt();
    return xs.size() < 2 ? defaultWidth : std::abs(xs[0] - xs[1]);
}

} // namespace moque::templates
