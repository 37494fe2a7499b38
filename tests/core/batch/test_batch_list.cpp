// The batch print list over ReceiverList and its one-job print: filters,
// in-place edits, clearing, the recipient written over the waybill's values,
// and a job that is cancelled or loses its printer keeping every row.

#include "app/FontSetup.h"
#include "batch/BatchList.h"
#include "batch/BatchPrint.h"
#include "print/PdfPrintDevice.h"
#include "templates/PrintItemStore.h"
#include "support/PdfText.h"
#include "support/TestData.h"

#include <QFile>
#include <QSqlQuery>
#include <QTest>

using namespace moque;
using batch::BatchList;
using batch::ListFilter;
using batch::Receiver;
using batch::RowChoice;
using Row = QHash<QString, QString>;

namespace {

// A PDF that stops taking pages after a number of them, as a printer that jams mid-job.
class JammingDevice : public print::PdfPrintDevice
{
public:
    JammingDevice(const QString &path, int pagesBeforeJam) : PdfPrintDevice(path), m_left(pagesBeforeJam) {}
    bool newPage() override
    {
        if (--m_left < 1)
            return false;
        return PdfPrintDevice::newPage();
    }
    QString errorText() const override { return QStringLiteral("卡纸"); }

private:
    int m_left;
};

QStringList contacts(const QList<Receiver> &rows)
{
    QStringList names;
    for (const Receiver &r : rows)
        names << r.value(QStringLiteral("联系人"));
    return names;
}

} // namespace

class TestBatchList : public QObject
{
    Q_OBJECT

    test::TestData m_data;
    QTemporaryDir m_out;

    BatchList list() const { return BatchList(m_data.db()); }

    // Three recipients of the default list, and one of another group.
    void fillList()
    {
        QVERIFY(BatchList::clear(m_data.core->store()));
        BatchList l = list();
        QVERIFY(l.add({{"联系人", "张三"}, {"全称", "星河贸易"}, {"电话", "0755-1"}, {"省", "广东"}, {"市", "深圳"},
                       {"地址", "科技路1号"}, {"件数", "3"}, {"批打分组", ""}}));
        QVERIFY(l.add({{"联系人", "李四"}, {"全称", "月光商行"}, {"电话", "021-2"}, {"手机", "13800000002"},
                       {"省", "上海"}, {"市", "上海"}, {"批打分组", "  "}}));
        QVERIFY(l.add({{"联系人", "王五"}, {"全称", "100%纯棉"}, {"省", "广东"}, {"市", "广州"}, {"目的站", "广州站"}}));
        QVERIFY(l.add({{"联系人", "赵六"}, {"全称", "星河贸易"}, {"省", "北京"}, {"市", "北京"}, {"地址", "人民路2号"},
                       {"批打分组", "分组甲"}}));
    }

    // The receiver name item of a template, with the template's offset: its place in 0.1 mm.
    QPoint receiverItemPlace(int templateId)
    {
        QSqlQuery q(m_data.db());
        q.prepare("select c.CtlX,c.CtlY,t.XMove,t.YMove from ckControl c join CKTypeTable t on "
                  "t.CheckTypeID=c.CheckTypeID where c.CheckTypeID=? and upper(c.CtlName)='ZDSKR'");
        q.addBindValue(templateId);
        if (!q.exec() || !q.next())
            return {};
        return {q.value(0).toInt() + q.value(2).toInt(), q.value(1).toInt() + q.value(3).toInt()};
    }

    batch::WaybillSide defaultSide()
    {
        QString error;
        const auto side = batch::waybillSideFor(*m_data.core, QString(), 0, &error);
        if (!side)
            qWarning("%s", qPrintable(error));
        return side.value_or(batch::WaybillSide{});
    }

private Q_SLOTS:
    void initTestCase()
    {
        app::installFontSubstitutions();
        QVERIFY(m_data.open());
        QVERIFY(m_out.isValid());
    }

