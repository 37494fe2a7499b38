#pragma once

#include <QImage>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <initializer_list>

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QPlainTextEdit;
class QTimer;
class QToolBar;

namespace moque::history {
enum class InvoiceKind;
}

namespace moque {
class Dialogs;
namespace app {
class AppCore;
}
} // namespace moque

namespace moque::ui {

class DesignCommands;
class TemplateCommands;
class WaybillWindow;
class WaybillHistoryWindow;
class EntryWindow;
class ReceiptWindow;
class FreightInvoiceWindow;
class ExportInvoiceWindow;
class OnlinePanel;

// The MDI frame of the program: menus, toolbar, status bar, the one-second
// clock with the login gate, the option items and the commands that open
// every other window.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(app::AppCore &core, QWidget *parent = nullptr);
    ~MainWindow() override;

    app::AppCore &core() { return m_core; }
    QMdiArea *mdiArea() const { return m_mdi; }

    // The action of a menu item or toolbar button by its component name.
    QAction *action(const QString &name) const;

    // Reads the four option flags and ticks the option items.
    void LoadSysParam();

    // Reads the default issuer of the address book into the session.
    void LoadDefaultIssuer();

    // Selects the bill printer by name (or the stored option); see choosePrinter.
    void setDefaultPrinter(const QString &name);
    QStringList installedPrinters() const { return m_printers; }
    // A new printer list forgets the printer chosen from the old one.
    void setInstalledPrinters(const QStringList &names);
    int currentPrinterIndex() const { return m_currentPrinter; }

    // 填写快递单: the waybill window, when no other entry window is open (null otherwise).
    WaybillWindow *openWaybillWindow();
    // The open waybill window, if any.
    WaybillWindow *waybillWindow() const;
    // 普通发票收据: the receipt window, when no other entry window is open (null otherwise).
    ReceiptWindow *openReceiptWindow();
    // 收据及发票管理: the receipt history; a bill chosen there opens in the receipt window.
    void openReceiptHistory();
    // The open entry window of any kind, if any.
    EntryWindow *entryWindow() const;
    // 国际货运发票 and its history 国际货运发票管理 (hidden menu items, as the form ships them).
    FreightInvoiceWindow *openFreightInvoiceWindow();
    void openFreightInvoiceHistory();
    // 出口商品发票 and 出口商品发票管理 (hidden menu items too).
    ExportInvoiceWindow *openExportInvoiceWindow();
    void openExportInvoiceHistory();
    // 快递单管理: the waybill history; a bill chosen there opens in the waybill window.
    void openWaybillHistory();

    // A data file of an earlier version: the upgrade window opens before anything else.
    void upgradeIfNeeded();

    // True when no entry window is open; otherwise tells the user to close it first.
    bool canOpenEntryWindow();

    // Runs the login window; replaced by tests.
    void setLoginRunner(std::function<void()> runner) { m_loginRunner = std::move(runner); }

    int tickCount() const { return m_tickCount; }
    QString statusText(int panel) const;
    bool notesVisible() const;
    bool backgroundShown() const { return m_backgroundShown; }

    // The exit question with the brand word of Config.ini.
    static QString exitQuestion(const QString &brandWord);

public Q_SLOTS:
    void timerTick();
    void closeAllEntryWindows();
    void exitProgram();
    void restartProgram();
    void toggleToolbar();
    void toggleFirstUseNotes();
    void setUpPrinter();

Q_SIGNALS:
    // The program must end (failed login, started from an archive, exit).
    void terminateRequested();
    // The program must start again.
    void restartRequested();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // A menu item with no command of its own yet, greyed or hidden.
    struct MenuItem
    {
        const char *name;
        const char16_t *caption;
        bool enabled;
        bool visible;
    };

    void buildMenus();
    void buildNewBillMenu();
    void buildHistoryMenu();
    void buildSystemMenu();
    void buildOptionsMenu(QMenu *systemMenu);
    void buildPrintMenu();
    void buildToolsMenu();
    void buildToolbarToggle();
    void buildHelpMenu();
    void buildToolbar();
    void buildStatusBar();
    void buildBackgroundMenu();
    void runCreationSequence();
    QAction *addItem(QMenu *menu, const QString &name, const QString &caption);
    void addItems(QMenu *menu, std::initializer_list<MenuItem> items);
    void toggleOption(const QString &option, bool ticked);
    void toggleBackgroundOption();
    void loadBackground();
    void showBackground(bool shown);
    void placeNotes();
    void openUserManage();
    void openAbout();
    void openLockPrinter();
    // The address book, filtered to a party type when one is given.
    void openPersonManage(const QString &type, const QString &tabCaption);
    void openDictionaries();
    void openAddressRecognition(WaybillWindow *waybill);
    void openSavedWaybill(WaybillHistoryWindow &history, const QString &templateName, int id);
    template<class Window>
    Window *openEntryWindow(void (MainWindow::*openHistory)());
    template<class Window, class History>
    void reopenBill(History &history, Window *(MainWindow::*open)(), const QString &templateName, int id);
    void openInvoiceHistory(history::InvoiceKind kind);
    void lockScreen();
    void startCalculator();
    void openWebPage(const QString &url);
    void showOnlinePanel(bool shown);

    app::AppCore &m_core;
    Dialogs &m_dialogs;
    QMdiArea *m_mdi = nullptr;
    DesignCommands *m_design = nullptr;
    TemplateCommands *m_templates = nullptr;
    QToolBar *m_toolbar = nullptr;
    QPlainTextEdit *m_notes = nullptr;
    OnlinePanel *m_onlinePanel = nullptr;
    QTimer *m_timer = nullptr;
    QList<QLabel *> m_panels;
    QMenu *m_newBillMenu = nullptr;
    QMenu *m_backgroundMenu = nullptr;
    QStringList m_printers;
    int m_currentPrinter = -1;
    int m_tickCount = 0;
    bool m_backgroundShown = false;
    QImage m_background;
    std::function<void()> m_loginRunner;
};

} // namespace moque::ui
