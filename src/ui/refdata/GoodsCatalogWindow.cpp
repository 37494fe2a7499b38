#include "refdata/GoodsCatalogWindow.h"

#include "app/AppCore.h"
#include "common/Dialogs.h"
#include "dialogs/CommandButton.h"
#include "grid/GridExport.h"
#include "grid/GridOperations.h"
#include "refdata/GoodEntryDialog.h"
#include "refdata/GoodsImportDialog.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace moque::ui {

using refdata::Good;
using refdata::GoodsCatalog;
using refdata::GoodsFilter;

namespace {

const QString windowName = QStringLiteral("frm_GoodsManage");

} // namespace

GoodsCatalogWindow::GoodsCatalogWindow(moque::app::AppCore &core, QWidget *parent)
    : QDialog(parent)
    , m_core(core)
    , m_exporter([this](QTableView *grid, const QString &title) { ExportGrid2Excel(grid, title, m_core.dialogs()); })
    , m_path(GoodsCatalog::categoryPath(QString()))
{
    setObjectName(windowName);
    setWindowTitle(QStringLiteral("产品分类管理"));

    m_model = new refdata::GoodsListModel(this);

    QLayout *searchBar = buildSearchBar();
    buildTree();
    buildGrid();
    QLayout *commands = buildCommands();

    auto *splitter = new QSplitter(this);
    splitter->addWidget(m_tree);
    splitter->addWidget(m_grid);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({180, 760});

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(searchBar);
    layout->addWidget(splitter, 1);
    layout->addLayout(commands);
    resize(960, 580);

    reloadTree();
    reloadNames();
    search();
}

QLayout *GoodsCatalogWindow::buildSearchBar()
{
    m_keyword = new QLineEdit(this);
    m_keyword->setObjectName(QStringLiteral("edtKey"));
    m_names = new QComboBox(this);
    m_names->setObjectName(QStringLiteral("cbName"));
    m_names->setEditable(true);
    m_names->setInsertPolicy(QComboBox::NoInsert);
    m_names->setMinimumContentsLength(12);
    QPushButton *queryButton = commandButton(QStringLiteral("查询(&C)"), QStringLiteral("btQuery"), this);
    QPushButton *allButton = commandButton(QStringLiteral("全部"), QStringLiteral("btAll"), this);
    QPushButton *categoryButton = commandButton(QStringLiteral("分类内所有"), QStringLiteral("btCategoryAll"), this);
    QPushButton *closeButton = commandButton(QStringLiteral("关 闭(&X)"), QStringLiteral("btClose"), this);

    auto *bar = new QHBoxLayout;
    bar->addWidget(new QLabel(QStringLiteral("商品关键字："), this));
    bar->addWidget(m_keyword, 2);
    bar->addSpacing(8);
    bar->addWidget(new QLabel(QStringLiteral("商品名："), this));
    bar->addWidget(m_names, 2);
    for (QPushButton *b : {queryButton, allButton, categoryButton})
        bar->addWidget(b);
    bar->addStretch(1);
    bar->addWidget(closeButton);

    connect(m_keyword, &QLineEdit::returnPressed, this, &GoodsCatalogWindow::search);
    connect(queryButton, &QPushButton::clicked, this, &GoodsCatalogWindow::search);
    connect(allButton, &QPushButton::clicked, this, &GoodsCatalogWindow::showAll);
    connect(categoryButton, &QPushButton::clicked, this, &GoodsCatalogWindow::showCategory);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
    return bar;
}

void GoodsCatalogWindow::buildTree()
{
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("tvCategory"));
    m_tree->setHeaderHidden(true);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->addTopLevelItem(new QTreeWidgetItem(QStringList{GoodsCatalog::allCategories()}));

    connect(m_tree, &QTreeWidget::itemClicked, this, &GoodsCatalogWindow::treeClicked);
}