    void init()
    {
        fillList();
        m_data.dialogs.clear();
    }

    void filters_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<bool>("exact");
        QTest::addColumn<bool>("descending");
        QTest::addColumn<QStringList>("listed");

        const QString combined = QStringLiteral("联系人|全称|电话");
        QTest::newRow("default list: blank, spaces and null groups") << "" << combined << "" << false << false
                                                                      << QStringList{"张三", "李四", "王五"};
        QTest::newRow("倒序") << "" << combined << "" << false << true << QStringList{"王五", "李四", "张三"};
        QTest::newRow("包含 over the combined entry") << "" << combined << "星河" << false << false
                                                      << QStringList{"张三"};
        QTest::newRow("等于 needs the whole text") << "" << combined << "星河" << true << false << QStringList{};
        QTest::newRow("等于 the whole text") << "" << combined << "星河贸易" << true << false << QStringList{"张三"};
        QTest::newRow("keyword trimmed") << "" << combined << "  李四 " << true << false << QStringList{"李四"};
        QTest::newRow("全部列表 takes every group") << "全部列表" << combined << "星河" << false << false
                                                   << QStringList{"张三", "赵六"};
        QTest::newRow("one group") << "分组甲" << combined << "" << false << false << QStringList{"赵六"};
        QTest::newRow("电话|手机") << "" << "电话|手机" << "138" << false << false << QStringList{"李四"};
        QTest::newRow("省|市|镇区") << "" << "省|市|镇区" << "广东" << false << false
                                    << QStringList{"张三", "王五"};
        QTest::newRow("a % is a character") << "" << combined << "%" << false << false << QStringList{"王五"};
        QTest::newRow("目的地 is 目的站") << "" << "目的地" << "广州站" << true << false << QStringList{"王五"};
        QTest::newRow("a quote is a character") << "" << combined << "x' or '1'='1" << false << false
                                                << QStringList{};
        QTest::newRow("a keyword over no column finds nothing") << "" << "no such column" << "张三" << false
                                                               << false << QStringList{};
    }

    void filters()
    {
        QFETCH(QString, group);
        QFETCH(QString, entry);
        QFETCH(QString, keyword);
        QFETCH(bool, exact);
        QFETCH(bool, descending);
        QFETCH(QStringList, listed);
        ListFilter filter;
        filter.group = group;
        filter.filterEntry = entry;
        filter.keyword = keyword;
        filter.match = exact ? history::MatchMode::Exact : history::MatchMode::Contains;
        filter.descending = descending;
        QString error;
        const auto rows = list().list(filter, &error);
        QVERIFY2(rows, qPrintable(error));
        QCOMPARE(contacts(*rows), listed);
    }

    void filterEntriesStartWithTheCombinedOnes()
    {
        QCOMPARE(BatchList::filterEntries({"ID", "全称", "联系人"}),
                 (QStringList{"联系人|全称|电话", "电话|手机", "省|市|镇区", "全称", "联系人"}));
    }

    void addNeedsContactCompanyOrAddress_data()
    {
        QTest::addColumn<Row>("values");
        QTest::addColumn<bool>("added");
        QTest::newRow("only an address") << Row{{"地址", "人民路1号"}} << true;
        QTest::newRow("only a company") << Row{{"全称", "星河贸易"}} << true;
        QTest::newRow("only a contact") << Row{{"联系人", "张三"}} << true;
        QTest::newRow("phone and province only") << Row{{"电话", "123"}, {"省", "广东"}} << false;
        QTest::newRow("an unknown column") << Row{{"联系人", "张三"}, {"生日", "1月1日"}} << false;
    }

    void addNeedsContactCompanyOrAddress()
    {
        QFETCH(Row, values);
        QFETCH(bool, added);
        const int before = list().count();
        BatchList l = list();
        QCOMPARE(l.add(values) > 0, added);
        QCOMPARE(list().count(), before + (added ? 1 : 0));
    }

    void editCell_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("stored");
        QTest::addColumn<QString>("storedIn");
        QTest::newRow("address") << "地址" << "人民路1号" << true << "地址";
        QTest::newRow("a quote in the text") << "全称" << "O'Brien & Co" << true << "全称";
        QTest::newRow("emptied") << "电话" << "" << true << "电话";
        QTest::newRow("目的地 is 目的站") << "目的地" << "深圳站" << true << "目的站";
        QTest::newRow("the ID is not editable") << "ID" << "99" << false << "";
        QTest::newRow("an unknown column") << "生日" << "x" << false << "";
        QTest::newRow("a column name made of SQL") << "地址=1,全称" << "x" << false << "";
    }

    void editCell()
    {
        QFETCH(QString, column);
        QFETCH(QString, text);
        QFETCH(bool, stored);
        QFETCH(QString, storedIn);
        BatchList l = list();
        const auto rows = l.list({});
        QVERIFY(rows && rows->size() == 3);
        const Receiver before = rows->at(1);
        QString error;
        QCOMPARE(l.setCell(before.id, column, text, &error), stored);
        QCOMPARE(error.isEmpty(), stored);
        const auto after = l.row(before.id);
        QVERIFY(after);
        for (auto it = before.values.begin(); it != before.values.end(); ++it)
            QCOMPARE(after->value(it.key()), stored && it.key() == storedIn ? text : it.value());
        // The other rows keep their values.
        QCOMPARE(l.row(rows->at(0).id)->values, rows->at(0).values);
    }

    void editOfAMissingRowFails()
    {
        BatchList l = list();
        QString error;
        QVERIFY(!l.setCell(9999, QStringLiteral("地址"), QStringLiteral("x"), &error));
        QCOMPARE(error, QStringLiteral("调用错误，找不到记录，编号=9999"));
    }

    void deleteTakesOnlyTheRowsGiven()
    {
        BatchList l = list();
        const auto rows = l.list({});
        QVERIFY(rows);
        QCOMPARE(l.remove({rows->at(0).id, rows->at(2).id, 9999}), 2);
        QCOMPARE(contacts(*l.list({})), QStringList{"李四"});
        QCOMPARE(l.count(), 2); // the other group's row stays
    }

    void clearEmptiesEveryGroupAndRestartsTheNumbers()
    {
        BatchList l = list();
        QVERIFY(l.count() == 4);
        QVERIFY(BatchList::clear(m_data.core->store()));
        QCOMPARE(l.count(), 0);
        QCOMPARE(l.add({{"联系人", "孙七"}}), qint64(1));
        QCOMPARE(l.add({{"联系人", "周八"}}), qint64(2));
    }

    void fillColumn_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QStringList>("parts");
        QTest::addColumn<int>("changed"); // -1: refused
        QTest::addColumn<QString>("error");
        QTest::addColumn<QStringList>("values"); // the target of every row, every group, by ID
        QTest::addColumn<int>("nulls");

        QTest::newRow("columns joined, every group; a null column gives null")
            << "@地址" << QStringList{"@省", "@市", "@地址"} << 4 << QString()
            << QStringList{"广东深圳科技路1号", "", "", "北京北京人民路2号"} << 2;
        QTest::newRow("text before and after a column")
            << "@内件说明" << QStringList{"光盘数:", "@件数", "个"} << 4 << QString()
            << QStringList{"光盘数:3个", "", "", ""} << 3;
        QTest::newRow("three empty parts empty the column") << "@备注" << QStringList{"", "", ""} << 4 << QString()
                                                            << QStringList{"", "", "", ""} << 0;
        QTest::newRow("fixed text with a quote") << "@备注" << QStringList{"O'Brien", "", ""} << 4 << QString()
                                                 << QStringList{"O'Brien", "O'Brien", "O'Brien", "O'Brien"} << 0;
        QTest::newRow("no target") << "@" << QStringList{"x", "", ""} << -1 << "请选择要批量改写列~"
                                   << QStringList{"", "", "", ""} << 4;
        QTest::newRow("the ID") << "@ID" << QStringList{"1", "", ""} << -1 << "不能修改这一列：@ID"
                                << QStringList{"", "", "", ""} << 4;
        QTest::newRow("an unknown part column") << "@备注" << QStringList{"@生日", "", ""} << -1
                                                << "没有这一列：@生日" << QStringList{"", "", "", ""} << 4;
    }

    void fillColumn()
    {
        QFETCH(QString, target);
        QFETCH(QStringList, parts);
        QFETCH(int, changed);
        QFETCH(QString, error);
        QFETCH(QStringList, values);
        QFETCH(int, nulls);
        BatchList l = list();
        QString message;
        QCOMPARE(l.fillColumn(target, parts, &message), changed);
        QCOMPARE(message, error);
        const QString column = changed < 0 ? QStringLiteral("备注") : QString(target).remove('@');
        ListFilter all;
        all.group = ListFilter::allGroups();
        const auto rows = l.list(all);
        QVERIFY(rows);
        QStringList read;
        for (const Receiver &r : *rows)
            read << r.value(column);
        QCOMPARE(read, values);
        QCOMPARE(m_data.scalar(QStringLiteral("select count(*) from ReceiverList where \"%1\" is null").arg(column)).toInt(),
                 nulls);
    }

    void fillDictionaryValues_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QStringList>("offered");
        QTest::newRow("备注: the remark texts") << "@备注" << QStringList{"FragileNote"};
        QTest::newRow("内件说明: the goods texts") << "@内件说明" << QStringList{"BooksGoods"};
        QTest::newRow("物品内容: the goods texts") << "@物品内容" << QStringList{"BooksGoods"};
        QTest::newRow("any other column: none") << "@地址" << QStringList{};
    }

    void fillDictionaryValues()
    {
        QFETCH(QString, target);
        QFETCH(QStringList, offered);
        QVERIFY(m_data.exec(QStringLiteral("delete from DMTable where DMName in ('备注','物品内容','地址')")));
        QVERIFY(m_data.exec(QStringLiteral("insert into DMTable (CheckTypeId,DMName,DMValue) values (0,'备注','FragileNote')")));
        QVERIFY(m_data.exec(QStringLiteral("insert into DMTable (CheckTypeId,DMName,DMValue) values (3,'备注','FragileNote')")));
        QVERIFY(m_data.exec(QStringLiteral("insert into DMTable (CheckTypeId,DMName,DMValue) values (0,'物品内容','BooksGoods')")));
        QVERIFY(m_data.exec(QStringLiteral("insert into DMTable (CheckTypeId,DMName,DMValue) values (0,'地址','NotOffered')")));
        QCOMPARE(list().fillDictionaryValues(target), offered);
    }

    void chosenRows_data()
    {
        QTest::addColumn<int>("choice");
        QTest::addColumn<QList<int>>("selected"); // positions in the list
        QTest::addColumn<int>("n");
        QTest::addColumn<QList<int>>("printed");
        QTest::newRow("all") << int(RowChoice::All) << QList<int>{} << 0 << QList<int>{0, 1, 2};
        QTest::newRow("selected, in the order selected")
            << int(RowChoice::Selected) << QList<int>{2, 0} << 0 << QList<int>{2, 0};
        QTest::newRow("a row selected twice prints once")
            << int(RowChoice::Selected) << QList<int>{1, 1} << 0 << QList<int>{1};
        QTest::newRow("the first 2") << int(RowChoice::FirstN) << QList<int>{} << 2 << QList<int>{0, 1};
        QTest::newRow("the first 5 of 3") << int(RowChoice::FirstN) << QList<int>{} << 5 << QList<int>{0, 1, 2};
        QTest::newRow("the first 0") << int(RowChoice::FirstN) << QList<int>{} << 0 << QList<int>{};
    }

    void chosenRows()
    {
        QFETCH(int, choice);
        QFETCH(QList<int>, selected);
        QFETCH(int, n);
        QFETCH(QList<int>, printed);
        const auto rows = list().list({});
        QVERIFY(rows);
        QList<qint64> selectedIds;
        for (int i : selected)
            selectedIds << rows->at(i).id;
        selectedIds << 9999; // not listed: never printed
        QList<qint64> expected;
        for (int i : printed)
            expected << rows->at(i).id;
        QCOMPARE(BatchList::chosenRows(*rows, RowChoice(choice), selectedIds, n), expected);
    }

    void billFor_data()
    {
        QTest::addColumn<Row>("row");
        QTest::addColumn<QStringList>("grid");
        QTest::addColumn<bool>("handsetShown");
        QTest::addColumn<bool>("destinationIsCity");
        QTest::addColumn<QString>("amountFormat");
        QTest::addColumn<Row>("expected"); // control -> text

        const QStringList allColumns = BatchList::columns();
        QStringList noWeight = allColumns;
        noWeight.removeAll(QStringLiteral("重量"));
        QStringList weightFirst = noWeight;
        weightFirst.prepend(QStringLiteral("重量"));
        const Row phones{{"联系人", "张三"}, {"电话", "0755-1"}, {"手机", "13800000001"}};

        QTest::newRow("handset box shown") << phones << allColumns << true << false << ""
                                           << Row{{"zdskrDH", "0755-1"}, {"skrHandset", "13800000001"}};
        QTest::newRow("handset box hidden") << phones << allColumns << false << false << ""
                                            << Row{{"zdskrDH", "0755-1/13800000001"}, {"skrHandset", "13800000001"}};
        QTest::newRow("handset box hidden, no phone")
            << Row{{"联系人", "张三"}, {"手机", "13800000001"}} << allColumns << false << false << ""
            << Row{{"zdskrDH", "13800000001"}};
        QTest::newRow("recipient block always")
            << Row{{"全称", "星河贸易"}, {"联系人", "张三"}, {"国家", "中国"}, {"省", "广东"}, {"市", "深圳"},
                   {"镇区", "南山"}, {"地址", "科技路1号"}, {"邮编", "518000"}}
            << QStringList{"ID"} << true << false << ""
            << Row{{"zdSKR", "星河贸易"}, {"zdSKRLXR", "张三"}, {"edtCountryDest", "中国"}, {"zdSKRS", "广东"},
                   {"zdSKRXS", "深圳"}, {"edtSJRTown", "南山"}, {"zdSkrDZ", "科技路1号"}, {"zdSKRYB", "518000"}};
        QTest::newRow("weight column shown") << Row{{"联系人", "张三"}, {"重量", "2.5"}} << allColumns << true
                                             << false << "" << Row{{"edtWeight", "2.5"}};
        QTest::newRow("weight column hidden keeps the window's")
            << Row{{"联系人", "张三"}, {"重量", "2.5"}} << noWeight << true << false << "" << Row{{"edtWeight", "9"}};
        QTest::newRow("weight column first keeps the window's")
            << Row{{"联系人", "张三"}, {"重量", "2.5"}} << weightFirst << true << false << ""
            << Row{{"edtWeight", "9"}};
        QTest::newRow("contents and fees")
            << Row{{"联系人", "张三"}, {"内件说明", "文件"}, {"件数", "2"}, {"费用", "12"}, {"备注", "易碎"},
                   {"代收金额", "100"}, {"保价费", "3"}, {"自定义5", "x"}}
            << allColumns << true << false << ""
            << Row{{"zdWPNR", "文件"}, {"edtAmount", "2"}, {"edtMoney", "12"}, {"zdBz", "易碎"},
                   {"zdDaisJE", "100"}, {"zdBJFee", "3"}, {"zdDef5", "x"}};
        QTest::newRow("capital amount of digits is copied")
            << Row{{"联系人", "张三"}, {"金额大写1", "120"}} << allColumns << true << false << "打印小写金额"
            << Row{{"zdJEDX1", "120"}};
        QTest::newRow("capital amount not digits empties the box")
            << Row{{"联系人", "张三"}, {"金额大写1", "12.5"}} << allColumns << true << false << "打印小写金额"
            << Row{{"zdJEDX1", ""}};
        QTest::newRow("capital amount converted on leaving")
            << Row{{"联系人", "张三"}, {"金额大写1", "120"}} << allColumns << true << false << "打印中国传统大写金额"
            << Row{{"zdJEDX1", "壹佰贰拾元整"}};
        QTest::newRow("destination from the list") << Row{{"联系人", "张三"}, {"目的站", "宝安站"}, {"市", "深圳"}}
                                                   << allColumns << true << false << "" << Row{{"cbDestSite", "宝安站"}};
        QTest::newRow("目的站=城市 follows the city")
            << Row{{"联系人", "张三"}, {"目的站", "宝安站"}, {"市", "深圳"}} << allColumns << true << true << ""
            << Row{{"cbDestSite", "深圳"}};
        QTest::newRow("destination hidden keeps the window's")
            << Row{{"联系人", "张三"}, {"目的站", "宝安站"}, {"市", "深圳"}} << QStringList{"ID", "联系人"} << true
            << false << "" << Row{{"cbDestSite", "北京站"}};
    }

    void billFor()
    {
        QFETCH(Row, row);
        QFETCH(QStringList, grid);
        QFETCH(bool, handsetShown);
        QFETCH(bool, destinationIsCity);
        QFETCH(QString, amountFormat);
        QFETCH(Row, expected);
        batch::WaybillSide side;
        side.values.set(QStringLiteral("zdHKR"), QStringLiteral("我方公司"));
        side.values.set(QStringLiteral("skrHandset"), QString(), handsetShown);
        side.values.set(QStringLiteral("edtWeight"), QStringLiteral("9"));
        side.values.set(QStringLiteral("cbDestSite"), QStringLiteral("北京站"));
        side.destinationIsCity = destinationIsCity;
        side.amountFormat = amountFormat;
        Receiver receiver;
        receiver.id = 1;
        receiver.values = row;
        const print::MapValueSource bill = batch::billFor(side, receiver, grid);
        for (auto it = expected.begin(); it != expected.end(); ++it)
            QCOMPARE(bill.value(it.key()).text, it.value());
        QCOMPARE(bill.value(QStringLiteral("zdHKR")).text, QStringLiteral("我方公司"));
        QCOMPARE(bill.value(QStringLiteral("skrHandset")).shown, handsetShown);
    }

    void aMissingRowEmptiesTheRecipient()
    {
        batch::WaybillSide side;
        side.values.set(QStringLiteral("zdSKR"), QStringLiteral("上一位"));
        side.values.set(QStringLiteral("zdHKR"), QStringLiteral("我方公司"));
        const print::MapValueSource bill = batch::billFor(side, std::nullopt, BatchList::columns());
        QCOMPARE(bill.value(QStringLiteral("zdSKR")).text, QString());
        QCOMPARE(bill.value(QStringLiteral("zdHKR")).text, QStringLiteral("我方公司"));
    }

    void printPutsEachReceiverAtItsItemPlace()
    {
        QVERIFY(BatchList::clear(m_data.core->store()));
        BatchList l = list();
        const QStringList names{"XingheTrading", "MoonShop", "SunriseCo"};
        for (const QString &name : names)
            QVERIFY(l.add({{"全称", name}, {"联系人", "Zhang"}}));
        const batch::WaybillSide side = defaultSide();
        QVERIFY(side.templateId > 0);
        QVERIFY(side.values.value(QStringLiteral("zdSKR")).shown);
        const QPoint place = receiverItemPlace(side.templateId);
        QVERIFY(!place.isNull());

        const QString path = m_out.filePath(QStringLiteral("three.pdf"));
        print::PdfPrintDevice device(path);
        QList<int> progress;
        batch::BatchPrint job(*m_data.core, device);
        const batch::BatchResult result =
            job.print(side, BatchList::chosenRows(*l.list({}), RowChoice::All), BatchList::columns(),
                      [&](int done, int total) {
                          progress << done;
                          return total == 3;
                      });
        QCOMPARE(int(result.status), int(batch::BatchResult::Status::Printed));
        QCOMPARE(result.printed, 3);
        QCOMPARE(progress, (QList<int>{0, 1, 2, 3}));
        const QList<test::PdfPage> pages = test::readPdfPages(path);
        QCOMPARE(pages.size(), 3);
        const double tolerance = 72.0 / 254.0;
        for (int i = 0; i < pages.size(); ++i) {
            const auto &words = pages[i].words;
            const auto it = std::find_if(words.begin(), words.end(),
                                         [&](const test::PdfWord &w) { return w.text == names[i]; });
            QVERIFY2(it != words.end(), qPrintable(names[i]));
            QVERIFY2(qAbs(it->x - test::tenthsToPoints(place.x())) <= tolerance, qPrintable(QString::number(it->x)));
            QVERIFY2(qAbs(it->y - test::tenthsToPoints(place.y())) <= tolerance, qPrintable(QString::number(it->y)));
        }
        QCOMPARE(l.count(), 3);
    }

    void aMissingRowPrintsAnEmptyRecipient()
    {
        const batch::WaybillSide side = defaultSide();
        const QString path = m_out.filePath(QStringLiteral("missing.pdf"));
        print::PdfPrintDevice device(path);
        const auto rows = list().list({});
        QVERIFY(rows);
        const batch::BatchResult result =
            batch::BatchPrint(*m_data.core, device).print(side, {rows->at(0).id, 9999}, BatchList::columns());
        QCOMPARE(int(result.status), int(batch::BatchResult::Status::Printed));
        QCOMPARE(result.printed, 2);
        QCOMPARE(result.missing, QList<qint64>{9999});
        QVERIFY(m_data.dialogs.texts().contains(QStringLiteral("调用错误，找不到记录，编号=9999")));
        QCOMPARE(test::readPdfPages(path).size(), 2);
    }

    void anInterruptedJobKeepsEveryRow_data()
    {
        QTest::addColumn<int>("cancelAt"); // -1: never
        QTest::addColumn<int>("jamAfter"); // pages the device takes; 0: never jams
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        QTest::newRow("cancelled before the second bill") << 1 << 0 << int(batch::BatchResult::Status::Cancelled)
                                                          << QString();
        QTest::newRow("cancelled after the last bill") << 3 << 0 << int(batch::BatchResult::Status::Cancelled)
                                                       << QString();
        QTest::newRow("printer jams on the second page") << -1 << 1 << int(batch::BatchResult::Status::Failed)
                                                         << QStringLiteral("卡纸");
        QTest::newRow("printer jams on the third page") << -1 << 2 << int(batch::BatchResult::Status::Failed)
                                                        << QStringLiteral("卡纸");
    }

    void anInterruptedJobKeepsEveryRow()
    {
        QFETCH(int, cancelAt);
        QFETCH(int, jamAfter);
        QFETCH(int, status);
        QFETCH(QString, message);
        const batch::WaybillSide side = defaultSide();
        const QString path = m_out.filePath(QStringLiteral("interrupted.pdf"));
        QFile::remove(path);
        JammingDevice device(path, jamAfter > 0 ? jamAfter : 1000);
        const auto rows = list().list({});
        QVERIFY(rows);
        const QList<qint64> ids = BatchList::chosenRows(*rows, RowChoice::All);
        const batch::BatchResult result = batch::BatchPrint(*m_data.core, device)
                                              .print(side, ids, BatchList::columns(),
                                                     [&](int done, int) { return done != cancelAt; });
        QCOMPARE(int(result.status), status);
        QCOMPARE(result.printed, 0);
        QVERIFY(!QFile::exists(path));
        if (!message.isEmpty())
            QVERIFY2(m_data.dialogs.lastText().contains(message), qPrintable(m_data.dialogs.texts().join('|')));
        else
            QVERIFY2(m_data.dialogs.shown.isEmpty(), qPrintable(m_data.dialogs.texts().join('|')));
        QCOMPARE(list().count(), 4);
        QCOMPARE(*list().list({}), *rows);
    }

    void printerSetupComesBeforeTheJob_data()
    {
        QTest::addColumn<bool>("optionOn");
        QTest::addColumn<bool>("setupAnswer");
        QTest::addColumn<int>("setupsShown");
        QTest::addColumn<int>("status");
        QTest::newRow("option off: no set-up") << false << false << 0 << int(batch::BatchResult::Status::Printed);
        QTest::newRow("option on, set up") << true << true << 1 << int(batch::BatchResult::Status::Printed);
        QTest::newRow("option on, cancelled") << true << false << 1 << int(batch::BatchResult::Status::Failed);
    }

    void printerSetupComesBeforeTheJob()
    {
        QFETCH(bool, optionOn);
        QFETCH(bool, setupAnswer);
        QFETCH(int, setupsShown);
        QFETCH(int, status);
        const batch::WaybillSide side = defaultSide();
        const QString path = m_out.filePath(QStringLiteral("setup.pdf"));
        QFile::remove(path);
        print::PdfPrintDevice device(path);
        const auto rows = list().list({});
        QVERIFY(rows);
        m_data.core->session().params.popPrinterSetup = optionOn;
        int shown = 0;
        batch::BatchPrint job(*m_data.core, device);
        job.setPrinterSetup([&] {
            ++shown;
            // Nothing is on the device yet when the set-up is shown.
            return !QFile::exists(path) && setupAnswer;
        });
        const batch::BatchResult result = job.print(side, BatchList::chosenRows(*rows, RowChoice::All), BatchList::columns());
        m_data.core->session().params.popPrinterSetup = false;
        QCOMPARE(shown, setupsShown);
        QCOMPARE(int(result.status), status);
        QCOMPARE(QFile::exists(path), status == int(batch::BatchResult::Status::Printed));
        QCOMPARE(result.printed, status == int(batch::BatchResult::Status::Printed) ? int(rows->size()) : 0);
    }

    void senderFromTheAddressBook()
    {
        QSqlQuery q(m_data.db());
        QVERIFY(q.exec("insert into CKPersonalInfoTable (全称,联系人,地址) values ('寄件公司','钱九','和平路2号')"));
        const int id = q.lastInsertId().toInt();
        QString error;
        const auto side = batch::waybillSideFor(*m_data.core, QString(), id, &error);
        QVERIFY2(side, qPrintable(error));
        QCOMPARE(side->values.value(QStringLiteral("zdHKR")).text, QStringLiteral("寄件公司"));
        QCOMPARE(side->values.value(QStringLiteral("zdHKRLXR")).text, QStringLiteral("钱九"));
        QCOMPARE(side->values.value(QStringLiteral("zdHkrDZ")).text, QStringLiteral("和平路2号"));
        QVERIFY(!batch::waybillSideFor(*m_data.core, QString(), 99999, &error));
        QVERIFY(!batch::waybillSideFor(*m_data.core, QStringLiteral("没有这个模板"), 0, &error));
    }
};

QTEST_MAIN(TestBatchList)
#include "test_batch_list.moc"
