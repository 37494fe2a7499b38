#include "app/MainWindow.h"

#include "app/AppCore.h"
#include "app/AppVersion.h"
#include "app/Session.h"
#include "app/AboutDialog.h"
#include "app/DesignCommands.h"
#include "app/TemplateCommands.h"
#include "app/OnlinePanel.h"
#include "common/Dialogs.h"
#include "print/KeptPrinters.h"
#include "print/PdfPrintDevice.h"
#include "print/SystemPrintDevice.h"
#include "print/BillPrinterDialog.h"
#include "entry/ExportInvoiceWindow.h"
#include "entry/FreightInvoiceWindow.h"
#include "entry/ReceiptWindow.h"
#include "history/InvoiceHistoryWindow.h"
#include "entry/WaybillWindow.h"
#include "batch/AddressRecognitionWindow.h"
#include "history/WaybillHistoryWindow.h"
#include "grid/GridExport.h"
#include "refdata/DAOPerson.h"
#include "refdata/DictionaryWindow.h"
#include "refdata/AddressBookWindow.h"
#include "refdata/CurrencyWindow.h"
#include "refdata/ProvinceCityWindow.h"
#include "settings/Options.h"
#include "users/LoginDialog.h"
#include "users/UserManagerWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QWheelEvent>

namespace moque::ui {

namespace {

const char *const notesText =
    "第一次使用墨雀票据打印，请按下面的步骤开始：\n"
    "\n"
    "1. 【新票据填开】→【填写快递单】打开快递单，选择与手中纸质单据相同的模板（默认模板在最前）。\n"
    "2. 单击寄件方、收件方旁的红圈，从【单位及客户资料管理】中选择单位；也可以直接输入助记码后回车。\n"
    "3. 填好内容后点【保存】，再点【单张打印】；每天大量打印时用【打印并保存】，单号自动清空，寄件方保留。\n"
    "4. 第一次打印前，请在【打印设置】→【锁定/匹配票据打印机】中选定针式打印机，\n"
    "   并用一张普通纸试打，对着光与预印单据比对；位置有偏差时在【打印整体偏移调整】中修正。\n"
    "5. 没有打印机时可以选择\"PDF\"打印机，把票据打印成PDF文件核对位置。\n"
    "6. 历史单据在【历史开票管理】中查询、统计、重新打开和导出。\n"
    "7. 需要登录时，在【系统管理】→【系统选项】中勾选\"进入系统需要密码验证\"，\n"
    "   并在【用户管理】中为每位操作员设置密码（初始管理员的密码为空）。\n"
    "\n"
    "双击本说明或再次点击工具栏的\"第一次用\"即可关闭。";

} // namespace

MainWindow::MainWindow(app::AppCore &core, QWidget *parent)
    : QMainWindow(parent)
    , m_core(core)
    , m_dialogs(core.dialogs())
{
    // The window keeps the form name the system knows it by.
    setObjectName(QStringLiteral("fmMain"));
    setObjectName(QStringLiteral("fm_Main"));
    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("MDIArea"));
    m_mdi->viewport()->installEventFilter(this);
    setCentralWidget(m_mdi);
    m_design = new DesignCommands(core, this, [this] { return entryWindow(); });
    m_templates = new TemplateCommands(core, this, *m_design, [this] { closeAllEntryWindows(); },
                                       [this] { return entryWindow(); });

    m_notes = new QPlainTextEdit(m_mdi);
    m_notes->setObjectName(QStringLiteral("memoFirstUse"));
    m_notes->setReadOnly(true);
    m_notes->setPlainText(QString::fromUtf8(notesText));
    QFont notesFont = m_notes->font();
    notesFont.setPointSize(notesFont.pointSize() + 2);
    m_notes->setFont(notesFont);
    m_notes->viewport()->installEventFilter(this);
    m_notes->hide();

    m_onlinePanel = new OnlinePanel(this);
    addDockWidget(Qt::RightDockWidgetArea, m_onlinePanel);
    connect(m_onlinePanel, &OnlinePanel::hideForTodayRequested, this, [this] {
        const QDate today = QDate::currentDate();
        m_core.options().setConfigByname(settings::option::hideAdPanelDate,
                                         QString::number(app::dayStamp(today.year(), today.month(), today.day())));
        showOnlinePanel(false);
    });

    m_loginRunner = [this] {
        LoginDialog login(m_core, this);
        login.exec();
    };

    buildMenus();
    buildToolbar();
    buildStatusBar();
    buildBackgroundMenu();

    m_timer = new QTimer(this);
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &MainWindow::timerTick);

    runCreationSequence();
    m_timer->start();
}

MainWindow::~MainWindow() = default;

QString MainWindow::exitQuestion(const QString &brandWord)
{
    return QStringLiteral("真的要退出【") + brandWord + QStringLiteral("票据打印】系统吗？");
}

QAction *MainWindow::addItem(QMenu *menu, const QString &name, const QString &caption)
{
    auto *a = new QAction(caption, this);
    a->setObjectName(name);
    menu->addAction(a);
    return a;
}

QAction *MainWindow::action(const QString &name) const
{
    return findChild<QAction *>(name);
}

void MainWindow::addItems(QMenu *menu, std::initializer_list<MenuItem> items)
{
    for (const MenuItem &i : items) {
        QAction *a = addItem(menu, QLatin1String(i.name), QString::fromUtf16(i.caption));
        a->setEnabled(i.enabled);
        a->setVisible(i.visible);
    }
}

