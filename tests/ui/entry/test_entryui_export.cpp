// The export invoice window through a user's day: goods lines computed in
// the foreign currency, the totals in yuan at the typed rate, the FOB totals,
// the rate kept per currency, the buyer's details from the address book,
// saving every time, registered and voided numbers, and the invoice on paper.

#include "entry/BillKind.h"
#include "entry/ExportInvoiceWindow.h"
#include "settings/Options.h"
#include "store/Schema.h"
#include "support/EntryFixture.h"
#include "support/EntryWindows.h"
#include "support/PdfText.h"
#include "support/Widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSqlQuery>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using namespace moque;

class TestEntryUiExport : public test::EntryFixture
{
    Q_OBJECT

public:
    TestEntryUiExport() : EntryFixture(QStringLiteral("DataCKSPTable")) {}

private:
    std::unique_ptr<ui::ExportInvoiceWindow> openWindow()
    {
        return test::openActive<ui::ExportInvoiceWindow>(*m_data->core);
    }
    // Types the rate on the strip and ends it with Enter.
    static void typeRate(ui::ExportInvoiceWindow &w, const QString &rate)
    {
        auto *edit = test::child<QLineEdit>(&w, "edtHuiLv");
        test::replaceText(edit, rate);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    // A buyer and one line of 1000 × 12.5 in the window's currency.
    static void fillInvoice(ui::ExportInvoiceWindow &w)
    {
        test::enterText(w, "zdGouHComp", QStringLiteral("HarborTrading"));
        test::enterText(w, "zdGoodName1", QStringLiteral("丝绸围巾"));
        test::enterText(w, "zdAmount1", QStringLiteral("1000"));
        test::enterText(w, "zdPrice1", QStringLiteral("12.5"));
        test::enterText(w, "zdD2Price1", QStringLiteral("12000"));
    }
    int insertRow(const QString &state)
    {
        m_data->exec(QStringLiteral("insert into DataCKSPTable (模板种类,发票代码,发票编号,票据状态) "
                                    "values('通用出口发票','4403','00000042',?)"),
                     {state});
        return lastId();
    }

private Q_SLOTS:
    void opensOnItsDefaultTemplate()
    {
        auto w = openWindow();
        QVERIFY(w->isUsable());
        QCOMPARE(w->objectName(), QStringLiteral("fmCheckCKSP"));
        QCOMPARE(w->windowTitle(), QStringLiteral("出口商品发票（通用出口发票）-ID=-1"));
        QCOMPARE(w->itemChecks().size(), 3);
        QVERIFY(w->findChild<QWidget *>(QStringLiteral("DEFCHECK12")));
        auto *toolbar = test::child<QToolBar>(w.get(), "toolBarCheck");
        QVERIFY(!test::child<QToolButton>(w.get(), "btMultiPrintF")->isVisibleTo(toolbar));
        QCOMPARE(w->moneyName(), QStringLiteral("美元"));
        QCOMPARE(w->moneyCode(), QStringLiteral("USD"));
        QCOMPARE(test::shownText(*w, "zdWaiBiName"), QStringLiteral("美元"));
        QCOMPARE(test::shownText(*w, "edtHuiLv"), QStringLiteral("100:100"));
        QCOMPARE(test::shownText(*w, "zdExchRate"), QStringLiteral("100:100"));
        QCOMPARE(test::shownText(*w, "zdNianYueRi"), QDate::currentDate().toString(QStringLiteral("yyyy年MM月dd日")));
        QVERIFY(dialogs().shown.isEmpty());
    }

    // The template's print items and the kind's field dictionary name only fields of the window.
    void everyPrintItemIsAField()
    {
        QSqlQuery q(m_data->db());
        QVERIFY(q.exec(QStringLiteral("select CtlName from ckControl where CheckTypeID=5 union "
                                      "select CtlName from NameDict where CheckTypeName='出口商品发票'")));
        int names = 0;
        auto w = openWindow();
        while (q.next()) {
            const QString name = q.value(0).toString();
            ++names;
            if (name.startsWith(QStringLiteral("DEFCHECK")))
                QVERIFY2(w->findChild<QCheckBox *>(name), qPrintable(name));
            else
                QVERIFY2(entry::findField(entry::exportInvoiceKind().fields, name), qPrintable(name));
        }
        QVERIFY(names > 90);
    }

    void everyHistoryColumnIsWritten()
    {
        QStringList table = store::findTable(store::dataFileTables(), QStringLiteral("DataCKSPTable"))->columnNames();
        // 发票编号 belongs to the registration of numbers.
        for (const char *c : {"流水号", "发票编号"})
            table.removeAll(QString::fromUtf8(c));
        QStringList written = entry::saveColumns(entry::exportInvoiceKind().fields);
        written << QStringLiteral("币种") << entry::exportInvoiceKind().stateColumn;
        table.sort();
        written.sort();
        QCOMPARE(written, table);
    }

    void aLineIsQuantityTimesPrice_data()
    {
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("sum");
        QTest::addColumn<QString>("foreign");
        QTest::newRow("no price counts 0") << "3" << "" << "0.00" << "";
        QTest::newRow("no quantity counts 1") << "" << "2.5" << "2.50" << "USD2.50";
        QTest::newRow("thousands") << "1000" << "12.5" << "12,500.00" << "USD12500.00";
        QTest::newRow("blanks around") << " 4 " << " 0.25 " << "1.00" << "USD1.00";
        QTest::newRow("both empty") << "" << "" << "" << "";
    }
    void aLineIsQuantityTimesPrice()
    {
        QFETCH(QString, quantity);
        QFETCH(QString, price);
        QFETCH(QString, sum);
        QFETCH(QString, foreign);
        auto w = openWindow();
        test::enterText(*w, "zdAmount2", QStringLiteral("9"));
        test::enterText(*w, "zdAmount2", QString());
        test::enterText(*w, "zdAmount1", quantity);
        test::enterText(*w, "zdPrice1", price);
        QCOMPARE(test::shownText(*w, "zdSum1"), sum);
        QCOMPARE(test::shownText(*w, "zdWaiHJXX"), foreign);
        // A line emptied again gives no amount.
        QCOMPARE(test::shownText(*w, "zdSum2"), QString());
    }

    void aQuantityThatIsNoNumberShowsWhy()
    {
        auto w = openWindow();
        test::enterText(*w, "zdPrice1", QStringLiteral("5"));
        QCOMPARE(test::shownText(*w, "zdSum1"), QStringLiteral("5.00"));
        test::enterText(*w, "zdAmount1", QStringLiteral("2x"));
        QCOMPARE(dialogs().lastText(), QStringLiteral("非法的数量或单价(必须是英文半角的数字和.)！"));
        QCOMPARE(test::shownText(*w, "zdSum1"), QStringLiteral("5.00"));
        QCOMPARE(test::child<QLineEdit>(w.get(), "zdAmount1")->maxLength(), 12);
    }

    void totalsInYuanAtTheTypedRate_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("rateBox");
        QTest::addColumn<QString>("rmb");
        QTest::addColumn<QString>("rmbCapital");
        QTest::addColumn<QString>("message");
        QTest::newRow("rate") << "100:680.23" << "100:680.23" << "RMB680.23" << "人民币陆佰捌拾元贰角叁分" << "";
        QTest::newRow("no colon changes nothing") << "680" << "100:100" << "RMB100.00" << "人民币壹佰元整" << "";
        QTest::newRow("waits for the second number") << "100:" << "100:100" << "RMB100.00" << "人民币壹佰元整"
                                                      << "";
        QTest::newRow("full-width colon dropped") << "100：680" << "100:100" << "RMB100.00" << "人民币壹佰元整"
                                                  << "";
        QTest::newRow("zero foreign units") << "00:50" << "00:50" << "RMB0.00" << "人民币零元整"
                                            << "无效的外汇汇率！";
        QTest::newRow("letters") << "ab:cd" << "ab:cd" << "RMB0.00" << "人民币零元整"
                                 << "没有输入正确的汇率(如: 100:680.23等)！";
    }
    void totalsInYuanAtTheTypedRate()
    {
        QFETCH(QString, typed);
        QFETCH(QString, rateBox);
        QFETCH(QString, rmb);
        QFETCH(QString, rmbCapital);
        QFETCH(QString, message);
        auto w = openWindow();
        test::enterText(*w, "zdAmount1", QStringLiteral("2"));
        test::enterText(*w, "zdPrice1", QStringLiteral("50"));
        dialogs().clear();
        // Nothing is said while the rate is being typed.
        auto *edit = test::child<QLineEdit>(w.get(), "edtHuiLv");
        test::replaceText(edit, typed);
        QVERIFY2(dialogs().shown.isEmpty(), qPrintable(dialogs().texts().join('|')));
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(test::shownText(*w, "zdExchRate"), rateBox);
        QCOMPARE(test::shownText(*w, "zdWaiHJXX"), QStringLiteral("USD100.00"));
        QCOMPARE(test::shownText(*w, "ZDWAIHJDX"), QStringLiteral("美元壹佰元整"));
        QCOMPARE(test::shownText(*w, "zdRmbHJXX"), rmb);
        QCOMPARE(test::shownText(*w, "zdRmbHJDX"), rmbCapital);
        QCOMPARE(dialogs().lastText(), message);
    }

