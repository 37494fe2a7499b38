#include "history/InvoiceHistoryWindow.h"

#include "app/AppCore.h"
#include "common/Dialogs.h"
#include "dialogs/CommandButton.h"
#include "grid/GridExport.h"
#include "grid/GridOperations.h"
#include "history/InvoiceNumbers.h"
#include "refdata/AddressBookWindow.h"
#include "store/SqlListModel.h"
#include "templates/TemplateCatalog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QSqlError>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>
#include <utility>

namespace moque::ui {

using history::BoundStatement;
using history::HistoryStore;
using history::InvoiceFilter;
using history::InvoiceKind;
using history::InvoiceQuery;
using history::MatchMode;

namespace {

const QString doubleClickKey = QStringLiteral("ZPView_DBLOPEN");
const QString mnemonicHint = QStringLiteral("支持简码输入（%+简码）");
const QString failedCaption = QStringLiteral("失败");
constexpr int rangeLimit = 100;

// What the three windows show differently.
struct KindLook
{
    QString windowName;
    QString caption;
    QString partyLabel;
    QString numberLabel;
    QString pickCaption;
};

KindLook lookOf(InvoiceKind kind)
{
    switch (kind) {
    case InvoiceKind::Receipt:
        return {QStringLiteral("fmSearch_Receipts"), QStringLiteral("收据及发票查询"), QStringLiteral("客户单位："),
                QStringLiteral("票据编号："), QStringLiteral("选择购货单位")};
    case InvoiceKind::Freight:
        return {QStringLiteral("fmSearch_IVIntel"), QStringLiteral("国际货运发票查询"), QStringLiteral("  付款人："),
                QStringLiteral("票据编号："), QStringLiteral("选择付款单位")};
    case InvoiceKind::Export:
        break;
    }
    return {QStringLiteral("fmSearch_CKSP"), QStringLiteral("出口商品发票查询"), QStringLiteral("购货单位："),
            QStringLiteral("发票编号："), QStringLiteral("选择购货单位")};
}

// The list of an invoice kind whose rows are drawn by their 票据状态.
class StateColouredModel : public SqlListModel
{
public:
    StateColouredModel(bool coloured, QObject *parent) : SqlListModel(parent), m_coloured(coloured) {}

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (m_coloured && index.isValid() && (role == Qt::ForegroundRole || role == Qt::BackgroundRole)) {
            const int stateColumn = fieldIndex(InvoiceQuery::stateColumn());
            const QString state =
                stateColumn < 0 ? QString() : SqlListModel::data(this->index(index.row(), stateColumn)).toString();
            const history::RowColours colours = history::rowColoursOfState(state);
            return role == Qt::ForegroundRole ? colours.text : colours.background;
        }
        return SqlListModel::data(index, role);
    }

private:
    bool m_coloured;
};

QLabel *label(const QString &text, QWidget *parent)
{
    return new QLabel(text, parent);
}

QComboBox *editableCombo(const char *name, QWidget *parent)
{
    auto *c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setMinimumContentsLength(12);
    return c;
}

QLineEdit *lineEdit(const char *name, QWidget *parent)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    return e;
}

// A filter in the current query is yellow, one not in use white.
void markInUse(QWidget *filter, bool inUse)
{
    if (!filter)
        return;
    QPalette p = filter->palette();
    p.setColor(QPalette::Base, inUse ? QColor(Qt::yellow) : QColor(Qt::white));
    filter->setPalette(p);
}

// A whole number as the registration reads it: digits only.
std::optional<qint64> wholeNumber(const QString &typed)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    const QString text = typed.trimmed();
    if (!digits.match(text).hasMatch())
        return std::nullopt;
    bool ok = false;
    const qint64 n = text.toLongLong(&ok);
    return ok ? std::optional<qint64>(n) : std::nullopt;
}

} // namespace

InvoiceHistoryWindow::InvoiceHistoryWindow(moque::app::AppCore &core, InvoiceKind kind, QWidget *parent)
    : QDialog(parent)
    , m_core(core)
    , m_query(kind)
    , m_sortColumn(InvoiceQuery::keyColumn())
{
    const KindLook look = lookOf(kind);
    setObjectName(look.windowName);
    setWindowTitle(look.caption);
    m_model = new StateColouredModel(m_query.coloursByState(), this);
    m_exporter = [this](QTableView *grid, const QString &title) { ExportGrid2Excel(grid, title, m_core.dialogs()); };
    m_picker = [this](const QString &type, const QString &caption) -> std::optional<QString> {
        const std::optional<refdata::TPerson> person = AddressBookWindow::fetchOnePerson(m_core, type, caption, this);
        if (!person)
            return std::nullopt;
        return person->fullName();
    };

    buildWindow();
    presetFilters();
    connectCommands();
    connectFilters();
    connectList();
    search();
}

