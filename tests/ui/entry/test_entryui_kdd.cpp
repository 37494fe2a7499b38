// The express waybill window through its daily loop: open on the default
// template, fill both parties, save, print to PDF, print and save, reopen a
// saved bill, copy it and close with the save prompt.

#include "entry/WaybillWindow.h"
#include "entry/BillValues.h"
#include "entry/BillKind.h"
#include "refdata/DAOPerson.h"
#include "support/EntryFixture.h"
#include "support/EntryWindows.h"
#include "support/PdfText.h"
#include "support/Widgets.h"
#include "templates/TemplateCache.h"
#include "templates/TemplateCatalog.h"

#include <QCheckBox>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QSet>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTest>
#include <QToolButton>

using namespace moque;

namespace {

using test::PdfWord;

refdata::TPerson person(const QString &name, const QString &contact, const QString &city)
{
    refdata::TPerson p;
    p.setFullName(name);
    p.setText(refdata::TPerson::Contact, contact);
    p.setText(refdata::TPerson::Province, QStringLiteral("浙江省"));
    p.setText(refdata::TPerson::City, city);
    p.setText(refdata::TPerson::Address, QStringLiteral("文三路90号\n3号楼"));
    p.setText(refdata::TPerson::Phone, QStringLiteral("0571-88886666"));
    p.setText(refdata::TPerson::Mobile, QStringLiteral("13912345678"));
    p.setText(refdata::TPerson::ZipCode, QStringLiteral("310012"));
    return p;
}

} // namespace

class TestEntryUiKdd : public test::EntryFixture
{
    Q_OBJECT

public:
    TestEntryUiKdd() : EntryFixture(QStringLiteral("DataKDDTable")) {}

private:
    std::unique_ptr<ui::WaybillWindow> openWindow()
    {
        auto w = std::make_unique<ui::WaybillWindow>(*m_data->core);
        w->show();
        return w;
    }
    template<class T>
    T *find(ui::WaybillWindow &w, const QString &name)
    {
        return test::child<T>(&w, name.toLatin1().constData());
    }
    // Types like the user into a box, memo boxes too, without leaving it: key
    // clicks for ASCII text, an input-method commit otherwise.
    void type(ui::WaybillWindow &w, const QString &name, const QString &text)
    {
        QWidget *c = w.control(name);
        QWidget *target = c;
        if (auto *e = qobject_cast<QLineEdit *>(c)) {
            e->clear();
        } else if (auto *cb = qobject_cast<QComboBox *>(c)) {
            cb->clearEditText();
            target = cb->lineEdit();
        } else if (auto *m = qobject_cast<QPlainTextEdit *>(c)) {
            m->clear();
        }
        bool ascii = true;
        for (QChar ch : text)
            ascii = ascii && ch.unicode() < 128;
        if (ascii) {
            QTest::keyClicks(target, text);
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(text);
            QCoreApplication::sendEvent(target, &commit);
        }
        QCOMPARE(test::shownText(w, name), text);
    }
    void click(ui::WaybillWindow &w, const QString &button)
    {
        auto *b = find<QToolButton>(w, button);
        QVERIFY2(b, qPrintable(button));
        b->click();
    }
    // A bill with both parties typed in.
    void fillBill(ui::WaybillWindow &w)
    {
        type(w, QStringLiteral("zdHKR"), QStringLiteral("墨雀科技"));
        type(w, QStringLiteral("zdHKRLXR"), QStringLiteral("张三"));
        type(w, QStringLiteral("zdSKR"), QStringLiteral("XingheTrading"));
        type(w, QStringLiteral("zdSKRLXR"), QStringLiteral("李四"));
        type(w, QStringLiteral("zdSkrDZ"), QStringLiteral("西湖区文三路90号"));
        type(w, QStringLiteral("edtWeight"), QStringLiteral("2.5"));
    }
    QString pdfPath(const QString &name) { return m_out.filePath(name); }
    // A receiver in the address book, found by its name or its code hzxh.
    void savePartner()
    {
        refdata::TPerson p = person(QStringLiteral("杭州星河贸易有限公司"), QStringLiteral("王五"), QStringLiteral("杭州市"));
        p.setInputCode(QStringLiteral("hzxh"));
        p.setText(refdata::TPerson::PartyType, refdata::partyPartner);
        QString error;
        QVERIFY2(refdata::DAOPerson(m_data->db()).SavePerson(p, &error) > 0, qPrintable(error));
    }

private Q_SLOTS:
    void opensOnTheDefaultTemplateWithItsPictureAndPlaces()
    {
        auto w = openWindow();
        QVERIFY(w->isUsable());
        QCOMPARE(w->objectName(), QStringLiteral("fmCheckKDD"));
        QCOMPARE(find<QComboBox>(*w, "cbFirstTypeName")->currentText(), QStringLiteral("通用快递单"));
        QCOMPARE(w->windowTitle(), QStringLiteral("快递单（通用快递单）-ID=-1"));
        QCOMPARE(w->curTypeId(), 1);
        QCOMPARE(m_data->core->session().currentTemplateId, 1);
        auto *picture = find<QLabel>(*w, "bgImage");
        QCOMPARE(picture->size(), QSize(869, 480));
        QVERIFY(!picture->pixmap().isNull());
        QCOMPARE(test::shownText(*w, "zdSKR"), entry::receiverPlaceholder());

        templates::TemplateCatalog catalog(m_data->db(), dialogs(), m_data->core->store());
        templates::TemplateCache cache(catalog, dialogs(), m_data->core->dir());
        const auto ini = cache.OpenCheckInif(1);
        QVERIFY(ini);
        const bool printDate = find<QCheckBox>(*w, "cfgWantPrintRQ")->isChecked();
        int placed = 0;
        const QStringList items = ini->configItems();
        for (const QString &name : items) {
            QWidget *c = w->control(name);
            QVERIFY2(c, qPrintable(name));
            const templates::Placement p = ini->placement(name);
            const bool dateBox = name.compare("ZDNIAN", Qt::CaseInsensitive) == 0
                                 || name.compare("ZDYUE", Qt::CaseInsensitive) == 0
                                 || name.compare("ZDRI", Qt::CaseInsensitive) == 0
                                 || name.compare("ZDTIME", Qt::CaseInsensitive) == 0;
            const bool shown = p.visible && (!dateBox || printDate);
            QCOMPARE(!c->isHidden(), shown);
            if (shown) {
                QCOMPARE(c->geometry(), QRect(p.x, p.y, p.w, p.h));
                ++placed;
            }
        }
        QVERIFY(placed > 10);
        // The template's options become the first option boxes, shown where the cache says.
        QCOMPARE(w->itemChecks().size(), 4);
        QCOMPARE(w->itemChecks().at(1)->objectName(), QStringLiteral("DEFCHECK1"));
        QCOMPARE(w->itemChecks().at(1)->text(), QStringLiteral("物品"));
    }

