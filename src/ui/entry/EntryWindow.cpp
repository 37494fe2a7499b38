#include "entry/EntryWindow.h"

#include "app/AppCore.h"
#include "app/PrintJob.h"
#include "common/Dialogs.h"
#include "entry/BillStore.h"
#include "entry/BillValues.h"
#include "entry/FieldLists.h"
#include "entry/OptionStrip.h"
#include "entry/TemplateBar.h"
#include "entry/WaybillAids.h"
#include "print/SystemPrintDevice.h"
#include "refdata/AddressBookWindow.h"
#include "refdata/DAOPerson.h"
#include "templates/FormPlacement.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QSignalBlocker>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace moque::ui {

using entry::BillField;
using refdata::TPerson;
using Party = entry::BillField::Party;

namespace {

// The option boxes' colour, light red.
const QString kOptionBoxStyle = QStringLiteral("QCheckBox { background-color: #ffb9b9; }");

QWidget *findByName(const QWidget *parent, const QString &name)
{
    const QList<QWidget *> children = parent->findChildren<QWidget *>();
    for (QWidget *w : children)
        if (w->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return w;
    return nullptr;
}

QString widgetText(const QWidget *w)
{
    if (auto *edit = qobject_cast<const QLineEdit *>(w))
        return edit->text();
    if (auto *combo = qobject_cast<const QComboBox *>(w))
        return combo->currentText();
    if (auto *memo = qobject_cast<const QPlainTextEdit *>(w))
        return memo->toPlainText();
    return {};
}

// Fills a combo box's list without touching the text it shows.
void replaceItems(QComboBox *combo, const QStringList &values)
{
    const QSignalBlocker blocker(combo);
    const QString shown = combo->currentText();
    combo->clear();
    combo->addItems(values);
    combo->setCurrentIndex(-1);
    combo->setEditText(shown);
}

QComboBox *editableCombo(QWidget *parent)
{
    auto *combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    return combo;
}

} // namespace

// What the print engine reads: the visible controls of the picture panel.
class EntryWindow::PanelValues : public print::ValueSource
{
public:
    PanelValues(const QWidget *panel, const entry::BillFields &fields) : m_panel(panel), m_fields(fields) {}

    print::FieldValue value(const QString &fieldName) const override
    {
        const BillField *field = entry::findField(m_fields, fieldName);
        if (field && !field->printed)
            return {{}, false};
        const QWidget *w = findByName(m_panel, fieldName);
        if (!w || !w->isVisibleTo(m_panel))
            return {{}, false};
        if (auto *box = qobject_cast<const QCheckBox *>(w))
            return {box->isChecked() ? QStringLiteral("√") : QString(), true};
        if (auto *memo = qobject_cast<const QPlainTextEdit *>(w))
            return {memo->toPlainText().split(QLatin1Char('\n')).join(QStringLiteral("\r\n")), true};
        const QString shown = widgetText(w);
        return {field ? field->valueOf(shown) : shown, true};
    }

private:
    const QWidget *m_panel;
    const entry::BillFields &m_fields;
};

EntryWindow::EntryWindow(app::AppCore &core, const entry::BillKind &kind, QWidget *parent)
    : QWidget(parent),
      m_core(core),
      m_kind(kind),
      m_state(kind.texts),
      m_catalog(core.db(), core.dialogs(), core.store()),
      m_cache(m_catalog, core.dialogs(), core.dir()),
      m_items(core.db())
{
    // The window keeps the form name the system knows it by.
    setObjectName(kind.formName);
}

EntryWindow::~EntryWindow() = default;

void EntryWindow::setUp()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildToolbar();
    buildTemplateBar();
    buildPanel();
    m_values = std::make_unique<PanelValues>(m_panel, m_kind.fields);

    m_defaultTypeId = m_catalog.loadDefaultCheckTypeId(m_kind.name);
    if (m_defaultTypeId <= 0)
        return;
    const QString defaultName = m_catalog.loadCheckTypeLastNameByID(m_defaultTypeId);
    m_core.session().currentTemplateId = m_defaultTypeId;

    const app::Session &session = m_core.session();
    setParty(Party::Own, session.params.useDefaultIssuer ? session.defaultIssuer : std::nullopt);
    setBillDate(QDate::currentDate());
    connectChanges();

    if (m_templateBar->isEmpty())
        reloadTypeNameList();
    m_curTypeId = m_defaultTypeId;
    setCurrentCheckType(defaultName);
    m_loadedTypeId = 0;
    templateKindChosen();
    buildCommonBlocks();
    for (const BillField &field : m_kind.fields)
        if (!field.placeholder.isEmpty() && text(field.name).isEmpty())
            setText(field.name, field.placeholder);
}

QToolButton *EntryWindow::addToolButton(const QString &name, const QString &caption)
{
    auto *b = new QToolButton(m_toolBar);
    b->setObjectName(name);
    b->setText(caption);
    m_toolBar->addWidget(b);
    return b;
}

