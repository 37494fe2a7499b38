#include "history/HistoryStore.h"

#include "store/SqlListModel.h"
#include "history/HistoryQuery.h"
#include "refdata/DAOPerson.h"
#include "store/Schema.h"
#include "store/Store.h"

#include <QSqlError>
#include <QSqlQuery>

namespace moque::history {

namespace {

const store::TableDef *dataTable(const QString &table)
{
    return store::findTable(store::dataFileTables(), table);
}

bool hasColumn(const store::TableDef *def, const QString &column)
{
    return def && def->columnNames().contains(column, Qt::CaseInsensitive);
}

} // namespace

HistoryStore::HistoryStore(QSqlDatabase db, const QString &table, const QString &keyColumn)
    : m_db(db), m_table(table), m_keyColumn(keyColumn), m_valid(hasColumn(dataTable(table), keyColumn))
{
}

bool HistoryStore::checkValid(QString *error) const
{
    if (!m_valid && error)
        *error = QStringLiteral("unknown table or column: ") + m_table + QLatin1Char('.') + m_keyColumn;
    return m_valid;
}

int HistoryStore::deleteRows(const QVariantList &keys, QString *error) const
{
    if (!checkValid(error))
        return -1;
    return deleteRowsByKeys(m_db, m_table, m_keyColumn, keys, error);
}

int HistoryStore::deleteListed(const SqlListModel &model, QString *error) const
{
    if (!checkValid(error))
        return -1;
    if (model.table().compare(m_table, Qt::CaseInsensitive) != 0
        || model.keyColumn().compare(m_keyColumn, Qt::CaseInsensitive) != 0) {
        if (error)
            *error = QStringLiteral("the list shows another table: ") + model.table();
        return -1;
    }
    return deleteRows(model.allKeys(), error);
}

int HistoryStore::deleteAll(QString *error) const
{
    if (!checkValid(error))
        return -1;
    QSqlQuery q(m_db);
    if (!q.exec(QStringLiteral("DELETE FROM ") + store::quoteIdentifier(m_table))) {
        if (error)
            *error = q.lastError().text();
        return -1;
    }
    return q.numRowsAffected();
}

bool HistoryStore::supplement(const QVariant &key, const QString &column, const QString &value) const
{
    if (!m_valid || value.isEmpty() || !hasColumn(dataTable(m_table), column))
        return false;
    QSqlQuery q(m_db);
    q.prepare(QStringLiteral("UPDATE ") + store::quoteIdentifier(m_table) + QStringLiteral(" SET ")
              + store::quoteIdentifier(column) + QStringLiteral(" = ? WHERE ") + store::quoteIdentifier(m_keyColumn)
              + QStringLiteral(" = ?"));
    q.bindValue(0, value);
    q.bindValue(1, key);
    return q.exec() && q.numRowsAffected() > 0;
}

QString HistoryStore::deleteAllReport(int deleted)
{
    return QStringLiteral("清空成功！共删除") + QString::number(deleted) + QStringLiteral("条记录");
}

bool ensureHistoryIndexes(QSqlDatabase db, QString *error)
{
    const QStringList invoice{QStringLiteral("票据编号"), QStringLiteral("顾客名称"), QStringLiteral("出票日期"),
                              QStringLiteral("模板种类")};
    const QList<QPair<QString, QStringList>> filtered{
        {QStringLiteral("DataKDDTable"),
         {QStringLiteral("快递单号"), QStringLiteral("寄件单位"), QStringLiteral("寄件联系人"),
          QStringLiteral("收件单位"), QStringLiteral("收件联系人"), QStringLiteral("寄件日期"),
          QStringLiteral("模板种类")}},
        {QStringLiteral("DataCheckReceipt"), invoice},
        {QStringLiteral("DataCheckIntel"), invoice},
        {QStringLiteral("DataCKSPTable"),
         {QStringLiteral("票据编号"), QStringLiteral("购方单位"), QStringLiteral("出票日期"),
          QStringLiteral("票据状态"), QStringLiteral("合同号码")}}};
    // An older data file may lack a column: its index is skipped, the others are still made.
    bool all = true;
    for (const auto &[table, columns] : filtered) {
        for (const QString &column : columns) {
            QSqlQuery q(db);
            const QString sql = QStringLiteral("CREATE INDEX IF NOT EXISTS ")
                                + store::quoteIdentifier(QStringLiteral("ix_") + table + QLatin1Char('_') + column)
                                + QStringLiteral(" ON ") + store::quoteIdentifier(table) + QLatin1Char('(')
                                + store::quoteIdentifier(column) + QLatin1Char(')');
            if (!q.exec(sql)) {
                if (error)
                    *error = q.lastError().text();
                all = false;
            }
        }
    }
    return all;
}

QString expandPartyCode(QSqlDatabase db, const QString &text)
{
    const QString code = text.trimmed();
    if (code.isEmpty())
        return code;
    const std::optional<refdata::TPerson> person = refdata::DAOPerson(db).FindPersonByInputCode(code);
    return person ? person->fullName() : code;
}

QString expandMnemonic(QSqlDatabase db, const QString &text, QString *error)
{
    const QString typed = text.trimmed();
    if (!typed.startsWith(QLatin1Char('%')))
        return text;
    const QString rest = typed.mid(1).trimmed();
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT 全称 FROM CKPersonalInfoTable WHERE 助记码 LIKE ? ESCAPE '\\' "
                             "ORDER BY len(助记码) ASC"));
    q.bindValue(0, escapeLike(rest) + QLatin1Char('%'));
    if (!q.exec()) {
        if (error)
            *error = q.lastError().text();
        return text;
    }
    return q.next() ? q.value(0).toString() : rest;
}

} // namespace moque::history
