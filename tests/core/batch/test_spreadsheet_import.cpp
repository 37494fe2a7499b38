#include "batch/ColumnMatching.h"
#include "batch/ImportLog.h"
#include "batch/RecipientImport.h"
#include "sheets/SpreadsheetReader.h"
#include "sheets/XlsxWriter.h"
#include "support/TestData.h"
#include "support/TestFiles.h"

#include <QSqlQuery>
#include <QTest>

using namespace moque;
using namespace moque::batch;
using Outcome = RecipientImportResult::Outcome;
using Rows = QList<QStringList>;

Q_DECLARE_METATYPE(moque::batch::ImportTarget)

namespace {

const QString kGbkOrders = QStringLiteral(MOQUE_IMPORT_FIXTURES "/orders-gbk.csv");

// The rows of the GBK fixture, as text.
const Rows kOrders{
    {"收货人", "联系方式", "手机号码", "收件地址", "省份", "城市", "区县", "公司名称", "宝贝标题", "数量", "订单号"},
    {"张三", "0755-1234567", "'13800138000", "深圳市南山区科技园1号", "广东省", "深圳市", "南山区", "甲公司", "手机壳", "2", "A001"},
    {"李四", "", "13900139000", "北京市朝阳区建国路2号", "北京", "北京市", "朝阳区", "", "数据线", "1", "A002"},
    {"", "", "13700137000", "上海市浦东新区世纪大道3号", "", "", "", "", "", "", ""},
    {"张三", "0755-1234567", "13800138000", "深圳市南山区科技园1号", "广东省", "深圳市", "南山区", "甲公司", "耳机", "1", "A003"}};

// The matches in column order, as "item=column".
QString mappingText(const ColumnMapping &mapping)
{
    QMap<int, QString> byColumn;
    for (auto it = mapping.cbegin(); it != mapping.cend(); ++it)
        byColumn.insert(it.value(), it.key() + QLatin1Char('=') + QString::number(it.value()));
    return byColumn.values().join(QLatin1Char(' '));
}

QString entriesText(const ImportLog::Entries &entries)
{
    QStringList parts;
    for (const auto &entry : entries)
        parts << entry.first + QLatin1Char('=') + entry.second;
    return parts.join(QLatin1Char('|'));
}

} // namespace

class TestSpreadsheetImport : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::TestData> m_data;

    QString logPath() const { return m_data->root() + QStringLiteral("ImportLog.txt"); }
    RecipientImport importer() { return RecipientImport(m_data->db(), m_data->dialogs, logPath()); }
    static RecipientImportOptions optionsFor(ImportTarget target)
    {
        RecipientImportOptions options;
        options.target = target;
        options.confirmWithoutCriteria = false;
        if (target == ImportTarget::AddressBook)
            options.duplicates = DuplicateCriteria::all();
        return options;
    }
    ColumnMapping matched(const Rows &rows, ImportTarget target) const
    {
        return autoMatch(readTitles(rows.value(0)), MatchColumnStore(m_data->db()).aliasLists(), target);
    }
    // The given columns of every row of the table, joined by "|", in store order.
    QStringList table(const QString &name, const QStringList &columns) const
    {
        QSqlQuery q(m_data->db());
        q.exec(QStringLiteral("select %1 from %2 order by ID").arg(columns.join(QLatin1Char(',')), name));
        QStringList rows;
        while (q.next()) {
            QStringList values;
            for (int i = 0; i < columns.size(); ++i)
                values << q.value(i).toString();
            rows << values.join(QLatin1Char('|'));
        }
        return rows;
    }
    int count(const QString &name) const
    {
        return m_data->scalar(QStringLiteral("select count(*) from ") + name).toInt();
    }

