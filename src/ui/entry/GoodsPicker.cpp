#include "entry/GoodsPicker.h"

#include "app/AppCore.h"
#include "common/Dialogs.h"
#include "grid/GridOperations.h"
#include "refdata/GoodsCatalogWindow.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

namespace moque::ui {

namespace {

// Column widths are kept under the picker's own name.
const QString kGridKey = QStringLiteral("PanelGoodList");

} // namespace

GoodsPicker::GoodsPicker(app::AppCore &core, QWidget *parent) : QFrame(parent), m_core(core)
{
    setObjectName(kGridKey);
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    m_links = new QWidget(this);
    auto *links = new QHBoxLayout(m_links);
    links->setContentsMargins(4, 0, 4, 0);
    links->addStretch(1);
    layout->addWidget(m_links);
    m_model = new refdata::GoodsListModel(this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->setDefaultSectionSize(20);
    m_grid->verticalHeader()->hide();
    // The grid is reached by the mouse; Tab stays in the bill.
    m_grid->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(m_grid, 1);
    connect(m_grid, &QTableView::clicked, this, [this](const QModelIndex &index) {
        if (!index.isValid())
            return;
        const refdata::Good good = m_model->good(index.row());
        hide();
        Q_EMIT picked(good);
    });

    addLink(QStringLiteral("lbClose"), QStringLiteral("[关闭]"), [this] { hide(); });
    addLink(QStringLiteral("lbSelectClear"), QStringLiteral("[选空]"), [this] {
        hide();
        Q_EMIT clearRequested();
    });
    addLink(QStringLiteral("lbManageGoods"), QStringLiteral("[管理商品]"), [this] {
        GoodsCatalogWindow catalog(m_core, window());
        catalog.exec();
        filter(m_box ? m_box->property("text").toString() : QString());
    });
    addLink(QStringLiteral("lbColumns"), QStringLiteral("[管理显示列]"), [this] {
        GridColsConfigration(m_grid, kGridKey, m_core.settings(), m_core.dialogs(), window());
    });
    addLink(QStringLiteral("lbSaveWidths"), QStringLiteral("[保存列宽]"), [this] {
        if (GridColsWidthSave(m_grid, kGridKey, m_core.settings(), m_core.dialogs()))
            m_core.dialogs().info(QStringLiteral("商品各列宽已保存！"));
    });
    hide();
}

void GoodsPicker::addLink(const QString &name, const QString &caption, const std::function<void()> &action)
{
    auto *link = new QLabel(QStringLiteral("<a href=\"#\">%1</a>").arg(caption.toHtmlEscaped()), m_links);
    link->setObjectName(name);
    link->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    connect(link, &QLabel::linkActivated, this, [action] { action(); });
    auto *row = static_cast<QHBoxLayout *>(m_links->layout());
    row->insertWidget(row->count() - 1, link);
}

void GoodsPicker::openBelow(QWidget *box, int bottom)
{
    m_box = box;
    const int top = box->y() + box->height() - 2;
    setGeometry(box->x(), top, qMax(420, box->width()), qMax(120, bottom - top));
    filter(box->property("text").toString());
    GridColsWidthLoadOrFit(m_grid, kGridKey, m_core.settings(), m_core.dialogs());
    show();
    raise();
}

void GoodsPicker::filter(const QString &text)
{
    refdata::GoodsFilter f;
    f.keyword = text.trimmed();
    f.descending = false;
    QString error;
    const QList<refdata::Good> goods = refdata::GoodsCatalog(m_core.db()).find(f, &error);
    if (!error.isEmpty()) {
        m_core.dialogs().info(QStringLiteral("查找错误，") + error);
        return;
    }
    m_model->setGoods(goods);
}

} // namespace moque::ui
