#include "entry/InvoiceFields.h"

namespace moque::entry::table {


BillField numberedField(const char *name, int n, C control, const QString &hint)
{
    return field(numbered(name, n).toLatin1().constData(), control, B::Contents, hint);
}

void addChargeLine(BillFields &fields, int n, int &step, LineSaving saving, const ListSource &chargeList)
{
    const auto kept = [&](const char *name, const char *column, C control, const QString &hint,
                          const QStringList &shownBy) {
        BillField f = numberedField(name, n, control, hint).saved(numbered(column, n), step++);
        if (saving == LineSaving::WhileShown)
            f = f.savedOnlyWhenShown(shownBy.isEmpty() ? QStringList{numbered(name, n)} : shownBy);
        fields << f;
    };
    kept("zdSFNR", "收费内容", chargeList.kind == L::None ? C::Edit : C::Combo, QStringLiteral("点击输入"), {});
    fields.last() = fields.last().listedFrom(chargeList);
    kept("zdHuoHao", "货号", C::Edit, QStringLiteral("货号"), {});
    kept("zdGuiGe", "规格", C::Edit, QStringLiteral("规格"), {});
    kept("zdDW", "单位", C::Combo, QStringLiteral("单位"), {});
    fields.last() = fields.last().listedFrom(dictionary(QStringLiteral("计量单位"), S::AllOnly));
    kept("zdSL", "数量", C::Edit, QStringLiteral("数量"), {});
    kept("zdDJ", "单价", C::Edit, QStringLiteral("单价"), {});
    // The typed amount; its line counts while the amount or its 元 box shows.
    kept("zdJEXX", "金额", C::Edit, QStringLiteral("金额"), {numbered("zdJE", n), numbered("zdY", n)});
    fields << numberedField("zdJE", n, C::Edit, n == 1 ? QStringLiteral("点击输入") : QStringLiteral("金额")).computed();
}

void addDigitBoxes(BillFields &fields, const QStringList &names)
{
    for (const QString &name : names)
        fields << field(name.toLatin1().constData(), C::Edit, B::Contents, QString()).computed();
}

BillFields totalFields()
{
    return {
        field("zdHJJEXX", C::Edit, B::Contents, QStringLiteral("合计数值")).saved(QStringLiteral("合计金额")),
        field("zdHJJE", C::Edit, B::Contents, QStringLiteral("合计金额")).computed(),
        field("zdJEDX", C::Edit, B::Contents, QStringLiteral("大写金额")).computed(),
        field("inputJEXX", C::Edit, B::Contents, QStringLiteral("金额大写(只需输入小写,回车自动转换大写),")).notPrinted(),
    };
}

} // namespace moque::entry::table
