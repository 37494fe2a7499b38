// The receipt window through a user's day: charge lines computed and spread
// over the form's digit boxes, the total in figures and capitals within the
// form's limit, goods picked from the catalogue, save, reopen, registered and
// voided numbers, and the digits landing in their boxes on paper.

#include "entry/BillKind.h"
#include "entry/GoodsPicker.h"
#include "entry/ReceiptWindow.h"
#include "refdata/GoodsCatalog.h"
#include "support/EntryFixture.h"
#include "support/EntryWindows.h"
#include "support/PdfText.h"
#include "support/Widgets.h"
#include "templates/TemplateCache.h"
#include "templates/TemplateCatalog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using namespace moque;

class TestEntryUiReceipt : public test::EntryFixture
{
    Q_OBJECT

public:
    TestEntryUiReceipt() : EntryFixture(QStringLiteral("DataCheckReceipt")) {}

private:
    std::unique_ptr<ui::ReceiptWindow> openWindow()
    {
        return test::openActive<ui::ReceiptWindow>(*m_data->core);
    }
    // A customer and one charge line of 2 × 150.
    static void fillReceipt(ui::ReceiptWindow &w)
    {
        test::enterText(w, "zdGKMC", QStringLiteral("杭州星河"));
        test::enterText(w, "zdSFNR1", QStringLiteral("设计服务费"));
        test::enterText(w, "zdSL1", QStringLiteral("2"));
        test::enterText(w, "zdDJ1", QStringLiteral("150"));
    }
    int insertRow(const QString &state, const QString &charge5)
    {
        m_data->exec(QStringLiteral("insert into DataCheckReceipt (模板种类,票据编号,票据状态,收费内容5,合计金额) "
                                    "values('通用收据','00000007',?,?,'12.50')"),
                     {state, charge5});
        return lastId();
    }

private Q_SLOTS:
    void opensOnItsDefaultTemplate()
    {
        auto w = openWindow();
        QVERIFY(w->isUsable());
        QCOMPARE(w->objectName(), QStringLiteral("fmCheckReceipts"));
        QCOMPARE(w->windowTitle(), QStringLiteral("普通发票收据（通用收据）-ID=-1"));
        QCOMPARE(w->itemChecks().size(), 4);
        QVERIFY(w->findChild<QWidget *>(QStringLiteral("DEFCHECK5")));
        QVERIFY(!w->findChild<QWidget *>(QStringLiteral("DEFCHECK6")));
        // Repeated printing is on the receipt's toolbar.
        auto *toolbar = test::child<QToolBar>(w.get(), "toolBarCheck");
        QVERIFY(test::child<QToolButton>(w.get(), "btMultiPrintF")->isVisibleTo(toolbar));
        // The customer box's prompt never prints.
        QVERIFY(w->values().value(QStringLiteral("zdGKMC")).text.isEmpty());
        QCOMPARE(test::shownText(*w, "zdCodeAuto").size(), 20);
        QCOMPARE(test::shownText(*w, "zdNian"), QDate::currentDate().toString("yyyy"));
        QVERIFY(!w->control("zdSFNR1")->isHidden());
        QVERIFY(w->control("zdJEXX1")->isHidden());
    }