void InvoiceHistoryWindow::buildWindow()
{
    QGroupBox *filters = buildFilterBar();
    QLayout *periods = buildPeriodPanel();
    QLayout *list = buildList();
    QLayout *buttons = buildButtons();

    auto *middle = new QHBoxLayout;
    middle->addLayout(periods);
    middle->addLayout(list, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(filters);
    layout->addLayout(middle, 1);
    layout->addLayout(buttons);
    if (m_query.canRegister())
        buildRegistrationPanel();
    resize(980, 620);
}

QGroupBox *InvoiceHistoryWindow::buildFilterBar()
{
    const KindLook look = lookOf(m_query.kind());
    auto *filters = new QGroupBox(QStringLiteral("查询条件"), this);
    filters->setObjectName(QStringLiteral("GroupBox1"));
    m_party = lineEdit("filterSKR", filters);
    if (m_query.expandsMnemonic()) {
        m_party->setToolTip(mnemonicHint);
        m_party->setPlaceholderText(mnemonicHint);
    }
    m_party->installEventFilter(this);
    m_clearParty = commandButton(QStringLiteral("清空"), QStringLiteral("btClearSKR"), filters);
    m_pickParty = commandButton(QStringLiteral("选"), QStringLiteral("Button2"), filters);
    m_number = editableCombo("cb_PJBH", filters);
    m_number->installEventFilter(this);

    m_date1 = new QDateEdit(filters);
    m_date1->setObjectName(QStringLiteral("Date1"));
    m_date2 = new QDateEdit(filters);
    m_date2->setObjectName(QStringLiteral("Date2"));
    for (QDateEdit *date : {m_date1, m_date2}) {
        date->setCalendarPopup(true);
        date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    }
    m_anyDate = new QCheckBox(QStringLiteral("不限日期"), filters);
    m_anyDate->setObjectName(QStringLiteral("ckNomatterRQ"));
    auto *dates = new QHBoxLayout;
    dates->addWidget(m_date1, 1);
    dates->addWidget(label(QStringLiteral("到"), filters));
    dates->addWidget(m_date2, 1);
    dates->addWidget(m_anyDate);

    m_amountFrom = lineEdit("edtMoney1", filters);
    m_amountTo = lineEdit("edtMoney2", filters);
    auto *amounts = new QHBoxLayout;
    amounts->addWidget(m_amountFrom, 1);
    amounts->addWidget(label(QStringLiteral("到"), filters));
    amounts->addWidget(m_amountTo, 1);

    auto *grid = new QGridLayout(filters);
    grid->addWidget(label(look.partyLabel, filters), 0, 0);
    grid->addWidget(m_party, 0, 1);
    grid->addWidget(m_clearParty, 0, 2);
    grid->addWidget(m_pickParty, 0, 3);
    grid->addWidget(label(look.numberLabel, filters), 0, 4);
    grid->addWidget(m_number, 0, 5);
    grid->addWidget(label(QStringLiteral("出票日期："), filters), 1, 0);
    grid->addLayout(dates, 1, 1, 1, 3);
    if (m_query.hasTemplateFilter()) {
        m_template = editableCombo("filterTemplate", filters);
        m_template->installEventFilter(this);
        m_clearTemplate = commandButton(QStringLiteral("清空"), QStringLiteral("btClearTemplate"), filters);
        grid->addWidget(label(QStringLiteral("模板种类："), filters), 1, 4);
        grid->addWidget(m_template, 1, 5);
        grid->addWidget(m_clearTemplate, 1, 6);
    }
    if (m_query.hasStateFilter()) {
        m_state = editableCombo("cbStates", filters);
        m_state->addItems({QString(), QStringLiteral("未用"), QStringLiteral("已用"), QStringLiteral("作废")});
        grid->addWidget(label(QStringLiteral("票据状态："), filters), 1, 4);
        grid->addWidget(m_state, 1, 5);
    }
    grid->addWidget(label(QStringLiteral("金额："), filters), 2, 0);
    grid->addLayout(amounts, 2, 1, 1, 3);
    if (m_query.hasContractFilter()) {
        m_contract = lineEdit("edtHeTNo", filters);
        grid->addWidget(label(QStringLiteral("合同编号："), filters), 2, 4);
        grid->addWidget(m_contract, 2, 5);
    }
    grid->addWidget(buildMatchChoice(filters), 3, 0, 1, 7);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(5, 1);
    return filters;
}

QGroupBox *InvoiceHistoryWindow::buildMatchChoice(QWidget *filters)
{
    auto *match = new QGroupBox(QStringLiteral("匹配方式"), filters);
    match->setObjectName(QStringLiteral("RadioMatch"));
    m_exact = new QRadioButton(QStringLiteral("精确查询"), match);
    m_exact->setObjectName(QStringLiteral("rbExact"));
    m_contains = new QRadioButton(QStringLiteral("模糊查询"), match);
    m_contains->setObjectName(QStringLiteral("rbContains"));
    m_contains->setChecked(true);
    auto *group = new QButtonGroup(match);
    group->addButton(m_exact);
    group->addButton(m_contains);
    auto *layout = new QHBoxLayout(match);
    layout->addWidget(m_exact);
    layout->addWidget(m_contains);
    layout->addStretch();
    return match;
}

QLayout *InvoiceHistoryWindow::buildPeriodPanel()
{
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("ATreeView1"));
    m_tree->setHeaderHidden(true);
    m_tree->setRootIsDecorated(false);
    for (const QString &node : history::periodNodes())
        m_tree->addTopLevelItem(new QTreeWidgetItem(QStringList{node}));
    m_tree->setMaximumWidth(160);
    m_export = commandButton(QStringLiteral("导出Excel(&P)"), QStringLiteral("pri"), this);
    m_delete = commandButton(QStringLiteral("删除选中(&D)"), QStringLiteral("del"), this);
    m_deleteList = commandButton(QStringLiteral("删除列出(&C)"), QStringLiteral("btDeleteList"), this);
    m_deleteAll = commandButton(QStringLiteral("清空所有(&Y)"), QStringLiteral("DelAll"), this);
    auto *left = new QVBoxLayout;
    left->addWidget(m_tree, 1);
    for (QPushButton *b : {m_export, m_delete, m_deleteList, m_deleteAll})
        left->addWidget(b);
    if (m_query.canVoid()) {
        m_void = commandButton(QStringLiteral("作废选中(&F)"), QStringLiteral("btFailedSelects"), this);
        left->addWidget(m_void);
    }
    if (m_query.canRegister()) {
        m_recordNumbers = commandButton(QStringLiteral("领用联号票据"), QStringLiteral("btRecordNOs"), this);
        left->addWidget(m_recordNumbers);
    }
    return left;
}

