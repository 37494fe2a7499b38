#include "batch/BatchPrintWindow.h"

#include "app/AppCore.h"
#include "batch/AddressRecognitionWindow.h"
#include "batch/BatchListModel.h"
#include "batch/BatchPrint.h"
#include "batch/RecipientImportWindow.h"
#include "common/Dialogs.h"
#include "dialogs/CommandButton.h"
#include "entry/WaybillWindow.h"
#include "grid/GridExport.h"
#include "grid/GridOperations.h"
#include "print/SystemPrintDevice.h"
#include "refdata/AddressBookWindow.h"
#include "refdata/DAOPerson.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelection>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressDialog>
#include <QTabBar>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace moque::ui {

namespace {

const QString windowName = QStringLiteral("frmMutiPrint");
const QString itemWord = QStringLiteral("收件条目");

struct HelpText
{
    const char *name;
    const char *caption;
    const char *title;
    const char *text;
};

constexpr HelpText helpTexts[] = {
    {"lbHelpPaper", "【批量打印其他注意】", "提示",
     "1.如果是从打印机后面链条自动走纸，打印前要添加和快递单一样大小的纸张规格，否则走纸会跳页。\n"
     "  添加纸张规格说明请参见手册或软件右侧在线服务中心【纸张设置】的网页链接；\n\n"
     "2.如果是从打印机前方平推进纸，请撕下快递单一张张放，打印一张退一张。"},
    {"lbHelpMultiSelect", "【怎样点击多选?】", "墨雀提示",
     "按住Ctrl或Shift键不放开，然后鼠标左键点击表格中的条目可选中多个条目！"},
    {"lbHelpPrintSelected", "【怎样仅打印选中条目?】", "墨雀提示",
     "选中要打印的条目后，鼠标右击它们，在弹出的菜单中点击“【批量打印选中】条目”"},
    {"lbHelpHideColumns", "【怎样隐藏不用的数据列?】", "墨雀提示",
     "鼠标右击表格，在弹出的菜单中点击“【隐藏/显示】表格列”,把不需要的列加入到不需要的列表。"},
};

constexpr const char *fillExamples[] = {
    "例如（多列拼加）：       @地址 = @省 + @市 + @地址",
    "例如（前置特定句子）：   @地址 = 收货地址: + @地址 ",
    "例如（后置特定句子）：   @地址 = @地址 + 【务必本人签收】",
    "例如（前后置特定句子）： @内件说明 = 光盘数: +  @数量  + 张.",
    "例如（置为特定句子）：   @内件说明 =  文件或发票",
};

// The creation-date periods and how many days back each starts; the month
// and the year start on their first day, 其他日期 asks for a start.
struct DatePeriod
{
    const char *caption;
    int daysBack;
};
constexpr int monthStart = -1;
constexpr int yearStart = -2;
constexpr DatePeriod datePeriods[] = {
    {"今天", 0},           {"最近三天", 2},         {"最近一周", 6},        {"最近一个月", 30}, {"最近三个月", 90},
    {"最近一年", 365},     {"本月内", monthStart}, {"本年度内", yearStart}, {"其他日期", 548},
};
const QString otherDates = QStringLiteral("其他日期");

} // namespace