void MainWindow::buildMenus()
{
    buildNewBillMenu();
    buildHistoryMenu();
    buildSystemMenu();
    buildPrintMenu();
    buildToolsMenu();
    buildToolbarToggle();
    buildHelpMenu();
}

void MainWindow::buildNewBillMenu()
{
    // Bill entry. The entry windows come with their own work; until they
    // exist their items stay in place, greyed.
    QMenu *newMenu = menuBar()->addMenu(QStringLiteral("新票据填开(&F)"));
    newMenu->setObjectName(QStringLiteral("mnuNew"));
    m_newBillMenu = newMenu->addMenu(QStringLiteral("填开新票据"));
    m_newBillMenu->setObjectName(QStringLiteral("mnuNewBill"));
    connect(addItem(m_newBillMenu, QStringLiteral("mReceipt"), QStringLiteral("普通发票收据")), &QAction::triggered,
            this, &MainWindow::openReceiptWindow);
    QAction *freight = addItem(m_newBillMenu, QStringLiteral("mIntelInvoice"), QStringLiteral("国际货运发票"));
    freight->setVisible(false);
    connect(freight, &QAction::triggered, this, &MainWindow::openFreightInvoiceWindow);
    QAction *exportInvoice = addItem(m_newBillMenu, QStringLiteral("mExportInvoice"), QStringLiteral("出口商品发票"));
    exportInvoice->setVisible(false);
    connect(exportInvoice, &QAction::triggered, this, &MainWindow::openExportInvoiceWindow);
    m_newBillMenu->addSeparator();
    addItems(m_newBillMenu, {{"mCheque", u"支票", false, true},
                             {"mJinZhang", u"进账单", false, true},
                             {"mDianHui", u"电汇单", false, true},
                             {"mXianJin", u"现金缴款单", false, true},
                             {"mChengDui", u"承兑汇票", false, true},
                             {"mJingWai", u"境外汇款申请", false, true},
                             {"mCustomBill", u"定制单", false, true}});
    action(QStringLiteral("mCheque"))->setShortcut(QKeySequence(QStringLiteral("Ctrl+B")));
    action(QStringLiteral("mJinZhang"))->setShortcut(QKeySequence(QStringLiteral("Ctrl+A")));
    action(QStringLiteral("mDianHui"))->setShortcut(QKeySequence(QStringLiteral("Ctrl+D")));
    m_newBillMenu->addSeparator();
    connect(addItem(m_newBillMenu, QStringLiteral("mKDD"), QStringLiteral("填写快递单")), &QAction::triggered, this,
            &MainWindow::openWaybillWindow);

    QMenu *otherMenu = newMenu->addMenu(QStringLiteral("其他定制票据"));
    otherMenu->setObjectName(QStringLiteral("mnuOtherBills"));
    addItems(otherMenu, {{"mSeaFreight", u"海运业发票", false, true},
                         {"mVatInvoice", u"增值税发票", false, true},
                         {"mTaxInvoice", u"国地税发票", false, true},
                         {"mOtherInvoice", u"其他发票", false, true},
                         {"mDeliveryNote", u"送货单", false, true},
                         {"mSalesNote", u"销售单", false, true},
                         {"mJewelryWarranty", u"珠宝质保单", false, true},
                         {"mPaymentNote", u"单位收付款单", false, true}});
    newMenu->addSeparator();
    connect(addItem(newMenu, QStringLiteral("m_CloseALL"), QStringLiteral("关闭所有填开单据")), &QAction::triggered,
            this, &MainWindow::closeAllEntryWindows);
}

void MainWindow::buildHistoryMenu()
{
    QMenu *historyMenu = menuBar()->addMenu(QStringLiteral("历史开票管理(&S)"));
    historyMenu->setObjectName(QStringLiteral("mnuHistory"));
    connect(addItem(historyMenu, QStringLiteral("mReceiptHistory"), QStringLiteral("收据及发票管理")),
            &QAction::triggered, this, &MainWindow::openReceiptHistory);
    connect(addItem(historyMenu, QStringLiteral("mKDDHistory"), QStringLiteral("快递单管理")), &QAction::triggered,
            this, &MainWindow::openWaybillHistory);
    QAction *freightHistory = addItem(historyMenu, QStringLiteral("mIntelHistory"), QStringLiteral("国际货运发票管理"));
    freightHistory->setVisible(false);
    connect(freightHistory, &QAction::triggered, this, &MainWindow::openFreightInvoiceHistory);
    QAction *exportHistory = addItem(historyMenu, QStringLiteral("mExportHistory"), QStringLiteral("出口商品发票管理"));
    exportHistory->setVisible(false);
    connect(exportHistory, &QAction::triggered, this, &MainWindow::openExportInvoiceHistory);
    addItems(historyMenu, {{"mChequeHistory", u"支票管理(&Z)", false, false},
                           {"mDianHuiHistory", u"电汇单管理(&D)", false, false},
                           {"mChengDuiHistory", u"承兑汇票管理", false, false},
                           {"mJingWaiHistory", u"境外汇款申请书管理", false, false},
                           {"mXianJinHistory", u"现金缴款单管理", false, false},
                           {"mJinZhangHistory", u"进帐单管理(&J)", false, false}});
}

