#include "history/InvoiceHistoryWindow.h"

#include "app/AppCore.h"
#include "common/Dialogs.h"
#include "dialogs/CommandButton.h"
#include "grid/GridOperations.h"
#include "history/InvoiceNumbers.h"
#include "refdata/Person.h"
#include "store/SqlListModel.h"
#include "templates/TemplateCatalog.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

#include <utility>

namespace moque::ui {

using history::BoundStatement;
using history::InvoiceFilter;
using history::InvoiceKind;
using history::InvoiceQuery;

namespace {

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

QLineEdit *lineEdit(const char *name, QWidget *parent)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    return e;
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

HistoryNames namesOf(const InvoiceQuery &query)
{
    const KindLook look = lookOf(query.kind());
    return {look.windowName,
            look.caption,
            QStringLiteral("DBGrid1"),
            QStringLiteral("ZPView_DBLOPEN"),
            QStringLiteral("开启/关闭鼠标双击列表打开票据"),
            query.kindName(),
            query.table(),
            InvoiceQuery::keyColumn(),
            InvoiceQuery::numberColumn()};
}

} // namespace

InvoiceHistoryWindow::InvoiceHistoryWindow(moque::app::AppCore &core, InvoiceKind kind, QWidget *parent)
    : HistoryWindow(core, namesOf(InvoiceQuery(kind)), parent)
    , m_query(kind)
{
    start(new StateColouredModel(m_query.coloursByState(), this));
}

QString InvoiceHistoryWindow::partyText(const refdata::TPerson &person) const
{
    return person.fullName();
}

QGroupBox *InvoiceHistoryWindow::buildFilterBar()
{
    const KindLook look = lookOf(m_query.kind());
    QGroupBox *filters = newFilterBox();
    m_party = lineEdit("filterSKR", filters);
    if (m_query.expandsMnemonic()) {
        m_party->setToolTip(mnemonicHint);
        m_party->setPlaceholderText(mnemonicHint);
    }
    m_party->installEventFilter(this);
    m_clearParty = commandButton(QStringLiteral("清空"), QStringLiteral("btClearSKR"), filters);
    m_pickParty = commandButton(QStringLiteral("选"), QStringLiteral("Button2"), filters);
    buildNumberFilter(filters);
    QHBoxLayout *dates = buildDates(filters);

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
        buildTemplateFilter(filters);
        // Its list is read when it is first entered.
        m_template->installEventFilter(this);
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
    QGroupBox *match = buildMatchChoice(filters);
    // The choice keeps to the left of its wide row.
    static_cast<QHBoxLayout *>(match->layout())->addStretch();
    grid->addWidget(match, 3, 0, 1, 7);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(5, 1);
    return filters;
}

QVBoxLayout *InvoiceHistoryWindow::buildPeriodPanel()
{
    QVBoxLayout *left = HistoryWindow::buildPeriodPanel();
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

void InvoiceHistoryWindow::buildExtras()
{
    if (!m_query.canRegister())
        return;
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

void InvoiceHistoryWindow::connectCommands()
{
    HistoryWindow::connectCommands();
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
    HistoryWindow::connectFilters();
    connect(m_party, &QLineEdit::returnPressed, this, [this] {
        expandParty();
        search();
    });
    connect(m_clearParty, &QPushButton::clicked, this, [this] {
        m_party->clear();
        markInUse(m_party, false);
    });
    connect(m_pickParty, &QPushButton::clicked, this,
            [this] { pickParty(m_party, QStringLiteral("往来单位"), lookOf(m_query.kind()).pickCaption); });
    for (QLineEdit *edit : {m_amountFrom, m_amountTo, m_contract})
        if (edit)
            connect(edit, &QLineEdit::returnPressed, this, &InvoiceHistoryWindow::search);
}

InvoiceFilter InvoiceHistoryWindow::filter() const
{
    InvoiceFilter f = commonFilter<InvoiceFilter>();
    f.party = m_party->text();
    if (m_state)
        f.state = m_state->currentText();
    if (m_contract)
        f.contract = m_contract->text();
    f.amountFrom = m_amountFrom->text();
    f.amountTo = m_amountTo->text();
    return f.trimmed();
}

BoundStatement InvoiceHistoryWindow::takeFilter()
{
    m_filter = filter();
    m_party->setText(m_filter.party);
    writeBack(m_filter.number, m_filter.templateName);
    if (m_state && m_state->currentText() != m_filter.state)
        m_state->setEditText(m_filter.state);
    if (m_contract)
        m_contract->setText(m_filter.contract);
    // An amount that is no number is marked in its box and left out of the query.
    for (auto [edit, typed] : {std::pair{m_amountFrom, m_filter.amountFrom}, std::pair{m_amountTo, m_filter.amountTo}})
        edit->setText(history::isInvalidAmount(typed) ? history::invalidAmountText() : typed);
    return m_query.listStatement(m_filter, sortColumn());
}

BoundStatement InvoiceHistoryWindow::totalsStatement() const
{
    return m_query.totalsStatement(m_filter);
}

QString InvoiceHistoryWindow::totalLabel(const history::Totals &totals) const
{
    return InvoiceQuery::totalLabel(totals);
}

void InvoiceHistoryWindow::listed(int rows)
{
    if (m_query.rowWarningLimit() > 0 && rows > m_query.rowWarningLimit())
        m_core.dialogs().info(InvoiceQuery::rowWarningText());
}

void InvoiceHistoryWindow::showDatabaseError(const QString &, const QString &error)
{
    m_core.dialogs().message(QStringLiteral("数据库错误,Error=") + error, failedCaption, Dialogs::Icon::Error);
}

void InvoiceHistoryWindow::markFiltersInUse()
{
    markInUse(m_number, !m_filter.number.isEmpty());
    markInUse(m_party, !m_filter.party.isEmpty());
    markInUse(m_template, !m_filter.templateName.isEmpty());
    markInUse(m_state, !m_filter.state.isEmpty());
    markInUse(m_contract, !m_filter.contract.isEmpty());
    markInUse(m_amountFrom, history::amountBound(m_filter.amountFrom).has_value());
    markInUse(m_amountTo, history::amountBound(m_filter.amountTo).has_value());
    markInUse(m_date1, !m_filter.anyDate);
    markInUse(m_date2, !m_filter.anyDate);
}

void InvoiceHistoryWindow::clearOwnFilters()
{
    m_party->clear();
    if (m_state) {
        m_state->setCurrentIndex(0);
        m_state->setEditText(QString());
    }
    if (m_contract)
        m_contract->clear();
    m_amountFrom->clear();
    m_amountTo->clear();
    for (QWidget *w : std::initializer_list<QWidget *>{m_party, m_state, m_contract, m_amountFrom, m_amountTo})
        markInUse(w, false);
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

void InvoiceHistoryWindow::requestOpen(int row)
{
    const qint64 id = m_model->fieldValue(row, InvoiceQuery::keyColumn()).toLongLong();
    Q_EMIT openBill(m_query.kindName(), id);
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

bool InvoiceHistoryWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_party && event->type() == QEvent::FocusOut && !m_resetting) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        // Switching to another window or opening a menu is no leaving.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            expandParty();
    }
    return HistoryWindow::eventFilter(watched, event);
}

} // namespace moque::ui
