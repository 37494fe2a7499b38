#pragma once

#include <QString>
#include <QStringList>

namespace moque::sheets {

// A row of cells as one line of text, the way `moque-cli sheet` prints a
// sheet: cells separated by tabs, and a tab, line feed, carriage return or
// backslash inside a cell written as \t, \n, \r, \\.
QString sheetLine(const QStringList &cells);

} // namespace moque::sheets
