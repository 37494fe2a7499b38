#pragma once

#include "sheets/SpreadsheetReader.h"

#include <QXmlStreamReader>

#include <memory>

namespace moque::sheets {

// The zip container of an .xlsx.
class ZipFile
{
public:
    ZipFile() = default;
    ~ZipFile();
    ZipFile(const ZipFile &) = delete;
    ZipFile &operator=(const ZipFile &) = delete;

    bool open(const QString &path);
    // Makes the entry current, by exact name else ignoring case.
    bool locate(const QString &name);
    void *handle() const { return m_zip; }

private:
    void *m_zip = nullptr;
};

// One XML part of a zip, inflated as it is parsed and read token by token
// within bounds that keep a hostile part from taking unbounded memory or time:
// at most maxBytes inflated; no tag, text or run of spaces longer than
// maxXmlToken (QXmlStreamReader holds a whole one); no DTD (its entities
// expand); few attributes in a tag (they are compared pairwise); shallow
// nesting (every open element is kept). Namespaces are not resolved: their
// lookup walks every declaration in scope for every element.
class XmlPart
{
public:
    using Failure = SpreadsheetReader::Failure;

    XmlPart(ZipFile &zip, const SpreadsheetLimits &limits);
    ~XmlPart();
    XmlPart(const XmlPart &) = delete;
    XmlPart &operator=(const XmlPart &) = delete;

    // Starts reading the entry; false with failure() set.
    bool open(const QString &entry);

    // Moves to the next token; false at the end of the part or on a failure.
    bool next();
    QXmlStreamReader &xml() { return m_xml; }
    bool isStart() const { return m_xml.isStartElement(); }
    bool isEnd() const { return m_xml.isEndElement(); }

    // Skips to the end of the current element.
    bool skipElement();
    // Appends the text of the current element and the elements inside it, up
    // to its end; false when text would pass maxXmlToken.
    bool readText(QString *text);

    // Stops reading with a failure of the reader's own (a cell beyond the
    // limits, a broken reference ...); the first failure stays.
    bool fail(Failure failure, const QString &detail = {});

    bool failed() const { return m_failure != Failure::None; }

    // After next() returned false: whether the whole part was read, checked
    // and closed. Otherwise failure() and failureDetail() say why.
    bool finish();
    Failure failure() const { return m_failure; }
    QString failureDetail() const { return m_detail; }

private:
    class Device;
    const SpreadsheetLimits &m_limits;
    ZipFile &m_zip;
    std::unique_ptr<Device> m_device;
    QXmlStreamReader m_xml;
    int m_depth = 0;
    Failure m_failure = Failure::None;
    QString m_detail;
};

// A short quote of text from a file for a one-line message.
QString quoteInMessage(QStringView text);

} // namespace moque::sheets
