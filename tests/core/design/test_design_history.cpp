// Undo and redo over the designers' writes.

#include "design/DesignHistory.h"
#include "support/TemplateFixture.h"

#include <QSignalSpy>
#include <QTest>

using namespace moque;
using design::DesignHistory;
using design::RowKey;

namespace {

RowKey item(const QString &name)
{
    return {QStringLiteral("ckControl"), {{QStringLiteral("CheckTypeID"), 1000}, {QStringLiteral("CtlName"), name}}};
}

int ctlX(const test::TestData &data, const QString &name)
{
    return data.scalar(QStringLiteral("select CtlX from ckControl where CheckTypeID=1000 and CtlName=?"), {name}).toInt();
}

} // namespace

class TestDesignHistory : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void undoAndRedoAWrite()
    {
        test::TestData data;
        QVERIFY(test::openWithoutTemplates(data));
        QVERIFY(test::addItem(data, {1000, QStringLiteral("ZDA"), 10, 10, 50, 20, 1, QString(), 100}));
        DesignHistory history(data.db());
        QSignalSpy applied(&history, &DesignHistory::applied);
        QVERIFY(history.write(item(QStringLiteral("ZDA")), QStringLiteral("CtlX"), 140));
        QCOMPARE(ctlX(data, QStringLiteral("ZDA")), 140);
        // Writing what is stored already is not a step to undo.
        QVERIFY(history.write(item(QStringLiteral("ZDA")), QStringLiteral("CtlX"), 140));
        QCOMPARE(history.stack().count(), 1);
        QCOMPARE(applied.count(), 0);

        history.stack().undo();
        QCOMPARE(ctlX(data, QStringLiteral("ZDA")), 100);
        history.stack().redo();
        QCOMPARE(ctlX(data, QStringLiteral("ZDA")), 140);
        QCOMPARE(applied.count(), 2);
    }

    void aGroupIsOneStep()
    {
        test::TestData data;
        QVERIFY(test::openWithoutTemplates(data));
        QVERIFY(test::addItem(data, {1000, QStringLiteral("ZDA"), 10, 10, 50, 20, 1, QString(), 100}));
        QVERIFY(test::addItem(data, {1000, QStringLiteral("ZDB"), 10, 10, 50, 20, 1, QString(), 300}));
        DesignHistory history(data.db());
        history.beginGroup(QStringLiteral("最左对齐"));
        QVERIFY(history.write(item(QStringLiteral("ZDB")), QStringLiteral("CtlX"), 100));
        QVERIFY(history.write(item(QStringLiteral("ZDA")), QStringLiteral("CtlX"), 100));
        history.endGroup();
        QCOMPARE(history.stack().count(), 1);
        history.stack().undo();
        QCOMPARE(ctlX(data, QStringLiteral("ZDA")), 100);
        QCOMPARE(ctlX(data, QStringLiteral("ZDB")), 300);
        history.stack().redo();
        QCOMPARE(ctlX(data, QStringLiteral("ZDB")), 100);
    }

    void anInsertedRowGoesAndComesBack()
    {
        test::TestData data;
        QVERIFY(test::openWithoutTemplates(data));
        QVERIFY(data.exec(QStringLiteral("insert into ckControl (CheckTypeID,CtlName,CtlX) values (1000,'ZDN',77)")));
        DesignHistory history(data.db());
        history.recordInsert(item(QStringLiteral("ZDN")),
                             {{QStringLiteral("CheckTypeID"), 1000},
                              {QStringLiteral("CtlName"), QStringLiteral("ZDN")},
                              {QStringLiteral("CtlX"), 77}});
        const QString count = QStringLiteral("select count(*) from ckControl where CtlName='ZDN'");
        history.stack().undo();
        QCOMPARE(data.scalar(count).toInt(), 0);
        history.stack().redo();
        QCOMPARE(data.scalar(count).toInt(), 1);
        QCOMPARE(ctlX(data, QStringLiteral("ZDN")), 77);
    }

    void namesThatAreNotPlainAreRefused_data()
    {
        QTest::addColumn<QString>("column");
        QTest::newRow("a statement") << QStringLiteral("CtlX=0;drop table ckControl;--");
        QTest::newRow("a quote") << QStringLiteral("Ctl'X");
        QTest::newRow("empty") << QString();
    }
    void namesThatAreNotPlainAreRefused()
    {
        QFETCH(QString, column);
        test::TestData data;
        QVERIFY(test::openWithoutTemplates(data));
        QVERIFY(test::addItem(data, {1000, QStringLiteral("ZDA"), 10, 10, 50, 20, 1, QString(), 100}));
        DesignHistory history(data.db());
        QVERIFY(!history.write(item(QStringLiteral("ZDA")), column, 5));
        QCOMPARE(history.stack().count(), 0);
        QCOMPARE(ctlX(data, QStringLiteral("ZDA")), 100);
    }
};

QTEST_MAIN(TestDesignHistory)
#include "test_design_history.moc"
