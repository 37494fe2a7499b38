// Typed amounts: whatever a user types into an amount box goes through these.

#include "entry/Amounts.h"

#include <cstddef>
#include <cstdint>

using namespace moque::entry;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString cleaned = normalizeDigits(text);
    if (const auto fen = parseFen(cleaned)) {
        toChineseCapital(*fen);
        formatMoney(*fen, true);
        changeRate(*fen, text.left(8));
    }
    toChineseCapital(text);
    toCapitalDigits(text, 1 + int(size % 12), QStringLiteral("0.00"));
    formatMoney(text, size % 2 == 0);
    checkTotal(text, size % 3 == 0);
    waybillAmount(text, QStringLiteral("打印大写金额"));
    return 0;
}
