#pragma once

#include <QString>

namespace moque::store {

// The directory that holds every file the system keeps (its "run path"):
// Data/EPData.ini, Data/Template.a01, Image/, Temp/CheckIni/, Config.ini, Debug.ini.
class DataDirectory
{
public:
    DataDirectory() = default;
    explicit DataDirectory(const QString &root);

    // The directory given on the command line; else the executable's directory
    // when it holds a writable Data/ (a portable install); else the per-user
    // data directory ~/.local/share/moque/.
    static DataDirectory resolve(const QString &explicitDir, const QString &executableDir);

    // The run path, always with a trailing slash.
    QString root() const { return m_root; }
    QString dataFile() const { return m_root + QStringLiteral("Data/EPData.ini"); }
    QString packageSkeleton() const { return m_root + QStringLiteral("Data/Template.a01"); }
    QString imageDir() const { return m_root + QStringLiteral("Image/"); }
    QString cacheDir() const { return m_root + QStringLiteral("Temp/CheckIni/"); }
    QString configIni() const { return m_root + QStringLiteral("Config.ini"); }
    QString debugIni() const { return m_root + QStringLiteral("Debug.ini"); }

private:
    QString m_root;
};

} // namespace moque::store
