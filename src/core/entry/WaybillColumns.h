#pragma once

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace moque::entry {

// The prompt the receiver name box may show; it counts as an empty name when
// a bill is saved, printed or stored in the address book.
QString receiverPlaceholder();

// Where a history column's value comes from on the entry window.
enum class ValueKind {
    Text,         // the control's text as it stands
    ReceiverName, // the receiver name box, the placeholder counted as empty
    Date,         // the date picker `SelDate`, stored as yyyy-MM-dd
    Options,      // the ticked option boxes, captions joined by ","
    TemplateName, // the display name of the template in use
};
// Reading a row back, Text and ReceiverName both mean: put the column's text
// into the control.

struct ColumnBinding
{
    QString control; // component name on the window; empty for the option boxes
    QString column;  // column of the history table
    ValueKind kind = ValueKind::Text;
};

// DataKDDTable's columns in the order a save writes them.
const QList<ColumnBinding> &waybillSaveBindings();
QStringList waybillSaveColumns();

// The order in which opening a saved waybill sets the window: option boxes
// first, then each control from its column.
const QList<ColumnBinding> &waybillReadBackBindings();
// Columns a save writes that opening a saved waybill leaves alone (the
// template name aside, which picks the template instead of filling a control).
QStringList waybillColumnsNotReadBack();

// Controls that a new waybill empties; the sender, the other fees, the amount
// in words, the custom fields and the courier account keep their values.
QStringList waybillNewBillClears();

// Everything a save reads from the window.
struct WaybillInput
{
    QHash<QString, QString> controls; // component name -> text as shown
    QDate date;                       // `SelDate`
    QString options;                  // getItemCheckTitle
    QString templateName;             // display name of the template
};

// One DataKDDTable row (column -> text); a control
// missing from the input saves as the empty text.
QHash<QString, QString> waybillRow(const WaybillInput &input);

// The receiver name as saved: the placeholder counts as empty.
QString receiverNameForSave(const QString &shown);

// Dates are kept as ISO text so that periods compare as text.
QString dateText(const QDate &date);
QDate dateFromText(const QString &text);

// Option boxes: the template's CheckBoxs list, trimmed and split at ",";
// an empty list gives no box.
QStringList optionCaptions(const QString &checkBoxs);
// getItemCheckTitle: the ticked captions in list order joined by ",".
QString tickedOptionsText(const QStringList &captions, const QList<bool> &ticked);
// setItemCheckTitle: a box is ticked exactly when its caption is an element
// of the saved text; names the template lacks are ignored.
QList<bool> ticksFromOptionsText(const QStringList &captions, const QString &saved);

} // namespace moque::entry
