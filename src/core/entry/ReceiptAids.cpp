#include "entry/ReceiptAids.h"

#include <QRegularExpression>

#include <optional>

namespace moque::entry {

namespace {

// A plain decimal as digits and a count of decimals: "-12.50" → (-1250, 2).
struct Decimal
{
    qint64 digits = 0;
    int scale = 0;
};

std::optional<Decimal> parseDecimal(const QString &text)
{
    static const QRegularExpression plain(QStringLiteral("^([+-]?)(\\d*)(?:\\.(\\d*))?$"));
    const QRegularExpressionMatch m = plain.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QString whole = m.captured(2);
    QString fraction = m.captured(3);
    if (whole.isEmpty() && fraction.isEmpty())
        return std::nullopt;
    while (fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    // Too many digits for 64 bits is not a quantity or price either.
    const QString all = whole + fraction;
    bool ok = all.isEmpty();
    const qint64 digits = ok ? 0 : all.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return Decimal{m.captured(1) == QStringLiteral("-") ? -digits : digits, int(fraction.size())};
}

QString decimalText(qint64 digits, int scale)
{
    const bool negative = digits < 0;
    QString text = QString::number(negative ? -digits : digits);
    if (scale > 0) {
        text = text.rightJustified(scale + 1, QLatin1Char('0'));
        text.insert(text.size() - scale, QLatin1Char('.'));
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    return negative && text != QStringLiteral("0") ? QLatin1Char('-') + text : text;
}

} // namespace

LineAmount lineAmount(const QString &quantity, const QString &price)
{
    const QString q = quantity.trimmed();
    const QString p = price.trimmed();
    const std::optional<Decimal> count = parseDecimal(q.isEmpty() ? QStringLiteral("1") : q);
    const std::optional<Decimal> each = parseDecimal(p.isEmpty() ? QStringLiteral("0") : p);
    if (!count || !each)
        return {{}, kBadQuantityOrPrice};
    qint64 product = 0;
    if (__builtin_mul_overflow(count->digits, each->digits, &product))
        return {{}, kBadQuantityOrPrice};
    return {decimalText(product, count->scale + each->scale), {}};
}

DateBoxes receiptDateBoxes(const QDate &date, bool twoDigitYear)
{
    DateBoxes boxes = dateBoxes(date);
    if (twoDigitYear && date.isValid())
        boxes.year = QStringLiteral("%1").arg(date.year() - 2000, 2, 10, QLatin1Char('0'));
    return boxes;
}

QString billDateLine(const QDateTime &when, const QString &formatChoice)
{
    const QString choice = formatChoice.trimmed();
    static const QStringList known{QStringLiteral("YYYY-MM-DD"),       QStringLiteral("YYYY/MM/DD"),
                                   QStringLiteral("YYYY年MM月DD日"),   QStringLiteral("YYYYMMDD hh:nn"),
                                   QStringLiteral("YYYY-MM-DD hh:nn"), QStringLiteral("YYYY/MM/DD hh:nn")};
    QString format = known.contains(choice) ? choice : known.first();
    // The choices' own words for year, day and minutes in Qt's.
    format.replace(QStringLiteral("YYYY"), QStringLiteral("yyyy"))
        .replace(QStringLiteral("DD"), QStringLiteral("dd"))
        .replace(QStringLiteral("nn"), QStringLiteral("mm"));
    return when.toString(format);
}

QString verificationCode(int length, int groupSize, const QString &seeds, QRandomGenerator &random)
{
    if (seeds.isEmpty() || length <= 0)
        return {};
    QString code;
    for (int i = 0; i < length; ++i) {
        code += seeds.at(random.bounded(int(seeds.size())));
        if (groupSize > 0 && (i + 1) % groupSize == 0)
            code += QLatin1Char(' ');
    }
    return code.toUpper().trimmed();
}

} // namespace moque::entry
