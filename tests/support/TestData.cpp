#include "support/TestData.h"

#include "store/BoundQuery.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

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
    if (store::execPositional(q, sql, values, error))
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

} // namespace moque::test
