#pragma once

#include "print/ValueSource.h"
#include "templates/PrintItem.h"

#include <QList>
#include <QString>

namespace moque::app {
class AppCore;
}

namespace moque::cli {

struct PrintOptions
{
    QString templateName; // full name
    QString valuesFile;
    QString saved;        // "快递单:流水号", "普通发票收据:流水号", "国际货运发票:流水号",
                          // "出口商品发票:流水号":
                          // reprint a saved bill on its own template
    QString output;       // PDF file
    QString printer;      // printer name
    int copies = 1;
};

// Prints the bills in one job; returns the exit code and prints one line on
// standard error when it fails.
int printBills(app::AppCore &core, const PrintOptions &options);

// Lists the templates, one a line, tab-separated with a header.
int listTemplates(app::AppCore &core);

} // namespace moque::cli