BatchPrintWindow::BatchPrintWindow(app::AppCore &core, WaybillWindow &waybill, QWidget *parent)
    : QDialog(parent)
    , m_core(core)
    , m_waybill(waybill)
    , m_exporter([this](QTableView *grid, const QString &title) { ExportGrid2Excel(grid, title, m_core.dialogs()); })
{
    setObjectName(windowName);
    setWindowTitle(QStringLiteral("墨雀软件-批量打印快递单-收件人"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);

    m_model = new BatchListModel(core.db(), this);
    QLayout *filters = buildFilterBar();
    m_fillPanel = buildFillPanel();
    buildGrid();
    QLayout *datePanel = buildDatePanel();
    QLayout *printPanel = buildPrintPanel();
    QLayout *commands = buildCommands();

    m_printState = new QTabBar(this);
    m_printState->setObjectName(QStringLiteral("tabPrintState"));
    for (const char *caption : {"【所有】", "【未打印】", "【已打印】", "【临时打印】"})
        m_printState->addTab(QString::fromUtf8(caption));
    m_printState->setExpanding(false);
    connect(m_printState, &QTabBar::currentChanged, this, &BatchPrintWindow::loadList);

    auto *center = new QVBoxLayout;
    center->setSpacing(0);
    center->addWidget(m_printState);
    center->addWidget(m_grid, 1);
    auto *middle = new QHBoxLayout;
    middle->addLayout(datePanel);
    middle->addLayout(center, 1);
    middle->addLayout(printPanel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(m_fillPanel);
    layout->addLayout(middle, 1);
    layout->addLayout(commands);
    resize(1200, 680);
    FormFaceLoad(this, m_core.settings());

    setImporter([this](QWidget *parent) {
        RecipientImportWindow import(m_core, batch::ImportTarget::BatchList, parent);
        import.exec();
    });
}

QLayout *BatchPrintWindow::buildFilterBar()
{
    m_filterEntry = new QComboBox(this);
    m_filterEntry->setObjectName(QStringLiteral("cbFilter"));
    m_filterEntry->addItems(batch::BatchList::filterEntries({}));
    m_filterEntry->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_match = new QComboBox(this);
    m_match->setObjectName(QStringLiteral("cbMatch"));
    m_match->addItems({QStringLiteral("包含"), QStringLiteral("等于")});
    m_keyword = new QLineEdit(this);
    m_keyword->setObjectName(QStringLiteral("edtKey"));
    m_keyword->setPlaceholderText(QStringLiteral("查找关键字"));
    m_descending = new QCheckBox(QStringLiteral("倒序"), this);
    m_descending->setObjectName(QStringLiteral("ckDesc"));
    QPushButton *query = commandButton(QStringLiteral("查 询"), QStringLiteral("btQuery"), this);
    QPushButton *all = commandButton(QStringLiteral("全 部"), QStringLiteral("btAll"), this);
    QPushButton *fill = commandButton(QStringLiteral("批量填充列"), QStringLiteral("btFillColumn"), this);

    auto *bar = new QHBoxLayout;
    bar->addWidget(new QLabel(QStringLiteral("查找："), this));
    bar->addWidget(m_filterEntry);
    bar->addWidget(m_match);
    bar->addWidget(m_keyword, 1);
    bar->addWidget(query);
    bar->addWidget(all);
    bar->addSpacing(12);
    bar->addWidget(m_descending);
    bar->addSpacing(12);
    bar->addWidget(fill);

    connect(query, &QPushButton::clicked, this, &BatchPrintWindow::loadList);
    connect(m_keyword, &QLineEdit::returnPressed, this, &BatchPrintWindow::loadList);
    connect(all, &QPushButton::clicked, this, &BatchPrintWindow::showAll);
    connect(fill, &QPushButton::clicked, this, &BatchPrintWindow::toggleFillPanel);
    connect(m_descending, &QCheckBox::toggled, this, &BatchPrintWindow::loadList);
    connect(m_filterEntry, &QComboBox::activated, this, [this] {
        if (!m_keyword->text().trimmed().isEmpty())
            loadList();
    });
    connect(m_match, &QComboBox::activated, this, [this] {
        if (!m_keyword->text().trimmed().isEmpty())
            loadList();
    });
    return bar;
}

QGroupBox *BatchPrintWindow::buildFillPanel()
{
    auto *box = new QGroupBox(QStringLiteral("批量填充列"), this);
    box->setObjectName(QStringLiteral("gbFill"));
    m_fillTarget = new QComboBox(box);
    m_fillTarget->setObjectName(QStringLiteral("cbField"));
    m_fillTarget->setMinimumWidth(140);
    m_fillEmpty = new QCheckBox(QStringLiteral("置空"), box);
    m_fillEmpty->setObjectName(QStringLiteral("ckEmpty"));
    QPushButton *apply = commandButton(QStringLiteral("应用修改"), QStringLiteral("btApplyFill"), box);

    auto *row = new QHBoxLayout;
    row->addWidget(m_fillTarget);
    row->addWidget(new QLabel(QStringLiteral("="), box));
    for (int i = 1; i <= 3; ++i) {
        auto *part = new QComboBox(box);
        part->setObjectName(QStringLiteral("cbField%1").arg(i));
        part->setEditable(true);
        part->setMinimumWidth(130);
        if (i > 1)
            row->addWidget(new QLabel(QStringLiteral("+"), box));
        row->addWidget(part, 1);
        // A part chosen from the list is no longer an emptying.
        connect(part, &QComboBox::activated, this, [this] { m_fillEmpty->setChecked(false); });
        m_fillParts << part;
    }
    row->addWidget(m_fillEmpty);
    row->addWidget(apply);

    auto *examples = new QVBoxLayout;
    examples->setSpacing(2);
    for (const char *example : fillExamples)
        examples->addWidget(new QLabel(QString::fromUtf8(example), box));
    auto *tip = new QLabel(
        QStringLiteral("【技巧】：可进行多次拼合达到多列合并的目的！也可用于批量修改某列为固定文字或置空。"), box);
    tip->setObjectName(QStringLiteral("lbFillTip"));
    tip->setWordWrap(true);
    examples->addWidget(tip);

    auto *layout = new QVBoxLayout(box);
    layout->addLayout(row);
    layout->addLayout(examples);
    box->hide();

    connect(m_fillTarget, &QComboBox::activated, this, &BatchPrintWindow::fillTargetChosen);
    connect(m_fillEmpty, &QCheckBox::toggled, this, [this](bool empty) {
        if (!empty)
            return;
        for (QComboBox *part : std::as_const(m_fillParts))
            part->setEditText(QString());
    });
    connect(apply, &QPushButton::clicked, this, &BatchPrintWindow::applyFill);
    return box;
}

QLayout *BatchPrintWindow::buildDatePanel()
{
    m_dateTree = new QTreeWidget(this);
    m_dateTree->setObjectName(QStringLiteral("tvDate"));
    m_dateTree->setHeaderLabel(QStringLiteral("创建日期"));
    m_dateTree->setRootIsDecorated(false);
    for (const DatePeriod &period : datePeriods)
        m_dateTree->addTopLevelItem(new QTreeWidgetItem(QStringList{QString::fromUtf8(period.caption)}));
    m_dateTree->setFixedWidth(130);

    m_dateFrom = new QDateEdit(this);
    m_dateFrom->setObjectName(QStringLiteral("dtFrom"));
    m_dateTo = new QDateEdit(this);
    m_dateTo->setObjectName(QStringLiteral("dtTo"));
    for (QDateEdit *edit : {m_dateFrom, m_dateTo}) {
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        edit->setFixedWidth(130);
    }
    m_anyDate = new QCheckBox(QStringLiteral("不限日期时间"), this);
    m_anyDate->setObjectName(QStringLiteral("ckAnyDate"));

    auto *panel = new QVBoxLayout;
    panel->addWidget(m_dateTree, 1);
    panel->addWidget(new QLabel(QStringLiteral("起始日期："), this));
    panel->addWidget(m_dateFrom);
    panel->addWidget(new QLabel(QStringLiteral("截止日期："), this));
    panel->addWidget(m_dateTo);
    panel->addWidget(m_anyDate);

    connect(m_dateTree, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem *item) { chooseDatePeriod(item->text(0)); });
    connect(m_anyDate, &QCheckBox::toggled, this, [this](bool any) {
        m_dateFrom->setEnabled(!any);
        m_dateTo->setEnabled(!any);
    });
    return panel;
}

void BatchPrintWindow::buildGrid()
{
    m_grid = new QTableView(this);
    setUpListGrid(m_grid, QStringLiteral("gridReceiver"), m_model, this);
    // The list is corrected in place, cell by cell.
    m_grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                            | QAbstractItemView::AnyKeyPressed);
    connect(m_grid->selectionModel(), &QItemSelectionModel::selectionChanged, this, &BatchPrintWindow::updateCounters);
    connect(m_model, &QAbstractItemModel::modelReset, this, &BatchPrintWindow::updateCounters);
    connect(m_model, &BatchListModel::cellStored, this, &BatchPrintWindow::updateCounters);
    connect(m_model, &BatchListModel::cellRefused, this,
            [this](const QString &reason) { m_core.dialogs().error(QStringLiteral("错误，") + reason); });
    connect(m_grid, &QTableView::customContextMenuRequested, this, &BatchPrintWindow::gridMenu);
}

