#include "entry/WaybillColumns.h"

#include <QSet>

namespace moque::entry {

QString receiverPlaceholder()
{
    return QStringLiteral("单击我或红圈选择收件人...:)");
}

const QList<ColumnBinding> &waybillSaveBindings()
{
    static const QList<ColumnBinding> bindings{
        {QStringLiteral("zdHKR"), QStringLiteral("寄件单位")},
        {QStringLiteral("zdHkrDZ"), QStringLiteral("寄件地址")},
        {QStringLiteral("edtCountryFrom"), QStringLiteral("寄件国家")},
        {QStringLiteral("cbFromSite"), QStringLiteral("始发站")},
        {QStringLiteral("zdHKRS"), QStringLiteral("寄件省")},
        {QStringLiteral("zdHKRXS"), QStringLiteral("寄件市县")},
        {QStringLiteral("edtFJRTown"), QStringLiteral("寄件镇区")},
        {QStringLiteral("zdHKRLXR"), QStringLiteral("寄件联系人")},
        {QStringLiteral("zdhkrDH"), QStringLiteral("寄件电话")},
        {QStringLiteral("hkrHandset"), QStringLiteral("寄方手机")},
        {QStringLiteral("zdHKRYB"), QStringLiteral("寄方邮编")},
        {QStringLiteral("SelDate"), QStringLiteral("寄件日期"), ValueKind::Date},
        {QStringLiteral("zdTime"), QStringLiteral("寄件时间")},
        {QStringLiteral("zdSKR"), QStringLiteral("收件单位"), ValueKind::ReceiverName},
        {QStringLiteral("zdSkrDZ"), QStringLiteral("收件地址")},
        {QStringLiteral("cbDestSite"), QStringLiteral("目的站")},
        {QStringLiteral("edtCountryDest"), QStringLiteral("收件国家")},
        {QStringLiteral("zdSKRS"), QStringLiteral("收件省")},
        {QStringLiteral("zdSKRXS"), QStringLiteral("收件市县")},
        {QStringLiteral("zdSKRLXR"), QStringLiteral("收件联系人")},
        {QStringLiteral("zdskrDH"), QStringLiteral("收件电话")},
        {QStringLiteral("skrHandset"), QStringLiteral("收方手机")},
        {QStringLiteral("zdSKRYB"), QStringLiteral("收方邮编")},
        {QStringLiteral("edtSJRTown"), QStringLiteral("收件镇区")},
        {QStringLiteral("zdWPNR"), QStringLiteral("物品内容")},
        {QStringLiteral("edtAmount"), QStringLiteral("件数")},
        {QStringLiteral("edtWeight"), QStringLiteral("重量")},
        {QStringLiteral("edtMoney"), QStringLiteral("总费用")},
        {QStringLiteral("cbFirstTypeName"), QStringLiteral("模板种类"), ValueKind::TemplateName},
        {QStringLiteral("zdUserCode"), QStringLiteral("快递帐号")},
        {QString(), QStringLiteral("其他选项"), ValueKind::Options},
        {QStringLiteral("zdPJBH"), QStringLiteral("快递单号")},
        {QStringLiteral("zdBz"), QStringLiteral("备注")},
        {QStringLiteral("zdJiaJiFee"), QStringLiteral("加急费")},
        {QStringLiteral("zdShouxuFee"), QStringLiteral("手续费")},
        {QStringLiteral("zdDaisJE"), QStringLiteral("代收金额")},
        {QStringLiteral("zdBaoZFee"), QStringLiteral("包装费")},
        {QStringLiteral("zdYunFee"), QStringLiteral("运费")},
        {QStringLiteral("zdQiTaFee"), QStringLiteral("其他费")},
        {QStringLiteral("zdTiJi"), QStringLiteral("体积")},
        {QStringLiteral("zdSongHFee"), QStringLiteral("送货费")},
        {QStringLiteral("zdJEDX1"), QStringLiteral("金额大写1")},
        {QStringLiteral("zdBJJE"), QStringLiteral("保价金额")},
        {QStringLiteral("zdBJFee"), QStringLiteral("保价费")},
        {QStringLiteral("zdDef1"), QStringLiteral("自定义1")},
        {QStringLiteral("zdDef2"), QStringLiteral("自定义2")},
        {QStringLiteral("zdDef3"), QStringLiteral("自定义3")},
        {QStringLiteral("zdDef4"), QStringLiteral("自定义4")},
        {QStringLiteral("zdDef5"), QStringLiteral("自定义5")},
    };
    return bindings;
}

QStringList waybillSaveColumns()
{
    QStringList columns;
    for (const ColumnBinding &b : waybillSaveBindings())
        columns << b.column;
    return columns;
}

const QList<ColumnBinding> &waybillReadBackBindings()
{
    // Same controls as the save; only the order and the subset differ.
    static const QList<ColumnBinding> bindings = [] {
        const QStringList order{
            QStringLiteral("其他选项"), QStringLiteral("寄件单位"), QStringLiteral("寄件地址"),
            QStringLiteral("寄件联系人"), QStringLiteral("寄件省"), QStringLiteral("寄件市县"),
            QStringLiteral("寄件镇区"), QStringLiteral("寄方手机"), QStringLiteral("寄件电话"),
            QStringLiteral("收件单位"), QStringLiteral("收件地址"), QStringLiteral("收件省"),
            QStringLiteral("收件市县"), QStringLiteral("收件镇区"), QStringLiteral("收方手机"),
            QStringLiteral("收件联系人"), QStringLiteral("收件电话"), QStringLiteral("备注"),
            QStringLiteral("物品内容"), QStringLiteral("寄件日期"), QStringLiteral("寄件时间"),
            QStringLiteral("寄方邮编"), QStringLiteral("收方邮编"), QStringLiteral("快递帐号"),
            QStringLiteral("快递单号"), QStringLiteral("件数"), QStringLiteral("重量"),
            QStringLiteral("总费用"), QStringLiteral("保价金额"), QStringLiteral("金额大写1"),
            QStringLiteral("代收金额"), QStringLiteral("其他费"), QStringLiteral("加急费"),
            QStringLiteral("送货费"), QStringLiteral("手续费"), QStringLiteral("保价费"),
            QStringLiteral("运费"), QStringLiteral("自定义1"), QStringLiteral("自定义2"),
            QStringLiteral("自定义3"), QStringLiteral("自定义4"), QStringLiteral("自定义5")};
        QHash<QString, ColumnBinding> byColumn;
        for (const ColumnBinding &b : waybillSaveBindings())
            byColumn.insert(b.column, b);
        QList<ColumnBinding> result;
        for (const QString &column : order)
            result << byColumn.value(column);
        return result;
    }();
    return bindings;
}

QStringList waybillColumnsNotReadBack()
{
    return {QStringLiteral("寄件国家"), QStringLiteral("始发站"), QStringLiteral("目的站"),
            QStringLiteral("收件国家"), QStringLiteral("包装费"), QStringLiteral("体积")};
}

QStringList waybillNewBillClears()
{
    return {QStringLiteral("zdSKR"),      QStringLiteral("zdSKRS"),         QStringLiteral("zdSKRXS"),
            QStringLiteral("zdskrDH"),    QStringLiteral("zdSKRLXR"),       QStringLiteral("zdSKRYB"),
            QStringLiteral("zdPJBH"),     QStringLiteral("zdSkrDZ"),        QStringLiteral("skrHandset"),
            QStringLiteral("edtSJRTown"), QStringLiteral("edtCountryDest"), QStringLiteral("cbDestSite"),
            QStringLiteral("edtWeight"),  QStringLiteral("edtMoney"),       QStringLiteral("edtAmount"),
            QStringLiteral("zdWPNR"),     QStringLiteral("zdBz")};
}

QHash<QString, QString> waybillRow(const WaybillInput &input)
{
    QHash<QString, QString> row;
    for (const ColumnBinding &b : waybillSaveBindings()) {
        QString value;
        switch (b.kind) {
        case ValueKind::Text:
            value = input.controls.value(b.control);
            break;
        case ValueKind::ReceiverName:
            value = receiverNameForSave(input.controls.value(b.control));
            break;
        case ValueKind::Date:
            value = dateText(input.date);
            break;
        case ValueKind::Options:
            value = input.options;
            break;
        case ValueKind::TemplateName:
            value = input.templateName;
            break;
        }
        row.insert(b.column, value);
    }
    return row;
}

QString receiverNameForSave(const QString &shown)
{
    return shown == receiverPlaceholder() ? QString() : shown;
}

QString dateText(const QDate &date)
{
    return date.toString(Qt::ISODate);
}

QDate dateFromText(const QString &text)
{
    return QDate::fromString(text.trimmed(), Qt::ISODate);
}

QStringList optionCaptions(const QString &checkBoxs)
{
    const QString list = checkBoxs.trimmed();
    if (list.isEmpty())
        return {};
    return list.split(QLatin1Char(','));
}

QString tickedOptionsText(const QStringList &captions, const QList<bool> &ticked)
{
    QStringList chosen;
    for (qsizetype i = 0; i < captions.size() && i < ticked.size(); ++i) {
        if (ticked[i])
            chosen << captions[i];
    }
    return chosen.join(QLatin1Char(','));
}

QList<bool> ticksFromOptionsText(const QStringList &captions, const QString &saved)
{
    const QStringList elements = saved.split(QLatin1Char(','));
    const QSet<QString> named(elements.cbegin(), elements.cend());
    QList<bool> ticks;
    for (const QString &caption : captions)
        ticks << (!saved.isEmpty() && named.contains(caption));
    return ticks;
}

} // namespace moque::entry
