#include "print/PrinterChoice.h"

#include "print/PdfPrintDevice.h"

namespace moque::print {

namespace {

bool isPdfPrinter(const QString &name)
{
    return name.trimmed().compare(PdfPrintDevice::printerName, Qt::CaseInsensitive) == 0;
}

} // namespace

QStringList realPrinters(const QStringList &listed)
{
    QStringList real = listed;
    real.removeIf(isPdfPrinter);
    return real;
}

QString jobPrinterName(const QString &billPrinter, const QStringList &installed, const QString &systemDefault)
{
    const QStringList real = realPrinters(installed);
    const QString wanted = billPrinter.trimmed();
    if (isPdfPrinter(wanted))
        return PdfPrintDevice::printerName;
    for (const QString &name : real)
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            return name;
    if (real.contains(systemDefault))
        return systemDefault;
    return real.isEmpty() ? PdfPrintDevice::printerName : real.first();
}

} // namespace moque::print
