// The entry layout designer driven through its controls: selecting items on
// the picture and in the list, saving, moving by buttons, keys and the mouse,
// the tick-box captions, undo and redo, and the cache its closing rebuilds.

#include "designers/DesignControls.h"
#include "designers/EntryLayoutDesigner.h"
#include "support/TemplateFixture.h"
#include "support/Widgets.h"
#include "templates/TemplateCache.h"
#include "templates/TemplateCatalog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

using namespace moque;
using test::addField;
using test::addItem;
using test::child;
using test::testKind;

namespace {

const QString reminder = QStringLiteral("移动后不要忘记修正打印距左距顶参数，否则不会影响打印效果哦。");
const QString fasterHint = QStringLiteral("(Ctrl+Shift+方向键：可更快的移动),");

// Template 1001 (600 x 400 with a picture): ZDSKR placed at 120,45 (200 x 24),
// ZDNEW without a print item, a horizontal line LINE1 printed with Bold 2,
// the tick box DEFCHECK0. Template 1002 has no picture and no print items.
struct DesignerFixture
{
    test::TestData data;

    bool open()
    {
        if (!test::openWithoutTemplates(data))
            return false;
        QImage picture(600, 400, QImage::Format_RGB32);
        picture.fill(Qt::white);
        return QDir().mkpath(data.core->dir().imageDir())
               && picture.save(data.core->dir().imageDir() + QStringLiteral("t1001.jpg"))
               && test::addTemplate(data, {.id = 1001, .name = QStringLiteral("样张")})
               && test::addTemplate(data, {.id = 1002, .name = QStringLiteral("无图")})
               && data.exec(QStringLiteral("update CKTypeTable set TWidth=600,THeight=400,ImgFile='t1001.jpg',"
                                           "CheckBoxs='甲,乙' where CheckTypeID=1001"))
               && data.exec(QStringLiteral("update CKTypeTable set TWidth=500,THeight=300,ImgFile='none.jpg' "
                                           "where CheckTypeID=1002"))
               && addField(data, QStringLiteral("ZDSKR"), 1) && addField(data, QStringLiteral("ZDNEW"), 2)
               && addField(data, QStringLiteral("LINE1"), 3, 1, testKind, QStringLiteral("LINE"))
               && addField(data, QStringLiteral("DEFCHECK0"), 4, 1, testKind, QStringLiteral("CHECKBOX"))
               && addItem(data, {.templateId = 1001, .name = QStringLiteral("ZDSKR"), .srcX = 120, .srcY = 45,
                                 .srcW = 200, .srcH = 24})
               && addItem(data, {.templateId = 1001, .name = QStringLiteral("LINE1"), .srcX = 50, .srcY = 300,
                                 .srcW = 200, .srcH = 1})
               && data.exec(QStringLiteral("update ckControl set CtlType='LINE',CtlW=500,CtlH=5,Bold=2 "
                                           "where CtlName='LINE1'"))
               && addItem(data, {.templateId = 1001, .name = QStringLiteral("DEFCHECK0"), .srcX = 300,
                                 .srcY = 200, .srcW = 60, .srcH = 20});
    }
    QVariant column(const QString &name, const QString &column, int templateId = 1001) const
    {
        return data.scalar(
            QStringLiteral("select %1 from ckControl where CheckTypeID=? and upper(CtlName)=?").arg(column),
            {templateId, name});
    }
    int rows(const QString &name, int templateId = 1001) const
    {
        return data
            .scalar(QStringLiteral("select count(*) from ckControl where CheckTypeID=? and upper(CtlName)=?"),
                    {templateId, name})
            .toInt();
    }
    std::unique_ptr<ui::EntryLayoutDesigner> openDesigner(int templateId = 1001)
    {
        auto designer = std::make_unique<ui::EntryLayoutDesigner>(*data.core, templateId);
        designer->show();
        return designer;
    }
};

QWidget *panelControl(const ui::EntryLayoutDesigner &designer, const char *name)
{
    return child(child(&designer, "panelImgBg"), name);
}

// Presses and releases the mouse on a control of the picture, as a click selects it.
void pick(const ui::EntryLayoutDesigner &designer, const char *name)
{
    QWidget *control = panelControl(designer, name);
    QTest::mousePress(control, Qt::LeftButton, {}, QPoint(3, 3));
    QTest::mouseRelease(control, Qt::LeftButton, {}, QPoint(3, 3));
}

void clickCaption(const ui::EntryLayoutDesigner &designer, const QString &caption)
{
    auto *list = child<QListWidget>(&designer, "listCtlLabel");
    const QList<QListWidgetItem *> found = list->findItems(caption, Qt::MatchExactly);
    QVERIFY2(found.size() == 1, qPrintable(caption));
    list->scrollToItem(found.first());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.first()).center());
}

