#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QPair>
#include <QString>

#include <minizip/unzip.h>
#include <minizip/zip.h>
#include <zlib.h>

namespace moque::test {

using ZipEntries = QList<QPair<QString, QByteArray>>;

// Writes a zip of the entries; with a password every entry is encrypted.
inline bool writeZip(const QString &path, const ZipEntries &entries, const char *password = nullptr)
{
    zipFile zip = zipOpen64(QFile::encodeName(path).constData(), APPEND_STATUS_CREATE);
    if (!zip)
        return false;
    bool ok = true;
    for (const auto &[name, bytes] : entries) {
        zip_fileinfo info{};
        const uLong crc = crc32(0, reinterpret_cast<const Bytef *>(bytes.constData()), uInt(bytes.size()));
        ok = ok
            && zipOpenNewFileInZip3_64(zip, name.toUtf8().constData(), &info, nullptr, 0, nullptr, 0, nullptr,
                                       Z_DEFLATED, Z_DEFAULT_COMPRESSION, 0, -MAX_WBITS, DEF_MEM_LEVEL,
                                       Z_DEFAULT_STRATEGY, password, crc, 0)
                == ZIP_OK
            && zipWriteInFileInZip(zip, bytes.constData(), unsigned(bytes.size())) == ZIP_OK
            && zipCloseFileInZip(zip) == ZIP_OK;
    }
    return zipClose(zip, nullptr) == ZIP_OK && ok;
}

// The inflated bytes of one entry; empty when missing.
inline QByteArray readZipEntry(const QString &path, const QString &name)
{
    unzFile zip = unzOpen64(QFile::encodeName(path).constData());
    if (!zip)
        return {};
    QByteArray bytes;
    if (unzLocateFile(zip, name.toUtf8().constData(), 1) == UNZ_OK && unzOpenCurrentFile(zip) == UNZ_OK) {
        char buffer[16384];
        int got = 0;
        while ((got = unzReadCurrentFile(zip, buffer, sizeof buffer)) > 0)
            bytes.append(buffer, got);
        unzCloseCurrentFile(zip);
    }
    unzClose(zip);
    return bytes;
}

// The parts of a workbook with one worksheet "Sheet1" holding the sheet data XML.
inline ZipEntries workbookEntries(const QByteArray &sheetData)
{
    const QByteArray relNs = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    return {
        {QStringLiteral("_rels/.rels"),
         "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"rId1\" Type=\"" + relNs + "/officeDocument\" Target=\"xl/workbook.xml\"/>"
         "</Relationships>"},
        {QStringLiteral("xl/workbook.xml"),
         "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" xmlns:r=\"" + relNs
             + "\"><sheets><sheet name=\"Sheet1\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>"},
        {QStringLiteral("xl/_rels/workbook.xml.rels"),
         "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"rId1\" Type=\"" + relNs + "/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
         "</Relationships>"},
        {QStringLiteral("xl/worksheets/sheet1.xml"),
         "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>" + sheetData
             + "</sheetData></worksheet>"},
    };
}

// workbookEntries() with a shared strings part holding the <si> elements given.
inline ZipEntries workbookEntries(const QByteArray &sheetData, const QByteArray &sharedStrings)
{
    ZipEntries entries = workbookEntries(sheetData);
    entries[2].second.replace("</Relationships>",
                              "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/officeDocument/"
                              "2006/relationships/sharedStrings\" Target=\"sharedStrings.xml\"/></Relationships>");
    entries.append({QStringLiteral("xl/sharedStrings.xml"),
                    "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">" + sharedStrings
                        + "</sst>"});
    return entries;
}

// Gives a workbook a styles part with one cell format per number format:
// cell s="0" has the first. A format with a code is a custom one.
inline ZipEntries withNumberFormats(ZipEntries entries, const QList<QPair<int, QByteArray>> &formats)
{
    QByteArray custom;
    QByteArray cellFormats;
    for (const auto &[id, code] : formats) {
        if (!code.isEmpty())
            custom += "<numFmt numFmtId=\"" + QByteArray::number(id) + "\" formatCode=\"" + code + "\"/>";
        cellFormats += "<xf numFmtId=\"" + QByteArray::number(id) + "\" applyNumberFormat=\"1\"/>";
    }
    entries[2].second.replace("</Relationships>",
                              "<Relationship Id=\"rId3\" Type=\"http://schemas.openxmlformats.org/officeDocument/"
                              "2006/relationships/styles\" Target=\"styles.xml\"/></Relationships>");
    entries.append({QStringLiteral("xl/styles.xml"),
                    "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><numFmts>" + custom
                        + "</numFmts><cellXfs>" + cellFormats + "</cellXfs></styleSheet>"});
    return entries;
}

} // namespace moque::test
