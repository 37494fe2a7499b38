#include "CliPrint.h"

#include "CliDevice.h"
#include "CliErrors.h"

#include "app/AppCore.h"
#include "entry/SavedInvoice.h"
#include "entry/SavedWaybill.h"
#include "print/BillValuesJson.h"
#include "app/PrintJob.h"
#include "templates/PrintItemStore.h"
#include "templates/TemplateCatalog.h"

#include <QTextStream>

#include <memory>

namespace moque::cli {

namespace {

// More copies than any office prints of one bill: a typing slip, not a job.
constexpr int maxCopies = 9999;

} // namespace

int printBills(app::AppCore &core, const PrintOptions &options)
{
    if (options.copies < 1 || options.copies > maxCopies)
        return fail(QStringLiteral("--copies must be a whole number from 1 to %1").arg(maxCopies));
    templates::TemplateCatalog catalog(core.db(), core.dialogs(), core.store());
    std::optional<templates::TemplateRow> row;
    QList<print::MapValueSource> bills;
    QStringList moneyCodes; // the currency of each bill; empty: the print job's own
    QString error;
    if (!options.saved.isEmpty()) {
        const QStringList parts = options.saved.split(QLatin1Char(':'));
        bool ok = false;
        const qint64 id = parts.value(1).trimmed().toLongLong(&ok);
        const QString kindName = parts.value(0).trimmed();
        const entry::BillKind *invoiceKind = entry::invoiceKindNamed(kindName);
        if (parts.size() != 2 || !ok || (kindName != entry::waybillKind().name && !invoiceKind))
            return fail(QStringLiteral("--saved takes 快递单:流水号, 普通发票收据:流水号, 国际货运发票:流水号 or "
                                       "出口商品发票:流水号, not %1")
                            .arg(options.saved));
        if (invoiceKind) {
            // A receipt reprinted draws a new verification code: the code is not saved with the bill.
            std::optional<entry::InvoiceBill> saved = entry::loadSavedInvoice(core, *invoiceKind, id, &error);
            if (!saved)
                return fail(error);
            row = catalog.templateById(saved->templateId);
            bills << saved->values;
            moneyCodes << saved->moneyCode;
        } else {
            const std::optional<entry::SavedWaybill> saved = entry::loadSavedWaybill(core, id, &error);
            if (!saved)
                return fail(error);
            row = catalog.templateById(saved->templateId);
            bills << saved->values;
            moneyCodes << QString();
        }
    } else {
        row = catalog.templateByFullName(options.templateName);
        if (!row)
            return fail(QStringLiteral("unknown template: %1 (see 'moque-cli templates')").arg(options.templateName));
        templates::PrintItemStore items(core.db());
        QList<print::MapValueSource> given;
        if (!print::readBillValuesFile(options.valuesFile, items.dictionary(row->kind), &given, &error)) {
            // An unknown field may be a field lost from a damaged data file.
            const QString damage = error.contains(QLatin1String("unknown field")) ? core.damageFound() : QString();
            return fail(damage.isEmpty() ? error : damage);
        }
        // An invoice's computed boxes are filled from the amounts given, as its window fills them.
        const entry::BillKind *invoiceKind = entry::invoiceKindNamed(row->kind);
        for (int i = 0; i < given.size(); ++i) {
            if (!invoiceKind) {
                bills << given[i];
                moneyCodes << QString();
                continue;
            }
            std::optional<entry::InvoiceBill> bill = entry::invoiceFromValues(core, *invoiceKind, row->id, given[i], &error);
            if (!bill)
                return fail(given.size() > 1 ? QStringLiteral("bill %1: %2").arg(i + 1).arg(error) : error);
            bills << bill->values;
            moneyCodes << bill->moneyCode;
        }
    }

    // The desk caps a waybill at its copy limit without a word; a script is told instead.
    const int kindCopies = print::KindRules::forKind(row->kind).maxCopies;
    if (kindCopies > 0 && options.copies > kindCopies)
        return fail(QStringLiteral("--copies: a %1 prints at most %2 copies").arg(row->kind).arg(kindCopies));

    QString where;
    const std::unique_ptr<print::PrintDevice> device = openPrintDevice(core, options.printer, options.output, where);
    if (!device)
        return 1;

    app::PrintJob job(core, *device);
    if (!job.PrintPrepare(row->id, row->fullName) || !job.PrinterTransBegin(options.copies))
        return 1;
    bool itemsOk = true;
    for (int i = 0; i < bills.size(); ++i) {
        if (i > 0 && !job.NewCheckPage())
            return 1;
        itemsOk = job.SendCheckToPrinter(bills[i], moneyCodes[i]) && itemsOk;
    }
    if (!job.PrinterTransEnd())
        return 1;
    QTextStream out(stdout);
    out << QStringLiteral("printed %1 bill(s) on %2").arg(bills.size()).arg(where)
        << Qt::endl;
    // The rest of a bill prints when one item fails, but a script must know.
    return itemsOk ? 0 : 2;
}

int listTemplates(app::AppCore &core)
{
    templates::TemplateCatalog catalog(core.db(), core.dialogs(), core.store());
    QTextStream out(stdout);
    out << "number\tkind\tdisplay name\tfull name\tdefault\tcommon\tenabled" << Qt::endl;
    for (const templates::TemplateRow &t : catalog.allTemplates()) {
        out << t.id << '\t' << t.kind << '\t' << t.displayName << '\t' << t.fullName << '\t'
            << (t.isDefault == templates::marker::isDefault ? "yes" : "no") << '\t'
            << (t.isCommon == templates::marker::common ? "yes" : "no") << '\t'
            << (t.visible == templates::marker::enabled ? "yes" : "no") << Qt::endl;
    }
    return 0;
}

} // namespace moque::cli
