#include "batch/AddressRecognitionWindow.h"

#include "app/AppCore.h"
#include "common/Dialogs.h"
#include "entry/BillFields.h"
#include "entry/WaybillWindow.h"
#include "settings/Options.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QStringListModel>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace moque::ui {

namespace {

const QString kCaption = QStringLiteral("墨雀软件-收发件人资料识别");
const QString kNoClipboardText = QStringLiteral("剪切板中没有复制地址内容~");
const QString kContactRequired = QStringLiteral(":),联系人不能为空，但未能识别出来，请手工调整或输入！");
const QString kOptionRemark = QStringLiteral("ckRemark");
const QString kOptionGoods = QStringLiteral("ckWPNR");
const QString kOptionContainDivisions = QStringLiteral("checkContainSS");
const QString kTicked = QStringLiteral("checked");
const QString kUnticked = QStringLiteral("no");
constexpr int kMaxRemarkLength = 60;
constexpr int kMaxContactPasteBytes = 65;
// A clipboard text shorter than this (in GBK bytes) holds no address.
constexpr int kMinClipboardBytes = 20;

// The length the GBK code page gives the text: a Chinese character counts 2.
int gbkBytes(const QString &text)
{
    int bytes = 0;
    for (const QChar c : text)
        bytes += c.unicode() < 0x80 ? 1 : 2;
    return bytes;
}

// The user's own substitutions (code list "其他字符") for the recognizer.
batch::AddressRecognizer::Substitutions loadSubstitutions(const QSqlDatabase &db)
{
    batch::AddressRecognizer::Substitutions subs;
    QSqlQuery q(db);
    q.prepare(QStringLiteral("select 一级代码,二级代码 from DMTable2 where 类型=?"));
    q.addBindValue(QStringLiteral("其他字符"));
    if (!q.exec())
        return subs;
    while (q.next()) {
        const QString from = q.value(0).toString();
        if (!from.isEmpty())
            subs.append({from, q.value(1).toString()});
    }
    return subs;
}

QComboBox *resultBox(const char *name, QWidget *parent)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(10);
    return box;
}

// The box offers the candidates, showing the chosen one.
void setCandidates(QComboBox *box, const QStringList &candidates, const QString &chosen)
{
    box->clear();
    box->addItems(candidates);
    const int index = int(candidates.indexOf(chosen));
    if (index >= 0)
        box->setCurrentIndex(index);
    else
        box->setEditText(chosen);
}

// Keeps a memo within its length, as the form's memos do.
void limitLength(QPlainTextEdit *memo, int maxLength)
{
    QObject::connect(memo, &QPlainTextEdit::textChanged, memo, [memo, maxLength] {
        const QString text = memo->toPlainText();
        if (text.size() <= maxLength)
            return;
        memo->setPlainText(text.left(maxLength));
        memo->moveCursor(QTextCursor::End);
    });
}

} // namespace

AddressRecognitionWindow::AddressRecognitionWindow(moque::app::AppCore &core, QWidget *parent)
    : QDialog(parent), m_core(core), m_recognizer(loadSubstitutions(core.db()))
{
    setObjectName(QStringLiteral("frmMatchAddr"));
    setWindowTitle(kCaption);
    auto *layout = new QVBoxLayout(this);
    layout->setSpacing(8);
    buildInput();
    buildBoxes();
    buildButtons();
    readOptions();
    chooseFormat(Format::Taobao);
    resize(760, 620);
}

