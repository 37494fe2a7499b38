#include "entry/WaybillFields.h"

#include <algorithm>
#include <numeric>

namespace moque::entry {

const QList<BillField> &waybillFields()
{
    using C = BillField::Control;
    using B = BillField::Block;
    static const QList<BillField> fields{
        // The sender.
        {QStringLiteral("zdHKR"), C::Combo, B::Sender, QStringLiteral("寄件单位")},
        {QStringLiteral("zdHKRLXR"), C::Edit, B::Sender, QStringLiteral("寄方联系人")},
        {QStringLiteral("hkrHandset"), C::Edit, B::Sender, QStringLiteral("寄件方手机")},
        {QStringLiteral("zdhkrDH"), C::Edit, B::Sender, QStringLiteral("寄方联系电话")},
        {QStringLiteral("edtCountryFrom"), C::Edit, B::Sender, QStringLiteral("寄方所在国家")},
        {QStringLiteral("zdHKRS"), C::Edit, B::Sender, QStringLiteral("寄方所在省")},
        {QStringLiteral("zdHKRXS"), C::Edit, B::Sender, QStringLiteral("寄方所在县/市")},
        {QStringLiteral("edtFJRTown"), C::Edit, B::Sender, QStringLiteral("发件人镇/区")},
        {QStringLiteral("zdHkrDZ"), C::Memo, B::Sender, QStringLiteral("寄方地址")},
        {QStringLiteral("zdHKRYB"), C::Edit, B::Sender, QStringLiteral("寄方邮编")},
        {QStringLiteral("zdJFKHBM"), C::Edit, B::Sender, QStringLiteral("寄方客户编号")},
        {QStringLiteral("cbFromSite"), C::Combo, B::Sender, QStringLiteral("请在字典管理中修改始发站为您所在地区")},
        // The receiver.
        {QStringLiteral("zdSKR"), C::Combo, B::Receiver, QStringLiteral("收件单位")},
        {QStringLiteral("zdSKRLXR"), C::Edit, B::Receiver, QStringLiteral("收方联系人")},
        {QStringLiteral("skrHandset"), C::Edit, B::Receiver, QStringLiteral("收方手机")},
        {QStringLiteral("zdskrDH"), C::Edit, B::Receiver, QStringLiteral("收方联系电话")},
        {QStringLiteral("edtCountryDest"), C::Edit, B::Receiver, QStringLiteral("收方所在国家")},
        {QStringLiteral("zdSKRS"), C::Edit, B::Receiver, QStringLiteral("收方所在省")},
        {QStringLiteral("zdSKRXS"), C::Edit, B::Receiver, QStringLiteral("收方所在县/市")},
        {QStringLiteral("edtSJRTown"), C::Edit, B::Receiver, QStringLiteral("收件人镇/区")},
        {QStringLiteral("zdSkrDZ"), C::Memo, B::Receiver, QStringLiteral("收件方地址")},
        {QStringLiteral("zdSKRYB"), C::Edit, B::Receiver, QStringLiteral("收方邮编")},
        {QStringLiteral("zdSFKHBM"), C::Edit, B::Receiver, QStringLiteral("收方客户编号")},
        {QStringLiteral("cbDestSite"), C::Combo, B::Receiver, QStringLiteral("目的站")},
        // The contents and fees.
        {QStringLiteral("zdPJBH"), C::Edit, B::Contents, QStringLiteral("速递单号")},
        {QStringLiteral("zdUserCode"), C::Combo, B::Contents, QStringLiteral("快递帐号")},
        {QStringLiteral("zdWPNR"), C::Memo, B::Contents, QStringLiteral("物品内容(鼠标双击下拉选择)")},
        {QStringLiteral("edtAmount"), C::Combo, B::Contents,
         QStringLiteral("可在设计模式中设置默认值，或者字典管理中设置下拉预选项")},
        {QStringLiteral("edtWeight"), C::Edit, B::Contents, QStringLiteral("重量")},
        {QStringLiteral("zdTiJi"), C::Edit, B::Contents, QStringLiteral("体积")},
        {QStringLiteral("zdBJJE"), C::Edit, B::Contents, QStringLiteral("保价金额")},
        {QStringLiteral("zdBJFee"), C::Edit, B::Contents, QStringLiteral("保价费")},
        {QStringLiteral("zdYunFee"), C::Edit, B::Contents, QStringLiteral("运费")},
        {QStringLiteral("zdJiaJiFee"), C::Edit, B::Contents, QStringLiteral("加急费")},
        {QStringLiteral("zdBaoZFee"), C::Edit, B::Contents, QStringLiteral("包装费")},
        {QStringLiteral("zdSongHFee"), C::Edit, B::Contents, QStringLiteral("送货费")},
        {QStringLiteral("zdQiTaFee"), C::Edit, B::Contents, QStringLiteral("其他费")},
        {QStringLiteral("zdDaisJE"), C::Edit, B::Contents, QStringLiteral("代收金额")},
        {QStringLiteral("zdShouxuFee"), C::Edit, B::Contents, QStringLiteral("手续费")},
        {QStringLiteral("edtMoney"), C::Edit, B::Contents, QStringLiteral("总费用")},
        {QStringLiteral("zdJEDX1"), C::Edit, B::Contents,
         QStringLiteral("金额大写(只需输入小写),如启用大写，请在设计模式里设定其等宽打印参数")},
        {QStringLiteral("zdBz"), C::Memo, B::Contents, QStringLiteral("备注说明(鼠标双击下拉选择)")},
        {QStringLiteral("zdDef1"), C::Combo, B::Contents, QStringLiteral("自定义1")},
        {QStringLiteral("zdDef2"), C::Combo, B::Contents, QStringLiteral("自定义2")},
        {QStringLiteral("zdDef3"), C::Edit, B::Contents, QStringLiteral("自定义3")},
        {QStringLiteral("zdDef4"), C::Edit, B::Contents, QStringLiteral("自定义3")},
        {QStringLiteral("zdDef5"), C::Edit, B::Contents, QStringLiteral("自定义3")},
        {QStringLiteral("zdTxt1"), C::Edit, B::Contents, QStringLiteral("固定文字")},
        {QStringLiteral("zdTxt2"), C::Edit, B::Contents, QStringLiteral("固定文字")},
        // The signature and the dates.
        {QStringLiteral("zdSign"), C::Combo, B::Closing,
         QStringLiteral("寄件人签名-可在字典管理中修改预选项，设计模式中设置默认值")},
        {QStringLiteral("zdNian"), C::Edit, B::Closing, QStringLiteral("寄出年")},
        {QStringLiteral("zdYue"), C::Edit, B::Closing, QStringLiteral("寄出月")},
        {QStringLiteral("zdRi"), C::Edit, B::Closing, QStringLiteral("寄出日")},
        {QStringLiteral("zdTime"), C::Edit, B::Closing, QStringLiteral("寄出时")},
    };
    return fields;
}

QList<qsizetype> readingOrder(const QList<FieldPlace> &places)
{
    QList<qsizetype> order(places.size());
    std::iota(order.begin(), order.end(), 0);
    const auto middle = [&places](qsizetype i) { return places.at(i).rect.center().y(); };
    // Top to bottom first, so that rows can be cut where the middles jump.
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        if (places.at(a).block != places.at(b).block)
            return places.at(a).block < places.at(b).block;
        return middle(a) < middle(b);
    });
    QList<int> row(places.size());
    int rows = 0;
    qsizetype rowStart = -1;
    int rowHeight = 0;
    for (const qsizetype i : std::as_const(order)) {
        const QRect &rect = places.at(i).rect;
        const bool sameRow = rowStart >= 0 && places.at(rowStart).block == places.at(i).block
            && middle(i) - middle(rowStart) < std::min(rowHeight, rect.height()) / 2.0;
        if (!sameRow) {
            ++rows;
            rowStart = i;
            rowHeight = rect.height();
        } else {
            rowHeight = std::min(rowHeight, rect.height());
        }
        row[i] = rows;
    }
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        if (row.at(a) != row.at(b))
            return row.at(a) < row.at(b);
        return places.at(a).rect.x() < places.at(b).rect.x();
    });
    return order;
}

} // namespace moque::entry
