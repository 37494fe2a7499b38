#include "refdata/ProvinceCityWindow.h"

#include "app/AppCore.h"
#include "common/Dialogs.h"
#include "dialogs/CommandButton.h"
#include "refdata/CodeLists.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStringListModel>
#include <QVBoxLayout>

namespace moque::ui {

using refdata::CodeLists;

namespace {

const QString currentPrefix = QStringLiteral("当前选中：");

} // namespace

ProvinceCityWindow::ProvinceCityWindow(moque::app::AppCore &core, QWidget *parent)
    : QDialog(parent)
    , m_core(core)
{
    // The window keeps the form name the system knows it by.
    setObjectName(QStringLiteral("frmSsSet"));
    setObjectName(QStringLiteral("frmSsSet"));
    setWindowTitle(QStringLiteral("省市代码设置"));

    m_provinces = new QComboBox(this);
    m_provinces->setObjectName(QStringLiteral("cbProvince"));
    m_provinces->setMinimumWidth(160);
    m_cityModel = new QStringListModel(this);
    m_cities = new QListView(this);
    m_cities->setObjectName(QStringLiteral("lstCities"));
    m_cities->setModel(m_cityModel);
    m_cities->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_current = new QLabel(currentPrefix, this);
    m_current->setObjectName(QStringLiteral("lbCurrent"));

    m_add = commandButton(QStringLiteral("添 加"), QStringLiteral("btAdd"), this);
    m_edit = commandButton(QStringLiteral("修 改"), QStringLiteral("btEdit"), this);
    m_delete = commandButton(QStringLiteral("删 除"), QStringLiteral("btDelete"), this);
    QPushButton *close = commandButton(QStringLiteral("关闭"), QStringLiteral("btClose"), this);

    m_panel = new QGroupBox(this);
    m_panel->setObjectName(QStringLiteral("pnlInput"));
    m_panelProvince = new QLineEdit(m_panel);
    m_panelProvince->setObjectName(QStringLiteral("edtProvince"));
    m_panelCity = new QLineEdit(m_panel);
    m_panelCity->setObjectName(QStringLiteral("edtCity"));
    QPushButton *ok = commandButton(QStringLiteral("确 定"), QStringLiteral("btOk"), m_panel);
    QPushButton *cancel = commandButton(QStringLiteral("取 消"), QStringLiteral("btCancel"), m_panel);
    auto *panelForm = new QFormLayout;
    panelForm->addRow(QStringLiteral("省份："), m_panelProvince);
    panelForm->addRow(QStringLiteral("市(县)："), m_panelCity);
    auto *panelButtons = new QHBoxLayout;
    panelButtons->addStretch();
    panelButtons->addWidget(ok);
    panelButtons->addWidget(cancel);
    auto *panelLayout = new QVBoxLayout(m_panel);
    panelLayout->addLayout(panelForm);
    panelLayout->addLayout(panelButtons);

    auto *lists = new QVBoxLayout;
    auto *provinceRow = new QHBoxLayout;
    provinceRow->addWidget(new QLabel(QStringLiteral("省份："), this));
    provinceRow->addWidget(m_provinces, 1);
    lists->addLayout(provinceRow);
    lists->addWidget(m_cities, 1);
    lists->addWidget(m_current);

    auto *buttons = new QVBoxLayout;
    for (QPushButton *b : {m_add, m_edit, m_delete})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(close);

    auto *top = new QHBoxLayout;
    top->addLayout(lists, 1);
    top->addLayout(buttons);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(m_panel);
    setMinimumSize(380, 460);

    connect(m_provinces, &QComboBox::currentIndexChanged, this, [this] { loadCities(); });
    connect(m_cities->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) { setCity(current.data().toString().trimmed()); });
    connect(m_add, &QPushButton::clicked, this, &ProvinceCityWindow::addEntry);
    connect(m_edit, &QPushButton::clicked, this, &ProvinceCityWindow::editEntry);
    connect(m_delete, &QPushButton::clicked, this, &ProvinceCityWindow::deleteEntry);
    connect(ok, &QPushButton::clicked, this, &ProvinceCityWindow::confirmEdit);
    connect(cancel, &QPushButton::clicked, this, &ProvinceCityWindow::cancelEdit);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    setMode(Mode::Browse);
    reload(QString());
}