void EntryWindow::buildToolbar()
{
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("toolBarCheck"));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    const auto add = [this](const QString &name, const QString &caption, auto slot) {
        QToolButton *b = addToolButton(name, caption);
        connect(b, &QToolButton::clicked, this, slot);
        return b;
    };
    m_btPosition = add(QStringLiteral("btPosition"), QStringLiteral("下"), &EntryWindow::moveToolbar);
    add(QStringLiteral("btMoveXY"), QStringLiteral("整体偏移"), [this] {
        m_core.session().currentTemplateId = m_curTypeId;
        Q_EMIT offsetRequested(m_curTypeId);
    });
    add(QStringLiteral("btDesign"), QStringLiteral("设计模式"), [this] { Q_EMIT designRequested(m_curTypeId); });
    addKindButtons();
    add(QStringLiteral("btOpenCheck"), QStringLiteral("打开(&O)"), &EntryWindow::openHistoryRequested);
    add(QStringLiteral("btNewCheck"), QStringLiteral("新建(&N)"), &EntryWindow::newBill);
    m_btSaveAs = add(QStringLiteral("btSaveAs"), QStringLiteral("复制(&C)"), &EntryWindow::copyBill);
    add(QStringLiteral("btSaveCheck"), QStringLiteral("保存(&S)"), &EntryWindow::saveBill);
    m_btPrint1 = add(QStringLiteral("btPrint1"), QStringLiteral("单张打印(&P)"), &EntryWindow::printOne);
    m_btPrintAndSave = add(QStringLiteral("btPrintAndSave"), QStringLiteral("打印并保存"), &EntryWindow::printAndSave);
    // Only a kind with a batch print list shows 批量打印; the main window's print menu reaches 重复打印.
    QToolButton *batch = add(QStringLiteral("btMultiPrintS"), QStringLiteral("批量打印"), &EntryWindow::printBatch);
    batch->setEnabled(m_kind.batchPrintShown);
    m_btMultiPrintF = add(QStringLiteral("btMultiPrintF"), QStringLiteral("重复打印"), &EntryWindow::printRepeatedly);
    add(QStringLiteral("btClose"), QStringLiteral("关闭&C"), [this] { frame()->close(); });
    // Keys that work however narrow the window is, when the toolbar has put
    // its last buttons out of sight (their Alt mnemonics go with them).
    addShortcut(QKeySequence::New, QStringLiteral("btNewCheck"), &EntryWindow::newBill);
    addShortcut(QKeySequence::Save, QStringLiteral("btSaveCheck"), &EntryWindow::saveBill);
    addShortcut(QKeySequence::Print, QStringLiteral("btPrint1"), &EntryWindow::printOne);
    const QList<QAction *> actions = m_toolBar->actions();
    for (QAction *a : actions) {
        const QWidget *w = m_toolBar->widgetForAction(a);
        if ((w == batch && !m_kind.batchPrintShown) || (w == m_btMultiPrintF && !m_kind.repeatPrintShown))
            a->setVisible(false);
    }
    static_cast<QVBoxLayout *>(layout())->addWidget(m_toolBar);
}

void EntryWindow::addShortcut(QKeySequence::StandardKey key, const QString &button, void (EntryWindow::*slot)())
{
    auto *shortcut = new QShortcut(QKeySequence(key), this);
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    connect(shortcut, &QShortcut::activated, this, slot);
    m_toolBar->findChild<QToolButton *>(button)->setToolTip(shortcut->key().toString(QKeySequence::NativeText));
}

void EntryWindow::buildTemplateBar()
{
    m_templateBar = new TemplateBar(m_kind.templateHint, this);
    static_cast<QVBoxLayout *>(layout())->addWidget(m_templateBar);
    connect(m_templateBar, &TemplateBar::templateChosen, this, &EntryWindow::templateKindChosen);
    connect(m_templateBar, &TemplateBar::tabChosen, this, &EntryWindow::templateTabChosen);
    connect(m_templateBar, &TemplateBar::manageChosen, this, [this] {
        m_core.session().currentTemplateId = m_curTypeId;
        Q_EMIT templateManageRequested(m_curTypeId);
        // The tab strip shows the template in use again.
        setCurrentCheckType(m_templateBar->currentName());
        m_templateBar->leaveManageTab();
    });
}

void EntryWindow::buildPanel()
{
    m_scroll = new QScrollArea(this);
    m_panel = new QWidget;
    m_panel->setObjectName(QStringLiteral("panelImgBg"));
    m_bgImage = new QLabel(m_panel);
    m_bgImage->setObjectName(QStringLiteral("bgImage"));
    m_bgImage->setGeometry(0, 0, 400, 300);

    buildFields();
    for (int i = 0; i < m_kind.readyOptionBoxes; ++i) {
        auto *box = new QCheckBox(m_panel);
        box->setObjectName(QStringLiteral("DEFCHECK%1").arg(i));
        box->setStyleSheet(kOptionBoxStyle);
        box->hide();
    }
    m_selDate = new QDateEdit(m_panel);
    m_selDate->setObjectName(QStringLiteral("SelDate"));
    m_selDate->setCalendarPopup(true);
    m_selDate->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    m_selDate->setDate(QDate::currentDate());
    connect(m_selDate, &QDateEdit::dateChanged, this, [this] {
        writeDateBoxes();
        m_state.valueChanged();
    });
    buildPartyShapes();
    buildPartyNameBoxes();
    buildPickers();
    buildKindAids();
    buildOptionStrip();
    m_scroll->setWidget(m_panel);
    m_scroll->setWidgetResizable(false);
    static_cast<QVBoxLayout *>(layout())->addWidget(m_scroll, 1);
}

