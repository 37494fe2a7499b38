// Applying a template cache to a window: controls found by name in any letter
// case, placed or hidden, and given their start values.

#include "support/TemplateFixture.h"
#include "support/Widgets.h"
#include "templates/FormPlacement.h"
#include "templates/PrintItemStore.h"
#include "templates/TemplateCache.h"
#include "templates/TemplateCatalog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QWidget>

using namespace moque;
using test::addField;
using test::addItem;
using test::child;
using test::testKind;

namespace {

// An entry window whose controls carry field names in mixed letter case, some
// inside a frame, with a template whose cache places them.
struct PlacementFixture
{
    test::TestData data;
    std::unique_ptr<templates::TemplateCatalog> catalog;
    std::unique_ptr<templates::TemplateCache> cache;
    QWidget window;

    bool open()
    {
        if (!test::openWithoutTemplates(data) || !test::addTemplate(data, {.id = 1001, .name = QStringLiteral("样张")}))
            return false;
        for (const char *name : {"ZDSKR", "ZDHIDE", "ZDNOITEM", "DEFCHECK0", "DEFCHECK1", "ZDCOMBO", "ZDLIST",
                                 "ZDMEMO", "ZDLABEL"})
            if (!addField(data, QLatin1String(name)))
                return false;
        const QList<test::ItemSpec> items{
            {.templateId = 1001, .name = QStringLiteral("zdskr"), .srcX = 120, .srcY = 45, .srcW = 200, .srcH = 24,
             .initValue = QStringLiteral("某公司")},
            {.templateId = 1001, .name = QStringLiteral("ZDHIDE"), .needShow = 0, .initValue = QStringLiteral("藏")},
            {.templateId = 1001, .name = QStringLiteral("DEFCHECK0"), .srcX = 300, .initValue = QStringLiteral("1")},
            {.templateId = 1001, .name = QStringLiteral("DEFCHECK1"), .srcX = 320},
            {.templateId = 1001, .name = QStringLiteral("ZDCOMBO"), .initValue = QStringLiteral("顺丰")},
            {.templateId = 1001, .name = QStringLiteral("ZDLIST"), .initValue = QStringLiteral("乙")},
            {.templateId = 1001, .name = QStringLiteral("ZDMEMO"), .initValue = QStringLiteral("多行")},
            {.templateId = 1001, .name = QStringLiteral("ZDLABEL"), .initValue = QStringLiteral("标题")},
            // Not a field of the kind: its control is left alone.
            {.templateId = 1001, .name = QStringLiteral("ZDOTHER"), .needShow = 0},
        };
        for (const test::ItemSpec &i : items)
            if (!addItem(data, i))
                return false;
        catalog = std::make_unique<templates::TemplateCatalog>(data.db(), data.dialogs, data.core->store());
        cache = std::make_unique<templates::TemplateCache>(*catalog, data.dialogs, data.core->dir());

        auto *frame = new QFrame(&window);
        frame->setObjectName(QStringLiteral("pnlMain"));
        addControl(new QLineEdit(frame), "zdSKR");
        addControl(new QLineEdit(&window), "ZDHIDE");
        addControl(new QLineEdit(&window), "zdNoItem");
        addControl(new QCheckBox(frame), "defCheck0");
        addControl(new QCheckBox(&window), "DEFCHECK1")->setChecked(true);
        auto *combo = addControl(new QComboBox(&window), "zdCombo");
        combo->setEditable(true);
        combo->addItems({QStringLiteral("申通"), QStringLiteral("圆通")});
        addControl(new QComboBox(&window), "ZDLIST")->addItems({QStringLiteral("甲"), QStringLiteral("乙"),
                                                                QStringLiteral("丙")});
        addControl(new QPlainTextEdit(&window), "zdMemo");
        addControl(new QLabel(&window), "zdLabel");
        addControl(new QLineEdit(&window), "zdOther")->setText(QStringLiteral("原值"));
        return true;
    }

    template<typename T>
    T *addControl(T *control, const char *name)
    {
        control->setObjectName(QLatin1String(name));
        control->setGeometry(1, 2, 3, 4);
        return control;
    }

    void apply(const templates::TemplateCacheFile *file)
    {
        templates::PrintItemStore items(data.db());
        ui::setFormControlsPosition(testKind, &window, file, items, data.dialogs);
    }
};

} // namespace

