#include "refdata/CurrencyWindow.h"

#include "app/AppCore.h"
#include "common/Dialogs.h"
#include "dialogs/CommandButton.h"
#include "refdata/Currencies.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace moque::ui {

using refdata::Currencies;

CurrencyWindow::CurrencyWindow(moque::app::AppCore &core, QWidget *parent)
    : QDialog(parent)
    , m_core(core)
{
    // The window keeps the form name the system knows it by.
    setObjectName(QStringLiteral("frmCom"));
    setObjectName(QStringLiteral("frmCom"));
    setWindowTitle(QStringLiteral("币种设置"));

    m_names = new QComboBox(this);
    m_names->setObjectName(QStringLiteral("cbMoneyName"));
    m_names->setPlaceholderText(QStringLiteral("(请选择)"));
    // The codes in the order of the names; never shown.
    m_codes = new QComboBox(this);
    m_codes->setObjectName(QStringLiteral("cbMoneyCode"));
    m_codes->hide();
    m_newName = new QLineEdit(this);
    m_newName->setObjectName(QStringLiteral("edtNewName"));
    m_newCode = new QLineEdit(this);
    m_newCode->setObjectName(QStringLiteral("edtNewCode"));

    // Every currency at a glance, in list order; a click chooses it.
    m_list = new QStandardItemModel(0, 3, this);
    m_list->setHorizontalHeaderLabels({QStringLiteral("币种"), QStringLiteral("缩写"), QStringLiteral("顺序")});
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("gridCoins"));
    m_grid->setModel(m_list);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setMinimumHeight(180);

    QPushButton *add = commandButton(QStringLiteral("增加"), QStringLiteral("btAdd"), this);
    QPushButton *remove = commandButton(QStringLiteral("删除"), QStringLiteral("btDelete"), this);
    QPushButton *modify = commandButton(QStringLiteral("修改"), QStringLiteral("btModify"), this);
    QPushButton *close = commandButton(QStringLiteral("关闭"), QStringLiteral("btClose"), this);
    m_export = commandButton(QStringLiteral("导出Excel"), QStringLiteral("btExport"), this);
    m_export->hide();

    auto *form = new QGridLayout;
    form->addWidget(new QLabel(QStringLiteral("选择币种"), this), 0, 0);
    form->addWidget(m_names, 0, 1);
    form->addWidget(new QLabel(QStringLiteral("输入新币种"), this), 1, 0);
    form->addWidget(m_newName, 1, 1);
    form->addWidget(new QLabel(QStringLiteral("输入新简码"), this), 2, 0);
    form->addWidget(m_newCode, 2, 1);
    form->setColumnStretch(1, 1);
    form->setHorizontalSpacing(10);

    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {add, remove, modify})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(m_export);
    buttons->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setMinimumSize(420, 380);

    connect(m_names, &QComboBox::currentIndexChanged, this, &CurrencyWindow::currencyChosen);
    connect(add, &QPushButton::clicked, this, &CurrencyWindow::addEntry);
    connect(remove, &QPushButton::clicked, this, &CurrencyWindow::deleteEntry);
    connect(modify, &QPushButton::clicked, this, &CurrencyWindow::saveChange);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_grid, &QTableView::clicked, this, [this](const QModelIndex &index) {
        m_names->setCurrentIndex(m_names->findText(m_list->item(index.row(), 0)->text()));
    });
    connect(m_export, &QPushButton::clicked, this, [this] {
        if (m_exporter)
            m_exporter(m_grid, QStringLiteral("币种导出"));
    });

    reload();
}

QString CurrencyWindow::chosenName() const
{
    return m_names->currentIndex() < 0 ? QString() : m_names->currentText();
}

void CurrencyWindow::reload(const QString &name)
{
    const QSignalBlocker blocker(m_names);
    m_names->clear();
    m_codes->clear();
    m_list->removeRows(0, m_list->rowCount());
    for (const refdata::Currency &c : Currencies(m_core.db()).loadCurrencies()) {
        m_names->addItem(c.name);
        m_codes->addItem(c.code);
        m_list->appendRow({new QStandardItem(c.name), new QStandardItem(c.code),
                           new QStandardItem(QString::number(c.order))});
    }
    m_names->setCurrentIndex(m_names->findText(name));
}

void CurrencyWindow::setExporter(Exporter exporter)
{
    m_exporter = std::move(exporter);
    m_export->setVisible(bool(m_exporter));
}

void CurrencyWindow::currencyChosen(int index)
{
    if (index < 0)
        return;
    const QString name = m_names->itemText(index);
    m_codes->setCurrentIndex(index);
    m_newName->setText(name);
    m_newCode->setText(Currencies(m_core.db()).getMoneyCodeByName(name));
}

void CurrencyWindow::tell(const QString &text, const QString &caption, bool ok)
{
    m_core.dialogs().message(text, caption, ok ? Dialogs::Icon::Information : Dialogs::Icon::Warning);
}

void CurrencyWindow::addEntry()
{
    const Currencies::Outcome outcome = Currencies(m_core.db()).addCurrency(m_newName->text(), m_newCode->text());
    tell(outcome.text, outcome.caption, outcome.ok());
    switch (outcome.result) {
    case Currencies::Result::Done:
        reload(m_newName->text().trimmed());
        break;
    case Currencies::Result::EmptyName:
    case Currencies::Result::NameExists:
        m_newName->setFocus();
        break;
    case Currencies::Result::EmptyCode:
    case Currencies::Result::CodeExists:
        m_newCode->setFocus();
        break;
    default:
        break;
    }
}

void CurrencyWindow::deleteEntry()
{
    const Currencies::Outcome outcome = Currencies(m_core.db()).deleteCurrency(chosenName());
    tell(outcome.text, outcome.caption, outcome.ok());
    if (outcome.ok()) {
        m_newName->clear();
        m_newCode->clear();
        reload();
    }
}

void CurrencyWindow::saveChange()
{
    const QString chosen = chosenName();
    const Currencies::Outcome outcome = Currencies(m_core.db()).changeCode(chosen, m_newName->text(), m_newCode->text());
    tell(outcome.text, outcome.caption, outcome.ok());
    if (outcome.result == Currencies::Result::NameChanged)
        m_newName->setText(chosen);
    else if (outcome.ok())
        reload(chosen);
    else if (outcome.result == Currencies::Result::EmptyCode || outcome.result == Currencies::Result::CodeExists)
        m_newCode->setFocus();
}

} // namespace moque::ui
