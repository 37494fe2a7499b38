#include "support/TestData.h"

#include <QTest>

using namespace moque;

class TestStore : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void createsDataFile()
    {
        test::TestData data;
        QVERIFY(data.open());
    }
};

QTEST_GUILESS_MAIN(TestStore)
#include "test_store.moc"
