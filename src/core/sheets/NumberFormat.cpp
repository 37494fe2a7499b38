#include "sheets/NumberFormat.h"

#include <QDate>
#include <QList>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

namespace moque::sheets {

namespace {

// A non-negative number as decimal digits with the point after the first
// `point` of them (point may be negative or past the end); no digits is zero.
struct Decimal
{
    QString digits;
    qsizetype point = 0;
};

// The number to `significant` digits, as the spreadsheet program keeps it:
// rounding then works on what the user sees (2.675, not 2.67499999999999982).
Decimal decimalOf(double value, int significant)
{
    if (value == 0)
        return {};
    const QString text = QString::number(value, 'e', significant - 1);
    const qsizetype e = text.indexOf(u'e');
    return {text.left(e).remove(u'.'), text.mid(e + 1).toInt() + 1};
}

// Rounded half away from zero to `places` digits after the point, with exactly
// that many digits there and at least one place before it.
Decimal rounded(Decimal d, qsizetype places)
{
    if (d.point < 0) {
        d.digits.prepend(QString(-d.point, u'0'));
        d.point = 0;
    }
    const qsizetype keep = d.point + places;
    if (d.digits.size() <= keep) {
        d.digits += QString(keep - d.digits.size(), u'0');
        return d;
    }
    const bool up = d.digits.at(keep) >= u'5';
    d.digits.truncate(keep);
    if (up) {
        qsizetype i = keep - 1;
        for (; i >= 0 && d.digits.at(i) == u'9'; --i)
            d.digits[i] = u'0';
        if (i >= 0) {
            d.digits[i] = QChar(d.digits.at(i).unicode() + 1);
        } else {
            d.digits.prepend(u'1');
            ++d.point;
        }
    }
    return d;
}

// The digits before the point, without leading zeros ("" for less than 1).
QString wholeDigits(const Decimal &d)
{
    const QString digits = d.digits.left(d.point);
    qsizetype zeros = 0;
    while (zeros < digits.size() && digits.at(zeros) == u'0')
        ++zeros;
    return digits.mid(zeros);
}

QString twoDigits(qint64 n)
{
    return QString::number(n).rightJustified(2, u'0');
}

qint64 floorDivision(qint64 a, qint64 b)
{
    return a / b - (a % b != 0 && (a < 0) != (b < 0) ? 1 : 0);
}

// Date and time parts come last, so that one comparison finds them.
enum class Kind {
    Literal,
    Digit,     // 0, # or ?
    Point,
    Comma,
    Percent,
    Exponent,  // E+ or E-
    Slash,
    Text,      // @
    General,
    Year,
    Month,
    Minute,
    Day,
    Hour,
    Second,
    ElapsedHours,
    ElapsedMinutes,
    ElapsedSeconds,
    ChineseWeekday,  // aaa, aaaa
    AmPm,
};

struct Token
{
    Token(Kind kind, QString text = {}, QString pmText = {}, qsizetype count = 0)
        : kind(kind), text(std::move(text)), pmText(std::move(pmText)), count(count)
    {
    }

    Kind kind;
    QString text;  // what a literal shows, the placeholder character, "E+", the AM text
    QString pmText;
    qsizetype count;  // letters of a date or time part
};

bool isDatePart(Kind kind)
{
    return kind >= Kind::Year && kind <= Kind::ChineseWeekday;
}

struct Condition
{
    enum Compare { Less, LessEqual, Greater, GreaterEqual, Equal, NotEqual } compare;
    double value;