private Q_SLOTS:
    void init()
    {
        m_data = std::make_unique<test::TestData>();
        QVERIFY(m_data->open());
        QVERIFY(m_data->exec(QStringLiteral("delete from ReceiverList")));
        QVERIFY(m_data->exec(QStringLiteral("delete from CKPersonalInfoTable")));
    }

    void matchColumnOK_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("aliases");
        QTest::addColumn<bool>("matches");
        QTest::newRow("equal") << "收货人" << "联系人,收货人" << true;
        QTest::newRow("equal ignores case") << "Name" << "name,fullname" << true;
        QTest::newRow("equal is whole") << "收货人电话" << "收货人" << false;
        QTest::newRow("star: contains") << "买家姓名(必填)" << "*姓名*" << true;
        QTest::newRow("star anywhere means contains") << "客户姓名" << "姓*名" << true;
        QTest::newRow("contains keeps case") << "Mobile Phone" << "*mobile*" << false;
        QTest::newRow("only stars match nothing") << "任何" << "**,*" << false;
        QTest::newRow("empty aliases are ignored") << "电话" << ",,电话" << true;
        QTest::newRow("empty list") << "电话" << "" << false;
        QTest::newRow("later alias") << "我的公司" << "全称,*公司*" << true;
    }
    void matchColumnOK()
    {
        QFETCH(QString, title);
        QFETCH(QString, aliases);
        QFETCH(bool, matches);
        QCOMPARE(MatchColumnOK(title, aliases), matches);
    }

    void titles()
    {
        QStringList row{" 收货人 ", "", "电话"};
        for (int i = 3; i < 70; ++i)
            row << QStringLiteral("T%1").arg(i + 1);
        const QList<SheetTitle> titles = readTitles(row);
        QCOMPARE(titles.size(), 60); // 61 columns read, the empty one left out
        QCOMPARE(titles.first().entry(), QStringLiteral("列1:收货人"));
        QCOMPARE(titles.at(1).entry(), QStringLiteral("列3:电话"));
        QCOMPARE(titles.last().column, 61);
    }

    void autoMatching_data()
    {
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<ImportTarget>("target");
        QTest::addColumn<bool>("typeFixed");
        QTest::addColumn<QString>("mapping");
        QTest::newRow("会员ID is the full name's first alias")
            << QStringList{"会员ID", "订单号"} << ImportTarget::BatchList << true << "单位全称=1 订单号=2";
        QTest::newRow("城市 is the city before the destination")
            << QStringList{"城市", "城市"} << ImportTarget::BatchList << true << "市=1 目的站=2";
        QTest::newRow("a column goes to one item")
            << QStringList{"收件电话", "联系电话"} << ImportTarget::BatchList << true << "电话=1";
        QTest::newRow("batch items are not the book's")
            << QStringList{"宝贝标题", "分组", "助记码", "订单号"} << ImportTarget::AddressBook << true << "批打分组=2 助记码=3";
        QTest::newRow("the book's items are not the batch list's")
            << QStringList{"宝贝标题", "助记码", "数量"} << ImportTarget::BatchList << true << "物品内容=1 件数=3";
        QTest::newRow("party type from a column when not fixed")
            << QStringList{"单位类型", "姓名"} << ImportTarget::AddressBook << false << "单位类型=1 联系人=2";
        QTest::newRow("party type fixed") << QStringList{"单位类型", "姓名"} << ImportTarget::AddressBook << true
                                          << "联系人=2";
        QTest::newRow("the fixture's titles")
            << kOrders.first() << ImportTarget::BatchList << true
            << "联系人=1 电话=2 手机=3 地址=4 省=5 市=6 镇区=7 单位全称=8 物品内容=9 件数=10 订单号=11";
    }
    void autoMatching()
    {
        QFETCH(QStringList, titles);
        QFETCH(ImportTarget, target);
        QFETCH(bool, typeFixed);
        QFETCH(QString, mapping);
        const auto found = autoMatch(readTitles(titles), MatchColumnStore(m_data->db()).aliasLists(), target, typeFixed);
        QCOMPARE(mappingText(found), mapping);
    }

    void aliasLists()
    {
        QVERIFY(m_data->exec(QStringLiteral("update MatchColumn set ItemName='会员Id' where ItemName='会员ID'")));
        QVERIFY(m_data->exec(QStringLiteral("update MatchColumn set SourceName='' where ItemName='助记码'")));
        const AliasLists lists = MatchColumnStore(m_data->db()).aliasLists();
        QCOMPARE(lists.value(item::memberId), QStringLiteral("QQ,旺旺,会员ID,客户编号"));
        QCOMPARE(lists.value(item::zipCode), item::zipCode);     // no row
        QCOMPARE(lists.value(item::inputCode), item::inputCode); // an empty list
        QCOMPARE(lists.value(item::fullName), QStringLiteral("会员ID,买家会员名,全称,单位全称,收件单位,收件公司,*公司*,企业名称"));
    }

    void cleanAliases_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("full-width commas") << " 联系人，收货人 " << "联系人,收货人";
        QTest::newRow("quotes and question marks") << "收'货?人" << "收货人";
        QTest::newRow("doubled commas") << "a,,,,b" << "a,b";
        QTest::newRow("nothing left") << " '? " << "";
    }
    void cleanAliases()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QCOMPARE(MatchColumnStore::cleanAliases(typed), stored);
    }

    void aliasEditing()
    {
        const MatchColumnStore store(m_data->db());
        const int rows = store.rows().size();
        QCOMPARE(rows, 34);
        const int id = store.addRow(item::zipCode, QStringLiteral("邮政编码"));
        QVERIFY(id > 0);
        QCOMPARE(store.aliasLists().value(item::zipCode), QStringLiteral("邮政编码"));
        QString error;
        QVERIFY(!store.changeAliases(id, QStringLiteral(" ' "), &error));
        QCOMPARE(error, MatchColumnStore::emptyAliasesMessage());
        QVERIFY(store.changeAliases(id, QStringLiteral("邮编，邮政编码'"), &error));
        QCOMPARE(store.rows().last().sourceName, QStringLiteral("邮编,邮政编码"));
        QVERIFY(store.renameItem(id, QStringLiteral("其他费")));
        QCOMPARE(store.aliasLists().value(QStringLiteral("其他费")), QStringLiteral("邮编,邮政编码"));
        QVERIFY(store.removeRow(id));
        QCOMPARE(store.rows().size(), rows);
        QVERIFY(MatchColumnStore::isMaintenanceCode(QStringLiteral("7260395")));
        QVERIFY(!MatchColumnStore::isMaintenanceCode(QStringLiteral("0")));
    }

    // The GBK text and an .xlsx of the same rows, into both targets.
    void importFile_data()
    {
        QTest::addColumn<bool>("xlsx");
        QTest::addColumn<ImportTarget>("target");
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("duplicates");
        QTest::addColumn<QStringList>("rows");
        const QStringList batch{"甲公司|张三|0755-1234567|13800138000|广东省|深圳市|南山区|深圳市南山区科技园1号|手机壳|2",
                                "|李四||13900139000|北京|北京市|朝阳区|北京市朝阳区建国路2号|数据线|1",
                                "甲公司|张三|0755-1234567|13800138000|广东省|深圳市|南山区|深圳市南山区科技园1号|耳机|1"};
        const QStringList book{"甲公司|张三|0755-1234567|13800138000|广东省|深圳市|南山区|深圳市南山区科技园1号|往来单位|0",
                               "|李四||13900139000|北京|北京市|朝阳区|北京市朝阳区建国路2号|往来单位|0"};
        QTest::newRow("gbk csv, batch list") << false << ImportTarget::BatchList << 3 << 0 << batch;
        QTest::newRow("xlsx, batch list") << true << ImportTarget::BatchList << 3 << 0 << batch;
        QTest::newRow("gbk csv, address book") << false << ImportTarget::AddressBook << 2 << 1 << book;
        QTest::newRow("xlsx, address book") << true << ImportTarget::AddressBook << 2 << 1 << book;
    }
    void importFile()
    {
        QFETCH(bool, xlsx);
        QFETCH(ImportTarget, target);
        QFETCH(int, stored);
        QFETCH(int, duplicates);
        QFETCH(QStringList, rows);
        QString path = kGbkOrders;
        if (xlsx) {
            path = m_data->root() + QStringLiteral("orders.xlsx");
            QVERIFY(sheets::writeXlsxTable(path, kOrders.first(), kOrders.mid(1)));
        }
        const RecipientImportResult result = importer().importFile(path, 0, optionsFor(target));
        QCOMPARE(result.outcome, Outcome::Imported);
        QCOMPARE(result.total, 4);
        QCOMPARE(result.stored, stored);
        QCOMPARE(result.duplicates, duplicates);
        QCOMPARE(result.invalid, 1);
        QCOMPARE(result.message, QStringLiteral("导入结束，共有 %1 条导入成功！\r\n 其中跳过了 %2 条重复的或无效(单位、联系人、电话都为空)的记录！")
                                     .arg(stored)
                                     .arg(4 - stored));
        if (target == ImportTarget::BatchList) {
            QCOMPARE(table(QStringLiteral("ReceiverList"), {"全称", "联系人", "电话", "手机", "省", "市", "镇区", "地址", "内件说明", "件数"}),
                     rows);
        } else {
            QCOMPARE(table(QStringLiteral("CKPersonalInfoTable"),
                           {"全称", "联系人", "电话", "手机", "省", "市", "镇区", "地址", "单位类型", "排序"}),
                     rows);
        }
    }

    // The duplicate check compares with what the table held before too.
    void duplicatesOfStoredRows_data()
    {
        QTest::addColumn<bool>("byName");
        QTest::addColumn<bool>("byContact");
        QTest::addColumn<bool>("byPhone");
        QTest::addColumn<int>("stored");
        QTest::newRow("name, contact and phone") << true << true << true << 1;
        QTest::newRow("name only") << true << false << false << 1;
        QTest::newRow("contact only") << false << true << false << 0;
        QTest::newRow("contact and phone") << false << true << true << 1;
        QTest::newRow("phone only") << false << false << true << 1;
    }
    void duplicatesOfStoredRows()
    {
        QFETCH(bool, byName);
        QFETCH(bool, byContact);
        QFETCH(bool, byPhone);
        QFETCH(int, stored);
        // Stored by another window with the texts never typed left NULL.
        QVERIFY(m_data->exec(QStringLiteral("insert into ReceiverList (全称,联系人,电话) values('乙公司','王五',NULL)")));
        RecipientImportOptions options = optionsFor(ImportTarget::BatchList);
        options.duplicates = {byName, byContact, byPhone};
        const Rows rows{{"全称", "联系人", "电话"}, {"乙公司", "王五", ""}, {"丙公司", "王五", "1"}};
        const auto result = importer().importRows(rows, matched(rows, ImportTarget::BatchList), options);
        QCOMPARE(result.stored, stored);
        QCOMPARE(count(QStringLiteral("ReceiverList")), 1 + stored);
    }

    void askOnDuplicate_data()
    {
        QTest::addColumn<bool>("skip");
        QTest::newRow("yes skips") << true;
        QTest::newRow("no adds") << false;
    }
    void askOnDuplicate()
    {
        QFETCH(bool, skip);
        RecipientImportOptions options = optionsFor(ImportTarget::AddressBook);
        options.askOnDuplicate = true;
        m_data->dialogs.answers.enqueue(skip);
        const auto result = importer().importRows(kOrders, matched(kOrders, ImportTarget::AddressBook), options);
        QCOMPARE(result.stored, skip ? 2 : 3);
        QCOMPARE(m_data->dialogs.lastCaption(), QStringLiteral("记录已经存在"));
        QCOMPARE(m_data->dialogs.lastText(),
                 QStringLiteral("单位\"甲公司(联系人:张三)\"已经存在,是否跳过？点击\"是\"跳过,点击\"否\"继续添加！"));
    }

    void noCriteriaQuestion_data()
    {
        QTest::addColumn<bool>("allow");
        QTest::newRow("allowed: every row stored") << true;
        QTest::newRow("refused: nothing") << false;
    }
    void noCriteriaQuestion()
    {
        QFETCH(bool, allow);
        RecipientImportOptions options;
        m_data->dialogs.answers.enqueue(allow);
        const auto result = importer().importRows(kOrders, matched(kOrders, ImportTarget::BatchList), options);
        QCOMPARE(m_data->dialogs.lastCaption(), QStringLiteral("重复匹配确认"));
        QCOMPARE(result.outcome, allow ? Outcome::Imported : Outcome::Declined);
        QCOMPARE(count(QStringLiteral("ReceiverList")), allow ? 3 : 0);
    }

    // The user moves the phone column to the remark and leaves the province out.
    void correctedMatch()
    {
        ColumnMapping mapping = matched(kOrders, ImportTarget::BatchList);
        mapping.insert(item::remark, mapping.take(item::phone));
        mapping.remove(item::province);
        const auto result = importer().importRows(kOrders, mapping, optionsFor(ImportTarget::BatchList));
        QCOMPARE(result.stored, 3);
        QCOMPARE(table(QStringLiteral("ReceiverList"), {"联系人", "电话", "备注", "省"}).first(),
                 QStringLiteral("张三||0755-1234567|"));
        // Row 4 has its mobile only, and a mobile is no key text.
        QCOMPARE(ImportLog::readSection(logPath(), QStringLiteral("LOG")).size(), 1);
    }

    void orderAndMemberIds_data()
    {
        QTest::addColumn<bool>("orderOn");
        QTest::addColumn<bool>("memberOn");
        QTest::addColumn<QString>("remark");
        QTest::newRow("off") << false << false << "留言";
        QTest::newRow("order number") << true << false << "留言 订单号:A001;";
        QTest::newRow("both") << true << true << "留言 订单号:A001;会员ID:wang";
    }
    void orderAndMemberIds()
    {
        QFETCH(bool, orderOn);
        QFETCH(bool, memberOn);
        QFETCH(QString, remark);
        RecipientImportOptions options = optionsFor(ImportTarget::BatchList);
        options.appendOrderId = orderOn;
        options.appendMemberId = memberOn;
        const Rows rows{{"姓名", "买家留言", "订单编号", "旺旺"}, {"张三", "留言", "A001", "wang"}};
        ColumnMapping mapping = matched(rows, ImportTarget::BatchList);
        // The default alias of 订单编号 starts with a tab, so the user picks the column.
        QVERIFY(!mapping.contains(item::orderId));
        mapping.insert(item::orderId, 3);
        QCOMPARE(mapping.value(item::memberId), 4);
        importer().importRows(rows, mapping, options);
        QCOMPARE(table(QStringLiteral("ReceiverList"), {"备注"}), QStringList{remark});
    }

    void memberIdAsFullName()
    {
        const Rows rows{{"姓名", "旺旺"}, {"张三", "wang"}, {"李四", ""}};
        const ColumnMapping mapping{{item::contact, 1}, {item::fullName, 2}, {item::memberId, 2}};
        importer().importRows(rows, mapping, optionsFor(ImportTarget::BatchList));
        QCOMPARE(table(QStringLiteral("ReceiverList"), {"全称"}), (QStringList{"会员ID:wang", ""}));
    }

    void partyType_data()
    {
        QTest::addColumn<bool>("fixed");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QStringList>("types");
        QTest::newRow("fixed, ours") << true << "我方单位" << QStringList{"我方单位", "我方单位"};
        QTest::newRow("fixed, empty") << true << "" << QStringList{"往来单位", "往来单位"};
        QTest::newRow("from the column") << false << "" << QStringList{"我方单位", "往来单位"};
    }
    void partyType()
    {
        QFETCH(bool, fixed);
        QFETCH(QString, chosen);
        QFETCH(QStringList, types);
        RecipientImportOptions options = optionsFor(ImportTarget::AddressBook);
        options.partyTypeFixed = fixed;
        options.partyType = chosen;
        const Rows rows{{"姓名", "单位类型"}, {"张三", "我方单位"}, {"李四", "客户"}};
        importer().importRows(rows, autoMatch(readTitles(rows.first()), MatchColumnStore(m_data->db()).aliasLists(),
                                              ImportTarget::AddressBook, fixed),
                              options);
        QCOMPARE(table(QStringLiteral("CKPersonalInfoTable"), {"单位类型"}), types);
    }

    void logSections()
    {
        QVERIFY(test::writeFile(logPath(), "[Other]\nkeep=1\n[LOG]\nN99=old\n[INFO]\nFinish=old\n"));
        importer().importFile(kGbkOrders, 0, optionsFor(ImportTarget::AddressBook));
        QCOMPARE(entriesText(ImportLog::readSection(logPath(), QStringLiteral("Other"))), QStringLiteral("keep=1"));
        QCOMPARE(entriesText(ImportLog::readSection(logPath(), QStringLiteral("LOG"))),
                 QStringLiteral("N4=无效行，联系人、电话、全称均为空！|N5=重复，单位：甲公司,联系人：张三,电话：0755-1234567"));
        QCOMPARE(entriesText(ImportLog::readSection(logPath(), QStringLiteral("ERR"))), QString());
        const auto info = ImportLog::readSection(logPath(), QStringLiteral("INFO"));
        QCOMPARE(info.size(), 3);
        QCOMPARE(info.at(0), qMakePair(QStringLiteral("File"), QStringLiteral("数据文件来源:") + kGbkOrders));
        QCOMPARE(info.at(1), qMakePair(QStringLiteral("Total"), QStringLiteral("本次任务数据共有：4行")));
        QVERIFY(info.at(2).second.startsWith(QStringLiteral("导入结束，共有 2 条导入成功！")));
    }

    void cancelRollsBack_data()
    {
        QTest::addColumn<int>("cancelAt");
        QTest::newRow("before the first row") << 0;
        QTest::newRow("in the middle") << 2;
        QTest::newRow("after the last row") << 4;
    }
    void cancelRollsBack()
    {
        QFETCH(int, cancelAt);
        QList<QPair<int, int>> calls;
        const auto result = importer().importRows(
            kOrders, matched(kOrders, ImportTarget::BatchList), optionsFor(ImportTarget::BatchList),
            [&](int done, int total) {
                calls.append({done, total});
                return done < cancelAt;
            });
        QCOMPARE(result.outcome, Outcome::Cancelled);
        QCOMPARE(result.message, RecipientImport::cancelledMessage());
        QCOMPARE(result.stored, 0);
        QCOMPARE(calls.size(), cancelAt + 1);
        QCOMPARE(calls.last(), qMakePair(cancelAt, 4));
        QCOMPARE(count(QStringLiteral("ReceiverList")), 0);
    }

    // The store refuses row 3: rows 2 and 5 are not left behind.
    void failureRollsBack_data()
    {
        QTest::addColumn<ImportTarget>("target");
        QTest::newRow("batch list") << ImportTarget::BatchList;
        QTest::newRow("address book") << ImportTarget::AddressBook;
    }
    void failureRollsBack()
    {
        QFETCH(ImportTarget, target);
        const QString name =
            target == ImportTarget::BatchList ? QStringLiteral("ReceiverList") : QStringLiteral("CKPersonalInfoTable");
        QVERIFY(m_data->exec(QStringLiteral("create trigger refuse before insert on %1 when new.联系人='李四' "
                                            "begin select raise(abort,'refused'); end")
                                 .arg(name)));
        const auto result = importer().importFile(kGbkOrders, 0, optionsFor(target));
        QCOMPARE(result.outcome, Outcome::Failed);
        QVERIFY2(result.message.startsWith(QStringLiteral("意外导入错误,E=")), qPrintable(result.message));
        QCOMPARE(count(name), 0);
        QCOMPARE(entriesText(ImportLog::readSection(logPath(), QStringLiteral("ERR"))),
                 QStringLiteral("N3=错误，单位：,联系人：李四,电话："));
    }

    void badFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("message");
        QTest::newRow("broken workbook") << "broken.xlsx" << QByteArray("PK\x03\x04 not really a zip", 22)
                                         << int(Outcome::Rejected) << "";
        QTest::newRow("encrypted") << "encrypted.xls" << test::readAll(QStringLiteral(MOQUE_ENCRYPTED_XLS))
                                   << int(Outcome::Rejected) << "";
        QTest::newRow("empty") << "empty.csv" << QByteArray() << int(Outcome::Rejected)
                               << RecipientImport::noTitlesMessage(QStringLiteral("empty"));
        QTest::newRow("titles only") << "titles.csv" << QByteArray("姓名,电话\r\n") << int(Outcome::NoData)
                                     << RecipientImport::noDataMessage();
        QTest::newRow("no key column") << "phones.csv" << QByteArray("电话,手机\n1,2\n") << int(Outcome::Rejected)
                                       << RecipientImport::noKeyColumnMessage();
    }
    void badFiles()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(int, outcome);
        QFETCH(QString, message);
        const QString path = m_data->root() + name;
        QVERIFY(test::writeFile(path, bytes));
        const auto result = importer().importFile(path, 0, optionsFor(ImportTarget::BatchList));
        QCOMPARE(int(result.outcome), outcome);
        if (message.isEmpty()) {
            // The reader's own message, naming the file.
            sheets::SpreadsheetReader reader;
            QVERIFY(!reader.open(path));
            QCOMPARE(result.message, reader.errorString());
        } else {
            QCOMPARE(result.message, message);
        }
        QCOMPARE(result.stored, 0);
        QCOMPARE(count(QStringLiteral("ReceiverList")), 0);
        QCOMPARE(ImportLog::readSection(logPath(), QStringLiteral("INFO")).last().second, result.message);
    }

    void manyRows()
    {
        Rows rows{{"姓名", "电话", "地址"}};
        for (int i = 0; i < 7000; ++i)
            rows << QStringList{QStringLiteral("收件人%1").arg(i), QString::number(i), QStringLiteral("地址")};
        int calls = 0;
        const auto result = importer().importRows(rows, matched(rows, ImportTarget::BatchList),
                                                  optionsFor(ImportTarget::BatchList), [&](int, int) {
                                                      ++calls;
                                                      return true;
                                                  });
        QCOMPARE(result.stored, 7000);
        QCOMPARE(calls, 7001);
        QCOMPARE(count(QStringLiteral("ReceiverList")), 7000);
    }
};

QTEST_GUILESS_MAIN(TestSpreadsheetImport)
#include "test_spreadsheet_import.moc"
