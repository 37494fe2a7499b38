// The batch print list window driven through its controls: the recipients
// listed and filtered, a cell corrected in place, the list printed in one PDF
// job with every recipient at its place, the chosen rows printed, a cancelled
// job keeping every row, clearing with the numbering restarted, and the window
// opened from the waybill window's 批量打印 with a row previewed there, a
// column filled over the whole table, address book entries picked into the
// list, and the creation-date periods and print-state tabs.

#include "app/FontSetup.h"
#include "batch/AddressRecognitionWindow.h"
#include "batch/BatchList.h"
#include "batch/BatchPrintWindow.h"
#include "batch/RecipientImportWindow.h"
#include "entry/ReceiptWindow.h"
#include "entry/WaybillWindow.h"
#include "refdata/AddressBookWindow.h"
#include "support/EntryWindows.h"
#include "support/PdfText.h"
#include "support/TestData.h"
#include "support/Widgets.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSqlQuery>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <algorithm>

using namespace moque;
using Row = QHash<QString, QString>;

class TestBatchPrintWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::TestData> m_data;
    QTemporaryDir m_out;
    std::unique_ptr<ui::WaybillWindow> m_waybill;

    test::ScriptedDialogs &dialogs() { return m_data->dialogs; }
    batch::BatchList list() { return batch::BatchList(m_data->db()); }

    // Three recipients of the default list and one of another group, which the window does not list.
    void addRecipients()
    {
        batch::BatchList l = list();
        QVERIFY(l.add({{"全称", "XingheTrading"}, {"联系人", "Zhang"}, {"电话", "0571-1"}, {"省", "浙江省"}}));
        QVERIFY(l.add({{"全称", "MoonShop"}, {"联系人", "Li"}, {"手机", "13912345678"}, {"省", "广东省"}}));
        QVERIFY(l.add({{"全称", "SunriseCo"}, {"联系人", "Wang"}, {"电话", "0571-3"}, {"省", "浙江省"}}));
        QVERIFY(l.add({{"全称", "GroupShop"}, {"联系人", "Zhao"}, {"批打分组", "其他"}}));
    }

    std::unique_ptr<ui::BatchPrintWindow> openWindow()
    {
        m_waybill = std::make_unique<ui::WaybillWindow>(*m_data->core);
        m_waybill->show();
        test::enterText(*m_waybill, QStringLiteral("zdHKR"), QStringLiteral("MoqueTech"));
        auto w = std::make_unique<ui::BatchPrintWindow>(*m_data->core, *m_waybill);
        w->show();
        return w;
    }

    static QTableView *grid(const ui::BatchPrintWindow &w) { return test::child<QTableView>(&w, "gridReceiver"); }
    static int columnOf(const ui::BatchPrintWindow &w, const QString &name)
    {
        const QAbstractItemModel *m = grid(w)->model();
        for (int c = 0; c < m->columnCount(); ++c)
            if (m->headerData(c, Qt::Horizontal).toString() == name)
                return c;
        return -1;
    }
    static QStringList listedNames(const ui::BatchPrintWindow &w)
    {
        const QAbstractItemModel *m = grid(w)->model();
        const int c = columnOf(w, QStringLiteral("全称"));
        QStringList names;
        for (int r = 0; r < m->rowCount(); ++r)
            names << m->index(r, c).data().toString();
        return names;
    }
    QStringList tableColumn(const QString &column)
    {
        QSqlQuery q(m_data->db());
        q.exec(QStringLiteral("select \"%1\" from ReceiverList order by ID").arg(column));
        QStringList values;
        while (q.next())
            values << q.value(0).toString();
        return values;
    }
    static QStringList items(const QComboBox *box)
    {
        QStringList texts;
        for (int i = 0; i < box->count(); ++i)
            texts << box->itemText(i);
        return texts;
    }
    static void chooseTarget(ui::BatchPrintWindow &w, const QString &target)
    {
        auto *box = test::child<QComboBox>(&w, "cbField");
        const int index = box->findText(target);
        QVERIFY2(index >= 0, qPrintable(target));
        box->setCurrentIndex(index);
        Q_EMIT box->activated(index);
    }
    static QString label(const ui::BatchPrintWindow &w, const char *name) { return test::child<QLabel>(&w, name)->text(); }

    QPoint receiverItemPlace(int templateId)
    {
        QSqlQuery q(m_data->db());
        q.prepare("select c.CtlX,c.CtlY,t.XMove,t.YMove from ckControl c join CKTypeTable t on "
                  "t.CheckTypeID=c.CheckTypeID where c.CheckTypeID=? and upper(c.CtlName)='ZDSKR'");
        q.addBindValue(templateId);
        if (!q.exec() || !q.next())
            return {};
        return {q.value(0).toInt() + q.value(2).toInt(), q.value(1).toInt() + q.value(3).toInt()};
    }

    // The receiver name on each page of the PDF, each checked at the receiver item's place.
    QStringList printedReceivers(const QString &path, const QStringList &candidates)
    {
        const QPoint place = receiverItemPlace(m_waybill->curTypeId());
        const double tolerance = 72.0 / 254.0;
        QStringList printed;
        for (const test::PdfPage &page : test::readPdfPages(path)) {
            const auto it = std::find_if(page.words.begin(), page.words.end(),
                                         [&](const test::PdfWord &word) { return candidates.contains(word.text); });
            if (it == page.words.end()) {
                printed << QString();
                continue;
            }
            const bool atPlace = qAbs(it->x - test::tenthsToPoints(place.x())) <= tolerance
                                 && qAbs(it->y - test::tenthsToPoints(place.y())) <= tolerance;
            const bool sender = std::any_of(page.words.begin(), page.words.end(),
                                            [](const test::PdfWord &word) { return word.text == "MoqueTech"; });
            printed << (atPlace && sender ? it->text : it->text + QStringLiteral(" misplaced"));
        }
        return printed;
    }

