// Prints 1,000 waybills with every field filled into one PDF job on the default
// waybill template, and reports the time and the peak memory of the process.

#include "BenchDialogs.h"
#include "app/AppCore.h"
#include "app/FontSetup.h"
#include "print/PdfPrintDevice.h"
#include "app/PrintJob.h"
#include "templates/PrintItemStore.h"
#include "templates/TemplateCatalog.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>

#include <sys/resource.h>

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    moque::app::installFontSubstitutions();
    QTextStream out(stdout);
    const int bills = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1000;

    QTemporaryDir dir;
    BenchDialogs dialogs;
    moque::app::AppCore core(moque::store::DataDirectory(dir.path()), dialogs);
    if (!core.open()) {
        out << "failed: " << core.errorText() << Qt::endl;
        return 1;
    }
    moque::templates::TemplateCatalog catalog(core.db(), dialogs, core.store());
    const int templateId = catalog.loadDefaultCheckTypeId(QStringLiteral("快递单"));
    const auto row = catalog.templateById(templateId);
    if (!row) {
        out << "no default waybill template" << Qt::endl;
        return 1;
    }
    moque::templates::PrintItemStore items(core.db());
    const auto fields = items.printableFields(row->kind);
    QList<moque::print::MapValueSource> values;
    for (int i = 0; i < bills; ++i) {
        moque::print::MapValueSource v;
        for (const auto &f : fields)
            v.set(f.name, f.type == QLatin1String("CHECKBOX") ? QStringLiteral("√")
                                                              : f.testData + QString::number(i % 10));
        values << v;
    }

    const QString pdf = dir.filePath(QStringLiteral("bench.pdf"));
    QElapsedTimer t;
    t.start();
    moque::print::PdfPrintDevice device(pdf);
    moque::app::PrintJob job(core, device);
    if (!job.PrintPrepare(templateId) || !job.PrinterTransBegin(1))
        return 1;
    for (int i = 0; i < bills; ++i) {
        if (i > 0)
            job.NewCheckPage();
        job.SendCheckToPrinter(values[i]);
    }
    if (!job.PrinterTransEnd())
        return 1;
    const qint64 ms = t.elapsed();

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    out << bills << " waybills (" << fields.size() << " printable fields, template " << row->fullName
        << ") into one PDF job: " << ms << " ms, PDF " << QFileInfo(pdf).size() / 1024 << " KiB, peak memory "
        << usage.ru_maxrss / 1024 << " MiB, messages " << dialogs.messages << Qt::endl;
    return 0;
}
