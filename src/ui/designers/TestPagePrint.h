#pragma once

#include "print/Canvas.h"
#include "print/PrintDevice.h"

#include <functional>

namespace moque::app {
class AppCore;
}

namespace moque::ui {

// Prints one page that `draw` fills, on the printer named or, without one, on
// the bill printer, as a bill goes there. False when nothing was printed; a
// failing printer says why.
bool printTestPage(app::AppCore &core, const QString &printerName, const QString &pdfFileName,
                   const print::PageSetup &setup, const std::function<void(print::Canvas &)> &draw);

} // namespace moque::ui