    void theRateBoxTakesAFullWidthColon()
    {
        auto w = openWindow();
        test::enterText(*w, "zdAmount1", QStringLiteral("1"));
        test::enterText(*w, "zdPrice1", QStringLiteral("100"));
        test::enterText(*w, "zdExchRate", QStringLiteral("100：700"));
        QCOMPARE(test::shownText(*w, "zdExchRate"), QStringLiteral("100:700"));
        QCOMPARE(test::shownText(*w, "zdRmbHJXX"), QStringLiteral("RMB700.00"));
        test::enterText(*w, "zdExchRate", QString());
        QCOMPARE(dialogs().lastText(), QStringLiteral("没有输入汇率！"));
        QCOMPARE(test::shownText(*w, "zdRmbHJXX"), QStringLiteral("RMB0.00"));
    }

    void optionsShapeTheTotals()
    {
        auto w = openWindow();
        test::enterText(*w, "zdAmount1", QStringLiteral("3"));
        test::enterText(*w, "zdPrice1", QStringLiteral("10"));
        test::child<QCheckBox>(w.get(), "cfgTotalJEWithSheep")->setChecked(false);
        test::child<QCheckBox>(w.get(), "cfgJEDXWithMoneyName")->setChecked(false);
        test::child<QCheckBox>(w.get(), "cfgRMBJEDXWithRMB")->setChecked(false);
        QCOMPARE(test::shownText(*w, "zdWaiHJXX"), QStringLiteral("30.00"));
        QCOMPARE(test::shownText(*w, "zdRmbHJXX"), QStringLiteral("30.00"));
        QCOMPARE(test::shownText(*w, "ZDWAIHJDX"), QStringLiteral("叁拾元整"));
        QCOMPARE(test::shownText(*w, "zdRmbHJDX"), QStringLiteral("叁拾元整"));
    }