void MainWindow::buildSystemMenu()
{
    QMenu *systemMenu = menuBar()->addMenu(QStringLiteral("系统管理(&M)"));
    systemMenu->setObjectName(QStringLiteral("mnuSystem"));
    connect(addItem(systemMenu, QStringLiteral("mPersonManage"), QStringLiteral("单位及客户资料管理(&K)")),
            &QAction::triggered, this, [this] { openPersonManage({}, {}); });
    connect(addItem(systemMenu, QStringLiteral("mDesignMode"), QStringLiteral("设计模式（票据模板界面及打印效果调整）")),
            &QAction::triggered, this, [this] { m_design->openDesignMode(); });
    connect(addItem(systemMenu, QStringLiteral("mTemplateImport"), QStringLiteral("票据模板导入")), &QAction::triggered,
            this, [this] { m_templates->openTemplatePackages(false); });
    connect(addItem(systemMenu, QStringLiteral("mTemplateManage"), QStringLiteral("票据模板管理（默认、显示、隐藏）")),
            &QAction::triggered, this, [this] { m_templates->openTemplateManager(); });
    systemMenu->addSeparator();
    connect(addItem(systemMenu, QStringLiteral("mDictionary"), QStringLiteral("字典管理设置(&N) 用途、始发站等")),
            &QAction::triggered, this, &MainWindow::openDictionaries);
    connect(addItem(systemMenu, QStringLiteral("mCurrency"), QStringLiteral("币种设置")), &QAction::triggered, this,
            [this] {
                CurrencyWindow window(m_core, this);
                window.setExporter(
                    [this](QTableView *grid, const QString &title) { ExportGrid2Excel(grid, title, m_dialogs); });
                window.exec();
            });
    connect(addItem(systemMenu, QStringLiteral("mProvinceCity"), QStringLiteral("省市代码设置(&O)")),
            &QAction::triggered, this, [this] {
                ProvinceCityWindow window(m_core, this);
                window.exec();
            });
    systemMenu->addSeparator();
    connect(addItem(systemMenu, QStringLiteral("mUserManage"), QStringLiteral("用户管理")), &QAction::triggered, this,
            &MainWindow::openUserManage);
    buildOptionsMenu(systemMenu);
}

void MainWindow::buildOptionsMenu(QMenu *systemMenu)
{
    QMenu *optionsMenu = systemMenu->addMenu(QStringLiteral("系统选项(&Y)"));
    optionsMenu->setObjectName(QStringLiteral("mnuOptions"));
    const struct
    {
        const char *name;
        const char16_t *caption;
    } options[] = {{"mOptPopPrinter", u"打印前弹出打印机配置窗口"},
                   {"mOptLogin", u"进入系统需要密码验证"},
                   {"mOptBackground", u"启用系统背景图"},
                   {"mOptDefaultIssuer", u"启用默认出票人"}};
    for (const auto &o : options) {
        QAction *a = addItem(optionsMenu, QLatin1String(o.name), QString::fromUtf16(o.caption));
        a->setCheckable(true);
    }
    // The items write the opposite of their tick; the tick itself always follows the stored option.
    connect(action(QStringLiteral("mOptPopPrinter")), &QAction::triggered, this,
            [this](bool ticked) { toggleOption(settings::option::popPrinterSetup, ticked); });
    connect(action(QStringLiteral("mOptLogin")), &QAction::triggered, this,
            [this](bool ticked) { toggleOption(settings::option::loginRequired, ticked); });
    connect(action(QStringLiteral("mOptDefaultIssuer")), &QAction::triggered, this,
            [this](bool ticked) { toggleOption(settings::option::useDefaultIssuer, ticked); });
    connect(action(QStringLiteral("mOptBackground")), &QAction::triggered, this, &MainWindow::toggleBackgroundOption);
}

void MainWindow::buildPrintMenu()
{
    QMenu *printMenu = menuBar()->addMenu(QStringLiteral("打印设置(&P)"));
    printMenu->setObjectName(QStringLiteral("mnuPrint"));
    // Printing the open bill from the menu; repeated printing has no button on the waybill window.
    connect(addItem(printMenu, QStringLiteral("mPrintBill"), QStringLiteral("单张打印(&P)")), &QAction::triggered,
            this, [this] {
                if (EntryWindow *w = entryWindow())
                    w->printOne();
                else
                    m_dialogs.info(QStringLiteral("没有填开单据，打印什么呢？"));
            });
    connect(addItem(printMenu, QStringLiteral("mPrintRepeat"), QStringLiteral("重复打印")), &QAction::triggered, this,
            [this] {
                if (EntryWindow *w = entryWindow())
                    w->printRepeatedly();
                else
                    m_dialogs.info(QStringLiteral("还没有填开单据呢，打印什么呢？"));
            });
    printMenu->addSeparator();
    connect(addItem(printMenu, QStringLiteral("mPrintOffset"), QStringLiteral("打印整体偏移调整(&M)")),
            &QAction::triggered, this, [this] { m_design->openPrintOffset(); });
    connect(addItem(printMenu, QStringLiteral("mLockPrinter"), QStringLiteral("锁定/匹配票据打印机")),
            &QAction::triggered, this, &MainWindow::openLockPrinter);
    connect(addItem(printMenu, QStringLiteral("mPrinterSetup"), QStringLiteral("打印机设置 (&C)")),
            &QAction::triggered, this, &MainWindow::setUpPrinter);
    // Paper sizes of a printer are added in the printing system's own administration pages.
    connect(addItem(printMenu, QStringLiteral("mPaperSize"), QStringLiteral("添加打印机纸张规格")),
            &QAction::triggered, this, [this] { openWebPage(QStringLiteral("http://localhost:631/printers/")); });
}

