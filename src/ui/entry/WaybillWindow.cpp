#include "entry/WaybillWindow.h"

#include "app/AppCore.h"
#include "common/Dialogs.h"
#include "entry/Amounts.h"
#include "entry/BillStore.h"
#include "entry/WaybillAids.h"
#include "entry/WaybillColumns.h"
#include "entry/WaybillFields.h"
#include "app/PrintJob.h"
#include "print/SystemPrintDevice.h"
#include "print/ValueSource.h"
#include "refdata/CodeLists.h"
#include "refdata/DAOPerson.h"
#include "refdata/Dictionaries.h"
#include "refdata/AddressBookWindow.h"
#include "refdata/AddressEntryDialog.h"
#include "templates/FormPlacement.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QShortcut>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace moque::ui {

using refdata::TPerson;

namespace {

const QString kCommonTab = QStringLiteral("配置常用模板");
const QString kPositionSection = QStringLiteral("FMCHECKKDD");
constexpr int kStripHeight = 26;

struct PartyControl
{
    const char *name;
    TPerson::Field field;
};

const PartyControl kSenderControls[] = {
    {"zdHKR", TPerson::FullName},     {"zdHKRLXR", TPerson::Contact},    {"zdHKRS", TPerson::Province},
    {"zdHKRXS", TPerson::City},       {"edtFJRTown", TPerson::Town},     {"zdHkrDZ", TPerson::Address},
    {"zdhkrDH", TPerson::Phone},      {"hkrHandset", TPerson::Mobile},   {"edtCountryFrom", TPerson::Country},
    {"zdHKRYB", TPerson::ZipCode},
};
const PartyControl kReceiverControls[] = {
    {"zdSKR", TPerson::FullName},     {"zdSKRLXR", TPerson::Contact},    {"zdSKRS", TPerson::Province},
    {"zdSKRXS", TPerson::City},       {"edtSJRTown", TPerson::Town},     {"zdSkrDZ", TPerson::Address},
    {"zdskrDH", TPerson::Phone},      {"skrHandset", TPerson::Mobile},   {"edtCountryDest", TPerson::Country},
    {"zdSKRYB", TPerson::ZipCode},
};

// "仅打印发件人" hides these; "仅打印收件方" hides the sender's.
const QStringList kReceiverOnlyControls{
    QStringLiteral("zdSKR"),      QStringLiteral("zdSKRLXR"),   QStringLiteral("zdSKRS"),
    QStringLiteral("zdSKRXS"),    QStringLiteral("zdskrDH"),    QStringLiteral("zdSKRYB"),
    QStringLiteral("zdSkrDZ"),    QStringLiteral("edtSJRTown"), QStringLiteral("skrHandset"),
    QStringLiteral("edtCountryDest"), QStringLiteral("cbDestSite")};
const QStringList kSenderOnlyControls{
    QStringLiteral("zdHKR"),      QStringLiteral("zdHKRLXR"),   QStringLiteral("zdHKRS"),
    QStringLiteral("zdHKRXS"),    QStringLiteral("zdhkrDH"),    QStringLiteral("zdHKRYB"),
    QStringLiteral("zdHkrDZ"),    QStringLiteral("edtFJRTown"), QStringLiteral("hkrHandset"),
    QStringLiteral("edtCountryFrom"), QStringLiteral("cbFromSite"), QStringLiteral("zdSign")};
const QStringList kDateControls{QStringLiteral("zdNian"), QStringLiteral("zdYue"), QStringLiteral("zdRi"),
                                QStringLiteral("zdTime")};

const QStringList kJedxFormats{
    QStringLiteral("00000.00  限万位到分"),   QStringLiteral("00000.0   限万位到角"),
    QStringLiteral("00000     限万位无小数"), QStringLiteral("0000.00   限千位到分"),
    QStringLiteral("0000.0    限千位到角"),   QStringLiteral("0000      限千位无小数"),
    QStringLiteral("000.00    限百位到分"),   QStringLiteral("000.0     限百位到角"),
    QStringLiteral("000       限百位无小数"), QStringLiteral("000000.00 限十万位到分"),
    QStringLiteral("000000.0  限十万位到角"), QStringLiteral("000000    限十万位无小数"),
    QStringLiteral("打印小写金额"),           QStringLiteral("打印中国传统大写金额")};

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
void fillList(QComboBox *combo, const QStringList &values)
{
    const QSignalBlocker blocker(combo);
    const QString shown = combo->currentText();
    combo->clear();
    combo->addItems(values);
    combo->setCurrentIndex(-1);
    combo->setEditText(shown);
}

} // namespace

// What the print engine reads: the visible controls of the picture panel.
class WaybillWindow::PanelValues : public print::ValueSource
{
public:
    explicit PanelValues(const QWidget *panel) : m_panel(panel) {}

    print::FieldValue value(const QString &fieldName) const override
    {
        const QWidget *w = findByName(m_panel, fieldName);
        if (!w || !w->isVisibleTo(m_panel))
            return {{}, false};
        if (auto *box = qobject_cast<const QCheckBox *>(w))
            return {box->isChecked() ? QStringLiteral("√") : QString(), true};
        if (auto *memo = qobject_cast<const QPlainTextEdit *>(w))
            return {memo->toPlainText().split(QLatin1Char('\n')).join(QStringLiteral("\r\n")), true};
        if (w->objectName() == QStringLiteral("zdSKR"))
            return {entry::receiverNameForSave(widgetText(w)), true};
        return {widgetText(w), true};
    }

private:
    const QWidget *m_panel;
};