void EntryWindow::buildFields()
{
    for (const BillField &field : m_kind.fields) {
        if (!field.isInput())
            continue;
        QWidget *w = nullptr;
        switch (field.control) {
        case BillField::Control::Combo:
            w = editableCombo(m_panel);
            break;
        case BillField::Control::Memo: {
            auto *memo = new QPlainTextEdit(m_panel);
            // Tab moves on to the next field; an address needs no tab characters.
            memo->setTabChangesFocus(true);
            memo->viewport()->installEventFilter(this);
            w = memo;
            break;
        }
        default:
            w = new QLineEdit(m_panel);
            break;
        }
        w->setObjectName(field.name);
        w->setToolTip(field.hint);
        if (auto *edit = qobject_cast<QLineEdit *>(w); edit && field.readOnly)
            edit->setReadOnly(true);
        w->hide();
        w->installEventFilter(this);
        m_fields.append({w, &field});
        m_fieldOf.insert(w, &field);
        if (field.list.kind == entry::ListSource::Kind::Fixed)
            replaceItems(qobject_cast<QComboBox *>(w), field.list.values);
    }
}

void EntryWindow::buildPartyShapes()
{
    const auto shape = [this](const entry::PartyShape &kindShape, Party party) {
        auto *b = new QToolButton(m_panel);
        b->setObjectName(kindShape.name);
        b->setToolTip(kindShape.hint);
        b->setFixedSize(14, 14);
        b->setStyleSheet(QStringLiteral("QToolButton { border: 2px solid red; border-radius: 7px; background: "
                                        "transparent; } QToolButton:hover { background: #ff8080; }"));
        b->setCursor(Qt::PointingHandCursor);
        connect(b, &QToolButton::clicked, this, [this, kindShape, party] {
            for (QComboBox *p : std::as_const(m_pickers))
                p->hide();
            const std::optional<TPerson> person =
                AddressBookWindow::fetchOnePerson(m_core, kindShape.partyType, kindShape.pickCaption, this);
            if (person || m_kind.emptyPickClears)
                setParty(party, person);
        });
        return b;
    };
    m_ownShape = shape(m_kind.ownShape, Party::Own);
    m_partnerShape = shape(m_kind.partnerShape, Party::Partner);
}

// Enter in a party's name box looks the party up in the address book, and a
// name chosen from its list fills the whole party.
void EntryWindow::buildPartyNameBoxes()
{
    for (const Party party : {Party::Own, Party::Partner}) {
        auto *combo = qobject_cast<QComboBox *>(control(entry::partyControl(m_kind.fields, party, TPerson::FullName)));
        if (!combo)
            continue;
        connect(combo->lineEdit(), &QLineEdit::returnPressed, this, [this, party] { lookUpParty(party); });
        connect(combo, &QComboBox::activated, this, [this, combo, party](int index) {
            m_state.valueChanged();
            if (m_state.isLoading())
                return;
            if (const auto found = refdata::DAOPerson(m_core.db()).FindPersonByFullName(combo->itemText(index)))
                setParty(party, found);
        });
        combo->lineEdit()->installEventFilter(this);
        m_selectAllOnDoubleClick.append(combo->lineEdit());
    }
}

void EntryWindow::buildPickers()
{
    for (const BillField &field : m_kind.fields) {
        if (field.list.picker.isEmpty() || pickerOf(field))
            continue;
        QComboBox *combo = editableCombo(m_panel);
        combo->setObjectName(field.list.picker);
        combo->hide();
        combo->installEventFilter(this);
        combo->lineEdit()->installEventFilter(this);
        m_selectAllOnDoubleClick.append(combo->lineEdit());
        m_pickers.append(combo);
        if (field.list.writesWhileChoosing) {
            connect(combo, &QComboBox::editTextChanged, this, [this, combo](const QString &value) {
                if (m_pickTarget && combo->isVisible())
                    setText(m_pickTarget->objectName(), value);
            });
        }
    }
}

QComboBox *EntryWindow::pickerOf(const BillField &field) const
{
    for (QComboBox *picker : m_pickers)
        if (picker->objectName() == field.list.picker)
            return picker;
    return nullptr;
}

void EntryWindow::fillList(const BillField &field, QComboBox *combo)
{
    const auto values = entry::FieldLists(m_core.db(), m_kind)
                            .values(field, m_curTypeId, [this](const QString &name) { return text(name); });
    if (values)
        replaceItems(combo, *values);
}

void EntryWindow::openPicker(QComboBox *picker, const BillField &field, QWidget *target)
{
    if (picker->count() == 0 || field.list.kind == entry::ListSource::Kind::Cities)
        fillList(field, picker);
    m_pickTarget = target;
    {
        const QSignalBlocker blocker(picker);
        picker->setEditText(text(target->objectName()));
    }
    picker->setGeometry(target->geometry());
    picker->show();
    picker->raise();
    picker->setFocus(Qt::OtherFocusReason);
    // Typing replaces what the box held, as in any box reached by Tab.
    picker->lineEdit()->selectAll();
}

