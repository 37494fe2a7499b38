#include "sheets/ZipXml.h"

#include <QFile>
#include <QIODevice>

#include <minizip/unzip.h>

#include <cstring>

namespace moque::sheets {

namespace {

// No element of a spreadsheet part comes near these; a file that does was
// made to hurt the parser.
constexpr int maxDepth = 128;
constexpr int maxAttributes = 64;

} // namespace

ZipFile::~ZipFile()
{
    if (m_zip)
        unzClose(m_zip);
}

bool ZipFile::open(const QString &path)
{
    m_zip = unzOpen64(QFile::encodeName(path).constData());
    return m_zip != nullptr;
}

bool ZipFile::locate(const QString &name)
{
    const QByteArray entry = name.toUtf8();
    constexpr int caseSensitive = 1;
    constexpr int caseInsensitive = 2;
    return unzLocateFile(m_zip, entry.constData(), caseSensitive) == UNZ_OK
        || unzLocateFile(m_zip, entry.constData(), caseInsensitive) == UNZ_OK;
}

// The current zip entry, inflated as QXmlStreamReader asks for it. Every byte
// passes a small lexer that knows where each token of the XML ends, so that
// no token grows past its limit inside the parser.
class XmlPart::Device : public QIODevice
{
public:
    Device(void *zip, const SpreadsheetLimits &limits) : m_zip(zip), m_limits(limits) {}

    ~Device() override
    {
        if (!m_closed)
            unzCloseCurrentFile(m_zip);
    }

    bool isSequential() const override { return true; }
    Failure failure() const { return m_failure; }
    QString detail() const { return m_detail; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        if (m_failure != Failure::None)
            return -1;
        if (m_closed)
            return 0;
        const int got = unzReadCurrentFile(m_zip, data, unsigned(qMin<qint64>(maxSize, 1 << 20)));
        if (got == 0) {
            // Closing checks the entry's CRC.
            m_closed = true;
            return unzCloseCurrentFile(m_zip) == UNZ_OK ? 0 : stop(Failure::Truncated);
        }
        if (got < 0)
            return stop(Failure::Truncated);
        m_total += got;
        if (m_total > m_limits.maxBytes)
            return stop(Failure::TooLarge);
        return scan(data, data + got) ? got : -1;
    }

    qint64 writeData(const char *, qint64) override { return -1; }

private:
    enum class State { Text, Open, Bang, Comment, CData, Instruction, Tag, Quoted };

    // Stops the stream: the parser sees its end, finish() the cause.
    int stop(Failure failure, const QString &detail = {})
    {
        m_failure = failure;
        m_detail = detail;
        return -1;
    }

    bool grow(qint64 bytes)
    {
        m_token += bytes;
        if (m_token <= m_limits.maxXmlToken)
            return true;
        stop(Failure::TooLarge);
        return false;
    }

    void endToken()
    {
        m_state = State::Text;
        m_token = 0;
    }

    bool tagByte(char c)
    {
        if (c == '>') {
            endToken();
        } else if (c == '"' || c == '\'') {
            m_quote = c;
            m_state = State::Quoted;
        } else if (c == '=' && ++m_attributes > maxAttributes) {
            stop(Failure::Damaged, QStringLiteral("一个标记中的属性过多"));
            return false;
        }
        return true;
    }

    bool scan(const char *p, const char *const end)
    {
        while (p < end) {
            // Text and quoted values are the long runs: skip to their end at once.
            if (m_state == State::Text || m_state == State::Quoted) {
                const char stopAt = m_state == State::Text ? '<' : m_quote;
                const auto *found = static_cast<const char *>(std::memchr(p, stopAt, size_t(end - p)));
                if (!grow((found ? found : end) - p))
                    return false;
                if (!found)
                    return true;
                p = found + 1;
                if (m_state == State::Text) {
                    m_token = 1;
                    m_state = State::Open;
                } else {
                    m_state = State::Tag;
                }
                continue;
            }
            const char c = *p++;
            if (!grow(1))
                return false;
            switch (m_state) {
            case State::Open:
                if (c == '!') {
                    m_state = State::Bang;
                } else if (c == '?') {
                    m_state = State::Instruction;
                    m_marks = 0;
                } else {
                    m_state = State::Tag;
                    m_attributes = 0;
                    if (!tagByte(c))
                        return false;
                }
                break;
            case State::Bang:
                // A DOCTYPE could declare entities that expand without end; no
                // spreadsheet part has one.
                if (c != '-' && c != '[') {
                    stop(Failure::Damaged, QStringLiteral("含有不允许的DOCTYPE声明"));
                    return false;
                }
                m_state = c == '-' ? State::Comment : State::CData;
                m_marks = 0;
                break;
            case State::Comment:    // ends at "-->"
            case State::CData:      // ends at "]]>"
                if (c == '>' && m_marks >= 2)
                    endToken();
                else
                    m_marks = c == (m_state == State::Comment ? '-' : ']') ? m_marks + 1 : 0;
                break;
            case State::Instruction:    // ends at "?>"
                if (c == '>' && m_marks >= 1)
                    endToken();
                else
                    m_marks = c == '?' ? 1 : 0;
                break;
            case State::Tag:
                if (!tagByte(c))
                    return false;
                break;
            case State::Text:
            case State::Quoted:
                break;
            }
        }
        return true;
    }

