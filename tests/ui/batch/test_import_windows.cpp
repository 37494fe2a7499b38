#include "batch/ColumnMatching.h"
#include "batch/ImportColumnsWindow.h"
#include "batch/ImportLog.h"
#include "batch/RecipientImport.h"
#include "batch/RecipientImportWindow.h"
#include "refdata/AddressBookWindow.h"
#include "sheets/XlsxWriter.h"
#include "support/TestData.h"
#include "support/TestFiles.h"
#include "support/Widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace moque;
using batch::ImportTarget;
using test::child;
using test::click;
using ui::ImportColumnsWindow;
using ui::RecipientImportWindow;

Q_DECLARE_METATYPE(moque::batch::ImportTarget)

namespace {

const QString kGbkOrders = QStringLiteral(MOQUE_IMPORT_FIXTURES "/orders-gbk.csv");

// "box=entry" of every match box that holds a column, sorted.
QStringList matches(const QWidget *window)
{
    QStringList list;
    for (const QComboBox *box : window->findChildren<QComboBox *>()) {
        if (box->objectName() == QLatin1String("cbSheet") || box->objectName() == QLatin1String("cbPartyType"))
            continue;
        if (!box->currentText().isEmpty())
            list << box->objectName() + QLatin1Char('=') + box->currentText();
    }
    list.sort();
    return list;
}

void choose(const QWidget *window, const char *box, const QString &entry)
{
    auto *combo = child<QComboBox>(window, box);
    const int index = combo->findText(entry);
    QVERIFY2(index >= 0, qPrintable(entry));
    combo->setCurrentIndex(index);
}

// The columns of every row of the table, joined by "/", in store order.
QStringList tableRows(const test::TestData &data, const QString &table, const QString &columns)
{
    QSqlQuery q(data.db());
    if (!q.exec(QStringLiteral("select %1 from %2 order by ID").arg(columns, table)))
        return {QStringLiteral("<%1>").arg(q.lastError().text())};
    QStringList rows;
    while (q.next()) {
        QStringList values;
        for (int i = 0; i < q.record().count(); ++i)
            values << q.value(i).toString();
        rows << values.join(QLatin1Char('/'));
    }
    return rows;
}

QString tableOf(ImportTarget target)
{
    return target == ImportTarget::BatchList ? QStringLiteral("ReceiverList") : QStringLiteral("CKPersonalInfoTable");
}

QStringList captions(const test::ScriptedDialogs &dialogs)
{
    QStringList list;
    for (const auto &shown : dialogs.shown)
        list << shown.kind + QLatin1Char(':') + shown.caption;
    return list;
}

} // namespace

class TestImportWindows : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::TestData> m_data;
    std::unique_ptr<QTemporaryDir> m_dir;

    // A window on the file; the sheet is read and matched.
    std::unique_ptr<RecipientImportWindow> openOn(ImportTarget target, const QString &path)
    {
        auto window = std::make_unique<RecipientImportWindow>(*m_data->core, target);
        window->show();
        m_data->dialogs.files.enqueue(path);
        click(window.get(), "btBrowse");
        // The file chooser is not what the tests look at.
        m_data->dialogs.shown.removeIf([](const test::ScriptedDialogs::Shown &s) { return s.kind == QLatin1String("open"); });
        return window;
    }
    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir->filePath(name);
        return test::writeFile(path, bytes) ? path : QString();
    }

private Q_SLOTS:
    void init();
    void cleanup();

    void csvTitlesMatched_data();
    void csvTitlesMatched();
    void xlsxAliasedTitles_data();
    void xlsxAliasedTitles();
    void correctedMatch();
    void importWithDuplicates_data();
    void importWithDuplicates();
    void progressCancelled_data();
    void progressCancelled();
    void badFiles_data();
    void badFiles();
    void aliasEditorCleansAliases_data();
    void aliasEditorCleansAliases();
    void aliasEditorAddsAndDeletes();
    void columnRulesRematch();
    void addressBookOpensImport();
};

