#pragma once

#include "entry/InvoiceWindow.h"

namespace moque::ui {

// The international freight invoice window (国际货运发票): the invoice
// window with six charge lines listed from the dictionaries, the payer picked
// as the customer and the user's company with its bank account as the payee.
class FreightInvoiceWindow : public InvoiceWindow
{
    Q_OBJECT
public:
    explicit FreightInvoiceWindow(moque::app::AppCore &core, QWidget *parent = nullptr);

    static QString kindName();

    // The payer and the payee; none leaves the party as it is.
    void setSender(const std::optional<refdata::TPerson> &person);
    void setReceiver(const std::optional<refdata::TPerson> &person);

public Q_SLOTS:
    // 存收款人: the payee's name goes into the address book.
    void savePayeeToAddressBook();

protected:
    void addKindButtons() override;
    void addStripOptions(OptionStrip *strip) override;
};

} // namespace moque::ui
