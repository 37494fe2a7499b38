#pragma once

#include "print/PrintDevice.h"

#include <QString>

#include <memory>

namespace moque::app {
class AppCore;
}

namespace moque::cli {

// The device a command prints on: --output FILE.pdf, --printer NAME, or,
// with neither, where the desk prints (the locked bill printer or the
// system's default printer). Null after saying why on standard error;
// `where` names the file or printer for the closing line.
std::unique_ptr<print::PrintDevice> openPrintDevice(app::AppCore &core, const QString &printer,
                                                    const QString &output, QString &where);

} // namespace moque::cli