    bool holds(double v) const
    {
        switch (compare) {
        case Less:
            return v < value;
        case LessEqual:
            return v <= value;
        case Greater:
            return v > value;
        case GreaterEqual:
            return v >= value;
        case Equal:
            return v == value;
        case NotEqual:
            return v != value;
        }
        return false;
    }
    // A section for negative numbers only shows them without their minus.
    bool onlyNegative() const { return (compare == Less && value <= 0) || (compare == LessEqual && value < 0); }
};

std::optional<Condition> parseCondition(QStringView text)
{
    static const std::pair<QLatin1StringView, Condition::Compare> operators[] = {
        {QLatin1StringView("<="), Condition::LessEqual}, {QLatin1StringView(">="), Condition::GreaterEqual},
        {QLatin1StringView("<>"), Condition::NotEqual},  {QLatin1StringView("<"), Condition::Less},
        {QLatin1StringView(">"), Condition::Greater},    {QLatin1StringView("="), Condition::Equal},
    };
    for (const auto &[op, compare] : operators) {
        if (text.startsWith(op)) {
            bool ok = false;
            const double value = text.mid(op.size()).trimmed().toDouble(&ok);
            if (!ok)
                return std::nullopt;
            return Condition{compare, value};
        }
    }
    return std::nullopt;
}

struct Section
{
    QList<Token> tokens;
    std::optional<Condition> condition;
    bool text = false;      // holds @: the section for text cells
    bool dateTime = false;  // shows a date or a time
    // [DBNum1]: digits as 一二三 with their units; [DBNum2]: as 壹贰叁, the
    // way amounts are written on bills.
    int chineseNumerals = 0;
    // The language of month and weekday names and of AM/PM: a [$-804] tag
    // says Chinese, another locale its own (English here); without one, the
    // system's, which for our users is Chinese, except that AM/PM stays.
    enum class Language { System, Chinese, Other } language = Language::System;
};

// The sections of a code, split at the semicolons outside quotes and escapes.
QStringList splitSections(const QString &code)
{
    QStringList sections(1);
    bool quoted = false;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code.at(i);
        if (!quoted && c == u';') {
            sections.append(QString());
            continue;
        }
        sections.last() += c;
        if (c == u'"') {
            quoted = !quoted;
        } else if (!quoted && (c == u'\\' || c == u'_' || c == u'*') && i + 1 < code.size()) {
            sections.last() += code.at(++i);
        }
    }
    return sections;
}

Kind letterKind(char16_t letter)
{
    switch (letter) {
    case u'y':
        return Kind::Year;
    case u'm':
        return Kind::Month;
    case u'd':
        return Kind::Day;
    case u'h':
        return Kind::Hour;
    case u's':
        return Kind::Second;
    default:
        return Kind::ChineseWeekday;
    }
}

// The nearest date or time part before (step -1) or after (step 1) index i.
const Token *nearestDatePart(const QList<Token> &tokens, qsizetype i, qsizetype step)
{
    for (i += step; i >= 0 && i < tokens.size(); i += step) {
        if (isDatePart(tokens.at(i).kind))
            return &tokens.at(i);
    }
    return nullptr;
}

// One section's tokens; nothing when the section is not a valid code.
std::optional<Section> parseSection(const QString &code)
{
    Section section;
    QList<Token> &tokens = section.tokens;
    const auto literal = [&tokens](const QString &text) {
        if (!tokens.isEmpty() && tokens.last().kind == Kind::Literal)
            tokens.last().text += text;
        else
            tokens.emplaceBack(Kind::Literal, text);
    };
    const auto startsWith = [&code](qsizetype i, QStringView word) {
        return QStringView(code).mid(i).startsWith(word, Qt::CaseInsensitive);
    };
    for (qsizetype i = 0; i < code.size();) {
        const QChar c = code.at(i);
        const char16_t lower = c.toLower().unicode();
        if (c == u'"') {
            qsizetype end = code.indexOf(u'"', i + 1);
            if (end < 0)
                end = code.size();
            literal(code.mid(i + 1, end - i - 1));
            i = end + 1;
        } else if (c == u'\\') {
            literal(code.mid(i + 1, 1));
            i += 2;
        } else if (c == u'_') {
            literal(QStringLiteral(" "));  // room as wide as the next character
            i += 2;
        } else if (c == u'*') {
            i += 2;  // fills the column's width with the next character: nothing in a text
        } else if (c == u'[') {
            const qsizetype end = code.indexOf(u']', i);
            if (end < 0)
                return std::nullopt;
            const QString inside = code.mid(i + 1, end - i - 1);
            const QString letters = inside.toLower();
            i = end + 1;
            if (!letters.isEmpty() && QStringLiteral("hms").contains(letters.front())
                && letters.count(letters.front()) == letters.size()) {
                const Kind kind = letters.front() == u'h'   ? Kind::ElapsedHours
                    : letters.front() == u'm'               ? Kind::ElapsedMinutes
                                                            : Kind::ElapsedSeconds;
                tokens.emplaceBack(kind, QString(), QString(), letters.size());
            } else if (inside.startsWith(u'$')) {
                // [$¥-804]: a currency symbol and a locale; [$-804]: a locale alone
                literal(inside.mid(1).section(u'-', 0, 0));
                bool isNumber = false;
                const uint locale = inside.section(u'-', 1).toUInt(&isNumber, 16);
                if (isNumber) {
                    constexpr uint chinese = 0x04;  // the primary language of zh-CN, zh-TW, zh-HK, ...
                    section.language = (locale & 0x3FF) == chinese ? Section::Language::Chinese : Section::Language::Other;
                }
            } else if (inside.startsWith(u'<') || inside.startsWith(u'>') || inside.startsWith(u'=')) {
                section.condition = parseCondition(inside);
                if (!section.condition)
                    return std::nullopt;
            } else if (letters == u"dbnum1" || letters == u"dbnum2") {
                section.chineseNumerals = letters.back().digitValue();
            }
            // Anything else ([Red], [Color10], [DBNum3]) changes colour or script, not the characters.
        } else if (c == u'0' || c == u'#' || c == u'?') {
            tokens.emplaceBack(Kind::Digit, QString(c));
            ++i;
        } else if (c == u'.') {
            tokens.emplaceBack(Kind::Point);
            ++i;
        } else if (c == u',') {
            tokens.emplaceBack(Kind::Comma);
            ++i;
        } else if (c == u'%') {
            tokens.emplaceBack(Kind::Percent);
            ++i;
        } else if (c == u'/') {
            tokens.emplaceBack(Kind::Slash);
            ++i;
        } else if (c == u'@') {
            tokens.emplaceBack(Kind::Text);
            section.text = true;
            ++i;
        } else if (lower == u'e' && i + 1 < code.size() && (code.at(i + 1) == u'+' || code.at(i + 1) == u'-')) {
            tokens.emplaceBack(Kind::Exponent, code.mid(i, 2));
            i += 2;
        } else if (startsWith(i, u"General")) {
            tokens.emplaceBack(Kind::General);
            i += 7;
        } else if (startsWith(i, u"AM/PM")) {
            tokens.emplaceBack(Kind::AmPm, QStringLiteral("AM"), QStringLiteral("PM"));
            i += 5;
        } else if (startsWith(i, u"A/P")) {
            tokens.emplaceBack(Kind::AmPm, code.mid(i, 1), code.mid(i + 2, 1));
            i += 3;
        } else if (startsWith(i, u"上午/下午")) {
            tokens.emplaceBack(Kind::AmPm, QStringLiteral("上午"), QStringLiteral("下午"));
            i += 5;
        } else if (QStringLiteral("ymdhsa").contains(QChar(lower))) {
            qsizetype n = 1;
            while (i + n < code.size() && code.at(i + n).toLower() == QChar(lower))
                ++n;
            if (lower == u'a' && n < 3)
                return std::nullopt;
            tokens.emplaceBack(letterKind(lower), QString(), QString(), n);
            i += n;
        } else if (c.unicode() < 128 && c.isLetter()) {
            return std::nullopt;  // a letter that is no code must be quoted
        } else {
            literal(QString(c));
            ++i;
        }
    }
    // m and mm are minutes right after hours or right before seconds.
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        if (tokens.at(i).kind != Kind::Month || tokens.at(i).count > 2)
            continue;
        const Token *before = nearestDatePart(tokens, i, -1);
        const Token *after = nearestDatePart(tokens, i, 1);
        if ((before && (before->kind == Kind::Hour || before->kind == Kind::ElapsedHours))
            || (after && (after->kind == Kind::Second || after->kind == Kind::ElapsedSeconds)))
            tokens[i].kind = Kind::Minute;
    }
    section.dateTime = std::any_of(tokens.begin(), tokens.end(), [](const Token &t) { return t.kind >= Kind::Year; });
    return section;
}

