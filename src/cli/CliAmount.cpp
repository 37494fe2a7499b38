#include "CliAmount.h"

#include "CliErrors.h"
#include "entry/Amounts.h"

#include <QTextStream>

namespace moque::cli {

namespace {

entry::AmountText convert(const AmountOptions &o, const QString &amount)
{
    if (o.conversion == QLatin1String("capital"))
        return entry::toChineseCapital(amount);
    if (o.conversion == QLatin1String("digits"))
        return entry::toCapitalDigits(amount, o.count, o.format);
    if (o.conversion == QLatin1String("money"))
        return entry::formatMoney(amount, o.thousands);
    // clean: what remains of a typed amount must itself be an amount.
    const QString cleaned = entry::normalizeDigits(amount);
    if (!entry::parseFen(cleaned))
        return {{}, entry::kNotANumber};
    return {cleaned, {}};
}

} // namespace

int convertAmounts(const AmountOptions &options)
{
    const QStringList conversions{QStringLiteral("capital"), QStringLiteral("digits"), QStringLiteral("money"),
                                  QStringLiteral("clean")};
    if (!conversions.contains(options.conversion))
        return fail(QStringLiteral("amount needs one of: ") + conversions.join(QStringLiteral(", ")));
    if (options.amounts.isEmpty())
        return fail(QStringLiteral("amount %1 needs one or more amounts").arg(options.conversion));
    if (options.conversion == QLatin1String("digits") && options.count < 1)
        return fail(QStringLiteral("amount digits needs --count N (1 or more)"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    int failures = 0;
    for (const QString &amount : options.amounts) {
        const entry::AmountText result = convert(options, amount);
        // One line an amount, so that a script can pair results with what it gave.
        out << (result.ok() ? result.text : QString()) << Qt::endl;
        if (!result.ok()) {
            ++failures;
            err << QStringLiteral("moque-cli: %1: %2").arg(amount, result.error) << Qt::endl;
        }
    }
    return failures == 0 ? 0 : 1;
}

} // namespace moque::cli
