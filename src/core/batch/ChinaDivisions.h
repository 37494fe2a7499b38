#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace moque::batch {

// Provinces, cities and districts of China as address texts write them,
// read once from the compiled-in division list.
class ChinaDivisions
{
public:
    struct District
    {
        QString name;          // "南山区"
        QStringList aliases;   // the name and its short form, longest first
    };
    struct City
    {
        QString name;          // "深圳市"; a municipality's own name ("北京市")
        QStringList aliases;
        QList<District> districts;
    };
    struct Province
    {
        QString name;          // as the waybill shows it: "广东省", "北京", "广西", "香港"
        QStringList aliases;
        bool municipality = false;
        QList<City> cities;
    };

    // The one list, loaded on first use.
    static const ChinaDivisions &instance();

    const QList<Province> &provinces() const { return m_provinces; }

private:
    ChinaDivisions();
    void load();

    QList<Province> m_provinces;
};

} // namespace moque::batch
