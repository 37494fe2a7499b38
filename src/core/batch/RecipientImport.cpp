#include "batch/RecipientImport.h"

#include "batch/ImportLog.h"
#include "common/Dialogs.h"
#include "refdata/Person.h"
#include "sheets/SpreadsheetReader.h"
#include "store/BoundQuery.h"

#include <QSet>
#include <QSqlQuery>

namespace moque::batch {

using Result = RecipientImportResult;
using store::execBound;

namespace {

// The store column of each batch list item, in the order they are written.
const QList<QPair<QString, QString>> kBatchColumns{
    {QStringLiteral("全称"), item::fullName},     {QStringLiteral("国家"), item::country},
    {QStringLiteral("省"), item::province},       {QStringLiteral("市"), item::city},
    {QStringLiteral("镇区"), item::town},         {QStringLiteral("地址"), item::address},
    {QStringLiteral("邮编"), item::zipCode},      {QStringLiteral("联系人"), item::contact},
    {QStringLiteral("电话"), item::phone},        {QStringLiteral("手机"), item::mobile},
    {QStringLiteral("批打分组"), item::group},    {QStringLiteral("目的站"), item::destination},
    {QStringLiteral("内件说明"), item::goods},    {QStringLiteral("重量"), item::weight},
    {QStringLiteral("件数"), item::pieces},       {QStringLiteral("费用"), item::fee},
    {QStringLiteral("备注"), item::remark},       {QStringLiteral("保价金额"), QStringLiteral("保价金额")},
    {QStringLiteral("保价费"), QStringLiteral("保价费")}, {QStringLiteral("体积"), QStringLiteral("体积")},
    {QStringLiteral("包装费"), QStringLiteral("包装费")}, {QStringLiteral("代收金额"), QStringLiteral("代收金额")},
    {QStringLiteral("手续费"), QStringLiteral("手续费")}, {QStringLiteral("运费"), QStringLiteral("运费")},
    {QStringLiteral("送货费"), QStringLiteral("送货费")}, {QStringLiteral("加急费"), QStringLiteral("加急费")},
    {QStringLiteral("其他费"), QStringLiteral("其他费")}, {QStringLiteral("自定义3"), QStringLiteral("自定义3")},
    {QStringLiteral("自定义4"), QStringLiteral("自定义4")}, {QStringLiteral("自定义5"), QStringLiteral("自定义5")},
    {QStringLiteral("金额大写1"), item::capital1}};

// The same for the address book; 单位类型 and 排序 are written apart.
const QList<QPair<QString, QString>> kBookColumns{
    {QStringLiteral("全称"), item::fullName},      {QStringLiteral("助记码"), item::inputCode},
    {QStringLiteral("国家"), item::country},       {QStringLiteral("省"), item::province},
    {QStringLiteral("市"), item::city},            {QStringLiteral("镇区"), item::town},
    {QStringLiteral("地址"), item::address},       {QStringLiteral("邮编"), item::zipCode},
    {QStringLiteral("联系人"), item::contact},     {QStringLiteral("电话"), item::phone},
    {QStringLiteral("手机"), item::mobile},        {QStringLiteral("开户行账号"), item::bankAccount},
    {QStringLiteral("开户银行"), item::bank},      {QStringLiteral("分组"), item::group},
    {QStringLiteral("扩展信息"), item::remark}};

QString tableOf(ImportTarget target)
{
    return target == ImportTarget::BatchList ? QStringLiteral("ReceiverList") : QStringLiteral("CKPersonalInfoTable");
}

// What makes two rows the same to the duplicate check. A text never typed
// counts as an empty one, so a stored entry without 全称 is still found by
// its contact.
QString keyOf(const DuplicateCriteria &c, const QString &fullName, const QString &contact, const QString &phone)
{
    QString key;
    if (c.fullName)
        key += fullName;
    key += QChar(0);
    if (c.contact)
        key += contact;
    key += QChar(0);
    if (c.phone)
        key += phone;
    return key;
}

// The first single quote goes: a spreadsheet's mark for a number kept as text.
QString withoutQuote(QString text)
{
    const qsizetype quote = text.indexOf(QLatin1Char('\''));
    if (quote >= 0)
        text.remove(quote, 1);
    return text;
}

// One data row read through the mapping; an unmatched item reads empty.
class RowReader
{
public:
    RowReader(const ColumnMapping &mapping, const RecipientImportOptions &options)
        : m_mapping(mapping), m_options(options)
    {
    }

