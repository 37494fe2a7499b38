#include "refdata/AddressBookWindow.h"

#include "app/AppCore.h"
#include "batch/RecipientImportWindow.h"
#include "common/Dialogs.h"
#include "store/SqlListModel.h"
#include "dialogs/CommandButton.h"
#include "grid/GridOperations.h"
#include "refdata/DAOPerson.h"
#include "refdata/AddressEntryDialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>

namespace moque::ui {

using refdata::DAOPerson;
using refdata::PersonFilter;
using refdata::TPerson;

namespace {

const QString windowName = QStringLiteral("fm_PersonManage");
const QString table = QStringLiteral("CKPersonalInfoTable");
const QString itemWord = QStringLiteral("单位信息");
const QString byRegion = QStringLiteral("[按地区分组]");
const QString byOther = QStringLiteral("[按其他分组]");

QLabel *clickableLabel(const QString &text, const char *name, QWidget *parent, QObject *filter)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setCursor(Qt::PointingHandCursor);
    l->installEventFilter(filter);
    return l;
}

QString nodePath(const QTreeWidgetItem *item)
{
    QStringList parts;
    for (; item; item = item->parent())
        parts.prepend(item->text(0));
    return parts.join(QLatin1Char('\\'));
}

} // namespace

AddressBookWindow::AddressBookWindow(moque::app::AppCore &core, QWidget *parent, Exporter exporter)
    : QDialog(parent)
    , m_core(core)
    , m_exporter(std::move(exporter))
{
    setObjectName(windowName);
    setWindowTitle(QStringLiteral("单位及客户资料管理"));

    m_model = new refdata::PersonListModel(this);

    QLayout *search = buildSearchBar();
    buildGroupTree();
    buildGrid();
    m_title = new QLabel(windowTitle(), this);
    m_title->setObjectName(QStringLiteral("lbTitle"));
    QSplitter *lists = buildListArea();
    QLayout *commands = buildCommands();
    QStatusBar *status = buildStatusBar();
    QMenuBar *menuBar = buildHelpMenu();

    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addWidget(m_title);
    layout->addLayout(search);
    layout->addWidget(lists, 1);
    layout->addLayout(commands);
    layout->addWidget(status);
    resize(900, 560);

    setImporter([this](QWidget *parent) {
        RecipientImportWindow window(m_core, batch::ImportTarget::AddressBook, parent);
        window.exec();
    });
    refreshTree();
    FormFaceLoad(this, m_core.settings());
}

QLayout *AddressBookWindow::buildSearchBar()
{
    m_keyHint = clickableLabel(QStringLiteral("?查找关键字："), "lbKeyHint", this, this);
    m_keyEdit = new QLineEdit(this);
    m_keyEdit->setObjectName(QStringLiteral("KeyEdit"));
    QPushButton *queryButton = commandButton(QStringLiteral("查询(&C)"), "btQuery", this);
    QPushButton *allButton = commandButton(QStringLiteral("全部(&A)"), "btAll", this);
    m_advancedButton = commandButton(QStringLiteral("<<"), "btAdvanced", this);
    m_advancedButton->setToolTip(QStringLiteral("高级"));
    buildAdvancedPanel();

    auto *search = new QHBoxLayout;
    search->addWidget(m_keyHint);
    search->addWidget(m_keyEdit, 1);
    search->addWidget(queryButton);
    search->addWidget(allButton);
    search->addWidget(m_advancedButton);
    search->addWidget(m_advancedPanel, 2);

    connect(queryButton, &QPushButton::clicked, this, &AddressBookWindow::runQuery);
    connect(m_keyEdit, &QLineEdit::returnPressed, this, &AddressBookWindow::runQuery);
    connect(allButton, &QPushButton::clicked, this, &AddressBookWindow::showAll);
    connect(m_advancedButton, &QPushButton::clicked, this, &AddressBookWindow::toggleAdvanced);
    return search;
}

