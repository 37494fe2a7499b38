#include "history/HistoryWindow.h"

#include "app/AppCore.h"
#include "common/Dialogs.h"
#include "dialogs/CommandButton.h"
#include "grid/GridExport.h"
#include "grid/GridOperations.h"
#include "refdata/AddressBookWindow.h"
#include "store/SqlListModel.h"
#include "templates/TemplateCatalog.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSqlError>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>

namespace moque::ui {

using history::BoundStatement;
using history::HistoryStore;

HistoryWindow::HistoryWindow(moque::app::AppCore &core, const HistoryNames &names, QWidget *parent)
    : QDialog(parent)
    , m_core(core)
    , m_names(names)
    , m_sortColumn(names.keyColumn)
{
    setObjectName(m_names.windowName);
    setWindowTitle(m_names.caption);
    m_exporter = [this](QTableView *grid, const QString &title) { ExportGrid2Excel(grid, title, m_core.dialogs()); };
    m_picker = [this](const QString &type, const QString &caption) -> std::optional<QString> {
        const std::optional<refdata::TPerson> person = AddressBookWindow::fetchOnePerson(m_core, type, caption, this);
        if (!person)
            return std::nullopt;
        return partyText(*person);
    };
}

void HistoryWindow::start(SqlListModel *model)
{
    m_model = model;
    buildWindow();
    presetFilters();
    connectCommands();
    connectFilters();
    connectList();
    search();
}

void HistoryWindow::buildWindow()
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
    buildExtras();
    resize(980, 620);
}

QGroupBox *HistoryWindow::newFilterBox()
{
    auto *filters = new QGroupBox(QStringLiteral("查询条件"), this);
    filters->setObjectName(QStringLiteral("GroupBox1"));
    return filters;
}

QHBoxLayout *HistoryWindow::buildDates(QWidget *filters)
{
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
    return dates;
}

void HistoryWindow::buildNumberFilter(QWidget *filters)
{
    m_number = editableCombo("cb_PJBH", filters);
    m_number->installEventFilter(this);
}

void HistoryWindow::buildTemplateFilter(QWidget *filters)
{
    m_template = editableCombo("filterTemplate", filters);
    m_clearTemplate = commandButton(QStringLiteral("清空"), QStringLiteral("btClearTemplate"), filters);
}

QGroupBox *HistoryWindow::buildMatchChoice(QWidget *filters)
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
    return match;
}

QVBoxLayout *HistoryWindow::buildPeriodPanel()
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
    return left;
}