QLayout *BatchPrintWindow::buildPrintPanel()
{
    auto *box = new QGroupBox(QStringLiteral("批量打印"), this);
    m_import = commandButton(QStringLiteral("1.导入Excel"), QStringLiteral("btImport"), box);
    m_import->setEnabled(false);
    QPushButton *preview = commandButton(QStringLiteral("2.【预览】第1个"), QStringLiteral("btPreview"), box);
    m_printAll = commandButton(QStringLiteral("3.【开始】批量打印列出条目"), QStringLiteral("btPrintAll"), box);
    m_printSelected = commandButton(QStringLiteral("【批量打印选中】条目"), QStringLiteral("btPrintSelected"), box);
    QPushButton *firstN = commandButton(QStringLiteral("选中前 N 条"), QStringLiteral("btSelectFirstN"), box);
    QPushButton *recognize = commandButton(QStringLiteral("识别复制串或输入"), QStringLiteral("btRecognize"), box);
    QPushButton *pick = commandButton(QStringLiteral("选取地址本"), QStringLiteral("btPickAddress"), box);
    pick->setToolTip(QStringLiteral("从地址薄选取一些地址"));
    QFont bold = m_printAll->font();
    bold.setBold(true);
    m_printAll->setFont(bold);
    m_printAll->setMinimumHeight(m_printAll->sizeHint().height() * 3 / 2);

    auto *buttons = new QVBoxLayout(box);
    buttons->setSpacing(8);
    for (QPushButton *b : {m_import, recognize, pick, preview, m_printAll, m_printSelected, firstN})
        buttons->addWidget(b);
    buttons->addSpacing(12);
    for (const HelpText &help : helpTexts) {
        auto *label = new QLabel(QStringLiteral("<a href=\"#\">%1</a>").arg(QString::fromUtf8(help.caption)), box);
        label->setObjectName(QString::fromLatin1(help.name));
        connect(label, &QLabel::linkActivated, this, [this, help] {
            m_core.dialogs().info(QString::fromUtf8(help.text), QString::fromUtf8(help.title));
        });
        buttons->addWidget(label);
    }
    buttons->addStretch();

    connect(m_import, &QPushButton::clicked, this, [this] {
        if (!m_importer)
            return;
        m_importer(this);
        loadList();
    });
    connect(preview, &QPushButton::clicked, this, &BatchPrintWindow::previewCurrent);
    connect(m_printAll, &QPushButton::clicked, this, &BatchPrintWindow::printListed);
    connect(m_printSelected, &QPushButton::clicked, this, &BatchPrintWindow::printSelected);
    connect(firstN, &QPushButton::clicked, this, &BatchPrintWindow::selectFirstN);
    connect(recognize, &QPushButton::clicked, this, &BatchPrintWindow::recognizeRecipients);
    connect(pick, &QPushButton::clicked, this, &BatchPrintWindow::pickFromAddressBook);

    auto *panel = new QVBoxLayout;
    panel->addWidget(box);
    return panel;
}

