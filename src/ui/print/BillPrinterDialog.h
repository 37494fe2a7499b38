#pragma once

#include <QDialog>

#include <functional>

class QListWidget;
class QPushButton;

namespace moque::app {
class AppCore;
}

namespace moque::ui {

// The bill-printer window ("固定票据打印机"): fixes the printer every bill goes to.
class BillPrinterDialog : public QDialog
{
    Q_OBJECT
public:
    using PrinterSelector = std::function<void(const QString &)>;

    BillPrinterDialog(app::AppCore &core, const QStringList &printers, PrinterSelector setDefaultPrinter,
                   QWidget *parent = nullptr);

    QString chosenPrinter() const;

private:
    void lockPrinter();
    void calibratePrinter();
    void updateButtons();

    app::AppCore &m_core;
    PrinterSelector m_setDefaultPrinter;
    QStringList m_installed;
    QListWidget *m_printers = nullptr;
    QPushButton *m_lock = nullptr;
    QPushButton *m_calibrate = nullptr;
};

} // namespace moque::ui