void TestImportWindows::init()
{
    m_data = std::make_unique<test::TestData>();
    QVERIFY(m_data->open());
    QVERIFY(m_data->exec(QStringLiteral("delete from ReceiverList")));
    QVERIFY(m_data->exec(QStringLiteral("delete from CKPersonalInfoTable")));
    m_dir = std::make_unique<QTemporaryDir>();
}

void TestImportWindows::cleanup()
{
    m_data.reset();
    m_dir.reset();
}

void TestImportWindows::csvTitlesMatched_data()
{
    QTest::addColumn<ImportTarget>("target");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("orderColumn");
    const QStringList common{"cbAddress=列4:收件地址", "cbCity=列6:城市",     "cbContact=列1:收货人",
                             "cbFullName=列8:公司名称", "cbMobile=列3:手机号码", "cbPhone=列2:联系方式",
                             "cbProvince=列5:省份",     "cbTown=列7:区县"};
    QStringList batch = common + QStringList{"cbGoods=列9:宝贝标题", "cbPieces=列10:数量"};
    batch.sort();
    QTest::newRow("batch list") << ImportTarget::BatchList << batch << 11;
    QTest::newRow("address book") << ImportTarget::AddressBook << common << 0;
}

// The GBK titles find their items through the aliases; the order number,
// which has no box, is matched for the batch list only.
void TestImportWindows::csvTitlesMatched()
{
    QFETCH(ImportTarget, target);
    QFETCH(QStringList, expected);
    QFETCH(int, orderColumn);
    const auto window = openOn(target, kGbkOrders);
    QCOMPARE(child<QLineEdit>(window.get(), "edtFile")->text(), kGbkOrders);
    QCOMPARE(child<QComboBox>(window.get(), "cbSheet")->count(), 1);
    QCOMPARE(matches(window.get()), expected);
    QCOMPARE(window->currentMapping().value(batch::item::orderId, 0), orderColumn);
    QVERIFY(child<QPushButton>(window.get(), "btStart")->isEnabled());
    // Every box offers the empty entry and the eleven titles.
    QCOMPARE(child<QComboBox>(window.get(), "cbRemark")->count(), 12);
    QVERIFY(m_data->dialogs.shown.isEmpty());
}

void TestImportWindows::xlsxAliasedTitles_data()
{
    QTest::addColumn<ImportTarget>("target");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QStringList>("stored");
    const QStringList common{"cbAddress=列4:详细地址", "cbCity=列5:城市", "cbContact=列1:收件人姓名",
                             "cbFullName=列6:会员ID", "cbMobile=列3:Mobile", "cbPhone=列2:联系电话"};
    QStringList batch = common + QStringList{"cbGoods=列7:商品名称", "cbWeight=列8:重量"};
    batch.sort();
    QTest::newRow("batch list") << ImportTarget::BatchList << batch
                                << QStringList{"wx001/王五/020-7654321/13600136000/广州市/天河路1号/茶叶/1.5"};
    QTest::newRow("address book") << ImportTarget::AddressBook << common
                                  << QStringList{"wx001/王五/020-7654321/13600136000/广州市/天河路1号"};
}

