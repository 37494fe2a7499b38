#include "common/Helpers.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStringEncoder>

namespace moque {

namespace {

bool allOf(const QString &text, bool (*accept)(QChar))
{
    if (text.trimmed().isEmpty())
        return false;
    for (QChar c : text)
        if (!accept(c))
            return false;
    return true;
}

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

bool isDigitsOnly(const QString &text)
{
    return allOf(text, isAsciiDigit);
}

bool isDecimalText(const QString &text)
{
    return allOf(text, [](QChar c) { return isAsciiDigit(c) || c == QLatin1Char('.'); });
}

bool copyWholeFile(const QString &source, const QString &target, QString *error)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        if (error)
            *error = in.errorString();
        return false;
    }
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        if (error)
            *error = out.errorString();
        return false;
    }
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(1 << 16);
        if (chunk.isEmpty() && in.error() != QFile::NoError) {
            if (error)
                *error = in.errorString();
            return false;
        }
        if (out.write(chunk) != chunk.size()) {
            if (error)
                *error = out.errorString();
            return false;
        }
    }
    return true;
}

QStringList listFiles(const QString &directory, const QString &pattern)
{
    if (directory.trimmed().isEmpty())
        return {};
    const QDir dir(directory);
    if (!dir.exists())
        return {};
    return dir.entryList({pattern}, QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
}

QString buildRadomStr(int length, bool upper, const QString &alphabet, const QString &text)
{
    if (alphabet.isEmpty())
        return text;
    QString result = text;
    for (int i = 0; i < length; ++i)
        result.prepend(alphabet.at(QRandomGenerator::global()->bounded(int(alphabet.size()))));
    return upper ? result.toUpper() : result;
}

QByteArray toGbk(const QString &text)
{
    QStringEncoder gbk("GB18030");
    return gbk.encode(text);
}

int gbkLength(const QString &text)
{
    return int(toGbk(text).size());
}

} // namespace moque
