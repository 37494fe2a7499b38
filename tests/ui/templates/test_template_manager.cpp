// The template management window driven through its controls: state tabs and
// the commands they allow, the kind and keyword filters, default, hide and
// delete through the buttons, the picture viewer and the requests to the main
// window.

#include "designers/ImageViewer.h"
#include "support/TemplateFixture.h"
#include "support/Widgets.h"
#include "templates/TemplateManagerWindow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <QTimer>

using namespace moque;
using test::addTemplate;
using test::child;
using test::testKind;
using ui::TemplateManagerWindow;
namespace marker = templates::marker;

namespace {

const QString waybill = QStringLiteral("快递单");

struct Fixture
{
    test::TestData data;
    std::unique_ptr<TemplateManagerWindow> window;

    bool open(int startTemplateId = 0)
    {
        if (!test::openWithoutTemplates(data) || !test::addField(data, QStringLiteral("ZDTEST"))
            || !addTemplate(data, {.id = 1001, .name = QStringLiteral("甲"), .isDefault = marker::isDefault,
                                   .isCommon = marker::common})
            || !addTemplate(data, {.id = 1002, .name = QStringLiteral("乙")})
            || !addTemplate(data, {.id = 1003, .name = QStringLiteral("丙"), .visible = marker::hidden})
            || !addTemplate(data, {.id = 1004, .kind = waybill, .name = QStringLiteral("顺丰"),
                                   .isCommon = marker::common}))
            return false;
        window = std::make_unique<TemplateManagerWindow>(*data.core, startTemplateId);
        window->show();
        return QTest::qWaitForWindowExposed(window.get());
    }
    QTableView *grid() const { return child<QTableView>(window.get(), "gridTemplates"); }
    QList<int> listed() const
    {
        QList<int> ids;
        for (int r = 0; r < grid()->model()->rowCount(); ++r)
            ids << grid()->model()->index(r, 0).data().toInt();
        std::sort(ids.begin(), ids.end());
        return ids;
    }
    void clickRow(int id, Qt::KeyboardModifiers modifiers = {}) const
    {
        for (int r = 0; r < grid()->model()->rowCount(); ++r)
            if (grid()->model()->index(r, 0).data().toInt() == id) {
                QTest::mouseClick(grid()->viewport(), Qt::LeftButton, modifiers,
                                  grid()->visualRect(grid()->model()->index(r, 1)).center());
                return;
            }
        QFAIL("template not listed");
    }
    void clickTab(int tab) const
    {
        QTabBar *tabs = child<QTabBar>(window.get(), "tabState");
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(tab).center());
    }
    void chooseKind(const QString &kind) const
    {
        QComboBox *kinds = child<QComboBox>(window.get(), "cbTypeFirstName");
        kinds->setCurrentIndex(kinds->findText(kind));
    }
    QAction *menuAction(const QString &text) const
    {
        for (QAction *a : child<QMenu>(window.get(), "pmTemplates")->actions())
            if (a->text() == text)
                return a;
        qFatal("missing menu item");
    }
    QString value(int id, const char *column) const
    {
        return data.scalar(QStringLiteral("select %1 from CKTypeTable where CheckTypeID=?").arg(QLatin1String(column)),
                           {id})
            .toString();
    }
};

} // namespace