// An .xlsx whose titles are other aliases: the member ID title goes to the
// full name (its alias list comes first), the contains-alias finds 详细地址.
void TestImportWindows::xlsxAliasedTitles()
{
    QFETCH(ImportTarget, target);
    QFETCH(QStringList, expected);
    QFETCH(QStringList, stored);
    const QString path = m_dir->filePath(QStringLiteral("orders.xlsx"));
    QString error;
    QVERIFY2(sheets::writeXlsxTable(path, {"收件人姓名", "联系电话", "Mobile", "详细地址", "城市", "会员ID", "商品名称", "重量"},
                                    {{"王五", "020-7654321", "13600136000", "天河路1号", "广州市", "wx001", "茶叶", "1.5"}},
                                    &error, QStringLiteral("订单")),
             qPrintable(error));
    const auto window = openOn(target, path);
    QCOMPARE(child<QComboBox>(window.get(), "cbSheet")->currentText(), QStringLiteral("订单"));
    QCOMPARE(matches(window.get()), expected);

    const bool batch = target == ImportTarget::BatchList;
    if (batch)
        m_data->dialogs.answers.enqueue(true); // without duplicate criteria
    click(window.get(), "btStart");
    QCOMPARE(tableRows(*m_data, tableOf(target),
                       batch ? QStringLiteral("全称,联系人,电话,手机,市,地址,内件说明,重量")
                             : QStringLiteral("全称,联系人,电话,手机,市,地址")),
             stored);
    QCOMPARE(m_data->dialogs.lastText(), QStringLiteral("导入结束，共有 1 条导入成功！\r\n"));
    QVERIFY(window->importedAny());
    QVERIFY(!window->isVisible());
}

// The user moves the address column to the remark and drops the full name;
// the order number goes into the remark when asked to.
void TestImportWindows::correctedMatch()
{
    const auto window = openOn(ImportTarget::BatchList, kGbkOrders);
    choose(window.get(), "cbAddress", QString());
    choose(window.get(), "cbRemark", QStringLiteral("列4:收件地址"));
    choose(window.get(), "cbFullName", QString());
    child<QCheckBox>(window.get(), "ckOrderIDOn")->setChecked(true);
    click(window.get(), "ckCheckDuplicates");
    QVERIFY(child<QCheckBox>(window.get(), "ckByPhone")->isChecked());
    click(window.get(), "ckCheckDuplicates");
    QVERIFY(!child<QCheckBox>(window.get(), "ckByContact")->isChecked());
    m_data->dialogs.answers.enqueue(true); // repeated rows allowed

    click(window.get(), "btStart");
    QCOMPARE(tableRows(*m_data, QStringLiteral("ReceiverList"), QStringLiteral("全称,联系人,地址,备注")),
             (QStringList{"/张三//深圳市南山区科技园1号 订单号:A001;", "/李四//北京市朝阳区建国路2号 订单号:A002;",
                          "/张三//深圳市南山区科技园1号 订单号:A003;"}));
    QCOMPARE(m_data->core->options().getConfigByname(QStringLiteral("ckOrderIDOn")), QStringLiteral("1"));
}

void TestImportWindows::importWithDuplicates_data()
{
    QTest::addColumn<ImportTarget>("target");
    QTest::addColumn<bool>("checkDuplicates"); // click 判断重复 before the import
    QTest::addColumn<bool>("askOnDuplicate");
    QTest::addColumn<QString>("answers");      // y or n for every question, in order
    QTest::addColumn<QStringList>("rows");     // 全称/联系人/电话/手机 of the table afterwards
    QTest::addColumn<QStringList>("shown");    // what the window showed
    QTest::addColumn<bool>("closed");

    const QString existing = QStringLiteral("甲公司/张三/0755-1234567/");
    const QString first = QStringLiteral("甲公司/张三/0755-1234567/13800138000");
    const QString second = QStringLiteral("/李四//13900139000");
    const QString fourth = first;
    const QString dupQuestion = QStringLiteral("ask:记录已经存在");
    const QString done = QStringLiteral("message:导入结束");

    QTest::newRow("batch list, repeats allowed") << ImportTarget::BatchList << false << false << "y"
                                                 << QStringList{existing, first, second, fourth}
                                                 << QStringList{"ask:重复匹配确认", done} << true;
    QTest::newRow("batch list, repeats refused") << ImportTarget::BatchList << false << false << "n" << QStringList{existing}
                                                 << QStringList{"ask:重复匹配确认"} << false;
    QTest::newRow("batch list, repeats skipped") << ImportTarget::BatchList << true << false << ""
                                                 << QStringList{existing, second} << QStringList{done} << true;
    QTest::newRow("address book, both skipped") << ImportTarget::AddressBook << false << true << "yy"
                                                << QStringList{existing, second}
                                                << QStringList{dupQuestion, dupQuestion, done} << true;
    QTest::newRow("address book, both added") << ImportTarget::AddressBook << false << true << "nn"
                                              << QStringList{existing, first, second, fourth}
                                              << QStringList{dupQuestion, dupQuestion, done} << true;
    QTest::newRow("address book, first added") << ImportTarget::AddressBook << false << true << "ny"
                                               << QStringList{existing, first, second}
                                               << QStringList{dupQuestion, dupQuestion, done} << true;
    QTest::newRow("address book, skipped unasked") << ImportTarget::AddressBook << false << false << ""
                                                   << QStringList{existing, second} << QStringList{done} << true;
}

