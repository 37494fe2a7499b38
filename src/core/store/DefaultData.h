#pragma once

#include <QString>

class QSqlDatabase;

namespace moque::store {

// Loads the default data kept as text files (one file a table, named after it,
// tab-separated with a header of column names) into a new data file.
class DefaultData
{
public:
    // The folder of the compiled-in default data.
    static QString builtInFolder();

    // Inserts every <Table>.tsv of the folder into its table. Returns the
    // error text, empty on success. The caller holds the transaction.
    static QString load(QSqlDatabase db, const QString &folder = builtInFolder());

    // Splits one line of such a file into values, undoing the \t, \n and \\ escapes.
    static QStringList splitLine(const QString &line);
};

} // namespace moque::store