void EntryWindow::closePicker(QComboBox *picker)
{
    picker->hide();
    if (m_pickTarget)
        setText(m_pickTarget->objectName(), picker->currentText());
    m_pickTarget = nullptr;
}

void EntryWindow::buildOptionStrip()
{
    m_strip = new OptionStrip(m_panel);
    addStripOptions(m_strip);
    connect(m_strip, &OptionStrip::rememberRequested, this, &EntryWindow::rememberOptions);
}

void EntryWindow::connectChanges()
{
    const auto changed = [this] { m_state.valueChanged(); };
    const QList<QWidget *> children = m_panel->findChildren<QWidget *>();
    for (QWidget *w : children) {
        if (w->parentWidget() != m_panel)
            continue;
        if (auto *edit = qobject_cast<QLineEdit *>(w))
            connect(edit, &QLineEdit::textChanged, this, changed);
        else if (auto *combo = qobject_cast<QComboBox *>(w))
            connect(combo, &QComboBox::editTextChanged, this, changed);
        else if (auto *memo = qobject_cast<QPlainTextEdit *>(w))
            connect(memo, &QPlainTextEdit::textChanged, this, changed);
        else if (auto *box = qobject_cast<QCheckBox *>(w))
            connect(box, &QCheckBox::toggled, this, changed);
    }
    connectKindAids();
}

QWidget *EntryWindow::control(const QString &name) const
{
    return name.isEmpty() ? nullptr : findByName(m_panel, name);
}

const print::ValueSource &EntryWindow::values() const
{
    return *m_values;
}

QString EntryWindow::text(const QString &name) const
{
    const QWidget *w = control(name);
    return w ? widgetText(w) : QString();
}

void EntryWindow::setText(const QString &name, const QString &value)
{
    QWidget *w = control(name);
    if (auto *edit = qobject_cast<QLineEdit *>(w))
        edit->setText(value);
    else if (auto *combo = qobject_cast<QComboBox *>(w))
        combo->setEditText(value);
    else if (auto *memo = qobject_cast<QPlainTextEdit *>(w))
        memo->setPlainText(value);
}

QDate EntryWindow::billDate() const
{
    return m_selDate->date();
}

void EntryWindow::setBillDate(const QDate &date)
{
    // A saved bill without a readable date shows and prints no date, not the picker's.
    if (!date.isValid()) {
        writeDateBoxes(date);
        return;
    }
    if (m_selDate->date() == date) {
        // No dateChanged: the boxes and the state still follow.
        writeDateBoxes();
        m_state.valueChanged();
    } else {
        m_selDate->setDate(date);
    }
}

void EntryWindow::writeDateBoxes()
{
    writeDateBoxes(m_selDate->date());
}

void EntryWindow::writeDateBoxes(const QDate &date)
{
    const entry::DateBoxes boxes = entry::dateBoxes(date);
    for (const BillField &box : entry::dateBoxFields(m_kind.fields))
        if (box.dateBox != BillField::DateBox::Time)
            setText(box.name, boxes.of(box.dateBox));
}

void EntryWindow::reloadTypeNameList()
{
    m_templateBar->setTemplates(m_catalog.loadCheckTypeLastNameList(m_kind.name));
}

QString EntryWindow::templateDisplayName() const
{
    return m_templateBar->currentName();
}

void EntryWindow::buildCommonBlocks()
{
    m_templateBar->setCommonTemplates(m_catalog.loadCommonTypeLastNameList(m_kind.name));
    setCurrentCheckType(m_templateBar->currentName());
}

bool EntryWindow::setCurrentCheckType(const QString &displayName)
{
    return m_templateBar->select(displayName);
}

void EntryWindow::templateKindChosen()
{
    const QString name = m_templateBar->currentName();
    m_state.templateChosen(name);
    m_curTypeId = m_catalog.loadCheckTypeIDByFirstAndLastName(m_kind.name, name);
    initFormType();
    updateCaption();
    m_core.session().currentTemplateId = m_curTypeId;
    setCurrentCheckType(name);
    Q_EMIT templateChanged(m_curTypeId);
}

void EntryWindow::templateTabChosen(const QString &name)
{
    if (setCurrentCheckType(name))
        templateKindChosen();
    else if (name != m_templateBar->currentName())
        m_core.dialogs().info(QStringLiteral("模板(") + name
                              + QStringLiteral(")不存在或被重命名了，请关闭填单界面并重新填开,以刷新模板列表！"));
}

void EntryWindow::initFormType()
{
    if (m_curTypeId == m_loadedTypeId)
        return;
    setProperty("tag", m_curTypeId);
    m_checkIni = m_cache.OpenCheckInif(m_curTypeId);
    loadParam(m_curTypeId);
    loadCheckBoxsConfig();
    setFormControlsPosition(m_kind.name, m_panel, m_checkIni.get(), m_items, m_core.dialogs());
    loadDictionaryLists();
    applyTemplateAids();
    writeDateBoxes();
    layoutFixedParts();
    m_loadedTypeId = m_curTypeId;
}

