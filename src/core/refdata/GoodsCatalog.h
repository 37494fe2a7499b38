#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

class QSqlQuery;

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
    // Only the IDs of those entries, in the filter's order: a long list reads
    // its texts when they are shown.
    QList<qint64> findIds(const GoodsFilter &filter, QString *error = nullptr) const;
    // The entries of these IDs, in any order; an ID no longer
    // stored gives none.
    QList<Good> read(const QList<qint64> &ids) const;
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
    // Runs "select <fields> from Products" with the filter's conditions and order.
    bool select(QSqlQuery &q, const QString &fields, const GoodsFilter &filter, QString *error) const;

    QSqlDatabase m_db;
};

// The listed entries, one column per catalogue column after the ID, titled
// with the column's name.
class GoodsListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit GoodsListModel(QObject *parent = nullptr) : QAbstractTableModel(parent) {}

    // Lists the entries the filter selects. Their IDs are read at once, their
    // texts a batch of rows at a time when first asked for, so a catalogue of
    // many thousand entries opens quickly. An entry deleted meanwhile shows
    // empty texts. Nothing is listed, with `error` set, when the query fails.
    void load(QSqlDatabase db, const GoodsFilter &filter, QString *error = nullptr);
    // Lists these entries.
    void setGoods(const QList<Good> &goods);
    Good good(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    static constexpr int batchRows = 200;

    // The row's entry, its batch read first when it has not been yet.
    const Good &at(int row) const;

    QSqlDatabase m_db;
    QList<qint64> m_ids;
    mutable QList<Good> m_goods;      // one per ID, filled as batches are read
    mutable QList<bool> m_batchRead; // per batch of batchRows rows
};

} // namespace moque::refdata
