#include "entry/TemplateBar.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QTabBar>

namespace moque::ui {

TemplateBar::TemplateBar(const QString &comboHint, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("panelTab"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(2, 0, 2, 0);
    m_tabs = new QTabBar(this);
    m_tabs->setObjectName(QStringLiteral("tbcCheckTypeName"));
    m_tabs->setExpanding(false);
    m_combo = new QComboBox(this);
    m_combo->setObjectName(QStringLiteral("cbFirstTypeName"));
    m_combo->setToolTip(comboHint);
    m_combo->setMinimumContentsLength(16);
    row->addWidget(m_tabs, 1);
    row->addWidget(m_combo);
    connect(m_combo, &QComboBox::currentIndexChanged, this, &TemplateBar::templateChosen);
    connect(m_tabs, &QTabBar::currentChanged, this, [this](int index) {
        const QString name = m_tabs->tabText(index);
        if (name == manageTab())
            Q_EMIT manageChosen();
        else if (!name.isEmpty())
            Q_EMIT tabChosen(name);
    });
}

void TemplateBar::leaveManageTab()
{
    if (m_tabs->currentIndex() >= 0 && m_tabs->tabText(m_tabs->currentIndex()) == manageTab()) {
        const QSignalBlocker blocker(m_tabs);
        m_tabs->setCurrentIndex(-1);
    }
}

QString TemplateBar::currentName() const
{
    return m_combo->currentText();
}

bool TemplateBar::isEmpty() const
{
    return m_combo->count() == 0;
}

void TemplateBar::setTemplates(const QStringList &displayNames)
{
    const QSignalBlocker blocker(m_combo);
    m_combo->clear();
    m_combo->addItems(displayNames);
}

void TemplateBar::setCommonTemplates(const QStringList &displayNames)
{
    const QSignalBlocker blocker(m_tabs);
    while (m_tabs->count() > 0)
        m_tabs->removeTab(0);
    for (const QString &name : displayNames)
        m_tabs->addTab(name);
    m_tabs->addTab(manageTab());
    m_tabs->setCurrentIndex(-1);
}

bool TemplateBar::select(const QString &displayName)
{
    bool changed = false;
    if (m_combo->currentText() != displayName) {
        const int index = m_combo->findText(displayName, Qt::MatchExactly);
        if (index >= 0) {
            const QSignalBlocker blocker(m_combo);
            m_combo->setCurrentIndex(index);
            changed = true;
        }
    }
    if (m_tabs->currentIndex() < 0 || m_tabs->tabText(m_tabs->currentIndex()) != displayName) {
        // The last tab of that name, when a name stands twice.
        for (int i = m_tabs->count() - 1; i >= 0; --i) {
            if (m_tabs->tabText(i) == displayName) {
                const QSignalBlocker blocker(m_tabs);
                m_tabs->setCurrentIndex(i);
                break;
            }
        }
    }
    return changed;
}

int TemplateBar::tabsHeight() const
{
    return m_tabs->sizeHint().height();
}

void TemplateBar::fitListToScreen(int screenHeight)
{
    m_combo->setMaxVisibleItems(screenHeight <= 1000 ? 26 : 35);
}

} // namespace moque::ui
