#pragma once

#include <QByteArrayView>
#include <QtEndian>

namespace moque::sheets {

// Little-endian numbers at a byte offset of a compound file or a BIFF record;
// the caller has checked that the bytes are there.
inline quint16 le16(QByteArrayView bytes, qsizetype at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

inline quint32 le32(QByteArrayView bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

inline quint64 le64(QByteArrayView bytes, qsizetype at)
{
    return qFromLittleEndian<quint64>(bytes.constData() + at);
}

} // namespace moque::sheets
