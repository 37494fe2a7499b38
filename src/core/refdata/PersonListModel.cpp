#include "refdata/PersonListModel.h"

#include "store/SqliteRows.h"

#include <QHash>

#include <algorithm>

namespace moque::refdata {

namespace {

QChar foldAscii(QChar c)
{
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ? QChar(c.unicode() + 32) : c;
}

bool isWildcard(QChar c)
{
    return c == QLatin1Char('%') || c == QLatin1Char('_');
}

// The columns the keyword search looks into, in the order it looks.
const QStringList &keywordFields()
{
    static const QStringList fields = {
        QStringLiteral("全称"),       QStringLiteral("联系人"), QStringLiteral("电话"),   QStringLiteral("手机"),
        QStringLiteral("开户行账号"), QStringLiteral("省"),     QStringLiteral("助记码"), QStringLiteral("地址"),
    };
    return fields;
}

// A LIKE "%word%" over a word without wildcards, the common case, is a plain search.
class ContainsPattern
{
public:
    explicit ContainsPattern(const QString &word)
        : m_word(word)
        , m_pattern(QLatin1Char('%') + word + QLatin1Char('%'))
        , m_plain(std::none_of(word.begin(), word.end(), isWildcard))
        , m_ascii(std::all_of(word.begin(), word.end(), [](QChar c) { return c.unicode() < 0x80; }))
    {
    }

    bool matches(const QString &text) const
    {
        if (text.isNull())
            return false;
        if (!m_plain)
            return likeMatch(text, m_pattern);
        // Only ASCII letters fold, as the store's LIKE does; a word of other
        // characters is compared as it stands.
        return m_ascii ? text.contains(m_word, Qt::CaseInsensitive) : likeMatch(text, m_pattern);
    }

private:
    QString m_word;
    QString m_pattern;
    bool m_plain;
    bool m_ascii;
};

} // namespace

bool likeMatch(const QString &text, const QString &pattern)
{
    if (text.isNull())
        return false;
    qsizetype t = 0, p = 0;
    qsizetype starP = -1, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == QLatin1Char('%')) {
            starP = p++;
            starT = t;
        } else if (p < pattern.size()
                   && (pattern[p] == QLatin1Char('_') || foldAscii(pattern[p]) == foldAscii(text[t]))) {
            ++p;
            ++t;
        } else if (starP >= 0) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == QLatin1Char('%'))
        ++p;
    return p == pattern.size();
}

bool PersonListModel::load(QSqlDatabase db, QString *error)
{
    beginResetModel();
    m_fields.clear();
    m_numeric.clear();
    m_cells.clear();
    m_ids.clear();
    m_listed.clear();

    store::TextTable table;
    const bool ok = store::readTextTable(db, QStringLiteral("select * from CKPersonalInfoTable order by ID"), &table,
                                         error);
    if (ok) {
        m_fields = table.fields;
        m_numeric = table.numeric;
        m_cells = std::move(table.cells);
        const int idColumn = fieldIndex(QStringLiteral("ID"));
        const qsizetype columns = m_fields.size();
        for (qsizetype i = idColumn; columns > 0 && idColumn >= 0 && i < m_cells.size(); i += columns)
            m_ids << m_cells[i].toLongLong();
    }
    endResetModel();
    if (ok)
        apply(m_filter);
    return ok;
}

void PersonListModel::close()
{
    beginResetModel();
    m_listed.clear();
    endResetModel();
}

int PersonListModel::fieldIndex(const QString &field) const
{
    for (int c = 0; c < m_fields.size(); ++c)
        if (m_fields[c].compare(field, Qt::CaseInsensitive) == 0)
            return c;
    return -1;
}

bool PersonListModel::passes(int entry, const PersonFilter &filter) const
{
    if (!filter.partyType.isEmpty()) {
        const int c = fieldIndex(QStringLiteral("单位类型"));
        if (c < 0 || cell(entry, c) != filter.partyType)
            return false;
    }
    if (!filter.group.isEmpty()) {
        const int c = fieldIndex(QStringLiteral("分组"));
        if (c < 0 || cell(entry, c) != filter.group)
            return false;
    }
    if (!filter.column.isEmpty()) {
        const int c = fieldIndex(filter.column);
        if (c < 0)
            return false;
        if (filter.equals ? cell(entry, c) != filter.key : !ContainsPattern(filter.key).matches(cell(entry, c)))
            return false;
    }
    return true;
}

void PersonListModel::apply(const PersonFilter &filter)
{
    beginResetModel();
    m_filter = filter;
    m_listed.clear();

    QVector<int> keywordColumns;
    for (const QString &f : keywordFields())
        if (const int c = fieldIndex(f); c >= 0)
            keywordColumns << c;
    const bool byKeyword = !filter.keyword.isEmpty();
    const ContainsPattern keyword(filter.keyword);
    const bool byOther = !filter.partyType.isEmpty() || !filter.group.isEmpty() || !filter.column.isEmpty();

    for (int e = 0; e < m_ids.size(); ++e) {
        if (byOther && !passes(e, filter))
            continue;
        if (byKeyword
            && std::none_of(keywordColumns.begin(), keywordColumns.end(),
                            [&](int c) { return keyword.matches(cell(e, c)); }))
            continue;
        m_listed << e;
    }
    sortListed(filter);
    endResetModel();
}

void PersonListModel::sortListed(const PersonFilter &filter)
{
    QVector<int> columns;
    for (const QString &f : filter.sortColumns)
        if (const int c = fieldIndex(f.trimmed()); c >= 0)
            columns << c;
    if (columns.isEmpty())
        return;
    const bool descending = filter.direction.trimmed().compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0;
    // Numbers are read once per entry, not once per comparison.
    QHash<int, QVector<qint64>> numbers;
    for (const int c : columns) {
        if (!m_numeric[c] || numbers.contains(c))
            continue;
        QVector<qint64> &values = numbers[c];
        values.resize(m_ids.size());
        for (const int entry : std::as_const(m_listed))
            values[entry] = cell(entry, c).toLongLong();
    }
    auto compare = [&](int a, int b) {
        for (const int c : columns) {
            int r;
            if (m_numeric[c]) {
                const QVector<qint64> &values = numbers[c];
                r = values[a] < values[b] ? -1 : (values[a] > values[b] ? 1 : 0);
            } else {
                r = QString::compare(cell(a, c), cell(b, c));
            }
            if (r != 0)
                return descending ? r > 0 : r < 0;
        }
        return false;
    };
    std::stable_sort(m_listed.begin(), m_listed.end(), compare);
}

int PersonListModel::idAt(int row) const
{
    return row >= 0 && row < m_listed.size() ? int(m_ids[m_listed[row]]) : 0;
}

QString PersonListModel::value(int row, const QString &field) const
{
    const int c = fieldIndex(field);
    if (c < 0 || row < 0 || row >= m_listed.size())
        return {};
    return cell(m_listed[row], c);
}

QList<int> PersonListModel::listedIds() const
{
    QList<int> ids;
    ids.reserve(m_listed.size());
    for (const int e : m_listed)
        ids << int(m_ids[e]);
    return ids;
}

int PersonListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_listed.size());
}

int PersonListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_fields.size());
}

QVariant PersonListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_listed.size() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return cell(m_listed[index.row()], index.column());
}

QVariant PersonListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_fields.size())
        return m_fields[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

} // namespace moque::refdata
