#include "CliUpgrade.h"

#include "CliErrors.h"
#include "app/AppCore.h"
#include "app/AppVersion.h"
#include "templates/DatabaseUpgrade.h"

#include <QDir>
#include <QTextStream>

namespace moque::cli {

int runUpgrade(app::AppCore &core)
{
    templates::DatabaseUpgrade upgrade(core.db(), core.dir().packageSkeleton(), app::getAppVersion(2));
    QTextStream out(stdout);
    if (!upgrade.isNeeded()) {
        out << "nothing to upgrade" << Qt::endl;
        return 0;
    }
    const QString backup = templates::DatabaseUpgrade::backUpDataFile(core.dir().dataFile());
    if (backup.isEmpty())
        return fail(QStringLiteral("cannot back up %1").arg(QDir::toNativeSeparators(core.dir().dataFile())));
    if (!upgrade.run())
        return fail(upgrade.message());
    for (const QString &line : upgrade.changes())
        out << line << Qt::endl;
    out << "backup: " << QDir::toNativeSeparators(backup) << Qt::endl;
    return 0;
}

} // namespace moque::cli
