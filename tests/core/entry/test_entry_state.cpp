#include "entry/BillState.h"
#include "entry/BillStore.h"
#include "support/ScriptedDialogs.h"
#include "support/TestData.h"

#include <QTest>

using namespace moque;
using namespace moque::entry;

namespace {

const QString kTemplate = QStringLiteral("顺丰速运");

QHash<QString, QString> sampleRow(const QString &receiver)
{
    return {{QStringLiteral("收件单位"), receiver}, {QStringLiteral("模板种类"), kTemplate},
            {QStringLiteral("寄件日期"), QStringLiteral("2026-01-02")}};
}

} // namespace

class TestEntryState : public QObject
{
    Q_OBJECT

private:
    test::TestData data;

    // Saves the bill through the save button, as the window does.
    static bool saveOnce(BillState &s, BillStore &store, test::ScriptedDialogs &dialogs,
                         const QString &receiver = QStringLiteral("甲"))
    {
        return s.saveClicked().action == Decision::Action::RunSave
               && s.beginSave(dialogs, QDate::currentDate(), QDate::currentDate()).proceed
               && s.finishSave(store, sampleRow(receiver), dialogs);
    }

    int rows() { return data.scalar(QStringLiteral("select count(*) from DataKDDTable")).toInt(); }

private Q_SLOTS:
    void initTestCase() { QVERIFY(data.open()); }
    void init() { QVERIFY(data.exec(QStringLiteral("delete from DataKDDTable"))); }

    void newWindowState()
    {
        BillState s;
        s.templateChosen(kTemplate);
        QCOMPARE(s.checkId(), -1);
        QVERIFY(!s.isSaved());
        QVERIFY(!s.isHistory());
        QVERIFY(s.showSaveMsg());
        QCOMPARE(s.caption(), QStringLiteral("快递单（顺丰速运）-ID=-1"));
    }

