#include "batch/ColumnMatching.h"

#include "store/BoundQuery.h"

#include <QSqlQuery>
#include <QVariant>

namespace moque::batch {

using store::execBound;

namespace {

// The titles read from the first row: the window has boxes for no more.
constexpr int kMaxTitleColumns = 61;

// Every item whose alias list the import loads.
const QStringList kAliasItems{
    item::fullName, item::group, item::partyType, item::contact, item::phone, item::mobile, item::province,
    item::city, item::town, item::address, item::remark, item::inputCode, item::bank, item::bankAccount,
    item::capital1, item::zipCode, item::country, item::destination, item::goods, item::pieces, item::weight,
    item::fee, item::orderId, item::memberId, QStringLiteral("保价费"), QStringLiteral("保价金额"),
    QStringLiteral("加急费"), QStringLiteral("运费"), QStringLiteral("送货费"), QStringLiteral("体积"),
    QStringLiteral("包装费"), QStringLiteral("代收金额"), QStringLiteral("手续费"), QStringLiteral("其他费"),
    QStringLiteral("自定义3"), QStringLiteral("自定义4"), QStringLiteral("自定义5")};

// Tried first for both targets, so 城市 is the city and never the destination.
const QStringList kCommonOrder{item::fullName, item::contact, item::phone,   item::mobile,  item::province,
                               item::city,     item::town,    item::address, item::zipCode, item::country,
                               item::bank,     item::bankAccount, item::remark};

const QStringList kBatchOrder{item::group,
                              item::goods,
                              item::destination,
                              item::pieces,
                              item::weight,
                              item::fee,
                              QStringLiteral("保价费"),
                              QStringLiteral("保价金额"),
                              QStringLiteral("加急费"),
                              QStringLiteral("运费"),
                              QStringLiteral("送货费"),
                              QStringLiteral("体积"),
                              QStringLiteral("包装费"),
                              QStringLiteral("代收金额"),
                              QStringLiteral("手续费"),
                              QStringLiteral("其他费"),
                              QStringLiteral("自定义3"),
                              QStringLiteral("自定义4"),
                              QStringLiteral("自定义5"),
                              item::capital1,
                              item::orderId,
                              item::memberId};

QString errorOf(const QSqlQuery &q)
{
    return q.lastError().text();
}

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

} // namespace

bool MatchColumnOK(const QString &title, const QString &aliases)
{
    const QStringList list = aliases.split(QLatin1Char(','));
    for (const QString &alias : list) {
        if (alias.isEmpty())
            continue;
        if (alias.contains(QLatin1Char('*'))) {
            const QString rest = QString(alias).remove(QLatin1Char('*'));
            if (!rest.isEmpty() && title.contains(rest, Qt::CaseSensitive))
                return true;
        } else if (title.compare(alias, Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    return false;
}

QList<SheetTitle> readTitles(const QStringList &firstRow)
{
    QList<SheetTitle> titles;
    const int count = std::min<int>(int(firstRow.size()), kMaxTitleColumns);
    for (int i = 0; i < count; ++i) {
        const QString title = firstRow.at(i).trimmed();
        if (!title.isEmpty())
            titles.append({i + 1, title});
    }
    return titles;
}

QStringList matchableItems(ImportTarget target, bool partyTypeFixed)
{
    QStringList items = kCommonOrder;
    if (target == ImportTarget::BatchList) {
        items << kBatchOrder;
    } else {
        items << item::group;
        if (!partyTypeFixed)
            items << item::partyType;
        items << item::inputCode;
    }
    return items;
}

ColumnMapping autoMatch(const QList<SheetTitle> &titles, const AliasLists &aliases, ImportTarget target,
                        bool partyTypeFixed)
{
    const QStringList order = matchableItems(target, partyTypeFixed);
    ColumnMapping mapping;
    for (const SheetTitle &title : titles) {
        for (const QString &name : order) {
            if (mapping.contains(name))
                continue;
            if (MatchColumnOK(title.title, aliases.value(name, name))) {
                mapping.insert(name, title.column);
                break;
            }
        }
    }
    return mapping;
}

AliasLists MatchColumnStore::aliasLists() const
{
    QHash<QString, QString> firstOfItem; // lower-case item name to its first row's aliases
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    if (execBound(q, QStringLiteral("select ItemName,SourceName from MatchColumn where MatchType=? order by Id"),
                  QVariantList{importScene})) {
        while (q.next()) {
            const QString key = q.value(0).toString().toLower();
            if (!firstOfItem.contains(key))
                firstOfItem.insert(key, q.value(1).toString());
        }
    }
    AliasLists lists;
    for (const QString &name : kAliasItems) {
        const QString aliases = firstOfItem.value(name.toLower());
        lists.insert(name, aliases.isEmpty() ? name : aliases);
    }
    return lists;
}

QList<AliasRow> MatchColumnStore::rows() const
{
    QList<AliasRow> list;
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    if (!execBound(q, QStringLiteral("select Id,ItemName,SourceName,ShowOrd from MatchColumn where MatchType=? order by Id"),
                   QVariantList{importScene}))
        return list;
    while (q.next())
        list.append({q.value(0).toInt(), q.value(1).toString(), q.value(2).toString(), q.value(3).toInt()});
    return list;
}

QString MatchColumnStore::cleanAliases(const QString &text)
{
    QString s = text.trimmed();
    s.remove(QLatin1Char('\''));
    s.remove(QLatin1Char('?'));
    s.replace(QStringLiteral("，"), QStringLiteral(","));
    s.replace(QStringLiteral(",,"), QStringLiteral(","));
    s.replace(QStringLiteral(",,"), QStringLiteral(","));
    return s.trimmed();
}

bool MatchColumnStore::changeAliases(int id, const QString &aliases, QString *error) const
{
    const QString cleaned = cleanAliases(aliases);
    if (cleaned.isEmpty()) {
        setError(error, emptyAliasesMessage());
        return false;
    }
    QSqlQuery q(m_db);
    if (!execBound(q, QStringLiteral("update MatchColumn set SourceName=? where Id=?"), QVariantList{cleaned, id})) {
        setError(error, errorOf(q));
        return false;
    }
    return true;
}

bool MatchColumnStore::renameItem(int id, const QString &itemName, QString *error) const
{
    const QString name = itemName.trimmed();
    if (name.isEmpty()) {
        setError(error, QStringLiteral("项目名不能为空"));
        return false;
    }
    QSqlQuery q(m_db);
    if (!execBound(q, QStringLiteral("update MatchColumn set ItemName=? where Id=?"), QVariantList{name, id})) {
        setError(error, errorOf(q));
        return false;
    }
    return true;
}

int MatchColumnStore::addRow(const QString &itemName, const QString &aliases, QString *error) const
{
    QSqlQuery q(m_db);
    if (!execBound(q, QStringLiteral("insert into MatchColumn (MatchType,ItemName,SourceName,ShowOrd) values(?,?,?,0)"),
                   QVariantList{importScene, itemName.trimmed(), cleanAliases(aliases)})) {
        setError(error, errorOf(q));
        return -1;
    }
    return q.lastInsertId().toInt();
}

bool MatchColumnStore::removeRow(int id, QString *error) const
{
    QSqlQuery q(m_db);
    if (!execBound(q, QStringLiteral("delete from MatchColumn where Id=?"), QVariantList{id})) {
        setError(error, errorOf(q));
        return false;
    }
    return true;
}

} // namespace moque::batch
