#pragma once

#include "print/Canvas.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>

class QPainter;

namespace moque::print {

// A canvas over a QPainter on a printer or PDF page.
class PainterCanvas : public Canvas
{
public:
    PainterCanvas(QPainter &painter, const DeviceFacts &facts);

    DeviceFacts facts() const override { return m_facts; }
    void setFont(const CanvasFont &font) override;
    int textWidth(const QString &text) override;
    void drawText(int x, int y, const QString &text) override;
    void drawLine(int x1, int y1, int x2, int y2, int penWidth) override;
    // The height of a line of text in the current font, in device units.
    int textHeight() const;

private:
    struct FontEntry
    {
        QFont font;
        QFontMetricsF metrics;
    };

    QPainter &m_painter;
    DeviceFacts m_facts;
    QHash<QString, FontEntry> m_fonts; // fonts are made once per job
    const FontEntry *m_current = nullptr;
    QColor m_color = Qt::black;
};

} // namespace moque::print
