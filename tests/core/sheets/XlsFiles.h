#pragma once

// Builds .xls files in memory for the tests: BIFF records and workbook
// streams by hand, and a compound file around a stream in any of the
// layouts the reader must follow. Each builder also says where its parts
// lie, so that a test can damage exactly one of them.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtEndian>

#include <bit>
#include <cstring>

namespace moque::test::xls {

// Record types.
namespace Type {
constexpr quint16 Bof = 0x0809;
constexpr quint16 Eof = 0x000A;
constexpr quint16 BoundSheet = 0x0085;
constexpr quint16 CodePage = 0x0042;
constexpr quint16 Sst = 0x00FC;
constexpr quint16 ExtSst = 0x00FF;
constexpr quint16 Continue = 0x003C;
constexpr quint16 Format = 0x041E;
constexpr quint16 Xf = 0x00E0;
constexpr quint16 Dimensions = 0x0200;
constexpr quint16 Label = 0x0204;
constexpr quint16 RString = 0x00D6;
constexpr quint16 Number = 0x0203;
constexpr quint16 Rk = 0x027E;
constexpr quint16 MulRk = 0x00BD;
constexpr quint16 BoolErr = 0x0205;
constexpr quint16 Blank = 0x0201;
constexpr quint16 MulBlank = 0x00BE;
constexpr quint16 Formula = 0x0006;
constexpr quint16 String = 0x0207;
constexpr quint16 SharedFormula = 0x04BC;
constexpr quint16 LabelSst = 0x00FD;
constexpr quint16 MsoDrawing = 0x00EC;
} // namespace Type

constexpr quint32 endOfChain = 0xFFFFFFFE;
constexpr quint32 freeSector = 0xFFFFFFFF;
constexpr quint32 noEntry = 0xFFFFFFFF;

inline QByteArray le16(int value)
{
    QByteArray bytes(2, 0);
    qToLittleEndian<quint16>(quint16(value), bytes.data());
    return bytes;
}

inline QByteArray le32(quint32 value)
{
    QByteArray bytes(4, 0);
    qToLittleEndian<quint32>(value, bytes.data());
    return bytes;
}

inline QByteArray f64(double value)
{
    QByteArray bytes(8, 0);
    qToLittleEndian<quint64>(std::bit_cast<quint64>(value), bytes.data());
    return bytes;
}

inline void put32(QByteArray *bytes, qsizetype at, quint32 value)
{
    qToLittleEndian<quint32>(value, bytes->data() + at);
}

inline QByteArray record(quint16 type, const QByteArray &body)
{
    return le16(type) + le16(int(body.size())) + body;
}

// A BIFF8 string: its length in lengthBytes bytes, the flag byte and the
// characters, 8-bit when they all fit.
inline QByteArray biff8Text(const QString &text, int lengthBytes = 2)
{
    bool wide = false;
    for (const QChar c : text)
        wide = wide || c.unicode() > 0xFF;
    QByteArray bytes = lengthBytes == 1 ? QByteArray(1, char(text.size())) : le16(int(text.size()));
    bytes += char(wide ? 1 : 0);
    for (const QChar c : text)
        bytes += wide ? le16(c.unicode()) : QByteArray(1, char(c.unicode()));
    return bytes;
}

inline QByteArray cellHeader(int row, int column, int xf = 0)
{
    return le16(row) + le16(column) + le16(xf);
}

inline QByteArray number(int row, int column, double value, int xf = 0)
{
    return record(Type::Number, cellHeader(row, column, xf) + f64(value));
}

inline QByteArray labelSst(int row, int column, quint32 index, int xf = 0)
{
    return record(Type::LabelSst, cellHeader(row, column, xf) + le32(index));
}

// A FORMULA record with the 8 bytes of its cached result and an empty formula.
inline QByteArray formula(int row, int column, const QByteArray &result, int xf = 0)
{
    return record(Type::Formula, cellHeader(row, column, xf) + result + le16(0) + le32(0) + le16(0));
}

// The cached result of a formula that is not a number: a kind, a value byte
// and the 0xFFFF marker.
inline QByteArray specialResult(int kind, int value = 0)
{
    return QByteArray(1, char(kind)) + char(0) + char(value) + QByteArray(3, 0) + le16(0xFFFF);
}

struct Sheet
{
    QString name;
    QByteArray records;     // between the sheet's BOF and EOF
    quint8 type = 0;        // 0 worksheet, 1 macro sheet, 2 chart
    quint8 visibility = 0;
};

// A workbook stream: the globals (BOF, globals, one BOUNDSHEET a sheet, EOF)
// and each sheet's substream. BIFF5 names are Latin-1.
inline QByteArray workbookStream(const QByteArray &globals, const QList<Sheet> &sheets, bool biff8 = true)
{
    const quint16 version = biff8 ? 0x0600 : 0x0500;
    const auto bof = [&](quint16 type) {
        return record(Type::Bof, le16(version) + le16(type) + QByteArray(biff8 ? 12 : 4, 0));
    };
    const auto sheetRecord = [&](const Sheet &sheet, quint32 offset) {
        const QByteArray name = biff8 ? biff8Text(sheet.name, 1)
                                      : QByteArray(1, char(sheet.name.size())) + sheet.name.toLatin1();
        return record(Type::BoundSheet, le32(offset) + char(sheet.visibility) + char(sheet.type) + name);
    };
    const QByteArray eof = record(Type::Eof, {});
    qsizetype offset = bof(5).size() + globals.size() + eof.size();
    for (const Sheet &sheet : sheets)
        offset += sheetRecord(sheet, 0).size();
    QByteArray stream = bof(5) + globals;
    QByteArray substreams;
    for (const Sheet &sheet : sheets) {
        stream += sheetRecord(sheet, quint32(offset + substreams.size()));
        substreams += bof(sheet.type == 2 ? 0x0020 : 0x0010) + sheet.records + eof;
    }
    return stream + eof + substreams;
}

struct Container
{
    int version = 3;
    // FAT sectors beyond those the file needs: past 109 of them, the FAT's
    // own index runs on into DIFAT sectors.
    int extraFatSectors = 0;
    QString streamName = QStringLiteral("Workbook");
};

// A compound file holding one stream, and where its parts lie.
struct Compound
{
    QByteArray bytes;
    qsizetype sectorSize = 0;
    qsizetype fatAt = 0;        // the first FAT sector
    qsizetype difatAt = -1;     // the first DIFAT sector, if any
    qsizetype entryAt = 0;      // the stream's directory entry
    quint32 directorySector = 0;
};

inline qsizetype ceilDiv(qsizetype a, qsizetype b)
{
    return (a + b - 1) / b;
}

// Lays out [data][directory][mini FAT][FAT][DIFAT]. A stream under 4096
// bytes goes into the mini stream, which then is the data.
inline Compound compoundFile(const QByteArray &stream, const Container &container = {})
{
    Compound out;
    const int shift = container.version == 4 ? 12 : 9;
    const qsizetype size = qsizetype(1) << shift;
    const qsizetype idsPerSector = size / 4;
    const bool mini = stream.size() < 4096;
    QByteArray data = stream;
    if (mini)
        data.append(QByteArray(ceilDiv(data.size(), 64) * 64 - data.size(), 0));
    const qsizetype dataSectors = ceilDiv(data.size(), size);
    const qsizetype miniSectors = mini ? ceilDiv(stream.size(), 64) : 0;
    const qsizetype miniFatSectors = ceilDiv(miniSectors * 4, size);
    qsizetype fatSectors = 1;
    qsizetype difatSectors = 0;
    for (;;) {
        const qsizetype total = dataSectors + 1 + miniFatSectors + fatSectors + difatSectors;
        const qsizetype fat = ceilDiv(total, idsPerSector) + container.extraFatSectors;
        const qsizetype difat = fat > 109 ? ceilDiv(fat - 109, idsPerSector - 1) : 0;
        if (fat == fatSectors && difat == difatSectors)
            break;
        fatSectors = fat;
        difatSectors = difat;
    }
    const quint32 directory = quint32(dataSectors);
    const quint32 miniFat = directory + 1;
    const quint32 fatStart = miniFat + quint32(miniFatSectors);
    const quint32 difatStart = fatStart + quint32(fatSectors);
    const qsizetype sectors = difatStart + difatSectors;
    const auto at = [&](qsizetype sector) { return size + sector * size; };

    QByteArray &file = out.bytes;
    file = QByteArray(at(sectors), 0);
    std::memcpy(file.data(), "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    const auto put16 = [&](qsizetype offset, int value) {
        qToLittleEndian<quint16>(quint16(value), file.data() + offset);
    };
    put16(24, 0x3E);
    put16(26, container.version);
    put16(28, 0xFFFE);
    put16(30, shift);
    put16(32, 6);
    put32(&file, 40, container.version == 4 ? 1 : 0);
    put32(&file, 44, quint32(fatSectors));
    put32(&file, 48, directory);
    put32(&file, 56, 4096);
    put32(&file, 60, mini ? miniFat : endOfChain);
    put32(&file, 64, quint32(miniFatSectors));
    put32(&file, 68, difatSectors ? difatStart : endOfChain);
    put32(&file, 72, quint32(difatSectors));

    // The FAT: each run of sectors chained, its own and DIFAT sectors marked.
    QList<quint32> fat(fatSectors * idsPerSector, freeSector);
    const auto chain = [&](qsizetype first, qsizetype count) {
        for (qsizetype i = 0; i < count; ++i)
            fat[first + i] = i + 1 < count ? quint32(first + i + 1) : endOfChain;
    };
    chain(0, dataSectors);
    chain(directory, 1);
    chain(miniFat, miniFatSectors);
    for (qsizetype i = 0; i < fatSectors; ++i)
        fat[fatStart + i] = 0xFFFFFFFD;
    for (qsizetype i = 0; i < difatSectors; ++i)
        fat[difatStart + i] = 0xFFFFFFFC;
    for (qsizetype i = 0; i < fat.size(); ++i)
        put32(&file, at(fatStart) + 4 * i, fat.at(i));

    // The FAT's index: 109 ids in the header, then DIFAT sectors.
    for (qsizetype i = 0; i < 109; ++i)
        put32(&file, 76 + 4 * i, i < fatSectors ? fatStart + quint32(i) : freeSector);
    for (qsizetype d = 0; d < difatSectors; ++d) {
        for (qsizetype i = 0; i < idsPerSector - 1; ++i) {
            const qsizetype id = 109 + d * (idsPerSector - 1) + i;
            put32(&file, at(difatStart + d) + 4 * i, id < fatSectors ? fatStart + quint32(id) : freeSector);
        }
        put32(&file, at(difatStart + d) + 4 * (idsPerSector - 1),
              d + 1 < difatSectors ? difatStart + quint32(d) + 1 : endOfChain);
    }

    std::memcpy(file.data() + at(0), data.constData(), size_t(data.size()));
    if (mini) {
        file.replace(at(miniFat), miniFatSectors * size, QByteArray(miniFatSectors * size, char(0xFF)));
        for (qsizetype i = 0; i < miniSectors; ++i)
            put32(&file, at(miniFat) + 4 * i, i + 1 < miniSectors ? quint32(i + 1) : endOfChain);
    }

    // The directory: the root entry (owner of the mini stream) and the stream.
    const auto entry = [&](int index, const QString &name, int type, quint32 child, quint32 start, quint64 bytes) {
        const qsizetype base = at(directory) + 128 * index;
        for (int i = 0; i < name.size(); ++i)
            put16(base + 2 * i, name.at(i).unicode());
        put16(base + 64, name.isEmpty() ? 0 : int(2 * (name.size() + 1)));
        file[base + 66] = char(type);
        file[base + 67] = 1;
        put32(&file, base + 68, noEntry);
        put32(&file, base + 72, noEntry);
        put32(&file, base + 76, child);
        put32(&file, base + 116, start);
        qToLittleEndian<quint64>(bytes, file.data() + base + 120);
    };
    for (int i = 0; i < size / 128; ++i)
        entry(i, {}, 0, noEntry, 0, 0);
    entry(0, QStringLiteral("Root Entry"), 5, 1, mini ? 0 : endOfChain, mini ? quint64(data.size()) : 0);
    entry(1, container.streamName, 2, noEntry, 0, quint64(stream.size()));

    out.sectorSize = size;
    out.fatAt = at(fatStart);
    out.difatAt = difatSectors ? at(difatStart) : -1;
    out.entryAt = at(directory) + 128;
    out.directorySector = directory;
    return out;
}

} // namespace moque::test::xls
