#include "refdata/DAOPerson.h"
#include "refdata/AddressBookWindow.h"
#include "refdata/AddressEntryDialog.h"
#include "support/TestData.h"
#include "support/Widgets.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

using namespace moque;
using refdata::TPerson;
using ui::AddressBookWindow;
using ui::AddressEntryDialog;
using test::child;

namespace {

int addPerson(const test::TestData &data, const QString &name, const QString &type, const QString &group = {},
              const QString &province = {})
{
    data.exec(QStringLiteral("insert into CKPersonalInfoTable (全称,单位类型,分组,省) values (?,?,?,?)"),
              {name, type, group, province});
    return data.scalar(QStringLiteral("select max(ID) from CKPersonalInfoTable")).toInt();
}

QStringList listedNames(AddressBookWindow &w)
{
    QTableView *grid = child<QTableView>(&w, "gridPerson");
    auto *model = qobject_cast<refdata::PersonListModel *>(grid->model());
    QStringList names;
    for (int r = 0; r < model->rowCount(); ++r)
        names << model->value(r, QStringLiteral("全称"));
    names.sort();
    return names;
}

int rowOf(AddressBookWindow &w, const QString &name)
{
    auto *model = qobject_cast<refdata::PersonListModel *>(child<QTableView>(&w, "gridPerson")->model());
    for (int r = 0; r < model->rowCount(); ++r)
        if (model->value(r, QStringLiteral("全称")) == name)
            return r;
    return -1;
}

QTreeWidgetItem *treeNode(AddressBookWindow &w, const QString &path)
{
    QTreeWidget *tree = child<QTreeWidget>(&w, "tvGroup");
    const QStringList parts = path.split(QLatin1Char('\\'));
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = tree->topLevelItem(i);
        if (item->text(0) != parts[0])
            continue;
        if (parts.size() == 1)
            return item;
        for (int c = 0; c < item->childCount(); ++c)
            if (item->child(c)->text(0) == parts[1])
                return item->child(c);
    }
    return nullptr;
}

void clickTree(AddressBookWindow &w, const QString &path)
{
    QTreeWidget *tree = child<QTreeWidget>(&w, "tvGroup");
    QTreeWidgetItem *item = treeNode(w, path);
    QVERIFY2(item, qPrintable(path));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
}

void clickRow(AddressBookWindow &w, int row, Qt::KeyboardModifiers modifiers = {})
{
    QTableView *grid = child<QTableView>(&w, "gridPerson");
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers, grid->visualRect(grid->model()->index(row, 1)).center());
}