    void aLineIsComputedAndSpreadOverTheDigitBoxes_data()
    {
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("price");
        QTest::addColumn<bool>("codeBeforeAmounts");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QStringList>("boxes"); // 百 十 元 角 分 of line 1
        QTest::addColumn<QString>("capitalHundreds");
        QTest::newRow("2 x 150") << "2" << "150" << false << "300" << QStringList{"3", "0", "0", "0", "0"} << "叁";
        QTest::newRow("no quantity counts 1") << "" << "12.5" << false << "12.5"
                                              << QStringList{"", "1", "2", "5", "0"} << "零";
        QTest::newRow("code above the digits") << "3" << "4.1" << true << "12.3"
                                               << QStringList{"￥", "1", "2", "3", "0"} << "零";
    }
    void aLineIsComputedAndSpreadOverTheDigitBoxes()
    {
        QFETCH(QString, quantity);
        QFETCH(QString, price);
        QFETCH(bool, codeBeforeAmounts);
        QFETCH(QString, amount);
        QFETCH(QStringList, boxes);
        QFETCH(QString, capitalHundreds);
        auto w = openWindow();
        test::child<QCheckBox>(w.get(), "cfgJENeedSheep")->setChecked(codeBeforeAmounts);
        test::enterText(*w, "zdSL1", quantity);
        test::enterText(*w, "zdDJ1", price);
        QCOMPARE(test::shownText(*w, "zdJEXX1"), amount);
        QStringList line;
        for (const char *place : {"zdBY1", "zdSY1", "zdY1", "zdJ1", "zdF1"})
            line << test::shownText(*w, place);
        QCOMPARE(line, boxes);
        // The total row and its capitals follow; the counterfoil copies the total.
        QCOMPARE(test::shownText(*w, "zdY6"), boxes.at(2));
        QCOMPARE(test::shownText(*w, "zddxBY"), capitalHundreds);
        QCOMPARE(test::shownText(*w, "zddxF"), QStringLiteral("零"));
        QCOMPARE(test::shownText(*w, "cgHJJE"), test::shownText(*w, "zdHJJE"));
        QVERIFY(test::shownText(*w, "zdHJJE").startsWith(QStringLiteral("￥")));
    }

    void aNewReceiptTakesTheCurrencyItsTemplateRemembers()
    {
        {
            templates::TemplateCatalog catalog(m_data->db(), dialogs(), m_data->core->store());
            templates::TemplateCache cache(catalog, dialogs(), m_data->core->dir());
            QVERIFY(cache.setCheckConfigByName(3, QStringLiteral("cfgDefaultMoney"), QStringLiteral("美元")));
            QVERIFY(cache.setCheckConfigByName(3, QStringLiteral("cfgJENeedSheep"), QStringLiteral("1")));
            QVERIFY(cache.buildCheckIniFile(3));
        }
        auto w = openWindow();
        QCOMPARE(test::child<QComboBox>(w.get(), "cfgMoneyType")->currentText(), QStringLiteral("美元"));
        QCOMPARE(w->moneyName(), QStringLiteral("美元"));
        test::enterText(*w, "zdSL1", QStringLiteral("1"));
        test::enterText(*w, "zdDJ1", QStringLiteral("12.5"));
        QCOMPARE(test::shownText(*w, "zdBY1"), QStringLiteral("USD"));
        QVERIFY(test::shownText(*w, "zdHJJE").startsWith(QStringLiteral("USD")));
        test::click(w.get(), "btSaveCheck");
        QCOMPARE(column(w->state().checkId(), "币种"), QStringLiteral("美元"));
    }

    void aBadQuantityIsRefusedAndEmptied()
    {
        auto w = openWindow();
        test::enterText(*w, "zdDJ1", QStringLiteral("5"));
        test::enterText(*w, "zdSL1", QStringLiteral("2x"));
        QCOMPARE(dialogs().lastText(), QStringLiteral("非法的数量或单价(必须是英文半角的数字和.)！"));
        QCOMPARE(test::shownText(*w, "zdSL1"), QString());
        QCOMPARE(test::shownText(*w, "zdDJ1"), QString());
    }

    void linesBeyondTheFormsLimitGiveNoTotalAndNoSave()
    {
        auto w = openWindow();
        test::child<QComboBox>(w.get(), "cfgJEDXFormat")->setCurrentText(QStringLiteral("      000.00 百位发票"));
        test::enterText(*w, "zdSL1", QStringLiteral("10"));
        test::enterText(*w, "zdDJ1", QStringLiteral("100"));
        QVERIFY2(dialogs().texts().contains(
                     QStringLiteral("溢出，发票金额合计“1000.00”大于限位[999.99],请重填金额数量或者修改发票模版设置~")),
                 qPrintable(dialogs().texts().join('|')));
        QCOMPARE(test::shownText(*w, "zdY6"), QString());
        test::click(w.get(), "btSaveCheck");
        QCOMPARE(dialogs().lastText(), QStringLiteral("金额为空,不能保存！"));
        QCOMPARE(rowCount(), 0);
    }

