#include "history/InvoiceHistoryWindow.h"
#include "history/InvoiceNumbers.h"
#include "store/SqlListModel.h"
#include "support/TestData.h"
#include "support/Widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>

#include <memory>

using namespace moque;
using history::InvoiceKind;
using history::InvoiceQuery;
using test::child;
using ui::InvoiceHistoryWindow;

Q_DECLARE_METATYPE(moque::history::InvoiceKind)

namespace {

// Four invoices of the kind, 流水号 1..4: the newest dated today, the oldest
// over a year ago; amounts with a unit, blank and text; every state and none.
bool addInvoices(const test::TestData &data, InvoiceKind kind)
{
    struct Row
    {
        int id;
        QString number, party;
        int daysAgo;
        QString templateName, amount;
        QVariant state;
        QString contract;
    };
    const QList<Row> rows{
        {1, "FP001", "广州甲公司", 0, "通用收据", "100", "已用", "HT-1"},
        {2, "FP002", "北京丙", 10, "定额收据", "20.5元", "作废", "HT-2"},
        {3, "FP003", "广州甲公司分部", 100, "通用收据", "", "未用", "HT-13"},
        {4, "FP004", "上海戊", 400, "定额收据", "abc", QVariant(), ""},
    };
    const InvoiceQuery query(kind);
    const bool contract = query.hasContractFilter();
    const QString sql = QStringLiteral("insert into ") + query.table() + QStringLiteral("(流水号, 票据编号, ")
                        + query.partyColumn() + QStringLiteral(", 出票日期, 模板种类, ") + query.amountColumn()
                        + QStringLiteral(", 票据状态") + (contract ? QStringLiteral(", 合同号码") : QString())
                        + QStringLiteral(") values(?, ?, ?, ?, ?, ?, ?")
                        + (contract ? QStringLiteral(", ?") : QString()) + QLatin1Char(')');
    const QDate today = QDate::currentDate();
    for (const Row &r : rows) {
        QVariantList values{r.id,         r.number, r.party, today.addDays(-r.daysAgo).toString(Qt::ISODate),
                            r.templateName, r.amount, r.state};
        if (contract)
            values << r.contract;
        if (!data.exec(sql, values))
            return false;
    }
    return true;
}

QList<int> listedIds(const InvoiceHistoryWindow &w)
{
    QList<int> ids;
    for (int r = 0; r < w.model()->rowCount(); ++r)
        ids << w.model()->fieldValue(r, QStringLiteral("流水号")).toInt();
    return ids;
}

QList<int> storedIds(const test::TestData &data, InvoiceKind kind)
{
    QSqlQuery q(data.db());
    q.exec(QStringLiteral("select 流水号 from ") + InvoiceQuery(kind).table() + QStringLiteral(" order by 流水号 desc"));
    QList<int> ids;
    while (q.next())
        ids << q.value(0).toInt();
    return ids;
}

QStringList storedStates(const test::TestData &data, InvoiceKind kind)
{
    QSqlQuery q(data.db());
    q.exec(QStringLiteral("select 票据状态 from ") + InvoiceQuery(kind).table() + QStringLiteral(" order by 流水号"));
    QStringList states;
    while (q.next())
        states << q.value(0).toString();
    return states;
}

// The registered numbers of the code, in registration order.
QStringList registeredNumbers(const test::TestData &data, const QString &code)
{
    QSqlQuery q(data.db());
    q.prepare(QStringLiteral("select 发票编号 from DataCKSPTable where 发票代码 = ? order by 流水号"));
    q.addBindValue(code);
    q.exec();
    QStringList numbers;
    while (q.next())
        numbers << q.value(0).toString();
    return numbers;
}

int rowOf(const InvoiceHistoryWindow &w, int id)
{
    return int(listedIds(w).indexOf(id));
}

QPoint cellCenter(QTableView *grid, int row)
{
    return grid->visualRect(grid->model()->index(row, 0)).center();
}

void selectRows(InvoiceHistoryWindow &w, const QList<int> &ids)
{
    QTableView *grid = child<QTableView>(&w, "DBGrid1");
    for (int i = 0; i < ids.size(); ++i)
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, i == 0 ? Qt::NoModifier : Qt::ControlModifier,
                          cellCenter(grid, rowOf(w, ids[i])));
}

void leave(QWidget *edit)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(edit, &out);
}

void enter(QWidget *box)
{
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(box, &in);
}

