#pragma once

#include <QString>

namespace moque::app {
class AppCore;
}

namespace moque::cli {

struct BatchOptions
{
    QString templateName; // full name; empty: the default waybill template
    QString sender;       // address book entry ID; empty: no sender
    QString output;       // PDF file
    QString printer;      // printer name
};

// batch print: every recipient of the batch list in one job, one waybill each,
// as the batch window prints it; returns the exit code and prints one line on
// standard error when it fails. The list keeps its rows.
int printBatch(app::AppCore &core, const BatchOptions &options);

} // namespace moque::cli
