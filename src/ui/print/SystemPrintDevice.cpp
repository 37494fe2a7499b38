#include "print/SystemPrintDevice.h"

#include "common/Dialogs.h"
#include "print/PainterCanvas.h"
#include "print/PdfPrintDevice.h"

#include <QPrintDialog>
#include <QPrinterInfo>

namespace moque::ui {

SystemPrintDevice::SystemPrintDevice(const QString &printerName)
    : m_printer(QPrinter::HighResolution)
{
    m_printer.setPrinterName(printerName);
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
    if (!setup.title.isEmpty())
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

std::function<bool()> printerSetupFor(print::PrintDevice &device, QWidget *parent)
{
    auto *system = dynamic_cast<SystemPrintDevice *>(&device);
    if (!system)
        return [] { return true; };
    return [system, parent] {
        QPrintDialog dialog(&system->printer(), parent);
        dialog.setWindowTitle(QStringLiteral("打印机设置"));
        return dialog.exec() == QDialog::Accepted;
    };
}

std::unique_ptr<print::PrintDevice> makeBillPrintDevice(const QString &printerName, Dialogs &dialogs,
                                                        const QString &suggestedFileName)
{
    // No bill printer chosen and no printer the system would use: the PDF printer takes the bill.
    const bool toPdf = printerName.compare(print::PdfPrintDevice::printerName, Qt::CaseInsensitive) == 0
                       || (printerName.trimmed().isEmpty() && QPrinterInfo::defaultPrinterName().isEmpty());
    if (!toPdf)
        return std::make_unique<SystemPrintDevice>(printerName);
    QString file = dialogs.saveFileName(QStringLiteral("打印到PDF文件"), suggestedFileName,
                                        QStringLiteral("PDF文件 (*.pdf)"));
    if (file.isEmpty())
        return nullptr;
    if (!file.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        file += QStringLiteral(".pdf");
    return std::make_unique<print::PdfPrintDevice>(file);
}

} // namespace moque::ui
