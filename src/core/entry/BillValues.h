#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace moque::entry {

// The prompt the receiver name box may show; it counts as an empty name when
// a bill is saved, printed or stored in the address book.
QString receiverPlaceholder();

// Dates are kept as ISO text so that periods compare as text.
QString dateText(const QDate &date);
QDate dateFromText(const QString &text);

// Option boxes: the template's CheckBoxs list, trimmed and split at ",";
// an empty list gives no box.
QStringList optionCaptions(const QString &checkBoxs);
// getItemCheckTitle: the ticked captions in list order joined by ",".
QString tickedOptionsText(const QStringList &captions, const QList<bool> &ticked);
// setItemCheckTitle: a box is ticked exactly when its caption is an element
// of the saved text; names the template lacks are ignored.
QList<bool> ticksFromOptionsText(const QStringList &captions, const QString &saved);

} // namespace moque::entry