void AddressBookWindow::buildAdvancedPanel()
{
    m_advancedPanel = new QWidget(this);
    m_advancedPanel->setObjectName(QStringLiteral("pnlAdvanced"));
    m_column = new QComboBox(m_advancedPanel);
    m_column->setObjectName(QStringLiteral("Column1"));
    m_equalOrContain = new QComboBox(m_advancedPanel);
    m_equalOrContain->setObjectName(QStringLiteral("EqualOrContain1"));
    m_equalOrContain->addItems({QStringLiteral("包含"), QStringLiteral("等于")});
    m_key = new QLineEdit(m_advancedPanel);
    m_key->setObjectName(QStringLiteral("key1"));
    QPushButton *exactButton = commandButton(QStringLiteral("精确查询"), "btExactQuery", m_advancedPanel);
    auto *advanced = new QHBoxLayout(m_advancedPanel);
    advanced->setContentsMargins(0, 0, 0, 0);
    advanced->addWidget(m_column);
    advanced->addWidget(m_equalOrContain);
    advanced->addWidget(m_key, 1);
    advanced->addWidget(exactButton);
    m_advancedPanel->hide();

    connect(exactButton, &QPushButton::clicked, this, &AddressBookWindow::exactQuery);
    connect(m_key, &QLineEdit::returnPressed, this, &AddressBookWindow::exactQuery);
}

void AddressBookWindow::buildGroupTree()
{
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("tvGroup"));
    m_tree->setHeaderHidden(true);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setMinimumWidth(5);
    m_tree->setMaximumWidth(400);
    for (const QString &caption : {refdata::groupAll, refdata::partyOwn, refdata::partyPartner,
                                   refdata::groupDefaultIssuer, byRegion, byOther})
        m_tree->addTopLevelItem(new QTreeWidgetItem(QStringList{caption}));

    connect(m_tree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) { treeClicked(item); });
}

void AddressBookWindow::buildGrid()
{
    m_grid = new QTableView(this);
    setUpListGrid(m_grid, QStringLiteral("gridPerson"), m_model, this);

    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this, &AddressBookWindow::headerClicked);
    connect(m_grid, &QTableView::doubleClicked, this, [this](const QModelIndex &index) { rowDoubleClicked(index.row()); });
    connect(m_grid, &QTableView::clicked, this, &AddressBookWindow::showSelection);
    connect(m_grid->selectionModel(), &QItemSelectionModel::selectionChanged, this, &AddressBookWindow::showSelection);
    connect(m_grid, &QTableView::customContextMenuRequested, this, &AddressBookWindow::gridMenu);
}

QSplitter *AddressBookWindow::buildListArea()
{
    auto *page = new QWidget(this);
    page->setObjectName(QStringLiteral("tsPerson"));
    auto *pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->addWidget(m_grid);
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("pcPerson"));
    m_tabs->addTab(page, QStringLiteral("【") + refdata::groupAll + QStringLiteral("】"));

    auto *splitter = new QSplitter(this);
    splitter->addWidget(m_tree);
    splitter->addWidget(m_tabs);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({160, 640});
    return splitter;
}

