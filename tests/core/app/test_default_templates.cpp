// The templates a new data file ships with: every bill kind has a ready
// default template, the waybill two common ones, named by the naming rule, and
// every print item is a field of its kind that lies on the paper form at a
// screen place that is the same box scaled to the entry window's picture.

#include "support/TestData.h"

#include <QRectF>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

using namespace moque;

namespace {

struct Item
{
    QString name;
    QString type;
    int x, y, w, h;
    int srcX, srcY, srcW, srcH;
    QString breakNum;
    int breakFontSize;
    QString fitParam;
};

struct Template
{
    int id;
    QString fullName, kind, displayName, visible, isDefault, isCommon, imageFile, checkBoxes;
    int paperWidth, paperHeight, screenWidth, screenHeight;
};

} // namespace

class TestDefaultTemplates : public QObject
{
    Q_OBJECT

    test::TestData m_data;
    QList<Template> m_templates;

    QList<Item> itemsOf(int id) const
    {
        QList<Item> items;
        QSqlQuery q(m_data.db());
        q.prepare(QStringLiteral("select * from ckControl where CheckTypeID=:id"));
        q.bindValue(QStringLiteral(":id"), id);
        if (!q.exec())
            return items;
        while (q.next()) {
            items << Item{q.value("CtlName").toString(),       q.value("CtlType").toString(),
                          q.value("CtlX").toInt(),             q.value("CtlY").toInt(),
                          q.value("CtlW").toInt(),             q.value("CtlH").toInt(),
                          q.value("SrcX").toInt(),             q.value("SrcY").toInt(),
                          q.value("SrcW").toInt(),             q.value("SrcH").toInt(),
                          q.value("BreakNum").toString(),      q.value("BreakFontSize").toInt(),
                          q.value("FitParam").toString()};
        }
        return items;
    }

    const Template &templateOf(int id) const
    {
        return *std::find_if(m_templates.cbegin(), m_templates.cend(), [&](const Template &t) { return t.id == id; });
    }

