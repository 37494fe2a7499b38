#include "refdata/Currencies.h"

#include "store/BoundQuery.h"

#include "store/Store.h"

#include <QSqlError>
#include <QSqlQuery>

namespace moque::refdata {

namespace {

const QString hint = QStringLiteral("提示");
const QString failed = QStringLiteral("失败");
const QChar quote = QLatin1Char('"');

using store::execBound;

} // namespace

QList<Currency> Currencies::loadCurrencies() const
{
    QList<Currency> list;
    QSqlQuery q(m_db);
    if (!execBound(q, QStringLiteral("select 币种,缩写,顺序 from coins order by 顺序 desc, rowid"), {}, m_error))
        return list;
    while (q.next())
        list << Currency{q.value(0).toString(), q.value(1).toString(), q.value(2).toInt()};
    return list;
}

QStringList Currencies::loadMoneyTypeList() const
{
    QStringList names;
    for (const Currency &c : loadCurrencies())
        if (!names.contains(c.name))
            names << c.name;
    return names;
}

QString Currencies::getMoneyCodeByName(const QString &name) const
{
    QSqlQuery q(m_db);
    if (!execBound(q, QStringLiteral("select 缩写 from coins where 币种=? order by 顺序 desc, rowid"), {name}, m_error))
        return {};
    return q.next() ? q.value(0).toString() : QString();
}

QString Currencies::getMoneyNameByCode(const QString &code) const
{
    QSqlQuery q(m_db);
    if (!execBound(q, QStringLiteral("select 币种 from coins where 缩写=? order by 顺序 desc, rowid"), {code}, m_error))
        return {};
    return q.next() ? q.value(0).toString() : QString();
}

bool Currencies::taken(const QString &column, const QString &value, const QString &except) const
{
    const QString c = store::quoteIdentifier(column);
    // An empty `except` is bound as NULL; ifnull keeps the comparison true for every currency.
    QSqlQuery q(m_db);
    return execBound(q,
               QStringLiteral("select 1 from coins where upper(trim(") + c + QStringLiteral("))=upper(?) and ")
                   + store::quoteIdentifier(QStringLiteral("币种")) + QStringLiteral("<>ifnull(?,'')"),
               {value.trimmed(), except}, m_error)
           && q.next();
}

Currencies::Outcome Currencies::addCurrency(const QString &name, const QString &code)
{
    const QString n = name.trimmed();
    const QString c = code.trimmed();
    if (n.isEmpty())
        return {Result::EmptyName, QStringLiteral("请填写要添加的币种名称！"), QStringLiteral("输入不完整")};
    if (c.isEmpty())
        return {Result::EmptyCode, QStringLiteral("请填写要添加的币种简码！"), QStringLiteral("输入不完整")};
    m_db.transaction();
    if (taken(QStringLiteral("币种"), n)) {
        m_db.rollback();
        return {Result::NameExists, QStringLiteral("币种") + quote + n + quote + QStringLiteral("已经存在！"),
                QStringLiteral("存在的币种")};
    }
    if (taken(QStringLiteral("缩写"), c)) {
        m_db.rollback();
        return {Result::CodeExists, QStringLiteral("币种简码") + quote + c + quote + QStringLiteral("已经存在！"),
                QStringLiteral("存在的币种简码")};
    }
    QSqlQuery q(m_db);
    if (!execBound(q, QStringLiteral("insert into coins (币种,缩写,顺序) values(?,?,0)"), {n, c}, m_error)
        || !m_db.commit()) {
        m_db.rollback();
        return {Result::Failed, QStringLiteral("添加失败！"), failed};
    }
    return {Result::Done, QStringLiteral("新币种添加成功！"), QStringLiteral("成功")};
}

Currencies::Outcome Currencies::deleteCurrency(const QString &chosenName)
{
    if (chosenName.isEmpty())
        return {Result::NotChosen, QStringLiteral("请先选中要删除的币种！"), hint};
    QSqlQuery q(m_db);
    if (!execBound(q, QStringLiteral("delete from coins where 币种=?"), {chosenName}, m_error) || q.numRowsAffected() <= 0)
        return {Result::Failed, QStringLiteral("币种删除失败！"), failed};
    return {Result::Done, QStringLiteral("币种") + quote + chosenName + quote + QStringLiteral("删除成功！"),
            QStringLiteral("成功")};
}

Currencies::Outcome Currencies::changeCode(const QString &chosenName, const QString &typedName, const QString &code)
{
    if (chosenName.isEmpty())
        return {Result::NotChosen, QStringLiteral("请先选中要修改的币种名称！"), hint};
    if (typedName.trimmed() != chosenName.trimmed())
        return {Result::NameChanged, QStringLiteral("修改不能改变币种名称！"), hint};
    const QString c = code.trimmed();
    if (c.isEmpty())
        return {Result::EmptyCode, QStringLiteral("请输入新的币种简码！"), hint};
    m_db.transaction();
    // Two currencies with one code would make the name looked up by code ambiguous.
    if (taken(QStringLiteral("缩写"), c, chosenName)) {
        m_db.rollback();
        return {Result::CodeExists, QStringLiteral("币种简码") + quote + c + quote + QStringLiteral("已经存在！"),
                QStringLiteral("存在的币种简码")};
    }
    QSqlQuery q(m_db);
    if (!execBound(q, QStringLiteral("update coins set 缩写=? where 币种=?"), {c, chosenName}, m_error)
        || q.numRowsAffected() <= 0 || !m_db.commit()) {
        m_db.rollback();
        return {Result::Failed, QStringLiteral("币种修改失败！"), failed};
    }
    return {Result::Done, QStringLiteral("币种") + quote + chosenName + quote + QStringLiteral("修改成功！"), hint};
}

bool Currencies::setOrder(const QString &name, int order)
{
    QSqlQuery q(m_db);
    return execBound(q, QStringLiteral("update coins set 顺序=? where 币种=?"), {order, name}, m_error)
           && q.numRowsAffected() > 0;
}

} // namespace moque::refdata
