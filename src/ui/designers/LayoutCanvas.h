#pragma once

#include "design/PrintLayout.h"

#include <QHash>
#include <QPixmap>
#include <QStringList>
#include <QWidget>

namespace moque::ui {

// The page of the print layout designer: the background picture at the
// page's size and every print item drawn as labels at its print place. A
// pressed label starts a drag when its item is then the only one selected;
// the place is told once, when the mouse is released.
class LayoutCanvas : public QWidget
{
    Q_OBJECT
public:
    explicit LayoutCanvas(QWidget *parent = nullptr);

    void setPageSize(const QSize &size);
    void setBackground(const QPixmap &picture);
    bool hasBackground() const { return !m_picture.isNull(); }
    void setTransparent(bool transparent);
    // A short text drawn over the page (no picture, no items).
    void setNote(const QString &note);

    void clearItems();
    // The labels of one item and its place (canvas pixels), replacing what it had.
    void setItemLabels(const QString &itemName, const QPoint &origin, const QList<design::LayoutLabel> &labels);
    void setSelection(const QStringList &itemNames);

    // Where a label is drawn, in the canvas's coordinates; empty when there is none.
    QRect itemRect(const QString &labelName) const;
    QStringList labelNames() const;
    QStringList labelNamesOf(const QString &itemName) const;
    // The item whose label lies at the point, empty when none.
    QString itemAt(const QPoint &pos) const;
    int itemCount() const { return int(m_order.size()); }

    QSize sizeHint() const override { return m_pageSize; }

Q_SIGNALS:
    void labelPressed(const QString &itemName);
    void labelDoubleClicked(const QString &itemName);
    // While dragging: the item's place so far; once at the end: where it stays.
    void dragMoved(const QString &itemName, const QPoint &origin);
    void dragFinished(const QString &itemName, const QPoint &origin);
    void nudge(moque::design::MoveDirection direction);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    struct Item
    {
        QPoint origin;
        QList<design::LayoutLabel> labels;
    };
    void updateScaledPicture();

    QSize m_pageSize{100, 100};
    QPixmap m_picture;
    QPixmap m_scaled;
    bool m_transparent = false;
    QString m_note;
    QHash<QString, Item> m_items;
    QStringList m_order;
    QStringList m_selected;

    QString m_dragItem;
    QPoint m_pressPos;
    QPoint m_dragOffset;
};

} // namespace moque::ui
