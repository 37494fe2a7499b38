#include "batch/RemarkLists.h"

#include "refdata/Dictionaries.h"
#include "store/BoundQuery.h"

#include <QSqlQuery>

namespace moque::batch {

namespace {

const QString kRemarkDictionary = QStringLiteral("附注内容");

// The dictionaries whose values serve as remarks; new ones go to the first.
const QStringList &remarkDictionaries()
{
    static const QStringList names{kRemarkDictionary, QStringLiteral("备注"), QStringLiteral("物品内容")};
    return names;
}

} // namespace

QStringList RemarkLists::load(Source source) const
{
    QString sql;
    QVariantList binds;
    switch (source) {
    case Source::Dictionary:
        sql = QStringLiteral("select distinct DMValue from DMTable where DMName in (?,?,?) and trim(DMValue)<>'' "
                             "order by DMValue limit ?");
        for (const QString &name : remarkDictionaries())
            binds << name;
        break;
    case Source::HistoryGoods:
        sql = QStringLiteral("select distinct 物品内容 from DataKDDTable where trim(物品内容)<>'' "
                             "order by 物品内容 limit ?");
        break;
    case Source::HistoryRemarks:
        sql = QStringLiteral("select distinct 备注 from DataKDDTable where trim(备注)<>'' order by 备注 limit ?");
        break;
    }
    binds << maxEntries;
    QSqlQuery q(m_db);
    if (!store::execBound(q, sql, binds, m_error))
        return {};
    QStringList values;
    while (q.next())
        values << q.value(0).toString();
    return values;
}

RemarkLists::Saved RemarkLists::save(const QString &text)
{
    const QString remark = text.trimmed();
    if (remark.isEmpty())
        return Saved::Empty;
    QSqlQuery q(m_db);
    if (!store::execBound(q,
            QStringLiteral("select 1 from DMTable where CheckTypeId=0 and DMName in (?,?,?) and DMValue=?"),
            QVariantList{remarkDictionaries()[0], remarkDictionaries()[1], remarkDictionaries()[2], remark},
            m_error))
        return Saved::Failed;
    if (q.next())
        return Saved::Exists;
    refdata::Dictionaries dictionaries(m_db);
    if (!dictionaries.saveValues({refdata::DictionaryValue{0, kRemarkDictionary, remark, 0}})) {
        m_error = dictionaries.lastError();
        return Saved::Failed;
    }
    return Saved::Added;
}

QString RemarkLists::message(Saved saved, const QString &text)
{
    switch (saved) {
    case Saved::Empty:
        return QStringLiteral("未输入附注内容~");
    case Saved::Exists:
        return QLatin1Char('"') + text.trimmed() + QStringLiteral("\"已经存在！");
    case Saved::Added:
        return QStringLiteral("添加基础资料\"附注内容\"成功！");
    case Saved::Failed:
        break;
    }
    return {};
}

} // namespace moque::batch