class TestTemplateManager : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tabs_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QList<int>>("listed");
        // 设为默认, 设为常用, 隐藏, 启用, 移出常用, 删除, then 模板设计 of the menu.
        QTest::addColumn<QString>("enabled");
        QTest::newRow("所有可用模板") << 0 << QList<int>{1001, 1002, 1004} << QStringLiteral("1110011");
        QTest::newRow("常用的模板") << 1 << QList<int>{1001, 1004} << QStringLiteral("1010111");
        QTest::newRow("默认的模板") << 2 << QList<int>{1001} << QStringLiteral("0000001");
        QTest::newRow("隐藏的模板") << 3 << QList<int>{1003} << QStringLiteral("1101010");
    }

    void tabs()
    {
        QFETCH(int, tab);
        QFETCH(QList<int>, listed);
        QFETCH(QString, enabled);
        Fixture f;
        QVERIFY(f.open());
        f.clickTab(tab);

        QCOMPARE(f.listed(), listed);
        QCOMPARE(f.window->windowTitle(), QStringLiteral("所有模板种类模板管理(查询%1个)").arg(listed.size()));
        const QList<std::pair<const char *, QString>> commands{
            {"btSetDefault", QStringLiteral("设为默认模板")}, {"btSetCommon", QStringLiteral("设为常用模板")},
            {"btHide", QStringLiteral("隐藏模板-停用")},      {"btEnable", QStringLiteral("启用模板-不隐藏")},
            {"btRemoveCommon", QStringLiteral("移出常用模板")}, {"btDelete", QStringLiteral("删除选中模板")}};
        QString buttons;
        QString menu;
        for (const auto &[button, item] : commands) {
            buttons += child<QPushButton>(f.window.get(), button)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
            menu += f.menuAction(item)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        }
        menu += f.menuAction(QStringLiteral("模板设计"))->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        QCOMPARE(buttons + menu.back(), enabled);
        QCOMPARE(menu, enabled);
        QVERIFY(f.menuAction(QStringLiteral("克隆为新模板"))->isEnabled());
        QVERIFY(!f.menuAction(QStringLiteral("导出模板"))->isVisible());
    }

    void kindChangesCaptions()
    {
        Fixture f;
        QVERIFY(f.open());
        QPushButton *setDefault = child<QPushButton>(f.window.get(), "btSetDefault");
        QPushButton *setCommon = child<QPushButton>(f.window.get(), "btSetCommon");
        QCOMPARE(setDefault->text(), QStringLiteral("设置为【默认票据模板】"));

        f.chooseKind(waybill);
        QCOMPARE(setDefault->text(), QStringLiteral("设置为【默认】快递单"));
        QCOMPARE(setCommon->text(), QStringLiteral("设置为【常用】快递单"));
        QCOMPARE(f.listed(), QList<int>{1004});
        QCOMPARE(f.window->windowTitle(), QStringLiteral("快递单模板管理(查询1个)"));

        f.clickTab(3);
        QCOMPARE(f.listed(), QList<int>{});
        QVERIFY(!f.menuAction(QStringLiteral("克隆为新模板"))->isEnabled());
        QVERIFY(f.menuAction(QStringLiteral("模板重命名"))->isEnabled());
        test::click(f.window.get(), "btAll");
        QCOMPARE(child<QComboBox>(f.window.get(), "cbTypeFirstName")->currentIndex(), 0);
        QCOMPARE(child<QTabBar>(f.window.get(), "tabState")->currentIndex(), 0);
        QCOMPARE(setDefault->text(), QStringLiteral("设置为【默认】模板"));
        QCOMPARE(setCommon->text(), QStringLiteral("设置为【常用】模板"));
        QCOMPARE(f.listed(), (QList<int>{1001, 1002, 1004}));
    }

    void startTemplateChoosesItsKind()
    {
        Fixture f;
        QVERIFY(f.open(1002));
        QCOMPARE(child<QComboBox>(f.window.get(), "cbTypeFirstName")->currentText(), testKind);
        QCOMPARE(child<QPushButton>(f.window.get(), "btSetDefault")->text(), QStringLiteral("设置为【默认】测试单"));
        QCOMPARE(f.listed(), (QList<int>{1001, 1002}));
        QCOMPARE(f.window->currentTemplateId(), 1002);
    }

    void search()
    {
        Fixture f;
        QVERIFY(f.open());
        QLineEdit *keyword = child<QLineEdit>(f.window.get(), "edtKeyword");
        test::typeText(keyword, QStringLiteral(" 乙 "));
        QTest::keyClick(keyword, Qt::Key_Return);
        QCOMPARE(f.listed(), QList<int>{1002});
        QCOMPARE(keyword->text(), QString());

        test::typeText(keyword, QStringLiteral("顺"));
        test::click(f.window.get(), "btQuery");
        QCOMPARE(f.listed(), QList<int>{1004});

        test::click(f.window.get(), "btQuery");
        QCOMPARE(f.listed(), (QList<int>{1001, 1002, 1004}));
    }

    void setDefaultThroughButton()
    {
        Fixture f;
        QVERIFY(f.open());
        f.clickRow(1002);
        test::click(f.window.get(), "btSetDefault");

        QCOMPARE(f.value(1002, "IsDefault"), marker::isDefault);
        QCOMPARE(f.value(1001, "IsDefault"), QStringLiteral("0"));
        QCOMPARE(f.data.dialogs.lastText(), QStringLiteral("默认【测试单票据】模板设置成功！"));
        QCOMPARE(child<QTabBar>(f.window.get(), "tabState")->currentIndex(), 2);
        QCOMPARE(f.listed(), QList<int>{1002});
    }

    void hideSeveral()
    {
        Fixture f;
        QVERIFY(f.open());
        f.clickRow(1002);
        f.clickRow(1004, Qt::ControlModifier);
        QCOMPARE(f.window->selectedTemplateIds().size(), 2);
        test::click(f.window.get(), "btHide");

        QCOMPARE(f.listed(), QList<int>{1001});
        f.clickTab(3);
        QCOMPARE(f.listed(), (QList<int>{1002, 1003, 1004}));
        f.clickRow(1003);
        test::click(f.window.get(), "btEnable");
        QCOMPARE(f.listed(), (QList<int>{1002, 1004}));
    }

    void deleteAfterTwoYes()
    {
        Fixture f;
        QVERIFY(f.open());
        f.data.dialogs.answers << true << true;
        f.clickRow(1002);
        test::click(f.window.get(), "btDelete");

        QCOMPARE(f.data.dialogs.lastText(), QStringLiteral("共删除 1 个模板！"));
        QCOMPARE(f.data.scalar(QStringLiteral("select count(*) from CKTypeTable where CheckTypeID=1002")).toInt(), 0);
        QCOMPARE(f.listed(), (QList<int>{1001, 1004}));
    }

    void cloneAndRenameThroughButtons()
    {
        Fixture f;
        QVERIFY(f.open());
        QVERIFY(test::addItem(f.data, {.templateId = 1004, .name = QStringLiteral("ZDSKR")}));
        f.clickRow(1004);
        f.data.dialogs.inputs << QStringLiteral("中通") << QStringLiteral("韵达");
        test::click(f.window.get(), "btClone");
        QCOMPARE(f.listed(), (QList<int>{1001, 1002, 1004, 1005}));
        QCOMPARE(f.value(1005, "TypeName"), QStringLiteral("快递单（中通）"));

        f.clickRow(1004);
        test::click(f.window.get(), "btRename");
        QCOMPARE(f.value(1004, "TypeName"), QStringLiteral("快递单（韵达）"));
        QCOMPARE(f.data.dialogs.lastText(), QStringLiteral("重名名成功~"));
        QStringList shown;
        for (int r = 0; r < f.grid()->model()->rowCount(); ++r)
            shown << f.grid()->model()->index(r, 1).data().toString();
        QVERIFY(shown.contains(QStringLiteral("快递单（韵达）")));
    }

    void requestsToMainWindow()
    {
        Fixture f;
        QVERIFY(f.open());
        QSignalSpy offset(f.window.get(), &TemplateManagerWindow::offsetRequested);
        QSignalSpy import(f.window.get(), &TemplateManagerWindow::importRequested);

        f.clickRow(1004);
        f.menuAction(QStringLiteral("模板设计"))->trigger();
        QCOMPARE(offset.size(), 1);
        QCOMPARE(offset.first().first().toInt(), 1004);

        test::click(f.window.get(), "btImport");
        f.menuAction(QStringLiteral("导入模板"))->trigger();
        QCOMPARE(import.size(), 2);
    }

    void doubleClickShowsPicture()
    {
        Fixture f;
        QVERIFY(f.open());
        QString shownTitle;
        // The viewer runs its own event loop: it is read and closed from there.
        QTimer poll;
        connect(&poll, &QTimer::timeout, f.window.get(), [&shownTitle] {
            if (auto *viewer = qobject_cast<ui::ImageViewer *>(QApplication::activeModalWidget())) {
                shownTitle = viewer->windowTitle();
                viewer->reject();
            }
        });
        poll.start(20);
        QTableView *grid = f.grid();
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            if (grid->model()->index(r, 0).data().toInt() == 1004) {
                const QPoint at = grid->visualRect(grid->model()->index(r, 1)).center();
                QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
                QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
            }
        QCOMPARE(shownTitle, QStringLiteral("墨雀软件-模板图片查看【快递单（顺丰）】"));
    }
};

QTEST_MAIN(TestTemplateManager)
#include "test_template_manager.moc"