QLayout *BatchPrintWindow::buildCommands()
{
    QPushButton *first = commandButton(QStringLiteral("|<"), QStringLiteral("btFirst"), this);
    QPushButton *last = commandButton(QStringLiteral(">|"), QStringLiteral("btLast"), this);
    QPushButton *deleteSelected = commandButton(QStringLiteral("删除选中条目"), QStringLiteral("btDeleteSelected"), this);
    QPushButton *deleteListed = commandButton(QStringLiteral("删除当前列出条目"), QStringLiteral("btDeleteListed"), this);
    QPushButton *clear = commandButton(QStringLiteral("清空系统所有条目"), QStringLiteral("btClear"), this);
    QPushButton *exportButton = commandButton(QStringLiteral("导出到Excel(列出)"), QStringLiteral("btExport"), this);
    QPushButton *close = commandButton(QStringLiteral("关 闭"), QStringLiteral("btClose"), this);
    m_listed = new QLabel(QStringLiteral("0"), this);
    m_listed->setObjectName(QStringLiteral("lbListed"));
    m_selected = new QLabel(QStringLiteral("0"), this);
    m_selected->setObjectName(QStringLiteral("lbSelected"));
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lbStatus"));

    auto *commands = new QHBoxLayout;
    commands->addWidget(first);
    commands->addWidget(last);
    commands->addSpacing(8);
    commands->addWidget(new QLabel(QStringLiteral("共列出"), this));
    commands->addWidget(m_listed);
    commands->addSpacing(8);
    commands->addWidget(new QLabel(QStringLiteral("选中"), this));
    commands->addWidget(m_selected);
    commands->addSpacing(8);
    commands->addWidget(m_status, 1);
    for (QPushButton *b : {deleteSelected, deleteListed, clear, exportButton, close})
        commands->addWidget(b);

    connect(first, &QPushButton::clicked, this, [this] { goToRow(0); });
    connect(last, &QPushButton::clicked, this, [this] { goToRow(m_model->rowCount() - 1); });
    connect(deleteSelected, &QPushButton::clicked, this, &BatchPrintWindow::deleteSelected);
    connect(deleteListed, &QPushButton::clicked, this, &BatchPrintWindow::deleteListed);
    connect(clear, &QPushButton::clicked, this, &BatchPrintWindow::clearAll);
    connect(exportButton, &QPushButton::clicked, this, &BatchPrintWindow::exportListed);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    return commands;
}

