// The per-template cache file: what a build writes, when an open rebuilds,
// the places read back, and the template's configuration entries.

#include "support/TemplateFixture.h"
#include "settings/IniFile.h"
#include "templates/TemplateCache.h"
#include "templates/TemplateCatalog.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace moque;
using templates::TemplateCache;
using templates::TemplateCatalog;
using test::addField;
using test::addItem;
using test::testKind;

namespace {

// A template 1001 of the test kind with a dictionary of four fields, three of
// which have print items.
struct CacheFixture
{
    test::TestData data;
    std::unique_ptr<TemplateCatalog> catalog;
    std::unique_ptr<TemplateCache> cache;

    bool open()
    {
        if (!test::openWithoutTemplates(data))
            return false;
        catalog = std::make_unique<TemplateCatalog>(data.db(), data.dialogs, data.core->store());
        cache = std::make_unique<TemplateCache>(*catalog, data.dialogs, data.core->dir());
        return test::addTemplate(data, {.id = 1001, .name = QStringLiteral("样张")})
               && addField(data, QStringLiteral("ZDSKR")) && addField(data, QStringLiteral("ZDHIDE"))
               && addField(data, QStringLiteral("ZDNOITEM"))
               && addField(data, QStringLiteral("DEFCHECK0"), 0, 1, testKind, QStringLiteral("CHECKBOX"))
               && addItem(data, {.templateId = 1001, .name = QStringLiteral("zdSkr"), .srcX = 120, .srcY = 45,
                                 .srcW = 200, .srcH = 24, .needShow = 1, .initValue = QStringLiteral("某公司")})
               && addItem(data, {.templateId = 1001, .name = QStringLiteral("ZDHIDE"), .srcX = QVariant(),
                                 .needShow = 0})
               && addItem(data, {.templateId = 1001, .name = QStringLiteral("DEFCHECK0"), .needShow = 1,
                                 .initValue = QStringLiteral("1")})
               // Another template's item must stay out of this cache.
               && addItem(data, {.templateId = 1002, .name = QStringLiteral("ZDNOITEM"), .needShow = 1});
    }
    QString iniFileColumn() const
    {
        return data.scalar(QStringLiteral("select IniFile from CKTypeTable where CheckTypeID=1001")).toString();
    }
    bool addConfig(const QString &name, const QString &value, int templateId = 1001)
    {
        return data.exec(QStringLiteral("insert into DMTable (CheckTypeId,DMName,DMValue) values (?,?,?)"),
                         {templateId, name, value});
    }
};

} // namespace