    void aGoodFillsTheLineThatOpenedThePicker()
    {
        refdata::Good good;
        good.name = QStringLiteral("色带");
        good.articleNo = QStringLiteral("MQ-P05");
        good.model = QStringLiteral("LQ-630K");
        good.unit = QStringLiteral("个");
        good.price = QStringLiteral("25.5");
        QString message;
        QVERIFY2(refdata::GoodsCatalog(m_data->db()).save(good, &message), qPrintable(message));
        auto w = openWindow();
        test::enterText(*w, "zdSL2", QStringLiteral("0"));
        w->control("zdSFNR2")->setFocus(Qt::MouseFocusReason);
        ui::GoodsPicker *picker = w->goodsPicker();
        QVERIFY(picker->isVisible());
        QCOMPARE(picker->y(), w->control("zdSFNR2")->geometry().bottom() - 1);
        QTableView *grid = picker->grid();
        QCOMPARE(grid->model()->rowCount(), 1);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(0, 1)).center());
        QVERIFY(!picker->isVisible());
        QCOMPARE(test::shownText(*w, "zdSFNR2"), good.name);
        QCOMPARE(test::shownText(*w, "zdHuoHao2"), good.articleNo);
        QCOMPARE(test::shownText(*w, "zdGuiGe2"), good.model);
        QCOMPARE(test::shownText(*w, "zdDW2"), good.unit);
        QCOMPARE(test::shownText(*w, "zdSL2"), QStringLiteral("1"));
        QCOMPARE(test::shownText(*w, "zdJEXX2"), QStringLiteral("25.5"));
        QCOMPARE(test::shownText(*w, "cgSFNR2"), good.name);
        // Typing filters the list by name.
        w->control("zdSFNR1")->setFocus(Qt::MouseFocusReason);
        test::typeText(w->control("zdSFNR1"), QStringLiteral("纸"));
        QCOMPARE(grid->model()->rowCount(), 0);
    }

    void saveWritesTheReceiptAndReopensIt()
    {
        auto w = openWindow();
        fillReceipt(*w);
        test::enterText(*w, "zdPJBH", QStringLiteral("00012345"));
        test::child<QComboBox>(w.get(), "cfgMoneyType")->setCurrentText(QStringLiteral("美元"));
        w->setBillDate(QDate(2026, 3, 5));
        test::click(w.get(), "btSaveCheck");
        QCOMPARE(dialogs().lastText(), QStringLiteral("新普通发票收据保存成功！ "));
        const int id = w->state().checkId();
        QCOMPARE(column(id, "票据状态"), QStringLiteral("已用"));
        QCOMPARE(column(id, "顾客名称"), QStringLiteral("杭州星河"));
        QCOMPARE(column(id, "收费内容1"), QStringLiteral("设计服务费"));
        QCOMPARE(column(id, "金额1"), QStringLiteral("300"));
        QCOMPARE(column(id, "合计金额"), QStringLiteral("300.00"));
        QCOMPARE(column(id, "币种"), QStringLiteral("美元"));
        QCOMPARE(column(id, "出票日期"), QStringLiteral("2026-03-05"));
        QCOMPARE(column(id, "模板种类"), QStringLiteral("通用收据"));
        QCOMPARE(w->windowTitle(), QStringLiteral("普通发票收据(通用收据)-ID=%1").arg(id));

        auto again = openWindow();
        QVERIFY(again->openSavedBill(QStringLiteral("通用收据"), id));
        QCOMPARE(again->windowTitle(), QStringLiteral("历史票据查看（流水号为：%1)").arg(id));
        QCOMPARE(again->moneyName(), QStringLiteral("美元"));
        QCOMPARE(test::shownText(*again, "zdGKMC"), QStringLiteral("杭州星河"));
        QCOMPARE(test::shownText(*again, "zdBY1"), QStringLiteral("3"));
        QCOMPARE(test::shownText(*again, "zdHJJEXX"), QStringLiteral("300.00"));
        QCOMPARE(test::shownText(*again, "zdRi"), QStringLiteral("05"));
        QVERIFY(test::shownText(*again, "zdHJJE").startsWith(QStringLiteral("USD")));
        test::click(again.get(), "btSaveCheck");
        QCOMPARE(dialogs().lastText(), QStringLiteral("历史单据不能保存，请点击[复制]按钮后,再保存为新单据！"));
    }

    void printAndSaveReadiesTheNextReceiptWithANewNumber()
    {
        auto w = openWindow();
        fillReceipt(*w);
        test::enterText(*w, "zdPJBH", QStringLiteral("00012345"));
        const QString path = m_out.filePath("printsave.pdf");
        dialogs().files.enqueue(path);
        dialogs().clear();
        test::click(w.get(), "btPrintAndSave");
        QVERIFY(QFile::exists(path));
        QCOMPARE(rowCount(), 1);
        const int id = lastId();
        QCOMPARE(column(id, "票据编号"), QStringLiteral("00012345"));
        QCOMPARE(column(id, "合计金额"), QStringLiteral("300.00"));
        // No success message; a copy with the same lines waits for the next number.
        for (const auto &shown : std::as_const(dialogs().shown))
            QCOMPARE(shown.kind, QStringLiteral("save"));
        QCOMPARE(test::shownText(*w, "zdPJBH"), QString());
        QCOMPARE(w->state().checkId(), -1);
        QCOMPARE(test::shownText(*w, "zdSFNR1"), QStringLiteral("设计服务费"));
        test::enterText(*w, "zdPJBH", QStringLiteral("00012346"));
        test::click(w.get(), "btSaveCheck");
        QCOMPARE(rowCount(), 2);
        QCOMPARE(m_data->scalar("select 票据编号 from DataCheckReceipt where 流水号<>?", {id}).toString(),
                 QStringLiteral("00012346"));
    }

    void aSavedReceiptCopiedIsSavedAsANewOne()
    {
        auto w = openWindow();
        test::enterText(*w, "zdSL1", QStringLiteral("1"));
        test::enterText(*w, "zdDJ1", QStringLiteral("8"));
        test::click(w.get(), "btSaveAs");
        QCOMPARE(dialogs().lastText(), QStringLiteral("未保存单据不需要复制即为一张新单！"));
        test::click(w.get(), "btSaveCheck");
        const int id = w->state().checkId();
        test::click(w.get(), "btSaveAs");
        QCOMPARE(w->state().checkId(), -1);
        test::click(w.get(), "btSaveCheck");
        QCOMPARE(dialogs().lastText(), QStringLiteral("新普通发票收据保存成功！ "));
        QCOMPARE(rowCount(), 2);
        QVERIFY(w->state().checkId() > id);
    }

    void aRegisteredNumberIsFilledInAndKeepsItsRow()
    {
        const int id = insertRow(entry::kStateUnused, QStringLiteral("旧内容"));
        auto w = openWindow();
        QVERIFY(w->openSavedBill(QStringLiteral("通用收据"), id));
        QCOMPARE(w->windowTitle(), QStringLiteral("普通发票收据（流水号为：%1)").arg(id));
        QVERIFY(!w->state().isHistory());
        QCOMPARE(test::shownText(*w, "zdPJBH"), QStringLiteral("00000007"));
        // A line the template does not show keeps what its row held.
        for (const char *box : {"zdSFNR5", "zdHuoHao5", "zdGuiGe5", "zdDW5", "zdSL5", "zdDJ5"})
            w->control(QString::fromLatin1(box))->hide();
        test::enterText(*w, "zdSL1", QStringLiteral("1"));
        test::enterText(*w, "zdDJ1", QStringLiteral("99"));
        test::click(w.get(), "btSaveCheck");
        QCOMPARE(dialogs().lastText(),
                 QStringLiteral("普通发票收据修改保存成功（要修改成新普通发票收据请先点击【复制】按钮）！ "));
        QCOMPARE(w->state().checkId(), id);
        QCOMPARE(rowCount(), 1);
        QCOMPARE(column(id, "票据状态"), QStringLiteral("已用"));
        QCOMPARE(column(id, "收费内容5"), QStringLiteral("旧内容"));
        QCOMPARE(column(id, "合计金额"), QStringLiteral("99.00"));
    }

    void aVoidedReceiptIsNeverSavedOver()
    {
        auto w = openWindow();
        test::enterText(*w, "zdSL1", QStringLiteral("1"));
        test::enterText(*w, "zdDJ1", QStringLiteral("8"));
        test::click(w.get(), "btSaveCheck");
        const int id = w->state().checkId();
        QVERIFY(m_data->exec(QStringLiteral("update DataCheckReceipt set 票据状态='作废' where 流水号=?"), {id}));
        test::enterText(*w, "zdDJ1", QStringLiteral("9"));
        test::click(w.get(), "btSaveCheck");
        QCOMPARE(dialogs().lastText(), QStringLiteral("票据已经作废,保存失败！"));
        QCOMPARE(column(id, "合计金额"), QStringLiteral("8.00"));

        // Opened again it is historic; saved through the close prompt it becomes a new receipt.
        auto again = openWindow();
        QVERIFY(again->openSavedBill(QStringLiteral("通用收据"), id));
        QVERIFY(again->state().isHistory());
        test::enterText(*again, "zdDJ1", QStringLiteral("10"));
        dialogs().answers << true << true << false;
        again->close();
        QCOMPARE(rowCount(), 2);
        QCOMPARE(m_data->scalar("select 票据状态 from DataCheckReceipt where 流水号<>?", {id}).toString(),
                 QStringLiteral("已用"));
        QCOMPARE(column(id, "票据状态"), QStringLiteral("作废"));
    }

    void newBillEmptiesTheLinesAndKeepsTheParties()
    {
        auto w = openWindow();
        fillReceipt(*w);
        const QString code = test::shownText(*w, "zdCodeAuto");
        test::click(w.get(), "btNewCheck");
        QCOMPARE(w->windowTitle(), QStringLiteral("新单据-ID=-1"));
        for (const char *box : {"zdSFNR1", "zdSL1", "zdDJ1", "zdJEXX1", "zdBY1", "zdHJJE", "zdY6",
                                "zddxBY", "cgSFNR1"})
            QVERIFY2(test::shownText(*w, QString::fromLatin1(box)).isEmpty(), box);
        QCOMPARE(test::shownText(*w, "zdGKMC"), QStringLiteral("杭州星河"));
        QVERIFY(test::shownText(*w, "zdCodeAuto") != code);
    }

    void digitsPrintInTheirBoxes()
    {
        auto w = openWindow();
        test::enterText(*w, "zdSL1", QStringLiteral("3"));
        test::enterText(*w, "zdDJ1", QStringLiteral("41.23"));
        const QString path = m_out.filePath("receipt.pdf");
        dialogs().files.enqueue(path);
        test::click(w.get(), "btPrint1");
        QVERIFY2(QFile::exists(path), qPrintable(dialogs().texts().join('|')));
        const QList<test::PdfWord> words = test::readPdfWords(path);
        QSqlQuery q(m_data->db());
        QVERIFY(q.exec("select c.CtlName,c.CtlX,c.CtlY,c.CtlW,t.XMove,t.YMove from ckControl c join CKTypeTable t "
                       "on t.CheckTypeID=c.CheckTypeID where c.CheckTypeID=3 and c.NeedPrint=1"));
        int checked = 0;
        while (q.next()) {
            const QString name = q.value(0).toString();
            const QString value = test::shownText(*w, name);
            const bool digitBox = QRegularExpression(QStringLiteral("^ZD(DX)?(YY|QW|BW|SW|WY|QY|BY|SY|Y|J|F)[16]?$"))
                                      .match(name.toUpper())
                                      .hasMatch();
            if (!digitBox || value.isEmpty())
                continue;
            const double centre = test::tenthsToPoints(q.value(1).toInt() + q.value(4).toInt() + q.value(3).toInt() / 2);
            const double top = test::tenthsToPoints(q.value(2).toInt() + q.value(5).toInt());
            const auto at = std::find_if(words.begin(), words.end(), [&](const test::PdfWord &word) {
                return word.text == value && qAbs(word.x + word.width / 2 - centre) <= test::tenthsToPoints(2)
                       && qAbs(word.y - top) <= test::tenthsToPoints(10);
            });
            QVERIFY2(at != words.end(), qPrintable(name + QLatin1Char('=') + value));
            ++checked;
        }
        // 123.69 on line 1 and in the total, figures and capitals.
        QVERIFY2(checked >= 15, qPrintable(QString::number(checked)));
    }
};

QTEST_MAIN(TestEntryUiReceipt)
#include "test_entryui_receipt.moc"
