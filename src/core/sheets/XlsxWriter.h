#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace moque::sheets {

// Writes a table to an .xlsx file: the titles in row 1 in bold, the rows
// below, every cell a text cell at 9 pt (so 00123 stays 00123), each column
// as wide as its longest text. An empty sheet name means "Sheet1"; characters
// a sheet name cannot hold are left out. False with the reason in *error.
bool writeXlsxTable(const QString &path, const QStringList &titles, const QList<QStringList> &rows,
                    QString *error = nullptr, const QString &sheetName = {});

// The width of a text in character widths of the sheet's default font: a
// Chinese (wide) character counts 2, others 1; for text of several lines, the
// longest line.
int textWidthUnits(const QString &text);

// The longest text a cell holds; longer texts are cut.
inline constexpr int maxCellTextLength = 32767;

} // namespace moque::sheets
