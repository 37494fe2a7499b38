// Template packages (.tpk) as users are sent them: the reader's checks and its
// listing must survive anything and refuse what they cannot read, and what
// they accept must import without harm.

#include "common/Dialogs.h"
#include "store/DataDirectory.h"
#include "store/Schema.h"
#include "templates/TemplatePackage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <cstddef>
#include <cstdint>

#include <unistd.h>

using namespace moque;

namespace {

// Messages of the import are not shown; questions are answered No.
class QuietDialogs : public Dialogs
{
public:
    void message(const QString &, const QString &, Icon) override {}
    bool ask(const QString &, const QString &, Icon) override { return false; }
    QString inputValue(const QString &, const QString &, const QString &) override { return {}; }
    QString openFileName(const QString &, const QString &) override { return {}; }
    QString saveFileName(const QString &, const QString &, const QString &) override { return {}; }
};

const QString dataConnection = QStringLiteral("fuzz-data");

store::DataDirectory dataDirectory()
{
    static const store::DataDirectory dir(QStringLiteral("/dev/shm/moque-fuzz-data-%1").arg(getpid()));
    return dir;
}

// Empties what an import writes, so that every input starts from the same data file.
void clearImported(QSqlDatabase db)
{
    QSqlQuery q(db);
    for (const char *table : {"CKTypeTable", "ckControl", "DMTable"})
        q.exec(QStringLiteral("delete from %1").arg(QLatin1String(table)));
    QDir images(dataDirectory().imageDir());
    for (const QString &f : images.entryList(QDir::Files))
        images.remove(f);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // Pictures are decoded by Qt's image plugins, which an application finds.
    static QCoreApplication app(*argc, *argv);
    // A data file with the program's tables and nothing in them, to import into.
    const store::DataDirectory dir = dataDirectory();
    QDir().mkpath(dir.root() + QStringLiteral("Data"));
    QFile::remove(dir.dataFile());
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), dataConnection);
    db.setDatabaseName(dir.dataFile());
    if (!db.open() || !store::createMissingTables(db, store::dataFileTables()).isEmpty())
        __builtin_trap();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString path = QStringLiteral("/dev/shm/moque-fuzz-%1.tpk").arg(getpid());
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
            return 0;
    }
    templates::PackageReader package;
    if (!package.open(path)) {
        if (package.errorText().isEmpty())
            __builtin_trap(); // a refusal always says why
        return 0;
    }
    for (const templates::PackageEntry &entry : package.entries())
        package.pictureBytes(entry.fullName);
    QSqlDatabase db = QSqlDatabase::database(dataConnection);
    QuietDialogs dialogs;
    templates::PackageImporter importer(db, dialogs, dataDirectory());
    importer.importTemplates(package, package.fullNames().mid(0, 8), true);
    clearImported(db);
    return 0;
}