std::optional<QList<Section>> parseFormat(const QString &code)
{
    QList<Section> sections;
    for (const QString &part : splitSections(code)) {
        std::optional<Section> section = parseSection(part);
        if (!section)
            return std::nullopt;
        sections.append(std::move(*section));
    }
    return sections;
}

struct Choice
{
    const Section *section;
    bool minus;  // the section shows the number's minus sign in front
};

// The section that shows the value: positive;negative;zero;text, or the first
// whose condition holds.
std::optional<Choice> chooseSection(const QList<Section> &sections, double value)
{
    QList<const Section *> numeric;
    for (const Section &section : sections) {
        if (!section.text)
            numeric.append(&section);
    }
    if (numeric.isEmpty())
        return Choice{&sections.first(), value < 0};
    const qsizetype count = numeric.size();
    if (numeric.first()->condition || (count > 1 && numeric.at(1)->condition)) {
        for (qsizetype i = 0; i < std::min<qsizetype>(count, 3); ++i) {
            const std::optional<Condition> &condition = numeric.at(i)->condition;
            if (!condition || condition->holds(value))
                return Choice{numeric.at(i), value < 0 && !(condition && condition->onlyNegative())};
        }
        return std::nullopt;
    }
    if (count == 1)
        return Choice{numeric.first(), value < 0};
    if (value < 0)
        return Choice{numeric.at(1), false};
    return Choice{numeric.at(value == 0 && count > 2 ? 2 : 0), false};
}

// What a token shows by itself, before the number is placed.
QString plainText(const Token &token, double value)
{
    switch (token.kind) {
    case Kind::Literal:
    case Kind::Digit:
    case Kind::Exponent:
        return token.text;
    case Kind::Point:
        return QStringLiteral(".");
    case Kind::Comma:
        return QStringLiteral(",");
    case Kind::Percent:
        return QStringLiteral("%");
    case Kind::Slash:
        return QStringLiteral("/");
    case Kind::Text:
    case Kind::General:
        return generalNumber(value);
    default:
        return {};
    }
}

// What a placeholder shows where the number has no digit.
QString padding(const Token &placeholder)
{
    if (placeholder.text == u"0")
        return QStringLiteral("0");
    return placeholder.text == u"?" ? QStringLiteral(" ") : QString();
}

// The digits of a whole number spread over its placeholders from the right;
// the leftmost takes any digits left over.
void placeWhole(const QList<Token> &tokens, const QList<qsizetype> &placeholders, const QString &digits,
                bool grouping, QStringList &out)
{
    QStringList parts;
    parts.resize(placeholders.size());
    qsizetype left = digits.size();
    for (qsizetype k = placeholders.size() - 1; k >= 0; --k) {
        if (left == 0) {
            parts[k] = padding(tokens.at(placeholders.at(k)));
        } else if (k == 0) {
            parts[k] = digits.left(left);
            left = 0;
        } else {
            parts[k] = digits.at(--left);
        }
    }
    if (grouping) {
        qsizetype remaining = 0;
        for (const QString &part : parts)
            remaining += std::count_if(part.begin(), part.end(), [](QChar c) { return c.isDigit(); });
        for (QString &part : parts) {
            QString grouped;
            for (const QChar c : part) {
                grouped += c;
                if (c.isDigit() && --remaining > 0 && remaining % 3 == 0)
                    grouped += u',';
            }
            part = grouped;
        }
    }
    for (qsizetype k = 0; k < placeholders.size(); ++k)
        out[placeholders.at(k)] = parts.at(k);
}

