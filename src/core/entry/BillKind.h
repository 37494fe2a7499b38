#pragma once

#include "entry/BillFields.h"
#include "entry/BillState.h"

#include <QString>

namespace moque::entry {

// The red circle over the form that opens the address book for one party.
struct PartyShape
{
    QString name;        // component name
    QString hint;        // shown when the pointer rests on it
    QString pickCaption; // caption of the address book when it picks
    QString partyType;   // the address book's 单位类型 it lists
};

// Everything that makes one bill kind's entry window differ from another's:
// its names, its messages and the table of its fields.
struct BillKind
{
    QString name;         // TypeFirstName, e.g. "快递单"
    QString formName;     // the window's component name, e.g. "fmCheckKDD"
    QString historyTable; // e.g. "DataKDDTable"
    BillTexts texts;
    QString templateHint;      // hint of the template combo
    QString noTemplateMessage; // printing without a template chosen
    QString pdfFileName;       // suggested name when printing to a PDF file
    PartyShape ownShape;
    PartyShape partnerShape;
    // The field a new bill starts in; the first field the template shows when hidden.
    QString firstField;
    // The bill's number, emptied after 打印并保存 so the next bill gets its own.
    QString numberField;
    BillFields fields;
    // Closing an unsaved bill asks to save it when all of these show a value.
    QStringList closeKeyFields{};
    // The column of the invoice states "未用", "已用" and "作废"; empty when the kind has none.
    QString stateColumn{};
    // Option boxes the form carries ready; further ones are made per template.
    int readyOptionBoxes = 13;
    // 重复打印 on the toolbar; otherwise only the main window's print menu reaches it.
    bool repeatPrintShown = false;
    // 批量打印 on the toolbar: the kind has a batch print list.
    bool batchPrintShown = false;
    // Closing the address book without a choice empties the party (the waybill)
    // or leaves it as it was.
    bool emptyPickClears = true;
    // The window keeps its place and toolbar side in Config.ini from one opening to the next.
    bool remembersPosition = true;
    // The date written out in one box; the date picker sits beside it when the form has no day box.
    QString dateLineField{};

    // The Config.ini section that keeps the window's place.
    QString positionSection() const { return formName.toUpper(); }
};

const BillKind &waybillKind();
const BillKind &receiptKind();
const BillKind &freightInvoiceKind();
const BillKind &exportInvoiceKind();

// The invoice states of stateColumn.
inline const QString kStateUnused = QStringLiteral("未用");
inline const QString kStateUsed = QStringLiteral("已用");
inline const QString kStateVoided = QStringLiteral("作废");

// The prompt the invoices' customer name box may show; it counts as an empty name.
inline QString customerPlaceholder()
{
    return QStringLiteral("单击我或红圈选择收款人...:)");
}

// Whether a saved row opens as a bill to fill in: a registered number not used yet.
inline bool opensFillable(const QString &state)
{
    return state.isEmpty() || state == kStateUnused;
}

} // namespace moque::entry
