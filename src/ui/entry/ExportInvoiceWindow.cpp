#include "entry/ExportInvoiceWindow.h"

#include "app/AppCore.h"
#include "common/Dialogs.h"
#include "entry/ExportInvoiceAids.h"
#include "entry/InvoiceControls.h"
#include "entry/InvoiceOptions.h"
#include "entry/NumberedFields.h"
#include "entry/OptionStrip.h"
#include "entry/ReceiptAids.h"
#include "refdata/Currencies.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QEvent>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

namespace moque::ui {

using entry::BillField;
using refdata::TPerson;
using Party = entry::BillField::Party;

namespace {

const QString kBuyer = QStringLiteral("zdGouHComp");
const QString kNumber = QStringLiteral("zdCheckNo");
const QString kForeign = QStringLiteral("zdWaiHJXX");
const QString kFob = QStringLiteral("zdFobWaiHJXX");



// The goods line of a numbered field such as zdPrice3, or 0.
int lineOf(const QString &name, const char *prefix)
{
    const int line = entry::numberOf(name, prefix);
    return line <= entry::kExportLines ? line : 0;
}

} // namespace

ExportInvoiceWindow::ExportInvoiceWindow(app::AppCore &core, QWidget *parent)
    : EntryWindow(core, entry::exportInvoiceKind(), parent)
{
    setUp();
}

QString ExportInvoiceWindow::kindName()
{
    return entry::exportInvoiceKind().name;
}

void ExportInvoiceWindow::setSender(const std::optional<TPerson> &person)
{
    if (person)
        setParty(Party::Own, person);
}

void ExportInvoiceWindow::setReceiver(const std::optional<TPerson> &person)
{
    if (person)
        setParty(Party::Partner, person);
}

void ExportInvoiceWindow::addStripOptions(OptionStrip *strip)
{
    const auto box = [strip](QCheckBox *&member, const char *name, const QString &caption, bool remembered) {
        member = new QCheckBox(caption);
        member->setObjectName(QString::fromLatin1(name));
        strip->addOption(member, remembered);
        if (remembered)
            OptionStrip::tickedUnlessStoredOff(member);
    };
    box(m_cfgNoPrtDate, "cfgNoPrtDate", QStringLiteral("不打印出票日期"), false);
    m_cfgNoPrtDate->setToolTip(QStringLiteral("如果一直不打印日期，可到设计模式中隐藏日期项目"));
    strip->addOption(new QLabel(QStringLiteral("日期格式：")), false);
    m_cfgDateFormat = new QComboBox;
    m_cfgDateFormat->setObjectName(QStringLiteral("cfgDateFormat"));
    m_cfgDateFormat->addItems(entry::invoiceDateFormats());
    m_cfgDateFormat->setCurrentText(entry::defaultDateFormat());
    strip->addOption(m_cfgDateFormat, true);
    box(m_cfgJEDXWithMoneyName, "cfgJEDXWithMoneyName", QStringLiteral("大写前置币种"), true);
    m_cfgJEDXWithMoneyName->setToolTip(QStringLiteral("大写金额前附带币种名"));
    box(m_cfgRMBJEDXWithRMB, "cfgRMBJEDXWithRMB", QStringLiteral("人民币大写带\"人民币\""), true);
    box(m_cfgTotalJEWithSheep, "cfgTotalJEWithSheep", QStringLiteral("合计小写带币种"), true);
    strip->startRow();
    strip->addOption(new QLabel(QStringLiteral("外币币种:")), false);
    m_cfgMoneyType = new QComboBox;
    m_cfgMoneyType->setObjectName(QStringLiteral("cfgMoneyType"));
    const QStringList currencies = refdata::Currencies(core().db()).loadMoneyTypeList();
    m_cfgMoneyType->addItems(currencies);
    m_cfgMoneyType->setCurrentText(entry::exportStartCurrency(currencies));
    strip->addOption(m_cfgMoneyType, true);
    OptionStrip::rememberAs(m_cfgMoneyType, QStringLiteral("cfgDefaultMoney"));
    strip->addOption(new QLabel(QStringLiteral("汇率:")), false);
    m_edtHuiLv = new QLineEdit;
    m_edtHuiLv->setObjectName(QStringLiteral("edtHuiLv"));
    m_edtHuiLv->setToolTip(QStringLiteral("汇率格式(如: 100:670)"));
    strip->addOption(m_edtHuiLv, false);

    // Before the strip's own handler, which shows that the options are kept.
    connect(strip, &OptionStrip::rememberRequested, this, &ExportInvoiceWindow::rememberRate);
    for (QCheckBox *look : {m_cfgJEDXWithMoneyName, m_cfgRMBJEDXWithRMB, m_cfgTotalJEWithSheep})
        connect(look, &QCheckBox::toggled, this, &ExportInvoiceWindow::recomputeAll);
    connect(m_cfgNoPrtDate, &QCheckBox::toggled, this, &ExportInvoiceWindow::applyPrintDateOption);
    connect(m_cfgDateFormat, &QComboBox::currentTextChanged, this, [this] { EntryWindow::writeDateBoxes(); });
    connect(m_cfgMoneyType, &QComboBox::currentTextChanged, this, &ExportInvoiceWindow::currencyChosen);
    connect(m_edtHuiLv, &QLineEdit::textChanged, this, &ExportInvoiceWindow::rateTyped);
    connect(m_edtHuiLv, &QLineEdit::editingFinished, this, &ExportInvoiceWindow::rateConfirmed);
}

void ExportInvoiceWindow::connectKindAids()
{
    for (int line = 1; line <= entry::kExportLines; ++line)
        if (auto *quantity = qobject_cast<QLineEdit *>(control(entry::numbered("zdAmount", line))))
            quantity->setMaxLength(entry::kExportQuantityLength);
    if (auto *buyer = qobject_cast<QComboBox *>(control(kBuyer)))
        connect(buyer, &QComboBox::editTextChanged, this, &ExportInvoiceWindow::buyerNameChanged);
}

void ExportInvoiceWindow::applyTemplateAids()
{
    applyPrintDateOption();
    currencyChosen();
}

entry::ExportLook ExportInvoiceWindow::look() const
{
    entry::ExportLook look;
    look.totalWithCurrency = m_cfgTotalJEWithSheep->isChecked();
    look.capitalWithCurrencyName = m_cfgJEDXWithMoneyName->isChecked();
    look.rmbCapitalWithRmb = m_cfgRMBJEDXWithRMB->isChecked();
    look.currencyName = m_moneyName;
    look.currencyCode = m_moneyCode;
    return look;
}

bool ExportInvoiceWindow::computeLine(int line)
{
    const entry::ExportLine sum =
        entry::exportLineSum(text(entry::numbered("zdAmount", line)).trimmed(), text(entry::numbered("zdPrice", line)).trimmed());
    if (!sum.error.isEmpty()) {
        core().dialogs().info(sum.error);
        return false;
    }
    setText(entry::numbered("zdSum", line), sum.amount);
    return true;
}

void ExportInvoiceWindow::recomputeSales()
{
    QStringList messages;
    showSales(messages);
    showMessages(messages);
}

void ExportInvoiceWindow::recomputeFob()
{
    QStringList messages;
    showFob(messages);
    showMessages(messages);
}

void ExportInvoiceWindow::recomputeAll(bool quiet)
{
    QStringList messages;
    showSales(messages);
    showFob(messages);
    if (!quiet)
        showMessages(messages);
}

void ExportInvoiceWindow::showMessages(const QStringList &messages)
{
    QStringList shown;
    for (const QString &message : messages) {
        if (message.isEmpty() || shown.contains(message))
            continue;
        shown << message;
        core().dialogs().info(message);
    }
}

void ExportInvoiceWindow::showSales(QStringList &messages)
{
    QStringList sums;
    for (int line = 1; line <= entry::kExportLines; ++line)
        sums << text(entry::numbered("zdSum", line));
    const entry::ExportTotals totals = entry::exportTotals(sums, text(entry::control::rate), look());
    if (totals.badLine > 0) {
        messages << totals.message;
        const QString bad = entry::numbered("zdSum", totals.badLine);
        setText(bad, QString());
        if (QWidget *w = control(bad))
            w->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (totals.cleanedRate != text(entry::control::rate))
        setText(entry::control::rate, totals.cleanedRate);
    setText(kForeign, totals.foreign);
    setText(QStringLiteral("ZDWAIHJDX"), totals.foreignCapital);
    setText(QStringLiteral("zdRmbHJXX"), totals.rmb);
    setText(QStringLiteral("zdRmbHJDX"), totals.rmbCapital);
    messages << totals.rateMessage;
}

void ExportInvoiceWindow::showFob(QStringList &messages)
{
    QStringList values;
    for (int line = 1; line <= entry::kExportLines; ++line)
        values << text(entry::numbered("zdD2Price", line));
    const entry::FobTotals totals = entry::fobTotals(values, text(entry::control::rate), look());
    if (totals.badLine > 0) {
        messages << totals.message;
        const QString bad = entry::numbered("zdD2Price", totals.badLine);
        setText(bad, QString());
        if (QWidget *w = control(bad))
            w->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (!totals.cleanedRate.isEmpty() && totals.cleanedRate != text(entry::control::rate))
        setText(entry::control::rate, totals.cleanedRate);
    setText(kFob, totals.foreign);
    setText(QStringLiteral("zdFobRmbHJXX"), totals.rmb);
    messages << totals.rateMessage;
}

// A rate typed on the strip goes into the rate box once both numbers are
// there; what is wrong with it shows when the typing is done, not at every key.
void ExportInvoiceWindow::rateTyped()
{
    if (copyTypedRate())
        recomputeAll(true);
}

void ExportInvoiceWindow::rateConfirmed()
{
    // Leaving the box for the message box itself confirms nothing new.
    if (m_edtHuiLv->text() == m_confirmedRate)
        return;
    m_confirmedRate = m_edtHuiLv->text();
    recomputeAll();
}

bool ExportInvoiceWindow::copyTypedRate()
{
    const QString typed = m_edtHuiLv->text();
    if (typed == text(entry::control::rate))
        return false;
    const entry::TypedRate rate = entry::typedRate(typed);
    if (rate.text != typed) {
        const QSignalBlocker blocker(m_edtHuiLv);
        m_edtHuiLv->setText(rate.text);
    }
    if (!rate.complete || rate.text == text(entry::control::rate))
        return false;
    setText(entry::control::rate, rate.text);
    return true;
}

void ExportInvoiceWindow::currencyChosen()
{
    setCurrency(m_cfgMoneyType->currentText());
    recomputeAll();
}

// The currency with its code and the rate kept for it ("100:100" when none).
void ExportInvoiceWindow::setCurrency(const QString &name)
{
    m_moneyName = name.trimmed();
    m_moneyCode = refdata::Currencies(core().db()).getMoneyCodeByName(m_moneyName);
    {
        const QSignalBlocker blocker(m_cfgMoneyType);
        m_cfgMoneyType->setCurrentText(m_moneyName);
    }
    setText(QStringLiteral("zdWaiBiName"), m_moneyName);
    {
        const QSignalBlocker blocker(m_edtHuiLv);
        m_edtHuiLv->setText(entry::keptRate(core().options(), m_moneyName));
    }
    m_confirmedRate = m_edtHuiLv->text();
    copyTypedRate();
}

void ExportInvoiceWindow::rememberRate()
{
    const QString rate = m_edtHuiLv->text();
    if (rate.contains(u':') && !m_moneyName.isEmpty())
        core().options().setConfigByname(m_moneyName, rate);
}

// Every change of the buyer's name brings that entry's address, bank and phone.
void ExportInvoiceWindow::buyerNameChanged(const QString &name)
{
    if (state().isLoading())
        return;
    const std::optional<TPerson> entry = entry::lastEntryNamed(core().db(), name);
    if (!entry)
        return;
    for (const TPerson::Field role : {TPerson::Address, TPerson::BankAccount, TPerson::Bank, TPerson::Phone})
        setText(entry::partyControl(kind().fields, Party::Partner, role), entry->text(role));
}

void ExportInvoiceWindow::applyPrintDateOption()
{
    QStringList dates = entry::fieldNames(entry::dateBoxFields(kind().fields));
    dates << entry::control::dateLine;
    if (m_cfgNoPrtDate->isChecked()) {
        for (const QString &name : std::as_const(dates))
            if (QWidget *w = control(name))
                w->hide();
    } else {
        placeControls(dates);
        EntryWindow::writeDateBoxes();
    }
    layoutFixedParts();
}

bool ExportInvoiceWindow::datePickerShown() const
{
    return !m_cfgNoPrtDate->isChecked() && EntryWindow::datePickerShown();
}

void ExportInvoiceWindow::writeDateBoxes(const QDate &date)
{
    const entry::DateBoxes boxes = date.isValid() ? entry::receiptDateBoxes(date, false) : entry::DateBoxes{};
    for (const BillField &box : entry::dateBoxFields(kind().fields))
        setText(box.name, boxes.of(box.dateBox));
    const QString format = m_cfgDateFormat ? m_cfgDateFormat->currentText() : QString();
    setText(entry::control::dateLine,
            date.isValid() ? entry::billDateLine(QDateTime(date, QTime::currentTime()), format) : QString());
}

// Leaving a quantity or price computes its line and the totals; leaving a
// FOB value or the rate its totals. A message box taking the focus is no leaving.
void ExportInvoiceWindow::fieldEvent(const BillField &field, QWidget *, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        if (field.name == kForeign)
            recomputeSales();
        else if (field.name == kFob)
            recomputeFob();
        return;
    }
    if (event->type() != QEvent::FocusOut)
        return;
    const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
        return;
    int line = lineOf(field.name, "zdAmount");
    if (line == 0)
        line = lineOf(field.name, "zdPrice");
    if (line > 0) {
        if (computeLine(line))
            recomputeSales();
    } else if (lineOf(field.name, "zdD2Price")) {
        recomputeFob();
    } else if (field.name == entry::control::rate) {
        recomputeAll();
    }
}

bool ExportInvoiceWindow::saveRefused()
{
    if (text(kBuyer).trimmed().isEmpty()) {
        core().dialogs().info(QStringLiteral("购货单位不能为空"));
        return true;
    }
    if (text(kForeign).trimmed().isEmpty()) {
        core().dialogs().info(QStringLiteral("购货及金额项目必须填写才能保存~"));
        return true;
    }
    return false;
}

void ExportInvoiceWindow::addKindColumns(QHash<QString, QString> &row)
{
    row.insert(QStringLiteral("币种"), m_moneyName);
    row.insert(QStringLiteral("金额合计"), entry::withoutCurrencyPrefix(text(kForeign), m_moneyCode));
    row.insert(QStringLiteral("离岸价合计"), entry::withoutCurrencyPrefix(text(kFob), m_moneyCode));
}

// A registered number not filled in yet has its number in 发票编号 only. The
// invoice keeps the currency and the rate it was saved with.
void ExportInvoiceWindow::readKindColumns(const QHash<QString, QString> &row)
{
    if (text(kNumber).isEmpty())
        setText(kNumber, row.value(QStringLiteral("发票编号")));
    const QString currency = row.value(QStringLiteral("币种")).trimmed();
    setCurrency(currency.isEmpty() ? m_cfgMoneyType->currentText() : currency);
    const QString rate = entry::openedRate(row.value(QStringLiteral("当期汇率")), m_edtHuiLv->text());
    if (!rate.isEmpty()) {
        const QSignalBlocker blocker(m_edtHuiLv);
        m_edtHuiLv->setText(rate);
        m_confirmedRate = rate;
        setText(entry::control::rate, rate);
    }
    for (int line = 1; line <= entry::kExportLines; ++line)
        computeLine(line);
    recomputeAll();
}

} // namespace moque::ui