// Decimals over the placeholders after the point: # drops a trailing zero and
// ? shows a blank for it.
void placeDecimals(const QList<Token> &tokens, const QList<qsizetype> &placeholders, const QString &digits,
                   QStringList &out)
{
    for (qsizetype j = 0; j < placeholders.size(); ++j) {
        const Token &placeholder = tokens.at(placeholders.at(j));
        const bool trailingZero = std::all_of(digits.begin() + j, digits.end(), [](QChar c) { return c == u'0'; });
        out[placeholders.at(j)] = placeholder.text == u"0" || !trailingZero ? QString(digits.at(j)) : padding(placeholder);
    }
}

struct Layout
{
    QList<qsizetype> whole, decimals, exponentDigits;
    qsizetype point = -1;
    qsizetype exponent = -1;
    bool grouping = false;
    int percent = 0;
    int thousands = 0;  // each comma after the last digit divides by 1000
};

// Where the number's digits go; commas that group or scale show nothing in out.
Layout layoutOf(const QList<Token> &tokens, QStringList &out)
{
    Layout layout;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        const Kind kind = tokens.at(i).kind;
        if (kind == Kind::Exponent && layout.exponent < 0)
            layout.exponent = i;
        else if (kind == Kind::Point && layout.point < 0 && layout.exponent < 0)
            layout.point = i;
        else if (kind == Kind::Percent)
            ++layout.percent;
        else if (kind == Kind::Digit)
            (layout.exponent >= 0 ? layout.exponentDigits : layout.point >= 0 ? layout.decimals : layout.whole).append(i);
    }
    for (qsizetype i = 1; i < tokens.size(); ++i) {
        if (tokens.at(i).kind != Kind::Comma)
            continue;
        const Kind before = tokens.at(i - 1).kind;
        const bool afterDigit = before == Kind::Digit || (before == Kind::Comma && out.at(i - 1).isEmpty());
        const bool beforeDigit = i + 1 < tokens.size() && tokens.at(i + 1).kind == Kind::Digit;
        const bool inWhole = (layout.point < 0 || i < layout.point) && (layout.exponent < 0 || i < layout.exponent);
        if (afterDigit && beforeDigit && inWhole) {
            layout.grouping = true;
            out[i].clear();
        } else if (afterDigit && !beforeDigit) {
            ++layout.thousands;
            out[i].clear();
        }
    }
    return layout;
}

void placeExponent(const QList<Token> &tokens, const Layout &layout, const Decimal &value, QStringList &out)
{
    const qsizetype width = std::max<qsizetype>(layout.whole.size(), 1);
    // ##0.0E+0: the exponent a multiple of the whole placeholders (engineering notation)
    const bool engineering = layout.whole.size() > 1
        && std::any_of(layout.whole.begin(), layout.whole.end(), [&tokens](qsizetype i) { return tokens.at(i).text == u"#"; });
    const qsizetype step = engineering ? width : 1;
    qsizetype exponent = 0;
    Decimal mantissa = rounded(value, layout.decimals.size());
    if (!value.digits.isEmpty()) {
        const qsizetype natural = value.point - 1;
        exponent = engineering ? floorDivision(natural, width) * width : natural - width + 1;
        mantissa = rounded({value.digits, value.point - exponent}, layout.decimals.size());
        if (wholeDigits(mantissa).size() > width) {  // 9.996 became 10.00
            exponent += step;
            mantissa = rounded({value.digits, value.point - exponent}, layout.decimals.size());
        }
    }
    placeWhole(tokens, layout.whole, wholeDigits(mantissa), false, out);
    placeDecimals(tokens, layout.decimals, mantissa.digits.mid(mantissa.point), out);
    const QString &sign = tokens.at(layout.exponent).text;
    out[layout.exponent] = sign.left(1) + (exponent < 0 ? QStringLiteral("-") : sign.endsWith(u'+') ? QStringLiteral("+") : QString());
    const qsizetype zeros = std::count_if(layout.exponentDigits.begin(), layout.exponentDigits.end(),
                                          [&tokens](qsizetype i) { return tokens.at(i).text == u"0"; });
    const QString digits = QString::number(std::abs(exponent)).rightJustified(zeros, u'0');
    if (layout.exponentDigits.isEmpty()) {
        out[layout.exponent] += digits;
        return;
    }
    for (const qsizetype i : layout.exponentDigits)
        out[i].clear();
    out[layout.exponentDigits.first()] = digits;
}

void placeDecimal(const QList<Token> &tokens, double value, QStringList &out)
{
    const Layout layout = layoutOf(tokens, out);
    Decimal d = decimalOf(value, 15);
    if (!d.digits.isEmpty())
        d.point += 2 * layout.percent - 3 * layout.thousands;
    if (layout.exponent >= 0) {
        placeExponent(tokens, layout, d, out);
        return;
    }
    d = rounded(d, layout.decimals.size());
    if (layout.whole.isEmpty()) {
        if (layout.point >= 0)
            out[layout.point].prepend(wholeDigits(d));  // .00 still shows 12.50
    } else {
        placeWhole(tokens, layout.whole, wholeDigits(d), layout.grouping, out);
    }
    placeDecimals(tokens, layout.decimals, d.digits.mid(d.point), out);
}

