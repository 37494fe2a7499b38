#pragma once

#include <QList>
#include <QRect>
#include <QString>

namespace moque::entry {

// One input control of a bill window, placed over the form's picture.
struct BillField
{
    enum class Control { Edit, Combo, Memo };
    // The part of the form a field belongs to, in the order a person fills
    // them in; Tab goes through the parts in this order, and through each
    // part's fields as the template places them, row by row.
    enum class Block { Sender, Receiver, Contents, Closing };
    QString name;     // the component name the template places and prints by
    Control control = Control::Edit;
    Block block = Block::Contents;
    QString hint;     // what the box holds, shown when the pointer rests on it
};

// The waybill's input controls, block by block.
const QList<BillField> &waybillFields();

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
