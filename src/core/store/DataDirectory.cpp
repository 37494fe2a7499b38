#include "store/DataDirectory.h"

#include <QDir>
#include <QFileInfo>

namespace moque::store {

DataDirectory::DataDirectory(const QString &root)
    : m_root(QDir::cleanPath(QDir(root).absolutePath()))
{
    if (!m_root.endsWith(QLatin1Char('/')))
        m_root += QLatin1Char('/');
}

DataDirectory DataDirectory::resolve(const QString &explicitDir, const QString &executableDir)
{
    if (!explicitDir.trimmed().isEmpty())
        return DataDirectory(explicitDir.trimmed());
    if (!executableDir.isEmpty()) {
        const QFileInfo portable(QDir(executableDir).filePath(QStringLiteral("Data")));
        if (portable.isDir() && portable.isWritable())
            return DataDirectory(executableDir);
    }
    return DataDirectory(QDir::homePath() + QStringLiteral("/.local/share/moque"));
}

} // namespace moque::store