QLayout *InvoiceHistoryWindow::buildList()
{
    m_grid = new QTableView(this);
    setUpListGrid(m_grid, QStringLiteral("DBGrid1"), m_model, this);

    m_count = new QLabel(QStringLiteral("0"), this);
    m_count->setObjectName(QStringLiteral("Pjcount"));
    auto *counts = new QHBoxLayout;
    counts->addWidget(label(QStringLiteral("( 共检索到 "), this));
    counts->addWidget(m_count);
    counts->addWidget(label(QStringLiteral("条记录)"), this));
    counts->addStretch();
    if (m_query.hasTotal()) {
        m_sum = new QLabel(this);
        m_sum->setObjectName(QStringLiteral("lbSumMoney"));
        m_sum->hide();
        counts->addWidget(m_sum);
    }

    auto *list = new QVBoxLayout;
    list->addWidget(m_grid, 1);
    list->addLayout(counts);
    return list;
}

QLayout *InvoiceHistoryWindow::buildButtons()
{
    m_queryButton = commandButton(QStringLiteral("查 询(&Q)"), QStringLiteral("btQur"), this);
    m_all = commandButton(QStringLiteral("全 部(&A)"), QStringLiteral("btAll"), this);
    m_doubleClickOpens = new QCheckBox(QStringLiteral("双击打开"), this);
    m_doubleClickOpens->setObjectName(QStringLiteral("ckDBLClick"));
    m_doubleClickOpens->setToolTip(QStringLiteral("开启/关闭鼠标双击列表打开票据"));
    m_open = commandButton(QStringLiteral("打开(&O)"), QStringLiteral("btOpenView"), this);
    m_exit = commandButton(QStringLiteral("关 闭(&X)"), QStringLiteral("btExit"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_queryButton);
    buttons->addWidget(m_all);
    buttons->addSpacing(12);
    buttons->addWidget(m_doubleClickOpens);
    buttons->addWidget(m_open);
    buttons->addWidget(m_exit);
    return buttons;
}

void InvoiceHistoryWindow::buildRegistrationPanel()
{
    m_panel = new QGroupBox(QStringLiteral("登记领用连号票据"), this);
    m_panel->setObjectName(QStringLiteral("panelImport"));
    m_panel->setAutoFillBackground(true);
    m_panelTemplate = new QComboBox(m_panel);
    m_panelTemplate->setObjectName(QStringLiteral("cbTempName"));
    m_code = lineEdit("edtFPDM", m_panel);
    m_code->setMaxLength(20);
    m_firstNumber = lineEdit("edtBH1", m_panel);
    m_lastNumber = lineEdit("edtBH2", m_panel);
    m_digits = new QSpinBox(m_panel);
    m_digits->setObjectName(QStringLiteral("CtlLen"));
    m_digits->setRange(4, 20);
    m_digits->setValue(8);
    m_startImport = commandButton(QStringLiteral("开始登记"), QStringLiteral("btStartImport"), m_panel);
    m_endImport = commandButton(QStringLiteral("结束登记"), QStringLiteral("btEndImport"), m_panel);
    m_status = new QLabel(m_panel);
    m_status->setObjectName(QStringLiteral("lbStatus"));

    auto *range = new QHBoxLayout;
    range->addWidget(m_firstNumber, 1);
    range->addWidget(label(QStringLiteral("到"), m_panel));
    range->addWidget(m_lastNumber, 1);
    range->addWidget(label(QStringLiteral("（每批不能超过100张）"), m_panel));
    auto *digits = new QHBoxLayout;
    digits->addWidget(label(QStringLiteral("编号固定为"), m_panel));
    digits->addWidget(m_digits);
    digits->addWidget(label(QStringLiteral("位数字，缺少前面补零!"), m_panel));
    digits->addStretch();
    auto *commands = new QHBoxLayout;
    commands->addWidget(m_status, 1);
    commands->addWidget(m_startImport);
    commands->addWidget(m_endImport);

    auto *grid = new QGridLayout(m_panel);
    grid->addWidget(label(QStringLiteral("发票模板："), m_panel), 0, 0);
    grid->addWidget(m_panelTemplate, 0, 1);
    grid->addWidget(label(QStringLiteral("发票代码："), m_panel), 1, 0);
    grid->addWidget(m_code, 1, 1);
    grid->addWidget(label(QStringLiteral("编号从"), m_panel), 2, 0);
    grid->addLayout(range, 2, 1);
    grid->addLayout(digits, 3, 1);
    grid->addLayout(commands, 4, 0, 1, 2);
    m_panel->adjustSize();
    m_panel->hide();
}

void InvoiceHistoryWindow::presetFilters()
{
    const QDate today = QDate::currentDate();
    m_date1->setDate(today);
    m_date2->setDate(today);
    m_anyDate->setChecked(true);
    m_date1->setEnabled(false);
    m_date2->setEnabled(false);
    const QString doubleClick = m_core.settings().getINIConfigByname(doubleClickKey);
    m_doubleClickOpens->setChecked(doubleClick.isEmpty() || doubleClick == QLatin1String("1"));
}

void InvoiceHistoryWindow::connectCommands()
{
    connect(m_queryButton, &QPushButton::clicked, this, &InvoiceHistoryWindow::search);
    connect(m_all, &QPushButton::clicked, this, [this] { btAllClick(true); });
    connect(m_open, &QPushButton::clicked, this, [this] { openCurrentRow(false); });
    connect(m_exit, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_export, &QPushButton::clicked, this, &InvoiceHistoryWindow::exportGrid);
    connect(m_delete, &QPushButton::clicked, this, &InvoiceHistoryWindow::deleteSelected);
    connect(m_deleteList, &QPushButton::clicked, this, &InvoiceHistoryWindow::deleteListed);
    connect(m_deleteAll, &QPushButton::clicked, this, &InvoiceHistoryWindow::deleteAll);
    if (m_void)
        connect(m_void, &QPushButton::clicked, this, &InvoiceHistoryWindow::voidSelected);
    if (m_recordNumbers) {
        connect(m_recordNumbers, &QPushButton::clicked, this, &InvoiceHistoryWindow::showRegistration);
        connect(m_startImport, &QPushButton::clicked, this, &InvoiceHistoryWindow::registerRange);
        connect(m_endImport, &QPushButton::clicked, m_panel, &QWidget::hide);
    }
}

void InvoiceHistoryWindow::connectFilters()
{
    connect(m_party, &QLineEdit::returnPressed, this, [this] {
        expandParty();
        search();
    });
    connect(m_clearParty, &QPushButton::clicked, this, [this] {
        m_party->clear();
        markInUse(m_party, false);
    });
    connect(m_pickParty, &QPushButton::clicked, this, &InvoiceHistoryWindow::pickParty);
    if (m_clearTemplate) {
        connect(m_clearTemplate, &QPushButton::clicked, this, [this] {
            clearTemplate();
            markInUse(m_template, false);
        });
        connect(m_template->lineEdit(), &QLineEdit::returnPressed, this, &InvoiceHistoryWindow::search);
    }
    connect(m_anyDate, &QCheckBox::toggled, this, [this](bool any) {
        m_date1->setEnabled(!any);
        m_date2->setEnabled(!any);
        if (!any)
            m_date1->setFocus();
    });
    connect(m_date2, &QDateEdit::dateChanged, this, [this] { m_anyDate->setChecked(false); });
    connect(m_number->lineEdit(), &QLineEdit::returnPressed, this, &InvoiceHistoryWindow::search);
    for (QLineEdit *edit : {m_amountFrom, m_amountTo, m_contract})
        if (edit)
            connect(edit, &QLineEdit::returnPressed, this, &InvoiceHistoryWindow::search);
    connect(m_exact, &QRadioButton::toggled, this, &InvoiceHistoryWindow::changedFilterQuery);
}

void InvoiceHistoryWindow::connectList()
{
    connect(m_tree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) {
        if (item)
            selectPeriod(item->text(0));
    });
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this, &InvoiceHistoryWindow::headerClicked);
    connect(m_grid, &QTableView::doubleClicked, this, [this] { openCurrentRow(true); });
    connect(m_grid, &QTableView::customContextMenuRequested, this, &InvoiceHistoryWindow::gridMenu);
    // Kept at once, so the choice survives however the window is closed.
    connect(m_doubleClickOpens, &QCheckBox::toggled, this, [this](bool opens) {
        m_core.settings().setINIConfigByname(doubleClickKey, opens ? QStringLiteral("1") : QStringLiteral("0"));
    });
}