void BatchPrintWindow::setImporter(std::function<void(QWidget *)> importer)
{
    m_importer = std::move(importer);
    m_import->setEnabled(bool(m_importer));
}

void BatchPrintWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    setDateRange(QDate::currentDate().addDays(-2));
    loadList();
}

void BatchPrintWindow::done(int result)
{
    if (m_model->isOpen())
        GridColsWidthSave(m_grid, windowName, m_core.settings(), m_core.dialogs());
    FormFaceSave(this, m_core.settings());
    QDialog::done(result);
}

void BatchPrintWindow::loadList()
{
    m_keyword->setText(m_keyword->text().trimmed());
    batch::ListFilter filter;
    filter.filterEntry = m_filterEntry->currentText();
    filter.keyword = m_keyword->text();
    filter.match = m_match->currentIndex() == 1 ? history::MatchMode::Exact : history::MatchMode::Contains;
    filter.descending = m_descending->isChecked();
    const history::BoundStatement s = batch::BatchList::listStatement(filter);
    m_model->setSource(m_core.db(), s.sql, s.values, batch::BatchList::table(), batch::BatchList::keyColumn());
    if (!m_model->refresh()) {
        m_core.dialogs().error(QStringLiteral("错误，") + m_model->lastError().text());
        return;
    }
    GridColsWidthLoadOrFit(m_grid, windowName, m_core.settings(), m_core.dialogs());
    // The filter list follows the grid's columns once they are known.
    if (!m_filtersBuilt) {
        m_filtersBuilt = true;
        const QString chosen = m_filterEntry->currentText();
        m_filterEntry->clear();
        m_filterEntry->addItems(batch::BatchList::filterEntries(gridColumns()));
        m_filterEntry->setCurrentIndex(qMax(0, m_filterEntry->findText(chosen)));
    }
    updateCounters();
}

void BatchPrintWindow::showAll()
{
    m_keyword->clear();
    loadList();
}

QStringList BatchPrintWindow::gridColumns() const
{
    QStringList columns;
    const QHeaderView *header = m_grid->horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (!header->isSectionHidden(logical))
            columns << m_model->fieldName(logical);
    }
    return columns;
}

int BatchPrintWindow::listedCount() const
{
    return m_model->rowCount();
}

QList<qint64> BatchPrintWindow::selectedIds() const
{
    QList<qint64> ids;
    const QVariantList keys = GridSelectedKeys(m_grid, batch::BatchList::keyColumn(), m_core.dialogs());
    for (const QVariant &key : keys)
        ids << key.toLongLong();
    return ids;
}

void BatchPrintWindow::updateCounters()
{
    const int listed = m_model->rowCount();
    const int selected = listed > 0 ? int(selectedIds().size()) : 0;
    m_listed->setText(QString::number(listed));
    m_selected->setText(QString::number(selected));
    m_printAll->setEnabled(listed > 0);
    m_printSelected->setEnabled(selected > 0);
}

