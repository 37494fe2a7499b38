#include "CliRecognize.h"

#include "CliErrors.h"
#include "batch/AddressRecognizer.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

namespace moque::cli {

namespace {

QByteArray toJson(const batch::RecognizedAddress &a)
{
    const QJsonObject o{{QStringLiteral("name"), a.name},         {QStringLiteral("mobile"), a.mobile},
                        {QStringLiteral("phone"), a.phone},       {QStringLiteral("province"), a.province},
                        {QStringLiteral("city"), a.city},         {QStringLiteral("district"), a.district},
                        {QStringLiteral("address"), a.address},   {QStringLiteral("zipcode"), a.zipcode}};
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

// One input line as a JSON string; a line that is not one is an error.
bool parseLine(const QByteArray &line, QString &text)
{
    // A bare string is not a JSON document, so it is read as the one element of an array.
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson("[" + line + "]", &error);
    if (error.error != QJsonParseError::NoError || doc.array().size() != 1 || !doc.array().at(0).isString())
        return false;
    text = doc.array().at(0).toString();
    return true;
}

} // namespace

int recognizeAddresses(bool lines)
{
    QFile in;
    QFile out;
    if (!in.open(stdin, QIODevice::ReadOnly) || !out.open(stdout, QIODevice::WriteOnly))
        return fail(QStringLiteral("cannot read standard input"));
    const batch::AddressRecognizer recognizer;
    if (!lines) {
        out.write(toJson(recognizer.recognize(QString::fromUtf8(in.readAll()))) + '\n');
        return 0;
    }
    int failures = 0;
    qint64 number = 0;
    for (;;) {
        QByteArray line = in.readLine();
        if (line.isEmpty()) // end of input; an empty line still holds its line break
            break;
        ++number;
        if (line.endsWith('\n'))
            line.chop(1);
        if (line.endsWith('\r'))
            line.chop(1);
        QString text;
        if (!parseLine(line, text)) {
            // An empty object keeps the output lines paired with the input lines.
            ++failures;
            out.write(toJson({}) + '\n');
            fail(QStringLiteral("line %1: not a JSON string").arg(number));
            continue;
        }
        out.write(toJson(recognizer.recognize(text)) + '\n');
    }
    return failures == 0 ? 0 : 1;
}

} // namespace moque::cli
