#pragma once

#include "batch/SpreadsheetReader.h"

#include <functional>

namespace moque::batch {

// How a run of the child that reads an .xls ended.
struct XlsChildRun
{
    enum class End {
        Finished,      // exit 0, every line handed over
        Refused,       // exit 1: message holds the last line it wrote to standard error
        Crashed,       // a signal (a crash, or a limit's kill), or another exit code
        TimedOut,      // killed here after SpreadsheetLimits::xlsReaderMilliseconds
        NotStarted,    // the program is missing or cannot run
        Stopped,       // killed here because onLine refused a line
        Garbled,       // exit 0 with a last line cut short
    };
    End end = End::NotStarted;
    QString message;
};

// Runs program with arguments under the limits' address space and time, and
// hands every line of its standard output (UTF-8, without the line end) to
// onLine as it arrives; onLine returns false to stop the child.
XlsChildRun runXlsChild(const QString &program, const QStringList &arguments, const SpreadsheetLimits &limits,
                        const std::function<bool(const QString &line)> &onLine);

} // namespace moque::batch
