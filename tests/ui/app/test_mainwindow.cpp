#include "app/AppVersion.h"
#include "app/MainWindow.h"
#include "app/AboutDialog.h"
#include "designers/EntryLayoutDesigner.h"
#include "designers/PrintOffsetWindow.h"
#include "entry/WaybillWindow.h"
#include "entry/ReceiptWindow.h"
#include "history/InvoiceHistoryWindow.h"
#include "history/WaybillHistoryWindow.h"
#include "refdata/AddressBookWindow.h"
#include "settings/IniFile.h"
#include "templates/TemplatePackage.h"
#include "settings/Options.h"
#include "support/TestData.h"
#include "support/Widgets.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QToolButton>
#include <QApplication>
#include <QTimer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <QToolBar>

using namespace moque;
using moque::ui::MainWindow;
using test::child;

class TestMainWindow : public QObject
{
    Q_OBJECT

    // A main window over a fresh data directory whose login window is scripted.
    struct Fixture
    {
        test::TestData data;
        std::unique_ptr<MainWindow> window;
        int loginsShown = 0;
        QString userAfterLogin;

        bool open(const std::function<void(test::TestData &)> &before = {})
        {
            if (!data.open())
                return false;
            if (before)
                before(data);
            window = std::make_unique<MainWindow>(*data.core);
            window->setLoginRunner([this] {
                ++loginsShown;
                data.core->session().currentUserName = userAfterLogin;
            });
            return true;
        }
        settings::IniFile configIni() const { return settings::IniFile(data.core->dir().configIni()); }
    };

private Q_SLOTS:
    void captionCarriesVersion()
    {
        Fixture f;
        QVERIFY(f.open());
        QCOMPARE(f.window->windowTitle(), QStringLiteral("墨雀票据打印V") + app::getAppVersion(2));
        QCOMPARE(f.window->objectName(), QStringLiteral("fm_Main"));
    }

