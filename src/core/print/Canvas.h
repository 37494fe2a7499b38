#pragma once

#include <QColor>
#include <QString>

namespace moque::print {

// The facts of one print device that the engine converts with: logical
// resolution per axis (dots per inch) and the printable area's offset from the
// sheet's top-left corner, in device units.
struct DeviceFacts
{
    int dpiX = 600;
    int dpiY = 600;
    int offsetLeft = 0; // distance of the printable area from the left edge
    int offsetTop = 0;  // distance of the printable area from the top edge
};

struct CanvasFont
{
    QString face;
    int pointSize = 9;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    QColor color = Qt::black;

    bool operator==(const CanvasFont &) const = default;
};

// What the print engine draws on: a printer page, a PDF page, or a recording
// that tests compare. Coordinates are device units from the printable area's corner.
class Canvas
{
public:
    virtual ~Canvas() = default;

    virtual DeviceFacts facts() const = 0;
    virtual void setFont(const CanvasFont &font) = 0;
    // The drawn width of the text in the current font, in device units.
    virtual int textWidth(const QString &text) = 0;
    // Draws the text with its top-left corner at (x, y).
    virtual void drawText(int x, int y, const QString &text) = 0;
    virtual void drawLine(int x1, int y1, int x2, int y2, int penWidth) = 0;
};

} // namespace moque::print
