#pragma once

#include "refdata/GoodsCatalog.h"

#include <QFrame>
#include <QPointer>

class QTableView;

namespace moque::app {
class AppCore;
}

namespace moque::ui {

// The goods list that drops below a charge line's 收费内容 box
// (`PanelGoodList`): the catalogue filtered by what the box holds; a click on
// a row fills the line that opened it.
class GoodsPicker : public QFrame
{
    Q_OBJECT
public:
    GoodsPicker(moque::app::AppCore &core, QWidget *parent);

    // Opens below the box, reaching down to `bottom`, listing the goods whose
    // name holds the box's text.
    void openBelow(QWidget *box, int bottom);
    // The box that opened the list last.
    QWidget *box() const { return m_box; }
    // Lists the goods whose name holds the text (every good for an empty text).
    void filter(const QString &text);

    QTableView *grid() const { return m_grid; }

Q_SIGNALS:
    void picked(const moque::refdata::Good &good);
    // [选空]: the line that opened the list is emptied.
    void clearRequested();

private:
    void addLink(const QString &name, const QString &caption, const std::function<void()> &action);

    moque::app::AppCore &m_core;
    refdata::GoodsListModel *m_model = nullptr;
    QTableView *m_grid = nullptr;
    QPointer<QWidget> m_box;
    QWidget *m_links = nullptr;
};

} // namespace moque::ui
