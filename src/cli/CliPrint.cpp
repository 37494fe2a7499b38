#include "CliPrint.h"

#include "app/AppCore.h"
#include "entry/SavedWaybill.h"
#include "print/PdfPrintDevice.h"
#include "print/PrintJob.h"
#include "print/SystemPrintDevice.h"
#include "settings/Options.h"
#include "templates/PrintItemStore.h"
#include "templates/TemplateCatalog.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <memory>

namespace moque::cli {

namespace {

int fail(const QString &message)
{
    QTextStream(stderr) << QStringLiteral("moque-cli: ") << message << Qt::endl;
    return 1;
}

QString jsonText(const QJsonValue &v, bool tickBox)
{
    if (tickBox) {
        const QString t = v.isBool() ? (v.toBool() ? QStringLiteral("1") : QString())
                          : v.isDouble() ? QString::number(v.toDouble())
                                         : v.toString().trimmed();
        static const QStringList yes{QStringLiteral("√"), QStringLiteral("1"), QStringLiteral("true"),
                                     QStringLiteral("yes"), QStringLiteral("是"), QStringLiteral("y")};
        return yes.contains(t, Qt::CaseInsensitive) ? QStringLiteral("√") : QString();
    }
    if (v.isString())
        return v.toString();
    if (v.isDouble())
        return QString::number(v.toDouble(), 'g', 15);
    if (v.isBool())
        return v.toBool() ? QStringLiteral("√") : QString();
    return {};
}

} // namespace

bool readBills(const QString &path, const QList<templates::DictionaryField> &dictionary,
               QList<print::MapValueSource> *bills, QString *error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, f.errorString());
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &parseError);
    if (doc.isNull()) {
        *error = QStringLiteral("%1 is not valid JSON: %2 at offset %3")
                     .arg(path, parseError.errorString())
                     .arg(parseError.offset);
        return false;
    }
    QJsonArray objects;
    if (doc.isObject())
        objects.append(doc.object());
    else
        objects = doc.array();
    if (objects.isEmpty()) {
        *error = QStringLiteral("%1 holds no bill").arg(path);
        return false;
    }
    for (int i = 0; i < objects.size(); ++i) {
        if (!objects[i].isObject()) {
            *error = QStringLiteral("%1: bill %2 is not an object of field names and values").arg(path).arg(i + 1);
            return false;
        }
        const QJsonObject o = objects[i].toObject();
        print::MapValueSource bill;
        for (auto it = o.begin(); it != o.end(); ++it) {
            const templates::DictionaryField *field = nullptr;
            for (const templates::DictionaryField &d : dictionary)
                if (d.name.compare(it.key(), Qt::CaseInsensitive) == 0)
                    field = &d;
            if (!field) {
                *error = QStringLiteral("%1: bill %2: unknown field %3").arg(path).arg(i + 1).arg(it.key());
                return false;
            }
            bill.set(field->name, jsonText(it.value(), field->type.compare(QLatin1String("CHECKBOX"),
                                                                            Qt::CaseInsensitive) == 0));
        }
        bills->append(bill);
    }
    return true;
}

int printBills(app::AppCore &core, const PrintOptions &options)
{
    if (options.copies < 1)
        return fail(QStringLiteral("--copies must be a whole number of 1 or more"));
    templates::TemplateCatalog catalog(core.db(), core.dialogs(), core.store());
    std::optional<templates::TemplateRow> row;
    QList<print::MapValueSource> bills;
    QString error;
    if (!options.saved.isEmpty()) {
        // Only waybills are kept for reprinting from here so far.
        const QStringList parts = options.saved.split(QLatin1Char(':'));
        bool ok = false;
        const int id = parts.value(1).trimmed().toInt(&ok);
        if (parts.size() != 2 || parts[0].trimmed() != QStringLiteral("快递单") || !ok)
            return fail(QStringLiteral("--saved takes 快递单:流水号, not %1").arg(options.saved));
        const std::optional<entry::SavedWaybill> saved = entry::loadSavedWaybill(core, id, &error);
        if (!saved)
            return fail(error);
        row = catalog.templateById(saved->templateId);
        bills << saved->values;
    } else {
        row = catalog.templateByFullName(options.templateName);
        if (!row)
            return fail(QStringLiteral("unknown template: %1 (see 'moque-cli templates')").arg(options.templateName));
        templates::PrintItemStore items(core.db());
        if (!readBills(options.valuesFile, items.dictionary(row->kind), &bills, &error))
            return fail(error);
    }

    // Neither a file nor a printer named: print where the desk prints, on the locked
    // bill printer or the system's default printer.
    QString printer = options.printer;
    if (printer.isEmpty() && options.output.isEmpty()) {
        printer = ui::jobPrinterName(core.options().getConfigByname(settings::option::defaultPrinter));
        if (printer == print::PdfPrintDevice::printerName)
            return fail(QStringLiteral("no printer to print on: give --output FILE.pdf or --printer NAME"));
    }
    std::unique_ptr<print::PrintDevice> device;
    const bool toPdf = printer.isEmpty() || printer.compare(print::PdfPrintDevice::printerName, Qt::CaseInsensitive) == 0;
    if (toPdf) {
        if (options.output.isEmpty())
            return fail(QStringLiteral("give --output FILE.pdf or --printer NAME"));
        device = std::make_unique<print::PdfPrintDevice>(options.output);
    } else {
        if (!ui::billPrinterNames().contains(printer))
            return fail(QStringLiteral("unknown printer: %1").arg(printer));
        device = std::make_unique<ui::SystemPrintDevice>(printer);
    }

    print::PrintJob job(core, *device);
    if (!job.PrintPrepare(row->id, row->fullName) || !job.PrinterTransBegin(options.copies))
        return 1;
    bool itemsOk = true;
    for (int i = 0; i < bills.size(); ++i) {
        if (i > 0 && !job.NewCheckPage())
            return 1;
        itemsOk = job.SendCheckToPrinter(bills[i]) && itemsOk;
    }
    if (!job.PrinterTransEnd())
        return 1;
    QTextStream out(stdout);
    out << QStringLiteral("printed %1 bill(s) on %2").arg(bills.size()).arg(toPdf ? options.output : printer)
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
