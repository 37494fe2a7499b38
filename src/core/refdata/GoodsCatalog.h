#pragma once

#include <QAbstractTableModel>
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
    QString model; // 规格: the model or size
    QString articleNo;
    QString unit;
    QString price;
    QString wholesalePrice;
    QString shortCode;
    QString remark;
    QString category;
};

// What the catalogue lists: a keyword in the name or the model, one
// name, one category, in the order of one column.
struct GoodsFilter
{
    QString keyword;
    QString name;     // "" or "所有商品" for every name
    QString category; // "" for every category
    QString sortColumn = QStringLiteral("商品名"); // "" keeps the table's order
    bool descending = true;

    // A click on a column title: that column, ascending unless the list
    // already is ascending, then descending.
    void sortBy(const QString &column);
};

// The goods catalogue the receipt's charge lines are filled from. Every value
// is bound, so names with quotes are names.
class GoodsCatalog
{
public:
    explicit GoodsCatalog(QSqlDatabase db) : m_db(db) {}

    static QString allNames() { return QStringLiteral("所有商品"); }
    static QString allCategories() { return QStringLiteral("全部分类"); }
    // The category tree's path: 全部分类, a backslash, the category ("" for every one).
    static QString categoryPath(const QString &category);
    static QString categoryOfPath(const QString &path);
    // "ID" and the catalogue's columns, in the order find fills a Good.
    static QStringList columns();

    // Why save refuses the entry (a required text missing); empty when it may be saved.
    static QString refusal(const Good &good);

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
    // the same name and model is rewritten, else a new one added and
    // good.id set. `message` is the refusal or, when exactly one row was
    // written, the success message; false when nothing was written.
    bool save(Good &good, QString *message) const;
    // Deletes the entries; stops at the first failure with `error` set.
    bool remove(const QList<qint64> &ids, QString *error) const;
    bool clear(QString *error) const;

private:
    QSqlDatabase m_db;
};

// The listed entries, one column per catalogue column after the ID, titled
// with the column's name.
class GoodsListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit GoodsListModel(QObject *parent = nullptr) : QAbstractTableModel(parent) {}

    void setGoods(const QList<Good> &goods);
    Good good(int row) const { return m_goods.value(row); }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QList<Good> m_goods;
};

} // namespace moque::refdata
