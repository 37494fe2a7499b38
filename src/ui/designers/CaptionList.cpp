#include "designers/CaptionList.h"

#include <QComboBox>
#include <QListWidget>
#include <QMenu>
#include <QVBoxLayout>

namespace moque::ui {

CaptionList::CaptionList(QWidget *parent) : QWidget(parent)
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    auto *groups = new QComboBox(this);
    groups->setObjectName(QStringLiteral("cbGroup"));
    groups->addItem(QStringLiteral("所有"));
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("listCtlLabel"));
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    column->addWidget(groups);
    column->addWidget(m_list, 1);

    auto *menu = new QMenu(this);
    QAction *all = menu->addAction(QStringLiteral("全选"));
    all->setObjectName(QStringLiteral("miSelectAll"));
    QAction *invert = menu->addAction(QStringLiteral("反选"));
    invert->setObjectName(QStringLiteral("miInvert"));
    menu->addSeparator();
    QAction *captions = menu->addAction(QStringLiteral("勾选项目定义"));
    captions->setObjectName(QStringLiteral("miCheckBoxSet"));
    connect(all, &QAction::triggered, this, [this] { checkAll(false); });
    connect(invert, &QAction::triggered, this, [this] { checkAll(true); });
    connect(captions, &QAction::triggered, this, &CaptionList::checkBoxCaptionsRequested);
    connect(m_list, &QWidget::customContextMenuRequested, this,
            [this, menu](const QPoint &pos) { menu->popup(m_list->viewport()->mapToGlobal(pos)); });
    connect(m_list, &QListWidget::itemClicked, this, &CaptionList::captionClicked);
}

void CaptionList::setCaptions(const QStringList &captions)
{
    m_list->clear();
    for (const QString &caption : captions) {
        auto *item = new QListWidgetItem(caption, m_list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
}

bool CaptionList::isEmpty() const
{
    return m_list->count() == 0;
}

QString CaptionList::chooseCaption()
{
    if (!m_list->currentItem() && m_list->count() > 0)
        m_list->setCurrentRow(0);
    return currentCaption();
}

QString CaptionList::currentCaption() const
{
    const QListWidgetItem *item = m_list->currentItem();
    return item ? item->text() : QString();
}

void CaptionList::checkAll(bool invert)
{
    for (int i = 0; i < m_list->count(); ++i) {
        QListWidgetItem *item = m_list->item(i);
        item->setCheckState(invert && item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
}

} // namespace moque::ui