QLayout *HistoryWindow::buildList()
{
    m_grid = new QTableView(this);
    setUpListGrid(m_grid, m_names.gridName, m_model, this);

    m_count = new QLabel(QStringLiteral("0"), this);
    m_count->setObjectName(QStringLiteral("Pjcount"));
    auto *counts = new QHBoxLayout;
    counts->addWidget(label(QStringLiteral("( 共检索到 "), this));
    counts->addWidget(m_count);
    counts->addWidget(label(QStringLiteral("条记录)"), this));
    counts->addStretch();
    if (hasTotal()) {
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

QLayout *HistoryWindow::buildButtons()
{
    m_queryButton = commandButton(QStringLiteral("查 询(&Q)"), QStringLiteral("btQur"), this);
    m_all = commandButton(QStringLiteral("全 部(&A)"), QStringLiteral("btAll"), this);
    m_doubleClickOpens = new QCheckBox(QStringLiteral("双击打开"), this);
    m_doubleClickOpens->setObjectName(QStringLiteral("ckDBLClick"));
    m_doubleClickOpens->setToolTip(m_names.doubleClickTip);
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

void HistoryWindow::presetFilters()
{
    const QDate today = QDate::currentDate();
    m_date1->setDate(today);
    m_date2->setDate(today);
    m_anyDate->setChecked(true);
    m_date1->setEnabled(false);
    m_date2->setEnabled(false);
    const QString doubleClick = m_core.settings().getINIConfigByname(m_names.doubleClickKey);
    m_doubleClickOpens->setChecked(doubleClick.isEmpty() || doubleClick == QLatin1String("1"));
}

void HistoryWindow::connectCommands()
{
    connect(m_queryButton, &QPushButton::clicked, this, &HistoryWindow::search);
    connect(m_all, &QPushButton::clicked, this, [this] { btAllClick(true); });
    connect(m_open, &QPushButton::clicked, this, [this] { openCurrentRow(false); });
    connect(m_exit, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_export, &QPushButton::clicked, this, &HistoryWindow::exportGrid);
    connect(m_delete, &QPushButton::clicked, this, &HistoryWindow::deleteSelected);
    connect(m_deleteList, &QPushButton::clicked, this, &HistoryWindow::deleteListed);
    connect(m_deleteAll, &QPushButton::clicked, this, &HistoryWindow::deleteAll);
}

void HistoryWindow::connectFilters()
{
    if (m_clearTemplate) {
        connect(m_clearTemplate, &QPushButton::clicked, this, [this] {
            m_resetting = true;
            clearTemplate();
            m_resetting = false;
            markInUse(m_template, false);
        });
        connect(m_template->lineEdit(), &QLineEdit::returnPressed, this, &HistoryWindow::search);
    }
    connect(m_anyDate, &QCheckBox::toggled, this, [this](bool any) {
        m_date1->setEnabled(!any);
        m_date2->setEnabled(!any);
        if (!any)
            m_date1->setFocus();
    });
    connect(m_date2, &QDateEdit::dateChanged, this, [this] { m_anyDate->setChecked(false); });
    connect(m_number->lineEdit(), &QLineEdit::returnPressed, this, &HistoryWindow::search);
    connect(m_exact, &QRadioButton::toggled, this, &HistoryWindow::changedFilterQuery);
}

void HistoryWindow::connectList()
{
    connect(m_tree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) {
        if (item)
            selectPeriod(item->text(0));
    });
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this, &HistoryWindow::headerClicked);
    connect(m_grid, &QTableView::doubleClicked, this, [this] { openCurrentRow(true); });
    connect(m_grid, &QTableView::customContextMenuRequested, this, &HistoryWindow::gridMenu);
    // Kept at once, so the choice survives however the window is closed.
    connect(m_doubleClickOpens, &QCheckBox::toggled, this, [this](bool opens) {
        m_core.settings().setINIConfigByname(m_names.doubleClickKey, opens ? QStringLiteral("1") : QStringLiteral("0"));
    });
}

void HistoryWindow::writeBack(const QString &number, const QString &templateName)
{
    if (m_number->currentText() != number)
        m_number->setEditText(number);
    if (m_template && m_template->currentText() != templateName)
        m_template->setEditText(templateName);
}

void HistoryWindow::search()
{
    // The trimmed texts go back into the boxes; that is no change of a filter.
    const bool resetting = m_resetting;
    m_resetting = true;
    const BoundStatement statement = takeFilter();
    m_resetting = resetting;

    const QString dateError = history::periodError(m_anyDate->isChecked(), m_date1->date(), m_date2->date());
    if (!dateError.isEmpty())
        m_core.dialogs().message(dateError, history::WaybillQuery::dateErrorCaption(), Dialogs::Icon::Warning);
    if (m_lastStatement == statement)
        return;
    m_lastStatement = statement;
    if (dateError.isEmpty())
        runQuery(statement);
}

void HistoryWindow::runQuery(const BoundStatement &statement)
{
    m_model->setSource(m_core.db(), statement.sql, statement.values, m_names.table, m_names.keyColumn);
    if (!m_model->refresh()) {
        showDatabaseError(statement.sql, m_model->lastError().text());
        // The list keeps the rows it showed.
        if (m_shownStatement.sql.isEmpty()) {
            m_model->clear();
        } else {
            m_model->setSource(m_core.db(), m_shownStatement.sql, m_shownStatement.values, m_names.table,
                               m_names.keyColumn);
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
        const BoundStatement totals = totalsStatement();
        QString error;
        if (const std::optional<history::Totals> t = history::readTotals(m_core.db(), totals, &error)) {
            m_sum->setText(totalLabel(*t));
            m_sum->show();
        } else {
            showDatabaseError(totals.sql, error);
        }
    }
    markFiltersInUse();
    GridColsWidthLoadOrFit(m_grid, m_names.windowName, m_core.settings(), m_core.dialogs());
    listed(rows);
}

void HistoryWindow::changedFilterQuery()
{
    if (!m_resetting)
        search();
}

void HistoryWindow::refresh()
{
    m_lastStatement.reset();
    search();
}

void HistoryWindow::btAllClick(bool query)
{
    m_resetting = true;
    clearOwnFilters();
    m_number->setEditText(QString());
    if (m_template)
        clearTemplate();
    m_anyDate->setChecked(true);
    m_resetting = false;
    for (QWidget *w : std::initializer_list<QWidget *>{m_number, m_template, m_date1, m_date2})
        markInUse(w, false);
    if (query)
        search();
}

void HistoryWindow::clearTemplate()
{
    m_template->setCurrentIndex(m_template->findText(QString()));
    m_template->setEditText(QString());
}

void HistoryWindow::selectPeriod(const QString &node)
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

void HistoryWindow::headerClicked(int column)
{
    const QString field = m_model->fieldName(column);
    if (field.isEmpty())
        return;
    m_sortColumn = field;
    search();
}

void HistoryWindow::pickParty(QLineEdit *edit, const QString &type, const QString &caption)
{
    if (!m_picker)
        return;
    if (const std::optional<QString> picked = m_picker(type, caption))
        edit->setText(*picked);
}

void HistoryWindow::fillOnFirstEntry(QComboBox *box)
{
    if (box->count() > 0)
        return;
    templates::TemplateCatalog catalog(m_core.db(), m_core.dialogs(), m_core.store());
    const QStringList items = box == m_template
                                  ? QStringList{QString()} + catalog.loadHistoryTypeNameList(m_names.table)
                                  : catalog.loadCheckNOList(m_names.table, QString(), m_names.numberColumn);
    // Filling the list must not replace what is typed.
    const bool resetting = m_resetting;
    m_resetting = true;
    const QString typed = box->currentText();
    box->addItems(items);
    box->setCurrentIndex(-1);
    box->setEditText(typed);
    m_resetting = resetting;
}

HistoryStore HistoryWindow::store() const
{
    return HistoryStore(m_core.db(), m_names.table, m_names.keyColumn);
}

int HistoryWindow::currentRow() const
{
    const QModelIndex current = m_grid->currentIndex();
    if (current.isValid())
        return current.row();
    return m_model->rowCount() > 0 ? 0 : -1;
}

void HistoryWindow::openCurrentRow(bool byDoubleClick)
{
    if (byDoubleClick && !m_doubleClickOpens->isChecked())
        return;
    const int row = currentRow();
    if (row < 0)
        return;
    m_openCancelled = false;
    requestOpen(row);
    if (!m_openCancelled)
        accept();
}

void HistoryWindow::deleteSelected()
{
    Dialogs &dialogs = m_core.dialogs();
    const QVariantList keys = GridSelectedKeys(m_grid, m_names.keyColumn, dialogs);
    if (confirmDeleteSelected(int(keys.size()), m_names.itemWord,
                              [this, &keys](QString *error) { return store().deleteRows(keys, error); }, dialogs))
        refresh();
}

void HistoryWindow::deleteListed()
{
    if (confirmDeleteListed([this](QString *error) { return store().deleteListed(*m_model, error); },
                            m_core.dialogs()))
        refresh();
}

void HistoryWindow::deleteAll()
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

void HistoryWindow::exportGrid()
{
    if (m_exporter)
        m_exporter(m_grid, m_names.itemWord + QStringLiteral("历史开票")
                               + QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
}

void HistoryWindow::gridMenu(const QPoint &pos)
{
    QMenu menu(this);
    menu.addAction(QStringLiteral("打开查看"), this, [this] { openCurrentRow(false); });
    addRowCommands(menu);
    menu.addSeparator();
    menu.addAction(QStringLiteral("刷新"), this, &HistoryWindow::refresh);
    menu.addAction(QStringLiteral("【记住表格列宽】"), this,
                   [this] { GridColsWidthSave(m_grid, m_names.windowName, m_core.settings(), m_core.dialogs()); });
    menu.addAction(QStringLiteral("【显示/隐藏数据列】"), this, [this] {
        GridColsConfigration(m_grid, m_names.windowName, m_core.settings(), m_core.dialogs(), this);
    });
    menu.exec(m_grid->viewport()->mapToGlobal(pos));
}

void HistoryWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormFaceLoad(this, m_core.settings());
}

void HistoryWindow::done(int result)
{
    FormFaceSave(this, m_core.settings());
    QDialog::done(result);
}

bool HistoryWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn && (watched == m_number || (m_template && watched == m_template)))
        fillOnFirstEntry(static_cast<QComboBox *>(watched));

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

void HistoryWindow::markInUse(QWidget *filter, bool inUse)
{
    if (!filter)
        return;
    QPalette p = filter->palette();
    p.setColor(QPalette::Base, inUse ? QColor(Qt::yellow) : QColor(Qt::white));
    filter->setPalette(p);
}

QLabel *HistoryWindow::label(const QString &text, QWidget *parent)
{
    return new QLabel(text, parent);
}

QComboBox *HistoryWindow::editableCombo(const char *name, QWidget *parent)
{
    auto *c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setMinimumContentsLength(12);
    return c;
}

} // namespace moque::ui
