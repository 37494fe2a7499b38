#pragma once

#include "print/Canvas.h"

namespace moque::print {

// numerator / denominator (above zero) rounded to the nearest integer, halves
// to even, as every rounding of the print engine is.
qint64 divideHalfToEven(qint64 numerator, qint64 denominator);

// The one place where 0.1 mm becomes device units: dpi × v / 254, rounded to
// the nearest integer with halves to even.
int tenthsToDevice(int tenthsMm, int dpi);

// The same for the screen: the print preview draws 0.1 mm at the screen's
// logical resolution, so that a centimetre on screen is a centimetre of paper.
inline int tenthsToScreen(int tenthsMm, int screenDpi)
{
    return tenthsToDevice(tenthsMm, screenDpi);
}

// The print layout designer's canvas: its scale is millimetres per pixel
// (the page width over the canvas width). 0.1 mm to pixels and back, each
// rounded to the nearest integer.
int tenthsToCanvas(int tenthsMm, double mmPerPixel);
int canvasToTenths(int pixels, double mmPerPixel);

// A character's width in half-width units, as the forms' character boxes and
// line lengths count it: one outside ASCII takes two, as in GBK.
inline int halfWidthUnits(QChar c)
{
    return c.unicode() < 0x80 ? 1 : 2;
}

// A point of the sheet (0.1 mm from its top-left corner) in device units: each
// printable-area offset is subtracted on its own axis, and nothing is drawn
// more than three device units above the printable area.
struct DevicePoint
{
    int x = 0;
    int y = 0;
};
DevicePoint sheetToDevice(int xTenths, int yTenths, const DeviceFacts &facts);

} // namespace moque::print