    void fobTotals()
    {
        auto w = openWindow();
        typeRate(*w, QStringLiteral("100:700"));
        test::enterText(*w, "zdD2Price1", QStringLiteral("USD256.89"));
        test::enterText(*w, "zdD2Price2", QStringLiteral("100"));
        QCOMPARE(test::shownText(*w, "zdFobWaiHJXX"), QStringLiteral("USD356.89"));
        QCOMPARE(test::shownText(*w, "zdFobRmbHJXX"), QStringLiteral("RMB2,498.23"));
        test::enterText(*w, "zdD2Price3", QStringLiteral("abc"));
        QCOMPARE(dialogs().lastText(), QStringLiteral("请输入正确的离岸价(如：256.89 或 USD256.89)！"));
        QCOMPARE(test::shownText(*w, "zdD2Price3"), QString());
        QCOMPARE(QApplication::focusWidget(), w->control("zdD2Price3"));
        QCOMPARE(test::shownText(*w, "zdFobWaiHJXX"), QStringLiteral("USD356.89"));
        // A new rate converts the FOB total again.
        typeRate(*w, QStringLiteral("100:600"));
        QCOMPARE(test::shownText(*w, "zdFobRmbHJXX"), QStringLiteral("RMB2,141.34"));
    }

    void theRateIsKeptPerCurrency()
    {
        auto w = openWindow();
        auto *currency = test::child<QComboBox>(w.get(), "cfgMoneyType");
        currency->setCurrentText(QStringLiteral("欧元"));
        QCOMPARE(test::shownText(*w, "zdWaiBiName"), QStringLiteral("欧元"));
        QCOMPARE(w->moneyCode(), QStringLiteral("EUR"));
        QCOMPARE(test::shownText(*w, "edtHuiLv"), QStringLiteral("100:100"));
        typeRate(*w, QStringLiteral("100:780"));
        test::child<QComboBox>(w.get(), "cfgDateFormat")->setCurrentText(QStringLiteral("YYYY-MM-DD"));
        test::click(w.get(), "btRmember");
        QCOMPARE(dialogs().lastText(), QStringLiteral("打印勾选及选项已记住！"));
        QCOMPARE(m_data->core->options().getConfigByname(QStringLiteral("欧元")), QStringLiteral("100:780"));
        currency->setCurrentText(QStringLiteral("美元"));
        QCOMPARE(test::shownText(*w, "zdExchRate"), QStringLiteral("100:100"));
        currency->setCurrentText(QStringLiteral("欧元"));
        QCOMPARE(test::shownText(*w, "zdExchRate"), QStringLiteral("100:780"));
        // The template remembers the currency and the date format; the next
        // window starts with them and the currency's rate.
        w.reset();
        auto next = openWindow();
        QCOMPARE(next->moneyName(), QStringLiteral("欧元"));
        QCOMPARE(test::shownText(*next, "zdExchRate"), QStringLiteral("100:780"));
        QCOMPARE(test::shownText(*next, "zdNianYueRi"), QDate::currentDate().toString(Qt::ISODate));
    }

