#include "entry/InvoiceAmounts.h"

#include "entry/Amounts.h"
#include "entry/ReceiptAids.h"

#include <QRegularExpression>

#include <optional>

namespace moque::entry {

namespace {

const QString kRmb = QStringLiteral("人民币");

// Above 0 before rounding to fen, as the window compares the typed value:
// 0.004 still fills the boxes (with a single 0).
bool aboveZero(const QString &plain, qint64 fen)
{
    if (fen != 0)
        return fen > 0;
    static const QRegularExpression nonZeroDigit(QStringLiteral("[1-9]"));
    return !plain.startsWith(u'-') && plain.contains(nonZeroDigit);
}

// The shortest decimal text of an amount in fen: 1250 → "12.5", 0 → "0".
QString shortestText(qint64 fen)
{
    QString text = formatMoney(fen, false).text;
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    return text == QStringLiteral("-0") ? QStringLiteral("0") : text;
}

// The capital text, or the reason there is none in its place.
QString capitalText(qint64 fen)
{
    const AmountText capital = toChineseCapital(fen);
    return capital.ok() ? capital.text : capital.error;
}

// An export amount as the window reads it: the first run of digits, ","
// and "." (at most 16 characters), without the ",".
std::optional<qint64> readExportAmount(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("[0-9,.]{1,16}"));
    const QString reduced = pattern.match(text).captured(0).remove(u',');
    if (reduced.isEmpty())
        return std::nullopt;
    return parseFen(reduced);
}

// The sum of the non-empty export texts; badLine is the first unreadable one.
struct ExportSum
{
    qint64 fen = 0;
    int badLine = 0;
    QString badText;
};

ExportSum sumExportTexts(const QStringList &texts)
{
    ExportSum sum;
    for (int i = 0; i < texts.size(); ++i) {
        if (texts[i].trimmed().isEmpty())
            continue;
        const std::optional<qint64> fen = readExportAmount(texts[i]);
        // At most 16 characters per line keep seven lines far inside qint64.
        if (!fen) {
            sum.badLine = i + 1;
            sum.badText = texts[i];
            return sum;
        }
        sum.fen += *fen;
    }
    return sum;
}

} // namespace

QStringList digitPlaces()
{
    return {QStringLiteral("YY"), QStringLiteral("QW"), QStringLiteral("BW"), QStringLiteral("SW"),
            QStringLiteral("WY"), QStringLiteral("QY"), QStringLiteral("BY"), QStringLiteral("SY"),
            QStringLiteral("Y"),  QStringLiteral("J"),  QStringLiteral("F")};
}

QStringList digitBoxNames(int row)
{
    QStringList names;
    for (const QString &place : digitPlaces())
        names << QStringLiteral("zd") + place + QString::number(row);
    return names;
}

QStringList capitalBoxNames()
{
    QStringList names;
    for (const QString &place : digitPlaces())
        names << QStringLiteral("zddx") + place;
    return names;
}

QHash<QString, QString> digitBoxesOf(int row, const QString &amount, const AmountLook &look)
{
    QHash<QString, QString> boxes;
    const QStringList names = digitBoxNames(row);
    const QStringList capitalNames = capitalBoxNames();
    const bool totalRow = row == kTotalRow;
    for (const QString &name : names)
        boxes.insert(name, QString());
    if (totalRow) {
        for (const QString &name : capitalNames)
            boxes.insert(name, QString());
    }

    const QString plain = QString(amount).remove(u',').trimmed();
    const std::optional<qint64> fen = parseFen(plain);
    if (!fen || !aboveZero(plain, *fen))
        return boxes;

    const QString digits = QString::number(*fen);
    const int places = int(names.size());
    int highest = places;
    for (int i = 0; i < digits.size() && i < places; ++i) {
        highest = places - 1 - i;
        boxes[names[highest]] = digits[digits.size() - 1 - i];
    }

    if (totalRow) {
        const AmountText capital = toCapitalDigits(plain, 9, QStringLiteral(".00"));
        if (capital.ok() && capital.text.size() == capitalNames.size()) {
            for (int i = 0; i < capitalNames.size(); ++i)
                boxes[capitalNames[i]] = capital.text[i];
        }
    }

    if (look.lineCurrencySign && highest > 0)
        boxes[names[highest - 1]] = look.currencyCode;
    return boxes;
}

LineLook lineLook(int row, const QString &typed, const QString &charge, const AmountLook &look)
{
    LineLook line;
    const QString text = typed.trimmed();
    if (!text.isEmpty()) {
        const std::optional<qint64> fen = parseFen(text);
        if (!fen) {
            line.invalid = true;
            return line;
        }
        line.shown = formatMoney(*fen, look.lineThousands).text;
        if (look.lineCurrencySign)
            line.shown.prepend(look.currencyCode);
    }
    line.boxes = digitBoxesOf(row, text, look);
    static const QStringList zeros{QStringLiteral("0"),   QStringLiteral("0.00"),   QStringLiteral("0.0"),
                                   QStringLiteral("￥0"), QStringLiteral("￥0.00"), QStringLiteral("￥0.0")};
    if (charge.isEmpty() && zeros.contains(line.shown))
        line.shown.clear();
    return line;
}

