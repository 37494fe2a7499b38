#pragma once

#include "refdata/Person.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QRect>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

namespace moque::entry {

// Where the values of a field's drop-down list come from.
struct ListSource
{
    enum class Kind {
        None,
        AddressBook, // the party's names in the address book (我方单位 or 往来单位)
        Dictionary,  // a list of the drop-down dictionary
        Provinces,   // the province code list
        Cities,      // the cities of the province chosen in the party's province box
        Countries,
        Fixed,       // the values given here
    };
    // Which templates' dictionary values: "0," + template ("这个模板及所有模板"),
    // template + ",0", the template's own and, when it has none, those of all,
    // or only those of all templates ("0").
    enum class Scope { AllThenTemplate, TemplateThenAll, TemplateElseAll, AllOnly };

    Kind kind = Kind::None;
    QString dictionary;
    Scope scope = Scope::AllThenTemplate;
    QStringList values;   // Fixed
    QString picker;       // an edit or memo is filled through the floating picker of this name
    bool writesWhileChoosing = false; // the picker writes its text back on every change
    bool firstByDefault = false;      // the list's first value stands when the box is empty

    // The template list that Dictionaries::loadDMListByName takes.
    QString templateList(int templateId) const;
};

// One input control of a bill window, placed over the form's picture, and
// what the bill does with it: the history column it is saved in, the party it
// describes, where its list comes from, whether it is a date box.
struct BillField
{
    enum class Control {
        Edit,
        Combo,
        Memo,
        DatePicker,     // `SelDate`, saved as the bill's date
        OptionBoxes,    // the template's option boxes, saved as their ticked captions
        TemplateChoice, // the template combo, saved as the display name in use
    };
    // The part of the form a field belongs to, in the order a person fills
    // them in; Tab goes through the parts in this order, and through each
    // part's fields as the template places them, row by row.
    enum class Block { Sender, Receiver, Contents, Closing };
    // Own: the party issuing the bill (the waybill's sender); Partner: the
    // other one (its receiver). setSender/setReceiver fill the fields with a role.
    enum class Party { None, Own, Partner };
    enum class DateBox { None, Year, Month, Day, Time };

    QString name; // the component name the template places and prints by
    Control control = Control::Edit;
    Block block = Block::Contents;
    QString hint; // what the box holds, shown when the pointer rests on it
    QString column; // the history column it is saved in; empty when not saved
    int readBackStep = 0; // its place when a saved bill is opened; 0 when it is not read back
    Party party = Party::None;
    std::optional<refdata::TPerson::Field> role; // the address book field it shows
    ListSource list;
    DateBox dateBox = DateBox::None;
    bool clearedByNewBill = false;
    bool printed = true;
    // Shows what the window computes or copies; the user does not type in it.
    bool readOnly = false;
    // Saved only while one of these controls is shown on the template (a
    // hidden line keeps what its row held); empty: always saved.
    QStringList savedWhenShown;
    QString placeholder; // a prompt the box may show, saved and printed as empty

    // The table reads as one line a field: BillField{…}.saved(…).ofParty(…).
    BillField saved(const QString &historyColumn, int step = 0) const;
    BillField ofParty(Party p, std::optional<refdata::TPerson::Field> r = std::nullopt) const;
    BillField listedFrom(ListSource source) const;
    BillField asDateBox(DateBox box) const;
    BillField clearedOnNew() const;
    BillField notPrinted() const;
    BillField withPlaceholder(const QString &prompt) const;
    BillField computed() const;
    BillField savedOnlyWhenShown(const QStringList &controls) const;

    // An input control the window places on the picture panel.
    bool isInput() const { return control == Control::Edit || control == Control::Combo || control == Control::Memo; }
    // The text as saved and printed: the placeholder counts as empty.
    QString valueOf(const QString &shown) const;
};

using BillFields = QList<BillField>;

const BillField *findField(const BillFields &fields, const QString &name);
QStringList fieldNames(const BillFields &fields);

// Fields saved, in the order a save writes them; their columns.
BillFields savedFields(const BillFields &fields);
QStringList saveColumns(const BillFields &fields);
// The order in which opening a saved bill sets the window.
BillFields readBackFields(const BillFields &fields);
// Columns a save writes that opening a saved bill leaves alone (the template
// name aside, which picks the template instead of filling a control).
QStringList columnsNotReadBack(const BillFields &fields);
QStringList newBillClears(const BillFields &fields);
// The fields of one party; withRoleOnly keeps those an address book entry fills.
BillFields partyFields(const BillFields &fields, BillField::Party party, bool withRoleOnly);
BillFields dateBoxFields(const BillFields &fields);
// The input control of that party's role, or nothing.
QString partyControl(const BillFields &fields, BillField::Party party, refdata::TPerson::Field role);

// Everything a save reads from the window.
struct BillInput
{
    QHash<QString, QString> controls; // component name -> text as shown
    QDate date;                       // `SelDate`
    QString options;                  // the ticked option captions
    QString templateName;             // display name of the template
    QSet<QString> shown;              // the controls the template shows
};
// One history row (column -> text); a control missing from the input saves as
// the empty text, a field saved only while shown is left out while hidden.
QHash<QString, QString> billRow(const BillFields &fields, const BillInput &input);

// Where a field stands on the form, for readingOrder().
struct FieldPlace
{
    BillField::Block block = BillField::Block::Contents;
    QRect rect;
};

// The order a person reads the fields in, as indices into places: block by
// block, and in a block row by row from the top, left to right along a row.
// Fields share a row when their middles lie within half the lower one's
// height of the row's first middle, so a combo box beside an edit of another
// height still reads as one row.
QList<qsizetype> readingOrder(const QList<FieldPlace> &places);

} // namespace moque::entry
