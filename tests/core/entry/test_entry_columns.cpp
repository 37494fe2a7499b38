#include "entry/WaybillAids.h"
#include "entry/BillValues.h"
#include "entry/BillKind.h"
#include "store/Schema.h"

#include <QSet>
#include <QTest>

using namespace moque;
using namespace moque::entry;

class TestEntryColumns : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void saveColumnOrder()
    {
        const QStringList expected{
            "寄件单位", "寄件地址", "寄件国家", "始发站",   "寄件省",   "寄件市县", "寄件镇区", "寄件联系人",
            "寄件电话", "寄方手机", "寄方邮编", "寄件日期", "寄件时间", "收件单位", "收件地址", "目的站",
            "收件国家", "收件省",   "收件市县", "收件联系人", "收件电话", "收方手机", "收方邮编", "收件镇区",
            "物品内容", "件数",     "重量",     "总费用",   "模板种类", "快递帐号", "其他选项", "快递单号",
            "备注",     "加急费",   "手续费",   "代收金额", "包装费",   "运费",     "其他费",   "体积",
            "送货费",   "金额大写1", "保价金额", "保价费",  "自定义1",  "自定义2",  "自定义3",  "自定义4",
            "自定义5"};
        QCOMPARE(saveColumns(waybillKind().fields), expected);
    }

    void readingOrder_data()
    {
        using B = BillField::Block;
        QTest::addColumn<QList<FieldPlace>>("places");
        QTest::addColumn<QList<qsizetype>>("order");
        QTest::newRow("rows top down, left to right")
            << QList<FieldPlace>{{B::Contents, QRect(200, 40, 80, 20)}, {B::Contents, QRect(10, 40, 80, 20)},
                                 {B::Contents, QRect(10, 10, 80, 20)}}
            << QList<qsizetype>{2, 1, 0};
        // A combo box two pixels taller than the edit beside it stands a pixel higher.
        QTest::newRow("boxes of other heights share a row")
            << QList<FieldPlace>{{B::Contents, QRect(200, 39, 80, 22)}, {B::Contents, QRect(10, 40, 80, 20)},
                                 {B::Contents, QRect(10, 70, 80, 20)}}
            << QList<qsizetype>{1, 0, 2};
        QTest::newRow("a tall memo starts its row at its middle")
            << QList<FieldPlace>{{B::Contents, QRect(10, 10, 80, 60)}, {B::Contents, QRect(200, 10, 80, 20)}}
            << QList<qsizetype>{1, 0};
        QTest::newRow("blocks before places")
            << QList<FieldPlace>{{B::Closing, QRect(10, 10, 80, 20)}, {B::Receiver, QRect(10, 300, 80, 20)},
                                 {B::Sender, QRect(10, 500, 80, 20)}, {B::Contents, QRect(10, 10, 80, 20)}}
            << QList<qsizetype>{2, 1, 3, 0};
        QTest::newRow("none") << QList<FieldPlace>{} << QList<qsizetype>{};
    }
    // Tab's order: block by block, each read row by row as the form shows it.
    void readingOrder()
    {
        QFETCH(QList<FieldPlace>, places);
        QFETCH(QList<qsizetype>, order);
        QCOMPARE(entry::readingOrder(places), order);
    }

    void everyHistoryColumnIsSaved()
    {
        QStringList tableColumns = store::findTable(store::dataFileTables(), QStringLiteral("DataKDDTable"))->columnNames();
        tableColumns.removeAll(QStringLiteral("流水号"));
        QStringList saved = saveColumns(waybillKind().fields);
        tableColumns.sort();
        saved.sort();
        QCOMPARE(saved, tableColumns);
    }

    void controlOfColumn_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("control");
        QTest::newRow("sender") << "寄件单位" << "zdHKR";
        QTest::newRow("sender phone") << "寄件电话" << "zdhkrDH";
        QTest::newRow("sender handset") << "寄方手机" << "hkrHandset";
        QTest::newRow("receiver address") << "收件地址" << "zdSkrDZ";
        QTest::newRow("receiver phone") << "收件电话" << "zdskrDH";
        QTest::newRow("receiver town") << "收件镇区" << "edtSJRTown";
        QTest::newRow("weight") << "重量" << "edtWeight";
        QTest::newRow("pieces") << "件数" << "edtAmount";
        QTest::newRow("number") << "快递单号" << "zdPJBH";
        QTest::newRow("account") << "快递帐号" << "zdUserCode";
        QTest::newRow("words") << "金额大写1" << "zdJEDX1";
        QTest::newRow("collect") << "代收金额" << "zdDaisJE";
        QTest::newRow("custom5") << "自定义5" << "zdDef5";
    }
    void controlOfColumn()
    {
        QFETCH(QString, column);
        QFETCH(QString, control);
        QStringList controls;
        for (const BillField &b : savedFields(waybillKind().fields)) {
            if (b.column == column)
                controls << b.name;
        }
        QCOMPARE(controls, QStringList{control});
    }

    void readBackOrder()
    {
        QStringList order;
        for (const BillField &b : readBackFields(waybillKind().fields))
            order << (b.control == BillField::Control::OptionBoxes ? QStringLiteral("options") : b.name);
        const QStringList expected{
            "options",    "zdHKR",    "zdHkrDZ",    "zdHKRLXR",   "zdHKRS",    "zdHKRXS",  "edtFJRTown",
            "hkrHandset", "zdhkrDH",  "zdSKR",      "zdSkrDZ",    "zdSKRS",    "zdSKRXS",  "edtSJRTown",
            "skrHandset", "zdSKRLXR", "zdskrDH",    "zdBz",       "zdWPNR",    "SelDate",  "zdTime",
            "zdHKRYB",    "zdSKRYB",  "zdUserCode", "zdPJBH",     "edtAmount", "edtWeight", "edtMoney",
            "zdBJJE",     "zdJEDX1",  "zdDaisJE",   "zdQiTaFee",  "zdJiaJiFee", "zdSongHFee", "zdShouxuFee",
            "zdBJFee",    "zdYunFee", "zdDef1",     "zdDef2",     "zdDef3",    "zdDef4",   "zdDef5"};
        QCOMPARE(order, expected);
    }

    void notReadBackIsTheRest()
    {
        QSet<QString> rest;
        for (const QString &c : saveColumns(waybillKind().fields))
            rest.insert(c);
        for (const BillField &b : readBackFields(waybillKind().fields))
            rest.remove(b.column);
        rest.remove(QStringLiteral("模板种类"));
        const QStringList notRead = columnsNotReadBack(waybillKind().fields);
        QCOMPARE(rest, QSet<QString>(notRead.cbegin(), notRead.cend()));
        QCOMPARE(notRead.size(), 6);
    }

    void newBillClears()
    {
        const QStringList clears = entry::newBillClears(waybillKind().fields);
        for (const char *kept : {"zdHKR", "zdHkrDZ", "zdJEDX1", "zdYunFee", "zdDef1", "zdUserCode", "zdTime"})
            QVERIFY2(!clears.contains(QLatin1String(kept)), kept);
        for (const char *cleared : {"zdSKR", "zdPJBH", "edtMoney", "cbDestSite", "zdBz", "zdWPNR", "skrHandset"})
            QVERIFY2(clears.contains(QLatin1String(cleared)), cleared);
        QCOMPARE(clears.size(), 17);
    }

    void rowFromWindow()
    {
        BillInput in;
        in.controls.insert(QStringLiteral("zdHKR"), QStringLiteral("  墨雀 "));
        in.controls.insert(QStringLiteral("zdSKR"), receiverPlaceholder());
        in.controls.insert(QStringLiteral("zdSkrDZ"), QStringLiteral("一行\r\n二行"));
        in.date = QDate(2026, 2, 3);
        in.options = QStringLiteral("到付,保价");
        in.templateName = QStringLiteral("顺丰速运");
        const QHash<QString, QString> row = billRow(waybillKind().fields, in);
        QCOMPARE(row.size(), saveColumns(waybillKind().fields).size());
        QCOMPARE(row.value(QStringLiteral("寄件单位")), QStringLiteral("  墨雀 "));
        QCOMPARE(row.value(QStringLiteral("收件单位")), QString());
        QCOMPARE(row.value(QStringLiteral("收件地址")), QStringLiteral("一行\r\n二行"));
        QCOMPARE(row.value(QStringLiteral("寄件日期")), QStringLiteral("2026-02-03"));
        QCOMPARE(row.value(QStringLiteral("其他选项")), QStringLiteral("到付,保价"));
        QCOMPARE(row.value(QStringLiteral("模板种类")), QStringLiteral("顺丰速运"));
        QCOMPARE(row.value(QStringLiteral("快递单号")), QString());
    }

    void receiverName_data()
    {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("saved");
        QTest::newRow("placeholder") << receiverPlaceholder() << QString();
        QTest::newRow("placeholder with space") << receiverPlaceholder() + QLatin1Char(' ')
                                                << receiverPlaceholder() + QLatin1Char(' ');
        QTest::newRow("name") << QStringLiteral("乙公司") << QStringLiteral("乙公司");
    }
    void receiverName()
    {
        QFETCH(QString, shown);
        QFETCH(QString, saved);
        QCOMPARE(findField(waybillKind().fields, QStringLiteral("zdSKR"))->valueOf(shown), saved);
        QCOMPARE(receiverPlaceholder(), QStringLiteral("单击我或红圈选择收件人...:)"));
    }

    void dateTextRoundTrip()
    {
        QCOMPARE(dateText(QDate(2026, 1, 9)), QStringLiteral("2026-01-09"));
        QCOMPARE(dateFromText(QStringLiteral("2026-01-09")), QDate(2026, 1, 9));
        QVERIFY(!dateFromText(QString()).isValid());
    }

    void options_data()
    {
        QTest::addColumn<QString>("checkBoxs");
        QTest::addColumn<QString>("saved");
        QTest::addColumn<QList<bool>>("ticks");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty template") << "  " << "到付" << QList<bool>{} << "";
        QTest::newRow("two of three") << " 到付,寄付,保价 " << "保价,到付" << QList<bool>{true, false, true} << "到付,保价";
        QTest::newRow("unknown ignored") << "到付,寄付" << "代收,寄付" << QList<bool>{false, true} << "寄付";
        QTest::newRow("none") << "到付,寄付" << "" << QList<bool>{false, false} << "";
    }
    void options()
    {
        QFETCH(QString, checkBoxs);
        QFETCH(QString, saved);
        QFETCH(QList<bool>, ticks);
        QFETCH(QString, text);
        const QStringList captions = optionCaptions(checkBoxs);
        QCOMPARE(captions.size(), ticks.size());
        QCOMPARE(ticksFromOptionsText(captions, saved), ticks);
        QCOMPARE(tickedOptionsText(captions, ticks), text);
    }

    void manyOptions()
    {
        QStringList list;
        for (int i = 0; i < 15; ++i)
            list << QStringLiteral("选项%1").arg(i);
        QCOMPARE(optionCaptions(list.join(QLatin1Char(','))), list);
    }

    void handsetMerge_data()
    {
        QTest::addColumn<QString>("phone");
        QTest::addColumn<QString>("handset");
        QTest::addColumn<bool>("on");
        QTest::addColumn<QString>("result");
        QTest::newRow("on, empty phone") << "" << "13800000000" << true << "13800000000";
        QTest::newRow("on, appends") << "0755-1234" << "13800000000" << true << "0755-1234\\13800000000";
        QTest::newRow("on, already merged") << "0755-1234\\13800000000" << "13800000000" << true
                                            << "0755-1234\\13800000000";
        QTest::newRow("on, phone is handset") << "13800000000" << "13800000000" << true << "13800000000";
        QTest::newRow("on, empty handset") << "0755-1234" << "" << true << "0755-1234";
        QTest::newRow("off, removes") << "0755-1234\\13800000000" << "13800000000" << false << "0755-1234";
        QTest::newRow("off, first only") << "1\\5\\5" << "5" << false << "1\\5";
        QTest::newRow("off, not merged") << "0755-1234" << "13800000000" << false << "0755-1234";
        QTest::newRow("off, empty handset") << "0755\\" << "" << false << "0755\\";
    }
    void handsetMerge()
    {
        QFETCH(QString, phone);
        QFETCH(QString, handset);
        QFETCH(bool, on);
        QFETCH(QString, result);
        QCOMPARE(mergeHandset(phone, handset, on), result);
    }

    void mergeOnThenOffRestoresPhone()
    {
        const QString phone = QStringLiteral("0755-1234");
        const QString merged = mergeHandset(phone, QStringLiteral("139"), true);
        QCOMPARE(mergeHandset(merged, QStringLiteral("139"), true), merged);
        QCOMPARE(mergeHandset(merged, QStringLiteral("139"), false), phone);
    }

    void dateBoxesText_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("month");
        QTest::addColumn<QString>("day");
        QTest::newRow("padded") << QDate(2026, 1, 5) << "2026" << "01" << "05";
        QTest::newRow("two digits") << QDate(2025, 12, 31) << "2025" << "12" << "31";
        QTest::newRow("early year") << QDate(987, 3, 10) << "0987" << "03" << "10";
        // A bill saved with an empty or unreadable date prints no date, not zeros.
        QTest::newRow("no date") << QDate() << "" << "" << "";
        QTest::newRow("not a date") << dateFromText(QStringLiteral("2026/13/45")) << "" << "" << "";
    }
    void dateBoxesText()
    {
        QFETCH(QDate, date);
        QFETCH(QString, year);
        QFETCH(QString, month);
        QFETCH(QString, day);
        const DateBoxes boxes = dateBoxes(date);
        QCOMPARE(boxes.year, year);
        QCOMPARE(boxes.month, month);
        QCOMPARE(boxes.day, day);
    }

    void destinationFollowsCity_data()
    {
        QTest::addColumn<bool>("on");
        QTest::addColumn<QString>("destination");
        QTest::addColumn<QString>("city");
        QTest::addColumn<QString>("afterChange");
        QTest::addColumn<QString>("afterSwitchOn");
        QTest::newRow("on") << true << "广州" << "深圳" << "深圳" << "深圳";
        QTest::newRow("off") << false << "广州" << "深圳" << "广州" << "深圳";
        QTest::newRow("city emptied") << true << "广州" << "" << "" << "广州";
    }
    void destinationFollowsCity()
    {
        QFETCH(bool, on);
        QFETCH(QString, destination);
        QFETCH(QString, city);
        QFETCH(QString, afterChange);
        QFETCH(QString, afterSwitchOn);
        QCOMPARE(destinationAfterCityChange(on, destination, city), afterChange);
        QCOMPARE(destinationWhenOptionOn(destination, city), afterSwitchOn);
    }
};

QTEST_GUILESS_MAIN(TestEntryColumns)
#include "test_entry_columns.moc"