void BatchPrintWindow::printListed()
{
    QList<qint64> ids;
    for (const QVariant &key : m_model->allKeys())
        ids << key.toLongLong();
    printRows(ids);
}

void BatchPrintWindow::printSelected()
{
    printRows(selectedIds());
}

void BatchPrintWindow::printRows(const QList<qint64> &ids)
{
    if (ids.isEmpty())
        return;
    Dialogs &dialogs = m_core.dialogs();
    const std::optional<batch::WaybillSide> side = m_waybill.batchSide();
    if (!side) {
        dialogs.info(m_waybill.kind().noTemplateMessage);
        return;
    }
    const std::unique_ptr<print::PrintDevice> device =
        makeBillPrintDevice(m_core.session().billPrinterName, dialogs, m_waybill.kind().pdfFileName);
    if (!device)
        return;

    setBusy(true);
    const int total = int(ids.size());
    QProgressDialog progress(QStringLiteral("正在批量打印快递单..."), QStringLiteral("取消"), 0, total, this);
    progress.setObjectName(QStringLiteral("pdPrinting"));
    progress.setWindowTitle(windowTitle());
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    progress.show();
    batch::BatchPrint job(m_core, *device);
    job.setPrinterSetup(printerSetupFor(*device, this));
    const batch::BatchResult result =
        job.print(*side, ids, gridColumns(), [&progress](int done, int) {
            progress.setValue(done);
            progress.setLabelText(QStringLiteral("正在批量打印快递单 %1/%2 ...").arg(done).arg(progress.maximum()));
            // 取消 is heard between two bills.
            QCoreApplication::processEvents();
            return !progress.wasCanceled();
        });
    progress.close();
    setBusy(false);
    switch (result.status) {
    case batch::BatchResult::Status::Printed:
        m_status->setText(QStringLiteral("已打印%1张快递单").arg(result.printed));
        break;
    case batch::BatchResult::Status::Cancelled:
        m_status->setText(QStringLiteral("批量打印已取消"));
        break;
    case batch::BatchResult::Status::Failed:
        m_status->setText(QStringLiteral("批量打印失败"));
        break;
    }
}

void BatchPrintWindow::setBusy(bool busy)
{
    m_grid->setEnabled(!busy);
    m_printAll->setEnabled(!busy);
    m_printSelected->setEnabled(!busy);
    if (!busy)
        updateCounters();
}

