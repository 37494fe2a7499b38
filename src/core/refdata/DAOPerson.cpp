#include "refdata/DAOPerson.h"

#include "store/BoundQuery.h"

#include <QSqlError>
#include <QSqlQuery>

namespace moque::refdata {

using store::execBound;

namespace {

const QString selectAll = QStringLiteral("select * from CKPersonalInfoTable");

// A text for a LIKE pattern that matches itself only: "\" escapes the wildcards.
QString escapeLike(QString text)
{
    text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    text.replace(QLatin1Char('%'), QStringLiteral("\\%"));
    text.replace(QLatin1Char('_'), QStringLiteral("\\_"));
    return text;
}

// Empty texts are stored as empty strings, never as NULL, so that "=" finds them.
QVariant storedText(const QString &text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

} // namespace

QString TPerson::columnName(Field field)
{
    static const std::array<QString, FieldCount> names = {
        QStringLiteral("全称"),     QStringLiteral("识别号"),   QStringLiteral("助记码"),     QStringLiteral("联系人"),
        QStringLiteral("开户银行"), QStringLiteral("开户行账号"), QStringLiteral("开户行地址"), QStringLiteral("开户行行号"),
        QStringLiteral("电话"),     QStringLiteral("手机"),     QStringLiteral("邮编"),       QStringLiteral("国家"),
        QStringLiteral("地址"),     QStringLiteral("省"),       QStringLiteral("市"),         QStringLiteral("镇区"),
        QStringLiteral("分组"),     QStringLiteral("单位类型"), QStringLiteral("自定义1"),    QStringLiteral("自定义2"),
        QStringLiteral("自定义3"),  QStringLiteral("扩展信息"),
    };
    return names[field];
}

void DAOPerson::ReadPersonFromRow(TPerson &person, const QSqlRecord &row)
{
    person.setID(row.value(QStringLiteral("ID")).toInt());
    for (int f = 0; f < TPerson::FieldCount; ++f) {
        const auto field = TPerson::Field(f);
        person.setText(field, row.value(TPerson::columnName(field)).toString());
    }
}

int DAOPerson::LoadPersonByID(TPerson &person) const
{
    if (person.ID() <= 0)
        return -1;
    QSqlQuery q(m_db);
    if (!execBound(q, selectAll + QStringLiteral(" where ID=?"), {person.ID()}))
        return -1;
    if (!q.next())
        return 0;
    ReadPersonFromRow(person, q.record());
    return 1;
}

std::optional<TPerson> DAOPerson::findFirst(const QString &where, const QVariantList &values) const
{
    QSqlQuery q(m_db);
    if (!execBound(q, selectAll + QStringLiteral(" where ") + where, values) || !q.next())
        return std::nullopt;
    TPerson person;
    ReadPersonFromRow(person, q.record());
    return person;
}

std::optional<TPerson> DAOPerson::FindPersonByInputCode(const QString &code) const
{
    if (code.isEmpty())
        return std::nullopt;
    if (code.contains(QLatin1Char('%')) || code.contains(QLatin1Char('*'))) {
        QString rest = code;
        rest.remove(QLatin1Char('%')).remove(QLatin1Char('*'));
        if (rest.isEmpty())
            return std::nullopt;
        return findFirst(QStringLiteral("助记码 like ? escape '\\'"),
                         {QLatin1Char('%') + escapeLike(rest) + QLatin1Char('%')});
    }
    return findFirst(QStringLiteral("助记码=?"), {code});
}

std::optional<TPerson> DAOPerson::FindPersonByFullName(const QString &name) const
{
    if (name.isEmpty())
        return std::nullopt;
    return findFirst(QStringLiteral("全称=?"), {name});
}

std::optional<TPerson> DAOPerson::FindPersonByNameAndAccount(const QString &name, const QString &account) const
{
    if (name.isEmpty())
        return std::nullopt;
    return findFirst(QStringLiteral("全称=? and 开户行账号=?"), {name, account});
}

std::optional<TPerson> DAOPerson::FindPersonByNameAndContact(const QString &name, const QString &contact) const
{
    if (name.isEmpty())
        return std::nullopt;
    return findFirst(QStringLiteral("全称=? and 联系人=?"), {name, contact});
}

std::optional<TPerson> DAOPerson::FindPersonByContact(const QString &contact) const
{
    if (contact.isEmpty())
        return std::nullopt;
    return findFirst(QStringLiteral("联系人=?"), {contact});
}

std::optional<TPerson> DAOPerson::LoadDefaultIssuer() const
{
    return findFirst(QStringLiteral("分组=?"), {groupDefaultIssuer});
}

int DAOPerson::SavePerson(const TPerson &person, QString *error) const
{
    auto fail = [&](const QSqlQuery &q) {
        if (error)
            *error = q.lastError().text();
        return -1;
    };
    QSqlQuery find(m_db);
    if (!execBound(find, QStringLiteral("select ID from CKPersonalInfoTable where ID=?"), {person.ID()}))
        return fail(find);
    const bool exists = find.next();
    find.finish();

    QStringList columns;
    QVariantList values;
    for (int f = 0; f < TPerson::FieldCount; ++f) {
        columns << TPerson::columnName(TPerson::Field(f));
        values << storedText(person.text(TPerson::Field(f)));
    }
    QSqlQuery write(m_db);
    if (exists) {
        values << person.ID();
        if (!execBound(write,
                      QStringLiteral("update CKPersonalInfoTable set ") + columns.join(QStringLiteral("=?,"))
                          + QStringLiteral("=? where ID=?"),
                      values))
            return fail(write);
        return write.numRowsAffected() == 1 ? 1 : 0;
    }
    if (!execBound(write,
                  QStringLiteral("insert into CKPersonalInfoTable (") + columns.join(QLatin1Char(','))
                      + QStringLiteral(") values (") + QStringList(columns.size(), QStringLiteral("?")).join(QLatin1Char(','))
                      + QLatin1Char(')'),
                  values))
        return fail(write);
    return 1;
}

QStringList DAOPerson::loadList(const QString &sql, const QVariantList &values, bool skipBlank) const
{
    QStringList list;
    QSqlQuery q(m_db);
    // A long list read once: no row is kept for going back.
    q.setForwardOnly(true);
    if (!execBound(q, sql, values))
        return list;
    while (q.next()) {
        const QString v = q.value(0).toString();
        if (!skipBlank || !v.trimmed().isEmpty())
            list << v;
    }
    return list;
}

QStringList DAOPerson::loadCompanyList(const QString &type) const
{
    if (type.isEmpty())
        return loadList(QStringLiteral("select distinct 全称 from CKPersonalInfoTable"), {}, false);
    return loadList(QStringLiteral("select distinct 全称 from CKPersonalInfoTable where 单位类型=?"), {type}, false);
}

QStringList DAOPerson::loadPersonTableGroupList() const
{
    return loadList(QStringLiteral("select distinct 分组 from CKPersonalInfoTable where 分组 is not null and 分组<>? "
                                   "order by 分组"),
                    {groupDefaultIssuer}, true);
}

QStringList DAOPerson::loadPersonTableProvinceList() const
{
    return loadList(QStringLiteral("select distinct 省 from CKPersonalInfoTable where 省 is not null order by 省"), {},
                    true);
}

QStringList DAOPerson::loadAccountsByCompany(const QString &name) const
{
    const QString n = name.trimmed();
    if (n.isEmpty())
        return {};
    return loadList(QStringLiteral("select distinct 开户行账号 from CKPersonalInfoTable where 全称=?"), {n}, false);
}

QStringList DAOPerson::loadBankNamesByAccount(const QString &account) const
{
    const QString a = account.trimmed();
    if (a.isEmpty())
        return {};
    return loadList(QStringLiteral("select distinct 开户银行 from CKPersonalInfoTable where 开户行账号=?"), {a}, false);
}

QStringList DAOPerson::loadProvinces() const
{
    return loadList(QStringLiteral("select distinct 一级代码 from DMTable2 where 类型=? order by 一级代码"),
                    {QStringLiteral("省市")}, false);
}

QStringList DAOPerson::loadCitiesOfProvince(const QString &province) const
{
    return loadList(QStringLiteral("select 二级代码 from DMTable2 where 类型=? and trim(一级代码)=? order by 一级代码"),
                    {QStringLiteral("省市"), province.trimmed()}, false);
}

QStringList DAOPerson::loadCountries() const
{
    return loadList(QStringLiteral("select distinct DMValue from DMTable where DMName=? and CheckTypeID in(0)"),
                    {QStringLiteral("国家")}, false);
}

std::optional<TPerson> DAOPerson::FindPersonForBill(const TPerson &party) const
{
    const bool name = !party.fullName().isEmpty();
    if (name && !party.bankAccount().isEmpty())
        return FindPersonByNameAndAccount(party.fullName(), party.bankAccount());
    if (name && !party.contact().isEmpty())
        return FindPersonByNameAndContact(party.fullName(), party.contact());
    if (name)
        return FindPersonByFullName(party.fullName());
    return FindPersonByContact(party.contact());
}

bool DAOPerson::SetDefaultIssuer(int id, QString *error) const
{
    QSqlDatabase db = m_db;
    db.transaction();
    QSqlQuery clear(db);
    QSqlQuery set(db);
    if (execBound(clear, QStringLiteral("update CKPersonalInfoTable set 分组='' where 分组=?"), {groupDefaultIssuer})
        && execBound(set, QStringLiteral("update CKPersonalInfoTable set 分组=?,单位类型=? where ID=?"),
                    {groupDefaultIssuer, partyOwn, id})
        && db.commit())
        return true;
    if (error) {
        const QSqlError e = clear.lastError().isValid() ? clear.lastError()
                            : set.lastError().isValid() ? set.lastError()
                                                        : db.lastError();
        *error = e.text();
    }
    db.rollback();
    return false;
}

int DAOPerson::DeleteAllPersons(const QString &partyType, QString *error) const
{
    const QString type = partyType.trimmed();
    QSqlQuery q(m_db);
    const bool ok = type.isEmpty()
                        ? execBound(q, QStringLiteral("delete from CKPersonalInfoTable"), {})
                        : execBound(q, QStringLiteral("delete from CKPersonalInfoTable where 单位类型=?"), {type});
    if (!ok) {
        if (error)
            *error = q.lastError().text();
        return -1;
    }
    return q.numRowsAffected();
}

int DAOPerson::CountPersons() const
{
    QSqlQuery q(m_db);
    if (!execBound(q, QStringLiteral("select count(*) from CKPersonalInfoTable"), {}) || !q.next())
        return -1;
    return q.value(0).toInt();
}

QStringList DAOPerson::loadClassPersonPaths() const
{
    return loadList(QStringLiteral("select FullPathName from ClassPerson order by FullPathName"), {}, true);
}

QString normalizedPartyType(const QString &chosen)
{
    return chosen == partyOwn ? partyOwn : partyPartner;
}

TPerson overlayBillParty(const TPerson &entry, const TPerson &party)
{
    static const TPerson::Field carried[] = {
        TPerson::FullName, TPerson::Country,  TPerson::Mobile,      TPerson::Contact,     TPerson::Address,
        TPerson::Phone,    TPerson::Province, TPerson::City,        TPerson::Town,        TPerson::ZipCode,
        TPerson::Bank,     TPerson::BankAccount, TPerson::BankAddress, TPerson::BankNo, TPerson::Def1,
        TPerson::Def2,     TPerson::Def3,
    };
    TPerson result = entry;
    for (const TPerson::Field f : carried)
        if (!party.text(f).isEmpty())
            result.setText(f, party.text(f));
    result.setPartyType(party.partyType() == partyPartner ? partyPartner : partyOwn);
    return result;
}

} // namespace moque::refdata