QLayout *AddressBookWindow::buildCommands()
{
    QPushButton *addButton = commandButton(QStringLiteral("添 加"), "btAdd", this);
    QPushButton *editButton = commandButton(QStringLiteral("修 改"), "btEdit", this);
    QPushButton *deleteSelectedButton = commandButton(QStringLiteral("删除选中"), "btDeleteSelected", this);
    QPushButton *deleteListedButton = commandButton(QStringLiteral("删除列出"), "btDeleteListed", this);
    QPushButton *defaultButton = commandButton(QStringLiteral("设为默认出票人"), "btSetDefault", this);
    m_refreshButton = commandButton(QStringLiteral("刷新(&R)"), "btRefresh", this);
    m_refreshButton->setEnabled(false);
    QPushButton *exportButton = commandButton(QStringLiteral("Excel导出"), "btExport", this);
    m_importButton = commandButton(QStringLiteral("Excel导入"), "btImport", this);
    m_importButton->setEnabled(false);
    m_deleteAllLabel = clickableLabel(QStringLiteral("删除所有点击我->>"), "lbDeleteAll", this, this);
    m_deleteAllButton = commandButton(QStringLiteral("删除所有"), "btDeleteAll", this);
    m_deleteAllButton->hide();
    QPushButton *closeButton = commandButton(QStringLiteral("关 闭"), "btClose", this);
    auto *commands = new QHBoxLayout;
    for (QPushButton *b : {addButton, editButton, deleteSelectedButton, deleteListedButton, defaultButton,
                           m_refreshButton, exportButton, m_importButton})
        commands->addWidget(b);
    commands->addStretch();
    commands->addWidget(m_deleteAllLabel);
    commands->addWidget(m_deleteAllButton);
    commands->addWidget(closeButton);

    connect(addButton, &QPushButton::clicked, this, &AddressBookWindow::addPerson);
    connect(editButton, &QPushButton::clicked, this, &AddressBookWindow::editPerson);
    connect(deleteSelectedButton, &QPushButton::clicked, this, &AddressBookWindow::deleteSelected);
    connect(deleteListedButton, &QPushButton::clicked, this, &AddressBookWindow::deleteListed);
    connect(m_deleteAllButton, &QPushButton::clicked, this, &AddressBookWindow::deleteAll);
    connect(defaultButton, &QPushButton::clicked, this, &AddressBookWindow::setDefaultIssuer);
    connect(m_refreshButton, &QPushButton::clicked, this, &AddressBookWindow::refreshList);
    connect(exportButton, &QPushButton::clicked, this, [this] {
        if (m_exporter)
            m_exporter(m_grid, QStringLiteral("单位信息导出"));
    });
    connect(m_importButton, &QPushButton::clicked, this, [this] {
        if (!m_importer)
            return;
        m_importer(this);
        refreshList();
    });
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
    return commands;
}

QStatusBar *AddressBookWindow::buildStatusBar()
{
    auto *status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    m_selectedPanel = new QLabel(status);
    m_selectedPanel->setObjectName(QStringLiteral("lbSelected"));
    m_totalPanel = new QLabel(status);
    m_totalPanel->setObjectName(QStringLiteral("lbTotal"));
    status->addWidget(m_selectedPanel);
    status->addWidget(m_totalPanel, 1);
    return status;
}

QMenuBar *AddressBookWindow::buildHelpMenu()
{
    auto *menuBar = new QMenuBar(this);
    QMenu *help = menuBar->addMenu(QStringLiteral("帮助"));
    QAction *howToGroup = help->addAction(QStringLiteral("分组如何添加?"));
    howToGroup->setObjectName(QStringLiteral("acHowToGroup"));

    connect(howToGroup, &QAction::triggered, this, [this] {
        m_core.dialogs().info(QStringLiteral("分组无需添加，当有一个单位的分组属性设置为\"分组A\"时，就会自动添加一个\"分组A\"的组。"));
    });
    return menuBar;
}

void AddressBookWindow::setTypeFilter(const QString &type, const QString &tabCaption)
{
    m_typeFilter = type;
    if (!tabCaption.isEmpty())
        m_tabs->setTabText(0, tabCaption);
}

void AddressBookWindow::setCaption(const QString &caption)
{
    setWindowTitle(caption);
    m_title->setText(caption);
}

void AddressBookWindow::setPickMode(bool pick)
{
    m_pickMode = pick;
    m_picked.reset();
    m_grid->setToolTip(pick ? QStringLiteral("鼠标双击选择指定的单位！") : QString());
}

void AddressBookWindow::setImporter(std::function<void(QWidget *)> importer)
{
    m_importer = std::move(importer);
    m_importButton->setEnabled(bool(m_importer));
}

