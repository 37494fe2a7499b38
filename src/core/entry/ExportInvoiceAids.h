#pragma once

#include "refdata/Person.h"

#include <QSqlDatabase>
#include <QString>

#include <optional>

// The export invoice's own filling aids: the exchange rate as the user types
// it, and the buyer's details looked up by the name typed.
namespace moque::entry {

inline constexpr int kExportLines = 7;
// The rate when none is kept for the currency: as many yuan as foreign units.
inline const QString kDefaultRate = QStringLiteral("100:100");

// A rate typed in `edtHuiLv`: the text with its first full-width colon "："
// removed, and whether it is complete (a ":" that is not its last character)
// and so goes into the rate box.
struct TypedRate
{
    QString text;
    bool complete = false;
};
TypedRate typedRate(const QString &typed);

// The address book entry whose 全称, trimmed, is the trimmed name; the last one
// when several are. Nothing for an empty name, when none is or on an error.
std::optional<refdata::TPerson> lastEntryNamed(QSqlDatabase db, const QString &name);

} // namespace moque::entry
