#include "CliDevice.h"

#include "CliErrors.h"

#include "app/AppCore.h"
#include "print/PdfPrintDevice.h"
#include "print/SystemPrintDevice.h"
#include "settings/Options.h"

namespace moque::cli {

std::unique_ptr<print::PrintDevice> openPrintDevice(app::AppCore &core, const QString &printerOption,
                                                    const QString &output, QString &where)
{
    QString printer = printerOption;
    if (printer.isEmpty() && output.isEmpty()) {
        printer = ui::jobPrinterName(core.options().getConfigByname(settings::option::defaultPrinter));
        if (printer == print::PdfPrintDevice::printerName) {
            fail(QStringLiteral("no printer to print on: give --output FILE.pdf or --printer NAME"));
            return nullptr;
        }
    }
    if (printer.isEmpty() || printer.compare(print::PdfPrintDevice::printerName, Qt::CaseInsensitive) == 0) {
        if (output.isEmpty()) {
            fail(QStringLiteral("give --output FILE.pdf or --printer NAME"));
            return nullptr;
        }
        where = output;
        return std::make_unique<print::PdfPrintDevice>(output);
    }
    if (!ui::billPrinterNames().contains(printer)) {
        fail(QStringLiteral("unknown printer: %1").arg(printer));
        return nullptr;
    }
    where = printer;
    return std::make_unique<ui::SystemPrintDevice>(printer);
}

} // namespace moque::cli
