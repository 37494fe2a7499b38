#include "app/Session.h"

#include <QStringList>

namespace moque::app {

int choosePrinter(const QStringList &installed, const QString &name, const QString &storedOption)
{
    QString wanted = name.trimmed();
    if (wanted.isEmpty())
        wanted = storedOption.trimmed();
    if (wanted.isEmpty() && installed.size() > 1)
        return -1;
    for (int i = 0; i < installed.size(); ++i)
        if (installed[i].compare(wanted, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int dayStamp(int year, int month, int day)
{
    return year + month + day;
}

} // namespace moque::app
