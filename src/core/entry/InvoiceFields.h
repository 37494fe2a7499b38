#pragma once

#include "entry/BillKind.h"
#include "entry/FieldTable.h"
#include "entry/NumberedFields.h"

// The fields the receipt and the freight invoice share: charge lines, digit
// boxes and the total in figures and capitals.
namespace moque::entry::table {

BillField numberedField(const char *name, int n, C control, const QString &hint);

enum class LineSaving {
    WhileShown, // a line the form does not show keeps what its row held
    Always,
};
// One charge line n: what is charged, article number, model (规格), unit,
// quantity, unit price, the typed amount and its display; `step` counts the
// places of the fields read back when a saved bill is opened.
void addChargeLine(BillFields &fields, int n, int &step, LineSaving saving, const ListSource &chargeList);
// Read-only boxes the window fills, one per name.
void addDigitBoxes(BillFields &fields, const QStringList &names);
// The total as a number (saved; read back through the typed total), its
// display, the capital amount and the edit a total is typed in.
BillFields totalFields();

// What the receipt and the freight invoice do alike beyond their fields: a
// bill closes on its total, saves its state, shows six option boxes ready
// and 重复打印, keeps a pick's empty choice, remembers the window's place and
// writes a date line.
inline BillKind invoiceKind(BillKind kind)
{
    kind.closeKeyFields = {QStringLiteral("zdHJJE")};
    kind.stateColumn = QStringLiteral("票据状态");
    kind.readyOptionBoxes = 6;
    kind.repeatPrintShown = true;
    kind.emptyPickClears = false;
    kind.remembersPosition = true;
    kind.dateLineField = QStringLiteral("zdNianYueRi");
    return kind;
}

} // namespace moque::entry::table
