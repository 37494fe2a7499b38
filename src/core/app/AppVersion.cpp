#include "app/AppVersion.h"

#include "Version.h"

namespace moque::app {

QString getAppVersion(int parts)
{
    QString v = QStringLiteral("%1.%2").arg(build::versionMajor).arg(build::versionMinor);
    if (parts == 2)
        return v;
    v += QStringLiteral(".%1").arg(build::versionRelease);
    if (parts == 3)
        return v;
    return v + QStringLiteral(".%1").arg(build::versionBuild);
}

} // namespace moque::app
