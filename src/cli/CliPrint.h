#pragma once

#include "print/ValueSource.h"
#include "templates/PrintItem.h"

#include <QList>
#include <QString>

namespace moque::app {
class AppCore;
}

namespace moque::cli {

// Reads the bills of a JSON file: one object of field name → text, or an
// array of such objects. Names are matched against the kind's dictionary
// without regard to case; a tick-box field takes "√" for a true value.
// False with a one-line reason in *error.
bool readBills(const QString &path, const QList<templates::DictionaryField> &dictionary,
               QList<print::MapValueSource> *bills, QString *error);

struct PrintOptions
{
    QString templateName; // full name
    QString valuesFile;
    QString saved;        // "快递单:流水号": reprint a saved bill on its own template
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