InvoiceFilter InvoiceHistoryWindow::filter() const
{
    InvoiceFilter f;
    f.number = m_number->currentText();
    f.party = m_party->text();
    if (m_template)
        f.templateName = m_template->currentText();
    if (m_state)
        f.state = m_state->currentText();
    if (m_contract)
        f.contract = m_contract->text();
    f.amountFrom = m_amountFrom->text();
    f.amountTo = m_amountTo->text();
    f.anyDate = m_anyDate->isChecked();
    f.from = m_date1->date();
    f.to = m_date2->date();
    f.match = m_exact->isChecked() ? MatchMode::Exact : MatchMode::Contains;
    return f.trimmed();
}

void InvoiceHistoryWindow::writeBackTrimmed(const InvoiceFilter &f)
{
    const bool resetting = m_resetting;
    m_resetting = true;
    m_party->setText(f.party);
    if (m_number->currentText() != f.number)
        m_number->setEditText(f.number);
    if (m_template && m_template->currentText() != f.templateName)
        m_template->setEditText(f.templateName);
    if (m_state && m_state->currentText() != f.state)
        m_state->setEditText(f.state);
    if (m_contract)
        m_contract->setText(f.contract);
    // An amount that is no number is marked in its box and left out of the query.
    for (auto [edit, typed] : {std::pair{m_amountFrom, f.amountFrom}, std::pair{m_amountTo, f.amountTo}})
        edit->setText(history::isInvalidAmount(typed) ? history::invalidAmountText() : typed);
    m_resetting = resetting;
}

