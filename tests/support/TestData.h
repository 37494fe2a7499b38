#pragma once

#include "app/AppCore.h"
#include "support/ScriptedDialogs.h"

#include <QTemporaryDir>

#include <memory>

namespace moque::test {

// A fresh data directory in a temporary folder with an opened core over it.
struct TestData
{
    QTemporaryDir tempDir;
    ScriptedDialogs dialogs;
    std::unique_ptr<app::AppCore> core;

    // Creates the data directory with its default data and opens it; fails the test when it cannot.
    bool open();
    QString root() const { return tempDir.path() + QLatin1Char('/'); }
    QSqlDatabase db() const { return core->db(); }

    // Runs a statement and gives the first value of the first row.
    QVariant scalar(const QString &sql, const QVariantList &values = {}) const;
    bool exec(const QString &sql, const QVariantList &values = {}) const;
};

// Runs statements on a database file through a connection of its own, as
// another program would; false when the file cannot be opened or one fails.
bool execOnFile(const QString &path, const QStringList &statements);

} // namespace moque::test
