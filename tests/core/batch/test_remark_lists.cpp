// The remark lists of the address recognition window: the remark
// dictionaries and the goods and remarks of earlier waybills, each distinct,
// without blanks and at most 200 long; and a typed remark kept as a new
// entry of the 附注内容 dictionary unless one is there already.

#include "batch/RemarkLists.h"
#include "support/TestData.h"

#include <QSqlQuery>
#include <QTest>

using namespace moque;
using batch::RemarkLists;

Q_DECLARE_METATYPE(RemarkLists::Source)
Q_DECLARE_METATYPE(RemarkLists::Saved)

class TestRemarkLists : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::TestData> m_data;

    bool addDictionaryValue(const QString &name, const QString &value, int templateId = 0)
    {
        QSqlQuery q(m_data->db());
        q.prepare("insert into DMTable (CheckTypeId,DMName,DMValue) values(?,?,?)");
        q.addBindValue(templateId);
        q.addBindValue(name);
        q.addBindValue(value);
        return q.exec();
    }
    bool addWaybill(const QVariant &goods, const QVariant &remark)
    {
        QSqlQuery q(m_data->db());
        q.prepare("insert into DataKDDTable (物品内容,备注) values(?,?)");
        q.addBindValue(goods);
        q.addBindValue(remark);
        return q.exec();
    }
    // The 附注内容 rows of template 0 with the value.
    int storedRemarks(const QString &value)
    {
        QSqlQuery q(m_data->db());
        q.prepare("select count(*) from DMTable where CheckTypeId=0 and DMName=? and DMValue=?");
        q.addBindValue(QStringLiteral("附注内容"));
        q.addBindValue(value);
        return q.exec() && q.next() ? q.value(0).toInt() : -1;
    }

