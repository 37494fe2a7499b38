#pragma once

#include <QList>
#include <QString>

namespace moque::settings {

// An INI file a person can read and edit: UTF-8 text of [sections] and
// key=value lines. Sections and keys compare without regard to letter case;
// the file keeps its order, comments and the spelling of existing names.
// Names are compared after trimming blanks.
class IniFile
{
public:
    IniFile() = default;
    explicit IniFile(const QString &path);

    QString path() const { return m_path; }

    // Reads the file afresh, dropping unsaved changes. A missing file is empty.
    void reload();
    // Writes the file; false when it cannot be written.
    bool flush();
    // True when values were changed since the file was last read or written.
    bool isModified() const { return m_modified; }

    bool contains(const QString &section, const QString &key) const;
    QString value(const QString &section, const QString &key, const QString &defaultValue = {}) const;
    void setValue(const QString &section, const QString &key, const QString &value);
    void remove(const QString &section, const QString &key);
    QStringList keys(const QString &section) const;

private:
    struct Entry
    {
        QString key;     // empty for a comment or blank line
        QString value;   // the whole line for a comment
    };
    struct Section
    {
        QString name;
        QList<Entry> entries;
    };

    Section *findSection(const QString &name);
    const Section *findSection(const QString &name) const;
    // Index of the key's line in the section, -1 when it has none.
    static qsizetype entryIndex(const Section &section, const QString &key);

    QString m_path;
    QList<Section> m_sections; // the first one, unnamed, holds lines before any header
    bool m_modified = false;
};

} // namespace moque::settings
