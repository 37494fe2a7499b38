#include "entry/FieldLists.h"

#include "refdata/CodeLists.h"
#include "refdata/DAOPerson.h"
#include "refdata/Dictionaries.h"

namespace moque::entry {

using Kind = ListSource::Kind;
using refdata::TPerson;

std::optional<QStringList> FieldLists::values(const BillField &field, int templateId, const TextOf &textOf) const
{
    switch (field.list.kind) {
    case Kind::AddressBook:
        return refdata::DAOPerson(m_db).loadCompanyList(field.party == BillField::Party::Own
                                                            ? m_kind.ownShape.partyType
                                                            : m_kind.partnerShape.partyType);
    case Kind::Dictionary: {
        const refdata::Dictionaries dictionaries(m_db);
        QStringList values = dictionaries.loadDMListByName(field.list.dictionary, field.list.templateList(templateId));
        if (values.isEmpty() && field.list.scope == ListSource::Scope::TemplateElseAll)
            values = dictionaries.loadDMListByName(field.list.dictionary, QStringLiteral("0"));
        return values;
    }
    case Kind::Provinces:
        return refdata::CodeLists(m_db).loadProvinces();
    case Kind::Cities: {
        // The cities of the party's own province, else of the receiver's.
        QString province = textOf(partyControl(m_kind.fields, field.party, TPerson::Province));
        if (province.isEmpty())
            province = textOf(partyControl(m_kind.fields, BillField::Party::Partner, TPerson::Province));
        const QStringList cities = refdata::CodeLists(m_db).loadCitysByProvince(province);
        if (province.isEmpty() || cities.isEmpty())
            return std::nullopt;
        return cities;
    }
    case Kind::Fixed:
        return field.list.values;
    case Kind::Countries:
    case Kind::None:
        break;
    }
    return std::nullopt;
}

} // namespace moque::entry
