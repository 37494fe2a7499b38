#include "store/SqlListModel.h"
#include "history/WaybillHistoryWindow.h"
#include "support/TestData.h"
#include "support/Widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>

#include <memory>

using namespace moque;
using ui::WaybillHistoryWindow;
using test::child;

namespace {

// Four waybills, 流水号 1..4: the newest sent today, the oldest over a year ago.
// A company name of one row is the contact of another; fees with a unit, a
// leading blank and a blank fee.
bool addWaybills(const test::TestData &data)
{
    struct Row
    {
        int id;
        QString receiver, receiverContact, sender, senderContact;
        int daysAgo;
        QString templateName, number, fee;
    };
    const QList<Row> rows{
        {1, "广州甲公司", "张三", "深圳乙", "李四", 0, "顺丰", "SF001", "10"},
        {2, "北京丙", "广州甲公司", "上海丁", "王五", 10, "圆通", "YT002", "20元"},
        {3, "广州甲公司分部", "", "深圳乙", "", 100, "顺丰", "SF003", " 5.5"},
        {4, "上海戊", "赵六", "北京己", "", 400, "韵达", "YD004", ""},
    };
    const QDate today = QDate::currentDate();
    for (const Row &r : rows)
        if (!data.exec("insert into DataKDDTable(流水号, 收件单位, 收件联系人, 寄件单位, 寄件联系人, 寄件日期, "
                       "模板种类, 快递单号, 总费用) values(?, ?, ?, ?, ?, ?, ?, ?, ?)",
                       {r.id, r.receiver, r.receiverContact, r.sender, r.senderContact,
                        today.addDays(-r.daysAgo).toString(Qt::ISODate), r.templateName, r.number, r.fee}))
            return false;
    return true;
}

QList<int> listedIds(WaybillHistoryWindow &w)
{
    QList<int> ids;
    for (int r = 0; r < w.model()->rowCount(); ++r)
        ids << w.model()->fieldValue(r, QStringLiteral("流水号")).toInt();
    return ids;
}

QList<int> storedIds(const test::TestData &data)
{
    QSqlQuery q(data.db());
    q.exec(QStringLiteral("select 流水号 from DataKDDTable order by 流水号 desc"));
    QList<int> ids;
    while (q.next())
        ids << q.value(0).toInt();
    return ids;
}

int rowOf(WaybillHistoryWindow &w, int id)
{
    return int(listedIds(w).indexOf(id));
}

QPoint cellCenter(QTableView *grid, int row)
{
    return grid->visualRect(grid->model()->index(row, 0)).center();
}

} // namespace

class TestSearchKdd : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::TestData> m_data;

