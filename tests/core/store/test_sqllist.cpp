#include "store/SqlListModel.h"
#include "support/TestData.h"

#include <QSqlError>
#include <QTest>

using namespace moque;

namespace {

// Table T holds the rows 1..count named "n1", "n2", ..., plus a name with a quote.
bool fillTable(test::TestData &data, int count)
{
    if (!data.exec(QStringLiteral("create table T(ID integer primary key, Name text)")))
        return false;
    data.db().transaction();
    for (int i = 1; i <= count; ++i)
        if (!data.exec(QStringLiteral("insert into T(ID, Name) values(?, ?)"), {i, QStringLiteral("n%1").arg(i)}))
            return false;
    if (!data.exec(QStringLiteral("insert into T(ID, Name) values(?, ?)"), {count + 1, QStringLiteral("O'Brien")}))
        return false;
    return data.db().commit();
}

int rowsOf(const test::TestData &data)
{
    return data.scalar(QStringLiteral("select count(*) from T")).toInt();
}

} // namespace

class TestSqlList : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void keyLists_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QVariantList>("keys");
        QTest::addColumn<QString>("keyType");
        QTest::addColumn<QString>("expected");
        QTest::newRow("numbers") << "" << QVariantList{1, 22} << "int" << "1,22";
        QTest::newRow("str quoted") << "" << QVariantList{"a", "b"} << "str" << "'a','b'";
        QTest::newRow("type in any case") << "" << QVariantList{7} << "Str" << "'7'";
        QTest::newRow("appended with comma") << "'x'" << QVariantList{"y"} << "STR" << "'x','y'";
        QTest::newRow("no keys keeps text") << "5" << QVariantList{} << "str" << "5";
        QTest::newRow("other type as it stands") << "" << QVariantList{"a b"} << "string" << "a b";
    }
    void keyLists()
    {
        QFETCH(QString, text);
        QFETCH(QVariantList, keys);
        QFETCH(QString, keyType);
        QFETCH(QString, expected);
        QCOMPARE(appendKeyList(text, keys, keyType), expected);
    }

    void modelListsBoundQuery()
    {
        test::TestData data;
        QVERIFY(data.open());
        QVERIFY(fillTable(data, 5));
        SqlListModel model;
        QVERIFY(!model.isOpen());
        model.setSource(data.db(), QStringLiteral("select ID, Name from T where ID > ? and ID <= ? order by ID desc"),
                        {1, 4}, QStringLiteral("T"), QStringLiteral("id"));
        QVERIFY(model.refresh());
        QVERIFY(model.isOpen());
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.table(), QStringLiteral("T"));
        QCOMPARE(model.fieldIndex(QStringLiteral("NAME")), 1);
        QCOMPARE(model.fieldIndex(QStringLiteral("Code")), -1);
        QCOMPARE(model.fieldName(0), QStringLiteral("ID"));
        QCOMPARE(model.fieldValue(0, QStringLiteral("name")).toString(), QStringLiteral("n4"));
        QCOMPARE(model.allKeys(), (QVariantList{4, 3, 2}));

        // Listing afresh shows what changed in the table.
        QVERIFY(data.exec(QStringLiteral("delete from T where ID = 3")));
        QVERIFY(model.refresh());
        QCOMPARE(model.allKeys(), (QVariantList{4, 2}));
    }

    void modelReportsBadStatement()
    {
        test::TestData data;
        QVERIFY(data.open());
        SqlListModel model;
        model.setSource(data.db(), QStringLiteral("select ID from Missing"), {}, QStringLiteral("Missing"),
                        QStringLiteral("ID"));
        QVERIFY(!model.refresh());
        QVERIFY(model.lastError().isValid());
        QVERIFY(model.allKeys().isEmpty());
    }

    void deleteByKeys_data()
    {
        QTest::addColumn<QString>("keyColumn");
        QTest::addColumn<QVariantList>("keys");
        QTest::addColumn<int>("deleted");
        QTest::newRow("numbers") << "ID" << QVariantList{2, 4} << 2;
        QTest::newRow("key with a quote") << "Name" << QVariantList{"O'Brien", "n1"} << 2;
        QTest::newRow("missing key") << "ID" << QVariantList{999} << 0;
        QTest::newRow("no keys") << "ID" << QVariantList{} << 0;
        QTest::newRow("injection stays a value") << "Name" << QVariantList{"x' or '1'='1"} << 0;
    }
    void deleteByKeys()
    {
        QFETCH(QString, keyColumn);
        QFETCH(QVariantList, keys);
        QFETCH(int, deleted);
        test::TestData data;
        QVERIFY(data.open());
        QVERIFY(fillTable(data, 5));
        QString error;
        QCOMPARE(deleteRowsByKeys(data.db(), QStringLiteral("T"), keyColumn, keys, &error), deleted);
        QVERIFY(error.isEmpty());
        QCOMPARE(rowsOf(data), 6 - deleted);
        for (const QVariant &k : keys)
            QCOMPARE(data.scalar(QStringLiteral("select count(*) from T where ") + keyColumn + QStringLiteral(" = ?"),
                                 {k})
                         .toInt(),
                     0);
    }

    void deleteManyKeys()
    {
        // More keys than one statement may bind.
        test::TestData data;
        QVERIFY(data.open());
        QVERIFY(fillTable(data, 1500));
        QVariantList keys;
        for (int i = 1; i <= 1200; ++i)
            keys << i;
        QCOMPARE(deleteRowsByKeys(data.db(), QStringLiteral("T"), QStringLiteral("ID"), keys), 1200);
        QCOMPARE(rowsOf(data), 301);
        QCOMPARE(data.scalar(QStringLiteral("select min(ID) from T")).toInt(), 1201);
    }

    void deleteErrorKeepsEveryRow()
    {
        // The second slice of keys meets a row the table refuses to give up:
        // the rows the first slice deleted come back too.
        test::TestData data;
        QVERIFY(data.open());
        QVERIFY(fillTable(data, 1000));
        QVERIFY(data.exec(QStringLiteral("create trigger Keep700 before delete on T when old.ID = 700 "
                                         "begin select raise(abort, 'row 700 is kept'); end")));
        QVariantList keys;
        for (int i = 1; i <= 1000; ++i)
            keys << i;
        QString error;
        QCOMPARE(deleteRowsByKeys(data.db(), QStringLiteral("T"), QStringLiteral("ID"), keys, &error), -1);
        QVERIFY2(error.contains(QStringLiteral("row 700 is kept")), qPrintable(error));
        QCOMPARE(rowsOf(data), 1001);
        // The failed transaction is closed: the next one works.
        QCOMPARE(deleteRowsByKeys(data.db(), QStringLiteral("T"), QStringLiteral("ID"), {1}), 1);
        QCOMPARE(rowsOf(data), 1000);
        QCOMPARE(deleteRowsByKeys(data.db(), QStringLiteral("Missing"), QStringLiteral("ID"), {1}, &error), -1);
    }
};

QTEST_GUILESS_MAIN(TestSqlList)
#include "test_sqllist.moc"
