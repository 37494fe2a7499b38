#include "entry/Amounts.h"

#include <QRegularExpression>

namespace moque::entry {

namespace {

const QString kCapitalDigits = QStringLiteral("零壹贰叁肆伍陆柒捌玖");
// Units by position counted from the fen digit.
const QString kCapitalUnits = QStringLiteral("分角元拾佰仟万拾佰仟亿拾佰仟万");
// Units of the eleven capital digit boxes, 亿 place first.
const QString kBoxUnits = QStringLiteral("亿仟佰拾万仟佰拾元角分");

// Beyond 16 integer digits a value scaled to fen no longer fits in qint64.
constexpr int kMaxIntegerDigits = 16;
constexpr int kMaxDecimals = 2;

enum class ParseStatus { Ok, Invalid, TooLarge };

struct Parsed
{
    ParseStatus status = ParseStatus::Invalid;
    qint64 value = 0;   // scaled, rounded half away from zero
    bool exactZero = false; // every digit of the text is 0
};

Parsed parse(const QString &input, int decimals)
{
    Parsed r;
    const QString text = input.trimmed();
    int i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    QString intDigits;
    QString fracDigits;
    bool point = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'.' && !point) {
            point = true;
        } else if (c >= u'0' && c <= u'9') {
            (point ? fracDigits : intDigits).append(c);
        } else {
            return r;
        }
    }
    if (intDigits.isEmpty() && fracDigits.isEmpty())
        return r;
    while (intDigits.size() > 1 && intDigits.startsWith(u'0'))
        intDigits.remove(0, 1);
    if (intDigits.size() > kMaxIntegerDigits) {
        r.status = ParseStatus::TooLarge;
        return r;
    }
    qint64 value = 0;
    for (const QChar c : intDigits)
        value = value * 10 + (c.unicode() - u'0');
    for (int d = 0; d < decimals; ++d)
        value = value * 10 + (d < fracDigits.size() ? fracDigits[d].unicode() - u'0' : 0);
    // Half away from zero: the magnitude rounds up when the next digit is 5 or more.
    if (fracDigits.size() > decimals && fracDigits[decimals] >= u'5')
        ++value;
    r.exactZero = QString(intDigits + fracDigits).count(u'0') == intDigits.size() + fracDigits.size();
    r.value = negative ? -value : value;
    r.status = ParseStatus::Ok;
    return r;
}

QString groupThousands(const QString &digits)
{
    QString out;
    const int n = int(digits.size());
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out.append(u',');
        out.append(digits[i]);
    }
    return out;
}

int decimalsOfFormat(const QString &format)
{
    if (format == QLatin1String("0"))
        return 0;
    if (format == QLatin1String(".0") || format == QLatin1String("0.0"))
        return 1;
    return 2;
}

} // namespace

std::optional<qint64> parseScaled(const QString &text, int decimals)
{
    const Parsed p = parse(text, qBound(0, decimals, kMaxDecimals));
    if (p.status != ParseStatus::Ok)
        return std::nullopt;
    return p.value;
}

AmountText toChineseCapital(qint64 fen)
{
    if (fen == 0)
        return {QStringLiteral("零元整"), {}};
    const bool negative = fen < 0;
    // Checked before negation so the smallest qint64 cannot overflow.
    if (fen > kMaxCapitalFen || fen < -kMaxCapitalFen)
        return {{}, kDigitLimitExceeded};
    const QString digits = QString::number(negative ? -fen : fen);
    QString raw;
    const int n = int(digits.size());
    for (int i = 0; i < n; ++i) {
        raw.append(kCapitalDigits[digits[i].unicode() - u'0']);
        raw.append(kCapitalUnits[n - 1 - i]);
    }
    static const std::pair<QString, QString> rules[] = {
        {QStringLiteral("零仟"), QStringLiteral("零")}, {QStringLiteral("零佰"), QStringLiteral("零")},
        {QStringLiteral("零拾"), QStringLiteral("零")}, {QStringLiteral("零零零"), QStringLiteral("零")},
        {QStringLiteral("零零"), QStringLiteral("零")}, {QStringLiteral("零亿"), QStringLiteral("亿")},
        {QStringLiteral("零万"), QStringLiteral("万")}, {QStringLiteral("零元"), QStringLiteral("元")},
        {QStringLiteral("亿万"), QStringLiteral("亿")}, {QStringLiteral("零角"), QStringLiteral("零")},
        {QStringLiteral("零分"), QStringLiteral("整")}, {QStringLiteral("零整"), QStringLiteral("整")},
    };
    for (const auto &[from, to] : rules)
        raw.replace(from, to);
    raw = raw.trimmed();
    return {negative ? QStringLiteral("负") + raw : raw, {}};
}