// The GBK orders into either target, against an entry that is already there
// (全称 甲公司, 联系人 张三, 电话 0755-1234567): the duplicate questions
// decide, the summary counts what was skipped.
void TestImportWindows::importWithDuplicates()
{
    QFETCH(ImportTarget, target);
    QFETCH(bool, checkDuplicates);
    QFETCH(bool, askOnDuplicate);
    QFETCH(QString, answers);
    QFETCH(QStringList, rows);
    QFETCH(QStringList, shown);
    QFETCH(bool, closed);
    QVERIFY(m_data->exec(QStringLiteral("insert into %1 (全称,联系人,电话,手机) values(?,?,?,?)").arg(tableOf(target)),
                         {"甲公司", "张三", "0755-1234567", ""}));
    const auto window = openOn(target, kGbkOrders);
    // The address book checks every criterion from the start, the batch list none.
    const bool book = target == ImportTarget::AddressBook;
    for (const char *box : {"ckCheckDuplicates", "ckByFullName", "ckByContact", "ckByPhone"})
        QCOMPARE(child<QCheckBox>(window.get(), box)->isChecked(), book);
    if (checkDuplicates)
        click(window.get(), "ckCheckDuplicates");
    child<QCheckBox>(window.get(), "ckAskOnDuplicate")->setChecked(askOnDuplicate);
    for (const QChar answer : answers)
        m_data->dialogs.answers.enqueue(answer == QLatin1Char('y'));
    QSignalSpy importedSpy(window.get(), &RecipientImportWindow::imported);

    click(window.get(), "btStart");
    QCOMPARE(tableRows(*m_data, tableOf(target), QStringLiteral("全称,联系人,电话,手机")), rows);
    QCOMPARE(captions(m_data->dialogs), shown);
    QVERIFY(m_data->dialogs.answers.isEmpty());
    QCOMPARE(window->isVisible(), !closed);
    QCOMPARE(importedSpy.count(), closed ? 1 : 0);
    if (askOnDuplicate)
        QCOMPARE(m_data->dialogs.shown.first().text,
                 QStringLiteral("单位\"甲公司(联系人:张三)\"已经存在,是否跳过？点击\"是\"跳过,点击\"否\"继续添加！"));
    if (closed) {
        const int stored = int(rows.size()) - 1;
        const int skipped = 4 - stored;
        QCOMPARE(m_data->dialogs.lastText(),
                 QStringLiteral("导入结束，共有 %1 条导入成功！\r\n 其中跳过了 %2 条重复的或无效(单位、联系人、电话都为空)的记录！")
                     .arg(stored)
                     .arg(skipped));
        // The log names the row without 全称, 联系人 and 电话, and ends with the summary.
        const QString log = batch::ImportLog::pathIn(m_data->core->dir());
        QVERIFY(batch::ImportLog::readSection(log, QStringLiteral("LOG"))
                    .contains({QStringLiteral("N4"), QStringLiteral("无效行，联系人、电话、全称均为空！")}));
        const auto info = batch::ImportLog::readSection(log, QStringLiteral("INFO"));
        QCOMPARE(info.value(0).second, QStringLiteral("数据文件来源:") + kGbkOrders);
        QCOMPARE(info.last().second, QString(m_data->dialogs.lastText()).replace(QStringLiteral("\r\n"), QStringLiteral(" ")));
    }
    QVERIFY(child<QPushButton>(window.get(), "btLog")->isEnabled());
}

