#include "designers/PreviewCanvas.h"

#include "print/Units.h"

#include <QHelpEvent>
#include <QPainter>
#include <QPen>
#include <QToolTip>

namespace moque::ui {

namespace {
constexpr int outerCentimetres = 15;
constexpr int outerRows = 10;
constexpr int panelCentimetres = 24;
constexpr int panelRows = 20;
} // namespace

PreviewCanvas::PreviewCanvas(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("pnlPreview"));
    setMouseTracking(true);
}

int PreviewCanvas::pixels(int tenths) const
{
    return print::tenthsToScreen(tenths, m_dpi);
}

void PreviewCanvas::setPreview(const QImage &image, const QList<design::PreviewItem> &items, int dpi)
{
    m_image = image;
    m_items = items;
    m_dpi = dpi;
    const int w = 2 * rulerWidth + pixels(10 * 10 * qMax(outerCentimetres, panelCentimetres)) + pixels(qMax(0, m_xOffset));
    const int h = 2 * rulerWidth + pixels(10 * 10 * qMax(outerRows, panelRows)) + pixels(qMax(0, m_yOffset));
    setMinimumSize(qMax(w, image.width() + 2 * rulerWidth), qMax(h, rulerWidth * 3));
    update();
}

void PreviewCanvas::setPanelOffset(int xTenths, int yTenths)
{
    m_xOffset = xTenths;
    m_yOffset = yTenths;
    update();
}

void PreviewCanvas::setPaper(int widthTenths, int heightTenths)
{
    m_paperWidth = widthTenths;
    m_paperHeight = heightTenths;
    update();
}

QPoint PreviewCanvas::panelOrigin() const
{
    return {rulerWidth + pixels(m_xOffset), rulerWidth + pixels(m_yOffset)};
}

QList<QRect> PreviewCanvas::itemRects(const QString &name) const
{
    QList<QRect> rects;
    for (const design::PreviewItem &item : m_items)
        if (item.name.compare(name, Qt::CaseInsensitive) == 0)
            for (const QRect &r : item.rects)
                rects << r.translated(textOrigin());
    return rects;
}

QString PreviewCanvas::hintAt(const QPoint &pos) const
{
    for (const design::PreviewItem &item : m_items)
        for (qsizetype k = 0; k < item.rects.size(); ++k)
            if (item.rects[k].translated(textOrigin()).contains(pos))
                return item.rects.size() > 1 ? QStringLiteral("%1_%2").arg(item.number).arg(k)
                                             : QString::number(item.number);
    return {};
}

bool PreviewCanvas::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const QString hint = hintAt(help->pos());
        if (hint.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), hint, this);
        return true;
    }
    return QWidget::event(event);
}

void PreviewCanvas::drawRuler(QPainter &p, const QPoint &origin, int count, bool horizontal,
                              const QString &firstSuffix, const QString &lastSuffix, int first) const
{
    const int length = pixels(count * 100);
    const QRect band = horizontal ? QRect(origin.x(), origin.y() - rulerWidth, length + 1, rulerWidth)
                                  : QRect(origin.x() - rulerWidth, origin.y(), rulerWidth, length + 1);
    p.fillRect(band, QColor(250, 246, 224));
    p.setPen(QColor(90, 90, 90));
    p.drawRect(band.adjusted(0, 0, -1, -1));
    for (int mm = 0; mm <= count * 10; ++mm) {
        const int at = pixels(mm * 10);
        const int tick = mm % 10 == 0 ? rulerWidth / 2 : (mm % 5 == 0 ? rulerWidth / 3 : rulerWidth / 5);
        if (horizontal)
            p.drawLine(origin.x() + at, origin.y() - 1, origin.x() + at, origin.y() - 1 - tick);
        else
            p.drawLine(origin.x() - 1, origin.y() + at, origin.x() - 1 - tick, origin.y() + at);
    }
    for (int cm = first; cm <= count; ++cm) {
        QString label = QString::number(cm);
        if (cm == first)
            label += firstSuffix;
        if (cm == count)
            label += lastSuffix;
        const int at = pixels(cm * 100);
        if (horizontal)
            p.drawText(origin.x() + at + 2, origin.y() - rulerWidth / 2 - 1, label);
        else
            p.drawText(origin.x() - rulerWidth + 2, origin.y() + at - 2, label);
    }
}

void PreviewCanvas::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(236, 236, 236));
    QFont small = font();
    small.setPointSize(7);
    p.setFont(small);
    const QPoint outer(rulerWidth, rulerWidth);
    drawRuler(p, outer, outerCentimetres, true, QStringLiteral("cm"), QStringLiteral("cm(整体偏移)"), 0);
    drawRuler(p, outer, outerRows, false, QString(), QString(), 1);

    // The bill panel: its rulers measure from the bill's own corner.
    const QPoint panel = panelOrigin();
    const QPoint paper = panel + QPoint(rulerWidth, rulerWidth);
    p.fillRect(QRect(paper, QSize(pixels(panelCentimetres * 100), pixels(panelRows * 100))), QColor(248, 248, 248));
    const QRect sheet(paper, QSize(pixels(m_paperWidth), pixels(m_paperHeight)));
    p.fillRect(sheet, Qt::white);
    p.setPen(QPen(QColor(150, 150, 150), 1, Qt::DashLine));
    p.drawRect(sheet);
    drawRuler(p, paper, panelCentimetres, true, QStringLiteral("cm"), QString(), 0);
    drawRuler(p, paper, panelRows, false, QString(), QString(), 1);
    p.drawImage(textOrigin(), m_image);
}

} // namespace moque::ui