// The slash of a fraction: between a placeholder and a placeholder or a fixed
// denominator; -1 when there is none.
qsizetype fractionSlash(const QList<Token> &tokens)
{
    for (qsizetype i = 1; i + 1 < tokens.size(); ++i) {
        const Token &next = tokens.at(i + 1);
        if (tokens.at(i).kind == Kind::Slash && tokens.at(i - 1).kind == Kind::Digit
            && (next.kind == Kind::Digit
                || (next.kind == Kind::Literal && !next.text.isEmpty() && next.text.front() >= u'1' && next.text.front() <= u'9')))
            return i;
    }
    return -1;
}

// # ??/??: a whole number and the nearest fraction whose denominator fits the
// placeholders (or the fixed denominator of # ?/8); ?/? alone gives 5/4.
void placeFraction(const QList<Token> &tokens, qsizetype slash, double value, QStringList &out)
{
    qsizetype numeratorStart = slash;
    while (numeratorStart > 0 && tokens.at(numeratorStart - 1).kind == Kind::Digit)
        --numeratorStart;
    QList<qsizetype> whole, numerator, denominator;
    for (qsizetype i = 0; i < slash; ++i) {
        if (tokens.at(i).kind == Kind::Digit)
            (i < numeratorStart ? whole : numerator).append(i);
    }
    qsizetype end = slash + 1;
    qint64 fixed = 0;
    qsizetype fixedDigits = 0;
    if (tokens.at(end).kind == Kind::Digit) {
        while (end < tokens.size() && tokens.at(end).kind == Kind::Digit)
            denominator.append(end++);
    } else {
        const QString &text = tokens.at(end).text;
        while (fixedDigits < text.size() && fixedDigits < 9 && text.at(fixedDigits).isDigit())
            ++fixedDigits;
        fixed = text.left(fixedDigits).toLongLong();
    }

    qint64 integer = whole.isEmpty() ? 0 : qint64(std::floor(value));
    const double part = value - double(integer);
    qint64 num = std::llround(part);
    qint64 den = 1;
    if (fixed > 0) {
        den = fixed;
        num = std::llround(part * double(den));
    } else {
        qint64 largest = 1;
        for (qsizetype k = 0; k < std::min<qsizetype>(denominator.size(), 5); ++k)
            largest *= 10;
        double best = std::fabs(part - double(num));
        for (qint64 d = 2; d < largest && best > 0; ++d) {
            const qint64 n = std::llround(part * double(d));
            const double error = std::fabs(part - double(n) / double(d));
            if (error < best) {
                best = error;
                num = n;
                den = d;
            }
        }
    }
    if (!whole.isEmpty() && num == den) {
        ++integer;
        num = 0;
    }

    QString integerDigits = integer > 0 ? QString::number(integer) : QString();
    if (integer == 0 && num == 0)
        integerDigits = QStringLiteral("0");
    placeWhole(tokens, whole, integerDigits, false, out);
    if (!whole.isEmpty() && num == 0) {
        // A whole number keeps the fraction's room as blanks.
        for (qsizetype i = numeratorStart; i < end; ++i)
            out[i] = QString(out.at(i).size(), u' ');
        if (fixed > 0)
            out[end].replace(0, fixedDigits, QString(fixedDigits, u' '));
        return;
    }
    placeWhole(tokens, numerator, QString::number(num), false, out);
    // The denominator stands to the left of its room; the rest of the room is
    // blank, a 0 there included (it pads no digits on this side).
    const QString denDigits = QString::number(den);
    for (qsizetype j = 0; j < denominator.size(); ++j) {
        const bool hash = tokens.at(denominator.at(j)).text == u"#";
        out[denominator.at(j)] = j < denDigits.size() ? QString(denDigits.at(j)) : hash ? QString() : QStringLiteral(" ");
    }
}

QString numberText(const Section &section, double value)
{
    const QList<Token> &tokens = section.tokens;
    QStringList out;
    for (const Token &token : tokens)
        out.append(plainText(token, value));
    if (std::none_of(tokens.begin(), tokens.end(), [](const Token &t) { return t.kind == Kind::Digit; }))
        return out.join(QString());
    const qsizetype slash = fractionSlash(tokens);
    if (slash >= 0 && value < 1e15)  // beyond that no fraction is left to show
        placeFraction(tokens, slash, value, out);
    else
        placeDecimal(tokens, value, out);
    return out.join(QString());
}

struct CalendarDay
{
    int year, month, day;
    int weekday;  // 0 is Sunday
};

CalendarDay calendarDay(qint64 days, bool date1904)
{
    if (date1904) {
        const QDate date = QDate(1904, 1, 1).addDays(days);
        return {date.year(), date.month(), date.day(), date.dayOfWeek() % 7};
    }
    // The 1900 system has a day 0 (1900-01-00) and a 29 February 1900 that
    // never were, and its weekdays run on through them.
    const int weekday = int((days + 6) % 7);
    if (days == 0)
        return {1900, 1, 0, weekday};
    if (days == 60)
        return {1900, 2, 29, weekday};
    const QDate date = QDate(1899, 12, days < 60 ? 31 : 30).addDays(days);
    return {date.year(), date.month(), date.day(), weekday};
}