void EntryWindow::loadParam(int templateId)
{
    m_bgImage->move(0, 0);
    m_bgImage->show();
    const std::optional<templates::TemplateRow> row = m_catalog.templateById(templateId);
    if (!row)
        return;
    loadCheckBox(row->checkBoxes);
    const int w = row->screenWidth;
    const int h = row->screenHeight;
    const int stripHeight = m_strip->stripHeight();
    m_panel->setFixedSize(w, h + stripHeight);
    m_bgImage->setGeometry(0, 0, w, h);
    m_strip->setGeometry(0, h, w, stripHeight);
    const QString file = row->imageFile.isEmpty() ? QStringLiteral("dhd_default.jpg") : row->imageFile;
    const QPixmap picture(m_core.dir().imageDir() + file);
    // A missing picture leaves a plain panel.
    m_bgImage->setPixmap(picture.isNull() ? QPixmap() : picture.scaled(w, h));
    resize(w + 8, h + stripHeight + m_toolBar->sizeHint().height() + m_templateBar->tabsHeight() + 35);
}

void EntryWindow::loadCheckBox(const QString &list)
{
    for (QCheckBox *box : std::as_const(m_itemChecks)) {
        const QSignalBlocker blocker(box);
        box->setChecked(false);
        box->hide();
    }
    m_itemChecks.clear();
    const QStringList captions = entry::optionCaptions(list);
    for (int i = 0; i < captions.size(); ++i) {
        auto *box = qobject_cast<QCheckBox *>(control(QStringLiteral("defCheck%1").arg(i)));
        if (!box) {
            box = new QCheckBox(m_panel);
            box->setObjectName(QStringLiteral("defCheck%1").arg(i));
            box->setStyleSheet(kOptionBoxStyle);
            connect(box, &QCheckBox::toggled, this, [this] { m_state.valueChanged(); });
        }
        box->setText(captions[i]);
        box->setToolTip(captions[i]);
        box->setGeometry(20 * i, 30 * i, box->sizeHint().width(), box->sizeHint().height());
        box->hide();
        m_itemChecks << box;
    }
}

void EntryWindow::loadCheckBoxsConfig()
{
    m_strip->applyStored([this](const QString &name) {
        return templates::TemplateCache::getInifCheckConfigByName(m_checkIni.get(), name);
    });
}

void EntryWindow::rememberOptions()
{
    for (const auto &[name, value] : m_strip->rememberedValues())
        m_cache.setCheckConfigByName(m_curTypeId, name, value);
    m_core.dialogs().info(QStringLiteral("打印勾选及选项已记住！"));
    m_cache.buildCheckIniFile(m_curTypeId);
    m_checkIni = m_cache.OpenCheckInif(m_curTypeId);
}

// Lists whose first value stands in an empty box are filled with each template.
void EntryWindow::loadDictionaryLists()
{
    for (const auto &[w, field] : std::as_const(m_fields)) {
        auto *combo = qobject_cast<QComboBox *>(w);
        if (!combo || !field->list.firstByDefault)
            continue;
        fillList(*field, combo);
        if (combo->currentText().isEmpty() && combo->count() > 0)
            combo->setCurrentIndex(0);
    }
}

void EntryWindow::placeControls(const QStringList &names)
{
    if (!m_checkIni)
        return;
    for (const QString &name : names)
        setFormCtlPositionFromIni(name, *m_checkIni, m_panel);
}

QWidget *EntryWindow::dayBox() const
{
    for (const BillField &box : entry::dateBoxFields(m_kind.fields))
        if (box.dateBox == BillField::DateBox::Day)
            return control(box.name);
    return nullptr;
}

// The day box, or the date line when the form shows no day box.
QWidget *EntryWindow::datePickerAnchor() const
{
    QWidget *day = dayBox();
    QWidget *line = control(m_kind.dateLineField);
    return (!day || day->isHidden()) && line && !line->isHidden() ? line : day;
}

bool EntryWindow::datePickerShown() const
{
    const QWidget *anchor = datePickerAnchor();
    return anchor && !anchor->isHidden();
}

void EntryWindow::layoutFixedParts()
{
    if (const QWidget *anchor = datePickerAnchor())
        m_selDate->setGeometry(anchor->x() + anchor->width() + 2, anchor->y(), 20, qMax(anchor->height(), 18));
    m_selDate->setVisible(datePickerShown());
    // The red circles sit left of the party name boxes.
    const auto putBeside = [](QWidget *shape, const QWidget *box) {
        if (!box)
            return;
        shape->move(qMax(0, box->x() - shape->width() - 2), box->y());
        shape->raise();
    };
    putBeside(m_ownShape, control(entry::partyControl(m_kind.fields, Party::Own, TPerson::FullName)));
    putBeside(m_partnerShape, control(entry::partyControl(m_kind.fields, Party::Partner, TPerson::FullName)));
    m_strip->raise();
}

QString EntryWindow::getItemCheckTitle() const
{
    QStringList captions;
    QList<bool> ticked;
    for (const QCheckBox *box : m_itemChecks) {
        captions << box->text();
        ticked << box->isChecked();
    }
    return entry::tickedOptionsText(captions, ticked);
}

void EntryWindow::setItemCheckTitle(const QString &text)
{
    QStringList captions;
    for (const QCheckBox *box : std::as_const(m_itemChecks))
        captions << box->text();
    const QList<bool> ticks = entry::ticksFromOptionsText(captions, text);
    for (int i = 0; i < m_itemChecks.size(); ++i)
        m_itemChecks[i]->setChecked(ticks.value(i));
}

