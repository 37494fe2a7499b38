#include "sheets/XlsxWriter.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <xlsxwriter.h>

#include <algorithm>

namespace moque::sheets {

namespace {

constexpr int maxSheetRows = 1048576;
constexpr int maxSheetColumns = 16384;
constexpr double fontSize = 9;
constexpr uint8_t textFormat = 49;    // Excel's built-in "@"

bool isWide(char32_t c)
{
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3)
        || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60)
        || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

// Excel counts column widths in widths of the default 11 pt font's digits;
// the cells are 9 pt, plus a margin on either side.
double columnWidth(int units)
{
    return std::clamp(units * fontSize / 11.0 + 2.0, 4.0, 100.0);
}

QString sheetNameFrom(const QString &name)
{
    QString clean;
    for (const QChar c : name) {
        if (!QStringLiteral("[]:*?/\\").contains(c) && c.isPrint())
            clean += c;
    }
    while (clean.startsWith(u'\''))
        clean.remove(0, 1);
    while (clean.endsWith(u'\''))
        clean.chop(1);
    clean = clean.left(31);
    if (clean.size() == 31 && clean.back().isHighSurrogate())
        clean.chop(1);
    return clean.isEmpty() ? QStringLiteral("Sheet1") : clean;
}

// The cell's text as stored: cut to the longest a cell holds, and a literal
// "_xHHHH_" escaped as Excel does ("_x005F_" is the "_"), for readers decode it.
QByteArray cellBytes(const QString &text)
{
    QString cell = text.left(maxCellTextLength);
    if (cell.size() < text.size() && cell.back().isHighSurrogate())
        cell.chop(1);
    if (cell.contains(QLatin1String("_x"))) {
        static const QRegularExpression escape(QStringLiteral("_(?=x[0-9A-Fa-f]{4}_)"));
        cell.replace(escape, QStringLiteral("_x005F_"));
    }
    return cell.toUtf8();
}

QString writeFailure(const QString &path, const QString &reason)
{
    return QStringLiteral("无法写入Excel文件：%1（%2）").arg(QDir::toNativeSeparators(path), reason);
}

} // namespace

int textWidthUnits(const QString &text)
{
    int longest = 0;
    int line = 0;
    for (const char32_t c : text.toUcs4()) {
        if (c == U'\n') {
            longest = std::max(longest, line);
            line = 0;
        } else if (c != U'\r') {
            line += isWide(c) ? 2 : 1;
        }
    }
    return std::max(longest, line);
}

bool writeXlsxTable(const QString &path, const QStringList &titles, const QList<QStringList> &rows,
                    QString *error, const QString &sheetName)
{
    const auto failed = [&](const QString &reason) {
        if (error)
            *error = writeFailure(path, reason);
        return false;
    };
    if (rows.size() + 1 > maxSheetRows)
        return failed(QStringLiteral("超过Excel工作表的最大行数%1").arg(maxSheetRows));
    qsizetype columns = titles.size();
    for (const QStringList &row : rows)
        columns = std::max(columns, row.size());
    if (columns > maxSheetColumns)
        return failed(QStringLiteral("超过Excel工作表的最大列数%1").arg(maxSheetColumns));

    QList<int> widths(columns, 0);
    const auto measure = [&](const QStringList &cells) {
        for (qsizetype c = 0; c < cells.size(); ++c)
            widths[c] = std::max(widths[c], textWidthUnits(cells.at(c)));
    };
    measure(titles);
    for (const QStringList &row : rows)
        measure(row);

    const QByteArray fileName = QFile::encodeName(path);
    lxw_workbook *workbook = workbook_new(fileName.constData());
    if (!workbook)
        return failed(QStringLiteral("内存不足"));
    lxw_worksheet *sheet = workbook_add_worksheet(workbook, sheetNameFrom(sheetName).toUtf8().constData());
    lxw_format *text = workbook_add_format(workbook);
    format_set_num_format_index(text, textFormat);
    format_set_font_size(text, fontSize);
    lxw_format *title = workbook_add_format(workbook);
    format_set_num_format_index(title, textFormat);
    format_set_font_size(title, fontSize);
    format_set_bold(title);

    lxw_error result = sheet ? LXW_NO_ERROR : LXW_ERROR_MEMORY_MALLOC_FAILED;
    for (qsizetype c = 0; c < columns && result == LXW_NO_ERROR; ++c)
        result = worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), columnWidth(widths.at(c)), text);
    const auto writeRow = [&](lxw_row_t row, const QStringList &cells, lxw_format *format) {
        for (qsizetype c = 0; c < cells.size() && result == LXW_NO_ERROR; ++c)
            result = worksheet_write_string(sheet, row, lxw_col_t(c), cellBytes(cells.at(c)).constData(), format);
    };
    writeRow(0, titles, title);
    for (qsizetype r = 0; r < rows.size() && result == LXW_NO_ERROR; ++r)
        writeRow(lxw_row_t(r + 1), rows.at(r), text);

    // The workbook is freed by closing it, also after a failed write.
    const lxw_error closed = workbook_close(workbook);
    if (result == LXW_NO_ERROR)
        result = closed;
    if (result != LXW_NO_ERROR)
        return failed(QString::fromUtf8(lxw_strerror(result)));
    return true;
}

} // namespace moque::sheets
