#pragma once

#include "batch/AddressRecognizer.h"
#include "batch/RemarkLists.h"
#include "refdata/Person.h"

#include <QDialog>
#include <QPointer>

class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStringListModel;
class QTabWidget;

namespace moque::app {
class AppCore;
}

namespace moque::ui {

class WaybillWindow;

// 收发件人资料识别: an address text from an online shop, pasted from the
// clipboard or typed, split into one drop-down box per part, each holding the
// candidates found, and handed to the waybill window as its receiver or
// sender, or to the batch print list (batch mode).
class AddressRecognitionWindow : public QDialog
{
    Q_OBJECT
public:
    explicit AddressRecognitionWindow(moque::app::AppCore &core, QWidget *parent = nullptr);

    // Waybill mode: 粘贴为收件人 / 粘贴为发件人 fill this window's parties.
    void setWaybillWindow(WaybillWindow *window);
    // Batch mode: every handover goes to the batch list and 粘贴不关闭 shows.
    void setBatchMode(bool batch);
    bool batchMode() const { return m_batchMode; }

    QString inputText() const;
    void setInputText(const QString &text);

    // The party the boxes describe, as the handover passes it on.
    refdata::TPersonKDD person() const;

public Q_SLOTS:
    // 1.1 粘贴剪切板并识别 (also on opening).
    void pasteAndRecognize();
    // 1.2 只识别以上内容>>
    void recognize();

Q_SIGNALS:
    // Batch mode handover: the batch list stores the party and lists again.
    void receiverForBatchList(const moque::refdata::TPersonKDD &person);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Handover { NoClose, Sender, Receiver };
    enum class Format { Taobao, Ebay, Paipai, Other };

    void buildInput();
    void buildBoxes();
    QWidget *buildRemarkLists();
    void showRemarkList(int tab);
    void saveRemark();
    void buildButtons();
    void readOptions();
    void chooseFormat(Format format);
    void fillSample();
    void applyAddressRule();
    void handOver(Handover target);
    void fillWaybillContents();
    Format format() const;

    moque::app::AppCore &m_core;
    batch::AddressRecognizer m_recognizer;
    QPointer<WaybillWindow> m_waybill;
    bool m_batchMode = false;

    QPlainTextEdit *m_input = nullptr;
    QList<QRadioButton *> m_formats;
    QLabel *m_note = nullptr;
    QComboBox *m_company = nullptr;
    QComboBox *m_name = nullptr;
    QComboBox *m_phone = nullptr;
    QComboBox *m_handset = nullptr;
    QComboBox *m_country = nullptr;
    QComboBox *m_province = nullptr;
    QComboBox *m_city = nullptr;
    QComboBox *m_town = nullptr;
    QComboBox *m_address = nullptr;
    QComboBox *m_zipcode = nullptr;
    QPlainTextEdit *m_remark = nullptr;
    QTabWidget *m_remarkTabs = nullptr;
    // One list per tab, in tab order, each read once when first shown.
    QList<QStringListModel *> m_remarkLists;
    QList<bool> m_remarkListRead;
    QCheckBox *m_containDivisions = nullptr;
    QCheckBox *m_remarkToRemark = nullptr;
    QCheckBox *m_remarkToGoods = nullptr;
    QPushButton *m_pasteNoClose = nullptr;
};

} // namespace moque::ui
