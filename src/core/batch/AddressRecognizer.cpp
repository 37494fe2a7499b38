#include "batch/AddressRecognizer.h"

#include "batch/ChinaDivisions.h"

#include <QRegularExpression>

#include <algorithm>
#include <numeric>

namespace moque::batch {

namespace {

const QChar kGap = QLatin1Char(',');

// The recognition window's patterns, character for character as the window
// writes them (ECMAScript dialect; PCRE2 without Unicode properties reads them
// alike: "\W" and "\s" stay ASCII classes, a "|" in a class is a literal).
constexpr char16_t kMobilePattern[] = uR"re([1]{1}[0-9]{10,13})re";
constexpr char16_t kPhonePattern1[] = uR"re([电][话][:]([0-9]|-|\(|\)|\+){7,18})re";
constexpr char16_t kPhonePattern2[] = uR"re([,| ]{1}[0-9]{7,8}[,| ]{1})re";
constexpr char16_t kPhonePattern3[] = uR"re([0-9]{3,4}-[0-9]{7,8}[-]{0,1}[0-9]{0,6})re";
constexpr char16_t kPhonePattern4[] = uR"re([\(]{0,1}[0-9]{3,4}[\)]{0,1}[0-9]{7,8}[-]{0,1}[0-9]{0,6})re";
constexpr char16_t kPhoneFallbackPattern[] = uR"re([0-9]{7,8}[-]{0,1}[0-9]{4,6})re";
constexpr char16_t kPhoneInnerPattern[] = uR"re([^,\s]{7,15})re";
constexpr char16_t kPostCodeLabelledPattern[] = uR"re(([邮][编][:]){1}[0-9]{6})re";
constexpr char16_t kPostCodeBracketedPattern[] = uR"re(([:|[\(]|[ ]|[,]|[\r]|[\n]){1}[0-9]{6}([\)]|[,]|[\s]|[\r]|[\n]){1})re";
constexpr char16_t kPostCodeDigitsPattern[] = uR"re([0-9]{6})re";
constexpr char16_t kNamePattern1[] = uR"re(([姓][名]|[收][货][人]|[联][系][人])[:][^ \n]{2,15})re";
constexpr char16_t kNamePattern2[] = uR"re([:|,|\r|\n][^ ]{2,5}[,])re";
constexpr char16_t kNamePattern3[] = uR"re(([李]|[王]|[张]|[刘]|[陈]|[杨]|[黄]|[赵]|[周]|[吴]|[徐]|[孙]|[朱]|[马]|[胡]|[郭]|[林]|[何]|[高]|[梁]|[郑]|[罗]|[宋]|[谢]|[唐]|[韩]|[曹]|[许]|[邓]|[萧]|[冯]|[曾]|[程]|[蔡]|[彭]|[潘]|[袁]|[于]|[董]|[余]|[苏]|[叶]|[吕]|[魏]|[蒋]|[田]|[杜]|[丁]|[沈]|[姜]|[范]|[傅]|[钟]|[卢]|[江]|[汪]|[戴]|[崔]|[任]|[陆]|[廖]|[姚]|[方]|[金]|[邱]|[夏]|[谭]|[韦]|[贾]|[邹]|[石]|[熊]|[孟]|[秦]|[阎]|[薛]|[侯]|[雷]|[白]|[龙]|[段]|[郝]|[孔]|[邵]|[史]|[毛]|[常]|[万]|[顾]|[赖]|[武]|[康]|[贺]|[严]|[尹]|[钱]|[施]|[牛]|[洪]|[龚]|[栾]|[肖]|[詹]|[翁]){1}[\W]{1,3}(\n|[ ]){1})re";
constexpr char16_t kAddressPattern1[] = uR"re([^,:]{2,30}([房]|[座]|[楼]|[樓]|([大][厦])|([旁][边])|([对][面])|([商][厦])|[苑]|[室]|[#]|[号]|[路]|[栋]|[幢]|[村]|[镇]|[乡]|[街]|[园]|([校][区])|([单][元])|([宿][舍])|([公][寓])|[道]){1,}([^,:\r\n]{2,30}))re";
constexpr char16_t kAddressPattern2[] = uR"re([ |,|:]{1}[^\n,:]{2,4}([省]|[自][治][区]|[盟]){1}[^\n,:]{2,5}([市]|[县]|[旗]){1}[^\n,:]{4,60}[,|\s|\n]{0,1})re";
constexpr char16_t kAddressInnerPattern[] = uR"re([^:,]{5,70})re";
constexpr char16_t kCountryPattern[] = uR"re(([国][家]|[地][区])[:][^ \n]{2,24})re";
constexpr char16_t kPaipaiAddressPattern[] = uR"re(([ ][^\n]{5,45}[ ][^\n\(]{5,35}))re";
constexpr char16_t kPaipaiAddressInnerPattern[] = uR"re([^\n]{3,}([座]|[楼]|[厦]|[号]|[室]|[路]|[栋]|[幢]|[舍]|[街]|[园]|[道]|[村]|[#]|([宿][舍])|([校][区])|([单][元])|[段]|[乡]){1,}([^\n]{0,60}))re";
constexpr char16_t kCompanyAsAddressPattern[] = uR"re([^\s\n| ]{1}[^ ,]{7,30}[\s|\n| |,]{0,1})re";
constexpr char16_t kOrganisationPattern1[] = uR"re(([ ]|[:]|\n|\r|,){1}[^:, \s]{4,}(([公][司])|([事][务][所])|([经][销][部])|([分][行])|([大][学])|([中][学])|([小][学])|([学][院])|([人][事][处])|([委][员][会])|([组][织][部])|([卫][生][院])|([分][院])|[校]|[厅]|[办]|[局]|[站]|([营][业][部])|([办][事][处])))re";
constexpr char16_t kOrganisationPattern2[] = uR"re(([ ]|[:]|\n|\r|,){1}[^:, \s]{2,}(([检][察][院])|([法][院])|([医][院])|([公][安][局])|([税][务][局])))re";
constexpr char16_t kOrganisationInnerPattern[] = uR"re([^,\r\n:]{4,})re";
constexpr char16_t kRegionMunicipalityPattern[] = uR"re(([上][海]|[北][京]|[天][津]|[重][庆]){1}[市]{0,1}[^0-9a-zA-Z区]{2,6}([区]){1})re";
constexpr char16_t kRegionSarPattern[] = uR"re(([香][港]|[澳][门]){1}[[特][别][行][政][区]]{1}[^0-9a-zA-Z区]{2,6}([区]){1})re";
constexpr char16_t kRegionAutonomousPart[] = uR"re([^ :,\s]{2,6}([自][治][区]){1})re";
constexpr char16_t kRegionProvincePart[] = uR"re([^ :,\s]{0,1}([广][东]|[福][建]|[河][北]|[江][苏]|[浙][江]|[山][西]|[辽][宁]|[吉][林]|[黑][龙][江]|[安][徽]|[江][西]|[山][东]|[河][南]|[湖][北]|[湖][南]|[海][南]|[广][西]|[新][疆]|[西][藏]|[内][蒙][古]|[宁][夏]|[贵][州]|[云][南]|[陕][西]|[甘][肃]|[青][海]|[四][川]|[香][港]|[澳][门]|[台][湾]){1}([省]){0,1})re";
constexpr char16_t kRegionCityPart[] = uR"re([^0-9a-zA-Z市]{2,5}([盟]|[地][区]|[行][政][区]|[市]){1})re";
constexpr char16_t kRegionPrefecturePart[] = uR"re([^0-9a-zA-Z省]{4,8}([自][治][州]){1})re";
constexpr char16_t kRegionDistrictPart[] = uR"re([^0-9a-zA-Z区市]{2,5}([区]|[市]){1})re";
constexpr char16_t kRegionBannerPart[] = uR"re([^0-9a-zA-Z省]{2,8}([自][治][旗]|[旗]){1})re";
constexpr char16_t kRegionAutonomousCountyPart[] = uR"re([^0-9a-zA-Z省市]{2,11}([自][治][县]){1})re";
constexpr char16_t kRegionCountyPart[] = uR"re([^0-9a-zA-Z省市]{1,4}([县]){1})re";
constexpr char16_t kRegionProvincePattern[] = uR"re(([广][东]|[福][建]|[北][京]|[天][津]|[河][北]|[上][海]|[江][苏]|[浙][江]|[山][西]|[辽][宁]|[吉][林]|[黑][龙][江]|[安][徽]|[江][西]|[山][东]|[河][南]|[湖][北]|[湖][南]|[海][南]|[广][西][壮][族][自][治][区]|[广][西]|[新][疆][维][吾][尔][族][自][治][区]|[新][疆]|[西][藏][自][治][区]|[西][藏]|[内][蒙][古][自][治][区]|[内][蒙][古]|[宁][夏][回][族][自][治][区]|[宁][夏]|[重][庆]|[贵][州]|[云][南]|[陕][西]|[甘][肃]|[青][海]|[四][川]|[香][港]|[澳][门]|[台][湾]){1}([省]|[市]){0,1})re";
constexpr char16_t kNamePart20Pattern[] = uR"re([^,.\\0-9a-zA-Z]{2,20})re";
constexpr char16_t kNamePart16Pattern[] = uR"re([^,.\\0-9a-zA-Z]{2,16})re";
constexpr char16_t kSplitCityPattern[] = uR"re([,]{1}[^0-9a-zA-Z]{2,4}([市]|[盟]|[地][区]))re";
constexpr char16_t kSplitPrefecturePattern[] = uR"re([,]{1}[^0-9a-zA-Z]{4,8}([自][治][州]))re";

QRegularExpression compiled(const char16_t *pattern)
{
    return QRegularExpression(QString::fromUtf16(pattern));
}

struct VerbatimPatterns
{
    QRegularExpression mobile = compiled(kMobilePattern);
    QList<QRegularExpression> phones{compiled(kPhonePattern1), compiled(kPhonePattern2), compiled(kPhonePattern3),
                                     compiled(kPhonePattern4), compiled(kPhoneFallbackPattern)};
    QRegularExpression phoneInner = compiled(kPhoneInnerPattern);
    QList<QRegularExpression> postCodes{compiled(kPostCodeLabelledPattern), compiled(kPostCodeBracketedPattern)};
    QRegularExpression postCodeDigits = compiled(kPostCodeDigitsPattern);
    QList<QRegularExpression> names{compiled(kNamePattern1), compiled(kNamePattern2), compiled(kNamePattern3)};
    QList<QRegularExpression> addresses{compiled(kAddressPattern1), compiled(kAddressPattern2)};
    QRegularExpression addressInner = compiled(kAddressInnerPattern);
    QRegularExpression country = compiled(kCountryPattern);
    QRegularExpression paipaiAddress = compiled(kPaipaiAddressPattern);
    QRegularExpression paipaiAddressInner = compiled(kPaipaiAddressInnerPattern);
    QRegularExpression companyAsAddress = compiled(kCompanyAsAddressPattern);
    QList<QRegularExpression> organisations{compiled(kOrganisationPattern1), compiled(kOrganisationPattern2)};
    QRegularExpression organisationInner = compiled(kOrganisationInnerPattern);
    QList<QRegularExpression> regions = regionPatterns();
    QRegularExpression regionProvince = compiled(kRegionProvincePattern);
    QRegularExpression namePart20 = compiled(kNamePart20Pattern);
    QRegularExpression namePart16 = compiled(kNamePart16Pattern);
    QRegularExpression splitCity = compiled(kSplitCityPattern);
    QRegularExpression splitPrefecture = compiled(kSplitPrefecturePattern);