QString AddressBookWindow::tabCaption() const
{
    return m_tabs->tabText(0);
}

std::optional<TPerson> AddressBookWindow::fetchOnePerson(moque::app::AppCore &core, const QString &type,
                                                        const QString &caption, QWidget *parent)
{
    AddressBookWindow window(core, parent);
    if (!caption.isEmpty())
        window.setCaption(caption);
    window.setPickMode(true);
    if (type == refdata::partyPartner || type == refdata::partyOwn)
        window.setTypeFilter(type, QStringLiteral("【") + type + QStringLiteral("】"));
    window.exec();
    return window.pickedPerson();
}

AddressEntryDialog *AddressBookWindow::editor()
{
    if (!m_editor) {
        m_editor = new AddressEntryDialog(m_core, this);
        connect(m_editor, &AddressEntryDialog::saved, this, [this] {
            reloadEntries();
            runQuery();
        });
    }
    return m_editor;
}

void AddressBookWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    reloadEntries();
    runQuery();
}

void AddressBookWindow::done(int result)
{
    GridColsWidthSave(m_grid, windowName, m_core.settings(), m_core.dialogs());
    FormFaceSave(this, m_core.settings());
    QDialog::done(result);
}

bool AddressBookWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == m_keyHint) {
            m_core.dialogs().info(QStringLiteral("默认查找单位、联系人、电话、手机、地址、助记码几项。"));
            return true;
        }
        if (watched == m_deleteAllLabel) {
            toggleDeleteAll();
            return true;
        }
    }
    if (watched == m_grid->viewport() && event->type() == QEvent::Wheel && m_grid->hasFocus()) {
        // One row per wheel step; towards the user is the next row.
        const int step = static_cast<QWheelEvent *>(event)->angleDelta().y() < 0 ? 1 : -1;
        const int row = std::clamp(currentRow() + step, 0, m_model->rowCount() - 1);
        if (row >= 0) {
            m_grid->selectRow(row);
            showSelection();
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void AddressBookWindow::reloadEntries()
{
    QString error;
    if (!m_model->load(m_core.db(), &error))
        m_model->close();
    m_loaded = true;
}

void AddressBookWindow::runQuery()
{
    query(false);
}

void AddressBookWindow::query(bool advanced)
{
    if (!advanced) {
        m_advancedPanel->hide();
        m_advancedButton->setText(QStringLiteral("<<"));
        m_key->clear();
    }
    if (m_group.isEmpty())
        m_group = refdata::groupAll;
    const QString keyword = m_keyEdit->text().trimmed();
    if (keyword.isEmpty() && m_group == refdata::groupAll && m_typeFilter.isEmpty() && m_key->text().isEmpty()) {
        showAll();
        return;
    }
    PersonFilter filter;
    if (advanced) {
        filter.column = m_column->currentText();
        filter.key = m_key->text();
        filter.equals = m_equalOrContain->currentText() == QStringLiteral("等于");
    } else if (!keyword.isEmpty()) {
        // A keyword searches every party type.
        m_typeFilter.clear();
        filter.keyword = keyword;
    }
    if (!m_typeFilter.isEmpty()) {
        filter.partyType = m_typeFilter;
        selectTreeNode(m_typeFilter);
    }
    if (m_group != refdata::groupAll)
        filter.group = m_group;
    filter.sortColumns = {m_sortColumn.trimmed().isEmpty() ? QStringLiteral("全称") : m_sortColumn};
    filter.direction = m_direction.trimmed().isEmpty() ? QStringLiteral("DESC") : m_direction;
    if (!m_loaded)
        reloadEntries();
    m_model->apply(filter);
    GridColsWidthLoadOrFit(m_grid, windowName, m_core.settings(), m_core.dialogs());
    listChanged();
}

void AddressBookWindow::showAll()
{
    m_key->clear();
    m_typeFilter.clear();
    m_group = refdata::groupAll;
    m_advancedPanel->hide();
    m_advancedButton->setText(QStringLiteral("<<"));
    PersonFilter filter;
    // The stored order: sort weight first, then the name.
    filter.sortColumns = m_sortColumn.trimmed().isEmpty() ? QStringList{QStringLiteral("排序"), QStringLiteral("全称")}
                                                          : QStringList{m_sortColumn};
    filter.direction = m_direction.trimmed().isEmpty() ? QStringLiteral("DESC") : m_direction;
    if (!m_loaded)
        reloadEntries();
    m_model->apply(filter);
    GridColsWidthLoadOrFit(m_grid, windowName, m_core.settings(), m_core.dialogs());
    selectTreeNode(refdata::groupAll);
    setTitle(QStringLiteral("单位及客户资料管理(") + QString::number(m_model->rowCount()) + QLatin1Char(')'));
    m_totalPanel->setText(QStringLiteral("系统共有[") + QString::number(DAOPerson(m_core.db()).CountPersons())
                          + QStringLiteral("]条."));
    m_keyEdit->clear();
    listChanged();
}

void AddressBookWindow::refreshList()
{
    reloadEntries();
    runQuery();
    setTitle(QStringLiteral("单位、客户管理(") + QString::number(m_model->rowCount()) + QLatin1Char(')'));
    m_totalPanel->setText(QStringLiteral("系统共有[") + QString::number(DAOPerson(m_core.db()).CountPersons())
                          + QStringLiteral("]条."));
    refreshTree();
}

void AddressBookWindow::refreshTree()
{
    const DAOPerson dao(m_core.db());
    const QStringList captions = {refdata::groupAll, refdata::partyOwn, refdata::partyPartner,
                                  refdata::groupDefaultIssuer};
    for (int i = 0; i < captions.size(); ++i)
        m_tree->topLevelItem(i)->setText(0, captions[i]);
    const QList<QPair<int, QStringList>> branches = {{4, dao.loadPersonTableProvinceList()},
                                                     {5, dao.loadPersonTableGroupList()}};
    for (const auto &[index, values] : branches) {
        QTreeWidgetItem *node = m_tree->topLevelItem(index);
        qDeleteAll(node->takeChildren());
        for (const QString &v : values)
            node->addChild(new QTreeWidgetItem(QStringList{v}));
    }
    m_tree->expandAll();
}

void AddressBookWindow::treeClicked(QTreeWidgetItem *item)
{
    if (!item)
        return;
    m_keyEdit->clear();
    m_key->clear();
    m_group.clear();
    m_typeFilter.clear();
    const bool topLevel = !item->parent();
    const QString caption = item->text(0);
    if (topLevel && (caption == refdata::partyPartner || caption == refdata::partyOwn))
        m_typeFilter = caption;
    else if (topLevel && caption == refdata::groupDefaultIssuer)
        m_group = refdata::groupDefaultIssuer;
    const QString path = nodePath(item);
    if (path == byRegion || path == byOther)
        return;
    const QString regionPrefix = byRegion + QLatin1Char('\\');
    const QString otherPrefix = byOther + QLatin1Char('\\');
    if (path.startsWith(regionPrefix))
        m_keyEdit->setText(path.mid(regionPrefix.size()));
    else if (path.startsWith(otherPrefix))
        m_group = path.mid(otherPrefix.size());
    else if (m_typeFilter.isEmpty() && m_group.isEmpty())
        m_group = path;
    m_tabs->setTabText(0, QStringLiteral("【") + path + QStringLiteral("】"));
    runQuery();
}

void AddressBookWindow::selectTreeNode(const QString &caption)
{
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        if (m_tree->topLevelItem(i)->text(0) == caption) {
            m_tree->setCurrentItem(m_tree->topLevelItem(i));
            return;
        }
    }
}

void AddressBookWindow::toggleAdvanced()
{
    const bool show = m_advancedPanel->isHidden();
    if (show && m_column->count() == 0) {
        const QStringList fields = m_model->fieldNames();
        for (int i = 1; i < fields.size(); ++i)
            if (fields[i] != QStringLiteral("排序"))
                m_column->addItem(fields[i]);
        m_column->setCurrentIndex(-1);
    }
    m_advancedPanel->setVisible(show);
    m_advancedButton->setText(show ? QStringLiteral(">>") : QStringLiteral("<<"));
}

void AddressBookWindow::exactQuery()
{
    m_typeFilter.clear();
    m_key->setText(m_key->text().trimmed());
    if (m_column->currentText().isEmpty()) {
        m_core.dialogs().warning(QStringLiteral("请选择要查询的列."));
        m_column->setFocus();
        return;
    }
    if (m_key->text().isEmpty()) {
        m_core.dialogs().warning(QStringLiteral("请输入精确查询的关键字"));
        m_key->setFocus();
        return;
    }
    query(true);
}

void AddressBookWindow::headerClicked(int column)
{
    const QStringList fields = m_model->fieldNames();
    if (column < 0 || column >= fields.size())
        return;
    m_sortColumn = fields[column];
    m_direction = m_direction.compare(QLatin1String("ASC"), Qt::CaseInsensitive) == 0 ? QStringLiteral("DESC")
                                                                                      : QStringLiteral("ASC");
    runQuery();
}

int AddressBookWindow::currentRow() const
{
    const QModelIndex current = m_grid->selectionModel()->currentIndex();
    if (current.isValid())
        return current.row();
    return m_model->rowCount() > 0 ? 0 : -1;
}

QList<int> AddressBookWindow::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : m_grid->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

void AddressBookWindow::setTitle(const QString &title)
{
    setWindowTitle(title);
}

void AddressBookWindow::listChanged()
{
    m_refreshButton->setEnabled(true);
    m_selectedPanel->setText(QStringLiteral("选中[") + QString::number(selectedRows().size()) + QLatin1Char('/')
                             + QString::number(m_model->rowCount()) + QStringLiteral("]条"));
}

void AddressBookWindow::showSelection()
{
    m_selectedPanel->setText(QStringLiteral("选中[") + QString::number(selectedRows().size()) + QLatin1Char('/')
                             + QString::number(m_model->rowCount()) + QStringLiteral("]条"));
    const QModelIndex current = m_grid->selectionModel()->currentIndex();
    if (!current.isValid())
        return;
    const QString name = m_model->value(current.row(), QStringLiteral("全称"));
    setTitle((m_pickMode ? QStringLiteral("选择单位-当前选中:") : QStringLiteral("单位、客户管理-当前选中:")) + name);
}

void AddressBookWindow::rowDoubleClicked(int row)
{
    TPerson person;
    person.setID(m_model->idAt(row));
    if (DAOPerson(m_core.db()).LoadPersonByID(person) != 1)
        return;
    if (m_pickMode) {
        m_picked = person;
        Q_EMIT personPicked(person);
        accept();
        return;
    }
    m_grid->selectionModel()->setCurrentIndex(m_model->index(row, 0), QItemSelectionModel::NoUpdate);
    editPerson();
}

void AddressBookWindow::addPerson()
{
    AddressEntryDialog *ed = editor();
    ed->clearEditor();
    if (m_typeFilter == refdata::partyOwn)
        ed->setPartyType(refdata::partyOwn);
    if (!m_group.isEmpty() && m_group != refdata::groupDefaultIssuer && m_group != refdata::groupAll)
        ed->setGroup(m_group);
    ed->setFromWindow(true);
    ed->exec();
    refreshTree();
}

void AddressBookWindow::editPerson()
{
    if (m_model->rowCount() == 0) {
        m_core.dialogs().info(QStringLiteral("没有单位可修改，请先选中一个要修改的单位！"));
        return;
    }
    AddressEntryDialog *ed = editor();
    ed->loadPerson(m_model->idAt(currentRow()));
    ed->setFromWindow(true);
    ed->exec();
    refreshTree();
}

void AddressBookWindow::deleteSelected()
{
    QVariantList ids;
    for (const int row : selectedRows())
        ids << m_model->idAt(row);
    const auto remove = [this, &ids](QString *error) {
        return deleteRowsByKeys(m_core.db(), table, QStringLiteral("ID"), ids, error);
    };
    if (confirmDeleteSelected(int(ids.size()), itemWord, remove, m_core.dialogs()))
        refreshList();
}

void AddressBookWindow::deleteListed()
{
    const auto remove = [this](QString *error) {
        QVariantList ids;
        for (const int id : m_model->listedIds())
            ids << id;
        return deleteRowsByKeys(m_core.db(), table, QStringLiteral("ID"), ids, error);
    };
    if (confirmDeleteListed(remove, m_core.dialogs()))
        refreshList();
}

void AddressBookWindow::deleteAll()
{
    Dialogs &dialogs = m_core.dialogs();
    const QString type = m_typeFilter.trimmed();
    if (!dialogs.ask(QStringLiteral("警告:此操作将删除所有") + type
                         + QStringLiteral("的资料,且不可恢复,建议此操作在导出备份后进行!确定立即清空吗？"),
                     QStringLiteral("警告"), Dialogs::Icon::Warning))
        return;
    if (DAOPerson(m_core.db()).DeleteAllPersons(type) < 0)
        dialogs.error(QStringLiteral("清空失败！"));
    refreshList();
}

void AddressBookWindow::toggleDeleteAll()
{
    m_widened = !m_widened;
    resize(width() + (m_widened ? 120 : -120), height());
    m_deleteAllButton->setVisible(m_widened);
}

void AddressBookWindow::setDefaultIssuer()
{
    Dialogs &dialogs = m_core.dialogs();
    if (m_model->rowCount() == 0) {
        dialogs.info(QStringLiteral("没有单位资料可设置，请先选中一个要设置的单位资料！"));
        return;
    }
    QString error;
    if (!DAOPerson(m_core.db()).SetDefaultIssuer(m_model->idAt(currentRow()), &error)) {
        dialogs.error(error);
        return;
    }
    dialogs.info(QStringLiteral("默认出票人设置成功！"));
    Q_EMIT defaultIssuerChanged();
    reloadEntries();
    runQuery();
    if (m_entryWindowsOpen && m_entryWindowsOpen()) {
        dialogs.info(QStringLiteral("默认出票人已经修改，请重新填开票据！"));
        Q_EMIT closeEntryWindowsRequested();
    }
}

void AddressBookWindow::gridMenu(const QPoint &pos)
{
    QMenu menu(this);
    const bool rows = m_model->rowCount() > 0;
    menu.addAction(QStringLiteral("添加新单位"), this, &AddressBookWindow::addPerson);
    menu.addAction(QStringLiteral("修改单位信息"), this, &AddressBookWindow::editPerson);
    menu.addAction(QStringLiteral("删除该单位"), this, &AddressBookWindow::deleteSelected);
    menu.addAction(QStringLiteral("设为默认出票人"), this, &AddressBookWindow::setDefaultIssuer)->setEnabled(rows);
    menu.addSeparator();
    menu.addAction(QStringLiteral("【记住列宽】当前数据"), this,
                   [this] { GridColsWidthSave(m_grid, windowName, m_core.settings(), m_core.dialogs()); });
    menu.addAction(QStringLiteral("【显示/隐藏】数据列"), this,
                   [this] { GridColsConfigration(m_grid, windowName, m_core.settings(), m_core.dialogs(), this); });
    menu.addAction(QStringLiteral("【刷新】"), this, &AddressBookWindow::refreshList);
    menu.exec(m_grid->viewport()->mapToGlobal(pos));
}

} // namespace moque::ui
