#include "entry/BillKind.h"

#include "entry/ExportInvoiceAids.h"
#include "entry/InvoiceFields.h"

namespace moque::entry {

namespace {

using namespace table;

// A box listed from the dictionary of its column's name, kept for all templates.
BillField listed(const char *name, B block, const QString &column, int &step)
{
    return field(name, C::Combo, block, column)
        .saved(column, step++)
        .listedFrom(dictionary(column, S::AllOnly));
}

BillFields exportInvoiceFields()
{
    int step = 1;
    // In the order a save writes the columns.
    BillFields fields{
        field("cbFirstTypeName", C::TemplateChoice, B::Contents, QString()).saved(QStringLiteral("模板种类")).notPrinted(),
        field("zdCheckDMNo", C::Edit, B::Contents, QStringLiteral("单号或编号")).saved(QStringLiteral("发票代码"), step++),
        // Opening a registered number reads 发票编号 when 票据编号 is still empty.
        field("zdCheckNo", C::Edit, B::Contents, QStringLiteral("单号或编号")).saved(QStringLiteral("票据编号"), step++),
        field("SelDate", C::DatePicker, B::Closing, QStringLiteral("选择日期"))
            .saved(QStringLiteral("出票日期"), step++)
            .notPrinted(),
        field("zdGouHComp", C::Combo, B::Receiver, QStringLiteral("购方单位"))
            .saved(QStringLiteral("购方单位"), step++)
            .ofParty(P::Partner, R::FullName)
            .listedFrom(addressBook())
            .clearedOnNew(),
        field("zdGouHAddr", C::Edit, B::Receiver, QStringLiteral("购方地址"))
            .saved(QStringLiteral("购方地址"), step++)
            .ofParty(P::Partner, R::Address)
            .clearedOnNew(),
        field("zdGouHPhone", C::Edit, B::Receiver, QStringLiteral("购方电话"))
            .saved(QStringLiteral("购方电话"), step++)
            .ofParty(P::Partner, R::Phone)
            .clearedOnNew(),
        // 币种 follows here; the window writes it from the currency of the option strip.
        field("zdWaiHJXX", C::Edit, B::Contents, QStringLiteral("外币小写")).saved(QStringLiteral("金额合计")).computed(),
        field("zdExchRate", C::Combo, B::Contents, QStringLiteral("当期汇率"))
            .saved(QStringLiteral("当期汇率"), step++)
            .listedFrom([] {
                ListSource rates;
                rates.kind = L::Fixed;
                rates.values = {kDefaultRate};
                return rates;
            }()),
        field("zdFobWaiHJXX", C::Edit, B::Contents, QStringLiteral("离岸价合计"))
            .saved(QStringLiteral("离岸价合计"))
            .computed(),
        listed("zdKaiPRen", B::Closing, QStringLiteral("开票人"), step),
        field("zdHeTNo", C::Edit, B::Contents, QStringLiteral("合同号码")).saved(QStringLiteral("合同号码"), step++),
        listed("zdTradeType", B::Contents, QStringLiteral("贸易方式"), step),
        listed("zdShouHType", B::Contents, QStringLiteral("收汇方式"), step),
        listed("zdTrustNo", B::Contents, QStringLiteral("信用证号"), step),
        listed("zdYunSTool", B::Contents, QStringLiteral("运输方式"), step),
        listed("zdPortFrom", B::Contents, QStringLiteral("启运港"), step),
        listed("zdPortMid", B::Contents, QStringLiteral("转运港"), step),
        listed("zdPortDest", B::Contents, QStringLiteral("目的港"), step),
        field("zdXiaoHComp", C::Combo, B::Sender, QStringLiteral("销方单位"))
            .saved(QStringLiteral("销方单位"), step++)
            .ofParty(P::Own, R::FullName)
            .listedFrom(addressBook()),
        field("zdXiaoHAddr", C::Edit, B::Sender, QStringLiteral("销方地址"))
            .saved(QStringLiteral("销方地址"), step++)
            .ofParty(P::Own, R::Address),
        field("zdXiaoHPhone", C::Edit, B::Sender, QStringLiteral("销方电话"))
            .saved(QStringLiteral("销方电话"), step++)
            .ofParty(P::Own, R::Phone),
    };
    for (int n = 1; n <= kExportLines; ++n) {
        fields << numberedField("zdOrdNo", n, C::Edit, numbered("订单号码", n)).saved(numbered("订单号码", n), step++);
        fields << numberedField("zdGoodName", n, C::Combo, QStringLiteral("字典管理-商品名称 可添加预选项"))
                      .saved(numbered("商品名称", n), step++)
                      .listedFrom(dictionary(QStringLiteral("商品名称"), S::AllOnly));
        fields << numberedField("zdUnit", n, C::Combo, QStringLiteral("字典管理-计量单位 可添加预选项"))
                      .saved(numbered("单位", n), step++)
                      .listedFrom(dictionary(QStringLiteral("计量单位"), S::AllOnly));
        fields << numberedField("zdAmount", n, C::Edit, numbered("数量", n)).saved(numbered("数量", n), step++);
        fields << numberedField("zdPrice", n, C::Edit, numbered("单价", n)).saved(numbered("单价", n), step++);
        // Computed from quantity and price, also when a saved invoice is opened.
        fields << numberedField("zdSum", n, C::Edit, numbered("销售额", n)).saved(numbered("销售额", n)).computed();
        fields << numberedField("zdD2Price", n, C::Edit, numbered("离岸价", n)).saved(numbered("离岸价", n), step++);
    }
    for (int n = 1; n <= 3; ++n) {
        fields << numberedField("zdDef", n, C::Combo, numbered("自定义", n))
                      .saved(numbered("自定义", n), step++)
                      .listedFrom(dictionary(numbered("自定义", n), S::TemplateElseAll));
    }
    fields << field("zdRemark", C::Memo, B::Contents, QStringLiteral("备注说明"))
                  .saved(QStringLiteral("备注"), step++)
                  .clearedOnNew();
    fields << field("", C::OptionBoxes, B::Contents, QString()).saved(QStringLiteral("勾选项"), step++).notPrinted();

    // Shown and printed, never saved.
    fields << field("zdXiaoHFax", C::Edit, B::Sender, QStringLiteral("销货方传真"))
           << field("zdXiaoHBank", C::Edit, B::Sender, QStringLiteral("销方开户行")).ofParty(P::Own, R::Bank)
           << field("zdXiaoHAcct", C::Edit, B::Sender, QStringLiteral("销方账号")).ofParty(P::Own, R::BankAccount)
           << field("zdGouHBank", C::Edit, B::Receiver, QStringLiteral("购方开户行"))
                  .ofParty(P::Partner, R::Bank)
                  .clearedOnNew()
           << field("zdGouHAcct", C::Edit, B::Receiver, QStringLiteral("购方账号"))
                  .ofParty(P::Partner, R::BankAccount)
                  .clearedOnNew()
           << field("zdWaiBiName", C::Edit, B::Contents, QStringLiteral("外币名称")).computed()
           << field("ZDWAIHJDX", C::Edit, B::Contents, QStringLiteral("外币大写")).computed()
           << field("zdRmbHJXX", C::Edit, B::Contents, QStringLiteral("人民币小写")).computed()
           << field("zdRmbHJDX", C::Edit, B::Contents, QStringLiteral("人民币大写")).computed()
           << field("zdFobRmbHJXX", C::Edit, B::Contents, QStringLiteral("离岸价人民币")).computed()
           << field("zdNian", C::Edit, B::Closing, QStringLiteral("开票年")).asDateBox(D::Year).computed()
           << field("zdYue", C::Edit, B::Closing, QStringLiteral("开票月")).asDateBox(D::Month).computed()
           << field("zdRi", C::Edit, B::Closing, QStringLiteral("开票日")).asDateBox(D::Day).computed()
           << field("zdNianYueRi", C::Edit, B::Closing, QStringLiteral("开票日期")).computed();
    return fields;
}

} // namespace

const BillKind &exportInvoiceKind()
{
    static const BillKind kind{
        .name = QStringLiteral("出口商品发票"),
        .formName = QStringLiteral("fmCheckCKSP"),
        .historyTable = QStringLiteral("DataCKSPTable"),
        .texts = BillTexts::exportInvoice(),
        .templateHint = QStringLiteral("出口商品发票模板的类型"),
        .noTemplateMessage = QStringLiteral("请选择出口商品发票模板的类型!"),
        .pdfFileName = QStringLiteral("出口商品发票.pdf"),
        .ownShape = {QStringLiteral("shpXiaoH"), QStringLiteral("点击选取寄件人"), QStringLiteral("选取销货方单位"),
                     QStringLiteral("我方单位")},
        .partnerShape = {QStringLiteral("shpGouH"), QStringLiteral("点击选取收件人"), QStringLiteral("选取购货方单位"),
                         QStringLiteral("往来单位")},
        .firstField = QStringLiteral("zdGouHComp"),
        // 打印并保存 keeps the invoice number.
        .numberField = QString(),
        .fields = exportInvoiceFields(),
        .closeKeyFields = {QStringLiteral("zdGouHComp")},
        .stateColumn = QStringLiteral("票据状态"),
        .readyOptionBoxes = 13,
        .repeatPrintShown = false,
        .emptyPickClears = false,
        .remembersPosition = false,
        .dateLineField = QStringLiteral("zdNianYueRi"),
    };
    return kind;
}

} // namespace moque::entry
