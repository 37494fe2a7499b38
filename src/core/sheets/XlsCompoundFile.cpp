#include "sheets/XlsCompoundFile.h"

#include "sheets/XlsBytes.h"

#include <QBitArray>

#include <cstring>

namespace moque::sheets {

namespace {

constexpr char signature[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
constexpr qsizetype headerFields = 512;
constexpr int headerFatSectors = 109;
constexpr qsizetype entrySize = 128;
constexpr int miniSectorShift = 6;
constexpr quint32 endOfChain = 0xFFFFFFFE;
constexpr quint8 storageEntry = 1;
constexpr quint8 streamEntry = 2;
constexpr quint8 rootEntry = 5;

} // namespace

bool XlsCompoundFile::fail(Failure failure, const QString &detail)
{
    m_failure = failure;
    m_detail = detail;
    return false;
}

bool XlsCompoundFile::open(const QByteArray &file)
{
    m_file = file;
    if (file.size() < 8 || std::memcmp(file.constData(), signature, 8) != 0)
        return fail(Failure::NotCompoundFile, QStringLiteral("no compound file signature"));
    return readHeader() && readSectorTable() && readDirectory();
}

bool XlsCompoundFile::readHeader()
{
    if (m_file.size() < headerFields)
        return fail(Failure::Damaged, QStringLiteral("the compound file header is cut short"));
    m_version = le16(m_file, 26);
    m_sectorShift = le16(m_file, 30);
    if (!((m_version == 3 && m_sectorShift == 9) || (m_version == 4 && m_sectorShift == 12)))
        return fail(Failure::Damaged, QStringLiteral("unknown compound file version or sector size"));
    if (le16(m_file, 32) != miniSectorShift)
        return fail(Failure::Damaged, QStringLiteral("unknown mini sector size"));
    m_fatSectors = le32(m_file, 44);
    m_firstDirectorySector = le32(m_file, 48);
    m_miniCutoff = le32(m_file, 56);
    m_firstMiniFatSector = le32(m_file, 60);
    m_firstDifatSector = le32(m_file, 68);
    // A writer may leave out the unused tail of the last sector; other
    // readers take it as zeros, and so do we.
    const qsizetype sectorSize = qsizetype(1) << m_sectorShift;
    if (const qsizetype tail = m_file.size() % sectorSize)
        m_file.append(QByteArray(sectorSize - tail, '\0'));
    return true;
}

XlsCompoundFile::Sectors XlsCompoundFile::fileSectors() const
{
    // The header takes the place of sector -1.
    const qsizetype size = qsizetype(1) << m_sectorShift;
    return {&m_file, size, size, &m_fat};
}

qsizetype XlsCompoundFile::sectorCount(const Sectors &sectors) const
{
    const qsizetype bytes = sectors.bytes->size() - sectors.first;
    return bytes > 0 ? (bytes + sectors.size - 1) / sectors.size : 0;
}

bool XlsCompoundFile::readSectorTable()
{
    const Sectors sectors = fileSectors();
    const qsizetype count = sectorCount(sectors);
    // Checked first so that nothing below is sized by an unchecked count.
    if (m_fatSectors > quint64(count))
        return fail(Failure::Damaged, QStringLiteral("more FAT sectors than the file holds"));

    // The FAT's own sector ids: the first ones in the header, the rest in a
    // chain of index (DIFAT) sectors whose last id points to the next.
    QList<quint32> fatIds;
    fatIds.reserve(m_fatSectors);
    for (int i = 0; i < headerFatSectors && quint32(fatIds.size()) < m_fatSectors; ++i)
        fatIds.append(le32(m_file, 76 + 4 * i));
    const int idsPerIndexSector = int(sectors.size / 4) - 1;
    QBitArray indexSeen(count);
    quint32 index = m_firstDifatSector;
    while (quint32(fatIds.size()) < m_fatSectors) {
        if (index >= quint64(count))
            return fail(Failure::Damaged, QStringLiteral("the FAT index ends early or leaves the file"));
        if (indexSeen.testBit(index))
            return fail(Failure::Damaged, QStringLiteral("the FAT index loops"));
        indexSeen.setBit(index);
        const qsizetype at = sectors.first + qsizetype(index) * sectors.size;
        if (at + sectors.size > m_file.size())
            return fail(Failure::Damaged, QStringLiteral("a FAT index sector is cut short"));
        for (int i = 0; i < idsPerIndexSector && quint32(fatIds.size()) < m_fatSectors; ++i)
            fatIds.append(le32(m_file, at + 4 * i));
        index = le32(m_file, at + 4 * idsPerIndexSector);
    }

    // Each FAT sector must be a distinct sector of the file: the table then
    // takes no more memory than the file.
    QBitArray fatSeen(count);
    m_fat.reserve(qsizetype(m_fatSectors) * (sectors.size / 4));
    for (const quint32 id : std::as_const(fatIds)) {
        if (id >= quint64(count))
            return fail(Failure::Damaged, QStringLiteral("a FAT sector lies outside the file"));
        if (fatSeen.testBit(id))
            return fail(Failure::Damaged, QStringLiteral("a FAT sector is listed twice"));
        fatSeen.setBit(id);
        const qsizetype at = sectors.first + qsizetype(id) * sectors.size;
        if (at + sectors.size > m_file.size())
            return fail(Failure::Damaged, QStringLiteral("a FAT sector is cut short"));
        for (qsizetype i = 0; i < sectors.size; i += 4)
            m_fat.append(le32(m_file, at + i));
    }
    return true;
}

bool XlsCompoundFile::readChain(const Sectors &sectors, quint32 first, qint64 length, QByteArray *out)
{
    const qsizetype count = sectorCount(sectors);
    const qint64 available = sectors.bytes->size() - sectors.first;
    if (length > available)
        return fail(Failure::Damaged, QStringLiteral("a stream is longer than the file"));
    out->clear();
    if (length > 0)
        out->resize(length);
    QBitArray seen(count);
    quint32 sector = first;
    qint64 done = 0;
    while (length < 0 || done < length) {
        if (length < 0 && sector == endOfChain)
            break;
        if (sector >= quint64(count) || sector >= quint64(sectors.table->size()))
            return fail(Failure::Damaged, QStringLiteral("a sector chain leaves the file or ends early"));
        if (seen.testBit(sector))
            return fail(Failure::Damaged, QStringLiteral("a sector chain loops"));
        seen.setBit(sector);
        const qsizetype at = sectors.first + qsizetype(sector) * sectors.size;
        const qsizetype bytes = length < 0 ? sectors.size : qMin<qint64>(sectors.size, length - done);
        if (at + bytes > sectors.bytes->size())
            return fail(Failure::Damaged, QStringLiteral("a sector is cut short by the end of the file"));
        if (length < 0)
            out->append(sectors.bytes->constData() + at, bytes);
        else
            std::memcpy(out->data() + done, sectors.bytes->constData() + at, size_t(bytes));
        done += bytes;
        sector = sectors.table->at(sector);
    }
    return true;
}

bool XlsCompoundFile::readDirectory()
{
    QByteArray directory;
    if (!readChain(fileSectors(), m_firstDirectorySector, -1, &directory))
        return false;
    const qsizetype count = directory.size() / entrySize;
    if (count == 0 || quint8(directory.at(66)) != rootEntry)
        return fail(Failure::Damaged, QStringLiteral("the directory has no root entry"));

    m_entries.reserve(count);
    for (qsizetype i = 0; i < count; ++i) {
        const qsizetype at = i * entrySize;
        Entry entry;
        // The name's length is in bytes and counts its terminating zero.
        const int nameChars = qBound(0, le16(directory, at + 64) / 2 - 1, 31);
        for (int c = 0; c < nameChars; ++c)
            entry.name.append(QChar(le16(directory, at + 2 * c)));
        entry.type = quint8(directory.at(at + 66));
        entry.left = le32(directory, at + 68);
        entry.right = le32(directory, at + 72);
        entry.child = le32(directory, at + 76);
        entry.start = le32(directory, at + 116);
        entry.size = le64(directory, at + 120);
        // Old writers left garbage in the high half of a version 3 size,
        // which can only be 32 bits there.
        if (m_version == 3)
            entry.size &= 0xFFFFFFFFu;
        m_entries.append(entry);
    }

    // The root storage's children hang in a tree of siblings; walked with a
    // stack of its own, each entry once, so that no input can loop it or nest
    // it deep.
    QBitArray seen(count);
    QList<quint32> pending{m_entries.first().child};
    while (!pending.isEmpty()) {
        const quint32 id = pending.takeLast();
        if (id >= quint64(count) || seen.testBit(id))
            continue;
        seen.setBit(id);
        const Entry &entry = m_entries.at(id);
        if (entry.type == streamEntry)
            m_rootStreams.append(int(id));
        if (entry.type == streamEntry || entry.type == storageEntry) {
            pending.append(entry.left);
            pending.append(entry.right);
        }
    }
    return true;
}

bool XlsCompoundFile::readMiniStream()
{
    if (m_miniStreamRead)
        return true;
    const Entry &root = m_entries.first();
    if (root.size > quint64(m_file.size()))
        return fail(Failure::Damaged, QStringLiteral("the mini stream is longer than the file"));
    QByteArray table;
    if (!readChain(fileSectors(), root.start, qint64(root.size), &m_miniStream)
        || !readChain(fileSectors(), m_firstMiniFatSector, -1, &table))
        return false;
    m_miniFat.reserve(table.size() / 4);
    for (qsizetype at = 0; at + 4 <= table.size(); at += 4)
        m_miniFat.append(le32(table, at));
    m_miniStreamRead = true;
    return true;
}

const XlsCompoundFile::Entry *XlsCompoundFile::rootStream(const QString &name) const
{
    for (const int id : m_rootStreams) {
        if (m_entries.at(id).name.compare(name, Qt::CaseInsensitive) == 0)
            return &m_entries.at(id);
    }
    return nullptr;
}

bool XlsCompoundFile::hasStream(const QString &name) const
{
    return rootStream(name) != nullptr;
}

bool XlsCompoundFile::readStream(const QString &name, QByteArray *data)
{
    const Entry *entry = rootStream(name);
    if (!entry)
        return fail(Failure::Damaged, QStringLiteral("no stream named %1").arg(name));
    if (entry->size > quint64(m_file.size()))
        return fail(Failure::Damaged, QStringLiteral("a stream is longer than the file"));
    if (entry->size >= m_miniCutoff)
        return readChain(fileSectors(), entry->start, qint64(entry->size), data);
    if (!readMiniStream())
        return false;
    const Sectors mini{&m_miniStream, 0, qsizetype(1) << miniSectorShift, &m_miniFat};
    return readChain(mini, entry->start, qint64(entry->size), data);
}

} // namespace moque::sheets
