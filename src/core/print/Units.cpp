#include "print/Units.h"

#include <cstdint>

namespace moque::print {

int tenthsToDevice(int tenthsMm, int dpi)
{
    const std::int64_t n = std::int64_t(dpi) * tenthsMm;
    constexpr std::int64_t d = 254;
    std::int64_t q = n / d;
    std::int64_t r = n % d;
    if (r < 0) {
        // Floor division, so the remainder is always in [0, d).
        q -= 1;
        r += d;
    }
    if (2 * r > d || (2 * r == d && (q & 1)))
        ++q;
    return int(q);
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
