#include "templates/TemplateCache.h"

#include "common/Dialogs.h"
#include "store/BoundQuery.h"
#include "templates/PrintItemStore.h"
#include "templates/TemplateCatalog.h"

#include <QDir>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>

namespace moque::templates {

using store::execBound;

namespace {

const QString viewSection = QStringLiteral("view");
const QString configItemsKey = QStringLiteral("ConfigItems");
const QString configSection = QStringLiteral("CheckConfig");

// Section and key suffix of each screen value of a print item.
struct PlaceKey
{
    const char *section;
    const char *suffix;
    const char *column;
};
constexpr PlaceKey placeKeys[] = {
    {"viewx", ".x", "SrcX"}, {"viewy", ".y", "SrcY"},      {"viewh", ".h", "SrcH"},
    {"vieww", ".w", "SrcW"}, {"viewv", ".v", "NeedShow"}, {"viewdv", ".dv", "InitValue"},
};

int readInt(const settings::IniFile &ini, const char *section, const QString &key, int defaultValue)
{
    bool ok = false;
    const int v = ini.value(QLatin1String(section), key).toInt(&ok);
    return ok ? v : defaultValue;
}

} // namespace

Placement TemplateCacheFile::placement(const QString &fieldName) const
{
    Placement p;
    p.x = readInt(m_ini, "viewx", fieldName + QStringLiteral(".x"), p.x);
    p.y = readInt(m_ini, "viewy", fieldName + QStringLiteral(".y"), p.y);
    p.w = readInt(m_ini, "vieww", fieldName + QStringLiteral(".w"), p.w);
    p.h = readInt(m_ini, "viewh", fieldName + QStringLiteral(".h"), p.h);
    p.visible = readInt(m_ini, "viewv", fieldName + QStringLiteral(".v"), 0) != 0;
    p.defaultText = m_ini.value(QStringLiteral("viewdv"), fieldName + QStringLiteral(".dv"));
    return p;
}

QStringList TemplateCacheFile::configItems() const
{
    return m_ini.value(viewSection, configItemsKey).split(QLatin1Char(','), Qt::SkipEmptyParts);
}

QString TemplateCacheFile::config(const QString &name) const
{
    return m_ini.value(configSection, name);
}

TemplateCache::TemplateCache(TemplateCatalog &catalog, Dialogs &dialogs, const store::DataDirectory &dir)
    : m_catalog(catalog)
    , m_dialogs(dialogs)
    , m_dir(dir)
{
}

QString TemplateCache::cacheFilePath(int templateId) const
{
    return m_dir.cacheDir() + QString::number(templateId) + QStringLiteral(".ini");
}

bool TemplateCache::buildCheckIniFile(int templateId)
{
    if (!QDir().mkpath(m_dir.cacheDir()))
        return false;
    settings::IniFile ini(cacheFilePath(templateId));
    QStringList sections{viewSection, configSection};
    for (const PlaceKey &k : placeKeys)
        sections << QLatin1String(k.section);
    for (const QString &section : sections)
        for (const QString &key : ini.keys(section))
            ini.remove(section, key);

    QSqlDatabase db = m_catalog.db();
    QString error;
    const QStringList names =
        PrintItemStore(db).fieldNames(m_catalog.loadCheckTypeFirstNameByID(templateId), &error);
    if (!error.isEmpty())
        return false;
    QString items;
    for (const QString &name : names)
        items += name + QLatin1Char(',');
    ini.setValue(viewSection, configItemsKey, items);

    QSqlQuery controls(db);
    if (!execBound(controls,
                   QStringLiteral("select CtlName,SrcX,SrcY,SrcH,SrcW,NeedShow,InitValue from ckControl "
                                  "where CheckTypeId=:id order by ID"),
                   {{":id", templateId}}))
        return false;
    QSet<QString> written;
    while (controls.next()) {
        const QString name = controls.value(QStringLiteral("CtlName")).toString().toUpper();
        // A name stored twice keeps its first row, as the print items do.
        if (written.contains(name))
            continue;
        written.insert(name);
        for (const PlaceKey &k : placeKeys)
            ini.setValue(QLatin1String(k.section), name + QLatin1String(k.suffix),
                         controls.value(QLatin1String(k.column)).toString());
    }

    QSqlQuery config(db);
    if (!execBound(config,
                   QStringLiteral("select DMName,DMValue from DMTable where CheckTypeId=:id and DMName like 'cfg%' "
                                  "order by ID"),
                   {{":id", templateId}}))
        return false;
    while (config.next())
        ini.setValue(configSection, config.value(0).toString(), config.value(1).toString());

    if (!ini.flush())
        return false;
    QSqlQuery update(db);
    return execBound(update, QStringLiteral("update ckTypeTable set IniFile=:file where CheckTypeId=:id"),
                     {{":file", QString::number(templateId) + QStringLiteral(".ini")}, {":id", templateId}});
}

std::unique_ptr<TemplateCacheFile> TemplateCache::OpenCheckInif(int templateId)
{
    QSqlQuery q(m_catalog.db());
    const bool valid = execBound(q,
                                 QStringLiteral("select IniFile from ckTypeTable where CheckTypeId=:id and "
                                                "IniFile<>'' and IniFile is not null"),
                                 {{":id", templateId}})
                       && q.next();
    if (!valid)
        buildCheckIniFile(templateId);
    if (!QDir().mkpath(m_dir.cacheDir()))
        return nullptr;
    // Always the template's own file name, whatever IniFile says.
    return std::make_unique<TemplateCacheFile>(cacheFilePath(templateId));
}

bool TemplateCache::setCheckConfigByName(int templateId, const QString &name, const QString &value)
{
    QSqlDatabase db = m_catalog.db();
    QSqlQuery q(db);
    const auto fail = [&](const QSqlQuery &failed) {
        m_dialogs.error(name + QStringLiteral("设置模板参数错误:") + failed.lastError().text());
        return false;
    };
    if (!execBound(q, QStringLiteral("select ID,DMName from DMTable where CheckTypeID=:id order by ID"),
                   {{":id", templateId}}))
        return fail(q);
    // Compared here rather than in SQL: the engine's case folding knows only ASCII.
    const QString wanted = name.toUpper();
    QVariant rowId;
    while (rowId.isNull() && q.next())
        if (q.value(1).toString().toUpper() == wanted)
            rowId = q.value(0);

    QSqlQuery write(db);
    const bool ok = rowId.isNull()
                        ? execBound(write,
                                    QStringLiteral("insert into DMTable (CheckTypeID,DMName,DMValue) "
                                                   "values (:id,:name,:value)"),
                                    {{":id", templateId}, {":name", name}, {":value", value}})
                        : execBound(write, QStringLiteral("update DMTable set DMValue=:value where ID=:row"),
                                    {{":value", value}, {":row", rowId}});
    return ok ? true : fail(write);
}

QString TemplateCache::getInifCheckConfigByName(const TemplateCacheFile *cache, const QString &name)
{
    return cache ? cache->config(name) : QString();
}

} // namespace moque::templates
