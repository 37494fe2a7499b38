#include "refdata/DictionaryWindow.h"

#include "app/AppCore.h"
#include "common/Dialogs.h"
#include "dialogs/CommandButton.h"
#include "refdata/Dictionaries.h"
#include "templates/TemplateCatalog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStringListModel>
#include <QTableView>
#include <QVBoxLayout>

namespace moque::ui {

using refdata::Dictionaries;
using refdata::DictionaryValueModel;

namespace {

const QString allTemplates = QStringLiteral("<适用所有单据>");

} // namespace

DictionaryWindow::DictionaryWindow(moque::app::AppCore &core, int templateId, QWidget *parent)
    : QDialog(parent)
    , m_core(core)
{
    // The window keeps the form name the system knows it by.
    setObjectName(QStringLiteral("fm_DMConfig"));
    setObjectName(QStringLiteral("fm_DMConfig"));
    setWindowTitle(QStringLiteral("墨雀软件-字典管理"));

    m_templates = new QComboBox(this);
    m_templates->setObjectName(QStringLiteral("cbTemplates"));
    m_templates->addItem(allTemplates);
    templates::TemplateCatalog catalog(core.db(), core.dialogs(), core.store());
    m_templates->addItems(catalog.loadCheckTypeFullNameList(QString()));

    m_nameModel = new QStringListModel(this);
    m_names = new QListView(this);
    m_names->setObjectName(QStringLiteral("lstNames"));
    m_names->setModel(m_nameModel);
    m_names->setEditTriggers(QAbstractItemView::NoEditTriggers);

    m_nameBox = new QComboBox(this);
    m_nameBox->setObjectName(QStringLiteral("cbDMName"));
    m_nameBox->setEditable(true);
    m_nameBox->setInsertPolicy(QComboBox::NoInsert);
    m_nameBox->addItems(refdata::presetDictionaryNames());
    m_nameBox->setCurrentIndex(-1);
    QPushButton *addName = commandButton(QStringLiteral("2.1增加"), QStringLiteral("btAddName"), this);

    m_valuesLabel = new QLabel(this);
    m_valuesLabel->setObjectName(QStringLiteral("lbValues"));
    m_showCommon = new QCheckBox(QStringLiteral("显示公共字典内容"), this);
    m_showCommon->setObjectName(QStringLiteral("chkShowCommon"));
    m_showCommon->setChecked(true);

    m_values = new DictionaryValueModel(this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("gridValues"));
    m_grid->setModel(m_values);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                            | QAbstractItemView::AnyKeyPressed);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    m_grid->setColumnHidden(DictionaryValueModel::IdColumn, true);
    m_grid->setColumnHidden(DictionaryValueModel::NameColumn, true);
    m_grid->horizontalHeader()->setSectionResizeMode(DictionaryValueModel::ValueColumn, QHeaderView::Stretch);
    m_grid->horizontalHeader()->setSectionResizeMode(DictionaryValueModel::TemplateColumn, QHeaderView::Fixed);
    m_grid->setColumnWidth(DictionaryValueModel::TemplateColumn, 64);

    QPushButton *append = commandButton(QStringLiteral("+添加"), QStringLiteral("btAppend"), this);
    QPushButton *edit = commandButton(QStringLiteral("E 修改"), QStringLiteral("btEdit"), this);
    QPushButton *remove = commandButton(QStringLiteral("- 删除"), QStringLiteral("btDelete"), this);
    QPushButton *save = commandButton(QStringLiteral("保存并刷新"), QStringLiteral("btSave"), this);
    m_export = commandButton(QStringLiteral("导出Excel"), QStringLiteral("btExport"), this);
    m_export->hide();
    QPushButton *close = commandButton(QStringLiteral("关闭"), QStringLiteral("btClose"), this);

