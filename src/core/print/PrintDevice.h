#pragma once

#include "print/Canvas.h"

#include <QString>

namespace moque::print {

// What a job asks of the device when it begins.
struct PageSetup
{
    bool landscape = false;
    int paperWidth = 2300;  // 0.1 mm, the template's paper (portrait sizes)
    int paperHeight = 1270;
    int copies = 1;
    QString title;
};

// A printer or a PDF file that a print job draws on.
class PrintDevice
{
public:
    virtual ~PrintDevice() = default;

    // True when the device makes the copies itself; otherwise the job repeats pages.
    virtual bool makesCopies() const = 0;
    // A printer's failures are the printer's; a file's are the file's alone.
    virtual bool isPrinter() const { return true; }
    virtual bool begin(const PageSetup &setup) = 0;
    virtual Canvas *canvas() = 0;
    virtual bool newPage() = 0;
    virtual bool end() = 0;
    virtual void abort() = 0;
    virtual QString errorText() const = 0;
};

} // namespace moque::print
