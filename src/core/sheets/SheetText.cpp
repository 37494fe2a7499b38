#include "sheets/SheetText.h"

namespace moque::sheets {

QString sheetLine(const QStringList &cells)
{
    QString line;
    for (qsizetype i = 0; i < cells.size(); ++i) {
        if (i > 0)
            line += u'\t';
        for (const QChar c : cells.at(i)) {
            switch (c.unicode()) {
            case u'\t':
                line += QLatin1String("\\t");
                break;
            case u'\n':
                line += QLatin1String("\\n");
                break;
            case u'\r':
                line += QLatin1String("\\r");
                break;
            case u'\\':
                line += QLatin1String("\\\\");
                break;
            default:
                line += c;
            }
        }
    }
    return line;
}

QStringList sheetLineCells(QStringView line)
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

} // namespace moque::sheets
