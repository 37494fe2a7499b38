// Times the recipient spreadsheet import: an order export of 10,000 rows as
// .xlsx into the batch print list (target: under 2 s, reading included), the
// same rows into the address book twice (the second time every row is a
// duplicate), and 200,000 rows of .csv into the batch list.

#include "HistoryBench.h"
#include "app/AppCore.h"
#include "batch/ImportLog.h"
#include "batch/RecipientImport.h"
#include "sheets/XlsxWriter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>

using namespace moque;
using namespace moque::batch;

namespace {

const QStringList kTitles{"订单编号", "买家会员名", "收货人姓名", "联系电话", "联系手机", "收货地址",
                          "省", "城市", "区县", "宝贝标题", "宝贝总数量", "买家留言"};

QStringList orderRow(int i)
{
    return {QStringLiteral("2026%1").arg(i, 8, 10, QLatin1Char('0')), QStringLiteral("buyer%1").arg(i),
            QStringLiteral("收货人%1").arg(i), QStringLiteral("0755-8%1").arg(1000000 + i),
            QStringLiteral("138%1").arg(i, 8, 10, QLatin1Char('0')),
            QStringLiteral("广东省深圳市南山区科技园路%1号%2室").arg(i % 300).arg(i % 50), QStringLiteral("广东省"),
            QStringLiteral("深圳市"), QStringLiteral("南山区"), QStringLiteral("手机壳 透明 防摔"),
            QString::number(1 + i % 3), i % 7 == 0 ? QStringLiteral("请尽快发货") : QString()};
}

bool run(QTextStream &out, RecipientImport &import, const QString &label, const QString &path, ImportTarget target,
         int expectedStored)
{
    RecipientImportOptions options;
    options.target = target;
    options.confirmWithoutCriteria = false;
    if (target == ImportTarget::AddressBook)
        options.duplicates = DuplicateCriteria::all();
    int progressCalls = 0;
    QElapsedTimer t;
    t.start();
    const RecipientImportResult result = import.importFile(path, 0, options, [&](int, int) {
        ++progressCalls;
        return true;
    });
    const qint64 ms = t.elapsed();
    out << label << ": " << ms << " ms, rows read " << result.total << ", imported " << result.stored
        << ", skipped " << result.skipped() << ", progress reports " << progressCalls << Qt::endl;
    if (result.stored != expectedStored) {
        out << "failed: " << result.message << Qt::endl;
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    BenchCore bench;
    if (!bench.core.open()) {
        out << "failed: " << bench.core.errorText() << Qt::endl;
        return 1;
    }
    constexpr int rows = 10000;
    QList<QStringList> table;
    for (int i = 0; i < rows; ++i)
        table << orderRow(i);
    const QString xlsx = bench.dir.filePath(QStringLiteral("orders.xlsx"));
    QString error;
    if (!sheets::writeXlsxTable(xlsx, kTitles, table, &error)) {
        out << "failed: " << error << Qt::endl;
        return 1;
    }
    constexpr int bigRows = 200000;
    const QString csv = bench.dir.filePath(QStringLiteral("orders.csv"));
    QFile file(csv);
    if (!file.open(QIODevice::WriteOnly)) {
        out << "failed: " << file.errorString() << Qt::endl;
        return 1;
    }
    file.write(kTitles.join(QLatin1Char(',')).toUtf8() + "\r\n");
    for (int i = 0; i < bigRows; ++i)
        file.write(orderRow(i).join(QLatin1Char(',')).toUtf8() + "\r\n");
    file.close();

    RecipientImport import(bench.core.db(), bench.dialogs, ImportLog::pathIn(bench.core.dir()));
    const bool ok = run(out, import, QStringLiteral("10,000 rows .xlsx into the batch list (target < 2000 ms)"), xlsx,
                        ImportTarget::BatchList, rows)
        && run(out, import, QStringLiteral("10,000 rows .xlsx into the address book"), xlsx, ImportTarget::AddressBook,
               rows)
        && run(out, import, QStringLiteral("the same again, every row a duplicate"), xlsx, ImportTarget::AddressBook, 0)
        && run(out, import, QStringLiteral("200,000 rows .csv into the batch list"), csv, ImportTarget::BatchList,
               bigRows);
    return ok ? 0 : 1;
}
