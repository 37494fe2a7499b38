#pragma once

#include "print/ValueSource.h"
#include "templates/PrintItem.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace moque::print {

// How much a file of bill values may hold before it is refused: a stray
// device or a runaway script must not take the program's memory.
struct BillValuesLimits
{
    qint64 maxFileBytes = 32LL * 1024 * 1024;
    int maxValueChars = 65536;
};

// Bills given as JSON: one object of field name → value, or an array of such
// objects. Names are matched against the kind's dictionary without regard to
// case, and each may be given once per bill. A value is text, a number or
// true/false; a tick-box field takes "√" for a true value. Anything else (an
// unknown field, a value that is null, an object or an array, a name given
// twice, too much) is refused with a one-line reason naming `source`.
bool parseBillValues(const QByteArray &json, const QString &source,
                     const QList<templates::DictionaryField> &dictionary, QList<MapValueSource> *bills,
                     QString *error, const BillValuesLimits &limits = {});

// Reads and parses a file of bill values, reading no more than the limit
// allows from any file, device or pipe.
bool readBillValuesFile(const QString &path, const QList<templates::DictionaryField> &dictionary,
                        QList<MapValueSource> *bills, QString *error, const BillValuesLimits &limits = {});

} // namespace moque::print
