#pragma once

#include <QAbstractTableModel>
#include <QSqlDatabase>
#include <QStringList>
#include <QVector>

namespace moque::refdata {

// True when the text matches the SQL LIKE pattern: "%" any run of
// characters, "_" any one character, letters A-Z compared without case.
bool likeMatch(const QString &text, const QString &pattern);

// What the address book lists. Every part that is empty does not filter.
struct PersonFilter
{
    // Lists entries where one of 全称, 联系人, 电话, 手机, 开户行账号, 省,
    // 助记码, 地址 is like "%" + keyword + "%" (the keyword's own "%" and "_"
    // are wildcards too).
    QString keyword;
    // The advanced search: the column equals the key exactly, or (not
    // equals) is like "%" + key + "%".
    QString column;
    QString key;
    bool equals = false;
    QString partyType; // 单位类型 equals it
    QString group;     // 分组 equals it
    // Columns to order by, all in the direction ("ASC" or "DESC", any case);
    // empty: the stored order.
    QStringList sortColumns;
    QString direction;
};

// The entries of the address book, read once from the store and then
// filtered and ordered in memory so that a list of many thousand entries
// follows each keystroke of a search at once. Columns are those of
// CKPersonalInfoTable in their stored order, titled with their names.
class PersonListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit PersonListModel(QObject *parent = nullptr) : QAbstractTableModel(parent) {}

    // Reads every entry again and lists them with the current filter. False
    // with the message on an error; the list is then empty.
    bool load(QSqlDatabase db, QString *error = nullptr);
    // Lists the entries the filter lets through, in its order.
    void apply(const PersonFilter &filter);
    // Lists nothing, as a closed list does.
    void close();

    int totalRows() const { return int(m_ids.size()); }
    QStringList fieldNames() const { return m_fields; }
    int fieldIndex(const QString &field) const;
    // The ID of a listed row, 0 for a row outside the list.
    int idAt(int row) const;
    QString value(int row, const QString &field) const;
    // IDs of every listed row.
    QList<int> listedIds() const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    const QString &cell(int entry, int column) const { return m_cells[qsizetype(entry) * m_fields.size() + column]; }
    bool passes(int entry, const PersonFilter &filter) const;
    void sortListed(const PersonFilter &filter);

    QStringList m_fields;
    QVector<bool> m_numeric;       // columns holding numbers, ordered as numbers
    QVector<QString> m_cells;      // every entry's texts, row after row
    QVector<qint64> m_ids;
    QVector<int> m_listed;         // entries listed, in list order
    PersonFilter m_filter;
};

} // namespace moque::refdata
