// The freight invoice window: six charge lines saved whatever the form
// shows, the payer and payee, the total without a digit limit, and a saved
// invoice reopened with the payee the window shows.

#include "entry/FreightInvoiceWindow.h"
#include "support/EntryFixture.h"
#include "support/EntryWindows.h"
#include "support/Widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QTimer>
#include <QLineEdit>
#include <QTest>

using namespace moque;

class TestEntryUiFreight : public test::EntryFixture
{
    Q_OBJECT

public:
    TestEntryUiFreight() : EntryFixture(QStringLiteral("DataCheckIntel")) {}

private:
    std::unique_ptr<ui::FreightInvoiceWindow> openWindow()
    {
        return test::openActive<ui::FreightInvoiceWindow>(*m_data->core);
    }
    static refdata::TPerson company(const QString &name, const QString &bank)
    {
        refdata::TPerson p;
        p.setFullName(name);
        p.setText(refdata::TPerson::Bank, bank);
        p.setText(refdata::TPerson::TaxNo, QStringLiteral("91440300MA5G8K2L3X"));
        return p;
    }

private Q_SLOTS:
    void aSixthLineAndTheTaxNumberAreSaved()
    {
        auto w = openWindow();
        QCOMPARE(w->objectName(), QStringLiteral("fmCheckIVIntel"));
        QCOMPARE(w->windowTitle(), QStringLiteral("国际货运发票（国际货运代理发票）-ID=-1"));
        w->setSender(company(QStringLiteral("星河贸易"), QString()));
        test::enterText(*w, "zdGKShuiHao", QStringLiteral("91330106MA27XK4Q8B"));
        test::enterText(*w, "zdSFNR6", QStringLiteral("海运费"));
        test::enterText(*w, "zdSL6", QStringLiteral("2"));
        test::enterText(*w, "zdDJ6", QStringLiteral("60000"));
        // No digit limit on the freight invoice: 120,000 stands.
        QCOMPARE(test::shownText(*w, "zdHJJEXX"), QStringLiteral("120000.00"));
        QVERIFY(test::shownText(*w, "zdJEDX").contains(QStringLiteral("拾贰万")));
        // A line the form hides is saved all the same.
        w->control("zdSFNR5")->hide();
        test::enterText(*w, "zdSFNR5", QStringLiteral("报关费"));
        test::click(w.get(), "btSaveCheck");
        QCOMPARE(dialogs().lastText(), QStringLiteral("新国际货运发票保存成功！ "));
        const int id = w->state().checkId();
        QCOMPARE(column(id, "收费内容6"), QStringLiteral("海运费"));
        QCOMPARE(column(id, "金额6"), QStringLiteral("120000"));
        QCOMPARE(column(id, "收费内容5"), QStringLiteral("报关费"));
        QCOMPARE(column(id, "顾客名称"), QStringLiteral("星河贸易"));
        QCOMPARE(column(id, "顾客税号"), QStringLiteral("91330106MA27XK4Q8B"));
        QCOMPARE(column(id, "票据状态"), QStringLiteral("已用"));
    }

    void theDatePickerSitsBesideTheDateLine()
    {
        // The freight form has no day box: the picker goes beside the date it sets.
        auto w = openWindow();
        const QWidget *line = w->control(QStringLiteral("zdNianYueRi"));
        const QWidget *picker = w->control(QStringLiteral("SelDate"));
        QVERIFY(!line->isHidden());
        QVERIFY(!picker->isHidden());
        QCOMPARE(picker->x(), line->geometry().right() + 3);
        QCOMPARE(picker->y(), line->y());
        test::child<QCheckBox>(w.get(), "cfgWantPrintRQ")->setChecked(false);
        QVERIFY(picker->isHidden());
    }

    void reopeningKeepsThePayeeShown()
    {
        auto w = openWindow();
        w->setReceiver(company(QStringLiteral("墨雀物流"), QStringLiteral("招商银行")));
        test::enterText(*w, "zdSL1", QStringLiteral("1"));
        test::enterText(*w, "zdDJ1", QStringLiteral("10"));
        test::click(w.get(), "btSaveCheck");
        const int id = w->state().checkId();

        auto again = openWindow();
        again->setReceiver(company(QStringLiteral("另一家公司"), QStringLiteral("工商银行")));
        QVERIFY(again->openSavedBill({}, id));
        QCOMPARE(test::shownText(*again, "ZDINCOMP"), QStringLiteral("另一家公司"));
        QCOMPARE(test::shownText(*again, "zdInBank"), QStringLiteral("工商银行"));
        QCOMPARE(test::shownText(*again, "zdJE1"), QStringLiteral("10.00"));
        QCOMPARE(test::shownText(*again, "zdHJJEXX"), QStringLiteral("10.00"));
        // The payee's name goes into the address book as one of the user's companies.
        QTimer::singleShot(0, [] {
            if (QWidget *editor = QApplication::activeModalWidget())
                test::click(editor, "btSaveClose");
        });
        test::click(again.get(), "btSaveSKRen");
        QCOMPARE(m_data->scalar("select 单位类型 from CKPersonalInfoTable where 全称='另一家公司'").toString(),
                 QStringLiteral("我方单位"));
    }
};

QTEST_MAIN(TestEntryUiFreight)
#include "test_entryui_freight.moc"