void MainWindow::buildToolsMenu()
{
    QMenu *toolsMenu = menuBar()->addMenu(QStringLiteral("工具(&T)"));
    toolsMenu->setObjectName(QStringLiteral("mnuTools"));
    connect(addItem(toolsMenu, QStringLiteral("mOnlineUpgrade"), QStringLiteral("在线升级")), &QAction::triggered,
            this, [this] {
                m_onlinePanel->showPage(OnlinePanel::Page::Upgrade);
                showOnlinePanel(true);
            });
    connect(addItem(toolsMenu, QStringLiteral("mClearCache"), QStringLiteral("清除软件缓存文件")), &QAction::triggered,
            this, [this] { m_templates->resetCache(entryWindow() != nullptr); });
    connect(addItem(toolsMenu, QStringLiteral("mRepairDb"), QStringLiteral("修复压缩数据库")), &QAction::triggered,
            this, [this] { m_dialogs.info(QStringLiteral("正在建设!")); });
    toolsMenu->addSeparator();
    connect(addItem(toolsMenu, QStringLiteral("mLockScreen"), QStringLiteral("锁定电脑屏幕")), &QAction::triggered,
            this, &MainWindow::lockScreen);
    connect(addItem(toolsMenu, QStringLiteral("mOnlineCenter"), QStringLiteral("显示\\隐藏在线中心")),
            &QAction::triggered, this, [this] { showOnlinePanel(!m_onlinePanel->isVisible()); });
    connect(addItem(toolsMenu, QStringLiteral("mPostcode"), QStringLiteral("邮政编码查询")), &QAction::triggered,
            this, [this] { openWebPage(QStringLiteral("https://www.chinapost.com.cn/")); });
    connect(addItem(toolsMenu, QStringLiteral("mCalculator"), QStringLiteral("计算器 (&U)")), &QAction::triggered,
            this, &MainWindow::startCalculator);
}

void MainWindow::buildToolbarToggle()
{
    QAction *toolbarToggle = menuBar()->addAction(QStringLiteral("显示/隐藏工具栏(&L)"));
    toolbarToggle->setObjectName(QStringLiteral("mToggleToolbar"));
    connect(toolbarToggle, &QAction::triggered, this, &MainWindow::toggleToolbar);
}

void MainWindow::buildHelpMenu()
{
    QMenu *helpMenu = menuBar()->addMenu(QStringLiteral("帮 助(&H)"));
    helpMenu->setObjectName(QStringLiteral("mnuHelp"));
    // Hidden, as the form ships it: an older data file opens the upgrade at start.
    QAction *upgrade = addItem(helpMenu, QStringLiteral("mUpgrade928"), QStringLiteral("升级到9.28"));
    upgrade->setVisible(false);
    connect(upgrade, &QAction::triggered, this, [this] { m_templates->openUpgrade(); });
    connect(addItem(helpMenu, QStringLiteral("mAbout"), QStringLiteral("关于 (&A)")), &QAction::triggered, this,
            &MainWindow::openAbout);
    QAction *help = addItem(helpMenu, QStringLiteral("mHelp"), QStringLiteral("帮助 (&H)"));
    help->setShortcut(QKeySequence(Qt::Key_F1));
    connect(help, &QAction::triggered, this, [this] {
        m_onlinePanel->showPage(OnlinePanel::Page::Help);
        showOnlinePanel(true);
    });
    helpMenu->addSeparator();
    connect(addItem(helpMenu, QStringLiteral("mRestart"), QStringLiteral("重启软件")), &QAction::triggered, this,
            &MainWindow::restartProgram);
    connect(addItem(helpMenu, QStringLiteral("mExit"), QStringLiteral("退出 (&Q)")), &QAction::triggered, this,
            &MainWindow::exitProgram);
}

