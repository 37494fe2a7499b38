#include "support/CupsQueue.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QtMath>

#include <algorithm>
#include <climits>

#include <unistd.h>

namespace moque::test {

namespace {

const QString sourcePpd = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd");
const QByteArray fullA4Area = "*ImageableArea A4/A4: \"0 0 595 842\"";
// In points from the bottom-left corner: 5 mm left and right, 3 mm bottom, 2 mm top.
const QByteArray marginsA4Area = "*ImageableArea A4/A4: \"14.17 8.50 580.83 836.33\"";

constexpr int commandTimeoutMs = 30000;
constexpr int pollMs = 250;

} // namespace

CupsQueue::CupsQueue()
    : m_name(QStringLiteral("MoqueTest_%1").arg(QCoreApplication::applicationPid()))
{
    m_ready = setUp();
}

CupsQueue::~CupsQueue()
{
    if (m_queueAdded) {
        run(QStringLiteral("lpadmin"), {QStringLiteral("-x"), m_name});
        QFile::remove(configPath());
    }
    // Removing the default queue leaves none, which is right when there was none before.
    if (!m_previousDefault.isEmpty() && m_previousDefault != m_name)
        run(QStringLiteral("lpadmin"), {QStringLiteral("-d"), m_previousDefault});
    if (m_scheduler) {
        m_scheduler->terminate();
        if (!m_scheduler->waitForFinished(10000)) {
            m_scheduler->kill();
            m_scheduler->waitForFinished(5000);
        }
    }
}

QString CupsQueue::configPath() const
{
    return QStringLiteral("/etc/cups/cups-pdf-%1.conf").arg(m_name);
}

bool CupsQueue::run(const QString &program, const QStringList &args, QString *out)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForStarted(commandTimeoutMs)) {
        m_error = QStringLiteral("%1 could not be run: %2").arg(program, p.errorString());
        return false;
    }
    p.closeWriteChannel();
    if (!p.waitForFinished(commandTimeoutMs)) {
        p.kill();
        p.waitForFinished();
        m_error = QStringLiteral("%1 %2 did not finish").arg(program, args.join(QLatin1Char(' ')));
        return false;
    }
    const QString stdOut = QString::fromLocal8Bit(p.readAllStandardOutput());
    if (out)
        *out = stdOut;
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        m_error = QStringLiteral("%1 %2 failed: %3%4")
                      .arg(program, args.join(QLatin1Char(' ')), stdOut,
                           QString::fromLocal8Bit(p.readAllStandardError()))
                      .trimmed();
        return false;
    }
    return true;
}

bool CupsQueue::schedulerRunning()
{
    QString out;
    run(QStringLiteral("lpstat"), {QStringLiteral("-r")}, &out);
    return out.contains(QLatin1String("scheduler is running"));
}

bool CupsQueue::startScheduler()
{
    // In the foreground as our own child, so that it can be stopped by its process id afterwards.
    // Its output goes to a file: a pipe nobody reads could fill up and stall it.
    const QString log = m_work.filePath(QStringLiteral("cupsd.log"));
    m_scheduler = std::make_unique<QProcess>();
    m_scheduler->setProcessChannelMode(QProcess::MergedChannels);
    m_scheduler->setStandardOutputFile(log);
    m_scheduler->start(QStringLiteral("cupsd"), {QStringLiteral("-f")});
    if (!m_scheduler->waitForStarted(commandTimeoutMs)) {
        m_error = QStringLiteral("cupsd could not be started: %1 (is the cups package installed?)")
                      .arg(m_scheduler->errorString());
        m_scheduler.reset();
        return false;
    }
    const QDeadlineTimer deadline(commandTimeoutMs);
    while (!deadline.hasExpired()) {
        if (m_scheduler->state() == QProcess::NotRunning) {
            QFile output(log);
            m_error = QStringLiteral("cupsd stopped at once: %1")
                          .arg(output.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(output.readAll()).trimmed()
                                                                : QString());
            m_scheduler.reset();
            return false;
        }
        if (schedulerRunning())
            return true;
        m_scheduler->waitForFinished(pollMs);
    }
    m_error = QStringLiteral("cupsd was started but lpstat -r does not see it running");
    return false;
}

QString CupsQueue::defaultDestination()
{
    QString out;
    run(QStringLiteral("lpstat"), {QStringLiteral("-d")}, &out);
    const QLatin1String prefix("system default destination: ");
    for (const QString &line : out.split(QLatin1Char('\n')))
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed();
    return {};
}

