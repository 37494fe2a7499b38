#include "templates/TemplatePackage.h"

#include "common/Dialogs.h"
#include "settings/UserSettings.h"
#include "store/BoundQuery.h"
#include "store/Database.h"
#include "store/Schema.h"
#include "store/Store.h"
#include "templates/TemplateCatalog.h"
#include "templates/TemplateRow.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace moque::templates {

using store::execBound;

namespace {

QString newConnectionName(const char *what)
{
    static std::atomic<int> serial{0};
    return QStringLiteral("moque-%1-%2").arg(QLatin1String(what)).arg(++serial);
}

// Column names of a table, lower case; empty when the table cannot be read.
QStringList columnsOf(QSqlDatabase db, const QString &table)
{
    QStringList names;
    QSqlQuery q(db);
    if (!execBound(q, QStringLiteral("select name from pragma_table_info(:t)"), {{":t", table}}))
        return names;
    while (q.next())
        names << q.value(0).toString().toLower();
    return names;
}

// The first of the columns the table lacks, empty when it has them all.
QString missingColumn(QSqlDatabase db, const QString &table, const QStringList &required)
{
    const QStringList have = columnsOf(db, table);
    for (const QString &c : required)
        if (!have.contains(c.toLower()))
            return c;
    return {};
}

// A print item column as the package carries it, with the value taken for a missing one.
struct ItemColumn
{
    const char *name;
    bool number;
    const char *fallback; // nullptr: a missing number stays empty
};

const ItemColumn itemColumns[] = {
    {"CtlName", false, ""},       {"CtlCName", false, ""},     {"CtlType", false, "Text"},
    {"CtlX", true, nullptr},      {"CtlY", true, nullptr},     {"CtlH", true, nullptr},
    {"CtlW", true, nullptr},      {"CtlLH", true, "50"},       {"SrcX", true, "10"},
    {"SrcY", true, "10"},         {"SrcH", true, "20"},        {"SrcW", true, "50"},
    {"NeedPrint", true, "1"},     {"NeedShow", true, "1"},     {"CtlFontName", false, ""},
    {"CtlFontSize", true, nullptr}, {"BreakFontSize", true, "7"}, {"Bold", true, "0"},
    {"Italic", true, "0"},        {"UnderLine", true, "0"},    {"FitParam", false, ""},
    {"BreakNum", false, ""},      {"InitValue", false, ""},    {"ShowOrd", true, "0"},
    {"CtlFontColor", false, ""},  {"Align", false, ""},
};

// Columns older packages lack: a missing one imports as empty.
bool isOptional(const ItemColumn &c)
{
    return qstrcmp(c.name, "InitValue") == 0 || qstrcmp(c.name, "CtlFontColor") == 0 || qstrcmp(c.name, "Align") == 0;
}

// A whole number of the value, invalid when it holds none.
QVariant wholeNumber(const QVariant &v)
{
    if (v.isNull())
        return {};
    bool ok = false;
    const QString s = v.toString().trimmed();
    const qlonglong n = s.toLongLong(&ok);
    if (ok)
        return n;
    const double d = s.toDouble(&ok);
    if (ok && d > -2e9 && d < 2e9)
        return qlonglong(qRound64(d));
    return {};
}

QVariant itemValue(const ItemColumn &c, const QVariant &v)
{
    if (c.number) {
        QVariant n = wholeNumber(v);
        // A line height of 0 means the standard 50 as much as a missing one.
        if (!n.isValid() || (qstrcmp(c.name, "CtlLH") == 0 && n.toLongLong() == 0))
            return c.fallback ? QVariant(QString::fromLatin1(c.fallback).toLongLong()) : QVariant();
        return n;
    }
    const QString s = v.isNull() ? QString() : v.toString();
    return s.isEmpty() ? QString::fromLatin1(c.fallback) : s;
}

int toInt(const QVariant &v)
{
    const QVariant n = wholeNumber(v);
    return n.isValid() ? int(n.toLongLong()) : 0;
}

} // namespace

// --- reading a package ---------------------------------------------------

PackageReader::~PackageReader()
{
    close();
}

bool PackageReader::isPackageName(const QString &file)
{
    return file.contains(QLatin1String(".tpk"), Qt::CaseInsensitive)
           || file.contains(QLatin1String(".qvx"), Qt::CaseInsensitive);
}

