// 墨雀票据打印: the desktop program.

#include "app/AppCore.h"
#include "app/AppVersion.h"
#include "app/FontSetup.h"
#include "app/MainWindow.h"
#include "app/SplashScreen.h"
#include "dialogs/QtDialogs.h"
#include "store/DataDirectory.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QProcess>
#include <QScreen>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("moque"));
    QApplication::setApplicationDisplayName(QStringLiteral("墨雀票据打印"));
    QApplication::setApplicationVersion(moque::app::getAppVersion(4));
    moque::app::installFontSubstitutions();

    // Qt's own texts (standard buttons, file dialogs) in Chinese.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("墨雀票据打印"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption({QStringLiteral("data-dir"), QStringLiteral("The data directory to use."),
                      QStringLiteral("DIR")});
    parser.process(app);

    moque::ui::QtDialogs dialogs;
    const auto dir = moque::store::DataDirectory::resolve(parser.value(QStringLiteral("data-dir")),
                                                          QCoreApplication::applicationDirPath());
    moque::app::AppCore core(dir, dialogs);
    if (!core.open()) {
        dialogs.error(core.errorText());
        return 1;
    }

    bool restart = false;
    moque::ui::MainWindow mainWindow(core);
    QObject::connect(&mainWindow, &moque::ui::MainWindow::terminateRequested, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    QObject::connect(&mainWindow, &moque::ui::MainWindow::restartRequested, &app, [&] {
        restart = true;
        QApplication::quit();
    });
    // Without a window manager a maximised window keeps its normal size: make that the screen.
    if (QScreen *screen = QGuiApplication::primaryScreen())
        mainWindow.setGeometry(screen->availableGeometry());
    mainWindow.showMaximized();
    mainWindow.upgradeIfNeeded();
    // The receipt window is the first thing a user sees; a kind without a usable template opens nothing.
    mainWindow.openReceiptWindow();

    {
        moque::ui::SplashScreen splash(dir.imageDir() + QStringLiteral("Sys_boot.jpg"));
        splash.showBriefly();
    }
    QApplication::setApplicationDisplayName(QStringLiteral("墨雀票据打印"));

    const int result = QApplication::exec();
    if (restart)
        QProcess::startDetached(QCoreApplication::applicationFilePath(), QCoreApplication::arguments().mid(1));
    return result;
}
