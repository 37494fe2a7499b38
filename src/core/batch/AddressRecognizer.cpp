#include "batch/AddressRecognizer.h"

#include "batch/ChinaDivisions.h"

#include <QRegularExpression>

namespace moque::batch {

namespace {

const QChar kGap = QLatin1Char(',');

bool isCjk(QChar c)
{
    return c.unicode() >= 0x4e00 && c.unicode() <= 0x9fa5;
}

bool isSeparator(QChar c)
{
    return c == kGap || c == QLatin1Char(' ') || c == QLatin1Char('\n') || c == QLatin1Char(':')
        || c == QLatin1Char(';');
}

// Blanks a matched span so that later patterns cannot read it again.
void blank(QString &t, qsizetype from, qsizetype length)
{
    for (qsizetype i = from; i < from + length && i < t.size(); ++i) {
        if (t.at(i) != QLatin1Char('\n'))
            t[i] = kGap;
    }
}

void addCandidate(QStringList &list, const QString &value)
{
    const QString v = value.trimmed();
    if (!v.isEmpty() && !list.contains(v))
        list.append(v);
}

// The label words shop texts put before their fields, longest first so that
// "收货地址" is taken whole rather than as "地址".
const QRegularExpression &labelPattern()
{
    static const QRegularExpression re(QStringLiteral(
        "(收货人姓名|收件人姓名|收货人信息|收货信息|收货地址|收件地址|详细地址|街道地址|所在地区|所在地|省市区|区域|"
        "收货人|收件人|联系人|姓名|买家|地址|手机号码|手机号|手机|移动电话|联系电话|联系方式|电话号码|电话|固话|座机|"
        "邮政编码|邮编|国家|备注)[ ]*:"));
    return re;
}

// Words of chat texts that look like a name but are not one.
bool isCourtesy(const QString &word)
{
    static const QStringList words{QStringLiteral("谢谢"), QStringLiteral("麻烦"), QStringLiteral("您好"),
                                   QStringLiteral("你好"), QStringLiteral("老板"), QStringLiteral("亲"),
                                   QStringLiteral("快递"), QStringLiteral("发货"), QStringLiteral("尽快"),
                                   QStringLiteral("收货"), QStringLiteral("寄到"), QStringLiteral("发到"),
                                   QStringLiteral("中国"), QStringLiteral("地址"), QStringLiteral("电话"),
                                   QStringLiteral("手机"), QStringLiteral("邮编"), QStringLiteral("默认"),
                                   QStringLiteral("包邮"), QStringLiteral("顺丰"), QStringLiteral("先发")};
    for (const QString &w : words) {
        if (word.contains(w))
            return true;
    }
    return false;
}

// The common surnames that the name pattern of the window lists, and a few more.
bool startsWithSurname(const QString &word)
{
    static const QString surnames = QStringLiteral(
        "李王张刘陈杨黄赵周吴徐孙朱马胡郭林何高梁郑罗宋谢唐韩曹许邓萧冯曾程蔡彭潘袁于董余苏叶吕魏蒋田杜丁沈姜范傅钟卢"
        "江汪戴崔任陆廖姚方金邱夏谭韦贾邹石熊孟秦阎薛侯雷白龙段郝孔邵史毛常万顾赖武康贺严尹钱施牛洪龚栾肖詹翁欧上司诸"
        "闫付葛柳尤庞易莫凌黎殷乔岳覃鲁伍温齐蓝祝章");
    return !word.isEmpty() && surnames.contains(word.at(0));
}

bool looksLikeName(const QString &word)
{
    if (word.size() < 2 || word.size() > 6)
        return false;
    for (QChar c : word) {
        if (!isCjk(c) && c != QChar(0x00b7))
            return false;
    }
    static const QString placeWords = QStringLiteral("省市区县镇村路街号楼室栋幢座道巷弄");
    return !placeWords.contains(word.back()) && !isCourtesy(word);
}

// A name written inside the street's line: short, after a surname, and not a building's name.
bool isNameInStreet(const QString &word)
{
    static const QString buildingWords = QStringLiteral("园苑城府居湾庭阁轩寓厦场院心馆店司厂部");
    return word.size() <= 4 && looksLikeName(word) && startsWithSurname(word) && !buildingWords.contains(word.back());
}

// Labels written without their colon and words of chat, which no street contains.
bool isChatWord(const QString &word)
{
    static const QStringList words{QStringLiteral("给"), QStringLiteral("收"), QStringLiteral("手机"),
                                   QStringLiteral("电话"), QStringLiteral("收货人"), QStringLiteral("收件人"),
                                   QStringLiteral("姓名"), QStringLiteral("联系人"), QStringLiteral("邮编")};
    return words.contains(word) || (word.size() <= 4 && isCourtesy(word));
}

// "张三收" is 张三 to be delivered to; "何(先生)" is 何先生.
QString cleanName(QString name)
{
    name.remove(QLatin1Char('(')).remove(QLatin1Char(')'));
    if (name.size() >= 3 && name.endsWith(QStringLiteral("收")))
        name.chop(1);
    return name.trimmed();
}

// A name in Latin letters ("Tom Lee") standing alone between commas or on its own line.
bool isLatinName(const QString &segment)
{
    static const QRegularExpression re(QStringLiteral("^[A-Za-z][A-Za-z .'-]{1,29}$"));
    return re.match(segment).hasMatch();
}

struct Span
{
    qsizetype from = -1;
    qsizetype length = 0;
    qsizetype end() const { return from + length; }
    bool found() const { return from >= 0; }
};

// The first alias found at or after `from`, the longest at the same place.
Span findAlias(const QString &t, const QStringList &aliases, qsizetype from)
{
    Span best;
    for (const QString &a : aliases) {
        const qsizetype at = t.indexOf(a, from);
        if (at >= 0 && (!best.found() || at < best.from || (at == best.from && a.size() > best.length)))
            best = {at, a.size()};
    }
    return best;
}

qsizetype skipSeparators(const QString &t, qsizetype at)
{
    while (at < t.size() && isSeparator(t.at(at)))
        ++at;
    return at;
}

struct Region
{
    const ChinaDivisions::Province *province = nullptr;
    const ChinaDivisions::City *city = nullptr;
    const ChinaDivisions::District *district = nullptr;
    qsizetype from = -1;
    qsizetype end = -1;
};

// A district of the city written right after it, or anywhere after it by its full name;
// a short name ("南山") only counts right after the city and not as the start of a street.
void findDistrict(const QString &t, Region &r)
{
    Span best;
    const qsizetype next = skipSeparators(t, r.end);
    static const QString streetWords = QStringLiteral("路街道大巷");
    for (const ChinaDivisions::District &d : r.city->districts) {
        for (const QString &a : d.aliases) {
            const bool shortName = a.size() < d.name.size();
            const qsizetype at = shortName ? (t.mid(next, a.size()) == a ? next : -1) : t.indexOf(a, r.end);
            if (at < 0)
                continue;
            if (shortName && at + a.size() < t.size() && streetWords.contains(t.at(at + a.size())))
                continue;
            if (!best.found() || at < best.from || (at == best.from && a.size() > best.length)) {
                best = {at, a.size()};
                r.district = &d;
            }
        }
    }
    if (best.found())
        r.end = best.end();
}

// The city of the province at or after `from`; a city may share its name with its
// province (吉林省吉林市) or stand in the province's place (吉林市昌邑区).
bool findCity(const QString &t, Region &r, qsizetype from)
{
    Span best;
    for (const ChinaDivisions::City &c : r.province->cities) {
        const Span s = findAlias(t, c.aliases, from);
        if (s.found() && (!best.found() || s.from < best.from || (s.from == best.from && s.length > best.length))) {
            best = s;
            r.city = &c;
        }
    }
    if (!best.found())
        return false;
    r.end = std::max(r.end, best.end());
    return true;
}

Region findRegion(const QString &t)
{
    const ChinaDivisions &divisions = ChinaDivisions::instance();
    Region r;
    Span province;
    for (const ChinaDivisions::Province &p : divisions.provinces()) {
        const Span s = findAlias(t, p.aliases, 0);
        if (s.found() && (!province.found() || s.from < province.from || (s.from == province.from && s.length > province.length))) {
            province = s;
            r.province = &p;
        }
    }
    // The first city anywhere, for texts that leave the province out.
    Region byCity;
    Span city;
    for (const ChinaDivisions::Province &p : divisions.provinces()) {
        for (const ChinaDivisions::City &c : p.cities) {
            const Span s = findAlias(t, c.aliases, 0);
            if (s.found() && (!city.found() || s.from < city.from || (s.from == city.from && s.length > city.length))) {
                city = s;
                byCity.province = &p;
                byCity.city = &c;
            }
        }
    }
    // A province named after the first city is only inside a street's name (吉林市船营区北京路).
    if (byCity.city && (!r.province || (city.from < province.from && byCity.province != r.province))) {
        byCity.from = city.from;
        byCity.end = city.end();
        findDistrict(t, byCity);
        return byCity;
    }
    if (!r.province)
        return r;
    r.from = province.from;
    r.end = province.end();
    // The city after the province, else one written where the province's name stands (吉林市昌邑区).
    Region written = r;
    if (findCity(t, written, province.end()) || findCity(t, written, province.from)) {
        findDistrict(t, written);
        return written;
    }
    if (r.province->municipality) {
        r.city = &r.province->cities.constFirst();
        for (const ChinaDivisions::City &c : r.province->cities) {
            Region withDistrict = r;
            withDistrict.city = &c;
            findDistrict(t, withDistrict);
            if (withDistrict.district)
                return withDistrict;
        }
        return r;
    }
    // A province with a district but no city: the district tells the city.
    for (const ChinaDivisions::City &c : r.province->cities) {
        Region withDistrict = r;
        withDistrict.city = &c;
        findDistrict(t, withDistrict);
        if (withDistrict.district && t.indexOf(withDistrict.district->name, r.end) >= 0)
            return withDistrict;
    }
    return r;
}

} // namespace

bool RecognizedAddress::isEmpty() const
{
    return name.isEmpty() && mobile.isEmpty() && phone.isEmpty() && zipcode.isEmpty() && province.isEmpty()
        && city.isEmpty() && district.isEmpty() && address.isEmpty();
}

QString RecognizedAddress::fullAddress() const
{
    QString front;
    for (const QString &division : {province, city, district}) {
        if (!division.isEmpty() && !front.endsWith(division) && !address.startsWith(division))
            front += division;
    }
    return front + address;
}

AddressRecognizer::AddressRecognizer(Substitutions substitutions) : m_substitutions(std::move(substitutions))
{
}

QString AddressRecognizer::normalize(const QString &text) const
{
    QString s;
    s.reserve(std::min<qsizetype>(text.size(), maxTextLength));
    for (qsizetype i = 0; i < text.size() && s.size() < maxTextLength; ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        if (u >= 0xff01 && u <= 0xff5e) // full-width letters, digits and punctuation
            s.append(QChar(char16_t(u - 0xfee0)));
        else if (u == 0x3000 || c == QLatin1Char('\t'))
            s.append(QLatin1Char(' '));
        else if (c == QLatin1Char('\n'))
            s.append(c);
        else if (c == QLatin1Char('\r'))
            s.append(QLatin1Char('\n'));
        else if (u == 0x3001 || u == 0xff64) // 、
            s.append(kGap);
        else if (c.isSurrogate() || c.category() == QChar::Symbol_Other || c.category() == QChar::Other_Format
                 || c.category() == QChar::Other_Control || c.category() == QChar::Other_PrivateUse
                 || c.category() == QChar::Other_NotAssigned)
            s.append(QLatin1Char(' ')); // emoji, pictographs and control characters carry no field
        else if (u == 0x3010) // 【收货人】: a label in heavy brackets
            s.append(QLatin1Char(' '));
        else if (u == 0x3011)
            s.append(QLatin1Char(':'));
        else if (u == 0x3016) // 〖
            s.append(QLatin1Char('('));
        else if (u == 0x3017)
            s.append(QLatin1Char(')'));
        else
            s.append(c);
    }
    // Blank lines carry nothing.
    QStringList lines = s.split(QLatin1Char('\n'));
    lines.removeIf([](const QString &l) { return l.trimmed().isEmpty(); });
    s = lines.join(QLatin1Char('\n'));
    if (s.trimmed().isEmpty())
        return {};
    for (const char *status : {"旺旺在线", "旺旺离线", "手机在线"})
        s.replace(QString::fromUtf8(status), QString(kGap));
    s.replace(QStringLiteral("－"), QStringLiteral("-"));
    static const QRegularExpression spaces(QStringLiteral("[ ]{2,}"));
    s.replace(spaces, QStringLiteral(" "));
    s.replace(QStringLiteral(": "), QStringLiteral(":"));
    s.replace(QStringLiteral(" :"), QStringLiteral(":"));
    s.replace(QStringLiteral(";"), QString(kGap));
    s.replace(QStringLiteral(", "), QString(kGap));
    s.replace(QStringLiteral(" ,"), QString(kGap));
    // A label written without its colon gets one.
    for (const QString &label : {QStringLiteral("地址"), QStringLiteral("姓名"), QStringLiteral("联系人")}) {
        if (!s.contains(label + QLatin1Char(':')))
            s.replace(label, label + QLatin1Char(':'));
    }
    s.replace(QStringLiteral("地区:"), QStringLiteral("区域:"));
    s.replace(QStringLiteral("新疆维吾尔自治区"), QStringLiteral("新疆维吾尔族自治区"));
    for (const auto &[from, to] : m_substitutions) {
        if (!from.isEmpty())
            s.replace(from, to);
    }
    return s.trimmed();
}

RecognizedAddress AddressRecognizer::recognize(const QString &text) const
{
    RecognizedAddress r;
    const QString normalized = normalize(text);
    if (normalized.isEmpty())
        return r;
    QString t = QLatin1Char('\n') + normalized + QLatin1Char('\n');

    // Handsets, written whole, in groups or behind the country code.
    static const QRegularExpression mobileRe(
        QStringLiteral("(?<![0-9])(?:\\+?86[- ]?)?(1[3-9][0-9])[- ]?([0-9]{4})[- ]?([0-9]{4})(?![0-9])"));
    for (auto it = mobileRe.globalMatch(t); it.hasNext();) {
        const auto m = it.next();
        addCandidate(r.mobiles, m.captured(1) + m.captured(2) + m.captured(3));
        blank(t, m.capturedStart(), m.capturedLength());
    }

    // Landlines with their area code (0755-26888888, (0755)26888888, extensions), or labelled ones.
    static const QRegularExpression phoneRe(QStringLiteral(
        "(?<![0-9])(?:\\((0[0-9]{2,3})\\)|(0[0-9]{2,3}))[- ]?([0-9]{7,8})(?:(?:-|转)([0-9]{1,6}))?(?![0-9])"));
    for (auto it = phoneRe.globalMatch(t); it.hasNext();) {
        const auto m = it.next();
        QString phone = (m.captured(1).isEmpty() ? m.captured(2) : m.captured(1)) + QLatin1Char('-') + m.captured(3);
        if (!m.captured(4).isEmpty())
            phone += QLatin1Char('-') + m.captured(4);
        addCandidate(r.phones, phone);
        blank(t, m.capturedStart(), m.capturedLength());
    }
    static const QRegularExpression labelledPhoneRe(
        QStringLiteral("(?:电话|固话|座机|联系电话)[ ]*:[ ]*([0-9]{7,8})(?![0-9])"));
    for (auto it = labelledPhoneRe.globalMatch(t); it.hasNext();) {
        const auto m = it.next();
        addCandidate(r.phones, m.captured(1));
        blank(t, m.capturedStart(1), m.capturedLength(1));
    }

    // Post codes: labelled, in brackets (full-width ones were made plain) or standing alone.
    static const QRegularExpression zipRe(QStringLiteral(
        "(?:(?:邮编|邮政编码)[ ]*:?[ ]*([0-9]{6})(?![0-9]))|(?:\\(([0-9]{6})\\))|(?:(?<=[\\n, :])([0-9]{6})(?=[\\n, ):]))"));
    for (auto it = zipRe.globalMatch(t); it.hasNext();) {
        const auto m = it.next();
        for (int g = 1; g <= 3; ++g) {
            if (!m.captured(g).isEmpty())
                addCandidate(r.zipcodes, m.captured(g));
        }
        blank(t, m.capturedStart(), m.capturedLength());
    }

    // A labelled name.
    static const QRegularExpression nameRe(QStringLiteral(
        "(?:收货人姓名|收件人姓名|收货人|收件人|联系人|姓名|买家)[ ]*:[ ]*([^ \\n,:0-9]{2,15}+)(?!:)"));
    for (auto it = nameRe.globalMatch(t); it.hasNext();) {
        const auto m = it.next();
        QString name = m.captured(1);
        if (!name.contains(QStringLiteral("地址"))) {
            addCandidate(r.names, name);
            blank(t, m.capturedStart(), m.capturedLength());
        }
    }
    // The labels themselves carry nothing once their values are taken.
    for (auto it = labelPattern().globalMatch(t); it.hasNext();) {
        const auto m = it.next();
        blank(t, m.capturedStart(), m.capturedLength());
    }
    // Brackets emptied by the post code or phone taken out of them.
    static const QRegularExpression emptyBrackets(QStringLiteral("\\([ ,]*\\)"));
    t.replace(emptyBrackets, QString(kGap));

    const Region region = findRegion(t);
    if (region.province) {
        addCandidate(r.provinces, region.province->name);
        if (region.city)
            addCandidate(r.cities, region.city->name);
        if (region.district)
            addCandidate(r.districts, region.district->name);
        // The street follows the region on its line, or on the next line after a label.
        const qsizetype addressFrom = skipSeparators(t, region.end);
        qsizetype addressEnd = addressFrom;
        while (addressEnd < t.size() && t.at(addressEnd) != kGap && t.at(addressEnd) != QLatin1Char('\n'))
            ++addressEnd;
        QString street = t.mid(addressFrom, addressEnd - addressFrom).trimmed();
        // A name, a label or a word of chat after the street ends it ("…路1号 张三", "…路1号 给 张三 手机").
        const QStringList words = street.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (qsizetype i = 1; i < words.size(); ++i) {
            if (!isNameInStreet(words.at(i)) && !isChatWord(words.at(i)))
                continue;
            for (qsizetype j = i; j < words.size(); ++j) {
                if (isNameInStreet(words.at(j)))
                    addCandidate(r.names, words.at(j));
            }
            street = words.mid(0, i).join(QLatin1Char(' '));
            break;
        }
        addCandidate(r.addresses, street);
        blank(t, region.from, addressEnd - region.from);
    }

    // The remaining pieces: names, and the street when no region was found.
    static const QRegularExpression pieceBreaks(QStringLiteral("[,\\n :]+"));
    const QStringList pieces = t.split(pieceBreaks, Qt::SkipEmptyParts);
    QStringList others;
    for (const QString &piece : pieces) {
        if (looksLikeName(piece))
            others.append(piece);
    }
    std::stable_sort(others.begin(), others.end(), [](const QString &a, const QString &b) {
        return startsWithSurname(a) && a.size() <= 4 && !(startsWithSurname(b) && b.size() <= 4);
    });
    for (const QString &o : others)
        addCandidate(r.names, o);

    static const QRegularExpression segmentBreaks(QStringLiteral("[,\\n]+"));
    const QStringList segments = t.split(segmentBreaks, Qt::SkipEmptyParts);
    // Only beside a handset or a region: a line of Latin letters alone is no address.
    for (const QString &segment : segments) {
        if ((region.province || !r.mobiles.isEmpty()) && isLatinName(segment.trimmed()))
            addCandidate(r.names, segment);
    }
    if (r.addresses.isEmpty()) {
        QString longest;
        for (const QString &seg : segments) {
            const QString s = seg.trimmed();
            bool hasCjk = false;
            for (QChar c : s)
                hasCjk = hasCjk || isCjk(c);
            // As long as a street is written, never a whole pasted page.
            if (hasCjk && s.size() >= 5 && s.size() <= 70 && !r.names.contains(s) && s.size() > longest.size())
                longest = s;
        }
        addCandidate(r.addresses, longest);
    }

    QStringList names;
    for (const QString &name : std::as_const(r.names))
        addCandidate(names, cleanName(name));
    r.names = names;

    auto first = [](const QStringList &l) { return l.isEmpty() ? QString() : l.constFirst(); };
    r.name = first(r.names);
    r.mobile = first(r.mobiles);
    r.phone = first(r.phones);
    r.zipcode = first(r.zipcodes);
    r.province = first(r.provinces);
    r.city = first(r.cities);
    r.district = first(r.districts);
    r.address = first(r.addresses);
    return r;
}

} // namespace moque::batch
