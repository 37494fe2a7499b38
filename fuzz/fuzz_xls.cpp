// The program's own .xls reader: any bytes, read as a workbook, sheet by sheet.

#include "sheets/XlsWorkbook.h"

#include <cstddef>
#include <cstdint>

using namespace moque;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // A smaller budget than the program's, so that running out of it is reached too.
    sheets::XlsWorkbook book(64 * 1024 * 1024);
    if (!book.open(QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size))))
        return 0;
    const int sheets = int(book.sheetNames().size());
    for (int i = 0; i < sheets; ++i)
        book.readSheet(i, [](int, int, const sheets::XlsCell &) { return true; });
    return 0;
}