// ss.00: the digits after a seconds part's point.
qsizetype secondDecimals(const QList<Token> &tokens, qsizetype point)
{
    if (point == 0 || (tokens.at(point - 1).kind != Kind::Second && tokens.at(point - 1).kind != Kind::ElapsedSeconds))
        return 0;
    qsizetype n = 0;
    while (point + 1 + n < tokens.size() && tokens.at(point + 1 + n).kind == Kind::Digit
           && tokens.at(point + 1 + n).text == u"0")
        ++n;
    return n;
}

std::optional<QString> dateText(const Section &section, double serial, bool date1904)
{
    static const char *const months[] = {"January", "February", "March",     "April",   "May",      "June",
                                         "July",    "August",   "September", "October", "November", "December"};
    static const char *const weekdays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    static const QString chineseWeekdays = QStringLiteral("日一二三四五六");
    static const QStringList chineseMonths = QStringLiteral("一 二 三 四 五 六 七 八 九 十 十一 十二").split(u' ');
    const bool chineseNames = section.language != Section::Language::Other;

    const QList<Token> &tokens = section.tokens;
    qsizetype decimals = 0;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        if (tokens.at(i).kind == Kind::Point)
            decimals = std::max(decimals, std::min<qsizetype>(secondDecimals(tokens, i), 3));
    }
    const double end = date1904 ? 2957004.0 : 2958466.0;  // the day after 9999-12-31
    if (!(serial >= 0 && serial < end))
        return std::nullopt;
    qint64 perSecond = 1;
    for (qsizetype k = 0; k < decimals; ++k)
        perSecond *= 10;
    // Rounded to the smallest unit shown, then cut: 18:00:59.6 is 18:01:00 and hh:mm shows 18:01.
    const qint64 units = std::llround(serial * 86400.0 * double(perSecond));
    const qint64 seconds = units / perSecond;
    const QString fraction = QString::number(units % perSecond).rightJustified(decimals, u'0');
    const CalendarDay day = calendarDay(seconds / 86400, date1904);
    const int hour = int(seconds % 86400 / 3600);
    const int minute = int(seconds % 3600 / 60);
    const int second = int(seconds % 60);
    const bool twelveHours = std::any_of(tokens.begin(), tokens.end(), [](const Token &t) { return t.kind == Kind::AmPm; });

    QString text;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        const Token &token = tokens.at(i);
        const qsizetype n = token.count;
        switch (token.kind) {
        case Kind::Year:
            text += n <= 2 ? twoDigits(day.year % 100) : QString::number(day.year).rightJustified(4, u'0');
            break;
        case Kind::Month: {
            if (n <= 2) {
                text += n == 1 ? QString::number(day.month) : twoDigits(day.month);
            } else if (chineseNames) {
                // mmm 5月, mmmm 五月, mmmmm 5
                text += n == 3 ? QString::number(day.month) + u'月'
                    : n == 4   ? chineseMonths.at(day.month - 1) + u'月'
                               : QString::number(day.month);
            } else {
                const QString name = QString::fromLatin1(months[day.month - 1]);
                text += n == 3 ? name.left(3) : n == 4 ? name : name.left(1);
            }
            break;
        }
        case Kind::Day: {
            if (n <= 2) {
                text += n == 1 ? QString::number(day.day) : twoDigits(day.day);
            } else if (chineseNames) {
                text += (n == 3 ? QStringLiteral("周") : QStringLiteral("星期")) + chineseWeekdays.at(day.weekday);
            } else {
                const QString name = QString::fromLatin1(weekdays[day.weekday]);
                text += n == 3 ? name.left(3) : name;
            }
            break;
        }
        case Kind::Hour: {
            const int shown = twelveHours ? (hour % 12 == 0 ? 12 : hour % 12) : hour;
            text += n == 1 ? QString::number(shown) : twoDigits(shown);
            break;
        }
        case Kind::Minute:
            text += n == 1 ? QString::number(minute) : twoDigits(minute);
            break;
        case Kind::Second:
            text += n == 1 ? QString::number(second) : twoDigits(second);
            break;
        case Kind::ElapsedHours:
            text += QString::number(seconds / 3600).rightJustified(n, u'0');
            break;
        case Kind::ElapsedMinutes:
            text += QString::number(seconds / 60).rightJustified(n, u'0');
            break;
        case Kind::ElapsedSeconds:
            text += QString::number(seconds).rightJustified(n, u'0');
            break;
        case Kind::ChineseWeekday:
            text += (n == 3 ? QString() : QStringLiteral("星期")) + chineseWeekdays.at(day.weekday);
            break;
        case Kind::AmPm:
            if (section.language == Section::Language::Chinese && token.text == u"AM")
                text += hour < 12 ? QStringLiteral("上午") : QStringLiteral("下午");
            else
                text += hour < 12 ? token.text : token.pmText;
            break;
        case Kind::Point: {
            const qsizetype shown = secondDecimals(tokens, i);
            text += u'.' + fraction.left(shown);
            i += shown;
            break;
        }
        default:
            text += plainText(token, serial);
        }
    }
    return text;
}

} // namespace