WaybillWindow::WaybillWindow(app::AppCore &core, QWidget *parent)
    : QWidget(parent),
      m_core(core),
      m_catalog(core.db(), core.dialogs(), core.store()),
      m_cache(m_catalog, core.dialogs(), core.dir()),
      m_items(core.db())
{
    // The window keeps the form name the system knows it by.
    setObjectName(QStringLiteral("fmCheckKDD"));
    setObjectName(QStringLiteral("fmCheckKDD"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildToolbar();
    buildTemplateBar();
    buildPanel();
    m_values = std::make_unique<PanelValues>(m_panel);

    m_defaultTypeId = m_catalog.loadDefaultCheckTypeId(kindName());
    if (m_defaultTypeId <= 0)
        return;
    const QString defaultName = m_catalog.loadCheckTypeLastNameByID(m_defaultTypeId);
    m_core.session().currentTemplateId = m_defaultTypeId;

    const app::Session &session = m_core.session();
    if (session.params.useDefaultIssuer && session.defaultIssuer)
        setSender(session.defaultIssuer);
    else
        setSender(std::nullopt);
    setBillDate(QDate::currentDate());
    connectChanges();

    if (m_cbFirstTypeName->count() == 0)
        reloadTypeNameList();
    m_curTypeId = m_defaultTypeId;
    setCurrentCheckType(defaultName);
    m_loadedTypeId = 0;
    templateKindChosen();
    buildCommonBlocks();
    if (text(QStringLiteral("zdSKR")).isEmpty())
        setText(QStringLiteral("zdSKR"), entry::receiverPlaceholder());
}

WaybillWindow::~WaybillWindow() = default;

void WaybillWindow::buildToolbar()
{
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("toolBarCheck"));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    const auto add = [this](const QString &name, const QString &caption, auto slot) {
        auto *b = new QToolButton(m_toolBar);
        b->setObjectName(name);
        b->setText(caption);
        m_toolBar->addWidget(b);
        connect(b, &QToolButton::clicked, this, slot);
        return b;
    };
    m_btPosition = add(QStringLiteral("btPosition"), QStringLiteral("下"), &WaybillWindow::moveToolbar);
    add(QStringLiteral("btMoveXY"), QStringLiteral("整体偏移"), [this] {
        m_core.session().currentTemplateId = m_curTypeId;
        Q_EMIT offsetRequested(m_curTypeId);
    });
    add(QStringLiteral("btDesign"), QStringLiteral("设计模式"), [this] { Q_EMIT designRequested(m_curTypeId); });
    add(QStringLiteral("btSaveSKRen"), QStringLiteral("存收件人"), &WaybillWindow::saveReceiverToAddressBook);
    add(QStringLiteral("btPaste"), QStringLiteral("地址串识别(&W)"), &WaybillWindow::addressRecognitionRequested);
    add(QStringLiteral("btOpenCheck"), QStringLiteral("打开(&O)"), &WaybillWindow::openHistoryRequested);
    add(QStringLiteral("btNewCheck"), QStringLiteral("新建(&N)"), &WaybillWindow::newBill);
    m_btSaveAs = add(QStringLiteral("btSaveAs"), QStringLiteral("复制(&C)"), &WaybillWindow::copyBill);
    add(QStringLiteral("btSaveCheck"), QStringLiteral("保存(&S)"), &WaybillWindow::saveBill);
    m_btPrint1 = add(QStringLiteral("btPrint1"), QStringLiteral("单张打印(&P)"), &WaybillWindow::printOne);
    m_btPrintAndSave = add(QStringLiteral("btPrintAndSave"), QStringLiteral("打印并保存"),
                           &WaybillWindow::printAndSave);
    // The batch print list is not there yet; the main window's print menu reaches 重复打印.
    m_btMultiPrintS = new QToolButton(m_toolBar);
    m_btMultiPrintS->setObjectName(QStringLiteral("btMultiPrintS"));
    m_btMultiPrintS->setText(QStringLiteral("批量打印"));
    m_btMultiPrintS->setEnabled(false);
    m_toolBar->addWidget(m_btMultiPrintS);
    m_btMultiPrintF = add(QStringLiteral("btMultiPrintF"), QStringLiteral("重复打印"), &WaybillWindow::printRepeatedly);
    add(QStringLiteral("btClose"), QStringLiteral("关闭&C"), [this] {
        if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
            sub->close();
        else
            close();
    });
    // Keys that work however narrow the window is, when the toolbar has put
    // its last buttons out of sight (their Alt mnemonics go with them).
    const auto key = [this](QKeySequence::StandardKey standard, const QString &button, auto slot) {
        auto *shortcut = new QShortcut(QKeySequence(standard), this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, slot);
        m_toolBar->findChild<QToolButton *>(button)->setToolTip(shortcut->key().toString(QKeySequence::NativeText));
    };
    key(QKeySequence::New, QStringLiteral("btNewCheck"), &WaybillWindow::newBill);
    key(QKeySequence::Save, QStringLiteral("btSaveCheck"), &WaybillWindow::saveBill);
    key(QKeySequence::Print, QStringLiteral("btPrint1"), &WaybillWindow::printOne);
    const QList<QAction *> actions = m_toolBar->actions();
    for (QAction *a : actions) {
        const QWidget *w = m_toolBar->widgetForAction(a);
        if (w == m_btMultiPrintS || w == m_btMultiPrintF)
            a->setVisible(false);
    }
    static_cast<QVBoxLayout *>(layout())->addWidget(m_toolBar);
}

void WaybillWindow::buildTemplateBar()
{
    auto *panelTab = new QWidget(this);
    panelTab->setObjectName(QStringLiteral("panelTab"));
    auto *row = new QHBoxLayout(panelTab);
    row->setContentsMargins(2, 0, 2, 0);
    m_tabs = new QTabBar(panelTab);
    m_tabs->setObjectName(QStringLiteral("tbcCheckTypeName"));
    m_tabs->setExpanding(false);
    m_cbFirstTypeName = new QComboBox(panelTab);
    m_cbFirstTypeName->setObjectName(QStringLiteral("cbFirstTypeName"));
    m_cbFirstTypeName->setToolTip(QStringLiteral("快递单类型-您可以在系统管理-快递单筛选中修改默快递单"));
    m_cbFirstTypeName->setMinimumContentsLength(16);
    row->addWidget(m_tabs, 1);
    row->addWidget(m_cbFirstTypeName);
    static_cast<QVBoxLayout *>(layout())->addWidget(panelTab);
    connect(m_cbFirstTypeName, &QComboBox::currentIndexChanged, this, [this] { templateKindChosen(); });
    connect(m_tabs, &QTabBar::currentChanged, this, &WaybillWindow::templateTabChosen);
}

void WaybillWindow::buildPanel()
{
    m_scroll = new QScrollArea(this);
    m_panel = new QWidget;
    m_panel->setObjectName(QStringLiteral("panelImgBg"));
    m_bgImage = new QLabel(m_panel);
    m_bgImage->setObjectName(QStringLiteral("bgImage"));
    m_bgImage->setGeometry(0, 0, 400, 300);

    for (const entry::BillField &field : entry::waybillFields()) {
        QWidget *w = nullptr;
        switch (field.control) {
        case entry::BillField::Control::Edit:
            w = new QLineEdit(m_panel);
            break;
        case entry::BillField::Control::Combo: {
            auto *combo = new QComboBox(m_panel);
            combo->setEditable(true);
            combo->setInsertPolicy(QComboBox::NoInsert);
            w = combo;
            break;
        }
        case entry::BillField::Control::Memo: {
            auto *memo = new QPlainTextEdit(m_panel);
            // Tab moves on to the next field; an address needs no tab characters.
            memo->setTabChangesFocus(true);
            memo->viewport()->installEventFilter(this);
            w = memo;
            break;
        }
        }
        w->setObjectName(field.name);
        w->setToolTip(field.hint);
        w->hide();
        w->installEventFilter(this);
        m_fields.append(w);
    }
    auto *amount = qobject_cast<QComboBox *>(control(QStringLiteral("edtAmount")));
    fillList(amount, {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
                      QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("8"),
                      QStringLiteral("9"), QStringLiteral("10"), QStringLiteral("20"), QStringLiteral("30"),
                      QStringLiteral("50"), QStringLiteral("100")});

    // The form's thirteen ready option boxes; further ones are made per template.
    for (int i = 0; i < 13; ++i) {
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

    const auto shape = [this](const QString &name, const QString &hint) {
        auto *b = new QToolButton(m_panel);
        b->setObjectName(name);
        b->setToolTip(hint);
        b->setFixedSize(14, 14);
        b->setStyleSheet(QStringLiteral("QToolButton { border: 2px solid red; border-radius: 7px; background: "
                                        "transparent; } QToolButton:hover { background: #ff8080; }"));
        b->setCursor(Qt::PointingHandCursor);
        return b;
    };
    m_shpHKR = shape(QStringLiteral("shpHKR"), QStringLiteral("点击选取寄件人"));
    m_shpSKR = shape(QStringLiteral("shpskr"), QStringLiteral("点击选取收件人"));
    connect(m_shpHKR, &QToolButton::clicked, this, [this] {
        for (QComboBox *p : pickers())
            p->hide();
        setSender(AddressBookWindow::fetchOnePerson(m_core, QStringLiteral("我方单位"),
                                                   QStringLiteral("选择发件人资料"), this));
    });
    connect(m_shpSKR, &QToolButton::clicked, this, [this] {
        for (QComboBox *p : pickers())
            p->hide();
        setReceiver(AddressBookWindow::fetchOnePerson(m_core, QStringLiteral("往来单位"),
                                                     QStringLiteral("选择收件人资料"), this));
    });

    for (const char *name : {"zdHKR", "zdSKR"}) {
        auto *combo = qobject_cast<QComboBox *>(control(QLatin1String(name)));
        const bool sender = combo->objectName() == QStringLiteral("zdHKR");
        connect(combo->lineEdit(), &QLineEdit::returnPressed, this, [this, sender] { lookUpParty(sender); });
        connect(combo, &QComboBox::activated, this, [this, combo, sender](int index) {
            m_state.valueChanged();
            if (m_state.isLoading())
                return;
            const auto found = refdata::DAOPerson(m_core.db()).FindPersonByFullName(combo->itemText(index));
            if (found)
                sender ? setSender(found) : setReceiver(found);
        });
    }

    buildPickers();
    QList<QComboBox *> wholeText = pickers();
    wholeText << qobject_cast<QComboBox *>(control(QStringLiteral("zdHKR")))
              << qobject_cast<QComboBox *>(control(QStringLiteral("zdSKR")));
    for (QComboBox *combo : std::as_const(wholeText)) {
        combo->lineEdit()->installEventFilter(this);
        m_selectAllOnDoubleClick.append(combo->lineEdit());
    }
    buildOptionStrip();
    m_scroll->setWidget(m_panel);
    m_scroll->setWidgetResizable(false);
    static_cast<QVBoxLayout *>(layout())->addWidget(m_scroll, 1);
}

void WaybillWindow::buildPickers()
{
    const auto picker = [this](const QString &name) {
        auto *combo = new QComboBox(m_panel);
        combo->setObjectName(name);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->hide();
        combo->installEventFilter(this);
        return combo;
    };
    m_cbS = picker(QStringLiteral("Cb_S"));
    m_cbXS = picker(QStringLiteral("Cb_XS"));
    m_cbCountry = picker(QStringLiteral("cbCountry"));
    m_cbBZ = picker(QStringLiteral("cbBZ"));
    m_cbWPNR = picker(QStringLiteral("cb_zdWPNR"));
    // These two write back while the user is still choosing.
    for (QComboBox *combo : {m_cbS, m_cbWPNR}) {
        connect(combo, &QComboBox::editTextChanged, this, [this, combo](const QString &value) {
            if (m_pickTarget && combo->isVisible())
                setText(m_pickTarget->objectName(), value);
        });
    }
}

void WaybillWindow::openPicker(QComboBox *picker, QWidget *target)
{
    if (picker == m_cbS && m_cbS->count() == 0)
        fillList(m_cbS, refdata::CodeLists(m_core.db()).loadProvinces());
    if (picker == m_cbXS) {
        const bool sender = target->objectName() == QStringLiteral("zdHKRXS");
        QString province = sender ? text(QStringLiteral("zdHKRS")) : QString();
        if (province.isEmpty())
            province = text(QStringLiteral("zdSKRS"));
        // An unknown or empty province keeps the previous list.
        const QStringList cities = refdata::CodeLists(m_core.db()).loadCitysByProvince(province);
        if (!province.isEmpty() && !cities.isEmpty())
            fillList(m_cbXS, cities);
    }
    const refdata::Dictionaries dictionaries(m_core.db());
    if (picker == m_cbBZ && m_cbBZ->count() == 0)
        fillList(m_cbBZ, dictionaries.loadDMListByName(QStringLiteral("备注"), QString::number(m_curTypeId) + QStringLiteral(",0")));
    if (picker == m_cbWPNR && m_cbWPNR->count() == 0)
        fillList(m_cbWPNR, dictionaries.loadDMListByName(QStringLiteral("物品内容"), QStringLiteral("0,") + QString::number(m_curTypeId)));
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

void WaybillWindow::closePicker(QComboBox *picker)
{
    picker->hide();
    if (m_pickTarget)
        setText(m_pickTarget->objectName(), picker->currentText());
    m_pickTarget = nullptr;
}

void WaybillWindow::buildOptionStrip()
{
    m_shortbar = new QWidget(m_panel);
    m_shortbar->setObjectName(QStringLiteral("shortbar"));
    auto *row = new QHBoxLayout(m_shortbar);
    row->setContentsMargins(4, 0, 4, 0);
    const auto box = [this, row](const QString &name, const QString &caption, const QString &hint = {}) {
        auto *b = new QCheckBox(caption, m_shortbar);
        b->setObjectName(name);
        b->setToolTip(hint);
        row->addWidget(b);
        return b;
    };
    m_cfgDestSiteIsCity = box(QStringLiteral("cfgDestSiteIsCity"), QStringLiteral("目的站=城市"));
    m_cfgWantPrintRQ = box(QStringLiteral("cfgWantPrintRQ"), QStringLiteral("打印日期"),
                           QStringLiteral("如果一直不打印日期，可到设计模式中隐藏日期项目"));
    row->addWidget(new QLabel(QStringLiteral("金额大写1格式:"), m_shortbar));
    m_cfgJEDXFormat = new QComboBox(m_shortbar);
    m_cfgJEDXFormat->setObjectName(QStringLiteral("cfgJEDXFormat"));
    m_cfgJEDXFormat->addItems(kJedxFormats);
    m_cfgJEDXFormat->setCurrentText(QStringLiteral("打印小写金额"));
    row->addWidget(m_cfgJEDXFormat);
    m_ckHandset2Phone = box(QStringLiteral("ckHandset2Phone"), QStringLiteral("合并手机到电话"),
                            QStringLiteral("当手机不可填写时才有效！"));
    m_ckPrintFJROnly = box(QStringLiteral("ckPrintFJROnly"), QStringLiteral("仅打印发件人"),
                           QStringLiteral("国家、省、市、地址、电话、联系人、签名、邮编、(始发站/目的站、快递帐号）"));
    m_ckPrintSJROnly = box(QStringLiteral("ckPrintSJROnly"), QStringLiteral("仅打印收件方"),
                           QStringLiteral("隐藏发件人信息"));
    auto *remember = new QPushButton(QStringLiteral("记住选项"), m_shortbar);
    remember->setObjectName(QStringLiteral("btRmember"));
    row->addWidget(remember);
    row->addStretch(1);

    connect(remember, &QPushButton::clicked, this, &WaybillWindow::rememberOptions);
    connect(m_cfgDestSiteIsCity, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            setText(QStringLiteral("cbDestSite"),
                    entry::destinationWhenOptionOn(text(QStringLiteral("cbDestSite")), text(QStringLiteral("zdSKRXS"))));
    });
    connect(m_cfgWantPrintRQ, &QCheckBox::toggled, this, &WaybillWindow::applyPrintDateOption);
    connect(m_cfgJEDXFormat, &QComboBox::currentIndexChanged, this, &WaybillWindow::convertAmount);
    connect(m_ckHandset2Phone, &QCheckBox::toggled, this, [this](bool on) {
        setText(QStringLiteral("zdskrDH"),
                entry::mergeHandset(text(QStringLiteral("zdskrDH")), text(QStringLiteral("skrHandset")), on));
    });
    connect(m_ckPrintFJROnly, &QCheckBox::toggled, this, &WaybillWindow::applyReceiverOnly);
    connect(m_ckPrintSJROnly, &QCheckBox::toggled, this, &WaybillWindow::applySenderOnly);
}

void WaybillWindow::connectChanges()
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
    connect(qobject_cast<QLineEdit *>(control(QStringLiteral("zdSKRXS"))), &QLineEdit::textChanged, this,
            [this](const QString &city) {
                setText(QStringLiteral("cbDestSite"),
                        entry::destinationAfterCityChange(m_cfgDestSiteIsCity->isChecked(),
                                                          text(QStringLiteral("cbDestSite")), city));
            });
    connect(qobject_cast<QLineEdit *>(control(QStringLiteral("hkrHandset"))), &QLineEdit::textChanged, this,
            [this] { copyHandsetToPhone(QStringLiteral("zdhkrDH"), QStringLiteral("hkrHandset"), false); });
    connect(qobject_cast<QLineEdit *>(control(QStringLiteral("skrHandset"))), &QLineEdit::textChanged, this,
            [this] { copyHandsetToPhone(QStringLiteral("zdskrDH"), QStringLiteral("skrHandset"), false); });
}

QWidget *WaybillWindow::control(const QString &name) const
{
    return findByName(m_panel, name);
}

const print::ValueSource &WaybillWindow::values() const
{
    return *m_values;
}

QString WaybillWindow::text(const QString &name) const
{
    const QWidget *w = control(name);
    return w ? widgetText(w) : QString();
}

void WaybillWindow::setText(const QString &name, const QString &value)
{
    QWidget *w = control(name);
    if (auto *edit = qobject_cast<QLineEdit *>(w))
        edit->setText(value);
    else if (auto *combo = qobject_cast<QComboBox *>(w))
        combo->setEditText(value);
    else if (auto *memo = qobject_cast<QPlainTextEdit *>(w))
        memo->setPlainText(value);
}

QDate WaybillWindow::billDate() const
{
    return m_selDate->date();
}

void WaybillWindow::setBillDate(const QDate &date)
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

void WaybillWindow::writeDateBoxes()
{
    writeDateBoxes(m_selDate->date());
}

void WaybillWindow::writeDateBoxes(const QDate &date)
{
    const entry::DateBoxes boxes = entry::dateBoxes(date);
    setText(QStringLiteral("zdNian"), boxes.year);
    setText(QStringLiteral("zdYue"), boxes.month);
    setText(QStringLiteral("zdRi"), boxes.day);
}

void WaybillWindow::reloadTypeNameList()
{
    const QSignalBlocker blocker(m_cbFirstTypeName);
    m_cbFirstTypeName->clear();
    m_cbFirstTypeName->addItems(m_catalog.loadCheckTypeLastNameList(kindName()));
}

void WaybillWindow::buildCommonBlocks()
{
    const QSignalBlocker blocker(m_tabs);
    while (m_tabs->count() > 0)
        m_tabs->removeTab(0);
    const QStringList names = m_catalog.loadCommonTypeLastNameList(kindName());
    for (const QString &name : names)
        m_tabs->addTab(name);
    // The template management window is not part of the program yet.
    const int manage = m_tabs->addTab(kCommonTab);
    m_tabs->setTabEnabled(manage, false);
    m_tabs->setCurrentIndex(-1);
    setCurrentCheckType(m_cbFirstTypeName->currentText());
}

bool WaybillWindow::setCurrentCheckType(const QString &displayName)
{
    bool changed = false;
    if (m_cbFirstTypeName->currentText() != displayName) {
        const int index = m_cbFirstTypeName->findText(displayName, Qt::MatchExactly);
        if (index >= 0) {
            const QSignalBlocker blocker(m_cbFirstTypeName);
            m_cbFirstTypeName->setCurrentIndex(index);
            changed = true;
        }
    }
    if (m_tabs->currentIndex() < 0 || m_tabs->tabText(m_tabs->currentIndex()) != displayName) {
        for (int i = m_tabs->count() - 1; i >= 0; --i) {
            if (m_tabs->tabText(i) == displayName) {
                const QSignalBlocker blocker(m_tabs);
                m_tabs->setCurrentIndex(i);
                break;
            }
        }
    }
    return changed;
}

void WaybillWindow::templateKindChosen()
{
    const QString name = m_cbFirstTypeName->currentText();
    m_state.templateChosen(name);
    m_curTypeId = m_catalog.loadCheckTypeIDByFirstAndLastName(kindName(), name);
    initFormType();
    updateCaption();
    m_core.session().currentTemplateId = m_curTypeId;
    setCurrentCheckType(name);
    Q_EMIT templateChanged(m_curTypeId);
}

void WaybillWindow::templateTabChosen(int index)
{
    const QString name = m_tabs->tabText(index);
    if (name.isEmpty() || name == kCommonTab)
        return;
    if (setCurrentCheckType(name))
        templateKindChosen();
    else if (name != m_cbFirstTypeName->currentText())
        m_core.dialogs().info(QStringLiteral("模板(") + name
                              + QStringLiteral(")不存在或被重命名了，请关闭填单界面并重新填开,以刷新模板列表！"));
}

void WaybillWindow::initFormType()
{
    if (m_curTypeId == m_loadedTypeId)
        return;
    setProperty("tag", m_curTypeId);
    m_checkIni = m_cache.OpenCheckInif(m_curTypeId);
    loadParam(m_curTypeId);
    loadCheckBoxsConfig();
    setFormControlsPosition(kindName(), m_panel, m_checkIni.get(), m_items, m_core.dialogs());
    loadDictionaryLists();
    {
        const QSignalBlocker blocker(m_ckHandset2Phone);
        m_ckHandset2Phone->setChecked(false);
    }
    applyPrintDateOption();
    applySenderOnly();
    writeDateBoxes();
    for (const char *name : {"zdHkrDZ", "zdSkrDZ"})
        fitAddressFont(qobject_cast<QPlainTextEdit *>(control(QLatin1String(name))));
    layoutFixedParts();
    m_loadedTypeId = m_curTypeId;
}

void WaybillWindow::loadParam(int templateId)
{
    m_bgImage->move(0, 0);
    m_bgImage->show();
    const std::optional<templates::TemplateRow> row = m_catalog.templateById(templateId);
    if (!row)
        return;
    loadCheckBox(row->checkBoxes);
    const int w = row->screenWidth;
    const int h = row->screenHeight;
    m_panel->setFixedSize(w, h + kStripHeight);
    m_bgImage->setGeometry(0, 0, w, h);
    m_shortbar->setGeometry(0, h, w, kStripHeight);
    const QString file = row->imageFile.isEmpty() ? QStringLiteral("dhd_default.jpg") : row->imageFile;
    const QPixmap picture(m_core.dir().imageDir() + file);
    // A missing picture leaves a plain panel.
    m_bgImage->setPixmap(picture.isNull() ? QPixmap() : picture.scaled(w, h));
    resize(w + 8, h + kStripHeight + m_toolBar->sizeHint().height() + m_tabs->sizeHint().height() + 35);
}

void WaybillWindow::loadCheckBox(const QString &list)
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

void WaybillWindow::loadCheckBoxsConfig()
{
    const auto config = [this](const QString &name) {
        return templates::TemplateCache::getInifCheckConfigByName(m_checkIni.get(), name);
    };
    const QSignalBlocker destBlocker(m_cfgDestSiteIsCity);
    m_cfgDestSiteIsCity->setChecked(config(m_cfgDestSiteIsCity->objectName()) == QStringLiteral("1"));
    {
        const QSignalBlocker blocker(m_cfgWantPrintRQ);
        m_cfgWantPrintRQ->setChecked(config(m_cfgWantPrintRQ->objectName()) == QStringLiteral("1"));
    }
    const QString format = config(m_cfgJEDXFormat->objectName());
    const QSignalBlocker formatBlocker(m_cfgJEDXFormat);
    m_cfgJEDXFormat->setCurrentText(format.isEmpty() || m_cfgJEDXFormat->findText(format) < 0
                                        ? QStringLiteral("打印小写金额")
                                        : format);
}

void WaybillWindow::rememberOptions()
{
    const auto flag = [](const QCheckBox *box) { return box->isChecked() ? QStringLiteral("1") : QStringLiteral("0"); };
    m_cache.setCheckConfigByName(m_curTypeId, m_cfgDestSiteIsCity->objectName(), flag(m_cfgDestSiteIsCity));
    m_cache.setCheckConfigByName(m_curTypeId, m_cfgWantPrintRQ->objectName(), flag(m_cfgWantPrintRQ));
    m_cache.setCheckConfigByName(m_curTypeId, m_cfgJEDXFormat->objectName(), m_cfgJEDXFormat->currentText());
    m_core.dialogs().info(QStringLiteral("打印勾选及选项已记住！"));
    m_cache.buildCheckIniFile(m_curTypeId);
    m_checkIni = m_cache.OpenCheckInif(m_curTypeId);
}

void WaybillWindow::loadDictionaryLists()
{
    const refdata::Dictionaries dictionaries(m_core.db());
    const QString ids = QStringLiteral("0,") + QString::number(m_curTypeId);
    for (const auto &[name, dictionary] :
         {std::pair{QStringLiteral("zdSign"), QStringLiteral("发件人签名")},
          std::pair{QStringLiteral("cbFromSite"), QStringLiteral("始发站")}}) {
        auto *combo = qobject_cast<QComboBox *>(control(name));
        const QStringList values = dictionaries.loadDMListByName(dictionary, ids);
        fillList(combo, values);
        if (combo->currentText().isEmpty() && !values.isEmpty())
            combo->setCurrentIndex(0);
    }
}

void WaybillWindow::placeControls(const QStringList &names)
{
    if (!m_checkIni)
        return;
    for (const QString &name : names)
        setFormCtlPositionFromIni(name, *m_checkIni, m_panel);
}

void WaybillWindow::layoutFixedParts()
{
    // The date picker sits right of the day box, the red circles left of the name boxes.
    const QWidget *day = control(QStringLiteral("zdRi"));
    m_selDate->setGeometry(day->x() + day->width() + 2, day->y(), 20, qMax(day->height(), 18));
    m_selDate->setVisible(m_cfgWantPrintRQ->isChecked() && !day->isHidden());
    const auto putBeside = [](QWidget *shape, const QWidget *box) {
        shape->move(qMax(0, box->x() - shape->width() - 2), box->y());
        shape->raise();
    };
    putBeside(m_shpHKR, control(QStringLiteral("zdHKR")));
    putBeside(m_shpSKR, control(QStringLiteral("zdSKR")));
    m_shortbar->raise();
}

void WaybillWindow::applyPrintDateOption()
{
    if (m_cfgWantPrintRQ->isChecked()) {
        placeControls(kDateControls);
        writeDateBoxes();
        const QWidget *day = control(QStringLiteral("zdRi"));
        m_selDate->setVisible(!day->isHidden());
    } else {
        for (const QString &name : kDateControls)
            control(name)->hide();
        m_selDate->hide();
    }
}

void WaybillWindow::applyReceiverOnly()
{
    if (m_ckPrintFJROnly->isChecked()) {
        for (const QString &name : kReceiverOnlyControls)
            control(name)->hide();
    } else {
        placeControls(kReceiverOnlyControls);
    }
}

void WaybillWindow::applySenderOnly()
{
    if (m_ckPrintSJROnly->isChecked()) {
        for (const QString &name : kSenderOnlyControls)
            control(name)->hide();
    } else {
        placeControls(kSenderOnlyControls);
    }
}

QString WaybillWindow::getItemCheckTitle() const
{
    QStringList captions;
    QList<bool> ticked;
    for (const QCheckBox *box : m_itemChecks) {
        captions << box->text();
        ticked << box->isChecked();
    }
    return entry::tickedOptionsText(captions, ticked);
}

void WaybillWindow::setItemCheckTitle(const QString &text)
{
    QStringList captions;
    for (const QCheckBox *box : std::as_const(m_itemChecks))
        captions << box->text();
    const QList<bool> ticks = entry::ticksFromOptionsText(captions, text);
    for (int i = 0; i < m_itemChecks.size(); ++i)
        m_itemChecks[i]->setChecked(ticks.value(i));
}

void WaybillWindow::setSender(const std::optional<TPerson> &person)
{
    m_senderPerson = person;
    for (const PartyControl &c : kSenderControls)
        setText(QLatin1String(c.name), person ? person->text(c.field) : QString());
}

void WaybillWindow::setReceiver(const std::optional<TPerson> &person)
{
    m_receiverPerson = person;
    for (const PartyControl &c : kReceiverControls)
        setText(QLatin1String(c.name), person ? person->text(c.field) : QString());
}

void WaybillWindow::lookUpParty(bool sender)
{
    const QString name = text(sender ? QStringLiteral("zdHKR") : QStringLiteral("zdSKR")).trimmed();
    if (name.isEmpty())
        return;
    const refdata::DAOPerson dao(m_core.db());
    std::optional<TPerson> found = dao.FindPersonByFullName(name);
    if (!found)
        found = dao.FindPersonByInputCode(name);
    if (!found)
        return;
    if (sender)
        setSender(found);
    else
        setReceiver(found);
}

void WaybillWindow::copyHandsetToPhone(const QString &phone, const QString &handset, bool trimmed)
{
    const QString current = trimmed ? text(phone).trimmed() : text(phone);
    if (current.isEmpty() && control(handset)->isHidden())
        setText(phone, text(handset));
}

void WaybillWindow::convertAmount()
{
    const QString figure = text(QStringLiteral("zdJEDX1"));
    if (figure.trimmed().isEmpty())
        return;
    const entry::AmountText result = entry::waybillAmount(figure, m_cfgJEDXFormat->currentText());
    if (!result.ok()) {
        m_core.dialogs().info(result.error);
        return;
    }
    setText(QStringLiteral("zdJEDX1"), result.text);
}

void WaybillWindow::fitAddressFont(QPlainTextEdit *memo)
{
    if (!memo)
        return;
    int points = 9;
    if (memo->blockCount() >= 2) {
        const int h = memo->height();
        points = h <= 21 ? 7 : (h <= 23 ? 8 : 9);
    }
    QFont font = memo->font();
    font.setPointSize(points);
    memo->setFont(font);
}

QList<QComboBox *> WaybillWindow::pickers() const
{
    return {m_cbS, m_cbXS, m_cbCountry, m_cbBZ, m_cbWPNR};
}

bool WaybillWindow::isPicker(const QObject *object) const
{
    return object && pickers().contains(object);
}

bool WaybillWindow::eventFilter(QObject *watched, QEvent *event)
{
    const QString name = watched->objectName();
    if (event->type() == QEvent::MouseButtonDblClick && m_selectAllOnDoubleClick.contains(watched)) {
        static_cast<QLineEdit *>(watched)->selectAll();
        return true;
    }
    if (isPicker(watched)) {
        auto *asPicker = static_cast<QComboBox *>(watched);
        // The picker's own drop-down takes the focus for a moment; that is not leaving.
        if (event->type() == QEvent::FocusOut
            && static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason)
            closePicker(asPicker);
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (const auto &[memoName, picker] : {std::pair{QStringLiteral("zdBz"), m_cbBZ},
                                               std::pair{QStringLiteral("zdWPNR"), m_cbWPNR}}) {
            auto *memo = qobject_cast<QPlainTextEdit *>(control(memoName));
            if (watched == memo->viewport()) {
                openPicker(picker, memo);
                return true;
            }
        }
        for (const char *memoName : {"zdHkrDZ", "zdSkrDZ"}) {
            auto *memo = qobject_cast<QPlainTextEdit *>(control(QLatin1String(memoName)));
            if (watched == memo->viewport()) {
                memo->selectAll();
                return true;
            }
        }
    }
    if (event->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        auto *memo = qobject_cast<QPlainTextEdit *>(watched);
        if (memo && (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason))
            memo->selectAll();
        if (name == QStringLiteral("zdHKRS") || name == QStringLiteral("zdSKRS")) {
            openPicker(m_cbS, static_cast<QWidget *>(watched));
        } else if (name == QStringLiteral("zdHKRXS") || name == QStringLiteral("zdSKRXS")) {
            openPicker(m_cbXS, static_cast<QWidget *>(watched));
        } else if (name == QStringLiteral("edtCountryFrom") || name == QStringLiteral("edtCountryDest")) {
            openPicker(m_cbCountry, static_cast<QWidget *>(watched));
        } else if (name == QStringLiteral("zdHKR") || name == QStringLiteral("zdSKR")) {
            // The receiver prompt goes away when the user comes to type; the
            // bill holds no other value for it.
            auto *combo = static_cast<QComboBox *>(watched);
            if (text(name) == entry::receiverPlaceholder()) {
                const QSignalBlocker blocker(combo);
                setText(name, QString());
            }
            if (combo->count() == 0)
                fillList(combo, refdata::DAOPerson(m_core.db())
                                    .loadCompanyList(name == QStringLiteral("zdHKR") ? QStringLiteral("我方单位")
                                                                                     : QStringLiteral("往来单位")));
        } else if (name == QStringLiteral("zdhkrDH")) {
            copyHandsetToPhone(name, QStringLiteral("hkrHandset"), true);
        } else if (name == QStringLiteral("zdskrDH")) {
            copyHandsetToPhone(name, QStringLiteral("skrHandset"), true);
        } else if (name == QStringLiteral("zdJEDX1") && !text(name).isEmpty() && !m_amountFigure.isEmpty()) {
            setText(name, m_amountFigure);
            static_cast<QLineEdit *>(watched)->selectAll();
        } else if (name == QStringLiteral("zdSign") || name == QStringLiteral("cbFromSite")) {
            auto *combo = static_cast<QComboBox *>(watched);
            if (combo->count() == 0) {
                const QString dictionary = name == QStringLiteral("zdSign") ? QStringLiteral("发件人签名")
                                                                            : QStringLiteral("始发站");
                fillList(combo, refdata::Dictionaries(m_core.db())
                                    .loadDMListByName(dictionary, QStringLiteral("0,") + QString::number(m_curTypeId)));
            } else {
                combo->setCurrentIndex(0);
            }
        } else if (name == QStringLiteral("zdDef1") || name == QStringLiteral("zdDef2")) {
            auto *combo = static_cast<QComboBox *>(watched);
            if (combo->count() == 0) {
                const refdata::Dictionaries dictionaries(m_core.db());
                const QString dictionary = name == QStringLiteral("zdDef1") ? QStringLiteral("自定义1")
                                                                            : QStringLiteral("自定义2");
                QStringList values = dictionaries.loadDMListByName(dictionary, QString::number(m_curTypeId));
                if (values.isEmpty())
                    values = dictionaries.loadDMListByName(dictionary, QStringLiteral("0"));
                fillList(combo, values);
            }
        }
    } else if (event->type() == QEvent::FocusOut && name == QStringLiteral("zdJEDX1")) {
        m_amountFigure = text(name);
        static_cast<QWidget *>(watched)->setToolTip(m_amountFigure);
        convertAmount();
    } else if (event->type() == QEvent::KeyRelease
               && (name == QStringLiteral("zdHkrDZ") || name == QStringLiteral("zdSkrDZ"))) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Backspace || key == Qt::Key_Delete)
            fitAddressFont(static_cast<QPlainTextEdit *>(watched));
    }
    return QWidget::eventFilter(watched, event);
}

