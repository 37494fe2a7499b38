#pragma once

#include "settings/IniFile.h"

#include <QList>
#include <QSize>
#include <QString>

namespace moque::settings {

// Config.ini: per-installation settings (window sizes, grid column widths,
// toolbar, brand word, the Config section and the installation record).
class UserSettings
{
public:
    explicit UserSettings(const QString &configIniPath);

    IniFile &file() { return m_ini; }

    // Writes pending changes of our own, then reads the file afresh, so that
    // values other windows wrote are kept.
    void OpenUserIniFile();
    bool flush() { return m_ini.flush(); }

    QString getINIConfigByname(const QString &name);
    void setINIConfigByname(const QString &name, const QString &value);

    // The brand word of the exit question, "墨雀" unless Info/nm says otherwise.
    QString brandWord() const;

    bool toolbarVisible() const;
    void setToolbarVisible(bool visible);

    // Window sizes under the window's name (upper case).
    void saveFormSize(const QString &formName, const QSize &size);
    QSize loadFormSize(const QString &formName, const QSize &current, const QSize &screen);

    // Column widths of a grid: a width, or -1 for a hidden column. False when the file cannot be written.
    bool saveGridWidths(const QString &key, const QString &gridName, const QList<int> &widths);
    // True when any column width of the grid is stored under the key.
    bool hasGridWidths(const QString &key, const QString &gridName);
    // Stored widths for the columns (40 where nothing is stored).
    QList<int> loadGridWidths(const QString &key, const QString &gridName, int columnCount);

private:
    IniFile m_ini;
};

// Debug.ini: debug values written under their key; DebugOutN numbers its keys
// so that repeated calls never overwrite each other.
class DebugLog
{
public:
    explicit DebugLog(const QString &debugIniPath) : m_path(debugIniPath) {}

    void DebugOut(const QString &key, const QString &value);
    void DebugOutN(const QString &key, const QString &value);

private:
    QString m_path;
    int m_counter = 0;
};

// The record of this installation (run path, version, executable), kept in a
// section of Config.ini.
class InstallRecord
{
public:
    static inline const QString section = QStringLiteral("NORDAPT_KX");

    explicit InstallRecord(IniFile &ini) : m_ini(ini) {}

    // A value that does not exist reads as "空".
    QString read(const QString &name) const;
    // Writes RunPath and Version when they differ, FullPath always. False when the file cannot be written.
    bool update(const QString &runPath, const QString &version, const QString &fullPath);

private:
    IniFile &m_ini;
};

} // namespace moque::settings
