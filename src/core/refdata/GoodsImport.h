#pragma once

#include <QList>
#include <QSet>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <functional>

namespace moque {
class Dialogs;
}

namespace moque::refdata {

// How an import tells an entry the catalogue has already.
struct GoodsImportOptions
{
    bool byNameOnly = false;     // "仅仅依据商品名判断是否重复", else name and model
    bool askOnDuplicate = false; // "发现重复记录，请提示我"
};

// Told the data rows done and the data rows in all, before the first row and
// after every row; returning false cancels the import.
using GoodsImportProgress = std::function<bool(int done, int total)>;

struct GoodsImportResult
{
    bool valid = false; // the first row named the columns an import needs
    bool cancelled = false; // stopped by the progress callback: nothing was stored
    int stored = 0;
    int skipped = 0;
    QString message; // the summary, or why nothing was imported
};

// Adds the rows of a spreadsheet to the goods catalogue. The first row names
// the columns: "商品名", "单价" and one of "规格", "规格型号", "品牌型号" (the
// rightmost of these) are needed; "货号", "单位", "批价", "简码", "备注" and
// "分类" are read too, other columns are left out. A row without a name is
// skipped, and so is an entry the catalogue has already, unless the user,
// asked, wants it added. The rows go in one transaction: a cancelled or
// failed import leaves the catalogue as it was.
class GoodsImport
{
public:
    GoodsImport(QSqlDatabase db, Dialogs &dialogs) : m_db(db), m_dialogs(dialogs) {}

    GoodsImportResult importRows(const QList<QStringList> &rows, const GoodsImportOptions &options,
                                 const GoodsImportProgress &progress = {});
    // Reads the file's first sheet (.xlsx, .xls or .csv); a file that cannot be
    // read imports nothing and its reader's message is the result's.
    GoodsImportResult importFile(const QString &path, const GoodsImportOptions &options,
                                 const GoodsImportProgress &progress = {});

    // The result's message when the progress callback cancelled the import.
    static QString cancelledMessage() { return QStringLiteral("导入已取消，没有导入任何商品！"); }

    static QString headerFailure()
    {
        return QStringLiteral("验证数据文件失败，文档的第一行必须含有列：\n商品名,规格,单价");
    }

private:
    bool readKeys(bool byNameOnly, QSet<QString> *keys);

    QSqlDatabase m_db;
    Dialogs &m_dialogs;
};

} // namespace moque::refdata