void EntryWindow::setParty(Party party, const std::optional<TPerson> &person)
{
    (party == Party::Own ? m_ownParty : m_partner) = person;
    for (const BillField &f : entry::partyFields(m_kind.fields, party, true))
        setText(f.name, person ? person->text(*f.role) : QString());
}

std::optional<TPerson> EntryWindow::party(Party party) const
{
    return party == Party::Own ? m_ownParty : m_partner;
}

void EntryWindow::lookUpParty(Party party)
{
    const QString name = text(entry::partyControl(m_kind.fields, party, TPerson::FullName)).trimmed();
    if (name.isEmpty())
        return;
    const refdata::DAOPerson dao(m_core.db());
    std::optional<TPerson> found = dao.FindPersonByFullName(name);
    if (!found)
        found = dao.FindPersonByInputCode(name);
    if (found)
        setParty(party, found);
}

bool EntryWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick && m_selectAllOnDoubleClick.contains(watched)) {
        static_cast<QLineEdit *>(watched)->selectAll();
        return true;
    }
    if (m_pickers.contains(watched)) {
        // The picker's own drop-down takes the focus for a moment; that is not leaving.
        if (event->type() == QEvent::FocusOut
            && static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason)
            closePicker(static_cast<QComboBox *>(watched));
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() == QEvent::MouseButtonDblClick) {
        // A memo with a list opens its picker; any other takes its whole text.
        for (const auto &[w, field] : std::as_const(m_fields)) {
            auto *memo = qobject_cast<QPlainTextEdit *>(w);
            if (!memo || watched != memo->viewport())
                continue;
            if (QComboBox *picker = pickerOf(*field))
                openPicker(picker, *field, memo);
            else
                memo->selectAll();
            return true;
        }
    }
    if (const BillField *field = m_fieldOf.value(watched)) {
        auto *w = static_cast<QWidget *>(watched);
        if (event->type() == QEvent::FocusIn)
            fieldEntered(*field, w, static_cast<QFocusEvent *>(event)->reason());
        fieldEvent(*field, w, event);
    }
    return QWidget::eventFilter(watched, event);
}

// What entering a field does on every kind: a memo reached by Tab takes its
// whole text, an edit with a list opens its picker, a combo box fills its list.
void EntryWindow::fieldEntered(const BillField &field, QWidget *w, Qt::FocusReason reason)
{
    auto *memo = qobject_cast<QPlainTextEdit *>(w);
    if (memo && (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason))
        memo->selectAll();
    if (field.control == BillField::Control::Edit) {
        if (QComboBox *picker = pickerOf(field))
            openPicker(picker, field, w);
        return;
    }
    auto *combo = qobject_cast<QComboBox *>(w);
    if (!combo)
        return;
    // The prompt goes away when the user comes to type; the bill holds no other value for it.
    if (!field.placeholder.isEmpty() && combo->currentText() == field.placeholder) {
        const QSignalBlocker blocker(combo);
        combo->setEditText(QString());
    }
    if (field.list.kind == entry::ListSource::Kind::Fixed)
        return;
    if (combo->count() == 0)
        fillList(field, combo);
    else if (field.list.firstByDefault)
        combo->setCurrentIndex(0);
}

void EntryWindow::fieldEvent(const BillField &, QWidget *, QEvent *) {}

// The bill's shown fields in the order a person reads the form: block by
// block, the option boxes with the contents, each row by row as the template
// places them.
QList<QWidget *> EntryWindow::tabSequence() const
{
    QList<QWidget *> shown;
    QList<entry::FieldPlace> places;
    const auto add = [&](QWidget *w, BillField::Block block) {
        if (w->isVisibleTo(m_panel) && w->isEnabled()) {
            shown.append(w);
            places.append({block, w->geometry()});
        }
    };
    for (const auto &[w, field] : m_fields)
        if (!field->readOnly)
            add(w, field->block);
    for (QCheckBox *box : m_itemChecks)
        add(box, BillField::Block::Contents);
    QList<QWidget *> sequence;
    for (const qsizetype i : entry::readingOrder(places))
        sequence.append(shown.at(i));
    return sequence;
}

// Tab and Shift+Tab go round the bill's fields and never out to the option
// strip or the toolbar. A picker stands for the box it fills.
bool EntryWindow::focusNextPrevChild(bool next)
{
    QWidget *current = focusWidget();
    if (m_pickTarget && m_pickers.contains(current))
        current = m_pickTarget;
    const QList<QWidget *> sequence = tabSequence();
    const qsizetype at = sequence.indexOf(current);
    if (at < 0)
        return QWidget::focusNextPrevChild(next);
    QWidget *target = sequence.at((at + (next ? 1 : sequence.size() - 1)) % sequence.size());
    target->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    m_scroll->ensureWidgetVisible(target);
    return true;
}

// A new bill starts in the kind's first field (the waybill's receiver name:
// the sender usually stays), or in the first field the template shows.
void EntryWindow::focusFirstField()
{
    QWidget *first = control(m_kind.firstField);
    const QList<QWidget *> sequence = tabSequence();
    if (first && sequence.contains(first))
        first->setFocus(Qt::OtherFocusReason);
    else if (!sequence.isEmpty())
        sequence.first()->setFocus(Qt::OtherFocusReason);
}