    auto *left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("1、选择适用单据类型："), this));
    left->addWidget(m_templates);
    left->addSpacing(6);
    left->addWidget(new QLabel(QStringLiteral("2、选择字典名称："), this));
    left->addWidget(m_names, 1);
    auto *newName = new QHBoxLayout;
    newName->addWidget(m_nameBox, 1);
    newName->addWidget(addName);
    left->addLayout(newName);

    auto *right = new QVBoxLayout;
    auto *valuesHead = new QHBoxLayout;
    valuesHead->addWidget(m_valuesLabel, 1);
    valuesHead->addWidget(m_showCommon);
    right->addLayout(valuesHead);
    right->addWidget(m_grid, 1);
    auto *valueButtons = new QHBoxLayout;
    for (QPushButton *b : {append, edit, remove, save})
        valueButtons->addWidget(b);
    valueButtons->addStretch();
    right->addLayout(valueButtons);

    auto *columns = new QHBoxLayout;
    columns->addLayout(left, 2);
    columns->addSpacing(8);
    columns->addLayout(right, 3);

    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(m_export);
    bottom->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addLayout(bottom);
    setMinimumSize(720, 460);

    connect(m_templates, &QComboBox::currentIndexChanged, this, &DictionaryWindow::templateChosen);
    connect(m_names->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) {
                if (current.isValid())
                    nameChosen(current.data().toString());
            });
    // A click on a value starts editing it.
    connect(m_grid, &QTableView::clicked, this, [this](const QModelIndex &index) {
        if (index.flags() & Qt::ItemIsEditable)
            m_grid->edit(index);
    });
    connect(m_showCommon, &QCheckBox::toggled, this, [this] {
        if (storePending())
            loadValues();
    });
    connect(addName, &QPushButton::clicked, this, &DictionaryWindow::addDictionary);
    connect(append, &QPushButton::clicked, this, &DictionaryWindow::appendValue);
    connect(edit, &QPushButton::clicked, this, &DictionaryWindow::editEntry);
    connect(remove, &QPushButton::clicked, this, &DictionaryWindow::deleteEntry);
    connect(save, &QPushButton::clicked, this, &DictionaryWindow::saveValues);
    connect(m_export, &QPushButton::clicked, this, &DictionaryWindow::exportList);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    // The template of the main window is preselected, the first entry when it has none.
    const QString fullName = templateId > 0 ? catalog.loadCheckTypeFullNameByID(templateId) : QString();
    const int index = fullName.isEmpty() ? 0 : qMax(0, m_templates->findText(fullName));
    if (m_templates->currentIndex() == index)
        templateChosen(index);
    else
        m_templates->setCurrentIndex(index);
}

void DictionaryWindow::setExporter(Exporter exporter)
{
    m_exporter = std::move(exporter);
    m_export->setVisible(bool(m_exporter));
}

void DictionaryWindow::templateChosen(int index)
{
    if (!storePending())
        return;
    const QString fullName = m_templates->itemText(index);
    if (index <= 0) {
        m_templateId = 0;
    } else {
        templates::TemplateCatalog catalog(m_core.db(), m_core.dialogs(), m_core.store());
        m_templateId = catalog.loadCheckTypeIDByTypeFullName(fullName).toInt();
    }
    setWindowTitle(QStringLiteral("字典设置-") + fullName + QStringLiteral("(单据号=") + QString::number(m_templateId)
                   + QLatin1Char(')'));
    loadNames();
}

void DictionaryWindow::loadNames()
{
    Dictionaries dictionaries(m_core.db());
    const QStringList names = dictionaries.loadDictionaryNames(m_templateId);
    m_nameModel->setStringList(names);
    if (names.isEmpty()) {
        nameChosen(QString());
        return;
    }
    const int row = qMax(0, int(names.indexOf(m_name)));
    // Selecting the row loads its values; the same row again must reload them too.
    if (m_names->currentIndex().row() == row)
        nameChosen(names[row]);
    else
        m_names->setCurrentIndex(m_nameModel->index(row));
}