AmountText toChineseCapital(const QString &amount)
{
    const Parsed p = parse(amount, 2);
    if (p.status == ParseStatus::Invalid)
        return {{}, kNotANumber};
    if (p.status == ParseStatus::TooLarge)
        return {{}, kDigitLimitExceeded};
    return toChineseCapital(p.value);
}

AmountText toCapitalDigits(const QString &amount, int integerDigits, const QString &decimalsFormat, QChar filler)
{
    Q_UNUSED(filler)
    const int decimals = decimalsOfFormat(decimalsFormat);
    const Parsed p = parse(QString(amount).remove(u','), decimals);
    if (p.status == ParseStatus::Invalid)
        return {{}, kNotANumber};
    if (p.status == ParseStatus::Ok && p.exactZero)
        return {QString(kCapitalDigits[0]), {}};
    // There is no box for a sign, so a negative amount cannot be laid out.
    if (p.status == ParseStatus::TooLarge || p.value < 0)
        return {{}, kDigitLimitExceeded};
    const QString digits = QString::number(p.value).rightJustified(decimals + 1, u'0');
    const QString integerPart = digits.left(digits.size() - decimals);
    if (integerPart.size() > integerDigits)
        return {{}, kDigitLimitExceeded};
    const QString padded = integerPart.rightJustified(integerDigits, u'0') + digits.right(decimals);
    QString out;
    for (const QChar c : padded)
        out.append(kCapitalDigits[c.unicode() - u'0']);
    return {out, {}};
}

AmountText formatMoney(qint64 fen, bool thousands)
{
    const bool negative = fen < 0;
    // The magnitude as text, so the smallest qint64 needs no negation.
    QString digits = QString::number(fen);
    if (negative)
        digits.remove(0, 1);
    digits = digits.rightJustified(3, u'0');
    QString integerPart = digits.left(digits.size() - 2);
    if (thousands)
        integerPart = groupThousands(integerPart);
    return {(negative ? QStringLiteral("-") : QString()) + integerPart + u'.' + digits.right(2), {}};
}

AmountText formatMoney(const QString &amount, bool thousands)
{
    const Parsed p = parse(amount, 2);
    if (p.status != ParseStatus::Ok)
        return {{}, kNotANumber};
    return formatMoney(p.value, thousands);
}

QString normalizeDigits(const QString &text)
{
    const QString trimmed = text.trimmed();
    QString out;
    for (QChar c : trimmed) {
        if (c >= QChar(0xFF10) && c <= QChar(0xFF19)) // full-width ０–９
            c = QChar(u'0' + (c.unicode() - 0xFF10));
        else if (c == QChar(0xFF0E) || c == QChar(0x3002)) // "．" and "。"
            c = u'.';
        if (c == u'-' || c == u'.' || (c >= u'0' && c <= u'9'))
            out.append(c);
    }
    return out;
}

QString getNoStandardChineseJEDX(const QStringList &boxes, bool noStandardChecked)
{
    if (!noStandardChecked)
        return {};
    QString out;
    bool started = false;
    const int n = int(qMin(boxes.size(), kBoxUnits.size()));
    for (int i = 0; i < n; ++i) {
        const QString box = boxes[i];
        if (!started && (box.isEmpty() || box == kCapitalDigits.left(1)))
            continue;
        started = true;
        out += box + kBoxUnits[i];
    }
    return out;
}

qint64 sumLimitFen(const QString &formatChoice)
{
    QString text = formatChoice.trimmed();
    if (text.isEmpty())
        text = QStringLiteral("000.00 百位发票");
    const qsizetype blank = text.indexOf(u' ');
    if (blank >= 0)
        text.truncate(blank);
    text.replace(u'0', u'9');
    return parseScaled(text, 2).value_or(0);
}

