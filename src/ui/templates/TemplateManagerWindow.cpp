#include "templates/TemplateManagerWindow.h"

#include "app/AppCore.h"
#include "common/Dialogs.h"
#include "designers/ImageViewer.h"
#include "dialogs/CommandButton.h"
#include "grid/GridOperations.h"
#include "store/SqlListModel.h"
#include "templates/TemplateCatalog.h"
#include "templates/TemplateManagement.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSqlError>
#include <QTabBar>
#include <QTableView>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>

namespace moque::ui {

using templates::TemplateManagement;
using Tab = TemplateManagement::Tab;

namespace {

TemplateManagement management(app::AppCore &core)
{
    return TemplateManagement(core.db(), core.dialogs(), core.store(), core.dir().imageDir());
}

// Grid columns of the list, in the order the query gives them.
enum Column { Number, FullName, Default, Common, Enabled, Kind, Picture };

} // namespace

TemplateManagerWindow::TemplateManagerWindow(moque::app::AppCore &core, int startTemplateId, QWidget *parent)
    : QDialog(parent)
    , m_core(core)
    , m_startTemplateId(startTemplateId)
{
    setObjectName(QStringLiteral("frmCheckTypeMng"));
    setWindowTitle(QStringLiteral("票据模板管理"));

    m_tabs = new QTabBar(this);
    m_tabs->setObjectName(QStringLiteral("tabState"));
    for (const char *tab : {"所有可用模板", "常用的模板", "默认的模板", "隐藏的模板"})
        m_tabs->addTab(QString::fromUtf8(tab));

    m_kinds = new QComboBox(this);
    m_kinds->setObjectName(QStringLiteral("cbTypeFirstName"));
    m_kinds->addItem(TemplateManagement::allKinds);
    m_kinds->addItems(templates::TemplateCatalog(core.db(), core.dialogs(), core.store()).loadCheckTypeFirstNameList());
    m_keyword = new QLineEdit(this);
    m_keyword->setObjectName(QStringLiteral("edtKeyword"));
    QPushButton *query = commandButton(QStringLiteral("查询"), QStringLiteral("btQuery"), this);
    QPushButton *filter = commandButton(QStringLiteral("过滤模板(&F)"), QStringLiteral("btFilter"), this);
    QPushButton *all = commandButton(QStringLiteral("全部模板列表"), QStringLiteral("btAll"), this);

    m_model = new SqlListModel(this);
    m_grid = new QTableView(this);
    setUpListGrid(m_grid, QStringLiteral("gridTemplates"), m_model, this);

    m_setDefault = commandButton(QStringLiteral("设置为【默认票据模板】"), QStringLiteral("btSetDefault"), this);
    m_setCommon = commandButton(QStringLiteral("设置为【常用】票据模板"), QStringLiteral("btSetCommon"), this);
    m_hide = commandButton(QStringLiteral("【隐藏选中】票据模版(&H)"), QStringLiteral("btHide"), this);
    m_enable = commandButton(QStringLiteral("【启用】选中票据模版(&H)"), QStringLiteral("btEnable"), this);
    m_removeCommon = commandButton(QStringLiteral("从常用模板【移出】(&M)"), QStringLiteral("btRemoveCommon"), this);
    m_delete = commandButton(QStringLiteral("【删除选中】票据模板(&K)"), QStringLiteral("btDelete"), this);
    QPushButton *clone = commandButton(QStringLiteral("克隆为新模板"), QStringLiteral("btClone"), this);
    QPushButton *rename = commandButton(QStringLiteral("模板重命名"), QStringLiteral("btRename"), this);
    QPushButton *import = commandButton(QStringLiteral("外部【导入】模板"), QStringLiteral("btImport"), this);
    QPushButton *close = commandButton(QStringLiteral("关闭"), QStringLiteral("btClose"), this);

    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("pmTemplates"));
    m_menuDefault = m_menu->addAction(QStringLiteral("设为默认模板"), this, &TemplateManagerWindow::setDefaultTemplate);
    m_menuCommon = m_menu->addAction(QStringLiteral("设为常用模板"), this, [this] { setCommon(true); });
    m_menuRemoveCommon = m_menu->addAction(QStringLiteral("移出常用模板"), this, [this] { setCommon(false); });
    m_menu->addSeparator();
    m_menuHide = m_menu->addAction(QStringLiteral("隐藏模板-停用"), this, &TemplateManagerWindow::hideTemplates);
    m_menuEnable = m_menu->addAction(QStringLiteral("启用模板-不隐藏"), this, &TemplateManagerWindow::enableTemplates);
    m_menuDelete = m_menu->addAction(QStringLiteral("删除选中模板"), this, &TemplateManagerWindow::deleteTemplates);
    m_menu->addSeparator();
    m_menuDesign = m_menu->addAction(QStringLiteral("模板设计"), this, &TemplateManagerWindow::designTemplate);
    m_menuClone = m_menu->addAction(QStringLiteral("克隆为新模板"), this, &TemplateManagerWindow::cloneTemplate);
    m_menu->addAction(QStringLiteral("模板重命名"), this, &TemplateManagerWindow::renameTemplate);
    m_menu->addSeparator();
    m_menu->addAction(QStringLiteral("导入模板"), this, &TemplateManagerWindow::importRequested);
    m_menu->addAction(QStringLiteral("导出模板"))->setVisible(false);
    m_menu->addAction(QStringLiteral("刷新"), this, &TemplateManagerWindow::refresh);

