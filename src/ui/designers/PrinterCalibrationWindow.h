#pragma once

#include "design/PrinterCalibration.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace moque::app {
class AppCore;
}

namespace moque::ui {

// The printer calibration window ("frmPrinterParam"): presets per printer
// model from the settings file, a test page, and the user's offsets and
// orientation applied to every template at once.
class PrinterCalibrationWindow : public QDialog
{
    Q_OBJECT
public:
    using PrinterSelector = std::function<void(const QString &)>;

    // With a printer given, that installed printer is chosen and locked.
    PrinterCalibrationWindow(app::AppCore &core, const QStringList &printers, const QString &printer,
                             PrinterSelector setDefaultPrinter, QWidget *parent = nullptr);

private:
    void modelChosen();
    void printTestPage();
    void apply();
    QString direction() const;

    app::AppCore &m_core;
    design::PrinterCalibration m_calibration;
    PrinterSelector m_setDefaultPrinter;
    QComboBox *m_models = nullptr;
    QLineEdit *m_presetX = nullptr;
    QLineEdit *m_presetY = nullptr;
    QLineEdit *m_presetBoard = nullptr;
    QLineEdit *m_presetDirection = nullptr;
    QLabel *m_presetPicture = nullptr;
    QComboBox *m_printers = nullptr;
    QLineEdit *m_model = nullptr;
    QSpinBox *m_x = nullptr;
    QSpinBox *m_y = nullptr;
    QLineEdit *m_board = nullptr;
    QComboBox *m_direction = nullptr;
};

} // namespace moque::ui
