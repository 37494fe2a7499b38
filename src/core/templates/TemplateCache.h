#pragma once

#include "settings/IniFile.h"
#include "store/DataDirectory.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace moque {
class Dialogs;
}

namespace moque::templates {

class TemplateCatalog;

// Where an entry window puts the input control of one field, from the cache.
struct Placement
{
    int x = 30;
    int y = 25;
    int w = 45;
    int h = 18;
    bool visible = false; // a field without a print item stays hidden
    QString defaultText;
};

// An opened template cache file (Temp/CheckIni/<id>.ini): the screen places
// of the template's print items and its "cfg" configuration entries.
class TemplateCacheFile
{
public:
    explicit TemplateCacheFile(const QString &path) : m_ini(path) {}

    QString path() const { return m_ini.path(); }
    const settings::IniFile &ini() const { return m_ini; }

    // The field's place; each missing or unreadable value keeps its default.
    Placement placement(const QString &fieldName) const;
    // Every field name of the template's kind, in dictionary order.
    QStringList configItems() const;
    // A configuration entry (section CheckConfig), empty when missing.
    QString config(const QString &name) const;

private:
    settings::IniFile m_ini;
};

// Builds, opens and updates the per-template cache files.
class TemplateCache
{
public:
    TemplateCache(TemplateCatalog &catalog, Dialogs &dialogs, const store::DataDirectory &dir);

    // The cache file's path, whether or not it exists.
    QString cacheFilePath(int templateId) const;

    // Writes the cache of the template from the database and records its file
    // name in the template's IniFile. Failures are silent (false): IniFile then
    // stays as it was, so the next open tries again when it was empty.
    bool buildCheckIniFile(int templateId);
    // Opens the template's cache, building it first when its IniFile is empty;
    // null when the cache folder cannot be made.
    std::unique_ptr<TemplateCacheFile> OpenCheckInif(int templateId);
    // Stores a configuration entry of the template, updating the row whose
    // name matches without regard to case. The cache is not rebuilt here. On
    // an engine error shows name + "设置模板参数错误:" + message and returns false.
    bool setCheckConfigByName(int templateId, const QString &name, const QString &value);

    // A configuration entry from an open cache; empty without a cache.
    static QString getInifCheckConfigByName(const TemplateCacheFile *cache, const QString &name);

private:
    TemplateCatalog &m_catalog;
    Dialogs &m_dialogs;
    store::DataDirectory m_dir;
};

} // namespace moque::templates
