#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace moque::refdata {

struct Currency
{
    QString name;  // 币种, e.g. 人民币
    QString code;  // 缩写, e.g. ￥
    int order = 0; // 顺序: lists show the highest first
};

// The currency list (table coins). Names and codes are each unique, compared
// without the blanks at both ends and, for Latin letters, without regard to case.
class Currencies
{
public:
    enum class Result { Done, EmptyName, EmptyCode, NameExists, CodeExists, NotChosen, NameChanged, Failed };
    struct Outcome
    {
        Result result = Result::Failed;
        QString text;
        QString caption;
        bool ok() const { return result == Result::Done; }
    };

    explicit Currencies(QSqlDatabase db) : m_db(db) {}

    // Every currency by 顺序 descending, then in the order stored; empty on an error.
    QList<Currency> loadCurrencies() const;
    // Names of loadCurrencies().
    QStringList loadMoneyTypeList() const;
    // The code of the currency; empty when not found or on an error.
    QString getMoneyCodeByName(const QString &name) const;
    // The currency of the code; empty when not found or on an error.
    QString getMoneyNameByCode(const QString &code) const;

    // Adds a currency with order 0.
    Outcome addCurrency(const QString &name, const QString &code);
    // Deletes the chosen currency (empty when none is chosen).
    Outcome deleteCurrency(const QString &chosenName);
    // Gives the chosen currency a new code; typedName must still be its name.
    Outcome changeCode(const QString &chosenName, const QString &typedName, const QString &code);
    // Sets the list order of the currency.
    bool setOrder(const QString &name, int order);

    QString lastError() const { return m_error; }

private:
    // True when another currency than `except` has the name (column 币种) or code (column 缩写).
    bool taken(const QString &column, const QString &value, const QString &except = {}) const;

    QSqlDatabase m_db;
    mutable QString m_error;
};

} // namespace moque::refdata
