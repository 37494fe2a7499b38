#pragma once

#include <QString>

namespace moque::app {
class AppCore;
}

namespace moque::cli {

struct ImportOptions
{
    QString file;
    QString into;  // --into as given: "batch" (the default) or "book"
    QString sheet; // --sheet as given: a number from 1
};

// Imports the recipients of a spreadsheet as the import window does, columns
// matched by the stored aliases: into the batch print list, every row new, or
// into the address book, a row with the 全称, 联系人 and 电话 of a stored
// entry skipped. Prints one summary line and writes ImportLog.txt into the
// data directory; exit code 1 with the reason when nothing could be imported.
int importRecipients(app::AppCore &core, const ImportOptions &options);

} // namespace moque::cli
