#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <optional>

// Conversions between the figure amount, the Chinese capital amount and the
// one-digit-per-box form of bills. Amounts are read from their decimal text
// and computed in whole fen so no binary rounding can creep in.
namespace moque::entry {

// A conversion result: the text, or the message telling why there is none.
struct AmountText
{
    QString text;
    QString error;
    bool ok() const { return error.isEmpty(); }
};

inline const QString kDigitLimitExceeded = QStringLiteral("超出位数限制");
inline const QString kNotANumber = QStringLiteral("金额只能为数值，例如：123.50");

// Largest amount in fen the capital units can name (15 digits).
inline constexpr qint64 kMaxCapitalFen = 999999999999999;

// A plain decimal text ("-12.5", "1005.30", " 7 ") scaled to `decimals`
// places, rounded half away from zero. No separators, no signs other than a
// leading "-" or "+"; nullopt when the text is not such a number or too large.
std::optional<qint64> parseScaled(const QString &text, int decimals);
inline std::optional<qint64> parseFen(const QString &text) { return parseScaled(text, 2); }

// The standard capital amount of an amount in fen; "超出位数限制" when the
// amount has more than 15 digits in fen.
AmountText toChineseCapital(qint64 fen);
AmountText toChineseCapital(const QString &amount);

// One capital digit per box: the integer part padded to `integerDigits`
// digits, then the decimals of `decimalsFormat`. The filler does not change
// the result; it is kept for callers that pass one.
AmountText toCapitalDigits(const QString &amount, int integerDigits, const QString &decimalsFormat,
                           QChar filler = QChar(0x96F6));

// The amount with two decimals, optionally with "," every three integer digits.
AmountText formatMoney(qint64 fen, bool thousands);
AmountText formatMoney(const QString &amount, bool thousands);

// A typed amount reduced to "-", "." and ASCII digits (full-width digits and
// points converted, "," dropped).
QString normalizeDigits(const QString &text);

// The non-standard capital amount read back from the eleven capital digit boxes
// (亿 … 分 place order). Empty when the option is off or no box holds a digit
// other than 零.
QString getNoStandardChineseJEDX(const QStringList &boxes, bool noStandardChecked = true);

// The upper limit in fen of a form-digit-limit choice such as
// "     0000.00 千位发票" (→ 999999).
qint64 sumLimitFen(const QString &formatChoice);

// The overflow message shown when the lines' sum exceeds the form limit.
QString sumOverflowMessage(qint64 sumFen, qint64 limitFen);

// The receipt total: an empty text means 0; values of 1,000,000,000 or more or
// below 0 are refused with the range message, non-numbers with kNotANumber.
// `freightInvoice` uses that window's message and lets negative values through.
struct TotalCheck
{
    std::optional<qint64> fen;
    QString message;
};
TotalCheck checkTotal(const QString &text, bool freightInvoice = false);

// The waybill format combo choice split into its integer digit count and
// decimals format; nullopt for "打印小写金额", the capital choice or empty.
struct WaybillFormat
{
    int integerDigits = 0;
    QString decimalsFormat;
};
std::optional<WaybillFormat> parseWaybillFormat(const QString &choice);

// The waybill amount field: the figure as it prints for the chosen format.
AmountText waybillAmount(const QString &figure, const QString &formatChoice);

// The exchange rate "a:b" (a foreign units are b yuan) applied to an amount in
// fen. `cleanedRate` receives the trimmed rate with "：" turned into ":".
struct RateResult
{
    qint64 fen = 0;
    QString message;
    QString cleanedRate;
};
RateResult changeRate(qint64 fen, const QString &rateText);

} // namespace moque::entry
