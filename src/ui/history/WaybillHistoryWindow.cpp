#include "history/WaybillHistoryWindow.h"

#include "app/AppCore.h"
#include "common/Dialogs.h"
#include "store/SqlListModel.h"
#include "dialogs/CommandButton.h"
#include "grid/GridExport.h"
#include "grid/GridOperations.h"
#include "history/HistoryStore.h"
#include "refdata/AddressBookWindow.h"
#include "templates/TemplateCatalog.h"

#include <QAbstractButton>
#include <QApplication>
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
#include <QTableView>
#include <QTreeWidget>
#include <QUrlQuery>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>

namespace moque::ui {

using history::BoundStatement;
using history::HistoryStore;
using history::MatchMode;
using history::WaybillFilter;
using history::WaybillQuery;

namespace {

const QString windowName = QStringLiteral("fmSearch_KDD");
const QString doubleClickKey = QStringLiteral("KDDView_DBLOPEN");
const QString itemWord = QStringLiteral("快递单");
const QString partyHint = QStringLiteral("支持简码输入（%+简码）");

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

// A filter in the current query is yellow, one not in use white.
void markInUse(QWidget *filter, bool inUse)
{
    QPalette p = filter->palette();
    p.setColor(QPalette::Base, inUse ? QColor(Qt::yellow) : QColor(Qt::white));
    filter->setPalette(p);
}

} // namespace

WaybillHistoryWindow::WaybillHistoryWindow(moque::app::AppCore &core, QWidget *parent)
    : QDialog(parent)
    , m_core(core)
    , m_sortColumn(WaybillQuery::keyColumn())
{
    setObjectName(windowName);
    setWindowTitle(QStringLiteral("快递单查询"));
    m_model = new SqlListModel(this);
    m_exporter = [this](QTableView *grid, const QString &title) { ExportGrid2Excel(grid, title, m_core.dialogs()); };
    m_picker = [this](const QString &type, const QString &caption) -> std::optional<QString> {
        const std::optional<refdata::TPerson> person = AddressBookWindow::fetchOnePerson(m_core, type, caption, this);
        if (!person)
            return std::nullopt;
        return person->fullName().isEmpty() ? person->contact() : person->fullName();
    };

    buildWindow();
    presetFilters();
    connectControls();
    search();
}

void WaybillHistoryWindow::buildWindow()
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
    resize(980, 620);
}

QGroupBox *WaybillHistoryWindow::buildFilterBar()
{
    auto *filters = new QGroupBox(QStringLiteral("查询条件"), this);
    filters->setObjectName(QStringLiteral("GroupBox1"));
    m_receiver = new QLineEdit(filters);
    m_receiver->setObjectName(QStringLiteral("filterSKR"));
    m_sender = new QLineEdit(filters);
    m_sender->setObjectName(QStringLiteral("filterOutComp"));
    for (QLineEdit *edit : {m_receiver, m_sender}) {
        edit->setToolTip(partyHint);
        edit->setPlaceholderText(partyHint);
        edit->installEventFilter(this);
    }
    m_clearReceiver = commandButton(QStringLiteral("清空"), "btClearSKR", filters);
    m_pickReceiver = commandButton(QStringLiteral("选"), "Button2", filters);
    m_clearSender = commandButton(QStringLiteral("清空"), "btClearOutComp", filters);
    m_pickSender = commandButton(QStringLiteral("选"), "Button3", filters);

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

    m_template = editableCombo("filterTemplate", filters);
    m_clearTemplate = commandButton(QStringLiteral("清空"), "btClearTemplate", filters);
    m_number = editableCombo("cb_PJBH", filters);
    m_number->installEventFilter(this);

    QGroupBox *match = buildMatchChoice(filters);

    auto *dates = new QHBoxLayout;
    dates->addWidget(m_date1, 1);
    dates->addWidget(label(QStringLiteral("到"), filters));
    dates->addWidget(m_date2, 1);
    dates->addWidget(m_anyDate);

    auto *grid = new QGridLayout(filters);
    grid->addWidget(label(QStringLiteral("收件人或单位："), filters), 0, 0);
    grid->addWidget(m_receiver, 0, 1);
    grid->addWidget(m_clearReceiver, 0, 2);
    grid->addWidget(m_pickReceiver, 0, 3);
    grid->addWidget(label(QStringLiteral("寄件人或单位："), filters), 0, 4);
    grid->addWidget(m_sender, 0, 5);
    grid->addWidget(m_clearSender, 0, 6);
    grid->addWidget(m_pickSender, 0, 7);
    grid->addWidget(label(QStringLiteral("寄件日期："), filters), 1, 0);
    grid->addLayout(dates, 1, 1, 1, 3);
    grid->addWidget(label(QStringLiteral("模板种类："), filters), 1, 4);
    grid->addWidget(m_template, 1, 5);
    grid->addWidget(m_clearTemplate, 1, 6);
    grid->addWidget(label(QStringLiteral("快递单号："), filters), 2, 0);
    grid->addWidget(m_number, 2, 1);
    grid->addWidget(match, 2, 4, 1, 4);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(5, 1);
    return filters;
}

