#pragma once

#include "print/ValueSource.h"

#include <QString>

#include <optional>

namespace moque::app {
class AppCore;
}

namespace moque::entry {

// A saved waybill ready to print again: its template and the values the
// waybill window shows when it reopens the bill (only shown controls print).
struct SavedWaybill
{
    int templateId = 0;
    QString templateName; // full name
    print::MapValueSource values;
};

// Reads waybill `id` of DataKDDTable. Nothing, with the reason in *error, when
// the bill or the template it was saved with no longer exists.
std::optional<SavedWaybill> loadSavedWaybill(app::AppCore &core, qint64 id, QString *error);

} // namespace moque::entry
