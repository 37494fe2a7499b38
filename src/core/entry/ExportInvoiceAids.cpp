#include "entry/ExportInvoiceAids.h"

#include "refdata/DAOPerson.h"
#include "settings/Options.h"
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

QString exportStartCurrency(const QStringList &currencies)
{
    static const QString usual = QStringLiteral("美元");
    return currencies.contains(usual) ? usual : currencies.value(0);
}

ExportLook storedExportLook(const std::function<QString(const QString &name)> &stored)
{
    const auto ticked = [&stored](const char *name) { return stored(QString::fromLatin1(name)) != QLatin1String("0"); };
    ExportLook look;
    look.capitalWithCurrencyName = ticked("cfgJEDXWithMoneyName");
    look.rmbCapitalWithRmb = ticked("cfgRMBJEDXWithRMB");
    look.totalWithCurrency = ticked("cfgTotalJEWithSheep");
    return look;
}

QString keptRate(const settings::Options &options, const QString &currency)
{
    const QString kept = options.getConfigByname(currency);
    return kept.isEmpty() ? kDefaultRate : kept;
}

QString openedRate(const QString &savedRate, const QString &kept)
{
    const QString saved = savedRate.trimmed();
    if (!saved.isEmpty())
        return saved;
    const TypedRate rate = typedRate(kept);
    return rate.complete ? rate.text : QString();
}

} // namespace moque::entry