void EntryWindow::updateCaption()
{
    setWindowTitle(m_state.caption());
}

bool EntryWindow::save()
{
    if (saveRefused())
        return false;
    const QDate today = QDate::currentDate();
    const entry::SavePlan plan = m_state.beginSave(m_core.dialogs(), billDate(), today);
    if (!plan.proceed)
        return false;
    entry::BillStore store(m_core.db(), m_kind.historyTable);
    if (isVoided(store))
        return false;
    if (plan.resetDateToToday)
        setBillDate(today);
    entry::BillInput input;
    for (const BillField &f : entry::savedFields(m_kind.fields)) {
        if (!f.isInput())
            continue;
        input.controls.insert(f.name, text(f.name));
        for (const QString &shownControl : f.savedWhenShown)
            if (const QWidget *w = control(shownControl); w && w->isVisibleTo(m_panel))
                input.shown.insert(shownControl);
    }
    input.date = billDate();
    input.options = getItemCheckTitle();
    input.templateName = m_templateBar->currentName();
    QHash<QString, QString> row = entry::billRow(m_kind.fields, input);
    if (!m_kind.stateColumn.isEmpty())
        row.insert(m_kind.stateColumn, entry::kStateUsed);
    addKindColumns(row);
    const bool ok = m_state.finishSave(store, row, m_core.dialogs());
    updateCaption();
    return ok;
}

// A voided invoice stays as it was printed: nothing is saved over it.
bool EntryWindow::isVoided(entry::BillStore &store)
{
    if (m_kind.stateColumn.isEmpty() || m_state.checkId() <= 0)
        return false;
    const std::optional<QHash<QString, QString>> row = store.load(m_state.checkId());
    if (!row || row->value(m_kind.stateColumn) != entry::kStateVoided)
        return false;
    m_core.dialogs().info(QStringLiteral("票据已经作废,保存失败！"));
    return true;
}

void EntryWindow::saveBill()
{
    const entry::Decision decision = m_state.saveClicked();
    if (decision.action != entry::Decision::Action::RunSave) {
        decision.showOn(m_core.dialogs());
        return;
    }
    save();
    m_btSaveAs->setEnabled(true);
}

void EntryWindow::newBill()
{
    m_state.newBill();
    for (const QString &name : entry::newBillClears(m_kind.fields))
        setText(name, QString());
    setBillDate(QDate::currentDate());
    newBillAids();
    m_btSaveAs->setEnabled(false);
    updateCaption();
    focusFirstField();
}

void EntryWindow::copyBill()
{
    m_state.copyClicked().showOn(m_core.dialogs());
    if (!m_state.copyEnabled())
        m_btSaveAs->setEnabled(false);
    updateCaption();
}

bool EntryWindow::print(int copies)
{
    app::Session &session = m_core.session();
    // The template is checked before the PDF printer asks for a file.
    if (m_templateBar->currentName().trimmed().isEmpty()) {
        m_templateBar->combo()->setVisible(true);
        m_core.dialogs().info(m_kind.noTemplateMessage);
        return false;
    }
    const std::unique_ptr<print::PrintDevice> device =
        makeBillPrintDevice(session.billPrinterName, m_core.dialogs(), m_kind.pdfFileName);
    if (!device)
        return false;
    app::PrintJob job(m_core, *device);
    job.setPrinterSetup(printerSetupFor(*device, this));
    if (!job.PrintPrepare(m_curTypeId, m_templateBar->currentName()) || !job.PrinterTransBegin(copies))
        return false;
    if (!job.SendCheckToPrinter(*m_values, moneyCode())) {
        job.AbortPrint();
        return false;
    }
    return job.PrinterTransEnd();
}

void EntryWindow::printOne()
{
    m_btPrint1->setEnabled(false);
    print(1);
    m_btPrint1->setEnabled(true);
}

void EntryWindow::printRepeatedly()
{
    const QString answer = m_core.dialogs().inputValue(QStringLiteral("输入重复打印的张数"), QStringLiteral("1"),
                                                       QStringLiteral("integer"));
    if (answer.isEmpty())
        return;
    bool ok = false;
    const int copies = answer.trimmed().toInt(&ok);
    if (!ok) {
        m_core.dialogs().info(QStringLiteral("输入错误的数字！"));
        return;
    }
    const QList<QToolButton *> buttons{m_btPrint1, m_btPrintAndSave, m_btMultiPrintF};
    for (QToolButton *b : buttons)
        b->setEnabled(false);
    // The print job keeps a bill to the copies its kind allows.
    print(copies);
    for (QToolButton *b : buttons)
        b->setEnabled(true);
}

void EntryWindow::printAndSave()
{
    m_state.setShowSaveMsg(false);
    m_btPrintAndSave->setEnabled(false);
    printOne();
    const entry::Decision decision = m_state.saveClicked();
    if (decision.action == entry::Decision::Action::RunSave) {
        // saveClicked restores the success message; this save stays silent.
        m_state.setShowSaveMsg(false);
        save();
    } else {
        decision.showOn(m_core.dialogs());
    }
    setText(m_kind.numberField, QString());
    copyBill();
    m_btSaveAs->setEnabled(false);
    m_btPrintAndSave->setEnabled(true);
    m_state.setShowSaveMsg(true);
}