    // The two fixed patterns, then province part + city part + district part,
    // the province part changing slowest.
    static QList<QRegularExpression> regionPatterns()
    {
        QList<QRegularExpression> list{compiled(kRegionMunicipalityPattern), compiled(kRegionSarPattern)};
        for (const char16_t *a : {kRegionAutonomousPart, kRegionProvincePart}) {
            for (const char16_t *b : {kRegionCityPart, kRegionPrefecturePart}) {
                for (const char16_t *c : {kRegionDistrictPart, kRegionBannerPart, kRegionAutonomousCountyPart,
                                          kRegionCountyPart})
                    list.append(QRegularExpression(QString::fromUtf16(a) + QString::fromUtf16(b)
                                                   + QString::fromUtf16(c)));
            }
        }
        return list;
    }
};

const VerbatimPatterns &verbatim()
{
    static const VerbatimPatterns patterns;
    return patterns;
}

// The trimmed last match; an empty text finds nothing.
QString findLast(const QString &t, const QRegularExpression &re)
{
    QString last;
    if (t.isEmpty())
        return last;
    for (auto it = re.globalMatch(t); it.hasNext();) {
        const auto m = it.next();
        if (m.capturedLength() > 0)
            last = m.captured();
    }
    return last.trimmed();
}

// Every match, trimmed, without what stands up to its first ":", narrowed to
// the last match of the inner pattern when there is one.
QStringList findAll(const QString &t, const QRegularExpression &re, const QRegularExpression *inner = nullptr)
{
    QStringList values;
    if (t.isEmpty())
        return values;
    for (auto it = re.globalMatch(t); it.hasNext();) {
        QString v = it.next().captured().trimmed();
        if (v.isEmpty())
            continue;
        const qsizetype colon = v.indexOf(QLatin1Char(':'));
        if (colon >= 0)
            v = v.mid(colon + 1);
        if (inner)
            v = findLast(v, *inner);
        v = v.trimmed();
        if (!v.isEmpty())
            values.append(v);
    }
    return values;
}

void removeFirst(QString &s, const QString &part)
{
    const qsizetype at = part.isEmpty() ? -1 : s.indexOf(part);
    if (at >= 0)
        s.remove(at, part.size());
}

struct VerbatimRegion
{
    QString province;
    QString city;
    QString town;
    bool found() const { return !province.isEmpty() || !city.isEmpty() || !town.isEmpty(); }
};

// The first region pattern whose last match holds no ":", split into province,
// city and town as the window splits it.
VerbatimRegion verbatimRegion(const QString &t)
{
    const VerbatimPatterns &p = verbatim();
    VerbatimRegion v;
    for (const QRegularExpression &re : p.regions) {
        QString r = findLast(t, re);
        if (r.isEmpty() || r.contains(QLatin1Char(':')))
            continue;
        QString province = findLast(r, p.regionProvince);
        if (!province.isEmpty()) {
            removeFirst(province, QStringLiteral("市"));
            province = province.trimmed();
            v.province = findLast(province, p.namePart20);
            removeFirst(r, province);
            r = r.trimmed();
        }
        QString s = kGap + r;
        QString city = findLast(s, p.splitCity);
        if (city.isEmpty())
            city = findLast(s, p.splitPrefecture);
        if (!city.isEmpty()) {
            v.city = findLast(city, p.namePart16);
            removeFirst(s, city);
        } else if (QStringList{QStringLiteral("北京"), QStringLiteral("上海"), QStringLiteral("天津"),
                               QStringLiteral("重庆")}.contains(v.province)) {
            v.city = v.province + QStringLiteral("市");
            removeFirst(s, QStringLiteral(",市"));
        }
        s = s.trimmed();
        removeFirst(s, QString(kGap));
        v.town = findLast(s.trimmed(), p.namePart16);
        break;
    }
    return v;
}

// The window's choice among its name candidates: the only one, else the last
// that names no place; commas dropped.
QString verbatimName(const QString &t)
{
    QStringList names;
    for (const QRegularExpression &re : verbatim().names) {
        for (const QString &v : findAll(t, re)) {
            if (v.size() >= 2)
                names.append(v);
        }
    }
    if (names.isEmpty())
        return {};
    QString chosen = names.constFirst();
    if (names.size() > 1) {
        static const QString placeWords = QStringLiteral("省市区县镇村组");
        for (const QString &n : std::as_const(names)) {
            if (std::none_of(n.begin(), n.end(), [](QChar c) { return placeWords.contains(c); }))
                chosen = n;
        }
    }
    return chosen.remove(kGap).trimmed();
}

// The window's longest street candidate, the later one of equal length.
QString verbatimStreet(const QString &t)
{
    QString longest;
    for (const QRegularExpression &re : verbatim().addresses) {
        for (const QString &v : findAll(t, re, &verbatim().addressInner)) {
            if (v.size() >= longest.size())
                longest = v;
        }
    }
    return longest;
}

// The window's phones: each pattern that finds any replaces what the one before found.
QStringList verbatimPhones(const QString &t)
{
    QStringList phones;
    for (const QRegularExpression &re : verbatim().phones) {
        const QStringList found = findAll(t, re, &verbatim().phoneInner);
        if (!found.isEmpty())
            phones = found;
    }
    return phones;
}

// The six-digit groups of the first value of the first post code pattern that finds any.
QStringList verbatimPostCodes(const QString &t)
{
    for (const QRegularExpression &re : verbatim().postCodes) {
        const QStringList found = findAll(t, re);
        if (!found.isEmpty())
            return findAll(found.constFirst(), verbatim().postCodeDigits);
    }
    return {};
}

QString digitsOf(const QString &s)
{
    QString d;
    for (QChar c : s) {
        if (c.isDigit())
            d.append(c);
    }
    return d;
}

// Length as the window counts it, in GBK bytes: two for a Chinese character.
qsizetype gbkLength(const QString &s)
{
    return std::accumulate(s.begin(), s.end(), qsizetype(0),
                           [](qsizetype n, QChar c) { return n + (c.unicode() < 0x80 ? 1 : 2); });
}

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

QString AddressRecognizer::verbatimMatch(Pattern pattern, const QString &text)
{
    const VerbatimPatterns &p = verbatim();
    switch (pattern) {
    case Pattern::Mobile:
        return findAll(text, p.mobile).join(QLatin1Char('|'));
    case Pattern::Phone1:
    case Pattern::Phone2:
    case Pattern::Phone3:
    case Pattern::Phone4:
    case Pattern::PhoneFallback:
        return findAll(text, p.phones.at(int(pattern) - int(Pattern::Phone1)), &p.phoneInner).join(QLatin1Char('|'));
    case Pattern::PostCodeLabelled:
    case Pattern::PostCodeBracketed:
        return findAll(text, p.postCodes.at(int(pattern) - int(Pattern::PostCodeLabelled))).join(QLatin1Char('|'));
    case Pattern::Name1:
    case Pattern::Name2:
    case Pattern::Name3:
        return findAll(text, p.names.at(int(pattern) - int(Pattern::Name1))).join(QLatin1Char('|'));
    case Pattern::Region: {
        const VerbatimRegion v = verbatimRegion(text);
        return v.found() ? QStringList{v.province, v.city, v.town}.join(QLatin1Char('|')) : QString();
    }
    case Pattern::Address1:
    case Pattern::Address2:
        return findAll(text, p.addresses.at(int(pattern) - int(Pattern::Address1)), &p.addressInner)
            .join(QLatin1Char('|'));
    case Pattern::Country:
        return findAll(text, p.country).join(QLatin1Char('|'));
    case Pattern::Paipai:
        return findAll(text, p.paipaiAddress, &p.paipaiAddressInner).join(QLatin1Char('|'));
    case Pattern::Organisation1:
    case Pattern::Organisation2:
        return findAll(text, p.organisations.at(int(pattern) - int(Pattern::Organisation1)), &p.organisationInner)
            .join(QLatin1Char('|'));
    case Pattern::CompanyAsAddress:
        return findAll(text, p.companyAsAddress).join(QLatin1Char('|'));
    }
    return {};
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
        // 联系人:潘越\t联系电话:…: the verbatim name pattern 1 runs over a tab into the next label.
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

RecognizedAddress AddressRecognizer::recognize(const QString &text, Layout layout) const
{
    RecognizedAddress r;
    const QString normalized = normalize(text);
    if (normalized.isEmpty())
        return r;
    QString t = QLatin1Char('\n') + normalized + QLatin1Char('\n');

    // Handsets: the window's pattern, kept where it reads a whole one.
    struct Found
    {
        qsizetype from;
        qsizetype length;
        QString value;
    };
    QList<Found> handsets;
    auto isDigitAt = [&t](qsizetype i) { return i >= 0 && i < t.size() && t.at(i).isDigit(); };
    for (auto it = verbatim().mobile.globalMatch(t); it.hasNext();) {
        const auto m = it.next();
        // 138001380001: the verbatim pattern takes up to 14 digits, or a handset's tail inside a longer number.
        if (m.capturedLength() == 11 && t.at(m.capturedStart() + 1) >= QLatin1Char('3')
            && !isDigitAt(m.capturedStart() - 1) && !isDigitAt(m.capturedEnd()))
            handsets.append({m.capturedStart(), m.capturedLength(), m.captured()});
    }
    // 139 0991 2345, 158-4711-2345, +86 13912345678: the verbatim pattern loses a handset written in
    // groups and leaves the country code in the text.
    static const QRegularExpression mobileRe(
        QStringLiteral("(?<![0-9])(?:\\+?86[- ]?)?(1[3-9][0-9])[- ]?([0-9]{4})[- ]?([0-9]{4})(?![0-9])"));
    for (auto it = mobileRe.globalMatch(t); it.hasNext();) {
        const auto m = it.next();
        const auto same = std::find_if(handsets.begin(), handsets.end(), [&m](const Found &f) {
            return f.from >= m.capturedStart() && f.from + f.length <= m.capturedEnd();
        });
        if (same != handsets.end())
            *same = {m.capturedStart(), m.capturedLength(), same->value};
        else
            handsets.append({m.capturedStart(), m.capturedLength(), m.captured(1) + m.captured(2) + m.captured(3)});
    }
    std::sort(handsets.begin(), handsets.end(), [](const Found &a, const Found &b) { return a.from < b.from; });
    for (const Found &f : std::as_const(handsets)) {
        addCandidate(r.mobiles, f.value);
        blank(t, f.from, f.length);
    }

    // Landlines: the window's patterns first.
    const QStringList windowPhones = verbatimPhones(t);
    // (0411)82345678-801, 0755-26888888-123: the verbatim inner pattern cuts a number at 15 characters;
    // 0755 26888888: pattern 2 reads the number without its area code. These read them whole, as area code,
    // number and extension, and mark where they stand so that no later step reads them again.
    QStringList mendedPhones;
    static const QRegularExpression phoneRe(QStringLiteral(
        "(?<![0-9])(?:\\((0[0-9]{2,3})\\)|(0[0-9]{2,3}))[- ]?([0-9]{7,8})(?:(?:-|转)([0-9]{1,6}))?(?![0-9])"));
    for (auto it = phoneRe.globalMatch(t); it.hasNext();) {
        const auto m = it.next();
        QString phone = (m.captured(1).isEmpty() ? m.captured(2) : m.captured(1)) + QLatin1Char('-') + m.captured(3);
        if (!m.captured(4).isEmpty())
            phone += QLatin1Char('-') + m.captured(4);
        addCandidate(mendedPhones, phone);
        blank(t, m.capturedStart(), m.capturedLength());
    }
    static const QRegularExpression labelledPhoneRe(
        QStringLiteral("(?:电话|固话|座机|联系电话)[ ]*:[ ]*([0-9]{7,8})(?![0-9])"));
    for (auto it = labelledPhoneRe.globalMatch(t); it.hasNext();) {
        const auto m = it.next();
        addCandidate(mendedPhones, m.captured(1));
        blank(t, m.capturedStart(1), m.capturedLength(1));
    }
    // A window phone stands as the mended reading of the same number; one that no mend reads is a number
    // the window takes for a phone that is none (an order number, a handset's digits).
    for (const QString &phone : windowPhones) {
        const QString digits = digitsOf(phone);
        for (const QString &mended : std::as_const(mendedPhones)) {
            if (!digits.isEmpty() && digitsOf(mended).startsWith(digits))
                addCandidate(r.phones, mended);
        }
    }
    for (const QString &mended : std::as_const(mendedPhones))
        addCandidate(r.phones, mended);

    // Country: the window's pattern. 国家:中国,省:广东省: it runs on over the comma into the next field.
    for (const QString &country : findAll(t, verbatim().country))
        addCandidate(r.countries, country.section(kGap, 0, 0));

    // Post codes: the window's patterns first.
    for (const QString &code : verbatimPostCodes(t))
        addCandidate(r.zipcodes, code);
    // （010050）: the verbatim pattern stops at the full-width bracket; normalising made it plain. The verbatim
    // patterns give values only: this finds where the codes stand, so that no later step reads them again.
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

    // The window's name, read before the labels are blanked.
    const QString windowName = verbatimName(t);
    // …长风街100号 于洋 17750505050 谢谢: the verbatim name pattern 3 takes the word of thanks after a surname
    // (谢) and the window's choice is the last candidate; 欧阳娜娜: no surname of its list. These read a
    // label's name up to the next field, and below a name standing alone or after the street.
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

    // The fields as they stand before the region and the street are taken out.
    const QString beforeRegion = t;

    // Province, city and town: the window's region patterns first.
    const VerbatimRegion windowRegion = verbatimRegion(t);
    const QString windowStreet = verbatimStreet(t);
    // The division list corrects what they get wrong: 香港特别行政区九龙油尖旺区 (the 特别行政区 pattern can
    // never match, it asks for a "]" after 区; town "特别行政区九龙油尖旺区"), 吉林省吉林市 (city "省吉林市"),
    // 内蒙古自治区 (province with its suffix, the waybill shows 内蒙古), 湖北省仙桃市干河街道 and 广东省东莞市
    // 南城街道 (no 区 or 县 after the city: nothing found), 浙江杭州西湖区 (no 省 and no 市: nothing found).
    const Region region = findRegion(t);
    if (!region.province && windowRegion.found()) {
        // A region the list does not know stands as the window reads it.
        addCandidate(r.provinces, windowRegion.province);
        addCandidate(r.cities, windowRegion.city);
        addCandidate(r.districts, windowRegion.town);
    }
    if (region.province) {
        addCandidate(r.provinces, region.province->name);
        if (region.city)
            addCandidate(r.cities, region.city->name);
        if (region.district)
            addCandidate(r.districts, region.district->name);
        // …长风街100号 于洋 17750505050 谢谢, 新华大街63号（010050）: the verbatim address patterns run on past
        // the street into the name, handset and post code after it on its line. The street follows the
        // region on its line, or on the next line after a label.
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
    // As long as a street is written, never a whole pasted page.
    auto isStreet = [&r](const QString &s) {
        return std::any_of(s.begin(), s.end(), isCjk) && s.size() >= 5 && s.size() <= 70 && !r.names.contains(s);
    };
    // Without a region, the window's street when it is one, else the longest piece that could be one.
    if (r.addresses.isEmpty() && isStreet(windowStreet))
        addCandidate(r.addresses, windowStreet);
    if (r.addresses.isEmpty()) {
        QString longest;
        for (const QString &seg : segments) {
            const QString s = seg.trimmed();
            if (isStreet(s) && s.size() > longest.size())
                longest = s;
        }
        addCandidate(r.addresses, longest);
    }

    // A value that begins with the chosen region, without it.
    auto withoutRegion = [&r](QString v) {
        for (const QStringList *division : {&r.provinces, &r.cities, &r.districts}) {
            if (!division->isEmpty() && v.startsWith(division->constFirst()))
                v = v.mid(division->constFirst().size()).trimmed();
        }
        return v;
    };

    // 拍拍: the window's pattern, its value chosen. 张小明 广东省深圳市南山区 科苑路15号科兴科学园A栋(518057) 13800138000:
    // the verbatim value keeps the region in front and runs on into the post code, handset and phone after it.
    if (layout == Layout::Paipai) {
        static const QRegularExpression fieldEnd(QStringLiteral("[,(].*$"));
        for (const QString &found : findAll(beforeRegion, verbatim().paipaiAddress, &verbatim().paipaiAddressInner)) {
            const QString street = withoutRegion(QString(found).remove(fieldEnd).trimmed());
            if (gbkLength(street) > 6) {
                r.addresses.removeAll(street);
                r.addresses.prepend(street);
            }
        }
    }

    // Organisation: each pattern that finds any replaces what the one before found. 广东省深圳市南山区科苑路15号
    // 墨雀科技有限公司: the verbatim patterns take the whole address line with the company at its end; 南山区科技园地铁站:
    // a street ending in 站 is taken for one.
    QStringList windowCompanies;
    for (const QRegularExpression &re : verbatim().organisations) {
        const QStringList found = findAll(beforeRegion, re, &verbatim().organisationInner);
        if (!found.isEmpty())
            windowCompanies = found;
    }
    // Up to the last house, block or room number ("15号", "A栋"); 望江楼 is a name.
    static const QRegularExpression upToStreetNumber(QStringLiteral("^.*[0-9A-Za-z][号栋楼室座]"));
    for (const QString &found : std::as_const(windowCompanies)) {
        const QString company = QString(found).remove(upToStreetNumber).trimmed();
        if (company.size() >= 4 && !r.addresses.contains(withoutRegion(company)))
            addCandidate(r.companies, company);
    }
    // A company without a street: the window's company-as-address values stand for the address.
    if (!r.companies.isEmpty() && r.addresses.isEmpty()) {
        for (const QString &found : findAll(beforeRegion, verbatim().companyAsAddress)) {
            if (found != r.phones.value(0) && found != r.mobiles.value(0))
                addCandidate(r.addresses, found);
        }
    }

    // The window's name first when it is a name. 江苏 苏州 姑苏区…, 内蒙古 锡林郭勒盟…: the verbatim name
    // pattern 3 takes a place whose first character is a surname (苏州, 林郭勒盟), so a part of the region is none.
    QStringList names;
    const QString regionText = r.provinces.join(QLatin1Char(' ')) + QLatin1Char(' ') + r.cities.join(QLatin1Char(' '))
        + QLatin1Char(' ') + r.districts.join(QLatin1Char(' '));
    const QString chosenName = cleanName(windowName);
    if (looksLikeName(chosenName) && !regionText.contains(chosenName))
        addCandidate(names, chosenName);
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
    r.company = first(r.companies);
    r.country = first(r.countries);
    return r;
}

} // namespace moque::batch