    auto *filters = new QHBoxLayout;
    filters->addWidget(new QLabel(QStringLiteral("模板种类"), this));
    filters->addWidget(m_kinds);
    filters->addWidget(new QLabel(QStringLiteral("关键字"), this));
    filters->addWidget(m_keyword, 1);
    for (QPushButton *b : {query, filter, all})
        filters->addWidget(b);

    auto *commands = new QVBoxLayout;
    for (QPushButton *b : {m_setDefault, m_setCommon, m_hide, m_enable, m_removeCommon, m_delete})
        commands->addWidget(b);
    commands->addSpacing(12);
    for (QPushButton *b : {clone, rename, import})
        commands->addWidget(b);
    commands->addStretch();
    commands->addWidget(close);

    auto *body = new QHBoxLayout;
    body->addWidget(m_grid, 1);
    body->addLayout(commands);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addLayout(filters);
    layout->addLayout(body, 1);
    resize(820, 520);

    connect(m_tabs, &QTabBar::currentChanged, this, &TemplateManagerWindow::refresh);
    connect(m_kinds, &QComboBox::currentIndexChanged, this, &TemplateManagerWindow::kindChosen);
    connect(m_keyword, &QLineEdit::returnPressed, this, &TemplateManagerWindow::search);
    connect(query, &QPushButton::clicked, this, &TemplateManagerWindow::search);
    connect(filter, &QPushButton::clicked, this, &TemplateManagerWindow::refresh);
    connect(all, &QPushButton::clicked, this, &TemplateManagerWindow::showAll);
    connect(m_setDefault, &QPushButton::clicked, this, &TemplateManagerWindow::setDefaultTemplate);
    connect(m_setCommon, &QPushButton::clicked, this, [this] { setCommon(true); });
    connect(m_removeCommon, &QPushButton::clicked, this, [this] { setCommon(false); });
    connect(m_hide, &QPushButton::clicked, this, &TemplateManagerWindow::hideTemplates);
    connect(m_enable, &QPushButton::clicked, this, &TemplateManagerWindow::enableTemplates);
    connect(m_delete, &QPushButton::clicked, this, &TemplateManagerWindow::deleteTemplates);
    connect(clone, &QPushButton::clicked, this, &TemplateManagerWindow::cloneTemplate);
    connect(rename, &QPushButton::clicked, this, &TemplateManagerWindow::renameTemplate);
    connect(import, &QPushButton::clicked, this, &TemplateManagerWindow::importRequested);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_grid, &QTableView::doubleClicked, this, [this](const QModelIndex &index) { showPicture(index.row()); });
    connect(m_grid, &QTableView::customContextMenuRequested, this,
            [this](const QPoint &at) { m_menu->popup(m_grid->viewport()->mapToGlobal(at)); });

    setCommandStates();
}

