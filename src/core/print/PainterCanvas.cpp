#include "print/PainterCanvas.h"

#include <QPainter>
#include <QPen>

#include <cmath>

namespace moque::print {

PainterCanvas::PainterCanvas(QPainter &painter, const DeviceFacts &facts)
    : m_painter(painter)
    , m_facts(facts)
{
}

void PainterCanvas::setFont(const CanvasFont &font)
{
    const QString key = QStringLiteral("%1|%2|%3%4%5")
                            .arg(font.face)
                            .arg(font.pointSize)
                            .arg(int(font.bold))
                            .arg(int(font.italic))
                            .arg(int(font.underline));
    auto it = m_fonts.find(key);
    if (it == m_fonts.end()) {
        QFont f(font.face);
        f.setPointSize(qMax(1, font.pointSize));
        f.setBold(font.bold);
        f.setItalic(font.italic);
        f.setUnderline(font.underline);
        // Shaping swaps in glyphs (digits after Latin letters in the CJK faces) that a PDF's
        // character map cannot name, so they vanish from the text a PDF reader finds.
        f.setStyleStrategy(QFont::PreferNoShaping);
        it = m_fonts.insert(key, FontEntry{f, QFontMetricsF(f, m_painter.device())});
    }
    m_current = &it.value();
    m_color = font.color;
}

int PainterCanvas::textWidth(const QString &text)
{
    if (!m_current)
        return 0;
    return int(std::lround(m_current->metrics.horizontalAdvance(text)));
}

int PainterCanvas::textHeight() const
{
    return m_current ? int(std::ceil(m_current->metrics.ascent() + m_current->metrics.descent())) : 0;
}

void PainterCanvas::drawText(int x, int y, const QString &text)
{
    if (!m_current)
        return;
    m_painter.setFont(m_current->font);
    m_painter.setPen(m_color);
    m_painter.drawText(QPointF(x, y + m_current->metrics.ascent()), text);
}

void PainterCanvas::drawLine(int x1, int y1, int x2, int y2, int penWidth)
{
    m_painter.setPen(QPen(Qt::black, penWidth));
    m_painter.drawLine(x1, y1, x2, y2);
}

} // namespace moque::print
