#include "entry/InvoiceOptions.h"

namespace moque::entry {

QStringList invoiceDigitLimits()
{
    return {QStringLiteral("       00.00 十位发票"),   QStringLiteral("      000.00 百位发票"),
            QStringLiteral("     0000.00 千位发票"),   QStringLiteral("    00000.00 万位发票"),
            QStringLiteral("   000000.00 十万位发票"), QStringLiteral("  0000000.00 百万位发票"),
            QStringLiteral(" 00000000.00 千万位发票"), QStringLiteral("000000000.00 亿位发票")};
}

QStringList invoiceDateFormats()
{
    return {QStringLiteral("YYYY-MM-DD"), QStringLiteral("YYYY/MM/DD"), defaultDateFormat(),
            QStringLiteral("YYYYMMDD hh:nn"), QStringLiteral("YYYY/MM/DD hh:nn")};
}

QStringList invoiceCodeSeeds()
{
    return {QStringLiteral("0123456789"), QStringLiteral("0123456789ABCDEF"), QStringLiteral("0123456789+-*/<>"),
            QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"),
            QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ+-*/<>")};
}

bool tickedUnlessStoredOff(const QString &optionName)
{
    static const QStringList onUnlessOff{QStringLiteral("cfgWantPrintRQ"), QStringLiteral("cfgTotalJEWithSheep"),
                                         QStringLiteral("cfgHJJENeedQianFF"), QStringLiteral("cfgAutoCodeBuild")};
    return onUnlessOff.contains(optionName);
}

} // namespace moque::entry
