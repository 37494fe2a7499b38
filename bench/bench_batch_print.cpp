// Prints 1,000 recipients of the batch list, every column filled, into one PDF
// job on the default waybill template with a sender from the address book,
// and reports the time and the peak memory of the process; then prints the
// same bills as 1,000 single-bill jobs and gives the ratio of the two times.

#include "BenchDialogs.h"
#include "app/AppCore.h"
#include "app/FontSetup.h"
#include "app/PrintJob.h"
#include "batch/BatchList.h"
#include "batch/BatchPrint.h"
#include "print/PdfPrintDevice.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

#include <sys/resource.h>

using namespace moque;

namespace {

long peakMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    app::installFontSubstitutions();
    QTextStream out(stdout);
    const int recipients = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1000;

    QTemporaryDir dir;
    BenchDialogs dialogs;
    app::AppCore core(store::DataDirectory(dir.path()), dialogs);
    if (!core.open()) {
        out << "failed: " << core.errorText() << Qt::endl;
        return 1;
    }
    QSqlQuery q(core.db());
    if (!q.exec(QStringLiteral("insert into CKPersonalInfoTable (全称,联系人,电话,手机,省,市,镇区,地址,邮编) values "
                               "('深圳星河贸易有限公司','陈经理','0755-86001234','13800138000','广东','深圳','南山',"
                               "'科技园南区高新南一道8号','518057')"))) {
        out << "failed: no sender" << Qt::endl;
        return 1;
    }
    const int senderId = q.lastInsertId().toInt();

    batch::BatchList list(core.db());
    core.db().transaction();
    for (int i = 0; i < recipients; ++i) {
        QHash<QString, QString> row;
        for (const QString &column : batch::BatchList::columns())
            if (column != batch::BatchList::keyColumn() && column != QStringLiteral("批打分组"))
                row.insert(column, column + QString::number(i));
        row[QStringLiteral("金额大写1")] = QString::number(100 + i % 900);
        if (!list.add(row)) {
            out << "failed: recipient " << i << Qt::endl;
            return 1;
        }
    }
    core.db().commit();

    QString error;
    const auto side = batch::waybillSideFor(core, QString(), senderId, &error);
    if (!side) {
        out << "failed: " << error << Qt::endl;
        return 1;
    }
    const auto rows = list.list({});
    if (!rows || rows->size() != recipients) {
        out << "failed: the list" << Qt::endl;
        return 1;
    }
    const QList<qint64> ids = batch::BatchList::chosenRows(*rows, batch::RowChoice::All);
    const QStringList grid = batch::BatchList::columns();

    const QString pdf = dir.filePath(QStringLiteral("batch.pdf"));
    QElapsedTimer t;
    t.start();
    print::PdfPrintDevice device(pdf);
    const batch::BatchResult result = batch::BatchPrint(core, device).print(*side, ids, grid);
    const qint64 batchMs = t.elapsed();
    const long batchPeak = peakMiB();
    if (result.status != batch::BatchResult::Status::Printed) {
        out << "failed: the batch job" << Qt::endl;
        return 1;
    }

    // The single-bill path: one job a bill, each bill read and filled the same way.
    t.restart();
    for (int i = 0; i < recipients; ++i) {
        print::PdfPrintDevice single(dir.filePath(QStringLiteral("single.pdf")));
        app::PrintJob job(core, single);
        if (!job.PrintPrepare(side->templateId, side->templateName) || !job.PrinterTransBegin(0))
            return 1;
        job.SendCheckToPrinter(batch::billFor(*side, list.row(ids[i]), grid));
        if (!job.PrinterTransEnd())
            return 1;
    }
    const qint64 singleMs = t.elapsed();

    out << recipients << " recipients (template " << side->templateName << ") into one PDF job: " << batchMs
        << " ms, PDF " << QFileInfo(pdf).size() / 1024 << " KiB, peak memory " << batchPeak << " MiB, messages "
        << dialogs.messages << Qt::endl;
    out << "the same bills as " << recipients << " single-bill jobs: " << singleMs << " ms, "
        << QString::number(batchMs > 0 ? double(singleMs) / double(batchMs) : 0.0, 'f', 1)
        << " times the batch job" << Qt::endl;
    return 0;
}