// The bill's shown fields in the order a person reads the form: the sender,
// the receiver, the contents and fees with the option boxes, the signature
// and dates, each row by row as the template places them.
QList<QWidget *> WaybillWindow::tabSequence() const
{
    QList<QWidget *> shown;
    QList<entry::FieldPlace> places;
    const auto add = [&](QWidget *field, entry::BillField::Block block) {
        if (field->isVisibleTo(m_panel) && field->isEnabled()) {
            shown.append(field);
            places.append({block, field->geometry()});
        }
    };
    const QList<entry::BillField> &fields = entry::waybillFields();
    for (qsizetype i = 0; i < m_fields.size(); ++i)
        add(m_fields.at(i), fields.at(i).block);
    for (QCheckBox *box : m_itemChecks)
        add(box, entry::BillField::Block::Contents);
    QList<QWidget *> sequence;
    for (const qsizetype i : entry::readingOrder(places))
        sequence.append(shown.at(i));
    return sequence;
}

// Tab and Shift+Tab go round the bill's fields and never out to the option
// strip or the toolbar. A picker stands for the box it fills.
bool WaybillWindow::focusNextPrevChild(bool next)
{
    QWidget *current = focusWidget();
    if (m_pickTarget && isPicker(current))
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

void WaybillWindow::updateCaption()
{
    setWindowTitle(m_state.caption());
}

bool WaybillWindow::save()
{
    const QDate today = QDate::currentDate();
    const entry::SavePlan plan = m_state.beginSave(m_core.dialogs(), billDate(), today);
    if (!plan.proceed)
        return false;
    if (plan.resetDateToToday)
        setBillDate(today);
    entry::WaybillInput input;
    for (const entry::ColumnBinding &b : entry::waybillSaveBindings())
        if (!b.control.isEmpty())
            input.controls.insert(b.control, text(b.control));
    input.date = billDate();
    input.options = getItemCheckTitle();
    input.templateName = m_cbFirstTypeName->currentText();
    entry::BillStore store(m_core.db());
    const bool ok = m_state.finishSave(store, entry::waybillRow(input), m_core.dialogs());
    updateCaption();
    return ok;
}

void WaybillWindow::saveBill()
{
    const entry::Decision decision = m_state.saveClicked();
    if (decision.action != entry::Decision::Action::RunSave) {
        decision.showOn(m_core.dialogs());
        return;
    }
    save();
    m_btSaveAs->setEnabled(true);
}

void WaybillWindow::newBill()
{
    m_state.newBill();
    for (const QString &name : entry::waybillNewBillClears())
        setText(name, QString());
    setBillDate(QDate::currentDate());
    m_btSaveAs->setEnabled(false);
    updateCaption();
    focusFirstField();
}

// A new bill starts in the receiver's name (the sender usually stays), or
// in the first field the template shows.
void WaybillWindow::focusFirstField()
{
    QWidget *receiver = control(QStringLiteral("zdSKR"));
    const QList<QWidget *> sequence = tabSequence();
    if (sequence.contains(receiver))
        receiver->setFocus(Qt::OtherFocusReason);
    else if (!sequence.isEmpty())
        sequence.first()->setFocus(Qt::OtherFocusReason);
}

void WaybillWindow::copyBill()
{
    m_state.copyClicked().showOn(m_core.dialogs());
    updateCaption();
}

bool WaybillWindow::print(int copies)
{
    app::Session &session = m_core.session();
    // The template is checked before the PDF printer asks for a file.
    if (m_cbFirstTypeName->currentText().trimmed().isEmpty()) {
        m_cbFirstTypeName->setVisible(true);
        m_core.dialogs().info(QStringLiteral("请选择快递单的类型!"));
        return false;
    }
    const std::unique_ptr<print::PrintDevice> device =
        makeBillPrintDevice(session.billPrinterName, m_core.dialogs(), QStringLiteral("快递单.pdf"));
    if (!device)
        return false;
    app::PrintJob job(m_core, *device);
    job.setPrinterSetup(printerSetupFor(*device, this));
    if (!job.PrintPrepare(m_curTypeId, m_cbFirstTypeName->currentText()) || !job.PrinterTransBegin(copies))
        return false;
    if (!job.SendCheckToPrinter(*m_values)) {
        job.AbortPrint();
        return false;
    }
    return job.PrinterTransEnd();
}

void WaybillWindow::printOne()
{
    m_btPrint1->setEnabled(false);
    print(1);
    m_btPrint1->setEnabled(true);
}

void WaybillWindow::printRepeatedly()
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
    // The print job keeps a waybill to at most 50 copies.
    print(copies);
    for (QToolButton *b : buttons)
        b->setEnabled(true);
}

