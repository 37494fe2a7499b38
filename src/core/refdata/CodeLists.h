#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace moque::refdata {

// The province and city code list: rows of table DMTable2 of the kind "省市",
// 一级代码 a province and 二级代码 one of its cities or counties. Stored codes
// are compared with the blanks at both ends removed, and listed that way.
class CodeLists
{
public:
    static const QString provinceKind;

    enum class Result { Done, Empty, Exists, Failed };
    struct Outcome
    {
        Result result = Result::Failed;
        QString text;
        QString caption;
        bool ok() const { return result == Result::Done; }
    };

    explicit CodeLists(QSqlDatabase db) : m_db(db) {}

    // Provinces, sorted; empty on an error.
    QStringList loadProvinces() const;
    // Cities of the province, sorted; empty on an error.
    QStringList loadCitysByProvince(const QString &province) const;
    bool cityExists(const QString &province, const QString &city) const;

    // Adds the city to the province (a new province comes with its first
    // city); refused when either is blank or the province has the city.
    Outcome addCity(const QString &province, const QString &city);
    // Renames a city of the province.
    Outcome renameCity(const QString &province, const QString &oldCity, const QString &newCity);
    // Deletes a city; a province goes with its last city.
    Outcome deleteCity(const QString &province, const QString &city);

    QString lastError() const { return m_error; }

private:
    QSqlDatabase m_db;
    mutable QString m_error;
};

} // namespace moque::refdata
