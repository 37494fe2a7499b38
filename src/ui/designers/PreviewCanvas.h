#pragma once

#include "design/BillPreview.h"

#include <QImage>
#include <QWidget>

namespace moque::ui {

// The print preview's drawing: an outer area with centimetre rulers, and
// inside it the bill panel with rulers of its own, placed at the whole-template
// offset; the printed texts sit where the print engine puts them.
class PreviewCanvas : public QWidget
{
    Q_OBJECT
public:
    static constexpr int rulerWidth = 22;

    explicit PreviewCanvas(QWidget *parent = nullptr);

    // The picture is drawn with its offset in it; the panel shows where that offset puts the bill.
    void setPreview(const QImage &image, const QList<design::PreviewItem> &items, int dpi);
    void setPanelOffset(int xTenths, int yTenths);
    // The template's paper, white on the panel; the rest of the panel is beyond the paper.
    void setPaper(int widthTenths, int heightTenths);

    // Where the panel's rulers meet, and the texts of one item, in this widget's pixels.
    QPoint panelOrigin() const;
    QPoint textOrigin() const { return {2 * rulerWidth, 2 * rulerWidth}; }
    QList<QRect> itemRects(const QString &name) const;
    // The hint shown at a point: the item number, with "_" and the part for an item drawn in parts.
    QString hintAt(const QPoint &pos) const;
    int pixels(int tenths) const;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    void drawRuler(QPainter &p, const QPoint &origin, int count, bool horizontal, const QString &firstSuffix,
                   const QString &lastSuffix, int first) const;

    QImage m_image;
    QList<design::PreviewItem> m_items;
    int m_dpi = 96;
    int m_xOffset = 0;
    int m_yOffset = 0;
    int m_paperWidth = 2300;
    int m_paperHeight = 1270;
};

} // namespace moque::ui
