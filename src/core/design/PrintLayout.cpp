#include "design/PrintLayout.h"

#include "design/BillPreview.h"

#include "print/ItemRenderer.h"
#include "print/Units.h"
#include "store/BoundQuery.h"
#include "templates/PrintItemStore.h"
#include "templates/TemplateCatalog.h"

#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>
#include <cmath>

namespace moque::design {

using store::execBound;

namespace {

const QString kItemTable = QStringLiteral("ckControl");

// The columns the designer writes one at a time.
const QStringList &itemColumns()
{
    static const QStringList columns{
        QStringLiteral("CtlX"),        QStringLiteral("CtlY"),          QStringLiteral("CtlW"),
        QStringLiteral("CtlH"),        QStringLiteral("CtlLH"),         QStringLiteral("CtlFontName"),
        QStringLiteral("CtlFontSize"), QStringLiteral("BreakFontSize"), QStringLiteral("Bold"),
        QStringLiteral("Italic"),      QStringLiteral("UnderLine"),     QStringLiteral("FitParam"),
        QStringLiteral("Align"),       QStringLiteral("BreakNum"),      QStringLiteral("InitValue")};
    return columns;
}

// A text of digits alone as a number, -1 otherwise.
int digitsValue(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return -1;
    for (const QChar c : t)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
    return t.toInt();
}

int intOf(const QSqlQuery &q, const QSqlRecord &r, const char *column, int fallback)
{
    const int i = r.indexOf(QLatin1String(column));
    if (i < 0 || q.value(i).isNull())
        return fallback;
    return q.value(i).toInt();
}

QString textOf(const QSqlQuery &q, const QSqlRecord &r, const char *column)
{
    const int i = r.indexOf(QLatin1String(column));
    return i < 0 ? QString() : q.value(i).toString();
}

QString countMessage(int changed, const QString &text)
{
    return changed == 0 ? QStringLiteral("影响了0个项目！") : QString::number(changed) + text;
}

// A typographic point is 25.4 / 72 mm.
int pointsToPixels(int points, double ratioX)
{
    return ratioX > 0 ? std::max(1, int(std::lround(points * 25.4 / 72.0 / ratioX))) : points;
}

// Labels stay big enough to be grabbed with the mouse.
constexpr int kMinLabelSide = 6;

} // namespace

PrintLayout::PrintLayout(QSqlDatabase db, DesignHistory &history) : m_db(db), m_history(history) {}

bool PrintLayout::open(int templateId)
{
    m_error.clear();
    QSqlQuery q(m_db);
    if (!execBound(q, QStringLiteral("select * from CKTypeTable where CheckTypeID=:id"), {{":id", templateId}})
        || !q.next()) {
        m_error = QStringLiteral("没有找到对应的单据信息~");
        return false;
    }
    const QSqlRecord r = q.record();
    templates::TemplateRow row;
    row.id = templateId;
    row.fullName = textOf(q, r, "TypeName");
    row.kind = textOf(q, r, "TypeFirstName");
    if (row.kind.isEmpty())
        row.kind = templates::TemplateCatalog::kindOfFullName(row.fullName);
    row.displayName = textOf(q, r, "TypeDescribe");
    row.paperWidth = intOf(q, r, "PWidth", 0);
    row.paperHeight = intOf(q, r, "PHeight", 0);
    row.imageFile = textOf(q, r, "ImgFile");
    m_template = row;
    return true;
}

QString PrintLayout::title() const
{
    return QStringLiteral("【") + m_template.fullName + QStringLiteral("】打印设置");
}

QString PrintLayout::pageText() const
{
    return m_template.kind + QStringLiteral(" ") + QString::number(pageWidth() / 10.0) + QStringLiteral("×")
           + QString::number(pageHeight() / 10.0) + QStringLiteral("mm");
}

CanvasScale PrintLayout::scaleFor(int pageWidthTenths, int pageHeightTenths, int zoomPercent)
{
    const double pixelsPerMm = 96.0 / 25.4 * zoomPercent / 100.0;
    CanvasScale s;
    s.size = QSize(std::max(1, int(std::lround(pageWidthTenths / 10.0 * pixelsPerMm))),
                   std::max(1, int(std::lround(pageHeightTenths / 10.0 * pixelsPerMm))));
    s.ratioX = pageWidthTenths / 10.0 / s.size.width();
    s.ratioY = pageHeightTenths / 10.0 / s.size.height();
    return s;
}

int PrintLayout::zoomOf(const QString &text)
{
    bool ok = false;
    const int zoom = text.trimmed().toInt(&ok);
    return ok && zoom > 0 ? zoom : 100;
}

QStringList PrintLayout::availableEntries()
{
    QStringList entries;
    QSqlQuery q(m_db);
    if (!execBound(q,
                   QStringLiteral("select a.ID,a.CtlName,a.CtlCName from CkControl a,NameDict b where "
                                  "a.CtlName=b.CtlName and b.CheckTypeName=:kind and b.PrintItem=1 and "
                                  "a.NeedPrint=1 and a.CheckTypeId=:id order by b.ShowOrd DESC"),
                   {{":kind", kind()}, {":id", templateId()}})) {
        m_error = q.lastError().text();
        return entries;
    }
    while (q.next())
        entries << q.value(2).toString() + QLatin1Char('=') + q.value(1).toString();
    return entries;
}

QString PrintLayout::nameOfEntry(const QString &entry)
{
    const qsizetype at = entry.lastIndexOf(QLatin1Char('='));
    return at < 0 ? entry : entry.mid(at + 1);
}

QString PrintLayout::selectedEntry(const QString &name)
{
    QSqlQuery q(m_db);
    if (execBound(q, QStringLiteral("select CtlLabel from NameDict where CheckTypeName=:kind and CtlName=:name"),
                  {{":kind", kind()}, {":name", name}})
        && q.next())
        return q.value(0).toString() + QLatin1Char('=') + name;
    return QStringLiteral("错误=") + name;
}

QList<DesignItem> PrintLayout::readItems(const QString *only, double ratioX)
{
    QList<DesignItem> items;
    QString sql = QStringLiteral("SELECT a.*,b.Id as tId, b.ctlData, b.ctlLabel FROM ckControl AS a, NameDict AS b "
                                 "WHERE a.CtlName=b.ctlName and b.PrintItem=1 and a.CheckTypeId=? and "
                                 "b.CheckTypeName=?");
    QVariantList values{templateId(), kind()};
    if (only) {
        sql += QStringLiteral(" and a.CtlName=?");
        values << *only;
    }
    QSqlQuery q(m_db);
    if (!execBound(q, sql, values, m_error))
        return items;
    const QSqlRecord r = q.record();
    while (q.next()) {
        DesignItem it;
        static_cast<templates::PrintItem &>(it) = templates::PrintItemStore::readItem(q, r);
        if (it.needPrint != 1)
            continue;
        it.name = textOf(q, r, "CtlName");
        it.dictionaryId = intOf(q, r, "tId", 0);
        it.testText = textOf(q, r, "ctlData");
        it.label = textOf(q, r, "ctlLabel");
        items << it;
    }
    q.finish();

    // A box of 0 takes the entry control's size: kept for the next drawing and for printing.
    bool anyMissing = false;
    for (const DesignItem &it : std::as_const(items))
        anyMissing = anyMissing || it.width == 0 || it.height == 0;
    if (!anyMissing)
        return items;
    m_db.transaction();
    bool ok = true;
    for (DesignItem &it : items) {
        if (it.width == 0) {
            it.width = print::canvasToTenths(it.screenW, ratioX);
            ok = m_history.apply(itemKey(it.id), QStringLiteral("CtlW"), it.width) && ok;
        }
        if (it.height == 0) {
            it.height = print::canvasToTenths(it.screenH, ratioX);
            ok = m_history.apply(itemKey(it.id), QStringLiteral("CtlH"), it.height) && ok;
        }
    }
    if (ok)
        m_db.commit();
    else {
        m_error = m_history.errorText();
        m_db.rollback();
    }
    return items;
}

QList<DesignItem> PrintLayout::items(double ratioX)
{
    return readItems(nullptr, ratioX);
}

std::optional<DesignItem> PrintLayout::item(const QString &name, double ratioX)
{
    const QList<DesignItem> found = readItems(&name, ratioX);
    if (found.isEmpty())
        return std::nullopt;
    return found.first();
}

QString PrintLayout::shownText(const DesignItem &item)
{
    if (!item.initValue.trimmed().isEmpty())
        return item.initValue;
    if (!item.testText.trimmed().isEmpty())
        return item.testText;
    return item.label;
}

QList<LayoutLabel> PrintLayout::labelsOf(const DesignItem &item, double ratioX, int fallbackPitch)
{
    using print::tenthsToCanvas;
    const QString text = shownText(item);
    const int pitch = item.lineHeight > 0 ? item.lineHeight : fallbackPitch;
    const int breakNum = digitsValue(item.breakNum);
    QStringList lines = breakNum > 0 ? print::ItemRenderer::breakByWidth(text, breakNum) : QStringList{text};
    if (lines.isEmpty())
        lines << text;
    const bool multi = lines.size() >= 2;
    const int fit = digitsValue(item.fitParam);
    const int advanceTenths = fit > 25 ? fit : 0;

    LayoutLabel base;
    base.itemName = item.name;
    base.fontName = item.fontName.trimmed().isEmpty() ? QStringLiteral("宋体") : item.fontName;
    base.pixelSize = pointsToPixels(multi ? item.breakFontSize : item.fontSize, ratioX);
    base.bold = item.bold > 0;
    base.italic = item.italic > 0;
    base.underline = item.underline > 0;
    base.align = item.align.trimmed() == QLatin1String("2") ? 2 : item.align.trimmed() == QLatin1String("1") ? 1 : 0;

    const int boxW = std::max(kMinLabelSide, tenthsToCanvas(item.width, ratioX));
    const int lineH = std::max(kMinLabelSide, tenthsToCanvas(multi ? pitch : item.height, ratioX));
    QList<LayoutLabel> labels;
    for (int i = 0; i < lines.size(); ++i) {
        const QString lineName = multi ? item.name + QLatin1Char('L') + QString::number(i) : item.name;
        const int lineY = tenthsToCanvas(item.y + i * pitch, ratioX);
        if (advanceTenths == 0) {
            LayoutLabel l = base;
            l.name = lineName;
            l.text = lines[i];
            l.rect = QRect(tenthsToCanvas(item.x, ratioX), lineY, boxW, lineH);
            labels << l;
            continue;
        }
        const int advance = std::max(kMinLabelSide, tenthsToCanvas(advanceTenths, ratioX));
        for (int k = 0; k < lines[i].size(); ++k) {
            if (lines[i][k].isSpace())
                continue;
            LayoutLabel l = base;
            l.name = lineName + QLatin1Char('R') + QString::number(k);
            l.text = lines[i][k];
            l.align = 0;
            l.rect = QRect(tenthsToCanvas(item.x + k * advanceTenths, ratioX), lineY, advance, lineH);
            labels << l;
        }
    }
    return labels;
}

ItemProperties PrintLayout::propertiesOf(const DesignItem &item, double ratioX)
{
    ItemProperties p;
    p.x = item.x;
    p.y = item.y;
    p.width = item.width != 0 ? item.width : print::canvasToTenths(item.screenW, ratioX);
    p.height = item.height != 0 ? item.height : print::canvasToTenths(item.screenH, ratioX);
    p.fontSize = item.fontSize;
    p.fontName = item.fontName.trimmed().isEmpty() ? QStringLiteral("宋体") : item.fontName;
    p.bold = item.bold > 0;
    p.italic = item.italic > 0;
    p.underline = item.underline > 0;
    p.breakOn = !item.breakNum.isEmpty();
    p.breakNum = p.breakOn ? item.breakNum.trimmed().toInt() : 50;
    p.breakFontSize = p.breakOn ? item.breakFontSize : item.fontSize;
    p.lineHeight = item.lineHeight > 0 ? item.lineHeight : 50;
    p.widthAveOn = !item.fitParam.isEmpty();
    p.fitParam = p.widthAveOn ? item.fitParam.trimmed().toInt() : 20;
    p.testText = item.testText;
    p.defaultValue = item.initValue;
    const QString a = item.align.trimmed();
    p.align = a == QLatin1String("1") ? 1 : a == QLatin1String("2") ? 2 : 0;
    return p;
}

QString PrintLayout::groupHint()
{
    return QStringLiteral("请选择分组");
}

QStringList PrintLayout::groups()
{
    QStringList list;
    QSqlQuery q(m_db);
    if (execBound(q, QStringLiteral("select distinct Groups from NameDict where CheckTypeName=:kind"),
                  {{":kind", kind()}}))
        while (q.next())
            if (!q.value(0).toString().trimmed().isEmpty())
                list << q.value(0).toString();
    list << groupHint();
    return list;
}

QStringList PrintLayout::groupItems(const QString &text)
{
    QStringList names;
    const bool pattern = text.contains(QLatin1Char('*'));
    const QString sql = pattern ? QStringLiteral("select CtlName,CtlLabel from NameDict where PrintItem=1 and "
                                                 "CheckTypeName=:kind and CtlLabel like :value order by ShowOrd")
                                : QStringLiteral("select CtlName,CtlLabel from NameDict where PrintItem=1 and "
                                                 "CheckTypeName=:kind and Groups=:value order by ShowOrd");
    const QString value = pattern ? QString(text).replace(QLatin1Char('*'), QLatin1Char('%')) : text;
    QSqlQuery q(m_db);
    if (execBound(q, sql, {{":kind", kind()}, {":value", value}}))
        while (q.next())
            names << q.value(0).toString();
    return names;
}

std::optional<ColumnRange> PrintLayout::rangeOf(const QString &column) const
{
    if (column == QLatin1String("CtlX") || column == QLatin1String("CtlW") || column == QLatin1String("CtlH"))
        return ColumnRange{0, 3000};
    if (column == QLatin1String("CtlY"))
        return ColumnRange{0, pageHeight() - 5};
    if (column == QLatin1String("CtlFontSize") || column == QLatin1String("BreakFontSize"))
        return ColumnRange{6, 20};
    if (column == QLatin1String("CtlLH"))
        return ColumnRange{25, 200};
    if (column == QLatin1String("BreakNum"))
        return ColumnRange{1, 200};
    if (column == QLatin1String("FitParam"))
        return ColumnRange{20, 200};
    return std::nullopt;
}

RowKey PrintLayout::itemKey(int id) const
{
    return RowKey{kItemTable, {{QStringLiteral("ID"), id}}};
}

bool PrintLayout::rowsOf(const QString &name, const QString &column, QList<Row> &rows, QString &error)
{
    rows.clear();
    QSqlQuery q(m_db);
    if (!execBound(q,
                   QStringLiteral("select id,CheckTypeId,CtlName,%1 from CKControl where CheckTypeId=:typeid and "
                                  "CtlName=:ctlName")
                       .arg(column),
                   {{":typeid", templateId()}, {":ctlName", name}})) {
        error = q.lastError().text();
        return false;
    }
    while (q.next())
        rows << Row{q.value(0).toInt(), q.value(3)};
    return true;
}

std::optional<PrintLayout::Row> PrintLayout::singleRow(const QString &name, const QString &column,
                                                       QStringList &messages)
{
    QList<Row> rows;
    QString error;
    if (!rowsOf(name, column, rows, error)) {
        messages << QStringLiteral("保存错误") + error;
        return std::nullopt;
    }
    if (rows.size() > 1) {
        messages << QStringLiteral("保存出错,同一个项目多条记录=！") + name + QLatin1Char(',')
                        + QString::number(templateId());
        return std::nullopt;
    }
    if (rows.isEmpty()) {
        messages << QStringLiteral("没有找到") + name;
        return std::nullopt;
    }
    return rows.first();
}

QString PrintLayout::rangeFault(const QString &column, const QVariant &value) const
{
    const auto range = rangeOf(column);
    if (!range || value.toString().isEmpty())
        return {};
    const int v = value.toInt();
    if (v >= range->min && v <= range->max)
        return {};
    return column + QStringLiteral("超出范围:") + QString::number(range->min) + QLatin1Char('-')
           + QString::number(range->max);
}

template<typename Fn>
bool PrintLayout::inGroup(const QString &text, Fn &&writes, QString &error)
{
    m_db.transaction();
    m_history.beginGroup(text);
    const bool ok = writes();
    m_history.endGroup();
    if (ok && m_db.commit())
        return true;
    error = ok ? m_db.lastError().text() : m_history.errorText();
    m_db.rollback();
    // The data is as it was; the step recorded for it writes the values before once more.
    m_history.stack().undo();
    return false;
}

bool PrintLayout::writeItems(const QString &text, const QString &column, const QList<ItemValue> &changes,
                             QString &error)
{
    return inGroup(
        text,
        [&] {
            for (const ItemValue &c : changes)
                if (!m_history.write(itemKey(c.id), column, c.value, text))
                    return false;
            return true;
        },
        error);
}

bool PrintLayout::writeItems(const QString &text, const QString &column, const QList<int> &ids,
                             const QVariant &value, QString &error)
{
    QList<ItemValue> changes;
    for (const int id : ids)
        changes << ItemValue{id, value};
    return writeItems(text, column, changes, error);
}

DesignResult PrintLayout::saveColumn(const QString &name, const QString &column, const QVariant &value)
{
    DesignResult r;
    if (!itemColumns().contains(column))
        return r;
    QVariant stored = value;
    if (column == QLatin1String("CtlFontName") && value.toString().trimmed().isEmpty())
        stored = QStringLiteral("宋体");
    if (const QString fault = rangeFault(column, stored); !fault.isEmpty()) {
        r.messages << fault;
        return r;
    }
    const std::optional<Row> row = singleRow(name, column, r.messages);
    if (!row)
        return r;
    if (row->value.toString() != stored.toString()) {
        if (!m_history.write(itemKey(row->id), column, stored, name + QLatin1Char(':') + column)) {
            r.messages << QStringLiteral("保存错误") + m_history.errorText();
            return r;
        }
        r.changed = 1;
    }
    r.ok = true;
    r.messages << name + QLatin1Char(':') + column + QLatin1Char('=') + stored.toString()
                      + QStringLiteral("属性保存成功~");
    return r;
}

DesignResult PrintLayout::saveColumns(const QString &name, const QList<std::pair<QString, QVariant>> &values,
                                      const QString &text)
{
    DesignResult r;
    QList<std::pair<QString, QVariant>> changes;
    int id = 0;
    for (const auto &[column, value] : values) {
        if (!itemColumns().contains(column))
            return r;
        const std::optional<Row> row = singleRow(name, column, r.messages);
        if (!row)
            return r;
        if (const QString fault = rangeFault(column, value); !fault.isEmpty()) {
            r.messages << fault;
            return r;
        }
        id = row->id;
        if (row->value.toString() != value.toString())
            changes.append({column, value});
    }
    QString error;
    if (!changes.isEmpty()) {
        const bool ok = inGroup(
            text,
            [&] {
                for (const auto &[column, value] : std::as_const(changes))
                    if (!m_history.write(itemKey(id), column, value, text))
                        return false;
                return true;
            },
            error);
        if (!ok) {
            r.messages << QStringLiteral("保存错误") + error;
            return r;
        }
    }
    r.ok = true;
    r.changed = int(changes.size());
    const auto &[lastColumn, lastValue] = values.last();
    r.messages << name + QLatin1Char(':') + lastColumn + QLatin1Char('=') + lastValue.toString()
                      + QStringLiteral("属性保存成功~");
    return r;
}

DesignResult PrintLayout::move(const QStringList &names, MoveDirection direction, int step)
{
    DesignResult r;
    const bool vertical = direction == MoveDirection::Up || direction == MoveDirection::Down;
    const QString column = vertical ? QStringLiteral("CtlY") : QStringLiteral("CtlX");
    const int delta = direction == MoveDirection::Up || direction == MoveDirection::Left ? -step : step;
    const QString statement = QStringLiteral("update CkControl set %1=%1+(%2) where CheckTypeId=:pCheckTypeId and "
                                             "CtlName=:pCtlName ")
                                  .arg(column)
                                  .arg(delta);
    QList<ItemValue> changes;
    for (const QString &name : names) {
        QList<Row> rows;
        QString error;
        if (!rowsOf(name, column, rows, error)) {
            r.messages << QStringLiteral("移动项目,修改错误！") + error;
            return r;
        }
        if (rows.size() != 1) {
            r.messages << QStringLiteral("修改错误！") + statement;
            continue;
        }
        changes << ItemValue{rows.first().id, rows.first().value.toInt() + delta};
    }
    if (changes.isEmpty() || delta == 0)
        return r;
    QString error;
    const bool ok = writeItems(QStringLiteral("移动"), column, changes, error);
    if (!ok) {
        r.messages << QStringLiteral("移动项目,修改错误！") + error;
        return r;
    }
    r.ok = true;
    r.changed = int(changes.size());
    return r;
}

DesignResult PrintLayout::setAll(const QStringList &names, const QString &column, const QVariant &value,
                                 const QString &text)
{
    DesignResult r;
    QList<int> ids;
    int matched = 0;
    for (const QString &name : names) {
        QList<Row> rows;
        QString error;
        if (!rowsOf(name, column, rows, error)) {
            r.messages << QStringLiteral("Error:") + error;
            return r;
        }
        matched += int(rows.size());
        for (const Row &row : std::as_const(rows))
            if (row.value.toString() != value.toString())
                ids << row.id;
    }
    QString error;
    if (!ids.isEmpty()
        && !writeItems(text, column, ids, value, error)) {
        r.messages << QStringLiteral("Error:") + error;
        return r;
    }
    r.ok = true;
    r.changed = matched;
    r.messages << countMessage(matched, text);
    return r;
}

DesignResult PrintLayout::batch(const QStringList &names, BatchOp op, int step)
{
    DesignResult r;
    if (names.isEmpty()) {
        r.messages << countMessage(0, QString());
        return r;
    }
    struct Rule
    {
        QString column;
        QString text;
        bool extreme;  // a value of the selection (else grow or shrink by the step)
        bool largest;  // the largest (else the smallest); grow (else shrink)
        int fallback;  // for a value not positive; 0: none
    };
    static const auto ruleOf = [](BatchOp which) -> Rule {
        switch (which) {
        case BatchOp::AlignLeft:
            return {QStringLiteral("CtlX"), QStringLiteral("批量修改最左对齐成功！"), true, false, 0};
        case BatchOp::AlignRight:
            return {QStringLiteral("CtlX"), QStringLiteral("批量修改最右对齐成功！"), true, true, 0};
        case BatchOp::AlignTop:
            return {QStringLiteral("CtlY"), QStringLiteral("批量修改距最顶对齐成功！"), true, false, 0};
        case BatchOp::AlignBottom:
            return {QStringLiteral("CtlY"), QStringLiteral("批量修改距最底对齐成功！"), true, true, 0};
        case BatchOp::SameWidthMax:
            return {QStringLiteral("CtlW"), QStringLiteral("批量修改等量宽度（最宽）成功！"), true, true, 120};
        case BatchOp::SameHeightMax:
            return {QStringLiteral("CtlH"), QStringLiteral("批量修改等量高度（最高）成功！"), true, true, 40};
        case BatchOp::SameWidthMin:
            return {QStringLiteral("CtlW"), QStringLiteral("个批量修改等量宽度(最窄)成功！"), true, false, 35};
        case BatchOp::SameHeightMin:
            return {QStringLiteral("CtlH"), QStringLiteral("个批量修改等量高度(最矮)成功！"), true, false, 40};
        case BatchOp::Widen:
            return {QStringLiteral("CtlW"), QStringLiteral("个批量加宽成功！"), false, true, 0};
        case BatchOp::Narrow:
            return {QStringLiteral("CtlW"), QStringLiteral("个批量减宽成功！"), false, false, 0};
        case BatchOp::Heighten:
            return {QStringLiteral("CtlH"), QStringLiteral("个批量加高成功！"), false, true, 0};
        case BatchOp::Lower:
            break;
        }
        return {QStringLiteral("CtlH"), QStringLiteral("个批量减高成功！"), false, false, 0};
    };
    const Rule rule = ruleOf(op);

    if (rule.extreme) {
        QStringList marks;
        QVariantList values{templateId()};
        for (const QString &name : names) {
            marks << QStringLiteral("?");
            values << name;
        }
        QSqlQuery q(m_db);
        if (!execBound(q,
                       QStringLiteral("select %1(%2) from ckControl where CheckTypeId=? and CtlName in(%3)")
                           .arg(rule.largest ? QStringLiteral("Max") : QStringLiteral("Min"), rule.column,
                                marks.join(QLatin1Char(','))),
                       values)) {
            r.messages << QStringLiteral("Error:") + q.lastError().text();
            return r;
        }
        int value = q.next() ? q.value(0).toInt() : 0;
        if (rule.fallback > 0 && value <= 0)
            value = rule.fallback;
        return setAll(names, rule.column, value, rule.text);
    }

    QList<ItemValue> changes;
    for (const QString &name : names) {
        QList<Row> rows;
        QString error;
        if (!rowsOf(name, rule.column, rows, error)) {
            r.messages << QStringLiteral("Error:") + error;
            return r;
        }
        bool changed = false;
        for (const Row &row : std::as_const(rows)) {
            const int before = row.value.toInt();
            if (rule.largest) {
                changes << ItemValue{row.id, before + step};
                changed = true;
            } else if (before > step) {
                changes << ItemValue{row.id, before - step};
                changed = true;
            }
        }
        if (!changed && !rule.largest)
            r.messages << name + QStringLiteral("的") + rule.column + QStringLiteral("更新失败！");
    }
    QString error;
    if (!changes.isEmpty() && step != 0
        && !writeItems(rule.text, rule.column, changes, error)) {
        r.messages << QStringLiteral("Error:") + error;
        return r;
    }
    r.ok = true;
    r.changed = int(changes.size());
    r.messages << countMessage(r.changed, rule.text);
    return r;
}

DesignResult PrintLayout::setFontSize(const QStringList &names, int size)
{
    return setAll(names, QStringLiteral("CtlFontSize"), size, QStringLiteral("修改字号（字体大小）成功！"));
}

DesignResult PrintLayout::setFontName(const QStringList &names, const QString &fontName)
{
    if (fontName.trimmed().isEmpty()) {
        DesignResult r;
        r.messages << QStringLiteral("字体必须选择");
        return r;
    }
    return setAll(names, QStringLiteral("CtlFontName"), fontName, QStringLiteral("修改字体成功！！"));
}

DesignResult PrintLayout::distribute(const QStringList &names, bool horizontal, int increment)
{
    DesignResult r;
    const QString column = horizontal ? QStringLiteral("CtlX") : QStringLiteral("CtlY");
    const QString text = QStringLiteral("个等宽分布修改成功！");
    if (names.size() < 2) {
        r.messages << countMessage(0, text);
        return r;
    }
    QList<Row> first;
    QString error;
    if (!rowsOf(names.first(), column, first, error) || first.isEmpty() || first.first().value.isNull()) {
        r.messages << (horizontal ? QStringLiteral("没有找到第一个项目的距左参数,中断分布动作！")
                                  : QStringLiteral("没有找到第一个项目的距顶参数,中断分布动作！"));
        return r;
    }
    const int start = first.first().value.toInt();
    QList<ItemValue> changes;
    int matched = 0;
    for (int k = 0; k < names.size(); ++k) {
        QList<Row> rows;
        if (!rowsOf(names[k], column, rows, error)) {
            r.messages << QStringLiteral("Error:") + error;
            return r;
        }
        matched += int(rows.size());
        for (const Row &row : std::as_const(rows))
            if (row.value.toInt() != start + k * increment)
                changes << ItemValue{row.id, start + k * increment};
    }
    if (!changes.isEmpty()
        && !writeItems(text, column, changes, error)) {
        r.messages << QStringLiteral("Error:") + error;
        return r;
    }
    r.ok = true;
    r.changed = matched;
    r.messages << countMessage(matched, text);
    return r;
}

DesignResult PrintLayout::updateTestText(const QString &name, const QString &text)
{
    DesignResult r;
    QSqlQuery q(m_db);
    if (!execBound(q, QStringLiteral("select ID,CtlData from NameDict where CheckTypeName=:typname and "
                                     "CtlName=:ctlName"),
                   {{":typname", kind()}, {":ctlName", name}})) {
        r.messages << QStringLiteral("更新失败！") + q.lastError().text();
        return r;
    }
    QList<int> ids;
    while (q.next())
        ids << q.value(0).toInt();
    if (ids.size() != 1) {
        r.messages << QStringLiteral("测试值更新失败.没有有效的行！");
        return r;
    }
    if (!m_history.write(RowKey{QStringLiteral("NameDict"), {{QStringLiteral("ID"), ids.first()}}},
                         QStringLiteral("CtlData"), text.trimmed(), QStringLiteral("更新测试"))) {
        r.messages << QStringLiteral("更新失败！") + m_history.errorText();
        return r;
    }
    r.ok = true;
    r.changed = 1;
    r.messages << QStringLiteral("更新成功！");
    return r;
}

DesignResult PrintLayout::savePaperSize(const QString &widthCm, const QString &heightCm)
{
    DesignResult r;
    bool widthOk = false;
    bool heightOk = false;
    const double width = widthCm.trimmed().toDouble(&widthOk);
    const double height = heightCm.trimmed().toDouble(&heightOk);
    if (!widthOk || !heightOk || width <= 0 || height <= 0) {
        r.messages << QStringLiteral("失败，票据长和宽必须是大于0的数字。");
        return r;
    }
    if (std::lround(height * 10) > 320) {
        r.messages << QStringLiteral("失败，票据最高不能大于32厘米。");
        return r;
    }
    if (std::lround(width * 10) > 300) {
        r.messages << QStringLiteral("失败，票据最宽不能大于30厘米。");
        return r;
    }
    const int pWidth = int(std::lround(width * 100));
    const int pHeight = int(std::lround(height * 100));
    const RowKey key{QStringLiteral("CKTypeTable"), {{QStringLiteral("CheckTypeID"), templateId()}}};
    const QString text = QStringLiteral("票据尺寸");
    const bool changes = m_history.read(key, QStringLiteral("PWidth")).toInt() != pWidth
                         || m_history.read(key, QStringLiteral("PHeight")).toInt() != pHeight;
    QString error;
    if (changes
        && !inGroup(
            text,
            [&] {
                return m_history.write(key, QStringLiteral("PWidth"), pWidth, text)
                       && m_history.write(key, QStringLiteral("PHeight"), pHeight, text);
            },
            error)) {
        r.messages << QStringLiteral("保存错误") + error;
        return r;
    }
    m_template.paperWidth = pWidth;
    m_template.paperHeight = pHeight;
    r.ok = true;
    r.changed = changes ? 1 : 0;
    r.messages << QStringLiteral("底图实际长和宽保存成功！");
    return r;
}

print::MapValueSource PrintLayout::testValues()
{
    return BillPreview::testValues(templates::PrintItemStore(m_db).printableFields(kind()));
}

void LayoutSelection::setMultiple(bool multiple)
{
    m_multiple = multiple;
    if (!multiple)
        m_names.clear();
}

void LayoutSelection::click(const QString &name)
{
    if (!m_multiple) {
        m_names = QStringList{name};
        return;
    }
    if (m_names.contains(name))
        m_names.removeAll(name);
    else
        m_names << name;
}

void LayoutSelection::doubleClickLabel(const QString &name)
{
    m_names = QStringList{name};
}

void LayoutSelection::doubleClickEntry(const QString &name)
{
    if (!m_multiple)
        m_names = QStringList{name};
    else
        add(name);
}

void LayoutSelection::add(const QString &name)
{
    if (!m_names.contains(name))
        m_names << name;
}

void LayoutSelection::selectAll(const QStringList &all)
{
    m_multiple = true;
    m_names = all;
}

void LayoutSelection::invert(const QStringList &all)
{
    QStringList inverted;
    for (const QString &name : all)
        if (!m_names.contains(name))
            inverted << name;
    m_names = inverted;
    if (m_names.size() > 1)
        m_multiple = true;
}

void LayoutSelection::selectGroup(const QStringList &names)
{
    m_multiple = true;
    m_names = names;
}

} // namespace moque::design
