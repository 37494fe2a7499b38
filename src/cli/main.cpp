// moque-cli: the system's core driven from a shell.

#include "app/AppCore.h"
#include "app/AppVersion.h"
#include "common/Dialogs.h"
#include "store/DataDirectory.h"

#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

namespace {

// Messages of the core go to standard error; questions are answered No.
class StderrDialogs : public moque::Dialogs
{
public:
    void message(const QString &text, const QString &caption, Icon) override { print(caption, text); }
    bool ask(const QString &text, const QString &caption, Icon) override
    {
        print(caption, text);
        return false;
    }
    QString inputValue(const QString &, const QString &, const QString &) override { return {}; }
    QString openFileName(const QString &, const QString &) override { return {}; }
    QString saveFileName(const QString &, const QString &, const QString &) override { return {}; }

private:
    static void print(const QString &caption, const QString &text)
    {
        QTextStream(stderr) << caption << QStringLiteral(": ") << text << Qt::endl;
    }
};

int fail(const QString &message)
{
    QTextStream(stderr) << QStringLiteral("moque-cli: ") << message << Qt::endl;
    return 1;
}

int runInit(moque::app::AppCore &core)
{
    QTextStream out(stdout);
    out << QDir::toNativeSeparators(core.dir().root()) << Qt::endl;
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    // Drawing pictures and measuring text needs a GUI application, never a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("moque-cli"));
    QGuiApplication::setApplicationVersion(moque::app::getAppVersion(4));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("墨雀票据打印 command-line program.\n\n"
                                                    "Commands:\n"
                                                    "  init    create the data directory with its default data "
                                                    "(when missing) and print where it is"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption({QStringLiteral("data-dir"), QStringLiteral("The data directory to use."),
                      QStringLiteral("DIR")});
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("The command to run: init."));
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    if (args.isEmpty())
        return fail(QStringLiteral("no command given; try --help"));
    const QString command = args.first();
    if (command != QLatin1String("init"))
        return fail(QStringLiteral("unknown command: %1").arg(command));

    StderrDialogs dialogs;
    const auto dir = moque::store::DataDirectory::resolve(parser.value(QStringLiteral("data-dir")),
                                                          QCoreApplication::applicationDirPath());
    moque::app::AppCore core(dir, dialogs);
    if (!core.open())
        return fail(core.errorText());
    return runInit(core);
}
