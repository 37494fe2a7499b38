#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace moque::batch {

// The texts the recognition window offers for its 附注内容 box: the remark
// dictionaries and what earlier waybills carried as goods and as remark; and
// a typed remark kept as a new entry of the 附注内容 dictionary.
class RemarkLists
{
public:
    enum class Source { Dictionary, HistoryGoods, HistoryRemarks };
    enum class Saved { Empty, Exists, Added, Failed };

    // No list is longer than this.
    static constexpr int maxEntries = 200;

    explicit RemarkLists(QSqlDatabase db) : m_db(db) {}

    // Distinct non-blank values of the source, in text order. Empty on an
    // error (see lastError()).
    QStringList load(Source source) const;

    // Adds the trimmed text to the 附注内容 dictionary of all templates,
    // unless it is blank or one of the remark dictionaries of all templates
    // already holds it.
    Saved save(const QString &text);

    // The message the window shows for an outcome of save().
    static QString message(Saved saved, const QString &text);

    QString lastError() const { return m_error; }

private:
    QSqlDatabase m_db;
    mutable QString m_error;
};

} // namespace moque::batch