QGroupBox *WaybillHistoryWindow::buildMatchChoice(QWidget *filters)
{
    auto *match = new QGroupBox(QStringLiteral("匹配方式"), filters);
    match->setObjectName(QStringLiteral("RadioMatch"));
    m_exact = new QRadioButton(QStringLiteral("精确查询"), match);
    m_exact->setObjectName(QStringLiteral("rbExact"));
    m_contains = new QRadioButton(QStringLiteral("模糊查询"), match);
    m_contains->setObjectName(QStringLiteral("rbContains"));
    m_contains->setChecked(true);
    auto *matchGroup = new QButtonGroup(match);
    matchGroup->addButton(m_exact);
    matchGroup->addButton(m_contains);
    auto *matchLayout = new QHBoxLayout(match);
    matchLayout->addWidget(m_exact);
    matchLayout->addWidget(m_contains);
    return match;
}

QLayout *WaybillHistoryWindow::buildPeriodPanel()
{
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("ATreeView1"));
    m_tree->setHeaderHidden(true);
    m_tree->setRootIsDecorated(false);
    for (const QString &node : history::periodNodes())
        m_tree->addTopLevelItem(new QTreeWidgetItem(QStringList{node}));
    m_tree->setMaximumWidth(160);
    m_export = commandButton(QStringLiteral("导出Excel(&P)"), "pri", this);
    m_delete = commandButton(QStringLiteral("删除选中(&D)"), "del", this);
    m_deleteList = commandButton(QStringLiteral("删除列出(&C)"), "btDeleteList", this);
    m_deleteAll = commandButton(QStringLiteral("清空所有(&Y)"), "DelAll", this);
    auto *left = new QVBoxLayout;
    left->addWidget(m_tree, 1);
    for (QPushButton *b : {m_export, m_delete, m_deleteList, m_deleteAll})
        left->addWidget(b);
    return left;
}

QLayout *WaybillHistoryWindow::buildList()
{
    m_grid = new QTableView(this);
    setUpListGrid(m_grid, QStringLiteral("gridKDD"), m_model, this);

    m_count = new QLabel(QStringLiteral("0"), this);
    m_count->setObjectName(QStringLiteral("Pjcount"));
    m_sum = new QLabel(this);
    m_sum->setObjectName(QStringLiteral("lbSumMoney"));
    m_sum->hide();
    auto *counts = new QHBoxLayout;
    counts->addWidget(label(QStringLiteral("( 共检索到 "), this));
    counts->addWidget(m_count);
    counts->addWidget(label(QStringLiteral("条记录)"), this));
    counts->addStretch();
    counts->addWidget(m_sum);

    auto *list = new QVBoxLayout;
    list->addWidget(m_grid, 1);
    list->addLayout(counts);
    return list;
}

