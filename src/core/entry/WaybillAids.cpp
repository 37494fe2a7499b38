#include "entry/WaybillAids.h"

namespace moque::entry {

QString mergeHandset(const QString &phone, const QString &handset, bool on)
{
    if (handset.isEmpty())
        return phone;
    const QString joined = QLatin1Char('\\') + handset;
    if (!on) {
        QString result = phone;
        const qsizetype at = result.indexOf(joined);
        if (at >= 0)
            result.remove(at, joined.size());
        return result;
    }
    if (phone.isEmpty())
        return handset;
    if (phone.contains(handset))
        return phone;
    return phone + joined;
}

QString DateBoxes::of(BillField::DateBox box) const
{
    switch (box) {
    case BillField::DateBox::Year:
        return year;
    case BillField::DateBox::Month:
        return month;
    case BillField::DateBox::Day:
        return day;
    case BillField::DateBox::None:
    case BillField::DateBox::Time:
        break;
    }
    return {};
}

DateBoxes dateBoxes(const QDate &date)
{
    // A bill saved without a readable date prints no date rather than zeros.
    if (!date.isValid())
        return {};
    return {QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0')),
            QStringLiteral("%1").arg(date.month(), 2, 10, QLatin1Char('0')),
            QStringLiteral("%1").arg(date.day(), 2, 10, QLatin1Char('0'))};
}

QString destinationAfterCityChange(bool optionOn, const QString &destination, const QString &city)
{
    return optionOn && destination != city ? city : destination;
}

QString destinationWhenOptionOn(const QString &destination, const QString &city)
{
    return city.isEmpty() ? destination : city;
}

} // namespace moque::entry
