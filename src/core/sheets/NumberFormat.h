#pragma once

#include <QString>

namespace moque::sheets {

// A number as a General cell shows it: up to 15 significant digits without
// trailing zeros (49.199999999999996 is 49.2), and E notation with up to six
// significant digits below 0.0001 and from 1E+15 on (1.23457E-10, 1E+20).
QString generalNumber(double value);

// A cell's number as the spreadsheet program shows it under the cell's format
// code (an .xlsx numFmt formatCode or an .xls FORMAT record). Dates are serials:
// days since 1899-12-30 counting Excel's 29 February 1900, or with date1904
// days since 1904-01-01. A code that cannot be read shows the number as General.
QString formatCellNumber(double value, const QString &formatCode, bool date1904 = false);

// The format code of a built-in format id as a Chinese (zh-CN) spreadsheet
// program shows it, e.g. 31 is yyyy"年"m"月"d"日"; empty for an id without one.
QString builtinFormatCode(int id);

// The code a cell of format id shows, given the code its file writes for the
// id (empty when none): the short dates and times 14 to 22 are the reader's
// language's own when the file writes a date or time for them (an English
// writer says M/D/YYYY for 14, which a Chinese spreadsheet program shows as
// yyyy/m/d); otherwise the file's code (some writers number their own codes
// below 164), else the built-in one, else General.
QString cellFormatCode(int id, const QString &fileCode);

// True when the format code shows a date or a time, so that the cell holds one.
bool isDateFormat(const QString &formatCode);

} // namespace moque::sheets
