#pragma once

#include "entry/BillState.h"
#include "print/ValueSource.h"
#include "refdata/Person.h"
#include "templates/PrintItemStore.h"
#include "templates/TemplateCache.h"
#include "templates/TemplateCatalog.h"

#include <QDate>
#include <QList>
#include <QWidget>

#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QPlainTextEdit;
class QScrollArea;
class QTabBar;
class QToolBar;
class QToolButton;

namespace moque::app {
class AppCore;
}

namespace moque::ui {

// The express waybill entry window (快递单): one bill at a time filled over
// the picture of the courier's form, saved into DataKDDTable and printed.
// Meant to live in a QMdiSubWindow of the main window.
class WaybillWindow : public QWidget
{
    Q_OBJECT
public:
    explicit WaybillWindow(moque::app::AppCore &core, QWidget *parent = nullptr);
    ~WaybillWindow() override;

    static QString kindName() { return QStringLiteral("快递单"); }

    // False when the kind has no template at all: the window must not be shown.
    bool isUsable() const { return m_defaultTypeId > 0; }

    const entry::BillState &state() const { return m_state; }
    int curTypeId() const { return m_curTypeId; }
    int loadedTypeId() const { return m_loadedTypeId; }
    // -1 or 0 makes the next initFormType reapply the template (after the designer).
    void setLoadedTypeId(int id) { m_loadedTypeId = id; }
    QDate billDate() const;
    void setBillDate(const QDate &date);

    // The input control of that component name on the picture panel (any case).
    QWidget *control(const QString &name) const;
    // The values the print engine reads: visible controls of the panel only.
    const print::ValueSource &values() const;

    // Opens a saved waybill for viewing (history window): true when its row was read.
    bool openSavedBill(const QString &templateName, int id);
    // Fills every control of one party from an address book entry; none clears them.
    void setSender(const std::optional<refdata::TPerson> &person);
    void setReceiver(const std::optional<refdata::TPerson> &person);
    std::optional<refdata::TPerson> senderPerson() const { return m_senderPerson; }
    std::optional<refdata::TPerson> receiverPerson() const { return m_receiverPerson; }

    // Template lists (after a template package import).
    void reloadTypeNameList();
    void buildCommonBlocks();
    bool setCurrentCheckType(const QString &displayName);
    // Applies template CurTypeID unless it is applied already.
    void initFormType();

    // Option boxes of the template.
    QString getItemCheckTitle() const;
    void setItemCheckTitle(const QString &text);
    QList<QCheckBox *> itemChecks() const { return m_itemChecks; }

public Q_SLOTS:
    void newBill();
    void saveBill();
    void copyBill();
    void printOne();
    void printRepeatedly();
    void printAndSave();
    void rememberOptions();
    void saveReceiverToAddressBook();
    // 下/上: docks the toolbar at the bottom or back at the top.
    void moveToolbar();

public:
    bool toolbarAtBottom() const;

Q_SIGNALS:
    // 打开: the main window opens the waybill history.
    void openHistoryRequested();
    // The template in use changed (its ID).
    void templateChanged(int templateId);
    // The window was closed; the main window clears its reference.
    void closed();
    // 设计模式 / 整体偏移 on the template in use; afterwards the main window calls
    // setLoadedTypeId(-1) and initFormType() to place the controls again.
    void designRequested(int templateId);
    void offsetRequested(int templateId);
    // 地址串识别: the address text recognition hands its party to setReceiver/setSender.
    void addressRecognitionRequested();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    QList<QComboBox *> pickers() const;
    bool isPicker(const QObject *object) const;
    void focusFirstField();
    QList<QWidget *> tabSequence() const;

private:
    class PanelValues;

    void buildToolbar();
    void buildTemplateBar();
    void buildPanel();
    void buildOptionStrip();
    void connectChanges();

    void templateKindChosen();
    void templateTabChosen(int index);
    void loadParam(int templateId);
    void loadCheckBox(const QString &list);
    void loadCheckBoxsConfig();
    void loadDictionaryLists();
    void placeControls(const QStringList &names);
    void layoutFixedParts();
    bool save();
    bool print(int copies);
    void updateCaption();
    void setToolbarAtBottom(bool bottom);
    QWidget *frame();

    void writeDateBoxes();
    void writeDateBoxes(const QDate &date);
    void applyPrintDateOption();
    void applyReceiverOnly();
    void applySenderOnly();
    void lookUpParty(bool sender);
    void convertAmount();
    void fitAddressFont(QPlainTextEdit *memo);
    void copyHandsetToPhone(const QString &phone, const QString &handset, bool trimmed);

    void buildPickers();
    void openPicker(QComboBox *picker, QWidget *target);
    void closePicker(QComboBox *picker);

    QString text(const QString &name) const;
    void setText(const QString &name, const QString &value);

    moque::app::AppCore &m_core;
    entry::BillState m_state;
    templates::TemplateCatalog m_catalog;
    templates::TemplateCache m_cache;
    templates::PrintItemStore m_items;
    std::unique_ptr<templates::TemplateCacheFile> m_checkIni;
    std::unique_ptr<PanelValues> m_values;

    int m_curTypeId = 0;
    int m_defaultTypeId = 0;
    int m_loadedTypeId = 0;
    std::optional<refdata::TPerson> m_senderPerson;
    std::optional<refdata::TPerson> m_receiverPerson;
    QString m_amountFigure; // the last number typed into zdJEDX1

    QToolBar *m_toolBar = nullptr;
    QToolButton *m_btPosition = nullptr;
    bool m_positionRestored = false;
    QToolButton *m_btSaveAs = nullptr;
    QToolButton *m_btPrint1 = nullptr;
    QToolButton *m_btPrintAndSave = nullptr;
    QToolButton *m_btMultiPrintF = nullptr;
    QToolButton *m_btMultiPrintS = nullptr;
    QComboBox *m_cbFirstTypeName = nullptr;
    QTabBar *m_tabs = nullptr;
    QScrollArea *m_scroll = nullptr;
    QWidget *m_panel = nullptr;
    QLabel *m_bgImage = nullptr;
    QWidget *m_shortbar = nullptr;
    QDateEdit *m_selDate = nullptr;
    QToolButton *m_shpHKR = nullptr;
    QToolButton *m_shpSKR = nullptr;
    QCheckBox *m_cfgDestSiteIsCity = nullptr;
    QCheckBox *m_cfgWantPrintRQ = nullptr;
    QComboBox *m_cfgJEDXFormat = nullptr;
    QCheckBox *m_ckHandset2Phone = nullptr;
    QCheckBox *m_ckPrintFJROnly = nullptr;
    QCheckBox *m_ckPrintSJROnly = nullptr;
    QList<QCheckBox *> m_itemChecks;
    // The bill's input controls, as entry::waybillFields() lists them.
    QList<QWidget *> m_fields;
    // The party name boxes' and the pickers' line edits: a double-click takes
    // their whole text, to type over.
    QList<QObject *> m_selectAllOnDoubleClick;
    // Floating pickers laid over an edit while it is filled (PickTarget).
    QComboBox *m_cbS = nullptr;
    QComboBox *m_cbXS = nullptr;
    QComboBox *m_cbCountry = nullptr;
    QComboBox *m_cbBZ = nullptr;
    QComboBox *m_cbWPNR = nullptr;
    QWidget *m_pickTarget = nullptr;
};

} // namespace moque::ui