void TestImportWindows::progressCancelled_data()
{
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("message");
    QTest::newRow("stop confirmed") << true << 0 << batch::RecipientImport::cancelledMessage();
    QTest::newRow("stop withdrawn") << false << 600 << QStringLiteral("导入结束，共有 600 条导入成功！\r\n");
}

// 取消 on the bar of a large sheet asks; a confirmed stop leaves nothing of
// the import in the list, a withdrawn one goes on to the end.
void TestImportWindows::progressCancelled()
{
    QFETCH(bool, confirm);
    QFETCH(int, stored);
    QFETCH(QString, message);
    QByteArray csv("收货人,电话,地址\n");
    for (int i = 0; i < 600; ++i)
        csv += QStringLiteral("客户%1,138%2,路%1号\n").arg(i).arg(i, 8, 10, QLatin1Char('0')).toUtf8();
    const auto window = openOn(ImportTarget::BatchList, write(QStringLiteral("large.csv"), csv));
    click(window.get(), "ckCheckDuplicates");
    m_data->dialogs.answers.enqueue(confirm);

    int maximum = -1;
    bool cancelled = false;
    QTimer watch;
    watch.setInterval(0);
    connect(&watch, &QTimer::timeout, window.get(), [&] {
        auto *progress = window->findChild<QProgressDialog *>(QStringLiteral("progressImport"));
        if (!progress || !progress->isVisible() || cancelled || progress->value() <= 0)
            return;
        maximum = progress->maximum();
        auto *button = progress->findChild<QPushButton *>();
        QCOMPARE(button->text(), QStringLiteral("取消"));
        button->click();
        cancelled = true;
    });
    watch.start();
    click(window.get(), "btStart");
    watch.stop();

    QVERIFY(cancelled);
    QCOMPARE(maximum, 600);
    QCOMPARE(m_data->scalar(QStringLiteral("select count(*) from ReceiverList")).toInt(), stored);
    QCOMPARE(m_data->dialogs.shown.first().text, QStringLiteral("需要中止导出操作吗？"));
    QCOMPARE(m_data->dialogs.shown.first().caption, QStringLiteral("询问"));
    QCOMPARE(m_data->dialogs.lastText(), message);
    QCOMPARE(m_data->dialogs.lastCaption(), QStringLiteral("导入结束"));
    QCOMPARE(window->isVisible(), confirm);
}

void TestImportWindows::badFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("openMessage");  // the start of what opening shows, empty for nothing
    QTest::addColumn<bool>("startEnabled");
    QTest::addColumn<QString>("startMessage"); // what the import shows
    QTest::newRow("broken workbook") << "broken.xlsx" << QByteArray("this is no workbook") << "EXCEL导入错误," << false
                                     << "";
    QTest::newRow("empty file") << "empty.csv" << QByteArray() << "Excel的[" << false << "";
    QTest::newRow("titles only") << "titles.csv" << QByteArray("收货人,电话\n") << "" << true
                                 << batch::RecipientImport::noDataMessage();
    QTest::newRow("no key column") << "keyless.csv" << QByteArray("电话,手机\n123,456\n") << "" << true
                                   << batch::RecipientImport::noKeyColumnMessage();
}

