#include "design/TemplateOffset.h"

#include "store/BoundQuery.h"

#include <QSqlQuery>

#include <cstdlib>

namespace moque::design {

namespace {

const QString selectSettings = QStringLiteral(
    "select CheckTypeID,XMove,YMove,TWidth,THeight,PWidth,PHeight,HVPrint from CKTypeTable where ");

int readInt(const QVariant &v, int fallback, bool positive)
{
    bool ok = false;
    const int n = v.toString().trimmed().toInt(&ok);
    if (!ok || (positive && n < 1))
        return fallback;
    return n;
}

WholeTemplateSettings readSettings(const QSqlQuery &q)
{
    WholeTemplateSettings s;
    s.xMove = readInt(q.value(1), 0, false);
    s.yMove = readInt(q.value(2), 0, false);
    // Sizes of 0 mean the defaults: shown as such, so that a save never turns them into a box's minimum.
    s.screenWidth = readInt(q.value(3), 780, true);
    s.screenHeight = readInt(q.value(4), 420, true);
    s.paperWidth = readInt(q.value(5), 2300, true);
    s.paperHeight = readInt(q.value(6), 1270, true);
    const QString hv = q.value(7).toString().trimmed();
    s.landscape = !hv.isEmpty() && hv != QLatin1String("0");
    return s;
}

} // namespace

QList<TemplateOffset::Entry> TemplateOffset::enabledTemplates()
{
    QList<Entry> list;
    QSqlQuery q(m_db);
    if (!store::execBound(q,
                          QStringLiteral("select distinct TypeName,CheckTypeID from CKTypeTable where Visiable=? "
                                         "order by TypeName"),
                          QVariantList{QStringLiteral("启用")}, m_error))
        return list;
    while (q.next()) {
        const QString name = q.value(0).toString();
        if (!name.trimmed().isEmpty())
            list.append({name, q.value(1).toInt()});
    }
    return list;
}

std::optional<std::pair<int, WholeTemplateSettings>> TemplateOffset::load(const QString &fullName)
{
    QSqlQuery q(m_db);
    if (!store::execBound(q, selectSettings + QStringLiteral("TypeName=?"), QVariantList{fullName}, m_error)
        || !q.next())
        return std::nullopt;
    return std::make_pair(q.value(0).toInt(), readSettings(q));
}

std::optional<WholeTemplateSettings> TemplateOffset::load(int templateId)
{
    QSqlQuery q(m_db);
    if (!store::execBound(q, selectSettings + QStringLiteral("CheckTypeID=?"), QVariantList{templateId}, m_error)
        || !q.next())
        return std::nullopt;
    return readSettings(q);
}

QString TemplateOffset::rangeFault(const WholeTemplateSettings &s)
{
    using namespace offsetRange;
    const auto outside = [](int v, int lo, int hi) { return v < lo || v > hi; };
    if (outside(s.xMove, moveMin, moveMax) || outside(s.yMove, moveMin, moveMax))
        return QStringLiteral("整体偏移只能在-3000到3000之间(0.1毫米)，没有保存！");
    if (outside(s.screenWidth, screenWidthMin, screenWidthMax) || outside(s.screenHeight, screenHeightMin, screenHeightMax))
        return QStringLiteral("填开界面宽只能在300到1200之间，高只能在200到900之间，没有保存！");
    if (outside(s.paperWidth, paperWidthMin, paperWidthMax) || outside(s.paperHeight, paperHeightMin, paperHeightMax))
        return QStringLiteral("票据宽只能在300到3000之间，高只能在200到3000之间(0.1毫米)，没有保存！");
    // A shift as large as the paper puts every value beside the form.
    if (std::abs(s.xMove) >= s.paperWidth || std::abs(s.yMove) >= s.paperHeight)
        return QStringLiteral("整体偏移超出了票据大小，打印内容将落在票据之外，没有保存！");
    return {};
}

TemplateOffset::Outcome TemplateOffset::update(int templateId, const QString &sql, const QVariantList &values,
                                               bool changed)
{
    if (!changed)
        return Outcome::Unchanged;
    QSqlQuery q(m_db);
    QVariantList bound = values;
    bound << templateId;
    if (!store::execBound(q, sql, bound, m_error))
        return Outcome::Failed;
    return q.numRowsAffected() > 0 ? Outcome::Changed : Outcome::Unchanged;
}

TemplateOffset::Outcome TemplateOffset::save(int templateId, const WholeTemplateSettings &s)
{
    m_error = rangeFault(s);
    if (!m_error.isEmpty())
        return Outcome::Failed;
    const std::optional<WholeTemplateSettings> stored = load(templateId);
    return update(templateId,
                  QStringLiteral("update CKTypeTable set XMove=?,YMove=?,THeight=?,TWidth=?,PWidth=?,PHeight=?,"
                                 "HVPrint=? where CheckTypeID=?"),
                  {s.xMove, s.yMove, s.screenHeight, s.screenWidth, s.paperWidth, s.paperHeight,
                   s.landscape ? QStringLiteral("1") : QStringLiteral("0")},
                  !stored || !(*stored == s));
}

TemplateOffset::Outcome TemplateOffset::saveOffset(int templateId, int xMove, int yMove)
{
    const std::optional<WholeTemplateSettings> stored = load(templateId);
    if (!stored) {
        m_error = QStringLiteral("没有找到对应的单据信息~");
        return Outcome::Failed;
    }
    WholeTemplateSettings s = *stored;
    s.xMove = xMove;
    s.yMove = yMove;
    m_error = rangeFault(s);
    if (!m_error.isEmpty())
        return Outcome::Failed;
    return update(templateId, QStringLiteral("update CKTypeTable set XMove=?,YMove=? where CheckTypeID=?"),
                  {xMove, yMove}, !(*stored == s));
}

QString TemplateOffset::outcomeText(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Changed:
        return QStringLiteral("票据整体属性修改成功！");
    case Outcome::Unchanged:
        return QStringLiteral("票据整体属性没有变动！");
    case Outcome::Failed:
        break;
    }
    return QStringLiteral("票据整体属性量修改出错！");
}

QString TemplateOffset::centimetres(int tenths)
{
    return QStringLiteral("=") + QString::number(std::abs(tenths) / 100.0) + QStringLiteral("厘米");
}

QString TemplateOffset::notFoundText(int templateId)
{
    return QStringLiteral("没有找到编号为") + QString::number(templateId)
           + QStringLiteral("的票据，请查看是否存在或被隐藏。");
}

} // namespace moque::design
