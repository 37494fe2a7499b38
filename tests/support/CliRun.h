#pragma once

// Runs build/moque-cli as a script would. A test that includes this defines
// MOQUE_CLI as the program's path (see tests/cli/CMakeLists.txt).

#include <QProcess>
#include <QStringList>

namespace moque::test {

struct CliRun
{
    int exitCode = -1;
    QStringList out;
    QStringList err;
};

// The program's exit code (-1 when it crashed or hung) and its output lines.
// Empty lines count, as a script pairs output lines with its inputs; Qt's own
// notes about the environment are left out. With asUser, runs it as that user.
inline CliRun runProgram(const QString &program, const QStringList &args, const QString &asUser = {})
{
    QProcess p;
    if (asUser.isEmpty())
        p.start(program, args);
    else
        p.start(QStringLiteral("runuser"), QStringList{QStringLiteral("-u"), asUser, QStringLiteral("--"), program} + args);
    p.waitForFinished(120000);
    auto lines = [](const QByteArray &bytes) {
        QStringList l = QString::fromUtf8(bytes).split(QLatin1Char('\n'));
        if (!l.isEmpty() && l.last().isEmpty())
            l.removeLast();
        l.removeIf([](const QString &s) { return s.startsWith(QLatin1String("QStandardPaths")); });
        return l;
    };
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, lines(p.readAllStandardOutput()),
            lines(p.readAllStandardError())};
}

inline CliRun runCli(const QStringList &args)
{
    return runProgram(QStringLiteral(MOQUE_CLI), args);
}

} // namespace moque::test
