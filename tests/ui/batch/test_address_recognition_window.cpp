// The address text recognition window: a shop text pasted or typed, split
// into its boxes, another candidate chosen, and the party handed to the
// waybill window as receiver or sender, or to the batch list.

#include "app/FontSetup.h"
#include "app/MainWindow.h"
#include "batch/AddressRecognitionWindow.h"
#include "entry/WaybillWindow.h"
#include "settings/Options.h"
#include "support/TestData.h"
#include "support/Widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QStringListModel>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace moque;
using ui::AddressRecognitionWindow;

namespace {

const char *const resultBoxes[] = {"edtCompany", "edtName",  "edtPhone", "edtHandset", "cbCountry",
                                   "edtProvince", "edtCity", "edtTown",  "edtAddress", "edtZipcode"};

const QString taobaoText = QStringLiteral("收货地址:张小明，0755-86001234，13800138000,广东省 深圳市 "
                                          "南山区科苑路15号科兴科学园A栋（518057）");
const QString labelledText = QStringLiteral("收货人:李四\n手机:13912345678\n电话:0571-88886666\n"
                                            "所在地区:浙江省 杭州市 西湖区\n详细地址:文三路90号3号楼\n邮编:310012");

} // namespace

class TestAddressRecognitionWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::TestData> m_data;

    static QComboBox *box(const QWidget *w, const char *name) { return test::child<QComboBox>(w, name); }
    static QString shown(const QWidget *w, const char *name) { return box(w, name)->currentText(); }
    static QString field(const ui::WaybillWindow &w, const QString &name)
    {
        const QWidget *c = w.control(name);
        if (auto *e = qobject_cast<const QLineEdit *>(c))
            return e->text();
        if (auto *cb = qobject_cast<const QComboBox *>(c))
            return cb->currentText();
        if (auto *m = qobject_cast<const QPlainTextEdit *>(c))
            return m->toPlainText();
        return {};
    }
    // The text on the clipboard, pasted with 1.1 粘贴剪切板并识别.
    static void paste(AddressRecognitionWindow &w, const QString &text)
    {
        QGuiApplication::clipboard()->setText(text);
        test::click(&w, "btPasteAndMatch");
    }
    bool run(const QString &sql, const QVariantList &values = {})
    {
        QSqlQuery q(m_data->db());
        q.prepare(sql);
        for (const QVariant &v : values)
            q.addBindValue(v);
        return q.exec();
    }
    // Remark dictionaries of two templates, one other dictionary and three
    // earlier waybills, one of them with 70 characters of goods.
    bool fillRemarkSources()
    {
        return run("delete from DMTable where DMName in ('附注内容','备注','物品内容')")
               && run("delete from DataKDDTable")
               && run("insert into DMTable (CheckTypeId,DMName,DMValue) values(0,'附注内容','易碎品'),"
                      "(0,'备注','到付'),(7,'物品内容','茶叶'),(3,'物品内容','到付'),(0,'计量单位','箱')")
               && run("insert into DataKDDTable (物品内容,备注) values('文件','周末送'),(?,'到付'),('文件',null)",
                      {QString(70, QChar(0x4e66))});
    }
    static QStringList listed(const QWidget *w, const char *list)
    {
        return static_cast<const QStringListModel *>(test::child<QListView>(w, list)->model())->stringList();
    }
    // Shows the tab of the list and double-clicks its row.
    static void doubleClickRow(QWidget *w, const char *list, int row)
    {
        auto *view = test::child<QListView>(w, list);
        test::child<QTabWidget>(w, "tabRemarks")->setCurrentWidget(view);
        const QModelIndex index = view->model()->index(row, 0);
        QVERIFY(index.isValid());
        // The view takes a double-click only on the row the press was on.
        const QPoint at = view->visualRect(index).center();
        QTest::mousePress(view->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    }
    std::unique_ptr<ui::WaybillWindow> openWaybill()
    {
        auto w = std::make_unique<ui::WaybillWindow>(*m_data->core);
        w->show();
        return w;
    }

private Q_SLOTS:
    void initTestCase() { app::installFontSubstitutions(); }
    void init()
    {
        m_data = std::make_unique<test::TestData>();
        QVERIFY(m_data->open());
    }
    void cleanup()
    {
        QGuiApplication::clipboard()->clear();
        m_data.reset();
    }

    void pastedTextFillsEachBox_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected"); // name, mobile, phone, zip, province, city, town, address
        QTest::newRow("taobao") << taobaoText
                                << QStringList{"张小明", "13800138000", "0755-86001234", "518057", "广东省",
                                               "深圳市", "南山区", "科苑路15号科兴科学园A栋"};
        QTest::newRow("labelled lines") << labelledText
                                        << QStringList{"李四", "13912345678", "0571-88886666", "310012", "浙江省",
                                                       "杭州市", "西湖区", "文三路90号3号楼"};
    }
    void pastedTextFillsEachBox()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        AddressRecognitionWindow w(*m_data->core);
        QCOMPARE(w.windowTitle(), QStringLiteral("墨雀软件-收发件人资料识别"));
        QCOMPARE(w.objectName(), QStringLiteral("frmMatchAddr"));
        paste(w, text);
        const char *boxes[] = {"edtName",    "edtHandset", "edtPhone", "edtZipcode",
                               "edtProvince", "edtCity",    "edtTown",  "edtAddress"};
        for (int i = 0; i < expected.size(); ++i)
            QCOMPARE(shown(&w, boxes[i]), expected[i]);
        QVERIFY(shown(&w, "edtCompany").isEmpty());
        QVERIFY(shown(&w, "cbCountry").isEmpty());
    }

    void typedTextIsRecognisedOnDemand()
    {
        AddressRecognitionWindow w(*m_data->core);
        QVERIFY(shown(&w, "edtName").isEmpty());
        w.setInputText(labelledText);
        QVERIFY(shown(&w, "edtName").isEmpty());
        test::click(&w, "btMatch");
        QCOMPARE(shown(&w, "edtName"), QStringLiteral("李四"));
        QCOMPARE(shown(&w, "edtCity"), QStringLiteral("杭州市"));
    }

    void shopStatusWordsAreNormalisedAway()
    {
        AddressRecognitionWindow w(*m_data->core);
        w.setInputText(QStringLiteral("王小红　旺旺在线　13700001111　北京市朝阳区建国路88号SOHO现代城5号楼"));
        test::click(&w, "btMatch");
        QVERIFY(!w.inputText().contains(QStringLiteral("旺旺在线")));
        QVERIFY(!w.inputText().contains(QChar(0x3000)));
        QCOMPARE(shown(&w, "edtName"), QStringLiteral("王小红"));
        QCOMPARE(shown(&w, "edtHandset"), QStringLiteral("13700001111"));
        QCOMPARE(shown(&w, "edtTown"), QStringLiteral("朝阳区"));
        QVERIFY(!shown(&w, "edtName").contains(QStringLiteral("旺旺")));
    }

    void containDivisionsPutsThemInFrontOfTheAddress_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("street");
        QTest::addColumn<QString>("full");
        QTest::newRow("province") << taobaoText << QStringLiteral("科苑路15号科兴科学园A栋")
                                  << QStringLiteral("广东省深圳市南山区科苑路15号科兴科学园A栋");
        QTest::newRow("municipality") << QStringLiteral("王小红 13700001111 北京市朝阳区建国路88号现代城5号楼")
                                      << QStringLiteral("建国路88号现代城5号楼")
                                      << QStringLiteral("北京市朝阳区建国路88号现代城5号楼");
    }
    void containDivisionsPutsThemInFrontOfTheAddress()
    {
        QFETCH(QString, text);
        QFETCH(QString, street);
        QFETCH(QString, full);
        AddressRecognitionWindow w(*m_data->core);
        paste(w, text);
        QCOMPARE(shown(&w, "edtAddress"), street);
        auto *contain = test::child<QCheckBox>(&w, "checkContainSS");
        QVERIFY(!contain->isChecked());
        contain->click();
        QCOMPARE(shown(&w, "edtAddress"), full);
        contain->click();
        QCOMPARE(shown(&w, "edtAddress"), street);
    }

    void containDivisionsFollowsItsOption()
    {
        QVERIFY(settings::Options(m_data->db()).setConfigByname(QStringLiteral("checkContainSS"), "checked"));
        AddressRecognitionWindow w(*m_data->core);
        QVERIFY(test::child<QCheckBox>(&w, "checkContainSS")->isChecked());
        paste(w, labelledText);
        QCOMPARE(shown(&w, "edtAddress"), QStringLiteral("浙江省杭州市西湖区文三路90号3号楼"));
        QCOMPARE(w.person().address(), QStringLiteral("浙江省杭州市西湖区文三路90号3号楼"));
    }

    void anotherCandidateIsHandedOver()
    {
        AddressRecognitionWindow w(*m_data->core);
        paste(w, QStringLiteral("赵六 13800138000 13912345678 上海市浦东新区世纪大道100号"));
        QComboBox *handset = box(&w, "edtHandset");
        QVERIFY2(handset->count() >= 2, qPrintable(QString::number(handset->count())));
        const QString other = handset->itemText(1);
        QVERIFY(other != handset->currentText());
        handset->setCurrentIndex(1);
        auto waybill = openWaybill();
        w.setWaybillWindow(waybill.get());
        test::click(&w, "btPasteToSJR");
        QCOMPARE(field(*waybill, "skrHandset"), other);
        QCOMPARE(field(*waybill, "zdSKRLXR"), QStringLiteral("赵六"));
    }

    void handedToTheWaybill_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("fields"); // company, contact, address, handset, phone, zip, province, city, town
        QTest::addColumn<QString>("country");
        QTest::newRow("receiver") << "btPasteToSJR"
                                  << QStringList{"zdSKR",   "zdSKRLXR", "zdSkrDZ", "skrHandset", "zdskrDH",
                                                 "zdSKRYB", "zdSKRS",   "zdSKRXS", "edtSJRTown"}
                                  << "edtCountryDest";
        QTest::newRow("sender") << "btPasteToFJR"
                                << QStringList{"zdHKR",   "zdHKRLXR", "zdHkrDZ", "hkrHandset", "zdhkrDH",
                                               "zdHKRYB", "zdHKRS",   "zdHKRXS", "edtFJRTown"}
                                << "edtCountryFrom";
    }
    void handedToTheWaybill()
    {
        QFETCH(QString, button);
        QFETCH(QStringList, fields);
        QFETCH(QString, country);
        auto waybill = openWaybill();
        const QString countryBefore = field(*waybill, country);
        QCOMPARE(countryBefore, QStringLiteral("中国"));
        const QString otherParty = fields.first() == "zdSKR" ? "zdHKRLXR" : "zdSKRLXR";
        const QString otherBefore = field(*waybill, otherParty);
        AddressRecognitionWindow w(*m_data->core);
        w.setWaybillWindow(waybill.get());
        w.show();
        paste(w, labelledText);
        box(&w, "edtCompany")->setEditText(QStringLiteral("星河贸易有限公司"));
        test::click(&w, button.toLatin1().constData());
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QVERIFY(!w.isVisible());
        const QStringList expected{"星河贸易有限公司", "李四",   "文三路90号3号楼", "13912345678", "0571-88886666",
                                   "310012",           "浙江省", "杭州市",          "西湖区"};
        for (int i = 0; i < fields.size(); ++i)
            QCOMPARE(field(*waybill, fields[i]), expected[i]);
        QCOMPARE(field(*waybill, country), countryBefore);
        QCOMPARE(field(*waybill, otherParty), otherBefore);
    }

    void remarkFillsGoodsAndRemarkAsTicked_data()
    {
        QTest::addColumn<bool>("goods");
        QTest::addColumn<bool>("remark");
        QTest::newRow("both") << true << true;
        QTest::newRow("goods only") << true << false;
        QTest::newRow("remark only") << false << true;
        QTest::newRow("neither") << false << false;
    }
    void remarkFillsGoodsAndRemarkAsTicked()
    {
        QFETCH(bool, goods);
        QFETCH(bool, remark);
        auto waybill = openWaybill();
        const QString goodsBefore = field(*waybill, "zdWPNR");
        const QString remarkBefore = field(*waybill, "zdBz");
        // Each option starts the other way, so that one click sets it.
        QVERIFY(settings::Options(m_data->db()).setConfigByname("ckWPNR", goods ? "no" : "checked"));
        QVERIFY(settings::Options(m_data->db()).setConfigByname("ckRemark", remark ? "no" : "checked"));
        {
            AddressRecognitionWindow w(*m_data->core);
            auto *ckGoods = test::child<QCheckBox>(&w, "ckWPNR");
            auto *ckRemark = test::child<QCheckBox>(&w, "ckRemark");
            QCOMPARE(ckGoods->isChecked(), !goods);
            QCOMPARE(ckRemark->isChecked(), !remark);
            ckGoods->click();
            ckRemark->click();
            w.setWaybillWindow(waybill.get());
            paste(w, taobaoText);
            test::child<QPlainTextEdit>(&w, "edtRemark")->setPlainText(QStringLiteral("易碎品 轻放"));
            test::click(&w, "btPasteToSJR");
        }
        QCOMPARE(field(*waybill, "zdWPNR"), goods ? QStringLiteral("易碎品 轻放") : goodsBefore);
        QCOMPARE(field(*waybill, "zdBz"), remark ? QStringLiteral("易碎品 轻放") : remarkBefore);
        const settings::Options options(m_data->db());
        QCOMPARE(options.getConfigByname("ckWPNR"), goods ? QStringLiteral("checked") : QStringLiteral("no"));
        QCOMPARE(options.getConfigByname("ckRemark"), remark ? QStringLiteral("checked") : QStringLiteral("no"));
        AddressRecognitionWindow again(*m_data->core);
        QCOMPARE(test::child<QCheckBox>(&again, "ckWPNR")->isChecked(), goods);
        QCOMPARE(test::child<QCheckBox>(&again, "ckRemark")->isChecked(), remark);
    }

    void pasteIntoContactTakesTheWholeShortText_data()
    {
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("contact");
        QTest::newRow("name over two lines") << QStringLiteral(" 欧阳\r\n小明 ") << QStringLiteral("欧阳小明");
        QTest::newRow("65 bytes") << QString(65, QLatin1Char('a')) << QString(65, QLatin1Char('a'));
        QTest::newRow("66 bytes pasted as typed") << QString(33, QChar(0x4e00)) << QStringLiteral("王五")
                                                                                   + QString(33, QChar(0x4e00));
    }
    void pasteIntoContactTakesTheWholeShortText()
    {
        QFETCH(QString, clipboard);
        QFETCH(QString, contact);
        AddressRecognitionWindow w(*m_data->core);
        QComboBox *name = box(&w, "edtName");
        name->setEditText(QStringLiteral("王五"));
        name->lineEdit()->end(false);
        QGuiApplication::clipboard()->setText(clipboard);
        QTest::keySequence(name->lineEdit(), QKeySequence::Paste);
        QCOMPARE(name->currentText(), contact);
    }

    void remarkKeepsToSixtyCharacters()
    {
        AddressRecognitionWindow w(*m_data->core);
        auto *remark = test::child<QPlainTextEdit>(&w, "edtRemark");
        remark->setPlainText(QString(70, QChar(0x4e00)));
        QCOMPARE(remark->toPlainText().size(), 60);
    }

    void remarkListsOfferTheirTexts_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<int>("chosen");
        QTest::newRow("dictionaries") << "lstRemarkDictionary" << "字典管理" << QStringList{"到付", "易碎品", "茶叶"} << 2;
        QTest::newRow("goods") << "lstHistoryGoods" << "历史物品" << QStringList{QString(70, QChar(0x4e66)), "文件"}
                               << 1;
        QTest::newRow("remarks") << "lstHistoryRemarks" << "历史备注" << QStringList{"到付", "周末送"} << 1;
    }
    void remarkListsOfferTheirTexts()
    {
        QFETCH(QString, list);
        QFETCH(QString, title);
        QFETCH(QStringList, expected);
        QFETCH(int, chosen);
        QVERIFY(fillRemarkSources());
        AddressRecognitionWindow w(*m_data->core);
        w.show();
        auto *tabs = test::child<QTabWidget>(&w, "tabRemarks");
        const QByteArray name = list.toLatin1();
        QCOMPARE(tabs->tabText(tabs->indexOf(test::child<QListView>(&w, name.constData()))), title);
        auto *remark = test::child<QPlainTextEdit>(&w, "edtRemark");
        remark->setPlainText(QStringLiteral("旧附注"));
        doubleClickRow(&w, name.constData(), chosen);
        QCOMPARE(listed(&w, name.constData()), expected);
        QCOMPARE(remark->toPlainText(), expected[chosen]);
    }

    void longHistoryTextKeepsToSixtyCharacters()
    {
        QVERIFY(fillRemarkSources());
        AddressRecognitionWindow w(*m_data->core);
        w.show();
        doubleClickRow(&w, "lstHistoryGoods", 0);
        QCOMPARE(test::child<QPlainTextEdit>(&w, "edtRemark")->toPlainText(), QString(60, QChar(0x4e66)));
    }

    void remarkListIsReadWhenFirstShownOnly()
    {
        QVERIFY(fillRemarkSources());
        AddressRecognitionWindow w(*m_data->core);
        w.show();
        QVERIFY(run("insert into DataKDDTable (物品内容,备注) values('衣服','加急')"));
        auto *tabs = test::child<QTabWidget>(&w, "tabRemarks");
        tabs->setCurrentIndex(2);
        QCOMPARE(listed(&w, "lstHistoryRemarks"), (QStringList{"到付", "加急", "周末送"}));
        QVERIFY(run("insert into DataKDDTable (物品内容,备注) values('鞋子','自提')"));
        tabs->setCurrentIndex(1);
        QCOMPARE(listed(&w, "lstHistoryGoods"), (QStringList{QString(70, QChar(0x4e66)), "文件", "衣服", "鞋子"}));
        tabs->setCurrentIndex(0);
        tabs->setCurrentIndex(2);
        QCOMPARE(listed(&w, "lstHistoryRemarks"), (QStringList{"到付", "加急", "周末送"}));
        QVERIFY(run("insert into DMTable (CheckTypeId,DMName,DMValue) values(0,'备注','加急')"));
        tabs->setCurrentIndex(0);
        QCOMPARE(listed(&w, "lstRemarkDictionary"), (QStringList{"到付", "易碎品", "茶叶"}));
    }

    void saveRemarkKeepsItInTheDictionary_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("dictionary");
        QTest::newRow("new") << "轻拿轻放" << QStringLiteral("添加基础资料\"附注内容\"成功！")
                             << QStringList{"到付", "易碎品", "茶叶", "轻拿轻放"};
        QTest::newRow("quote") << "It's" << QStringLiteral("添加基础资料\"附注内容\"成功！")
                               << QStringList{"It's", "到付", "易碎品", "茶叶"};
        QTest::newRow("in 备注 of all templates") << "到付" << QStringLiteral("\"到付\"已经存在！")
                                                  << QStringList{"到付", "易碎品", "茶叶"};
        QTest::newRow("blank") << "  " << QStringLiteral("未输入附注内容~") << QStringList{"到付", "易碎品", "茶叶"};
    }
    void saveRemarkKeepsItInTheDictionary()
    {
        QFETCH(QString, text);
        QFETCH(QString, message);
        QFETCH(QStringList, dictionary);
        QVERIFY(fillRemarkSources());
        AddressRecognitionWindow w(*m_data->core);
        w.show();
        test::child<QPlainTextEdit>(&w, "edtRemark")->setPlainText(text);
        test::click(&w, "btSaveRemark");
        QCOMPARE(m_data->dialogs.lastText(), message);
        QCOMPARE(listed(&w, "lstRemarkDictionary"), dictionary);
        QSqlQuery q(m_data->db());
        QVERIFY(q.exec("select count(*) from DMTable where CheckTypeId=0 and DMName='附注内容'") && q.next());
        QCOMPARE(q.value(0).toInt(), dictionary.size() - 2);
    }

    void handoverWithoutContactIsRefused()
    {
        auto waybill = openWaybill();
        const QString before = field(*waybill, "zdSKRLXR");
        AddressRecognitionWindow w(*m_data->core);
        w.setWaybillWindow(waybill.get());
        w.show();
        paste(w, taobaoText);
        box(&w, "edtName")->setEditText(QStringLiteral("  "));
        test::click(&w, "btPasteToSJR");
        QCOMPARE(m_data->dialogs.lastText(), QStringLiteral(":),联系人不能为空，但未能识别出来，请手工调整或输入！"));
        QVERIFY(w.isVisible());
        QCOMPARE(field(*waybill, "zdSKRLXR"), before);
        QVERIFY(field(*waybill, "skrHandset").isEmpty());
    }

    void badInputInventsNothing_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("only spaces") << QString(40, QLatin1Char(' '));
        QTest::newRow("full-width spaces and blank lines") << QStringLiteral("　　　　　\n\n　　　　　　　　　　　\n");
        QTest::newRow("emoji") << QStringLiteral("😀😀😀🎉🎉🎉👍👍👍😀😀😀🎉🎉🎉");
        QTest::newRow("control characters") << QStringLiteral("\x01\x02\x03\x04\x05\x06\x07\x08\x0b\x0c\x0e\x0f"
                                                              "\x10\x11\x12\x13\x14\x15\x16\x17\x18\x19\x1a");
    }
    void badInputInventsNothing()
    {
        QFETCH(QString, text);
        AddressRecognitionWindow w(*m_data->core);
        paste(w, labelledText);
        QVERIFY(!shown(&w, "edtName").isEmpty());
        w.setInputText(text);
        test::click(&w, "btMatch");
        for (const char *name : resultBoxes) {
            if (QByteArray(name) == "edtCompany")
                continue;
            QVERIFY2(shown(&w, name).isEmpty(), name);
            QCOMPARE(box(&w, name)->count(), 0);
        }
    }

    void shortClipboardSaysSoAndRecognisesNothing_data()
    {
        QTest::addColumn<QString>("clipboard");
        QTest::newRow("empty") << QString();
        QTest::newRow("nine Chinese characters") << QStringLiteral("北京市朝阳区建国路");
    }
    void shortClipboardSaysSoAndRecognisesNothing()
    {
        QFETCH(QString, clipboard);
        AddressRecognitionWindow w(*m_data->core);
        paste(w, labelledText);
        QVERIFY(!shown(&w, "edtAddress").isEmpty());
        paste(w, clipboard);
        QCOMPARE(w.inputText(), QStringLiteral("剪切板中没有复制地址内容~"));
        for (const char *name : resultBoxes)
            QVERIFY2(shown(&w, name).isEmpty(), name);
        test::click(&w, "btMatch");
        QCOMPARE(w.inputText(), QStringLiteral("剪切板中没有复制地址内容~"));
        for (const char *name : resultBoxes)
            QVERIFY2(shown(&w, name).isEmpty(), name);
    }

    void inputKeepsTo1024Characters()
    {
        AddressRecognitionWindow w(*m_data->core);
        paste(w, labelledText + QString(2000, QLatin1Char('x')));
        QVERIFY(w.inputText().size() <= 1024);
        QCOMPARE(shown(&w, "edtName"), QStringLiteral("李四"));
    }

    void sampleOfEachFormatIsRecognised_data()
    {
        QTest::addColumn<QString>("format");
        QTest::newRow("taobao") << "rbTaobao";
        QTest::newRow("paipai") << "rbPaipai";
        QTest::newRow("other") << "rbOther";
    }
    void sampleOfEachFormatIsRecognised()
    {
        QFETCH(QString, format);
        AddressRecognitionWindow w(*m_data->core);
        test::click(&w, format.toLatin1().constData());
        test::click(&w, "btSample");
        QVERIFY(!w.inputText().isEmpty());
        QCOMPARE(shown(&w, "edtName"), QStringLiteral("张小明"));
        QCOMPARE(shown(&w, "edtHandset"), QStringLiteral("13800138000"));
        QCOMPARE(shown(&w, "edtCity"), QStringLiteral("深圳市"));
        QCOMPARE(shown(&w, "edtZipcode"), QStringLiteral("518057"));
    }

    // With 拍拍收货地址 chosen the 拍拍 street leads the address box, written as the 拍拍 line writes it.
    void paipaiStreetLeadsTheAddressBox_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("text"); // empty: the format's own sample
        QTest::addColumn<QString>("street");
        const QString estate = QStringLiteral("陈明 浙江省杭州市余杭区 古墩路1号 万科 金色家园(311113) 13800138000");
        QTest::newRow("paipai sample") << "rbPaipai" << QString() << QStringLiteral("科苑路15号科兴科学园A栋");
        QTest::newRow("paipai") << "rbPaipai" << estate << QStringLiteral("古墩路1号 万科 金色家园");
        QTest::newRow("taobao") << "rbTaobao" << estate << QStringLiteral("古墩路1号");
    }
    void paipaiStreetLeadsTheAddressBox()
    {
        QFETCH(QString, format);
        QFETCH(QString, text);
        QFETCH(QString, street);
        AddressRecognitionWindow w(*m_data->core);
        test::click(&w, format.toLatin1().constData());
        if (text.isEmpty())
            test::click(&w, "btSample");
        else
            paste(w, text);
        QComboBox *address = box(&w, "edtAddress");
        QVERIFY(address->count() > 0);
        QCOMPARE(address->itemText(0), street);
        // The address rule drops the first space of the shown address.
        QVERIFY2(address->currentText().remove(QLatin1Char(' ')).endsWith(QString(street).remove(QLatin1Char(' '))),
                 qPrintable(address->currentText()));
    }

    // A company and a country in the text fill their boxes and go to the waybill with the party.
    void companyAndCountryAreHandedOver()
    {
        auto waybill = openWaybill();
        AddressRecognitionWindow w(*m_data->core);
        w.setWaybillWindow(waybill.get());
        w.show();
        paste(w, QStringLiteral("公司:星河贸易有限公司\n姓名:李四\n手机:13912345678\n国家:新加坡\n"
                                "地址:浙江省杭州市西湖区文三路90号3号楼"));
        QCOMPARE(shown(&w, "edtCompany"), QStringLiteral("星河贸易有限公司"));
        QCOMPARE(shown(&w, "cbCountry"), QStringLiteral("新加坡"));
        test::click(&w, "btPasteToSJR");
        QCOMPARE(field(*waybill, "zdSKR"), QStringLiteral("星河贸易有限公司"));
        QCOMPARE(field(*waybill, "edtCountryDest"), QStringLiteral("新加坡"));
        QCOMPARE(field(*waybill, "zdSKRLXR"), QStringLiteral("李四"));
    }

    void batchModeHandsToTheListAndMayStayOpen()
    {
        AddressRecognitionWindow w(*m_data->core);
        w.show();
        auto *noClose = test::child<QPushButton>(&w, "btPasteNoClose");
        QVERIFY(!noClose->isVisible());
        w.setBatchMode(true);
        QVERIFY(noClose->isVisible());
        QSignalSpy handed(&w, &AddressRecognitionWindow::receiverForBatchList);
        paste(w, labelledText);
        noClose->click();
        QCOMPARE(handed.size(), 1);
        QVERIFY(w.isVisible());
        auto person = handed.takeFirst().at(0).value<refdata::TPersonKDD>();
        QCOMPARE(person.contact(), QStringLiteral("李四"));
        QCOMPARE(person.destination(), QStringLiteral("杭州市"));

        paste(w, taobaoText);
        test::child<QPlainTextEdit>(&w, "edtRemark")->setPlainText(QStringLiteral("茶叶"));
        test::click(&w, "btPasteToSJR");
        QCOMPARE(handed.size(), 1);
        QVERIFY(!w.isVisible());
        person = handed.takeFirst().at(0).value<refdata::TPersonKDD>();
        QCOMPARE(person.contact(), QStringLiteral("张小明"));
        QCOMPARE(person.goodsDescription(), QStringLiteral("茶叶"));
    }

    void waybillButtonOpensTheWindowFromTheMainWindow()
    {
        ui::MainWindow main(*m_data->core);
        main.setLoginRunner([] {});
        ui::WaybillWindow *waybill = main.openWaybillWindow();
        QVERIFY(waybill);
        QGuiApplication::clipboard()->setText(labelledText);
        QString opened;
        QTimer::singleShot(0, [&] {
            auto *w = qobject_cast<AddressRecognitionWindow *>(QApplication::activeModalWidget());
            if (!w)
                return;
            opened = w->objectName();
            if (!w->findChild<QPushButton *>("btPasteNoClose")->isHidden())
                opened += QStringLiteral(" with 粘贴不关闭");
            test::click(w, "btPasteToSJR");
        });
        test::click(waybill, "btPaste");
        QCOMPARE(opened, QStringLiteral("frmMatchAddr"));
        QCOMPARE(field(*waybill, "zdSKRLXR"), QStringLiteral("李四"));
        QCOMPARE(field(*waybill, "zdSKRXS"), QStringLiteral("杭州市"));
    }
};

QTEST_MAIN(TestAddressRecognitionWindow)
#include "test_address_recognition_window.moc"