void AddressRecognitionWindow::buildInput()
{
    auto *group = new QGroupBox(QStringLiteral("复制的地址内容（可直接输入）"), this);
    auto *grid = new QGridLayout(group);

    m_input = new QPlainTextEdit(group);
    m_input->setObjectName(QStringLiteral("memoFrom"));
    m_input->setMinimumHeight(120);
    limitLength(m_input, batch::AddressRecognizer::maxTextLength);
    grid->addWidget(m_input, 0, 0, 5, 1);

    const QList<QPair<Format, QString>> formats{{Format::Taobao, QStringLiteral("淘宝收货地址")},
                                                {Format::Ebay, QStringLiteral("易趣收货地址")},
                                                {Format::Paipai, QStringLiteral("拍拍收货地址")},
                                                {Format::Other, QStringLiteral("其他地址")}};
    const char *names[] = {"rbTaobao", "rbEbay", "rbPaipai", "rbOther"};
    auto *buttons = new QButtonGroup(group);
    for (int i = 0; i < formats.size(); ++i) {
        auto *radio = new QRadioButton(formats[i].second, group);
        radio->setObjectName(QLatin1String(names[i]));
        buttons->addButton(radio);
        m_formats.append(radio);
        grid->addWidget(radio, i, 1);
        const Format f = formats[i].first;
        connect(radio, &QRadioButton::clicked, this, [this, f] { chooseFormat(f); });
    }
    m_formats.first()->setChecked(true);
    auto *sample = new QPushButton(QStringLiteral("示例地址格式"), group);
    sample->setObjectName(QStringLiteral("btSample"));
    connect(sample, &QPushButton::clicked, this, &AddressRecognitionWindow::fillSample);
    grid->addWidget(sample, 4, 1);
    grid->setColumnStretch(0, 1);

    m_note = new QLabel(group);
    m_note->setObjectName(QStringLiteral("lbNote"));
    m_note->setWordWrap(true);
    grid->addWidget(m_note, 5, 0, 1, 2);

    auto *actions = new QHBoxLayout;
    auto *paste = new QPushButton(QStringLiteral("1.1 粘贴剪切板并识别"), group);
    paste->setObjectName(QStringLiteral("btPasteAndMatch"));
    connect(paste, &QPushButton::clicked, this, &AddressRecognitionWindow::pasteAndRecognize);
    auto *match = new QPushButton(QStringLiteral("1.2 只识别以上内容>>"), group);
    match->setObjectName(QStringLiteral("btMatch"));
    connect(match, &QPushButton::clicked, this, &AddressRecognitionWindow::recognize);
    actions->addWidget(paste);
    actions->addWidget(match);
    actions->addStretch();
    grid->addLayout(actions, 6, 0, 1, 2);

    static_cast<QVBoxLayout *>(layout())->addWidget(group, 1);
}

