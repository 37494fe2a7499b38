#include "print/SystemPrintDevice.h"

#include "common/Dialogs.h"
#include "print/PainterCanvas.h"
#include "print/KeptPrinters.h"
#include "print/PdfPrintDevice.h"
#include "print/PrinterChoice.h"

#include <QPrinterInfo>

namespace moque::ui {

SystemPrintDevice::SystemPrintDevice(const QString &printerName)
    : m_printer(KeptPrinters::session().printer(printerName))
{
    // The engine measures from the printable area's corner.
    m_printer.setFullPage(false);
}

SystemPrintDevice::~SystemPrintDevice()
{
    abort();
}

print::DeviceFacts SystemPrintDevice::factsOf(const QPrinter &printer)
{
    const int dpi = printer.resolution();
    const QRect paint = printer.pageLayout().paintRectPixels(dpi);
    return {printer.logicalDpiX(), printer.logicalDpiY(), paint.left(), paint.top()};
}

bool SystemPrintDevice::begin(const print::PageSetup &setup)
{
    m_error.clear();
    if (!m_printer.isValid()) {
        m_error = QStringLiteral("打印机不可用：%1").arg(m_printer.printerName());
        return false;
    }
    m_printer.setPageOrientation(setup.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    m_printer.setCopyCount(qMax(1, setup.copies));
    // A kept printer would otherwise carry the last job's title.
    m_printer.setDocName(setup.title);
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(&m_printer)) {
        m_error = QStringLiteral("打印机拒绝了打印任务：%1").arg(m_printer.printerName());
        m_painter.reset();
        return false;
    }
    m_canvas = std::make_unique<print::PainterCanvas>(*m_painter, factsOf(m_printer));
    return true;
}

print::Canvas *SystemPrintDevice::canvas()
{
    return m_canvas.get();
}

bool SystemPrintDevice::newPage()
{
    return m_painter && m_printer.newPage();
}

bool SystemPrintDevice::end()
{
    if (!m_painter)
        return false;
    m_canvas.reset();
    const bool ok = m_painter->end();
    m_painter.reset();
    if (!ok || m_printer.printerState() == QPrinter::Error) {
        m_error = QStringLiteral("打印任务没有完成：%1").arg(m_printer.printerName());
        return false;
    }
    return true;
}

void SystemPrintDevice::abort()
{
    m_canvas.reset();
    if (m_painter && m_painter->isActive()) {
        m_printer.abort();
        m_painter->end();
    }
    m_painter.reset();
}

QStringList billPrinterNames()
{
    QStringList names = QPrinterInfo::availablePrinterNames();
    names.removeAll(print::PdfPrintDevice::printerName);
    names << print::PdfPrintDevice::printerName;
    return names;
}

} // namespace moque::ui

namespace moque::ui {

QString jobPrinterName(const QString &billPrinter)
{
    return print::jobPrinterName(billPrinter, QPrinterInfo::availablePrinterNames(),
                                 QPrinterInfo::defaultPrinterName());
}

std::function<bool()> printerSetupFor(print::PrintDevice &device, QWidget *parent)
{
    auto *system = dynamic_cast<SystemPrintDevice *>(&device);
    if (!system)
        return [] { return true; };
    // What the user sets here is kept for the printer's later jobs too.
    return [system, parent] { return !KeptPrinters::session().setUp(system->printer(), parent).isEmpty(); };
}

std::unique_ptr<print::PrintDevice> makeBillPrintDevice(const QString &printerName, Dialogs &dialogs,
                                                        const QString &suggestedFileName)
{
    const QString printer = jobPrinterName(printerName);
    if (printer != print::PdfPrintDevice::printerName)
        return std::make_unique<SystemPrintDevice>(printer);
    QString file = dialogs.saveFileName(QStringLiteral("打印到PDF文件"), suggestedFileName,
                                        QStringLiteral("PDF文件 (*.pdf)"));
    if (file.isEmpty())
        return nullptr;
    if (!file.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        file += QStringLiteral(".pdf");
    return std::make_unique<print::PdfPrintDevice>(file);
}

} // namespace moque::ui
