#pragma once

#include <QString>
#include <QStringList>

namespace moque::test {

// The cells of one line `moque-cli sheet` printed (without its line end):
// tab-separated, with \t, \n, \r and \\ standing for the characters; any
// other character after a backslash stands for itself.
inline QStringList sheetLineCells(QStringView line)
{
    QStringList cells;
    QString cell;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (c == u'\t') {
            cells.append(std::move(cell));
            cell = QString();
        } else if (c == u'\\' && i + 1 < line.size()) {
            const QChar escaped = line.at(++i);
            cell += escaped == u't' ? QChar(u'\t') : escaped == u'n' ? QChar(u'\n') : escaped == u'r' ? QChar(u'\r') : escaped;
        } else {
            cell += c;
        }
    }
    cells.append(std::move(cell));
    return cells;
}

} // namespace moque::test