private Q_SLOTS:
    void init()
    {
        m_data = std::make_unique<test::TestData>();
        QVERIFY(m_data->open());
        QSqlQuery q(m_data->db());
        QVERIFY(q.exec("delete from DMTable where DMName in ('附注内容','备注','物品内容')"));
        QVERIFY(q.exec("delete from DataKDDTable"));
        QVERIFY(addDictionaryValue("附注内容", "易碎品"));
        QVERIFY(addDictionaryValue("备注", "到付"));
        QVERIFY(addDictionaryValue("物品内容", "茶叶", 7));
        QVERIFY(addDictionaryValue("物品内容", "到付", 3));
        QVERIFY(addDictionaryValue("计量单位", "箱"));
        QVERIFY(addDictionaryValue("备注", "  "));
        QVERIFY(addWaybill("文件", "周末送"));
        QVERIFY(addWaybill("衣服", QVariant()));
        QVERIFY(addWaybill("文件", "周末送"));
        QVERIFY(addWaybill(QVariant(), "到付"));
        QVERIFY(addWaybill("", " "));
    }
    void cleanup() { m_data.reset(); }

    void eachSourceListsItsDistinctValues_data()
    {
        QTest::addColumn<RemarkLists::Source>("source");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("dictionaries of every template")
            << RemarkLists::Source::Dictionary << QStringList{"到付", "易碎品", "茶叶"};
        QTest::newRow("goods of the waybills") << RemarkLists::Source::HistoryGoods << QStringList{"文件", "衣服"};
        QTest::newRow("remarks of the waybills") << RemarkLists::Source::HistoryRemarks << QStringList{"到付", "周末送"};
    }
    void eachSourceListsItsDistinctValues()
    {
        QFETCH(RemarkLists::Source, source);
        QFETCH(QStringList, expected);
        QCOMPARE(RemarkLists(m_data->db()).load(source), expected);
    }

    void listsStopAtTwoHundred_data()
    {
        QTest::addColumn<RemarkLists::Source>("source");
        QTest::newRow("dictionaries") << RemarkLists::Source::Dictionary;
        QTest::newRow("goods") << RemarkLists::Source::HistoryGoods;
        QTest::newRow("remarks") << RemarkLists::Source::HistoryRemarks;
    }
    void listsStopAtTwoHundred()
    {
        QFETCH(RemarkLists::Source, source);
        QVERIFY(m_data->db().transaction());
        for (int i = 0; i < 230; ++i) {
            const QString value = QStringLiteral("物品%1").arg(i, 3, 10, QLatin1Char('0'));
            QVERIFY(addDictionaryValue("备注", value));
            QVERIFY(addWaybill(value, value));
        }
        QVERIFY(m_data->db().commit());
        const QStringList listed = RemarkLists(m_data->db()).load(source);
        QCOMPARE(listed.size(), RemarkLists::maxEntries);
        QCOMPARE(QSet<QString>(listed.begin(), listed.end()).size(), RemarkLists::maxEntries);
    }

    void saveKeepsANewRemarkOnce_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<RemarkLists::Saved>("saved");
        QTest::addColumn<QString>("stored"); // the value then held once by the 附注内容 dictionary
        QTest::addColumn<QString>("message");
        QTest::newRow("new") << "轻拿轻放" << RemarkLists::Saved::Added << "轻拿轻放"
                             << QStringLiteral("添加基础资料\"附注内容\"成功！");
        QTest::newRow("trimmed") << "  轻拿轻放 \n" << RemarkLists::Saved::Added << "轻拿轻放"
                                 << QStringLiteral("添加基础资料\"附注内容\"成功！");
        QTest::newRow("quote is text") << "It's 'fragile'" << RemarkLists::Saved::Added << "It's 'fragile'"
                                       << QStringLiteral("添加基础资料\"附注内容\"成功！");
        QTest::newRow("in 附注内容") << "易碎品" << RemarkLists::Saved::Exists << "易碎品"
                                     << QStringLiteral("\"易碎品\"已经存在！");
        QTest::newRow("in 备注") << " 到付" << RemarkLists::Saved::Exists << ""
                                 << QStringLiteral("\"到付\"已经存在！");
        QTest::newRow("only in a template's own dictionary")
            << "茶叶" << RemarkLists::Saved::Added << "茶叶" << QStringLiteral("添加基础资料\"附注内容\"成功！");
        QTest::newRow("in another dictionary") << "箱" << RemarkLists::Saved::Added << "箱"
                                               << QStringLiteral("添加基础资料\"附注内容\"成功！");
        QTest::newRow("blank") << " \n " << RemarkLists::Saved::Empty << "" << QStringLiteral("未输入附注内容~");
    }
    void saveKeepsANewRemarkOnce()
    {
        QFETCH(QString, text);
        QFETCH(RemarkLists::Saved, saved);
        QFETCH(QString, stored);
        QFETCH(QString, message);
        RemarkLists lists(m_data->db());
        QSqlQuery count(m_data->db());
        QVERIFY(count.exec("select count(*) from DMTable") && count.next());
        const int rowsBefore = count.value(0).toInt();
        QCOMPARE(lists.save(text), saved);
        QCOMPARE(RemarkLists::message(saved, text), message);
        QVERIFY(count.exec("select count(*) from DMTable") && count.next());
        QCOMPARE(count.value(0).toInt(), rowsBefore + (saved == RemarkLists::Saved::Added ? 1 : 0));
        if (!stored.isEmpty())
            QCOMPARE(storedRemarks(stored), 1);
        if (saved == RemarkLists::Saved::Added) {
            QVERIFY(lists.load(RemarkLists::Source::Dictionary).contains(stored));
            QCOMPARE(lists.save(text), RemarkLists::Saved::Exists);
            QCOMPARE(storedRemarks(stored), 1);
        }
    }

    void failedStoreSaysSo()
    {
        QSqlQuery q(m_data->db());
        QVERIFY(q.exec("drop table DMTable"));
        RemarkLists lists(m_data->db());
        QCOMPARE(lists.save(QStringLiteral("轻拿轻放")), RemarkLists::Saved::Failed);
        QVERIFY(!lists.lastError().isEmpty());
        QVERIFY(lists.load(RemarkLists::Source::Dictionary).isEmpty());
    }
};

QTEST_MAIN(TestRemarkLists)
#include "test_remark_lists.moc"
