// Measures the start of the program up to the main window shown: once on an
// empty data directory (data file and default data written), once on the same
// directory again. Runs offscreen unless a platform is given.

#include "BenchDialogs.h"
#include "app/AppCore.h"
#include "app/MainWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

namespace {
// Opens the data directory and shows the main window; the milliseconds it took.
qint64 startOnce(const QString &dir, BenchDialogs &dialogs)
{
    QElapsedTimer t;
    t.start();
    moque::app::AppCore core(moque::store::DataDirectory(dir), dialogs);
    if (!core.open()) {
        QTextStream(stderr) << "failed: " << core.errorText() << Qt::endl;
        return -1;
    }
    moque::ui::MainWindow window(core);
    window.showMaximized();
    QCoreApplication::processEvents();
    return t.elapsed();
}
} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    BenchDialogs dialogs;
    for (int run = 1; run <= 3; ++run) {
        QTemporaryDir dir;
        const qint64 first = startOnce(dir.path(), dialogs);
        const qint64 later = startOnce(dir.path(), dialogs);
        if (first < 0 || later < 0)
            return 1;
        out << "run " << run << ": first start to main window (data file created) " << first
            << " ms; later start to main window " << later << " ms" << Qt::endl;
    }
    return 0;
}