bool EntryWindow::openSavedBill(const QString &templateName, int id)
{
    entry::BillStore store(m_core.db(), m_kind.historyTable);
    QString error;
    const std::optional<QHash<QString, QString>> row = id > 0 ? store.load(id, &error) : std::nullopt;
    // Without a template given, the bill opens on the one it was saved with.
    QString name = templateName;
    if (name.isEmpty() && row)
        for (const BillField &f : m_kind.fields)
            if (f.control == BillField::Control::TemplateChoice)
                name = row->value(f.column);
    if (name.isEmpty())
        name = m_templateBar->currentName();
    if (name != m_templateBar->currentName()) {
        const int typeId = m_catalog.loadCheckTypeIDByFirstAndLastName(m_kind.name, name);
        if (typeId > 0) {
            setCurrentCheckType(name);
            m_loadedTypeId = -1;
            m_curTypeId = typeId;
            templateKindChosen();
        }
    }
    m_state.beginOpen(id);
    bool fillable = false;
    bool dated = false;
    if (row) {
        for (const BillField &f : entry::readBackFields(m_kind.fields)) {
            const QString value = row->value(f.column);
            if (f.control == BillField::Control::OptionBoxes)
                setItemCheckTitle(value);
            else if (f.control == BillField::Control::DatePicker) {
                const QDate date = entry::dateFromText(value);
                setBillDate(date);
                dated = date.isValid();
            }
            else
                setText(f.name, value);
        }
        if (!m_kind.stateColumn.isEmpty())
            fillable = entry::opensFillable(row->value(m_kind.stateColumn));
        // A registered number not used yet is issued today.
        if (fillable && !dated)
            setBillDate(QDate::currentDate());
        readKindColumns(*row);
    } else if (!error.isEmpty()) {
        m_core.dialogs().info(entry::BillState::openFailedMessage());
    }
    m_state.finishOpen(fillable);
    m_btSaveAs->setEnabled(true);
    updateCaption();
    if (frame()->isHidden())
        frame()->show();
    frame()->raise();
    return row.has_value();
}

QWidget *EntryWindow::frame()
{
    return qobject_cast<QMdiSubWindow *>(parentWidget()) ? parentWidget() : this;
}

void EntryWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_positionRestored)
        return;
    m_positionRestored = true;
    if (m_kind.remembersPosition) {
        const settings::IniFile &ini = m_core.settings().file();
        const QString section = m_kind.positionSection();
        frame()->move(ini.value(section, QStringLiteral("PositionX"), QStringLiteral("0")).toInt(),
                      ini.value(section, QStringLiteral("PositionY"), QStringLiteral("0")).toInt());
        setToolbarAtBottom(ini.value(section, QStringLiteral("PositionBar")) == QStringLiteral("bottom"));
    }
    // Long drop-down lists on tall screens.
    const int screenHeight = screen() ? screen()->geometry().height() : 800;
    const int rows = screenHeight <= 799 ? 23 : (screenHeight >= 900 ? 50 : 35);
    for (const Party p : {Party::Own, Party::Partner})
        if (auto *names = qobject_cast<QComboBox *>(control(entry::partyControl(m_kind.fields, p, TPerson::FullName))))
            names->setMaxVisibleItems(rows);
    m_templateBar->fitListToScreen(screenHeight);
    focusFirstField();
}

bool EntryWindow::toolbarAtBottom() const
{
    return layout()->indexOf(m_toolBar) != 0;
}

void EntryWindow::setToolbarAtBottom(bool bottom)
{
    auto *box = static_cast<QVBoxLayout *>(layout());
    box->removeWidget(m_toolBar);
    if (bottom)
        box->addWidget(m_toolBar);
    else
        box->insertWidget(0, m_toolBar);
    m_btPosition->setText(bottom ? QStringLiteral("上") : QStringLiteral("下"));
}

void EntryWindow::moveToolbar()
{
    setToolbarAtBottom(!toolbarAtBottom());
}

void EntryWindow::closeEvent(QCloseEvent *event)
{
    QStringList keyValues;
    for (const QString &name : m_kind.closeKeyFields) {
        const entry::BillField *field = entry::findField(m_kind.fields, name);
        keyValues << (field ? field->valueOf(text(name)) : text(name));
    }
    if (m_state.askSaveOnClose(m_core.dialogs(), keyValues))
        save();
    m_core.session().currentTemplateId = -1;
    if (m_kind.remembersPosition) {
        settings::IniFile &ini = m_core.settings().file();
        const QString section = m_kind.positionSection();
        ini.setValue(section, QStringLiteral("PositionX"), QString::number(frame()->x()));
        ini.setValue(section, QStringLiteral("PositionY"), QString::number(frame()->y()));
        ini.setValue(section, QStringLiteral("PositionBar"),
                     toolbarAtBottom() ? QStringLiteral("bottom") : QStringLiteral("top"));
        m_core.settings().flush();
    }
    event->accept();
    Q_EMIT closed();
}

} // namespace moque::ui
