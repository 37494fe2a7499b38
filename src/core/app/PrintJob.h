#pragma once

#include "print/BillRenderer.h"
#include "print/PrintDevice.h"
#include "templates/PrintItem.h"
#include "templates/TemplateRow.h"


#include <functional>
#include <memory>

namespace moque {
class Dialogs;
}

namespace moque::app {

class AppCore;

// One print job on one device: prepare reads the template (offsets,
// orientation, paper, print items, printable fields) once; then any number of
// bills are sent, with a new page between them.
class PrintJob
{
public:
    PrintJob(AppCore &core, print::PrintDevice &device);
    ~PrintJob();

    // Shows the printer set-up before the job when the option asks for it; false when cancelled.
    using PrinterSetup = std::function<bool()>;
    void setPrinterSetup(PrinterSetup setup) { m_printerSetup = std::move(setup); }

    // Reads the template; false (with the system's message) when it cannot be printed.
    bool PrintPrepare(int templateId, const QString &templateName = {});
    // Opens the job with the copy count (below 1 means 1; a waybill makes at most 50) and an optional title.
    bool PrinterTransBegin(int copies, const QString &title = {});
    // Renders one bill onto the open page (repeating it for each copy when the
    // device does not make copies). The currency code moves amount codes into their box.
    bool SendCheckToPrinter(const print::ValueSource &values, const QString &moneyCode = {});
    bool NewCheckPage();
    bool PrinterTransEnd();
    void AbortPrint();

    // The preview draws the bill at an offset of its own: the one being typed, or none.
    void setWholeOffset(int xMove, int yMove)
    {
        m_template.xMove = xMove;
        m_template.yMove = yMove;
    }

    bool isReady() const { return m_ready; }
    const templates::TemplateRow &templateRow() const { return m_template; }
    const QList<templates::DictionaryField> &printableFields() const { return m_fields; }
    const templates::PrintItemSet &items() const { return m_items; }
    int copies() const { return m_copies; }

private:
    void fail(const QString &message);
    void failDevice();
    void setReady(bool ready);

    AppCore &m_core;
    Dialogs &m_dialogs;
    print::PrintDevice &m_device;
    bool m_ready = false;
    bool m_open = false;
    bool m_pageUsed = false;
    int m_copies = 1;
    templates::TemplateRow m_template;
    templates::PrintItemSet m_items;
    QList<templates::DictionaryField> m_fields;
    print::KindRules m_rules;
    int m_moneyCellWidth = 0;
    std::unique_ptr<print::ItemRenderer> m_renderer;
    PrinterSetup m_printerSetup;
};

} // namespace moque::app
