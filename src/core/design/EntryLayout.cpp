#include "design/EntryLayout.h"

#include "design/DesignHistory.h"
#include "store/BoundQuery.h"
#include "templates/PrintItemStore.h"
#include "templates/TemplateCatalog.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariantMap>

#include <algorithm>

namespace moque::design {

using store::execBound;

namespace {

const QString itemTable = QStringLiteral("ckControl");
const QString templateTable = QStringLiteral("CKTypeTable");

// The edge a keyboard move never crosses, from each side of the picture.
constexpr int edgeMargin = 10;

} // namespace

ControlKind controlKindOf(const QString &ctlType)
{
    const QString t = ctlType.trimmed().toUpper();
    if (t.isEmpty() || t == QLatin1String("TEXT"))
        return ControlKind::Text;
    if (t == QLatin1String("SHAPE"))
        return ControlKind::Shape;
    if (t == QLatin1String("LINE"))
        return ControlKind::Line;
    if (t == QLatin1String("CHECKBOX"))
        return ControlKind::CheckBox;
    if (t == QLatin1String("LABEL"))
        return ControlKind::Label;
    return ControlKind::None;
}

QRect spinPlace(const EntryItem &item)
{
    if (item.type != QLatin1String("LINE"))
        return {item.x, item.y, item.w, item.h};
    const int thickness = item.boldValue + 1;
    if (item.printH < item.printW)
        return {item.x, item.y, item.w, thickness};
    return {item.x, item.y, thickness, item.h};
}

QString newItemType(ControlKind kind, const QString &name)
{
    // Only the outline shapes tell their kind by name; every other control is a text item.
    if (kind != ControlKind::Shape && kind != ControlKind::Line)
        return QStringLiteral("TEXT");
    const QString upper = name.toUpper();
    if (upper == QLatin1String("SHPHKR") || upper == QLatin1String("SHPSKR"))
        return QStringLiteral("SHAPE");
    if (upper.contains(QLatin1String("DEFCHECK")))
        return QStringLiteral("CHECKBOX");
    if (upper.contains(QLatin1String("LINE")))
        return QStringLiteral("LINE");
    return QStringLiteral("TEXT");
}

QString newItemCaption(ControlKind kind, const QString &caption, const QString &hint, const QString &listCaption)
{
    switch (kind) {
    case ControlKind::CheckBox:
        return QStringLiteral("勾选-") + caption;
    case ControlKind::Text:
    case ControlKind::Shape:
    case ControlKind::Line:
        return hint;
    default:
        return listCaption.isEmpty() ? QStringLiteral("NULL") : listCaption;
    }
}

QString refusedSaveMessage(const QString &name)
{
    return QStringLiteral("错误:CKControlTable ") + name + QStringLiteral(" not found!");
}

QString savedMessage(const QString &caption)
{
    return QLatin1Char('\'') + caption + QStringLiteral("' 打印细节修改成功！");
}

KeyMove moveByKey(const QRect &place, Direction direction, int step, const QSize &picture)
{
    QRect moved = place;
    QString what;
    switch (direction) {
    case Direction::Left:
        moved.moveLeft(std::max(edgeMargin, place.x() - step));
        what = QStringLiteral("左移了");
        break;
    case Direction::Up:
        moved.moveTop(std::max(edgeMargin, place.y() - step));
        what = QStringLiteral("上移了");
        break;
    case Direction::Right:
        if (picture.width() > 0)
            moved.moveLeft(std::min(picture.width() - edgeMargin, place.x() + step));
        else
            moved.moveLeft(place.x() + step);
        what = QStringLiteral("右移了");
        break;
    case Direction::Down:
        if (picture.height() > 0)
            moved.moveTop(std::min(picture.height() - edgeMargin, place.y() + step));
        else
            moved.moveTop(place.y() + step);
        what = QStringLiteral("下移了");
        break;
    }
    const QString reminder = QStringLiteral("移动后不要忘记修正打印距左距顶参数，否则不会影响打印效果哦。");
    QString message = what + QString::number(step) + QStringLiteral("像素");
    message += step == 1 ? QStringLiteral("(Ctrl+Shift+方向键：可更快的移动),") + reminder : reminder;
    return {moved, message};
}

QRect sizeByKey(const QRect &place, Direction direction)
{
    QRect sized = place;
    switch (direction) {
    case Direction::Left:
        sized.setWidth(std::max(1, place.width() - 1));
        break;
    case Direction::Right:
        sized.setWidth(place.width() + 1);
        break;
    case Direction::Up:
        sized.setHeight(std::max(1, place.height() - 1));
        break;
    case Direction::Down:
        sized.setHeight(place.height() + 1);
        break;
    }
    return sized;
}

CheckBoxListEdit editCheckBoxList(const QString &answer, const QString &current)
{
    CheckBoxListEdit edit;
    if (answer.isEmpty() || answer == current)
        return edit;
    QString list = answer.trimmed();
    static const QString removed = QStringLiteral("()（）'%*?");
    QString kept;
    for (const QChar c : std::as_const(list))
        if (!removed.contains(c) && !c.isSpace())
            kept += c;
    kept.replace(QStringLiteral("，"), QStringLiteral(","));
    if (kept.isEmpty()) {
        edit.outcome = CheckBoxListEdit::Outcome::Invalid;
        edit.message = QStringLiteral("输入了无效的字符(引号\\?\\*\\(\\)\\%)!");
        return edit;
    }
    edit.outcome = CheckBoxListEdit::Outcome::Changed;
    edit.list = kept;
    return edit;
}

int chooseTemplate(templates::TemplateCatalog &catalog, int requested, int current)
{
    for (const int id : {requested, current})
        if (id > 0 && catalog.templateById(id))
            return id;
    const QString kind = catalog.loadDefaultTypeFirstName();
    if (kind.isEmpty())
        return 0;
    return catalog.loadDefaultCheckTypeId(kind);
}

EntryLayout::EntryLayout(QSqlDatabase db, DesignHistory &history) : m_db(db), m_history(history) {}

QList<FieldControl> EntryLayout::controls(int templateId, const QString &kind, QString *error) const
{
    QList<FieldControl> controls;
    QSqlQuery q(m_db);
    if (!execBound(q,
                   QStringLiteral("select CtlName,CtlLabel,CtlType from NameDict where CheckTypeName=:kind "
                                  "order by ID"),
                   {{":kind", kind}})) {
        if (error)
            *error = q.lastError().text();
        return controls;
    }
    const templates::PrintItemSet items = templates::PrintItemStore(m_db).itemsOf(templateId);
    while (q.next()) {
        FieldControl c;
        c.name = q.value(0).toString().toUpper();
        c.label = q.value(1).toString();
        c.kind = controlKindOf(q.value(2).toString());
        if (const templates::PrintItem *item = items.find(c.name)) {
            c.hasItem = true;
            c.x = item->screenX;
            c.y = item->screenY;
            c.w = item->screenW;
            c.h = item->screenH;
            c.shown = item->needShow > 0;
            c.initValue = item->initValue;
        }
        controls << c;
    }
    return controls;
}

QStringList EntryLayout::captions(const QString &kind) const
{
    QStringList list;
    QSqlQuery q(m_db);
    if (!execBound(q,
                   QStringLiteral("select CtlLabel from NameDict where CheckTypeName=:kind "
                                  "order by ShowOrd desc,ID"),
                   {{":kind", kind}}))
        return list;
    while (q.next())
        list << q.value(0).toString();
    return list;
}

QString EntryLayout::fieldOfCaption(const QString &kind, const QString &caption) const
{
    QSqlQuery q(m_db);
    if (!execBound(q,
                   QStringLiteral("select CtlName from NameDict where CtlLabel=:label and CheckTypeName=:kind "
                                  "order by ID"),
                   {{":label", caption}, {":kind", kind}})
        || !q.next())
        return {};
    return q.value(0).toString().toUpper();
}

std::optional<EntryItem> EntryLayout::item(int templateId, const QString &name) const
{
    const templates::PrintItemSet items = templates::PrintItemStore(m_db).itemsOf(templateId);
    const templates::PrintItem *found = items.find(name);
    if (!found)
        return std::nullopt;
    EntryItem item;
    item.type = found->type;
    item.x = found->screenX;
    item.y = found->screenY;
    item.w = found->screenW;
    item.h = found->screenH;
    item.printW = found->width;
    item.printH = found->height;
    item.shown = found->needShow > 0;
    item.initValue = found->initValue;
    item.fontName = found->fontName;
    item.fontSize = found->fontSize;
    item.bold = found->bold > 0;
    item.italic = found->italic > 0;
    item.underline = found->underline > 0;
    item.boldValue = found->bold;
    return item;
}

SaveOutcome EntryLayout::save(int templateId, const QString &name, const EntrySave &values, const QString &newType,
                              const QString &newCaption)
{
    const QString upper = name.toUpper();
    QSqlQuery q(m_db);
    if (!execBound(q,
                   QStringLiteral("select * from ckControl where CheckTypeID=:id and upper(CtlName)=:name "
                                  "order by ID"),
                   {{":id", templateId}, {":name", upper}})) {
        m_error = q.lastError().text();
        return SaveOutcome::Failed;
    }
    QList<QSqlRecord> rows;
    while (q.next())
        rows << q.record();
    if (rows.size() > 1) {
        m_error = refusedSaveMessage(upper);
        return SaveOutcome::Refused;
    }

    const int shown = values.hidden ? 0 : 1;
    QVariantMap columns{
        {QStringLiteral("CheckTypeID"), templateId},
        {QStringLiteral("CtlName"), upper},
        {QStringLiteral("SrcX"), values.place.x()},
        {QStringLiteral("SrcY"), values.place.y()},
        {QStringLiteral("SrcW"), values.place.width()},
        {QStringLiteral("SrcH"), values.place.height()},
        {QStringLiteral("NeedPrint"), shown},
        {QStringLiteral("NeedShow"), shown},
        {QStringLiteral("CtlFontName"), values.fontName},
        {QStringLiteral("CtlFontSize"), values.fontSize},
        {QStringLiteral("InitValue"), values.initValue.trimmed()},
        {QStringLiteral("Bold"), values.bold ? 1 : 0},
        {QStringLiteral("Italic"), values.italic ? 1 : 0},
        {QStringLiteral("UnderLine"), values.underline ? 1 : 0},
    };

    if (rows.isEmpty()) {
        columns.insert(QStringLiteral("CtlType"), newType);
        columns.insert(QStringLiteral("CtlCName"), newCaption);
        QStringList names;
        QStringList marks;
        QVariantList bound;
        for (auto it = columns.constBegin(); it != columns.constEnd(); ++it) {
            names << it.key();
            marks << QStringLiteral("?");
            bound << it.value();
        }
        QSqlQuery insert(m_db);
        if (!execBound(insert,
                       QStringLiteral("insert into ckControl (%1) values (%2)")
                           .arg(names.join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
                       bound, m_error))
            return SaveOutcome::Failed;
        const QVariant id = insert.lastInsertId();
        columns.insert(QStringLiteral("ID"), id);
        m_history.recordInsert(RowKey{itemTable, {{QStringLiteral("ID"), id}}}, columns, upper);
        return SaveOutcome::Inserted;
    }

    const QSqlRecord &row = rows.first();
    const RowKey key{itemTable, {{QStringLiteral("ID"), row.value(QStringLiteral("ID"))}}};
    QStringList changed;
    for (auto it = columns.constBegin(); it != columns.constEnd(); ++it) {
        const QVariant stored = row.value(it.key());
        if (stored.isNull() || stored.toString() != it.value().toString())
            changed << it.key();
    }
    if (changed.isEmpty())
        return SaveOutcome::Updated;
    // One statement and one undo step: a save is the control's whole layout.
    QStringList sets;
    QVariantList bound;
    for (const QString &column : std::as_const(changed)) {
        sets << column + QStringLiteral("=?");
        bound << columns.value(column);
    }
    bound << row.value(QStringLiteral("ID"));
    QSqlQuery update(m_db);
    if (!execBound(update, QStringLiteral("update ckControl set %1 where ID=?").arg(sets.join(QLatin1Char(','))),
                   bound, m_error))
        return SaveOutcome::Failed;
    m_history.beginGroup(upper);
    for (const QString &column : std::as_const(changed))
        m_history.recordWrite(key, column, row.value(column), columns.value(column), upper);
    m_history.endGroup();
    return SaveOutcome::Updated;
}

QString EntryLayout::checkBoxes(int templateId) const
{
    QSqlQuery q(m_db);
    if (!execBound(q, QStringLiteral("select CheckBoxs from CKTypeTable where CheckTypeID=:id"), {{":id", templateId}})
        || !q.next())
        return {};
    return q.value(0).toString();
}

bool EntryLayout::setCheckBoxes(int templateId, const QString &list)
{
    if (m_history.write(RowKey{templateTable, {{QStringLiteral("CheckTypeID"), templateId}}},
                        QStringLiteral("CheckBoxs"), list, QStringLiteral("CheckBoxs")))
        return true;
    m_error = m_history.errorText();
    return false;
}

} // namespace moque::design
