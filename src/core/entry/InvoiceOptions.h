#pragma once

#include <QString>
#include <QStringList>

// The per-template options of the receipt and freight invoice option strips,
// as both the windows and a reprint from the command line read them.
namespace moque::entry {

// The choices of "大写格式：" (the form's digit limit), "日期格式：" and "验证码构成：".
QStringList invoiceDigitLimits();
QStringList invoiceDateFormats();
QStringList invoiceCodeSeeds();
// The start choices when a template stores none.
inline QString defaultDigitLimit()
{
    return invoiceDigitLimits().at(2);
}
inline QString defaultDateFormat()
{
    return QStringLiteral("YYYY年MM月DD日");
}
// The verification code's length and group size go no further.
inline constexpr int kMostCodeChars = 64;

// Whether the tick box of that name is on unless its template stores "0"
// (打日期, 合计￥, 合计千分符, 验证码自动生成); every other box is on only when stored as "1".
bool tickedUnlessStoredOff(const QString &optionName);

} // namespace moque::entry