    QHash<QString, QString> read(const QStringList &row) const
    {
        QHash<QString, QString> v;
        const auto cell = [&](const QString &name) {
            const int column = m_mapping.value(name, 0);
            // Stored as '' rather than NULL, so the duplicate check finds it again.
            return column > 0 ? row.value(column - 1).trimmed() : QStringLiteral("");
        };
        for (auto it = m_mapping.cbegin(); it != m_mapping.cend(); ++it)
            v.insert(it.key(), cell(it.key()));
        QString fullName = cell(item::fullName);
        const int memberColumn = m_mapping.value(item::memberId, 0);
        if (memberColumn > 0 && memberColumn == m_mapping.value(item::fullName, 0) && !fullName.isEmpty())
            fullName = (QStringLiteral(" 会员ID:") + fullName).trimmed();
        v.insert(item::fullName, fullName);
        v.insert(item::phone, withoutQuote(cell(item::phone)));
        v.insert(item::mobile, withoutQuote(cell(item::mobile)));
        QString remark = cell(item::remark);
        const QString order = cell(item::orderId);
        if (m_options.appendOrderId && !order.isEmpty())
            remark = (remark + QStringLiteral(" 订单号:") + order + QLatin1Char(';')).trimmed();
        const QString member = cell(item::memberId);
        if (m_options.appendMemberId && !member.isEmpty())
            remark = (remark + QStringLiteral("会员ID:") + member).trimmed();
        v.insert(item::remark, remark);
        if (m_options.target == ImportTarget::AddressBook)
            v.insert(item::partyType, partyType(cell(item::partyType)));
        return v;
    }

private:
    QString partyType(const QString &cellText) const
    {
        const QString chosen = m_options.partyTypeFixed ? m_options.partyType.trimmed() : cellText;
        return chosen == refdata::partyOwn ? refdata::partyOwn : refdata::partyPartner;
    }

