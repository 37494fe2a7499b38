#include "support/TestData.h"

#include "store/BoundQuery.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <QUuid>

namespace moque::test {

bool TestData::open()
{
    if (!tempDir.isValid())
        return false;
    core = std::make_unique<app::AppCore>(store::DataDirectory(tempDir.path()), dialogs);
    if (!core->open()) {
        qWarning() << core->errorText();
        return false;
    }
    return true;
}

namespace {

// Prepares and runs a statement with its values bound by position; warns with the engine's message on failure.
bool runBound(QSqlQuery &q, const QString &sql, const QVariantList &values)
{
    QString error;
    if (store::execBound(q, sql, values, error))
        return true;
    qWarning() << sql << error;
    return false;
}

} // namespace

QVariant TestData::scalar(const QString &sql, const QVariantList &values) const
{
    QSqlQuery q(db());
    if (!runBound(q, sql, values))
        return {};
    return q.next() ? q.value(0) : QVariant();
}

bool TestData::exec(const QString &sql, const QVariantList &values) const
{
    QSqlQuery q(db());
    return runBound(q, sql, values);
}

bool execOnFile(const QString &path, const QStringList &statements)
{
    const QString name = QUuid::createUuid().toString();
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        ok = db.open();
        QSqlQuery q(db);
        for (const QString &s : statements)
            ok = ok && q.exec(s);
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

} // namespace moque::test
