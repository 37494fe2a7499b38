#pragma once

#include "history/HistoryQuery.h"
#include "refdata/Person.h"

#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>

namespace moque::store {
class Store;
}

namespace moque::batch {

// One recipient of ReceiverList: its ID and its texts by column.
struct Receiver
{
    qint64 id = 0;
    QHash<QString, QString> values;

    QString value(const QString &column) const { return values.value(column); }
    bool operator==(const Receiver &other) const = default;
};

// What the list window shows: a group, a keyword over the chosen filter
// entry's columns and the order.
struct ListFilter
{
    // Empty: the default list (rows without a group); allGroups() lists every row.
    QString group;
    // A filter entry: one column or several joined by "|".
    QString filterEntry = QStringLiteral("联系人|全称|电话");
    QString keyword;
    history::MatchMode match = history::MatchMode::Contains; // "包含" or "等于"
    bool descending = false;                                 // "倒序"

    static QString allGroups() { return QStringLiteral("全部列表"); }
};

// Which rows a print takes.
enum class RowChoice { All, Selected, FirstN };

// The batch print list over table ReceiverList, every value bound.
class BatchList
{
public:
    explicit BatchList(QSqlDatabase db) : m_db(db) {}

    static QString table() { return QStringLiteral("ReceiverList"); }
    static QString keyColumn() { return QStringLiteral("ID"); }
    // The columns of the list in table order, ID first.
    static QStringList columns();
    // The filter entries: the three combined ones, then every grid column but the first.
    static QStringList filterEntries(const QStringList &gridColumns);

    // The list statement: the group, the keyword trimmed, ordered by ID.
    static history::BoundStatement listStatement(const ListFilter &filter);

    // The listed rows; nothing with the engine's message on an error.
    std::optional<QList<Receiver>> list(const ListFilter &filter, QString *error = nullptr) const;
    // One row by its ID; nothing when there is no such row.
    std::optional<Receiver> row(qint64 id) const;
    // Rows of the whole table, every group.
    int count() const;

    // addReceiverAndGoods: stores one recipient unless 联系人, 全称 and 地址 are
    // all empty; columns the table lacks are refused. The new ID, or 0 when
    // nothing was stored (with the reason in *error on an engine error).
    qint64 add(const QHash<QString, QString> &values, QString *error = nullptr);
    // The row a recognised or picked recipient makes: its address book fields,
    // its remark (扩展信息) as 备注, its goods and destination, in the default group.
    static QHash<QString, QString> rowOf(const refdata::TPersonKDD &person);
    // An in-place edit of one cell; ID is not editable.
    bool setCell(qint64 id, const QString &column, const QString &text, QString *error = nullptr);
    // Deletes the rows in one transaction; the number deleted, or -1 on an error.
    int remove(const QList<qint64> &ids, QString *error = nullptr);
    // 批量填充列: sets the target column of every row of the table, whatever
    // its group, to the three parts joined. A part with "@" in it names a
    // column (the "@"s removed), an empty part is the empty text, any other
    // part is literal text; a null column makes the row's result null. The
    // rows changed, or -1 with the reason in *error.
    int fillColumn(const QString &target, const QStringList &parts, QString *error = nullptr);
    // The dictionary texts offered as the first part of a fill: the 备注 values
    // for "@备注", the 物品内容 values for "@内件说明" and "@物品内容", none otherwise.
    QStringList fillDictionaryValues(const QString &target) const;
    // Empties every group and restarts the numbering at 1 ("清空失败！" on failure).
    static bool clear(store::Store &store);

    // The IDs a print takes from the listed rows: all of them, the selected
    // ones in the order selected, or the first n (all when n is larger).
    static QList<qint64> chosenRows(const QList<Receiver> &listed, RowChoice choice,
                                    const QList<qint64> &selected = {}, int n = 0);

private:
    QSqlDatabase m_db;
};

} // namespace moque::batch