class TestTemplatesPlacement : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void controlsPlacedOrHidden_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("hidden");
        QTest::addColumn<QRect>("geometry");

        QTest::newRow("shown at its place") << QStringLiteral("zdSKR") << false << QRect(120, 45, 200, 24);
        QTest::newRow("NeedShow 0") << QStringLiteral("ZDHIDE") << true << QRect(1, 2, 3, 4);
        QTest::newRow("no print item") << QStringLiteral("zdNoItem") << true << QRect(1, 2, 3, 4);
        QTest::newRow("tick box") << QStringLiteral("defCheck0") << false << QRect(300, 10, 50, 20);
        QTest::newRow("not a field of the kind") << QStringLiteral("zdOther") << false << QRect(1, 2, 3, 4);
    }

    void controlsPlacedOrHidden()
    {
        QFETCH(QString, control);
        QFETCH(bool, hidden);
        QFETCH(QRect, geometry);
        PlacementFixture f;
        QVERIFY(f.open());
        const auto file = f.cache->OpenCheckInif(1001);
        QVERIFY(file);
        f.apply(file.get());

        QWidget *w = child(&f.window, control.toLatin1().constData());
        QCOMPARE(w->isHidden(), hidden);
        QCOMPARE(w->geometry(), geometry);
        QVERIFY(f.data.dialogs.shown.isEmpty());
    }

    void startValues()
    {
        PlacementFixture f;
        QVERIFY(f.open());
        auto *unticked = new QCheckBox(&f.window);
        unticked->setObjectName(QStringLiteral("DEFCHECK2"));
        QVERIFY(addField(f.data, QStringLiteral("DEFCHECK2")));
        QVERIFY(addItem(f.data, {.templateId = 1001, .name = QStringLiteral("DEFCHECK2")}));
        const auto file = f.cache->OpenCheckInif(1001);
        f.apply(file.get());

        QCOMPARE(child<QLineEdit>(&f.window, "zdSKR")->text(), QStringLiteral("某公司"));
        QCOMPARE(child<QLineEdit>(&f.window, "ZDHIDE")->text(), QStringLiteral("藏"));
        QVERIFY(child<QCheckBox>(&f.window, "defCheck0")->isChecked());
        // An empty start value leaves a tick box as it is, ticked or not.
        QVERIFY(child<QCheckBox>(&f.window, "DEFCHECK1")->isChecked());
        QVERIFY(!unticked->isChecked());
        QCOMPARE(child<QComboBox>(&f.window, "zdCombo")->currentText(), QStringLiteral("顺丰"));
        QCOMPARE(child<QComboBox>(&f.window, "ZDLIST")->currentIndex(), 1);
        QCOMPARE(child<QPlainTextEdit>(&f.window, "zdMemo")->toPlainText(), QStringLiteral("多行"));
        QCOMPARE(child<QLabel>(&f.window, "zdLabel")->text(), QStringLiteral("标题"));
        QCOMPARE(child<QLineEdit>(&f.window, "zdOther")->text(), QStringLiteral("原值"));
    }

    void oneFieldByName()
    {
        PlacementFixture f;
        QVERIFY(f.open());
        const auto file = f.cache->OpenCheckInif(1001);
        ui::setFormCtlPositionFromIni(QStringLiteral("ZDSKR"), *file, &f.window);
        QCOMPARE(child(&f.window, "zdSKR")->geometry(), QRect(120, 45, 200, 24));
        QVERIFY(!child(&f.window, "ZDHIDE")->isHidden());
        ui::setFormCtlPositionFromIni(QStringLiteral("NOSUCHFIELD"), *file, &f.window);
        ui::setFormCtlPositionFromIni(QStringLiteral("ZDSKR"), *file, nullptr);
    }

    void nothingWithoutCache()
    {
        PlacementFixture f;
        QVERIFY(f.open());
        f.apply(nullptr);
        QVERIFY(!child(&f.window, "ZDHIDE")->isHidden());
        QCOMPARE(child(&f.window, "zdSKR")->geometry(), QRect(1, 2, 3, 4));
        QVERIFY(f.data.dialogs.shown.isEmpty());
    }

    void dictionaryErrorIsShown()
    {
        PlacementFixture f;
        QVERIFY(f.open());
        const auto file = f.cache->OpenCheckInif(1001);
        QVERIFY(f.data.exec(QStringLiteral("drop table NameDict")));
        f.apply(file.get());
        QCOMPARE(f.data.dialogs.shown.size(), 1);
        QVERIFY2(f.data.dialogs.lastText().startsWith(QStringLiteral("调入项目参数失败!"))
                     && f.data.dialogs.lastText().contains(QStringLiteral("NameDict"), Qt::CaseInsensitive),
                 qPrintable(f.data.dialogs.lastText()));
        QVERIFY(!child(&f.window, "ZDHIDE")->isHidden());
    }
};

QTEST_MAIN(TestTemplatesPlacement)
#include "test_templates_placement.moc"