    void templateRows()
    {
        QTest::addColumn<int>("id");
        for (const Template &t : std::as_const(m_templates))
            QTest::newRow(qPrintable(t.fullName)) << t.id;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_data.open());
        QSqlQuery q(m_data.db());
        QVERIFY(q.exec(QStringLiteral("select * from CKTypeTable order by CheckTypeID")));
        while (q.next()) {
            m_templates << Template{q.value("CheckTypeID").toInt(),   q.value("TypeName").toString(),
                                    q.value("TypeFirstName").toString(), q.value("TypeDescribe").toString(),
                                    q.value("Visiable").toString(),   q.value("IsDefault").toString(),
                                    q.value("IsCommon").toString(),   q.value("ImgFile").toString(),
                                    q.value("CheckBoxs").toString(),  q.value("PWidth").toInt(),
                                    q.value("PHeight").toInt(),       q.value("TWidth").toInt(),
                                    q.value("THeight").toInt()};
        }
        QVERIFY(!m_templates.isEmpty());
    }

    void everyKindHasOneEnabledCommonDefault_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("minCommon");
        QTest::newRow("waybill") << QStringLiteral("快递单") << 2;
        QTest::newRow("receipt") << QStringLiteral("普通发票收据") << 1;
        QTest::newRow("freight invoice") << QStringLiteral("国际货运发票") << 1;
        QTest::newRow("export invoice") << QStringLiteral("出口商品发票") << 1;
    }
    void everyKindHasOneEnabledCommonDefault()
    {
        QFETCH(QString, kind);
        QFETCH(int, minCommon);
        int defaults = 0;
        int common = 0;
        for (const Template &t : std::as_const(m_templates)) {
            if (t.kind != kind)
                continue;
            QCOMPARE(t.visible, QStringLiteral("启用"));
            QVERIFY2(t.isDefault == QStringLiteral("默认") || t.isDefault == QStringLiteral("0"),
                     qPrintable(t.isDefault));
            if (t.isDefault == QStringLiteral("默认")) {
                ++defaults;
                QCOMPARE(t.isCommon, QStringLiteral("是"));
            }
            if (t.isCommon == QStringLiteral("是"))
                ++common;
        }
        QCOMPARE(defaults, 1);
        QVERIFY2(common >= minCommon, qPrintable(QString::number(common)));
        QVERIFY(m_data.scalar(QStringLiteral("select count(*) from NameDict where CheckTypeName=?"), {kind}).toInt() > 0);
    }

    void namesFollowTheNamingRule_data() { templateRows(); }
    void namesFollowTheNamingRule()
    {
        QFETCH(int, id);
        const Template &t = templateOf(id);
        QCOMPARE(t.fullName, t.kind + QStringLiteral("（") + t.displayName + QStringLiteral("）"));
        for (const QChar c : QStringLiteral("()（）'%*? "))
            QVERIFY2(!t.displayName.contains(c), qPrintable(t.displayName));
        const int sameName = int(std::count_if(m_templates.cbegin(), m_templates.cend(),
                                               [&](const Template &o) { return o.fullName == t.fullName; }));
        QCOMPARE(sameName, 1);
        static const QHash<QString, QString> codes{{QStringLiteral("快递单"), QStringLiteral("kdd")},
                                                   {QStringLiteral("普通发票收据"), QStringLiteral("fpiv")},
                                                   {QStringLiteral("国际货运发票"), QStringLiteral("ivIntel")},
                                                   {QStringLiteral("出口商品发票"), QStringLiteral("cksp")}};
        QCOMPARE(t.imageFile, codes.value(t.kind) + QString::number(t.id) + QStringLiteral(".jpg"));
    }

    void itemsAreFieldsOfTheirKind_data() { templateRows(); }
    void itemsAreFieldsOfTheirKind()
    {
        QFETCH(int, id);
        const Template &t = templateOf(id);
        const QList<Item> items = itemsOf(id);
        QVERIFY(items.size() >= 20);
        QSet<QString> names;
        for (const Item &item : items) {
            QVERIFY2(!names.contains(item.name.toUpper()), qPrintable(item.name));
            names << item.name.toUpper();
            const QVariant dictType =
                m_data.scalar(QStringLiteral("select CtlType from NameDict where CheckTypeName=? and CtlName=?"),
                              {t.kind, item.name});
            QVERIFY2(dictType.isValid(), qPrintable(item.name + QStringLiteral(" is not a field of ") + t.kind));
            QCOMPARE(item.type, dictType.toString());
        }
        // Every tick box of the form has its item.
        const QStringList boxes = t.checkBoxes.split(QLatin1Char(','), Qt::SkipEmptyParts);
        for (int i = 0; i < boxes.size(); ++i)
            QVERIFY2(names.contains(QStringLiteral("DEFCHECK%1").arg(i)), qPrintable(boxes[i]));
    }

    void itemsLieInsideThePrintableArea_data() { templateRows(); }
    void itemsLieInsideThePrintableArea()
    {
        QFETCH(int, id);
        const Template &t = templateOf(id);
        const QRect printable(50, 50, t.paperWidth - 100, t.paperHeight - 100);
        const QList<Item> items = itemsOf(id);
        for (const Item &item : items) {
            const QRect place(item.x, item.y, item.w, item.h);
            QVERIFY2(item.w > 0 && item.h > 0 && printable.contains(place), qPrintable(item.name));
        }
        for (int i = 0; i < items.size(); ++i) {
            for (int j = i + 1; j < items.size(); ++j) {
                const QRect a(items[i].x, items[i].y, items[i].w, items[i].h);
                const QRect b(items[j].x, items[j].y, items[j].w, items[j].h);
                QVERIFY2(!a.intersects(b), qPrintable(items[i].name + QStringLiteral(" overlaps ") + items[j].name));
            }
        }
    }

    void screenPlacesAreThePaperPlacesScaled_data() { templateRows(); }
    void screenPlacesAreThePaperPlacesScaled()
    {
        QFETCH(int, id);
        const Template &t = templateOf(id);
        QVERIFY(t.screenWidth > 0 && t.screenWidth <= 1000 && t.screenHeight > 0 && t.screenHeight <= 640);
        // One scale for both axes: the picture keeps the form's proportions.
        QVERIFY(qAbs(double(t.screenWidth) / t.paperWidth - double(t.screenHeight) / t.paperHeight) < 0.002);
        const double sx = double(t.screenWidth) / t.paperWidth;
        const double sy = double(t.screenHeight) / t.paperHeight;
        for (const Item &item : itemsOf(id)) {
            const QByteArray what = item.name.toUtf8();
            QVERIFY2(qAbs(item.srcX - item.x * sx) <= 1 && qAbs(item.srcW - item.w * sx) <= 1, what);
            QVERIFY2(qAbs(item.srcY - item.y * sy) <= 1 && qAbs(item.srcH - item.h * sy) <= 1, what);
            QVERIFY2(item.srcH >= 18, what);
        }
    }

    // A broken line fits its box at the broken size (a full-width character
    // is one em wide), and equal-width advances are whole 0.1 mm.
    void printSettingsFitTheBoxes_data() { templateRows(); }
    void printSettingsFitTheBoxes()
    {
        QFETCH(int, id);
        int broken = 0;
        for (const Item &item : itemsOf(id)) {
            const QByteArray what = item.name.toUtf8();
            if (!item.breakNum.isEmpty()) {
                bool ok = false;
                const int perLine = item.breakNum.toInt(&ok);
                QVERIFY2(ok && perLine > 0, what);
                QVERIFY2(perLine * item.breakFontSize * 254.0 / 72.0 <= item.w, what);
                ++broken;
            }
            if (!item.fitParam.isEmpty()) {
                bool ok = false;
                QVERIFY2(item.fitParam.toInt(&ok) > 0 && ok, what);
            }
        }
        if (templateOf(id).kind == QStringLiteral("快递单"))
            QVERIFY(broken >= 2); // both addresses
    }
};

QTEST_GUILESS_MAIN(TestDefaultTemplates)
#include "test_default_templates.moc"
