#include "entry/WaybillWindow.h"

#include "app/AppCore.h"
#include "batch/BatchPrintWindow.h"
#include "common/Dialogs.h"
#include "entry/Amounts.h"
#include "entry/OptionStrip.h"
#include "entry/WaybillAids.h"
#include "refdata/AddressEntryDialog.h"
#include "refdata/DAOPerson.h"
#include "templates/PrintItemStore.h"
#include "templates/TemplateCatalog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QToolButton>

namespace moque::ui {

using entry::BillField;
using refdata::TPerson;
using Party = entry::BillField::Party;

namespace {

// The amount typed in figures and shown in words as the option strip says.
const QString kAmountInWords = QStringLiteral("zdJEDX1");
const QString kDestination = QStringLiteral("cbDestSite");

const QStringList kJedxFormats{
    QStringLiteral("00000.00  限万位到分"),   QStringLiteral("00000.0   限万位到角"),
    QStringLiteral("00000     限万位无小数"), QStringLiteral("0000.00   限千位到分"),
    QStringLiteral("0000.0    限千位到角"),   QStringLiteral("0000      限千位无小数"),
    QStringLiteral("000.00    限百位到分"),   QStringLiteral("000.0     限百位到角"),
    QStringLiteral("000       限百位无小数"), QStringLiteral("000000.00 限十万位到分"),
    QStringLiteral("000000.0  限十万位到角"), QStringLiteral("000000    限十万位无小数"),
    QStringLiteral("打印小写金额"),           QStringLiteral("打印中国传统大写金额")};

QString partyField(Party party, TPerson::Field role)
{
    return entry::partyControl(entry::waybillKind().fields, party, role);
}

} // namespace

WaybillWindow::WaybillWindow(app::AppCore &core, QWidget *parent)
    : EntryWindow(core, entry::waybillKind(), parent)
{
    setUp();
}

QString WaybillWindow::kindName()
{
    return entry::waybillKind().name;
}

void WaybillWindow::addKindButtons()
{
    connect(addToolButton(QStringLiteral("btSaveSKRen"), QStringLiteral("存收件人")), &QToolButton::clicked, this,
            &WaybillWindow::saveReceiverToAddressBook);
    connect(addToolButton(QStringLiteral("btPaste"), QStringLiteral("地址串识别(&W)")), &QToolButton::clicked, this,
            &WaybillWindow::addressRecognitionRequested);
}

void WaybillWindow::addStripOptions(OptionStrip *strip)
{
    const auto box = [strip](const QString &name, const QString &caption, const QString &hint, bool remembered) {
        auto *b = new QCheckBox(caption);
        b->setObjectName(name);
        b->setToolTip(hint);
        strip->addOption(b, remembered);
        return b;
    };
    m_cfgDestSiteIsCity = box(QStringLiteral("cfgDestSiteIsCity"), QStringLiteral("目的站=城市"), {}, true);
    m_cfgWantPrintRQ = box(QStringLiteral("cfgWantPrintRQ"), QStringLiteral("打印日期"),
                           QStringLiteral("如果一直不打印日期，可到设计模式中隐藏日期项目"), true);
    strip->addOption(new QLabel(QStringLiteral("金额大写1格式:")), false);
    m_cfgJEDXFormat = new QComboBox;
    m_cfgJEDXFormat->setObjectName(QStringLiteral("cfgJEDXFormat"));
    m_cfgJEDXFormat->addItems(kJedxFormats);
    m_cfgJEDXFormat->setCurrentText(QStringLiteral("打印小写金额"));
    strip->addOption(m_cfgJEDXFormat, true);
    m_ckHandset2Phone = box(QStringLiteral("ckHandset2Phone"), QStringLiteral("合并手机到电话"),
                            QStringLiteral("当手机不可填写时才有效！"), false);
    m_ckPrintFJROnly = box(QStringLiteral("ckPrintFJROnly"), QStringLiteral("仅打印发件人"),
                           QStringLiteral("国家、省、市、地址、电话、联系人、签名、邮编、(始发站/目的站、快递帐号）"), false);
    m_ckPrintSJROnly = box(QStringLiteral("ckPrintSJROnly"), QStringLiteral("仅打印收件方"),
                           QStringLiteral("隐藏发件人信息"), false);

    connect(m_cfgDestSiteIsCity, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            setText(kDestination, entry::destinationWhenOptionOn(text(kDestination),
                                                                 text(partyField(Party::Partner, TPerson::City))));
    });
    connect(m_cfgWantPrintRQ, &QCheckBox::toggled, this, &WaybillWindow::applyPrintDateOption);
    connect(m_cfgJEDXFormat, &QComboBox::currentIndexChanged, this, &WaybillWindow::convertAmount);
    connect(m_ckHandset2Phone, &QCheckBox::toggled, this, [this](bool on) {
        const QString phone = partyField(Party::Partner, TPerson::Phone);
        setText(phone, entry::mergeHandset(text(phone), text(partyField(Party::Partner, TPerson::Mobile)), on));
    });
    connect(m_ckPrintFJROnly, &QCheckBox::toggled, this,
            [this] { applyOnePartyOption(Party::Partner, m_ckPrintFJROnly); });
    connect(m_ckPrintSJROnly, &QCheckBox::toggled, this, [this] { applyOnePartyOption(Party::Own, m_ckPrintSJROnly); });
}