class TestTemplatesCache : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void buildWritesTheCacheFile()
    {
        CacheFixture f;
        QVERIFY(f.open());
        QVERIFY(f.addConfig(QStringLiteral("cfgDefaultMoney"), QStringLiteral("人民币")));
        QVERIFY(f.addConfig(QStringLiteral("CFGPrintDate"), QStringLiteral("1")));
        QVERIFY(f.addConfig(QStringLiteral("备注"), QStringLiteral("不是选项")));
        QVERIFY(f.addConfig(QStringLiteral("myCfg"), QStringLiteral("0")));
        QVERIFY(f.addConfig(QStringLiteral("cfgOther"), QStringLiteral("x"), 1002));

        QVERIFY(f.cache->buildCheckIniFile(1001));
        QCOMPARE(f.iniFileColumn(), QStringLiteral("1001.ini"));
        const QString path = f.data.root() + QStringLiteral("Temp/CheckIni/1001.ini");
        QCOMPARE(f.cache->cacheFilePath(1001), path);

        const settings::IniFile ini(path);
        QCOMPARE(ini.value(QStringLiteral("view"), QStringLiteral("ConfigItems")),
                 QStringLiteral("ZDSKR,ZDHIDE,ZDNOITEM,DEFCHECK0,"));
        const struct
        {
            const char *section;
            const char *key;
            const char *value;
        } expected[] = {
            {"viewx", "ZDSKR.x", "120"},    {"viewy", "ZDSKR.y", "45"},  {"vieww", "ZDSKR.w", "200"},
            {"viewh", "ZDSKR.h", "24"},     {"viewv", "ZDSKR.v", "1"},   {"viewdv", "ZDSKR.dv", "某公司"},
            {"viewv", "ZDHIDE.v", "0"},     {"viewx", "ZDHIDE.x", ""},   {"viewdv", "DEFCHECK0.dv", "1"},
        };
        for (const auto &e : expected) {
            QVERIFY2(ini.contains(QLatin1String(e.section), QLatin1String(e.key)), e.key);
            QCOMPARE(ini.value(QLatin1String(e.section), QLatin1String(e.key)), QString::fromUtf8(e.value));
        }
        // Keys are written in upper case, whatever the item's stored spelling.
        QVERIFY(ini.keys(QStringLiteral("viewx")).contains(QStringLiteral("ZDSKR.x")));
        for (const char *section : {"viewx", "viewy", "vieww", "viewh", "viewv", "viewdv"})
            QCOMPARE(ini.keys(QLatin1String(section)).size(), 3);
        QVERIFY(!ini.contains(QStringLiteral("viewv"), QStringLiteral("ZDNOITEM.v")));

        QCOMPARE(ini.keys(QStringLiteral("CheckConfig")),
                 (QStringList{QStringLiteral("cfgDefaultMoney"), QStringLiteral("CFGPrintDate")}));
        QCOMPARE(ini.value(QStringLiteral("CheckConfig"), QStringLiteral("cfgdefaultmoney")), QStringLiteral("人民币"));
        QVERIFY(f.data.dialogs.shown.isEmpty());
    }

    void rebuildErasesOldValuesOnly()
    {
        CacheFixture f;
        QVERIFY(f.open());
        QVERIFY(QDir().mkpath(f.data.root() + QStringLiteral("Temp/CheckIni")));
        {
            settings::IniFile stale(f.cache->cacheFilePath(1001));
            stale.setValue(QStringLiteral("viewx"), QStringLiteral("ZDGONE.x"), QStringLiteral("5"));
            stale.setValue(QStringLiteral("CheckConfig"), QStringLiteral("cfgGone"), QStringLiteral("1"));
            stale.setValue(QStringLiteral("Notes"), QStringLiteral("kept"), QStringLiteral("yes"));
            QVERIFY(stale.flush());
        }
        QVERIFY(f.cache->buildCheckIniFile(1001));
        const settings::IniFile ini(f.cache->cacheFilePath(1001));
        QVERIFY(!ini.contains(QStringLiteral("viewx"), QStringLiteral("ZDGONE.x")));
        QVERIFY(!ini.contains(QStringLiteral("CheckConfig"), QStringLiteral("cfgGone")));
        QCOMPARE(ini.value(QStringLiteral("Notes"), QStringLiteral("kept")), QStringLiteral("yes"));
        QCOMPARE(ini.value(QStringLiteral("viewx"), QStringLiteral("ZDSKR.x")), QStringLiteral("120"));
    }

    void placementsReadBack_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<QList<int>>("geometry");
        QTest::addColumn<QString>("defaultText");

        QTest::newRow("shown item, any case") << QStringLiteral("zdskr") << true << QList<int>{120, 45, 200, 24}
                                              << QStringLiteral("某公司");
        // A missing place keeps 30, 25, 45, 18; SrcY etc. of ZDHIDE are the column defaults.
        QTest::newRow("hidden item") << QStringLiteral("ZDHIDE") << false << QList<int>{30, 10, 50, 20} << QString();
        QTest::newRow("no print item") << QStringLiteral("ZDNOITEM") << false << QList<int>{30, 25, 45, 18}
                                       << QString();
        QTest::newRow("tick box") << QStringLiteral("DEFCHECK0") << true << QList<int>{10, 10, 50, 20}
                                  << QStringLiteral("1");
    }

    void placementsReadBack()
    {
        QFETCH(QString, field);
        QFETCH(bool, visible);
        QFETCH(QList<int>, geometry);
        QFETCH(QString, defaultText);
        CacheFixture f;
        QVERIFY(f.open());
        const auto file = f.cache->OpenCheckInif(1001);
        QVERIFY(file);
        const templates::Placement p = file->placement(field);
        QCOMPARE(p.visible, visible);
        QCOMPARE((QList<int>{p.x, p.y, p.w, p.h}), geometry);
        QCOMPARE(p.defaultText, defaultText);
    }

    void openBuildsOnlyAnInvalidCache()
    {
        CacheFixture f;
        QVERIFY(f.open());
        QVERIFY(f.iniFileColumn().isEmpty());
        auto file = f.cache->OpenCheckInif(1001);
        QVERIFY(file);
        QCOMPARE(file->path(), f.cache->cacheFilePath(1001));
        QCOMPARE(file->placement(QStringLiteral("ZDSKR")).x, 120);
        QCOMPARE(f.iniFileColumn(), QStringLiteral("1001.ini"));

        // While IniFile names the cache, changes in the database are not seen.
        QVERIFY(f.data.exec(QStringLiteral("update ckControl set SrcX=333 where CtlName='zdSkr'")));
        QVERIFY(f.addConfig(QStringLiteral("cfgDefaultMoney"), QStringLiteral("美元")));
        file = f.cache->OpenCheckInif(1001);
        QCOMPARE(file->placement(QStringLiteral("ZDSKR")).x, 120);
        QCOMPARE(file->config(QStringLiteral("cfgDefaultMoney")), QString());

        // Clearing IniFile makes the next open rebuild from current values.
        QVERIFY(f.data.exec(QStringLiteral("update CKTypeTable set IniFile='' where CheckTypeID=1001")));
        file = f.cache->OpenCheckInif(1001);
        QCOMPARE(file->placement(QStringLiteral("ZDSKR")).x, 333);
        QCOMPARE(TemplateCache::getInifCheckConfigByName(file.get(), QStringLiteral("CFGDEFAULTMONEY")),
                 QStringLiteral("美元"));
        QCOMPARE(file->configItems(), (QStringList{QStringLiteral("ZDSKR"), QStringLiteral("ZDHIDE"),
                                                   QStringLiteral("ZDNOITEM"), QStringLiteral("DEFCHECK0")}));
        QCOMPARE(TemplateCache::getInifCheckConfigByName(nullptr, QStringLiteral("cfgDefaultMoney")), QString());
    }

    void failedBuildLeavesTheCacheInvalid()
    {
        CacheFixture f;
        QVERIFY(f.open());
        QVERIFY(f.data.exec(QStringLiteral("drop table DMTable")));
        QVERIFY(!f.cache->buildCheckIniFile(1001));
        QVERIFY(f.iniFileColumn().isEmpty());
        QVERIFY(!QFile::exists(f.cache->cacheFilePath(1001)));
        QVERIFY(f.data.dialogs.shown.isEmpty());
    }

    void configEntryStoredOnce()
    {
        CacheFixture f;
        QVERIFY(f.open());
        QVERIFY(f.addConfig(QStringLiteral("cfgPrintDate"), QStringLiteral("1"), 1002));

        QVERIFY(f.cache->setCheckConfigByName(1001, QStringLiteral("cfgPrintDate"), QStringLiteral("1")));
        QVERIFY(f.cache->setCheckConfigByName(1001, QStringLiteral("CFGPRINTDATE"), QStringLiteral("0")));
        QCOMPARE(f.data.scalar(QStringLiteral("select count(*) from DMTable where CheckTypeId=1001")).toInt(), 1);
        QCOMPARE(f.data.scalar(QStringLiteral("select DMName||'='||DMValue from DMTable where CheckTypeId=1001")),
                 QVariant(QStringLiteral("cfgPrintDate=0")));
        QCOMPARE(f.data.scalar(QStringLiteral("select DMValue from DMTable where CheckTypeId=1002")),
                 QVariant(QStringLiteral("1")));

        // Not copied into the cache until it is rebuilt.
        QVERIFY(f.cache->buildCheckIniFile(1001));
        QVERIFY(f.cache->setCheckConfigByName(1001, QStringLiteral("cfgMoney's"), QStringLiteral("港币")));
        auto file = f.cache->OpenCheckInif(1001);
        QCOMPARE(file->config(QStringLiteral("cfgPrintDate")), QStringLiteral("0"));
        QCOMPARE(file->config(QStringLiteral("cfgMoney's")), QString());
        QCOMPARE(f.data.scalar(QStringLiteral("select DMValue from DMTable where DMName=?"), {QStringLiteral("cfgMoney's")}),
                 QVariant(QStringLiteral("港币")));
        QVERIFY(f.data.dialogs.shown.isEmpty());
    }

    void configEntryEngineError()
    {
        CacheFixture f;
        QVERIFY(f.open());
        QVERIFY(f.data.exec(QStringLiteral("drop table DMTable")));
        QVERIFY(!f.cache->setCheckConfigByName(1001, QStringLiteral("cfgPrintDate"), QStringLiteral("1")));
        QCOMPARE(f.data.dialogs.shown.size(), 1);
        QVERIFY2(f.data.dialogs.lastText().startsWith(QStringLiteral("cfgPrintDate设置模板参数错误:"))
                     && f.data.dialogs.lastText().contains(QStringLiteral("DMTable"), Qt::CaseInsensitive),
                 qPrintable(f.data.dialogs.lastText()));
    }
};

QTEST_GUILESS_MAIN(TestTemplatesCache)
#include "test_templates_cache.moc"