    void theBuyersNameBringsTheLastEntryOfThatName()
    {
        for (const char *address : {"1 Pier Road", "9 Quay Street"})
            QVERIFY(m_data->exec(QStringLiteral("insert into CKPersonalInfoTable(全称,地址,开户行账号,开户银行,电话,单位类型) "
                                                "values(' Harbor Trading ',?,'6222','Bank of Ports','555-01','往来单位')"),
                                 {QString::fromLatin1(address)}));
        auto w = openWindow();
        test::enterText(*w, "zdGouHComp", QStringLiteral("Harbor Trading"));
        QCOMPARE(test::shownText(*w, "zdGouHAddr"), QStringLiteral("9 Quay Street"));
        QCOMPARE(test::shownText(*w, "zdGouHAcct"), QStringLiteral("6222"));
        QCOMPARE(test::shownText(*w, "zdGouHBank"), QStringLiteral("Bank of Ports"));
        QCOMPARE(test::shownText(*w, "zdGouHPhone"), QStringLiteral("555-01"));
    }

    void saveWritesEveryTimeIntoOneRow()
    {
        auto w = openWindow();
        fillInvoice(*w);
        test::enterText(*w, "zdCheckNo", QStringLiteral("00001234"));
        typeRate(*w, QStringLiteral("100:700"));
        w->setBillDate(QDate(2026, 3, 5));
        w->itemChecks().at(1)->setChecked(true);
        test::click(w.get(), "btSaveCheck");
        QCOMPARE(dialogs().lastText(), QStringLiteral("【出口商品发票】填写保存成功！ "));
        const int id = w->state().checkId();
        QVERIFY(id > 0);
        QCOMPARE(w->windowTitle(), QStringLiteral("出口商品发票-单号：%1").arg(id));
        const QList<std::pair<QString, QString>> expected{
            {"购方单位", "HarborTrading"}, {"票据编号", "00001234"},  {"出票日期", "2026-03-05"},
            {"币种", "美元"},              {"金额合计", "12500.00"},  {"当期汇率", "100:700"},
            {"离岸价合计", "12,000.00"},   {"商品名称1", "丝绸围巾"}, {"数量1", "1000"},
            {"单价1", "12.5"},             {"销售额1", "12,500.00"},  {"离岸价1", "12000"},
            {"勾选项", "CIF"},             {"票据状态", "已用"},      {"模板种类", "通用出口发票"}};
        for (const auto &[name, value] : expected)
            QCOMPARE(column(id, name), value);
        // The same bill again: no question about changes, the same row written again.
        dialogs().clear();
        test::enterText(*w, "zdHeTNo", QStringLiteral("HT-7"));
        test::click(w.get(), "btSaveCheck");
        QVERIFY(m_data->exec(QStringLiteral("update DataCKSPTable set 合同号码='changed elsewhere' where 流水号=?"), {id}));
        test::click(w.get(), "btSaveCheck");
        QCOMPARE(dialogs().texts(), QStringList(2, QStringLiteral("【出口商品发票】填写保存成功！ ")));
        QCOMPARE(rowCount(), 1);
        QCOMPARE(w->state().checkId(), id);
        QCOMPARE(column(id, "合同号码"), QStringLiteral("HT-7"));
    }