QString generalNumber(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("#NUM!");
    if (value == 0)
        return QStringLiteral("0");
    const QString sign = value < 0 ? QStringLiteral("-") : QString();
    Decimal d = decimalOf(std::fabs(value), 15);
    while (d.digits.endsWith(u'0'))
        d.digits.chop(1);
    const qsizetype exponent = d.point - 1;
    if (exponent >= -4 && exponent < 15) {
        if (d.point <= 0)
            return sign + QStringLiteral("0.") + QString(-d.point, u'0') + d.digits;
        if (d.point >= d.digits.size())
            return sign + d.digits + QString(d.point - d.digits.size(), u'0');
        return sign + d.digits.left(d.point) + u'.' + d.digits.mid(d.point);
    }
    // Six significant digits, as a column of the usual width shows them.
    Decimal mantissa = rounded({d.digits, 1}, 5);
    qsizetype shown = exponent;
    if (mantissa.point > 1) {  // 9.999996 became 10.00000
        ++shown;
        mantissa.digits.chop(1);
    }
    while (mantissa.digits.endsWith(u'0'))
        mantissa.digits.chop(1);
    QString text = sign + mantissa.digits.left(1);
    if (mantissa.digits.size() > 1)
        text += u'.' + mantissa.digits.mid(1);
    return text + (shown < 0 ? QStringLiteral("E-") : QStringLiteral("E+")) + twoDigits(std::abs(shown));
}

// The digits 0 to 9 in [DBNum1] (一二三) or [DBNum2] (壹贰叁) numerals.
QString chineseDigits(int style)
{
    return style == 2 ? QStringLiteral("零壹贰叁肆伍陆柒捌玖") : QStringLiteral("〇一二三四五六七八九");
}

// A whole number in Chinese numerals with their units, in groups of four
// digits (万, 亿): 1234 一千二百三十四, 10001 一万〇一, 10 一十.
QString chineseWholeNumber(QStringView digits, int style)
{
    const QString numerals = chineseDigits(style);
    const QString units = style == 2 ? QStringLiteral(" 拾佰仟") : QStringLiteral(" 十百千");
    const QString groups = QStringLiteral(" 万亿兆");
    const QChar zero = numerals.front();
    while (digits.size() > 1 && digits.front() == u'0')
        digits = digits.mid(1);
    if (digits.size() > 16)
        return digits.toString();
    if (digits == u"0")
        return QString(zero);
    QString text;
    bool zeroPending = false;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        const qsizetype place = digits.size() - 1 - i;
        const int digit = digits.at(i).digitValue();
        if (digit == 0) {
            zeroPending = !text.isEmpty();
        } else {
            if (zeroPending)
                text += zero;
            zeroPending = false;
            text += numerals.at(digit);
            if (place % 4 != 0)
                text += units.at(place % 4);
        }
        // A group's name follows it when the group holds a digit.
        if (place % 4 == 0 && place > 0) {
            const QStringView group = digits.mid(qMax<qsizetype>(0, i - 3), qMin<qsizetype>(4, i + 1));
            if (group.count(u'0') != group.size())
                text += groups.at(place / 4);
        }
    }
    return text;
}

// The digits of a formatted number or date in Chinese numerals: a run after a
// decimal point, and a four-digit year, digit by digit; any other run as a
// whole number with its units.
QString chineseNumeralText(const QString &text, int style, bool dateTime)
{
    const QString numerals = chineseDigits(style);
    const auto isAsciiDigit = [&text](qsizetype at) { return text.at(at) >= u'0' && text.at(at) <= u'9'; };
    QString out;
    qsizetype i = 0;
    while (i < text.size()) {
        if (!isAsciiDigit(i)) {
            out += text.at(i++);
            continue;
        }
        qsizetype end = i;
        while (end < text.size() && isAsciiDigit(end))
            ++end;
        const QStringView run = QStringView(text).mid(i, end - i);
        const bool oneByOne = (i > 0 && text.at(i - 1) == u'.') || (dateTime && run.size() == 4);
        if (oneByOne) {
            for (const QChar digit : run)
                out += numerals.at(digit.digitValue());
        } else {
            out += chineseWholeNumber(run, style);
        }
        i = end;
    }
    return out;
}

QString formatCellNumber(double value, const QString &formatCode, bool date1904)
{
    if (!std::isfinite(value) || formatCode.trimmed().isEmpty())
        return generalNumber(value);
    // The system's long time and long date, as a Chinese system shows them.
    const QString code = formatCode.contains(QLatin1String("[$-F400]"), Qt::CaseInsensitive) ? QStringLiteral("h:mm:ss")
        : formatCode.contains(QLatin1String("[$-F800]"), Qt::CaseInsensitive) ? QStringLiteral("yyyy\"年\"m\"月\"d\"日\"")
                                                                               : formatCode;
    const std::optional<QList<Section>> sections = parseFormat(code);
    if (!sections)
        return generalNumber(value);
    const std::optional<Choice> choice = chooseSection(*sections, value);
    if (!choice)
        return generalNumber(value);
    const Section &section = *choice->section;
    const auto numerals = [&section](const QString &text) {
        return section.chineseNumerals ? chineseNumeralText(text, section.chineseNumerals, section.dateTime) : text;
    };
    const QString sign = choice->minus ? QStringLiteral("-") : QString();
    if (!section.dateTime)
        return sign + numerals(numberText(section, std::fabs(value)));
    // A negative date or time has no text: the spreadsheet program fills the cell with #.
    const std::optional<QString> text = choice->minus ? std::nullopt : dateText(section, std::fabs(value), date1904);
    return text ? numerals(*text) : generalNumber(value);
}

