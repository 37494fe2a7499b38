// Bill values as JSON, as moque-cli reads them from any file it is given.

#include "print/BillValuesJson.h"

#include <cstddef>
#include <cstdint>

using namespace moque;

namespace {

QList<templates::DictionaryField> dictionary()
{
    QList<templates::DictionaryField> fields;
    for (const char *name : {"ZDHKR", "ZDSKR", "ZDSKRDZ", "ZDYUNFEE"}) {
        templates::DictionaryField f;
        f.name = QLatin1String(name);
        fields << f;
    }
    templates::DictionaryField tick;
    tick.name = QStringLiteral("DEFCHECK0");
    tick.type = QStringLiteral("CHECKBOX");
    fields << tick;
    return fields;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QList<templates::DictionaryField> fields = dictionary();
    // Small limits, so that the limit paths are reached too.
    print::BillValuesLimits limits;
    limits.maxValueChars = 64;
    QList<print::MapValueSource> bills;
    QString error;
    print::parseBillValues(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), QStringLiteral("fuzz"),
                           fields, &bills, &error, limits);
    return 0;
}
