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

} // namespace moque::sheets
