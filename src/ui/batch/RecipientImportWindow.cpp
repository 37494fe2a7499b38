#include "batch/RecipientImportWindow.h"

#include "app/AppCore.h"
#include "batch/ImportColumnsWindow.h"
#include "batch/ImportLog.h"
#include "batch/RecipientImport.h"
#include "common/Dialogs.h"
#include "dialogs/CommandButton.h"
#include "grid/GridOperations.h"
#include "refdata/Person.h"
#include "settings/Options.h"
#include "sheets/SpreadsheetReader.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace moque::ui {

using batch::ImportTarget;
using batch::RecipientImport;
using batch::RecipientImportResult;
namespace item = batch::item;

namespace {

// From this many data rows on an import shows its progress.
constexpr int largeSheetRows = 500;

const QString caption = QStringLiteral("墨雀软件-收、发件人资料导入");
const QString orderIdOption = QStringLiteral("ckOrderIDOn");
const QString memberIdOption = QStringLiteral("ckMemeberIDOn");

struct MatchBox
{
    QString item;
    QString label;
    const char *name;
};

// The items both targets fill, in the order the window lays them out.
const QList<MatchBox> commonBoxes{
    {item::fullName, item::fullName, "cbFullName"}, {item::contact, item::contact, "cbContact"},
    {item::phone, item::phone, "cbPhone"},          {item::mobile, item::mobile, "cbMobile"},
    {item::country, item::country, "cbCountry"},    {item::province, item::province, "cbProvince"},
    {item::city, item::city, "cbCity"},             {item::town, item::town, "cbTown"},
    {item::zipCode, item::zipCode, "cbZipCode"},    {item::address, item::address, "cbAddress"},
    {item::bank, item::bank, "cbBank"},             {item::bankAccount, item::bankAccount, "cbBankAccount"},
    {item::remark, item::remark, "cbRemark"}};

const QList<MatchBox> batchBoxes{
    {item::group, item::group, "cbGroup"},
    {item::goods, item::goods, "cbGoods"},
    {item::destination, item::destination, "cbDestination"},
    {item::pieces, item::pieces, "cbPieces"},
    {item::weight, item::weight, "cbWeight"},
    {item::fee, item::fee, "cbFee"},
    {QStringLiteral("保价费"), QStringLiteral("保价费"), "cbInsuranceFee"},
    {QStringLiteral("保价金额"), QStringLiteral("保价金额"), "cbInsuredValue"},
    {QStringLiteral("加急费"), QStringLiteral("加急费"), "cbUrgentFee"},
    {QStringLiteral("运费"), QStringLiteral("运费"), "cbFreight"},
    {QStringLiteral("送货费"), QStringLiteral("送货费"), "cbDeliveryFee"},
    {QStringLiteral("体积"), QStringLiteral("体积"), "cbVolume"},
    {QStringLiteral("包装费"), QStringLiteral("包装费"), "cbPackingFee"},
    {QStringLiteral("代收金额"), QStringLiteral("代收金额"), "cbCollectAmount"},
    {QStringLiteral("手续费"), QStringLiteral("手续费"), "cbHandlingFee"},
    {QStringLiteral("其他费"), QStringLiteral("其他费"), "cbOtherFee"},
    {QStringLiteral("自定义3"), QStringLiteral("自定义3"), "cbCustom3"},
    {QStringLiteral("自定义4"), QStringLiteral("自定义4"), "cbCustom4"},
    {QStringLiteral("自定义5"), QStringLiteral("自定义5"), "cbCustom5"},
    {item::capital1, item::capital1, "cbCapital1"}};

const QString formatHelp = QStringLiteral(
    "Excel/csv格式要求:\r\r  1、Excel的第一行必须是标题（例如:姓名,电话什么的）;\r\r  "
    "2、Excel的第一行的标题不能含有空单元格，软件遇到空单元格就认为标题列结束;\r\r  3、Excel不能含有合并单元格。");

QCheckBox *checkBox(const QString &text, const char *name, bool on, QWidget *parent)
{
    auto *box = new QCheckBox(text, parent);
    box->setObjectName(QLatin1StringView(name));
    box->setChecked(on);
    return box;
}

} // namespace

