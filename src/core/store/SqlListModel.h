#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QVariantList>

namespace moque {

// The model behind a list grid: the rows of one query over one table, with
// the table and its key column known so that listed rows can be deleted.
class SqlListModel : public QSqlQueryModel
{
    Q_OBJECT
public:
    explicit SqlListModel(QObject *parent = nullptr) : QSqlQueryModel(parent) {}

    // Sets the statement (values bound by position) and the table it lists.
    void setSource(QSqlDatabase db, const QString &statement, const QVariantList &values, const QString &table,
                   const QString &keyColumn);
    // Runs the statement again and reads every row; false with lastError() on failure.
    bool refresh();

    QString table() const { return m_table; }
    QString keyColumn() const { return m_keyColumn; }
    bool isOpen() const { return query().isActive() || rowCount() > 0 || columnCount() > 0; }

    // Column of a field name, without regard to case; -1 when missing.
    int fieldIndex(const QString &field) const;
    // The field name of a column.
    QString fieldName(int column) const;
    QVariant fieldValue(int row, const QString &field) const;

    // Key values of every listed row.
    QVariantList allKeys() const;

private:
    QSqlDatabase m_db;
    QString m_statement;
    QVariantList m_values;
    QString m_table;
    QString m_keyColumn;
};

// Deletes the rows of the table whose key is one of the values, in one
// transaction, every value bound. The number of rows deleted, -1 on an error.
int deleteRowsByKeys(QSqlDatabase db, const QString &table, const QString &keyColumn, const QVariantList &keys,
                     QString *error = nullptr);

// The key list as the system shows it: values joined by ",", each in single
// quotes when the key type is "STR" (any letter case), appended to the text.
QString appendKeyList(const QString &text, const QVariantList &keys, const QString &keyType);

} // namespace moque
