#include "store/SqliteRows.h"

#include <sqlite3.h>

namespace moque::store {

bool readTextTable(QSqlDatabase db, const QString &sql, TextTable *table, QString *error)
{
    *table = {};
    sqlite3 *sqlite = sqliteHandle(db);
    if (!sqlite) {
        if (error)
            *error = QStringLiteral("not an open SQLite connection");
        return false;
    }
    sqlite3_stmt *statement = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(sqlite, text.constData(), int(text.size()), &statement, nullptr) != SQLITE_OK) {
        if (error)
            *error = QString::fromUtf8(sqlite3_errmsg(sqlite));
        return false;
    }
    const int columns = sqlite3_column_count(statement);
    for (int c = 0; c < columns; ++c) {
        table->fields << QString::fromUtf8(sqlite3_column_name(statement, c));
        const char *declared = sqlite3_column_decltype(statement, c);
        table->numeric << (declared && QByteArray(declared).toUpper().contains("INT"));
    }
    int step;
    while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c) {
            // SQLite keeps text as UTF-8; Qt's own decoder is faster than asking SQLite for UTF-16.
            const auto *utf8 = reinterpret_cast<const char *>(sqlite3_column_text(statement, c));
            table->cells << (utf8 ? QString::fromUtf8(utf8, sqlite3_column_bytes(statement, c)) : QString());
        }
    }
    const bool ok = step == SQLITE_DONE;
    if (!ok && error)
        *error = QString::fromUtf8(sqlite3_errmsg(sqlite));
    sqlite3_finalize(statement);
    if (!ok)
        *table = {};
    return ok;
}

} // namespace moque::store
