#pragma once

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>

namespace moque {
class Dialogs;
}

namespace moque::entry {

class BillStore;

// The texts of one bill kind's entry window that its state rules show.
struct BillTexts
{
    QString kindName;             // "快递单": window captions
    QString newCaption;           // after 新建
    QString historyCaptionPrefix; // + 流水号 + ")" while a saved bill is viewed
    QString insertedMessage;      // after saving a new bill
    QString updatedMessage;       // after saving over a saved bill
    QString closeQuestion;        // asked on closing an unsaved bill
    QString closeTitle;
    QString historicSaveMessage;   // 保存 on a viewed historic bill
    QString fillableCaptionPrefix; // + 流水号 + ")" while a registered number is filled in

    // Rules of the kinds that differ from the waybill's; the defaults are the waybill's.
    // 保存 writes in every state: no "没有改动"/"已经保存过了", and a historic
    // bill goes straight to the question whether to save it as a new one.
    bool savesUnchanged = false;
    // The caption after a save: this + 流水号; empty: kind(template)-ID=流水号.
    QString savedCaptionPrefix{};
    // 复制 of a saved bill: the caption when kind-template ID=-1 does not
    // contain "复制"; empty keeps that caption.
    QString copiedCaption = QStringLiteral("已复制保存过的单据为一张新单~");
    // Shown after 复制 of a saved bill while save messages are on; empty: none.
    QString copiedMessage{};
    // 复制 of a never-saved bill.
    QString copyUnsavedMessage = QStringLiteral("未保存单据不需要复制即为一张新单！");
    // The copy messages show only while save messages are on (not in 打印并保存).
    bool copyMessagesFollowSaveMsg = false;
    // 复制 disables itself until the next save.
    bool copyDisablesCopy = false;

    static BillTexts waybill();
    static BillTexts receipt();
    static BillTexts freightInvoice();
    static BillTexts exportInvoice();
};

// What the window must do after a button: nothing, show a message, or run the save.
struct Decision
{
    enum class Action { Nothing, ShowMessage, RunSave };
    Action action = Action::Nothing;
    QString message; // for ShowMessage, shown in a box titled "提示"

    // Shows the message when there is one.
    void showOn(Dialogs &dialogs) const;
};

// How a save goes on after its questions.
struct SavePlan
{
    bool proceed = false;         // false: the save stops, nothing is written
    bool resetDateToToday = false; // the user chose to correct the bill's date first
};

// The state of the bill shown by an entry window (CheckID, IsSaved,
// IsHistory, IsLoading, ShowSaveMsg) and the rules of its buttons. The window
// reads its controls, asks this object what to do and shows the result.
class BillState
{
public:
    explicit BillState(BillTexts texts = BillTexts::waybill());

    // 流水号 of the bill shown; -1 while it has never been saved.
    int checkId() const { return m_checkId; }
    bool isSaved() const { return m_isSaved; }
    bool isHistory() const { return m_isHistory; }
    bool isLoading() const { return m_isLoading; }
    bool showSaveMsg() const { return m_showSaveMsg; }
    // Whether 复制 (`btSaveAs`) is enabled.
    bool copyEnabled() const { return m_copyEnabled; }
    QString caption() const { return m_caption; }
    QString templateName() const { return m_templateName; }
    const BillTexts &texts() const { return m_texts; }

    // 打印并保存 saves without the success message.
    void setShowSaveMsg(bool show) { m_showSaveMsg = show; }

    // A template was chosen (even the same one again): the bill counts as
    // changed and the caption names the template.
    void templateChosen(const QString &displayName);
    // Any change of a control or of the date. A change while loading clears
    // IsSaved too; finishing the load sets it again.
    void valueChanged() { m_isSaved = false; }

    // 保存: refuses a viewed historic bill and an unchanged bill (unless the
    // kind saves unchanged bills), else asks for the save. Enables 复制 and
    // restores the success message then.
    Decision saveClicked();
    // 复制: a never-saved bill only gets a message; otherwise the bill becomes
    // a new unsaved one with every value kept (and the kind's copy message).
    Decision copyClicked();
    // 新建: a new unsaved bill; the window clears the kind's controls.
    void newBill();

    // Closing: whether the window asks to save (not saved and every key field
    // of the kind non-empty), and the question itself; true when the user
    // wants the bill saved.
    bool closeNeedsQuestion(const QStringList &keyValues) const;
    bool askSaveOnClose(Dialogs &dialogs, const QStringList &keyValues) const;

    // The questions before a save. A historic bill (reached from the close
    // prompt) may be saved as a new one, and then its date corrected to today;
    // an unchanged bill shows "已经保存过了！".
    SavePlan beginSave(Dialogs &dialogs, const QDate &billDate, const QDate &today);
    // Writes the row: an update when CheckID names an existing row, else an
    // insert whose 流水号 becomes CheckID. On success the bill is saved and the
    // success message shows (with ShowSaveMsg); on failure the engine's error
    // shows as "保存失败,错误信息：" + error and the state does not change.
    bool finishSave(BillStore &store, const QHash<QString, QString> &row, Dialogs &dialogs);

    // Opening a saved bill: CheckID := id and IsLoading while the controls
    // are filled; finishing makes it a viewed historic bill, or, for a
    // registered invoice number not used yet, a bill to fill in whose save
    // updates that row.
    void beginOpen(int id);
    void finishOpen(bool fillable = false);

    static QString openFailedMessage() { return QStringLiteral("调出历史数据失败！"); }

private:
    BillTexts m_texts;
    int m_checkId = -1;
    bool m_isSaved = false;
    bool m_isHistory = false;
    bool m_isLoading = false;
    bool m_showSaveMsg = true;
    bool m_copyEnabled = true;
    QString m_caption;
    QString m_templateName;
};

} // namespace moque::entry