void MainWindow::buildToolbar()
{
    m_toolbar = addToolBar(QStringLiteral("工具栏"));
    m_toolbar->setObjectName(QStringLiteral("ToolBarMain"));
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolbar->setMovable(false);
    auto add = [this](const QString &name, const QString &caption, const QIcon &icon) {
        auto *a = new QAction(icon, caption, this);
        a->setObjectName(name);
        m_toolbar->addAction(a);
        return a;
    };
    QStyle *s = style();

    QAction *newBill = add(QStringLiteral("tbNewBill"), QStringLiteral("填开新票据"),
                           s->standardIcon(QStyle::SP_FileIcon));
    newBill->setMenu(m_newBillMenu);
    if (auto *button = qobject_cast<QToolButton *>(m_toolbar->widgetForAction(newBill)))
        button->setPopupMode(QToolButton::InstantPopup);

    QAction *dictionary = add(QStringLiteral("tbDictionary"), QStringLiteral("字典管理"),
                              s->standardIcon(QStyle::SP_FileDialogDetailedView));
    dictionary->setVisible(false);
    connect(dictionary, &QAction::triggered, this, &MainWindow::openDictionaries);
    connect(add(QStringLiteral("tbOwnCompanies"), QStringLiteral("我方单位"), s->standardIcon(QStyle::SP_DirHomeIcon)),
            &QAction::triggered, this,
            [this] { openPersonManage(QStringLiteral("我方单位"), QStringLiteral("【我方单位】")); });
    connect(add(QStringLiteral("tbPartners"), QStringLiteral("往来单位(&K)"), s->standardIcon(QStyle::SP_DirIcon)),
            &QAction::triggered, this,
            [this] { openPersonManage(QStringLiteral("往来单位"), QStringLiteral("【往来单位】")); });
    // Hidden, as the form ships it; the system menu reaches the management.
    QAction *templates = add(QStringLiteral("tbTemplateManage"), QStringLiteral("模板管理"),
                             s->standardIcon(QStyle::SP_FileDialogListView));
    templates->setVisible(false);
    connect(templates, &QAction::triggered, this, [this] { m_templates->openTemplateManager(); });
    connect(add(QStringLiteral("tbPrinter"), QStringLiteral("打印机(&C)"), s->standardIcon(QStyle::SP_ComputerIcon)),
            &QAction::triggered, this, &MainWindow::setUpPrinter);
    connect(add(QStringLiteral("tbTemplateImport"), QStringLiteral("新模板导入"),
                s->standardIcon(QStyle::SP_DialogOpenButton)),
            &QAction::triggered, this, [this] { m_templates->openTemplatePackages(false); });
    QAction *firstUse = add(QStringLiteral("tbFirstUse"), QStringLiteral("第一次用"),
                            s->standardIcon(QStyle::SP_MessageBoxInformation));
    connect(firstUse, &QAction::triggered, this, &MainWindow::toggleFirstUseNotes);
    connect(add(QStringLiteral("tbExit"), QStringLiteral("退出 (&Q)"), s->standardIcon(QStyle::SP_DialogCloseButton)),
            &QAction::triggered, this, &MainWindow::exitProgram);
}

void MainWindow::buildStatusBar()
{
    for (int i = 0; i < 4; ++i) {
        auto *label = new QLabel(this);
        label->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        label->setContentsMargins(6, 0, 6, 0);
        m_panels << label;
        if (i < 3)
            statusBar()->addWidget(label);
        else
            statusBar()->addPermanentWidget(label);
    }
    m_panels[0]->setText(QStringLiteral("系统已就绪"));
    m_panels[0]->setMinimumWidth(140);
    m_panels[2]->setMinimumWidth(260);
}

void MainWindow::buildBackgroundMenu()
{
    m_backgroundMenu = new QMenu(this);
    m_backgroundMenu->setObjectName(QStringLiteral("pmBackground"));
    const struct
    {
        const char *name;
        const char16_t *caption;
        const char *follows;
    } items[] = {{"pmReceipt", u"普通发票收据", "mReceipt"},   {"pmKDD", u"快递单", "mKDD"},
                 {"pmIntel", u"国际货运发票", "mIntelInvoice"}, {"pmExport", u"出口商品发票", "mExportInvoice"},
                 {"pmCustom", u"定制单", "mCustomBill"}};
    // The freight and export invoices are hidden in the menu bar: this menu is the way to them.
    for (const auto &i : items) {
        QAction *a = addItem(m_backgroundMenu, QLatin1String(i.name), QString::fromUtf16(i.caption));
        QAction *menuItem = action(QLatin1String(i.follows));
        connect(a, &QAction::triggered, menuItem, [menuItem] {
            // A hidden action does not trigger: show it for the moment it takes.
            const bool visible = menuItem->isVisible();
            menuItem->setVisible(true);
            menuItem->trigger();
            menuItem->setVisible(visible);
        });
    }
    action(QStringLiteral("pmCustom"))->setVisible(false);
    m_backgroundMenu->addSeparator();
    connect(addItem(m_backgroundMenu, QStringLiteral("pmRefresh"), QStringLiteral("刷新")), &QAction::triggered, this,
            [this] {
                showOnlinePanel(true);
                loadBackground();
            });
    connect(addItem(m_backgroundMenu, QStringLiteral("pmHelp"), QStringLiteral("帮助")), &QAction::triggered,
            action(QStringLiteral("mHelp")), &QAction::trigger);
}

void MainWindow::runCreationSequence()
{
    const QString version = app::getAppVersion(2);
    LoadSysParam();

    const QDate today = QDate::currentDate();
    const QString hiddenOn = m_core.options().getConfigByname(settings::option::hideAdPanelDate);
    showOnlinePanel(hiddenOn != QString::number(app::dayStamp(today.year(), today.month(), today.day())));

    m_core.settings().OpenUserIniFile();
    m_toolbar->setVisible(m_core.settings().toolbarVisible());

    if (QScreen *screen = QGuiApplication::primaryScreen(); screen && screen->size().height() < 750)
        m_panels[0]->setText(QStringLiteral("显示器分辨率太低"));

    if (m_core.session().params.systemBackground)
        loadBackground();
    else
        showBackground(false);

    m_tickCount = 0;
    const QString executable = QDir::toNativeSeparators(QCoreApplication::applicationFilePath());
    m_panels[3]->setText(executable);

    const QString runPath = m_core.dir().root();
    if (runPath.contains(QLatin1Char('$'))) {
        m_dialogs.error(QStringLiteral("本软件不能在压缩包内直接运行，请先解压到非系统盘的文件夹中再运行！"),
                        QStringLiteral("提示"));
        QTimer::singleShot(0, this, &MainWindow::terminateRequested);
    }

    settings::InstallRecord record(m_core.settings().file());
    if (!record.update(QDir::toNativeSeparators(runPath), version, executable))
        m_dialogs.error(QStringLiteral("注册表读写错误！"));

    setWindowTitle(QStringLiteral("墨雀票据打印V") + version);

    m_printers = billPrinterNames();
    setDefaultPrinter(m_core.options().getConfigByname(settings::option::defaultPrinter));

    if (m_core.session().params.useDefaultIssuer)
        LoadDefaultIssuer();
}

