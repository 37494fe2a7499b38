#include "refdata/CodeLists.h"

#include "store/BoundQuery.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>

#include <QSqlError>
#include <QSqlQuery>

namespace moque::refdata {

namespace {

const QString hint = QStringLiteral("提示");
const QChar quote = QLatin1Char('"');

using store::execBound;

QString pair(const QString &province, const QString &city)
{
    return quote + province + QStringLiteral("--") + city + quote;
}

// The database orders Chinese names by code point, which means nothing to a
// reader; names are listed in the order of their pinyin, as a Chinese system lists them.
void sortChinese(QStringList &names)
{
    QCollator collator(QLocale(QLocale::Chinese, QLocale::China));
    std::sort(names.begin(), names.end(), [&](const QString &a, const QString &b) { return collator.compare(a, b) < 0; });
}

} // namespace

const QString CodeLists::provinceKind = QStringLiteral("省市");

QStringList CodeLists::loadProvinces() const
{
    QStringList provinces;
    QSqlQuery q(m_db);
    if (!execBound(q,
             QStringLiteral("select distinct trim(一级代码) from DMTable2 where trim(类型)=? and trim(一级代码)<>'' "
                            "order by 1"),
             {provinceKind}, m_error))
        return provinces;
    while (q.next())
        provinces << q.value(0).toString();
    sortChinese(provinces);
    return provinces;
}

QStringList CodeLists::loadCitysByProvince(const QString &province) const
{
    QStringList cities;
    QSqlQuery q(m_db);
    if (!execBound(q,
             QStringLiteral("select distinct trim(二级代码) from DMTable2 where trim(一级代码)=? and trim(类型)=? "
                            "and trim(二级代码)<>'' order by 1"),
             {province.trimmed(), provinceKind}, m_error))
        return cities;
    while (q.next())
        cities << q.value(0).toString();
    sortChinese(cities);
    return cities;
}

bool CodeLists::cityExists(const QString &province, const QString &city) const
{
    QSqlQuery q(m_db);
    return execBound(q,
               QStringLiteral("select 1 from DMTable2 where trim(类型)=? and trim(一级代码)=? and trim(二级代码)=?"),
               {provinceKind, province.trimmed(), city.trimmed()}, m_error)
           && q.next();
}

CodeLists::Outcome CodeLists::addCity(const QString &province, const QString &city)
{
    const QString p = province.trimmed();
    const QString c = city.trimmed();
    if (p.isEmpty() || c.isEmpty())
        return {Result::Empty, QStringLiteral("省和市输入不能为空！"), hint};
    m_db.transaction();
    if (cityExists(p, c)) {
        m_db.rollback();
        return {Result::Exists, pair(p, c) + QStringLiteral("已经存在，不需要添加！"), hint};
    }
    QSqlQuery q(m_db);
    if (!execBound(q, QStringLiteral("insert into DMTable2 (类型,一级代码,二级代码) values(?,?,?)"), {provinceKind, p, c},
             m_error)
        || !cityExists(p, c) || !m_db.commit()) {
        m_db.rollback();
        return {Result::Failed, QStringLiteral("意外错误！插入数据失败！"), hint};
    }
    return {Result::Done, pair(p, c) + QStringLiteral("代码添加成功！"), hint};
}

CodeLists::Outcome CodeLists::renameCity(const QString &province, const QString &oldCity, const QString &newCity)
{
    const QString p = province.trimmed();
    const QString c = newCity.trimmed();
    if (p.isEmpty() || c.isEmpty())
        return {Result::Empty, QStringLiteral("省和市输入不能为空！"), hint};
    m_db.transaction();
    QSqlQuery q(m_db);
    if (!execBound(q,
             QStringLiteral("update DMTable2 set 二级代码=? where trim(类型)=? and trim(一级代码)=? and trim(二级代码)=?"),
             {c, provinceKind, p, oldCity.trimmed()}, m_error)
        || q.numRowsAffected() <= 0 || !cityExists(p, c) || !m_db.commit()) {
        m_db.rollback();
        return {Result::Failed, QStringLiteral("修改失败！"), hint};
    }
    return {Result::Done, QStringLiteral("修改成功！"), hint};
}

CodeLists::Outcome CodeLists::deleteCity(const QString &province, const QString &city)
{
    const QString p = province.trimmed();
    const QString c = city.trimmed();
    if (c.isEmpty())
        return {Result::Empty, QStringLiteral("删除失败！"), hint};
    QSqlQuery q(m_db);
    const bool deleted =
        execBound(q, QStringLiteral("delete from DMTable2 where trim(类型)=? and trim(一级代码)=? and trim(二级代码)=?"),
            {provinceKind, p, c}, m_error);
    if (!deleted || cityExists(p, c))
        return {Result::Failed, QStringLiteral("删除失败！"), hint};
    return {Result::Done, QStringLiteral("删除成功！"), hint};
}

} // namespace moque::refdata