QSqlDatabase PackageReader::db() const
{
    return QSqlDatabase::database(m_connection, false);
}

void PackageReader::close()
{
    m_entries.clear();
    m_hasConfig = m_hasKindColumn = false;
    m_itemColumns.clear();
    m_typeColumns.clear();
    if (m_connection.isEmpty())
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
    m_connection.clear();
}

bool PackageReader::refuse(const QString &why)
{
    close();
    m_error = QStringLiteral("票据包无法读取：%1\n%2").arg(QDir::toNativeSeparators(m_file), why);
    return false;
}

QStringList PackageReader::fullNames() const
{
    QStringList names;
    for (const PackageEntry &e : m_entries)
        names << e.fullName;
    return names;
}

bool PackageReader::open(const QString &file)
{
    close();
    m_file = file;
    m_error.clear();
    const QFileInfo info(file);
    if (!info.isFile())
        return refuse(QStringLiteral("文件不存在"));
    if (!store::Database::looksLikeDatabase(file))
        return refuse(QStringLiteral("文件不是票据包（不是数据库文件）"));
    m_connection = newConnectionName("package");
    QString openError;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
        db.setDatabaseName(file);
        // Reading only: a package chosen for import is never changed.
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=2000"));
        if (!db.open())
            openError = db.lastError().text();
    }
    if (!openError.isEmpty())
        return refuse(openError);
    const QString why = check();
    return why.isEmpty() ? true : refuse(why);
}

// Everything the import reads, checked before anything is imported; the reason when refused.
QString PackageReader::check()
{
    QSqlDatabase db = this->db();
    const QString damage = store::Database::integrityProblem(db);
    if (!damage.isEmpty())
        return QStringLiteral("文件已损坏：") + damage;
    const QString types = QStringLiteral("_CKTypeTable");
    if (!store::Database::missingTable(db, {types}).isEmpty())
        return QStringLiteral("缺少表 ") + types;
    m_hasConfig = store::Database::missingTable(db, {QStringLiteral("_Config")}).isEmpty();
    QString missing = missingColumn(db, types,
                                    {QStringLiteral("CheckTypeID"), QStringLiteral("TypeName"),
                                     QStringLiteral("TypeDescribe"), QStringLiteral("XMove"), QStringLiteral("YMove"),
                                     QStringLiteral("TWidth"), QStringLiteral("THeight"), QStringLiteral("HVPrint"),
                                     QStringLiteral("CheckBoxs"), QStringLiteral("Img_Bytes")});
    if (!missing.isEmpty())
        return QStringLiteral("表 %1 缺少列 %2").arg(types, missing);
    m_typeColumns = columnsOf(db, types);
    m_hasKindColumn = m_typeColumns.contains(QStringLiteral("typefirstname"));
    if (m_hasConfig) {
        const QString controls = QStringLiteral("_ckControl");
        if (!store::Database::missingTable(db, {controls}).isEmpty())
            return QStringLiteral("缺少表 ") + controls;
        QStringList required{QStringLiteral("CheckTypeID")};
        for (const ItemColumn &c : itemColumns)
            if (!isOptional(c))
                required << QLatin1String(c.name);
        missing = missingColumn(db, controls, required);
        if (!missing.isEmpty())
            return QStringLiteral("表 %1 缺少列 %2").arg(controls, missing);
        m_itemColumns = columnsOf(db, controls);
        missing = missingColumn(db, QStringLiteral("_Config"),
                                {QStringLiteral("DMName"), QStringLiteral("DMValue"), QStringLiteral("CheckTypeId")});
        if (!missing.isEmpty())
            return QStringLiteral("表 _Config 缺少列 ") + missing;
    }

    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("select count(*) from _CKTypeTable")) || !q.next())
        return q.lastError().text();
    const qlonglong count = q.value(0).toLongLong();
    if (count > maxTemplates)
        return QStringLiteral("票据包列出 %1 个票据，超过 %2 个").arg(count).arg(maxTemplates);
    q.finish();
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("select CheckTypeID,TypeName,Img_Bytes from _CKTypeTable order by rowid")))
        return q.lastError().text();
    while (q.next()) {
        const PackageEntry entry{toInt(q.value(0)), q.value(1).toString()};
        const QByteArray picture = q.value(2).toByteArray();
        QImage image;
        if (!picture.isEmpty() && !image.loadFromData(picture))
            return QStringLiteral("票据“%1”的图片无法识别").arg(entry.fullName);
        m_entries << entry;
    }
    if (q.lastError().isValid())
        return q.lastError().text();
    return {};
}

