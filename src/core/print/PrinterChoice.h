#pragma once

#include <QString>
#include <QStringList>

namespace moque::print {

// The printers the system (CUPS) knows, without the program's own "PDF" printer.
QStringList realPrinters(const QStringList &listed);

// The printer a job goes to: the chosen bill printer while it is installed (or
// is the PDF printer); with none, the system's default printer; with no default,
// the first installed printer; with no printer at all, the PDF printer.
QString jobPrinterName(const QString &billPrinter, const QStringList &installed, const QString &systemDefault);

} // namespace moque::print