void AddressRecognitionWindow::buildBoxes()
{
    auto *group = new QGroupBox(QStringLiteral("识别结果（可下拉选择其他结果或手工修改）"), this);
    auto *grid = new QGridLayout(group);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(6);
    const auto label = [group](const QString &text) { return new QLabel(text, group); };

    m_company = resultBox("edtCompany", group);
    m_name = resultBox("edtName", group);
    m_phone = resultBox("edtPhone", group);
    m_handset = resultBox("edtHandset", group);
    m_country = resultBox("cbCountry", group);
    m_province = resultBox("edtProvince", group);
    m_city = resultBox("edtCity", group);
    m_town = resultBox("edtTown", group);
    m_address = resultBox("edtAddress", group);
    m_zipcode = resultBox("edtZipcode", group);

    m_name->lineEdit()->installEventFilter(this);

    auto *clearCompany = new QPushButton(QStringLiteral("清空单位内容"), group);
    clearCompany->setObjectName(QStringLiteral("btClearCompany"));
    connect(clearCompany, &QPushButton::clicked, this, [this] { setCandidates(m_company, {}, {}); });

    grid->addWidget(label(QStringLiteral("单位全称")), 0, 0);
    grid->addWidget(m_company, 0, 1, 1, 3);
    grid->addWidget(clearCompany, 0, 4);
    grid->addWidget(label(QStringLiteral("联系人")), 1, 0);
    grid->addWidget(m_name, 1, 1);
    grid->addWidget(label(QStringLiteral("国家")), 1, 2);
    grid->addWidget(m_country, 1, 3, 1, 2);
    grid->addWidget(label(QStringLiteral("电话")), 2, 0);
    grid->addWidget(m_phone, 2, 1);
    grid->addWidget(label(QStringLiteral("手机")), 2, 2);
    grid->addWidget(m_handset, 2, 3, 1, 2);
    grid->addWidget(label(QStringLiteral("省")), 3, 0);
    grid->addWidget(m_province, 3, 1);
    grid->addWidget(label(QStringLiteral("市/县")), 3, 2);
    grid->addWidget(m_city, 3, 3, 1, 2);
    grid->addWidget(label(QStringLiteral("镇/区")), 4, 0);
    grid->addWidget(m_town, 4, 1);
    grid->addWidget(label(QStringLiteral("邮编")), 4, 2);
    grid->addWidget(m_zipcode, 4, 3, 1, 2);

    m_containDivisions = new QCheckBox(QStringLiteral("含省市"), group);
    m_containDivisions->setObjectName(QStringLiteral("checkContainSS"));
    connect(m_containDivisions, &QCheckBox::clicked, this, &AddressRecognitionWindow::applyAddressRule);
    grid->addWidget(label(QStringLiteral("地址")), 5, 0);
    grid->addWidget(m_address, 5, 1, 1, 3);
    grid->addWidget(m_containDivisions, 5, 4);
    connect(m_address, &QComboBox::activated, this, &AddressRecognitionWindow::applyAddressRule);
    connect(m_address->lineEdit(), &QLineEdit::editingFinished, this, &AddressRecognitionWindow::applyAddressRule);

    m_remark = new QPlainTextEdit(group);
    m_remark->setObjectName(QStringLiteral("edtRemark"));
    m_remark->setFixedHeight(m_remark->fontMetrics().lineSpacing() * 3 + 12);
    limitLength(m_remark, kMaxRemarkLength);
    auto *saveRemark = new QPushButton(QStringLiteral("存为附注>>"), group);
    saveRemark->setObjectName(QStringLiteral("btSaveRemark"));
    connect(saveRemark, &QPushButton::clicked, this, &AddressRecognitionWindow::saveRemark);
    m_remarkToRemark = new QCheckBox(QStringLiteral("附注填充备注"), group);
    m_remarkToRemark->setObjectName(QStringLiteral("ckRemark"));
    m_remarkToGoods = new QCheckBox(QStringLiteral("附注填充物品"), group);
    m_remarkToGoods->setObjectName(QStringLiteral("ckWPNR"));
    auto *remarkOptions = new QVBoxLayout;
    remarkOptions->addWidget(m_remarkToRemark);
    remarkOptions->addWidget(m_remarkToGoods);
    remarkOptions->addWidget(saveRemark);
    remarkOptions->addStretch();
    grid->addWidget(label(QStringLiteral("附注内容")), 6, 0, Qt::AlignTop);
    grid->addWidget(m_remark, 6, 1, 1, 3);
    grid->addLayout(remarkOptions, 6, 4);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    auto *row = new QHBoxLayout;
    row->addWidget(group, 1);
    row->addWidget(buildRemarkLists());
    static_cast<QVBoxLayout *>(layout())->addLayout(row);
}

// Texts for 附注内容: a double-click copies one into the box.
QWidget *AddressRecognitionWindow::buildRemarkLists()
{
    m_remarkTabs = new QTabWidget(this);
    m_remarkTabs->setObjectName(QStringLiteral("tabRemarks"));
    const QList<QPair<QString, const char *>> tabs{{QStringLiteral("字典管理"), "lstRemarkDictionary"},
                                                   {QStringLiteral("历史物品"), "lstHistoryGoods"},
                                                   {QStringLiteral("历史备注"), "lstHistoryRemarks"}};
    for (const auto &[title, name] : tabs) {
        auto *model = new QStringListModel(this);
        auto *view = new QListView(m_remarkTabs);
        view->setObjectName(QLatin1String(name));
        view->setModel(model);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        connect(view, &QListView::doubleClicked, this,
                [this](const QModelIndex &index) { m_remark->setPlainText(index.data().toString()); });
        m_remarkTabs->addTab(view, title);
        m_remarkLists.append(model);
        m_remarkListRead.append(false);
    }
    m_remarkTabs->setMinimumWidth(180);
    connect(m_remarkTabs, &QTabWidget::currentChanged, this, &AddressRecognitionWindow::showRemarkList);
    showRemarkList(m_remarkTabs->currentIndex());
    return m_remarkTabs;
}

void AddressRecognitionWindow::showRemarkList(int tab)
{
    if (tab < 0 || tab >= m_remarkLists.size() || m_remarkListRead[tab])
        return;
    const auto source = std::array{batch::RemarkLists::Source::Dictionary, batch::RemarkLists::Source::HistoryGoods,
                                   batch::RemarkLists::Source::HistoryRemarks}[tab];
    m_remarkLists[tab]->setStringList(batch::RemarkLists(m_core.db()).load(source));
    m_remarkListRead[tab] = true;
}