private Q_SLOTS:
    void init()
    {
        m_data = std::make_unique<test::TestData>();
        QVERIFY(m_data->open());
        QVERIFY(addWaybills(*m_data));
    }
    void cleanup() { m_data.reset(); }

    void opensWithEveryRowNewestFirstAndTheTotal()
    {
        WaybillHistoryWindow w(*m_data->core);
        QCOMPARE(w.objectName(), QStringLiteral("fmSearch_KDD"));
        QCOMPARE(w.windowTitle(), QStringLiteral("快递单查询"));
        QCOMPARE(listedIds(w), QList<int>({4, 3, 2, 1}));
        QCOMPARE(child<QLabel>(&w, "Pjcount")->text(), QStringLiteral("4"));
        // 10 + 20元 + " 5.5"; the blank fee is left out.
        QCOMPARE(child<QLabel>(&w, "lbSumMoney")->text(), QStringLiteral("总费用汇总:￥35.5"));
        QTableView *grid = child<QTableView>(&w, "gridKDD");
        QCOMPARE(grid->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("流水号"));
        QVERIFY(child<QCheckBox>(&w, "ckNomatterRQ")->isChecked());
        QVERIFY(!child<QDateEdit>(&w, "Date1")->isEnabled());
        QVERIFY(child<QRadioButton>(&w, "rbContains")->isChecked());
        QStringList templates;
        QComboBox *templateBox = child<QComboBox>(&w, "filterTemplate");
        for (int i = 0; i < templateBox->count(); ++i)
            templates << templateBox->itemText(i);
        templates.sort();
        QCOMPARE(templates, QStringList({"", "圆通", "韵达", "顺丰"}));
    }

    void emptyTableDisablesDeleteAndExport()
    {
        QVERIFY(m_data->exec(QStringLiteral("delete from DataKDDTable")));
        WaybillHistoryWindow w(*m_data->core);
        QCOMPARE(child<QLabel>(&w, "Pjcount")->text(), QStringLiteral("0"));
        QCOMPARE(child<QLabel>(&w, "lbSumMoney")->text(), QStringLiteral("总费用汇总:￥"));
        QVERIFY(!child<QPushButton>(&w, "del")->isEnabled());
        QVERIFY(!child<QPushButton>(&w, "pri")->isEnabled());
    }

    void filtersNarrowListAndTotal_data()
    {
        QTest::addColumn<QString>("receiver");
        QTest::addColumn<QString>("sender");
        QTest::addColumn<QString>("templateName");
        QTest::addColumn<QString>("number");
        QTest::addColumn<bool>("exact");
        QTest::addColumn<QList<int>>("ids");
        QTest::addColumn<QString>("sum");
        QTest::newRow("receiver contains: company or contact") << " 广州甲公司 " << "" << "" << "" << false
                                                             << QList<int>{3, 2, 1} << "35.5";
        QTest::newRow("receiver exact: company or contact") << "广州甲公司" << "" << "" << "" << true
                                                           << QList<int>{2, 1} << "30";
        QTest::newRow("sender contact exact") << "" << "李四" << "" << "" << true << QList<int>{1} << "10";
        QTest::newRow("sender company contains") << "" << "深圳" << "" << "" << false << QList<int>{3, 1} << "15.5";
        QTest::newRow("template exact") << "" << "" << "顺丰" << "" << true << QList<int>{3, 1} << "15.5";
        QTest::newRow("template exact, part of a name") << "" << "" << "顺" << "" << true << QList<int>{} << "";
        QTest::newRow("number contains") << "" << "" << "" << "SF0" << false << QList<int>{3, 1} << "15.5";
        QTest::newRow("number exact") << "" << "" << "" << "SF0" << true << QList<int>{} << "";
        QTest::newRow("every filter applies") << "广州甲公司" << "深圳乙" << "顺丰" << "001" << false
                                              << QList<int>{1} << "10";
        QTest::newRow("blank fee only") << "上海戊" << "" << "" << "" << true << QList<int>{4} << "";
    }
    void filtersNarrowListAndTotal()
    {
        QFETCH(QString, receiver);
        QFETCH(QString, sender);
        QFETCH(QString, templateName);
        QFETCH(QString, number);
        QFETCH(bool, exact);
        QFETCH(QList<int>, ids);
        QFETCH(QString, sum);
        WaybillHistoryWindow w(*m_data->core);
        w.show();
        child<QRadioButton>(&w, exact ? "rbExact" : "rbContains")->setChecked(true);
        child<QLineEdit>(&w, "filterSKR")->setText(receiver);
        child<QLineEdit>(&w, "filterOutComp")->setText(sender);
        child<QComboBox>(&w, "filterTemplate")->setEditText(templateName);
        child<QComboBox>(&w, "cb_PJBH")->setEditText(number);
        child<QPushButton>(&w, "btQur")->click();

        QCOMPARE(listedIds(w), ids);
        QCOMPARE(child<QLabel>(&w, "Pjcount")->text(), QString::number(ids.size()));
        QCOMPARE(child<QLabel>(&w, "lbSumMoney")->text(), QStringLiteral("总费用汇总:￥") + sum);
        QCOMPARE(child<QLineEdit>(&w, "filterSKR")->text(), receiver.trimmed());
        QCOMPARE(child<QPushButton>(&w, "del")->isEnabled(), !ids.isEmpty());
        QVERIFY(m_data->dialogs.shown.isEmpty());

        child<QPushButton>(&w, "btAll")->click();
        QCOMPARE(listedIds(w), QList<int>({4, 3, 2, 1}));
        QVERIFY(child<QLineEdit>(&w, "filterSKR")->text().isEmpty());
    }

    void choosingTemplateOrMatchModeQueriesAtOnce()
    {
        WaybillHistoryWindow w(*m_data->core);
        QComboBox *templateBox = child<QComboBox>(&w, "filterTemplate");
        templateBox->setCurrentIndex(templateBox->findText(QStringLiteral("圆通")));
        QCOMPARE(listedIds(w), QList<int>({2}));
        child<QLineEdit>(&w, "filterSKR")->setText(QStringLiteral("北京"));
        child<QRadioButton>(&w, "rbExact")->setChecked(true);
        QCOMPARE(listedIds(w), QList<int>({}));
        child<QRadioButton>(&w, "rbContains")->setChecked(true);
        QCOMPARE(listedIds(w), QList<int>({2}));
    }

    void periodNodes_data()
    {
        QTest::addColumn<QString>("node");
        QTest::addColumn<QList<int>>("ids");
        QTest::newRow("today") << "今天" << QList<int>{1};
        QTest::newRow("week") << "最近一周" << QList<int>{1};
        QTest::newRow("month: day 30 back included") << "最近一个月" << QList<int>{2, 1};
        QTest::newRow("three months") << "最近三个月" << QList<int>{2, 1};
        QTest::newRow("year") << "最近一年" << QList<int>{3, 2, 1};
    }
    void periodNodes()
    {
        QFETCH(QString, node);
        QFETCH(QList<int>, ids);
        WaybillHistoryWindow w(*m_data->core);
        w.show();
        // A previous filter is reset by the period.
        child<QLineEdit>(&w, "filterSKR")->setText(QStringLiteral("上海戊"));
        child<QPushButton>(&w, "btQur")->click();
        QTreeWidget *tree = child<QTreeWidget>(&w, "ATreeView1");
        const QList<QTreeWidgetItem *> items = tree->findItems(node, Qt::MatchExactly);
        QCOMPARE(items.size(), 1);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(items.first()).center());
        QCOMPARE(listedIds(w), ids);
        QVERIFY(!child<QCheckBox>(&w, "ckNomatterRQ")->isChecked());
        QVERIFY(child<QLineEdit>(&w, "filterSKR")->text().isEmpty());
        QCOMPARE(child<QDateEdit>(&w, "Date2")->date(), QDate::currentDate());
    }

    void otherPeriodSetsDatesWithoutQuery()
    {
        WaybillHistoryWindow w(*m_data->core);
        w.selectPeriod(QStringLiteral("今天"));
        QCOMPARE(listedIds(w), QList<int>({1}));
        w.selectPeriod(QStringLiteral("其他日期"));
        QCOMPARE(m_data->dialogs.lastText(), QStringLiteral("请选择右侧限定的起始年月日~再点击【查询】按钮"));
        QCOMPARE(child<QDateEdit>(&w, "Date1")->date(), QDate::currentDate().addDays(-548));
        QVERIFY(!child<QCheckBox>(&w, "ckNomatterRQ")->isChecked());
        QCOMPARE(listedIds(w), QList<int>({1}));
        child<QPushButton>(&w, "btQur")->click();
        QCOMPARE(listedIds(w), QList<int>({4, 3, 2, 1}));
    }

    void reversedDatesShowErrorAndKeepList()
    {
        WaybillHistoryWindow w(*m_data->core);
        const QDate today = QDate::currentDate();
        child<QDateEdit>(&w, "Date1")->setDate(today);
        child<QDateEdit>(&w, "Date2")->setDate(today.addDays(-1));
        QVERIFY(!child<QCheckBox>(&w, "ckNomatterRQ")->isChecked());
        child<QPushButton>(&w, "btQur")->click();
        QCOMPARE(m_data->dialogs.lastText(), QStringLiteral("日期选择有误:\"") + today.toString(Qt::ISODate)
                                                  + QStringLiteral("\">\"") + today.addDays(-1).toString(Qt::ISODate)
                                                  + QLatin1Char('"'));
        QCOMPARE(m_data->dialogs.lastCaption(), QStringLiteral("日期输入"));
        QCOMPARE(listedIds(w), QList<int>({4, 3, 2, 1}));
    }

    void sameQueryRunsOnceUntilRefreshed()
    {
        WaybillHistoryWindow w(*m_data->core);
        QVERIFY(m_data->exec(QStringLiteral("insert into DataKDDTable(流水号, 模板种类) values(5, '顺丰')")));
        child<QPushButton>(&w, "btQur")->click();
        QCOMPARE(listedIds(w), QList<int>({4, 3, 2, 1}));
        w.refresh();
        QCOMPARE(listedIds(w), QList<int>({5, 4, 3, 2, 1}));
    }

    void headerClickSortsDescending()
    {
        WaybillHistoryWindow w(*m_data->core);
        w.show();
        QTableView *grid = child<QTableView>(&w, "gridKDD");
        const int column = w.model()->fieldIndex(QStringLiteral("快递单号"));
        QVERIFY(column >= 0);
        Q_EMIT grid->horizontalHeader()->sectionClicked(column);
        QCOMPARE(w.sortColumn(), QStringLiteral("快递单号"));
        QCOMPARE(listedIds(w), QList<int>({2, 4, 3, 1})); // YT002, YD004, SF003, SF001
    }

    void enterExpandsPartyMnemonic_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expanded");
        QTest::newRow("receiver, contains code") << "filterSKR" << " %jgs " << "广州甲公司";
        QTest::newRow("sender, exact code") << "filterOutComp" << "gzjgs" << "广州甲公司";
        QTest::newRow("no entry: trimmed text stays") << "filterSKR" << " %zz " << "%zz";
    }
    void enterExpandsPartyMnemonic()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, expanded);
        QVERIFY(m_data->exec(QStringLiteral("insert into CKPersonalInfoTable(全称, 助记码) values(?, ?)"),
                             {QStringLiteral("广州甲公司"), QStringLiteral("gzjgs")}));
        WaybillHistoryWindow w(*m_data->core);
        w.show();
        QLineEdit *edit = child<QLineEdit>(&w, qPrintable(box));
        QTest::keyClicks(edit, typed);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(edit->text(), expanded);
        QVERIFY(w.isVisible());
    }

    void pickButtonsWriteThePickedParty()
    {
        WaybillHistoryWindow w(*m_data->core);
        QStringList asked;
        w.setPersonPicker([&](const QString &type, const QString &caption) -> std::optional<QString> {
            asked << type + QLatin1Char('/') + caption;
            if (caption == QStringLiteral("选择发件单位"))
                return std::nullopt;
            return QStringLiteral("我方公司");
        });
        child<QLineEdit>(&w, "filterOutComp")->setText(QStringLiteral("kept"));
        child<QPushButton>(&w, "Button2")->click();
        child<QPushButton>(&w, "Button3")->click();
        QCOMPARE(asked, QStringList({"我方单位/选择寄件单位", "往来单位/选择发件单位"}));
        QCOMPARE(child<QLineEdit>(&w, "filterSKR")->text(), QStringLiteral("我方公司"));
        QCOMPARE(child<QLineEdit>(&w, "filterOutComp")->text(), QStringLiteral("kept"));
    }

    void leavingPartyFilterForAFieldPicksFromAddressBook()
    {
        WaybillHistoryWindow w(*m_data->core);
        QStringList asked;
        w.setPersonPicker([&](const QString &type, const QString &caption) -> std::optional<QString> {
            asked << type + QLatin1Char('/') + caption;
            return QStringLiteral("往来甲");
        });
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QLineEdit *receiver = child<QLineEdit>(&w, "filterSKR");
        receiver->setFocus();
        QTest::keyClick(receiver, Qt::Key_Tab);
        QCoreApplication::processEvents();
        QCOMPARE(asked, QStringList({"往来单位/选择收件单位"}));
        QCOMPARE(receiver->text(), QStringLiteral("往来甲"));

        // A button takes the focus for its own action: no address book.
        QLineEdit *sender = child<QLineEdit>(&w, "filterOutComp");
        QVERIFY(sender->hasFocus());
        QPushButton *query = child<QPushButton>(&w, "btQur");
        QTest::mouseClick(query, Qt::LeftButton);
        QCoreApplication::processEvents();
        QCOMPARE(asked.size(), 1);
        QVERIFY(sender->text().isEmpty());
    }

    void deleteSelectedAsksAndDeletesOnlySelected_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<QList<int>>("remaining");
        QTest::newRow("yes") << true << QList<int>{4, 2};
        QTest::newRow("no") << false << QList<int>{4, 3, 2, 1};
    }
    void deleteSelectedAsksAndDeletesOnlySelected()
    {
        QFETCH(bool, confirm);
        QFETCH(QList<int>, remaining);
        WaybillHistoryWindow w(*m_data->core);
        w.show();
        QTableView *grid = child<QTableView>(&w, "gridKDD");
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCenter(grid, rowOf(w, 3)));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ControlModifier, cellCenter(grid, rowOf(w, 1)));
        m_data->dialogs.answers.enqueue(confirm);
        child<QPushButton>(&w, "del")->click();

        QCOMPARE(m_data->dialogs.shown.first().kind, QStringLiteral("ask"));
        QCOMPARE(m_data->dialogs.shown.first().text, QStringLiteral("确认要删除所选中的2个快递单吗?"));
        QCOMPARE(m_data->dialogs.shown.first().caption, QStringLiteral("删除确认"));
        QCOMPARE(storedIds(*m_data), remaining);
        QCOMPARE(listedIds(w), remaining);
        if (confirm)
            QCOMPARE(m_data->dialogs.lastText(), QStringLiteral("2个快递单删除成功！"));
        else
            QCOMPARE(m_data->dialogs.shown.size(), 1);
    }

    void deleteListedDeletesOnlyListed()
    {
        WaybillHistoryWindow w(*m_data->core);
        child<QLineEdit>(&w, "filterSKR")->setText(QStringLiteral("广州甲公司"));
        child<QPushButton>(&w, "btQur")->click();
        QCOMPARE(listedIds(w), QList<int>({3, 2, 1}));

        m_data->dialogs.answers.enqueue(false);
        child<QPushButton>(&w, "btDeleteList")->click();
        QCOMPARE(m_data->dialogs.lastText(), QStringLiteral("此操作将删除当前查询到的所有记录，确定删除吗？"));
        QCOMPARE(storedIds(*m_data), QList<int>({4, 3, 2, 1}));

        m_data->dialogs.answers.enqueue(true);
        child<QPushButton>(&w, "btDeleteList")->click();
        QCOMPARE(m_data->dialogs.lastText(), QStringLiteral("3条记录删除成功！"));
        QCOMPARE(storedIds(*m_data), QList<int>({4}));
        QCOMPARE(listedIds(w), QList<int>({}));
    }

    void deleteAllEmptiesTableOncePerOpening()
    {
        WaybillHistoryWindow w(*m_data->core);
        m_data->dialogs.answers.enqueue(true);
        child<QPushButton>(&w, "DelAll")->click();
        QCOMPARE(m_data->dialogs.shown.first().text, QStringLiteral("清空操作将删除所有保存的历史开票数据，确定要清空吗？"));
        QCOMPARE(m_data->dialogs.lastText(), QStringLiteral("清空成功！共删除4条记录"));
        QCOMPARE(storedIds(*m_data), QList<int>({}));
        QCOMPARE(listedIds(w), QList<int>({}));
        QVERIFY(!child<QPushButton>(&w, "DelAll")->isEnabled());
    }

    void doubleClickOpensOnlyWhenTicked_data()
    {
        QTest::addColumn<bool>("ticked");
        QTest::newRow("ticked") << true;
        QTest::newRow("unticked") << false;
    }
    void doubleClickOpensOnlyWhenTicked()
    {
        QFETCH(bool, ticked);
        WaybillHistoryWindow w(*m_data->core);
        w.show();
        QCheckBox *box = child<QCheckBox>(&w, "ckDBLClick");
        QVERIFY(box->isChecked()); // no stored value means ticked
        box->setChecked(!ticked);
        box->setChecked(ticked);
        QCOMPARE(m_data->core->settings().getINIConfigByname(QStringLiteral("KDDView_DBLOPEN")),
                 ticked ? QStringLiteral("1") : QStringLiteral("0"));
        QSignalSpy opened(&w, &WaybillHistoryWindow::openBillRequested);
        QTableView *grid = child<QTableView>(&w, "gridKDD");
        const QPoint cell = cellCenter(grid, rowOf(w, 2));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell);
        if (ticked) {
            QCOMPARE(opened.size(), 1);
            QCOMPARE(opened.first().at(0).toString(), QStringLiteral("圆通"));
            QCOMPARE(opened.first().at(1).toInt(), 2);
            QVERIFY(!w.isVisible());
            QCOMPARE(w.result(), int(QDialog::Accepted));
            return;
        }
        QCOMPARE(opened.size(), 0);
        QVERIFY(w.isVisible());
        // The button opens whatever the option says.
        child<QPushButton>(&w, "btOpenView")->click();
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened.first().at(1).toInt(), 2);

        WaybillHistoryWindow reopened(*m_data->core);
        QVERIFY(!child<QCheckBox>(&reopened, "ckDBLClick")->isChecked());
    }

    void cancelledOpenKeepsWindowOpen()
    {
        WaybillHistoryWindow w(*m_data->core);
        w.show();
        connect(&w, &WaybillHistoryWindow::openBillRequested, &w, [&w] { w.cancelOpen(); }, Qt::DirectConnection);
        child<QPushButton>(&w, "btOpenView")->click();
        QVERIFY(w.isVisible());
    }

    void exportCallsExporterWithTitleAndDate()
    {
        WaybillHistoryWindow w(*m_data->core);
        QString title;
        QTableView *exported = nullptr;
        w.setExporter([&](QTableView *grid, const QString &t) {
            exported = grid;
            title = t;
        });
        child<QPushButton>(&w, "pri")->click();
        QCOMPARE(exported, child<QTableView>(&w, "gridKDD"));
        QCOMPARE(title, QStringLiteral("快递单历史开票") + QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
    }

    void supplementWritesCurrentRow()
    {
        WaybillHistoryWindow w(*m_data->core);
        QTableView *grid = child<QTableView>(&w, "gridKDD");
        grid->setCurrentIndex(w.model()->index(rowOf(w, 3), 0));
        m_data->dialogs.inputs.enqueue(QStringLiteral("SF'999"));
        w.supplementNumber();
        QCOMPARE(m_data->dialogs.shown.last().text, QStringLiteral("补录,输入已发出的快递单号"));
        QCOMPARE(m_data->scalar(QStringLiteral("select 快递单号 from DataKDDTable where 流水号=3")).toString(),
                 QStringLiteral("SF'999"));
        QCOMPARE(w.model()->fieldValue(rowOf(w, 3), QStringLiteral("快递单号")).toString(), QStringLiteral("SF'999"));
        // Cancelling changes nothing.
        w.supplementRemark();
        QVERIFY(m_data->scalar(QStringLiteral("select 备注 from DataKDDTable where 流水号=3")).isNull());
    }
};

QTEST_MAIN(TestSearchKdd)
#include "test_historyui_search_kdd.moc"
