#pragma once

#include "entry/BillKind.h"

#include <QSqlDatabase>
#include <QStringList>

#include <functional>
#include <optional>

namespace moque::entry {

// The values of a field's drop-down list, from the source its row of the
// field table names: the address book, the drop-down dictionary, the province
// and city code lists or a fixed list.
class FieldLists
{
public:
    // textOf gives the text a control of the window holds now (for the province of a city list).
    using TextOf = std::function<QString(const QString &controlName)>;

    FieldLists(QSqlDatabase db, const BillKind &kind) : m_db(db), m_kind(kind) {}

    // Nothing when the list keeps what it holds: no source, or a city list
    // for an empty or unknown province.
    std::optional<QStringList> values(const BillField &field, int templateId, const TextOf &textOf) const;

private:
    QSqlDatabase m_db;
    const BillKind &m_kind;
};

} // namespace moque::entry
