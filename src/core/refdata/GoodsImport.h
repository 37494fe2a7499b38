#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

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

struct GoodsImportResult
{
    bool valid = false; // the first row named the columns an import needs
    int stored = 0;
    int skipped = 0;
    QString message; // the summary, or why nothing was imported
};

// Adds the rows of a spreadsheet to the goods catalogue. The first row names
// the columns: "商品名", "单价" and one of "规格", "规格型号", "品牌型号" (the
// rightmost of these) are needed; "货号", "单位", "批价", "简码", "备注" and
// "分类" are read too, other columns are left out. A row without a name is
// skipped, and so is an entry the catalogue has already, unless the user,
// asked, wants it added. The rows go in one transaction.
class GoodsImport
{
public:
    GoodsImport(QSqlDatabase db, Dialogs &dialogs) : m_db(db), m_dialogs(dialogs) {}

    GoodsImportResult importRows(const QList<QStringList> &rows, const GoodsImportOptions &options);
    // Reads the file's first sheet (.xlsx, .xls or .csv); a file that cannot be
    // read imports nothing and its reader's message is the result's.
    GoodsImportResult importFile(const QString &path, const GoodsImportOptions &options);

    static QString headerFailure()
    {
        return QStringLiteral("验证数据文件失败，文档的第一行必须含有列：\n商品名,规格,单价");
    }

private:
    bool isDuplicate(const QString &name, const QString &model, const GoodsImportOptions &options,
                     bool *failed);

    QSqlDatabase m_db;
    Dialogs &m_dialogs;
};

} // namespace moque::refdata
