#pragma once

#include <QString>

// Controls of the invoice windows that their rules name, shared by the
// windows and a reprint from the command line.
namespace moque::entry::control {

inline const QString total = QStringLiteral("zdHJJEXX");       // the total as a number
inline const QString totalShown = QStringLiteral("zdHJJE");    // the total as it prints
inline const QString capital = QStringLiteral("zdJEDX");       // the total in capitals
inline const QString totalInput = QStringLiteral("inputJEXX"); // a total typed without lines
inline const QString dateLine = QStringLiteral("zdNianYueRi");
inline const QString dateLineCopy = QStringLiteral("cgNianYueRi"); // on the counterfoil
inline const QString customer = QStringLiteral("zdGKMC");
inline const QString rate = QStringLiteral("zdExchRate"); // the export invoice's exchange rate

} // namespace moque::entry::control

namespace moque::entry {

// The currency of a bill that names none.
inline const QString kHomeCurrency = QStringLiteral("人民币");

} // namespace moque::entry