void InvoiceHistoryWindow::search()
{
    const InvoiceFilter f = filter();
    writeBackTrimmed(f);
    const QString dateError = history::periodError(f.anyDate, f.from, f.to);
    if (!dateError.isEmpty())
        m_core.dialogs().message(dateError, history::WaybillQuery::dateErrorCaption(), Dialogs::Icon::Warning);
    const BoundStatement statement = m_query.listStatement(f, m_sortColumn);
    if (m_lastStatement == statement)
        return;
    m_lastStatement = statement;
    if (dateError.isEmpty())
        runQuery(statement, f);
}

void InvoiceHistoryWindow::runQuery(const BoundStatement &statement, const InvoiceFilter &f)
{
    m_model->setSource(m_core.db(), statement.sql, statement.values, m_query.table(), InvoiceQuery::keyColumn());
    if (!m_model->refresh()) {
        showDatabaseError(m_model->lastError().text());
        // The list keeps the rows it showed.
        if (m_shownStatement.sql.isEmpty()) {
            m_model->clear();
        } else {
            m_model->setSource(m_core.db(), m_shownStatement.sql, m_shownStatement.values, m_query.table(),
                               InvoiceQuery::keyColumn());
            m_model->refresh();
        }
        return;
    }
    m_shownStatement = statement;
    const int rows = m_model->rowCount();
    m_delete->setEnabled(rows > 0);
    m_export->setEnabled(rows > 0);
    m_count->setText(QString::number(rows));

    if (m_sum) {
        QString error;
        if (const std::optional<history::Totals> t =
                history::readTotals(m_core.db(), m_query.totalsStatement(f), &error)) {
            m_sum->setText(InvoiceQuery::totalLabel(*t));
            m_sum->show();
        } else {
            showDatabaseError(error);
        }
    }
    markFiltersInUse(f);
    GridColsWidthLoadOrFit(m_grid, objectName(), m_core.settings(), m_core.dialogs());
    if (m_query.rowWarningLimit() > 0 && rows > m_query.rowWarningLimit())
        m_core.dialogs().info(InvoiceQuery::rowWarningText());
}

