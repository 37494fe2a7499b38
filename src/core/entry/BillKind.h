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

    // The Config.ini section that keeps the window's place.
    QString positionSection() const { return formName.toUpper(); }
};

const BillKind &waybillKind();

} // namespace moque::entry
