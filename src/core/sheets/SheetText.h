#pragma once

#include <QString>
#include <QStringList>

namespace moque::sheets {

// A row of cells as one line of text, the way `moque-cli sheet` prints a
// sheet: cells separated by tabs, and a tab, line feed, carriage return or
// backslash inside a cell written as \t, \n, \r, \\.
QString sheetLine(const QStringList &cells);

// The cells of such a line (without its line end); any other character
// after a backslash stands for itself.
QStringList sheetLineCells(QStringView line);

} // namespace moque::sheets