void InvoiceHistoryWindow::showDatabaseError(const QString &error)
{
    m_core.dialogs().message(QStringLiteral("数据库错误,Error=") + error, failedCaption, Dialogs::Icon::Error);
}

void InvoiceHistoryWindow::markFiltersInUse(const InvoiceFilter &f)
{
    markInUse(m_number, !f.number.isEmpty());
    markInUse(m_party, !f.party.isEmpty());
    markInUse(m_template, !f.templateName.isEmpty());
    markInUse(m_state, !f.state.isEmpty());
    markInUse(m_contract, !f.contract.isEmpty());
    markInUse(m_amountFrom, history::amountBound(f.amountFrom).has_value());
    markInUse(m_amountTo, history::amountBound(f.amountTo).has_value());
    markInUse(m_date1, !f.anyDate);
    markInUse(m_date2, !f.anyDate);
}

void InvoiceHistoryWindow::changedFilterQuery()
{
    if (!m_resetting)
        search();
}

void InvoiceHistoryWindow::refresh()
{
    m_lastStatement.reset();
    search();
}

void InvoiceHistoryWindow::btAllClick(bool query)
{
    m_resetting = true;
    m_party->clear();
    m_number->setEditText(QString());
    if (m_template)
        clearTemplate();
    if (m_state) {
        m_state->setCurrentIndex(0);
        m_state->setEditText(QString());
    }
    if (m_contract)
        m_contract->clear();
    m_amountFrom->clear();
    m_amountTo->clear();
    m_anyDate->setChecked(true);
    m_resetting = false;
    for (QWidget *w : std::initializer_list<QWidget *>{m_party, m_number, m_template, m_state, m_contract,
                                                       m_amountFrom, m_amountTo, m_date1, m_date2})
        markInUse(w, false);
    if (query)
        search();
}

void InvoiceHistoryWindow::clearTemplate()
{
    m_template->setCurrentIndex(m_template->findText(QString()));
    m_template->setEditText(QString());
}

void InvoiceHistoryWindow::selectPeriod(const QString &node)
{
    btAllClick(false);
    const history::Period period = history::periodOfNode(node, QDate::currentDate());
    m_date1->setDate(period.from);
    m_date2->setDate(period.to);
    m_anyDate->setChecked(false);
    if (!period.runQuery) {
        m_core.dialogs().info(history::otherPeriodHint());
        m_date1->setFocus();
        return;
    }
    search();
}

void InvoiceHistoryWindow::headerClicked(int column)
{
    const QString field = m_model->fieldName(column);
    if (field.isEmpty())
        return;
    m_sortColumn = field;
    search();
}

