#pragma once

#include "refdata/Person.h"

#include <QSqlDatabase>
#include <QSqlRecord>
#include <QStringList>
#include <QVariantList>

#include <optional>

namespace moque::refdata {

// The store operations of the address book (table CKPersonalInfoTable) on the
// main connection, every value bound. Lookups take the first row the store
// gives and return nothing when no row matches, the key is empty or the
// database fails.
class DAOPerson
{
public:
    explicit DAOPerson(QSqlDatabase db) : m_db(db) {}

    // Fills the entry with the row of its ID: 1 found, 0 no row, -1 when the
    // ID is 0 or less (nothing is asked) or on an error.
    int LoadPersonByID(TPerson &person) const;

    // A code with "%" or "*" finds the first entry whose 助记码 contains the
    // code without them (nothing when only they were typed); any other code
    // the first entry whose 助记码 equals it.
    std::optional<TPerson> FindPersonByInputCode(const QString &code) const;
    std::optional<TPerson> FindPersonByFullName(const QString &name) const;
    std::optional<TPerson> FindPersonByNameAndAccount(const QString &name, const QString &account) const;
    std::optional<TPerson> FindPersonByNameAndContact(const QString &name, const QString &contact) const;
    std::optional<TPerson> FindPersonByContact(const QString &contact) const;
    // The entry of group "默认出票人".
    std::optional<TPerson> LoadDefaultIssuer() const;

    // Writes the 22 texts to the row of the entry's ID, or appends a row when
    // there is none (the store numbers it; the entry keeps its ID). ID and
    // 排序 are never written. 1 when stored, 0 when the row vanished while
    // being written, -1 with the engine's message on an error.
    int SavePerson(const TPerson &person, QString *error = nullptr) const;

    // Copies ID and the 22 texts of the row.
    static void ReadPersonFromRow(TPerson &person, const QSqlRecord &row);

    // List loaders of the main window; empty on an error.
    // Distinct full names, of one party type when the type is not empty.
    QStringList loadCompanyList(const QString &type = {}) const;
    // Distinct non-blank groups other than "默认出票人", sorted.
    QStringList loadPersonTableGroupList() const;
    // Distinct non-blank provinces, sorted.
    QStringList loadPersonTableProvinceList() const;
    // Distinct accounts of the (trimmed) full name; empty for an empty name.
    QStringList loadAccountsByCompany(const QString &name) const;
    // Distinct bank names of the (trimmed) account; empty for an empty account.
    QStringList loadBankNamesByAccount(const QString &account) const;

    // Code lists the editor offers: provinces and their cities (DMTable2,
    // kind "省市") and the countries of the common dictionary "国家".
    QStringList loadProvinces() const;
    QStringList loadCitiesOfProvince(const QString &province) const;
    QStringList loadCountries() const;

    // The stored entry a bill party belongs to: by 全称 and 开户行账号 when
    // both are given, else by 全称 and 联系人, else by 全称, else by 联系人.
    std::optional<TPerson> FindPersonForBill(const TPerson &party) const;

    // Clears group "默认出票人" everywhere, then gives it to the entry (made
    // "我方单位"), in one transaction. False with the message on an error.
    bool SetDefaultIssuer(int id, QString *error = nullptr) const;

    // Deletes every entry of the (trimmed) party type, every entry when it is
    // empty. The number deleted, -1 with the message on an error.
    int DeleteAllPersons(const QString &partyType, QString *error = nullptr) const;

    // Rows of the table, -1 on an error.
    int CountPersons() const;

    // The group paths kept in table ClassPerson (levels joined by "\"), sorted.
    QStringList loadClassPersonPaths() const;

private:
    std::optional<TPerson> findFirst(const QString &where, const QVariantList &values) const;
    QStringList loadList(const QString &sql, const QVariantList &values, bool skipBlank) const;

    QSqlDatabase m_db;
};

// The editor's rule for the stored party type: "我方单位" only when chosen.
QString normalizedPartyType(const QString &chosen);

// The editor texts when a bill party is saved to the book: every non-empty
// text of the party the bill carries over the entry's, and the party type
// "往来单位" when the party is one, else "我方单位".
TPerson overlayBillParty(const TPerson &entry, const TPerson &party);

} // namespace moque::refdata