SumResult sumLines(const QStringList &typedAmounts, const QString &digitLimitChoice, InvoiceForm form)
{
    const QString failed = QStringLiteral("金额汇总合计失败-");
    qint64 sum = 0;
    for (const QString &typed : typedAmounts) {
        const QString text = typed.trimmed();
        if (text.isEmpty())
            continue;
        const std::optional<qint64> fen = parseFen(text);
        if (!fen)
            return {QStringLiteral("0"), failed + kNotANumber};
        if (__builtin_add_overflow(sum, *fen, &sum))
            return {QStringLiteral("0"), failed + kDigitLimitExceeded};
    }
    if (form == InvoiceForm::Receipt) {
        const qint64 limit = sumLimitFen(digitLimitChoice);
        if (sum > limit)
            return {QStringLiteral("0"), sumOverflowMessage(sum, limit)};
    }
    return {shortestText(sum), {}};
}

TotalLook totalLook(const QString &text, const AmountLook &look, InvoiceForm form)
{
    TotalLook total;
    const bool freight = form == InvoiceForm::Freight;
    const TotalCheck check = checkTotal(text, freight);
    if (!check.fen) {
        total.message = check.message;
        total.caption = QStringLiteral("金额输入");
        return total;
    }
    const qint64 fen = *check.fen;

    // The freight invoice has no digit boxes of its own, only the capital ones.
    const auto ownBoxes = [freight](QHash<QString, QString> boxes) {
        if (freight) {
            for (const QString &name : digitBoxNames(kTotalRow))
                boxes.remove(name);
        }
        return boxes;
    };

    if (fen == 0) {
        total.zero = true;
        total.plain = QStringLiteral("0.00");
        if (freight)
            total.capital = QStringLiteral("零元整");
        total.boxes = ownBoxes(digitBoxesOf(kTotalRow, QString(), look));
        return total;
    }

    total.plain = formatMoney(fen, false).text;
    total.shown = formatMoney(fen, true).text;
    if (look.totalCurrencySign)
        total.shown.prepend(look.currencyCode);
    if (!look.totalThousands)
        total.shown.remove(u',');
    if (look.totalWithYuan)
        total.shown += QStringLiteral("元");

    total.boxes = ownBoxes(digitBoxesOf(kTotalRow, total.plain, look));

    if (look.nonStandardCapital) {
        QStringList capitalBoxes;
        for (const QString &name : capitalBoxNames())
            capitalBoxes << total.boxes.value(name);
        total.capital = getNoStandardChineseJEDX(capitalBoxes);
    } else {
        total.capital = capitalText(fen);
    }
    if (look.currencyName != kRmb || look.capitalWithCurrency)
        total.capital.prepend(look.currencyName);
    if (look.capitalYuan)
        total.capital.replace(QStringLiteral("元"), QStringLiteral("圆"));
    return total;
}

ExportLine exportLineSum(const QString &quantity, const QString &price)
{
    if (quantity.trimmed().isEmpty() && price.trimmed().isEmpty())
        return {};
    const LineAmount product = lineAmount(quantity, price);
    if (!product.ok())
        return {{}, product.error};
    const AmountText money = formatMoney(product.amount, true);
    if (!money.ok())
        return {{}, money.error};
    return {money.text, {}};
}

ExportTotals exportTotals(const QStringList &lineSums, const QString &rate, const ExportLook &look)
{
    ExportTotals totals;
    const ExportSum sum = sumExportTexts(lineSums);
    if (sum.badLine > 0) {
        totals.badLine = sum.badLine;
        totals.message = QStringLiteral("不正确的金额(") + sum.badText + QStringLiteral(")！");
        return totals;
    }
    if (sum.fen != 0) {
        totals.foreign = formatMoney(sum.fen, false).text;
        if (look.totalWithCurrency)
            totals.foreign.prepend(look.currencyCode);
    }
    totals.foreignCapital = capitalText(sum.fen);
    if (look.capitalWithCurrencyName)
        totals.foreignCapital.prepend(look.currencyName);

    const RateResult rmb = changeRate(sum.fen, rate);
    totals.rateMessage = rmb.message;
    totals.cleanedRate = rmb.cleanedRate;
    totals.rmb = formatMoney(rmb.fen, false).text;
    if (look.totalWithCurrency)
        totals.rmb.prepend(QStringLiteral("RMB"));
    totals.rmbCapital = capitalText(rmb.fen);
    if (look.rmbCapitalWithRmb)
        totals.rmbCapital.prepend(kRmb);
    return totals;
}

FobTotals fobTotals(const QStringList &fobValues, const QString &rate, const ExportLook &look)
{
    FobTotals totals;
    const ExportSum sum = sumExportTexts(fobValues);
    if (sum.badLine > 0) {
        totals.badLine = sum.badLine;
        totals.message = QStringLiteral("请输入正确的离岸价(如：256.89 或 USD256.89)！");
        return totals;
    }
    if (sum.fen == 0)
        return totals;
    totals.foreign = look.currencyCode + formatMoney(sum.fen, true).text;
    const RateResult rmb = changeRate(sum.fen, rate);
    totals.rateMessage = rmb.message;
    totals.cleanedRate = rmb.cleanedRate;
    if (rmb.fen != 0)
        totals.rmb = QStringLiteral("RMB") + formatMoney(rmb.fen, true).text;
    return totals;
}

QString withoutCurrencyPrefix(const QString &shown, const QString &code)
{
    if (!code.isEmpty() && shown.startsWith(code))
        return shown.mid(code.size());
    return shown;
}

} // namespace moque::entry