void TemplateManagerWindow::setStartTemplate(int templateId)
{
    m_startTemplateId = templateId;
}

QList<int> TemplateManagerWindow::selectedTemplateIds() const
{
    QList<int> rows;
    for (const QModelIndex &index : m_grid->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    QList<int> ids;
    for (int row : rows)
        ids << m_model->index(row, Number).data().toInt();
    return ids;
}

int TemplateManagerWindow::currentTemplateId() const
{
    const QModelIndex current = m_grid->currentIndex();
    if (m_model->rowCount() == 0)
        return 0;
    return m_model->index(current.isValid() ? current.row() : 0, Number).data().toInt();
}

void TemplateManagerWindow::refresh()
{
    if (m_startTemplateId > 0) {
        const QString kind = templates::TemplateCatalog(m_core.db(), m_core.dialogs(), m_core.store())
                                 .loadCheckTypeFirstNameByID(m_startTemplateId);
        const int index = m_kinds->findText(kind);
        if (index >= 0) {
            const QSignalBlocker blocker(m_kinds);
            m_kinds->setCurrentIndex(index);
            setKindCaptions(kind);
        }
    }
    const QString kind = m_kinds->currentIndex() > 0 ? m_kinds->currentText() : QString();
    const TemplateManagement::ListQuery list =
        TemplateManagement::listQuery(Tab(m_tabs->currentIndex()), kind, m_keyword->text());
    m_model->setSource(m_core.db(), list.sql, list.values, QStringLiteral("CKTypeTable"),
                       QStringLiteral("CheckTypeID"));
    if (!m_model->refresh())
        m_core.dialogs().error(QStringLiteral("模板列表失败:Error=") + m_model->lastError().text());

    setWindowTitle(TemplateManagement::windowCaption(m_kinds->currentText(), m_model->rowCount()));
    const QList<std::pair<Column, int>> widths{{Number, 35}, {FullName, 200}, {Default, 30}, {Common, 30},
                                               {Enabled, 50}};
    // The form's widths, or as much as a value needs in this font ("默认" is wider than 30 pixels here).
    for (const auto &[column, width] : widths) {
        m_grid->resizeColumnToContents(column);
        m_grid->setColumnWidth(column, qMax(width, m_grid->columnWidth(column)));
    }
    m_grid->setColumnHidden(Kind, true);
    m_grid->horizontalHeader()->setStretchLastSection(true);

    // The cursor starts on the template the window was opened for.
    int row = 0;
    for (int r = 0; r < m_model->rowCount(); ++r)
        if (m_model->index(r, Number).data().toInt() == m_startTemplateId)
            row = r;
    if (m_model->rowCount() > 0)
        m_grid->setCurrentIndex(m_model->index(row, Number));
    setCommandStates();
    m_keyword->clear();
}

void TemplateManagerWindow::search()
{
    m_keyword->setText(m_keyword->text().trimmed());
    if (m_keyword->text().isEmpty())
        m_keyword->setFocus();
    refresh();
}

void TemplateManagerWindow::showAll()
{
    {
        const QSignalBlocker kinds(m_kinds);
        const QSignalBlocker tabs(m_tabs);
        m_kinds->setCurrentIndex(0);
        m_tabs->setCurrentIndex(int(Tab::Usable));
    }
    m_startTemplateId = 0;
    refresh();
    setKindCaptions({});
}

void TemplateManagerWindow::kindChosen(int index)
{
    setKindCaptions(index > 0 ? m_kinds->itemText(index) : QString());
    m_startTemplateId = 0;
    refresh();
}

void TemplateManagerWindow::setKindCaptions(const QString &kind)
{
    m_setDefault->setText(TemplateManagement::defaultButtonCaption(kind));
    m_setCommon->setText(TemplateManagement::commonButtonCaption(kind));
}

void TemplateManagerWindow::setCommandStates()
{
    const TemplateManagement::Buttons on = TemplateManagement::buttonsFor(Tab(m_tabs->currentIndex()));
    const QList<std::pair<bool, std::pair<QPushButton *, QAction *>>> commands{
        {on.setDefault, {m_setDefault, m_menuDefault}}, {on.setCommon, {m_setCommon, m_menuCommon}},
        {on.hide, {m_hide, m_menuHide}},                {on.enable, {m_enable, m_menuEnable}},
        {on.removeCommon, {m_removeCommon, m_menuRemoveCommon}}, {on.remove, {m_delete, m_menuDelete}}};
    for (const auto &[enabled, controls] : commands) {
        controls.first->setEnabled(enabled);
        controls.second->setEnabled(enabled);
    }
    m_menuDesign->setEnabled(on.hide || !on.setDefault);
    m_menuClone->setEnabled(m_model->rowCount() > 0);
}

void TemplateManagerWindow::showTab(int tab)
{
    if (m_tabs->currentIndex() == tab)
        refresh();
    else
        m_tabs->setCurrentIndex(tab);
}

void TemplateManagerWindow::setDefaultTemplate()
{
    if (management(m_core).setDefault(currentTemplateId()))
        showTab(int(Tab::Default));
}

void TemplateManagerWindow::setCommon(bool common)
{
    const QList<int> ids = selectedTemplateIds();
    TemplateManagement m = management(m_core);
    if ((common ? m.setCommon(ids) : m.removeFromCommon(ids)) >= 0)
        showTab(int(Tab::Common));
}

void TemplateManagerWindow::hideTemplates()
{
    if (management(m_core).hide(selectedTemplateIds()))
        refresh();
}

void TemplateManagerWindow::enableTemplates()
{
    if (management(m_core).enable(selectedTemplateIds()))
        refresh();
}

void TemplateManagerWindow::deleteTemplates()
{
    const QList<int> ids = selectedTemplateIds();
    if (ids.isEmpty())
        return;
    management(m_core).deleteTemplates(ids);
    refresh();
}

void TemplateManagerWindow::cloneTemplate()
{
    const int id = currentTemplateId();
    if (id > 0 && management(m_core).cloneTemplate(id) > 0)
        refresh();
}

void TemplateManagerWindow::renameTemplate()
{
    const int id = currentTemplateId();
    if (id > 0 && management(m_core).renameTemplate(id))
        refresh();
}

void TemplateManagerWindow::designTemplate()
{
    const int id = currentTemplateId();
    if (id > 0)
        Q_EMIT offsetRequested(id);
}

void TemplateManagerWindow::showPicture(int row)
{
    if (row < 0)
        return;
    ImageViewer viewer(m_core, this);
    viewer.loadPictureByFullName(m_model->index(row, FullName).data().toString());
    viewer.exec();
}

void TemplateManagerWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormFaceLoad(this, m_core.settings());
    refresh();
}

void TemplateManagerWindow::done(int result)
{
    FormFaceSave(this, m_core.settings());
    QDialog::done(result);
}

bool TemplateManagerWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_grid->viewport() && event->type() == QEvent::Wheel && m_grid->hasFocus()) {
        // One row per wheel step; towards the user is the next row.
        const int rows = m_model->rowCount();
        if (rows > 0) {
            const int step = static_cast<QWheelEvent *>(event)->angleDelta().y() < 0 ? 1 : -1;
            m_grid->selectRow(std::clamp(m_grid->currentIndex().row() + step, 0, rows - 1));
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace moque::ui
