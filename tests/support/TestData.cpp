#include "support/TestData.h"

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

QVariant TestData::scalar(const QString &sql, const QVariantList &values) const
{
    QSqlQuery q(db());
    q.prepare(sql);
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, values[i]);
    if (!q.exec()) {
        qWarning() << sql << q.lastError().text();
        return {};
    }
    return q.next() ? q.value(0) : QVariant();
}

bool TestData::exec(const QString &sql, const QVariantList &values) const
{
    QSqlQuery q(db());
    q.prepare(sql);
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, values[i]);
    if (!q.exec()) {
        qWarning() << sql << q.lastError().text();
        return false;
    }
    return true;
}

} // namespace moque::test
