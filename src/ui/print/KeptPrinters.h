#pragma once

#include <QHash>
#include <QString>

#include <functional>
#include <memory>

class QPrinter;
class QWidget;

namespace moque::ui {

// The printers as the user set them up in the printer dialog (paper, tray,
// quality, duplex …), one QPrinter a printer, kept until the program quits so
// that every later job on that printer prints with those settings. A job sets
// only orientation, copies and title on it.
class KeptPrinters
{
public:
    // Shows the printer dialog on a printer, its confirm button captioned
    // `confirmText` when one is given; true when the user confirmed.
    using DialogRunner = std::function<bool(QPrinter &printer, QWidget *parent, const QString &confirmText)>;

    // The one set of kept printers of the running program.
    static KeptPrinters &session();

    // The printer kept for a CUPS printer, made with that printer's own defaults on first use.
    QPrinter &printer(const QString &name);

    // Shows the printer dialog on `printer` (one of the kept ones, or one to keep).
    // Confirmed, the settings are kept under the printer the user ended on, whose
    // name is returned; cancelled, nothing changes and the name is empty.
    QString setUp(QPrinter &printer, QWidget *parent, const QString &confirmText = {});
    // Shows the printer dialog starting on the kept printer `name`.
    QString setUp(const QString &name, QWidget *parent, const QString &confirmText = {});

    // Tests answer the dialog themselves.
    void setDialogRunner(DialogRunner runner);
    void clear();

private:
    KeptPrinters();
    void keepUnderItsName(QPrinter &printer);

    QHash<QString, std::shared_ptr<QPrinter>> m_printers;
    std::shared_ptr<QPrinter> m_unkept; // a dialog's printer not yet kept under a name
    DialogRunner m_runDialog;
};

} // namespace moque::ui
