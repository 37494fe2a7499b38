#pragma once

#include "entry/BillKind.h"
#include "print/ValueSource.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace moque::app {
class AppCore;
}

namespace moque::entry {

// A receipt, freight or export invoice ready to print: its template, the values its
// window shows (only the controls the template shows print) and the code of
// its currency, which the print job takes for the currency sign.
struct InvoiceBill
{
    int templateId = 0;
    QString templateName; // full name
    print::MapValueSource values;
    QString moneyCode;
};

// The invoice kind named "普通发票收据", "国际货运发票" or "出口商品发票"; null for any other name.
const BillKind *invoiceKindNamed(const QString &name);

// Reads invoice `id` of the kind's history table and computes what its window
// shows when it reopens the bill on the template it was saved with: the line
// amounts (from quantity and price when a line has no amount), their digit
// boxes, the total in figures, boxes and capitals, the date, the counterfoil
// and the option boxes. The verification code is not saved with a bill, so a
// new one is drawn. Nothing, with the reason in *error, when the bill or its
// template no longer exists or the total is refused (beyond the form's digit
// limit, not a number).
// An export invoice shows each line's 销售额 from quantity and price, the
// foreign and RMB totals with their capitals at its saved 当期汇率 (else the
// rate kept for its currency), the FOB totals, the currency name and the date
// in the template's date format; a quantity, price or FOB value that is not a
// number and a rate that cannot be read are refused with the window's message.
std::optional<InvoiceBill> loadSavedInvoice(app::AppCore &core, const BillKind &kind, qint64 id, QString *error);

// The same from the controls' texts given per field (a file of bill values)
// on template `templateId`: a line's amount is its zdJE text, else computed
// from zdSL and zdDJ; without lines on the form the total is zdHJJEXX (or
// zdHJJE). The date is zdNianYueRi when it reads as yyyy-MM-dd, else today.
// On an export invoice the currency is the template's, the rate zdExchRate
// (else the one kept for the currency) and the lines zdAmount, zdPrice and
// zdD2Price.
std::optional<InvoiceBill> invoiceFromValues(app::AppCore &core, const BillKind &kind, int templateId,
                                             const print::ValueSource &given, QString *error);

} // namespace moque::entry