QByteArray PackageReader::pictureBytes(const QString &fullName) const
{
    QSqlQuery q(db());
    if (!execBound(q, QStringLiteral("select Img_Bytes from _CKTypeTable where TypeName=:name order by rowid limit 1"),
                   {{":name", fullName}})
        || !q.next())
        return {};
    return q.value(0).toByteArray();
}

// --- importing -----------------------------------------------------------

PackageImporter::PackageImporter(QSqlDatabase db, Dialogs &dialogs, const store::DataDirectory &dir,
                                 settings::UserSettings *settings)
    : m_db(db), m_dialogs(dialogs), m_dir(dir), m_settings(settings)
{
}

void PackageImporter::noteError(const QString &text, const QString &engineMessage)
{
    m_dialogs.warning(text);
    if (m_settings) {
        m_settings->file().setValue(QStringLiteral("ERROR"), QStringLiteral("LASTERROR"), engineMessage);
        m_settings->flush();
    }
}

bool PackageImporter::importTemplate(const PackageReader &package, const QString &fullName, bool replaceOld,
                                     ImportedTemplate *imported)
{
    QSqlDatabase pkg = package.db();
    QString columns = QStringLiteral("CheckTypeID,TypeName,TypeDescribe,XMove,YMove,TWidth,THeight,HVPrint,"
                                     "CheckBoxs,Img_Bytes");
    if (package.hasKindColumn())
        columns += QStringLiteral(",TypeFirstName");
    // The paper size, for a preview and a PDF as they were; older packages lack it.
    const bool hasPaper = package.hasTypeColumn(QStringLiteral("PWidth")) && package.hasTypeColumn(QStringLiteral("PHeight"));
    if (hasPaper)
        columns += QStringLiteral(",PWidth,PHeight");
    QSqlQuery row(pkg);
    if (!execBound(row, QStringLiteral("select %1 from _CKTypeTable where TypeName=:name order by rowid").arg(columns),
                   {{":name", fullName}})
        || !row.next()) {
        const QString why = row.lastError().isValid() ? row.lastError().text() : QStringLiteral("票据包里没有这个票据");
        noteError(QStringLiteral("导入失败，单据：") + fullName, why);
        return false;
    }
    const int packageId = toInt(row.value(0));
    // Rows marked -1 are not templates of the package.
    if (packageId == -1)
        return false;
    QString displayName = row.value(2).toString();
    const int packageX = toInt(row.value(3));
    const int packageY = toInt(row.value(4));
    const int width = toInt(row.value(5));
    const int height = toInt(row.value(6));
    const int orientation = toInt(row.value(7));
    const QString checkBoxes = row.value(8).toString();
    const QByteArray picture = row.value(9).toByteArray();
    QString kind = package.hasKindColumn() ? row.value(10).toString() : QString();
    const int paperAt = package.hasKindColumn() ? 11 : 10;
    const QVariant paperWidth = hasPaper && toInt(row.value(paperAt)) > 0 ? QVariant(toInt(row.value(paperAt))) : QVariant();
    const QVariant paperHeight =
        hasPaper && toInt(row.value(paperAt + 1)) > 0 ? QVariant(toInt(row.value(paperAt + 1))) : QVariant();
    row.finish();
    if (kind.isEmpty())
        kind = TemplateCatalog::kindOfFullName(fullName);
    if (kind == fullName)
        kind.clear();

    bool writing = false;
    auto fail = [&](const QString &why) {
        if (writing)
            m_db.rollback();
        noteError(QStringLiteral("导入失败，单据：") + fullName, why);
        return false;
    };
    if (kind.isEmpty())
        return fail(QStringLiteral("票据种类为空"));
    if (!m_db.transaction())
        return fail(m_db.lastError().text());
    writing = true;

    QSqlQuery q(m_db);
    QString oldDefault;
    auto existing = [&](const QString &name, QVariant &id) {
        if (!execBound(q, QStringLiteral("select CheckTypeID,IsDefault from CKTypeTable where TypeName=:name"),
                       {{":name", name}}))
            return false;
        const bool found = q.next();
        id = found ? q.value(0) : QVariant();
        oldDefault = found ? q.value(1).toString() : QString();
        q.finish();
        return true;
    };
    QVariant oldId;
    if (!existing(fullName, oldId))
        return fail(q.lastError().text());
    const QString code = TemplateCatalog::getTypeCodeByTypeName(kind);
    QString newFullName = fullName;
    int number = 0;
    bool replaced = false;
    // A package never brings a default; a replaced template stays its kind's default when it was one.
    QString isDefault = marker::notDefault;
    if (oldId.isValid() && replaceOld) {
        number = oldId.toInt();
        if (oldDefault == marker::isDefault)
            isDefault = marker::isDefault;
        if (!execBound(q, QStringLiteral("delete from CKTypeTable where TypeName=:name"), {{":name", fullName}})
            || !execBound(q, QStringLiteral("delete from ckControl where CheckTypeID=:id"), {{":id", number}}))
            return fail(q.lastError().text());
        replaced = true;
    } else {
        if (oldId.isValid()) {
            // The full name is built again from the new display name so that no two templates share one.
            QVariant taken;
            do {
                displayName += QStringLiteral(".新");
                newFullName = TemplateRow::makeFullName(kind, displayName);
                if (!existing(newFullName, taken))
                    return fail(q.lastError().text());
            } while (taken.isValid());
        }
        if (code.isEmpty())
            return fail(QStringLiteral("票据种类“%1”没有类型代码，不能新建票据").arg(kind));
        if (!q.exec(QStringLiteral("select max(CheckTypeID) from CKTypeTable")) || !q.next())
            return fail(q.lastError().text());
        number = q.value(0).isNull() ? 1 : q.value(0).toInt() + 1;
        q.finish();
    }
    const QString pictureName = (code.isEmpty() ? QStringLiteral("img") : code) + QString::number(number)
                                + QStringLiteral(".jpg");

    store::Store store(m_db, m_dialogs);
    TemplateCatalog catalog(m_db, m_dialogs, store);
    int x = 0;
    int y = 0;
    QString offsetError;
    QVariant xMove;
    QVariant yMove;
    if (catalog.loadUserXYMoveByFirstName(kind, x, y, &offsetError)) {
        xMove = x;
        yMove = y;
    } else if (!offsetError.isEmpty()) {
        xMove = packageX;
        yMove = packageY;
    }
    if (!execBound(q,
                   QStringLiteral("insert into CKTypeTable (CheckTypeID,TypeName,TypeFirstName,TypeDescribe,XMove,YMove,"
                                  "THeight,TWidth,HVPrint,ImgFile,Visiable,CheckBoxs,IsCommon,ShowOrd,IsDefault,"
                                  "PWidth,PHeight) values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
                   QVariantList{number, newFullName, kind, displayName, xMove, yMove, height, width, orientation,
                                pictureName, marker::enabled, checkBoxes, marker::common, 0, isDefault, paperWidth,
                                paperHeight}))
        return fail(q.lastError().text());

    if (package.hasConfig()) {
        QStringList names;
        for (const ItemColumn &c : itemColumns)
            if (!isOptional(c) || package.hasItemColumn(QLatin1String(c.name)))
                names << QLatin1String(c.name);
        QSqlQuery items(pkg);
        items.setForwardOnly(true);
        if (!execBound(items,
                       QStringLiteral("select %1 from _ckControl where CheckTypeID=:id order by rowid")
                           .arg(names.join(QLatin1Char(','))),
                       {{":id", packageId}}))
            return fail(items.lastError().text());
        QStringList all;
        for (const ItemColumn &c : itemColumns)
            all << QLatin1String(c.name);
        const QString insert = QStringLiteral("insert into ckControl (CheckTypeID,%1) values (?%2)")
                                   .arg(all.join(QLatin1Char(',')), QStringLiteral(",?").repeated(all.size()));
        if (!q.prepare(insert))
            return fail(q.lastError().text());
        while (items.next()) {
            q.bindValue(0, number);
            int at = 0;
            int place = 1;
            for (const ItemColumn &c : itemColumns) {
                const bool read = !isOptional(c) || package.hasItemColumn(QLatin1String(c.name));
                q.bindValue(place++, itemValue(c, read ? items.value(at++) : QVariant()));
            }
            if (!q.exec())
                return fail(q.lastError().text());
        }
        if (items.lastError().isValid())
            return fail(items.lastError().text());

        // Configuration entries: a failure here is reported, the template stays.
        QString configError;
        QSqlQuery entries(pkg);
        q.exec(QStringLiteral("SAVEPOINT package_config"));
        const bool configured =
            execBound(q, QStringLiteral("delete from DMTable where CheckTypeId=:id"), {{":id", number}})
            && execBound(entries,
                         QStringLiteral("select DMName,DMValue from _Config where CheckTypeId=:id "
                                        "and not (CheckTypeId=0 and DMName='version') order by rowid"),
                         {{":id", packageId}})
            && [&] {
                   if (!q.prepare(QStringLiteral("insert into DMTable (DMName,DMValue,CheckTypeId) values (?,?,?)")))
                       return false;
                   while (entries.next()) {
                       q.bindValue(0, entries.value(0));
                       q.bindValue(1, entries.value(1));
                       q.bindValue(2, number);
                       if (!q.exec())
                           return false;
                   }
                   return !entries.lastError().isValid();
               }();
        if (!configured) {
            configError = q.lastError().isValid() ? q.lastError().text() : entries.lastError().text();
            q.exec(QStringLiteral("ROLLBACK TO package_config"));
        }
        q.exec(QStringLiteral("RELEASE package_config"));
        if (!m_db.commit())
            return fail(m_db.lastError().text());
        if (!configured)
            noteError(QStringLiteral("导入配置项目失败-") + fullName, configError);
    } else {
        if (!m_db.commit())
            return fail(m_db.lastError().text());
        noteError(QStringLiteral("导入配置项目失败-") + fullName, QStringLiteral("no such table: _Config"));
    }

    // The picture's name is the program's own, never the package's, so it lands in Image/ whatever the package says.
    if (!picture.isEmpty()) {
        QDir().mkpath(m_dir.imageDir());
        QSaveFile file(m_dir.imageDir() + pictureName);
        if (!file.open(QIODevice::WriteOnly) || file.write(picture) != picture.size() || !file.commit())
            noteError(QStringLiteral("图片保存失败,") + QDir::toNativeSeparators(file.fileName()), file.errorString());
    }
    if (imported)
        *imported = {number, newFullName, replaced};
    return true;
}

TransferCount PackageImporter::importTemplates(
    const PackageReader &package, const QStringList &fullNames, bool replaceOld,
    const std::function<void(int done, int total, const ImportedTemplate *)> &progress)
{
    TransferCount count;
    for (int i = 0; i < fullNames.size(); ++i) {
        ImportedTemplate imported;
        const bool ok = importTemplate(package, fullNames.at(i), replaceOld, &imported);
        ok ? ++count.done : ++count.failed;
        if (progress)
            progress(i + 1, int(fullNames.size()), ok ? &imported : nullptr);
    }
    return count;
}

QString PackageImporter::summaryText(const TransferCount &count)
{
    if (count.failed == 0)
        return QStringLiteral("导入结束，成功导入单据%1个!").arg(count.done);
    if (count.done == 0)
        return QStringLiteral("导入结束，失败%1个!").arg(count.failed);
    return QStringLiteral("导入结束，成功导入单据%1个，失败%2个!").arg(count.done).arg(count.failed);
}

// --- exporting -----------------------------------------------------------

PackageExporter::PackageExporter(QSqlDatabase db, Dialogs &dialogs, const store::DataDirectory &dir,
                                 QString appVersion, settings::UserSettings *settings)
    : m_db(db), m_dialogs(dialogs), m_dir(dir), m_version(std::move(appVersion)), m_settings(settings)
{
}

void PackageExporter::noteError(const QString &text, const QString &engineMessage)
{
    m_dialogs.warning(text);
    if (m_settings) {
        m_settings->file().setValue(QStringLiteral("ERROR"), QStringLiteral("LASTERROR"), engineMessage);
        m_settings->flush();
    }
}

QString PackageExporter::proposedFileName(const QStringList &fullNames)
{
    if (fullNames.isEmpty())
        return QStringLiteral("墨雀票据模板.tpk");
    QString name = fullNames.first();
    name.replace(QStringLiteral("（"), QStringLiteral("-")).remove(QStringLiteral("）"));
    if (fullNames.size() == 1)
        return name + QStringLiteral(".tpk");
    return name + QStringLiteral("等%1个模板.tpk").arg(fullNames.size());
}

QString PackageExporter::summaryText(const TransferCount &count)
{
    if (count.failed == 0)
        return QStringLiteral("导出完成,成功导出%1个单据！").arg(count.done);
    const QString head = QStringLiteral("导出结束,失败%1个模板！").arg(count.failed);
    return count.done == 0 ? head + QStringLiteral(",模板未能导出成功！")
                           : head + QStringLiteral("成功导出%1个模板").arg(count.done);
}

TransferCount PackageExporter::exportTemplates(const QStringList &fullNames, const QString &target, bool *written,
                                               const std::function<void(int done, int total)> &progress)
{
    if (written)
        *written = false;
    TransferCount count;
    const int total = int(fullNames.size());
    if (progress)
        progress(0, total);
    const QFileInfo targetInfo(target);
    QTemporaryFile temp(targetInfo.absoluteDir().filePath(QStringLiteral(".moque-package-XXXXXX.tpk")));
    QString why;
    if (!temp.open()) {
        why = temp.errorString();
    } else {
        QFile skeleton(m_dir.packageSkeleton());
        // Without its skeleton the package's tables are made from the schema below.
        if (skeleton.open(QIODevice::ReadOnly) && temp.write(skeleton.readAll()) < 0)
            why = temp.errorString();
        temp.close();
    }
    if (!why.isEmpty()) {
        noteError(QStringLiteral("导出失败，无法写入：") + QDir::toNativeSeparators(target), why);
        count.failed = total;
        return count;
    }

    const QString connection = newConnectionName("export");
    bool complete = false;
    {
        QSqlDatabase pkg = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        pkg.setDatabaseName(temp.fileName());
        if (!pkg.open())
            why = pkg.lastError().text();
        else
            why = store::createMissingTables(pkg, store::packageTables());
        QSqlQuery q(pkg);
        if (why.isEmpty()) {
            // The skeleton should be empty; whatever it holds stays out of the package.
            if (!pkg.transaction() || !q.exec(QStringLiteral("delete from _CKTypeTable"))
                || !q.exec(QStringLiteral("delete from _ckControl")) || !q.exec(QStringLiteral("delete from _Config"))
                || !execBound(q,
                              QStringLiteral("insert into _Config (DMName,DMValue,CheckTypeId) values "
                                             "('version',:version,0)"),
                              {{":version", m_version}}))
                why = q.lastError().isValid() ? q.lastError().text() : pkg.lastError().text();
        }
        if (why.isEmpty()) {
            int at = 0;
            for (const QString &name : fullNames) {
                ++at;
                if (!name.isEmpty()) {
                    q.exec(QStringLiteral("SAVEPOINT package_template"));
                    const bool ok = exportOne(pkg, name);
                    if (!ok)
                        q.exec(QStringLiteral("ROLLBACK TO package_template"));
                    q.exec(QStringLiteral("RELEASE package_template"));
                    ok ? ++count.done : ++count.failed;
                }
                if (progress)
                    progress(at, total);
            }
            if (count.done > 0 && pkg.commit())
                complete = true;
            else
                pkg.rollback();
        }
        q.finish();
        pkg.close();
    }
    QSqlDatabase::removeDatabase(connection);
    if (!why.isEmpty()) {
        noteError(QStringLiteral("导出失败，无法写入：") + QDir::toNativeSeparators(target), why);
        count.failed = total - count.done;
        return count;
    }
    if (complete) {
        // Renamed over the target in one step: the old package stays until the new one is whole.
        temp.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                            | QFileDevice::ReadOther);
        if (std::rename(QFile::encodeName(temp.fileName()).constData(), QFile::encodeName(target).constData()) == 0) {
            temp.setAutoRemove(false);
            if (written)
                *written = true;
        } else {
            noteError(QStringLiteral("导出失败，无法写入：") + QDir::toNativeSeparators(target),
                      QString::fromLocal8Bit(std::strerror(errno)));
            count.failed += count.done;
            count.done = 0;
        }
    }
    return count;
}

