#pragma once

#include "batch/BatchList.h"
#include "print/ValueSource.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace moque::app {
class AppCore;
}

namespace moque::print {
class PrintDevice;
}

namespace moque::batch {

// What the waybill window gives every bill of a batch: its template, each of
// its controls as it shows it (the sender side, the options, the contents the
// list does not overwrite) and the options that change a recipient's values.
struct WaybillSide
{
    int templateId = 0;
    QString templateName; // full name
    print::MapValueSource values;
    bool destinationIsCity = false; // "目的站=城市"
    QString amountFormat;           // "金额大写1格式:" choice
};

// The window's side for a shell: the template's start values, its stored
// options and, with senderId above 0, that address book entry as the sender.
// An empty template name takes the default waybill template. Nothing, with
// the reason in *error, when the template or the entry does not exist.
std::optional<WaybillSide> waybillSideFor(app::AppCore &core, const QString &templateName, int senderId,
                                          QString *error);

// SendToCheckByID: the side's values with one recipient written over them.
// gridColumns are the list grid's visible columns in order; a column the grid
// hides, or shows first, leaves the window's own value. Without a row the
// recipient fields are emptied.
print::MapValueSource billFor(const WaybillSide &side, const std::optional<Receiver> &row,
                              const QStringList &gridColumns);

// The outcome of one batch job.
struct BatchResult
{
    enum class Status { Printed, Cancelled, Failed };
    Status status = Status::Failed;
    int printed = 0;      // bills in the finished job; 0 unless Printed
    bool itemsOk = true;  // false when an item of some bill could not be drawn
    QList<qint64> missing; // IDs no longer in the list, printed with empty recipients
};

// One print job over chosen rows of the list, one bill a row, a new page
// between them. The list is only read: every row stays.
class BatchPrint
{
public:
    BatchPrint(app::AppCore &core, print::PrintDevice &device) : m_core(core), m_device(device) {}

    // Shown before the job when the printer set-up option asks for it; false cancels the job.
    void setPrinterSetup(std::function<bool()> setup) { m_printerSetup = std::move(setup); }

    // Called with the bills sent so far and the total before each bill and
    // once at the end; false cancels the job, which is then aborted.
    using Progress = std::function<bool(int done, int total)>;

    BatchResult print(const WaybillSide &side, const QList<qint64> &ids, const QStringList &gridColumns,
                      const Progress &progress = {});

private:
    app::AppCore &m_core;
    print::PrintDevice &m_device;
    std::function<bool()> m_printerSetup;
};

} // namespace moque::batch