void doubleClickRow(AddressBookWindow &w, int row)
{
    QTableView *grid = child<QTableView>(&w, "gridPerson");
    const QPoint at = grid->visualRect(grid->model()->index(row, 1)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

class TestRefdataWindows : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_data = std::make_unique<test::TestData>();
        QVERIFY(m_data->open());
        addPerson(*m_data, QStringLiteral("我方甲"), refdata::partyOwn, {}, QStringLiteral("广东"));
        addPerson(*m_data, QStringLiteral("客户乙"), refdata::partyPartner, QStringLiteral("华南客户"));
        addPerson(*m_data, QStringLiteral("客户丙 100%"), refdata::partyPartner, {}, QStringLiteral("浙江"));
    }

    void typeFilterListsOneParty_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("own") << refdata::partyOwn << QStringList{QStringLiteral("我方甲")};
        QTest::newRow("partner") << refdata::partyPartner
                                 << QStringList{QStringLiteral("客户丙 100%"), QStringLiteral("客户乙")};
        QTest::newRow("all") << QString()
                             << QStringList{QStringLiteral("客户丙 100%"), QStringLiteral("客户乙"),
                                            QStringLiteral("我方甲")};
    }
    void typeFilterListsOneParty()
    {
        QFETCH(QString, type);
        QFETCH(QStringList, expected);
        AddressBookWindow w(*m_data->core);
        const QString caption = type.isEmpty() ? QString() : QStringLiteral("【") + type + QStringLiteral("】");
        w.setTypeFilter(type, caption);
        w.show();
        QCOMPARE(listedNames(w), expected);
        if (!type.isEmpty())
            QCOMPARE(child<QTabWidget>(&w, "pcPerson")->tabText(0), caption);
        else
            QCOMPARE(w.windowTitle(), QStringLiteral("单位及客户资料管理(3)"));
    }

    void keywordIgnoresTypeFilterAndTreatsPercentAsWildcard_data()
    {
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("own entry while partners listed") << QStringLiteral("我方") << QStringList{QStringLiteral("我方甲")};
        QTest::newRow("literal percent found") << QStringLiteral("100%") << QStringList{QStringLiteral("客户丙 100%")};
        QTest::newRow("percent wildcard") << QStringLiteral("客户%100") << QStringList{QStringLiteral("客户丙 100%")};
        QTest::newRow("province column") << QStringLiteral("浙江") << QStringList{QStringLiteral("客户丙 100%")};
    }
    void keywordIgnoresTypeFilterAndTreatsPercentAsWildcard()
    {
        QFETCH(QString, keyword);
        QFETCH(QStringList, expected);
        AddressBookWindow w(*m_data->core);
        w.setTypeFilter(refdata::partyPartner, QStringLiteral("【往来单位】"));
        w.show();
        child<QLineEdit>(&w, "KeyEdit")->setText(keyword);
        child<QPushButton>(&w, "btQuery")->click();
        QCOMPARE(listedNames(w), expected);
        QVERIFY(w.typeFilter().isEmpty());
    }

    void treeNodesFilter_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("tab");
        QTest::newRow("own") << QStringLiteral("我方单位") << QStringList{QStringLiteral("我方甲")}
                             << QStringLiteral("【我方单位】");
        QTest::newRow("province") << QStringLiteral("[按地区分组]\\广东") << QStringList{QStringLiteral("我方甲")}
                                  << QStringLiteral("【[按地区分组]\\广东】");
        QTest::newRow("group") << QStringLiteral("[按其他分组]\\华南客户") << QStringList{QStringLiteral("客户乙")}
                               << QStringLiteral("【[按其他分组]\\华南客户】");
        QTest::newRow("default issuer, none") << QStringLiteral("默认出票人") << QStringList{}
                                              << QStringLiteral("【默认出票人】");
    }
    void treeNodesFilter()
    {
        QFETCH(QString, path);
        QFETCH(QStringList, expected);
        QFETCH(QString, tab);
        AddressBookWindow w(*m_data->core);
        w.show();
        clickTree(w, path);
        QCOMPARE(listedNames(w), expected);
        QCOMPARE(w.tabCaption(), tab);
        clickTree(w, QStringLiteral("全部分组"));
        QCOMPARE(listedNames(w).size(), 3);
    }

    void deleteSelectedAsksAndReports()
    {
        AddressBookWindow w(*m_data->core);
        w.show();
        clickRow(w, rowOf(w, QStringLiteral("客户乙")));
        clickRow(w, rowOf(w, QStringLiteral("我方甲")), Qt::ControlModifier);
        QCOMPARE(child<QLabel>(&w, "lbSelected")->text(), QStringLiteral("选中[2/3]条"));
        m_data->dialogs.answers.enqueue(false);
        child<QPushButton>(&w, "btDeleteSelected")->click();
        QCOMPARE(m_data->dialogs.lastText(), QStringLiteral("确认要删除所选中的2个单位信息吗?"));
        QCOMPARE(m_data->dialogs.lastCaption(), QStringLiteral("删除确认"));
        QCOMPARE(listedNames(w).size(), 3);

        m_data->dialogs.answers.enqueue(true);
        child<QPushButton>(&w, "btDeleteSelected")->click();
        QCOMPARE(m_data->dialogs.lastText(), QStringLiteral("2个单位信息删除成功！"));
        QCOMPARE(listedNames(w), QStringList{QStringLiteral("客户丙 100%")});
        QCOMPARE(w.windowTitle(), QStringLiteral("单位、客户管理(1)"));
    }

    void deleteListedDeletesOnlyListed()
    {
        AddressBookWindow w(*m_data->core);
        w.setTypeFilter(refdata::partyPartner, QStringLiteral("【往来单位】"));
        w.show();
        m_data->dialogs.answers.enqueue(true);
        child<QPushButton>(&w, "btDeleteListed")->click();
        QCOMPARE(m_data->dialogs.texts().first(), QStringLiteral("此操作将删除当前查询到的所有记录，确定删除吗？"));
        QCOMPARE(m_data->dialogs.lastText(), QStringLiteral("2条记录删除成功！"));
        QCOMPARE(refdata::DAOPerson(m_data->db()).loadCompanyList(), QStringList{QStringLiteral("我方甲")});
    }

    void deleteAllWithPartnerFilterKeepsOwn()
    {
        AddressBookWindow w(*m_data->core);
        w.setTypeFilter(refdata::partyPartner, QStringLiteral("【往来单位】"));
        w.show();
        child<QLabel>(&w, "lbDeleteAll");
        QTest::mouseClick(child<QLabel>(&w, "lbDeleteAll"), Qt::LeftButton);
        QVERIFY(child<QPushButton>(&w, "btDeleteAll")->isVisible());
        m_data->dialogs.answers.enqueue(true);
        child<QPushButton>(&w, "btDeleteAll")->click();
        QCOMPARE(m_data->dialogs.shown.first().text,
                 QStringLiteral("警告:此操作将删除所有往来单位的资料,且不可恢复,建议此操作在导出备份后进行!确定立即清空吗？"));
        QCOMPARE(refdata::DAOPerson(m_data->db()).loadCompanyList(), QStringList{QStringLiteral("我方甲")});
    }

    void setDefaultIssuerMarksCurrentRow()
    {
        AddressBookWindow w(*m_data->core);
        bool closeAsked = false;
        int reloads = 0;
        connect(&w, &AddressBookWindow::defaultIssuerChanged, this, [&] { ++reloads; });
        connect(&w, &AddressBookWindow::closeEntryWindowsRequested, this, [&] { closeAsked = true; });
        w.setEntryWindowsOpen([] { return true; });
        w.show();
        clickRow(w, rowOf(w, QStringLiteral("客户乙")));
        child<QPushButton>(&w, "btSetDefault")->click();
        QCOMPARE(m_data->dialogs.texts(), (QStringList{QStringLiteral("默认出票人设置成功！"),
                                                       QStringLiteral("默认出票人已经修改，请重新填开票据！")}));
        QCOMPARE(reloads, 1);
        QVERIFY(closeAsked);
        const std::optional<TPerson> issuer = refdata::DAOPerson(m_data->db()).LoadDefaultIssuer();
        QCOMPARE(issuer->fullName(), QStringLiteral("客户乙"));
        QCOMPARE(issuer->partyType(), refdata::partyOwn);
    }

    void emptyListRefusesEditAndDefault()
    {
        AddressBookWindow w(*m_data->core);
        w.show();
        child<QLineEdit>(&w, "KeyEdit")->setText(QStringLiteral("无此单位"));
        child<QPushButton>(&w, "btQuery")->click();
        child<QPushButton>(&w, "btEdit")->click();
        child<QPushButton>(&w, "btSetDefault")->click();
        QCOMPARE(m_data->dialogs.texts(), (QStringList{QStringLiteral("没有单位可修改，请先选中一个要修改的单位！"),
                                                       QStringLiteral("没有单位资料可设置，请先选中一个要设置的单位资料！")}));
    }

    void advancedSearchChecksAndMatchesExactly()
    {
        AddressBookWindow w(*m_data->core);
        w.show();
        child<QPushButton>(&w, "btAdvanced")->click();
        QCOMPARE(child<QPushButton>(&w, "btAdvanced")->text(), QStringLiteral(">>"));
        QComboBox *column = child<QComboBox>(&w, "Column1");
        QVERIFY(column->findText(QStringLiteral("排序")) < 0);
        QVERIFY(column->findText(QStringLiteral("ID")) < 0);
        child<QPushButton>(&w, "btExactQuery")->click();
        QCOMPARE(m_data->dialogs.lastText(), QStringLiteral("请选择要查询的列."));
        column->setCurrentText(QStringLiteral("全称"));
        child<QPushButton>(&w, "btExactQuery")->click();
        QCOMPARE(m_data->dialogs.lastText(), QStringLiteral("请输入精确查询的关键字"));
        child<QComboBox>(&w, "EqualOrContain1")->setCurrentText(QStringLiteral("等于"));
        child<QLineEdit>(&w, "key1")->setText(QStringLiteral("客户丙 100%"));
        child<QPushButton>(&w, "btExactQuery")->click();
        QCOMPARE(listedNames(w), QStringList{QStringLiteral("客户丙 100%")});
        child<QLineEdit>(&w, "key1")->setText(QStringLiteral("客户丙 100"));
        child<QPushButton>(&w, "btExactQuery")->click();
        QVERIFY(listedNames(w).isEmpty());
    }

    void headerClickTogglesOrder()
    {
        AddressBookWindow w(*m_data->core);
        w.show();
        QTableView *grid = child<QTableView>(&w, "gridPerson");
        auto *model = qobject_cast<refdata::PersonListModel *>(grid->model());
        const int nameColumn = model->fieldIndex(QStringLiteral("全称"));
        grid->horizontalHeader()->sectionClicked(nameColumn);
        QCOMPARE(model->value(0, QStringLiteral("全称")), QStringLiteral("客户丙 100%"));
        grid->horizontalHeader()->sectionClicked(nameColumn);
        QCOMPARE(model->value(0, QStringLiteral("全称")), QStringLiteral("我方甲"));
    }

    void pickModeReturnsDoubleClickedEntry()
    {
        std::optional<TPerson> picked;
        QTimer::singleShot(0, this, [&] {
            auto *w = qobject_cast<AddressBookWindow *>(QApplication::activeModalWidget());
            QVERIFY(w);
            QCOMPARE(w->windowTitle(), QStringLiteral("选择收件人资料"));
            QCOMPARE(listedNames(*w), (QStringList{QStringLiteral("客户丙 100%"), QStringLiteral("客户乙")}));
            QCOMPARE(child<QTableView>(w, "gridPerson")->toolTip(), QStringLiteral("鼠标双击选择指定的单位！"));
            doubleClickRow(*w, rowOf(*w, QStringLiteral("客户乙")));
        });
        picked = AddressBookWindow::fetchOnePerson(*m_data->core, refdata::partyPartner, QStringLiteral("选择收件人资料"));
        QVERIFY(picked);
        QCOMPARE(picked->fullName(), QStringLiteral("客户乙"));
        QCOMPARE(picked->group(), QStringLiteral("华南客户"));
    }

    void pickModeClosedWithoutChoiceReturnsNone()
    {
        QTimer::singleShot(0, this, [] {
            auto *w = qobject_cast<AddressBookWindow *>(QApplication::activeModalWidget());
            QVERIFY(w);
            clickRow(*w, 0);
            child<QPushButton>(w, "btClose")->click();
        });
        QVERIFY(!AddressBookWindow::fetchOnePerson(*m_data->core, refdata::partyOwn, QStringLiteral("选择发件人资料")));
    }

    void exportCallsExporterWithTitle()
    {
        QString title;
        QTableView *exported = nullptr;
        AddressBookWindow w(*m_data->core, nullptr, [&](QTableView *grid, const QString &t) {
            exported = grid;
            title = t;
        });
        w.show();
        child<QPushButton>(&w, "btExport")->click();
        QCOMPARE(title, QStringLiteral("单位信息导出"));
        QCOMPARE(exported, child<QTableView>(&w, "gridPerson"));
    }

    void editorSavesNewThenUpdatesAndCopies()
    {
        AddressEntryDialog editor(*m_data->core);
        QCOMPARE(child<QComboBox>(&editor, "edtCountry")->currentText(), QStringLiteral("中国"));
        child<QLineEdit>(&editor, "edtName")->setText(QStringLiteral("新\"公司\"'；"));
        child<QLineEdit>(&editor, "edtInputCode")->setText(QStringLiteral("  xgs  "));
        child<QComboBox>(&editor, "cbAcountType")->setCurrentText(refdata::partyOwn);
        child<QPushButton>(&editor, "btSave")->click();
        QCOMPARE(m_data->dialogs.lastText(), QStringLiteral("新增单位资料添加成功！"));
        child<QPushButton>(&editor, "btSave")->click();
        refdata::DAOPerson dao(m_data->db());
        const std::optional<TPerson> saved = dao.FindPersonByInputCode(QStringLiteral("xgs"));
        QVERIFY(saved);
        QCOMPARE(saved->fullName(), QStringLiteral("新\"公司\"'；"));
        QCOMPARE(saved->partyType(), refdata::partyOwn);
        QCOMPARE(m_data->scalar(QStringLiteral("select count(*) from CKPersonalInfoTable where 全称=?"),
                                {QStringLiteral("新\"公司\"'；")})
                     .toInt(),
                 2);

        QVERIFY(editor.loadPerson(saved->ID()));
        child<QLineEdit>(&editor, "edtPhone")->setText(QStringLiteral("123"));
        child<QPushButton>(&editor, "btSave")->click();
        QCOMPARE(m_data->dialogs.lastText(), QStringLiteral("历史单位资料资料更新成功！"));
        TPerson reread;
        reread.setID(saved->ID());
        dao.LoadPersonByID(reread);
        QCOMPARE(reread.phone(), QStringLiteral("123"));

        child<QPushButton>(&editor, "btMulti")->click();
        QCOMPARE(editor.editorId(), 0);
        child<QPushButton>(&editor, "btSave")->click();
        QCOMPARE(m_data->dialogs.lastText(), QStringLiteral("新增单位资料添加成功！"));
    }

    void editorTownGoesBeforeAddress()
    {
        AddressEntryDialog editor(*m_data->core);
        editor.show();
        editor.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&editor));
        QComboBox *town = child<QComboBox>(&editor, "edtTown");
        town->setFocus();
        town->setCurrentText(QStringLiteral("天河区"));
        child<QLineEdit>(&editor, "edtName")->setFocus();
        QCOMPARE(editor.person().address(), QStringLiteral("天河区"));
        town->setFocus();
        town->setCurrentText(QStringLiteral("请直接输入"));
        child<QLineEdit>(&editor, "edtName")->setFocus();
        QCOMPARE(town->currentText(), QString());
    }

    void editorCodeHelp()
    {
        AddressEntryDialog editor(*m_data->core);
        editor.show();
        QTest::mouseClick(child<QLabel>(&editor, "lbInputCode"), Qt::LeftButton);
        QCOMPARE(m_data->dialogs.lastCaption(), QStringLiteral("message"));
        QVERIFY(m_data->dialogs.lastText().startsWith(QStringLiteral("助记码不是必填项目")));
    }

    void addFromWindowPrefillsTypeAndRelists()
    {
        AddressBookWindow w(*m_data->core);
        w.setTypeFilter(refdata::partyOwn, QStringLiteral("【我方单位】"));
        w.show();
        QTimer::singleShot(0, this, [&] {
            AddressEntryDialog *editor = w.editor();
            QCOMPARE(child<QComboBox>(editor, "cbAcountType")->currentText(), refdata::partyOwn);
            child<QLineEdit>(editor, "edtName")->setText(QStringLiteral("我方丁"));
            child<QPushButton>(editor, "btSaveClose")->click();
        });
        child<QPushButton>(&w, "btAdd")->click();
        QCOMPARE(listedNames(w), (QStringList{QStringLiteral("我方丁"), QStringLiteral("我方甲")}));
    }

    void savePartyToBookMatchesExistingEntry()
    {
        TPerson party;
        party.setFullName(QStringLiteral("客户乙"));
        party.setAddress(QStringLiteral("新地址"));
        party.setPartyType(refdata::partyPartner);
        QTimer::singleShot(0, this, [] {
            auto *editor = qobject_cast<AddressEntryDialog *>(QApplication::activeModalWidget());
            QVERIFY(editor);
            child<QPushButton>(editor, "btSaveClose")->click();
        });
        AddressEntryDialog::savePersonToBook(*m_data->core, &party);
        QCOMPARE(m_data->dialogs.lastText(), QStringLiteral("历史单位资料资料更新成功！"));
        const std::optional<TPerson> stored = refdata::DAOPerson(m_data->db()).FindPersonByFullName(QStringLiteral("客户乙"));
        QCOMPARE(stored->address(), QStringLiteral("新地址"));
        QCOMPARE(stored->group(), QStringLiteral("华南客户"));
    }

private:
    std::unique_ptr<test::TestData> m_data;
};

QTEST_MAIN(TestRefdataWindows)
#include "test_refdata_windows.moc"