void InvoiceHistoryWindow::expandParty()
{
    if (!m_query.expandsMnemonic())
        return;
    QString error;
    const QString expanded = history::expandMnemonic(m_core.db(), m_party->text(), &error);
    if (!error.isEmpty()) {
        m_core.dialogs().message(history::mnemonicErrorText(), history::mnemonicErrorCaption(),
                                 Dialogs::Icon::Error);
        return;
    }
    if (expanded != m_party->text())
        m_party->setText(expanded);
}

void InvoiceHistoryWindow::pickParty()
{
    if (!m_picker)
        return;
    if (const std::optional<QString> picked = m_picker(QStringLiteral("往来单位"), lookOf(m_query.kind()).pickCaption))
        m_party->setText(*picked);
}

void InvoiceHistoryWindow::fillOnFirstEntry(QComboBox *box)
{
    if (box->count() > 0)
        return;
    templates::TemplateCatalog catalog(m_core.db(), m_core.dialogs(), m_core.store());
    const QStringList items =
        box == m_template ? QStringList{QString()} + catalog.loadHistoryTypeNameList(m_query.table())
                          : catalog.loadCheckNOList(m_query.table(), QString(), InvoiceQuery::numberColumn());
    // Filling the list must not replace what is typed.
    const bool resetting = m_resetting;
    m_resetting = true;
    const QString typed = box->currentText();
    box->addItems(items);
    box->setCurrentIndex(-1);
    box->setEditText(typed);
    m_resetting = resetting;
}

HistoryStore InvoiceHistoryWindow::store() const
{
    return HistoryStore(m_core.db(), m_query.table(), InvoiceQuery::keyColumn());
}

int InvoiceHistoryWindow::currentRow() const
{
    const QModelIndex current = m_grid->currentIndex();
    if (current.isValid())
        return current.row();
    return m_model->rowCount() > 0 ? 0 : -1;
}

void InvoiceHistoryWindow::openCurrentRow(bool byDoubleClick)
{
    if (byDoubleClick && !m_doubleClickOpens->isChecked())
        return;
    const int row = currentRow();
    if (row < 0)
        return;
    const qint64 id = m_model->fieldValue(row, InvoiceQuery::keyColumn()).toLongLong();
    m_openCancelled = false;
    Q_EMIT openBill(m_query.kindName(), id);
    if (!m_openCancelled)
        accept();
}

void InvoiceHistoryWindow::deleteSelected()
{
    Dialogs &dialogs = m_core.dialogs();
    const QVariantList keys = GridSelectedKeys(m_grid, InvoiceQuery::keyColumn(), dialogs);
    if (confirmDeleteSelected(int(keys.size()), m_query.kindName(),
                              [this, &keys](QString *error) { return store().deleteRows(keys, error); }, dialogs))
        refresh();
}

void InvoiceHistoryWindow::deleteListed()
{
    if (confirmDeleteListed([this](QString *error) { return store().deleteListed(*m_model, error); },
                            m_core.dialogs()))
        refresh();
}

void InvoiceHistoryWindow::deleteAll()
{
    Dialogs &dialogs = m_core.dialogs();
    if (!dialogs.ask(QStringLiteral("清空操作将删除所有保存的历史开票数据，确定要清空吗？"), QStringLiteral("确认"),
                     Dialogs::Icon::Warning))
        return;
    const int deleted = store().deleteAll();
    if (deleted < 0)
        dialogs.message(QStringLiteral("清空失败！"), QStringLiteral("确认"), Dialogs::Icon::Error);
    else
        dialogs.info(HistoryStore::deleteAllReport(deleted));
    // One emptying per opening of the window.
    m_deleteAll->setEnabled(false);
    refresh();
}

