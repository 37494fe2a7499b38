#include "entry/BillValues.h"

#include <QSet>

namespace moque::entry {

QString receiverPlaceholder()
{
    return QStringLiteral("单击我或红圈选择收件人...:)");
}

QString dateText(const QDate &date)
{
    return date.toString(Qt::ISODate);
}

QDate dateFromText(const QString &text)
{
    return QDate::fromString(text.trimmed(), Qt::ISODate);
}

QStringList optionCaptions(const QString &checkBoxs)
{
    const QString list = checkBoxs.trimmed();
    if (list.isEmpty())
        return {};
    return list.split(QLatin1Char(','));
}

QString tickedOptionsText(const QStringList &captions, const QList<bool> &ticked)
{
    QStringList chosen;
    for (qsizetype i = 0; i < captions.size() && i < ticked.size(); ++i) {
        if (ticked[i])
            chosen << captions[i];
    }
    return chosen.join(QLatin1Char(','));
}

QList<bool> ticksFromOptionsText(const QStringList &captions, const QString &saved)
{
    const QStringList elements = saved.split(QLatin1Char(','));
    const QSet<QString> named(elements.cbegin(), elements.cend());
    QList<bool> ticks;
    for (const QString &caption : captions)
        ticks << (!saved.isEmpty() && named.contains(caption));
    return ticks;
}

} // namespace moque::entry
