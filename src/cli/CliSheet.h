#pragma once

#include <QString>

namespace moque::cli {

struct SheetOptions
{
    QString file;
    QString sheet;          // --sheet as given: a number from 1
    bool names = false;     // --sheet-names: list the worksheets instead
};

// Prints what the spreadsheet reader reads from the file, one row a line (see
// sheets::sheetLine), or the worksheet names, one a line. The reader's message
// goes to standard error and the exit code is 1 when it fails. Reads in this
// process: this is the child the desktop program reads an .xls through.
int printSheet(const SheetOptions &options);

} // namespace moque::cli