    void printDateOptionShowsTodayInTheDateBoxes()
    {
        auto w = openWindow();
        auto *option = find<QCheckBox>(*w, "cfgWantPrintRQ");
        option->setChecked(false);
        QVERIFY(w->control("zdNian")->isHidden());
        QVERIFY(!w->values().value("ZDNIAN").shown);
        option->setChecked(true);
        QCOMPARE(test::shownText(*w, "zdNian"), QDate::currentDate().toString("yyyy"));
        QCOMPARE(test::shownText(*w, "zdYue"), QDate::currentDate().toString("MM"));
        w->setBillDate(QDate(2025, 3, 7));
        QCOMPARE(test::shownText(*w, "zdRi"), QStringLiteral("07"));
        QCOMPARE(test::shownText(*w, "zdYue"), QStringLiteral("03"));
    }

    void saveWritesOneRowAndASecondSaveNothing()
    {
        auto w = openWindow();
        fillBill(*w);
        w->itemChecks().at(2)->setChecked(true);
        w->setReceiver(person(QStringLiteral("杭州星河"), QStringLiteral("王五"), QStringLiteral("杭州市")));
        click(*w, "btSaveCheck");
        QCOMPARE(dialogs().lastText(), QStringLiteral("新快递单保存成功！ "));
        QCOMPARE(rowCount(), 1);
        const int id = w->state().checkId();
        QVERIFY(id > 0);
        QCOMPARE(lastId(), id);
        QCOMPARE(column(id, "寄件单位"), QStringLiteral("墨雀科技"));
        QCOMPARE(column(id, "寄件联系人"), QStringLiteral("张三"));
        QCOMPARE(column(id, "收件单位"), QStringLiteral("杭州星河"));
        QCOMPARE(column(id, "收件联系人"), QStringLiteral("王五"));
        QCOMPARE(column(id, "收件市县"), QStringLiteral("杭州市"));
        QCOMPARE(column(id, "收件地址"), QStringLiteral("文三路90号\n3号楼"));
        QCOMPARE(column(id, "重量"), QStringLiteral("2.5"));
        QCOMPARE(column(id, "模板种类"), QStringLiteral("通用快递单"));
        QCOMPARE(column(id, "其他选项"), QStringLiteral("保价"));
        QCOMPARE(column(id, "寄件日期"), QDate::currentDate().toString(Qt::ISODate));
        QCOMPARE(w->windowTitle(), QStringLiteral("快递单(通用快递单)-ID=%1").arg(id));

        click(*w, "btSaveCheck");
        QCOMPARE(dialogs().lastText(), QStringLiteral("没有改动,无需保存~"));
        QCOMPARE(rowCount(), 1);

        type(*w, "zdSKRLXR", QStringLiteral("赵六"));
        click(*w, "btSaveCheck");
        QCOMPARE(dialogs().lastText(), QStringLiteral("快递单修改保存成功（要修改成新快递单请先点击【复制】按钮）！ "));
        QCOMPARE(rowCount(), 1);
        QCOMPARE(column(id, "收件联系人"), QStringLiteral("赵六"));
    }

