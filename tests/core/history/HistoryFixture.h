#pragma once

#include "support/TestData.h"

#include <QVariant>

namespace moque::test {

// Six waybills whose 流水号 are 1..6: names with quotes, "%" and "_", a
// contact equal to another row's company, fees with units, blanks, nulls and
// text, dates on both sides of early March 2024.
inline bool addWaybills(TestData &data)
{
    struct Row
    {
        QString receiver, receiverContact, sender, senderContact, date, templateName, number;
        QVariant fee;
    };
    const QList<Row> rows{
        {"广州甲公司", "张三", "深圳乙", "李四", "2024-03-01", "顺丰", "SF001", " 10"},
        {"北京丙", "广州甲公司", "上海丁", "王五", "2024-03-05", "圆通", "YT002", "20元"},
        {"50%折扣店", "赵_六", "深圳乙", "李四", "2024-03-10", "顺丰", "SF003", "  "},
        {"O'Brien \"Ltd\"", "", "x", "", "2024-02-29", "顺丰速运", "SF0010", QVariant()},
        {"500折扣店", "赵六", "Y", "", "2024-03-10", "韵达", "YD5", "abc"},
        {"广州甲公司分部", "", "z", "", "2024-03-11", "顺丰", "sf001", "5.5"},
    };
    for (const Row &r : rows)
        if (!data.exec("insert into DataKDDTable(收件单位, 收件联系人, 寄件单位, 寄件联系人, 寄件日期, 模板种类, "
                       "快递单号, 总费用) values(?, ?, ?, ?, ?, ?, ?, ?)",
                       {r.receiver, r.receiverContact, r.sender, r.senderContact, r.date, r.templateName, r.number,
                        r.fee}))
            return false;
    return true;
}

} // namespace moque::test
