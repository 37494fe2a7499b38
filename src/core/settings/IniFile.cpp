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
        if (t.isEmpty() || t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#')) || eq < 0) {
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
    return f.commit();
}

IniFile::Section *IniFile::findSection(const QString &name)
{
    for (qsizetype i = 1; i < m_sections.size(); ++i)
        if (m_sections[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return &m_sections[i];
    return nullptr;
}

const IniFile::Section *IniFile::findSection(const QString &name) const
{
    return const_cast<IniFile *>(this)->findSection(name);
}

bool IniFile::contains(const QString &section, const QString &key) const
{
    if (const Section *s = findSection(section))
        for (const Entry &e : s->entries)
            if (!e.key.isEmpty() && e.key.compare(key, Qt::CaseInsensitive) == 0)
                return true;
    return false;
}

QString IniFile::value(const QString &section, const QString &key, const QString &defaultValue) const
{
    if (const Section *s = findSection(section))
        for (const Entry &e : s->entries)
            if (!e.key.isEmpty() && e.key.compare(key, Qt::CaseInsensitive) == 0)
                return e.value;
    return defaultValue;
}

void IniFile::setValue(const QString &section, const QString &key, const QString &value)
{
    // A line break inside a value would start a new line of the file.
    QString v = value;
    v.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    Section *s = findSection(section);
    if (!s) {
        if (m_sections.size() > 1 || !m_sections.first().entries.isEmpty()) {
            Section &last = m_sections.last();
            if (last.entries.isEmpty() || !last.entries.last().value.trimmed().isEmpty()
                || !last.entries.last().key.isEmpty())
                last.entries.append(Entry{{}, {}});
        }
        m_sections.append(Section{section, {}});
        s = &m_sections.last();
    }
    for (Entry &e : s->entries) {
        if (!e.key.isEmpty() && e.key.compare(key, Qt::CaseInsensitive) == 0) {
            e.value = v;
            return;
        }
    }
    // New keys go after the last key of the section, before trailing blank lines.
    qsizetype at = s->entries.size();
    while (at > 0 && s->entries[at - 1].key.isEmpty() && s->entries[at - 1].value.trimmed().isEmpty())
        --at;
    s->entries.insert(at, Entry{key.trimmed(), v});
}

void IniFile::remove(const QString &section, const QString &key)
{
    if (Section *s = findSection(section))
        s->entries.removeIf([&](const Entry &e) {
            return !e.key.isEmpty() && e.key.compare(key, Qt::CaseInsensitive) == 0;
        });
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
