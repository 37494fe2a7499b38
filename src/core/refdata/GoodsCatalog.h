#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace moque::refdata {

// One article of the goods catalogue (table Products); prices are kept as typed.
struct Good
{
    qint64 id = 0; // 0 for an entry not stored yet
    QString name;  // 商品名
    QString specification;
    QString articleNo;
    QString unit;
    QString price;
    QString wholesalePrice;
    QString shortCode;
    QString remark;
    QString category;
};

// What the catalogue lists: a keyword in the name or the specification, one
// name, one category, in the order of one column.
struct GoodsFilter
{
    QString keyword;
    QString name;     // "" or "所有商品" for every name
    QString category; // "" for every category
    QString sortColumn = QStringLiteral("商品名"); // "" keeps the table's order
    bool descending = true;
};

// The goods catalogue the receipt's charge lines are filled from. Every value
// is bound, so names with quotes are names.
class GoodsCatalog
{
public:
    explicit GoodsCatalog(QSqlDatabase db) : m_db(db) {}

    static QString allNames() { return QStringLiteral("所有商品"); }

    // The entries the filter selects; empty with `error` set when the query fails.
    QList<Good> find(const GoodsFilter &filter, QString *error = nullptr) const;
    // Distinct names, last first, for the name list after "所有商品".
    QStringList names() const;
    // The categories entries carry, trimmed, blank ones left out.
    QStringList categories() const;
    // Units the entries use; an empty catalogue offers 台, 只, 个, 箱, 套, 件.
    QStringList units() const;

    // Saves an entry, its texts trimmed. With an id it rewrites that entry (an
    // entry deleted meanwhile is left alone, silently); without, an entry with
    // the same name and specification is rewritten, else a new one added and
    // good.id set. `message` is the refusal or, when exactly one row was
    // written, the success message; false when nothing was written.
    bool save(Good &good, QString *message) const;
    // Deletes the entries; stops at the first failure with `error` set.
    bool remove(const QList<qint64> &ids, QString *error) const;
    bool clear(QString *error) const;

private:
    QSqlDatabase m_db;
};

} // namespace moque::refdata