void ProvinceCityWindow::showEvent(QShowEvent *event)
{
    reload(currentProvince(), m_city);
    QDialog::showEvent(event);
}

QString ProvinceCityWindow::currentProvince() const
{
    return m_provinces->currentText().trimmed();
}

void ProvinceCityWindow::reload(const QString &province, const QString &city)
{
    const QStringList provinces = CodeLists(m_core.db()).loadProvinces();
    {
        // The province box is filled without loading cities for each entry.
        const QSignalBlocker blocker(m_provinces);
        m_provinces->clear();
        m_provinces->addItems(provinces);
        m_provinces->setCurrentIndex(provinces.isEmpty() ? -1 : qMax(0, int(provinces.indexOf(province))));
    }
    loadCities(city);
}

void ProvinceCityWindow::loadCities(const QString &city)
{
    const QStringList cities = CodeLists(m_core.db()).loadCitysByProvince(currentProvince());
    QStringList shown;
    for (const QString &c : cities)
        shown << QLatin1Char(' ') + c;
    m_cityModel->setStringList(shown);
    const int row = int(cities.indexOf(city));
    if (row >= 0)
        m_cities->setCurrentIndex(m_cityModel->index(row));
    else
        setCity(QString());
}

void ProvinceCityWindow::setCity(const QString &city)
{
    m_city = city;
    m_current->setText(currentPrefix + city);
    m_delete->setEnabled(m_mode == Mode::Browse && !city.isEmpty());
}

void ProvinceCityWindow::setMode(Mode mode)
{
    m_mode = mode;
    const bool browsing = mode == Mode::Browse;
    m_provinces->setEnabled(browsing);
    m_cities->setEnabled(browsing);
    m_add->setEnabled(browsing);
    m_edit->setEnabled(browsing);
    m_delete->setEnabled(browsing && !m_city.isEmpty());
    m_panel->setVisible(!browsing);
    m_panel->setTitle(mode == Mode::Edit ? QStringLiteral("修改市(县)") : QStringLiteral("添加市(县)"));
    // A rename keeps the city in its province.
    m_panelProvince->setReadOnly(mode == Mode::Edit);
}

void ProvinceCityWindow::addEntry()
{
    m_panelProvince->setText(currentProvince());
    m_panelCity->clear();
    setMode(Mode::Add);
    m_panelCity->setFocus();
}

void ProvinceCityWindow::editEntry()
{
    if (m_city.isEmpty()) {
        m_core.dialogs().info(QStringLiteral("请先选中要修改的市(县)！"), QStringLiteral("提示"));
        return;
    }
    m_panelProvince->setText(currentProvince());
    m_panelCity->setText(m_city);
    setMode(Mode::Edit);
    m_panelCity->setFocus();
}

void ProvinceCityWindow::deleteEntry()
{
    CodeLists codes(m_core.db());
    const CodeLists::Outcome outcome = codes.deleteCity(currentProvince(), m_city);
    m_core.dialogs().info(outcome.text, outcome.caption);
    if (outcome.ok())
        reload(currentProvince());
}

void ProvinceCityWindow::confirmEdit()
{
    const QString province = m_panelProvince->text().trimmed();
    const QString city = m_panelCity->text().trimmed();
    CodeLists codes(m_core.db());
    const CodeLists::Outcome outcome =
        m_mode == Mode::Edit ? codes.renameCity(province, m_city, city) : codes.addCity(province, city);
    m_core.dialogs().info(outcome.text, outcome.caption);
    if (outcome.result == CodeLists::Result::Exists || outcome.result == CodeLists::Result::Empty) {
        (province.isEmpty() ? m_panelProvince : m_panelCity)->setFocus();
        return;
    }
    if (outcome.ok()) {
        setMode(Mode::Browse);
        reload(province, city);
    }
}

void ProvinceCityWindow::cancelEdit()
{
    setMode(Mode::Browse);
}

} // namespace moque::ui
