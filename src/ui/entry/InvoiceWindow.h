#pragma once

#include "entry/EntryWindow.h"
#include "entry/InvoiceAmounts.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace moque::ui {

// What the receipt and the freight invoice share beyond every entry window:
// charge lines computed from quantity and price, line amounts typed over
// their display, the total in figures, digit boxes and capitals within the
// form's digit limit, the currency, and the date line in the chosen format.
class InvoiceWindow : public EntryWindow
{
    Q_OBJECT
public:
    // The bill's currency (`setMoneyName`): "人民币" when empty.
    void setMoneyName(const QString &name);
    QString moneyName() const { return m_moneyName; }
    QString moneyCode() const override;

protected:
    InvoiceWindow(moque::app::AppCore &core, const entry::BillKind &kind, int lines, entry::InvoiceForm form,
                  QWidget *parent = nullptr);

    int lineCount() const { return m_lines; }
    // The options shared by both kinds, on the strip's first two rows.
    void addAmountOptions(OptionStrip *strip);
    entry::AmountLook look() const;

    // A line from its quantity and price (`zdDJ1Exit`).
    void computeLine(int line);
    // A typed line amount formatted into its display and boxes (`zdJEXX1Exit`).
    void formatLine(int line);
    // The total of the counted lines (`SumAllJE`).
    QString sumAll();
    // The total with its display, boxes and capitals (`setJEXX`); `again`
    // reformats the same total after an option changed.
    void setTotal(const QString &text, bool again = false);
    void reformatAll();
    // Whether the lines make the total (their price or amount is shown).
    bool linesInUse() const;

    // Hooks of the entry window.
    void connectKindAids() override;
    void applyTemplateAids() override;
    void fieldEvent(const entry::BillField &field, QWidget *control, QEvent *event) override;
    bool datePickerShown() const override;
    void writeDateBoxes(const QDate &date) override;
    bool saveRefused() override;
    void addKindColumns(QHash<QString, QString> &row) override;
    void readKindColumns(const QHash<QString, QString> &row) override;
    void newBillAids() override;

    // A line counts towards the total only while the form shows it (receipt).
    virtual bool lineCounted(int line) const;
    // The total changed its display (the receipt copies it to the counterfoil).
    virtual void totalShown(const QString &shown) { Q_UNUSED(shown) }

private:
    // The line's display and boxes from its typed amount; false when that is no number.
    bool showLine(int line);
    void layOver(QLineEdit *edit, const QWidget *display);
    void endTotalInput();
    void applyPrintDateOption();
    void currencyChosen();

    entry::InvoiceForm m_form;
    int m_lines;
    QString m_moneyName = QStringLiteral("人民币");
    mutable QString m_moneyCode;
    mutable bool m_moneyCodeKnown = false;
    QString m_lastTotal;
    bool m_totalSet = false;

    QCheckBox *m_cfgWantPrintRQ = nullptr;
    QCheckBox *m_cfg2YearChar = nullptr;
    QComboBox *m_cfgDateFormat = nullptr;
    QComboBox *m_cfgJEDXFormat = nullptr;
    QCheckBox *m_cfgJEDXRMBChecked = nullptr;
    QCheckBox *m_cfgTotalJEWithSheep = nullptr;
    QCheckBox *m_cfgHJJEXXWithYuan = nullptr;
    QCheckBox *m_cfgJENeedSheep = nullptr;
    QCheckBox *m_cfgHJJENeedQianFF = nullptr;
    QCheckBox *m_cfgJEXXNeedQianFF = nullptr;
    QCheckBox *m_cfgJEDXYuan = nullptr;
    QCheckBox *m_cfgJEDXFormatNoStandard = nullptr;
    QComboBox *m_cfgMoneyType = nullptr;
};

} // namespace moque::ui