void WaybillWindow::printAndSave()
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
    setText(QStringLiteral("zdPJBH"), QString());
    copyBill();
    m_btSaveAs->setEnabled(false);
    m_btPrintAndSave->setEnabled(true);
    m_state.setShowSaveMsg(true);
}

bool WaybillWindow::openSavedBill(const QString &templateName, int id)
{
    if (templateName != m_cbFirstTypeName->currentText()) {
        const QString name = templateName.isEmpty() ? m_cbFirstTypeName->currentText() : templateName;
        const int typeId = m_catalog.loadCheckTypeIDByFirstAndLastName(kindName(), name);
        if (typeId > 0) {
            setCurrentCheckType(name);
            m_loadedTypeId = -1;
            m_curTypeId = typeId;
            templateKindChosen();
        }
    }
    m_state.beginOpen(id);
    bool read = false;
    if (id > 0) {
        entry::BillStore store(m_core.db());
        QString error;
        const std::optional<QHash<QString, QString>> row = store.load(id, &error);
        if (row) {
            for (const entry::ColumnBinding &b : entry::waybillReadBackBindings()) {
                const QString value = row->value(b.column);
                if (b.kind == entry::ValueKind::Options)
                    setItemCheckTitle(value);
                else if (b.kind == entry::ValueKind::Date)
                    setBillDate(entry::dateFromText(value));
                else if (!b.control.isEmpty())
                    setText(b.control, value);
            }
            read = true;
        } else if (!error.isEmpty()) {
            m_core.dialogs().info(entry::BillState::openFailedMessage());
        }
    }
    m_state.finishOpen();
    m_btSaveAs->setEnabled(true);
    updateCaption();
    if (frame()->isHidden())
        frame()->show();
    frame()->raise();
    return read;
}

