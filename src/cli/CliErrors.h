#pragma once

#include <QString>
#include <QTextStream>

namespace moque::cli {

// Says why a command failed, in one line on standard error whatever lines the
// message was made of, and gives the exit status for it.
inline int fail(const QString &message)
{
    QTextStream(stderr) << QStringLiteral("moque-cli: ") << QString(message).replace(QLatin1Char('\n'), QStringLiteral("；"))
                        << Qt::endl;
    return 1;
}

} // namespace moque::cli
