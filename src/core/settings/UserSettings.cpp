#include "settings/UserSettings.h"

#include <algorithm>

namespace moque::settings {

namespace {
const QString mainFormSection = QStringLiteral("FM_MAIN");
const QString toolbarKey = QStringLiteral("TOOLBARMAIN");
} // namespace

UserSettings::UserSettings(const QString &configIniPath)
    : m_ini(configIniPath)
{
}

void UserSettings::OpenUserIniFile()
{
    // Only changes of our own are written back, so that a clean copy never
    // overwrites what other windows wrote since it was read.
    if (m_ini.isModified())
        m_ini.flush();
    m_ini.reload();
}

QString UserSettings::getINIConfigByname(const QString &name)
{
    return m_ini.value(QStringLiteral("Config"), name);
}

void UserSettings::setINIConfigByname(const QString &name, const QString &value)
{
    m_ini.setValue(QStringLiteral("Config"), name, value);
    m_ini.flush();
}

QString UserSettings::brandWord() const
{
    return m_ini.value(QStringLiteral("Info"), QStringLiteral("nm"), QStringLiteral("墨雀"));
}

bool UserSettings::toolbarVisible() const
{
    return m_ini.value(mainFormSection, toolbarKey, QStringLiteral("1")) == QLatin1String("1");
}

void UserSettings::setToolbarVisible(bool visible)
{
    m_ini.setValue(mainFormSection, toolbarKey, visible ? QStringLiteral("1") : QStringLiteral("0"));
    m_ini.flush();
}

void UserSettings::saveFormSize(const QString &formName, const QSize &size)
{
    const QString section = formName.toUpper();
    m_ini.setValue(section, QStringLiteral("FormWidth"), QString::number(size.width()));
    m_ini.setValue(section, QStringLiteral("FormHeight"), QString::number(size.height()));
    m_ini.flush();
}

QSize UserSettings::loadFormSize(const QString &formName, const QSize &current, const QSize &screen)
{
    const QString section = formName.toUpper();
    bool okW = false;
    bool okH = false;
    int w = m_ini.value(section, QStringLiteral("FormWidth")).toInt(&okW);
    int h = m_ini.value(section, QStringLiteral("FormHeight")).toInt(&okH);
    if (!okW)
        w = current.width();
    if (!okH)
        h = current.height();
    return {qMin(w, screen.width()), qMin(h, screen.height())};
}

bool UserSettings::saveGridWidths(const QString &key, const QString &gridName, const QList<int> &widths)
{
    OpenUserIniFile();
    const QString section = key.toUpper();
    const QString prefix = gridName.toUpper() + QStringLiteral(".W");
    for (int i = 0; i < widths.size(); ++i)
        m_ini.setValue(section, prefix + QString::number(i), QString::number(widths[i]));
    return m_ini.flush();
}

bool UserSettings::hasGridWidths(const QString &key, const QString &gridName)
{
    OpenUserIniFile();
    const QString prefix = gridName.toUpper() + QStringLiteral(".W");
    const QStringList keys = m_ini.keys(key.toUpper());
    return std::any_of(keys.begin(), keys.end(),
                       [&](const QString &k) { return k.startsWith(prefix, Qt::CaseInsensitive); });
}

QList<int> UserSettings::loadGridWidths(const QString &key, const QString &gridName, int columnCount)
{
    OpenUserIniFile();
    const QString section = key.toUpper();
    const QString prefix = gridName.toUpper() + QStringLiteral(".W");
    QList<int> widths;
    for (int i = 0; i < columnCount; ++i) {
        bool ok = false;
        const int w = m_ini.value(section, prefix + QString::number(i)).toInt(&ok);
        widths << (ok ? w : 40);
    }
    return widths;
}

void DebugLog::DebugOut(const QString &key, const QString &value)
{
    IniFile ini(m_path);
    ini.setValue(QStringLiteral("debug"), key, value);
    ini.flush();
}

void DebugLog::DebugOutN(const QString &key, const QString &value)
{
    ++m_counter;
    DebugOut(key + QLatin1Char('-') + QString::number(m_counter), value);
}

QString InstallRecord::read(const QString &name) const
{
    return m_ini.value(section, name, QStringLiteral("空"));
}

bool InstallRecord::update(const QString &runPath, const QString &version, const QString &fullPath)
{
    if (read(QStringLiteral("RunPath")) != runPath)
        m_ini.setValue(section, QStringLiteral("RunPath"), runPath);
    if (read(QStringLiteral("Version")) != version)
        m_ini.setValue(section, QStringLiteral("Version"), version);
    m_ini.setValue(section, QStringLiteral("FullPath"), fullPath);
    return m_ini.flush();
}

} // namespace moque::settings