QString sumOverflowMessage(qint64 sumFen, qint64 limitFen)
{
    return QStringLiteral("溢出，发票金额合计“") + formatMoney(sumFen, false).text + QStringLiteral("”大于限位[")
        + formatMoney(limitFen, false).text + QStringLiteral("],请重填金额数量或者修改发票模版设置~");
}

TotalCheck checkTotal(const QString &text, bool freightInvoice)
{
    const QString rangeMessage = freightInvoice ? QStringLiteral("金额值必须小于1,000,000,000之间！")
                                                : QStringLiteral("金额值必须介于0~1,000,000,000之间！");
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return {qint64(0), {}};
    const Parsed p = parse(trimmed, 2);
    if (p.status == ParseStatus::Invalid)
        return {std::nullopt, kNotANumber};
    constexpr qint64 kLimitFen = 100000000000; // 1,000,000,000 yuan
    if (p.status == ParseStatus::TooLarge || p.value >= kLimitFen || (!freightInvoice && p.value < 0))
        return {std::nullopt, rangeMessage};
    return {p.value, {}};
}

std::optional<WaybillFormat> parseWaybillFormat(const QString &choice)
{
    const QString text = choice.trimmed();
    if (text.isEmpty() || text == QStringLiteral("打印小写金额") || text == QStringLiteral("打印中国传统大写金额"))
        return std::nullopt;
    qsizetype blank = text.indexOf(u' ');
    if (blank < 0)
        blank = text.size();
    const qsizetype point = text.indexOf(u'.');
    if (point >= 0 && point < blank)
        return WaybillFormat{int(point), text.mid(point - 1, blank - point + 1)};
    return WaybillFormat{int(blank), QStringLiteral("0")};
}

AmountText waybillAmount(const QString &figure, const QString &formatChoice)
{
    const QString choice = formatChoice.trimmed();
    if (figure.trimmed().isEmpty() || choice.isEmpty() || choice == QStringLiteral("打印小写金额"))
        return {figure, {}};
    static const QRegularExpression plain(QStringLiteral("^[0-9.]+$"));
    const QString invalid = QStringLiteral("请输入有效数字，例如：116.5。 不接受全角数字,请尽量用小键盘输入~");
    if (!plain.match(figure).hasMatch() || !parseScaled(figure, 2))
        return {{}, invalid};
    if (choice == QStringLiteral("打印中国传统大写金额"))
        return toChineseCapital(figure);
    const WaybillFormat format = *parseWaybillFormat(choice);
    return toCapitalDigits(figure, format.integerDigits, format.decimalsFormat);
}

RateResult changeRate(qint64 fen, const QString &rateText)
{
    RateResult r;
    r.cleanedRate = rateText.trimmed().replace(QChar(0xFF1A), u':');
    if (r.cleanedRate.isEmpty()) {
        r.message = QStringLiteral("没有输入汇率！");
        return r;
    }
    static const QRegularExpression pattern(QStringLiteral("[0-9.]{2,8}:[0-9.,]{2,8}"));
    const QString match = pattern.match(r.cleanedRate).captured(0).remove(u',');
    const QStringList parts = match.split(u':');
    // Both sides have at most 8 characters, so 8 decimals keep them exact.
    constexpr int kRateDecimals = 8;
    const auto scaled = [&](const QString &s) -> std::optional<qint64> {
        const Parsed p = parse(s, kRateDecimals);
        return p.status == ParseStatus::Ok ? std::optional<qint64>(p.value) : std::nullopt;
    };
    const auto a = parts.size() == 2 ? scaled(parts[0]) : std::nullopt;
    const auto b = parts.size() == 2 ? scaled(parts[1]) : std::nullopt;
    if (!a || !b) {
        r.message = QStringLiteral("没有输入正确的汇率(如: 100:680.23等)！");
        return r;
    }
    if (*a == 0) {
        r.message = QStringLiteral("无效的外汇汇率！");
        return r;
    }
    // fen × b can pass 64 bits; the quotient is rounded half away from zero.
    __extension__ using Wide = __int128;
    const Wide num = Wide(fen) * Wide(*b);
    const Wide den = Wide(*a);
    const Wide mag = (num < 0 ? -num : num);
    Wide q = mag / den;
    if ((mag % den) * 2 >= den)
        ++q;
    r.fen = qint64(num < 0 ? -q : q);
    return r;
}

} // namespace moque::entry