QWidget *WaybillWindow::frame()
{
    return qobject_cast<QMdiSubWindow *>(parentWidget()) ? parentWidget() : this;
}

void WaybillWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_positionRestored)
        return;
    m_positionRestored = true;
    const settings::IniFile &ini = m_core.settings().file();
    frame()->move(ini.value(kPositionSection, QStringLiteral("PositionX"), QStringLiteral("0")).toInt(),
                  ini.value(kPositionSection, QStringLiteral("PositionY"), QStringLiteral("0")).toInt());
    setToolbarAtBottom(ini.value(kPositionSection, QStringLiteral("PositionBar")) == QStringLiteral("bottom"));
    // Long drop-down lists on tall screens.
    const int screenHeight = screen() ? screen()->geometry().height() : 800;
    const int rows = screenHeight <= 799 ? 23 : (screenHeight >= 900 ? 50 : 35);
    for (const char *name : {"zdHKR", "zdSKR"})
        qobject_cast<QComboBox *>(control(QLatin1String(name)))->setMaxVisibleItems(rows);
    m_cbFirstTypeName->setMaxVisibleItems(screenHeight <= 1000 ? 26 : 35);
    focusFirstField();
}

bool WaybillWindow::toolbarAtBottom() const
{
    return layout()->indexOf(m_toolBar) != 0;
}

