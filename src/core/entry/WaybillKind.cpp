#include "entry/BillKind.h"

#include "entry/BillValues.h"
#include "entry/FieldTable.h"

namespace moque::entry {

namespace {

using namespace table;

ListSource pieceCounts()
{
    ListSource source;
    source.kind = L::Fixed;
    for (int n : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 20, 30, 50, 100})
        source.values << QString::number(n);
    return source;
}

// The fields in the order a save writes them into DataKDDTable, then those
// the table does not keep. The number after a column is the field's place
// when a saved bill is opened again.
BillFields waybillFields()
{
    return {
        field("zdHKR", C::Combo, B::Sender, QStringLiteral("寄件单位"))
            .saved(QStringLiteral("寄件单位"), 2)
            .ofParty(P::Own, R::FullName)
            .listedFrom(addressBook()),
        field("zdHkrDZ", C::Memo, B::Sender, QStringLiteral("寄方地址"))
            .saved(QStringLiteral("寄件地址"), 3)
            .ofParty(P::Own, R::Address),
        field("edtCountryFrom", C::Edit, B::Sender, QStringLiteral("寄方所在国家"))
            .saved(QStringLiteral("寄件国家"))
            .ofParty(P::Own, R::Country)
            .listedFrom(picker(L::Countries, "cbCountry")),
        field("cbFromSite", C::Combo, B::Sender, QStringLiteral("请在字典管理中修改始发站为您所在地区"))
            .saved(QStringLiteral("始发站"))
            .ofParty(P::Own)
            .listedFrom(firstByDefault(dictionary(QStringLiteral("始发站"), S::AllThenTemplate))),
        field("zdHKRS", C::Edit, B::Sender, QStringLiteral("寄方所在省"))
            .saved(QStringLiteral("寄件省"), 5)
            .ofParty(P::Own, R::Province)
            .listedFrom(writingWhileChoosing(picker(L::Provinces, "Cb_S"))),
        field("zdHKRXS", C::Edit, B::Sender, QStringLiteral("寄方所在县/市"))
            .saved(QStringLiteral("寄件市县"), 6)
            .ofParty(P::Own, R::City)
            .listedFrom(picker(L::Cities, "Cb_XS")),
        field("edtFJRTown", C::Edit, B::Sender, QStringLiteral("发件人镇/区"))
            .saved(QStringLiteral("寄件镇区"), 7)
            .ofParty(P::Own, R::Town),
        field("zdHKRLXR", C::Edit, B::Sender, QStringLiteral("寄方联系人"))
            .saved(QStringLiteral("寄件联系人"), 4)
            .ofParty(P::Own, R::Contact),
        field("zdhkrDH", C::Edit, B::Sender, QStringLiteral("寄方联系电话"))
            .saved(QStringLiteral("寄件电话"), 9)
            .ofParty(P::Own, R::Phone),
        field("hkrHandset", C::Edit, B::Sender, QStringLiteral("寄件方手机"))
            .saved(QStringLiteral("寄方手机"), 8)
            .ofParty(P::Own, R::Mobile),
        field("zdHKRYB", C::Edit, B::Sender, QStringLiteral("寄方邮编"))
            .saved(QStringLiteral("寄方邮编"), 22)
            .ofParty(P::Own, R::ZipCode),
        field("SelDate", C::DatePicker, B::Closing, QString()).saved(QStringLiteral("寄件日期"), 20).notPrinted(),
        field("zdTime", C::Edit, B::Closing, QStringLiteral("寄出时"))
            .saved(QStringLiteral("寄件时间"), 21)
            .asDateBox(D::Time),
        field("zdSKR", C::Combo, B::Receiver, QStringLiteral("收件单位"))
            .saved(QStringLiteral("收件单位"), 10)
            .ofParty(P::Partner, R::FullName)
            .listedFrom(addressBook())
            .withPlaceholder(receiverPlaceholder())
            .clearedOnNew(),
        field("zdSkrDZ", C::Memo, B::Receiver, QStringLiteral("收件方地址"))
            .saved(QStringLiteral("收件地址"), 11)
            .ofParty(P::Partner, R::Address)
            .clearedOnNew(),
        field("cbDestSite", C::Combo, B::Receiver, QStringLiteral("目的站"))
            .saved(QStringLiteral("目的站"))
            .ofParty(P::Partner)
            .clearedOnNew(),
        field("edtCountryDest", C::Edit, B::Receiver, QStringLiteral("收方所在国家"))
            .saved(QStringLiteral("收件国家"))
            .ofParty(P::Partner, R::Country)
            .listedFrom(picker(L::Countries, "cbCountry"))
            .clearedOnNew(),
        field("zdSKRS", C::Edit, B::Receiver, QStringLiteral("收方所在省"))
            .saved(QStringLiteral("收件省"), 12)
            .ofParty(P::Partner, R::Province)
            .listedFrom(writingWhileChoosing(picker(L::Provinces, "Cb_S")))
            .clearedOnNew(),
        field("zdSKRXS", C::Edit, B::Receiver, QStringLiteral("收方所在县/市"))
            .saved(QStringLiteral("收件市县"), 13)
            .ofParty(P::Partner, R::City)
            .listedFrom(picker(L::Cities, "Cb_XS"))
            .clearedOnNew(),
        field("zdSKRLXR", C::Edit, B::Receiver, QStringLiteral("收方联系人"))
            .saved(QStringLiteral("收件联系人"), 16)
            .ofParty(P::Partner, R::Contact)
            .clearedOnNew(),
        field("zdskrDH", C::Edit, B::Receiver, QStringLiteral("收方联系电话"))
            .saved(QStringLiteral("收件电话"), 17)
            .ofParty(P::Partner, R::Phone)
            .clearedOnNew(),
        field("skrHandset", C::Edit, B::Receiver, QStringLiteral("收方手机"))
            .saved(QStringLiteral("收方手机"), 15)
            .ofParty(P::Partner, R::Mobile)
            .clearedOnNew(),
        field("zdSKRYB", C::Edit, B::Receiver, QStringLiteral("收方邮编"))
            .saved(QStringLiteral("收方邮编"), 23)
            .ofParty(P::Partner, R::ZipCode)
            .clearedOnNew(),
        field("edtSJRTown", C::Edit, B::Receiver, QStringLiteral("收件人镇/区"))
            .saved(QStringLiteral("收件镇区"), 14)
            .ofParty(P::Partner, R::Town)
            .clearedOnNew(),
        field("zdWPNR", C::Memo, B::Contents, QStringLiteral("物品内容(鼠标双击下拉选择)"))
            .saved(QStringLiteral("物品内容"), 19)
            .listedFrom(writingWhileChoosing(
                withPicker(dictionary(QStringLiteral("物品内容"), S::AllThenTemplate), "cb_zdWPNR")))
            .clearedOnNew(),
        field("edtAmount", C::Combo, B::Contents, QStringLiteral("可在设计模式中设置默认值，或者字典管理中设置下拉预选项"))
            .saved(QStringLiteral("件数"), 26)
            .listedFrom(pieceCounts())
            .clearedOnNew(),
        field("edtWeight", C::Edit, B::Contents, QStringLiteral("重量")).saved(QStringLiteral("重量"), 27).clearedOnNew(),
        field("edtMoney", C::Edit, B::Contents, QStringLiteral("总费用")).saved(QStringLiteral("总费用"), 28).clearedOnNew(),
        field("cbFirstTypeName", C::TemplateChoice, B::Contents, QString()).saved(QStringLiteral("模板种类")).notPrinted(),
        field("zdUserCode", C::Combo, B::Contents, QStringLiteral("快递帐号")).saved(QStringLiteral("快递帐号"), 24),
        field("", C::OptionBoxes, B::Contents, QString()).saved(QStringLiteral("其他选项"), 1).notPrinted(),
        field("zdPJBH", C::Edit, B::Contents, QStringLiteral("速递单号")).saved(QStringLiteral("快递单号"), 25).clearedOnNew(),
        field("zdBz", C::Memo, B::Contents, QStringLiteral("备注说明(鼠标双击下拉选择)"))
            .saved(QStringLiteral("备注"), 18)
            .listedFrom(withPicker(dictionary(QStringLiteral("备注"), S::TemplateThenAll), "cbBZ"))
            .clearedOnNew(),
        field("zdJiaJiFee", C::Edit, B::Contents, QStringLiteral("加急费")).saved(QStringLiteral("加急费"), 33),
        field("zdShouxuFee", C::Edit, B::Contents, QStringLiteral("手续费")).saved(QStringLiteral("手续费"), 35),
        field("zdDaisJE", C::Edit, B::Contents, QStringLiteral("代收金额")).saved(QStringLiteral("代收金额"), 31),
        field("zdBaoZFee", C::Edit, B::Contents, QStringLiteral("包装费")).saved(QStringLiteral("包装费")),
        field("zdYunFee", C::Edit, B::Contents, QStringLiteral("运费")).saved(QStringLiteral("运费"), 37),
        field("zdQiTaFee", C::Edit, B::Contents, QStringLiteral("其他费")).saved(QStringLiteral("其他费"), 32),
        field("zdTiJi", C::Edit, B::Contents, QStringLiteral("体积")).saved(QStringLiteral("体积")),
        field("zdSongHFee", C::Edit, B::Contents, QStringLiteral("送货费")).saved(QStringLiteral("送货费"), 34),
        field("zdJEDX1", C::Edit, B::Contents,
              QStringLiteral("金额大写(只需输入小写),如启用大写，请在设计模式里设定其等宽打印参数"))
            .saved(QStringLiteral("金额大写1"), 30),
        field("zdBJJE", C::Edit, B::Contents, QStringLiteral("保价金额")).saved(QStringLiteral("保价金额"), 29),
        field("zdBJFee", C::Edit, B::Contents, QStringLiteral("保价费")).saved(QStringLiteral("保价费"), 36),
        field("zdDef1", C::Combo, B::Contents, QStringLiteral("自定义1"))
            .saved(QStringLiteral("自定义1"), 38)
            .listedFrom(dictionary(QStringLiteral("自定义1"), S::TemplateElseAll)),
        field("zdDef2", C::Combo, B::Contents, QStringLiteral("自定义2"))
            .saved(QStringLiteral("自定义2"), 39)
            .listedFrom(dictionary(QStringLiteral("自定义2"), S::TemplateElseAll)),
        field("zdDef3", C::Edit, B::Contents, QStringLiteral("自定义3")).saved(QStringLiteral("自定义3"), 40),
        field("zdDef4", C::Edit, B::Contents, QStringLiteral("自定义3")).saved(QStringLiteral("自定义4"), 41),
        field("zdDef5", C::Edit, B::Contents, QStringLiteral("自定义3")).saved(QStringLiteral("自定义5"), 42),
        // Printed but not kept.
        field("zdJFKHBM", C::Edit, B::Sender, QStringLiteral("寄方客户编号")),
        field("zdSFKHBM", C::Edit, B::Receiver, QStringLiteral("收方客户编号")),
        field("zdTxt1", C::Edit, B::Contents, QStringLiteral("固定文字")),
        field("zdTxt2", C::Edit, B::Contents, QStringLiteral("固定文字")),
        field("zdSign", C::Combo, B::Closing, QStringLiteral("寄件人签名-可在字典管理中修改预选项，设计模式中设置默认值"))
            .ofParty(P::Own)
            .listedFrom(firstByDefault(dictionary(QStringLiteral("发件人签名"), S::AllThenTemplate))),
        field("zdNian", C::Edit, B::Closing, QStringLiteral("寄出年")).asDateBox(D::Year),
        field("zdYue", C::Edit, B::Closing, QStringLiteral("寄出月")).asDateBox(D::Month),
        field("zdRi", C::Edit, B::Closing, QStringLiteral("寄出日")).asDateBox(D::Day),
    };
}

} // namespace