int spin(const ui::EntryLayoutDesigner &designer, const char *name)
{
    return child<QSpinBox>(&designer, name)->value();
}

QString message(const ui::EntryLayoutDesigner &designer)
{
    return child<QLabel>(&designer, "lbMessage")->text();
}

} // namespace

class TestEntryDesigner : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void opensOnTheTemplate()
    {
        DesignerFixture f;
        QVERIFY(f.open());
        auto designer = f.openDesigner();
        QVERIFY(designer->isUsable());
        QCOMPARE(designer->objectName(), QStringLiteral("fmCheckDesign"));
        QCOMPARE(child<QComboBox>(designer.get(), "cbCheckTypeNameList")->currentText(), testKind);
        QCOMPARE(child<QComboBox>(designer.get(), "cbTypeLastName")->currentText(), QStringLiteral("样张"));
        auto *list = child<QListWidget>(designer.get(), "listCtlLabel");
        QCOMPARE(list->count(), 4);
        QCOMPARE(list->item(0)->text(), QStringLiteral("DEFCHECK0标签"));
        QVERIFY(!child<QLabel>(designer.get(), "bgImage")->pixmap().isNull());
        QCOMPARE(child<QLabel>(designer.get(), "bgImage")->size(), QSize(600, 400));

        auto *edit = qobject_cast<QLineEdit *>(panelControl(*designer, "ZDSKR"));
        QVERIFY(edit);
        QVERIFY(edit->isReadOnly());
        QCOMPARE(edit->geometry(), QRect(120, 45, 200, 24));
        QVERIFY(edit->isVisible());
        QVERIFY(panelControl(*designer, "ZDNEW")->isHidden());
        auto *line = qobject_cast<ui::DesignShape *>(panelControl(*designer, "LINE1"));
        QVERIFY(line && line->isLine());
        QCOMPARE(line->size(), QSize(200, 1));
        // The tick box carries the template's first option caption.
        auto *box = qobject_cast<QCheckBox *>(panelControl(*designer, "DEFCHECK0"));
        QVERIFY(box);
        QCOMPARE(box->text(), QStringLiteral("甲"));
    }

    void selectingAFieldWithoutItemCreatesIt()
    {
        DesignerFixture f;
        QVERIFY(f.open());
        auto designer = f.openDesigner();
        QCOMPARE(f.rows(QStringLiteral("ZDNEW")), 0);
        clickCaption(*designer, QStringLiteral("ZDNEW标签"));
        QCOMPARE(f.rows(QStringLiteral("ZDNEW")), 1);
        QCOMPARE(f.column(QStringLiteral("ZDNEW"), QStringLiteral("CtlType")).toString(), QStringLiteral("TEXT"));
        QCOMPARE(f.column(QStringLiteral("ZDNEW"), QStringLiteral("CtlCName")).toString(),
                 QStringLiteral("ZDNEW标签"));
        QCOMPARE(child<QLabel>(designer.get(), "lbStatus0")->text(),
                 QStringLiteral("还没有该项打印配置信息,添加一个！"));
        QCOMPARE(child<QLabel>(designer.get(), "lbStatus1")->text(), QStringLiteral("ZDNEW"));
        QCOMPARE(designer->windowTitle(), QStringLiteral("'ZDNEW标签' 打印细节修改成功！"));

        // Undo deletes the row made by the selection, redo makes it again.
        test::click(designer.get(), "btUndo");
        QCOMPARE(f.rows(QStringLiteral("ZDNEW")), 0);
        test::click(designer.get(), "btRedo");
        QCOMPARE(f.rows(QStringLiteral("ZDNEW")), 1);
    }

    void hiddenAndSavedStopsShowAndPrint()
    {
        DesignerFixture f;
        QVERIFY(f.open());
        auto designer = f.openDesigner();
        pick(*designer, "ZDSKR");
        QCOMPARE(child<QLabel>(designer.get(), "lbStatus0")->text(), QStringLiteral("当前调整:ZDSKR标签"));
        auto *hidden = child<QCheckBox>(designer.get(), "ckHidden");
        QVERIFY(!hidden->isChecked());
        hidden->click();
        QVERIFY(panelControl(*designer, "ZDSKR")->isHidden());
        f.data.dialogs.clear();
        test::click(designer.get(), "btSaveCheck");
        QCOMPARE(f.data.dialogs.lastText(), QStringLiteral("'ZDSKR标签' 打印细节修改成功！"));
        QCOMPARE(f.column(QStringLiteral("ZDSKR"), QStringLiteral("NeedShow")).toInt(), 0);
        QCOMPARE(f.column(QStringLiteral("ZDSKR"), QStringLiteral("NeedPrint")).toInt(), 0);
    }

    void keyboardMoves_data()
    {
        QTest::addColumn<QPoint>("start");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QRect>("place");
        QTest::addColumn<QString>("shown");
        const int ctrl = Qt::ControlModifier;
        const int ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
        QTest::newRow("ctrl+shift+left at 15 stops at 10")
            << QPoint(15, 100) << int(Qt::Key_Left) << ctrlShift << QRect(10, 100, 200, 24)
            << QStringLiteral("左移了10像素") + reminder;
        QTest::newRow("ctrl+down at the bottom margin stays")
            << QPoint(40, 390) << int(Qt::Key_Down) << ctrl << QRect(40, 390, 200, 24)
            << QStringLiteral("下移了1像素") + fasterHint + reminder;
        QTest::newRow("ctrl+shift+down near the bottom stops at height-10")
            << QPoint(40, 385) << int(Qt::Key_Down) << ctrlShift << QRect(40, 390, 200, 24)
            << QStringLiteral("下移了10像素") + reminder;
        QTest::newRow("ctrl+up moves by 1") << QPoint(40, 100) << int(Qt::Key_Up) << ctrl << QRect(40, 99, 200, 24)
                                            << QStringLiteral("上移了1像素") + fasterHint + reminder;
        QTest::newRow("shift+right widens") << QPoint(40, 100) << int(Qt::Key_Right) << int(Qt::ShiftModifier)
                                            << QRect(40, 100, 201, 24) << QString();
        QTest::newRow("shift+up lowers") << QPoint(40, 100) << int(Qt::Key_Up) << int(Qt::ShiftModifier)
                                         << QRect(40, 100, 200, 23) << QString();
    }
    void keyboardMoves()
    {
        QFETCH(QPoint, start);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QRect, place);
        QFETCH(QString, shown);
        DesignerFixture f;
        QVERIFY(f.open());
        QVERIFY(f.data.exec(QStringLiteral("update ckControl set SrcX=?,SrcY=? where CtlName='ZDSKR'"),
                            {start.x(), start.y()}));
        auto designer = f.openDesigner();
        pick(*designer, "ZDSKR");
        QTest::keyClick(designer.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(panelControl(*designer, "ZDSKR")->geometry(), place);
        QCOMPARE(QRect(spin(*designer, "SrcX"), spin(*designer, "SrcY"), spin(*designer, "SrcW"),
                       spin(*designer, "SrcH")),
                 place);
        QCOMPARE(message(*designer), shown);
        // A key change waits for the next save.
        QCOMPARE(f.column(QStringLiteral("ZDSKR"), QStringLiteral("SrcX")).toInt(), start.x());
        test::click(designer.get(), "btSaveCheck");
        QCOMPARE(QRect(f.column(QStringLiteral("ZDSKR"), QStringLiteral("SrcX")).toInt(),
                       f.column(QStringLiteral("ZDSKR"), QStringLiteral("SrcY")).toInt(),
                       f.column(QStringLiteral("ZDSKR"), QStringLiteral("SrcW")).toInt(),
                       f.column(QStringLiteral("ZDSKR"), QStringLiteral("SrcH")).toInt()),
                 place);
    }

    void spinBoxesMoveAtOnceAndSaveWhenLeft_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("enter") << int(Qt::Key_Return);
        QTest::newRow("a letter ends the entry as enter does") << int(Qt::Key_A);
    }
    void spinBoxesMoveAtOnceAndSaveWhenLeft()
    {
        QFETCH(int, key);
        DesignerFixture f;
        QVERIFY(f.open());
        auto designer = f.openDesigner();
        auto *srcX = child<QSpinBox>(designer.get(), "SrcX");
        f.data.dialogs.clear();
        srcX->setValue(77);
        QCOMPARE(f.data.dialogs.lastText(), QStringLiteral("请选择左侧需要配置或修改的项目！"));

        pick(*designer, "ZDSKR");
        srcX->setValue(150);
        QCOMPARE(panelControl(*designer, "ZDSKR")->pos(), QPoint(150, 45));
        QCOMPARE(f.column(QStringLiteral("ZDSKR"), QStringLiteral("SrcX")).toInt(), 120);
        QTest::keyClick(srcX, Qt::Key(key));
        QCOMPARE(srcX->value(), 150);
        QCOMPARE(f.column(QStringLiteral("ZDSKR"), QStringLiteral("SrcX")).toInt(), 150);
        QCOMPARE(designer->windowTitle(), QStringLiteral("'ZDSKR标签' 打印细节修改成功！"));
    }

    void savingWithoutAnItemSaysHowToChoose()
    {
        DesignerFixture f;
        QVERIFY(f.open());
        auto designer = f.openDesigner();
        f.data.dialogs.clear();
        test::click(designer.get(), "btSaveCheck");
        QCOMPARE(f.data.dialogs.texts(),
                 QStringList{QStringLiteral("部分未启用项目，可以点击左侧列表中的数据项目选中！")});
    }

    void mouseOverThePictureShowsWhere()
    {
        DesignerFixture f;
        QVERIFY(f.open());
        auto designer = f.openDesigner();
        auto *picture = child<QLabel>(designer.get(), "bgImage");
        QMouseEvent move(QEvent::MouseMove, QPointF(40, 30), picture->mapToGlobal(QPointF(40, 30)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(picture, &move);
        QCOMPARE(child<QLabel>(designer.get(), "lbStatus0")->text(), QStringLiteral("(42,30)"));
    }

    void lineShowsItsPrintedThickness()
    {
        DesignerFixture f;
        QVERIFY(f.open());
        auto designer = f.openDesigner();
        clickCaption(*designer, QStringLiteral("LINE1标签"));
        QCOMPARE(spin(*designer, "SrcH"), 3);
        QCOMPARE(spin(*designer, "SrcW"), 200);
        QCOMPARE(panelControl(*designer, "LINE1")->size(), QSize(200, 3));
    }

    void draggingWritesOnceOnDrop()
    {
        DesignerFixture f;
        QVERIFY(f.open());
        auto designer = f.openDesigner();
        QWidget *control = panelControl(*designer, "ZDSKR");
        QTest::mousePress(control, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseMove(control, QPoint(20, 10));
        QTest::mouseMove(control, QPoint(30, 20));
        QCOMPARE(control->pos(), QPoint(170, 75));
        QCOMPARE(spin(*designer, "SrcX"), 170);
        QCOMPARE(message(*designer),
                 QStringLiteral("拖动了【ZDSKR标签】(精确移动请试试，Ctrl+方向键),拖动不会影响打印位置！"));
        QCOMPARE(f.column(QStringLiteral("ZDSKR"), QStringLiteral("SrcX")).toInt(), 120);
        QCOMPARE(designer->history().stack().count(), 0);
        f.data.dialogs.clear();
        QTest::mouseRelease(control, Qt::LeftButton, {}, QPoint(0, 0));
        QCOMPARE(f.column(QStringLiteral("ZDSKR"), QStringLiteral("SrcX")).toInt(), 170);
        QCOMPARE(f.column(QStringLiteral("ZDSKR"), QStringLiteral("SrcY")).toInt(), 75);
        QCOMPARE(designer->history().stack().count(), 1);
        // A drop reports nothing.
        QVERIFY(f.data.dialogs.shown.isEmpty());
        QCOMPARE(designer->windowTitle(), QStringLiteral("模板设计"));
    }

    void moveButtonsStepByTheBar_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QPoint>("place");
        QTest::newRow("right") << QStringLiteral("btRunR") << QPoint(127, 45);
        QTest::newRow("left") << QStringLiteral("btRunL") << QPoint(113, 45);
        QTest::newRow("up") << QStringLiteral("btRunU") << QPoint(120, 38);
        QTest::newRow("down") << QStringLiteral("btRunD") << QPoint(120, 52);
    }
    void moveButtonsStepByTheBar()
    {
        QFETCH(QString, button);
        QFETCH(QPoint, place);
        DesignerFixture f;
        QVERIFY(f.open());
        auto designer = f.openDesigner();
        f.data.dialogs.clear();
        test::click(designer.get(), qPrintable(button));
        QCOMPARE(f.data.dialogs.lastText(), QStringLiteral("请选取或点中需要配置或修改的项目！"));

        pick(*designer, "ZDSKR");
        child<QSlider>(designer.get(), "barMM")->setValue(7);
        test::click(designer.get(), qPrintable(button));
        QCOMPARE(QPoint(f.column(QStringLiteral("ZDSKR"), QStringLiteral("SrcX")).toInt(),
                        f.column(QStringLiteral("ZDSKR"), QStringLiteral("SrcY")).toInt()),
                 place);
        QCOMPARE(panelControl(*designer, "ZDSKR")->pos(), place);
        QCOMPARE(message(*designer), QStringLiteral("移动填写项目并不会影响打印位置"));
        QCOMPARE(designer->windowTitle(), QStringLiteral("'ZDSKR标签' 打印细节修改成功！"));
    }

    void sizeButtonsReportTheSave_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QSize>("size");
        QTest::newRow("higher") << QStringLiteral("btHJia") << QSize(200, 25);
        QTest::newRow("lower") << QStringLiteral("btHJian") << QSize(200, 23);
        QTest::newRow("wider") << QStringLiteral("btWJia") << QSize(201, 24);
        QTest::newRow("narrower") << QStringLiteral("btWJian") << QSize(199, 24);
    }
    void sizeButtonsReportTheSave()
    {
        QFETCH(QString, button);
        QFETCH(QSize, size);
        DesignerFixture f;
        QVERIFY(f.open());
        auto designer = f.openDesigner();
        f.data.dialogs.clear();
        test::click(designer.get(), qPrintable(button));
        QCOMPARE(f.data.dialogs.lastText(), QStringLiteral("请选择左侧需要配置或修改的项目！"));

        pick(*designer, "ZDSKR");
        f.data.dialogs.clear();
        test::click(designer.get(), qPrintable(button));
        QCOMPARE(f.data.dialogs.texts(), QStringList{QStringLiteral("'ZDSKR标签' 打印细节修改成功！")});
        QCOMPARE(QSize(f.column(QStringLiteral("ZDSKR"), QStringLiteral("SrcW")).toInt(),
                       f.column(QStringLiteral("ZDSKR"), QStringLiteral("SrcH")).toInt()),
                 size);
        QCOMPARE(panelControl(*designer, "ZDSKR")->size(), size);
    }

    void undoAndRedoAMove()
    {
        DesignerFixture f;
        QVERIFY(f.open());
        auto designer = f.openDesigner();
        pick(*designer, "ZDSKR");
        child<QSlider>(designer.get(), "barMM")->setValue(5);
        test::click(designer.get(), "btRunR");
        test::click(designer.get(), "btRunD");
        QCOMPARE(f.column(QStringLiteral("ZDSKR"), QStringLiteral("SrcX")).toInt(), 125);

        test::click(designer.get(), "btUndo");
        QCOMPARE(f.column(QStringLiteral("ZDSKR"), QStringLiteral("SrcY")).toInt(), 45);
        QCOMPARE(f.column(QStringLiteral("ZDSKR"), QStringLiteral("SrcX")).toInt(), 125);
        test::click(designer.get(), "btUndo");
        QCOMPARE(f.column(QStringLiteral("ZDSKR"), QStringLiteral("SrcX")).toInt(), 120);
        QCOMPARE(spin(*designer, "SrcX"), 120);
        QCOMPARE(panelControl(*designer, "ZDSKR")->pos(), QPoint(120, 45));
        QVERIFY(!child<QWidget>(designer.get(), "btUndo")->isEnabled());

        test::click(designer.get(), "btRedo");
        QCOMPARE(f.column(QStringLiteral("ZDSKR"), QStringLiteral("SrcX")).toInt(), 125);
        QCOMPARE(spin(*designer, "SrcX"), 125);
        QCOMPARE(panelControl(*designer, "ZDSKR")->pos(), QPoint(125, 45));
    }

    void tickBoxCaptions_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("firstCaption");
        QTest::addColumn<QString>("shown");
        QTest::newRow("cleaned list") << QStringLiteral("丙，丁 (戊)") << QStringLiteral("丙,丁戊") << QStringLiteral("丙")
                                      << QString();
        QTest::newRow("empty answer keeps the list") << QString() << QStringLiteral("甲,乙") << QStringLiteral("甲")
                                                     << QString();
        QTest::newRow("nothing valid") << QStringLiteral("(*?)") << QStringLiteral("甲,乙") << QStringLiteral("甲")
                                       << QStringLiteral("输入了无效的字符(引号\\?\\*\\(\\)\\%)!");
    }
    void tickBoxCaptions()
    {
        QFETCH(QString, answer);
        QFETCH(QString, stored);
        QFETCH(QString, firstCaption);
        QFETCH(QString, shown);
        DesignerFixture f;
        QVERIFY(f.open());
        auto designer = f.openDesigner();
        f.data.dialogs.clear();
        f.data.dialogs.inputs.enqueue(answer);
        child<QAction>(designer.get(), "miCheckBoxSet")->trigger();
        QCOMPARE(f.data.dialogs.shown.first().text, QStringLiteral("输入勾选项目(以逗号分隔,最多13个,不得重复)："));
        QCOMPARE(f.data.dialogs.shown.first().caption, QStringLiteral("甲,乙|string"));
        QCOMPARE(f.data.scalar(QStringLiteral("select CheckBoxs from CKTypeTable where CheckTypeID=1001")).toString(),
                 stored);
        QCOMPARE(qobject_cast<QCheckBox *>(panelControl(*designer, "DEFCHECK0"))->text(), firstCaption);
        QCOMPARE(f.data.dialogs.shown.size() > 1 ? f.data.dialogs.lastText() : QString(), shown);
    }

    void undoingTickBoxCaptions()
    {
        DesignerFixture f;
        QVERIFY(f.open());
        QVERIFY(f.data.exec(QStringLiteral("update CKTypeTable set CheckBoxs='' where CheckTypeID=1001")));
        auto designer = f.openDesigner();
        auto *box = qobject_cast<QCheckBox *>(panelControl(*designer, "DEFCHECK0"));
        QCOMPARE(box->text(), QStringLiteral("DEFCHECK0标签"));
        f.data.dialogs.inputs.enqueue(QStringLiteral("急件"));
        child<QAction>(designer.get(), "miCheckBoxSet")->trigger();
        box = qobject_cast<QCheckBox *>(panelControl(*designer, "DEFCHECK0"));
        QCOMPARE(box->text(), QStringLiteral("急件"));
        test::click(designer.get(), "btUndo");
        QCOMPARE(f.data.scalar(QStringLiteral("select CheckBoxs from CKTypeTable where CheckTypeID=1001")).toString(),
                 QString());
        QCOMPARE(box->text(), QStringLiteral("DEFCHECK0标签"));
    }

    void listMenuChecksAndInverts()
    {
        DesignerFixture f;
        QVERIFY(f.open());
        auto designer = f.openDesigner();
        auto *list = child<QListWidget>(designer.get(), "listCtlLabel");
        list->item(1)->setCheckState(Qt::Checked);
        child<QAction>(designer.get(), "miInvert")->trigger();
        QCOMPARE(list->item(0)->checkState(), Qt::Checked);
        QCOMPARE(list->item(1)->checkState(), Qt::Unchecked);
        child<QAction>(designer.get(), "miSelectAll")->trigger();
        for (int i = 0; i < list->count(); ++i)
            QCOMPARE(list->item(i)->checkState(), Qt::Checked);
    }

    void closingRebuildsTheCache()
    {
        DesignerFixture f;
        QVERIFY(f.open());
        templates::TemplateCatalog catalog(f.data.db(), f.data.dialogs, f.data.core->store());
        templates::TemplateCache cache(catalog, f.data.dialogs, f.data.core->dir());
        QVERIFY(cache.buildCheckIniFile(1001));
        QCOMPARE(templates::TemplateCacheFile(cache.cacheFilePath(1001)).placement(QStringLiteral("ZDSKR")).x, 120);

        auto designer = f.openDesigner();
        pick(*designer, "ZDSKR");
        child<QSlider>(designer.get(), "barMM")->setValue(10);
        test::click(designer.get(), "btRunR");
        child<QCheckBox>(designer.get(), "ckHidden")->click();
        test::click(designer.get(), "btSaveCheck");
        QCOMPARE(templates::TemplateCacheFile(cache.cacheFilePath(1001)).placement(QStringLiteral("ZDSKR")).x, 120);
        designer->close();
        const templates::Placement placed =
            templates::TemplateCacheFile(cache.cacheFilePath(1001)).placement(QStringLiteral("ZDSKR"));
        QCOMPARE(placed.x, 130);
        QVERIFY(!placed.visible);
    }

    void pagesAndPrintDesignerHandOver()
    {
        DesignerFixture f;
        QVERIFY(f.open());
        auto designer = f.openDesigner();
        QSignalSpy offset(designer.get(), &ui::EntryLayoutDesigner::offsetRequested);
        QSignalSpy print(designer.get(), &ui::EntryLayoutDesigner::printDesignRequested);
        auto *pages = child<QTabWidget>(designer.get(), "pcDesign");
        pages->setCurrentIndex(1);
        QCOMPARE(offset.count(), 1);
        QCOMPARE(offset.first().first().toInt(), 1001);
        QCOMPARE(pages->currentIndex(), 0);

        pick(*designer, "ZDSKR");
        test::click(designer.get(), "btPreview");
        QCOMPARE(print.count(), 1);
        QCOMPARE(print.first().first().toInt(), 1001);
    }

    void templateWithoutPictureOrItems()
    {
        DesignerFixture f;
        QVERIFY(f.open());
        auto designer = f.openDesigner(1002);
        QVERIFY(designer->isUsable());
        QVERIFY(child<QLabel>(designer.get(), "bgImage")->pixmap().isNull());
        QCOMPARE(child<QLabel>(designer.get(), "bgImage")->size(), QSize(500, 300));
        QCOMPARE(message(*designer), QStringLiteral("模板图片不存在：Image/none.jpg"));
        QCOMPARE(child<QLabel>(designer.get(), "lbStatus0")->text(),
                 QStringLiteral("该模板还没有打印项目，点击左侧列表中的项目即可添加"));
        QVERIFY(panelControl(*designer, "ZDSKR")->isHidden());
        clickCaption(*designer, QStringLiteral("ZDSKR标签"));
        QCOMPARE(f.rows(QStringLiteral("ZDSKR"), 1002), 1);
    }

    void switchingTemplatesRebuildsThePicture()
    {
        DesignerFixture f;
        QVERIFY(f.open());
        auto designer = f.openDesigner();
        child<QComboBox>(designer.get(), "cbTypeLastName")->setCurrentText(QStringLiteral("无图"));
        QCOMPARE(designer->templateId(), 1002);
        QCOMPARE(designer->windowTitle(), QStringLiteral("票据设计调整（") + testKind + QStringLiteral("-无图）,ID=1002"));
        QCOMPARE(child<QLabel>(designer.get(), "bgImage")->size(), QSize(500, 300));
        QVERIFY(panelControl(*designer, "ZDSKR")->isHidden());
    }

    void switchingKindOpensItsDefaultTemplate()
    {
        DesignerFixture f;
        QVERIFY(f.open());
        const QString otherKind = QStringLiteral("测试单二");
        QVERIFY(test::addTemplate(f.data, {.id = 1003, .kind = otherKind, .name = QStringLiteral("二号"),
                                           .isDefault = templates::marker::isDefault}));
        QVERIFY(addField(f.data, QStringLiteral("ZDTWO"), 1, 1, otherKind));
        QVERIFY(addItem(f.data, {.templateId = 1003, .name = QStringLiteral("ZDTWO"), .srcX = 70, .srcY = 80}));
        auto designer = f.openDesigner();
        pick(*designer, "ZDSKR");
        test::click(designer.get(), "btRunR");

        child<QComboBox>(designer.get(), "cbCheckTypeNameList")->setCurrentText(otherKind);
        QCOMPARE(designer->templateId(), 1003);
        QCOMPARE(child<QComboBox>(designer.get(), "cbTypeLastName")->currentText(), QStringLiteral("二号"));
        auto *list = child<QListWidget>(designer.get(), "listCtlLabel");
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->item(0)->text(), QStringLiteral("ZDTWO标签"));
        QCOMPARE(panelControl(*designer, "ZDTWO")->pos(), QPoint(70, 80));
        QVERIFY(!child(designer.get(), "panelImgBg")->findChild<QWidget *>(QStringLiteral("ZDSKR")));
        // The template left behind has its cache rebuilt with the move.
        templates::TemplateCatalog catalog(f.data.db(), f.data.dialogs, f.data.core->store());
        templates::TemplateCache cache(catalog, f.data.dialogs, f.data.core->dir());
        QCOMPARE(templates::TemplateCacheFile(cache.cacheFilePath(1001)).placement(QStringLiteral("ZDSKR")).x, 123);
    }

    void defaultDataOpensOnTheDefaultTemplate()
    {
        test::TestData data;
        QVERIFY(data.open());
        data.core->session().currentTemplateId = 0;
        ui::EntryLayoutDesigner designer(*data.core, 0);
        designer.show();
        QVERIFY(designer.isUsable());
        const QString kind = child<QComboBox>(&designer, "cbCheckTypeNameList")->currentText();
        QCOMPARE(designer.templateId(),
                 data.scalar(QStringLiteral("select CheckTypeID from CKTypeTable where IsDefault='默认' and "
                                            "TypeFirstName=?"),
                             {kind})
                     .toInt());
        QVERIFY(!child<QLabel>(&designer, "bgImage")->pixmap().isNull());
        QCOMPARE(child<QListWidget>(&designer, "listCtlLabel")->count(),
                 data.scalar(QStringLiteral("select count(*) from NameDict where CheckTypeName=?"), {kind}).toInt());
    }

    void noTemplateAtAll()
    {
        DesignerFixture f;
        QVERIFY(f.open());
        QVERIFY(f.data.exec(QStringLiteral("delete from CKTypeTable")));
        f.data.core->session().currentTemplateId = 0;
        ui::EntryLayoutDesigner designer(*f.data.core, 0);
        QVERIFY(!designer.isUsable());
        QCOMPARE(f.data.dialogs.lastText(), QStringLiteral("系统没有任何可用的模板信息，请确保软件数据完整~"));
    }
};

QTEST_MAIN(TestEntryDesigner)
#include "test_entry_designer.moc"
