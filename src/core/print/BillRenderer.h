#pragma once

#include "print/ItemRenderer.h"
#include "print/ValueSource.h"
#include "templates/PrintItem.h"

namespace moque::print {

// What a bill kind prints of the item types besides text and ticks.
struct KindRules
{
    QString promptField;      // a receiver box whose prompt text must never print
    bool printsLabels = false;
    bool printsLines = false; // a line item takes "-" as its value
    bool usesMoneyCode = false;
    int maxCopies = 0;        // 0: no limit

    static KindRules forKind(const QString &kind);
};

// The prompt text of an empty receiver box.
inline const QString receiverPrompt = QStringLiteral("单击我或红圈选择收件人...:)");

// Renders a whole bill: the printable fields of the kind in print order, each
// with its value from the source and the template's print item.
class BillRenderer
{
public:
    BillRenderer(ItemRenderer &renderer, const QList<templates::DictionaryField> &printableFields,
                 const templates::PrintItemSet &items, const KindRules &rules, int xMove, int yMove);

    // False when any item reported an error; the other items still print.
    bool render(const ValueSource &values);

private:
    ItemRenderer &m_renderer;
    QList<templates::DictionaryField> m_fields;
    const templates::PrintItemSet &m_items;
    KindRules m_rules;
    int m_xMove;
    int m_yMove;
};

} // namespace moque::print
