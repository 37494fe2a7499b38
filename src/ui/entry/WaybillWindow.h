#pragma once

#include "batch/BatchPrint.h"
#include "entry/EntryWindow.h"

class QCheckBox;
class QComboBox;
class QPlainTextEdit;

namespace moque::ui {

class BatchPrintWindow;

// The express waybill entry window (快递单): the shared entry window with the
// waybill's own aids: the sender and receiver, the destination that follows
// the city, the handset merged into the phone, the amount in words, the
// address font that shrinks for a second line, printing the date or one party
// only, and storing the receiver in the address book.
class WaybillWindow : public EntryWindow
{
    Q_OBJECT
public:
    explicit WaybillWindow(moque::app::AppCore &core, QWidget *parent = nullptr);

    static QString kindName();

    void setSender(const std::optional<refdata::TPerson> &person) { setParty(entry::BillField::Party::Own, person); }
    void setReceiver(const std::optional<refdata::TPerson> &person)
    {
        setParty(entry::BillField::Party::Partner, person);
    }
    std::optional<refdata::TPerson> senderPerson() const { return party(entry::BillField::Party::Own); }
    std::optional<refdata::TPerson> receiverPerson() const { return party(entry::BillField::Party::Partner); }

    // What every bill of a batch takes from this window: the template in use,
    // the controls as they show now and the options; none without a template.
    std::optional<batch::WaybillSide> batchSide() const;
    // The preview of a batch bill: its values that differ from the window's are written into the controls.
    void showBatchBill(const print::ValueSource &bill);

public Q_SLOTS:
    void saveReceiverToAddressBook();

Q_SIGNALS:
    // 地址串识别: the address text recognition hands its party to setReceiver/setSender.
    void addressRecognitionRequested();

protected:
    void addKindButtons() override;
    void addStripOptions(OptionStrip *strip) override;
    void connectKindAids() override;
    void applyTemplateAids() override;
    void fieldEvent(const entry::BillField &field, QWidget *control, QEvent *event) override;
    bool datePickerShown() const override;
    void printBatch() override;

private:
    void applyPrintDateOption();
    void applyOnePartyOption(entry::BillField::Party hidden, const QCheckBox *option);
    void convertAmount();
    void fitAddressFont(QPlainTextEdit *memo);
    void copyHandsetToPhone(entry::BillField::Party party, bool trimmed);

    QString m_amountFigure; // the last number typed into the amount in words
    QCheckBox *m_cfgDestSiteIsCity = nullptr;
    QCheckBox *m_cfgWantPrintRQ = nullptr;
    QComboBox *m_cfgJEDXFormat = nullptr;
    QCheckBox *m_ckHandset2Phone = nullptr;
    QCheckBox *m_ckPrintFJROnly = nullptr;
    QCheckBox *m_ckPrintSJROnly = nullptr;
    // Made on first use and kept, as the list's place and filters are.
    BatchPrintWindow *m_batchWindow = nullptr;
};

} // namespace moque::ui
