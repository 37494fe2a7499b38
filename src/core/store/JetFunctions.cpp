#include "store/JetFunctions.h"

#include "store/SqliteRows.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QVariant>

#include <sqlite3.h>

#include <cmath>

namespace moque::store {

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

int digitIn(QChar c, int radix)
{
    int d = -1;
    const QChar l = c.toLower();
    if (l >= QLatin1Char('0') && l <= QLatin1Char('9'))
        d = l.unicode() - '0';
    else if (l >= QLatin1Char('a') && l <= QLatin1Char('z'))
        d = l.unicode() - 'a' + 10;
    return d < radix ? d : -1;
}

double radixValue(const QString &digits, int radix)
{
    double v = 0;
    for (QChar c : digits) {
        const int d = digitIn(c, radix);
        if (d < 0)
            break;
        v = v * radix + d;
    }
    return v;
}

} // namespace

double jetVal(const QString &text)
{
    QString s;
    s.reserve(text.size());
    for (QChar c : text)
        if (!isBlank(c))
            s += c;

    if (s.size() > 2 && s[0] == QLatin1Char('&')) {
        const QChar p = s[1].toUpper();
        if (p == QLatin1Char('H'))
            return radixValue(s.mid(2), 16);
        if (p == QLatin1Char('O'))
            return radixValue(s.mid(2), 8);
    }

    // Longest prefix of the form [+-]digits[.digits][(e|d)[+-]digits].
    int i = 0;
    const int n = int(s.size());
    auto digit = [&](int k) { return k < n && s[k] >= QLatin1Char('0') && s[k] <= QLatin1Char('9'); };
    if (i < n && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-')))
        ++i;
    int mantissaStart = i;
    while (digit(i))
        ++i;
    if (i < n && s[i] == QLatin1Char('.')) {
        ++i;
        while (digit(i))
            ++i;
    }
    if (i == mantissaStart || (i == mantissaStart + 1 && s[mantissaStart] == QLatin1Char('.')))
        return 0;
    int end = i;
    if (i < n && (s[i] == QLatin1Char('e') || s[i] == QLatin1Char('E') || s[i] == QLatin1Char('d')
                  || s[i] == QLatin1Char('D'))) {
        int j = i + 1;
        if (j < n && (s[j] == QLatin1Char('+') || s[j] == QLatin1Char('-')))
            ++j;
        if (digit(j)) {
            while (digit(j))
                ++j;
            end = j;
        }
    }
    QString number = s.left(end);
    number.replace(QLatin1Char('d'), QLatin1Char('e')).replace(QLatin1Char('D'), QLatin1Char('e'));
    bool ok = false;
    const double v = number.toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0;
}

namespace {

QString argText(sqlite3_value *v)
{
    const auto *bytes = reinterpret_cast<const char *>(sqlite3_value_text(v));
    return QString::fromUtf8(bytes, sqlite3_value_bytes(v));
}

void resultText(sqlite3_context *ctx, const QString &s)
{
    const QByteArray utf8 = s.toUtf8();
    sqlite3_result_text(ctx, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

void sqlVal(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_NULL:
        sqlite3_result_null(ctx);
        return;
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        sqlite3_result_double(ctx, sqlite3_value_double(argv[0]));
        return;
    default:
        sqlite3_result_double(ctx, jetVal(argText(argv[0])));
    }
}

void sqlUcase(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        sqlite3_result_null(ctx);
    else
        resultText(ctx, argText(argv[0]).toUpper());
}

void sqlLcase(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        sqlite3_result_null(ctx);
    else
        resultText(ctx, argText(argv[0]).toLower());
}

void sqlLen(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        sqlite3_result_null(ctx);
    else
        sqlite3_result_int64(ctx, argText(argv[0]).size());
}

} // namespace

sqlite3 *sqliteHandle(QSqlDatabase db)
{
    if (!db.isOpen())
        return nullptr;
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.data());
}

bool registerJetFunctions(QSqlDatabase db)
{
    sqlite3 *sqlite = sqliteHandle(db);
    if (!sqlite)
        return false;
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    bool ok = sqlite3_create_function(sqlite, "val", 1, flags, nullptr, sqlVal, nullptr, nullptr) == SQLITE_OK;
    ok = ok && sqlite3_create_function(sqlite, "ucase", 1, flags, nullptr, sqlUcase, nullptr, nullptr) == SQLITE_OK;
    ok = ok && sqlite3_create_function(sqlite, "lcase", 1, flags, nullptr, sqlLcase, nullptr, nullptr) == SQLITE_OK;
    ok = ok && sqlite3_create_function(sqlite, "len", 1, flags, nullptr, sqlLen, nullptr, nullptr) == SQLITE_OK;
    return ok;
}

bool namesOnlyInDoubleQuotes(QSqlDatabase db)
{
    sqlite3 *sqlite = sqliteHandle(db);
    if (!sqlite)
        return false;
    // SQLite otherwise reads a double-quoted name that matches no column as a
    // text value, so a misspelt or missing column would pass unnoticed.
    return sqlite3_db_config(sqlite, SQLITE_DBCONFIG_DQS_DML, 0, nullptr) == SQLITE_OK
           && sqlite3_db_config(sqlite, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr) == SQLITE_OK;
}

} // namespace moque::store
