#include "refdata/GoodsImport.h"

#include "common/Dialogs.h"
#include "sheets/SpreadsheetReader.h"
#include "store/BoundQuery.h"

#include <QHash>
#include <QSet>
#include <QSqlQuery>

namespace moque::refdata {

using store::execBound;

namespace {

// Spreadsheet titles of the model column (规格); the rightmost one present is read.
const QStringList kModelTitles{QStringLiteral("规格"), QStringLiteral("规格型号"),
                                       QStringLiteral("品牌型号")};
// Titles read into the catalogue column of the same name.
const QStringList kOtherColumns{QStringLiteral("货号"), QStringLiteral("单位"), QStringLiteral("批价"),
                                QStringLiteral("简码"), QStringLiteral("备注"), QStringLiteral("分类")};

GoodsImportResult cancelled()
{
    GoodsImportResult result;
    result.valid = true;
    result.cancelled = true;
    result.message = GoodsImport::cancelledMessage();
    return result;
}

void summarize(GoodsImportResult &result)
{
    result.message = QStringLiteral("导入完成，共有 %1 条导入成功！").arg(result.stored);
    if (result.skipped > 0)
        result.message += QStringLiteral(" 其中跳过了%1 条已经存在的记录！").arg(result.skipped);
}

// What makes two entries the same to the import: the name, and the model unless only names count.
QString keyOf(const QString &name, const QString &model, bool byNameOnly)
{
    return byNameOnly ? name : name + QChar(0) + model;
}

QString cell(const QStringList &row, qsizetype column)
{
    return column >= 0 ? row.value(column).trimmed() : QString();
}

} // namespace

// The keys of the entries stored, read once: a query per imported row would
// scan the whole catalogue each time.
bool GoodsImport::readKeys(bool byNameOnly, QSet<QString> *keys)
{
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    if (!execBound(q, QStringLiteral("select 商品名,规格 from Products")))
        return false;
    while (q.next()) {
        // In SQL a NULL model equals no text, so it matches no imported row.
        if (!q.value(0).isNull() && (byNameOnly || !q.value(1).isNull()))
            keys->insert(keyOf(q.value(0).toString(), q.value(1).toString(), byNameOnly));
    }
    return true;
}

GoodsImportResult GoodsImport::importRows(const QList<QStringList> &rows, const GoodsImportOptions &options,
                                          const GoodsImportProgress &progress)
{
    GoodsImportResult result;
    if (rows.isEmpty()) {
        result.valid = true;
        result.message = QStringLiteral("导入完成，所选数据文件不存在有效数据！");
        return result;
    }
    // The titles up to the first empty one.
    QHash<QString, qsizetype> columnOf;
    qsizetype model = -1;
    for (qsizetype i = 0; i < rows.first().size(); ++i) {
        const QString title = rows.first().at(i).trimmed();
        if (title.isEmpty())
            break;
        if (kModelTitles.contains(title))
            model = i;
        else if (!columnOf.contains(title))
            columnOf.insert(title, i);
    }
    const qsizetype name = columnOf.value(QStringLiteral("商品名"), -1);
    const qsizetype price = columnOf.value(QStringLiteral("单价"), -1);
    if (name < 0 || price < 0 || model < 0) {
        result.message = headerFailure();
        return result;
    }
    result.valid = true;

    QStringList columns{QStringLiteral("商品名"), QStringLiteral("规格"), QStringLiteral("单价")};
    QList<qsizetype> sources{name, model, price};
    for (const QString &column : kOtherColumns) {
        if (columnOf.contains(column)) {
            columns << column;
            sources << columnOf.value(column);
        }
    }
    const QString insert = QStringLiteral("insert into Products (") + columns.join(QLatin1Char(','))
        + QStringLiteral(") values(") + QStringList(columns.size(), QStringLiteral("?")).join(QLatin1Char(','))
        + QLatin1Char(')');

    const int total = int(rows.size()) - 1;
    const auto goOn = [&progress, total](qsizetype done) { return !progress || progress(int(done), total); };
    if (!goOn(0))
        return cancelled();
    m_db.transaction();
    QSet<QString> keys;
    QSqlQuery q(m_db);
    if (!readKeys(options.byNameOnly, &keys) || !q.prepare(insert)) {
        m_db.rollback();
        result.skipped = total;
        summarize(result);
        return result;
    }
    for (qsizetype r = 1; r < rows.size(); ++r) {
        const QStringList &row = rows.at(r);
        const QString goodName = cell(row, name);
        const QString goodModel = cell(row, model);
        const QString key = keyOf(goodName, goodModel, options.byNameOnly);
        bool skip = goodName.isEmpty() || keys.contains(key);
        if (!goodName.isEmpty() && skip && options.askOnDuplicate) {
            const QString shown = options.byNameOnly ? goodName : goodName + QLatin1Char('(') + goodModel + QLatin1Char(')');
            skip = m_dialogs.ask(QStringLiteral("商品\"") + shown
                                     + QStringLiteral("\"已经存在,是否跳过？点击\"是\"跳过,点击\"否\"继续添加！"),
                                 QStringLiteral("记录已经存在"), Dialogs::Icon::Question);
        }
        if (!skip) {
            for (qsizetype i = 0; i < sources.size(); ++i)
                q.bindValue(int(i), cell(row, sources.at(i)));
            skip = !q.exec();
        }
        if (skip) {
            ++result.skipped;
        } else {
            ++result.stored;
            keys.insert(key);
        }
        if (!goOn(r)) {
            m_db.rollback();
            return cancelled();
        }
    }
    m_db.commit();
    summarize(result);
    return result;
}

GoodsImportResult GoodsImport::importFile(const QString &path, const GoodsImportOptions &options,
                                          const GoodsImportProgress &progress)
{
    QString error;
    const QList<QStringList> rows = sheets::SpreadsheetReader::readFirstSheet(path, &error);
    if (!error.isEmpty()) {
        GoodsImportResult result;
        result.message = error;
        return result;
    }
    return importRows(rows, options, progress);
}

} // namespace moque::refdata
