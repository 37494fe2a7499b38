#pragma once

#include "entry/BillFields.h"

#include <QDate>
#include <QString>

namespace moque::entry {

// "合并手机到电话" on the receiver phone: on puts the handset into the phone
// (after a "\" when the phone holds something else and not the handset yet);
// off removes the first "\" + handset. An empty handset changes nothing.
QString mergeHandset(const QString &phone, const QString &handset, bool on);

// The date boxes `zdNian`, `zdYue`, `zdRi`: year in four digits, month and
// day in two with a leading zero.
struct DateBoxes
{
    QString year;
    QString month;
    QString day;

    // The text of one box; the time box is not written from the date.
    QString of(BillField::DateBox box) const;
};
DateBoxes dateBoxes(const QDate &date);

// "目的站=城市": after a change of the receiver city the destination station
// follows it while the option is on.
QString destinationAfterCityChange(bool optionOn, const QString &destination, const QString &city);
// Switching the option on copies a non-empty city at once.
QString destinationWhenOptionOn(const QString &destination, const QString &city);

} // namespace moque::entry
