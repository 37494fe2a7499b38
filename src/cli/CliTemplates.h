#pragma once

#include <QList>
#include <QString>

namespace moque::app {
class AppCore;
}

namespace moque::cli {

// Exports the templates of those numbers into a template package (.tpk), as
// the package window does. Prints one line per template and a summary; exit
// code 1 when a number is unknown, a template failed or no package was written.
int exportTemplates(app::AppCore &core, const QList<int> &ids, const QString &output);

// Imports every template of a package. A template of the same full name is
// replaced (keeping its number) unless keepOld, which adds the imported one
// beside it with ".新" in its name. Prints one line per template and a
// summary; exit code 1 when the package is refused or a template failed.
int importTemplates(app::AppCore &core, const QString &file, bool keepOld);

} // namespace moque::cli
