#include "batch/ChinaDivisions.h"

#include <QFile>
#include <QHash>
#include <QTextStream>

#include <algorithm>

namespace moque::batch {

namespace {

QStringList longestFirst(QStringList names)
{
    names.removeDuplicates();
    names.removeIf([](const QString &n) { return n.size() < 2; });
    std::stable_sort(names.begin(), names.end(), [](const QString &a, const QString &b) { return a.size() > b.size(); });
    return names;
}

// "广西壮族自治区" → "广西", "香港特别行政区" → "香港", "广东省" → "广东".
QString provinceShortName(const QString &name)
{
    static const QStringList endings{QStringLiteral("壮族自治区"), QStringLiteral("回族自治区"),
                                     QStringLiteral("维吾尔自治区"), QStringLiteral("特别行政区"),
                                     QStringLiteral("自治区"), QStringLiteral("省"), QStringLiteral("市")};
    for (const QString &e : endings) {
        if (name.endsWith(e))
            return name.left(name.size() - e.size());
    }
    return name;
}

// Short forms that shop texts use: "深圳" for 深圳市, "恩施" for 恩施土家族苗族自治州.
QStringList cityAliases(const QString &name)
{
    QStringList aliases{name};
    if (name.endsWith(QStringLiteral("自治州"))) {
        // The prefecture's own name comes before its first people's name ("黔东南苗族侗族自治州").
        static const QStringList peoples{
            QStringLiteral("土家"), QStringLiteral("苗"), QStringLiteral("藏"), QStringLiteral("彝"),
            QStringLiteral("白族"), QStringLiteral("傣"), QStringLiteral("哈尼"), QStringLiteral("壮"),
            QStringLiteral("朝鲜"), QStringLiteral("回族"), QStringLiteral("蒙古"), QStringLiteral("哈萨克"),
            QStringLiteral("柯尔克孜"), QStringLiteral("布依"), QStringLiteral("侗"), QStringLiteral("羌"),
            QStringLiteral("傈僳"), QStringLiteral("景颇")};
        qsizetype own = name.size() - 3;
        for (const QString &people : peoples) {
            const qsizetype at = name.indexOf(people, 2);
            if (at > 0 && at < own)
                own = at;
        }
        aliases << name.left(own);
    } else if (name.endsWith(QStringLiteral("地区"))) {
        aliases << name.left(name.size() - 2);
    } else if (name.endsWith(QStringLiteral("市")) && name.size() > 2) {
        aliases << name.left(name.size() - 1);
    }
    return longestFirst(aliases);
}

QStringList districtAliases(const QString &name)
{
    QStringList aliases{name};
    if (name.size() > 2 && (name.endsWith(QStringLiteral("区")) || name.endsWith(QStringLiteral("县"))
                            || name.endsWith(QStringLiteral("市")))
        && !name.endsWith(QStringLiteral("自治县")) && !name.endsWith(QStringLiteral("新区")))
        aliases << name.left(name.size() - 1);
    return longestFirst(aliases);
}

bool isMunicipalCity(const QString &city)
{
    return city == QStringLiteral("市辖区") || city == QStringLiteral("县");
}

bool isDirectCounties(const QString &city)
{
    return city.endsWith(QStringLiteral("直辖县级行政区划"));
}

} // namespace

ChinaDivisions::ChinaDivisions()
{
    load();
}

const ChinaDivisions &ChinaDivisions::instance()
{
    static const ChinaDivisions divisions;
    return divisions;
}

void ChinaDivisions::load()
{
    QFile file(QStringLiteral(":/data/divisions/china-divisions.tsv"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    QTextStream in(&file);
    QHash<QString, qsizetype> provinceIndex;
    QHash<QString, qsizetype> cityIndex; // province + city → index in its province
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList cols = line.split(QLatin1Char('\t'));
        if (cols.size() < 6)
            continue;
        const QString &provinceName = cols.at(1);
        const QString &cityName = cols.at(3);
        const QString &districtName = cols.at(5);
        auto p = provinceIndex.constFind(provinceName);
        if (p == provinceIndex.constEnd()) {
            Province province;
            province.municipality = isMunicipalCity(cityName);
            const QString shortName = provinceShortName(provinceName);
            // Provinces keep 省; municipalities, autonomous regions and 香港/澳门 go by their short names.
            province.name = provinceName.endsWith(QStringLiteral("省")) ? provinceName : shortName;
            QStringList aliases{provinceName, shortName};
            if (provinceName.endsWith(QStringLiteral("自治区")))
                aliases << shortName + QStringLiteral("自治区");
            if (provinceName == QStringLiteral("新疆维吾尔自治区"))
                aliases << QStringLiteral("新疆维吾尔族自治区");
            province.aliases = longestFirst(aliases);
            p = provinceIndex.insert(provinceName, m_provinces.size());
            m_provinces.append(province);
        }
        Province &province = m_provinces[*p];
        const bool direct = isDirectCounties(cityName);
        // A municipality is its own city; a county under the province directly is a city of its own.
        const QString ownCity = province.municipality ? provinceName : direct ? districtName : cityName;
        const QString key = provinceName + QLatin1Char('/') + ownCity;
        auto c = cityIndex.constFind(key);
        if (c == cityIndex.constEnd()) {
            City city;
            city.name = ownCity;
            city.aliases = province.municipality ? longestFirst({ownCity, QStringLiteral("市辖区")}) : cityAliases(ownCity);
            c = cityIndex.insert(key, province.cities.size());
            province.cities.append(city);
        }
        if (!direct)
            province.cities[*c].districts.append({districtName, districtAliases(districtName)});
    }
}

} // namespace moque::batch
