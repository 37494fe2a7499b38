#pragma once

#include "app/FontSetup.h"
#include "support/TestData.h"

#include <QObject>
#include <QTest>

#include <memory>

namespace moque::test {

// What every bill entry window test starts from: a fresh data directory for
// each test function, bills printed to PDF files in a folder of the test
// program's own, and the rows the window saved into its history table read
// back by 流水号.
class EntryFixture : public QObject
{
    Q_OBJECT

public:
    explicit EntryFixture(const QString &table) : m_table(table) {}

protected:
    std::unique_ptr<TestData> m_data;
    QTemporaryDir m_out;

    ScriptedDialogs &dialogs() { return m_data->dialogs; }

    // One column of a saved row.
    QString column(int id, const QString &column) const
    {
        return m_data->scalar(QStringLiteral("select \"%1\" from %2 where 流水号=?").arg(column, m_table), {id})
            .toString();
    }
    int rowCount() const { return m_data->scalar(QStringLiteral("select count(*) from %1").arg(m_table)).toInt(); }
    // The 流水号 of the newest row.
    int lastId() const { return m_data->scalar(QStringLiteral("select max(流水号) from %1").arg(m_table)).toInt(); }

private Q_SLOTS:
    void initTestCase() { app::installFontSubstitutions(); }
    void init()
    {
        m_data = std::make_unique<TestData>();
        QVERIFY(m_data->open());
        m_data->core->session().billPrinterName = QStringLiteral("PDF");
    }
    void cleanup() { m_data.reset(); }

private:
    const QString m_table;
};

} // namespace moque::test