    void saveIsRefused_data()
    {
        QTest::addColumn<QString>("buyer");
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("message");
        QTest::newRow("no buyer") << "" << "5" << "购货单位不能为空";
        QTest::newRow("blank buyer") << "  " << "5" << "购货单位不能为空";
        QTest::newRow("no amount") << "HarborTrading" << "" << "购货及金额项目必须填写才能保存~";
    }
    void saveIsRefused()
    {
        QFETCH(QString, buyer);
        QFETCH(QString, price);
        QFETCH(QString, message);
        auto w = openWindow();
        test::enterText(*w, "zdGouHComp", buyer);
        test::enterText(*w, "zdPrice1", price);
        test::click(w.get(), "btSaveCheck");
        QCOMPARE(dialogs().lastText(), message);
        QCOMPARE(rowCount(), 0);
        QCOMPARE(w->state().checkId(), -1);
    }

    void aSavedInvoiceOpensAsItWasSaved()
    {
        auto w = openWindow();
        test::child<QComboBox>(w.get(), "cfgMoneyType")->setCurrentText(QStringLiteral("欧元"));
        fillInvoice(*w);
        typeRate(*w, QStringLiteral("100:790"));
        test::enterText(*w, "zdShouHType", QStringLiteral("T/T"));
        test::enterText(*w, "zdCheckNo", QStringLiteral("00001234"));
        test::click(w.get(), "btSaveCheck");
        const int id = w->state().checkId();
        w.reset();

        auto again = openWindow();
        QVERIFY(again->openSavedBill(QString(), id));
        QCOMPARE(again->windowTitle(), QStringLiteral("历史票据查看（流水号为：%1)").arg(id));
        QVERIFY(again->state().isHistory());
        QCOMPARE(again->moneyName(), QStringLiteral("欧元"));
        QCOMPARE(test::shownText(*again, "zdExchRate"), QStringLiteral("100:790"));
        QCOMPARE(test::shownText(*again, "zdGouHComp"), QStringLiteral("HarborTrading"));
        QCOMPARE(test::shownText(*again, "zdCheckNo"), QStringLiteral("00001234"));
        QCOMPARE(test::shownText(*again, "zdShouHType"), QStringLiteral("T/T"));
        QCOMPARE(test::shownText(*again, "zdSum1"), QStringLiteral("12,500.00"));
        QCOMPARE(test::shownText(*again, "zdWaiHJXX"), QStringLiteral("EUR12500.00"));
        QCOMPARE(test::shownText(*again, "zdRmbHJXX"), QStringLiteral("RMB98750.00"));
        QCOMPARE(test::shownText(*again, "zdFobWaiHJXX"), QStringLiteral("EUR12,000.00"));
        // Saving a historic invoice asks first; No writes nothing.
        dialogs().clear();
        test::click(again.get(), "btSaveCheck");
        QCOMPARE(dialogs().texts(), QStringList{QStringLiteral("该单据来自历史单据，历史单据不能修改！\r另存为新单据吗？")});
        QCOMPARE(rowCount(), 1);
    }