void MainWindow::LoadDefaultIssuer()
{
    m_core.session().defaultIssuer = refdata::DAOPerson(m_core.db()).LoadDefaultIssuer();
}

void MainWindow::LoadSysParam()
{
    m_core.LoadSysParam();
    const settings::SysParams &p = m_core.session().params;
    action(QStringLiteral("mOptPopPrinter"))->setChecked(p.popPrinterSetup);
    action(QStringLiteral("mOptLogin"))->setChecked(p.loginRequired);
    action(QStringLiteral("mOptBackground"))->setChecked(p.systemBackground);
    action(QStringLiteral("mOptDefaultIssuer"))->setChecked(p.useDefaultIssuer);
}

void MainWindow::toggleOption(const QString &option, bool ticked)
{
    // The menu has already flipped the tick: the stored value is the opposite of the old tick.
    m_core.options().setConfigByname(option, ticked ? QStringLiteral("yes") : QStringLiteral("no"));
    LoadSysParam();
}

void MainWindow::toggleBackgroundOption()
{
    QAction *item = action(QStringLiteral("mOptBackground"));
    const bool wasTicked = !item->isChecked();
    if (wasTicked) {
        m_core.options().setConfigByname(settings::option::systemBackground, QStringLiteral("no"));
        item->setChecked(false);
        m_core.session().params.systemBackground = false;
        m_dialogs.info(QStringLiteral("需要重启软件才生效哦！"));
    } else {
        m_core.options().setConfigByname(settings::option::systemBackground, QStringLiteral("yes"));
        item->setChecked(true);
        m_core.session().params.systemBackground = true;
        loadBackground();
    }
}

void MainWindow::loadBackground()
{
    if (!m_core.session().params.systemBackground) {
        showBackground(false);
        return;
    }
    m_background = QImage(m_core.dir().imageDir() + QStringLiteral("sys_bg.jpg"));
    showBackground(!notesVisible());
}

void MainWindow::showBackground(bool shown)
{
    m_backgroundShown = shown && !m_background.isNull();
    if (m_backgroundShown)
        m_mdi->setBackground(QBrush(m_background.scaled(m_mdi->size(), Qt::IgnoreAspectRatio,
                                                         Qt::SmoothTransformation)));
    else
        m_mdi->setBackground(palette().brush(QPalette::Dark));
}

void MainWindow::setDefaultPrinter(const QString &name)
{
    const int index =
        app::choosePrinter(m_printers, name, m_core.options().getConfigByname(settings::option::defaultPrinter));
    if (index < 0)
        return;
    m_currentPrinter = index;
    m_core.session().billPrinterName = m_printers[index];
}

void MainWindow::setInstalledPrinters(const QStringList &names)
{
    m_printers = names;
    m_currentPrinter = -1;
    m_core.session().billPrinterName.clear();
}

bool MainWindow::canOpenEntryWindow()
{
    if (m_mdi->subWindowList().isEmpty())
        return true;
    m_dialogs.message(QStringLiteral("请先关闭打开的单据！"), QStringLiteral("提示"), Dialogs::Icon::Information);
    return false;
}

QString MainWindow::statusText(int panel) const
{
    return panel >= 0 && panel < m_panels.size() ? m_panels[panel]->text() : QString();
}

