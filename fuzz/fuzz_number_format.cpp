// Number format codes come from the files users are sent: any code, with any
// value, in either date system, must show something and never crash or hang.

#include "sheets/NumberFormat.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

using namespace moque;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The first eight bytes are the value, the rest the code in UTF-8.
    double value = 0;
    if (size < sizeof value)
        return 0;
    std::memcpy(&value, data, sizeof value);
    const QString code = QString::fromUtf8(reinterpret_cast<const char *>(data) + sizeof value,
                                           qsizetype(size - sizeof value));
    sheets::formatCellNumber(value, code, false);
    sheets::formatCellNumber(value, code, true);
    sheets::isDateFormat(code);
    return 0;
}
