#pragma once

#include <QStringList>

namespace moque::cli {

struct AmountOptions
{
    QString conversion;   // capital, digits, money, clean
    QStringList amounts;
    int count = 0;        // digits: integer digit boxes
    QString format;       // digits: decimals pattern such as "0.00"
    bool thousands = false;
};

// Converts each amount in order: one result a line on standard output, one
// error line on standard error for a text that is not an amount. The exit
// code is non-zero when any amount failed.
int convertAmounts(const AmountOptions &options);

} // namespace moque::cli
