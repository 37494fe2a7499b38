#include "entry/ReceiptWindow.h"

#include "app/AppCore.h"
#include "entry/GoodsPicker.h"
#include "entry/InvoiceControls.h"
#include "entry/InvoiceOptions.h"
#include "entry/NumberedFields.h"
#include "entry/OptionStrip.h"
#include "entry/ReceiptAids.h"
#include "refdata/AddressEntryDialog.h"
#include "refdata/DAOPerson.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QToolButton>

namespace moque::ui {

using entry::BillField;
using refdata::TPerson;
using Party = entry::BillField::Party;

namespace {

constexpr int kLines = 5;
const QString kCode = QStringLiteral("zdCodeAuto");


// The charge line of a 收费内容 box, or 0.
int chargeLine(const QString &name)
{
    const int line = entry::numberOf(name, "zdSFNR");
    return line <= kLines ? line : 0;
}

} // namespace

ReceiptWindow::ReceiptWindow(app::AppCore &core, QWidget *parent)
    : InvoiceWindow(core, entry::receiptKind(), kLines, entry::InvoiceForm::Receipt, parent)
{
    setUp();
}

QString ReceiptWindow::kindName()
{
    return entry::receiptKind().name;
}

void ReceiptWindow::setOurCompany(const std::optional<TPerson> &person)
{
    if (person)
        setParty(Party::Own, person);
}

void ReceiptWindow::setCustomer(const std::optional<TPerson> &person)
{
    if (person)
        setParty(Party::Partner, person);
}

void ReceiptWindow::addKindButtons()
{
    connect(addToolButton(QStringLiteral("btSaveSKRen"), QStringLiteral("存收款人")), &QToolButton::clicked, this,
            &ReceiptWindow::saveCustomerToAddressBook);
}

void ReceiptWindow::buildKindAids()
{
    m_goods = new GoodsPicker(core(), panel());
    connect(m_goods, &GoodsPicker::picked, this, &ReceiptWindow::fillLine);
    connect(m_goods, &GoodsPicker::clearRequested, this, &ReceiptWindow::clearLine);
}

void ReceiptWindow::addStripOptions(OptionStrip *strip)
{
    addAmountOptions(strip);
    strip->startRow();
    m_cfgAutoCodeBuild = new QCheckBox(QStringLiteral("验证码自动生成"));
    m_cfgAutoCodeBuild->setObjectName(QStringLiteral("cfgAutoCodeBuild"));
    strip->addOption(m_cfgAutoCodeBuild, true);
    if (entry::tickedUnlessStoredOff(m_cfgAutoCodeBuild->objectName()))
        OptionStrip::tickedUnlessStoredOff(m_cfgAutoCodeBuild);
    const auto spin = [strip](const char *name, const QString &label, int start, int most) {
        strip->addOption(new QLabel(label), false);
        auto *box = new QSpinBox;
        box->setObjectName(QString::fromLatin1(name));
        box->setRange(0, most);
        box->setValue(start);
        strip->addOption(box, true);
        return box;
    };
    m_cfgCodeLen = spin("cfgCodeLen", QStringLiteral("验证码位数:"), 20, entry::kMostCodeChars);
    m_cfgCodeSpinWidth = spin("cfgCodeSpinWidth", QStringLiteral("分割位数:"), 0, entry::kMostCodeChars);
    strip->addOption(new QLabel(QStringLiteral("验证码构成：")), false);
    m_cfgCodeSeeds = new QComboBox;
    m_cfgCodeSeeds->setObjectName(QStringLiteral("cfgCodeSeeds"));
    m_cfgCodeSeeds->setEditable(true);
    m_cfgCodeSeeds->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    m_cfgCodeSeeds->addItems(entry::invoiceCodeSeeds());
    m_cfgCodeSeeds->setCurrentText(entry::invoiceCodeSeeds().first());
    strip->addOption(m_cfgCodeSeeds, true);

    connect(m_cfgAutoCodeBuild, &QCheckBox::toggled, this, &ReceiptWindow::newVerificationCode);
    connect(m_cfgCodeLen, &QSpinBox::valueChanged, this, &ReceiptWindow::newVerificationCode);
    connect(m_cfgCodeSpinWidth, &QSpinBox::valueChanged, this, &ReceiptWindow::newVerificationCode);
    connect(m_cfgCodeSeeds, &QComboBox::currentTextChanged, this, &ReceiptWindow::newVerificationCode);
}

void ReceiptWindow::connectKindAids()
{
    InvoiceWindow::connectKindAids();
    for (int n = 1; n <= 3; ++n)
        keepCounterfoil(entry::numbered("zdDef", n), entry::numbered("cgDef", n));
    for (int line = 1; line <= kLines; ++line) {
        keepCounterfoil(entry::numbered("zdJE", line), entry::numbered("cgJE", line));
        keepCounterfoil(entry::numbered("zdSFNR", line), entry::numbered("cgSFNR", line));
        auto *charge = qobject_cast<QLineEdit *>(control(entry::numbered("zdSFNR", line)));
        connect(charge, &QLineEdit::textEdited, this, [this, charge](const QString &typed) {
            if (m_goods->isVisible() && m_goods->box() == charge)
                m_goods->filter(typed);
        });
    }
    keepCounterfoil(entry::control::customer, QStringLiteral("cgGKMC"));
    keepCounterfoil(QStringLiteral("SKRen"), QStringLiteral("cgSKRen"));
}

// The counterfoil box shows what its source shows, the customer's prompt aside.
void ReceiptWindow::keepCounterfoil(const QString &source, const QString &copy)
{
    const BillField *field = entry::findField(kind().fields, source);
    const auto follow = [this, field, copy](const QString &value) {
        setText(copy, field ? field->valueOf(value) : value);
    };
    QWidget *w = control(source);
    if (auto *edit = qobject_cast<QLineEdit *>(w))
        connect(edit, &QLineEdit::textChanged, this, follow);
    else if (auto *combo = qobject_cast<QComboBox *>(w))
        connect(combo, &QComboBox::editTextChanged, this, follow);
    follow(text(source));
}

void ReceiptWindow::applyTemplateAids()
{
    InvoiceWindow::applyTemplateAids();
    newVerificationCode();
}

void ReceiptWindow::newVerificationCode()
{
    if (!m_cfgCodeSeeds)
        return;
    setText(kCode, entry::verificationCode(m_cfgCodeLen->value(), m_cfgCodeSpinWidth->value(),
                                           m_cfgCodeSeeds->currentText(), m_random));
}

bool ReceiptWindow::lineCounted(int line) const
{
    const auto shown = [this](const QString &name) {
        const QWidget *w = control(name);
        return w && !w->isHidden();
    };
    return shown(entry::numbered("zdJE", line)) || shown(entry::numbered("zdY", line));
}

void ReceiptWindow::totalShown(const QString &shown)
{
    setText(QStringLiteral("cgHJJE"), shown);
}

void ReceiptWindow::fieldEvent(const BillField &field, QWidget *w, QEvent *event)
{
    InvoiceWindow::fieldEvent(field, w, event);
    const QEvent::Type type = event->type();
    if (type == QEvent::FocusIn || type == QEvent::MouseButtonPress) {
        if (chargeLine(field.name) > 0) {
            const QWidget *picture = control(QStringLiteral("bgImage"));
            m_goods->openBelow(w, picture ? picture->geometry().bottom() : panel()->height());
        } else if (type == QEvent::FocusIn) {
            m_goods->hide();
        }
    } else if (type == QEvent::MouseButtonDblClick
               && (field.name == kCode || field.name == QLatin1String("zdInBank")
                   || field.name == QLatin1String("zdInBankAcct"))) {
        newVerificationCode();
    }
}

void ReceiptWindow::fillLine(const refdata::Good &good)
{
    const int line = m_goods->box() ? chargeLine(m_goods->box()->objectName()) : 0;
    if (line == 0)
        return;
    setText(entry::numbered("zdSFNR", line), good.name);
    setText(entry::numbered("zdHuoHao", line), good.articleNo);
    setText(entry::numbered("zdGuiGe", line), good.model);
    setText(entry::numbered("zdDJ", line), good.price);
    setText(entry::numbered("zdDW", line), good.unit);
    const QString quantityBox = entry::numbered("zdSL", line);
    const QString quantity = text(quantityBox).trimmed();
    if (quantity.isEmpty() || quantity == QLatin1String("0"))
        setText(quantityBox, QStringLiteral("1"));
    if (QWidget *w = control(quantityBox); w && !w->isHidden())
        w->setFocus(Qt::OtherFocusReason);
    computeLine(line);
}

// [选空]: the line that opened the goods list is emptied.
void ReceiptWindow::clearLine()
{
    const int line = m_goods->box() ? chargeLine(m_goods->box()->objectName()) : 0;
    if (line == 0)
        return;
    for (const char *box : {"zdSFNR", "zdHuoHao", "zdGuiGe", "zdDJ", "zdDW", "zdSL"})
        setText(entry::numbered(box, line), QString());
    computeLine(line);
}

void ReceiptWindow::readKindColumns(const QHash<QString, QString> &row)
{
    const QString seller = row.value(QStringLiteral("销货方名称"));
    const std::optional<TPerson> company = refdata::DAOPerson(core().db()).FindPersonByFullName(seller);
    if (company)
        setOurCompany(company);
    else
        setText(QStringLiteral("zdInComp"), seller);
    InvoiceWindow::readKindColumns(row);
}

void ReceiptWindow::newBillAids()
{
    InvoiceWindow::newBillAids();
    setText(kCode, entry::verificationCode(m_cfgCodeLen->value(), 0, m_cfgCodeSeeds->currentText(), m_random));
}

void ReceiptWindow::saveCustomerToAddressBook()
{
    TPerson person;
    const BillField *name = entry::findField(kind().fields, entry::control::customer);
    person.setText(TPerson::FullName, name->valueOf(text(entry::control::customer)).trimmed());
    person.setText(TPerson::PartyType, refdata::partyPartner);
    AddressEntryDialog::savePersonToBook(core(), &person, this);
}

} // namespace moque::ui