bool PackageExporter::exportOne(QSqlDatabase package, const QString &fullName)
{
    QSqlQuery row(m_db);
    if (!execBound(row,
                   QStringLiteral("select CheckTypeID,TypeName,TypeFirstName,TypeDescribe,XMove,YMove,THeight,TWidth,"
                                  "HVPrint,ImgFile,CheckBoxs,IsDefault,PWidth,PHeight from CKTypeTable "
                                  "where TypeName=:name"),
                   {{":name", fullName}})
        || !row.next()) {
        noteError(QStringLiteral("导出失败，单据：") + fullName,
                  row.lastError().isValid() ? row.lastError().text() : QStringLiteral("没有这个票据"));
        return false;
    }
    const int id = row.value(0).toInt();
    const QString imageFile = row.value(9).toString();
    const QString picturePath = m_dir.imageDir() + imageFile;
    QByteArray picture;
    QFile file(picturePath);
    if (!imageFile.isEmpty() && file.open(QIODevice::ReadOnly))
        picture = file.readAll();
    else
        m_dialogs.warning(QStringLiteral("图片获取失败,") + QDir::toNativeSeparators(picturePath));

    QSqlQuery q(package);
    const QVariantList values{id,
                              row.value(1),
                              row.value(2),
                              row.value(3),
                              row.value(4),
                              row.value(5),
                              row.value(6),
                              row.value(7),
                              row.value(8),
                              imageFile,
                              marker::enabled,
                              row.value(10),
                              marker::common,
                              0,
                              row.value(11).toString() == marker::isDefault ? marker::isDefault : marker::notDefault,
                              row.value(12),
                              row.value(13),
                              picture,
                              QStringLiteral(" ")};
    row.finish();
    if (!execBound(q,
                   QStringLiteral("insert into _CKTypeTable (CheckTypeID,TypeName,TypeFirstName,TypeDescribe,XMove,"
                                  "YMove,THeight,TWidth,HVPrint,ImgFile,Visiable,CheckBoxs,IsCommon,ShowOrd,IsDefault,"
                                  "PWidth,PHeight,Img_Bytes,Ini_Text) values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
                   values)) {
        noteError(QStringLiteral("导出失败，单据：") + fullName, q.lastError().text());
        return false;
    }

    QStringList names;
    for (const ItemColumn &c : itemColumns)
        names << QLatin1String(c.name);
    const QString columns = names.join(QLatin1Char(','));
    QSqlQuery items(m_db);
    items.setForwardOnly(true);
    bool ok = execBound(items, QStringLiteral("select %1 from ckControl where CheckTypeID=:id order by ID").arg(columns),
                        {{":id", id}})
              && q.prepare(QStringLiteral("insert into _ckControl (CheckTypeID,%1) values (?%2)")
                               .arg(columns, QStringLiteral(",?").repeated(names.size())));
    while (ok && items.next()) {
        q.bindValue(0, id);
        int at = 0;
        for (const ItemColumn &c : itemColumns) {
            q.bindValue(at + 1, itemValue(c, items.value(at)));
            ++at;
        }
        ok = q.exec();
    }
    if (!ok || items.lastError().isValid()) {
        const QString message = q.lastError().isValid() ? q.lastError().text() : items.lastError().text();
        noteError(QStringLiteral("Export Controls Error:") + message, message);
        return false;
    }

    // Configuration entries: a failure here is reported, the template stays in the package.
    QSqlQuery entries(m_db);
    q.exec(QStringLiteral("SAVEPOINT package_config"));
    bool configured = execBound(entries,
                                QStringLiteral("select DMName,DMValue from DMTable where CheckTypeId=:id order by ID"),
                                {{":id", id}})
                      && q.prepare(QStringLiteral("insert into _Config (DMName,DMValue,CheckTypeId) values (?,?,?)"));
    while (configured && entries.next()) {
        q.bindValue(0, entries.value(0));
        q.bindValue(1, entries.value(1));
        q.bindValue(2, id);
        configured = q.exec();
    }
    if (!configured || entries.lastError().isValid()) {
        const QString message = q.lastError().isValid() ? q.lastError().text() : entries.lastError().text();
        q.exec(QStringLiteral("ROLLBACK TO package_config"));
        noteError(QStringLiteral("导出配置项目失败-") + fullName, message);
    }
    q.exec(QStringLiteral("RELEASE package_config"));
    return true;
}

} // namespace moque::templates
