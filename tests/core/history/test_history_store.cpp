#include "store/SqlListModel.h"
#include "history/HistoryQuery.h"
#include "history/HistoryStore.h"
#include "HistoryFixture.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

using namespace moque;
using namespace moque::history;

namespace {

QList<int> remainingIds(const test::TestData &data)
{
    QSqlQuery q(data.db());
    QList<int> ids;
    if (q.exec(QStringLiteral("select 流水号 from DataKDDTable order by 流水号")))
        while (q.next())
            ids << q.value(0).toInt();
    return ids;
}

HistoryStore waybills(const test::TestData &data)
{
    return HistoryStore(data.db(), WaybillQuery::table(), WaybillQuery::keyColumn());
}

} // namespace

class TestHistoryStore : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void openingADataFileMakesTheIndexes()
    {
        test::TestData data;
        QVERIFY(data.open());
        QCOMPARE(data.scalar("select count(*) from sqlite_master where type='index' and name=?",
                             {QStringLiteral("ix_DataKDDTable_收件单位")})
                     .toInt(),
                 1);
        // A bill table without one of the columns still gets the other indexes.
        QVERIFY(data.exec("drop index \"ix_DataKDDTable_快递单号\""));
        QVERIFY(data.exec("drop index \"ix_DataKDDTable_寄件单位\""));
        QVERIFY(data.exec("alter table DataKDDTable drop column 寄件单位"));
        QString error;
        QVERIFY(!history::ensureHistoryIndexes(data.db(), &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(data.scalar("select count(*) from sqlite_master where type='index' and name=?",
                             {QStringLiteral("ix_DataKDDTable_快递单号")})
                     .toInt(),
                 1);
    }

    void deleteSelected_data()
    {
        QTest::addColumn<QVariantList>("keys");
        QTest::addColumn<int>("deleted");
        QTest::addColumn<QList<int>>("remaining");
        QTest::newRow("two rows") << QVariantList{1, 3} << 2 << QList<int>{2, 4, 5, 6};
        QTest::newRow("keys as text") << QVariantList{QStringLiteral("6")} << 1 << QList<int>{1, 2, 3, 4, 5};
        QTest::newRow("a missing key is skipped") << QVariantList{2, 99} << 1 << QList<int>{1, 3, 4, 5, 6};
        QTest::newRow("nothing selected") << QVariantList{} << 0 << QList<int>{1, 2, 3, 4, 5, 6};
    }
    void deleteSelected()
    {
        QFETCH(QVariantList, keys);
        QFETCH(int, deleted);
        QFETCH(QList<int>, remaining);
        test::TestData data;
        QVERIFY(data.open());
        QVERIFY(test::addWaybills(data));
        QString error;
        QCOMPARE(waybills(data).deleteRows(keys, &error), deleted);
        QCOMPARE(remainingIds(data), remaining);
    }

    void deleteIsAllOrNothing()
    {
        test::TestData data;
        QVERIFY(data.open());
        // More keys than one statement binds, and the last row refuses to go.
        data.db().transaction();
        QVariantList keys;
        for (int i = 1; i <= 1200; ++i) {
            QVERIFY(data.exec(QStringLiteral("insert into DataKDDTable(流水号, 收件单位) values(?, ?)"),
                              {i, QStringLiteral("r%1").arg(i)}));
            keys << i;
        }
        QVERIFY(data.db().commit());
        QVERIFY(data.exec(QStringLiteral("create trigger keep before delete on DataKDDTable when old.流水号 = 1200 "
                                         "begin select raise(abort, 'kept'); end")));
        QString error;
        QCOMPARE(waybills(data).deleteRows(keys, &error), -1);
        QVERIFY(error.contains(QStringLiteral("kept")));
        QCOMPARE(data.scalar(QStringLiteral("select count(*) from DataKDDTable")).toInt(), 1200);

        QVERIFY(data.exec(QStringLiteral("drop trigger keep")));
        QCOMPARE(waybills(data).deleteRows(keys, &error), 1200);
        QCOMPARE(data.scalar(QStringLiteral("select count(*) from DataKDDTable")).toInt(), 0);
    }

    void deleteListed()
    {
        test::TestData data;
        QVERIFY(data.open());
        QVERIFY(test::addWaybills(data));
        WaybillFilter f;
        f.receiver = QStringLiteral("广州甲");
        const BoundStatement list = WaybillQuery::listStatement(f);
        SqlListModel model;
        model.setSource(data.db(), list.sql, list.values, WaybillQuery::table(), WaybillQuery::keyColumn());
        QVERIFY(model.refresh());
        QString error;
        QCOMPARE(waybills(data).deleteListed(model, &error), 3);
        QCOMPARE(remainingIds(data), (QList<int>{3, 4, 5}));
        QVERIFY(model.refresh());
        QCOMPARE(model.rowCount(), 0);
    }

    void deleteListedOfAnotherTableIsRefused()
    {
        test::TestData data;
        QVERIFY(data.open());
        QVERIFY(test::addWaybills(data));
        SqlListModel model;
        model.setSource(data.db(), QStringLiteral("select * from DataKDDTable"), {},
                        QStringLiteral("DataCheckReceipt"), QStringLiteral("流水号"));
        QVERIFY(model.refresh());
        QString error;
        QCOMPARE(waybills(data).deleteListed(model, &error), -1);
        QVERIFY(!error.isEmpty());
        QCOMPARE(remainingIds(data).size(), 6);
    }

    void unknownNamesAreRefused_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("valid");
        QTest::newRow("waybills") << "DataKDDTable" << "流水号" << true;
        QTest::newRow("receipts") << "DataCheckReceipt" << "流水号" << true;
        QTest::newRow("export invoices, letter case") << "datacksptable" << "流水号" << true;
        QTest::newRow("not a table") << "DataKDDTable; drop table CKTypeTable" << "流水号" << false;
        QTest::newRow("not a column") << "DataKDDTable" << "1=1 or 流水号" << false;
        QTest::newRow("a created table") << "Scratch" << "id" << false;
    }
    void unknownNamesAreRefused()
    {
        QFETCH(QString, table);
        QFETCH(QString, key);
        QFETCH(bool, valid);
        test::TestData data;
        QVERIFY(data.open());
        QVERIFY(test::addWaybills(data));
        QVERIFY(data.exec(QStringLiteral("create table Scratch(id integer)")));
        const HistoryStore store(data.db(), table, key);
        QCOMPARE(store.isValid(), valid);
        if (valid)
            return;
        QString error;
        QCOMPARE(store.deleteRows({1}, &error), -1);
        QVERIFY(!error.isEmpty());
        QCOMPARE(store.deleteAll(), -1);
        QVERIFY(!store.supplement(1, QStringLiteral("备注"), QStringLiteral("x")));
        QCOMPARE(remainingIds(data).size(), 6);
        QVERIFY(data.scalar(QStringLiteral("select count(*) from CKTypeTable")).toInt() > 0);
    }

    void deleteAll()
    {
        test::TestData data;
        QVERIFY(data.open());
        QVERIFY(test::addWaybills(data));
        const int deleted = waybills(data).deleteAll();
        QCOMPARE(deleted, 6);
        QCOMPARE(HistoryStore::deleteAllReport(deleted), QStringLiteral("清空成功！共删除6条记录"));
        QVERIFY(remainingIds(data).isEmpty());
    }

    void supplement_data()
    {
        QTest::addColumn<QVariant>("key");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("written");
        QTest::newRow("number with a quote") << QVariant(2) << "快递单号" << "SF'9\"9" << true;
        QTest::newRow("remark") << QVariant(2) << "备注" << "已发出 100%" << true;
        QTest::newRow("empty value") << QVariant(2) << "快递单号" << "" << false;
        QTest::newRow("missing row") << QVariant(99) << "快递单号" << "X" << false;
        QTest::newRow("unknown column") << QVariant(2) << "快递单号='x' --" << "X" << false;
    }
    void supplement()
    {
        QFETCH(QVariant, key);
        QFETCH(QString, column);
        QFETCH(QString, value);
        QFETCH(bool, written);
        test::TestData data;
        QVERIFY(data.open());
        QVERIFY(test::addWaybills(data));
        QCOMPARE(waybills(data).supplement(key, column, value), written);
        const QString number = data.scalar(QStringLiteral("select 快递单号 from DataKDDTable where 流水号=2")).toString();
        const QString remark = data.scalar(QStringLiteral("select 备注 from DataKDDTable where 流水号=2")).toString();
        if (written && column == QStringLiteral("快递单号"))
            QCOMPARE(number, value);
        else
            QCOMPARE(number, QStringLiteral("YT002"));
        QCOMPARE(remark, written && column == QStringLiteral("备注") ? value : QString());
        QCOMPARE(data.scalar(QStringLiteral("select count(*) from DataKDDTable where 快递单号=?"), {value}).toInt(),
                 written && column == QStringLiteral("快递单号") ? 1 : 0);
    }

    void indexesServeTheFilters_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("receiver");
        QTest::addColumn<bool>("period");
        QTest::addColumn<QString>("index");
        QTest::newRow("receiver exact") << "" << "甲" << false << "ix_DataKDDTable_收件";
        QTest::newRow("number exact") << "SF1" << "" << false << "ix_DataKDDTable_快递单号";
        QTest::newRow("period") << "" << "" << true << "ix_DataKDDTable_寄件日期";
    }
    void indexesServeTheFilters()
    {
        QFETCH(QString, number);
        QFETCH(QString, receiver);
        QFETCH(bool, period);
        QFETCH(QString, index);
        test::TestData data;
        QVERIFY(data.open());
        QString error;
        QVERIFY2(ensureHistoryIndexes(data.db(), &error), qPrintable(error));
        QVERIFY2(ensureHistoryIndexes(data.db(), &error), qPrintable(error)); // again: nothing to do
        WaybillFilter f;
        f.number = number;
        f.receiver = receiver;
        f.match = MatchMode::Exact;
        f.anyDate = !period;
        f.from = QDate(2024, 3, 1);
        f.to = QDate(2024, 3, 1);
        const BoundStatement list = WaybillQuery::listStatement(f);
        QSqlQuery q(data.db());
        q.prepare(QStringLiteral("EXPLAIN QUERY PLAN ") + list.sql);
        for (int i = 0; i < list.values.size(); ++i)
            q.bindValue(i, list.values[i]);
        QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
        QString plan;
        while (q.next())
            plan += q.value(3).toString() + QLatin1Char('\n');
        QVERIFY2(plan.contains(index), qPrintable(plan));
    }

    void partyCodes_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("waybill"); // Enter in a waybill party filter
        QTest::addColumn<QString>("invoice"); // leaving an invoice party filter
        QTest::newRow("code") << " jgs " << "甲公司" << " jgs ";
        QTest::newRow("% prefix: first entry, or the shortest code") << "%jgs" << "甲公司总部" << "甲公司";
        QTest::newRow("% prefix, trimmed rest") << " %jgsz " << "甲公司总部" << "甲公司总部";
        QTest::newRow("contains with *") << "*zb" << "甲公司总部" << "*zb";
        QTest::newRow("% in a code is a character") << "%a%" << "百分公司" << "百分公司";
        QTest::newRow("_ in a code is a character") << "%_" << "%_" << "_";
        QTest::newRow("nothing found") << "%zz" << "%zz" << "zz";
        QTest::newRow("empty") << " " << "" << " ";
    }
    void partyCodes()
    {
        QFETCH(QString, typed);
        QFETCH(QString, waybill);
        QFETCH(QString, invoice);
        test::TestData data;
        QVERIFY(data.open());
        const QList<QStringList> people{{"甲公司总部", "jgszb"}, {"甲公司", "jgs"}, {"百分公司", "a%b"}};
        for (const QStringList &p : people)
            QVERIFY(data.exec(QStringLiteral("insert into CKPersonalInfoTable(全称, 助记码) values(?, ?)"),
                              {p[0], p[1]}));
        QCOMPARE(expandPartyCode(data.db(), typed), waybill);
        QString error;
        QCOMPARE(expandMnemonic(data.db(), typed, &error), invoice);
        QVERIFY(error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestHistoryStore)
#include "test_history_store.moc"
