#include "CliBatch.h"

#include "CliDevice.h"
#include "CliErrors.h"

#include "app/AppCore.h"
#include "batch/BatchList.h"
#include "batch/BatchPrint.h"

#include <QTextStream>

#include <memory>

namespace moque::cli {

int printBatch(app::AppCore &core, const BatchOptions &options)
{
    int senderId = 0;
    if (!options.sender.isEmpty()) {
        bool ok = false;
        senderId = options.sender.trimmed().toInt(&ok);
        if (!ok || senderId < 1)
            return fail(QStringLiteral("--sender takes the number of an address book entry, not %1").arg(options.sender));
    }
    QString error;
    const std::optional<batch::WaybillSide> side = batch::waybillSideFor(core, options.templateName, senderId, &error);
    if (!side)
        return fail(error);

    const batch::BatchList list(core.db());
    const auto rows = list.list(batch::ListFilter{}, &error);
    if (!rows)
        return fail(error);
    if (rows->isEmpty())
        return fail(QStringLiteral("the batch list is empty: nothing to print"));

    QString where;
    const std::unique_ptr<print::PrintDevice> device = openPrintDevice(core, options.printer, options.output, where);
    if (!device)
        return 1;

    batch::BatchPrint job(core, *device);
    const batch::BatchResult result =
        job.print(*side, batch::BatchList::chosenRows(*rows, batch::RowChoice::All), batch::BatchList::columns());
    if (result.status != batch::BatchResult::Status::Printed)
        return 1;
    QTextStream(stdout) << QStringLiteral("printed %1 waybill(s) on %2")
                               .arg(result.printed)
                               .arg(where)
                        << Qt::endl;
    // The rest of a bill prints when one item fails, but a script must know.
    return result.itemsOk ? 0 : 2;
}

} // namespace moque::cli
