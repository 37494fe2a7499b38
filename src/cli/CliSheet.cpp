#include "CliSheet.h"

#include "CliErrors.h"

#include "sheets/SheetText.h"
#include "sheets/SpreadsheetReader.h"

#include <QTextStream>

namespace moque::cli {

int printSheet(const SheetOptions &options)
{
    bool numbered = false;
    const int sheet = options.sheet.isEmpty() ? 1 : options.sheet.toInt(&numbered);
    if (!options.sheet.isEmpty() && (!numbered || sheet < 1))
        return fail(QStringLiteral("--sheet must be a whole number from 1"));

    sheets::SpreadsheetReader reader;
    QList<QStringList> rows;
    if (reader.open(options.file) && !options.names)
        rows = reader.readSheet(sheet - 1);
    if (reader.failure() != sheets::SpreadsheetReader::Failure::None)
        return fail(reader.errorString());
    QTextStream out(stdout);
    if (options.names) {
        for (const QString &name : reader.sheetNames())
            out << sheets::sheetLine({name}) << '\n';
    }
    for (const QStringList &cells : std::as_const(rows))
        out << sheets::sheetLine(cells) << '\n';
    out.flush();
    if (out.status() != QTextStream::Ok)
        return fail(QStringLiteral("cannot write to standard output"));
    return 0;
}

} // namespace moque::cli
