#include "CliImport.h"

#include "CliErrors.h"

#include "app/AppCore.h"
#include "batch/ImportLog.h"
#include "batch/RecipientImport.h"

#include <QDir>
#include <QTextStream>

namespace moque::cli {

using batch::RecipientImportResult;

int importRecipients(app::AppCore &core, const ImportOptions &options)
{
    bool numbered = false;
    const int sheet = options.sheet.isEmpty() ? 1 : options.sheet.toInt(&numbered);
    if (!options.sheet.isEmpty() && (!numbered || sheet < 1))
        return fail(QStringLiteral("--sheet must be a whole number from 1"));
    const QString into = options.into.isEmpty() ? QStringLiteral("batch") : options.into;
    if (into != QLatin1String("batch") && into != QLatin1String("book"))
        return fail(QStringLiteral("--into must be batch or book"));

    batch::RecipientImportOptions importOptions;
    importOptions.target = into == QLatin1String("book") ? batch::ImportTarget::AddressBook : batch::ImportTarget::BatchList;
    // The windows' defaults: the address book checks all three texts, the batch list none.
    if (importOptions.target == batch::ImportTarget::AddressBook)
        importOptions.duplicates = batch::DuplicateCriteria::all();
    importOptions.confirmWithoutCriteria = false;
    importOptions.appendOrderId = core.options().getConfigByname(QStringLiteral("ckOrderIDOn")) == QLatin1String("1");
    importOptions.appendMemberId = core.options().getConfigByname(QStringLiteral("ckMemeberIDOn")) == QLatin1String("1");

    const QString logPath = batch::ImportLog::pathIn(core.dir());
    batch::RecipientImport import(core.db(), core.dialogs(), logPath);
    const RecipientImportResult result = import.importFile(options.file, sheet - 1, importOptions);
    const bool done = result.outcome == RecipientImportResult::Outcome::Imported
        || result.outcome == RecipientImportResult::Outcome::NoData;
    if (!done)
        return fail(result.message);
    QTextStream(stdout) << QStringLiteral("rows read: %1, imported: %2, skipped: %3 (duplicates: %4, without 全称, "
                                          "联系人 and 电话: %5), log: %6")
                               .arg(result.total)
                               .arg(result.stored)
                               .arg(result.skipped())
                               .arg(result.duplicates)
                               .arg(result.invalid)
                               .arg(QDir::toNativeSeparators(logPath))
                        << Qt::endl;
    return 0;
}

} // namespace moque::cli
