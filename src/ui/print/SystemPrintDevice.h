#pragma once

#include "print/PrintDevice.h"

#include <QPainter>
#include <QPrinter>

#include <functional>
#include <memory>

namespace moque {
class Dialogs;
namespace print {
class PainterCanvas;
}
} // namespace moque

namespace moque::ui {

// A printer the printing system (CUPS) knows, as the user set it up for this
// session (see KeptPrinters). It keeps the paper it is set to; the job sets only
// orientation, copies and title.
class SystemPrintDevice : public print::PrintDevice
{
public:
    explicit SystemPrintDevice(const QString &printerName);
    ~SystemPrintDevice() override;

    QPrinter &printer() { return m_printer; }

    bool makesCopies() const override { return true; }
    bool begin(const print::PageSetup &setup) override;
    print::Canvas *canvas() override;
    bool newPage() override;
    bool end() override;
    void abort() override;
    QString errorText() const override { return m_error; }

    // The printer's resolution and printable-area offsets in device units.
    static print::DeviceFacts factsOf(const QPrinter &printer);

private:
    QPrinter &m_printer;
    QString m_error;
    std::unique_ptr<QPainter> m_painter;
    std::unique_ptr<print::PainterCanvas> m_canvas;
};

// The printers a bill can go to: every installed printer, then "PDF".
QStringList billPrinterNames();

// The printer a bill goes to (see print::jobPrinterName): the bill printer, else
// the system's default printer, else the first one, else "PDF".
QString jobPrinterName(const QString &billPrinter);

// The printer set-up shown before a job when the option asks for it: the
// platform's dialog for a CUPS printer (false when cancelled); the PDF printer has none.
std::function<bool()> printerSetupFor(print::PrintDevice &device, QWidget *parent);

// The device for a bill printer by name: the "PDF" printer asks where to save
// the file (nothing when the user cancels), any other name is a CUPS printer
// with the settings kept for it. No name, or a printer no longer installed,
// means the system's default printer, or the PDF printer when there is none.
std::unique_ptr<print::PrintDevice> makeBillPrintDevice(const QString &printerName, Dialogs &dialogs,
                                                        const QString &suggestedFileName);

} // namespace moque::ui
