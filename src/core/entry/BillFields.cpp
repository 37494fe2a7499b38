#include "entry/BillFields.h"

#include "entry/BillValues.h"

#include <algorithm>
#include <numeric>

namespace moque::entry {

QString ListSource::templateList(int templateId) const
{
    const QString id = QString::number(templateId);
    switch (scope) {
    case Scope::AllThenTemplate:
        return QStringLiteral("0,") + id;
    case Scope::TemplateThenAll:
        return id + QStringLiteral(",0");
    case Scope::TemplateElseAll:
        return id;
    case Scope::AllOnly:
        return QStringLiteral("0");
    }
    return id;
}

BillField BillField::saved(const QString &historyColumn, int step) const
{
    BillField f = *this;
    f.column = historyColumn;
    f.readBackStep = step;
    return f;
}

BillField BillField::ofParty(Party p, std::optional<refdata::TPerson::Field> r) const
{
    BillField f = *this;
    f.party = p;
    f.role = r;
    return f;
}

BillField BillField::listedFrom(ListSource source) const
{
    BillField f = *this;
    f.list = std::move(source);
    return f;
}

BillField BillField::asDateBox(DateBox box) const
{
    BillField f = *this;
    f.dateBox = box;
    return f;
}

BillField BillField::clearedOnNew() const
{
    BillField f = *this;
    f.clearedByNewBill = true;
    return f;
}

BillField BillField::notPrinted() const
{
    BillField f = *this;
    f.printed = false;
    return f;
}

BillField BillField::withPlaceholder(const QString &prompt) const
{
    BillField f = *this;
    f.placeholder = prompt;
    return f;
}

BillField BillField::computed() const
{
    BillField f = *this;
    f.readOnly = true;
    return f;
}

BillField BillField::savedOnlyWhenShown(const QStringList &controls) const
{
    BillField f = *this;
    f.savedWhenShown = controls;
    return f;
}

QString BillField::valueOf(const QString &shown) const
{
    return !placeholder.isEmpty() && shown == placeholder ? QString() : shown;
}

const BillField *findField(const BillFields &fields, const QString &name)
{
    for (const BillField &f : fields)
        if (f.name.compare(name, Qt::CaseInsensitive) == 0)
            return &f;
    return nullptr;
}

namespace {

BillFields fieldsWhere(const BillFields &fields, const auto &keep)
{
    BillFields kept;
    std::copy_if(fields.cbegin(), fields.cend(), std::back_inserter(kept), keep);
    return kept;
}

} // namespace

QStringList fieldNames(const BillFields &fields)
{
    QStringList names;
    for (const BillField &f : fields)
        names << f.name;
    return names;
}

BillFields savedFields(const BillFields &fields)
{
    return fieldsWhere(fields, [](const BillField &f) { return !f.column.isEmpty(); });
}

QStringList saveColumns(const BillFields &fields)
{
    QStringList columns;
    for (const BillField &f : savedFields(fields))
        columns << f.column;
    return columns;
}

BillFields readBackFields(const BillFields &fields)
{
    BillFields read = fieldsWhere(fields, [](const BillField &f) { return f.readBackStep > 0; });
    std::stable_sort(read.begin(), read.end(),
                     [](const BillField &a, const BillField &b) { return a.readBackStep < b.readBackStep; });
    return read;
}

QStringList columnsNotReadBack(const BillFields &fields)
{
    QStringList columns;
    for (const BillField &f : savedFields(fields))
        if (f.readBackStep == 0 && f.control != BillField::Control::TemplateChoice)
            columns << f.column;
    return columns;
}

QStringList newBillClears(const BillFields &fields)
{
    return fieldNames(fieldsWhere(fields, [](const BillField &f) { return f.clearedByNewBill; }));
}

BillFields partyFields(const BillFields &fields, BillField::Party party, bool withRoleOnly)
{
    return fieldsWhere(fields, [party, withRoleOnly](const BillField &f) {
        return f.party == party && (!withRoleOnly || f.role.has_value());
    });
}

BillFields dateBoxFields(const BillFields &fields)
{
    return fieldsWhere(fields, [](const BillField &f) { return f.dateBox != BillField::DateBox::None; });
}

QString partyControl(const BillFields &fields, BillField::Party party, refdata::TPerson::Field role)
{
    for (const BillField &f : fields)
        if (f.party == party && f.role == role)
            return f.name;
    return {};
}

QHash<QString, QString> billRow(const BillFields &fields, const BillInput &input)
{
    QHash<QString, QString> row;
    for (const BillField &f : savedFields(fields)) {
        const bool hidden = !f.savedWhenShown.isEmpty()
                            && std::none_of(f.savedWhenShown.cbegin(), f.savedWhenShown.cend(),
                                            [&input](const QString &c) { return input.shown.contains(c); });
        if (hidden)
            continue;
        QString value;
        switch (f.control) {
        case BillField::Control::DatePicker:
            value = dateText(input.date);
            break;
        case BillField::Control::OptionBoxes:
            value = input.options;
            break;
        case BillField::Control::TemplateChoice:
            value = input.templateName;
            break;
        case BillField::Control::Edit:
        case BillField::Control::Combo:
        case BillField::Control::Memo:
            value = f.valueOf(input.controls.value(f.name));
            break;
        }
        row.insert(f.column, value);
    }
    return row;
}

QList<qsizetype> readingOrder(const QList<FieldPlace> &places)
{
    QList<qsizetype> order(places.size());
    std::iota(order.begin(), order.end(), 0);
    const auto middle = [&places](qsizetype i) { return places.at(i).rect.center().y(); };
    // Top to bottom first, so that rows can be cut where the middles jump.
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        if (places.at(a).block != places.at(b).block)
            return places.at(a).block < places.at(b).block;
        return middle(a) < middle(b);
    });
    QList<int> row(places.size());
    int rows = 0;
    qsizetype rowStart = -1;
    int rowHeight = 0;
    for (const qsizetype i : std::as_const(order)) {
        const QRect &rect = places.at(i).rect;
        const bool sameRow = rowStart >= 0 && places.at(rowStart).block == places.at(i).block
            && middle(i) - middle(rowStart) < std::min(rowHeight, rect.height()) / 2.0;
        if (!sameRow) {
            ++rows;
            rowStart = i;
            rowHeight = rect.height();
        } else {
            rowHeight = std::min(rowHeight, rect.height());
        }
        row[i] = rows;
    }
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        if (row.at(a) != row.at(b))
            return row.at(a) < row.at(b);
        return places.at(a).rect.x() < places.at(b).rect.x();
    });
    return order;
}

} // namespace moque::entry
