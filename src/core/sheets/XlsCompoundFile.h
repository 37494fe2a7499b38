#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace moque::sheets {

// The streams of an OLE compound file, the container of an .xls: version 3
// (512-byte sectors) and 4 (4096-byte sectors), the sector table and its
// extra index sectors, the mini stream for small streams and the directory.
//
// Any input is safe: every sector id, offset and size is checked against the
// file, every chain is walked at most once per sector (a loop is damage, not
// a hang), and what is kept in memory is at most about the size of the file.
class XlsCompoundFile
{
public:
    enum class Failure { None, NotCompoundFile, Damaged };

    // Reads the header, the sector tables and the directory; once per object.
    bool open(const QByteArray &file);

    // Whether a stream of this name lies in the root storage; names compare
    // ignoring case, as the format has it.
    bool hasStream(const QString &name) const;
    // The whole stream; false with failure() set when its sectors are damaged
    // or there is no such stream.
    bool readStream(const QString &name, QByteArray *data);

    Failure failure() const { return m_failure; }
    QString detail() const { return m_detail; }

private:
    struct Entry
    {
        QString name;
        quint8 type = 0;
        quint32 left = 0;
        quint32 right = 0;
        quint32 child = 0;
        quint32 start = 0;
        quint64 size = 0;
    };
    // Where a chain's sectors live: the file's sectors or the mini stream's.
    struct Sectors
    {
        const QByteArray *bytes = nullptr;
        qsizetype first = 0;        // offset of sector 0
        qsizetype size = 0;         // bytes in a sector
        const QList<quint32> *table = nullptr;
    };

    bool fail(Failure failure, const QString &detail);
    bool readHeader();
    bool readSectorTable();
    bool readDirectory();
    bool readMiniStream();
    Sectors fileSectors() const;
    qsizetype sectorCount(const Sectors &sectors) const;
    // Reads length bytes along the chain from first; a negative length reads
    // to the chain's end.
    bool readChain(const Sectors &sectors, quint32 first, qint64 length, QByteArray *out);
    const Entry *rootStream(const QString &name) const;

    QByteArray m_file;
    int m_version = 0;
    int m_sectorShift = 0;
    quint32 m_fatSectors = 0;
    quint32 m_firstDirectorySector = 0;
    quint32 m_miniCutoff = 0;
    quint32 m_firstMiniFatSector = 0;
    quint32 m_firstDifatSector = 0;
    QList<quint32> m_fat;
    QList<quint32> m_miniFat;
    QList<Entry> m_entries;
    QList<int> m_rootStreams;   // indexes into m_entries
    QByteArray m_miniStream;
    bool m_miniStreamRead = false;
    Failure m_failure = Failure::None;
    QString m_detail;
};

} // namespace moque::sheets
