#pragma once

#include <QString>

class QSqlDatabase;

namespace moque::store {

// Jet's Val(): the number at the start of a text. Blanks, tabs and line feeds
// are skipped anywhere; reading stops at the first character that cannot
// continue a number; &H and &O prefixes read hexadecimal and octal; no number
// gives 0.
double jetVal(const QString &text);

// Registers val(), ucase(), lcase() and len() on the connection so that the
// system's statements keep their Jet spelling. False when the connection is
// not an open SQLite connection.
bool registerJetFunctions(QSqlDatabase db);

// Makes double-quoted words on the connection always names of tables or
// columns, never text values. False when the connection is not an open
// SQLite connection.
bool namesOnlyInDoubleQuotes(QSqlDatabase db);

} // namespace moque::store
