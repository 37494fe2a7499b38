#include "print/RecordingCanvas.h"

#include "print/Units.h"

namespace moque::print {

int RecordingCanvas::textWidth(const QString &text)
{
    int w = 0;
    for (QChar c : text)
        w += halfWidthUnits(c) * m_charWidth;
    return w;
}

void RecordingCanvas::drawText(int x, int y, const QString &text)
{
    Call c;
    c.kind = Call::Kind::Text;
    c.x = x;
    c.y = y;
    c.text = text;
    c.font = m_font;
    calls << c;
}

void RecordingCanvas::drawLine(int x1, int y1, int x2, int y2, int penWidth)
{
    Call c;
    c.kind = Call::Kind::Line;
    c.x = x1;
    c.y = y1;
    c.x2 = x2;
    c.y2 = y2;
    c.penWidth = penWidth;
    calls << c;
}

QList<RecordingCanvas::Call> RecordingCanvas::texts() const
{
    QList<Call> result;
    for (const Call &c : calls)
        if (c.kind == Call::Kind::Text)
            result << c;
    return result;
}

QStringList RecordingCanvas::describe() const
{
    QStringList lines;
    for (const Call &c : calls) {
        if (c.kind == Call::Kind::Line) {
            lines << QStringLiteral("line %1,%2 %3,%4 w%5").arg(c.x).arg(c.y).arg(c.x2).arg(c.y2).arg(c.penWidth);
            continue;
        }
        QString style;
        if (c.font.bold)
            style += QLatin1Char('B');
        if (c.font.italic)
            style += QLatin1Char('I');
        if (c.font.underline)
            style += QLatin1Char('U');
        lines << QStringLiteral("text %1,%2 \"%3\" %4 %5pt%6 %7")
                     .arg(c.x)
                     .arg(c.y)
                     .arg(c.text, c.font.face)
                     .arg(c.font.pointSize)
                     .arg(style.isEmpty() ? QString() : QLatin1Char(' ') + style, c.font.color.name());
    }
    return lines;
}

} // namespace moque::print