    void aRegisteredNumberIsFilledInAndKeepsItsRow()
    {
        const int id = insertRow(entry::kStateUnused);
        auto w = openWindow();
        QVERIFY(w->openSavedBill(QStringLiteral("通用出口发票"), id));
        QCOMPARE(w->windowTitle(), QStringLiteral("出口商品发票（流水号为：%1)").arg(id));
        QVERIFY(!w->state().isHistory());
        QCOMPARE(test::shownText(*w, "zdCheckNo"), QStringLiteral("00000042"));
        QCOMPARE(test::shownText(*w, "zdCheckDMNo"), QStringLiteral("4403"));
        QCOMPARE(test::shownText(*w, "zdExchRate"), QStringLiteral("100:100"));
        fillInvoice(*w);
        test::click(w.get(), "btSaveCheck");
        QCOMPARE(dialogs().lastText(), QStringLiteral("【出口商品发票】填写保存成功！ "));
        QCOMPARE(w->state().checkId(), id);
        QCOMPARE(rowCount(), 1);
        QCOMPARE(column(id, "票据状态"), QStringLiteral("已用"));
        QCOMPARE(column(id, "票据编号"), QStringLiteral("00000042"));
        QCOMPARE(column(id, "发票编号"), QStringLiteral("00000042"));
        QCOMPARE(column(id, "购方单位"), QStringLiteral("HarborTrading"));
    }

    void aVoidedInvoiceIsNeverSavedOver()
    {
        auto w = openWindow();
        fillInvoice(*w);
        test::click(w.get(), "btSaveCheck");
        const int id = w->state().checkId();
        QVERIFY(m_data->exec(QStringLiteral("update DataCKSPTable set 票据状态='作废' where 流水号=?"), {id}));
        test::enterText(*w, "zdPrice1", QStringLiteral("13"));
        test::click(w.get(), "btSaveCheck");
        QCOMPARE(dialogs().lastText(), QStringLiteral("票据已经作废,保存失败！"));
        QCOMPARE(column(id, "金额合计"), QStringLiteral("12500.00"));
        QCOMPARE(rowCount(), 1);
    }

    void newBillEmptiesTheBuyerAndKeepsTheGoods()
    {
        auto w = openWindow();
        fillInvoice(*w);
        test::enterText(*w, "zdGouHAcct", QStringLiteral("6222"));
        test::child<QPlainTextEdit>(w.get(), "zdRemark")->setPlainText(QStringLiteral("唛头"));
        test::enterText(*w, "zdXiaoHComp", QStringLiteral("Moque Export"));
        test::click(w.get(), "btNewCheck");
        QCOMPARE(w->windowTitle(), QStringLiteral("新出口商品发票-ID=-1"));
        for (const char *box : {"zdGouHComp", "zdGouHAcct", "zdRemark"})
            QVERIFY2(test::shownText(*w, QString::fromLatin1(box)).isEmpty(), box);
        QCOMPARE(test::shownText(*w, "zdXiaoHComp"), QStringLiteral("Moque Export"));
        QCOMPARE(test::shownText(*w, "zdSum1"), QStringLiteral("12,500.00"));
        QVERIFY(!test::child<QToolButton>(w.get(), "btSaveAs")->isEnabled());
    }

    void copyMakesANewInvoice()
    {
        auto w = openWindow();
        test::click(w.get(), "btSaveAs");
        QCOMPARE(dialogs().lastText(), QStringLiteral("  未保存单据不需要复制！    "));
        fillInvoice(*w);
        test::click(w.get(), "btSaveCheck");
        test::click(w.get(), "btSaveAs");
        QCOMPARE(dialogs().lastText(), QStringLiteral("单据复制成功！"));
        QCOMPARE(w->windowTitle(), QStringLiteral("出口商品发票-通用出口发票 ID=-1"));
        QVERIFY(!test::child<QToolButton>(w.get(), "btSaveAs")->isEnabled());
        test::click(w.get(), "btSaveCheck");
        QCOMPARE(rowCount(), 2);
    }

    void closingAsksToSaveAndKeepsNoPosition_data()
    {
        QTest::addColumn<QString>("buyer");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<int>("rows");
        QTest::newRow("yes") << "HarborTrading" << true << 1;
        QTest::newRow("no") << "HarborTrading" << false << 0;
        QTest::newRow("no buyer") << "" << true << 0;
    }
    void closingAsksToSaveAndKeepsNoPosition()
    {
        QFETCH(QString, buyer);
        QFETCH(bool, answer);
        QFETCH(int, rows);
        auto w = openWindow();
        test::enterText(*w, "zdAmount1", QStringLiteral("2"));
        test::enterText(*w, "zdPrice1", QStringLiteral("3"));
        test::enterText(*w, "zdGouHComp", buyer);
        dialogs().clear();
        dialogs().answers << answer;
        w->close();
        if (buyer.isEmpty()) {
            QVERIFY(dialogs().shown.isEmpty());
        } else {
            QCOMPARE(dialogs().shown.first().text, QStringLiteral("是否保存该单据？"));
            QCOMPARE(dialogs().shown.first().caption, QStringLiteral("关闭"));
        }
        QCOMPARE(rowCount(), rows);
        QCOMPARE(m_data->core->settings().file().value(QStringLiteral("FMCHECKCKSP"), QStringLiteral("PositionX")),
                 QString());
    }

