#include "app/Session.h"

#include "print/PrinterChoice.h"

#include <QStringList>

namespace moque::app {

int choosePrinter(const QStringList &installed, const QString &name, const QString &storedOption)
{
    QString wanted = name.trimmed();
    if (wanted.isEmpty())
        wanted = storedOption.trimmed();
    // The always-listed PDF printer is no choice of its own: with nothing named,
    // a single real printer is the bill printer, several leave the system's default.
    if (wanted.isEmpty()) {
        const QStringList real = print::realPrinters(installed);
        return real.size() == 1 ? int(installed.indexOf(real.first())) : -1;
    }
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
