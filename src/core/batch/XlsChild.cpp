#include "batch/XlsChild.h"

#include <QDeadlineTimer>
#include <QProcess>

#include <sys/resource.h>

namespace moque::batch {

namespace {

// What is kept of the end of the child's standard error, where its own
// one-line message comes.
constexpr qsizetype maxMessageBytes = 4096;

} // namespace

XlsChildRun runXlsChild(const QString &program, const QStringList &arguments, const SpreadsheetLimits &limits,
                        const std::function<bool(const QString &line)> &onLine)
{
    using End = XlsChildRun::End;
    QProcess child;
    child.setProgram(program);
    child.setArguments(arguments);
    child.setStandardInputFile(QProcess::nullDevice());
    // moque-cli is a GUI application: it must never reach for the desktop's display.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(environment);
    const rlim_t memory = rlim_t(limits.xlsReaderMemory);
    const rlim_t seconds = rlim_t((limits.xlsReaderMilliseconds + 999) / 1000);
    // Runs in the child between fork and exec: only async-signal-safe calls.
    child.setChildProcessModifier([memory, seconds] {
        const rlimit addressSpace{memory, memory};
        setrlimit(RLIMIT_AS, &addressSpace);
        // The kernel ends a child whose parent died before it could.
        const rlimit cpu{seconds, seconds + 1};
        setrlimit(RLIMIT_CPU, &cpu);
        const rlimit noCore{0, 0};
        setrlimit(RLIMIT_CORE, &noCore);
    });

    QDeadlineTimer deadline(limits.xlsReaderMilliseconds);
    const auto remaining = [&deadline] { return int(qMax<qint64>(deadline.remainingTime(), 0)); };
    child.start(QIODevice::ReadOnly);
    if (!child.waitForStarted(remaining()))
        return {End::NotStarted, {}};

    XlsChildRun run{End::Finished, {}};
    QByteArray pending;
    QByteArray message;
    const auto takeMessage = [&] {
        message += child.readAllStandardError();
        message.remove(0, qMax<qsizetype>(message.size() - maxMessageBytes, 0));
    };
    const auto takeLines = [&] {
        pending += child.readAllStandardOutput();
        qsizetype start = 0;
        for (qsizetype end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n', start)) {
            if (!onLine(QString::fromUtf8(pending.constData() + start, end - start)))
                return false;
            start = end + 1;
        }
        pending.remove(0, start);
        // A row's line is bounded as a piece of an .xlsx's XML is.
        return pending.size() <= limits.maxXmlToken;
    };
    while (child.state() != QProcess::NotRunning) {
        const bool ready = child.waitForReadyRead(remaining());
        takeMessage();
        if (!takeLines()) {
            run.end = End::Stopped;
            break;
        }
        // Its output closed, or the time is up: all that is left is to wait for its end.
        if (!ready && child.state() != QProcess::NotRunning && !child.waitForFinished(remaining())) {
            run.end = End::TimedOut;
            break;
        }
    }
    if (run.end != End::Finished) {
        child.kill();
        child.waitForFinished(-1);
        return run;
    }
    takeMessage();
    if (child.exitStatus() != QProcess::NormalExit)
        return {End::Crashed, {}};
    if (!takeLines())
        return {End::Stopped, {}};
    if (child.exitCode() == 1) {
        // Its own message comes last, after any warning Qt or a library printed.
        return {End::Refused, QString::fromUtf8(message).trimmed().section(u'\n', -1)};
    }
    if (child.exitCode() != 0)
        return {End::Crashed, {}};
    return {pending.isEmpty() ? End::Finished : End::Garbled, {}};
}

} // namespace moque::batch
