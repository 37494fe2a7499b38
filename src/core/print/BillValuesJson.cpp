#include "print/BillValuesJson.h"

#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace moque::print {

namespace {

// The field names of each bill object as written. QJsonObject keeps one value
// of a name given twice, so the names are read from the text itself; the text
// has already been checked to be JSON.
class BillKeyScanner
{
public:
    explicit BillKeyScanner(const QByteArray &json) : m_text(json) {}

    QList<QStringList> scan()
    {
        QList<QStringList> bills;
        skipBlanks();
        if (peek() == '{') {
            bills << objectKeys();
        } else if (peek() == '[') {
            ++m_pos;
            skipBlanks();
            while (m_pos < m_text.size() && peek() != ']') {
                const qsizetype before = m_pos;
                if (peek() == '{') {
                    bills << objectKeys();
                } else {
                    skipValue();
                    bills << QStringList();
                }
                skipSeparator();
                // Text the JSON parser stopped short of (after a NUL byte) is no bill: never loop on it.
                if (m_pos == before)
                    break;
            }
        }
        return bills;
    }

private:
    char peek() const { return m_pos < m_text.size() ? m_text[m_pos] : '\0'; }

    void skipBlanks()
    {
        while (m_pos < m_text.size() && (peek() == ' ' || peek() == '\t' || peek() == '\n' || peek() == '\r'))
            ++m_pos;
    }

    // Past the comma between two members or elements, and the blanks around it.
    void skipSeparator()
    {
        skipBlanks();
        if (peek() == ',')
            ++m_pos;
        skipBlanks();
    }

    // At an opening quote: the string's text.
    QString string()
    {
        const qsizetype start = m_pos++;
        bool escaped = false;
        while (m_pos < m_text.size() && peek() != '"') {
            if (peek() == '\\') {
                escaped = true;
                ++m_pos;
            }
            ++m_pos;
        }
        ++m_pos;
        const QByteArray literal = m_text.mid(start, m_pos - start);
        if (!escaped)
            return QString::fromUtf8(literal.mid(1, literal.size() - 2));
        return QJsonDocument::fromJson('[' + literal + ']').array().first().toString();
    }

    // Skips a value of any kind, nested ones without recursion.
    void skipValue()
    {
        int depth = 0;
        do {
            const char c = peek();
            if (c == '"')
                string();
            else {
                if (c == '{' || c == '[')
                    ++depth;
                else if (c == '}' || c == ']')
                    --depth;
                else if (depth == 0 && (c == ',' || c == '\0'))
                    return;
                ++m_pos;
            }
        } while (depth > 0 && m_pos < m_text.size());
    }

    QStringList objectKeys()
    {
        QStringList keys;
        ++m_pos;
        skipBlanks();
        // Each name moves on at least past its quotes, so the loop ends on any text.
        while (m_pos < m_text.size() && peek() == '"') {
            keys << string();
            skipBlanks();
            ++m_pos; // the colon
            skipBlanks();
            skipValue();
            skipSeparator();
        }
        ++m_pos;
        return keys;
    }

    const QByteArray &m_text;
    qsizetype m_pos = 0;
};

QString tickText(const QJsonValue &v)
{
    const QString t = v.isBool() ? (v.toBool() ? QStringLiteral("1") : QString())
                      : v.isDouble() ? QString::number(v.toDouble())
                                     : v.toString().trimmed();
    static const QStringList yes{QStringLiteral("√"), QStringLiteral("1"), QStringLiteral("true"),
                                 QStringLiteral("yes"), QStringLiteral("是"), QStringLiteral("y")};
    return yes.contains(t, Qt::CaseInsensitive) ? QStringLiteral("√") : QString();
}

QString plainText(const QJsonValue &v)
{
    if (v.isString())
        return v.toString();
    if (v.isDouble())
        return QString::number(v.toDouble(), 'g', 15);
    return v.toBool() ? QStringLiteral("√") : QString();
}

// The kind's fields by their names in upper case, looked up for every name of every bill.
QHash<QString, const templates::DictionaryField *> fieldsByName(const QList<templates::DictionaryField> &dictionary)
{
    QHash<QString, const templates::DictionaryField *> byName;
    for (const templates::DictionaryField &d : dictionary)
        byName.insert(d.name.toUpper(), &d);
    return byName;
}

} // namespace

