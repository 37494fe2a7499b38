// Spreadsheets as users are sent them, .xlsx, .xls and .csv, read and shown
// under their number formats: the program must survive anything.

#include "sheets/SpreadsheetReader.h"

#include <QFile>

#include <cstddef>
#include <cstdint>

#include <unistd.h>

using namespace moque;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString path = QStringLiteral("/dev/shm/moque-fuzz-%1.xlsx").arg(getpid());
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
            return 0;
    }
    // Smaller limits than the program's, so that running out of them is reached too.
    sheets::SpreadsheetLimits limits;
    limits.maxBytes = 16 * 1024 * 1024;
    limits.maxMemory = 64 * 1024 * 1024;
    sheets::SpreadsheetReader reader(limits);
    if (reader.open(path)) {
        const int sheets = int(reader.sheetNames().size());
        for (int i = 0; i < sheets && i < 4; ++i)
            reader.readSheet(i);
    }
    return 0;
}
