#pragma once

#include <QString>

// Controls and columns that repeat per line carry the line's number at the
// end of their name: zdSFNR3, 收费内容3.
namespace moque::entry {

inline QString numbered(const char *name, int n)
{
    return QString::fromUtf8(name) + QString::number(n);
}

// The number of a numbered name such as zdDJ3 (the prefix compared without
// regard to case), or 0 when the name is not the prefix and a number.
inline int numberOf(const QString &name, const char *prefix)
{
    const QString p = QString::fromUtf8(prefix);
    if (!name.startsWith(p, Qt::CaseInsensitive))
        return 0;
    bool ok = false;
    const int n = name.mid(p.size()).toInt(&ok);
    return ok && n > 0 ? n : 0;
}

} // namespace moque::entry
