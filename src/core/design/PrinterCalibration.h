#pragma once

#include "settings/IniFile.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace moque::design {

// A calibration preset of a known printer model, as the settings file ships
// it. Values the file lacks stay empty.
struct CalibrationPreset
{
    QString x;         // 0.1 mm to the right
    QString y;         // 0.1 mm downwards
    QString board;     // where the paper guide sits
    QString direction; // "纵向" or "横向"
    QString picture;   // relative to the data directory
};

// The user's own calibration of their bill printer.
struct UserCalibration
{
    QString model;
    QString printerName;
    QString x;
    QString y;
    QString direction;
    QString board;
};

// Printer calibration: presets per printer model and the user's own values in
// the settings file, applied to every template at once.
class PrinterCalibration
{
public:
    static inline const QString noPresets = QStringLiteral("没有预选打印机配置");

    PrinterCalibration(settings::IniFile &ini, QSqlDatabase db) : m_ini(ini), m_db(db) {}

    // The known models; noPresets alone when the file names none.
    QStringList knownModels() const;
    CalibrationPreset preset(const QString &model) const;
    // The user's model and values; an empty model when none was stored.
    UserCalibration userCalibration() const;

    // Checks the direction, then gives every template (hidden ones too) the
    // offsets and orientation in one transaction. The text to show: success,
    // or why nothing changed.
    bool applyToAllTemplates(int xMove, int yMove, const QString &direction, QString &message);
    // Stores the user's calibration; false with the message to show.
    bool storeUserCalibration(const UserCalibration &use, QString &message);

private:
    settings::IniFile &m_ini;
    QSqlDatabase m_db;
};

} // namespace moque::design