QString builtinFormatCode(int id)
{
    switch (id) {
    case 0:
        return QStringLiteral("General");
    case 1:
        return QStringLiteral("0");
    case 2:
        return QStringLiteral("0.00");
    case 3:
        return QStringLiteral("#,##0");
    case 4:
        return QStringLiteral("#,##0.00");
    // 5 to 8 and 41 to 44 follow the currency of the program's locale; files
    // normally spell them out, and these are the zh-CN ones.
    case 5:
        return QStringLiteral("\"¥\"#,##0;\"¥\"\\-#,##0");
    case 6:
        return QStringLiteral("\"¥\"#,##0;[Red]\"¥\"\\-#,##0");
    case 7:
        return QStringLiteral("\"¥\"#,##0.00;\"¥\"\\-#,##0.00");
    case 8:
        return QStringLiteral("\"¥\"#,##0.00;[Red]\"¥\"\\-#,##0.00");
    case 9:
        return QStringLiteral("0%");
    case 10:
        return QStringLiteral("0.00%");
    case 11:
        return QStringLiteral("0.00E+00");
    case 12:
        return QStringLiteral("# ?/?");
    case 13:
        return QStringLiteral("# ?\?/??");
    // 14 and 22 are the system's short date; a Chinese system writes 2020/1/1.
    case 14:
        return QStringLiteral("yyyy/m/d");
    case 15:
        return QStringLiteral("d-mmm-yy");
    case 16:
        return QStringLiteral("d-mmm");
    case 17:
        return QStringLiteral("mmm-yy");
    case 18:
        return QStringLiteral("h:mm AM/PM");
    case 19:
        return QStringLiteral("h:mm:ss AM/PM");
    case 20:
        return QStringLiteral("h:mm");
    case 21:
        return QStringLiteral("h:mm:ss");
    case 22:
        return QStringLiteral("yyyy/m/d h:mm");
    case 27:
    case 36:
    case 50:
    case 52:
    case 57:
        return QStringLiteral("yyyy\"年\"m\"月\"");
    case 28:
    case 29:
    case 51:
    case 53:
    case 54:
    case 58:
        return QStringLiteral("m\"月\"d\"日\"");
    case 30:
        return QStringLiteral("m-d-yy");
    case 31:
        return QStringLiteral("yyyy\"年\"m\"月\"d\"日\"");
    case 32:
        return QStringLiteral("h\"时\"mm\"分\"");
    case 33:
        return QStringLiteral("h\"时\"mm\"分\"ss\"秒\"");
    case 34:
    case 55:
        return QStringLiteral("上午/下午h\"时\"mm\"分\"");
    case 35:
    case 56:
        return QStringLiteral("上午/下午h\"时\"mm\"分\"ss\"秒\"");
    // Positive numbers keep room for the negatives' closing bracket.
    case 37:
        return QStringLiteral("#,##0_);(#,##0)");
    case 38:
        return QStringLiteral("#,##0_);[Red](#,##0)");
    case 39:
        return QStringLiteral("#,##0.00_);(#,##0.00)");
    case 40:
        return QStringLiteral("#,##0.00_);[Red](#,##0.00)");
    case 41:
        return QStringLiteral("_ * #,##0_ ;_ * \\-#,##0_ ;_ * \"-\"_ ;_ @_ ");
    case 42:
        return QStringLiteral("_ \"¥\"* #,##0_ ;_ \"¥\"* \\-#,##0_ ;_ \"¥\"* \"-\"_ ;_ @_ ");
    case 43:
        return QStringLiteral("_ * #,##0.00_ ;_ * \\-#,##0.00_ ;_ * \"-\"??_ ;_ @_ ");
    case 44:
        return QStringLiteral("_ \"¥\"* #,##0.00_ ;_ \"¥\"* \\-#,##0.00_ ;_ \"¥\"* \"-\"??_ ;_ @_ ");
    case 45:
        return QStringLiteral("mm:ss");
    case 46:
        return QStringLiteral("[h]:mm:ss");
    case 47:
        return QStringLiteral("mm:ss.0");  // written mmss.0, shown with the colon
    case 48:
        return QStringLiteral("##0.0E+0");
    case 49:
        return QStringLiteral("@");
    default:
        return {};
    }
}

QString cellFormatCode(int id, const QString &fileCode)
{
    const QString builtIn = builtinFormatCode(id);
    const bool languageDate = id >= 14 && id <= 22 && isDateFormat(fileCode);
    if (!builtIn.isEmpty() && (fileCode.isEmpty() || languageDate))
        return builtIn;
    return fileCode.isEmpty() ? QStringLiteral("General") : fileCode;
}

bool isDateFormat(const QString &formatCode)
{
    const std::optional<QList<Section>> sections = parseFormat(formatCode);
    return sections
        && std::any_of(sections->begin(), sections->end(), [](const Section &s) { return !s.text && s.dateTime; });
}

} // namespace moque::sheets
