// Recognises 10,000 shop address texts, in this process and through
// `moque-cli recognize --lines` (beside this program), and reports the times.
// Targets: under 0.2 ms a text; under 2 s for the whole run through moque-cli.

#include "batch/AddressRecognizer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTextStream>

#include <cstdio>

namespace {

// The fixture's texts, the handset varied so that no two texts are the same.
QStringList shopTexts(int count)
{
    QFile file(QStringLiteral(MOQUE_ADDRESS_FIXTURES "/shop-texts.tsv"));
    QStringList samples;
    if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QTextStream in(&file);
        while (!in.atEnd()) {
            const QString line = in.readLine();
            if (!line.startsWith(QLatin1Char('#')) && !line.isEmpty())
                samples << line.section(QLatin1Char('\t'), 0, 0).replace(QStringLiteral("\\n"), QStringLiteral("\n"))
                                                                .replace(QStringLiteral("\\t"), QStringLiteral("\t"));
        }
    }
    QStringList texts;
    for (int i = 0; i < count && !samples.isEmpty(); ++i)
        texts << QString(samples.at(i % samples.size())).replace(QStringLiteral("1380013"),
                                                                  QStringLiteral("13%1").arg(i % 100000, 5, 10, QLatin1Char('0')));
    return texts;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    constexpr int count = 10000;
    const QStringList texts = shopTexts(count);
    if (texts.size() != count) {
        std::fprintf(stderr, "cannot read the shop texts\n");
        return 1;
    }

    const moque::batch::AddressRecognizer recognizer;
    recognizer.recognize(texts.first()); // loads the division list once
    QElapsedTimer t;
    t.start();
    int withDistrict = 0;
    for (const QString &text : texts)
        withDistrict += recognizer.recognize(text).district.isEmpty() ? 0 : 1;
    const double inProcess = t.nsecsElapsed() / 1e6;
    std::printf("%d texts in process: %.1f ms, %.4f ms a text (target under 0.2 ms); %d with a district\n", count,
                inProcess, inProcess / count, withDistrict);

    QByteArray input;
    for (const QString &text : texts)
        input += QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact).mid(1).chopped(1) + '\n';
    QProcess cli;
    t.restart();
    cli.start(QCoreApplication::applicationDirPath() + QStringLiteral("/moque-cli"),
              {QStringLiteral("recognize"), QStringLiteral("--lines")});
    cli.write(input);
    cli.closeWriteChannel();
    cli.waitForFinished(120000);
    const double throughCli = t.nsecsElapsed() / 1e9;
    const int lines = cli.readAllStandardOutput().count('\n');
    if (cli.exitCode() != 0 || lines != count) {
        std::fprintf(stderr, "moque-cli recognize --lines failed: %d lines, %s\n", lines,
                     cli.readAllStandardError().constData());
        return 1;
    }
    std::printf("%d texts through moque-cli recognize --lines: %.3f s (target under 2 s)\n", count, throughCli);
    return 0;
}
