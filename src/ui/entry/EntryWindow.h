#pragma once

#include "entry/BillKind.h"
#include "entry/BillState.h"
#include "print/ValueSource.h"
#include "refdata/Person.h"
#include "templates/PrintItemStore.h"
#include "templates/TemplateCache.h"
#include "templates/TemplateCatalog.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QWidget>

#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QScrollArea;
class QToolBar;
class QToolButton;

namespace moque::app {
class AppCore;
}

namespace moque::entry {
class BillStore;
}

namespace moque::ui {

class OptionStrip;
class TemplateBar;

// What every bill kind's entry window does alike: one bill at a time filled
// over the picture of the paper form, its toolbar, the template tabs and
// combo, the input controls of the kind's field table placed by the
// template, option boxes and the option strip, saving into the kind's history
// table, reopening saved bills, printing, and Tab through the bill in reading
// order. A kind's window adds its own filling aids through the hooks below
// and calls setUp() at the end of its constructor.
// Meant to live in a QMdiSubWindow of the main window.
class EntryWindow : public QWidget
{
    Q_OBJECT
public:
    EntryWindow(moque::app::AppCore &core, const entry::BillKind &kind, QWidget *parent = nullptr);
    ~EntryWindow() override;

    const entry::BillKind &kind() const { return m_kind; }
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

    // Opens a saved bill (history window) on the template given, or on the one
    // it was saved with when none is: true when its row was read.
    bool openSavedBill(const QString &templateName, int id);
    // Fills every control of one party from an address book entry; none clears them.
    void setParty(entry::BillField::Party party, const std::optional<refdata::TPerson> &person);
    std::optional<refdata::TPerson> party(entry::BillField::Party party) const;

    // Template lists (after a template package import).
    void reloadTypeNameList();
    // The display name of the template in use.
    QString templateDisplayName() const;
    void buildCommonBlocks();
    bool setCurrentCheckType(const QString &displayName);
    // Applies template CurTypeID unless it is applied already.
    void initFormType();

    // Option boxes of the template.
    QString getItemCheckTitle() const;
    void setItemCheckTitle(const QString &text);
    QList<QCheckBox *> itemChecks() const { return m_itemChecks; }

    bool toolbarAtBottom() const;

public Q_SLOTS:
    void newBill();
    void saveBill();
    void copyBill();
    void printOne();
    void printRepeatedly();
    void printAndSave();
    void rememberOptions();
    // 下/上: docks the toolbar at the bottom or back at the top.
    void moveToolbar();

Q_SIGNALS:
    // 打开: the main window opens the kind's history.
    void openHistoryRequested();
    // The template in use changed (its ID).
    void templateChanged(int templateId);
    // The window was closed; the main window clears its reference.
    void closed();
    // 设计模式 / 整体偏移 on the template in use; afterwards the main window calls
    // setLoadedTypeId(-1) and initFormType() to place the controls again.
    void designRequested(int templateId);
    void offsetRequested(int templateId);
    // The tab "配置常用模板": the main window opens the template management on the template in use.
    void templateManageRequested(int templateId);

protected:
    // Builds the window and opens the kind's default template; the kind's
    // constructor calls it once its own members exist.
    void setUp();

    // Hooks for a kind's own aids.
    // Toolbar buttons of the kind, placed after 设计模式.
    virtual void addKindButtons() {}
    // Controls of the kind on the picture panel beyond its fields.
    virtual void buildKindAids() {}
    // Per-template options of the kind on the option strip.
    virtual void addStripOptions(OptionStrip *strip) { Q_UNUSED(strip) }
    // Connections made once the bill's first values are in.
    virtual void connectKindAids() {}
    // The last step of applying a template.
    virtual void applyTemplateAids() {}
    // Events of an input control beyond what every kind does with them.
    virtual void fieldEvent(const entry::BillField &field, QWidget *control, QEvent *event);
    // Whether the date picker shows beside the day box.
    virtual bool datePickerShown() const;
    // The date boxes as the kind writes them.
    virtual void writeDateBoxes(const QDate &date);
    // Checks of the kind before a save asks its questions; true when it showed why not.
    virtual bool saveRefused() { return false; }
    // Columns the kind saves beyond its field table.
    virtual void addKindColumns(QHash<QString, QString> &row) { Q_UNUSED(row) }
    // Opening a saved bill: what the kind reads beyond its field table, once the fields are in.
    virtual void readKindColumns(const QHash<QString, QString> &row) { Q_UNUSED(row) }
    // 新建: the kind's aids start again, after the fields are cleared.
    virtual void newBillAids() {}
    // The bill's currency code the print engine puts before amounts; none by default.
    virtual QString moneyCode() const { return {}; }
    // 批量打印: the kind's batch print list, for a kind that shows the button.
    virtual void printBatch() {}

