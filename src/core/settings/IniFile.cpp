#include "settings/IniFile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace moque::settings {

IniFile::IniFile(const QString &path)
    : m_path(path)
{
    reload();
}

void IniFile::reload()
{
    m_modified = false;
    m_sections.clear();
    m_sections.append(Section{});
    QFile f(m_path);
    if (!f.open(QIODevice::ReadOnly))
        return;
    QByteArray bytes = f.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) {
        // A file written by older Windows installations is GBK text.
        QStringDecoder gbk("GB18030");
        text = gbk.decode(bytes);
    }
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (i == lines.size() - 1 && line.isEmpty())
            break;
        const QString t = line.trimmed();
        if (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']'))) {
            m_sections.append(Section{t.mid(1, t.size() - 2).trimmed(), {}});
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        // A line without a key ("=x") is kept as written, like a comment.
        if (t.isEmpty() || t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#')) || eq < 0
            || line.left(eq).trimmed().isEmpty()) {
            m_sections.last().entries.append(Entry{{}, line});
            continue;
        }
        m_sections.last().entries.append(Entry{line.left(eq).trimmed(), line.mid(eq + 1).trimmed()});
    }
}

bool IniFile::flush()
{
    QString text;
    for (const Section &s : m_sections) {
        if (!s.name.isEmpty() || &s != &m_sections.first())
            text += QLatin1Char('[') + s.name + QStringLiteral("]\n");
        for (const Entry &e : s.entries)
            text += (e.key.isEmpty() ? e.value : e.key + QLatin1Char('=') + e.value) + QLatin1Char('\n');
    }
    QSaveFile f(m_path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(text.toUtf8());
    if (!f.commit())
        return false;
    m_modified = false;
    return true;
}

IniFile::Section *IniFile::findSection(const QString &name)
{
    const QString wanted = name.trimmed();
    for (qsizetype i = 1; i < m_sections.size(); ++i)
        if (m_sections[i].name.compare(wanted, Qt::CaseInsensitive) == 0)
            return &m_sections[i];
    return nullptr;
}

qsizetype IniFile::entryIndex(const Section &section, const QString &key)
{
    const QString wanted = key.trimmed();
    for (qsizetype i = 0; i < section.entries.size(); ++i) {
        const Entry &e = section.entries[i];
        if (!e.key.isEmpty() && e.key.compare(wanted, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

const IniFile::Section *IniFile::findSection(const QString &name) const
{
    return const_cast<IniFile *>(this)->findSection(name);
}

bool IniFile::contains(const QString &section, const QString &key) const
{
    const Section *s = findSection(section);
    return s && entryIndex(*s, key) >= 0;
}

QString IniFile::value(const QString &section, const QString &key, const QString &defaultValue) const
{
    if (const Section *s = findSection(section)) {
        const qsizetype i = entryIndex(*s, key);
        if (i >= 0)
            return s->entries[i].value;
    }
    return defaultValue;
}

void IniFile::setValue(const QString &section, const QString &key, const QString &value)
{
    // A line break inside a value would start a new line of the file.
    QString v = value;
    v.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QString sectionName = section.trimmed();
    const QString keyName = key.trimmed();
    Section *s = findSection(sectionName);
    if (!s) {
        if (m_sections.size() > 1 || !m_sections.first().entries.isEmpty()) {
            Section &last = m_sections.last();
            if (last.entries.isEmpty() || !last.entries.last().value.trimmed().isEmpty()
                || !last.entries.last().key.isEmpty())
                last.entries.append(Entry{{}, {}});
        }
        m_sections.append(Section{sectionName, {}});
        s = &m_sections.last();
        m_modified = true;
    }
    if (const qsizetype i = entryIndex(*s, keyName); i >= 0) {
        if (s->entries[i].value != v) {
            s->entries[i].value = v;
            m_modified = true;
        }
        return;
    }
    // New keys go after the last key of the section, before trailing blank lines.
    qsizetype at = s->entries.size();
    while (at > 0 && s->entries[at - 1].key.isEmpty() && s->entries[at - 1].value.trimmed().isEmpty())
        --at;
    s->entries.insert(at, Entry{keyName, v});
    m_modified = true;
}

void IniFile::remove(const QString &section, const QString &key)
{
    Section *s = findSection(section);
    if (!s)
        return;
    for (qsizetype i = entryIndex(*s, key); i >= 0; i = entryIndex(*s, key)) {
        s->entries.removeAt(i);
        m_modified = true;
    }
}

QStringList IniFile::keys(const QString &section) const
{
    QStringList result;
    if (const Section *s = findSection(section))
        for (const Entry &e : s->entries)
            if (!e.key.isEmpty())
                result << e.key;
    return result;
}

} // namespace moque::settings
