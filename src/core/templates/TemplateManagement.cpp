#include "templates/TemplateManagement.h"

#include "common/Dialogs.h"
#include "common/Helpers.h"
#include "store/BoundQuery.h"
#include "store/Store.h"
#include "templates/TemplateCatalog.h"
#include "templates/TemplateRow.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

namespace moque::templates {

using store::execBound;

namespace {

const QString listStart = QStringLiteral(
    "SELECT CheckTypeID as 编号,TypeName as 模板种类,isdefault as 默认,IsCommon as 常用, Visiable as 是否启用,"
    "TypeFirstName,ImgFile as 底图 From CKTypeTable Where ");
const QString invalidNameText = QStringLiteral("输入了无效的字符(引号\\?\\*\\(\\)\\%)!");
const QString failedChangeText = QStringLiteral("修改失败，错误=");

// Rolls back on leaving the scope unless committed, so that every early
// return of a command leaves the data file as it was.
class Transaction
{
public:
    explicit Transaction(QSqlDatabase db) : m_db(db) { m_open = m_db.transaction(); }
    ~Transaction()
    {
        if (m_open)
            m_db.rollback();
    }
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    bool isOpen() const { return m_open; }
    bool commit()
    {
        if (!m_open || !m_db.commit())
            return false;
        m_open = false;
        return true;
    }

private:
    QSqlDatabase m_db;
    bool m_open = false;
};

// Runs one bound statement; false with the engine's message in `error`.
bool run(QSqlDatabase db, const QString &sql, const QVariantList &values, QString &error, int *affected = nullptr)
{
    QSqlQuery q(db);
    if (!execBound(q, sql, values, error))
        return false;
    if (affected)
        *affected = q.numRowsAffected();
    return true;
}

// The first value of the first row, invalid when there is no row.
QVariant firstValue(QSqlDatabase db, const QString &sql, const QVariantList &values, QString &error)
{
    QSqlQuery q(db);
    if (!execBound(q, sql, values, error) || !q.next())
        return {};
    return q.value(0);
}

QString transactionError(QSqlDatabase db)
{
    const QString text = db.lastError().text();
    return text.isEmpty() ? QStringLiteral("transaction") : text;
}

} // namespace

TemplateManagement::TemplateManagement(QSqlDatabase db, Dialogs &dialogs, store::Store &store,
                                       const QString &imageDir)
    : m_db(db)
    , m_dialogs(dialogs)
    , m_store(store)
    , m_imageDir(imageDir)
{
}

TemplateManagement::ListQuery TemplateManagement::listQuery(Tab tab, const QString &kind, const QString &keyword)
{
    ListQuery l;
    l.sql = listStart;
    switch (tab) {
    case Tab::Usable:
        l.sql += QStringLiteral(" Visiable=?");
        l.values << marker::enabled;
        break;
    case Tab::Common:
        l.sql += QStringLiteral(" Visiable=? and IsCommon=?");
        l.values << marker::enabled << marker::common;
        break;
    case Tab::Default:
        l.sql += QStringLiteral(" Visiable=? and isDefault=?");
        l.values << marker::enabled << marker::isDefault;
        break;
    case Tab::Hidden:
        l.sql += QStringLiteral(" Visiable<>?");
        l.values << marker::enabled;
        break;
    }
    if (!kind.isEmpty() && kind != allKinds) {
        l.sql += QStringLiteral(" and TypeName like ? ");
        l.values << kind + QLatin1Char('%');
    }
    if (!keyword.isEmpty()) {
        l.sql += QStringLiteral(" and TypeName like ?");
        l.values << QLatin1Char('%') + keyword.toUpper() + QLatin1Char('%');
    }
    l.sql += QStringLiteral(" order by TypeName");
    return l;
}

TemplateManagement::Buttons TemplateManagement::buttonsFor(Tab tab)
{
    switch (tab) {
    case Tab::Usable:
        return {.setDefault = true, .setCommon = true, .hide = true, .remove = true};
    case Tab::Common:
        return {.setDefault = true, .hide = true, .removeCommon = true, .remove = true};
    case Tab::Default:
        return {};
    case Tab::Hidden:
        return {.setDefault = true, .setCommon = true, .enable = true, .remove = true};
    }
    return {};
}

QString TemplateManagement::defaultButtonCaption(const QString &kind)
{
    return QStringLiteral("设置为【默认】") + (kind.isEmpty() || kind == allKinds ? QStringLiteral("模板") : kind);
}

QString TemplateManagement::commonButtonCaption(const QString &kind)
{
    return QStringLiteral("设置为【常用】") + (kind.isEmpty() || kind == allKinds ? QStringLiteral("模板") : kind);
}

QString TemplateManagement::windowCaption(const QString &kindText, int rows)
{
    return kindText + QStringLiteral("模板管理(查询") + QString::number(rows) + QStringLiteral("个)");
}

QString TemplateManagement::cleanName(const QString &typed)
{
    QString name = typed.trimmed();
    static const QString removed = QStringLiteral("()（）'%*?");
    name.removeIf([](QChar c) { return removed.contains(c) || c.isSpace(); });
    return name;
}

bool TemplateManagement::setDefault(int templateId)
{
    if (templateId <= 0) {
        m_dialogs.warning(QStringLiteral("没有选中要设置的票据模板！"));
        return false;
    }
    const QString kind = TemplateCatalog(m_db, m_dialogs, m_store).loadCheckTypeFirstNameByID(templateId);
    QString error;
    Transaction t(m_db);
    if (!t.isOpen()) {
        m_dialogs.error(QStringLiteral("模板设置失败,中止！~"));
        return false;
    }
    if (!run(m_db, QStringLiteral("update cktypetable set IsDefault=? where (TypeFirstName=?)"),
             {marker::notDefault, kind}, error)
        || !run(m_db,
                QStringLiteral("update cktypetable set IsDefault=?,visiable=?,IsCommon=? where checktypeid=?"),
                {marker::isDefault, marker::enabled, marker::common, templateId}, error)
        || !t.commit()) {
        m_dialogs.error(QStringLiteral("模板设置失败,中止！~"));
        return false;
    }
    m_dialogs.info(QStringLiteral("默认【") + kind + QStringLiteral("票据】模板设置成功！"));
    return true;
}

int TemplateManagement::writeCommon(const QList<int> &templateIds, bool common)
{
    Transaction t(m_db);
    QString error;
    int count = 0;
    bool ok = t.isOpen();
    for (int id : templateIds) {
        if (!ok)
            break;
        if (!common) {
            const QVariant isDefault = firstValue(
                m_db, QStringLiteral("select IsDefault from ckTypeTable where CheckTypeID=?"), {id}, error);
            if (!error.isEmpty()) {
                ok = false;
                break;
            }
            if (isDefault.toString() == marker::isDefault) {
                m_dialogs.warning(QStringLiteral("默认模板不能从常用模板移出！"));
                continue;
            }
        }
        int affected = 0;
        ok = run(m_db, QStringLiteral("update ckTypeTable set Visiable=?,IsCommon=? where CheckTypeID=?"),
                 {marker::enabled, common ? marker::common : marker::notCommon, id}, error, &affected);
        if (affected > 0)
            ++count;
    }
    if (!ok || !t.commit()) {
        m_dialogs.error(QStringLiteral("模板设置失败,中止！~"));
        return -1;
    }
    if (common)
        m_dialogs.info(QStringLiteral("共添加 ") + QString::number(count) + QStringLiteral(" 个模板为常用模板！")
                       + QStringLiteral("\n\n新设置常用快递后，请重开快递单填开界面生效~"));
    else
        m_dialogs.info(QStringLiteral("共从常用模板移出 ") + QString::number(count)
                       + QStringLiteral(" 个模板为普通模板！"));
    return count;
}

int TemplateManagement::setCommon(const QList<int> &templateIds)
{
    return writeCommon(templateIds, true);
}

int TemplateManagement::removeFromCommon(const QList<int> &templateIds)
{
    return writeCommon(templateIds, false);
}

bool TemplateManagement::writeVisibility(const QList<int> &templateIds, const QString &visible)
{
    Transaction t(m_db);
    QString error;
    bool ok = t.isOpen();
    for (int id : templateIds) {
        if (!ok)
            break;
        ok = run(m_db, QStringLiteral("update CkTypeTable set visiable=? where checktypeid=?"), {visible, id}, error);
    }
    if (!ok || !t.commit()) {
        m_dialogs.error(QStringLiteral("模板设置失败,中止！~"));
        return false;
    }
    return true;
}

bool TemplateManagement::hide(const QList<int> &templateIds)
{
    if (templateIds.isEmpty() || !writeVisibility(templateIds, marker::hidden))
        return false;
    m_dialogs.info(QStringLiteral("隐藏的模板，可在【隐藏的模板】中重新启用。"));
    return true;
}

bool TemplateManagement::enable(const QList<int> &templateIds)
{
    return !templateIds.isEmpty() && writeVisibility(templateIds, marker::enabled);
}

bool TemplateManagement::pictureUsedElsewhere(const QString &picture, int templateId)
{
    QString error;
    const QVariant n = firstValue(
        m_db, QStringLiteral("select count(*) from ckTypeTable where upper(ImgFile)=upper(?) and CheckTypeID<>?"),
        {picture, templateId}, error);
    return !error.isEmpty() || n.toInt() > 0;
}

int TemplateManagement::deleteTemplates(const QList<int> &templateIds)
{
    if (templateIds.isEmpty())
        return 0;
    const QString failed = QStringLiteral("模板删除失败,中止！~");
    int count = 0;
    if (m_dialogs.alert(QStringLiteral("确认要删除选中的模板吗?删除的模板无法找回，如果暂时不用，可先设置为隐藏。"),
                        QStringLiteral("删除确认"), true)) {
        for (int id : templateIds) {
            QString error;
            QSqlQuery row(m_db);
            if (!execBound(row, QStringLiteral("select TypeName,ImgFile from ckTypeTable where CheckTypeID=?"), {id},
                           error)) {
                m_dialogs.error(failed);
                return -1;
            }
            if (!row.next())
                continue;
            const QString fullName = row.value(0).toString();
            const QString picture = row.value(1).toString();
            if (TemplateCatalog::kindOfFullName(fullName).isEmpty()) {
                m_dialogs.warning(QStringLiteral("获取单据类型失败：") + fullName);
                continue;
            }
            if (!m_dialogs.ask(QStringLiteral("确认删除票据模板【") + fullName + QStringLiteral("】吗？"),
                               QStringLiteral("警告"), Dialogs::Icon::Question))
                continue;
            Transaction t(m_db);
            if (!t.isOpen()
                || !run(m_db, QStringLiteral("delete from ckcontrol where checktypeid=?"), {id}, error)
                || !run(m_db, QStringLiteral("delete from ckTypeTable where checktypeid=?"), {id}, error)
                || !run(m_db, QStringLiteral("delete from DMTable where checktypeid=?"), {id}, error)
                || !t.commit()) {
                m_dialogs.error(failed);
                return -1;
            }
            // Another template may still show the same picture.
            if (!picture.isEmpty() && !pictureUsedElsewhere(picture, id))
                QFile::remove(m_imageDir + picture);
            ++count;
        }
    }
    m_dialogs.info(QStringLiteral("共删除 ") + QString::number(count) + QStringLiteral(" 个模板！"));
    return count;
}

int TemplateManagement::cloneTemplate(int templateId)
{
    TemplateCatalog catalog(m_db, m_dialogs, m_store);
    QString error;
    const QString kind = catalog.loadCheckTypeFirstNameByID(templateId);
    const QString sourcePicture =
        firstValue(m_db, QStringLiteral("select ImgFile from ckTypeTable where CheckTypeID=?"), {templateId}, error)
            .toString();
    const QString shownName = catalog.loadCheckTypeLastNameByID(templateId);

    const QString answer = m_dialogs.inputValue(QStringLiteral("输入新模板名(15个汉字以内)："), shownName,
                                                QStringLiteral("string"));
    if (answer.isEmpty() || answer == shownName)
        return 0;
    const QString name = cleanName(answer);
    if (name.isEmpty()) {
        m_dialogs.warning(invalidNameText);
        return 0;
    }
    error.clear();
    const bool exists = catalog.CheckTypeExists(kind, name, &error);
    if (!error.isEmpty()) {
        m_dialogs.error(failedChangeText + error);
        return 0;
    }
    if (exists) {
        m_dialogs.warning(QStringLiteral("模板名字已经存在,请确认是否输入了重复的名字或该模版正被隐藏。"));
        return 0;
    }

    const auto fail = [this](const QString &reason) {
        m_dialogs.error(failedChangeText + reason);
        return 0;
    };
    const QString code = TemplateCatalog::getTypeCodeByTypeName(kind);
    if (code.isEmpty())
        return fail(QStringLiteral("没有找到模板的主类型编码:") + kind);
    const QString newIdText = catalog.loadMaxNewCheckTypeId(&error);
    if (newIdText.isEmpty())
        return fail(error);
    const int newId = newIdText.toInt();
    const QString picture = code + newIdText + QStringLiteral(".jpg");

    {
        Transaction t(m_db);
        if (!t.isOpen())
            return fail(transactionError(m_db));
        const QString sourceText = QString::number(templateId);
        const QString existsText = QStringLiteral("模板已经存在，Id=") + newIdText;
        if (firstValue(m_db, QStringLiteral("select count(*) from ckTypeTable where CheckTypeID=?"), {templateId},
                       error).toInt() < 1)
            return fail(error.isEmpty() ? QStringLiteral("找不到源模板，ID=") + sourceText : error);
        if (firstValue(m_db, QStringLiteral("select count(*) from ckTypeTable where CheckTypeID=?"), {newId}, error)
                .toInt() > 0)
            return fail(existsText);
        if (!run(m_db,
                 QStringLiteral("insert into ckTypeTable (CheckTypeID,ImgFile,TypeFirstName,TypeName,TypeDescribe,"
                                "IsDefault,IniFile,XMove,YMove,THeight,TWidth,HVPrint,Visiable,CheckBoxs,ShowOrd,"
                                "IsCommon,PWidth,PHeight,InputBgColor,InputFtColor) "
                                "select ?,?,?,?,?,?,?,XMove,YMove,THeight,TWidth,HVPrint,Visiable,CheckBoxs,"
                                "ShowOrd,IsCommon,PWidth,PHeight,InputBgColor,InputFtColor "
                                "from ckTypeTable where CheckTypeID=?"),
                 {newId, picture, kind, TemplateRow::makeFullName(kind, name), name, marker::notDefault,
                  QStringLiteral(""), templateId},
                 error))
            return fail(error);
        error.clear();
        if (firstValue(m_db, QStringLiteral("select count(*) from ckControl where CheckTypeID=?"), {templateId},
                       error).toInt() < 1)
            return fail(error.isEmpty() ? QStringLiteral("找不到源模板细节数据，ID=") + sourceText : error);
        if (firstValue(m_db, QStringLiteral("select count(*) from ckControl where CheckTypeID=?"), {newId}, error)
                .toInt() > 0)
            return fail(existsText);
        const QString itemColumns = QStringLiteral(
            "CtlName,CtlCName,CtlX,CtlY,CtlH,CtlW,CtlLH,SrcX,SrcY,SrcH,SrcW,CtlFontName,CtlFontSize,BreakFontSize,"
            "CtlFontColor,Bold,Italic,UnderLine,FitParam,BreakNum,ShowOrd,NeedShow,NeedPrint,CtlType,InitValue");
        if (!run(m_db,
                 QStringLiteral("insert into ckControl (CheckTypeID,") + itemColumns + QStringLiteral(") select ?,")
                     + itemColumns + QStringLiteral(" from ckControl where CheckTypeID=? order by ID"),
                 {newId, templateId}, error)
            || !t.commit())
            return fail(error.isEmpty() ? transactionError(m_db) : error);
    }

    const QString sourceFile = m_imageDir + sourcePicture;
    if (!sourcePicture.isEmpty() && QFileInfo::exists(sourceFile)
        && !copyWholeFile(sourceFile, m_imageDir + picture, &error)) {
        // Without its picture the new template is taken back out again.
        Transaction undo(m_db);
        QString undoError;
        run(m_db, QStringLiteral("delete from ckControl where CheckTypeID=?"), {newId}, undoError);
        run(m_db, QStringLiteral("delete from ckTypeTable where CheckTypeID=?"), {newId}, undoError);
        undo.commit();
        QFile::remove(m_imageDir + picture);
        return fail(error);
    }
    m_dialogs.alert(QStringLiteral("克隆模板成功，已新增一个同类模板~"), QStringLiteral("提示"));
    return newId;
}

bool TemplateManagement::renameTemplate(int templateId)
{
    TemplateCatalog catalog(m_db, m_dialogs, m_store);
    const QString kind = catalog.loadCheckTypeFirstNameByID(templateId);
    QString proposed = catalog.loadCheckTypeFullNameByID(templateId);
    for (const QString &cut : {kind, QStringLiteral("（"), QStringLiteral("）")}) {
        const qsizetype at = cut.isEmpty() ? -1 : proposed.indexOf(cut);
        if (at >= 0)
            proposed.remove(at, cut.size());
    }
    const QString answer =
        m_dialogs.inputValue(QStringLiteral("输入新模板名(15个汉字以内):"), proposed, QStringLiteral("string"));
    if (answer.isEmpty() || answer == proposed)
        return false;
    const QString name = cleanName(answer);
    if (name.isEmpty()) {
        m_dialogs.warning(invalidNameText);
        return false;
    }
    QString error;
    const bool exists = catalog.CheckTypeExists(kind, name, &error);
    if (!error.isEmpty()) {
        m_dialogs.error(failedChangeText + error);
        return false;
    }
    if (exists) {
        m_dialogs.warning(QStringLiteral("模板名字已经存在,请确认是否输入了重复的名字或者改模版正被隐藏。"));
        return false;
    }
    if (!run(m_db,
             QStringLiteral("update ckTypeTable set TypeDescribe=?,TypeFirstName=?,TypeName=? where CheckTypeId=?"),
             {name, kind, TemplateRow::makeFullName(kind, name), templateId}, error)) {
        m_dialogs.error(failedChangeText + error);
        return false;
    }
    m_dialogs.info(QStringLiteral("重名名成功~"));
    return true;
}

TemplateManagement::CacheReset TemplateManagement::resetCache(QString *error)
{
    CacheReset removed;
    {
        QString engineError;
        Transaction t(m_db);
        CacheReset counted;
        int orphanItems = 0;
        int unknownFields = 0;
        // Kinds and field names are compared without regard to letter case, as
        // windows and the print engine find them; an empty dictionary value
        // never makes every row an orphan.
        const bool ok =
            t.isOpen() && run(m_db, QStringLiteral("update ckTypeTable set IniFile=?"), {QStringLiteral("")}, engineError)
            && run(m_db,
                   QStringLiteral("delete from ckTypeTable where TypeFirstName<>? and TypeFirstName is not null and "
                                  "TypeFirstName not in (select CheckTypeName from NameDict "
                                  "where CheckTypeName is not null)"),
                   {QStringLiteral("")}, engineError, &counted.templates)
            && run(m_db,
                   QStringLiteral("delete from ckControl where CheckTypeID not in "
                                  "(select CheckTypeID from ckTypeTable where CheckTypeID is not null)"),
                   {}, engineError, &orphanItems)
            && run(m_db,
                   QStringLiteral("delete from ckControl where upper(CtlName) not in "
                                  "(select upper(CtlName) from NameDict where CtlName is not null)"),
                   {}, engineError, &unknownFields)
            && run(m_db,
                   QStringLiteral("delete from DMTable where CheckTypeId not in "
                                  "(select CheckTypeID from ckTypeTable where CheckTypeID is not null) "
                                  "and CheckTypeId<>?"),
                   {0}, engineError, &counted.entries)
            && t.commit();
        if (ok) {
            counted.printItems = orphanItems + unknownFields;
            removed = counted;
        } else if (error) {
            *error = QStringLiteral("清除软件缓存失败！") + (engineError.isEmpty() ? transactionError(m_db) : engineError);
        }
    }

    QStringList used;
    QSqlQuery pictures(m_db);
    if (!pictures.exec(QStringLiteral("select ImgFile from ckTypeTable where ImgFile is not null")))
        return removed;
    while (pictures.next())
        used << pictures.value(0).toString().toUpper();
    for (const QString &file : listFiles(m_imageDir, QStringLiteral("*.jpg"))) {
        const QString upper = file.toUpper();
        if (upper.contains(QLatin1String("SYS_")))
            continue;
        if (std::any_of(used.cbegin(), used.cend(), [&upper](const QString &u) { return u.contains(upper); }))
            continue;
        if (QFile::remove(m_imageDir + file))
            removed.pictures << file;
    }
    return removed;
}

} // namespace moque::templates