    const ColumnMapping &m_mapping;
    const RecipientImportOptions &m_options;
};

QString summaryOf(const Result &result)
{
    QString text = QStringLiteral("导入结束，共有 %1 条导入成功！\r\n").arg(result.stored);
    if (result.skipped() > 0)
        text += QStringLiteral(" 其中跳过了 %1 条重复的或无效(单位、联系人、电话都为空)的记录！").arg(result.skipped());
    return text;
}

} // namespace

RecipientImportResult RecipientImport::importFile(const QString &path, int sheet, const RecipientImportOptions &options,
                                                  const RecipientImportProgress &progress)
{
    sheets::SpreadsheetReader reader;
    QList<QStringList> rows;
    QString sheetName;
    if (reader.open(path)) {
        sheetName = reader.sheetNames().value(sheet);
        rows = reader.readSheet(sheet);
    }
    if (reader.failure() != sheets::SpreadsheetReader::Failure::None) {
        ImportLog log(m_logPath);
        log.info(QStringLiteral("File"), QStringLiteral("数据文件来源:") + path);
        Result result;
        result.message = reader.errorString();
        log.info(QStringLiteral("Finish"), result.message);
        log.save();
        return result;
    }
    const ColumnMapping mapping =
        autoMatch(readTitles(rows.value(0)), MatchColumnStore(m_db).aliasLists(), options.target, options.partyTypeFixed);
    return importRows(rows, mapping, options, progress, path, sheetName);
}

RecipientImportResult RecipientImport::importRows(const QList<QStringList> &rows, const ColumnMapping &mapping,
                                                  const RecipientImportOptions &options,
                                                  const RecipientImportProgress &progress, const QString &fileName,
                                                  const QString &sheetName)
{
    Result result;
    ImportLog log(m_logPath);
    log.info(QStringLiteral("File"), QStringLiteral("数据文件来源:") + fileName);
    const auto finish = [&](Result::Outcome outcome, const QString &message) {
        result.outcome = outcome;
        result.message = message;
        log.info(QStringLiteral("Finish"), message);
        log.save();
        return result;
    };

    if (readTitles(rows.value(0)).isEmpty())
        return finish(Result::Outcome::Rejected, noTitlesMessage(sheetName));
    if (!options.duplicates.any() && options.confirmWithoutCriteria
        && !m_dialogs.ask(noCriteriaQuestion(), QStringLiteral("重复匹配确认"), Dialogs::Icon::Question))
        return finish(Result::Outcome::Declined, {});
    if (!mapping.contains(item::fullName) && !mapping.contains(item::contact) && !mapping.contains(item::address))
        return finish(Result::Outcome::Rejected, noKeyColumnMessage());

    result.total = int(rows.size()) - 1;
    log.info(QStringLiteral("Total"), QStringLiteral("本次任务数据共有：%1行").arg(result.total));
    if (result.total == 0)
        return finish(Result::Outcome::NoData, noDataMessage());

    const auto goOn = [&](int done) { return !progress || progress(done, result.total); };
    const auto abandon = [&](Result::Outcome outcome, const QString &message) {
        m_db.rollback();
        result.stored = 0;
        return finish(outcome, message);
    };
    if (!goOn(0))
        return finish(Result::Outcome::Cancelled, cancelledMessage());

    const bool book = options.target == ImportTarget::AddressBook;
    const auto &columns = book ? kBookColumns : kBatchColumns;
    QStringList names;
    for (const auto &column : columns)
        names << column.first;
    if (book)
        names << QStringLiteral("单位类型") << QStringLiteral("排序");
    const QString table = tableOf(options.target);
    const QString insert = QStringLiteral("insert into ") + table + QStringLiteral(" (") + names.join(QLatin1Char(','))
        + QStringLiteral(") values(") + QStringList(names.size(), QStringLiteral("?")).join(QLatin1Char(',')) + QLatin1Char(')');

    if (!m_db.transaction())
        return finish(Result::Outcome::Failed, QStringLiteral("意外导入错误,E=") + m_db.lastError().text());
    // The stored keys, read once: a query per row would scan the table each time.
    QSet<QString> keys;
    if (options.duplicates.any()) {
        QSqlQuery q(m_db);
        q.setForwardOnly(true);
        if (!execBound(q, QStringLiteral("select 全称,联系人,电话 from ") + table))
            return abandon(Result::Outcome::Failed, QStringLiteral("意外导入错误,E=") + q.lastError().text());
        while (q.next())
            keys.insert(keyOf(options.duplicates, q.value(0).toString(), q.value(1).toString(), q.value(2).toString()));
    }
    QSqlQuery q(m_db);
    if (!q.prepare(insert))
        return abandon(Result::Outcome::Failed, QStringLiteral("意外导入错误,E=") + q.lastError().text());

    const RowReader reader(mapping, options);
    for (int r = 1; r <= result.total; ++r) {
        const int sheetRow = r + 1;
        const QHash<QString, QString> v = reader.read(rows.at(r));
        const QString fullName = v.value(item::fullName);
        const QString contact = v.value(item::contact);
        const QString phone = v.value(item::phone);
        bool skip = false;
        if (fullName.isEmpty() && contact.isEmpty() && phone.isEmpty()) {
            log.log(sheetRow, QStringLiteral("无效行，联系人、电话、全称均为空！"));
            ++result.invalid;
            skip = true;
        }
        const QString key = keyOf(options.duplicates, fullName, contact, phone);
        if (!skip && options.duplicates.any() && keys.contains(key)) {
            skip = true;
            if (options.askOnDuplicate) {
                QString shown = QStringLiteral("单位\"") + fullName;
                if (options.duplicates.contact)
                    shown += QStringLiteral("(联系人:") + contact + QLatin1Char(')');
                shown += QStringLiteral("\"已经存在,是否跳过？点击\"是\"跳过,点击\"否\"继续添加！");
                skip = m_dialogs.ask(shown, QStringLiteral("记录已经存在"), Dialogs::Icon::Question);
            }
            if (skip) {
                ++result.duplicates;
                log.log(sheetRow, contact.isEmpty()
                                      ? QStringLiteral("无效行，地址：") + v.value(item::address)
                                      : QStringLiteral("重复，单位：") + fullName + QStringLiteral(",联系人：") + contact
                                            + QStringLiteral(",电话：") + phone);
            }
        }
        if (!skip) {
            int i = 0;
            for (const auto &column : columns)
                q.bindValue(i++, v.value(column.second, QStringLiteral("")));
            if (book) {
                q.bindValue(i++, v.value(item::partyType));
                q.bindValue(i++, 0);
            }
            if (!q.exec()) {
                const QString error = q.lastError().text();
                log.error(sheetRow, QStringLiteral("错误，单位：") + fullName + QStringLiteral(",联系人：") + contact
                                        + QStringLiteral(",电话：") + phone);
                return abandon(Result::Outcome::Failed, QStringLiteral("意外导入错误,E=") + error);
            }
            ++result.stored;
            keys.insert(key);
        }
        if (!goOn(r))
            return abandon(Result::Outcome::Cancelled, cancelledMessage());
    }
    if (!m_db.commit())
        return abandon(Result::Outcome::Failed, QStringLiteral("意外导入错误,E=") + m_db.lastError().text());
    return finish(Result::Outcome::Imported, summaryOf(result));
}

} // namespace moque::batch