QLayout *WaybillHistoryWindow::buildButtons()
{
    m_query = commandButton(QStringLiteral("查 询(&Q)"), "btQur", this);
    m_all = commandButton(QStringLiteral("全 部(&A)"), "btAll", this);
    m_doubleClickOpens = new QCheckBox(QStringLiteral("双击打开"), this);
    m_doubleClickOpens->setObjectName(QStringLiteral("ckDBLClick"));
    m_doubleClickOpens->setToolTip(QStringLiteral("开启/关闭鼠标双击列表打开快递单"));
    m_open = commandButton(QStringLiteral("打开(&O)"), "btOpenView", this);
    m_exit = commandButton(QStringLiteral("关 闭(&X)"), "btExit", this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_query);
    buttons->addWidget(m_all);
    buttons->addSpacing(12);
    buttons->addWidget(m_doubleClickOpens);
    buttons->addWidget(m_open);
    buttons->addWidget(m_exit);
    return buttons;
}

void WaybillHistoryWindow::presetFilters()
{
    const QDate today = QDate::currentDate();
    m_date1->setDate(today);
    m_date2->setDate(today);
    m_anyDate->setChecked(true);
    m_date1->setEnabled(false);
    m_date2->setEnabled(false);
    templates::TemplateCatalog catalog(m_core.db(), m_core.dialogs(), m_core.store());
    m_template->addItem(QString());
    m_template->addItems(catalog.loadHistoryTypeNameList(WaybillQuery::table()));
    m_template->setCurrentIndex(0);
    const QString doubleClick = m_core.settings().getINIConfigByname(doubleClickKey);
    m_doubleClickOpens->setChecked(doubleClick.isEmpty() || doubleClick == QLatin1String("1"));
}

void WaybillHistoryWindow::connectControls()
{
    connectCommands();
    connectFilters();
    connectList();
}

void WaybillHistoryWindow::connectCommands()
{
    connect(m_query, &QPushButton::clicked, this, &WaybillHistoryWindow::search);
    connect(m_all, &QPushButton::clicked, this, [this] { btAllClick(true); });
    connect(m_open, &QPushButton::clicked, this, [this] { openCurrentRow(false); });
    connect(m_exit, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_export, &QPushButton::clicked, this, &WaybillHistoryWindow::exportGrid);
    connect(m_delete, &QPushButton::clicked, this, &WaybillHistoryWindow::deleteSelected);
    connect(m_deleteList, &QPushButton::clicked, this, &WaybillHistoryWindow::deleteListed);
    connect(m_deleteAll, &QPushButton::clicked, this, &WaybillHistoryWindow::deleteAll);
}

void WaybillHistoryWindow::connectFilters()
{
    connect(m_receiver, &QLineEdit::returnPressed, this, [this] { expandParty(m_receiver); });
    connect(m_sender, &QLineEdit::returnPressed, this, [this] { expandParty(m_sender); });
    connect(m_clearReceiver, &QPushButton::clicked, this, [this] {
        m_receiver->clear();
        markInUse(m_receiver, false);
    });
    connect(m_clearSender, &QPushButton::clicked, this, [this] {
        m_sender->clear();
        markInUse(m_sender, false);
    });
    connect(m_clearTemplate, &QPushButton::clicked, this, [this] {
        m_resetting = true;
        clearTemplate();
        m_resetting = false;
        markInUse(m_template, false);
    });
    connect(m_pickReceiver, &QPushButton::clicked, this,
            [this] { pickParty(m_receiver, QStringLiteral("我方单位"), QStringLiteral("选择寄件单位")); });
    connect(m_pickSender, &QPushButton::clicked, this,
            [this] { pickParty(m_sender, QStringLiteral("往来单位"), QStringLiteral("选择发件单位")); });

    connect(m_anyDate, &QCheckBox::toggled, this, [this](bool any) {
        m_date1->setEnabled(!any);
        m_date2->setEnabled(!any);
        if (!any)
            m_date1->setFocus();
    });
    connect(m_date2, &QDateEdit::dateChanged, this, [this] { m_anyDate->setChecked(false); });

    connect(m_template, &QComboBox::currentIndexChanged, this, &WaybillHistoryWindow::changedFilterQuery);
    connect(m_template->lineEdit(), &QLineEdit::returnPressed, this, &WaybillHistoryWindow::search);
    connect(m_number->lineEdit(), &QLineEdit::returnPressed, this, &WaybillHistoryWindow::search);
    connect(m_exact, &QRadioButton::toggled, this, &WaybillHistoryWindow::changedFilterQuery);
}

