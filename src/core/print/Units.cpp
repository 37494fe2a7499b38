#include "print/Units.h"

#include <cmath>
#include <cstdint>

namespace moque::print {

qint64 divideHalfToEven(qint64 numerator, qint64 denominator)
{
    qint64 q = numerator / denominator;
    qint64 r = numerator % denominator;
    if (r < 0) {
        // Floor division, so the remainder is always in [0, denominator).
        q -= 1;
        r += denominator;
    }
    if (2 * r > denominator || (2 * r == denominator && (q & 1)))
        ++q;
    return q;
}

int tenthsToDevice(int tenthsMm, int dpi)
{
    return int(divideHalfToEven(qint64(dpi) * tenthsMm, 254));
}

int tenthsToCanvas(int tenthsMm, double mmPerPixel)
{
    return mmPerPixel > 0 ? int(std::lround(tenthsMm / 10.0 / mmPerPixel)) : 0;
}

int canvasToTenths(int pixels, double mmPerPixel)
{
    return int(std::lround(pixels * 10.0 * mmPerPixel));
}

DevicePoint sheetToDevice(int xTenths, int yTenths, const DeviceFacts &facts)
{
    DevicePoint p{tenthsToDevice(xTenths, facts.dpiX) - facts.offsetLeft,
                  tenthsToDevice(yTenths, facts.dpiY) - facts.offsetTop};
    if (p.y < -2)
        p.y = -3;
    return p;
}

} // namespace moque::print
