// The entry layout designer's rules without a window: which control a field
// gets, a line's thickness in the spin boxes, keyboard moves at the picture's
// edges, the tick-box captions, and the writes of a save with their undo.

#include "design/DesignHistory.h"
#include "design/EntryLayout.h"
#include "support/TemplateFixture.h"
#include "templates/TemplateCatalog.h"

#include <QTest>

using namespace moque;
using design::ControlKind;
using design::Direction;
using test::addField;
using test::addItem;
using test::testKind;

Q_DECLARE_METATYPE(moque::design::ControlKind)
Q_DECLARE_METATYPE(moque::design::Direction)
Q_DECLARE_METATYPE(moque::design::CheckBoxListEdit::Outcome)

namespace {

const QString reminder = QStringLiteral("移动后不要忘记修正打印距左距顶参数，否则不会影响打印效果哦。");
const QString fasterHint = QStringLiteral("(Ctrl+Shift+方向键：可更快的移动),");

// Template 1001 of the test kind: ZDSKR has a print item, ZDNEW has none,
// ZDTWICE has two rows.
struct LayoutFixture
{
    test::TestData data;
    std::unique_ptr<design::DesignHistory> history;
    std::unique_ptr<design::EntryLayout> layout;

    bool open()
    {
        if (!test::openWithoutTemplates(data))
            return false;
        history = std::make_unique<design::DesignHistory>(data.db());
        layout = std::make_unique<design::EntryLayout>(data.db(), *history);
        return test::addTemplate(data, {.id = 1001, .name = QStringLiteral("样张")})
               && addField(data, QStringLiteral("ZDSKR"), 2) && addField(data, QStringLiteral("ZDNEW"), 5)
               && addField(data, QStringLiteral("ZDTWICE"), 1)
               && addField(data, QStringLiteral("LINE1"), 3, 1, testKind, QStringLiteral("line"))
               && addItem(data, {.templateId = 1001, .name = QStringLiteral("zdSkr"), .srcX = 120, .srcY = 45,
                                 .srcW = 200, .srcH = 24, .needShow = 1, .initValue = QStringLiteral("某公司")})
               && addItem(data, {.templateId = 1001, .name = QStringLiteral("ZDTWICE")})
               && addItem(data, {.templateId = 1001, .name = QStringLiteral("zdtwice")});
    }
    QVariant column(const QString &name, const QString &column) const
    {
        return data.scalar(QStringLiteral("select %1 from ckControl where CheckTypeID=1001 and upper(CtlName)=?")
                               .arg(column),
                           {name});
    }
    int rows(const QString &name) const
    {
        return data
            .scalar(QStringLiteral("select count(*) from ckControl where CheckTypeID=1001 and upper(CtlName)=?"),
                    {name})
            .toInt();
    }
};

design::EntrySave saveOf(const QRect &place, bool hidden = false)
{
    design::EntrySave v;
    v.place = place;
    v.hidden = hidden;
    v.initValue = QStringLiteral("  默认  ");
    v.fontName = QStringLiteral("黑体");
    v.fontSize = 12;
    v.bold = true;
    return v;
}

} // namespace

class TestEntryLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void controlKinds_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<ControlKind>("kind");
        QTest::newRow("empty is text") << QString() << ControlKind::Text;
        QTest::newRow("Text") << QStringLiteral("Text") << ControlKind::Text;
        QTest::newRow("shape") << QStringLiteral("shape") << ControlKind::Shape;
        QTest::newRow("LINE") << QStringLiteral("LINE") << ControlKind::Line;
        QTest::newRow("CHECKBOX") << QStringLiteral("CHECKBOX") << ControlKind::CheckBox;
        QTest::newRow("LABEL") << QStringLiteral(" label ") << ControlKind::Label;
        QTest::newRow("IMAGE has none") << QStringLiteral("IMAGE") << ControlKind::None;
        QTest::newRow("unknown has none") << QStringLiteral("MEMO") << ControlKind::None;
    }
    void controlKinds()
    {
        QFETCH(QString, type);
        QFETCH(ControlKind, kind);
        QCOMPARE(design::controlKindOf(type), kind);
    }

    void spinPlaceOfItems_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QSize>("printSize");
        QTest::addColumn<int>("bold");
        QTest::addColumn<QRect>("expected");
        // Screen place 30,40 of 200 x 9 in every row.
        QTest::newRow("horizontal line: height is Bold+1") << QStringLiteral("LINE") << QSize(500, 5) << 2
                                                           << QRect(30, 40, 200, 3);
        QTest::newRow("vertical line: width is Bold+1") << QStringLiteral("LINE") << QSize(5, 500) << 0
                                                        << QRect(30, 40, 1, 9);
        QTest::newRow("square counts as vertical") << QStringLiteral("LINE") << QSize(50, 50) << 4
                                                   << QRect(30, 40, 5, 9);
        QTest::newRow("text keeps its size") << QStringLiteral("TEXT") << QSize(500, 5) << 2
                                             << QRect(30, 40, 200, 9);
    }
    void spinPlaceOfItems()
    {
        QFETCH(QString, type);
        QFETCH(QSize, printSize);
        QFETCH(int, bold);
        QFETCH(QRect, expected);
        design::EntryItem item;
        item.type = type;
        item.x = 30;
        item.y = 40;
        item.w = 200;
        item.h = 9;
        item.printW = printSize.width();
        item.printH = printSize.height();
        item.boldValue = bold;
        QCOMPARE(design::spinPlace(item), expected);
    }

    void keyMoves_data()
    {
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<Direction>("direction");
        QTest::addColumn<int>("step");
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<QString>("message");
        // The picture is 600 x 400.
        QTest::newRow("left 15 by 10 stops at 10")
            << QPoint(15, 50) << Direction::Left << 10 << QPoint(10, 50)
            << QStringLiteral("左移了10像素") + reminder;
        QTest::newRow("left by 1") << QPoint(15, 50) << Direction::Left << 1 << QPoint(14, 50)
                                   << QStringLiteral("左移了1像素") + fasterHint + reminder;
        QTest::newRow("top 12 by 10 stops at 10") << QPoint(40, 12) << Direction::Up << 10 << QPoint(40, 10)
                                                  << QStringLiteral("上移了10像素") + reminder;
        QTest::newRow("down near the bottom stops at height-10")
            << QPoint(40, 385) << Direction::Down << 10 << QPoint(40, 390)
            << QStringLiteral("下移了10像素") + reminder;
        QTest::newRow("down at height-10 stays") << QPoint(40, 390) << Direction::Down << 1 << QPoint(40, 390)
                                                 << QStringLiteral("下移了1像素") + fasterHint + reminder;
        QTest::newRow("right near the edge stops at width-10")
            << QPoint(587, 40) << Direction::Right << 10 << QPoint(590, 40)
            << QStringLiteral("右移了10像素") + reminder;
        QTest::newRow("right in the middle") << QPoint(100, 40) << Direction::Right << 1 << QPoint(101, 40)
                                             << QStringLiteral("右移了1像素") + fasterHint + reminder;
    }
    void keyMoves()
    {
        QFETCH(QPoint, from);
        QFETCH(Direction, direction);
        QFETCH(int, step);
        QFETCH(QPoint, to);
        QFETCH(QString, message);
        const design::KeyMove move = design::moveByKey(QRect(from, QSize(80, 20)), direction, step, QSize(600, 400));
        QCOMPARE(move.place, QRect(to, QSize(80, 20)));
        QCOMPARE(move.message, message);
    }

    void keySizes_data()
    {
        QTest::addColumn<QSize>("from");
        QTest::addColumn<Direction>("direction");
        QTest::addColumn<QSize>("to");
        QTest::newRow("left narrows") << QSize(80, 20) << Direction::Left << QSize(79, 20);
        QTest::newRow("right widens") << QSize(80, 20) << Direction::Right << QSize(81, 20);
        QTest::newRow("up lowers") << QSize(80, 20) << Direction::Up << QSize(80, 19);
        QTest::newRow("down heightens") << QSize(80, 20) << Direction::Down << QSize(80, 21);
        QTest::newRow("width never below 1") << QSize(1, 20) << Direction::Left << QSize(1, 20);
        QTest::newRow("height never below 1") << QSize(80, 1) << Direction::Up << QSize(80, 1);
    }
    void keySizes()
    {
        QFETCH(QSize, from);
        QFETCH(Direction, direction);
        QFETCH(QSize, to);
        QCOMPARE(design::sizeByKey(QRect(QPoint(30, 30), from), direction), QRect(QPoint(30, 30), to));
    }

    void checkBoxCaptions_data()
    {
        using Outcome = design::CheckBoxListEdit::Outcome;
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("current");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<QString>("list");
        QTest::newRow("full-width comma and brackets") << QStringLiteral("甲，乙 (丙)") << QStringLiteral("甲")
                                                       << Outcome::Changed << QStringLiteral("甲,乙丙");
        QTest::newRow("quotes, marks and blanks go") << QStringLiteral(" 文件'*,%样品?（急） ") << QString()
                                                     << Outcome::Changed << QStringLiteral("文件,样品急");
        QTest::newRow("empty answer keeps the list") << QString() << QStringLiteral("甲,乙") << Outcome::Unchanged
                                                     << QString();
        QTest::newRow("same answer keeps the list") << QStringLiteral("甲,乙") << QStringLiteral("甲,乙")
                                                    << Outcome::Unchanged << QString();
        QTest::newRow("nothing left is refused") << QStringLiteral("(' ?*%)") << QStringLiteral("甲")
                                                 << Outcome::Invalid << QString();
    }
    void checkBoxCaptions()
    {
        using Outcome = design::CheckBoxListEdit::Outcome;
        QFETCH(QString, answer);
        QFETCH(QString, current);
        QFETCH(Outcome, outcome);
        QFETCH(QString, list);
        const design::CheckBoxListEdit edit = design::editCheckBoxList(answer, current);
        QCOMPARE(edit.outcome, outcome);
        QCOMPARE(edit.list, list);
        QCOMPARE(edit.message, outcome == Outcome::Invalid ? QStringLiteral("输入了无效的字符(引号\\?\\*\\(\\)\\%)!")
                                                           : QString());
    }

    void newItemTypes_data()
    {
        QTest::addColumn<ControlKind>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("type");
        QTest::newRow("edit box") << ControlKind::Text << QStringLiteral("ZDSKR") << QStringLiteral("TEXT");
        QTest::newRow("party shape") << ControlKind::Shape << QStringLiteral("shpHKR") << QStringLiteral("SHAPE");
        QTest::newRow("other party shape") << ControlKind::Shape << QStringLiteral("SHPSKR") << QStringLiteral("SHAPE");
        QTest::newRow("shape of a tick box") << ControlKind::Shape << QStringLiteral("DEFCHECK3")
                                             << QStringLiteral("CHECKBOX");
        QTest::newRow("line") << ControlKind::Line << QStringLiteral("LINE2") << QStringLiteral("LINE");
        QTest::newRow("other shape") << ControlKind::Shape << QStringLiteral("SHPBOX") << QStringLiteral("TEXT");
        QTest::newRow("check box control") << ControlKind::CheckBox << QStringLiteral("DEFCHECK0")
                                           << QStringLiteral("TEXT");
    }
    void newItemTypes()
    {
        QFETCH(ControlKind, kind);
        QFETCH(QString, name);
        QFETCH(QString, type);
        QCOMPARE(design::newItemType(kind, name), type);
    }

    void newItemCaptions_data()
    {
        QTest::addColumn<ControlKind>("kind");
        QTest::addColumn<QString>("listCaption");
        QTest::addColumn<QString>("expected");
        QTest::newRow("check box") << ControlKind::CheckBox << QStringLiteral("列表") << QStringLiteral("勾选-文件");
        QTest::newRow("edit box") << ControlKind::Text << QStringLiteral("列表") << QStringLiteral("提示");
        QTest::newRow("shape") << ControlKind::Shape << QStringLiteral("列表") << QStringLiteral("提示");
        QTest::newRow("label") << ControlKind::Label << QStringLiteral("列表") << QStringLiteral("列表");
        QTest::newRow("label without a list caption") << ControlKind::Label << QString() << QStringLiteral("NULL");
    }
    void newItemCaptions()
    {
        QFETCH(ControlKind, kind);
        QFETCH(QString, listCaption);
        QFETCH(QString, expected);
        QCOMPARE(design::newItemCaption(kind, QStringLiteral("文件"), QStringLiteral("提示"), listCaption), expected);
    }

    void controlsAndCaptions()
    {
        LayoutFixture f;
        QVERIFY(f.open());
        const QList<design::FieldControl> controls = f.layout->controls(1001, testKind);
        QCOMPARE(controls.size(), 4);
        QCOMPARE(controls[0].name, QStringLiteral("ZDSKR"));
        QVERIFY(controls[0].hasItem);
        QVERIFY(controls[0].shown);
        QCOMPARE(QRect(controls[0].x, controls[0].y, controls[0].w, controls[0].h), QRect(120, 45, 200, 24));
        QCOMPARE(controls[0].initValue, QStringLiteral("某公司"));
        // No print item: place, size and visibility 0.
        QCOMPARE(controls[1].name, QStringLiteral("ZDNEW"));
        QVERIFY(!controls[1].hasItem);
        QVERIFY(!controls[1].shown);
        QCOMPARE(QRect(controls[1].x, controls[1].y, controls[1].w, controls[1].h), QRect(0, 0, 0, 0));
        QCOMPARE(controls[3].kind, ControlKind::Line);

        QCOMPARE(f.layout->captions(testKind),
                 QStringList({QStringLiteral("ZDNEW标签"), QStringLiteral("LINE1标签"), QStringLiteral("ZDSKR标签"),
                              QStringLiteral("ZDTWICE标签")}));
        QCOMPARE(f.layout->fieldOfCaption(testKind, QStringLiteral("ZDNEW标签")), QStringLiteral("ZDNEW"));
        QCOMPARE(f.layout->fieldOfCaption(QStringLiteral("快递单"), QStringLiteral("ZDNEW标签")), QString());
    }

    void saveInsertsAMissingRow()
    {
        LayoutFixture f;
        QVERIFY(f.open());
        QCOMPARE(f.layout->save(1001, QStringLiteral("zdNew"), saveOf(QRect(30, 40, 90, 22), true),
                                QStringLiteral("TEXT"), QStringLiteral("新项目")),
                 design::SaveOutcome::Inserted);
        QCOMPARE(f.rows(QStringLiteral("ZDNEW")), 1);
        QCOMPARE(f.column(QStringLiteral("ZDNEW"), QStringLiteral("CtlName")).toString(), QStringLiteral("ZDNEW"));
        QCOMPARE(f.column(QStringLiteral("ZDNEW"), QStringLiteral("CtlType")).toString(), QStringLiteral("TEXT"));
        QCOMPARE(f.column(QStringLiteral("ZDNEW"), QStringLiteral("CtlCName")).toString(), QStringLiteral("新项目"));
        QCOMPARE(f.column(QStringLiteral("ZDNEW"), QStringLiteral("SrcW")).toInt(), 90);
        QCOMPARE(f.column(QStringLiteral("ZDNEW"), QStringLiteral("NeedShow")).toInt(), 0);
        QCOMPARE(f.column(QStringLiteral("ZDNEW"), QStringLiteral("NeedPrint")).toInt(), 0);
        QCOMPARE(f.column(QStringLiteral("ZDNEW"), QStringLiteral("InitValue")).toString(), QStringLiteral("默认"));
        QCOMPARE(f.column(QStringLiteral("ZDNEW"), QStringLiteral("Bold")).toInt(), 1);

        // Undo deletes the row, redo brings it back with its values.
        QCOMPARE(f.history->stack().count(), 1);
        f.history->stack().undo();
        QCOMPARE(f.rows(QStringLiteral("ZDNEW")), 0);
        f.history->stack().redo();
        QCOMPARE(f.rows(QStringLiteral("ZDNEW")), 1);
        QCOMPARE(f.column(QStringLiteral("ZDNEW"), QStringLiteral("SrcX")).toInt(), 30);
    }

    void saveUpdatesOneRowInOneStep()
    {
        LayoutFixture f;
        QVERIFY(f.open());
        QCOMPARE(f.layout->save(1001, QStringLiteral("ZDSKR"), saveOf(QRect(130, 50, 210, 26)), {}, {}),
                 design::SaveOutcome::Updated);
        QCOMPARE(f.rows(QStringLiteral("ZDSKR")), 1);
        QCOMPARE(f.column(QStringLiteral("ZDSKR"), QStringLiteral("SrcX")).toInt(), 130);
        QCOMPARE(f.column(QStringLiteral("ZDSKR"), QStringLiteral("CtlName")).toString(), QStringLiteral("ZDSKR"));
        QCOMPARE(f.column(QStringLiteral("ZDSKR"), QStringLiteral("CtlFontName")).toString(), QStringLiteral("黑体"));
        QCOMPARE(f.history->stack().count(), 1);

        f.history->stack().undo();
        QCOMPARE(f.column(QStringLiteral("ZDSKR"), QStringLiteral("SrcX")).toInt(), 120);
        QCOMPARE(f.column(QStringLiteral("ZDSKR"), QStringLiteral("SrcH")).toInt(), 24);
        QCOMPARE(f.column(QStringLiteral("ZDSKR"), QStringLiteral("InitValue")).toString(), QStringLiteral("某公司"));
        f.history->stack().redo();
        QCOMPARE(f.column(QStringLiteral("ZDSKR"), QStringLiteral("SrcY")).toInt(), 50);

        // Saving the same values again records nothing.
        QCOMPARE(f.layout->save(1001, QStringLiteral("ZDSKR"), saveOf(QRect(130, 50, 210, 26)), {}, {}),
                 design::SaveOutcome::Updated);
        QCOMPARE(f.history->stack().count(), 1);
    }

    void hiddenStopsPrinting()
    {
        LayoutFixture f;
        QVERIFY(f.open());
        QCOMPARE(f.layout->save(1001, QStringLiteral("ZDSKR"), saveOf(QRect(120, 45, 200, 24), true), {}, {}),
                 design::SaveOutcome::Updated);
        QCOMPARE(f.column(QStringLiteral("ZDSKR"), QStringLiteral("NeedShow")).toInt(), 0);
        QCOMPARE(f.column(QStringLiteral("ZDSKR"), QStringLiteral("NeedPrint")).toInt(), 0);
    }

    void severalRowsRefuseTheSave()
    {
        LayoutFixture f;
        QVERIFY(f.open());
        QCOMPARE(f.layout->save(1001, QStringLiteral("ZDTWICE"), saveOf(QRect(99, 99, 99, 9)), {}, {}),
                 design::SaveOutcome::Refused);
        QCOMPARE(f.layout->errorText(), QStringLiteral("错误:CKControlTable ZDTWICE not found!"));
        QCOMPARE(f.data.scalar(QStringLiteral("select count(*) from ckControl where SrcX=99")).toInt(), 0);
        QCOMPARE(f.history->stack().count(), 0);
    }

    void checkBoxListIsUndoable()
    {
        LayoutFixture f;
        QVERIFY(f.open());
        QVERIFY(f.data.exec(QStringLiteral("update CKTypeTable set CheckBoxs='甲' where CheckTypeID=1001")));
        QCOMPARE(f.layout->checkBoxes(1001), QStringLiteral("甲"));
        QVERIFY(f.layout->setCheckBoxes(1001, QStringLiteral("甲,乙丙")));
        QCOMPARE(f.layout->checkBoxes(1001), QStringLiteral("甲,乙丙"));
        f.history->stack().undo();
        QCOMPARE(f.layout->checkBoxes(1001), QStringLiteral("甲"));
    }

    void startingTemplate()
    {
        LayoutFixture f;
        QVERIFY(f.open());
        QVERIFY(test::addTemplate(f.data, {.id = 1002, .name = QStringLiteral("默认样张"),
                                           .isDefault = templates::marker::isDefault}));
        templates::TemplateCatalog catalog(f.data.db(), f.data.dialogs, f.data.core->store());
        QCOMPARE(design::chooseTemplate(catalog, 1001, 1002), 1001);
        QCOMPARE(design::chooseTemplate(catalog, 0, 1002), 1002);
        // A number naming no template counts as none.
        QCOMPARE(design::chooseTemplate(catalog, 4711, 1001), 1001);
        QVERIFY(f.data.exec(QStringLiteral("delete from NameDict where CheckTypeName<>?"), {testKind}));
        QCOMPARE(design::chooseTemplate(catalog, 0, 0), 1002);
        QVERIFY(f.data.exec(QStringLiteral("delete from CKTypeTable")));
        f.data.dialogs.clear();
        QVERIFY(design::chooseTemplate(catalog, 0, 0) <= 0);
        QVERIFY(!f.data.dialogs.shown.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestEntryLayout)
#include "test_entry_layout.moc"
