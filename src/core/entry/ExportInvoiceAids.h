#pragma once

#include "entry/InvoiceAmounts.h"
#include "refdata/Person.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace moque::settings {
class Options;
}

// The export invoice's own filling aids: the exchange rate as the user types
// it, the buyer's details looked up by the name typed, and the option strip as
// a template keeps it, which the window and a reprint from the command line
// both read.
namespace moque::entry {

inline constexpr int kExportLines = 7;
// A quantity box takes at most so many characters; more are cut off.
inline constexpr int kExportQuantityLength = 12;
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

// The currency a template starts with when it keeps none: 美元 when listed,
// else the first listed.
QString exportStartCurrency(const QStringList &currencies);

// The looks of the totals a template keeps ("大写前置币种", "人民币大写带\"人民币\"",
// "合计小写带币种"): each is on unless stored as "0". The currency is left to the caller.
ExportLook storedExportLook(const std::function<QString(const QString &name)> &stored);

// The rate kept for a currency (the system option named by it), else kDefaultRate.
QString keptRate(const settings::Options &options, const QString &currency);

// The rate box of an opened invoice: its saved rate, trimmed; without one the
// rate kept for its currency when that is complete, else empty.
QString openedRate(const QString &savedRate, const QString &kept);

} // namespace moque::entry