    QToolButton *addToolButton(const QString &name, const QString &caption);
    // Places the named controls as the template shows them.
    void placeControls(const QStringList &names);
    // Places the date picker and the party circles beside their boxes.
    void layoutFixedParts();
    // The day box, beside which the date picker sits; none when the kind has no date boxes.
    QWidget *dayBox() const;
    QWidget *datePickerAnchor() const;
    void writeDateBoxes();

    moque::app::AppCore &core() const { return m_core; }
    const templates::TemplateCache &templateCache() const { return m_cache; }
    QWidget *panel() const { return m_panel; }
    QString text(const QString &name) const;
    void setText(const QString &name, const QString &value);

    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    void focusFirstField();
    QList<QWidget *> tabSequence() const;

private:
    class PanelValues;

    void buildToolbar();
    void buildTemplateBar();
    void buildPanel();
    void buildFields();
    void buildPartyShapes();
    void buildPartyNameBoxes();
    void buildPickers();
    void buildOptionStrip();
    void connectChanges();
    void addShortcut(QKeySequence::StandardKey key, const QString &button, void (EntryWindow::*slot)());

    void templateKindChosen();
    void templateTabChosen(const QString &displayName);
    void loadParam(int templateId);
    void loadCheckBox(const QString &list);
    void loadCheckBoxsConfig();
    void loadDictionaryLists();
    bool save();
    bool isVoided(entry::BillStore &store);
    bool print(int copies);
    void updateCaption();
    void setToolbarAtBottom(bool bottom);
    QWidget *frame();

    void lookUpParty(entry::BillField::Party party);
    void fieldEntered(const entry::BillField &field, QWidget *control, Qt::FocusReason reason);
    void fillList(const entry::BillField &field, QComboBox *combo);
    QComboBox *pickerOf(const entry::BillField &field) const;
    void openPicker(QComboBox *picker, const entry::BillField &field, QWidget *target);
    void closePicker(QComboBox *picker);

    moque::app::AppCore &m_core;
    const entry::BillKind &m_kind;
    entry::BillState m_state;
    templates::TemplateCatalog m_catalog;
    templates::TemplateCache m_cache;
    templates::PrintItemStore m_items;
    std::unique_ptr<templates::TemplateCacheFile> m_checkIni;
    std::unique_ptr<PanelValues> m_values;

    int m_curTypeId = 0;
    int m_defaultTypeId = 0;
    int m_loadedTypeId = 0;
    std::optional<refdata::TPerson> m_ownParty;
    std::optional<refdata::TPerson> m_partner;

    QToolBar *m_toolBar = nullptr;
    QToolButton *m_btPosition = nullptr;
    bool m_positionRestored = false;
    QToolButton *m_btSaveAs = nullptr;
    QToolButton *m_btPrint1 = nullptr;
    QToolButton *m_btPrintAndSave = nullptr;
    QToolButton *m_btMultiPrintF = nullptr;
    TemplateBar *m_templateBar = nullptr;
    QScrollArea *m_scroll = nullptr;
    QWidget *m_panel = nullptr;
    QLabel *m_bgImage = nullptr;
    OptionStrip *m_strip = nullptr;
    QDateEdit *m_selDate = nullptr;
    QToolButton *m_ownShape = nullptr;
    QToolButton *m_partnerShape = nullptr;
    QList<QCheckBox *> m_itemChecks;
    // The bill's input controls with their rows of the field table.
    QList<std::pair<QWidget *, const entry::BillField *>> m_fields;
    QHash<const QObject *, const entry::BillField *> m_fieldOf;
    // The party name boxes' and the pickers' line edits: a double-click takes
    // their whole text, to type over.
    QList<QObject *> m_selectAllOnDoubleClick;
    // Floating pickers laid over an edit or memo while it is filled, by name.
    QList<QComboBox *> m_pickers;
    QWidget *m_pickTarget = nullptr;
};

} // namespace moque::ui
