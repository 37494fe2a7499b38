#pragma once

#include "entry/InvoiceWindow.h"

#include <QRandomGenerator>

class QSpinBox;

namespace moque::refdata {
struct Good;
}

namespace moque::ui {

class GoodsPicker;

// The receipt and ordinary invoice window (普通发票收据): the invoice window
// with five charge lines filled from the goods catalogue, every amount spread
// over the form's digit boxes, the verification code, and the counterfoil
// that repeats the bill's fields.
class ReceiptWindow : public InvoiceWindow
{
    Q_OBJECT
public:
    explicit ReceiptWindow(moque::app::AppCore &core, QWidget *parent = nullptr);

    static QString kindName();

    // The issuing company and the customer; none leaves the party as it is.
    void setOurCompany(const std::optional<refdata::TPerson> &person);
    void setCustomer(const std::optional<refdata::TPerson> &person);

    GoodsPicker *goodsPicker() const { return m_goods; }

public Q_SLOTS:
    // 存收款人: the customer's name goes into the address book.
    void saveCustomerToAddressBook();
    // A new verification code (`zdCodeAutoDblClick`).
    void newVerificationCode();

protected:
    void addKindButtons() override;
    void buildKindAids() override;
    void addStripOptions(OptionStrip *strip) override;
    void connectKindAids() override;
    void applyTemplateAids() override;
    void fieldEvent(const entry::BillField &field, QWidget *control, QEvent *event) override;
    void readKindColumns(const QHash<QString, QString> &row) override;
    void newBillAids() override;
    bool lineCounted(int line) const override;
    void totalShown(const QString &shown) override;

private:
    void fillLine(const refdata::Good &good);
    void clearLine();
    void keepCounterfoil(const QString &source, const QString &copy);

    GoodsPicker *m_goods = nullptr;
    QRandomGenerator m_random{QRandomGenerator::securelySeeded()};
    QCheckBox *m_cfgAutoCodeBuild = nullptr;
    QSpinBox *m_cfgCodeLen = nullptr;
    QSpinBox *m_cfgCodeSpinWidth = nullptr;
    QComboBox *m_cfgCodeSeeds = nullptr;
};

} // namespace moque::ui
