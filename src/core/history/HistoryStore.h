#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <QVariantList>

namespace moque {
class SqlListModel;
}

namespace moque::history {

// The row operations every history window shares, on one bill table and its
// key column. Table and column must be a table of the data file and one of
// its columns, since names cannot be bound; anything else is refused with
// "unknown table or column" in *error and -1 (or false).
class HistoryStore
{
public:
    HistoryStore(QSqlDatabase db, const QString &table, const QString &keyColumn);

    bool isValid() const { return m_valid; }
    QString table() const { return m_table; }
    QString keyColumn() const { return m_keyColumn; }

    // Deletes the rows with these keys in one transaction: all or none. The
    // number deleted, -1 with the engine's message on an error.
    int deleteRows(const QVariantList &keys, QString *error = nullptr) const;
    // Deletes every row the model lists ("删除列出"), in one transaction.
    int deleteListed(const SqlListModel &model, QString *error = nullptr) const;
    // Deletes every row of the table ("清空所有"). The number deleted, -1 on an error.
    int deleteAll(QString *error = nullptr) const;
    // Writes one column of the row with the key ("补录入单号", "补录备注").
    // An empty value, an unknown column or an error changes nothing: false.
    bool supplement(const QVariant &key, const QString &column, const QString &value) const;

    // "清空成功！共删除" + n + "条记录".
    static QString deleteAllReport(int deleted);

private:
    bool checkValid(QString *error) const;

    QSqlDatabase m_db;
    QString m_table;
    QString m_keyColumn;
    bool m_valid = false;
};

// Creates the indexes the history filters use (party, number, template and
// date columns of each bill table) when missing. Exact and prefix searches and
// periods use them; a contains-search reads every row whatever the indexes.
// An index whose column is missing is skipped and the rest are still made;
// false, with the last engine message, when any could not be made.
bool ensureHistoryIndexes(QSqlDatabase db, QString *error = nullptr);

// The waybill window's Enter in a party filter: the trimmed text replaced by
// the 全称 of the address book entry with that mnemonic code ("%" or "*" in it
// asks for a contains-match); the trimmed text itself when none is found.
QString expandPartyCode(QSqlDatabase db, const QString &text);

// The invoice windows' mnemonic input, on leaving a party filter: a trimmed
// text "%r" becomes the 全称 of the entry whose 助记码 starts with r (the
// shortest such code first), or r when none; any other text stays as typed.
// On an error *error receives the engine's message and the text stays.
QString expandMnemonic(QSqlDatabase db, const QString &text, QString *error = nullptr);
inline QString mnemonicErrorText()
{
    return QStringLiteral("简码提取错误！");
}
inline QString mnemonicErrorCaption()
{
    return QStringLiteral("简码输入");
}

} // namespace moque::history