RecipientImportWindow::RecipientImportWindow(app::AppCore &core, ImportTarget target, QWidget *parent)
    : QDialog(parent), m_core(core), m_target(target)
{
    setObjectName(QStringLiteral("frmImport"));
    setWindowTitle(caption);

    m_status = new QLabel(QStringLiteral("请选择Excel/CSV数据文件，第一行必须为列标题。"), this);
    m_status->setObjectName(QStringLiteral("lbStatus"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildFileArea());
    layout->addWidget(buildCommonMatches());
    layout->addWidget(buildTargetMatches());
    layout->addWidget(buildDuplicateArea());
    layout->addWidget(m_status);
    layout->addLayout(buildCommands());
    resize(860, 640);
    FormFaceLoad(this, m_core.settings());
}

QGroupBox *RecipientImportWindow::buildFileArea()
{
    auto *area = new QGroupBox(QStringLiteral("1、选择数据文件"), this);
    m_file = new QLineEdit(area);
    m_file->setObjectName(QStringLiteral("edtFile"));
    m_file->setReadOnly(true);
    QPushButton *browse = commandButton(QStringLiteral("【浏览Excel】"), QStringLiteral("btBrowse"), area);
    m_sheet = new QComboBox(area);
    m_sheet->setObjectName(QStringLiteral("cbSheet"));
    m_sheet->setMinimumWidth(160);
    // Ticked when the option is not "1": the program has no spreadsheet
    // application to start, the choice is kept for the data file's sake.
    auto *wpsFirst = checkBox(QStringLiteral("金山WPS Excel优先启动"), "ckWpsFirst",
                              m_core.options().getConfigByname(settings::option::excelFirst) != QLatin1String("1"), area);
    QPushButton *help = commandButton(QStringLiteral("对Excel、CSV的格式要求?"), QStringLiteral("btFormatHelp"), area);
    help->setFlat(true);
    auto *toBatch = new QRadioButton(QStringLiteral("导入Excel导入到批量打印收件人列表"), area);
    toBatch->setObjectName(QStringLiteral("rbToBatch"));
    auto *toBook = new QRadioButton(QStringLiteral("收发件人批量到地址薄"), area);
    toBook->setObjectName(QStringLiteral("rbToBook"));
    (m_target == ImportTarget::BatchList ? toBatch : toBook)->setChecked(true);
    // Whoever opened the window chose the target.
    toBatch->setEnabled(false);
    toBook->setEnabled(false);

    auto *grid = new QGridLayout(area);
    grid->addWidget(new QLabel(QStringLiteral("数据文件："), area), 0, 0);
    grid->addWidget(m_file, 0, 1, 1, 3);
    grid->addWidget(browse, 0, 4);
    grid->addWidget(new QLabel(QStringLiteral("工作表："), area), 1, 0);
    grid->addWidget(m_sheet, 1, 1);
    grid->addWidget(wpsFirst, 1, 2);
    grid->addWidget(help, 1, 3, 1, 2, Qt::AlignRight);
    grid->addWidget(new QLabel(QStringLiteral("导入到："), area), 2, 0);
    grid->addWidget(toBatch, 2, 1, 1, 2);
    grid->addWidget(toBook, 2, 3, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    connect(browse, &QPushButton::clicked, this, &RecipientImportWindow::browse);
    connect(m_sheet, &QComboBox::activated, this, &RecipientImportWindow::loadSheet);
    connect(wpsFirst, &QCheckBox::toggled, this, [this](bool on) {
        m_core.options().setConfigByname(settings::option::excelFirst, on ? QStringLiteral("0") : QStringLiteral("1"));
    });
    // The text breaks its lines with carriage returns; a message box breaks them at line feeds.
    connect(help, &QPushButton::clicked, this,
            [this] { m_core.dialogs().info(QString(formatHelp).replace(QLatin1Char('\r'), QLatin1Char('\n'))); });
    return area;
}

QComboBox *RecipientImportWindow::addMatchBox(QGridLayout *grid, int index, int perRow, const QString &item,
                                              const QString &label, const char *name)
{
    auto *box = new QComboBox(grid->parentWidget());
    box->setObjectName(QLatin1StringView(name));
    box->setMinimumWidth(130);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(10);
    auto *caption = new QLabel(label + QLatin1Char(':'), grid->parentWidget());
    caption->setBuddy(box);
    const int row = index / perRow;
    const int column = (index % perRow) * 2;
    grid->addWidget(caption, row, column, Qt::AlignRight);
    grid->addWidget(box, row, column + 1);
    grid->setColumnStretch(column + 1, 1);
    m_boxes.insert(item, box);
    return box;
}

QGroupBox *RecipientImportWindow::buildCommonMatches()
{
    auto *area = new QGroupBox(QStringLiteral("2、匹配Excel列（可以手工改正）"), this);
    auto *grid = new QGridLayout(area);
    for (int i = 0; i < commonBoxes.size(); ++i)
        addMatchBox(grid, i, 4, commonBoxes.at(i).item, commonBoxes.at(i).label, commonBoxes.at(i).name);
    m_orderIdOn = checkBox(QStringLiteral("订单号追加到备注"), "ckOrderIDOn",
                           m_core.options().getConfigByname(orderIdOption) == QLatin1String("1"), area);
    m_memberIdOn = checkBox(QStringLiteral("会员ID追加到备注"), "ckMemeberIDOn",
                            m_core.options().getConfigByname(memberIdOption) == QLatin1String("1"), area);
    auto *remarks = new QHBoxLayout;
    remarks->addWidget(m_orderIdOn);
    remarks->addWidget(m_memberIdOn);
    remarks->addStretch(1);
    grid->addLayout(remarks, grid->rowCount(), 0, 1, 8);

    connect(m_orderIdOn, &QCheckBox::toggled, this, [this](bool on) {
        m_core.options().setConfigByname(orderIdOption, on ? QStringLiteral("1") : QStringLiteral("0"));
    });
    connect(m_memberIdOn, &QCheckBox::toggled, this, [this](bool on) {
        m_core.options().setConfigByname(memberIdOption, on ? QStringLiteral("1") : QStringLiteral("0"));
    });
    return area;
}

QGroupBox *RecipientImportWindow::buildTargetMatches()
{
    if (m_target == ImportTarget::BatchList) {
        auto *area = new QGroupBox(QStringLiteral("批量打印-专有项目"), this);
        area->setObjectName(QStringLiteral("gbBatchItems"));
        auto *grid = new QGridLayout(area);
        for (int i = 0; i < batchBoxes.size(); ++i)
            addMatchBox(grid, i, 4, batchBoxes.at(i).item, batchBoxes.at(i).label, batchBoxes.at(i).name);
        return area;
    }
    auto *area = new QGroupBox(QStringLiteral("地址薄-专有项目"), this);
    area->setObjectName(QStringLiteral("gbBookItems"));
    auto *grid = new QGridLayout(area);
    addMatchBox(grid, 0, 4, item::group, QStringLiteral("地址薄分组"), "cbGroup");
    addMatchBox(grid, 1, 4, item::inputCode, item::inputCode, "cbInputCode");
    m_partyType = new QComboBox(area);
    m_partyType->setObjectName(QStringLiteral("cbPartyType"));
    m_partyType->setMinimumWidth(130);
    m_partyTypeFixed = checkBox(QStringLiteral("固定"), "ckPartyTypeFixed", true, area);
    grid->addWidget(new QLabel(QStringLiteral("单位类型:"), area), 0, 4, Qt::AlignRight);
    grid->addWidget(m_partyType, 0, 5);
    grid->addWidget(m_partyTypeFixed, 0, 6);
    grid->setColumnStretch(5, 1);
    applyPartyTypeFixed();
    connect(m_partyTypeFixed, &QCheckBox::toggled, this, &RecipientImportWindow::applyPartyTypeFixed);
    return area;
}

QGroupBox *RecipientImportWindow::buildDuplicateArea()
{
    auto *area = new QGroupBox(QStringLiteral("3、导入选项"), this);
    const bool book = m_target == ImportTarget::AddressBook;
    // The batch list takes repeated recipients on purpose (several parcels to one person).
    m_checkDuplicates = checkBox(QStringLiteral("判断重复"), "ckCheckDuplicates", book, area);
    m_byFullName = checkBox(QStringLiteral("单位全称"), "ckByFullName", book, area);
    m_byContact = checkBox(QStringLiteral("联系人"), "ckByContact", book, area);
    m_byPhone = checkBox(QStringLiteral("联系电话"), "ckByPhone", book, area);
    m_askOnDuplicate = checkBox(QStringLiteral("发现重复记录弹出提示确认"), "ckAskOnDuplicate", false, area);
    m_showLog = checkBox(QStringLiteral("完成后自动弹出查看导入日志"), "ckShowLog", false, area);

    auto *grid = new QGridLayout(area);
    grid->addWidget(m_checkDuplicates, 0, 0);
    grid->addWidget(m_byFullName, 0, 1);
    grid->addWidget(m_byContact, 0, 2);
    grid->addWidget(m_byPhone, 0, 3);
    grid->addWidget(m_askOnDuplicate, 1, 0, 1, 2);
    grid->addWidget(m_showLog, 1, 2, 1, 2);
    grid->setColumnStretch(4, 1);

    connect(m_checkDuplicates, &QCheckBox::clicked, this, &RecipientImportWindow::setAllCriteria);
    return area;
}

QLayout *RecipientImportWindow::buildCommands()
{
    QPushButton *rules = commandButton(QStringLiteral("【列匹配规则】"), QStringLiteral("btColumnRules"), this);
    m_log = commandButton(QStringLiteral("查看日志(&L)"), QStringLiteral("btLog"), this);
    m_start = commandButton(QStringLiteral("4、【开始导入】(&M)"), QStringLiteral("btStart"), this);
    m_start->setEnabled(false);
    m_stop = commandButton(QStringLiteral("中止导入"), QStringLiteral("btStop"), this);
    m_stop->setEnabled(false);
    QPushButton *close = commandButton(QStringLiteral("关 闭"), QStringLiteral("btClose"), this);

    auto *commands = new QHBoxLayout;
    commands->addWidget(rules);
    commands->addWidget(m_log);
    commands->addStretch(1);
    commands->addWidget(m_start);
    commands->addWidget(m_stop);
    commands->addWidget(close);

    connect(rules, &QPushButton::clicked, this, &RecipientImportWindow::openAliasEditor);
    connect(m_log, &QPushButton::clicked, this, &RecipientImportWindow::openLog);
    connect(m_start, &QPushButton::clicked, this, &RecipientImportWindow::startImport);
    connect(m_stop, &QPushButton::clicked, this, [this] {
        m_stopRequested = true;
        m_stop->setEnabled(false);
        m_start->setEnabled(false);
    });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    return commands;
}

void RecipientImportWindow::setAllCriteria(bool on)
{
    for (QCheckBox *box : {m_byFullName, m_byContact, m_byPhone})
        box->setChecked(on);
}

void RecipientImportWindow::browse()
{
    const QString path = m_core.dialogs().openFileName(
        QStringLiteral("选择Excel数据文件"),
        QStringLiteral("Excel(*.xls *.xlsx *.csv *.xlw *.et);;Excel(*.xlsx);;Excel(*.xls);;Excel(*.csv);;WPS Excel(*.et)"));
    if (!path.isEmpty())
        openFile(path);
}

void RecipientImportWindow::openFile(const QString &path)
{
    m_log->setEnabled(false);
    m_file->setText(path);
    m_fileName = path;
    m_sheet->clear();
    m_rows.clear();
    m_titles.clear();
    fillBoxes();
    sheets::SpreadsheetReader reader;
    if (!reader.open(path)) {
        m_start->setEnabled(false);
        m_status->setText(QStringLiteral("验证数据文件失败,请重新选择有效的数据文件！"));
        m_core.dialogs().warning(QStringLiteral("EXCEL导入错误,") + reader.errorString(), caption);
        return;
    }
    m_sheetNames = reader.sheetNames();
    m_sheet->addItems(m_sheetNames);
    m_sheet->setCurrentIndex(0);
    loadSheet(0);
}

void RecipientImportWindow::loadSheet(int index)
{
    sheets::SpreadsheetReader reader;
    m_rows = reader.open(m_fileName) ? reader.readSheet(index) : QList<QStringList>{};
    m_titles.clear();
    if (reader.failure() != sheets::SpreadsheetReader::Failure::None) {
        fillBoxes();
        m_start->setEnabled(false);
        m_status->setText(QStringLiteral("验证数据文件失败,请重新选择有效的数据文件！"));
        m_core.dialogs().warning(QStringLiteral("EXCEL导入错误,") + reader.errorString(), caption);
        return;
    }
    m_titles = batch::readTitles(m_rows.value(0));
    fillBoxes();
    if (m_titles.isEmpty()) {
        m_start->setEnabled(false);
        m_status->setText(QStringLiteral("验证数据文件失败,请重新选择有效的数据文件！"));
        m_core.dialogs().warning(RecipientImport::noTitlesMessage(m_sheetNames.value(index)), caption);
        return;
    }
    matchAutomatically();
    applyPartyTypeFixed();
    m_status->setText(QStringLiteral("已读取 %1 个列标题，共有数据行：%2。请核对匹配后开始导入。")
                          .arg(m_titles.size())
                          .arg(std::max(0, int(m_rows.size()) - 1)));
    m_start->setEnabled(true);
}

void RecipientImportWindow::fillBoxes()
{
    for (QComboBox *box : std::as_const(m_boxes)) {
        box->clear();
        box->addItem(QString(), 0);
        for (const batch::SheetTitle &title : std::as_const(m_titles))
            box->addItem(title.entry(), title.column);
    }
    m_hiddenMatches.clear();
}

void RecipientImportWindow::selectColumn(QComboBox *box, int column)
{
    box->setCurrentIndex(std::max(0, box->findData(column)));
}

void RecipientImportWindow::matchAutomatically()
{
    const batch::ColumnMapping mapping = batch::autoMatch(
        m_titles, batch::MatchColumnStore(m_core.db()).aliasLists(), m_target, true);
    for (auto it = mapping.cbegin(); it != mapping.cend(); ++it) {
        if (QComboBox *box = m_boxes.value(it.key()))
            selectColumn(box, it.value());
        else
            m_hiddenMatches.insert(it.key(), it.value());
    }
}

void RecipientImportWindow::applyPartyTypeFixed()
{
    if (!m_partyType)
        return;
    m_partyType->clear();
    if (m_partyTypeFixed->isChecked()) {
        m_partyType->addItems({refdata::partyPartner, refdata::partyOwn});
        return;
    }
    m_partyType->addItem(QString(), 0);
    for (const batch::SheetTitle &title : std::as_const(m_titles))
        m_partyType->addItem(title.entry(), title.column);
    // The type column the aliases find once the boxes above took theirs.
    const batch::ColumnMapping mapping = batch::autoMatch(
        m_titles, batch::MatchColumnStore(m_core.db()).aliasLists(), m_target, false);
    selectColumn(m_partyType, mapping.value(item::partyType, 0));
}

batch::ColumnMapping RecipientImportWindow::currentMapping() const
{
    batch::ColumnMapping mapping = m_hiddenMatches;
    for (auto it = m_boxes.cbegin(); it != m_boxes.cend(); ++it) {
        const int column = it.value()->currentData().toInt();
        if (column > 0)
            mapping.insert(it.key(), column);
    }
    if (m_partyType && !m_partyTypeFixed->isChecked()) {
        const int column = m_partyType->currentData().toInt();
        if (column > 0)
            mapping.insert(item::partyType, column);
    }
    return mapping;
}

void RecipientImportWindow::startImport()
{
    batch::RecipientImportOptions options;
    options.target = m_target;
    options.duplicates = {m_byFullName->isChecked(), m_byContact->isChecked(), m_byPhone->isChecked()};
    options.askOnDuplicate = m_askOnDuplicate->isChecked();
    options.partyTypeFixed = !m_partyTypeFixed || m_partyTypeFixed->isChecked();
    if (m_partyType && options.partyTypeFixed)
        options.partyType = m_partyType->currentText();
    options.appendOrderId = m_orderIdOn->isChecked();
    options.appendMemberId = m_memberIdOn->isChecked();
    const batch::ColumnMapping mapping = currentMapping();

    m_stopRequested = false;
    m_stop->setEnabled(true);
    m_start->setEnabled(false);
    m_status->setText(QStringLiteral("正在验证数据文件有效性！"));

    // A large sheet shows its progress; 取消 asks, and a confirmed stop rolls
    // the whole import back.
    std::unique_ptr<QProgressDialog> progress;
    const auto showProgress = [this, &progress](int done, int total) {
        progress = std::make_unique<QProgressDialog>(QStringLiteral("正在导入收、发件人资料..."), QStringLiteral("取消"),
                                                     0, total, this);
        progress->setObjectName(QStringLiteral("progressImport"));
        progress->setWindowTitle(caption);
        progress->setWindowModality(Qt::WindowModal);
        progress->setMinimumDuration(0);
        progress->setAutoClose(false);
        progress->setAutoReset(false);
        progress->setValue(done);
    };
    const auto report = [&](int done, int total) {
        if (done == 0)
            m_status->setText(QStringLiteral("数据文件有效！共有数据行：%1").arg(total));
        if (total >= largeSheetRows) {
            if (!progress)
                showProgress(done, total);
            // A few hundred steps move the bar smoothly; more would only cost time.
            if (done == total || done % std::max(1, total / 200) == 0)
                progress->setValue(done);
            if (progress->wasCanceled())
                m_stopRequested = true;
        }
        if (!m_stopRequested)
            return true;
        m_stopRequested = false;
        if (m_core.dialogs().ask(QStringLiteral("需要中止导出操作吗？"), QStringLiteral("询问"), Dialogs::Icon::Question))
            return false;
        m_stop->setEnabled(true);
        // A cancelled bar stays cancelled: a fresh one goes on from here.
        if (progress && progress->wasCanceled())
            showProgress(done, total);
        return true;
    };

    RecipientImport import(m_core.db(), m_core.dialogs(), batch::ImportLog::pathIn(m_core.dir()));
    const RecipientImportResult result =
        import.importRows(m_rows, mapping, options, report, m_fileName, m_sheetNames.value(m_sheet->currentIndex()));
    progress.reset();
    m_stop->setEnabled(false);
    m_start->setEnabled(true);
    m_log->setEnabled(true);

    using Outcome = RecipientImportResult::Outcome;
    switch (result.outcome) {
    case Outcome::Declined:
        m_status->setText(QString());
        return;
    case Outcome::Rejected:
        m_status->setText(result.message);
        m_core.dialogs().info(result.message);
        if (result.message == RecipientImport::noKeyColumnMessage())
            m_boxes.value(item::fullName)->setFocus();
        return;
    case Outcome::Cancelled:
        m_status->setText(result.message);
        m_core.dialogs().info(result.message, QStringLiteral("导入结束"));
        return;
    case Outcome::Failed:
        m_status->setText(result.message);
        m_core.dialogs().error(result.message, caption);
        return;
    case Outcome::NoData:
        m_status->setText(result.message);
        m_core.dialogs().info(result.message);
        break;
    case Outcome::Imported:
        m_status->setText(result.message);
        if (m_showLog->isChecked())
            openLog();
        else
            m_core.dialogs().info(result.message, QStringLiteral("导入结束"));
        break;
    }
    if (result.stored > 0) {
        m_importedAny = true;
        Q_EMIT imported();
    }
    accept();
}

void RecipientImportWindow::openLog()
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(batch::ImportLog::pathIn(m_core.dir())));
}

void RecipientImportWindow::openAliasEditor()
{
    ImportColumnsWindow editor(m_core, this);
    editor.exec();
    // Changed aliases take effect on the titles read now.
    if (!m_titles.isEmpty()) {
        fillBoxes();
        matchAutomatically();
        applyPartyTypeFixed();
    }
}

void RecipientImportWindow::done(int result)
{
    FormFaceSave(this, m_core.settings());
    QDialog::done(result);
}

} // namespace moque::ui
