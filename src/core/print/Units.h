#pragma once

#include "print/Canvas.h"

namespace moque::print {

// numerator / denominator (above zero) rounded to the nearest integer, halves
// to even, as every rounding of the print engine is.
qint64 divideHalfToEven(qint64 numerator, qint64 denominator);

// The one place where 0.1 mm becomes device units: dpi × v / 254, rounded to
// the nearest integer with halves to even.
int tenthsToDevice(int tenthsMm, int dpi);

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
