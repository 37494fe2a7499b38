#pragma once

#include <QSqlDatabase>
#include <QString>

namespace moque::settings {

// Names of the system options kept in configtable.
namespace option {
inline const QString loginRequired = QStringLiteral("进入系统需验证");
inline const QString popPrinterSetup = QStringLiteral("打印前弹出打印机设置");
inline const QString useDefaultIssuer = QStringLiteral("启用默认出票人");
inline const QString systemBackground = QStringLiteral("启用系统背景");
inline const QString defaultPrinter = QStringLiteral("DefaultPrinter");
inline const QString hideAdPanelDate = QStringLiteral("HideADPanelDate");
inline const QString version = QStringLiteral("version");
inline const QString excelFirst = QStringLiteral("MS EXCEL FIRST");
} // namespace option

// The system options of table configtable: "yes" or "1" is on, anything else
// (and a missing option) is off.
class Options
{
public:
    explicit Options(QSqlDatabase db) : m_db(db) {}

    // The option's value; empty when it is missing or cannot be read.
    QString getConfigByname(const QString &name) const;
    // Updates the option, inserting it when it is missing. False when it could not be written.
    bool setConfigByname(const QString &name, const QString &value);

    bool isOn(const QString &name) const { return isOnValue(getConfigByname(name)); }
    void setOn(const QString &name, bool on) { setConfigByname(name, on ? QStringLiteral("yes") : QStringLiteral("no")); }

    static bool isOnValue(const QString &value);

private:
    QSqlDatabase m_db;
};

// The four option flags the main window keeps.
struct SysParams
{
    bool loginRequired = false;
    bool popPrinterSetup = false;
    bool useDefaultIssuer = false;
    bool systemBackground = false;

    static SysParams load(const Options &options);
};

} // namespace moque::settings
