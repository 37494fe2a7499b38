// Template packages: every default template exported and imported again,
// replacing or keeping older templates, old packages, and damaged packages
// refused before anything is written.

#include "support/TemplateFixture.h"
#include "support/TestData.h"
#include "templates/TemplateCatalog.h"
#include "templates/TemplatePackage.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

using namespace moque;
using templates::PackageExporter;
using templates::PackageImporter;
using templates::PackageReader;
using templates::TransferCount;

namespace {

const QString waybill = QStringLiteral("快递单（通用快递单）");
const QString waybill2 = QStringLiteral("快递单（标准快递单）");

// The print item columns a package carries.
const QStringList itemColumns{"CtlName", "CtlCName", "CtlType", "CtlX", "CtlY", "CtlLH", "SrcX", "SrcY", "SrcH",
                              "SrcW", "NeedPrint", "NeedShow", "CtlFontName", "CtlFontSize", "BreakFontSize",
                              "Bold", "Italic", "UnderLine", "FitParam", "BreakNum", "InitValue", "ShowOrd"};

// Rows of a query, each as its values joined by tabs (NULL as "<null>").
QStringList rows(QSqlDatabase db, const QString &sql, const QVariantList &values = {})
{
    QStringList out;
    QSqlQuery q(db);
    q.prepare(sql);
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, values.at(i));
    if (!q.exec()) {
        out << QStringLiteral("error: ") + q.lastError().text();
        return out;
    }
    while (q.next()) {
        QStringList cells;
        for (int c = 0; c < q.record().count(); ++c)
            cells << (q.value(c).isNull() ? QStringLiteral("<null>") : q.value(c).toString());
        out << cells.join(QLatin1Char('\t'));
    }
    return out;
}

// Every table the import writes, row by row, and every file under the data directory with its hash.
QStringList dataState(const test::TestData &data)
{
    QStringList state;
    for (const char *table : {"CKTypeTable", "ckControl", "DMTable"})
        state << rows(data.db(), QStringLiteral("select * from %1 order by rowid").arg(QLatin1String(table)));
    QDirIterator files(data.tempDir.path(), QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        if (path.contains(QLatin1String("/Data/")) || path.endsWith(QLatin1String(".ini")))
            continue;
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        state << path + QLatin1Char(' ') + QString::fromLatin1(QCryptographicHash::hash(f.readAll(), QCryptographicHash::Md5).toHex());
    }
    state.sort();
    return state;
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList allFullNames(test::TestData &data)
{
    templates::TemplateCatalog catalog(data.db(), data.dialogs, data.core->store());
    QStringList names;
    for (const templates::TemplateRow &row : catalog.allTemplates())
        names << row.fullName;
    return names;
}

} // namespace

class TestTemplatesPackage : public QObject
{
    Q_OBJECT
    std::unique_ptr<test::TestData> m_source;
    std::unique_ptr<test::TestData> m_target;
    QTemporaryDir m_files;

    QString packagePath(const QString &name = QStringLiteral("包.tpk")) const { return m_files.filePath(name); }