void DictionaryWindow::nameChosen(const QString &name)
{
    if (!storePending())
        return;
    m_name = name;
    if (!name.isEmpty())
        m_nameBox->setCurrentText(name);
    m_valuesLabel->setText(QStringLiteral("3、[") + name + QStringLiteral("]已有字典内容：(\"单据号=0\"表示公用内容)"));
    loadValues();
}

void DictionaryWindow::loadValues()
{
    Dictionaries dictionaries(m_core.db());
    const bool withCommon = m_showCommon->isChecked();
    const auto rows = dictionaries.loadValues(m_name, m_templateId, withCommon);
    if (!rows) {
        m_values->setRows({});
        m_core.dialogs().error(QStringLiteral("错误,sql=") + Dictionaries::valuesStatement(withCommon));
        return;
    }
    m_values->setRows(*rows);
}

bool DictionaryWindow::storePending()
{
    // Moving the current cell away closes an open editor and hands its text to the model.
    const QModelIndex current = m_grid->currentIndex();
    m_grid->setCurrentIndex(QModelIndex());
    Dictionaries dictionaries(m_core.db());
    if (!dictionaries.saveValues(m_values->pendingRows())) {
        m_core.dialogs().error(QStringLiteral("保存字典内容失败:") + dictionaries.lastError());
        m_grid->setCurrentIndex(current);
        return false;
    }
    return true;
}

void DictionaryWindow::addDictionary()
{
    if (!storePending())
        return;
    Dictionaries dictionaries(m_core.db());
    const Dictionaries::Outcome outcome = dictionaries.addDictionary(m_templateId, m_nameBox->currentText());
    switch (outcome.result) {
    case Dictionaries::Result::Done:
        m_name = m_nameBox->currentText().trimmed();
        loadNames();
        break;
    case Dictionaries::Result::EmptyName:
        m_core.dialogs().info(outcome.text, outcome.caption);
        m_nameBox->setFocus();
        break;
    case Dictionaries::Result::Exists:
        m_core.dialogs().info(outcome.text, outcome.caption);
        break;
    case Dictionaries::Result::Failed:
        m_core.dialogs().error(outcome.text, outcome.caption);
        break;
    }
}

void DictionaryWindow::appendValue()
{
    if (m_name.isEmpty())
        return;
    const int row = m_values->appendRow(m_name, m_templateId);
    const QModelIndex cell = m_values->index(row, DictionaryValueModel::ValueColumn);
    m_grid->setCurrentIndex(cell);
    m_grid->edit(cell);
}

void DictionaryWindow::editEntry()
{
    const QModelIndex current = m_grid->currentIndex();
    if (!current.isValid())
        return;
    const QModelIndex cell = m_values->index(current.row(), DictionaryValueModel::ValueColumn);
    m_grid->setCurrentIndex(cell);
    m_grid->edit(cell);
}

void DictionaryWindow::deleteEntry()
{
    if (m_values->rowCount() == 0) {
        m_core.dialogs().info(QStringLiteral("对不起，没有内容可删除！"));
        return;
    }
    const int row = m_grid->currentIndex().row();
    if (row < 0 || !m_core.dialogs().ask(QStringLiteral("确认删除字典项目吗？"), QStringLiteral("提示"),
                                         Dialogs::Icon::Question))
        return;
    const refdata::DictionaryValue value = m_values->row(row);
    if (value.id != 0) {
        Dictionaries dictionaries(m_core.db());
        if (!dictionaries.deleteValue(value.id)) {
            m_core.dialogs().error(QStringLiteral("删除字典内容失败:") + dictionaries.lastError());
            return;
        }
    }
    m_values->removeListedRow(row);
    if (m_values->rowCount() == 0)
        loadNames();
}

void DictionaryWindow::saveValues()
{
    if (storePending())
        loadValues();
}

void DictionaryWindow::exportList()
{
    if (m_exporter)
        m_exporter(m_grid, QStringLiteral("字典内容导出"));
}

void DictionaryWindow::done(int result)
{
    storePending();
    QDialog::done(result);
}

} // namespace moque::ui
