#include "entry/ExportInvoiceAids.h"

#include "refdata/DAOPerson.h"
#include "store/BoundQuery.h"

#include <QSqlRecord>

namespace moque::entry {

TypedRate typedRate(const QString &typed)
{
    TypedRate rate{typed, false};
    const qsizetype wide = rate.text.indexOf(QChar(0xFF1A));
    if (wide >= 0)
        rate.text.remove(wide, 1);
    const qsizetype colon = rate.text.indexOf(u':');
    rate.complete = colon >= 0 && !rate.text.endsWith(u':');
    return rate;
}

std::optional<refdata::TPerson> lastEntryNamed(QSqlDatabase db, const QString &name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    QSqlQuery q(db);
    if (!store::execBound(q, QStringLiteral("select * from CKPersonalInfoTable where trim(全称)=:name order by ID"),
                          {{":name", trimmed}}))
        return std::nullopt;
    std::optional<refdata::TPerson> found;
    while (q.next()) {
        refdata::TPerson person;
        refdata::DAOPerson::ReadPersonFromRow(person, q.record());
        found = person;
    }
    return found;
}

} // namespace moque::entry