void MainWindow::timerTick()
{
    m_panels[2]->setText(QStringLiteral(" 当前时间：")
                         + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    ++m_tickCount;
    if (m_tickCount == 1 && m_core.session().params.loginRequired) {
        m_loginRunner();
        if (m_core.session().currentUserName.isEmpty()) {
            m_timer->stop();
            Q_EMIT terminateRequested();
            return;
        }
    }
    const QString user = m_core.session().currentUserName;
    m_panels[1]->setText(user.isEmpty() ? QString() : QStringLiteral("操作员：") + user);
}

void MainWindow::upgradeIfNeeded()
{
    m_templates->upgradeIfNeeded();
}

void MainWindow::closeAllEntryWindows()
{
    m_mdi->closeAllSubWindows();
}

void MainWindow::exitProgram()
{
    const QString question = exitQuestion(m_core.settings().brandWord());
    if (m_dialogs.ask(question, QStringLiteral("确认"), Dialogs::Icon::Information)) {
        close();
        Q_EMIT terminateRequested();
    }
}

void MainWindow::restartProgram()
{
    if (!m_dialogs.alert(QStringLiteral("确定要重开软件吗?"), QStringLiteral("重启软件"), true))
        return;
    m_mdi->closeAllSubWindows();
    close();
    Q_EMIT restartRequested();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Entry windows close through their own path first: their save question and their stored places.
    m_mdi->closeAllSubWindows();
    m_timer->stop();
    m_core.settings().flush();
    event->accept();
}

void MainWindow::toggleToolbar()
{
    const bool shown = !m_toolbar->isVisible();
    m_toolbar->setVisible(shown);
    m_core.settings().setToolbarVisible(shown);
}

bool MainWindow::notesVisible() const
{
    return m_notes->isVisible();
}

void MainWindow::placeNotes()
{
    m_notes->setGeometry(m_mdi->rect().adjusted(20, 20, -20, -20));
}

void MainWindow::toggleFirstUseNotes()
{
    if (notesVisible()) {
        m_notes->hide();
        showBackground(m_core.session().params.systemBackground);
        showOnlinePanel(true);
    } else {
        placeNotes();
        m_notes->show();
        m_notes->raise();
        showBackground(false);
    }
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (notesVisible())
        toggleFirstUseNotes();
    else if (m_backgroundShown)
        showBackground(true);
}

void MainWindow::wheelEvent(QWheelEvent *event)
{
    // The wheel scrolls like the arrow keys: towards the user is down.
    const int key = event->angleDelta().y() < 0 ? Qt::Key_Down : Qt::Key_Up;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(this, &press);
    event->accept();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_notes->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        toggleFirstUseNotes();
        return true;
    }
    if (watched == m_mdi->viewport() && event->type() == QEvent::ContextMenu && m_mdi->subWindowList().isEmpty()) {
        m_backgroundMenu->popup(static_cast<QContextMenuEvent *>(event)->globalPos());
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::setUpPrinter()
{
    if (m_printers.isEmpty()) {
        m_dialogs.error(
            QStringLiteral("没有检测到任何打印机驱动，无法设置,如果是新添加的打印机，请重新打开软件！"));
        return;
    }
    // The dialog opens on the printer the next bill goes to; the PDF printer has no
    // settings of its own, so the dialog then starts on its own choice.
    QString printer = jobPrinterName(m_core.session().billPrinterName);
    if (printer == print::PdfPrintDevice::printerName)
        printer.clear();
    if (!printer.isEmpty() && !KeptPrinters::session().printer(printer).isValid()) {
        m_dialogs.info(QStringLiteral("打开打印机设置对话框出错，请确认打印机是否可用！"));
        return;
    }
    printer = KeptPrinters::session().setUp(printer, this, QStringLiteral("确定"));
    m_core.session().printerReady = !printer.isEmpty();
    // A printer chosen in the dialog is the bill printer for the rest of the session.
    const int index = int(m_printers.indexOf(printer));
    if (index >= 0) {
        m_currentPrinter = index;
        m_core.session().billPrinterName = m_printers[index];
    }
}

void MainWindow::openUserManage()
{
    UserManagerWindow window(m_core, this);
    window.exec();
}

void MainWindow::openPersonManage(const QString &type, const QString &tabCaption)
{
    AddressBookWindow window(m_core, this, [this](QTableView *grid, const QString &title) {
        ExportGrid2Excel(grid, title, m_dialogs);
    });
    if (!type.isEmpty())
        window.setTypeFilter(type, tabCaption);
    window.setEntryWindowsOpen([this] { return !m_mdi->subWindowList().isEmpty(); });
    connect(&window, &AddressBookWindow::defaultIssuerChanged, this, &MainWindow::LoadDefaultIssuer);
    connect(&window, &AddressBookWindow::closeEntryWindowsRequested, this, &MainWindow::closeAllEntryWindows);
    window.exec();
}

void MainWindow::openDictionaries()
{
    DictionaryWindow window(m_core, m_core.session().currentTemplateId, this);
    window.setExporter([this](QTableView *grid, const QString &title) { ExportGrid2Excel(grid, title, m_dialogs); });
    window.exec();
}

EntryWindow *MainWindow::entryWindow() const
{
    for (QMdiSubWindow *sub : m_mdi->subWindowList())
        if (auto *w = qobject_cast<EntryWindow *>(sub->widget()))
            return w;
    return nullptr;
}

WaybillWindow *MainWindow::waybillWindow() const
{
    return qobject_cast<WaybillWindow *>(entryWindow());
}

WaybillWindow *MainWindow::openWaybillWindow()
{
    WaybillWindow *window = openEntryWindow<WaybillWindow>(&MainWindow::openWaybillHistory);
    if (window)
        connect(window, &WaybillWindow::addressRecognitionRequested, this,
                [this, window] { openAddressRecognition(window); });
    return window;
}

// 地址串识别: the recognised party goes to the waybill window that asked.
void MainWindow::openAddressRecognition(WaybillWindow *waybill)
{
    AddressRecognitionWindow window(m_core, this);
    window.setWaybillWindow(waybill);
    window.pasteAndRecognize();
    window.exec();
}

ReceiptWindow *MainWindow::openReceiptWindow()
{
    return openEntryWindow<ReceiptWindow>(&MainWindow::openReceiptHistory);
}

FreightInvoiceWindow *MainWindow::openFreightInvoiceWindow()
{
    return openEntryWindow<FreightInvoiceWindow>(&MainWindow::openFreightInvoiceHistory);
}

ExportInvoiceWindow *MainWindow::openExportInvoiceWindow()
{
    return openEntryWindow<ExportInvoiceWindow>(&MainWindow::openExportInvoiceHistory);
}

// The kind's window as the one MDI child, unless another is open or the kind
// has no template to open on.
template<class Window>
Window *MainWindow::openEntryWindow(void (MainWindow::*openHistory)())
{
    if (!canOpenEntryWindow())
        return nullptr;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    auto window = std::make_unique<Window>(m_core);
    QApplication::restoreOverrideCursor();
    if (!window->isUsable())
        return nullptr;
    QMdiSubWindow *sub = m_mdi->addSubWindow(window.get());
    sub->setAttribute(Qt::WA_DeleteOnClose);
    connect(window.get(), &EntryWindow::openHistoryRequested, this, openHistory);
    connect(window.get(), &EntryWindow::designRequested, m_design, &DesignCommands::openDesignMode);
    connect(window.get(), &EntryWindow::offsetRequested, m_design, &DesignCommands::openPrintOffset);
    connect(window.get(), &EntryWindow::templateManageRequested, m_templates, &TemplateCommands::openTemplateManager);
    window->show();
    sub->showMaximized();
    return window.release();
}

void MainWindow::openWaybillHistory()
{
    WaybillHistoryWindow history(m_core, this);
    history.setExporter([this](QTableView *grid, const QString &title) { ExportGrid2Excel(grid, title, m_dialogs); });
    connect(&history, &WaybillHistoryWindow::openBillRequested, this,
            [this, &history](const QString &templateName, int id) { openSavedWaybill(history, templateName, id); },
            Qt::DirectConnection);
    history.exec();
}

void MainWindow::openReceiptHistory()
{
    openInvoiceHistory(history::InvoiceKind::Receipt);
}

void MainWindow::openFreightInvoiceHistory()
{
    openInvoiceHistory(history::InvoiceKind::Freight);
}

void MainWindow::openExportInvoiceHistory()
{
    openInvoiceHistory(history::InvoiceKind::Export);
}

void MainWindow::openInvoiceHistory(history::InvoiceKind kind)
{
    InvoiceHistoryWindow history(m_core, kind, this);
    history.setExporter([this](QTableView *grid, const QString &title) { ExportGrid2Excel(grid, title, m_dialogs); });
    connect(&history, &InvoiceHistoryWindow::openBill, this,
            [this, &history](const QString &kindName, qint64 id) {
                if (kindName == ReceiptWindow::kindName())
                    reopenBill(history, &MainWindow::openReceiptWindow, {}, int(id));
                else if (kindName == FreightInvoiceWindow::kindName())
                    reopenBill(history, &MainWindow::openFreightInvoiceWindow, {}, int(id));
                else if (kindName == ExportInvoiceWindow::kindName())
                    reopenBill(history, &MainWindow::openExportInvoiceWindow, {}, int(id));
            },
            Qt::DirectConnection);
    history.exec();
}

void MainWindow::openSavedWaybill(WaybillHistoryWindow &history, const QString &templateName, int id)
{
    reopenBill(history, &MainWindow::openWaybillWindow, templateName, id);
}

// A saved bill opens in its kind's window; another kind's window must close first.
template<class Window, class History>
void MainWindow::reopenBill(History &history, Window *(MainWindow::*open)(), const QString &templateName, int id)
{
    auto *window = qobject_cast<Window *>(entryWindow());
    if (!window && !m_mdi->subWindowList().isEmpty()) {
        if (!m_dialogs.ask(QStringLiteral("自动关闭已打开的单据吗？"), QStringLiteral("确认"), Dialogs::Icon::Question)) {
            m_dialogs.info(QStringLiteral("请先关闭正在编辑的单据模块！"));
            history.cancelOpen();
            return;
        }
        closeAllEntryWindows();
    }
    if (!window)
        window = (this->*open)();
    if (window)
        window->openSavedBill(templateName, id);
}

void MainWindow::openLockPrinter()
{
    BillPrinterDialog window(m_core, m_printers, [this](const QString &name) { setDefaultPrinter(name); }, this);
    window.exec();
}

void MainWindow::openAbout()
{
    AboutDialog about(this);
    about.exec();
}

void MainWindow::lockScreen()
{
    if (!QProcess::startDetached(QStringLiteral("loginctl"), {QStringLiteral("lock-session")}))
        m_dialogs.error(QStringLiteral("锁定电脑屏幕失败！"));
}

void MainWindow::startCalculator()
{
    const QStringList calculators{QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"),
                                  QStringLiteral("mate-calc"), QStringLiteral("galculator"),
                                  QStringLiteral("qalculate-gtk"), QStringLiteral("xcalc")};
    for (const QString &c : calculators) {
        const QString path = QStandardPaths::findExecutable(c);
        if (!path.isEmpty() && QProcess::startDetached(path, {}))
            return;
    }
    m_dialogs.error(QStringLiteral("系统计算器调用失败！"));
}

void MainWindow::openWebPage(const QString &url)
{
    if (!QDesktopServices::openUrl(QUrl(url)))
        m_dialogs.error(QStringLiteral("网页打开失败，请确认已安装浏览器！"));
}

void MainWindow::showOnlinePanel(bool shown)
{
    m_onlinePanel->setVisible(shown);
}

} // namespace moque::ui
