#include "design/BillPreview.h"

#include "app/AppCore.h"
#include "app/PrintJob.h"
#include "print/ImagePrintDevice.h"

namespace moque::design {

namespace {

// The engine asks for each field's value just before it draws the field: the
// texts drawn from one question to the next are that field's.
class MarkingValues : public print::ValueSource
{
public:
    struct Mark
    {
        QString name;
        qsizetype firstRect = 0;
    };

    MarkingValues(const print::ValueSource &inner, const print::ImagePrintDevice &device)
        : m_inner(inner)
        , m_device(device)
    {
    }

    print::FieldValue value(const QString &fieldName) const override
    {
        marks.append({fieldName, m_device.textRects().size()});
        return m_inner.value(fieldName);
    }

    mutable QList<Mark> marks;

private:
    const print::ValueSource &m_inner;
    const print::ImagePrintDevice &m_device;
};

} // namespace

print::MapValueSource BillPreview::testValues(const QList<templates::DictionaryField> &fields)
{
    print::MapValueSource values;
    for (const templates::DictionaryField &f : fields)
        values.set(f.name, f.testData.trimmed().isEmpty() ? f.label : f.testData);
    return values;
}

bool BillPreview::render(int templateId, int xMove, int yMove)
{
    m_items.clear();
    m_image = QImage();
    print::ImagePrintDevice device(m_dpi);
    app::PrintJob job(m_core, device);
    if (!job.PrintPrepare(templateId))
        return false;
    m_row = job.templateRow();
    job.setWholeOffset(xMove, yMove);
    if (!job.PrinterTransBegin(1))
        return false;
    const print::MapValueSource tests = testValues(job.printableFields());
    MarkingValues values(tests, device);
    // A test text the engine refuses (a malformed FitParam) is shown by the
    // job's message; the other items still show.
    job.SendCheckToPrinter(values);
    job.PrinterTransEnd();

    const QList<QRect> &rects = device.textRects();
    int number = 0;
    for (qsizetype i = 0; i < values.marks.size(); ++i) {
        const templates::PrintItem *item = job.items().find(values.marks[i].name);
        if (!item || item->needPrint != 1)
            continue;
        const qsizetype end = i + 1 < values.marks.size() ? values.marks[i + 1].firstRect : rects.size();
        m_items.append({++number, item->name, rects.mid(values.marks[i].firstRect, end - values.marks[i].firstRect)});
    }
    m_image = device.image();
    return true;
}

} // namespace moque::design