    void placeholderReceiverSavesAndPrintsEmpty()
    {
        auto w = openWindow();
        type(*w, "zdSKRLXR", QStringLiteral("李四"));
        QCOMPARE(test::shownText(*w, "zdSKR"), entry::receiverPlaceholder());
        QVERIFY(w->values().value("ZDSKR").text.isEmpty());
        click(*w, "btSaveCheck");
        QCOMPARE(column(w->state().checkId(), "收件单位"), QString());
    }

    void printPutsTheReceiverAtItsItemPlace()
    {
        auto w = openWindow();
        fillBill(*w);
        const QString path = pdfPath("single.pdf");
        dialogs().files.enqueue(path);
        click(*w, "btPrint1");
        QVERIFY2(QFile::exists(path), qPrintable(dialogs().texts().join('|')));
        QSqlQuery q(m_data->db());
        QVERIFY(q.exec("select c.CtlX,c.CtlY,t.XMove,t.YMove from ckControl c join CKTypeTable t on "
                       "t.CheckTypeID=c.CheckTypeID where c.CheckTypeID=1 and upper(c.CtlName)='ZDSKR'"));
        QVERIFY(q.next());
        const int x = q.value(0).toInt() + q.value(2).toInt();
        const int y = q.value(1).toInt() + q.value(3).toInt();
        const QList<PdfWord> words = test::readPdfWords(path);
        const auto it = std::find_if(words.begin(), words.end(),
                                     [](const PdfWord &word) { return word.text == QStringLiteral("XingheTrading"); });
        QVERIFY(it != words.end());
        const double tolerance = 72.0 / 254.0;
        QVERIFY2(qAbs(it->x - test::tenthsToPoints(x)) <= tolerance, qPrintable(QString::number(it->x)));
        QVERIFY2(qAbs(it->y - test::tenthsToPoints(y)) <= tolerance, qPrintable(QString::number(it->y)));
        // Printing alone saves nothing.
        QCOMPARE(rowCount(), 0);
    }

    void hiddenReceiverControlsDoNotPrint()
    {
        auto w = openWindow();
        fillBill(*w);
        find<QCheckBox>(*w, "ckPrintFJROnly")->setChecked(true);
        QVERIFY(!w->values().value("zdSKR").shown);
        QVERIFY(w->values().value("zdHKR").shown);
        find<QCheckBox>(*w, "ckPrintFJROnly")->setChecked(false);
        QCOMPARE(w->values().value("zdskr").text, QStringLiteral("XingheTrading"));
    }

    void printAndSaveLeavesACopyWithoutWaybillNumber()
    {
        auto w = openWindow();
        fillBill(*w);
        type(*w, "zdPJBH", QStringLiteral("SF1234567890"));
        const QString path = pdfPath("printsave.pdf");
        dialogs().files.enqueue(path);
        dialogs().clear();
        click(*w, "btPrintAndSave");
        QVERIFY(QFile::exists(path));
        QCOMPARE(rowCount(), 1);
        const int id = lastId();
        QCOMPARE(column(id, "快递单号"), QStringLiteral("SF1234567890"));
        QCOMPARE(column(id, "收件单位"), QStringLiteral("XingheTrading"));
        for (const auto &shown : std::as_const(dialogs().shown))
            QCOMPARE(shown.kind, QStringLiteral("save")); // only the PDF file was asked for
        QCOMPARE(test::shownText(*w, "zdPJBH"), QString());
        QCOMPARE(w->state().checkId(), -1);
        QVERIFY(!w->state().isSaved());
        QCOMPARE(w->windowTitle(), QStringLiteral("已复制保存过的单据为一张新单~"));
        QVERIFY(!find<QToolButton>(*w, "btSaveAs")->isEnabled());
        QCOMPARE(test::shownText(*w, "zdSKR"), QStringLiteral("XingheTrading"));

        // The next parcel is a new row.
        dialogs().files.enqueue(pdfPath("printsave2.pdf"));
        click(*w, "btPrintAndSave");
        QCOMPARE(rowCount(), 2);
    }