void WaybillHistoryWindow::connectList()
{
    connect(m_tree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) {
        if (item)
            selectPeriod(item->text(0));
    });
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this, &WaybillHistoryWindow::headerClicked);
    connect(m_grid, &QTableView::doubleClicked, this, [this] { openCurrentRow(true); });
    connect(m_grid, &QTableView::customContextMenuRequested, this, &WaybillHistoryWindow::gridMenu);
    // Kept at once, so the choice survives however the window is closed.
    connect(m_doubleClickOpens, &QCheckBox::toggled, this, [this](bool opens) {
        m_core.settings().setINIConfigByname(doubleClickKey, opens ? QStringLiteral("1") : QStringLiteral("0"));
    });
}

WaybillFilter WaybillHistoryWindow::filter() const
{
    WaybillFilter f;
    f.number = m_number->currentText();
    f.sender = m_sender->text();
    f.receiver = m_receiver->text();
    f.templateName = m_template->currentText();
    f.anyDate = m_anyDate->isChecked();
    f.from = m_date1->date();
    f.to = m_date2->date();
    f.match = m_exact->isChecked() ? MatchMode::Exact : MatchMode::Contains;
    return f.trimmed();
}

void WaybillHistoryWindow::search()
{
    const WaybillFilter f = filter();
    // The trimmed texts go back into the boxes; that is no change of the template filter.
    const bool resetting = m_resetting;
    m_resetting = true;
    m_receiver->setText(f.receiver);
    m_sender->setText(f.sender);
    if (m_template->currentText() != f.templateName)
        m_template->setEditText(f.templateName);
    if (m_number->currentText() != f.number)
        m_number->setEditText(f.number);
    m_resetting = resetting;

    const QString dateError = WaybillQuery::dateError(f);
    if (!dateError.isEmpty())
        m_core.dialogs().message(dateError, WaybillQuery::dateErrorCaption(), Dialogs::Icon::Warning);
    const BoundStatement statement = WaybillQuery::listStatement(f, m_sortColumn);
    if (m_lastStatement == statement)
        return;
    m_lastStatement = statement;
    if (dateError.isEmpty())
        runQuery(statement, f);
}

void WaybillHistoryWindow::runQuery(const BoundStatement &statement, const WaybillFilter &f)
{
    m_model->setSource(m_core.db(), statement.sql, statement.values, WaybillQuery::table(),
                       WaybillQuery::keyColumn());
    if (!m_model->refresh()) {
        showDatabaseError(statement.sql);
        // The list keeps the rows it showed.
        if (m_shownStatement.sql.isEmpty()) {
            m_model->clear();
        } else {
            m_model->setSource(m_core.db(), m_shownStatement.sql, m_shownStatement.values, WaybillQuery::table(),
                               WaybillQuery::keyColumn());
            m_model->refresh();
        }
        return;
    }
    m_shownStatement = statement;
    const int rows = m_model->rowCount();
    m_delete->setEnabled(rows > 0);
    m_export->setEnabled(rows > 0);
    m_count->setText(QString::number(rows));

    const BoundStatement totals = WaybillQuery::totalsStatement(f);
    QString error;
    if (const std::optional<history::Totals> t = history::readTotals(m_core.db(), totals, &error)) {
        m_sum->setText(t->waybillLabel());
        m_sum->show();
    } else {
        showDatabaseError(totals.sql);
    }
    markFiltersInUse(f);
    GridColsWidthLoadOrFit(m_grid, windowName, m_core.settings(), m_core.dialogs());
}

void WaybillHistoryWindow::showDatabaseError(const QString &statement)
{
    Dialogs &dialogs = m_core.dialogs();
    dialogs.message(QStringLiteral("数据库操作错误！"), QStringLiteral("查询"), Dialogs::Icon::Error);
    dialogs.message(statement, QStringLiteral("错误"), Dialogs::Icon::Error);
}

