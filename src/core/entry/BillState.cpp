#include "entry/BillState.h"

#include "common/Dialogs.h"
#include "entry/BillStore.h"

#include <algorithm>

namespace moque::entry {

BillTexts BillTexts::waybill()
{
    return {QStringLiteral("快递单"),
            QStringLiteral("新快递单-ID=-1"),
            QStringLiteral("历史快递单查看（流水号为："),
            QStringLiteral("新快递单保存成功！ "),
            QStringLiteral("快递单修改保存成功（要修改成新快递单请先点击【复制】按钮）！ "),
            QStringLiteral("是否保存该快递单？"),
            QStringLiteral("关闭快递单"),
            QStringLiteral("历史单据不能保存，请点击【复制】后,再保存为新单据！"),
            QString()};
}

BillTexts BillTexts::receipt()
{
    return {QStringLiteral("普通发票收据"),
            QStringLiteral("新单据-ID=-1"),
            QStringLiteral("历史票据查看（流水号为："),
            QStringLiteral("新普通发票收据保存成功！ "),
            QStringLiteral("普通发票收据修改保存成功（要修改成新普通发票收据请先点击【复制】按钮）！ "),
            QStringLiteral("是否保存该普通发票收据？"),
            QStringLiteral("关闭票据"),
            QStringLiteral("历史单据不能保存，请点击[复制]按钮后,再保存为新单据！"),
            QStringLiteral("普通发票收据（流水号为：")};
}

BillTexts BillTexts::freightInvoice()
{
    return {QStringLiteral("国际货运发票"),
            QStringLiteral("新单据-ID=-1"),
            QStringLiteral("历史票据查看（流水号为："),
            QStringLiteral("新国际货运发票保存成功！ "),
            QStringLiteral("国际货运发票修改保存成功（要修改成新国际货运发票请先点击【复制】按钮）！ "),
            QStringLiteral("是否保存该国际货运发票？"),
            QStringLiteral("关闭票据"),
            QStringLiteral("历史单据不能保存，请点击[复制]按钮后,再保存为新单据！"),
            QStringLiteral("国际货运发票（流水号为：")};
}

BillTexts BillTexts::exportInvoice()
{
    const QString saved = QStringLiteral("【出口商品发票】填写保存成功！ ");
    BillTexts texts{QStringLiteral("出口商品发票"),
                    QStringLiteral("新出口商品发票-ID=-1"),
                    QStringLiteral("历史票据查看（流水号为："),
                    saved,
                    saved,
                    QStringLiteral("是否保存该单据？"),
                    QStringLiteral("关闭"),
                    QStringLiteral("历史单据不能保存，请点击[复制]按钮后,再保存为新单据！"),
                    QStringLiteral("出口商品发票（流水号为：")};
    texts.savesUnchanged = true;
    texts.savedCaptionPrefix = QStringLiteral("出口商品发票-单号：");
    texts.copiedCaption.clear();
    texts.copiedMessage = QStringLiteral("单据复制成功！");
    texts.copyUnsavedMessage = QStringLiteral("  未保存单据不需要复制！    ");
    texts.copyMessagesFollowSaveMsg = true;
    texts.copyDisablesCopy = true;
    return texts;
}

void Decision::showOn(Dialogs &dialogs) const
{
    if (action == Action::ShowMessage)
        dialogs.info(message);
}

BillState::BillState(BillTexts texts) : m_texts(std::move(texts)) {}

void BillState::templateChosen(const QString &displayName)
{
    m_templateName = displayName;
    m_isSaved = false;
    m_caption = m_texts.kindName + QStringLiteral("（") + displayName + QStringLiteral("）-ID=")
                + QString::number(m_checkId);
}

Decision BillState::saveClicked()
{
    if (m_isHistory && !m_texts.savesUnchanged)
        return {Decision::Action::ShowMessage, m_texts.historicSaveMessage};
    if (m_isSaved && !m_texts.savesUnchanged)
        return {Decision::Action::ShowMessage, QStringLiteral("没有改动,无需保存~")};
    // The window runs the save before using these; both only matter afterwards.
    m_copyEnabled = true;
    m_showSaveMsg = true;
    return {Decision::Action::RunSave, {}};
}

Decision BillState::copyClicked()
{
    const bool messages = m_showSaveMsg || !m_texts.copyMessagesFollowSaveMsg;
    if (m_checkId == -1) {
        if (!messages)
            return {};
        return {Decision::Action::ShowMessage, m_texts.copyUnsavedMessage};
    }
    m_isHistory = false;
    m_checkId = -1;
    m_isSaved = false;
    m_caption = m_texts.kindName + QLatin1Char('-') + m_templateName + QStringLiteral(" ID=")
                + QString::number(m_checkId);
    if (!m_texts.copiedCaption.isEmpty() && !m_caption.contains(QStringLiteral("复制")))
        m_caption = m_texts.copiedCaption;
    if (m_texts.copyDisablesCopy)
        m_copyEnabled = false;
    if (messages && !m_texts.copiedMessage.isEmpty())
        return {Decision::Action::ShowMessage, m_texts.copiedMessage};
    return {};
}

void BillState::newBill()
{
    m_checkId = -1;
    m_isSaved = false;
    m_isHistory = false;
    m_caption = m_texts.newCaption;
    m_copyEnabled = false;
}

bool BillState::closeNeedsQuestion(const QStringList &keyValues) const
{
    return !m_isSaved && std::none_of(keyValues.cbegin(), keyValues.cend(), [](const QString &v) { return v.isEmpty(); });
}

bool BillState::askSaveOnClose(Dialogs &dialogs, const QStringList &keyValues) const
{
    if (!closeNeedsQuestion(keyValues))
        return false;
    return dialogs.ask(m_texts.closeQuestion, m_texts.closeTitle, Dialogs::Icon::Question);
}

SavePlan BillState::beginSave(Dialogs &dialogs, const QDate &billDate, const QDate &today)
{
    SavePlan plan;
    const QString title = QStringLiteral("单据保存");
    if (m_isHistory) {
        if (!dialogs.ask(QStringLiteral("该单据来自历史单据，历史单据不能修改！\r另存为新单据吗？"), title,
                         Dialogs::Icon::Question))
            return plan;
        m_checkId = -1;
        if (billDate != today) {
            plan.resetDateToToday = dialogs.ask(QStringLiteral("票据的日期与当前日期不符！\r修正为当前日期吗？(修正后日期：")
                                                    + today.toString(Qt::ISODate) + QLatin1Char(')'),
                                                title, Dialogs::Icon::Question);
        }
        m_isSaved = false;
    }
    if (m_isSaved && !m_texts.savesUnchanged) {
        dialogs.info(QStringLiteral("已经保存过了！"));
        return plan;
    }
    plan.proceed = true;
    return plan;
}

bool BillState::finishSave(BillStore &store, const QHash<QString, QString> &row, Dialogs &dialogs)
{
    QString error;
    const bool edit = m_checkId > 0 && store.exists(m_checkId, &error);
    bool ok = false;
    int id = m_checkId;
    if (edit) {
        ok = store.update(m_checkId, row, &error);
    } else if (error.isEmpty()) {
        const std::optional<int> newId = store.insert(row, &error);
        ok = newId.has_value();
        if (ok)
            id = *newId;
    }
    if (!ok) {
        dialogs.message(QStringLiteral("保存失败,错误信息：") + error, QStringLiteral("提示"), Dialogs::Icon::Error);
        return false;
    }
    m_checkId = id;
    if (m_showSaveMsg) {
        dialogs.info(edit ? m_texts.updatedMessage : m_texts.insertedMessage);
        m_isHistory = false;
    }
    m_isSaved = true;
    m_caption = m_texts.savedCaptionPrefix.isEmpty()
                    ? m_texts.kindName + QLatin1Char('(') + m_templateName + QStringLiteral(")-ID=")
                          + QString::number(m_checkId)
                    : m_texts.savedCaptionPrefix + QString::number(m_checkId);
    return true;
}

void BillState::beginOpen(int id)
{
    m_checkId = id;
    m_isLoading = true;
}

void BillState::finishOpen(bool fillable)
{
    m_isLoading = false;
    m_isSaved = !fillable;
    m_isHistory = !fillable;
    m_caption = (fillable ? m_texts.fillableCaptionPrefix : m_texts.historyCaptionPrefix) + QString::number(m_checkId)
                + QLatin1Char(')');
    m_copyEnabled = true;
}

} // namespace moque::entry
