#include "print/ItemRenderer.h"

#include "common/Dialogs.h"
#include "common/Helpers.h"
#include "print/Units.h"

#include <algorithm>

namespace moque::print {

namespace {

int unitWidth(const QString &text)
{
    int w = 0;
    for (QChar c : text)
        w += halfWidthUnits(c);
    return w;
}

bool hasDoubleByte(const QString &text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return halfWidthUnits(c) > 1; });
}

bool isFitAdvance(const QString &fit)
{
    const QString t = fit.trimmed();
    if (t.isEmpty())
        return false;
    for (QChar c : t)
        if (!(c.isDigit() && c.unicode() < 0x80) && c != QLatin1Char('.'))
            return false;
    return true;
}

} // namespace

ItemRenderer::ItemRenderer(Canvas &canvas, Dialogs *dialogs)
    : m_canvas(canvas)
    , m_dialogs(dialogs)
{
}

QString ItemRenderer::trimControl(const QString &text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text[start].unicode() <= 32)
        ++start;
    while (end > start && text[end - 1].unicode() <= 32)
        --end;
    return text.mid(start, end - start);
}

QStringList ItemRenderer::splitByDelimiter(const QString &text, const QString &delimiter)
{
    QStringList parts;
    if (delimiter.isEmpty())
        return {text.trimmed()};
    qsizetype from = 0;
    qsizetype at;
    while ((at = text.indexOf(delimiter, from)) >= 0) {
        parts << text.mid(from, at - from);
        from = at + delimiter.size();
    }
    parts << text.mid(from).trimmed();
    return parts;
}

QStringList ItemRenderer::breakByWidth(const QString &text, int charsPerLine)
{
    if (text.isEmpty())
        return {};
    const int limit = 2 * charsPerLine;
    if (charsPerLine < 1 || unitWidth(text) <= limit)
        return {text};
    // One pass over the text, whatever its length.
    QStringList lines;
    int remaining = unitWidth(text);
    qsizetype pos = 0;
    while (pos < text.size()) {
        if (remaining <= limit) {
            lines << text.mid(pos);
            break;
        }
        qsizetype n = qMin<qsizetype>(charsPerLine, text.size() - pos);
        int w = 0;
        for (qsizetype k = 0; k < n; ++k)
            w += halfWidthUnits(text[pos + k]);
        while (w < limit && pos + n < text.size())
            w += halfWidthUnits(text[pos + n++]);
        lines << text.mid(pos, n);
        pos += n;
        remaining -= w;
    }
    return lines;
}

QColor ItemRenderer::colorFromText(const QString &text)
{
    bool ok = false;
    const qlonglong v = (text.trimmed().isEmpty() ? QStringLiteral("0") : text.trimmed()).toLongLong(&ok);
    if (!ok || v < 0 || v > 0xFFFFFF)
        return Qt::black;
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

bool ItemRenderer::printCheckItem(const templates::PrintItem *item, int xMove, int yMove, const QString &value,
                                  const QString &delimiter)
{
    const QString text = trimControl(value);
    if (text.isEmpty() || !item)
        return true;

    int x = xMove + item->x;
    const int y = yMove + item->y;
    const int breakNum = isDigitsOnly(item->breakNum) ? item->breakNum.toInt() : -1;

    if (item->type == QLatin1String("LINE")) {
        printLineAt(x, y, item->height, item->width, item->bold > 0);
        return true;
    }

    const int pitch = item->lineHeight < 1 ? 50 : item->lineHeight;
    const QStringList pieces = !delimiter.isEmpty() && text.contains(delimiter)
                                   ? splitByDelimiter(text, delimiter)
                                   : QStringList{text};
    QStringList lines;
    for (const QString &piece : pieces) {
        if (piece.isEmpty())
            continue;
        if (breakNum < 1)
            lines << piece;
        else
            lines << breakByWidth(piece, breakNum);
    }

    TextStyle style = TextStyle::of(*item);
    if (lines.size() > 1) {
        style.fontSize = qMax(6, item->breakFontSize);
    } else if (!m_moneyCode.isEmpty() && text == m_moneyCode) {
        if (hasDoubleByte(text))
            x -= 10;
        else if (text.size() > 1 && m_moneyCellWidth > 0)
            x = x + 4 - (int(text.size()) - 2) * m_moneyCellWidth;
    }

    for (int i = 0; i < lines.size(); ++i) {
        if (!printTextItem(x, y + i * pitch, lines[i], style)) {
            if (m_dialogs)
                m_dialogs->message(QStringLiteral("打印") + item->name + QStringLiteral("出现错误！"),
                                   QStringLiteral("错误"), Dialogs::Icon::Error);
            return false;
        }
    }
    return true;
}

bool ItemRenderer::printTextItem(int x, int y, const QString &line, const TextStyle &style)
{
    if (line.trimmed().isEmpty())
        return true;
    if (!isFitAdvance(style.fitParam)) {
        printTextAt(x, y, line, style);
        return true;
    }
    bool ok = false;
    const int advance = style.fitParam.trimmed().toInt(&ok);
    if (!ok)
        return false;
    for (int k = 0; k < line.size(); ++k) {
        const QChar c = line[k];
        if (c.isSpace())
            continue;
        printTextAt(x + k * advance, y, QString(c), style);
    }
    return true;
}

void ItemRenderer::printTextAt(int x, int y, const QString &text, const TextStyle &style)
{
    if (text.trimmed().isEmpty())
        return;
    const DeviceFacts facts = m_canvas.facts();
    DevicePoint p = sheetToDevice(x, y, facts);
    CanvasFont font;
    font.face = style.fontName.trimmed().isEmpty() ? QStringLiteral("宋体") : style.fontName;
    font.pointSize = style.fontSize;
    font.bold = style.bold;
    font.italic = style.italic;
    font.underline = style.underline;
    font.color = colorFromText(style.color);
    m_canvas.setFont(font);
    if (style.align == 1 || style.align == 2) {
        const int free = tenthsToDevice(style.width, facts.dpiX) - m_canvas.textWidth(text);
        p.x += style.align == 2 ? free : int(divideHalfToEven(free, 2));
    }
    m_canvas.drawText(p.x, p.y, text);
}

void ItemRenderer::printLineAt(int x, int y, int height, int width, bool bold)
{
    const DeviceFacts facts = m_canvas.facts();
    const DevicePoint p = sheetToDevice(x, y, facts);
    const int w = tenthsToDevice(width, facts.dpiX);
    const int h = tenthsToDevice(height, facts.dpiY);
    const int pen = bold ? 2 : 1;
    if (h > w)
        m_canvas.drawLine(p.x, p.y, p.x, p.y + h, pen);
    else
        m_canvas.drawLine(p.x, p.y, p.x + w, p.y, pen);
}

} // namespace moque::print