bool parseBillValues(const QByteArray &json, const QString &source,
                     const QList<templates::DictionaryField> &dictionary, QList<MapValueSource> *bills,
                     QString *error, const BillValuesLimits &limits)
{
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (doc.isNull()) {
        // A lone number, text or null is JSON too, just not bills.
        if (!QJsonDocument::fromJson('[' + json + ']').isNull())
            *error = QStringLiteral("%1 holds no bills: give an object of field names and values, or an array of them")
                         .arg(source);
        else
            *error = QStringLiteral("%1 is not valid JSON: %2 at offset %3")
                         .arg(source, parseError.errorString())
                         .arg(parseError.offset);
        return false;
    }
    QJsonArray objects;
    if (doc.isObject())
        objects.append(doc.object());
    else
        objects = doc.array();
    if (objects.isEmpty()) {
        *error = QStringLiteral("%1 holds no bill").arg(source);
        return false;
    }
    const QList<QStringList> keys = BillKeyScanner(json).scan();
    const QHash<QString, const templates::DictionaryField *> fields = fieldsByName(dictionary);
    QList<MapValueSource> read;
    for (int i = 0; i < objects.size(); ++i) {
        const QString bill = QStringLiteral("%1: bill %2").arg(source).arg(i + 1);
        if (!objects[i].isObject()) {
            *error = QStringLiteral("%1 is not an object of field names and values").arg(bill);
            return false;
        }
        QStringList seen;
        for (const QString &key : keys.value(i)) {
            const templates::DictionaryField *field = fields.value(key.toUpper());
            if (field && seen.contains(field->name)) {
                *error = QStringLiteral("%1: field %2 is given twice").arg(bill, key);
                return false;
            }
            if (field)
                seen << field->name;
        }
        const QJsonObject o = objects[i].toObject();
        MapValueSource values;
        for (auto it = o.begin(); it != o.end(); ++it) {
            const templates::DictionaryField *field = fields.value(it.key().toUpper());
            if (!field) {
                *error = QStringLiteral("%1: unknown field %2").arg(bill, it.key());
                return false;
            }
            const QJsonValue v = it.value();
            if (!v.isString() && !v.isDouble() && !v.isBool()) {
                *error = QStringLiteral("%1: field %2 must be text, a number or true/false").arg(bill, it.key());
                return false;
            }
            const bool tickBox = field->type.compare(QLatin1String("CHECKBOX"), Qt::CaseInsensitive) == 0;
            const QString text = tickBox ? tickText(v) : plainText(v);
            if (text.size() > limits.maxValueChars) {
                *error = QStringLiteral("%1: field %2 is longer than %3 characters")
                             .arg(bill, it.key())
                             .arg(limits.maxValueChars);
                return false;
            }
            values.set(field->name, text);
        }
        read << values;
    }
    *bills << read;
    return true;
}

bool readBillValuesFile(const QString &path, const QList<templates::DictionaryField> &dictionary,
                        QList<MapValueSource> *bills, QString *error, const BillValuesLimits &limits)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, f.errorString());
        return false;
    }
    // A device or pipe says nothing of its size: read one byte past the limit to know.
    const QByteArray json = f.read(limits.maxFileBytes + 1);
    if (json.size() > limits.maxFileBytes) {
        *error = QStringLiteral("%1 is larger than %2 MB, more than bills take")
                     .arg(path)
                     .arg(limits.maxFileBytes / (1024 * 1024));
        return false;
    }
    if (f.error() != QFile::NoError) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, f.errorString());
        return false;
    }
    return parseBillValues(json, path, dictionary, bills, error, limits);
}

} // namespace moque::print
