#pragma once

#include "entry/EntryWindow.h"
#include "entry/InvoiceAmounts.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace moque::ui {

// The export commodity invoice window (出口商品发票): a seller and a buyer,
// contract and shipping data, seven goods lines priced in a foreign
// currency, the totals in that currency and in yuan at the exchange rate,
// and the FOB value. The rate typed on the option strip is kept per currency.
class ExportInvoiceWindow : public EntryWindow
{
    Q_OBJECT
public:
    explicit ExportInvoiceWindow(moque::app::AppCore &core, QWidget *parent = nullptr);

    static QString kindName();

    // The seller and the buyer; none leaves the party as it is.
    void setSender(const std::optional<refdata::TPerson> &person);
    void setReceiver(const std::optional<refdata::TPerson> &person);

    // The bill's foreign currency and its code (`getMoneyCode`).
    QString moneyName() const { return m_moneyName; }
    QString moneyCode() const override { return m_moneyCode; }

public Q_SLOTS:
    // The foreign and RMB totals (`zdWaiHJXXClick`).
    void recomputeSales();
    // The FOB totals (`zdFobWaiHJXXClick`).
    void recomputeFob();

protected:
    void addStripOptions(OptionStrip *strip) override;
    void connectKindAids() override;
    void applyTemplateAids() override;
    void fieldEvent(const entry::BillField &field, QWidget *control, QEvent *event) override;
    bool datePickerShown() const override;
    void writeDateBoxes(const QDate &date) override;
    bool saveRefused() override;
    void addKindColumns(QHash<QString, QString> &row) override;
    void readKindColumns(const QHash<QString, QString> &row) override;

private:
    entry::ExportLook look() const;
    // A line's 销售额 from its quantity and price; false when they are no numbers.
    bool computeLine(int line);
    // Both totals, each rate message shown once unless quiet.
    void recomputeAll(bool quiet = false);
    void showSales(QStringList &messages);
    void showFob(QStringList &messages);
    void showMessages(const QStringList &messages);
    void rateTyped();
    // The typed rate is done: the totals show what is wrong with it.
    void rateConfirmed();
    // Copies a complete typed rate into the rate box; true when it did.
    bool copyTypedRate();
    void currencyChosen();
    void setCurrency(const QString &name);
    void rememberRate();
    void buyerNameChanged(const QString &name);
    void applyPrintDateOption();

    QString m_moneyName;
    QString m_moneyCode;
    QString m_confirmedRate;

    QCheckBox *m_cfgNoPrtDate = nullptr;
    QComboBox *m_cfgDateFormat = nullptr;
    QCheckBox *m_cfgJEDXWithMoneyName = nullptr;
    QCheckBox *m_cfgRMBJEDXWithRMB = nullptr;
    QCheckBox *m_cfgTotalJEWithSheep = nullptr;
    QComboBox *m_cfgMoneyType = nullptr;
    QLineEdit *m_edtHuiLv = nullptr;
};

} // namespace moque::ui
