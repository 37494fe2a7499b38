// moque-cli: the system's core driven from a shell.

#include "app/AppCore.h"
#include "CliAmount.h"
#include "CliBatch.h"
#include "CliErrors.h"
#include "CliImport.h"
#include "CliPrint.h"
#include "CliRecognize.h"
#include "CliSheet.h"
#include "CliUpgrade.h"
#include "CliTemplates.h"
#include "app/AppVersion.h"
#include "app/FontSetup.h"
#include "common/Dialogs.h"
#include "store/DataDirectory.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QApplication>
#include <QTextStream>

#include <unistd.h>

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
        QString line = text;
        line.replace(QLatin1Char('\n'), QLatin1Char(' '));
        QTextStream(stderr) << caption << QStringLiteral(": ") << line << Qt::endl;
    }
};

using moque::cli::fail;

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
    // Without a session (cron, ssh) Qt would warn about the runtime directory on every run.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QString runtime = QDir::tempPath() + QStringLiteral("/runtime-moque-cli-")
            + QString::number(::getuid()); // one per user, also where USER is not set
        if (QDir().mkpath(runtime)) {
            QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
        }
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("moque-cli"));
    QApplication::setApplicationVersion(moque::app::getAppVersion(4));
    moque::app::installFontSubstitutions();

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("墨雀票据打印 command-line program.\n\n"
                                                    "Commands:\n"
                                                    "  init       create the data directory with its default data "
                                                    "(when missing) and print where it is\n"
                                                    "  templates  list the templates; templates export --ids N,N,... --output FILE.tpk:\n"
                                                    "             a template package of those templates; templates import FILE.tpk\n"
                                                    "             [--keep-old]: its templates, each replacing the template of its full name\n"
                                                    "             (--keep-old: added beside it, named ….新)\n"
                                                    "  print      print bills: --template FULLNAME --values FILE.json "
                                                    "[--output FILE.pdf | --printer NAME] [--copies N]\n"
                                                    "             print --saved KIND:流水号 [--output FILE.pdf | --printer NAME]:\n"
                                                    "             a saved 快递单, 普通发票收据, 国际货运发票 or 出口商品发票 on its own\n"
                                                    "             template; an invoice's amounts, capitals, digit boxes and date are\n"
                                                    "             filled as its window fills them (a receipt draws a new verification\n"
                                                    "             code; an export invoice converts at its saved 当期汇率)\n"
                                                    "  amount     convert amounts (no data directory needed):\n"
                                                    "             amount capital AMOUNT...\n"
                                                    "             amount digits AMOUNT... --count N --format 0.00\n"
                                                    "             amount money AMOUNT... [--thousands]\n"
                                                    "             amount clean TEXT...\n"
                                                    "             put -- before negative amounts\n"
                                                    "  batch      batch print [--template FULLNAME] [--sender ID] [--output FILE.pdf |\n"
                                                    "             --printer NAME]: every recipient of the batch print list on its own\n"
                                                    "             waybill, in one job, as the batch window prints it; the default waybill\n"
                                                    "             template unless --template, the sender from that address book entry\n"
                                                    "  import     import recipients from a spreadsheet (.xlsx, .xls, .csv), columns\n"
                                                    "             matched by their titles: import FILE [--into batch|book] [--sheet N];\n"
                                                    "             prints a summary line and writes ImportLog.txt into the data directory\n"
                                                    "  sheet      print a spreadsheet (.xlsx, .xls, .csv) as the program reads it "
                                                    "(no data directory needed):\n"
                                                    "             sheet FILE [--sheet N]: one row a line, cells separated by tabs;\n"
                                                    "             a tab, line break, carriage return or \\ in a cell as \\t, \\n, \\r, \\\\\n"
                                                    "             sheet FILE --sheet-names: the worksheet names, one a line\n"
                                                    "  recognize  split address text on standard input into name, mobile, phone,\n"
                                                    "             province, city, district, address and zipcode, printed as one JSON\n"
                                                    "             object (no data directory needed); recognize --lines: every input\n"
                                                    "             line one text as a JSON string, every output line its object\n"
                                                    "  upgrade    bring the data file and the package skeleton of an earlier version\n"
                                                    "             to this version (after a backup beside the data file) and print\n"
                                                    "             what changed, one line each, or \"nothing to upgrade\""));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption({QStringLiteral("data-dir"), QStringLiteral("The data directory to use."),
                      QStringLiteral("DIR")});
    parser.addOption({QStringLiteral("template"), QStringLiteral("Full name of the template to print on."),
                      QStringLiteral("FULLNAME")});
    parser.addOption({QStringLiteral("values"),
                      QStringLiteral("JSON file: an object of field name to text, or an array of them."),
                      QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("saved"), QStringLiteral("A saved bill to print again: 快递单:流水号, 普通发票收据:流水号, "
                                     "国际货运发票:流水号 or 出口商品发票:流水号."),
                      QStringLiteral("KIND:ID")});
    parser.addOption({QStringLiteral("output"), QStringLiteral("PDF file to print into."), QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("printer"), QStringLiteral("Printer to print on (\"PDF\" writes --output). With neither --printer nor "
                                     "--output: the locked bill printer, else the system's default printer."),
                      QStringLiteral("NAME")});
    parser.addOption({QStringLiteral("copies"), QStringLiteral("Copies of each bill."), QStringLiteral("N"),
                      QStringLiteral("1")});
    parser.addOption({QStringLiteral("count"), QStringLiteral("amount digits: integer digit boxes."),
                      QStringLiteral("N")});
    parser.addOption({QStringLiteral("format"), QStringLiteral("amount digits: decimals pattern such as 0.00."),
                      QStringLiteral("PATTERN"), QStringLiteral("0")});
    parser.addOption({QStringLiteral("thousands"), QStringLiteral("amount money: group thousands with \",\".")});
    parser.addOption({QStringLiteral("sheet"), QStringLiteral("sheet, import: the worksheet to read, counted from 1."),
                      QStringLiteral("N")});
    parser.addOption({QStringLiteral("sheet-names"), QStringLiteral("sheet: print the worksheet names instead.")});
    parser.addOption({QStringLiteral("into"), QStringLiteral("import: batch (the batch print list, the default) or book (the address book)."),
                      QStringLiteral("TARGET")});
    parser.addOption({QStringLiteral("lines"), QStringLiteral("recognize: one text a line, each a JSON string.")});
    parser.addOption({QStringLiteral("sender"), QStringLiteral("batch print: the address book entry (its ID) that sends."),
                      QStringLiteral("ID")});
    parser.addOption({QStringLiteral("ids"), QStringLiteral("templates export: the template numbers, separated by commas."),
                      QStringLiteral("N,N")});
    parser.addOption({QStringLiteral("keep-old"),
                      QStringLiteral("templates import: keep a template of the same full name; the imported one is added as ….新.")});
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("The command to run: init, templates, print, amount, sheet, recognize, import, batch, upgrade."));
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    if (args.isEmpty())
        return fail(QStringLiteral("no command given; try --help"));
    const QString command = args.first();
    const QStringList commands{QStringLiteral("init"), QStringLiteral("templates"), QStringLiteral("print"),
                               QStringLiteral("amount"), QStringLiteral("sheet"), QStringLiteral("recognize"),
                               QStringLiteral("import"), QStringLiteral("batch"),
                               QStringLiteral("upgrade")};
    if (!commands.contains(command))
        return fail(QStringLiteral("unknown command: %1").arg(command));
    if (command == QLatin1String("sheet")) {
        if (args.size() != 2)
            return fail(QStringLiteral("sheet needs one spreadsheet file"));
        moque::cli::SheetOptions options;
        options.file = args.at(1);
        options.sheet = parser.value(QStringLiteral("sheet"));
        options.names = parser.isSet(QStringLiteral("sheet-names"));
        return moque::cli::printSheet(options);
    }
    if (command == QLatin1String("recognize")) {
        if (args.size() != 1)
            return fail(QStringLiteral("recognize reads its text on standard input"));
        return moque::cli::recognizeAddresses(parser.isSet(QStringLiteral("lines")));
    }
    if (command == QLatin1String("amount")) {
        moque::cli::AmountOptions options;
        options.conversion = args.value(1);
        options.amounts = args.mid(2);
        options.count = parser.value(QStringLiteral("count")).toInt();
        options.format = parser.value(QStringLiteral("format"));
        options.thousands = parser.isSet(QStringLiteral("thousands"));
        return moque::cli::convertAmounts(options);
    }

    StderrDialogs dialogs;
    const auto dir = moque::store::DataDirectory::resolve(parser.value(QStringLiteral("data-dir")),
                                                          QCoreApplication::applicationDirPath());
    moque::app::AppCore core(dir, dialogs);
    if (!core.open())
        return fail(core.errorText());
    if (command == QLatin1String("upgrade"))
        return args.size() == 1 ? moque::cli::runUpgrade(core) : fail(QStringLiteral("upgrade takes no arguments"));
    if (command == QLatin1String("templates") && args.value(1) == QLatin1String("export")) {
        QList<int> ids;
        for (const QString &id : parser.value(QStringLiteral("ids")).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            bool ok = false;
            ids << id.trimmed().toInt(&ok);
            if (!ok)
                return fail(QStringLiteral("--ids must be template numbers separated by commas"));
        }
        return moque::cli::exportTemplates(core, ids, parser.value(QStringLiteral("output")));
    }
    if (command == QLatin1String("templates") && args.value(1) == QLatin1String("import")) {
        if (args.size() != 3)
            return fail(QStringLiteral("templates import needs one package file"));
        return moque::cli::importTemplates(core, args.at(2), parser.isSet(QStringLiteral("keep-old")));
    }
    if (command == QLatin1String("templates"))
        return moque::cli::listTemplates(core);
    if (command == QLatin1String("import")) {
        if (args.size() != 2)
            return fail(QStringLiteral("import needs one spreadsheet file"));
        moque::cli::ImportOptions options;
        options.file = args.at(1);
        options.into = parser.value(QStringLiteral("into"));
        options.sheet = parser.value(QStringLiteral("sheet"));
        return moque::cli::importRecipients(core, options);
    }
    if (command == QLatin1String("batch")) {
        if (args.size() != 2 || args.at(1) != QLatin1String("print"))
            return fail(QStringLiteral("batch takes one action: batch print"));
        moque::cli::BatchOptions options;
        options.templateName = parser.value(QStringLiteral("template"));
        options.sender = parser.value(QStringLiteral("sender"));
        options.output = parser.value(QStringLiteral("output"));
        options.printer = parser.value(QStringLiteral("printer"));
        return moque::cli::printBatch(core, options);
    }
    if (command == QLatin1String("print")) {
        moque::cli::PrintOptions options;
        options.templateName = parser.value(QStringLiteral("template"));
        options.valuesFile = parser.value(QStringLiteral("values"));
        options.saved = parser.value(QStringLiteral("saved"));
        options.output = parser.value(QStringLiteral("output"));
        options.printer = parser.value(QStringLiteral("printer"));
        bool copiesOk = false;
        options.copies = parser.value(QStringLiteral("copies")).toInt(&copiesOk);
        if (!copiesOk)
            return fail(QStringLiteral("--copies must be a whole number"));
        if (options.saved.isEmpty() && (options.templateName.isEmpty() || options.valuesFile.isEmpty()))
            return fail(QStringLiteral("print needs --template FULLNAME and --values FILE.json, or --saved KIND:流水号"));
        return moque::cli::printBills(core, options);
    }
    return runInit(core);
}