// 存为附注>>: the remark joins the 附注内容 dictionary, which then lists it.
void AddressRecognitionWindow::saveRemark()
{
    const QString text = m_remark->toPlainText();
    batch::RemarkLists lists(m_core.db());
    const batch::RemarkLists::Saved saved = lists.save(text);
    switch (saved) {
    case batch::RemarkLists::Saved::Empty:
        m_core.dialogs().message(batch::RemarkLists::message(saved, text), kCaption, Dialogs::Icon::Warning);
        m_remark->setFocus();
        return;
    case batch::RemarkLists::Saved::Exists:
        m_core.dialogs().message(batch::RemarkLists::message(saved, text), kCaption, Dialogs::Icon::Information);
        return;
    case batch::RemarkLists::Saved::Added:
        m_core.dialogs().message(batch::RemarkLists::message(saved, text), kCaption, Dialogs::Icon::Information);
        m_remarkListRead[0] = false;
        showRemarkList(0);
        return;
    case batch::RemarkLists::Saved::Failed:
        m_core.dialogs().message(lists.lastError(), kCaption, Dialogs::Icon::Error);
        return;
    }
}

void AddressRecognitionWindow::buildButtons()
{
    auto *row = new QHBoxLayout;
    m_pasteNoClose = new QPushButton(QStringLiteral("2.0 粘贴不关闭"), this);
    m_pasteNoClose->setObjectName(QStringLiteral("btPasteNoClose"));
    m_pasteNoClose->hide();
    auto *sender = new QPushButton(QStringLiteral("2.1 粘贴为发件人"), this);
    sender->setObjectName(QStringLiteral("btPasteToFJR"));
    auto *receiver = new QPushButton(QStringLiteral("2.2 粘贴为收件人"), this);
    receiver->setObjectName(QStringLiteral("btPasteToSJR"));
    receiver->setDefault(true);
    auto *close = new QPushButton(QStringLiteral("关闭"), this);
    close->setObjectName(QStringLiteral("btClose"));
    connect(m_pasteNoClose, &QPushButton::clicked, this, [this] { handOver(Handover::NoClose); });
    connect(sender, &QPushButton::clicked, this, [this] { handOver(Handover::Sender); });
    connect(receiver, &QPushButton::clicked, this, [this] { handOver(Handover::Receiver); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    row->addWidget(m_pasteNoClose);
    row->addStretch();
    row->addWidget(sender);
    row->addWidget(receiver);
    row->addWidget(close);
    static_cast<QVBoxLayout *>(layout())->addLayout(row);
}

// Ctrl+V in the contact box takes a short clipboard text as the whole
// contact, on one line.
bool AddressRecognitionWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_name->lineEdit() && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->matches(QKeySequence::Paste)) {
        QClipboard *clipboard = QGuiApplication::clipboard();
        QString text = clipboard->text();
        if (gbkBytes(text) > kMaxContactPasteBytes)
            return false;
        text.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
        text = text.trimmed();
        clipboard->setText(text);
        m_name->setEditText(text);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

// The option boxes as the system options keep them; the two remark options
// are written back on every click.
void AddressRecognitionWindow::readOptions()
{
    const settings::Options options(m_core.db());
    m_remarkToRemark->setChecked(options.getConfigByname(kOptionRemark) != kUnticked);
    m_remarkToGoods->setChecked(options.getConfigByname(kOptionGoods) != kUnticked);
    m_containDivisions->setChecked(options.getConfigByname(kOptionContainDivisions) == kTicked);
    const auto keep = [this](QCheckBox *box, const QString &option) {
        connect(box, &QCheckBox::clicked, this, [this, option](bool ticked) {
            settings::Options(m_core.db()).setConfigByname(option, ticked ? kTicked : kUnticked);
        });
    };
    keep(m_remarkToRemark, kOptionRemark);
    keep(m_remarkToGoods, kOptionGoods);
}

void AddressRecognitionWindow::setWaybillWindow(WaybillWindow *window)
{
    m_waybill = window;
}

void AddressRecognitionWindow::setBatchMode(bool batch)
{
    m_batchMode = batch;
    m_pasteNoClose->setVisible(batch);
}

QString AddressRecognitionWindow::inputText() const
{
    return m_input->toPlainText();
}

void AddressRecognitionWindow::setInputText(const QString &text)
{
    m_input->setPlainText(text);
}

void AddressRecognitionWindow::pasteAndRecognize()
{
    const QString text = QGuiApplication::clipboard()->text();
    m_input->setPlainText(gbkBytes(text.trimmed()) < kMinClipboardBytes ? kNoClipboardText : text);
    recognize();
}

void AddressRecognitionWindow::recognize()
{
    const QString text = m_input->toPlainText();
    // The note that the clipboard held nothing is no address.
    const QString normalized = text == kNoClipboardText ? QString() : m_recognizer.normalize(text);
    if (!normalized.isEmpty() || text.trimmed().isEmpty())
        m_input->setPlainText(normalized);
    const auto layout =
        format() == Format::Paipai ? batch::AddressRecognizer::Layout::Paipai : batch::AddressRecognizer::Layout::Any;
    const batch::RecognizedAddress found =
        normalized.isEmpty() ? batch::RecognizedAddress{} : m_recognizer.recognize(text, layout);
    setCandidates(m_name, found.names, found.name);
    setCandidates(m_handset, found.mobiles, found.mobile);
    setCandidates(m_phone, found.phones, found.phone);
    setCandidates(m_zipcode, found.zipcodes, found.zipcode);
    setCandidates(m_province, found.provinces, found.province);
    setCandidates(m_city, found.cities, found.city);
    setCandidates(m_town, found.districts, found.district);
    setCandidates(m_address, found.addresses, found.address);
    setCandidates(m_country, found.countries, found.country);
    setCandidates(m_company, found.companies, found.company);
    applyAddressRule();
}

// With 含省市 the address begins with province, city and district; without,
// they stay in their own boxes only.
void AddressRecognitionWindow::applyAddressRule()
{
    QString address = m_address->currentText().trimmed();
    const qsizetype space = address.indexOf(QLatin1Char(' '));
    if (space >= 0)
        address.remove(space, 1);
    QStringList divisions{m_province->currentText().trimmed(), m_city->currentText().trimmed(),
                          m_town->currentText().trimmed()};
    if (m_containDivisions->isChecked()) {
        // A municipality is its own province and city: "北京" + "北京市" is written once.
        QString front;
        QString last;
        for (const QString &division : divisions) {
            if (division.isEmpty() || (front + address).contains(division))
                continue;
            if (!last.isEmpty() && division.startsWith(last))
                front.chop(last.size());
            front += division;
            last = division;
        }
        address = front + address;
    } else {
        // The longest first, so that "北京市" goes whole before "北京" could split it.
        std::stable_sort(divisions.begin(), divisions.end(),
                         [](const QString &a, const QString &b) { return a.size() > b.size(); });
        for (const QString &division : divisions) {
            if (division.isEmpty())
                continue;
            const qsizetype at = address.indexOf(division);
            if (at >= 0)
                address = address.remove(at, division.size()).trimmed();
            while (address.startsWith(QLatin1Char(',')))
                address = address.mid(1).trimmed();
        }
    }
    if (address != m_address->currentText())
        m_address->setEditText(address);
}

refdata::TPersonKDD AddressRecognitionWindow::person() const
{
    refdata::TPersonKDD p;
    p.reset();
    p.setFullName(m_company->currentText().trimmed());
    p.setContact(m_name->currentText().trimmed());
    p.setPhone(m_phone->currentText().trimmed());
    p.setMobile(m_handset->currentText().trimmed());
    p.setZipCode(m_zipcode->currentText().trimmed());
    p.setCountry(m_country->currentText().trimmed());
    p.setProvince(m_province->currentText().trimmed());
    p.setCity(m_city->currentText().trimmed());
    p.setAddress(m_address->currentText().trimmed());
    p.setTown(m_town->currentText().trimmed());
    p.setGoodsDescription(m_remark->toPlainText().trimmed());
    p.setDestination(p.city());
    return p;
}

void AddressRecognitionWindow::handOver(Handover target)
{
    if (m_name->currentText().trimmed().isEmpty()) {
        m_core.dialogs().message(kContactRequired, kCaption, Dialogs::Icon::Warning);
        m_name->setFocus();
        return;
    }
    const refdata::TPersonKDD party = person();
    if (m_batchMode) {
        Q_EMIT receiverForBatchList(party);
        if (target != Handover::NoClose)
            accept();
        return;
    }
    if (!m_waybill)
        return;
    // Shop texts seldom name the country: the waybill keeps its own then.
    const bool sender = target == Handover::Sender;
    refdata::TPersonKDD handed = party;
    const QString countryField =
        entry::partyControl(m_waybill->kind().fields,
                            sender ? entry::BillField::Party::Own : entry::BillField::Party::Partner,
                            refdata::TPerson::Country);
    if (const auto *country = qobject_cast<const QLineEdit *>(m_waybill->control(countryField));
        country && handed.country().isEmpty())
        handed.setCountry(country->text());
    if (sender) {
        m_waybill->setSender(handed);
    } else {
        m_waybill->setReceiver(handed);
        fillWaybillContents();
    }
    accept();
}

// The remark also fills the waybill's goods and remark boxes, as ticked;
// an empty remark leaves what the waybill holds.
void AddressRecognitionWindow::fillWaybillContents()
{
    const QString remark = m_remark->toPlainText().trimmed();
    if (remark.isEmpty())
        return;
    const auto fill = [this, &remark](const QString &field) {
        if (auto *memo = qobject_cast<QPlainTextEdit *>(m_waybill->control(field)))
            memo->setPlainText(remark);
    };
    if (m_remarkToGoods->isChecked())
        fill(QStringLiteral("zdWPNR"));
    if (m_remarkToRemark->isChecked())
        fill(QStringLiteral("zdBz"));
}

AddressRecognitionWindow::Format AddressRecognitionWindow::format() const
{
    for (int i = 0; i < m_formats.size(); ++i)
        if (m_formats[i]->isChecked())
            return Format(i);
    return Format::Taobao;
}

// Each format has its own help note; choosing one recognises the text again.
void AddressRecognitionWindow::chooseFormat(Format format)
{
    switch (format) {
    case Format::Taobao:
        m_note->setText(QStringLiteral("  进入淘宝->已卖出的宝贝->鼠标移动到买主的名字：在提示框中点击【查看收货地址和留言】,"
                                       "复制弹出框里面的内容-粘贴过来。识别率并不能保证100%，请稍加核对~"));
        break;
    case Format::Ebay:
        m_note->setText(QStringLiteral("  暂时不支持特别对待易趣的收货地址，请用其他地址匹配！"));
        return;
    case Format::Paipai:
        m_note->setText(QStringLiteral("  进入拍拍->已产生的销售->全部卖出的交易->交易详情：复制收货信息，粘贴到上面的输入区"));
        break;
    case Format::Other:
        m_note->setText(QStringLiteral("  通用地址格式：姓名、电话、手机、省市区、详细地址和邮编，顺序不限，可分行或用逗号、空格隔开。"));
        break;
    }
    if (!m_input->toPlainText().trimmed().isEmpty())
        recognize();
}

// 示例地址格式: a made-up address written the way the chosen format writes it.
void AddressRecognitionWindow::fillSample()
{
    switch (format()) {
    case Format::Taobao:
        m_input->setPlainText(QStringLiteral("淘宝新格式（商城地址格式、发货管理地址格式也支持哦）:\n\n"
                                             "收货地址:张小明，0755-86001234，13800138000,广东省 深圳市 "
                                             "南山区科苑路15号科兴科学园A栋（518057）"));
        break;
    case Format::Paipai:
        m_input->setPlainText(QStringLiteral("张小明 广东省深圳市南山区 科苑路15号科兴科学园A栋(518057) "
                                             "13800138000 0755-86001234"));
        break;
    case Format::Ebay:
    case Format::Other:
        m_input->setPlainText(QStringLiteral("公司:墨雀科技有限公司\n姓名:张小明\n电话:0755-86001234\n"
                                             "手机:13800138000\n国家:中国\n省:广东省\n市:深圳市\n"
                                             "地址:南山区科苑路15号科兴科学园A栋\n邮编:518057"));
        break;
    }
    recognize();
}

} // namespace moque::ui