    void noPrintDateHidesTheDate()
    {
        auto w = openWindow();
        auto *noDate = test::child<QCheckBox>(w.get(), "cfgNoPrtDate");
        QVERIFY(w->values().value(QStringLiteral("zdNianYueRi")).shown);
        noDate->setChecked(true);
        QVERIFY(!w->values().value(QStringLiteral("zdNianYueRi")).shown);
        QVERIFY(!test::child<QWidget>(w.get(), "SelDate")->isVisible());
        noDate->setChecked(false);
        QVERIFY(w->values().value(QStringLiteral("zdNianYueRi")).shown);
        QVERIFY(test::child<QWidget>(w.get(), "SelDate")->isVisible());
    }

    void printAndSaveKeepsTheNumberSilently()
    {
        auto w = openWindow();
        fillInvoice(*w);
        test::enterText(*w, "zdCheckNo", QStringLiteral("00000077"));
        dialogs().files.enqueue(m_out.filePath("printsave.pdf"));
        dialogs().clear();
        test::click(w.get(), "btPrintAndSave");
        QVERIFY(QFile::exists(m_out.filePath("printsave.pdf")));
        QVERIFY2(dialogs().shown.size() == 1 && dialogs().shown.first().kind == QStringLiteral("save"),
                 qPrintable(dialogs().texts().join('|')));
        QCOMPARE(rowCount(), 1);
        QCOMPARE(w->state().checkId(), -1);
        QCOMPARE(test::shownText(*w, "zdCheckNo"), QStringLiteral("00000077"));
    }

    void printPutsTheBuyerAndTheTotalsAtTheirItemPlaces()
    {
        auto w = openWindow();
        fillInvoice(*w);
        typeRate(*w, QStringLiteral("100:700"));
        const QString path = m_out.filePath("export.pdf");
        dialogs().files.enqueue(path);
        test::click(w.get(), "btPrint1");
        QVERIFY2(QFile::exists(path), qPrintable(dialogs().texts().join('|')));
        const QList<test::PdfWord> words = test::readPdfWords(path);
        QSqlQuery q(m_data->db());
        QVERIFY(q.exec("select c.CtlName,c.CtlX,c.CtlY,c.CtlW,t.XMove,t.YMove from ckControl c join CKTypeTable t "
                       "on t.CheckTypeID=c.CheckTypeID where c.CheckTypeID=5 and upper(c.CtlName) in "
                       "('ZDGOUHCOMP','ZDSUM1','ZDWAIHJXX','ZDRMBHJXX','ZDFOBWAIHJXX')"));
        int checked = 0;
        while (q.next()) {
            const QString value = test::shownText(*w, q.value(0).toString());
            const double left = test::tenthsToPoints(q.value(1).toInt() + q.value(4).toInt());
            const double right = test::tenthsToPoints(q.value(1).toInt() + q.value(4).toInt() + q.value(3).toInt());
            const double top = test::tenthsToPoints(q.value(2).toInt() + q.value(5).toInt());
            const double slack = test::tenthsToPoints(10);
            const auto at = std::find_if(words.begin(), words.end(), [&](const test::PdfWord &word) {
                return word.text == value && word.x >= left - slack && word.x + word.width <= right + slack
                       && qAbs(word.y - top) <= slack;
            });
            QVERIFY2(at != words.end(), qPrintable(q.value(0).toString() + QLatin1Char('=') + value));
            ++checked;
        }
        QCOMPARE(checked, 5);
        QCOMPARE(test::shownText(*w, "zdRmbHJXX"), QStringLiteral("RMB87500.00"));
        // Printing alone saves nothing.
        QCOMPARE(rowCount(), 0);
    }
};

QTEST_MAIN(TestEntryUiExport)
#include "test_entryui_export.moc"
