#include "entry/BillStore.h"
#include "entry/BillKind.h"
#include "entry/BillValues.h"
#include "support/TestData.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

using namespace moque;
using namespace moque::entry;

namespace {

// A row with a different, awkward text in every saved column.
QHash<QString, QString> awkwardRow(const QString &seed)
{
    QHash<QString, QString> row;
    int i = 0;
    for (const QString &column : saveColumns(waybillKind().fields)) {
        QString text;
        switch (i++ % 4) {
        case 0: text = QStringLiteral("O'Brien \"引号\" ") + seed; break;
        case 1: text = QStringLiteral("第一行\r\n第二行\n第三行") + seed; break;
        case 2: text = QString(2000, QChar(u'长')); break;
        default: text = QStringLiteral("'); drop table DataKDDTable; --") + seed; break;
        }
        row.insert(column, text);
    }
    row.insert(QStringLiteral("寄件日期"), QStringLiteral("2026-05-06"));
    return row;
}

// A second connection to the data file with extra connect options; removed on destruction.
struct ExtraConnection
{
    QString name;
    QSqlDatabase db;
    ExtraConnection(const QString &file, const QString &connectName, const QString &options) : name(connectName)
    {
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        db.setConnectOptions(options);
        db.open();
    }
    ~ExtraConnection()
    {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
    }
};

} // namespace

class TestEntryStore : public QObject
{
    Q_OBJECT

private:
    test::TestData data;
    int rows() { return data.scalar(QStringLiteral("select count(*) from DataKDDTable")).toInt(); }

private Q_SLOTS:
    void initTestCase() { QVERIFY(data.open()); }
    void init() { QVERIFY(data.exec(QStringLiteral("delete from DataKDDTable"))); }

    void everyColumnRoundTrips()
    {
        BillStore store(data.db());
        const QHash<QString, QString> row = awkwardRow(QStringLiteral("一"));
        QString error;
        const std::optional<int> id = store.insert(row, &error);
        QVERIFY2(id.has_value(), qPrintable(error));
        QVERIFY(*id > 0);
        QCOMPARE(rows(), 1);
        const std::optional<QHash<QString, QString>> loaded = store.load(*id);
        QVERIFY(loaded.has_value());
        for (auto it = row.cbegin(); it != row.cend(); ++it)
            QVERIFY2(loaded->value(it.key()) == it.value(), qPrintable(it.key()));
        QCOMPARE(loaded->value(QStringLiteral("流水号")), QString::number(*id));
    }

    void newRowsGetNewNumbers()
    {
        BillStore store(data.db());
        const std::optional<int> a = store.insert(awkwardRow(QStringLiteral("a")));
        const std::optional<int> b = store.insert(awkwardRow(QStringLiteral("b")));
        QVERIFY(a && b);
        QVERIFY(*b > *a);
    }

    void updateKeepsNumber()
    {
        BillStore store(data.db());
        const int id = *store.insert(awkwardRow(QStringLiteral("一")));
        const QHash<QString, QString> changed = awkwardRow(QStringLiteral("二"));
        QString error;
        QVERIFY2(store.update(id, changed, &error), qPrintable(error));
        QCOMPARE(rows(), 1);
        const QHash<QString, QString> loaded = *store.load(id);
        for (auto it = changed.cbegin(); it != changed.cend(); ++it)
            QVERIFY2(loaded.value(it.key()) == it.value(), qPrintable(it.key()));
        QCOMPARE(loaded.value(QStringLiteral("流水号")), QString::number(id));
    }

    void updateOfMissingRowFails()
    {
        BillStore store(data.db());
        QString error;
        QVERIFY(!store.update(999, {{QStringLiteral("备注"), QStringLiteral("x")}}, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(rows(), 0);
        QVERIFY(!store.exists(999));
        QVERIFY(!store.load(999).has_value());
    }

    void unknownColumnIsRefused()
    {
        BillStore store(data.db());
        QString error;
        QVERIFY(!store.insert({{QStringLiteral("备注"), QStringLiteral("x")}, {QStringLiteral("无此列"), QStringLiteral("y")}},
                              &error));
        QVERIFY(error.contains(QStringLiteral("无此列")));
        QCOMPARE(rows(), 0);
    }

    void placeholderReceiverSavesEmpty()
    {
        BillStore store(data.db());
        BillInput in;
        in.controls.insert(QStringLiteral("zdSKR"), receiverPlaceholder());
        in.date = QDate(2026, 1, 1);
        const int id = *store.insert(billRow(waybillKind().fields, in));
        QCOMPARE(store.load(id)->value(QStringLiteral("收件单位")), QString());
        QCOMPARE(data.scalar(QStringLiteral("select count(*) from DataKDDTable where 收件单位 = ''")).toInt(), 1);
    }

    void readOnlyDatabaseWritesNothing()
    {
        BillStore writable(data.db());
        const int id = *writable.insert(awkwardRow(QStringLiteral("原")));
        ExtraConnection ro(data.core->dir().dataFile(), QStringLiteral("entry_readonly"),
                           QStringLiteral("QSQLITE_OPEN_READONLY"));
        QVERIFY(ro.db.isOpen());
        BillStore store(ro.db);
        QString error;
        QVERIFY(!store.insert(awkwardRow(QStringLiteral("新")), &error).has_value());
        QVERIFY(!error.isEmpty());
        error.clear();
        QVERIFY(!store.update(id, {{QStringLiteral("备注"), QStringLiteral("改")}}, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(rows(), 1);
        QCOMPARE(writable.load(id)->value(QStringLiteral("备注")), awkwardRow(QStringLiteral("原")).value(QStringLiteral("备注")));
    }

    void lockedDatabaseWritesNothing()
    {
        ExtraConnection other(data.core->dir().dataFile(), QStringLiteral("entry_locked"),
                              QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"));
        QVERIFY(other.db.isOpen());
        QSqlQuery lock(data.db());
        QVERIFY(lock.exec(QStringLiteral("begin exclusive")));
        BillStore store(other.db);
        QString error;
        const std::optional<int> id = store.insert(awkwardRow(QStringLiteral("锁")), &error);
        QVERIFY(lock.exec(QStringLiteral("rollback")));
        QVERIFY(!id.has_value());
        QVERIFY(!error.isEmpty());
        QCOMPARE(rows(), 0);
        // The connection is usable again once the lock is gone.
        QVERIFY(store.insert(awkwardRow(QStringLiteral("再"))).has_value());
    }
};

QTEST_GUILESS_MAIN(TestEntryStore)
#include "test_entry_store.moc"