const BillKind &waybillKind()
{
    static const BillKind kind{
        .name = QStringLiteral("快递单"),
        .formName = QStringLiteral("fmCheckKDD"),
        .historyTable = QStringLiteral("DataKDDTable"),
        .texts = BillTexts::waybill(),
        .templateHint = QStringLiteral("快递单类型-您可以在系统管理-快递单筛选中修改默快递单"),
        .noTemplateMessage = QStringLiteral("请选择快递单的类型!"),
        .pdfFileName = QStringLiteral("快递单.pdf"),
        .ownShape = {QStringLiteral("shpHKR"), QStringLiteral("点击选取寄件人"), QStringLiteral("选择发件人资料"),
                     QStringLiteral("我方单位")},
        .partnerShape = {QStringLiteral("shpskr"), QStringLiteral("点击选取收件人"), QStringLiteral("选择收件人资料"),
                         QStringLiteral("往来单位")},
        .firstField = QStringLiteral("zdSKR"),
        .numberField = QStringLiteral("zdPJBH"),
        .fields = waybillFields(),
        .closeKeyFields = {QStringLiteral("zdSKR"), QStringLiteral("zdSKRLXR")},
        .stateColumn = {},
        .readyOptionBoxes = 13,
        .repeatPrintShown = false,
        .batchPrintShown = true,
        .emptyPickClears = true,
        .remembersPosition = true,
        .dateLineField = {},
    };
    return kind;
}

} // namespace moque::entry
