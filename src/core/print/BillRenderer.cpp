#include "print/BillRenderer.h"

namespace moque::print {

KindRules KindRules::forKind(const QString &kind)
{
    KindRules r;
    if (kind == QStringLiteral("快递单")) {
        r.promptField = QStringLiteral("ZDSKR");
        r.maxCopies = 50;
    } else if (kind == QStringLiteral("出口商品发票")) {
        r.promptField = QStringLiteral("ZDGOUHCOMP");
        r.usesMoneyCode = true;
    } else if (kind == QStringLiteral("普通发票收据")) {
        r.printsLabels = true;
        r.printsLines = true;
        r.usesMoneyCode = true;
    } else if (kind == QStringLiteral("国际货运发票")) {
        r.printsLabels = true;
        r.usesMoneyCode = true;
    }
    return r;
}

BillRenderer::BillRenderer(ItemRenderer &renderer, const QList<templates::DictionaryField> &printableFields,
                           const templates::PrintItemSet &items, const KindRules &rules, int xMove, int yMove)
    : m_renderer(renderer)
    , m_fields(printableFields)
    , m_items(items)
    , m_rules(rules)
    , m_xMove(xMove)
    , m_yMove(yMove)
{
}

bool BillRenderer::render(const ValueSource &values)
{
    bool ok = true;
    for (const templates::DictionaryField &field : m_fields) {
        QString type = field.type.toUpper();
        if (type.isEmpty())
            type = QStringLiteral("TEXT");
        const FieldValue v = values.value(field.name);
        QString text = v.shown ? v.text : QString();
        if (!m_rules.promptField.isEmpty() && field.name.compare(m_rules.promptField, Qt::CaseInsensitive) == 0
            && text == receiverPrompt)
            text.clear();

        const templates::PrintItem *item = m_items.find(field.name);
        if (item && item->needPrint != 1)
            continue;
        if (type == QLatin1String("TEXT") || (type == QLatin1String("LABEL") && m_rules.printsLabels)) {
            text.replace(QLatin1Char('\n'), QStringLiteral("##")).remove(QLatin1Char('\r'));
            ok = m_renderer.printCheckItem(item, m_xMove, m_yMove, text, QStringLiteral("##")) && ok;
        } else if (type == QLatin1String("CHECKBOX")) {
            ok = m_renderer.printCheckItem(item, m_xMove, m_yMove, text, QString()) && ok;
        } else if (type == QLatin1String("LINE") && m_rules.printsLines) {
            ok = m_renderer.printCheckItem(item, m_xMove, m_yMove, QStringLiteral("-"), QString()) && ok;
        }
    }
    return ok;
}

} // namespace moque::print
