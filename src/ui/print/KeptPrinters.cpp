#include "print/KeptPrinters.h"

#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QPrinter>

namespace moque::ui {

namespace {

bool runPrintDialog(QPrinter &printer, QWidget *parent, const QString &confirmText)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("打印机设置"));
    // Setting a printer up prints nothing: its button should not say it prints.
    if (!confirmText.isEmpty())
        if (auto *buttons = dialog.findChild<QDialogButtonBox *>())
            if (QPushButton *ok = buttons->button(QDialogButtonBox::Ok))
                ok->setText(confirmText);
    return dialog.exec() == QDialog::Accepted;
}

std::shared_ptr<QPrinter> makePrinter(const QString &name)
{
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    printer->setPrinterName(name);
    return printer;
}

} // namespace

KeptPrinters::KeptPrinters()
    : m_runDialog(runPrintDialog)
{
}

KeptPrinters &KeptPrinters::session()
{
    static KeptPrinters kept;
    return kept;
}

QPrinter &KeptPrinters::printer(const QString &name)
{
    auto it = m_printers.find(name);
    if (it == m_printers.end())
        it = m_printers.insert(name, makePrinter(name));
    return **it;
}

QString KeptPrinters::setUp(const QString &name, QWidget *parent, const QString &confirmText)
{
    if (name.isEmpty()) {
        // No real printer to start on: the dialog starts on its own choice.
        m_unkept = makePrinter(QString());
        return setUp(*m_unkept, parent, confirmText);
    }
    return setUp(printer(name), parent, confirmText);
}

QString KeptPrinters::setUp(QPrinter &printer, QWidget *parent, const QString &confirmText)
{
    if (!m_runDialog(printer, parent, confirmText))
        return {};
    keepUnderItsName(printer);
    return printer.printerName();
}

void KeptPrinters::keepUnderItsName(QPrinter &printer)
{
    // The user may have switched to another printer in the dialog: what was set
    // belongs to that printer now, and the one it started on gets fresh defaults.
    std::shared_ptr<QPrinter> owner;
    for (auto it = m_printers.begin(); it != m_printers.end(); ++it) {
        if (it->get() == &printer) {
            owner = *it;
            m_printers.erase(it);
            break;
        }
    }
    if (!owner && m_unkept.get() == &printer)
        owner = std::move(m_unkept);
    if (!owner)
        return;
    if (printer.outputFormat() == QPrinter::NativeFormat && !printer.printerName().isEmpty())
        m_printers.insert(printer.printerName(), owner);
    else
        m_unkept = owner; // a job may still be about to print on it
}

void KeptPrinters::setDialogRunner(DialogRunner runner)
{
    m_runDialog = runner ? std::move(runner) : DialogRunner(runPrintDialog);
}

void KeptPrinters::clear()
{
    m_printers.clear();
    m_unkept.reset();
}

} // namespace moque::ui