void BatchPrintWindow::selectFirstN()
{
    if (m_model->rowCount() == 0)
        return;
    Dialogs &dialogs = m_core.dialogs();
    const QString answer =
        dialogs.inputValue(QStringLiteral("输入重复打印的张数"), QStringLiteral("1"), QStringLiteral("integer"));
    if (answer.isEmpty())
        return;
    bool ok = false;
    const int n = answer.trimmed().toInt(&ok);
    if (!ok) {
        dialogs.info(QStringLiteral("输入错误的数字！"));
        return;
    }
    m_grid->clearSelection();
    const int rows = qMin(n, m_model->rowCount());
    if (rows < 1)
        return;
    const QItemSelection range(m_model->index(0, 0), m_model->index(rows - 1, m_model->columnCount() - 1));
    m_grid->selectionModel()->select(range, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

// Pasted shop addresses go into the list one by one; 2.0 粘贴不关闭 keeps the window for the next.
void BatchPrintWindow::recognizeRecipients()
{
    AddressRecognitionWindow window(m_core, this);
    window.setBatchMode(true);
    connect(&window, &AddressRecognitionWindow::receiverForBatchList, this,
            [this](const refdata::TPersonKDD &person) {
                QString error;
                if (batch::BatchList(m_core.db()).add(batch::BatchList::rowOf(person), &error) == 0
                    && !error.isEmpty())
                    m_core.dialogs().info(QStringLiteral("添加失败！"));
                loadList();
            });
    window.exec();
}

void BatchPrintWindow::previewCurrent()
{
    if (m_model->rowCount() == 0)
        return;
    const std::optional<batch::WaybillSide> side = m_waybill.batchSide();
    if (!side) {
        m_core.dialogs().info(m_waybill.kind().noTemplateMessage);
        return;
    }
    const QModelIndex current = m_grid->currentIndex();
    const int row = current.isValid() ? current.row() : 0;
    const qint64 id = m_model->fieldValue(row, batch::BatchList::keyColumn()).toLongLong();
    const std::optional<batch::Receiver> receiver = batch::BatchList(m_core.db()).row(id);
    if (!receiver)
        m_core.dialogs().info(QStringLiteral("调用错误，找不到记录，编号=") + QString::number(id));
    m_waybill.showBatchBill(batch::billFor(*side, receiver, gridColumns()));
    // The filled bill is looked over in the waybill window.
    accept();
}

void BatchPrintWindow::deleteSelected()
{
    GridSelectedDelete(m_grid, batch::BatchList::table(), itemWord, QStringLiteral("int"),
                       batch::BatchList::keyColumn(), m_core.db(), m_core.dialogs());
    loadList();
}

void BatchPrintWindow::deleteListed()
{
    GridDeleteCurrentList(m_grid, m_core.db(), m_core.dialogs());
    loadList();
}

void BatchPrintWindow::clearAll()
{
    if (!m_core.dialogs().ask(QStringLiteral("提示：确认要【清空系统所有列表】的收件人吗？清除后流水ID后会重置，"
                                             "清除操作将无法恢复！"),
                              QStringLiteral("提示"), Dialogs::Icon::Question))
        return;
    batch::BatchList::clear(m_core.store());
    loadList();
}

void BatchPrintWindow::exportListed()
{
    if (m_exporter)
        m_exporter(m_grid, QStringLiteral("批量打印导出Excel"));
}

void BatchPrintWindow::goToRow(int row)
{
    if (row < 0 || row >= m_model->rowCount())
        return;
    m_grid->selectRow(row);
    m_grid->scrollTo(m_model->index(row, 0));
}

void BatchPrintWindow::gridMenu(const QPoint &pos)
{
    const int selected = int(selectedIds().size());
    const bool rows = m_model->rowCount() > 0;
    const QString count = selected > 0 ? QStringLiteral("(%1条)").arg(selected) : QString();
    QMenu menu(this);
    menu.addAction(QStringLiteral("【批量打印所有】列出条目"), this, &BatchPrintWindow::printListed)->setEnabled(rows);
    menu.addAction(QStringLiteral("【批量打印选中】条目") + count, this, &BatchPrintWindow::printSelected)
        ->setEnabled(selected > 0);
    menu.addAction(QStringLiteral("【预览】第1个"), this, &BatchPrintWindow::previewCurrent)->setEnabled(rows);
    menu.addSeparator();
    menu.addAction(QStringLiteral("【删除】选中条目") + count, this, &BatchPrintWindow::deleteSelected)
        ->setEnabled(selected > 0);
    menu.addAction(QStringLiteral("【删除】所有列出条目"), this, &BatchPrintWindow::deleteListed)->setEnabled(rows);
    menu.addAction(QStringLiteral("【清空】系统所有条目"), this, &BatchPrintWindow::clearAll);
    // The list keeps no print state yet, so there is nowhere to move a row to.
    QMenu *move = menu.addMenu(QStringLiteral("【移动到】.."));
    for (int tab = 1; tab < m_printState->count(); ++tab)
        move->addAction(m_printState->tabText(tab))->setEnabled(false);
    menu.addSeparator();
    menu.addAction(QStringLiteral("【记住】当前表格列宽"), this,
                   [this] { GridColsWidthSave(m_grid, windowName, m_core.settings(), m_core.dialogs()); });
    menu.addAction(QStringLiteral("【隐藏/显示】表格列"), this,
                   [this] { GridColsConfigration(m_grid, windowName, m_core.settings(), m_core.dialogs(), this); });
    menu.addAction(QStringLiteral("【刷新】"), this, &BatchPrintWindow::loadList);
    menu.exec(m_grid->viewport()->mapToGlobal(pos));
}

} // namespace moque::ui

namespace moque::ui {

void BatchPrintWindow::toggleFillPanel()
{
    if (m_fillPanel->isVisible()) {
        m_fillPanel->hide();
        return;
    }
    QStringList columns = gridColumns();
    columns.removeAll(batch::BatchList::keyColumn());
    if (columns.isEmpty()) {
        m_core.dialogs().info(QStringLiteral("列表为空，没法儿修改，加点批打收件人资料再试吧 :)"));
        return;
    }
    for (QString &column : columns)
        column.prepend(QLatin1Char('@'));
    m_fillTarget->clear();
    m_fillTarget->addItems(columns);
    m_fillTarget->setCurrentIndex(-1);
    for (QComboBox *part : std::as_const(m_fillParts)) {
        part->clear();
        part->addItems(columns);
        part->setEditText(QString());
    }
    m_fillParts[0]->addItems({QStringLiteral("光盘数:"), QStringLiteral("书刊数:")});
    m_fillParts[2]->addItems({QStringLiteral("个"), QStringLiteral("本")});
    m_fillPanel->show();
    showMaximized();
}

void BatchPrintWindow::fillTargetChosen()
{
    QStringList columns;
    for (int i = 0; i < m_fillTarget->count(); ++i)
        columns << m_fillTarget->itemText(i);
    QComboBox *first = m_fillParts[0];
    const QString typed = first->currentText();
    first->clear();
    first->addItems(batch::BatchList(m_core.db()).fillDictionaryValues(m_fillTarget->currentText()) + columns);
    first->setEditText(typed);
}

void BatchPrintWindow::applyFill()
{
    Dialogs &dialogs = m_core.dialogs();
    const QString target = m_fillTarget->currentText().remove(QLatin1Char('@'));
    if (target.isEmpty()) {
        dialogs.info(QStringLiteral("请选择要批量改写列~"));
        return;
    }
    QStringList parts;
    for (const QComboBox *part : std::as_const(m_fillParts))
        parts << part->currentText();
    const bool allEmpty = std::all_of(parts.cbegin(), parts.cend(), [](const QString &p) { return p.isEmpty(); });
    if (allEmpty
        && !dialogs.ask(QStringLiteral("你确信要置空所有的[") + target + QStringLiteral("]列吗？"),
                        QStringLiteral("提示"), Dialogs::Icon::Question))
        return;
    const int changed = batch::BatchList(m_core.db()).fillColumn(target, parts);
    loadList();
    if (changed > 0)
        dialogs.info(QString::number(changed) + QStringLiteral("条收件人的【") + target + QStringLiteral("】修改成功！"));
    else
        dialogs.info(QStringLiteral("没有修改任何记录或修改失败~"));
    m_fillPanel->hide();
}

// One address book entry a pick; it joins the default list as a recipient.
void BatchPrintWindow::pickFromAddressBook()
{
    const std::optional<refdata::TPerson> picked =
        AddressBookWindow::fetchOnePerson(m_core, QString(), QStringLiteral("从地址薄选取一些地址"), this);
    if (!picked)
        return;
    refdata::TPersonKDD person;
    person.setID(picked->ID());
    if (refdata::DAOPerson(m_core.db()).LoadPersonByID(person) != 1)
        return;
    person.setGroup(QString());
    QString error;
    if (batch::BatchList(m_core.db()).add(batch::BatchList::rowOf(person), &error) == 0 && !error.isEmpty())
        m_core.dialogs().info(QStringLiteral("添加失败！"));
    loadList();
}

void BatchPrintWindow::chooseDatePeriod(const QString &caption)
{
    const QDate today = QDate::currentDate();
    for (const DatePeriod &period : datePeriods) {
        if (caption != QString::fromUtf8(period.caption))
            continue;
        if (caption == otherDates)
            m_core.dialogs().info(QStringLiteral("请选择右侧限定的起始年月日~再点击【查询】按钮"));
        if (period.daysBack == monthStart)
            setDateRange(QDate(today.year(), today.month(), 1));
        else if (period.daysBack == yearStart)
            setDateRange(QDate(today.year(), 1, 1));
        else
            setDateRange(today.addDays(-period.daysBack));
        loadList();
        return;
    }
}

void BatchPrintWindow::setDateRange(const QDate &from)
{
    m_dateFrom->setDate(from);
    m_dateTo->setDate(QDate::currentDate());
}

} // namespace moque::ui