// A file that cannot be read or has nothing to import says so and stores nothing.
void TestImportWindows::badFiles()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, openMessage);
    QFETCH(bool, startEnabled);
    QFETCH(QString, startMessage);
    const auto window = openOn(ImportTarget::AddressBook, write(name, bytes));
    if (openMessage.isEmpty()) {
        QVERIFY(m_data->dialogs.shown.isEmpty());
    } else {
        QCOMPARE(m_data->dialogs.shown.size(), 1);
        QVERIFY2(m_data->dialogs.lastText().startsWith(openMessage), qPrintable(m_data->dialogs.lastText()));
    }
    QCOMPARE(child<QPushButton>(window.get(), "btStart")->isEnabled(), startEnabled);
    if (startEnabled) {
        click(window.get(), "btStart");
        QCOMPARE(m_data->dialogs.lastText(), startMessage);
    }
    QCOMPARE(m_data->scalar(QStringLiteral("select count(*) from CKPersonalInfoTable")).toInt(), 0);
}

void TestImportWindows::aliasEditorCleansAliases_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("message");
    QTest::newRow("cleaned") << " 收货人，，客户姓名?,'name' " << "收货人,客户姓名,name" << "";
    QTest::newRow("nothing left") << " ?' " << "联系人,收件人姓名,收货人,收件联系人,*姓名*,name,fullname"
                                  << "请输入有效的Excel/csv列名";
}

// 提交修改 stores the cleaned alias list of the row; nothing left of it is refused.
void TestImportWindows::aliasEditorCleansAliases()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(QString, message);
    ImportColumnsWindow editor(*m_data->core);
    editor.show();
    auto *grid = child<QTableView>(&editor, "gridColumns");
    const QModelIndexList found =
        grid->model()->match(grid->model()->index(0, 1), Qt::DisplayRole, QStringLiteral("联系人"), 1, Qt::MatchExactly);
    QCOMPARE(found.size(), 1);
    grid->setCurrentIndex(found.first());
    auto *itemName = child<QLineEdit>(&editor, "edtItemName");
    QCOMPARE(itemName->text(), QStringLiteral("联系人"));
    QVERIFY(itemName->isReadOnly());
    QVERIFY(!child<QPushButton>(&editor, "btAdd")->isVisibleTo(&editor));
    child<QLineEdit>(&editor, "edtSourceName")->setText(typed);

    click(&editor, "btSubmit");
    QCOMPARE(m_data->scalar(QStringLiteral("select SourceName from MatchColumn where ItemName=?"), {"联系人"}).toString(),
             stored);
    QCOMPARE(m_data->dialogs.lastText(), message);
    if (message.isEmpty()) {
        QCOMPARE(grid->model()->index(grid->currentIndex().row(), 2).data().toString(), stored);
        QCOMPARE(child<QLineEdit>(&editor, "edtSourceName")->text(), stored);
    }
}

// The maintenance code shows 添加 and 删除 and opens the item name; another
// value closes them again.
void TestImportWindows::aliasEditorAddsAndDeletes()
{
    ImportColumnsWindow editor(*m_data->core);
    editor.show();
    const int rowsBefore = m_data->scalar(QStringLiteral("select count(*) from MatchColumn")).toInt();
    auto *showOrd = child<QLineEdit>(&editor, "edtShowOrd");
    test::replaceText(showOrd, QStringLiteral("7260395"));
    QVERIFY(child<QPushButton>(&editor, "btAdd")->isVisibleTo(&editor));
    QVERIFY(child<QPushButton>(&editor, "btDelete")->isVisibleTo(&editor));
    auto *itemName = child<QLineEdit>(&editor, "edtItemName");
    QVERIFY(!itemName->isReadOnly());
    test::replaceText(itemName, QStringLiteral("寄件人"));
    test::replaceText(child<QLineEdit>(&editor, "edtSourceName"), QStringLiteral("发货人，发件人"));

    click(&editor, "btAdd");
    QCOMPARE(m_data->scalar(QStringLiteral("select SourceName||'/'||ShowOrd||'/'||MatchType from MatchColumn where ItemName=?"),
                            {"寄件人"})
                 .toString(),
             QStringLiteral("发货人,发件人/0/收件信息导入"));
    auto *grid = child<QTableView>(&editor, "gridColumns");
    QCOMPARE(grid->model()->rowCount(), rowsBefore + 1);
    QCOMPARE(grid->model()->index(grid->currentIndex().row(), 1).data().toString(), QStringLiteral("寄件人"));

    click(&editor, "btDelete");
    QCOMPARE(m_data->scalar(QStringLiteral("select count(*) from MatchColumn where ItemName=?"), {"寄件人"}).toInt(), 0);
    QCOMPARE(m_data->scalar(QStringLiteral("select count(*) from MatchColumn")).toInt(), rowsBefore);
    QCOMPARE(grid->model()->rowCount(), rowsBefore);

    test::replaceText(showOrd, QStringLiteral("1"));
    QVERIFY(!child<QPushButton>(&editor, "btAdd")->isVisibleTo(&editor));
    QVERIFY(itemName->isReadOnly());
}

