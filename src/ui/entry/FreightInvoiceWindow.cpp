#include "entry/FreightInvoiceWindow.h"

#include "app/AppCore.h"
#include "refdata/AddressEntryDialog.h"

#include <QToolButton>

namespace moque::ui {

using refdata::TPerson;
using Party = entry::BillField::Party;

FreightInvoiceWindow::FreightInvoiceWindow(app::AppCore &core, QWidget *parent)
    : InvoiceWindow(core, entry::freightInvoiceKind(), 6, entry::InvoiceForm::Freight, parent)
{
    setUp();
}

QString FreightInvoiceWindow::kindName()
{
    return entry::freightInvoiceKind().name;
}

void FreightInvoiceWindow::setSender(const std::optional<TPerson> &person)
{
    if (person)
        setParty(Party::Partner, person);
}

void FreightInvoiceWindow::setReceiver(const std::optional<TPerson> &person)
{
    if (person)
        setParty(Party::Own, person);
}

void FreightInvoiceWindow::addKindButtons()
{
    connect(addToolButton(QStringLiteral("btSaveSKRen"), QStringLiteral("存收款人")), &QToolButton::clicked, this,
            &FreightInvoiceWindow::savePayeeToAddressBook);
}

void FreightInvoiceWindow::addStripOptions(OptionStrip *strip)
{
    addAmountOptions(strip);
}

void FreightInvoiceWindow::savePayeeToAddressBook()
{
    const QString name = text(entry::partyControl(kind().fields, Party::Own, TPerson::FullName)).trimmed();
    TPerson person;
    person.setText(TPerson::FullName, name == entry::customerPlaceholder() ? QString() : name);
    person.setText(TPerson::PartyType, refdata::partyOwn);
    AddressEntryDialog::savePersonToBook(core(), &person, this);
}

} // namespace moque::ui