bool CupsQueue::setUp()
{
    if (geteuid() != 0) {
        m_error = QStringLiteral("adding a CUPS queue and its cups-pdf configuration needs root");
        return false;
    }
    if (!m_work.isValid()) {
        m_error = QStringLiteral("no temporary folder: %1").arg(m_work.errorString());
        return false;
    }
    if (!QFileInfo::exists(QStringLiteral("/usr/lib/cups/backend/cups-pdf")) || !QFileInfo::exists(sourcePpd)) {
        m_error = QStringLiteral("the cups-pdf backend or its PPD is missing (printer-driver-cups-pdf)");
        return false;
    }
    if (!schedulerRunning() && !startScheduler())
        return false;
    m_previousDefault = defaultDestination();

    QFile source(sourcePpd);
    if (!source.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("cannot read %1").arg(sourcePpd);
        return false;
    }
    QByteArray ppd = source.readAll();
    if (!ppd.contains(fullA4Area)) {
        m_error = QStringLiteral("%1 has no full-page A4 printable area to replace").arg(sourcePpd);
        return false;
    }
    ppd.replace(fullA4Area, marginsA4Area);
    const QString ppdPath = m_work.filePath(QStringLiteral("margins.ppd"));
    QFile ppdFile(ppdPath);
    if (!ppdFile.open(QIODevice::WriteOnly) || ppdFile.write(ppd) != ppd.size()) {
        m_error = QStringLiteral("cannot write %1").arg(ppdPath);
        return false;
    }
    ppdFile.close();

    // cups-pdf writes as the job's user, maybe not root: the folder must be open to all.
    m_outDir = m_work.filePath(QStringLiteral("out"));
    if (!QDir().mkpath(m_outDir)
        || !QFile::setPermissions(m_outDir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                                 | QFileDevice::ReadGroup | QFileDevice::WriteGroup
                                                 | QFileDevice::ExeGroup | QFileDevice::ReadOther
                                                 | QFileDevice::WriteOther | QFileDevice::ExeOther)
        || !QFile::setPermissions(m_work.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                     | QFileDevice::ExeOwner | QFileDevice::ExeGroup
                                                     | QFileDevice::ExeOther)) {
        m_error = QStringLiteral("cannot prepare the output folder %1").arg(m_outDir);
        return false;
    }
    // The file's name comes from the job's title; waitForPdf takes whatever appears, so the name does not matter.
    QFile config(configPath());
    const QByteArray configText = "Out " + QFile::encodeName(m_outDir) + "\nLabel 0\n";
    if (!config.open(QIODevice::WriteOnly) || config.write(configText) != configText.size()) {
        m_error = QStringLiteral("cannot write %1").arg(configPath());
        return false;
    }
    config.close();
    m_queueAdded = true;   // from here on the destructor cleans up, even if lpadmin fails half-way

    if (!run(QStringLiteral("lpadmin"), {QStringLiteral("-p"), m_name, QStringLiteral("-E"), QStringLiteral("-v"),
                                         QStringLiteral("cups-pdf:/") + m_name, QStringLiteral("-P"), ppdPath}))
        return false;
    if (!run(QStringLiteral("lpadmin"), {QStringLiteral("-d"), m_name}))
        return false;
    // PRINTER, LPDEST or an lpoptions file would override the system default for this process.
    const QString nowDefault = defaultDestination();
    if (nowDefault != m_name) {
        m_error = QStringLiteral("%1 was made the default destination, but lpstat -d gives \"%2\" "
                                 "(PRINTER, LPDEST or lpoptions override it)")
                      .arg(m_name, nowDefault);
        return false;
    }
    m_error.clear();
    return true;
}

void CupsQueue::clear()
{
    if (!m_queueAdded)
        return;
    run(QStringLiteral("cancel"), {QStringLiteral("-a"), m_name});
    const QDir out(m_outDir);
    for (const QString &file : out.entryList(QDir::Files))
        QFile::remove(out.filePath(file));
}

QString CupsQueue::waitForPdf(int timeoutMs)
{
    if (!m_ready)
        return {};
    const QDir out(m_outDir);
    const QDeadlineTimer deadline(timeoutMs);
    QString pending;
    QStringList files;
    qint64 lastSize = -1;
    while (true) {
        files = out.entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Time);
        run(QStringLiteral("lpstat"), {QStringLiteral("-o"), m_name}, &pending);
        if (files.size() == 1 && pending.trimmed().isEmpty()) {
            const qint64 size = QFileInfo(out.filePath(files.first())).size();
            // Two polls with the same size: the backend has finished writing it.
            if (size > 0 && size == lastSize) {
                const QString taken = m_work.filePath(QStringLiteral("job%1.pdf").arg(++m_taken));
                if (!QFile::rename(out.filePath(files.first()), taken)) {
                    m_error = QStringLiteral("cannot move %1 out of the queue's folder").arg(files.first());
                    return {};
                }
                return taken;
            }
            lastSize = size;
        } else {
            lastSize = -1;
        }
        if (files.size() > 1 || deadline.hasExpired())
            break;
        QThread::msleep(pollMs);
    }
    QString state;
    run(QStringLiteral("lpstat"), {QStringLiteral("-p"), m_name}, &state);
    m_error = QStringLiteral("no single finished PDF from %1 after %2 s; files: [%3]; pending jobs: [%4]; "
                             "printer: %5")
                  .arg(m_name)
                  .arg(timeoutMs / 1000)
                  .arg(files.join(QStringLiteral(", ")), pending.trimmed(), state.trimmed());
    return {};
}