    void repeatedPrintingAsksForTheCount_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("printed");
        QTest::addColumn<QString>("message");
        QTest::newRow("three") << "3" << true << QString();
        QTest::newRow("cancelled") << QString() << false << QString();
        QTest::newRow("not a number") << "abc" << false << QStringLiteral("输入错误的数字！");
    }
    void repeatedPrintingAsksForTheCount()
    {
        QFETCH(QString, answer);
        QFETCH(bool, printed);
        QFETCH(QString, message);
        auto w = openWindow();
        fillBill(*w);
        dialogs().inputs.enqueue(answer);
        const QString path = pdfPath("repeat.pdf");
        QFile::remove(path);
        dialogs().files.enqueue(path);
        dialogs().clear();
        w->printRepeatedly();
        QVERIFY(!dialogs().shown.isEmpty());
        QCOMPARE(dialogs().shown.first().kind, QStringLiteral("input"));
        QCOMPARE(dialogs().shown.first().text, QStringLiteral("输入重复打印的张数"));
        QCOMPARE(dialogs().shown.first().caption, QStringLiteral("1|integer"));
        QCOMPARE(QFile::exists(path), printed);
        if (!message.isEmpty())
            QCOMPARE(dialogs().lastText(), message);
    }

    // A bill saved without a readable date reopens with empty date boxes, not today's date.
    void billWithoutDateReopensWithoutOne()
    {
        QVERIFY(m_data->exec(QStringLiteral("insert into DataKDDTable (模板种类,收件单位,寄件日期) values (?,?,?)"),
                             {QStringLiteral("通用快递单"), QStringLiteral("无日期"), QStringLiteral("昨天")}));
        const int id = lastId();
        auto w = openWindow();
        QVERIFY(w->openSavedBill(QStringLiteral("通用快递单"), id));
        QCOMPARE(test::shownText(*w, "zdSKR"), QStringLiteral("无日期"));
        for (const char *box : {"zdNian", "zdYue", "zdRi"})
            QVERIFY2(test::shownText(*w, box).isEmpty(), box);
    }

    void savedBillReopensAsHistoric()
    {
        int id = 0;
        {
            auto w = openWindow();
            fillBill(*w);
            w->itemChecks().at(0)->setChecked(true);
            w->setBillDate(QDate(2025, 11, 3));
            click(*w, "btSaveCheck");
            id = w->state().checkId();
        }
        auto w = openWindow();
        QVERIFY(w->openSavedBill(QStringLiteral("通用快递单"), id));
        QCOMPARE(test::shownText(*w, "zdSKR"), QStringLiteral("XingheTrading"));
        QCOMPARE(test::shownText(*w, "zdSKRLXR"), QStringLiteral("李四"));
        QCOMPARE(test::shownText(*w, "zdSkrDZ"), QStringLiteral("西湖区文三路90号"));
        QCOMPARE(w->billDate(), QDate(2025, 11, 3));
        QVERIFY(w->itemChecks().at(0)->isChecked());
        QVERIFY(!w->itemChecks().at(1)->isChecked());
        QVERIFY(w->state().isHistory());
        QVERIFY(w->state().isSaved());
        QCOMPARE(w->windowTitle(), QStringLiteral("历史快递单查看（流水号为：%1)").arg(id));
        QVERIFY(find<QToolButton>(*w, "btSaveAs")->isEnabled());

        type(*w, "zdSKRLXR", QStringLiteral("改了"));
        click(*w, "btSaveCheck");
        QCOMPARE(dialogs().lastText(), QStringLiteral("历史单据不能保存，请点击【复制】后,再保存为新单据！"));
        QCOMPARE(column(id, "收件联系人"), QStringLiteral("李四"));

        // 复制 makes it a new bill with the same values.
        click(*w, "btSaveAs");
        QCOMPARE(w->state().checkId(), -1);
        QCOMPARE(w->windowTitle(), QStringLiteral("已复制保存过的单据为一张新单~"));
        click(*w, "btSaveCheck");
        QCOMPARE(rowCount(), 2);
        const int copy = w->state().checkId();
        QVERIFY(copy != id);
        QCOMPARE(column(copy, "收件联系人"), QStringLiteral("改了"));
        QCOMPARE(column(copy, "收件单位"), QStringLiteral("XingheTrading"));
    }

    void browsingASavedBillOfAnotherTemplateSwitchesTemplate()
    {
        auto w = openWindow();
        auto *templates = find<QComboBox>(*w, "cbFirstTypeName");
        templates->setCurrentIndex(templates->findText(QStringLiteral("标准快递单")));
        QCOMPARE(w->curTypeId(), 2);
        QCOMPARE(find<QLabel>(*w, "bgImage")->size(), QSize(911, 529));
        fillBill(*w);
        click(*w, "btSaveCheck");
        const int id = w->state().checkId();
        QCOMPARE(column(id, "模板种类"), QStringLiteral("标准快递单"));

        auto other = openWindow();
        QCOMPARE(other->curTypeId(), 1);
        QVERIFY(other->openSavedBill(QStringLiteral("标准快递单"), id));
        QCOMPARE(other->curTypeId(), 2);
        QCOMPARE(m_data->core->session().currentTemplateId, 2);
        QCOMPARE(test::shownText(*other, "zdSKR"), QStringLiteral("XingheTrading"));
    }

    void copyOfANeverSavedBillOnlyTellsSo()
    {
        auto w = openWindow();
        fillBill(*w);
        click(*w, "btSaveAs");
        QCOMPARE(dialogs().lastText(), QStringLiteral("未保存单据不需要复制即为一张新单！"));
        QCOMPARE(w->state().checkId(), -1);
    }

    void newBillClearsTheReceiverAndKeepsTheSender()
    {
        auto w = openWindow();
        fillBill(*w);
        click(*w, "btSaveCheck");
        click(*w, "btNewCheck");
        QCOMPARE(w->windowTitle(), QStringLiteral("新快递单-ID=-1"));
        QCOMPARE(w->state().checkId(), -1);
        QCOMPARE(test::shownText(*w, "zdSKR"), QString());
        QCOMPARE(test::shownText(*w, "zdSKRLXR"), QString());
        QCOMPARE(test::shownText(*w, "edtWeight"), QString());
        QCOMPARE(test::shownText(*w, "zdHKR"), QStringLiteral("墨雀科技"));
        QVERIFY(!find<QToolButton>(*w, "btSaveAs")->isEnabled());
    }

    void closingAnUnsavedBillAsksToSave_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("contact");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<int>("rows");
        QTest::newRow("yes") << "XingheTrading" << "李四" << true << true << 1;
        QTest::newRow("no") << "XingheTrading" << "李四" << false << true << 0;
        QTest::newRow("no contact") << "XingheTrading" << QString() << true << false << 0;
        QTest::newRow("placeholder name") << entry::receiverPlaceholder() << "李四" << true << false << 0;
    }
    void closingAnUnsavedBillAsksToSave()
    {
        QFETCH(QString, name);
        QFETCH(QString, contact);
        QFETCH(bool, answer);
        QFETCH(bool, asked);
        QFETCH(int, rows);
        auto w = openWindow();
        qobject_cast<QComboBox *>(w->control("zdSKR"))->setEditText(name);
        qobject_cast<QLineEdit *>(w->control("zdSKRLXR"))->setText(contact);
        dialogs().answers.enqueue(answer);
        dialogs().clear();
        QSignalSpy closed(w.get(), &ui::WaybillWindow::closed);
        QVERIFY(w->close());
        QCOMPARE(closed.count(), 1);
        const bool wasAsked = !dialogs().shown.isEmpty() && dialogs().shown.first().kind == QStringLiteral("ask");
        QCOMPARE(wasAsked, asked);
        if (asked) {
            QCOMPARE(dialogs().shown.first().text, QStringLiteral("是否保存该快递单？"));
            QCOMPARE(dialogs().shown.first().caption, QStringLiteral("关闭快递单"));
        }
        QCOMPARE(rowCount(), rows);
        QCOMPARE(m_data->core->session().currentTemplateId, -1);
    }

    void closingASavedBillAsksNothing()
    {
        auto w = openWindow();
        fillBill(*w);
        click(*w, "btSaveCheck");
        dialogs().clear();
        QVERIFY(w->close());
        QVERIFY(dialogs().shown.isEmpty());
    }

    void toolbarPlaceIsRememberedOverClosing()
    {
        {
            auto w = openWindow();
            QCOMPARE(find<QToolButton>(*w, "btPosition")->text(), QStringLiteral("下"));
            click(*w, "btPosition");
            QVERIFY(w->toolbarAtBottom());
            QCOMPARE(find<QToolButton>(*w, "btPosition")->text(), QStringLiteral("上"));
            QVERIFY(w->close());
        }
        auto w = openWindow();
        QVERIFY(w->toolbarAtBottom());
        QCOMPARE(find<QToolButton>(*w, "btPosition")->text(), QStringLiteral("上"));
        click(*w, "btPosition");
        QVERIFY(!w->toolbarAtBottom());
    }

    void closingTheSubWindowClosesTheBill()
    {
        QMdiArea area;
        auto *w = new ui::WaybillWindow(*m_data->core);
        QMdiSubWindow *sub = area.addSubWindow(w);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        area.show();
        sub->show();
        QCOMPARE(sub->windowTitle(), QStringLiteral("快递单（通用快递单）-ID=-1"));
        fillBill(*w);
        QSignalSpy closed(w, &ui::WaybillWindow::closed);
        dialogs().answers.enqueue(true);
        click(*w, "btClose");
        QCOMPARE(closed.count(), 1);
        QCOMPARE(rowCount(), 1);
        QCOMPARE(dialogs().texts().first(), QStringLiteral("是否保存该快递单？"));
    }

    // Someone typing waybills all day never touches the mouse: the window
    // starts in the receiver's name, Tab goes through every field the
    // template shows in reading order (a picker over its box, closed and
    // written back by Tab) and round again without leaving the bill,
    // Shift+Tab goes back, Enter looks a party up, Ctrl+S saves, Ctrl+P prints.
    void aWholeWaybillByKeyboardAlone()
    {
        savePartner();
        auto w = test::openActive<ui::WaybillWindow>(*m_data->core);
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QTRY_COMPARE(QApplication::focusWidget(), w->control("zdSKR"));

        // Every field the template shows, and the option boxes.
        QSet<QWidget *> shown;
        for (const entry::BillField &field : entry::waybillKind().fields) {
            if (field.isInput() && w->control(field.name)->isVisibleTo(w.get()))
                shown << w->control(field.name);
        }
        for (QCheckBox *box : w->itemChecks()) {
            if (box->isVisibleTo(w.get()))
                shown << box;
        }
        QVERIFY(shown.size() > 15);
        // The field that has the keyboard: a picker stands for the box under it.
        const auto focused = [&w]() -> QWidget * {
            QWidget *f = QApplication::focusWidget();
            for (const char *picker : {"Cb_S", "Cb_XS", "cbCountry", "cbBZ", "cb_zdWPNR"}) {
                auto *combo = w->findChild<QComboBox *>(QLatin1String(picker));
                if (f == combo) {
                    for (QWidget *field : w->findChildren<QWidget *>()) {
                        if (field != combo && field->parentWidget() == combo->parentWidget()
                            && field->geometry() == combo->geometry() && !field->isHidden())
                            return field;
                    }
                }
            }
            return f;
        };
        const auto typeHere = [](const QString &text) {
            QWidget *f = QApplication::focusWidget();
            if (auto *combo = qobject_cast<QComboBox *>(f))
                f = combo->lineEdit();
            QInputMethodEvent commit;
            commit.setCommitString(text);
            QCoreApplication::sendEvent(f, &commit);
        };
        const auto tab = [](Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
            QTest::keyClick(QApplication::focusWidget(), modifiers & Qt::ShiftModifier ? Qt::Key_Backtab : Qt::Key_Tab,
                            modifiers);
        };

        // The receiver from the address book by its code and Enter.
        typeHere(QStringLiteral("hzxh"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(test::shownText(*w, "zdSKR"), QStringLiteral("杭州星河贸易有限公司"));

        const QHash<QString, QString> typed{
            {QStringLiteral("zdSKRLXR"), QStringLiteral("赵六")},
            {QStringLiteral("zdSKRS"), QStringLiteral("江苏省")},
            {QStringLiteral("zdSKRXS"), QStringLiteral("南京市")},
            {QStringLiteral("zdSkrDZ"), QStringLiteral("鼓楼区中山路1号")},
            {QStringLiteral("edtWeight"), QStringLiteral("2.5")},
        };
        QStringList round;
        for (qsizetype step = 0; step < shown.size(); ++step) {
            QWidget *field = focused();
            QVERIFY2(shown.contains(field), qPrintable(field ? field->objectName() : QStringLiteral("nothing")));
            round << field->objectName();
            if (typed.contains(field->objectName()))
                typeHere(typed.value(field->objectName()));
            tab();
        }
        // Round once through every field, each once, and back to the start.
        QCOMPARE(focused(), w->control("zdSKR"));
        QCOMPARE(QSet<QString>(round.begin(), round.end()).size(), shown.size());
        // The receiver's block as the form shows it, row by row; then the
        // contents from the top right, the option boxes among them, and the
        // signature and dates last, before the sender's block.
        QCOMPARE(round.mid(0, 12),
                 (QStringList{"zdSKR", "zdSFKHBM", "zdSKRLXR", "zdskrDH", "skrHandset", "edtCountryDest", "zdSKRS",
                              "zdSKRXS", "edtSJRTown", "zdSkrDZ", "zdSKRYB", "cbDestSite"}));
        QCOMPARE(round.mid(12, 3), (QStringList{"zdUserCode", "zdPJBH", "zdWPNR"}));
        QVERIFY(round.indexOf("DEFCHECK0") > round.indexOf("zdBz"));
        QVERIFY(round.indexOf("DEFCHECK0") < round.indexOf("zdDef1"));
        QVERIFY(round.indexOf("zdSign") > round.indexOf("zdTxt2"));
        QVERIFY(round.indexOf("zdHKR") > round.indexOf("zdSign"));
        QCOMPARE(round.last(), QStringLiteral("cbFromSite"));
        // Shift+Tab goes back the same way.
        tab(Qt::ShiftModifier);
        QCOMPARE(focused()->objectName(), round.last());
        tab();
        QCOMPARE(focused(), w->control("zdSKR"));
        // What the pickers held was written back when Tab closed them.
        QCOMPARE(test::shownText(*w, "zdSKRS"), QStringLiteral("江苏省"));
        QCOMPARE(test::shownText(*w, "zdSKRXS"), QStringLiteral("南京市"));

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(dialogs().lastText(), QStringLiteral("新快递单保存成功！ "));
        const int id = w->state().checkId();
        QCOMPARE(column(id, "收件单位"), QStringLiteral("杭州星河贸易有限公司"));
        QCOMPARE(column(id, "收件联系人"), QStringLiteral("赵六"));
        QCOMPARE(column(id, "收件省"), QStringLiteral("江苏省"));
        QCOMPARE(column(id, "收件市县"), QStringLiteral("南京市"));
        QCOMPARE(column(id, "收件地址"), QStringLiteral("鼓楼区中山路1号"));
        QCOMPARE(column(id, "重量"), QStringLiteral("2.5"));

        const QString path = pdfPath("keyboard.pdf");
        dialogs().files.enqueue(path);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_P, Qt::ControlModifier);
        QVERIFY2(QFile::exists(path), qPrintable(dialogs().texts().join('|')));
        const QList<PdfWord> words = test::readPdfWords(path);
        QVERIFY(std::any_of(words.begin(), words.end(), [](const PdfWord &word) { return word.text.contains(QStringLiteral("南京市")); }));
    }

    void doubleClickTakesTheWholeName_data()
    {
        QTest::addColumn<QString>("box");
        QTest::newRow("sender") << "zdHKR";
        QTest::newRow("receiver") << "zdSKR";
        QTest::newRow("province picker") << "Cb_S";
    }
    // A double-click takes the whole name to type over, not one word of it.
    void doubleClickTakesTheWholeName()
    {
        QFETCH(QString, box);
        auto w = test::openActive<ui::WaybillWindow>(*m_data->core);
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        if (box == QStringLiteral("Cb_S"))
            w->control("zdSKRS")->setFocus();
        auto *name = w->findChild<QComboBox *>(box);
        QTRY_VERIFY(name->isVisible());
        name->setEditText(QStringLiteral("Xinghe Trading Co"));
        const QPoint onFirstWord(name->lineEdit()->fontMetrics().horizontalAdvance(QStringLiteral("Xin")),
                                 name->lineEdit()->height() / 2);
        QTest::mouseDClick(name->lineEdit(), Qt::LeftButton, Qt::NoModifier, onFirstWord);
        QCOMPARE(name->lineEdit()->selectedText(), QStringLiteral("Xinghe Trading Co"));
    }

    void enterLooksThePartyUp_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("full name") << QStringLiteral("杭州星河贸易有限公司");
        QTest::newRow("mnemonic code") << QStringLiteral("hzxh");
    }
    void enterLooksThePartyUp()
    {
        QFETCH(QString, typed);
        savePartner();
        auto w = openWindow();
        auto *name = qobject_cast<QComboBox *>(w->control("zdSKR"));
        type(*w, "zdSKR", typed);
        QTest::keyClick(name->lineEdit(), Qt::Key_Return);
        QCOMPARE(name->currentText(), QStringLiteral("杭州星河贸易有限公司"));
        QCOMPARE(test::shownText(*w, "zdSKRLXR"), QStringLiteral("王五"));
        QCOMPARE(test::shownText(*w, "zdSKRXS"), QStringLiteral("杭州市"));
        QCOMPARE(w->receiverPerson()->fullName(), QStringLiteral("杭州星河贸易有限公司"));
    }

    void provinceAndCityPickersFillTheReceiverBoxes()
    {
        auto w = test::openActive<ui::WaybillWindow>(*m_data->core);
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QWidget *province = w->control("zdSKRS");
        QVERIFY(!province->isHidden());
        province->setFocus();
        auto *picker = find<QComboBox>(*w, "Cb_S");
        QTRY_VERIFY(picker->isVisible());
        QCOMPARE(picker->geometry(), province->geometry());
        // The province picker writes back on every change.
        picker->setCurrentIndex(picker->findText(QStringLiteral("浙江省")));
        QCOMPARE(test::shownText(*w, "zdSKRS"), QStringLiteral("浙江省"));

        w->control("zdSKRXS")->setFocus();
        QTRY_VERIFY(!picker->isVisible());
        auto *cities = find<QComboBox>(*w, "Cb_XS");
        QTRY_VERIFY(cities->isVisible());
        QVERIFY(cities->findText(QStringLiteral("杭州市")) >= 0);
        cities->setEditText(QStringLiteral("杭州市"));
        QCOMPARE(test::shownText(*w, "zdSKRXS"), QString()); // the city picker writes back on leaving
        w->control("zdSKRLXR")->setFocus();
        QTRY_VERIFY(!cities->isVisible());
        QCOMPARE(test::shownText(*w, "zdSKRXS"), QStringLiteral("杭州市"));
    }

    void destinationFollowsTheReceiverCity()
    {
        auto w = openWindow();
        find<QCheckBox>(*w, "cfgDestSiteIsCity")->setChecked(true);
        w->setReceiver(person(QStringLiteral("杭州星河"), QStringLiteral("王五"), QStringLiteral("杭州市")));
        QCOMPARE(test::shownText(*w, "cbDestSite"), QStringLiteral("杭州市"));
        find<QCheckBox>(*w, "cfgDestSiteIsCity")->setChecked(false);
        w->setReceiver(person(QStringLiteral("宁波"), QStringLiteral("王五"), QStringLiteral("宁波市")));
        QCOMPARE(test::shownText(*w, "cbDestSite"), QStringLiteral("杭州市"));
    }

    void handsetMergesIntoThePhoneOnce()
    {
        auto w = openWindow();
        w->setReceiver(person(QStringLiteral("杭州星河"), QStringLiteral("王五"), QStringLiteral("杭州市")));
        auto *merge = find<QCheckBox>(*w, "ckHandset2Phone");
        merge->setChecked(true);
        QCOMPARE(test::shownText(*w, "zdskrDH"), QStringLiteral("0571-88886666\\13912345678"));
        merge->setChecked(false);
        merge->setChecked(true);
        QCOMPARE(test::shownText(*w, "zdskrDH"), QStringLiteral("0571-88886666\\13912345678"));
        merge->setChecked(false);
        QCOMPARE(test::shownText(*w, "zdskrDH"), QStringLiteral("0571-88886666"));
    }

    void defaultIssuerStartsANewBill_data()
    {
        QTest::addColumn<bool>("option");
        QTest::newRow("on") << true;
        QTest::newRow("off") << false;
    }
    void defaultIssuerStartsANewBill()
    {
        QFETCH(bool, option);
        app::Session &session = m_data->core->session();
        session.params.useDefaultIssuer = option;
        session.defaultIssuer = person(QStringLiteral("墨雀科技"), QStringLiteral("张三"), QStringLiteral("深圳市"));
        auto w = openWindow();
        QCOMPARE(test::shownText(*w, "zdHKR") == QStringLiteral("墨雀科技"), option);
        QCOMPARE(test::shownText(*w, "zdHKRLXR") == QStringLiteral("张三"), option);
    }

    void amountIsConvertedByTheFormatOption()
    {
        auto w = openWindow();
        auto *amount = qobject_cast<QLineEdit *>(w->control("zdJEDX1"));
        amount->setText(QStringLiteral("116.5"));
        find<QComboBox>(*w, "cfgJEDXFormat")->setCurrentText(QStringLiteral("打印中国传统大写金额"));
        QCOMPARE(amount->text(), QStringLiteral("壹佰壹拾陆元伍角整"));
        find<QComboBox>(*w, "cfgJEDXFormat")->setCurrentText(QStringLiteral("000.00    限百位到分"));
        QCOMPARE(dialogs().lastText(), QStringLiteral("请输入有效数字，例如：116.5。 不接受全角数字,请尽量用小键盘输入~"));
    }
};

QTEST_MAIN(TestEntryUiKdd)
#include "test_entryui_kdd.moc"
