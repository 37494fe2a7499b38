#include "designers/TestPagePrint.h"

#include "app/AppCore.h"
#include "common/Dialogs.h"
#include "print/SystemPrintDevice.h"

namespace moque::ui {

bool printTestPage(app::AppCore &core, const QString &printerName, const QString &pdfFileName,
                   const print::PageSetup &setup, const std::function<void(print::Canvas &)> &draw)
{
    const QString name = printerName.isEmpty() ? core.session().billPrinterName : printerName;
    const std::unique_ptr<print::PrintDevice> device = makeBillPrintDevice(name, core.dialogs(), pdfFileName);
    if (!device)
        return false;
    if (!device->begin(setup)) {
        core.dialogs().message(device->errorText(), QStringLiteral("提示"), Dialogs::Icon::Warning);
        return false;
    }
    draw(*device->canvas());
    if (!device->end()) {
        core.dialogs().message(device->errorText(), QStringLiteral("提示"), Dialogs::Icon::Warning);
        device->abort();
        return false;
    }
    return true;
}

} // namespace moque::ui
