#pragma once

#include "batch/ColumnMatching.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <functional>

namespace moque {
class Dialogs;
}

namespace moque::batch {

// Which texts make an imported row the same as a stored one ("判断重复"):
// every ticked text must be equal. None ticked: every row is new.
struct DuplicateCriteria
{
    bool fullName = false; // 单位全称
    bool contact = false;  // 联系人
    bool phone = false;    // 联系电话
    bool any() const { return fullName || contact || phone; }
    static DuplicateCriteria all() { return {true, true, true}; }
};

struct RecipientImportOptions
{
    ImportTarget target = ImportTarget::BatchList;
    DuplicateCriteria duplicates;
    // "发现重复记录弹出提示确认": ask for every duplicate whether to skip it;
    // otherwise duplicates are skipped.
    bool askOnDuplicate = false;
    // Ask "你未选择任何重复判断依据..." before an import without criteria; a
    // program without a user (moque-cli) imports without asking.
    bool confirmWithoutCriteria = true;
    // Address book: every row gets partyType ("往来单位" unless "我方单位"),
    // or, not fixed, what the row's 单位类型 column says.
    bool partyTypeFixed = true;
    QString partyType;
    // ckOrderIDOn and ckMemeberIDOn: the order number and the member ID go into the remark.
    bool appendOrderId = false;
    bool appendMemberId = false;
};

// Told the data rows done and the data rows in all, before the first row and
// after every row; returning false cancels the import.
using RecipientImportProgress = std::function<bool(int done, int total)>;

struct RecipientImportResult
{
    enum class Outcome {
        Imported,  // the rows went in (some may have been skipped)
        NoData,    // titles but no data row
        Rejected,  // the file could not be read, has no titles, or no key column is matched
        Declined,  // the user did not allow an import without duplicate criteria
        Cancelled, // stopped by the progress callback: nothing was stored
        Failed,    // the store failed: nothing was stored
    };
    Outcome outcome = Outcome::Rejected;
    int total = 0;      // data rows of the sheet
    int stored = 0;
    int duplicates = 0; // skipped as already there
    int invalid = 0;    // skipped without 全称, 联系人 and 电话
    int skipped() const { return duplicates + invalid; }
    QString message;    // what the window shows: the summary, or why nothing was imported
};

// Imports the rows of a recipient spreadsheet into the batch print list
// (ReceiverList) or the address book (CKPersonalInfoTable), as the import
// window does: the first row holds the titles, each item reads the column the
// mapping gives it. All rows go in one transaction: a cancelled or failed
// import leaves the table as it was. Every import rewrites the log's [LOG],
// [ERR] and [INFO] sections (see ImportLog), whatever its outcome.
class RecipientImport
{
public:
    RecipientImport(QSqlDatabase db, Dialogs &dialogs, const QString &logPath)
        : m_db(db), m_dialogs(dialogs), m_logPath(logPath)
    {
    }

    // The rows of one sheet (titles first) with the columns the user settled
    // on; fileName is what the log names as the source, sheetName what the
    // message of a sheet without titles names.
    RecipientImportResult importRows(const QList<QStringList> &rows, const ColumnMapping &mapping,
                                     const RecipientImportOptions &options, const RecipientImportProgress &progress = {},
                                     const QString &fileName = {}, const QString &sheetName = {});

    // Reads the worksheet (from 0) of an .xlsx, .xls or .csv and imports it
    // with the columns matched by the stored aliases. A file that cannot be
    // read imports nothing and the reader's message is the result's.
    RecipientImportResult importFile(const QString &path, int sheet, const RecipientImportOptions &options,
                                     const RecipientImportProgress &progress = {});

    static QString noTitlesMessage(const QString &sheetName)
    {
        return QStringLiteral("Excel的[") + sheetName
            + QStringLiteral("]没有可识别的列(表格第一行必须为非空的列标题，比如：联系人,电话..)!");
    }
    static QString noKeyColumnMessage()
    {
        return QStringLiteral("收、发件单位名称、联系人、地址不能同时为空，请选择有效的Excel数据文件并匹配项目！");
    }
    static QString noDataMessage() { return QStringLiteral("导入完成，所选数据文件不存在有效数据！"); }
    static QString cancelledMessage() { return QStringLiteral("导入已中止，没有导入任何记录！"); }
    static QString noCriteriaQuestion()
    {
        return QStringLiteral("你未选择任何重复判断依据。这样将可能会插入重复记录。确认允许重复吗？");
    }

private:

    QSqlDatabase m_db;
    Dialogs &m_dialogs;
    QString m_logPath;
};

} // namespace moque::batch