void GoodsCatalogWindow::buildGrid()
{
    m_grid = new QTableView(this);
    setUpListGrid(m_grid, QStringLiteral("gridGoods"), m_model, this);
    m_grid->setColumnHidden(0, true);
    // Fitted to a few short rows the columns would be narrower than their titles read well.
    m_grid->horizontalHeader()->setMinimumSectionSize(64);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setToolTip(QStringLiteral("按住ctrl点击方可多选"));

    m_exportAction = new QAction(QStringLiteral("商品导出Excel"), this);
    m_exportAction->setObjectName(QStringLiteral("acExport"));
    m_importAction = new QAction(QStringLiteral("导入商品"), this);
    m_importAction->setObjectName(QStringLiteral("acImport"));
    m_widthsAction = new QAction(QStringLiteral("记住表格列宽"), this);
    m_widthsAction->setObjectName(QStringLiteral("acSaveWidths"));

    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this, &GoodsCatalogWindow::headerClicked);
    connect(m_grid, &QTableView::doubleClicked, this, &GoodsCatalogWindow::editGood);
    connect(m_grid, &QTableView::customContextMenuRequested, this, &GoodsCatalogWindow::gridMenu);
    connect(m_exportAction, &QAction::triggered, this,
            [this] { m_exporter(m_grid, QStringLiteral("商品导出")); });
    connect(m_importAction, &QAction::triggered, this, &GoodsCatalogWindow::importGoods);
    connect(m_widthsAction, &QAction::triggered, this,
            [this] { GridColsWidthSave(m_grid, windowName, m_core.settings(), m_core.dialogs()); });
}

QLayout *GoodsCatalogWindow::buildCommands()
{
    QPushButton *addButton = commandButton(QStringLiteral("添加"), QStringLiteral("btAdd"), this);
    QPushButton *editButton = commandButton(QStringLiteral("修改"), QStringLiteral("btEdit"), this);
    QPushButton *deleteButton = commandButton(QStringLiteral("删除选中"), QStringLiteral("btDeleteSelected"), this);
    QPushButton *clearButton = commandButton(QStringLiteral("清 空"), QStringLiteral("btClear"), this);
    clearButton->setToolTip(QStringLiteral("删除所有的客户资料"));
    QPushButton *refreshButton = commandButton(QStringLiteral("刷新"), QStringLiteral("btRefresh"), this);
    m_pathBox = new QLineEdit(this);
    m_pathBox->setObjectName(QStringLiteral("edtPath"));
    m_pathBox->setReadOnly(true);
    m_pathBox->setFocusPolicy(Qt::NoFocus);
    m_pathBox->setText(m_path);

    auto *commands = new QHBoxLayout;
    for (QPushButton *b : {addButton, editButton, deleteButton, clearButton, refreshButton})
        commands->addWidget(b);
    commands->addStretch(1);
    commands->addWidget(m_pathBox, 1);

    connect(addButton, &QPushButton::clicked, this, &GoodsCatalogWindow::addGood);
    connect(editButton, &QPushButton::clicked, this, &GoodsCatalogWindow::editGood);
    connect(deleteButton, &QPushButton::clicked, this, &GoodsCatalogWindow::deleteSelected);
    connect(clearButton, &QPushButton::clicked, this, &GoodsCatalogWindow::clearAll);
    connect(refreshButton, &QPushButton::clicked, this, &GoodsCatalogWindow::search);
    return commands;
}

void GoodsCatalogWindow::reloadTree()
{
    QTreeWidgetItem *root = m_tree->topLevelItem(0);
    qDeleteAll(root->takeChildren());
    QTreeWidgetItem *current = root;
    const QString category = GoodsCatalog::categoryOfPath(m_path);
    for (const QString &c : GoodsCatalog(m_core.db()).categories()) {
        auto *item = new QTreeWidgetItem(root, QStringList{c});
        if (c == category)
            current = item;
    }
    m_tree->expandAll();
    m_tree->setCurrentItem(current);
}

void GoodsCatalogWindow::reloadNames()
{
    const QString name = m_names->currentText();
    m_names->clear();
    m_names->addItem(GoodsCatalog::allNames());
    m_names->addItems(GoodsCatalog(m_core.db()).names());
    m_names->setCurrentText(name.isEmpty() ? GoodsCatalog::allNames() : name);
}