// Fills the registration panel and starts it.
void registerRange(InvoiceHistoryWindow &w, const QString &code, const QString &first, const QString &last)
{
    test::replaceText(child<QLineEdit>(&w, "edtFPDM"), code);
    test::replaceText(child<QLineEdit>(&w, "edtBH1"), first);
    test::replaceText(child<QLineEdit>(&w, "edtBH2"), last);
    child<QPushButton>(&w, "btStartImport")->click();
}

} // namespace

class TestHistoryUiInvoices : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::TestData> m_data;

    bool openData()
    {
        m_data = std::make_unique<test::TestData>();
        return m_data->open();
    }

private Q_SLOTS:
    void cleanup() { m_data.reset(); }

    void opensWithEveryRowAndItsControls_data()
    {
        QTest::addColumn<InvoiceKind>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("sum"); // empty: no total label
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("absent");
        QTest::newRow("receipt") << InvoiceKind::Receipt << "fmSearch_Receipts" << "收据及发票查询"
                                 << "金额汇总:￥120.5" << QStringList({"filterTemplate", "btFailedSelects"})
                                 << QStringList({"cbStates", "edtHeTNo", "btRecordNOs", "panelImport"});
        QTest::newRow("freight") << InvoiceKind::Freight << "fmSearch_IVIntel" << "国际货运发票查询"
                                 << "金额汇总:￥120.5" << QStringList({"filterTemplate"})
                                 << QStringList({"cbStates", "edtHeTNo", "btFailedSelects", "btRecordNOs"});
        QTest::newRow("export") << InvoiceKind::Export << "fmSearch_CKSP" << "出口商品发票查询" << ""
                                << QStringList({"cbStates", "edtHeTNo", "btFailedSelects", "btRecordNOs",
                                                "panelImport"})
                                << QStringList({"filterTemplate", "lbSumMoney"});
    }
    void opensWithEveryRowAndItsControls()
    {
        QFETCH(InvoiceKind, kind);
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, sum);
        QFETCH(QStringList, present);
        QFETCH(QStringList, absent);
        QVERIFY(openData());
        QVERIFY(addInvoices(*m_data, kind));
        InvoiceHistoryWindow w(*m_data->core, kind);
        QCOMPARE(w.objectName(), name);
        QCOMPARE(w.windowTitle(), caption);
        QCOMPARE(listedIds(w), QList<int>({4, 3, 2, 1}));
        QCOMPARE(child<QLabel>(&w, "Pjcount")->text(), QStringLiteral("4"));
        if (!sum.isEmpty())
            QCOMPARE(child<QLabel>(&w, "lbSumMoney")->text(), sum);
        QVERIFY(child<QCheckBox>(&w, "ckNomatterRQ")->isChecked());
        QVERIFY(child<QRadioButton>(&w, "rbContains")->isChecked());
        for (const QString &control : present)
            QVERIFY2(w.findChild<QWidget *>(control), qPrintable(control));
        for (const QString &control : absent)
            QVERIFY2(!w.findChild<QWidget *>(control), qPrintable(control));
        QVERIFY(m_data->dialogs.shown.isEmpty());
    }

    void emptyTableDisablesDeleteAndExport()
    {
        QVERIFY(openData());
        InvoiceHistoryWindow w(*m_data->core, InvoiceKind::Receipt);
        QCOMPARE(child<QLabel>(&w, "Pjcount")->text(), QStringLiteral("0"));
        QCOMPARE(child<QLabel>(&w, "lbSumMoney")->text(), QStringLiteral("金额汇总:￥"));
        QVERIFY(!child<QPushButton>(&w, "del")->isEnabled());
        QVERIFY(!child<QPushButton>(&w, "pri")->isEnabled());
    }

    void filtersNarrowListAndTotal_data()
    {
        QTest::addColumn<InvoiceKind>("kind");
        QTest::addColumn<QString>("party");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("choice"); // 模板种类, or 票据状态 for the export invoice
        QTest::addColumn<QString>("contract");
        QTest::addColumn<QString>("amountFrom");
        QTest::addColumn<QString>("amountTo");
        QTest::addColumn<bool>("exact");
        QTest::addColumn<QList<int>>("ids");
        QTest::addColumn<QString>("sum");
        using L = QList<int>;
        const auto receipt = InvoiceKind::Receipt;
        const auto exportKind = InvoiceKind::Export;
        QTest::newRow("receipt, customer contains") << receipt << " 广州甲 " << "" << "" << "" << "" << "" << false
                                                    << L{3, 1} << "100";
        QTest::newRow("receipt, customer exact") << receipt << "广州甲公司" << "" << "" << "" << "" << "" << true
                                                 << L{1} << "100";
        QTest::newRow("receipt, number exact, letter case ignored")
            << receipt << "" << "fp002" << "" << "" << "" << "" << true << L{2} << "20.5";
        QTest::newRow("receipt, number contains") << receipt << "" << "FP00" << "" << "" << "" << "" << false
                                                  << L{4, 3, 2, 1} << "120.5";
        QTest::newRow("receipt, template exact") << receipt << "" << "" << "定额收据" << "" << "" << "" << true
                                                 << L{4, 2} << "20.5";
        QTest::newRow("receipt, amount from") << receipt << "" << "" << "" << "" << " 20 " << "" << false << L{2, 1}
                                              << "120.5";
        QTest::newRow("receipt, amount range: blank and text count 0")
            << receipt << "" << "" << "" << "" << "0" << "50" << false << L{4, 3, 2} << "20.5";
        QTest::newRow("receipt, nothing found") << receipt << "nobody" << "" << "" << "" << "" << "" << false << L{}
                                                << "";
        QTest::newRow("freight, payer contains") << InvoiceKind::Freight << "广州" << "" << "" << "" << "" << ""
                                                 << false << L{3, 1} << "100";
        QTest::newRow("export, buyer exact") << exportKind << "北京丙" << "" << "" << "" << "" << "" << true << L{2}
                                             << "";
        QTest::newRow("export, state exact") << exportKind << "" << "" << "作废" << "" << "" << "" << true << L{2}
                                             << "";
        QTest::newRow("export, contract contains") << exportKind << "" << "" << "" << "HT-1" << "" << "" << false
                                                   << L{3, 1} << "";
        QTest::newRow("export, contract exact") << exportKind << "" << "" << "" << "HT-1" << "" << "" << true << L{1}
                                                << "";
        QTest::newRow("export, amount to") << exportKind << "" << "" << "" << "" << "" << "50" << false
                                           << L{4, 3, 2} << "";
    }
    void filtersNarrowListAndTotal()
    {
        QFETCH(InvoiceKind, kind);
        QFETCH(QString, party);
        QFETCH(QString, number);
        QFETCH(QString, choice);
        QFETCH(QString, contract);
        QFETCH(QString, amountFrom);
        QFETCH(QString, amountTo);
        QFETCH(bool, exact);
        QFETCH(QList<int>, ids);
        QFETCH(QString, sum);
        QVERIFY(openData());
        QVERIFY(addInvoices(*m_data, kind));
        InvoiceHistoryWindow w(*m_data->core, kind);
        w.show();
        child<QRadioButton>(&w, exact ? "rbExact" : "rbContains")->setChecked(true);
        child<QLineEdit>(&w, "filterSKR")->setText(party);
        child<QComboBox>(&w, "cb_PJBH")->setEditText(number);
        child<QComboBox>(&w, kind == InvoiceKind::Export ? "cbStates" : "filterTemplate")->setEditText(choice);
        if (kind == InvoiceKind::Export)
            child<QLineEdit>(&w, "edtHeTNo")->setText(contract);
        child<QLineEdit>(&w, "edtMoney1")->setText(amountFrom);
        child<QLineEdit>(&w, "edtMoney2")->setText(amountTo);
        child<QPushButton>(&w, "btQur")->click();

        QCOMPARE(listedIds(w), ids);
        QCOMPARE(child<QLabel>(&w, "Pjcount")->text(), QString::number(ids.size()));
        if (kind != InvoiceKind::Export)
            QCOMPARE(child<QLabel>(&w, "lbSumMoney")->text(), QStringLiteral("金额汇总:￥") + sum);
        QCOMPARE(child<QLineEdit>(&w, "filterSKR")->text(), party.trimmed());
        QCOMPARE(child<QLineEdit>(&w, "edtMoney1")->text(), amountFrom.trimmed());
        QCOMPARE(child<QPushButton>(&w, "del")->isEnabled(), !ids.isEmpty());
        QVERIFY(m_data->dialogs.shown.isEmpty());

        child<QPushButton>(&w, "btAll")->click();
        QCOMPARE(listedIds(w), QList<int>({4, 3, 2, 1}));
        QVERIFY(child<QLineEdit>(&w, "filterSKR")->text().isEmpty());
        QVERIFY(child<QLineEdit>(&w, "edtMoney1")->text().isEmpty());
    }

    void invalidAmountIsMarkedAndIgnored()
    {
        QVERIFY(openData());
        QVERIFY(addInvoices(*m_data, InvoiceKind::Receipt));
        InvoiceHistoryWindow w(*m_data->core, InvoiceKind::Receipt);
        child<QLineEdit>(&w, "edtMoney1")->setText(QStringLiteral("12元"));
        child<QLineEdit>(&w, "edtMoney2")->setText(QStringLiteral("50"));
        child<QPushButton>(&w, "btQur")->click();
        QCOMPARE(child<QLineEdit>(&w, "edtMoney1")->text(), QStringLiteral("非法数字"));
        QCOMPARE(child<QLineEdit>(&w, "edtMoney2")->text(), QStringLiteral("50"));
        QCOMPARE(listedIds(w), QList<int>({4, 3, 2}));
    }

    void periodToday()
    {
        QVERIFY(openData());
        QVERIFY(addInvoices(*m_data, InvoiceKind::Freight));
        InvoiceHistoryWindow w(*m_data->core, InvoiceKind::Freight);
        w.selectPeriod(QStringLiteral("最近一个月"));
        QCOMPARE(listedIds(w), QList<int>({2, 1}));
        QVERIFY(!child<QCheckBox>(&w, "ckNomatterRQ")->isChecked());
        const QDate today = QDate::currentDate();
        child<QDateEdit>(&w, "Date1")->setDate(today);
        child<QDateEdit>(&w, "Date2")->setDate(today.addDays(-1));
        child<QPushButton>(&w, "btQur")->click();
        QCOMPARE(m_data->dialogs.lastCaption(), QStringLiteral("日期输入"));
        QCOMPARE(listedIds(w), QList<int>({2, 1}));
    }

    void templateAndNumberListsFilledOnFirstEntry()
    {
        QVERIFY(openData());
        QVERIFY(addInvoices(*m_data, InvoiceKind::Receipt));
        InvoiceHistoryWindow w(*m_data->core, InvoiceKind::Receipt);
        QComboBox *templates = child<QComboBox>(&w, "filterTemplate");
        QCOMPARE(templates->count(), 0);
        templates->setEditText(QStringLiteral("typed"));
        enter(templates);
        QStringList items;
        for (int i = 0; i < templates->count(); ++i)
            items << templates->itemText(i);
        items.sort();
        QCOMPARE(items, QStringList({"", "定额收据", "通用收据"}));
        QCOMPARE(templates->currentText(), QStringLiteral("typed"));
        enter(templates);
        QCOMPARE(templates->count(), 3);

        QComboBox *numbers = child<QComboBox>(&w, "cb_PJBH");
        enter(numbers);
        QCOMPARE(numbers->count(), 4);
        QVERIFY(numbers->currentText().isEmpty());
        // Filling is no query.
        QCOMPARE(listedIds(w), QList<int>({4, 3, 2, 1}));
    }

    void leavingPartyExpandsMnemonic_data()
    {
        QTest::addColumn<InvoiceKind>("kind");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("after");
        QTest::newRow("receipt, code") << InvoiceKind::Receipt << " %gz " << "广州甲公司";
        QTest::newRow("receipt, unknown code") << InvoiceKind::Receipt << "%zz" << "zz";
        QTest::newRow("receipt, no %") << InvoiceKind::Receipt << "gz" << "gz";
        QTest::newRow("export, code") << InvoiceKind::Export << "%gzj" << "广州甲公司";
        QTest::newRow("freight, nothing") << InvoiceKind::Freight << "%gz" << "%gz";
    }
    void leavingPartyExpandsMnemonic()
    {
        QFETCH(InvoiceKind, kind);
        QFETCH(QString, typed);
        QFETCH(QString, after);
        QVERIFY(openData());
        QVERIFY(m_data->exec(QStringLiteral("insert into CKPersonalInfoTable(全称, 助记码) values(?, ?), (?, ?)"),
                             {QStringLiteral("广州甲公司分部"), QStringLiteral("gzjgsfb"),
                              QStringLiteral("广州甲公司"), QStringLiteral("gzjgs")}));
        InvoiceHistoryWindow w(*m_data->core, kind);
        QLineEdit *party = child<QLineEdit>(&w, "filterSKR");
        party->setText(typed);
        leave(party);
        QCOMPARE(party->text(), after);
        QVERIFY(m_data->dialogs.shown.isEmpty());
    }

    void pickButtonWritesThePickedParty_data()
    {
        QTest::addColumn<InvoiceKind>("kind");
        QTest::addColumn<QString>("asked");
        QTest::newRow("receipt") << InvoiceKind::Receipt << "往来单位/选择购货单位";
        QTest::newRow("freight") << InvoiceKind::Freight << "往来单位/选择付款单位";
        QTest::newRow("export") << InvoiceKind::Export << "往来单位/选择购货单位";
    }
    void pickButtonWritesThePickedParty()
    {
        QFETCH(InvoiceKind, kind);
        QFETCH(QString, asked);
        QVERIFY(openData());
        InvoiceHistoryWindow w(*m_data->core, kind);
        QStringList calls;
        std::optional<QString> answer = QStringLiteral("往来甲");
        w.setPersonPicker([&](const QString &type, const QString &caption) {
            calls << type + QLatin1Char('/') + caption;
            return answer;
        });
        child<QPushButton>(&w, "Button2")->click();
        QCOMPARE(calls, QStringList({asked}));
        QCOMPARE(child<QLineEdit>(&w, "filterSKR")->text(), QStringLiteral("往来甲"));
        answer.reset();
        child<QPushButton>(&w, "Button2")->click();
        QCOMPARE(child<QLineEdit>(&w, "filterSKR")->text(), QStringLiteral("往来甲"));
    }

    void registersARange()
    {
        QVERIFY(openData());
        InvoiceHistoryWindow w(*m_data->core, InvoiceKind::Export);
        w.show();
        QGroupBox *panel = child<QGroupBox>(&w, "panelImport");
        QVERIFY(!panel->isVisible());
        child<QPushButton>(&w, "btRecordNOs")->click();
        QVERIFY(panel->isVisible());
        QCOMPARE(panel->title(), QStringLiteral("登记领用连号票据"));
        // The only export invoice template is chosen.
        QCOMPARE(child<QComboBox>(&w, "cbTempName")->currentText(), QStringLiteral("通用出口发票"));
        QCOMPARE(child<QSpinBox>(&w, "CtlLen")->value(), 8);
        QCOMPARE(child<QLineEdit>(&w, "edtFPDM")->maxLength(), 20);

        registerRange(w, QStringLiteral("1100"), QStringLiteral(" 1 "), QStringLiteral("100"));
        QStringList expected;
        for (int n = 1; n <= 100; ++n)
            expected << QStringLiteral("%1").arg(n, 8, 10, QLatin1Char('0'));
        QCOMPARE(registeredNumbers(*m_data, QStringLiteral("1100")), expected);
        QCOMPARE(m_data->dialogs.texts(), QStringList({"登记结束！"}));
        QVERIFY(child<QLabel>(&w, "lbStatus")->text().isEmpty());
        QCOMPARE(w.model()->rowCount(), 100);
        QCOMPARE(w.model()->fieldValue(0, QStringLiteral("发票编号")).toString(), QStringLiteral("00000100"));
        QCOMPARE(w.model()->fieldValue(0, QStringLiteral("票据状态")).toString(), QStringLiteral("未用"));
        QCOMPARE(w.model()->fieldValue(0, QStringLiteral("模板种类")).toString(), QStringLiteral("通用出口发票"));

        child<QPushButton>(&w, "btEndImport")->click();
        QVERIFY(!panel->isVisible());
    }

    void refusesABadRange_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");
        QTest::addColumn<bool>("noTemplate");
        QTest::addColumn<QString>("message");
        QTest::newRow("101 numbers") << "1" << "101" << false << "一次不能导入超过100张！";
        QTest::newRow("letters") << "a" << "5" << false << "请输入合法的编号范围，只能是数字！";
        QTest::newRow("empty end") << "1" << "" << false << "请输入合法的编号范围，只能是数字！";
        QTest::newRow("negative") << "-1" << "5" << false << "请输入合法的编号范围，只能是数字！";
        QTest::newRow("reversed") << "10" << "1" << false << "编号范围输入错误！";
        QTest::newRow("no template") << "1" << "5" << true << "模板种类不能为空！";
        QTest::newRow("no template, but 101 numbers first") << "1" << "101" << true << "一次不能导入超过100张！";
    }
    void refusesABadRange()
    {
        QFETCH(QString, first);
        QFETCH(QString, last);
        QFETCH(bool, noTemplate);
        QFETCH(QString, message);
        QVERIFY(openData());
        InvoiceHistoryWindow w(*m_data->core, InvoiceKind::Export);
        child<QPushButton>(&w, "btRecordNOs")->click();
        if (noTemplate)
            child<QComboBox>(&w, "cbTempName")->setCurrentIndex(-1);
        registerRange(w, QStringLiteral("1100"), first, last);
        QCOMPARE(m_data->dialogs.texts(), QStringList({message}));
        QCOMPARE(storedIds(*m_data, InvoiceKind::Export), QList<int>());
    }

    void registeringTwiceReportsFourDuplicates()
    {
        QVERIFY(openData());
        InvoiceHistoryWindow w(*m_data->core, InvoiceKind::Export);
        child<QPushButton>(&w, "btRecordNOs")->click();
        registerRange(w, QStringLiteral("1100"), QStringLiteral("1"), QStringLiteral("10"));
        m_data->dialogs.clear();
        registerRange(w, QStringLiteral("1100"), QStringLiteral("1"), QStringLiteral("10"));
        QCOMPARE(m_data->dialogs.texts(),
                 QStringList({"00000001编号票据已经存在了，跳过登记了！", "00000002编号票据已经存在了，跳过登记了！",
                              "00000003编号票据已经存在了，跳过登记了！", "00000004编号票据已经存在了，跳过登记了！",
                              "登记结束！"}));
        QCOMPARE(registeredNumbers(*m_data, QStringLiteral("1100")).size(), 10);

        // Another code registers the same numbers again.
        m_data->dialogs.clear();
        registerRange(w, QStringLiteral("2200"), QStringLiteral("1"), QStringLiteral("10"));
        QCOMPARE(m_data->dialogs.texts(), QStringList({"登记结束！"}));
        QCOMPARE(registeredNumbers(*m_data, QStringLiteral("2200")).size(), 10);
        QCOMPARE(w.model()->rowCount(), 20);
    }

    void digitCountCutsLongNumbers()
    {
        QVERIFY(openData());
        InvoiceHistoryWindow w(*m_data->core, InvoiceKind::Export);
        child<QPushButton>(&w, "btRecordNOs")->click();
        child<QSpinBox>(&w, "CtlLen")->setValue(4);
        registerRange(w, QString(), QStringLiteral("123450009"), QStringLiteral("123450011"));
        QCOMPARE(registeredNumbers(*m_data, QStringLiteral("")), QStringList({"0009", "0010", "0011"}));
    }

    void voidSelected_data()
    {
        QTest::addColumn<InvoiceKind>("kind");
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("states"); // rows 1..4 afterwards
        QTest::newRow("receipt, none selected")
            << InvoiceKind::Receipt << QList<int>{} << "没有点中要作废的票据!（按住ctrl+点击，可多选哦）"
            << QStringList({"已用", "作废", "未用", ""});
        QTest::newRow("receipt, two rows") << InvoiceKind::Receipt << QList<int>{1, 3} << "成功作废2条记录！"
                                           << QStringList({"作废", "作废", "作废", ""});
        QTest::newRow("export, one row") << InvoiceKind::Export << QList<int>{4} << "成功作废1条记录！"
                                         << QStringList({"已用", "作废", "未用", "作废"});
    }
    void voidSelected()
    {
        QFETCH(InvoiceKind, kind);
        QFETCH(QList<int>, selected);
        QFETCH(QString, message);
        QFETCH(QStringList, states);
        QVERIFY(openData());
        QVERIFY(addInvoices(*m_data, kind));
        InvoiceHistoryWindow w(*m_data->core, kind);
        w.show();
        selectRows(w, selected);
        child<QPushButton>(&w, "btFailedSelects")->click();
        QCOMPARE(m_data->dialogs.texts(), QStringList({message}));
        QCOMPARE(storedStates(*m_data, kind), states);
        // The list shows the new states.
        for (int id = 1; id <= 4; ++id)
            QCOMPARE(w.model()->fieldValue(rowOf(w, id), QStringLiteral("票据状态")).toString(), states[id - 1]);
    }

    void rowColoursFollowTheState_data()
    {
        QTest::addColumn<InvoiceKind>("kind");
        QTest::addColumn<int>("id");
        QTest::addColumn<QColor>("text"); // invalid: not coloured
        QTest::addColumn<QColor>("background");
        QTest::newRow("receipt, used") << InvoiceKind::Receipt << 1 << QColor(Qt::black) << QColor(Qt::yellow);
        QTest::newRow("receipt, voided") << InvoiceKind::Receipt << 2 << QColor(Qt::white) << QColor(Qt::red);
        QTest::newRow("receipt, unused") << InvoiceKind::Receipt << 3 << QColor(Qt::black) << QColor(Qt::white);
        QTest::newRow("export, no state") << InvoiceKind::Export << 4 << QColor(Qt::black) << QColor(Qt::white);
        QTest::newRow("export, voided") << InvoiceKind::Export << 2 << QColor(Qt::white) << QColor(Qt::red);
        QTest::newRow("freight is not coloured") << InvoiceKind::Freight << 2 << QColor() << QColor();
    }
    void rowColoursFollowTheState()
    {
        QFETCH(InvoiceKind, kind);
        QFETCH(int, id);
        QFETCH(QColor, text);
        QFETCH(QColor, background);
        QVERIFY(openData());
        QVERIFY(addInvoices(*m_data, kind));
        InvoiceHistoryWindow w(*m_data->core, kind);
        const QAbstractItemModel *shown = child<QTableView>(&w, "DBGrid1")->model();
        const int row = rowOf(w, id);
        for (int column : {0, shown->columnCount() - 1}) {
            const QModelIndex cell = shown->index(row, column);
            QCOMPARE(cell.data(Qt::ForegroundRole).value<QColor>(), text);
            QCOMPARE(cell.data(Qt::BackgroundRole).value<QColor>(), background);
        }
    }

    void voidingRecoloursTheRow()
    {
        QVERIFY(openData());
        QVERIFY(addInvoices(*m_data, InvoiceKind::Receipt));
        InvoiceHistoryWindow w(*m_data->core, InvoiceKind::Receipt);
        w.show();
        selectRows(w, {3});
        child<QPushButton>(&w, "btFailedSelects")->click();
        const QModelIndex cell = w.model()->index(rowOf(w, 3), 1);
        QCOMPARE(cell.data(Qt::BackgroundRole).value<QColor>(), QColor(Qt::red));
    }

    void deleteSelectedAsksWithTheKindName()
    {
        QVERIFY(openData());
        QVERIFY(addInvoices(*m_data, InvoiceKind::Receipt));
        InvoiceHistoryWindow w(*m_data->core, InvoiceKind::Receipt);
        w.show();
        selectRows(w, {2, 4});
        m_data->dialogs.answers.enqueue(true);
        child<QPushButton>(&w, "del")->click();
        QCOMPARE(m_data->dialogs.shown.first().text, QStringLiteral("确认要删除所选中的2个普通发票收据吗?"));
        QCOMPARE(m_data->dialogs.lastText(), QStringLiteral("2个普通发票收据删除成功！"));
        QCOMPARE(storedIds(*m_data, InvoiceKind::Receipt), QList<int>({3, 1}));
        QCOMPARE(listedIds(w), QList<int>({3, 1}));
    }

    void deleteListedAndAll()
    {
        QVERIFY(openData());
        QVERIFY(addInvoices(*m_data, InvoiceKind::Export));
        InvoiceHistoryWindow w(*m_data->core, InvoiceKind::Export);
        child<QLineEdit>(&w, "filterSKR")->setText(QStringLiteral("广州甲"));
        child<QPushButton>(&w, "btQur")->click();
        m_data->dialogs.answers.enqueue(true);
        child<QPushButton>(&w, "btDeleteList")->click();
        QCOMPARE(m_data->dialogs.lastText(), QStringLiteral("2条记录删除成功！"));
        QCOMPARE(storedIds(*m_data, InvoiceKind::Export), QList<int>({4, 2}));

        m_data->dialogs.answers.enqueue(true);
        child<QPushButton>(&w, "DelAll")->click();
        QCOMPARE(m_data->dialogs.lastText(), QStringLiteral("清空成功！共删除2条记录"));
        QCOMPARE(storedIds(*m_data, InvoiceKind::Export), QList<int>());
        QVERIFY(!child<QPushButton>(&w, "DelAll")->isEnabled());
    }

    void openEmitsKindAndId_data()
    {
        QTest::addColumn<InvoiceKind>("kind");
        QTest::addColumn<QString>("kindName");
        QTest::newRow("receipt") << InvoiceKind::Receipt << "普通发票收据";
        QTest::newRow("freight") << InvoiceKind::Freight << "国际货运发票";
        QTest::newRow("export") << InvoiceKind::Export << "出口商品发票";
    }
    void openEmitsKindAndId()
    {
        QFETCH(InvoiceKind, kind);
        QFETCH(QString, kindName);
        QVERIFY(openData());
        QVERIFY(addInvoices(*m_data, kind));
        InvoiceHistoryWindow w(*m_data->core, kind);
        w.show();
        QSignalSpy opened(&w, &InvoiceHistoryWindow::openBill);
        QTableView *grid = child<QTableView>(&w, "DBGrid1");
        const QPoint cell = cellCenter(grid, rowOf(w, 3));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell);
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened.first().at(0).toString(), kindName);
        QCOMPARE(opened.first().at(1).toLongLong(), qint64(3));
        QVERIFY(!w.isVisible());
        QCOMPARE(w.result(), int(QDialog::Accepted));
    }

    void doubleClickSettingAndCancelledOpen()
    {
        QVERIFY(openData());
        QVERIFY(addInvoices(*m_data, InvoiceKind::Receipt));
        m_data->core->settings().setINIConfigByname(QStringLiteral("ZPView_DBLOPEN"), QStringLiteral("0"));
        InvoiceHistoryWindow w(*m_data->core, InvoiceKind::Receipt);
        w.show();
        QVERIFY(!child<QCheckBox>(&w, "ckDBLClick")->isChecked());
        QSignalSpy opened(&w, &InvoiceHistoryWindow::openBill);
        connect(&w, &InvoiceHistoryWindow::openBill, &w, [&w] { w.cancelOpen(); }, Qt::DirectConnection);
        QTableView *grid = child<QTableView>(&w, "DBGrid1");
        const QPoint cell = cellCenter(grid, rowOf(w, 2));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell);
        QCOMPARE(opened.size(), 0);
        // The button opens whatever the option says; the receiver kept the window open.
        child<QPushButton>(&w, "btOpenView")->click();
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened.first().at(1).toLongLong(), qint64(2));
        QVERIFY(w.isVisible());

        child<QCheckBox>(&w, "ckDBLClick")->setChecked(true);
        QCOMPARE(m_data->core->settings().getINIConfigByname(QStringLiteral("ZPView_DBLOPEN")), QStringLiteral("1"));
    }

    void exportCallsExporterWithTitleAndDate_data()
    {
        QTest::addColumn<InvoiceKind>("kind");
        QTest::addColumn<QString>("title");
        QTest::newRow("receipt") << InvoiceKind::Receipt << "普通发票收据历史开票";
        QTest::newRow("freight") << InvoiceKind::Freight << "国际货运发票历史开票";
        QTest::newRow("export") << InvoiceKind::Export << "出口商品发票历史开票";
    }
    void exportCallsExporterWithTitleAndDate()
    {
        QFETCH(InvoiceKind, kind);
        QFETCH(QString, title);
        QVERIFY(openData());
        QVERIFY(addInvoices(*m_data, kind));
        InvoiceHistoryWindow w(*m_data->core, kind);
        QString exportedTitle;
        QTableView *exported = nullptr;
        w.setExporter([&](QTableView *grid, const QString &t) {
            exported = grid;
            exportedTitle = t;
        });
        child<QPushButton>(&w, "pri")->click();
        QCOMPARE(exported, child<QTableView>(&w, "DBGrid1"));
        QCOMPARE(exportedTitle, title + QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
    }

    void exportWarnsAboveFiveThousandRows()
    {
        QVERIFY(openData());
        QVERIFY(history::registerNumbers(m_data->db(), {QStringLiteral("t"), QStringLiteral("A"), 1, 5000, 8}).ok());
        {
            InvoiceHistoryWindow w(*m_data->core, InvoiceKind::Export);
            QVERIFY(m_data->dialogs.shown.isEmpty());
        }
        QVERIFY(history::registerNumbers(m_data->db(), {QStringLiteral("t"), QStringLiteral("A"), 5001, 5001, 8}).ok());
        InvoiceHistoryWindow w(*m_data->core, InvoiceKind::Export);
        QCOMPARE(m_data->dialogs.texts(),
                 QStringList({"发票资料数目已经超出5000条，为了保证查询性能，请按月导出并清理！"}));
    }

    void databaseErrorIsReported()
    {
        QVERIFY(openData());
        QVERIFY(addInvoices(*m_data, InvoiceKind::Receipt));
        InvoiceHistoryWindow w(*m_data->core, InvoiceKind::Receipt);
        QVERIFY(m_data->exec(QStringLiteral("alter table DataCheckReceipt rename to Gone")));
        w.refresh();
        QVERIFY2(m_data->dialogs.lastText().startsWith(QStringLiteral("数据库错误,Error=")),
                 qPrintable(m_data->dialogs.lastText()));
        QCOMPARE(m_data->dialogs.lastCaption(), QStringLiteral("失败"));
    }
};

QTEST_MAIN(TestHistoryUiInvoices)
#include "test_historyui_invoices.moc"
