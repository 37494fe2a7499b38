// Measures what a first start and a later start spend on the data directory:
// creating the data file with its default data, and opening it again.

#include "app/AppCore.h"
#include "common/Dialogs.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>

namespace {
class SilentDialogs : public moque::Dialogs
{
public:
    void message(const QString &, const QString &, Icon) override {}
    bool ask(const QString &, const QString &, Icon) override { return false; }
    QString inputValue(const QString &, const QString &, const QString &) override { return {}; }
    QString openFileName(const QString &, const QString &) override { return {}; }
    QString saveFileName(const QString &, const QString &, const QString &) override { return {}; }
};
} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    SilentDialogs dialogs;
    for (int run = 1; run <= 3; ++run) {
        QTemporaryDir dir;
        QElapsedTimer t;
        t.start();
        {
            moque::app::AppCore core(moque::store::DataDirectory(dir.path()), dialogs);
            if (!core.open()) {
                out << "failed: " << core.errorText() << Qt::endl;
                return 1;
            }
        }
        const qint64 first = t.restart();
        {
            moque::app::AppCore core(moque::store::DataDirectory(dir.path()), dialogs);
            core.open();
        }
        const qint64 later = t.elapsed();
        out << "run " << run << ": first start (data file created) " << first << " ms, later start (opened) "
            << later << " ms" << Qt::endl;
    }
    return 0;
}
