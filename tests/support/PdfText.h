#pragma once

#include <QList>
#include <QString>

namespace moque::test {

// One word of a printed PDF, its top-left corner in points from the page's.
struct PdfWord
{
    double x = 0;
    double y = 0;
    QString text;
    double width = 0;
};

struct PdfPage
{
    double width = 0;
    double height = 0;
    QList<PdfWord> words;
};

// The pages of a PDF and where each word landed, as pdftotext -bbox reads
// them; words in their normal forms (the font's character map may name the
// compatibility form ⼤ for 大). Empty when the file cannot be read.
QList<PdfPage> readPdfPages(const QString &path);

// Every word of every page.
QList<PdfWord> readPdfWords(const QString &path);

// The text of a PDF as pdftotext reads it.
QString readPdfText(const QString &path);

// 0.1 mm in points, the unit of PDF pages.
inline double tenthsToPoints(int tenthsMm)
{
    return tenthsMm / 254.0 * 72.0;
}

} // namespace moque::test
