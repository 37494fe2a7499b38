#pragma once

#include "entry/WaybillAids.h"

#include <QDateTime>
#include <QRandomGenerator>
#include <QString>

// The receipt's own filling aids: a charge line's amount from its quantity
// and unit price, the date boxes and the date line in the chosen format, and
// the verification code printed on the form.
namespace moque::entry {

inline const QString kBadQuantityOrPrice = QStringLiteral("非法的数量或单价(必须是英文半角的数字和.)！");

// quantity × price as the shortest decimal text, computed exactly. An empty
// quantity counts 1 and an empty price 0; either not a plain decimal number
// (ASCII digits, one ".", a leading sign) gives kBadQuantityOrPrice.
struct LineAmount
{
    QString amount;
    QString error;
    bool ok() const { return error.isEmpty(); }
};
LineAmount lineAmount(const QString &quantity, const QString &price);

// The year box with four digits, or with "两位年" the year − 2000 in two;
// month and day in two digits.
DateBoxes receiptDateBoxes(const QDate &date, bool twoDigitYear);

// The date line `zdNianYueRi` in one of the "日期格式：" choices ("YYYY-MM-DD",
// "YYYY/MM/DD", "YYYY年MM月DD日", "YYYYMMDD hh:nn", "YYYY-MM-DD hh:nn",
// "YYYY/MM/DD hh:nn", compared trimmed); any other choice gives "YYYY-MM-DD".
QString billDateLine(const QDateTime &when, const QString &formatChoice);

// `length` characters drawn one by one from `seeds`, upper-cased, with a
// space after every `groupSize`-th one when groupSize is above 0.
QString verificationCode(int length, int groupSize, const QString &seeds, QRandomGenerator &random);

} // namespace moque::entry
