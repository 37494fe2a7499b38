#pragma once

#include "templates/PrintItem.h"

#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QStringList>

namespace moque::templates {

// Reads print items (ckControl) and field dictionaries (NameDict).
class PrintItemStore
{
public:
    explicit PrintItemStore(QSqlDatabase db) : m_db(db) {}

    // Every print item of the template, read in one query. Names are upper
    // case, "Text" counts as "TEXT", a missing value keeps PrintItem's default.
    PrintItemSet itemsOf(int templateId);
    // The same rows as a list in row order, a name stored twice included.
    QList<PrintItem> itemList(int templateId);
    // The print item of the query's current row (any columns of ckControl
    // it selects): the name upper case, a missing or NULL value left at its
    // default. `record` is the query's q.record(), taken once for all its rows.
    static PrintItem readItem(const QSqlQuery &q, const QSqlRecord &record);

    // The kind's fields by ShowOrd, then by row number.
    QList<DictionaryField> dictionary(const QString &kind);
    // The kind's fields that can be printed (PrintItem = 1), in print order.
    QList<DictionaryField> printableFields(const QString &kind);
    // The kind's field names as stored, in row order. An engine error gives
    // an empty list and its message in `error`.
    QStringList fieldNames(const QString &kind, QString *error = nullptr);

    // The width of one amount digit box: the distance between the CtlX of the
    // template's items named `first` and `second` (any letter case). Fewer
    // than two such items give the default; an engine error gives 0.
    int getCellsWidth(int templateId, const QString &first, int defaultWidth, const QString &second);

private:
    QList<DictionaryField> readFields(const QString &sql, const QString &kind);

    QSqlDatabase m_db;
};

} // namespace moque::templates