void WaybillWindow::connectKindAids()
{
    connect(qobject_cast<QLineEdit *>(control(partyField(Party::Partner, TPerson::City))), &QLineEdit::textChanged,
            this, [this](const QString &city) {
                setText(kDestination, entry::destinationAfterCityChange(m_cfgDestSiteIsCity->isChecked(),
                                                                        text(kDestination), city));
            });
    for (const Party party : {Party::Own, Party::Partner})
        connect(qobject_cast<QLineEdit *>(control(partyField(party, TPerson::Mobile))), &QLineEdit::textChanged, this,
                [this, party] { copyHandsetToPhone(party, false); });
}

void WaybillWindow::applyTemplateAids()
{
    {
        const QSignalBlocker blocker(m_ckHandset2Phone);
        m_ckHandset2Phone->setChecked(false);
    }
    applyPrintDateOption();
    applyOnePartyOption(Party::Own, m_ckPrintSJROnly);
    for (const Party party : {Party::Own, Party::Partner})
        fitAddressFont(qobject_cast<QPlainTextEdit *>(control(partyField(party, TPerson::Address))));
}

bool WaybillWindow::datePickerShown() const
{
    return m_cfgWantPrintRQ->isChecked() && EntryWindow::datePickerShown();
}

void WaybillWindow::applyPrintDateOption()
{
    const QStringList dates = entry::fieldNames(entry::dateBoxFields(kind().fields));
    if (m_cfgWantPrintRQ->isChecked()) {
        placeControls(dates);
        writeDateBoxes();
    } else {
        for (const QString &name : dates)
            control(name)->hide();
    }
    layoutFixedParts();
}

// "仅打印发件人" hides the receiver's fields, "仅打印收件方" the sender's.
void WaybillWindow::applyOnePartyOption(Party hidden, const QCheckBox *option)
{
    const QStringList names = entry::fieldNames(entry::partyFields(kind().fields, hidden, false));
    if (option->isChecked()) {
        for (const QString &name : names)
            control(name)->hide();
    } else {
        placeControls(names);
    }
}

void WaybillWindow::fieldEvent(const BillField &field, QWidget *w, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        if (field.role == TPerson::Phone) {
            copyHandsetToPhone(field.party, true);
        } else if (field.name == kAmountInWords && !text(field.name).isEmpty() && !m_amountFigure.isEmpty()) {
            setText(field.name, m_amountFigure);
            static_cast<QLineEdit *>(w)->selectAll();
        }
    } else if (event->type() == QEvent::FocusOut && field.name == kAmountInWords) {
        m_amountFigure = text(field.name);
        w->setToolTip(m_amountFigure);
        convertAmount();
    } else if (event->type() == QEvent::KeyRelease && field.role == TPerson::Address) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Backspace || key == Qt::Key_Delete)
            fitAddressFont(static_cast<QPlainTextEdit *>(w));
    }
}

// With the handset box hidden, the handset goes into an empty phone box.
void WaybillWindow::copyHandsetToPhone(Party party, bool trimmed)
{
    const QString phone = partyField(party, TPerson::Phone);
    const QString handset = partyField(party, TPerson::Mobile);
    const QString current = trimmed ? text(phone).trimmed() : text(phone);
    if (current.isEmpty() && control(handset)->isHidden())
        setText(phone, text(handset));
}

void WaybillWindow::convertAmount()
{
    const QString figure = text(kAmountInWords);
    if (figure.trimmed().isEmpty())
        return;
    const entry::AmountText result = entry::waybillAmount(figure, m_cfgJEDXFormat->currentText());
    if (!result.ok()) {
        core().dialogs().info(result.error);
        return;
    }
    setText(kAmountInWords, result.text);
}

// A second address line gets a smaller font when the box is low.
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

std::optional<batch::WaybillSide> WaybillWindow::batchSide() const
{
    const std::optional<templates::TemplateRow> tpl =
        templates::TemplateCatalog(core().db(), core().dialogs(), core().store()).templateById(curTypeId());
    if (!tpl)
        return std::nullopt;
    batch::WaybillSide side;
    side.templateId = tpl->id;
    side.templateName = tpl->fullName;
    side.destinationIsCity = m_cfgDestSiteIsCity->isChecked();
    side.amountFormat = m_cfgJEDXFormat->currentText();
    // Whatever the print engine may ask for: the bill's fields, its option boxes and the template's items.
    const auto take = [&](const QString &name) {
        const print::FieldValue v = values().value(name);
        side.values.set(name, v.text, v.shown);
    };
    for (const BillField &f : kind().fields)
        if (!f.name.isEmpty())
            take(f.name);
    for (const QCheckBox *box : itemChecks())
        take(box->objectName());
    for (const templates::PrintItem &item : templates::PrintItemStore(core().db()).itemsOf(tpl->id).items())
        take(item.name);
    return side;
}

void WaybillWindow::showBatchBill(const print::ValueSource &bill)
{
    for (const BillField &f : kind().fields) {
        if (f.name.isEmpty() || !control(f.name))
            continue;
        const QString text = bill.value(f.name).text;
        if (text != values().value(f.name).text)
            setText(f.name, QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    }
}

void WaybillWindow::printBatch()
{
    if (!m_batchWindow)
        m_batchWindow = new BatchPrintWindow(core(), *this, this);
    m_batchWindow->exec();
}

void WaybillWindow::saveReceiverToAddressBook()
{
    TPerson person;
    for (const BillField &f : entry::partyFields(kind().fields, Party::Partner, true))
        person.setText(*f.role, f.valueOf(text(f.name)));
    person.setText(TPerson::PartyType, refdata::partyPartner);
    AddressEntryDialog::savePersonToBook(core(), &person, this);
}

} // namespace moque::ui
