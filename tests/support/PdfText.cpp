#include "PdfText.h"

#include <QProcess>
#include <QRegularExpression>

namespace moque::test {

namespace {

QString pdftotext(const QStringList &arguments)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), arguments);
    if (!p.waitForFinished(30000))
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

QList<PdfPage> readPdfPages(const QString &path)
{
    static const QRegularExpression pageRe(QString::fromLatin1(R"re(<page width="([\d.]+)" height="([\d.]+)">)re"));
    static const QRegularExpression wordRe(QString::fromLatin1(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)</word>)re"));
    QList<PdfPage> pages;
    const QString html = pdftotext({QStringLiteral("-bbox"), path, QStringLiteral("-")});
    for (const QString &line : html.split(QLatin1Char('\n'))) {
        if (const auto m = pageRe.match(line); m.hasMatch())
            pages << PdfPage{m.captured(1).toDouble(), m.captured(2).toDouble(), {}};
        else if (const auto w = wordRe.match(line); w.hasMatch() && !pages.isEmpty())
            pages.last().words << PdfWord{w.captured(1).toDouble(), w.captured(2).toDouble(),
                                          w.captured(4).normalized(QString::NormalizationForm_KC),
                                          w.captured(3).toDouble() - w.captured(1).toDouble()};
    }
    return pages;
}

QList<PdfWord> readPdfWords(const QString &path)
{
    QList<PdfWord> words;
    for (const PdfPage &page : readPdfPages(path))
        words += page.words;
    return words;
}

QString readPdfText(const QString &path)
{
    return pdftotext({path, QStringLiteral("-")});
}

} // namespace moque::test