void InvoiceHistoryWindow::exportGrid()
{
    if (m_exporter)
        m_exporter(m_grid, m_query.kindName() + QStringLiteral("历史开票")
                               + QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
}

void InvoiceHistoryWindow::voidSelected()
{
    if (!m_query.canVoid())
        return;
    Dialogs &dialogs = m_core.dialogs();
    const QVariantList keys = GridSelectedKeys(m_grid, InvoiceQuery::keyColumn(), dialogs);
    if (keys.isEmpty()) {
        dialogs.info(QStringLiteral("没有点中要作废的票据!（按住ctrl+点击，可多选哦）"));
        return;
    }
    QString error;
    const int voided = history::voidInvoices(m_core.db(), m_query.kind(), keys, &error);
    if (voided < 0) {
        dialogs.message(QStringLiteral("错误,Error=") + error, failedCaption, Dialogs::Icon::Error);
        return;
    }
    refresh();
    dialogs.info(history::voidReport(voided));
}

void InvoiceHistoryWindow::showRegistration()
{
    if (!m_panel)
        return;
    templates::TemplateCatalog catalog(m_core.db(), m_core.dialogs(), m_core.store());
    m_panelTemplate->clear();
    m_panelTemplate->addItems(catalog.loadCheckTypeLastNameList(m_query.kindName()));
    m_panelTemplate->setCurrentIndex(m_panelTemplate->count() == 1 ? 0 : -1);
    const QRect grid = m_grid->geometry();
    m_panel->move(grid.left() + (grid.width() - m_panel->width()) / 2,
                  grid.top() + (grid.height() - m_panel->height()) / 2);
    m_panel->raise();
    m_panel->show();
}

void InvoiceHistoryWindow::registerRange()
{
    Dialogs &dialogs = m_core.dialogs();
    const std::optional<qint64> first = wholeNumber(m_firstNumber->text());
    const std::optional<qint64> last = wholeNumber(m_lastNumber->text());
    if (!first || !last) {
        dialogs.info(QStringLiteral("请输入合法的编号范围，只能是数字！"));
        return;
    }
    if (*last - *first + 1 > rangeLimit) {
        dialogs.info(QStringLiteral("一次不能导入超过100张！"));
        return;
    }
    if (m_panelTemplate->currentText().isEmpty()) {
        dialogs.info(QStringLiteral("模板种类不能为空！"));
        return;
    }
    if (*last < *first) {
        dialogs.info(QStringLiteral("编号范围输入错误！"));
        return;
    }

    const history::NumberRange range{m_panelTemplate->currentText(), m_code->text(), *first, *last,
                                     m_digits->value()};
    const history::RegistrationReport report =
        history::registerNumbers(m_core.db(), range, [this](const QString &number) {
            m_status->setText(QStringLiteral("登记编号为：") + number + QStringLiteral("的票据!"));
            m_status->repaint();
        });
    m_status->clear();
    if (!report.ok()) {
        if (report.failedNumber.isEmpty())
            dialogs.message(QStringLiteral("登记错误,Error=") + report.error, failedCaption, Dialogs::Icon::Error);
        else
            dialogs.error(QStringLiteral("登记票据“") + report.failedNumber + QStringLiteral("”失败！")
                          + report.error);
        refresh();
        return;
    }
    for (const QString &number : report.firstDuplicates)
        dialogs.info(history::duplicateText(number));
    refresh();
    dialogs.info(QStringLiteral("登记结束！"));
}

void InvoiceHistoryWindow::gridMenu(const QPoint &pos)
{
    QMenu menu(this);
    menu.addAction(QStringLiteral("打开查看"), this, [this] { openCurrentRow(false); });
    menu.addSeparator();
    menu.addAction(QStringLiteral("刷新"), this, &InvoiceHistoryWindow::refresh);
    menu.addAction(QStringLiteral("【记住表格列宽】"), this,
                   [this] { GridColsWidthSave(m_grid, objectName(), m_core.settings(), m_core.dialogs()); });
    menu.addAction(QStringLiteral("【显示/隐藏数据列】"), this,
                   [this] { GridColsConfigration(m_grid, objectName(), m_core.settings(), m_core.dialogs(), this); });
    menu.exec(m_grid->viewport()->mapToGlobal(pos));
}

void InvoiceHistoryWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormFaceLoad(this, m_core.settings());
}

void InvoiceHistoryWindow::done(int result)
{
    FormFaceSave(this, m_core.settings());
    QDialog::done(result);
}

bool InvoiceHistoryWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn && (watched == m_number || (m_template && watched == m_template)))
        fillOnFirstEntry(static_cast<QComboBox *>(watched));

    if (watched == m_party && event->type() == QEvent::FocusOut && !m_resetting) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        // Switching to another window or opening a menu is no leaving.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            expandParty();
    }

    if (watched == m_grid->viewport() && event->type() == QEvent::Wheel && m_grid->hasFocus()) {
        // One row per wheel step; towards the user is the next row.
        const int rows = m_model->rowCount();
        if (rows > 0) {
            const int step = static_cast<QWheelEvent *>(event)->angleDelta().y() < 0 ? 1 : -1;
            m_grid->selectRow(std::clamp(currentRow() + step, 0, rows - 1));
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace moque::ui