void WaybillWindow::setToolbarAtBottom(bool bottom)
{
    auto *box = static_cast<QVBoxLayout *>(layout());
    box->removeWidget(m_toolBar);
    if (bottom)
        box->addWidget(m_toolBar);
    else
        box->insertWidget(0, m_toolBar);
    m_btPosition->setText(bottom ? QStringLiteral("上") : QStringLiteral("下"));
}

void WaybillWindow::moveToolbar()
{
    setToolbarAtBottom(!toolbarAtBottom());
}

void WaybillWindow::saveReceiverToAddressBook()
{
    TPerson party;
    for (const PartyControl &c : kReceiverControls)
        party.setText(c.field, text(QLatin1String(c.name)));
    party.setFullName(entry::receiverNameForSave(party.fullName()));
    party.setText(TPerson::PartyType, refdata::partyPartner);
    AddressEntryDialog::savePersonToBook(m_core, &party, this);
}

void WaybillWindow::closeEvent(QCloseEvent *event)
{
    if (m_state.askSaveOnClose(m_core.dialogs(), entry::receiverNameForSave(text(QStringLiteral("zdSKR"))),
                               text(QStringLiteral("zdSKRLXR"))))
        save();
    m_core.session().currentTemplateId = -1;
    settings::IniFile &ini = m_core.settings().file();
    ini.setValue(kPositionSection, QStringLiteral("PositionX"), QString::number(frame()->x()));
    ini.setValue(kPositionSection, QStringLiteral("PositionY"), QString::number(frame()->y()));
    ini.setValue(kPositionSection, QStringLiteral("PositionBar"),
                 toolbarAtBottom() ? QStringLiteral("bottom") : QStringLiteral("top"));
    m_core.settings().flush();
    event->accept();
    Q_EMIT closed();
}

} // namespace moque::ui
