#pragma once

#include <QImage>
#include <QList>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace moque::test {

// A CUPS queue that writes its jobs as PDF files (cups-pdf) on A4 paper whose
// printable area has margins (5 mm left and right, 2 mm top, 3 mm bottom),
// made the system's default destination for as long as the object lives.
// Everything it changes is put back on destruction: the queue and its cups-pdf
// configuration go, the previous default destination returns, and a scheduler
// it had to start is stopped. Needs root to configure CUPS.
class CupsQueue
{
public:
    CupsQueue();
    ~CupsQueue();
    CupsQueue(const CupsQueue &) = delete;
    CupsQueue &operator=(const CupsQueue &) = delete;

    // False, with errorText() saying why, when CUPS could not be set up.
    bool isReady() const { return m_ready; }
    QString errorText() const { return m_error; }
    QString name() const { return m_name; }

    // Cancels what is still queued and drops files written so far.
    void clear();

    // Waits until the queue has no pending job and has written a complete PDF,
    // moves that file out of the queue's folder and gives its path; an empty
    // string after timeoutMs, with errorText() saying what was seen.
    QString waitForPdf(int timeoutMs = 60000);

private:
    bool setUp();
    bool schedulerRunning();
    bool startScheduler();
    QString defaultDestination();
    bool run(const QString &program, const QStringList &args, QString *out = nullptr);
    QString configPath() const;

    QTemporaryDir m_work;
    QString m_name;
    QString m_outDir;
    QString m_previousDefault;
    std::unique_ptr<QProcess> m_scheduler;   // set when this object started cupsd
    bool m_queueAdded = false;
    bool m_ready = false;
    int m_taken = 0;
    QString m_error;
};

// Page 1 of a PDF rendered by pdftoppm in grey at `dpi`; a null image, with
// *error set, when it cannot be rendered.
QImage renderPdfPage(const QString &pdfPath, int dpi, QString *error);

// A place on the paper to compare, in 0.1 mm from the paper's top-left corner.
struct InkRegion
{
    QString name;
    QRect box;
};

// The bounding box of the pixels darker than mid-grey inside `area` (pixels);
// a null rectangle when there are none.
QRect inkBox(const QImage &page, const QRect &area);

// Compares, region by region, where the ink lies on two pages rendered at
// `dpi` from the same paper origin: every edge of the ink box must agree
// within toleranceMm. Gives one line for each region that differs (a region
// with ink on one page only differs); empty when all agree. *worstMm, when
// given, receives the largest edge difference over the regions inked on both.
QStringList compareInk(const QImage &expected, const QImage &actual, int dpi, const QList<InkRegion> &regions,
                       double toleranceMm, double *worstMm = nullptr);

} // namespace moque::test