QImage renderPdfPage(const QString &pdfPath, int dpi, QString *error)
{
    QProcess p;
    // -q: cups-pdf's Type 3 glyphs make poppler warn about every bounding box.
    p.start(QStringLiteral("pdftoppm"), {QStringLiteral("-q"), QStringLiteral("-r"), QString::number(dpi),
                                         QStringLiteral("-gray"), QStringLiteral("-f"), QStringLiteral("1"),
                                         QStringLiteral("-l"), QStringLiteral("1"), pdfPath});
    QImage image;
    if (!p.waitForFinished(commandTimeoutMs) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        if (error)
            *error = QStringLiteral("pdftoppm could not render %1 (%2, exit code %3): %4")
                         .arg(pdfPath, p.errorString())
                         .arg(p.exitCode())
                         .arg(QString::fromLocal8Bit(p.readAllStandardError()).trimmed());
        return image;
    }
    if (!image.loadFromData(p.readAllStandardOutput(), "PGM") && error)
        *error = QStringLiteral("pdftoppm gave no readable image of %1").arg(pdfPath);
    return image.convertToFormat(QImage::Format_Grayscale8);
}

QRect inkBox(const QImage &page, const QRect &area)
{
    const QRect clipped = area & page.rect();
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        const uchar *line = page.constScanLine(y);
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            if (line[x] < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    return left == INT_MAX ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

QStringList compareInk(const QImage &expected, const QImage &actual, int dpi, const QList<InkRegion> &regions,
                       double toleranceMm, double *worstMm)
{
    const double pxPerTenthMm = dpi / 254.0;
    const double mmPerPx = 25.4 / dpi;
    auto toPixels = [&](const QRect &tenths) {
        return QRect(QPoint(qFloor(tenths.left() * pxPerTenthMm), qFloor(tenths.top() * pxPerTenthMm)),
                     QPoint(qCeil((tenths.left() + tenths.width()) * pxPerTenthMm) - 1,
                            qCeil((tenths.top() + tenths.height()) * pxPerTenthMm) - 1));
    };
    auto describe = [&](const QRect &px) {
        return px.isNull() ? QStringLiteral("no ink")
                           : QStringLiteral("%1,%2-%3,%4 mm")
                                 .arg(px.left() * mmPerPx, 0, 'f', 2)
                                 .arg(px.top() * mmPerPx, 0, 'f', 2)
                                 .arg((px.right() + 1) * mmPerPx, 0, 'f', 2)
                                 .arg((px.bottom() + 1) * mmPerPx, 0, 'f', 2);
    };
    QStringList differences;
    double worst = 0;
    for (const InkRegion &region : regions) {
        const QRect area = toPixels(region.box);
        const QRect a = inkBox(expected, area);
        const QRect b = inkBox(actual, area);
        if (a.isNull() || b.isNull()) {
            if (a.isNull() != b.isNull())
                differences << QStringLiteral("%1: expected %2, got %3").arg(region.name, describe(a), describe(b));
            else
                differences << QStringLiteral("%1: no ink on either page").arg(region.name);
            continue;
        }
        const double dLeft = (b.left() - a.left()) * mmPerPx;
        const double dTop = (b.top() - a.top()) * mmPerPx;
        const double dRight = (b.right() - a.right()) * mmPerPx;
        const double dBottom = (b.bottom() - a.bottom()) * mmPerPx;
        const double regionWorst = std::max({qAbs(dLeft), qAbs(dTop), qAbs(dRight), qAbs(dBottom)});
        worst = std::max(worst, regionWorst);
        if (regionWorst > toleranceMm)
            differences << QStringLiteral("%1: expected %2, got %3 (left %4, top %5, right %6, bottom %7 mm)")
                               .arg(region.name, describe(a), describe(b))
                               .arg(dLeft, 0, 'f', 2)
                               .arg(dTop, 0, 'f', 2)
                               .arg(dRight, 0, 'f', 2)
                               .arg(dBottom, 0, 'f', 2);
    }
    if (worstMm)
        *worstMm = worst;
    return differences;
}

} // namespace moque::test
