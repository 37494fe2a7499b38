#include "common/Helpers.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace moque;

namespace {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestHelpers : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void numberChecks_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("digits");
        QTest::addColumn<bool>("decimal");
        QTest::newRow("digits") << "12" << true << true;
        QTest::newRow("leading zeros") << "007" << true << true;
        QTest::newRow("leading blank") << " 12" << false << false;
        QTest::newRow("trailing blank") << "12 " << false << false;
        QTest::newRow("blank inside") << "1 2" << false << false;
        QTest::newRow("empty") << "" << false << false;
        QTest::newRow("blanks only") << "   " << false << false;
        QTest::newRow("letter") << "12a" << false << false;
        QTest::newRow("decimal") << "12.5" << false << true;
        QTest::newRow("two points") << "1.2.3" << false << true;
        QTest::newRow("point only") << "." << false << true;
        QTest::newRow("sign") << "-1" << false << false;
        QTest::newRow("comma") << "1,5" << false << false;
        QTest::newRow("full-width digits") << "１２" << false << false;
        QTest::newRow("Arabic-Indic digits") << "٣" << false << false;
    }
    void numberChecks()
    {
        QFETCH(QString, text);
        QFETCH(bool, digits);
        QFETCH(bool, decimal);
        QCOMPARE(isDigitsOnly(text), digits);
        QCOMPARE(isDecimalText(text), decimal);
    }

    void randomText_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("upper");
        QTest::addColumn<QString>("alphabet");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("pattern");
        QTest::newRow("length 0 unchanged") << 0 << false << "0123456789" << "abc" << "abc";
        QTest::newRow("six digits") << 6 << false << "0123456789" << "" << "[0-9]{6}";
        QTest::newRow("put in front of the text") << 3 << false << "x" << "abc" << "xxxabc";
        QTest::newRow("upper case, text too") << 4 << true << "ab" << "q" << "[AB]{4}Q";
        QTest::newRow("lower kept without flag") << 5 << false << "ab" << "" << "[ab]{5}";
        QTest::newRow("empty alphabet unchanged") << 5 << true << "" << "abc" << "abc";
    }
    void randomText()
    {
        QFETCH(int, length);
        QFETCH(bool, upper);
        QFETCH(QString, alphabet);
        QFETCH(QString, text);
        QFETCH(QString, pattern);
        const QRegularExpression re(QRegularExpression::anchoredPattern(pattern));
        for (int i = 0; i < 20; ++i) {
            const QString result = buildRadomStr(length, upper, alphabet, text);
            QVERIFY2(re.match(result).hasMatch(), qPrintable(result));
        }
    }

    void randomTextUsesWholeAlphabet()
    {
        // 200 picks over two letters: a generator stuck on one letter fails.
        const QString result = buildRadomStr(200, false, QStringLiteral("ab"));
        QVERIFY(result.contains(QLatin1Char('a')));
        QVERIFY(result.contains(QLatin1Char('b')));
    }

    void listFilesPlainFilesOnly()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(writeFile(dir.filePath(QStringLiteral("a.ini")), "1"));
        QVERIFY(writeFile(dir.filePath(QStringLiteral("b.ini")), "2"));
        QVERIFY(writeFile(dir.filePath(QStringLiteral("c.txt")), "3"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("d.ini")));

        QCOMPARE(listFiles(dir.path(), QStringLiteral("*.ini")), (QStringList{"a.ini", "b.ini"}));
        QCOMPARE(listFiles(dir.path(), QStringLiteral("*")), (QStringList{"a.ini", "b.ini", "c.txt"}));
        QCOMPARE(listFiles(dir.path(), QStringLiteral("*.jpg")), QStringList());
        QCOMPARE(listFiles(dir.filePath(QStringLiteral("missing")), QStringLiteral("*")), QStringList());
        QCOMPARE(listFiles(QString(), QStringLiteral("*")), QStringList());
    }

    void copyWholeFileReplacesTarget()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QByteArray bytes;
        for (int i = 0; i < 3 * 70000; ++i)
            bytes.append(char(i % 256));
        const QString source = dir.filePath(QStringLiteral("source.jpg"));
        const QString target = dir.filePath(QStringLiteral("target.jpg"));
        QVERIFY(writeFile(source, bytes));
        QVERIFY(writeFile(target, QByteArray(300000, 'x')));
        QString error;
        QVERIFY(copyWholeFile(source, target, &error));
        QCOMPARE(readFile(target), bytes);
    }

    void copyWholeFileMissingSource()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString target = dir.filePath(QStringLiteral("target"));
        QVERIFY(writeFile(target, "kept"));
        QString error;
        QVERIFY(!copyWholeFile(dir.filePath(QStringLiteral("missing")), target, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(readFile(target), QByteArray("kept"));
    }

    void gbkLengths_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("bytes");
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("ascii") << "abc 1" << 5;
        QTest::newRow("chinese") << "中文" << 4;
        QTest::newRow("mixed") << "中a票" << 5;
        QTest::newRow("full-width punctuation") << "，" << 2;
    }
    void gbkLengths()
    {
        QFETCH(QString, text);
        QFETCH(int, bytes);
        QCOMPARE(gbkLength(text), bytes);
        QCOMPARE(int(toGbk(text).size()), bytes);
    }
};

QTEST_GUILESS_MAIN(TestHelpers)
#include "test_helpers.moc"
