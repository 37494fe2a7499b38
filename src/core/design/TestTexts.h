#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>

namespace moque::design {

// The test texts of a bill kind's fields (NameDict.CtlData): what the preview
// and the designers print where a bill would have its values.
class TestTexts
{
public:
    struct Row
    {
        int id = 0;
        QString name;
        QString label;
        QString text;
    };

    explicit TestTexts(QSqlDatabase db) : m_db(db) {}

    // The kind's fields, the last shown first as the dictionary orders them.
    QList<Row> rows(const QString &kind);
    // Stores the test text of one dictionary row; false with errorText().
    bool setText(int dictionaryId, const QString &text);
    QString errorText() const { return m_error; }

private:
    QSqlDatabase m_db;
    QString m_error;
};

} // namespace moque::design