    void *m_zip;
    const SpreadsheetLimits &m_limits;
    Failure m_failure = Failure::None;
    QString m_detail;
    bool m_closed = false;
    qint64 m_total = 0;
    State m_state = State::Text;
    qint64 m_token = 0;
    int m_marks = 0;
    int m_attributes = 0;
    char m_quote = '"';
};

XmlPart::XmlPart(ZipFile &zip, const SpreadsheetLimits &limits) : m_limits(limits), m_zip(zip) {}

XmlPart::~XmlPart() = default;

bool XmlPart::open(const QString &entry)
{
    if (!m_zip.locate(entry))
        return fail(Failure::NotSpreadsheet);
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(m_zip.handle(), &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
        return fail(Failure::NotSpreadsheet);
    if (info.flag & 1u)
        return fail(Failure::Encrypted);
    if (info.uncompressed_size > quint64(m_limits.maxBytes))
        return fail(Failure::TooLarge);
    if (unzOpenCurrentFile(m_zip.handle()) != UNZ_OK)
        return fail(Failure::NotSpreadsheet);
    m_device = std::make_unique<Device>(m_zip.handle(), m_limits);
    m_device->open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    m_xml.setDevice(m_device.get());
    m_xml.setNamespaceProcessing(false);
    return true;
}

bool XmlPart::next()
{
    if (m_failure != Failure::None || !m_device || m_xml.atEnd())
        return false;
    const auto token = m_xml.readNext();
    if (token == QXmlStreamReader::StartElement && ++m_depth > maxDepth)
        return fail(Failure::Damaged, QStringLiteral("XML嵌套过深"));
    if (token == QXmlStreamReader::EndElement)
        --m_depth;
    return token != QXmlStreamReader::Invalid;
}

bool XmlPart::skipElement()
{
    int depth = 1;
    while (depth > 0 && next()) {
        if (isStart())
            ++depth;
        else if (isEnd())
            --depth;
    }
    return depth == 0;
}

bool XmlPart::readText(QString *text)
{
    int depth = 1;
    while (next()) {
        if (isStart()) {
            ++depth;
        } else if (isEnd()) {
            if (--depth == 0)
                return true;
        } else if (m_xml.isCharacters()) {
            if (text->size() + m_xml.text().size() > m_limits.maxXmlToken)
                return fail(Failure::TooLarge);
            text->append(m_xml.text());
        }
    }
    return false;
}

bool XmlPart::fail(Failure failure, const QString &detail)
{
    if (m_failure == Failure::None) {
        m_failure = failure;
        m_detail = detail;
    }
    return false;
}

bool XmlPart::finish()
{
    if (m_device && m_device->failure() != Failure::None)
        fail(m_device->failure(), m_device->detail());
    if (m_xml.hasError())
        fail(m_xml.error() == QXmlStreamReader::PrematureEndOfDocumentError ? Failure::Truncated
                                                                            : Failure::NotSpreadsheet);
    return m_failure == Failure::None;
}

QString quoteInMessage(QStringView text)
{
    constexpr qsizetype longest = 32;
    QString quoted = text.left(longest).toString();
    for (QChar &c : quoted) {
        if (!c.isPrint())
            c = u'?';
    }
    if (text.size() > longest)
        quoted += u'…';
    return u'“' + quoted + u'”';
}

} // namespace moque::sheets