    void menuItems_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("receipt") << "mReceipt" << "普通发票收据" << true << true;
        QTest::newRow("freight hidden") << "mIntelInvoice" << "国际货运发票" << false << false;
        QTest::newRow("export hidden") << "mExportInvoice" << "出口商品发票" << false << false;
        QTest::newRow("cheque disabled") << "mCheque" << "支票" << true << false;
        QTest::newRow("waybill") << "mKDD" << "填写快递单" << true << true;
        QTest::newRow("jewellery") << "mJewelryWarranty" << "珠宝质保单" << true << false;
        QTest::newRow("close all") << "m_CloseALL" << "关闭所有填开单据" << true << true;
        QTest::newRow("waybill history") << "mKDDHistory" << "快递单管理" << true << true;
        QTest::newRow("cheque history hidden") << "mChequeHistory" << "支票管理(&Z)" << false << false;
        QTest::newRow("design mode") << "mDesignMode" << "设计模式（票据模板界面及打印效果调整）" << true << true;
        QTest::newRow("users") << "mUserManage" << "用户管理" << true << true;
        QTest::newRow("option login") << "mOptLogin" << "进入系统需要密码验证" << true << true;
        QTest::newRow("printer setup") << "mPrinterSetup" << "打印机设置 (&C)" << true << true;
        QTest::newRow("bill printer") << "mLockPrinter" << "锁定/匹配票据打印机" << true << true;
        QTest::newRow("offset window") << "mPrintOffset" << "打印整体偏移调整(&M)" << true << true;
        QTest::newRow("calculator") << "mCalculator" << "计算器 (&U)" << true << true;
        QTest::newRow("toolbar toggle") << "mToggleToolbar" << "显示/隐藏工具栏(&L)" << true << true;
        QTest::newRow("upgrade hidden") << "mUpgrade928" << "升级到9.28" << false << false;
        QTest::newRow("exit") << "mExit" << "退出 (&Q)" << true << true;
        QTest::newRow("tb own companies") << "tbOwnCompanies" << "我方单位" << true << true;
        QTest::newRow("tb partners") << "tbPartners" << "往来单位(&K)" << true << true;
        QTest::newRow("address book") << "mPersonManage" << "单位及客户资料管理(&K)" << true << true;
        QTest::newRow("dictionaries") << "mDictionary" << "字典管理设置(&N) 用途、始发站等" << true << true;
        QTest::newRow("currencies") << "mCurrency" << "币种设置" << true << true;
        QTest::newRow("provinces") << "mProvinceCity" << "省市代码设置(&O)" << true << true;
        QTest::newRow("tb dictionary hidden") << "tbDictionary" << "字典管理" << false << false;
        QTest::newRow("tb first use") << "tbFirstUse" << "第一次用" << true << true;
        QTest::newRow("context custom hidden") << "pmCustom" << "定制单" << false << false;
        QTest::newRow("context freight invoice") << "pmIntel" << "国际货运发票" << true << true;
        QTest::newRow("context export invoice") << "pmExport" << "出口商品发票" << true << true;
        QTest::newRow("context refresh") << "pmRefresh" << "刷新" << true << true;
    }
    void menuItems()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(bool, visible);
        QFETCH(bool, enabled);
        Fixture f;
        QVERIFY(f.open());
        QAction *a = f.window->action(name);
        QVERIFY2(a, qPrintable(name));
        QCOMPARE(a->text(), caption);
        QCOMPARE(a->isVisible(), visible);
        QCOMPARE(a->isEnabled(), enabled);
    }

    void topMenusInOrder()
    {
        Fixture f;
        QVERIFY(f.open());
        QStringList captions;
        for (QAction *a : f.window->menuBar()->actions())
            captions << a->text();
        QCOMPARE(captions, (QStringList{"新票据填开(&F)", "历史开票管理(&S)", "系统管理(&M)", "打印设置(&P)",
                                        "工具(&T)", "显示/隐藏工具栏(&L)", "帮 助(&H)"}));
    }

    void optionItemsWriteTheOppositeOfTheirTick()
    {
        Fixture f;
        QVERIFY(f.open());
        QAction *login = f.window->action("mOptLogin");
        QVERIFY(!login->isChecked());
        login->trigger();
        QCOMPARE(f.data.core->options().getConfigByname("进入系统需验证"), QStringLiteral("yes"));
        QVERIFY(login->isChecked());
        QVERIFY(f.data.core->session().params.loginRequired);
        login->trigger();
        QCOMPARE(f.data.core->options().getConfigByname("进入系统需验证"), QStringLiteral("no"));
        QVERIFY(!login->isChecked());

        QAction *pop = f.window->action("mOptPopPrinter");
        pop->trigger();
        QVERIFY(f.data.core->session().params.popPrinterSetup);
    }

    void backgroundOption()
    {
        Fixture f;
        QVERIFY(f.open([](test::TestData &d) {
            d.core->options().setConfigByname("启用系统背景", "no");
            d.core->LoadSysParam();
        }));
        QAction *bg = f.window->action("mOptBackground");
        QVERIFY(!f.window->backgroundShown());
        bg->trigger();
        QCOMPARE(f.data.core->options().getConfigByname("启用系统背景"), QStringLiteral("yes"));
        QVERIFY(bg->isChecked());
        QVERIFY(f.window->backgroundShown());
        QVERIFY(f.data.dialogs.shown.isEmpty());
        bg->trigger();
        QCOMPARE(f.data.core->options().getConfigByname("启用系统背景"), QStringLiteral("no"));
        QVERIFY(!bg->isChecked());
        QCOMPARE(f.data.dialogs.lastText(), QStringLiteral("需要重启软件才生效哦！"));
    }

    void loginGate_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("user");
        QTest::addColumn<int>("loginsShown");
        QTest::addColumn<bool>("terminates");
        QTest::newRow("no option row") << QString() << QString() << 0 << false;
        QTest::newRow("option off") << "no" << QString() << 0 << false;
        QTest::newRow("upper-case YES is off") << "YES" << QString() << 0 << false;
        QTest::newRow("on, nobody logs in") << "yes" << QString() << 1 << true;
        QTest::newRow("1 is on, user logs in") << "1" << "管理员" << 1 << false;
    }
    void loginGate()
    {
        QFETCH(QString, option);
        QFETCH(QString, user);
        QFETCH(int, loginsShown);
        QFETCH(bool, terminates);
        Fixture f;
        f.userAfterLogin = user;
        QVERIFY(f.open([&](test::TestData &d) {
            d.exec("delete from configtable where cname='进入系统需验证'");
            if (!option.isNull())
                d.core->options().setConfigByname("进入系统需验证", option);
            d.core->LoadSysParam();
        }));
        QSignalSpy terminate(f.window.get(), &MainWindow::terminateRequested);
        f.window->timerTick();
        f.window->timerTick();
        QCOMPARE(f.loginsShown, loginsShown);
        QCOMPARE(terminate.count() > 0, terminates);
        QVERIFY(f.window->statusText(2).startsWith(QStringLiteral(" 当前时间：")));
    }

    void statusBarPanels()
    {
        Fixture f;
        QVERIFY(f.open());
        QVERIFY(f.window->statusText(0) == QStringLiteral("系统已就绪")
                || f.window->statusText(0) == QStringLiteral("显示器分辨率太低"));
        QCOMPARE(f.window->statusText(3), QDir::toNativeSeparators(QCoreApplication::applicationFilePath()));
    }

    void entryWindowRuleRefusesASecondWindow()
    {
        Fixture f;
        QVERIFY(f.open());
        QVERIFY(f.window->canOpenEntryWindow());
        QVERIFY(f.data.dialogs.shown.isEmpty());
        f.window->mdiArea()->addSubWindow(new QWidget)->show();
        QVERIFY(!f.window->canOpenEntryWindow());
        QCOMPARE(f.data.dialogs.lastText(), QStringLiteral("请先关闭打开的单据！"));
        QCOMPARE(f.data.dialogs.lastCaption(), QStringLiteral("提示"));
        f.window->action("m_CloseALL")->trigger();
        QVERIFY(f.window->mdiArea()->subWindowList().isEmpty());
    }

    void designCommandsOpenOnTheWaybillsTemplate_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("fromWaybill");
        QTest::addColumn<QString>("opened");
        QTest::newRow("design mode from the menu") << "mDesignMode" << false << "fmCheckDesign";
        QTest::newRow("offset from the menu") << "mPrintOffset" << false << "frmPrintOffset";
        QTest::newRow("design button") << "btDesign" << true << "fmCheckDesign";
        QTest::newRow("offset button") << "btMoveXY" << true << "frmPrintOffset";
    }
    void designCommandsOpenOnTheWaybillsTemplate()
    {
        QFETCH(QString, command);
        QFETCH(bool, fromWaybill);
        QFETCH(QString, opened);
        Fixture f;
        QVERIFY(f.open());
        ui::WaybillWindow *waybill = f.window->openWaybillWindow();
        QVERIFY(waybill);
        const int chosen = waybill->curTypeId();
        QVERIFY(chosen > 0);
        QString openedName;
        int openedOn = 0;
        QTimer::singleShot(0, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            openedName = modal->objectName();
            if (auto *offsets = qobject_cast<ui::PrintOffsetWindow *>(modal))
                openedOn = offsets->templateId();
            if (auto *designer = qobject_cast<ui::EntryLayoutDesigner *>(modal))
                openedOn = designer->templateId();
            // A new entry picture size, as the offset window stores it.
            f.data.exec(QStringLiteral("update CKTypeTable set TWidth=640 where CheckTypeID=?"), {openedOn});
            modal->close();
        });
        if (fromWaybill)
            child<QToolButton>(waybill, command.toLatin1().constData())->click();
        else
            f.window->action(command)->trigger();
        QCOMPARE(openedName, opened);
        QCOMPARE(openedOn, chosen);
        // Afterwards the waybill has applied its template again.
        QCOMPARE(waybill->loadedTypeId(), chosen);
        QCOMPARE(child<QWidget>(waybill, "bgImage")->width(), 640);
    }

    void templateManagementOpensFromTheMenuAndTheTab_data()
    {
        QTest::addColumn<bool>("fromTab");
        QTest::newRow("menu") << false;
        QTest::newRow("配置常用模板 tab") << true;
    }
    void templateManagementOpensFromTheMenuAndTheTab()
    {
        QFETCH(bool, fromTab);
        Fixture f;
        QVERIFY(f.open());
        ui::WaybillWindow *waybill = f.window->openWaybillWindow();
        QVERIFY(waybill);
        QString opened;
        QTimer::singleShot(0, [&] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                opened = modal->objectName();
                modal->close();
            }
        });
        auto *tabs = child<QTabBar>(waybill, "tbcCheckTypeName");
        if (fromTab)
            tabs->setCurrentIndex(tabs->count() - 1);
        else
            f.window->action(QStringLiteral("mTemplateManage"))->trigger();
        QCOMPARE(opened, QStringLiteral("frmCheckTypeMng"));
        QCOMPARE(f.data.core->session().currentTemplateId, waybill->curTypeId());
        // The tab can be chosen again: the strip no longer stands on it.
        QVERIFY(tabs->currentIndex() < 0 || tabs->tabText(tabs->currentIndex()) != QStringLiteral("配置常用模板"));
    }

    void cacheResetClosesTheBillWindows_data()
    {
        QTest::addColumn<bool>("billOpen");
        QTest::addColumn<QString>("message");
        QTest::newRow("no bill window") << false << "缓存清除成功！";
        QTest::newRow("a bill window open") << true << "缓存清除需要关闭开单界面重新打开！";
    }
    void cacheResetClosesTheBillWindows()
    {
        QFETCH(bool, billOpen);
        QFETCH(QString, message);
        Fixture f;
        QVERIFY(f.open());
        if (billOpen)
            QVERIFY(f.window->openWaybillWindow());
        QVERIFY(f.data.exec(QStringLiteral("update CKTypeTable set IniFile='1.ini'")));
        f.window->action(QStringLiteral("mClearCache"))->trigger();
        QCOMPARE(f.data.dialogs.lastText(), message);
        QCOMPARE(f.data.scalar(QStringLiteral("select count(*) from CKTypeTable where IniFile<>''")).toInt(), 0);
        QTRY_VERIFY(f.window->mdiArea()->subWindowList().isEmpty());
    }

    void importedTemplateReachesTheOpenWaybill()
    {
        Fixture f;
        QVERIFY(f.open());
        ui::WaybillWindow *waybill = f.window->openWaybillWindow();
        QVERIFY(waybill);
        const QString fullName = f.data.scalar(QStringLiteral("select TypeName from CKTypeTable where CheckTypeID=?"),
                                               {waybill->curTypeId()})
                                     .toString();
        const QString package = f.data.root() + QStringLiteral("one.tpk");
        templates::PackageExporter exporter(f.data.db(), f.data.dialogs, f.data.core->dir(), app::getAppVersion(2));
        exporter.exportTemplates({fullName}, package);
        QVERIFY(QFileInfo::exists(package));
        auto *combo = child<QComboBox>(waybill, "cbFirstTypeName");
        const int before = combo->count();

        // 票据模板导入 with 更新旧版本单据 unticked adds the template beside the one in use.
        QString opened;
        f.data.dialogs.files.enqueue(package);
        QTimer::singleShot(0, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            opened = modal->objectName();
            child<QAbstractButton>(modal, "btnImpBrowse")->click();
            child<QCheckBox>(modal, "ckUpdateBill")->setChecked(false);
            child<QAbstractButton>(modal, "btnImport")->click();
            modal->close();
        });
        f.window->action(QStringLiteral("mTemplateImport"))->trigger();
        QCOMPARE(opened, QStringLiteral("frmBillImportExport"));
        QCOMPARE(combo->count(), before + 1);
        QVERIFY(combo->findText(waybill->templateDisplayName() + QStringLiteral(".新")) >= 0);
    }

    void olderDataFileOpensTheUpgradeAtStart_data()
    {
        QTest::addColumn<QString>("recordedVersion");
        QTest::addColumn<QString>("opened");
        QTest::newRow("this version") << QString() << QString();
        QTest::newRow("an earlier version") << "9.27" << "frmUp2NewVersion";
    }
    void olderDataFileOpensTheUpgradeAtStart()
    {
        QFETCH(QString, recordedVersion);
        QFETCH(QString, opened);
        Fixture f;
        QVERIFY(f.open());
        if (!recordedVersion.isEmpty())
            f.data.core->options().setConfigByname(settings::option::version, recordedVersion);
        QString shown;
        QTimer::singleShot(0, [&] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                shown = modal->objectName();
                modal->close();
            }
        });
        f.window->upgradeIfNeeded();
        QCoreApplication::processEvents();
        QCOMPARE(shown, opened);
    }

    void exitAsksWithBrandWord_data()
    {
        QTest::addColumn<QString>("brand");
        QTest::addColumn<bool>("answer");
        QTest::newRow("default brand, no") << QString() << false;
        QTest::newRow("own brand, yes") << "飞鸟" << true;
    }
    void exitAsksWithBrandWord()
    {
        QFETCH(QString, brand);
        QFETCH(bool, answer);
        Fixture f;
        QVERIFY(f.open([&](test::TestData &d) {
            if (!brand.isEmpty()) {
                settings::IniFile ini(d.core->dir().configIni());
                ini.setValue("Info", "nm", brand);
                ini.flush();
                d.core->settings().OpenUserIniFile();
            }
        }));
        f.window->show();
        QSignalSpy terminate(f.window.get(), &MainWindow::terminateRequested);
        f.data.dialogs.answers.enqueue(answer);
        f.window->action("mExit")->trigger();
        const QString word = brand.isEmpty() ? QStringLiteral("墨雀") : brand;
        QCOMPARE(f.data.dialogs.lastText(), QStringLiteral("真的要退出【") + word + QStringLiteral("票据打印】系统吗？"));
        QCOMPARE(f.data.dialogs.lastCaption(), QStringLiteral("确认"));
        QCOMPARE(terminate.count(), answer ? 1 : 0);
        QCOMPARE(f.window->isVisible(), !answer);
    }

    // Quitting closes an open waybill through its own close path: the save question,
    // then its stored toolbar place.
    void quittingAsksToSaveTheOpenWaybill_data()
    {
        QTest::addColumn<bool>("byMenu");
        QTest::addColumn<bool>("save");
        QTest::newRow("退出, save") << true << true;
        QTest::newRow("退出, do not save") << true << false;
        QTest::newRow("close button, save") << false << true;
    }
    void quittingAsksToSaveTheOpenWaybill()
    {
        QFETCH(bool, byMenu);
        QFETCH(bool, save);
        Fixture f;
        QVERIFY(f.open());
        f.window->show();
        f.window->action("mKDD")->trigger();
        ui::WaybillWindow *waybill = f.window->waybillWindow();
        QVERIFY(waybill);
        qobject_cast<QComboBox *>(waybill->control("zdSKR"))->setEditText(QStringLiteral("杭州星河"));
        qobject_cast<QLineEdit *>(waybill->control("zdSKRLXR"))->setText(QStringLiteral("王五"));
        child<QToolButton>(waybill, "btPosition")->click();
        f.data.dialogs.clear();
        if (byMenu)
            f.data.dialogs.answers.enqueue(true);
        f.data.dialogs.answers.enqueue(save);
        if (byMenu)
            f.window->action("mExit")->trigger();
        else
            f.window->close();
        QVERIFY(!f.window->isVisible());
        QCOMPARE(f.data.dialogs.shown.value(byMenu ? 1 : 0).text, QStringLiteral("是否保存该快递单？"));
        QCOMPARE(f.data.dialogs.shown.value(byMenu ? 1 : 0).caption, QStringLiteral("关闭快递单"));
        QCOMPARE(f.data.scalar("select count(*) from DataKDDTable where 收件单位=?", {QStringLiteral("杭州星河")}).toInt(),
                 save ? 1 : 0);
        QCOMPARE(f.configIni().value("FMCHECKKDD", "PositionBar"), QStringLiteral("bottom"));
    }

    void restartAsksFirst()
    {
        Fixture f;
        QVERIFY(f.open());
        QSignalSpy restart(f.window.get(), &MainWindow::restartRequested);
        f.window->action("mRestart")->trigger();
        QCOMPARE(f.data.dialogs.lastText(), QStringLiteral("确定要重开软件吗?"));
        QCOMPARE(f.data.dialogs.lastCaption(), QStringLiteral("重启软件"));
        QCOMPARE(restart.count(), 0);
        f.window->mdiArea()->addSubWindow(new QWidget)->show();
        f.data.dialogs.answers.enqueue(true);
        f.window->action("mRestart")->trigger();
        QCOMPARE(restart.count(), 1);
        QVERIFY(f.window->mdiArea()->subWindowList().isEmpty());
    }

    void toolbarToggleIsRemembered()
    {
        Fixture f;
        QVERIFY(f.open());
        f.window->show();
        auto *toolbar = child<QToolBar>(f.window.get(), "ToolBarMain");
        QVERIFY(toolbar->isVisible());
        f.window->action("mToggleToolbar")->trigger();
        QVERIFY(!toolbar->isVisible());
        QCOMPARE(f.configIni().value("FM_MAIN", "TOOLBARMAIN"), QStringLiteral("0"));
        f.window.reset();

        // A new start keeps the toolbar hidden.
        MainWindow again(*f.data.core);
        again.show();
        QVERIFY(!child<QToolBar>(&again, "ToolBarMain")->isVisible());
        again.action("mToggleToolbar")->trigger();
        QCOMPARE(f.configIni().value("fm_main", "ToolBarMain"), QStringLiteral("1"));
    }

    void installationRecordIsWritten()
    {
        Fixture f;
        QVERIFY(f.open());
        const settings::IniFile ini = f.configIni();
        QCOMPARE(ini.value("NORDAPT_KX", "RunPath"), QDir::toNativeSeparators(f.data.core->dir().root()));
        QCOMPARE(ini.value("NORDAPT_KX", "Version"), app::getAppVersion(2));
        QCOMPARE(ini.value("NORDAPT_KX", "FullPath"), QDir::toNativeSeparators(QCoreApplication::applicationFilePath()));
    }

    void billPrinterSelection_data()
    {
        QTest::addColumn<QStringList>("printers");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("index");
        QTest::newRow("stored name in other case") << QStringList{"Epson LQ", "HP LaserJet"} << "hp laserjet" << 1;
        QTest::newRow("two printers, nothing stored") << QStringList{"A", "B"} << QString() << -1;
        QTest::newRow("unknown name") << QStringList{"A", "B"} << "C" << -1;
        QTest::newRow("one printer besides PDF, nothing stored") << QStringList{"A", "PDF"} << QString() << 0;
    }
    void billPrinterSelection()
    {
        QFETCH(QStringList, printers);
        QFETCH(QString, stored);
        QFETCH(int, index);
        Fixture f;
        QVERIFY(f.open());
        f.data.core->options().setConfigByname("DefaultPrinter", stored);
        f.window->setInstalledPrinters(printers);
        f.window->setDefaultPrinter(QString());
        QCOMPARE(f.window->currentPrinterIndex(), index);
        QCOMPARE(f.data.core->session().billPrinterName, index < 0 ? QString() : printers[index]);
    }

    void pdfPrinterIsAlwaysListed()
    {
        Fixture f;
        QVERIFY(f.open());
        QCOMPARE(f.window->installedPrinters().last(), QStringLiteral("PDF"));
    }

    void printerSetupWithoutPrinters()
    {
        Fixture f;
        QVERIFY(f.open());
        f.window->setInstalledPrinters({});
        f.window->action("mPrinterSetup")->trigger();
        QCOMPARE(f.data.dialogs.lastText(),
                 QStringLiteral("没有检测到任何打印机驱动，无法设置,如果是新添加的打印机，请重新打开软件！"));
        QVERIFY(!f.data.core->session().printerReady);
    }

    void firstUseNotesToggle()
    {
        Fixture f;
        QVERIFY(f.open([](test::TestData &d) {
            d.core->options().setConfigByname("启用系统背景", "yes");
            d.core->LoadSysParam();
        }));
        f.window->resize(900, 600);
        f.window->show();
        QVERIFY(f.window->backgroundShown());
        f.window->action("tbFirstUse")->trigger();
        QVERIFY(f.window->notesVisible());
        QVERIFY(!f.window->backgroundShown());
        auto *notes = child<QPlainTextEdit>(f.window.get(), "memoFirstUse");
        QTest::mouseDClick(notes->viewport(), Qt::LeftButton);
        QVERIFY(!f.window->notesVisible());
        QVERIFY(f.window->backgroundShown());

        f.window->action("tbFirstUse")->trigger();
        QVERIFY(f.window->notesVisible());
        f.window->resize(1000, 700);
        QVERIFY(!f.window->notesVisible());
    }

    void runPathInsideArchiveEnds()
    {
        QTemporaryDir parent;
        test::ScriptedDialogs dialogs;
        app::AppCore core(store::DataDirectory(parent.path() + "/pack$1"), dialogs);
        QVERIFY(core.open());
        MainWindow window(core);
        QSignalSpy terminate(&window, &MainWindow::terminateRequested);
        QVERIFY(terminate.wait(1000));
        QVERIFY(dialogs.lastText().contains(QStringLiteral("压缩包")));
    }

    void referenceWindowsOpen_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("windowClass");
        QTest::addColumn<QString>("typeFilter");
        QTest::addColumn<QString>("tabCaption");
        QTest::newRow("menu: everything") << "mPersonManage" << "moque::ui::AddressBookWindow" << "" << "";
        QTest::newRow("own companies") << "tbOwnCompanies" << "moque::ui::AddressBookWindow" << "我方单位"
                                       << "【我方单位】";
        QTest::newRow("partners") << "tbPartners" << "moque::ui::AddressBookWindow" << "往来单位" << "【往来单位】";
        QTest::newRow("dictionaries") << "mDictionary" << "moque::ui::DictionaryWindow" << "" << "";
        QTest::newRow("currencies") << "mCurrency" << "moque::ui::CurrencyWindow" << "" << "";
        QTest::newRow("provinces") << "mProvinceCity" << "moque::ui::ProvinceCityWindow" << "" << "";
    }
    void referenceWindowsOpen()
    {
        QFETCH(QString, action);
        QFETCH(QString, windowClass);
        QFETCH(QString, typeFilter);
        QFETCH(QString, tabCaption);
        Fixture f;
        QVERIFY(f.open());
        QString opened;
        QString filter;
        QString caption;
        // The windows are modal: look at the one shown, then close it.
        QTimer::singleShot(0, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            opened = QString::fromLatin1(modal->metaObject()->className());
            if (auto *book = qobject_cast<ui::AddressBookWindow *>(modal)) {
                filter = book->typeFilter();
                caption = typeFilter.isEmpty() ? QString() : book->tabCaption();
            }
            modal->close();
        });
        f.window->action(action)->trigger();
        QCOMPARE(opened, windowClass);
        QCOMPARE(filter, typeFilter);
        QCOMPARE(caption, tabCaption);
    }

    void defaultIssuerIsLoadedAtStart_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<bool>("loaded");
        QTest::newRow("option on") << "yes" << true;
        QTest::newRow("option off") << "no" << false;
    }
    void defaultIssuerIsLoadedAtStart()
    {
        QFETCH(QString, option);
        QFETCH(bool, loaded);
        Fixture f;
        QVERIFY(f.open([&](test::TestData &d) {
            QVERIFY(d.exec("insert into CKPersonalInfoTable (全称,单位类型,分组) values (?,?,?)",
                           {QStringLiteral("墨雀科技"), QStringLiteral("我方单位"), QStringLiteral("默认出票人")}));
            d.core->options().setConfigByname("启用默认出票人", option);
            d.core->LoadSysParam();
        }));
        const auto &issuer = f.data.core->session().defaultIssuer;
        QCOMPARE(issuer.has_value(), loaded);
        if (loaded)
            QCOMPARE(issuer->fullName(), QStringLiteral("墨雀科技"));
    }

    void printItemsNeedAWaybill_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("message");
        QTest::newRow("single") << "mPrintBill" << "没有填开单据，打印什么呢？";
        QTest::newRow("repeat") << "mPrintRepeat" << "还没有填开单据呢，打印什么呢？";
    }
    void printItemsNeedAWaybill()
    {
        QFETCH(QString, action);
        QFETCH(QString, message);
        Fixture f;
        QVERIFY(f.open());
        f.window->action(action)->trigger();
        QCOMPARE(f.data.dialogs.lastText(), message);
        // With a waybill open, repeated printing asks for the number of copies.
        f.window->action("mKDD")->trigger();
        f.data.dialogs.clear();
        f.window->action("mPrintRepeat")->trigger();
        QCOMPARE(f.data.dialogs.shown.value(0).text, QStringLiteral("输入重复打印的张数"));
    }

    void waybillWindowOpensOnce()
    {
        Fixture f;
        QVERIFY(f.open());
        f.window->show();
        f.window->action("mKDD")->trigger();
        QVERIFY(f.window->waybillWindow());
        QCOMPARE(f.window->mdiArea()->subWindowList().size(), 1);
        QVERIFY(f.data.core->session().currentTemplateId > 0);
        f.window->action("pmKDD")->trigger();
        QCOMPARE(f.window->mdiArea()->subWindowList().size(), 1);
        QCOMPARE(f.data.dialogs.lastText(), QStringLiteral("请先关闭打开的单据！"));
    }

    void billChosenInHistoryOpensInTheWaybillWindow()
    {
        Fixture f;
        QVERIFY(f.open([](test::TestData &d) {
            QVERIFY(d.exec("insert into DataKDDTable (模板种类,收件单位,寄件日期) values (?,?,?)",
                           {QStringLiteral("通用快递单"), QStringLiteral("杭州星河"), QStringLiteral("2026-12-01")}));
        }));
        f.window->show();
        bool listed = false;
        // The history is modal: choose its first row, which opens the bill and closes the history.
        QTimer::singleShot(0, [&] {
            auto *history = qobject_cast<ui::WaybillHistoryWindow *>(QApplication::activeModalWidget());
            if (!history)
                return;
            auto *grid = child<QTableView>(history, "gridKDD");
            listed = grid->model()->rowCount() == 1;
            grid->setCurrentIndex(grid->model()->index(0, 0));
            history->openCurrentRow();
            if (history->isVisible())
                history->close();
        });
        f.window->action("mKDDHistory")->trigger();
        QVERIFY(listed);
        ui::WaybillWindow *waybill = f.window->waybillWindow();
        QVERIFY(waybill);
        QVERIFY(waybill->state().isHistory());
        QCOMPARE(waybill->state().checkId(),
                 f.data.scalar("select 流水号 from DataKDDTable").toInt());
    }

    void aRegisteredReceiptChosenInItsHistoryOpensToBeFilledIn()
    {
        Fixture f;
        QVERIFY(f.open([](test::TestData &d) {
            QVERIFY(d.exec("insert into DataCheckReceipt (模板种类,票据编号,票据状态) values (?,?,?)",
                           {QStringLiteral("通用收据"), QStringLiteral("00000001"), QStringLiteral("未用")}));
        }));
        f.window->show();
        // The waybill is open: the receipt may only come after it closes.
        f.window->action("mKDD")->trigger();
        f.window->action("mReceipt")->trigger();
        QCOMPARE(f.data.dialogs.lastText(), QStringLiteral("请先关闭打开的单据！"));
        QVERIFY(f.window->waybillWindow());
        f.data.dialogs.answers << true;
        bool listed = false;
        QTimer::singleShot(0, [&] {
            auto *history = qobject_cast<ui::InvoiceHistoryWindow *>(QApplication::activeModalWidget());
            if (!history)
                return;
            auto *grid = child<QTableView>(history, "DBGrid1");
            listed = grid->model()->rowCount() == 1;
            grid->setCurrentIndex(grid->model()->index(0, 0));
            history->openCurrentRow();
            if (history->isVisible())
                history->close();
        });
        f.window->action("mReceiptHistory")->trigger();
        QVERIFY(listed);
        auto *receipt = qobject_cast<ui::ReceiptWindow *>(f.window->entryWindow());
        QVERIFY(receipt);
        QCOMPARE(f.window->mdiArea()->subWindowList().size(), 1);
        QVERIFY(!receipt->state().isHistory());
        QCOMPARE(receipt->state().checkId(), f.data.scalar("select 流水号 from DataCheckReceipt").toInt());
        QCOMPARE(qobject_cast<QLineEdit *>(receipt->control("zdPJBH"))->text(), QStringLiteral("00000001"));
        QCOMPARE(receipt->billDate(), QDate::currentDate());
    }

    void theBackgroundMenuOpensTheInvoicesHiddenInTheMenuBar_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("window");
        QTest::newRow("freight") << "pmIntel" << "fmCheckIVIntel";
        QTest::newRow("export") << "pmExport" << "fmCheckCKSP";
        QTest::newRow("receipt") << "pmReceipt" << "fmCheckReceipts";
    }
    void theBackgroundMenuOpensTheInvoicesHiddenInTheMenuBar()
    {
        QFETCH(QString, item);
        QFETCH(QString, window);
        Fixture f;
        QVERIFY(f.open());
        f.window->show();
        f.window->action(item)->trigger();
        QVERIFY(f.window->entryWindow());
        QCOMPARE(f.window->entryWindow()->objectName(), window);
    }

    void repairItemSaysUnderConstruction()
    {
        Fixture f;
        QVERIFY(f.open());
        f.window->action("mRepairDb")->trigger();
        QCOMPARE(f.data.dialogs.lastText(), QStringLiteral("正在建设!"));
    }

    void aboutShowsVersion()
    {
        QCOMPARE(ui::AboutDialog::versionLine(), QStringLiteral("当前版本：") + app::getAppVersion(4) + "(H1)");
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
