#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QSqlDatabase;

namespace moque::store {

// The kinds a column can have; each maps onto a SQLite declaration.
enum class ColumnKind {
    Counter,  // auto-increment key starting at 1
    Key,      // 32-bit integer key the program gives (max + 1), never generated
    Long,     // 32-bit integer
    Text,     // text; width in `size` when fixed (0 = free)
    Date,     // ISO yyyy-MM-dd text, so that periods compare correctly
    Binary,   // file bytes
    Memo,     // long text
};

struct ColumnDef
{
    QString name;
    ColumnKind kind = ColumnKind::Text;
    int size = 0;
    QString defaultValue; // SQL literal, empty for none

    QString declaration() const;
};

struct TableDef
{
    QString name;
    QList<ColumnDef> columns;

    QStringList columnNames() const;
    QString createStatement() const;
};

// The tables of the data file `Data/EPData.ini`.
const QList<TableDef> &dataFileTables();
// The tables of the package skeleton `Data/Template.a01` and of template packages.
const QList<TableDef> &packageTables();

const TableDef *findTable(const QList<TableDef> &tables, const QString &name);

// Creates every given table that does not exist yet. Returns the engine's
// message on failure, empty text on success.
QString createMissingTables(QSqlDatabase db, const QList<TableDef> &tables);

} // namespace moque::store
