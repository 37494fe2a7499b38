// moque-cli recognize: address text on standard input, JSON on standard output.

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <QTest>

namespace {

struct Run
{
    int exitCode = -1;
    QList<QByteArray> out;
    QByteArray err;
};

Run recognize(const QByteArray &input, const QStringList &args = {})
{
    QProcess p;
    p.start(QStringLiteral(MOQUE_CLI), QStringList{QStringLiteral("recognize")} + args);
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(120000);
    Run r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput().split('\n');
    if (!r.out.isEmpty() && r.out.last().isEmpty())
        r.out.removeLast();
    r.err = p.readAllStandardError();
    return r;
}

QJsonObject object(const QByteArray &line)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(line, &error);
    return error.error == QJsonParseError::NoError ? doc.object() : QJsonObject{};
}

const QStringList keys{QStringLiteral("address"), QStringLiteral("city"),     QStringLiteral("district"),
                       QStringLiteral("mobile"),  QStringLiteral("name"),     QStringLiteral("phone"),
                       QStringLiteral("province"), QStringLiteral("zipcode")};

} // namespace

class TestCliRecognize : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void oneText()
    {
        const Run r = recognize(QStringLiteral("收货人：刘洋\n手机号码：137 1234 5678\n所在地区：湖北省 武汉市 洪山区\n"
                                               "详细地址：珞瑜路1037号\n电话：027-87541234\n邮编：430074\n")
                                    .toUtf8());
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out.size(), 1);
        const QJsonObject o = object(r.out.first());
        QCOMPARE(o.keys(), keys);
        QCOMPARE(o.value(QStringLiteral("name")).toString(), QStringLiteral("刘洋"));
        QCOMPARE(o.value(QStringLiteral("mobile")).toString(), QStringLiteral("13712345678"));
        QCOMPARE(o.value(QStringLiteral("phone")).toString(), QStringLiteral("027-87541234"));
        QCOMPARE(o.value(QStringLiteral("province")).toString(), QStringLiteral("湖北省"));
        QCOMPARE(o.value(QStringLiteral("city")).toString(), QStringLiteral("武汉市"));
        QCOMPARE(o.value(QStringLiteral("district")).toString(), QStringLiteral("洪山区"));
        QCOMPARE(o.value(QStringLiteral("address")).toString(), QStringLiteral("珞瑜路1037号"));
        QCOMPARE(o.value(QStringLiteral("zipcode")).toString(), QStringLiteral("430074"));
    }

    void nothingToRecognize_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::newRow("no input") << QByteArray();
        QTest::newRow("only spaces") << QByteArray("     \n  \n");
        QTest::newRow("not UTF-8") << QByteArray("\xff\xfe\x80\x81");
        QTest::newRow("only digits") << QByteArray("98765432109876543210");
    }
    void nothingToRecognize()
    {
        QFETCH(QByteArray, input);
        const Run r = recognize(input);
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out.size(), 1);
        const QJsonObject o = object(r.out.first());
        QCOMPARE(o.keys(), keys);
        for (const QString &key : keys)
            QVERIFY2(o.value(key).toString().isEmpty(), qPrintable(key));
    }

    // One object a line, in the order of the texts, an empty text giving an empty object.
    void lines()
    {
        const QByteArray input = QStringLiteral("\"张伟，13800138000，广东省 深圳市 南山区 科技南十二路28号（518057）\"\n"
                                                "\"\"\n"
                                                "\"收货人：陈静\\n地址：北京朝阳区建国路88号\\n手机：18601234567\"\n"
                                                "\"赵磊 13983001234 重庆市渝中区解放碑邹容路100号\"")
                                     .toUtf8();
        const Run r = recognize(input, {QStringLiteral("--lines")});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out.size(), 4);
        const QStringList names{QStringLiteral("张伟"), QString(), QStringLiteral("陈静"), QStringLiteral("赵磊")};
        const QStringList districts{QStringLiteral("南山区"), QString(), QStringLiteral("朝阳区"), QStringLiteral("渝中区")};
        for (int i = 0; i < 4; ++i) {
            const QJsonObject o = object(r.out.at(i));
            QCOMPARE(o.keys(), keys);
            QCOMPARE(o.value(QStringLiteral("name")).toString(), names.at(i));
            QCOMPARE(o.value(QStringLiteral("district")).toString(), districts.at(i));
        }
        QCOMPARE(object(r.out.at(0)).value(QStringLiteral("zipcode")).toString(), QStringLiteral("518057"));
        QCOMPARE(object(r.out.at(2)).value(QStringLiteral("address")).toString(), QStringLiteral("建国路88号"));
    }

    // A line that is not a JSON string keeps its place with an empty object and fails the run.
    void badLines_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("bare text") << QByteArray("张伟 13800138000");
        QTest::newRow("an object") << QByteArray("{\"text\":\"张伟\"}");
        QTest::newRow("two strings") << QByteArray("\"a\",\"b\"");
        QTest::newRow("unterminated") << QByteArray("\"张伟");
    }
    void badLines()
    {
        QFETCH(QByteArray, line);
        const Run r = recognize("\"王芳 13912345678 江苏省南京市鼓楼区中山北路30号\"\n" + line + "\n\"\"\n",
                                {QStringLiteral("--lines")});
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.out.size(), 3);
        QCOMPARE(object(r.out.at(0)).value(QStringLiteral("name")).toString(), QStringLiteral("王芳"));
        QCOMPARE(object(r.out.at(1)).keys(), keys);
        QVERIFY(object(r.out.at(1)).value(QStringLiteral("name")).toString().isEmpty());
        QVERIFY(r.err.contains("line 2"));
    }

    void extraArgumentRefused()
    {
        const Run r = recognize("张伟", {QStringLiteral("text.txt")});
        QCOMPARE(r.exitCode, 1);
        QVERIFY(r.out.isEmpty());
        QVERIFY(r.err.contains("standard input"));
    }
};

QTEST_GUILESS_MAIN(TestCliRecognize)
#include "test_cli_recognize.moc"