    void saveButton_data()
    {
        QTest::addColumn<bool>("history");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("message");
        QTest::newRow("history") << true << true << int(Decision::Action::ShowMessage)
                                 << QStringLiteral("历史单据不能保存，请点击【复制】后,再保存为新单据！");
        QTest::newRow("history changed") << true << false << int(Decision::Action::ShowMessage)
                                         << QStringLiteral("历史单据不能保存，请点击【复制】后,再保存为新单据！");
        QTest::newRow("saved") << false << true << int(Decision::Action::ShowMessage)
                               << QStringLiteral("没有改动,无需保存~");
        QTest::newRow("unsaved") << false << false << int(Decision::Action::RunSave) << QString();
    }
    void saveButton()
    {
        QFETCH(bool, history);
        QFETCH(bool, saved);
        QFETCH(int, action);
        QFETCH(QString, message);
        BillState s;
        s.templateChosen(kTemplate);
        if (history) {
            s.beginOpen(7);
            s.finishOpen();
        }
        if (!saved)
            s.valueChanged();
        else if (!history) {
            BillStore store(data.db());
            test::ScriptedDialogs dialogs;
            QVERIFY(saveOnce(s, store, dialogs));
        }
        const Decision d = s.saveClicked();
        QCOMPARE(int(d.action), action);
        QCOMPARE(d.message, message);
        test::ScriptedDialogs shown;
        d.showOn(shown);
        QCOMPARE(shown.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    }

    void saveInsertsThenUpdatesSameRow()
    {
        BillStore store(data.db());
        test::ScriptedDialogs dialogs;
        BillState s;
        s.templateChosen(kTemplate);
        QVERIFY(saveOnce(s, store, dialogs));
        const int id = s.checkId();
        QVERIFY(id > 0);
        QVERIFY(s.isSaved());
        QCOMPARE(dialogs.lastText(), QStringLiteral("新快递单保存成功！ "));
        QCOMPARE(dialogs.lastCaption(), QStringLiteral("提示"));
        QCOMPARE(s.caption(), QStringLiteral("快递单(顺丰速运)-ID=%1").arg(id));

        s.valueChanged();
        QVERIFY(saveOnce(s, store, dialogs, QStringLiteral("乙")));
        QCOMPARE(s.checkId(), id);
        QCOMPARE(dialogs.lastText(), QStringLiteral("快递单修改保存成功（要修改成新快递单请先点击【复制】按钮）！ "));
        QCOMPARE(rows(), 1);
        QCOMPARE(store.load(id)->value(QStringLiteral("收件单位")), QStringLiteral("乙"));
    }

    void saveWithoutMessage()
    {
        BillStore store(data.db());
        test::ScriptedDialogs dialogs;
        BillState s;
        s.templateChosen(kTemplate);
        s.setShowSaveMsg(false);
        QVERIFY(s.beginSave(dialogs, QDate::currentDate(), QDate::currentDate()).proceed);
        QVERIFY(s.finishSave(store, sampleRow(QStringLiteral("甲")), dialogs));
        QVERIFY(dialogs.shown.isEmpty());
        QVERIFY(s.isSaved());
    }

    void savedRowDeletedMeanwhileIsInsertedAgain()
    {
        BillStore store(data.db());
        test::ScriptedDialogs dialogs;
        BillState s;
        s.templateChosen(kTemplate);
        QVERIFY(saveOnce(s, store, dialogs));
        const int old = s.checkId();
        QVERIFY(data.exec(QStringLiteral("delete from DataKDDTable")));
        s.valueChanged();
        QVERIFY(s.beginSave(dialogs, QDate::currentDate(), QDate::currentDate()).proceed);
        QVERIFY(s.finishSave(store, sampleRow(QStringLiteral("甲")), dialogs));
        QVERIFY(s.checkId() != old);
        QCOMPARE(dialogs.lastText(), QStringLiteral("新快递单保存成功！ "));
    }

    void beginSaveUnchangedBill()
    {
        BillStore store(data.db());
        test::ScriptedDialogs dialogs;
        BillState s;
        s.templateChosen(kTemplate);
        QVERIFY(saveOnce(s, store, dialogs));
        dialogs.clear();
        QVERIFY(!s.beginSave(dialogs, QDate::currentDate(), QDate::currentDate()).proceed);
        QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("已经保存过了！")});
    }

    void historicSaveFromClosePrompt_data()
    {
        QTest::addColumn<bool>("saveAsNew");
        QTest::addColumn<bool>("oldDate");
        QTest::addColumn<bool>("fixDate");
        QTest::addColumn<int>("questions");
        QTest::newRow("no") << false << false << false << 1;
        QTest::newRow("yes, today") << true << false << false << 1;
        QTest::newRow("yes, old date kept") << true << true << false << 2;
        QTest::newRow("yes, old date fixed") << true << true << true << 2;
    }
    void historicSaveFromClosePrompt()
    {
        QFETCH(bool, saveAsNew);
        QFETCH(bool, oldDate);
        QFETCH(bool, fixDate);
        QFETCH(int, questions);
        BillStore store(data.db());
        const int viewed = *store.insert(sampleRow(QStringLiteral("甲")));
        BillState s;
        s.templateChosen(kTemplate);
        s.beginOpen(viewed);
        s.finishOpen();
        s.valueChanged();

        test::ScriptedDialogs dialogs;
        dialogs.answers << saveAsNew << fixDate;
        const QDate today(2026, 3, 4);
        const SavePlan plan = s.beginSave(dialogs, oldDate ? QDate(2025, 1, 1) : today, today);
        QCOMPARE(dialogs.shown.size(), questions);
        QCOMPARE(dialogs.shown.first().text, QStringLiteral("该单据来自历史单据，历史单据不能修改！\r另存为新单据吗？"));
        QCOMPARE(dialogs.shown.first().caption, QStringLiteral("单据保存"));
        if (questions == 2) {
            QCOMPARE(dialogs.shown[1].text,
                     QStringLiteral("票据的日期与当前日期不符！\r修正为当前日期吗？(修正后日期：2026-03-04)"));
            QCOMPARE(dialogs.shown[1].caption, QStringLiteral("单据保存"));
        }
        QCOMPARE(plan.proceed, saveAsNew);
        QCOMPARE(plan.resetDateToToday, fixDate);
        if (!saveAsNew) {
            QCOMPARE(s.checkId(), viewed);
            QCOMPARE(rows(), 1);
            return;
        }
        QVERIFY(s.finishSave(store, sampleRow(QStringLiteral("丙")), dialogs));
        QVERIFY(s.checkId() != viewed);
        QVERIFY(!s.isHistory());
        QCOMPARE(rows(), 2);
        QCOMPARE(store.load(viewed)->value(QStringLiteral("收件单位")), QStringLiteral("甲"));
    }

    void copyOfUnsavedBill()
    {
        BillState s;
        s.templateChosen(kTemplate);
        const QString caption = s.caption();
        const Decision d = s.copyClicked();
        QCOMPARE(d.action, Decision::Action::ShowMessage);
        QCOMPARE(d.message, QStringLiteral("未保存单据不需要复制即为一张新单！"));
        QCOMPARE(s.checkId(), -1);
        QCOMPARE(s.caption(), caption);
    }

    void copyOfSavedBill_data()
    {
        QTest::addColumn<QString>("templateName");
        QTest::addColumn<bool>("history");
        QTest::addColumn<QString>("caption");
        QTest::newRow("saved") << kTemplate << false << QStringLiteral("已复制保存过的单据为一张新单~");
        QTest::newRow("historic") << kTemplate << true << QStringLiteral("已复制保存过的单据为一张新单~");
        QTest::newRow("template named 复制") << QStringLiteral("复制样单") << false
                                           << QStringLiteral("快递单-复制样单 ID=-1");
    }
    void copyOfSavedBill()
    {
        QFETCH(QString, templateName);
        QFETCH(bool, history);
        QFETCH(QString, caption);
        BillState s;
        s.templateChosen(templateName);
        if (history) {
            s.beginOpen(12);
            s.finishOpen();
        } else {
            BillStore store(data.db());
            test::ScriptedDialogs dialogs;
            QVERIFY(saveOnce(s, store, dialogs));
        }
        QVERIFY(s.isHistory() == history);
        QCOMPARE(s.copyClicked().action, Decision::Action::Nothing);
        QCOMPARE(s.checkId(), -1);
        QVERIFY(!s.isSaved());
        QVERIFY(!s.isHistory());
        QCOMPARE(s.caption(), caption);
        QCOMPARE(s.saveClicked().action, Decision::Action::RunSave);
    }

    void newBill()
    {
        BillState s;
        s.templateChosen(kTemplate);
        s.beginOpen(5);
        s.finishOpen();
        QVERIFY(s.copyEnabled());
        s.newBill();
        QCOMPARE(s.checkId(), -1);
        QVERIFY(!s.isSaved());
        QVERIFY(!s.isHistory());
        QVERIFY(!s.copyEnabled());
        QCOMPARE(s.caption(), QStringLiteral("新快递单-ID=-1"));
        QCOMPARE(s.saveClicked().action, Decision::Action::RunSave);
        QVERIFY(s.copyEnabled());
    }

    void openSavedBill()
    {
        BillState s;
        s.templateChosen(kTemplate);
        s.beginOpen(42);
        QVERIFY(s.isLoading());
        QCOMPARE(s.checkId(), 42);
        s.valueChanged(); // controls being filled
        s.finishOpen();
        QVERIFY(!s.isLoading());
        QVERIFY(s.isSaved());
        QVERIFY(s.isHistory());
        QCOMPARE(s.caption(), QStringLiteral("历史快递单查看（流水号为：42)"));
        s.valueChanged();
        QVERIFY(!s.isSaved());
        QVERIFY(s.isHistory());
    }

    void templateSwitchMarksChanged()
    {
        BillStore store(data.db());
        test::ScriptedDialogs dialogs;
        BillState s;
        s.templateChosen(kTemplate);
        QVERIFY(saveOnce(s, store, dialogs));
        s.templateChosen(QStringLiteral("圆通"));
        QVERIFY(!s.isSaved());
        QCOMPARE(s.caption(), QStringLiteral("快递单（圆通）-ID=%1").arg(s.checkId()));
    }

    // The export invoice saves whatever state the bill is in: a historic one
    // only after the question whether to save it as a new one.
    void kindSavingUnchangedBills_data()
    {
        QTest::addColumn<bool>("history");
        QTest::addColumn<bool>("saved");
        QTest::newRow("unsaved") << false << false;
        QTest::newRow("saved, unchanged") << false << true;
        QTest::newRow("historic") << true << true;
    }
    void kindSavingUnchangedBills()
    {
        QFETCH(bool, history);
        QFETCH(bool, saved);
        BillStore store(data.db());
        test::ScriptedDialogs dialogs;
        BillState s(BillTexts::exportInvoice());
        s.templateChosen(kTemplate);
        if (history) {
            s.beginOpen(*store.insert(sampleRow(QStringLiteral("甲"))));
            s.finishOpen();
        } else if (saved) {
            QVERIFY(saveOnce(s, store, dialogs));
        }
        const int before = rows();
        const int id = s.checkId();
        dialogs.clear();
        dialogs.answers << true;
        QVERIFY(saveOnce(s, store, dialogs, QStringLiteral("乙")));
        const QString question = QStringLiteral("该单据来自历史单据，历史单据不能修改！\r另存为新单据吗？");
        QStringList expected{QStringLiteral("【出口商品发票】填写保存成功！ ")};
        if (history)
            expected.prepend(question);
        QCOMPARE(dialogs.texts(), expected);
        // An unchanged bill is written over its own row; a historic one becomes a new row.
        QCOMPARE(rows(), saved && !history ? before : before + 1);
        if (saved && !history)
            QCOMPARE(s.checkId(), id);
        QCOMPARE(store.load(s.checkId())->value(QStringLiteral("收件单位")), QStringLiteral("乙"));
        QVERIFY(s.isSaved());
        QVERIFY(!s.isHistory());
        QCOMPARE(s.caption(), QStringLiteral("出口商品发票-单号：%1").arg(s.checkId()));
    }

    void copyRulesOfTheKind_data()
    {
        QTest::addColumn<bool>("exportKind");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<bool>("saveMessages");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("copyEnabled");
        const QString waybillUnsaved = QStringLiteral("未保存单据不需要复制即为一张新单！");
        const QString exportUnsaved = QStringLiteral("  未保存单据不需要复制！    ");
        const QString newCaption = QStringLiteral("出口商品发票（顺丰速运）-ID=-1");
        QTest::newRow("waybill, unsaved") << false << false << true << waybillUnsaved
                                          << QStringLiteral("快递单（顺丰速运）-ID=-1") << true;
        QTest::newRow("waybill, unsaved, no save messages") << false << false << false << waybillUnsaved
                                                            << QStringLiteral("快递单（顺丰速运）-ID=-1") << true;
        QTest::newRow("waybill, saved") << false << true << true << QString()
                                        << QStringLiteral("已复制保存过的单据为一张新单~") << true;
        QTest::newRow("export, unsaved") << true << false << true << exportUnsaved << newCaption << true;
        QTest::newRow("export, unsaved, no save messages") << true << false << false << QString() << newCaption
                                                           << true;
        QTest::newRow("export, saved") << true << true << true << QStringLiteral("单据复制成功！")
                                       << QStringLiteral("出口商品发票-顺丰速运 ID=-1") << false;
        QTest::newRow("export, saved, no save messages") << true << true << false << QString()
                                                         << QStringLiteral("出口商品发票-顺丰速运 ID=-1") << false;
    }
    void copyRulesOfTheKind()
    {
        QFETCH(bool, exportKind);
        QFETCH(bool, saved);
        QFETCH(bool, saveMessages);
        QFETCH(QString, message);
        QFETCH(QString, caption);
        QFETCH(bool, copyEnabled);
        BillStore store(data.db());
        test::ScriptedDialogs dialogs;
        BillState s(exportKind ? BillTexts::exportInvoice() : BillTexts::waybill());
        s.templateChosen(kTemplate);
        if (saved)
            QVERIFY(saveOnce(s, store, dialogs));
        s.setShowSaveMsg(saveMessages);
        const Decision d = s.copyClicked();
        QCOMPARE(d.message, message);
        QCOMPARE(int(d.action), int(message.isEmpty() ? Decision::Action::Nothing : Decision::Action::ShowMessage));
        QCOMPARE(s.checkId(), -1);
        QVERIFY(!s.isSaved());
        QCOMPARE(s.caption(), caption);
        QCOMPARE(s.copyEnabled(), copyEnabled);
    }

    void exportInvoiceTexts()
    {
        BillState s(BillTexts::exportInvoice());
        s.templateChosen(kTemplate);
        s.newBill();
        QCOMPARE(s.caption(), QStringLiteral("新出口商品发票-ID=-1"));
        s.beginOpen(8);
        s.finishOpen(true);
        QCOMPARE(s.caption(), QStringLiteral("出口商品发票（流水号为：8)"));
        s.valueChanged();
        test::ScriptedDialogs dialogs;
        dialogs.answers << true;
        QVERIFY(s.askSaveOnClose(dialogs, {QStringLiteral("Harbor Trading")}));
        QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("是否保存该单据？")});
        QCOMPARE(dialogs.lastCaption(), QStringLiteral("关闭"));
    }

    void closePrompt_data()
    {
        QTest::addColumn<bool>("saved");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("contact");
        QTest::addColumn<bool>("asks");
        QTest::newRow("unsaved, both filled") << false << QStringLiteral("甲") << QStringLiteral("张三") << true;
        QTest::newRow("unsaved, no contact") << false << QStringLiteral("甲") << QString() << false;
        QTest::newRow("unsaved, no name") << false << QString() << QStringLiteral("张三") << false;
        QTest::newRow("saved") << true << QStringLiteral("甲") << QStringLiteral("张三") << false;
    }
    void closePrompt()
    {
        QFETCH(bool, saved);
        QFETCH(QString, name);
        QFETCH(QString, contact);
        QFETCH(bool, asks);
        BillState s;
        s.templateChosen(kTemplate);
        if (saved) {
            s.beginOpen(3);
            s.finishOpen();
        }
        QCOMPARE(s.closeNeedsQuestion({name, contact}), asks);
        for (bool answer : {true, false}) {
            test::ScriptedDialogs dialogs;
            dialogs.answers << answer;
            QCOMPARE(s.askSaveOnClose(dialogs, {name, contact}), asks && answer);
            if (asks) {
                QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("是否保存该快递单？")});
                QCOMPARE(dialogs.lastCaption(), QStringLiteral("关闭快递单"));
            } else {
                QVERIFY(dialogs.shown.isEmpty());
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestEntryState)
#include "test_entry_state.moc"