// 【列匹配规则】 opens the alias editor; the changed aliases match the titles again.
void TestImportWindows::columnRulesRematch()
{
    const auto window = openOn(ImportTarget::BatchList, kGbkOrders);
    QCOMPARE(child<QComboBox>(window.get(), "cbContact")->currentText(), QStringLiteral("列1:收货人"));
    bool driven = false;
    QTimer::singleShot(0, window.get(), [&] {
        auto *editor = qobject_cast<ImportColumnsWindow *>(QApplication::activeModalWidget());
        QVERIFY(editor);
        QCOMPARE(editor->objectName(), QStringLiteral("frmImportColumnCfg"));
        auto *grid = child<QTableView>(editor, "gridColumns");
        grid->setCurrentIndex(grid->model()->match(grid->model()->index(0, 1), Qt::DisplayRole,
                                                   QStringLiteral("联系人"), 1, Qt::MatchExactly)
                                  .value(0));
        child<QLineEdit>(editor, "edtSourceName")->setText(QStringLiteral("客户"));
        click(editor, "btSubmit");
        driven = true;
        editor->reject();
    });
    click(window.get(), "btColumnRules");
    QVERIFY(driven);
    QCOMPARE(child<QComboBox>(window.get(), "cbContact")->currentText(), QString());
    QCOMPARE(child<QComboBox>(window.get(), "cbAddress")->currentText(), QStringLiteral("列4:收件地址"));
}

// The address book's Excel导入 opens the import fixed on the address book.
void TestImportWindows::addressBookOpensImport()
{
    ui::AddressBookWindow book(*m_data->core);
    book.show();
    auto *button = child<QPushButton>(&book, "btImport");
    QVERIFY(button->isEnabled());
    bool driven = false;
    QTimer::singleShot(0, &book, [&] {
        auto *window = qobject_cast<RecipientImportWindow *>(QApplication::activeModalWidget());
        QVERIFY(window);
        QCOMPARE(window->objectName(), QStringLiteral("frmImport"));
        QCOMPARE(window->windowTitle(), QStringLiteral("墨雀软件-收、发件人资料导入"));
        QCOMPARE(window->target(), ImportTarget::AddressBook);
        QVERIFY(child<QRadioButton>(window, "rbToBook")->isChecked());
        QVERIFY(!child<QRadioButton>(window, "rbToBook")->isEnabled());
        QVERIFY(!child<QRadioButton>(window, "rbToBatch")->isEnabled());
        QVERIFY(window->findChild<QGroupBox *>(QStringLiteral("gbBookItems")));
        QVERIFY(!window->findChild<QGroupBox *>(QStringLiteral("gbBatchItems")));
        m_data->dialogs.files.enqueue(kGbkOrders);
        click(window, "btBrowse");
        click(window, "btStart");
        driven = true;
    });
    button->click();
    QVERIFY(driven);
    QCOMPARE(tableRows(*m_data, QStringLiteral("CKPersonalInfoTable"), QStringLiteral("全称,联系人,单位类型")),
             (QStringList{"甲公司/张三/往来单位", "/李四/往来单位"}));
}

QTEST_MAIN(TestImportWindows)
#include "test_import_windows.moc"