void WaybillHistoryWindow::markFiltersInUse(const WaybillFilter &f)
{
    markInUse(m_number, !f.number.isEmpty());
    markInUse(m_sender, !f.sender.isEmpty());
    markInUse(m_receiver, !f.receiver.isEmpty());
    markInUse(m_template, !f.templateName.isEmpty());
    markInUse(m_date1, !f.anyDate);
    markInUse(m_date2, !f.anyDate);
}

void WaybillHistoryWindow::changedFilterQuery()
{
    if (!m_resetting)
        search();
}

void WaybillHistoryWindow::refresh()
{
    m_lastStatement.reset();
    search();
}

void WaybillHistoryWindow::btAllClick(bool query)
{
    m_resetting = true;
    m_receiver->clear();
    m_sender->clear();
    clearTemplate();
    m_number->setEditText(QString());
    m_anyDate->setChecked(true);
    m_resetting = false;
    for (QWidget *w : std::initializer_list<QWidget *>{m_receiver, m_sender, m_template, m_number, m_date1, m_date2})
        markInUse(w, false);
    if (query)
        search();
}

void WaybillHistoryWindow::clearTemplate()
{
    m_template->setCurrentIndex(m_template->findText(QString()));
    m_template->setEditText(QString());
}

void WaybillHistoryWindow::selectPeriod(const QString &node)
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

void WaybillHistoryWindow::headerClicked(int column)
{
    const QString field = m_model->fieldName(column);
    if (field.isEmpty())
        return;
    m_sortColumn = field;
    search();
}

void WaybillHistoryWindow::expandParty(QLineEdit *edit)
{
    const QString text = edit->text().trimmed();
    edit->setText(text.isEmpty() ? text : history::expandPartyCode(m_core.db(), text));
}

void WaybillHistoryWindow::pickParty(QLineEdit *edit, const QString &type, const QString &caption)
{
    if (!m_picker)
        return;
    if (const std::optional<QString> picked = m_picker(type, caption))
        edit->setText(*picked);
}

void WaybillHistoryWindow::fillNumberList()
{
    if (m_number->count() > 0)
        return;
    templates::TemplateCatalog catalog(m_core.db(), m_core.dialogs(), m_core.store());
    const QStringList numbers =
        catalog.loadCheckNOList(WaybillQuery::table(), QString(), QStringLiteral("快递单号"));
    // Filling the list must not replace what is typed.
    const QString typed = m_number->currentText();
    m_number->addItems(numbers);
    m_number->setCurrentIndex(-1);
    m_number->setEditText(typed);
}

HistoryStore WaybillHistoryWindow::store() const
{
    return HistoryStore(m_core.db(), WaybillQuery::table(), WaybillQuery::keyColumn());
}

int WaybillHistoryWindow::currentRow() const
{
    const QModelIndex current = m_grid->currentIndex();
    if (current.isValid())
        return current.row();
    return m_model->rowCount() > 0 ? 0 : -1;
}

void WaybillHistoryWindow::openCurrentRow(bool byDoubleClick)
{
    if (byDoubleClick && !m_doubleClickOpens->isChecked())
        return;
    const int row = currentRow();
    if (row < 0)
        return;
    const int id = m_model->fieldValue(row, WaybillQuery::keyColumn()).toInt();
    const QString templateName = m_model->fieldValue(row, QStringLiteral("模板种类")).toString();
    m_openCancelled = false;
    Q_EMIT openBillRequested(templateName, id);
    if (!m_openCancelled)
        accept();
}

void WaybillHistoryWindow::deleteSelected()
{
    Dialogs &dialogs = m_core.dialogs();
    const QVariantList keys = GridSelectedKeys(m_grid, WaybillQuery::keyColumn(), dialogs);
    if (confirmDeleteSelected(int(keys.size()), itemWord,
                              [this, &keys](QString *error) { return store().deleteRows(keys, error); }, dialogs))
        refresh();
}