private Q_SLOTS:
    void initTestCase()
    {
        app::installFontSubstitutions();
        QVERIFY(m_out.isValid());
    }
    void init()
    {
        m_data = std::make_unique<test::TestData>();
        QVERIFY(m_data->open());
        m_data->core->session().billPrinterName = QStringLiteral("PDF");
        addRecipients();
    }
    void cleanup()
    {
        m_waybill.reset();
        m_data.reset();
    }

    void listsAndFiltersTheRecipients_data()
    {
        QTest::addColumn<QString>("filterEntry");
        QTest::addColumn<QString>("match");
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<bool>("descending");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("no keyword: the default list") << "联系人|全称|电话" << "包含" << "" << false
                                                     << QStringList{"XingheTrading", "MoonShop", "SunriseCo"};
        QTest::newRow("倒序") << "联系人|全称|电话" << "包含" << "" << true
                            << QStringList{"SunriseCo", "MoonShop", "XingheTrading"};
        QTest::newRow("province contains") << "省|市|镇区" << "包含" << "浙江" << false
                                           << QStringList{"XingheTrading", "SunriseCo"};
        QTest::newRow("phone or handset") << "电话|手机" << "包含" << "139" << false << QStringList{"MoonShop"};
        QTest::newRow("one column equal") << "全称" << "等于" << "MoonShop" << false << QStringList{"MoonShop"};
        QTest::newRow("equal is not contains") << "全称" << "等于" << "Moon" << false << QStringList{};
        QTest::newRow("another group is not listed") << "全称" << "包含" << "GroupShop" << false << QStringList{};
    }

    void listsAndFiltersTheRecipients()
    {
        QFETCH(QString, filterEntry);
        QFETCH(QString, match);
        QFETCH(QString, keyword);
        QFETCH(bool, descending);
        QFETCH(QStringList, listed);
        auto w = openWindow();
        QCOMPARE(w->objectName(), QStringLiteral("frmMutiPrint"));
        QCOMPARE(w->windowTitle(), QStringLiteral("墨雀软件-批量打印快递单-收件人"));
        QCOMPARE(label(*w, "lbListed"), QStringLiteral("3"));
        auto *entries = test::child<QComboBox>(w.get(), "cbFilter");
        // The three combined entries, then the grid's columns but the first.
        QCOMPARE(entries->itemText(3), QStringLiteral("全称"));
        QCOMPARE(entries->currentText(), QStringLiteral("联系人|全称|电话"));
        entries->setCurrentIndex(entries->findText(filterEntry));
        QVERIFY(entries->currentIndex() >= 0);
        auto *matchBox = test::child<QComboBox>(w.get(), "cbMatch");
        matchBox->setCurrentIndex(matchBox->findText(match));
        test::replaceText(test::child<QLineEdit>(w.get(), "edtKey"), keyword);
        test::child<QCheckBox>(w.get(), "ckDesc")->setChecked(descending);
        test::click(w.get(), "btQuery");
        QCOMPARE(listedNames(*w), listed);
        QCOMPARE(label(*w, "lbListed"), QString::number(listed.size()));
        QCOMPARE(test::child<QPushButton>(w.get(), "btPrintAll")->isEnabled(), !listed.isEmpty());
        test::click(w.get(), "btAll");
        QCOMPARE(listedNames(*w).size(), 3);
    }

    void aCellEditedInPlaceIsStored()
    {
        auto w = openWindow();
        QTableView *view = grid(*w);
        const QModelIndex contact = view->model()->index(1, columnOf(*w, QStringLiteral("联系人")));
        view->setCurrentIndex(contact);
        view->edit(contact);
        auto *editor = view->viewport()->findChild<QLineEdit *>();
        QVERIFY(editor);
        test::replaceText(editor, QStringLiteral("Qian"));
        QTest::keyClick(editor, Qt::Key_Return);
        // The item delegate commits after the key, from the event loop.
        QTRY_COMPARE(contact.data().toString(), QStringLiteral("Qian"));
        const auto rows = list().list({});
        QVERIFY(rows);
        QCOMPARE(rows->at(1).value(QStringLiteral("联系人")), QStringLiteral("Qian"));
        QCOMPARE(rows->at(0).value(QStringLiteral("联系人")), QStringLiteral("Zhang"));
        QCOMPARE(label(*w, "lbListed"), QStringLiteral("3"));
        // The key is not a cell to correct.
        const QModelIndex id = view->model()->index(1, columnOf(*w, QStringLiteral("ID")));
        QVERIFY(!(view->model()->flags(id) & Qt::ItemIsEditable));
    }

    void printsTheListedRowsInOneJob()
    {
        auto w = openWindow();
        const QString path = m_out.filePath(QStringLiteral("all.pdf"));
        dialogs().files.enqueue(path);
        test::click(w.get(), "btPrintAll");
        QVERIFY2(QFile::exists(path), qPrintable(dialogs().texts().join('|')));
        const QStringList names{"XingheTrading", "MoonShop", "SunriseCo"};
        QCOMPARE(printedReceivers(path, names), names);
        QCOMPARE(label(*w, "lbStatus"), QStringLiteral("已打印3张快递单"));
        QVERIFY(grid(*w)->isEnabled());
        QCOMPARE(list().count(), 4);
        // The waybill window keeps its own bill.
        QCOMPARE(test::shownText(*m_waybill, QStringLiteral("zdHKR")), QStringLiteral("MoqueTech"));
    }

    void printsTheChosenRows_data()
    {
        QTest::addColumn<QList<int>>("clicked"); // rows selected in this order; none: 选中前 N 条
        QTest::addColumn<QString>("firstN");
        QTest::addColumn<QStringList>("printed");
        QTest::newRow("selected, in the order selected") << QList<int>{2, 0} << QString()
                                                         << QStringList{"SunriseCo", "XingheTrading"};
        QTest::newRow("one selected") << QList<int>{1} << QString() << QStringList{"MoonShop"};
        QTest::newRow("the first 2") << QList<int>{} << "2" << QStringList{"XingheTrading", "MoonShop"};
        QTest::newRow("the first 5 of 3") << QList<int>{} << "5"
                                          << QStringList{"XingheTrading", "MoonShop", "SunriseCo"};
    }

    void printsTheChosenRows()
    {
        QFETCH(QList<int>, clicked);
        QFETCH(QString, firstN);
        QFETCH(QStringList, printed);
        auto w = openWindow();
        QTableView *view = grid(*w);
        if (clicked.isEmpty()) {
            dialogs().inputs.enqueue(firstN);
            test::click(w.get(), "btSelectFirstN");
            QCOMPARE(dialogs().shown.last().text, QStringLiteral("输入重复打印的张数"));
        } else {
            for (int row : clicked)
                view->selectionModel()->select(view->model()->index(row, 0),
                                               QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
        QCOMPARE(label(*w, "lbSelected"), QString::number(printed.size()));
        const QString path = m_out.filePath(QStringLiteral("chosen.pdf"));
        QFile::remove(path);
        dialogs().files.enqueue(path);
        test::click(w.get(), "btPrintSelected");
        QCOMPARE(printedReceivers(path, {"XingheTrading", "MoonShop", "SunriseCo"}), printed);
    }

    void aWrongNumberSelectsNothing()
    {
        auto w = openWindow();
        dialogs().inputs.enqueue(QStringLiteral("two"));
        test::click(w.get(), "btSelectFirstN");
        QCOMPARE(dialogs().lastText(), QStringLiteral("输入错误的数字！"));
        QCOMPARE(label(*w, "lbSelected"), QStringLiteral("0"));
        QVERIFY(!test::child<QPushButton>(w.get(), "btPrintSelected")->isEnabled());
    }

    void cancelKeepsEveryRow()
    {
        auto w = openWindow();
        const QString path = m_out.filePath(QStringLiteral("cancelled.pdf"));
        QFile::remove(path);
        dialogs().files.enqueue(path);
        // 取消 as soon as the progress dialog is there.
        bool cancelled = false;
        QTimer canceller;
        canceller.setInterval(0);
        connect(&canceller, &QTimer::timeout, this, [&] {
            auto *progress = w->findChild<QProgressDialog *>(QStringLiteral("pdPrinting"));
            if (!progress || !progress->isVisible())
                return;
            const QList<QPushButton *> buttons = progress->findChildren<QPushButton *>();
            for (QPushButton *b : buttons)
                if (b->text() == QStringLiteral("取消")) {
                    b->click();
                    cancelled = true;
                    canceller.stop();
                }
        });
        canceller.start();
        test::click(w.get(), "btPrintAll");
        canceller.stop();
        QVERIFY(cancelled);
        QVERIFY(!QFile::exists(path));
        QCOMPARE(label(*w, "lbStatus"), QStringLiteral("批量打印已取消"));
        QCOMPARE(listedNames(*w), (QStringList{"XingheTrading", "MoonShop", "SunriseCo"}));
        QCOMPARE(list().count(), 4);
        QVERIFY(grid(*w)->isEnabled());
        QVERIFY(test::child<QPushButton>(w.get(), "btPrintAll")->isEnabled());
    }

    void clearingRestartsTheNumbering_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::addColumn<int>("rowsLeft");
        QTest::addColumn<qint64>("nextId");
        QTest::newRow("yes: every group emptied") << true << 0 << qint64(1);
        QTest::newRow("no: nothing changes") << false << 4 << qint64(5);
    }

    void clearingRestartsTheNumbering()
    {
        QFETCH(bool, answer);
        QFETCH(int, rowsLeft);
        QFETCH(qint64, nextId);
        auto w = openWindow();
        dialogs().answers.enqueue(answer);
        test::click(w.get(), "btClear");
        QCOMPARE(dialogs().lastText(),
                 QStringLiteral("提示：确认要【清空系统所有列表】的收件人吗？清除后流水ID后会重置，清除操作将无法恢复！"));
        QCOMPARE(list().count(), rowsLeft);
        QCOMPARE(label(*w, "lbListed"), QString::number(qMin(rowsLeft, 3)));
        QCOMPARE(list().add({{"全称", "NewShop"}}), nextId);
    }

    void deletesTheSelectedRows()
    {
        auto w = openWindow();
        grid(*w)->selectRow(1);
        dialogs().answers.enqueue(true);
        test::click(w.get(), "btDeleteSelected");
        QCOMPARE(listedNames(*w), (QStringList{"XingheTrading", "SunriseCo"}));
        QCOMPARE(label(*w, "lbListed"), QStringLiteral("2"));
        QCOMPARE(list().count(), 3);
    }

    void importOpensTheImportIntoTheList()
    {
        auto w = openWindow();
        std::optional<batch::ImportTarget> target;
        QTimer::singleShot(0, this, [&] {
            auto *import = w->findChild<ui::RecipientImportWindow *>();
            if (!import)
                return;
            target = import->target();
            list().add({{"全称", "ImportedShop"}});
            import->reject();
        });
        test::click(w.get(), "btImport");
        QVERIFY(target);
        QCOMPARE(int(*target), int(batch::ImportTarget::BatchList));
        // The list is read again after the import.
        QCOMPARE(listedNames(*w).last(), QStringLiteral("ImportedShop"));
    }

    void onlyTheWaybillShowsBatchPrint()
    {
        auto receipt = test::openActive<ui::ReceiptWindow>(*m_data->core);
        QVERIFY(!test::child<QToolButton>(receipt.get(), "btMultiPrintS")->isVisibleTo(receipt.get()));
        m_waybill = std::make_unique<ui::WaybillWindow>(*m_data->core);
        m_waybill->show();
        auto *button = test::child<QToolButton>(m_waybill.get(), "btMultiPrintS");
        QVERIFY(button->isVisibleTo(m_waybill.get()));
        QVERIFY(button->isEnabled());
    }

    void pastedAddressesJoinTheList()
    {
        auto w = openWindow();
        const int before = list().count();
        const int listedBefore = int(listedNames(*w).size());
        bool batchMode = false;
        QTimer::singleShot(0, this, [&] {
            auto *recognition = qobject_cast<ui::AddressRecognitionWindow *>(QApplication::activeModalWidget());
            if (!recognition)
                return;
            batchMode = !recognition->findChild<QPushButton *>("btPasteNoClose")->isHidden();
            recognition->setInputText(QStringLiteral("张小明,13800138000,广东省 深圳市 南山区 科苑路15号"));
            test::click(recognition, "btMatch");
            test::click(recognition, "btPasteNoClose");
            recognition->setInputText(QStringLiteral("李华 13900139000 浙江省杭州市西湖区文三路90号"));
            test::click(recognition, "btMatch");
            test::click(recognition, "btPasteToSJR");
        });
        test::click(w.get(), "btRecognize");
        QVERIFY(batchMode);
        QCOMPARE(list().count(), before + 2);
        QCOMPARE(m_data->scalar("select 地址 from ReceiverList where 联系人='张小明'").toString(),
                 QStringLiteral("科苑路15号"));
        QCOMPARE(m_data->scalar("select 手机 from ReceiverList where 联系人='李华'").toString(),
                 QStringLiteral("13900139000"));
        QCOMPARE(m_data->scalar("select 市 from ReceiverList where 联系人='李华'").toString(), QStringLiteral("杭州市"));
        // Both join the default group, which the window lists.
        QCOMPARE(int(listedNames(*w).size()), listedBefore + 2);
    }

    void fillsAColumnOfEveryRow_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QStringList>("parts");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QStringList>("contacts"); // 联系人 of every row of the table afterwards
        QTest::addColumn<QStringList>("messages");
        const QStringList before{"Zhang", "Li", "Wang", "Zhao"};
        QTest::newRow("columns and text joined, other groups too")
            << "@联系人" << QStringList{"@全称", ":", "@联系人"} << true
            << QStringList{"XingheTrading:Zhang", "MoonShop:Li", "SunriseCo:Wang", "GroupShop:Zhao"}
            << QStringList{"4条收件人的【联系人】修改成功！"};
        QTest::newRow("fixed text") << "@联系人" << QStringList{"Front", "", ""} << true
                                    << QStringList{"Front", "Front", "Front", "Front"}
                                    << QStringList{"4条收件人的【联系人】修改成功！"};
        QTest::newRow("emptied after yes") << "@联系人" << QStringList{"", "", ""} << true
                                           << QStringList{"", "", "", ""}
                                           << QStringList{"你确信要置空所有的[联系人]列吗？",
                                                          "4条收件人的【联系人】修改成功！"};
        QTest::newRow("no keeps every row") << "@联系人" << QStringList{"", "", ""} << false << before
                                            << QStringList{"你确信要置空所有的[联系人]列吗？"};
        QTest::newRow("no target") << "" << QStringList{"Front", "", ""} << true << before
                                   << QStringList{"请选择要批量改写列~"};
    }

    void fillsAColumnOfEveryRow()
    {
        QFETCH(QString, target);
        QFETCH(QStringList, parts);
        QFETCH(bool, answer);
        QFETCH(QStringList, contacts);
        QFETCH(QStringList, messages);
        auto w = openWindow();
        auto *panel = test::child<QGroupBox>(w.get(), "gbFill");
        QVERIFY(!panel->isVisible());
        test::click(w.get(), "btFillColumn");
        QVERIFY(panel->isVisible());
        if (!target.isEmpty())
            chooseTarget(*w, target);
        for (int i = 0; i < 3; ++i)
            test::child<QComboBox>(w.get(), QStringLiteral("cbField%1").arg(i + 1).toUtf8())->setEditText(parts[i]);
        dialogs().clear();
        dialogs().answers.enqueue(answer);
        test::click(w.get(), "btApplyFill");
        QCOMPARE(dialogs().texts(), messages);
        QCOMPARE(tableColumn(QStringLiteral("联系人")), contacts);
        // The grid shows the table as it now is.
        const int contact = columnOf(*w, QStringLiteral("联系人"));
        QCOMPARE(grid(*w)->model()->index(0, contact).data().toString(), contacts.first());
        QCOMPARE(panel->isVisible(), messages.size() == 1 && !messages.first().contains(QStringLiteral("成功")));
    }

    void fillPartsOfferColumnsAndDictionaryTexts()
    {
        QVERIFY(m_data->exec(QStringLiteral("insert into DMTable (CheckTypeId,DMName,DMValue) values (0,'备注','FragileNote')")));
        QVERIFY(m_data->exec(QStringLiteral("insert into DMTable (CheckTypeId,DMName,DMValue) values (0,'物品内容','BooksGoods')")));
        auto w = openWindow();
        test::click(w.get(), "btFillColumn");
        auto *target = test::child<QComboBox>(w.get(), "cbField");
        auto *first = test::child<QComboBox>(w.get(), "cbField1");
        auto *second = test::child<QComboBox>(w.get(), "cbField2");
        auto *third = test::child<QComboBox>(w.get(), "cbField3");
        QVERIFY(!items(target).contains(QStringLiteral("@ID")));
        QCOMPARE(items(target).first(), QStringLiteral("@全称"));
        QCOMPARE(items(second), items(target));
        QCOMPARE(items(first), (items(target) + QStringList{"光盘数:", "书刊数:"}));
        QCOMPARE(items(third), (items(target) + QStringList{"个", "本"}));

        // The dictionary texts come before the columns.
        const auto offers = [&](const char *text) {
            const QStringList offered = items(first);
            const qsizetype columns = offered.size() - items(target).size();
            return offered.mid(columns) == items(target) && offered.indexOf(QString::fromUtf8(text)) >= 0
                   && offered.indexOf(QString::fromUtf8(text)) < columns;
        };
        chooseTarget(*w, QStringLiteral("@备注"));
        QVERIFY(offers("FragileNote"));
        QVERIFY(!offers("BooksGoods"));
        chooseTarget(*w, QStringLiteral("@内件说明"));
        QVERIFY(offers("BooksGoods"));
        QVERIFY(!offers("FragileNote"));
        chooseTarget(*w, QStringLiteral("@地址"));
        QCOMPARE(items(first), items(target));

        // 置空 empties the parts; a part taken from a list unticks it.
        auto *empty = test::child<QCheckBox>(w.get(), "ckEmpty");
        second->setEditText(QStringLiteral("@省"));
        empty->setChecked(true);
        QVERIFY(first->currentText().isEmpty() && second->currentText().isEmpty() && third->currentText().isEmpty());
        second->setCurrentIndex(1);
        Q_EMIT second->activated(1);
        QVERIFY(!empty->isChecked());

        test::click(w.get(), "btFillColumn");
        QVERIFY(!test::child<QGroupBox>(w.get(), "gbFill")->isVisible());
    }

    void picksAddressBookEntriesIntoTheList_data()
    {
        QTest::addColumn<bool>("pick");
        QTest::newRow("an entry picked") << true;
        QTest::newRow("closed without a pick") << false;
    }

    void picksAddressBookEntriesIntoTheList()
    {
        QFETCH(bool, pick);
        QVERIFY(m_data->exec(QStringLiteral("insert into CKPersonalInfoTable (全称,联系人,手机,省,市,地址,单位类型,分组,扩展信息) "
                                            "values (?,?,?,?,?,?,?,?,?)"),
                             {"BookShop", "Sun", "13700000000", "江苏省", "南京市", "中山路1号", "往来单位", "华东客户",
                              "FragileNote"}));
        auto w = openWindow();
        bool opened = false;
        QTimer::singleShot(0, this, [&] {
            auto *book = qobject_cast<ui::AddressBookWindow *>(QApplication::activeModalWidget());
            if (!book)
                return;
            opened = true;
            QTableView *people = test::child<QTableView>(book, "gridPerson");
            if (!pick) {
                book->reject();
                return;
            }
            const QAbstractItemModel *m = people->model();
            for (int r = 0; r < m->rowCount(); ++r)
                for (int c = 0; c < m->columnCount(); ++c)
                    if (m->index(r, c).data().toString() == QStringLiteral("BookShop")) {
                        const QPoint at = people->visualRect(m->index(r, c)).center();
                        QTest::mouseClick(people->viewport(), Qt::LeftButton, {}, at);
                        QTest::mouseDClick(people->viewport(), Qt::LeftButton, {}, at);
                        return;
                    }
            book->reject();
        });
        test::click(w.get(), "btPickAddress");
        QVERIFY(opened);
        if (!pick) {
            QCOMPARE(list().count(), 4);
            QCOMPARE(listedNames(*w).size(), 3);
            return;
        }
        QCOMPARE(list().count(), 5);
        // The entry's group is not carried: it joins the list this window shows.
        QCOMPARE(listedNames(*w).last(), QStringLiteral("BookShop"));
        const auto rows = list().list({});
        QVERIFY(rows);
        const batch::Receiver &added = rows->last();
        QCOMPARE(added.value(QStringLiteral("联系人")), QStringLiteral("Sun"));
        QCOMPARE(added.value(QStringLiteral("手机")), QStringLiteral("13700000000"));
        QCOMPARE(added.value(QStringLiteral("市")), QStringLiteral("南京市"));
        QCOMPARE(added.value(QStringLiteral("地址")), QStringLiteral("中山路1号"));
        QCOMPARE(added.value(QStringLiteral("备注")), QStringLiteral("FragileNote"));
        QCOMPARE(label(*w, "lbListed"), QStringLiteral("4"));
    }

    void datePeriodsSetTheRange_data()
    {
        QTest::addColumn<QString>("period");
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QString>("message");
        const QDate today = QDate::currentDate();
        QTest::newRow("今天") << "今天" << today << QString();
        QTest::newRow("最近三天") << "最近三天" << today.addDays(-2) << QString();
        QTest::newRow("最近一周") << "最近一周" << today.addDays(-6) << QString();
        QTest::newRow("最近一个月") << "最近一个月" << today.addDays(-30) << QString();
        QTest::newRow("最近三个月") << "最近三个月" << today.addDays(-90) << QString();
        QTest::newRow("最近一年") << "最近一年" << today.addDays(-365) << QString();
        QTest::newRow("本月内") << "本月内" << QDate(today.year(), today.month(), 1) << QString();
        QTest::newRow("本年度内") << "本年度内" << QDate(today.year(), 1, 1) << QString();
        QTest::newRow("其他日期") << "其他日期" << today.addDays(-548)
                              << QStringLiteral("请选择右侧限定的起始年月日~再点击【查询】按钮");
    }

    void datePeriodsSetTheRange()
    {
        QFETCH(QString, period);
        QFETCH(QDate, from);
        QFETCH(QString, message);
        auto w = openWindow();
        auto *fromBox = test::child<QDateEdit>(w.get(), "dtFrom");
        auto *toBox = test::child<QDateEdit>(w.get(), "dtTo");
        // Shown with the last three days.
        QCOMPARE(fromBox->date(), QDate::currentDate().addDays(-2));
        QCOMPARE(toBox->date(), QDate::currentDate());
        fromBox->setDate(QDate(2001, 1, 1));
        QVERIFY(list().add({{"全称", "LateShop"}}));
        auto *tree = test::child<QTreeWidget>(w.get(), "tvDate");
        const QList<QTreeWidgetItem *> found = tree->findItems(period, Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        dialogs().clear();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(found.first()).center());
        QCOMPARE(fromBox->date(), from);
        QCOMPARE(toBox->date(), QDate::currentDate());
        QCOMPARE(dialogs().texts(), message.isEmpty() ? QStringList{} : QStringList{message});
        // The list is read again and not narrowed by date.
        QCOMPARE(listedNames(*w).size(), 4);
    }

    void printStateTabsListEveryRow()
    {
        auto w = openWindow();
        auto *tabs = test::child<QTabBar>(w.get(), "tabPrintState");
        QStringList captions;
        for (int i = 0; i < tabs->count(); ++i)
            captions << tabs->tabText(i);
        QCOMPARE(captions, (QStringList{"【所有】", "【未打印】", "【已打印】", "【临时打印】"}));
        QVERIFY(list().add({{"全称", "LateShop"}}));
        for (int i : {2, 1, 3}) {
            tabs->setCurrentIndex(i);
            // The list keeps no print state: every tab reads the whole default list.
            QCOMPARE(listedNames(*w).size(), 4);
        }
    }

    void printerSetupOptionStillPrintsToPdf()
    {
        m_data->core->session().params.popPrinterSetup = true;
        auto w = openWindow();
        const QString path = m_out.filePath(QStringLiteral("setup.pdf"));
        QFile::remove(path);
        dialogs().files.enqueue(path);
        test::click(w.get(), "btPrintAll");
        QCOMPARE(label(*w, "lbStatus"), QStringLiteral("已打印3张快递单"));
        QCOMPARE(test::readPdfPages(path).size(), 3);
    }

    void opensFromTheWaybillAndPreviewsARow()
    {
        m_waybill = std::make_unique<ui::WaybillWindow>(*m_data->core);
        m_waybill->show();
        test::enterText(*m_waybill, QStringLiteral("zdHKR"), QStringLiteral("MoqueTech"));
        QString title;
        bool modal = false;
        QStringList listed;
        QTimer::singleShot(0, this, [&] {
            auto *w = m_waybill->findChild<ui::BatchPrintWindow *>(QStringLiteral("frmMutiPrint"));
            if (!w)
                return;
            title = w->windowTitle();
            modal = w->isModal() && w->isVisible();
            listed = listedNames(*w);
            grid(*w)->selectRow(1);
            test::click(w, "btPreview");
        });
        test::click(m_waybill.get(), "btMultiPrintS");
        QCOMPARE(title, QStringLiteral("墨雀软件-批量打印快递单-收件人"));
        QVERIFY(modal);
        QCOMPARE(listed, (QStringList{"XingheTrading", "MoonShop", "SunriseCo"}));
        auto *w = m_waybill->findChild<ui::BatchPrintWindow *>(QStringLiteral("frmMutiPrint"));
        QVERIFY(w && !w->isVisible());
        // The row is in the waybill window; what the list does not carry stays.
        QCOMPARE(test::shownText(*m_waybill, QStringLiteral("zdSKR")), QStringLiteral("MoonShop"));
        QCOMPARE(test::shownText(*m_waybill, QStringLiteral("zdSKRLXR")), QStringLiteral("Li"));
        QCOMPARE(test::shownText(*m_waybill, QStringLiteral("zdSKRS")), QStringLiteral("广东省"));
        QCOMPARE(test::shownText(*m_waybill, QStringLiteral("zdHKR")), QStringLiteral("MoqueTech"));

        // The same window opens again, the list read afresh.
        QVERIFY(list().add({{"全称", "LateShop"}}));
        QTimer::singleShot(0, this, [&] {
            listed = listedNames(*w);
            w->reject();
        });
        test::click(m_waybill.get(), "btMultiPrintS");
        QCOMPARE(listed.size(), 4);
        QCOMPARE(m_waybill->findChildren<ui::BatchPrintWindow *>().size(), 1);
    }
};

QTEST_MAIN(TestBatchPrintWindow)
#include "test_batch_print_window.moc"
