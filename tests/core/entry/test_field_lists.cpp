#include "entry/FieldLists.h"
#include "support/TestData.h"

#include <QHash>
#include <QTest>

using namespace moque;
using namespace moque::entry;

// The lists the waybill's fields drop down, as their rows of the field table
// name their sources.
class TestFieldLists : public QObject
{
    Q_OBJECT

    test::TestData m_data;
    QHash<QString, QString> m_shown; // what the window's controls hold

    std::optional<QStringList> listOf(const char *name, int templateId = 5)
    {
        const BillField *field = findField(waybillKind().fields, QLatin1String(name));
        return FieldLists(m_data.db(), waybillKind())
            .values(*field, templateId, [this](const QString &control) { return m_shown.value(control); });
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_data.open());
        // Only this test's values, not the default lists.
        QVERIFY(m_data.exec(QStringLiteral("delete from DMTable where DMName in ('自定义1','自定义2','备注')")));
        const QString dm = QStringLiteral("insert into DMTable (CheckTypeId,DMName,DMValue) values(?,?,?)");
        for (const auto &[id, name, value] : {std::tuple{5, "自定义1", "模板的"}, std::tuple{0, "自定义1", "通用的"},
                                             std::tuple{0, "自定义2", "通用的"}, std::tuple{5, "备注", "模板备注"},
                                             std::tuple{0, "备注", "通用备注"}})
            QVERIFY(m_data.exec(dm, {id, QString::fromUtf8(name), QString::fromUtf8(value)}));
        const QString city = QStringLiteral("insert into DMTable2 (类型,一级代码,二级代码) values('省市',?,?)");
        for (const auto &[province, name] : {std::pair{"甲省", "甲一市"}, std::pair{"甲省", "甲二市"},
                                             std::pair{"乙省", "乙市"}})
            QVERIFY(m_data.exec(city, {QString::fromUtf8(province), QString::fromUtf8(name)}));
        const QString person = QStringLiteral("insert into CKPersonalInfoTable (全称,单位类型) values(?,?)");
        QVERIFY(m_data.exec(person, {QStringLiteral("我方甲"), QStringLiteral("我方单位")}));
        QVERIFY(m_data.exec(person, {QStringLiteral("客户乙"), QStringLiteral("往来单位")}));
    }

    void dictionaries_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("templateId");
        QTest::addColumn<QStringList>("values");
        QTest::newRow("the template's own") << "zdDef1" << 5 << QStringList{"模板的"};
        QTest::newRow("all templates' when it has none") << "zdDef1" << 7 << QStringList{"通用的"};
        QTest::newRow("all templates' only") << "zdDef2" << 5 << QStringList{"通用的"};
        QTest::newRow("remarks: the template's, then all") << "zdBz" << 5 << QStringList{"模板备注", "通用备注"};
    }
    void dictionaries()
    {
        QFETCH(QString, field);
        QFETCH(int, templateId);
        QFETCH(QStringList, values);
        QCOMPARE(listOf(field.toLatin1().constData(), templateId), std::optional<QStringList>(values));
    }

    void citiesOfTheChosenProvince_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("senderProvince");
        QTest::addColumn<QString>("receiverProvince");
        QTest::addColumn<QStringList>("cities");
        QTest::newRow("sender's province") << "zdHKRXS" << "甲省" << "乙省" << QStringList{"甲二市", "甲一市"};
        QTest::newRow("sender without one: the receiver's") << "zdHKRXS" << "" << "乙省" << QStringList{"乙市"};
        QTest::newRow("receiver's own") << "zdSKRXS" << "甲省" << "乙省" << QStringList{"乙市"};
    }
    void citiesOfTheChosenProvince()
    {
        QFETCH(QString, field);
        QFETCH(QString, senderProvince);
        QFETCH(QString, receiverProvince);
        QFETCH(QStringList, cities);
        m_shown = {{QStringLiteral("zdHKRS"), senderProvince}, {QStringLiteral("zdSKRS"), receiverProvince}};
        std::optional<QStringList> got = listOf(field.toLatin1().constData());
        QVERIFY(got);
        got->sort();
        cities.sort();
        QCOMPARE(*got, cities);
    }

    // An empty or unknown province keeps the list the picker holds.
    void noProvinceKeepsTheList()
    {
        m_shown = {{QStringLiteral("zdSKRS"), QStringLiteral("无此省")}};
        QVERIFY(!listOf("zdSKRXS"));
        m_shown.clear();
        QVERIFY(!listOf("zdHKRXS"));
    }

    void partyNamesByPartyType()
    {
        QCOMPARE(listOf("zdHKR"), std::optional<QStringList>(QStringList{"我方甲"}));
        QCOMPARE(listOf("zdSKR"), std::optional<QStringList>(QStringList{"客户乙"}));
    }

    void fixedAndNoSource()
    {
        QCOMPARE(listOf("edtAmount")->first(), QStringLiteral("1"));
        QCOMPARE(listOf("edtAmount")->last(), QStringLiteral("100"));
        QVERIFY(!listOf("zdUserCode"));
        QVERIFY(!listOf("edtCountryDest"));
    }
};

QTEST_GUILESS_MAIN(TestFieldLists)
#include "test_field_lists.moc"