void WaybillHistoryWindow::deleteListed()
{
    if (confirmDeleteListed([this](QString *error) { return store().deleteListed(*m_model, error); },
                            m_core.dialogs()))
        refresh();
}

void WaybillHistoryWindow::deleteAll()
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

void WaybillHistoryWindow::exportGrid()
{
    if (m_exporter)
        m_exporter(m_grid, QStringLiteral("快递单历史开票") + QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
}

void WaybillHistoryWindow::supplement(const QString &column, const QString &prompt)
{
    const int row = currentRow();
    if (row < 0)
        return;
    const QVariant key = m_model->fieldValue(row, WaybillQuery::keyColumn());
    const QString current = m_model->fieldValue(row, column).toString();
    const QString value = m_core.dialogs().inputValue(prompt, current, QStringLiteral("STRING"));
    if (value.isEmpty())
        return;
    if (store().supplement(key, column, value))
        refresh();
}

void WaybillHistoryWindow::supplementNumber()
{
    supplement(QStringLiteral("快递单号"), QStringLiteral("补录,输入已发出的快递单号"));
}

void WaybillHistoryWindow::supplementRemark()
{
    supplement(QStringLiteral("备注"), QStringLiteral("补录,输入备注内容:"));
}

void WaybillHistoryWindow::trackCurrentRow()
{
    const int row = currentRow();
    if (row < 0)
        return;
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("typekey"), m_model->fieldValue(row, QStringLiteral("模板种类")).toString());
    query.addQueryItem(QStringLiteral("kddno"), m_model->fieldValue(row, QStringLiteral("快递单号")).toString());
    QUrl url(QStringLiteral("/help/kddsearch"));
    url.setQuery(query);
    Q_EMIT trackingRequested(url);
}

void WaybillHistoryWindow::gridMenu(const QPoint &pos)
{
    const bool rows = m_model->rowCount() > 0;
    QMenu menu(this);
    menu.addAction(QStringLiteral("打开查看"), this, [this] { openCurrentRow(false); });
    menu.addAction(QStringLiteral("补录入单号"), this, &WaybillHistoryWindow::supplementNumber)->setEnabled(rows);
    menu.addAction(QStringLiteral("补录备注"), this, &WaybillHistoryWindow::supplementRemark)->setEnabled(rows);
    menu.addAction(QStringLiteral("网上查单"), this, &WaybillHistoryWindow::trackCurrentRow);
    menu.addSeparator();
    menu.addAction(QStringLiteral("刷新"), this, &WaybillHistoryWindow::refresh);
    menu.addAction(QStringLiteral("【记住表格列宽】"), this,
                   [this] { GridColsWidthSave(m_grid, windowName, m_core.settings(), m_core.dialogs()); });
    menu.addAction(QStringLiteral("【显示/隐藏数据列】"), this,
                   [this] { GridColsConfigration(m_grid, windowName, m_core.settings(), m_core.dialogs(), this); });
    menu.exec(m_grid->viewport()->mapToGlobal(pos));
}

void WaybillHistoryWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormFaceLoad(this, m_core.settings());
}

void WaybillHistoryWindow::done(int result)
{
    FormFaceSave(this, m_core.settings());
    QDialog::done(result);
}

bool WaybillHistoryWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_number && event->type() == QEvent::FocusIn)
        fillNumberList();

    if ((watched == m_receiver || watched == m_sender) && event->type() == QEvent::FocusOut && !m_resetting) {
        // Leaving a party filter for another field picks the party from the
        // address book; buttons (清空, 选, 查询, 关闭) act for themselves.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        const bool left = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason
                          || reason == Qt::MouseFocusReason;
        if (left && !qobject_cast<QAbstractButton *>(QApplication::focusWidget())) {
            auto *edit = static_cast<QLineEdit *>(watched);
            const QString caption = edit == m_receiver ? QStringLiteral("选择收件单位") : QStringLiteral("选择发件单位");
            // After the focus change has finished: the address book is modal.
            QMetaObject::invokeMethod(
                this, [this, edit, caption] { pickParty(edit, QStringLiteral("往来单位"), caption); },
                Qt::QueuedConnection);
        }
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
