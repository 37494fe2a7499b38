#include "CliBatch.h"

#include "CliErrors.h"

#include "app/AppCore.h"
#include "batch/BatchList.h"
#include "batch/BatchPrint.h"
#include "print/PdfPrintDevice.h"
#include "print/SystemPrintDevice.h"
#include "settings/Options.h"

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

    // Neither a file nor a printer named: print where the desk prints.
    QString printer = options.printer;
    if (printer.isEmpty() && options.output.isEmpty()) {
        printer = ui::jobPrinterName(core.options().getConfigByname(settings::option::defaultPrinter));
        if (printer == print::PdfPrintDevice::printerName)
            return fail(QStringLiteral("no printer to print on: give --output FILE.pdf or --printer NAME"));
    }
    std::unique_ptr<print::PrintDevice> device;
    const bool toPdf = printer.isEmpty() || printer.compare(print::PdfPrintDevice::printerName, Qt::CaseInsensitive) == 0;
    if (toPdf) {
        if (options.output.isEmpty())
            return fail(QStringLiteral("give --output FILE.pdf or --printer NAME"));
        device = std::make_unique<print::PdfPrintDevice>(options.output);
    } else {
        if (!ui::billPrinterNames().contains(printer))
            return fail(QStringLiteral("unknown printer: %1").arg(printer));
        device = std::make_unique<ui::SystemPrintDevice>(printer);
    }

    batch::BatchPrint job(core, *device);
    const batch::BatchResult result =
        job.print(*side, batch::BatchList::chosenRows(*rows, batch::RowChoice::All), batch::BatchList::columns());
    if (result.status != batch::BatchResult::Status::Printed)
        return 1;
    QTextStream(stdout) << QStringLiteral("printed %1 waybill(s) on %2")
                               .arg(result.printed)
                               .arg(toPdf ? options.output : printer)
                        << Qt::endl;
    // The rest of a bill prints when one item fails, but a script must know.
    return result.itemsOk ? 0 : 2;
}

} // namespace moque::cli
