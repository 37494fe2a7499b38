#include "CliTemplates.h"

#include "CliErrors.h"

#include "app/AppCore.h"
#include "app/AppVersion.h"
#include "templates/TemplateCatalog.h"
#include "templates/TemplatePackage.h"

#include <QDir>
#include <QStringList>
#include <QTextStream>

namespace moque::cli {

int exportTemplates(app::AppCore &core, const QList<int> &ids, const QString &output)
{
    if (ids.isEmpty())
        return fail(QStringLiteral("templates export needs --ids N,N,..."));
    if (output.isEmpty())
        return fail(QStringLiteral("templates export needs --output FILE.tpk"));
    templates::TemplateCatalog catalog(core.db(), core.dialogs(), core.store());
    QStringList names;
    for (int id : ids) {
        const std::optional<templates::TemplateRow> row = catalog.templateById(id);
        if (!row)
            return fail(QStringLiteral("no template with the number %1").arg(id));
        names << row->fullName;
    }
    templates::PackageExporter exporter(core.db(), core.dialogs(), core.dir(), app::getAppVersion(2),
                                        &core.settings());
    QTextStream out(stdout);
    bool written = false;
    const templates::TransferCount count = exporter.exportTemplates(names, output, &written);
    for (int i = 0; i < ids.size(); ++i)
        out << ids.at(i) << QLatin1Char('\t') << names.at(i) << Qt::endl;
    out << QStringLiteral("templates exported: %1, failed: %2, package: %3")
               .arg(count.done)
               .arg(count.failed)
               .arg(written ? QDir::toNativeSeparators(output) : QStringLiteral("none"))
        << Qt::endl;
    return written && count.failed == 0 ? 0 : 1;
}

int importTemplates(app::AppCore &core, const QString &file, bool keepOld)
{
    templates::PackageReader package;
    if (!package.open(file))
        return fail(package.errorText());
    const QStringList names = package.fullNames();
    if (names.isEmpty())
        return fail(QStringLiteral("抱歉,墨雀从包里找不到可用于导入的票据！"));
    templates::PackageImporter importer(core.db(), core.dialogs(), core.dir(), &core.settings());
    QTextStream out(stdout);
    const templates::TransferCount count = importer.importTemplates(
        package, names, !keepOld, [&](int done, int, const templates::ImportedTemplate *imported) {
            const QString &name = names.at(done - 1);
            if (!imported)
                out << QStringLiteral("failed\t\t") << name << Qt::endl;
            else
                out << (imported->replaced ? QStringLiteral("replaced\t") : QStringLiteral("added\t"))
                    << imported->id << QLatin1Char('\t') << imported->fullName << Qt::endl;
        });
    out << QStringLiteral("templates imported: %1, failed: %2").arg(count.done).arg(count.failed) << Qt::endl;
    return count.failed == 0 ? 0 : 1;
}

} // namespace moque::cli
