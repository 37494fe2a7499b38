#pragma once

#include <QHash>
#include <QString>

namespace moque::print {

// The value of one field as the bill holds it; a hidden control gives no value.
struct FieldValue
{
    QString text;
    bool shown = true;
};

// Where the print engine reads a bill's values: an entry window, a saved bill,
// a batch list row, a JSON file. Names compare without regard to case.
class ValueSource
{
public:
    virtual ~ValueSource() = default;
    virtual FieldValue value(const QString &fieldName) const = 0;
};

// Values held in a map (saved bills, moque-cli, tests).
class MapValueSource : public ValueSource
{
public:
    void set(const QString &name, const QString &text, bool shown = true) { m_values.insert(name.toUpper(), {text, shown}); }
    FieldValue value(const QString &fieldName) const override { return m_values.value(fieldName.toUpper(), {{}, false}); }
    void clear() { m_values.clear(); }

private:
    QHash<QString, FieldValue> m_values;
};

} // namespace moque::print