    // Exports from the source data directory.
    TransferCount exportFrom(const QStringList &names, const QString &file, bool *written = nullptr)
    {
        PackageExporter exporter(m_source->db(), m_source->dialogs, m_source->core->dir(), QStringLiteral("9.8"),
                                 &m_source->core->settings());
        return exporter.exportTemplates(names, file, written);
    }
    // Imports into the target data directory.
    TransferCount importInto(const QString &file, const QStringList &names, bool replace)
    {
        PackageReader package;
        if (!package.open(file)) {
            qWarning() << package.errorText();
            return {0, int(names.size())};
        }
        PackageImporter importer(m_target->db(), m_target->dialogs, m_target->core->dir(),
                                 &m_target->core->settings());
        return importer.importTemplates(package, names, replace);
    }
    QVariant targetValue(const QString &sql, const QVariantList &values = {}) const
    {
        return m_target->scalar(sql, values);
    }
    int targetId(const QString &fullName) const
    {
        const QVariant id = targetValue(QStringLiteral("select CheckTypeID from CKTypeTable where TypeName=?"), {fullName});
        return id.isValid() ? id.toInt() : -1;
    }
    QStringList itemsOf(const test::TestData &data, int id) const
    {
        return rows(data.db(), QStringLiteral("select %1 from ckControl where CheckTypeID=? order by ID").arg(itemColumns.join(',')),
                    {id});
    }
    QStringList configOf(const test::TestData &data, int id) const
    {
        return rows(data.db(), QStringLiteral("select DMName,DMValue from DMTable where CheckTypeId=? order by ID"), {id});
    }

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_files.isValid());
        m_source = std::make_unique<test::TestData>();
        m_target = std::make_unique<test::TestData>();
        QVERIFY(m_source->open());
        QVERIFY(m_target->open());
        // Configuration entries of the source's first template, to travel with it.
        QVERIFY(m_source->exec(QStringLiteral("insert into DMTable (DMName,DMValue,CheckTypeId) values "
                                              "('cfgDateFormat','yyyy年m月d日',1),('备注','易碎',1)")));
        QVERIFY(m_target->exec(QStringLiteral("insert into DMTable (DMName,DMValue,CheckTypeId) values "
                                              "('cfgOld','旧',1)")));
    }

    // Every default template goes out and comes back: its row, every print
    // item column a package carries, its configuration entries and every
    // byte of its picture.
    void roundTripsEveryDefaultTemplate_data()
    {
        QTest::addColumn<bool>("removeFirst");
        QTest::newRow("into an installation without them") << true;
        QTest::newRow("replacing them (更新旧版本单据)") << false;
    }
    void roundTripsEveryDefaultTemplate()
    {
        QFETCH(bool, removeFirst);
        const QStringList names = allFullNames(*m_source);
        QVERIFY(names.size() >= 5);
        bool written = false;
        QCOMPARE(exportFrom(names, packagePath(), &written).done, int(names.size()));
        QVERIFY(written);
        QCOMPARE(m_source->dialogs.texts(), QStringList());
        if (removeFirst) {
            QVERIFY(m_target->exec(QStringLiteral("delete from CKTypeTable")));
            QVERIFY(m_target->exec(QStringLiteral("delete from ckControl")));
            QVERIFY(m_target->exec(QStringLiteral("delete from DMTable where CheckTypeId<>0")));
            QDir images(m_target->core->dir().imageDir());
            for (const QString &f : images.entryList({QStringLiteral("kdd*"), QStringLiteral("fpiv*"),
                                                      QStringLiteral("cksp*"), QStringLiteral("ivIntel*")}))
                QVERIFY(images.remove(f));
        }
        const QString oldDefaults = rows(m_target->db(), QStringLiteral("select TypeName,IsDefault from CKTypeTable order by TypeName")).join('|');

        const TransferCount count = importInto(packagePath(), names, true);
        QCOMPARE(count.done, int(names.size()));
        QCOMPARE(count.failed, 0);
        QCOMPARE(m_target->dialogs.texts(), QStringList());

        for (const QString &name : names) {
            const int sourceId = m_source->scalar(QStringLiteral("select CheckTypeID from CKTypeTable where TypeName=?"), {name}).toInt();
            const int id = targetId(name);
            QVERIFY2(id > 0, qPrintable(name));
            const QString columns = QStringLiteral("TypeName,TypeFirstName,TypeDescribe,THeight,TWidth,HVPrint,CheckBoxs");
            const QString sql = QStringLiteral("select %1 from CKTypeTable where CheckTypeID=?").arg(columns);
            QCOMPARE(rows(m_target->db(), sql, {id}), rows(m_source->db(), sql, {sourceId}));
            QCOMPARE(rows(m_target->db(), QStringLiteral("select Visiable,IsCommon,ShowOrd from CKTypeTable where CheckTypeID=?"), {id}),
                     QStringList{QStringLiteral("启用\t是\t0")});

            const QString kind = templates::TemplateCatalog::kindOfFullName(name);
            const QString picture = templates::TemplateCatalog::getTypeCodeByTypeName(kind) + QString::number(id) + ".jpg";
            QCOMPARE(targetValue(QStringLiteral("select ImgFile from CKTypeTable where CheckTypeID=?"), {id}).toString(), picture);
            const QString sourcePicture = m_source->scalar(QStringLiteral("select ImgFile from CKTypeTable where CheckTypeID=?"), {sourceId}).toString();
            const QByteArray bytes = fileBytes(m_source->core->dir().imageDir() + sourcePicture);
            QVERIFY(!bytes.isEmpty());
            QCOMPARE(fileBytes(m_target->core->dir().imageDir() + picture), bytes);

            // A line height of 0 travels as the standard 50.
            QStringList expectedItems = itemsOf(*m_source, sourceId);
            for (QString &item : expectedItems) {
                QStringList cells = item.split('\t');
                if (cells[5] == QLatin1String("0") || cells[5] == QLatin1String("<null>"))
                    cells[5] = QStringLiteral("50");
                item = cells.join('\t');
            }
            QVERIFY(!expectedItems.isEmpty());
            QCOMPARE(itemsOf(*m_target, id), expectedItems);
            // The print sizes, colour and alignment and the paper travel too: the bill prints as it did.
            const QString carried = QStringLiteral("select coalesce(CtlW,0),coalesce(CtlH,0),coalesce(CtlFontColor,''),"
                                                   "coalesce(Align,'') from ckControl where CheckTypeID=? order by ID");
            QCOMPARE(rows(m_target->db(), carried, {id}), rows(m_source->db(), carried, {sourceId}));
            const QString paper = QStringLiteral("select PWidth,PHeight from CKTypeTable where CheckTypeID=?");
            QCOMPARE(rows(m_target->db(), paper, {id}), rows(m_source->db(), paper, {sourceId}));
            QCOMPARE(configOf(*m_target, id), configOf(*m_source, sourceId));
        }
        if (!removeFirst) {
            // Replacing keeps each template's number and default flag.
            QCOMPARE(targetId(waybill), 1);
            QCOMPARE(rows(m_target->db(), QStringLiteral("select TypeName,IsDefault from CKTypeTable order by TypeName")).join('|'), oldDefaults);
        } else {
            QCOMPARE(targetValue(QStringLiteral("select count(*) from CKTypeTable where IsDefault<>'0'")).toInt(), 0);
        }
        QCOMPARE(targetValue(QStringLiteral("select count(*) from CKTypeTable")).toInt(), int(names.size()));
    }

    // Ticked, the template of the same full name is replaced under its number
    // with its configuration entries; unticked, a second template ".新" is added.
    void sameFullName_data()
    {
        QTest::addColumn<bool>("replace");
        QTest::addColumn<QString>("fullName");
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("templates");
        QTest::addColumn<QStringList>("oldConfig");
        QTest::newRow("更新旧版本单据") << true << waybill << 1 << 5 << QStringList{};
        QTest::newRow("保留旧版本") << false << QStringLiteral("快递单（通用快递单.新）") << 6 << 6
                                 << QStringList{QStringLiteral("cfgOld\t旧")};
    }
    void sameFullName()
    {
        QFETCH(bool, replace);
        QFETCH(QString, fullName);
        QFETCH(int, id);
        QFETCH(int, templates);
        QFETCH(QStringList, oldConfig);
        // The source's template differs in its items; the target's templates of the kind carry the user's offsets.
        QVERIFY(m_source->exec(QStringLiteral("delete from ckControl where CheckTypeID=1 and ID not in "
                                              "(select ID from ckControl where CheckTypeID=1 order by ID limit 3)")));
        QVERIFY(m_source->exec(QStringLiteral("update ckControl set CtlX=CtlX+7 where CheckTypeID=1")));
        QVERIFY(m_source->exec(QStringLiteral("update CKTypeTable set XMove=500,YMove=500 where CheckTypeID=1")));
        QVERIFY(m_target->exec(QStringLiteral("update CKTypeTable set XMove=33,YMove=-7 where TypeFirstName='快递单'")));
        const QStringList oldItems = itemsOf(*m_target, 1);
        QCOMPARE(exportFrom({waybill}, packagePath()).done, 1);

        QCOMPARE(importInto(packagePath(), {waybill}, replace).done, 1);
        QCOMPARE(targetId(fullName), id);
        QCOMPARE(targetValue(QStringLiteral("select count(*) from CKTypeTable")).toInt(), templates);
        QCOMPARE(rows(m_target->db(), QStringLiteral("select TypeFirstName,XMove,YMove from CKTypeTable where CheckTypeID=?"), {id}),
                 QStringList{QStringLiteral("快递单\t33\t-7")});
        QCOMPARE(itemsOf(*m_target, id).size(), 3);
        QCOMPARE(configOf(*m_target, id), configOf(*m_source, 1));
        if (!replace) {
            QCOMPARE(targetValue(QStringLiteral("select TypeDescribe from CKTypeTable where CheckTypeID=6")).toString(),
                     QStringLiteral("通用快递单.新"));
            QCOMPARE(itemsOf(*m_target, 1), oldItems);
            QVERIFY(QFile::exists(m_target->core->dir().imageDir() + "kdd6.jpg"));
        }
        QCOMPARE(configOf(*m_target, 1).contains(QStringLiteral("cfgOld\t旧")), !oldConfig.isEmpty());
        // Unticked twice: the names stay unique.
        if (!replace) {
            QCOMPARE(importInto(packagePath(), {waybill}, false).done, 1);
            QCOMPARE(targetId(QStringLiteral("快递单（通用快递单.新.新）")), 7);
        }
    }

    // Without a template of the kind in the installation the offsets stay empty.
    void noTemplateOfTheKindLeavesOffsetsEmpty()
    {
        QVERIFY(m_source->exec(QStringLiteral("update CKTypeTable set XMove=120,YMove=80 where CheckTypeID=1")));
        QVERIFY(m_target->exec(QStringLiteral("delete from CKTypeTable where TypeFirstName='快递单'")));
        QCOMPARE(exportFrom({waybill}, packagePath()).done, 1);
        QCOMPARE(importInto(packagePath(), {waybill}, true).done, 1);
        const int id = targetId(waybill);
        QCOMPARE(id, 6);
        QCOMPARE(rows(m_target->db(), QStringLiteral("select coalesce(XMove,0),coalesce(YMove,0) from CKTypeTable where CheckTypeID=?"), {id}),
                 QStringList{QStringLiteral("0\t0")});
    }

    // An older package without _Config: the row and picture arrive, no items, and the configuration step says it failed.
    void olderPackageWithoutConfig()
    {
        QCOMPARE(exportFrom({waybill}, packagePath()).done, 1);
        QVERIFY(test::execOnFile(packagePath(), {QStringLiteral("drop table _Config")}));
        QVERIFY(m_target->exec(QStringLiteral("delete from CKTypeTable where CheckTypeID=1")));
        QVERIFY(m_target->exec(QStringLiteral("delete from ckControl where CheckTypeID=1")));
        PackageReader package;
        QVERIFY(package.open(packagePath()));
        QVERIFY(!package.hasConfig());
        QCOMPARE(importInto(packagePath(), {waybill}, true).done, 1);
        const int id = targetId(waybill);
        QVERIFY(id > 0);
        QCOMPARE(itemsOf(*m_target, id), QStringList());
        QVERIFY(QFile::exists(m_target->core->dir().imageDir() + QStringLiteral("kdd%1.jpg").arg(id)));
        QVERIFY(m_target->dialogs.texts().contains(QStringLiteral("导入配置项目失败-") + waybill));
    }

    // A kind without a type code can only replace a template of the same full name.
    void kindWithoutTypeCode_data()
    {
        QTest::addColumn<bool>("present");
        QTest::addColumn<int>("imported");
        QTest::addColumn<QString>("message");
        QTest::newRow("replacing") << true << 1 << QStringLiteral("导入结束，成功导入单据1个!");
        QTest::newRow("as a new template") << false << 0 << QStringLiteral("导入失败，单据：测试单（样张）");
    }
    void kindWithoutTypeCode()
    {
        QFETCH(bool, present);
        QFETCH(int, imported);
        QFETCH(QString, message);
        QVERIFY(test::addTemplate(*m_source, {.id = 1000, .name = QStringLiteral("样张")}));
        QVERIFY(m_source->exec(QStringLiteral("update CKTypeTable set ImgFile='kdd1.jpg' where CheckTypeID=1000")));
        if (present)
            QVERIFY(test::addTemplate(*m_target, {.id = 900, .name = QStringLiteral("样张")}));
        QCOMPARE(exportFrom({QStringLiteral("测试单（样张）")}, packagePath()).done, 1);
        const QStringList before = dataState(*m_target);
        const TransferCount count = importInto(packagePath(), {QStringLiteral("测试单（样张）")}, true);
        QCOMPARE(count.done, imported);
        if (present) {
            QCOMPARE(PackageImporter::summaryText(count), message);
            QCOMPARE(targetValue(QStringLiteral("select ImgFile from CKTypeTable where CheckTypeID=900")).toString(),
                     QStringLiteral("img900.jpg"));
        } else {
            QCOMPARE(m_target->dialogs.texts().first(), message);
            QCOMPARE(dataState(*m_target), before);
            QCOMPARE(PackageImporter::summaryText(count), QStringLiteral("导入结束，失败1个!"));
        }
    }

    void proposedFileName_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("file");
        QTest::newRow("none") << QStringList{} << QStringLiteral("墨雀票据模板.tpk");
        QTest::newRow("one") << QStringList{waybill} << QStringLiteral("快递单-通用快递单.tpk");
        QTest::newRow("two") << QStringList{waybill, waybill2} << QStringLiteral("快递单-通用快递单等2个模板.tpk");
    }
    void proposedFileName()
    {
        QFETCH(QStringList, names);
        QFETCH(QString, file);
        QCOMPARE(PackageExporter::proposedFileName(names), file);
    }

    // A damaged package is refused by name before anything is written.
    void damagedPackageRefused_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("why");
        QTest::newRow("not a database") << "text" << "不是数据库";
        QTest::newRow("truncated") << "truncate" << "";
        QTest::newRow("missing table") << "drop table _CKTypeTable" << "缺少表 _CKTypeTable";
        QTest::newRow("missing column") << "alter table _CKTypeTable drop column TypeDescribe" << "缺少列 TypeDescribe";
        QTest::newRow("missing item column") << "alter table _ckControl drop column SrcX" << "缺少列 SrcX";
        QTest::newRow("picture not a picture") << "update _CKTypeTable set Img_Bytes=x'FFD8FFE000104A46'" << "图片无法识别";
        QTest::newRow("more than 1000 templates")
            << "insert into _CKTypeTable (CheckTypeID,TypeName) with recursive n(i) as (select 1 union all "
               "select i+1 from n where i<1000) select i+100,'快递单（'||i||'）' from n"
            << "超过 1000 个";
    }
    void damagedPackageRefused()
    {
        QFETCH(QString, damage);
        QFETCH(QString, why);
        QCOMPARE(exportFrom({waybill, waybill2}, packagePath()).done, 2);
        if (damage == QLatin1String("text")) {
            QFile f(packagePath());
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write("快递单（通用快递单）\n");
        } else if (damage == QLatin1String("truncate")) {
            QVERIFY(QFile::resize(packagePath(), QFileInfo(packagePath()).size() / 3));
        } else {
            QVERIFY(test::execOnFile(packagePath(), {damage}));
        }
        const QByteArray dataFile = fileBytes(m_target->core->dir().dataFile());
        const QStringList before = dataState(*m_target);
        PackageReader package;
        QVERIFY(!package.open(packagePath()));
        QVERIFY2(package.errorText().startsWith(QStringLiteral("票据包无法读取：") + packagePath() + '\n'), qPrintable(package.errorText()));
        QVERIFY2(package.errorText().contains(why), qPrintable(package.errorText()));
        QVERIFY(!package.isOpen());
        QCOMPARE(fileBytes(m_target->core->dir().dataFile()), dataFile);
        QCOMPARE(dataState(*m_target), before);
    }

    // Picture names come from the program only: a package's path never leads outside Image/.
    void pictureNameFromPackageIgnored_data()
    {
        QTest::addColumn<QString>("imgFile");
        QTest::newRow("parent folder") << "../evil.jpg";
        QTest::newRow("absolute") << "/tmp/moque-evil.jpg";
    }
    void pictureNameFromPackageIgnored()
    {
        QFETCH(QString, imgFile);
        QFile::remove(QStringLiteral("/tmp/moque-evil.jpg"));
        QCOMPARE(exportFrom({waybill}, packagePath()).done, 1);
        QVERIFY(test::execOnFile(packagePath(), {QStringLiteral("update _CKTypeTable set ImgFile='%1'").arg(imgFile)}));
        QCOMPARE(importInto(packagePath(), {waybill}, false).done, 1);
        QCOMPARE(targetValue(QStringLiteral("select ImgFile from CKTypeTable where CheckTypeID=6")).toString(),
                 QStringLiteral("kdd6.jpg"));
        QVERIFY(!QFile::exists(m_target->tempDir.filePath(QStringLiteral("evil.jpg"))));
        QVERIFY(!QFile::exists(QStringLiteral("/tmp/moque-evil.jpg")));
    }

    // A failure halfway leaves the data file as it was and writes no picture.
    void failureHalfwayLeavesNothing_data()
    {
        QTest::addColumn<bool>("replace");
        QTest::newRow("replacing") << true;
        QTest::newRow("adding") << false;
    }
    void failureHalfwayLeavesNothing()
    {
        QFETCH(bool, replace);
        QCOMPARE(exportFrom({waybill}, packagePath()).done, 1);
        QVERIFY(m_target->exec(QStringLiteral("create trigger no_items before insert on ckControl "
                                              "begin select raise(abort,'磁盘已满'); end")));
        const QStringList before = dataState(*m_target);
        const TransferCount count = importInto(packagePath(), {waybill}, replace);
        QCOMPARE(count.failed, 1);
        QCOMPARE(m_target->dialogs.texts(), QStringList{QStringLiteral("导入失败，单据：") + waybill});
        QCOMPARE(dataState(*m_target), before);
        QVERIFY(!QFile::exists(m_target->core->dir().imageDir() + QStringLiteral("kdd6.jpg")));
        QVERIFY(m_target->core->settings().file().value(QStringLiteral("ERROR"), QStringLiteral("LASTERROR")).contains(QStringLiteral("磁盘已满")));
    }

    // An export over an older file replaces it only when the package is whole; no temporary file is left.
    void exportOverOlderFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("written");
        QTest::addColumn<QString>("summary");
        QTest::newRow("finished") << waybill2 << true << QStringLiteral("导出完成,成功导出1个单据！");
        QTest::newRow("nothing exported") << QStringLiteral("快递单（没有这个）") << false
                                          << QStringLiteral("导出结束,失败1个模板！,模板未能导出成功！");
    }
    void exportOverOlderFile()
    {
        QFETCH(QString, name);
        QFETCH(bool, written);
        QFETCH(QString, summary);
        QFile old(packagePath());
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("older package");
        old.close();
        bool made = !written;
        const TransferCount count = exportFrom({name}, packagePath(), &made);
        QCOMPARE(made, written);
        QCOMPARE(PackageExporter::summaryText(count), summary);
        if (written) {
            PackageReader package;
            QVERIFY(package.open(packagePath()));
            QCOMPARE(package.fullNames(), QStringList{name});
        } else {
            QCOMPARE(fileBytes(packagePath()), QByteArray("older package"));
        }
        QCOMPARE(QDir(m_files.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("包.tpk")});
    }

    // The package says which program wrote it and lists its templates in order.
    void packageContents()
    {
        QVERIFY(m_source->exec(QStringLiteral("update CKTypeTable set IsDefault='默认' where CheckTypeID=1")));
        QCOMPARE(exportFrom({waybill2, waybill}, packagePath()).done, 2);
        PackageReader package;
        QVERIFY(package.open(packagePath()));
        QVERIFY(package.hasConfig());
        QCOMPARE(package.fullNames(), (QStringList{waybill2, waybill}));
        QCOMPARE(rows(package.db(), QStringLiteral("select DMValue from _Config where DMName='version' and CheckTypeId=0")),
                 QStringList{QStringLiteral("9.8")});
        QCOMPARE(rows(package.db(), QStringLiteral("select TypeName,Visiable,IsCommon,ShowOrd,IsDefault,Ini_Text from _CKTypeTable order by rowid")),
                 (QStringList{waybill2 + QStringLiteral("\t启用\t是\t0\t0\t "), waybill + QStringLiteral("\t启用\t是\t0\t默认\t ")}));
    }
};

QTEST_MAIN(TestTemplatesPackage)
#include "test_templates_package.moc"