void GoodsCatalogWindow::search()
{
    // An empty keyword with every name lists the category; find treats both alike.
    GoodsFilter filter = m_sort;
    filter.keyword = m_keyword->text().trimmed();
    filter.name = m_names->currentText();
    filter.category = GoodsCatalog::categoryOfPath(m_path);
    list(filter);
}

void GoodsCatalogWindow::showAll()
{
    setPath(GoodsCatalog::categoryPath(QString()));
    m_tree->setCurrentItem(m_tree->topLevelItem(0));
    m_keyword->clear();
    m_names->setCurrentText(QString());
    reloadNames();
    search();
}

void GoodsCatalogWindow::showCategory()
{
    m_keyword->clear();
    m_names->setCurrentIndex(0);
    search();
}

void GoodsCatalogWindow::list(const GoodsFilter &filter)
{
    QString error;
    m_model->load(m_core.db(), filter, &error);
    if (!error.isEmpty())
        m_core.dialogs().error(error);
    GridColsWidthLoadOrFit(m_grid, windowName, m_core.settings(), m_core.dialogs());
    setWindowTitle(QStringLiteral("产品分类管理 (") + QString::number(m_model->rowCount()) + QLatin1Char(')'));
}

void GoodsCatalogWindow::setPath(const QString &path)
{
    m_path = path;
    m_pathBox->setText(path);
}

void GoodsCatalogWindow::treeClicked(QTreeWidgetItem *item)
{
    const QString path = GoodsCatalog::categoryPath(item->parent() ? item->text(0) : QString());
    if (path == m_path)
        return;
    setPath(path);
    search();
}

void GoodsCatalogWindow::headerClicked(int column)
{
    m_sort.sortBy(GoodsCatalog::columns().value(column));
    search();
}

void GoodsCatalogWindow::addGood()
{
    openEditor(Good());
}

void GoodsCatalogWindow::editGood()
{
    if (m_model->rowCount() == 0) {
        m_core.dialogs().info(QStringLiteral("没有商品可修改，请先选中或添加一个商品！"));
        return;
    }
    const QModelIndex current = m_grid->currentIndex();
    openEditor(m_model->good(current.isValid() ? current.row() : 0));
}

void GoodsCatalogWindow::openEditor(const Good &good)
{
    GoodEntryDialog editor(m_core, this);
    editor.setGood(good);
    connect(&editor, &GoodEntryDialog::saved, this, &GoodsCatalogWindow::listAgain);
    editor.exec();
}

void GoodsCatalogWindow::deleteSelected()
{
    QList<qint64> ids;
    for (const QModelIndex &index : m_grid->selectionModel()->selectedRows())
        ids << m_model->good(index.row()).id;
    if (ids.isEmpty()
        || !m_core.dialogs().ask(QStringLiteral("真的要删除选中的商品信息吗?"), QStringLiteral("删除确认"),
                                 Dialogs::Icon::Question))
        return;
    QString error;
    if (!GoodsCatalog(m_core.db()).remove(ids, &error))
        m_core.dialogs().error(QStringLiteral("删除失败,") + error);
    listAgain();
}

void GoodsCatalogWindow::clearAll()
{
    if (!m_core.dialogs().ask(QStringLiteral("警告：清空操作将删除所有的客户数据，且不可恢复！确定要清空吗？"),
                              QStringLiteral("警告"), Dialogs::Icon::Warning))
        return;
    QString error;
    if (!GoodsCatalog(m_core.db()).clear(&error))
        m_core.dialogs().error(QStringLiteral("清空失败！"));
    listAgain();
}

// After the catalogue changed: its categories, its names and the list.
void GoodsCatalogWindow::listAgain()
{
    reloadTree();
    reloadNames();
    search();
}

void GoodsCatalogWindow::importGoods()
{
    GoodsImportDialog dialog(m_core, this);
    dialog.exec();
    if (dialog.imported()) {
        reloadTree();
        showAll();
    }
}

void GoodsCatalogWindow::gridMenu(const QPoint &pos)
{
    QMenu menu(this);
    menu.addAction(m_importAction);
    menu.addAction(m_exportAction);
    menu.addAction(m_widthsAction);
    menu.exec(m_grid->viewport()->mapToGlobal(pos));
}

} // namespace moque::ui
