#include "refdata/GoodsImport.h"
#include "sheets/XlsxWriter.h"
#include "support/TestData.h"
#include "support/TestFiles.h"

#include <QSqlQuery>
#include <QTest>

using namespace moque;
using refdata::GoodsImport;
using refdata::GoodsImportOptions;
using refdata::GoodsImportResult;
using Rows = QList<QStringList>;

class TestGoodsImport : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::TestData> m_data;

    GoodsImportResult run(const Rows &rows, GoodsImportOptions options = {})
    {
        return GoodsImport(m_data->db(), m_data->dialogs).importRows(rows, options);
    }
    // Every entry as name|model|price|article|category, by ID.
    QStringList catalogue() const
    {
        QSqlQuery q(m_data->db());
        q.exec(QStringLiteral("select 商品名,规格,单价,货号,分类 from Products order by ID"));
        QStringList entries;
        while (q.next())
            entries << QStringList{q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                                   q.value(3).toString(), q.value(4).toString()}
                           .join(QLatin1Char('|'));
        return entries;
    }

private Q_SLOTS:
    void init()
    {
        m_data = std::make_unique<test::TestData>();
        QVERIFY(m_data->open());
        QVERIFY(m_data->exec(QStringLiteral("delete from Products")));
        QVERIFY(m_data->exec(QStringLiteral("insert into Products (商品名,规格,单价) values('笔','黑','3')")));
    }

    void header_data()
    {
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<bool>("valid");
        QTest::newRow("the three") << QStringList{"商品名", "规格", "单价"} << true;
        QTest::newRow("规格型号 names the model") << QStringList{" 单价 ", "规格型号", "商品名"} << true;
        QTest::newRow("no price") << QStringList{"商品名", "规格"} << false;
        QTest::newRow("no model") << QStringList{"商品名", "单价"} << false;
        QTest::newRow("titles end at the first empty one") << QStringList{"商品名", "规格", "", "单价"} << false;
    }
    void header()
    {
        QFETCH(QStringList, titles);
        QFETCH(bool, valid);
        const GoodsImportResult result = run({titles, QStringList(titles.size(), QStringLiteral("x"))});
        QCOMPARE(result.valid, valid);
        if (!valid) {
            QCOMPARE(result.message, GoodsImport::headerFailure());
            QCOMPARE(catalogue().size(), 1);
        }
    }

    // The columns go where their titles say; titles the catalogue does not
    // have, and the model's other names, no longer fail every row.
    void columnsByTitle()
    {
        const GoodsImportResult result =
            run({{"货号", "品牌型号", "商品名", "配置参数", "单价", "分类"},
                 {" A-1 ", "蓝", " 本子 ", "无关", "5.5", "文具"},
                 {"", "", "", "", "", ""},
                 {"A-2", "黑", "笔", "", "4", ""}});
        QVERIFY(result.valid);
        QCOMPARE(result.stored, 1);
        QCOMPARE(result.skipped, 2);
        QCOMPARE(result.message, QStringLiteral("导入完成，共有 1 条导入成功！ 其中跳过了2 条已经存在的记录！"));
        QCOMPARE(catalogue(), (QStringList{"笔|黑|3||", "本子|蓝|5.5|A-1|文具"}));
    }

    void duplicates_data()
    {
        QTest::addColumn<bool>("byNameOnly");
        QTest::addColumn<bool>("ask");
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("question");
        QTest::newRow("name and model") << false << false << QList<bool>{} << 1 << "";
        QTest::newRow("name only") << true << false << QList<bool>{} << 0 << "";
        QTest::newRow("asked, skip") << false << true << QList<bool>{true} << 1
                                     << "商品\"笔(黑)\"已经存在,是否跳过？点击\"是\"跳过,点击\"否\"继续添加！";
        QTest::newRow("asked, add all the same") << false << true << QList<bool>{false} << 2
                                                 << "商品\"笔(黑)\"已经存在,是否跳过？点击\"是\"跳过,点击\"否\"继续添加！";
        QTest::newRow("asked by name") << true << true << QList<bool>{true, true} << 0
                                       << "商品\"笔\"已经存在,是否跳过？点击\"是\"跳过,点击\"否\"继续添加！";
    }
    void duplicates()
    {
        QFETCH(bool, byNameOnly);
        QFETCH(bool, ask);
        QFETCH(QList<bool>, answers);
        QFETCH(int, stored);
        QFETCH(QString, question);
        for (const bool answer : answers)
            m_data->dialogs.answers.enqueue(answer);
        const GoodsImportResult result =
            run({{"商品名", "规格", "单价"}, {"笔", "黑", "3"}, {"笔", "红", "3"}}, {byNameOnly, ask});
        QCOMPARE(result.stored, stored);
        QCOMPARE(result.skipped, 2 - stored);
        QCOMPARE(catalogue().size(), 1 + stored);
        if (question.isEmpty()) {
            QVERIFY(m_data->dialogs.shown.isEmpty());
        } else {
            QCOMPARE(m_data->dialogs.shown.first().text, question);
            QCOMPARE(m_data->dialogs.shown.first().caption, QStringLiteral("记录已经存在"));
        }
    }

    void quotesAreText()
    {
        const GoodsImportResult result =
            run({{"商品名", "规格", "单价"}, {"O'Neil", "1'); delete from Products; --", "2"}});
        QCOMPARE(result.stored, 1);
        QCOMPARE(catalogue().last(), QStringLiteral("O'Neil|1'); delete from Products; --|2||"));
    }

    void nothingToImport_data()
    {
        QTest::addColumn<Rows>("rows");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty sheet") << Rows{} << "导入完成，所选数据文件不存在有效数据！";
        QTest::newRow("titles only") << Rows{{"商品名", "规格", "单价"}} << "导入完成，共有 0 条导入成功！";
    }
    void nothingToImport()
    {
        QFETCH(Rows, rows);
        QFETCH(QString, message);
        QCOMPARE(run(rows).message, message);
        QCOMPARE(catalogue().size(), 1);
    }

    // The callback hears of every row, before the first and after each one,
    // with the data rows in all; a false answer at any of them rolls the
    // whole import back.
    void progress_data()
    {
        QTest::addColumn<int>("rowCount");
        QTest::addColumn<int>("cancelAt"); // -1: never
        QTest::addColumn<int>("stored");
        QTest::newRow("to the end") << 4 << -1 << 4;
        QTest::newRow("titles only") << 0 << -1 << 0;
        QTest::newRow("cancelled before the first row") << 4 << 0 << 0;
        QTest::newRow("cancelled halfway") << 4 << 2 << 0;
        QTest::newRow("cancelled after the last row") << 4 << 4 << 0;
    }
    void progress()
    {
        QFETCH(int, rowCount);
        QFETCH(int, cancelAt);
        QFETCH(int, stored);
        Rows rows{{"商品名", "规格", "单价"}};
        for (int i = 0; i < rowCount; ++i)
            rows << QStringList{QStringLiteral("本子%1").arg(i), QStringLiteral("A%1").arg(i), QStringLiteral("2")};
        QStringList told; // "rows done/rows in all" of each report
        const GoodsImportResult result = GoodsImport(m_data->db(), m_data->dialogs)
                                             .importRows(rows, {}, [&](int done, int total) {
                                                 told << QStringLiteral("%1/%2").arg(done).arg(total);
                                                 return done != cancelAt;
                                             });
        QStringList expected;
        for (int i = 0; i <= (cancelAt < 0 ? rowCount : cancelAt); ++i)
            expected << QStringLiteral("%1/%2").arg(i).arg(rowCount);
        QCOMPARE(told, expected);
        QCOMPARE(result.cancelled, cancelAt >= 0);
        QCOMPARE(result.stored, cancelAt < 0 ? stored : 0);
        QCOMPARE(catalogue().size(), 1 + stored);
        if (cancelAt >= 0)
            QCOMPARE(result.message, GoodsImport::cancelledMessage());
        // The transaction is closed either way: a later write stands on its own.
        QVERIFY(m_data->exec(QStringLiteral("insert into Products (商品名,规格,单价) values('尺','红','1')")));
        QCOMPARE(catalogue().size(), 2 + stored);
    }

    // A large sheet read from an .xlsx file, cancelled late: nothing of it stays.
    void cancelledFileLeavesTheCatalogue()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("goods.xlsx"));
        QList<QStringList> rows;
        for (int i = 0; i < 2000; ++i)
            rows << QStringList{QStringLiteral("纸%1").arg(i), QStringLiteral("A4"), QStringLiteral("20")};
        QVERIFY(sheets::writeXlsxTable(path, {"商品名", "规格", "单价"}, rows));
        int last = 0;
        const GoodsImportResult result = GoodsImport(m_data->db(), m_data->dialogs)
                                             .importFile(path, {}, [&last](int done, int total) {
                                                 last = done;
                                                 return done < total - 1;
                                             });
        QVERIFY(result.cancelled);
        QCOMPARE(last, 1999);
        QCOMPARE(catalogue(), QStringList{"笔|黑|3||"});
    }

    void fromFiles()
    {
        QTemporaryDir dir;
        const QString csv = dir.filePath(QStringLiteral("goods.csv"));
        QVERIFY(test::writeFile(csv, QByteArrayLiteral("商品名,规格,单价\n本子,A5,2.5\n")));
        const GoodsImportResult read = GoodsImport(m_data->db(), m_data->dialogs).importFile(csv, {});
        QCOMPARE(read.stored, 1);

        // A damaged workbook is reported and imports nothing.
        const QString broken = dir.filePath(QStringLiteral("goods.xlsx"));
        QVERIFY(test::writeFile(broken, QByteArrayLiteral("PK\x03\x04 not a workbook")));
        const GoodsImportResult failed = GoodsImport(m_data->db(), m_data->dialogs).importFile(broken, {});
        QVERIFY(!failed.valid);
        QVERIFY2(failed.message.contains(QStringLiteral("goods.xlsx")), qPrintable(failed.message));
        QCOMPARE(catalogue().size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestGoodsImport)
#include "test_goods_import.moc"
