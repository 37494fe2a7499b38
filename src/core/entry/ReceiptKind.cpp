#include "entry/BillKind.h"

#include "entry/InvoiceFields.h"
#include "entry/InvoiceAmounts.h"

namespace moque::entry {

namespace {

using namespace table;

BillFields receiptFields()
{
    BillFields fields{
        field("", C::OptionBoxes, B::Contents, QString()).saved(QStringLiteral("其他选项"), 1).notPrinted(),
        field("cbFirstTypeName", C::TemplateChoice, B::Contents, QString()).saved(QStringLiteral("模板种类")).notPrinted(),
        field("zdFPDM", C::Edit, B::Contents, QStringLiteral("票据代码")).saved(QStringLiteral("票据代码"), 5),
        field("zdPJBH", C::Edit, B::Contents, QStringLiteral("票据编号")).saved(QStringLiteral("票据编号"), 2),
        field("zdInComp", C::Edit, B::Sender, QStringLiteral("收款单位"))
            .saved(QStringLiteral("销货方名称"))
            .ofParty(P::Own, R::FullName),
        field("zdInShuiHao", C::Edit, B::Sender, QStringLiteral("收款税号,请在我方单位修改")).ofParty(P::Own, R::TaxNo),
        field("zdInAddr", C::Edit, B::Sender, QStringLiteral("收款方地址")).ofParty(P::Own, R::Address),
        field("zdInPhone", C::Edit, B::Sender, QStringLiteral("收款方电话")).ofParty(P::Own, R::Phone),
        field("zdInBank", C::Edit, B::Sender, QStringLiteral("收款方银行名称")).ofParty(P::Own, R::Bank),
        field("zdInBankAcct", C::Edit, B::Sender, QStringLiteral("收款方银行帐号")).ofParty(P::Own, R::BankAccount),
        field("zdGKMC", C::Combo, B::Receiver, QStringLiteral("顾客名称"))
            .saved(QStringLiteral("顾客名称"), 6)
            .ofParty(P::Partner, R::FullName)
            .listedFrom(addressBook())
            .withPlaceholder(customerPlaceholder()),
        field("zdGKAddr", C::Edit, B::Receiver, QStringLiteral("地址"))
            .saved(QStringLiteral("顾客地址"), 7)
            .ofParty(P::Partner, R::Address),
        field("zdGKShuiHao", C::Edit, B::Receiver, QStringLiteral("税号"))
            .saved(QStringLiteral("顾客税号"), 8)
            .ofParty(P::Partner, R::TaxNo),
        field("zdGKPhone", C::Edit, B::Receiver, QStringLiteral("电话"))
            .saved(QStringLiteral("顾客电话"), 9)
            .ofParty(P::Partner, R::Phone),
        field("KPRen", C::Combo, B::Closing, QStringLiteral("开票人"))
            .saved(QStringLiteral("开票人"), 10)
            .listedFrom(dictionary(QStringLiteral("开票人"), S::TemplateElseAll)),
        field("SKRen", C::Combo, B::Closing, QStringLiteral("收款人"))
            .saved(QStringLiteral("收款人"), 11)
            .listedFrom(dictionary(QStringLiteral("收款人"), S::TemplateElseAll)),
        field("zdRemark", C::Memo, B::Contents, QStringLiteral("备注")).saved(QStringLiteral("备注"), 3).clearedOnNew(),
        // The bill's date; the history filters by it, so the save keeps it.
        field("SelDate", C::DatePicker, B::Closing, QStringLiteral("选择日期"))
            .saved(QStringLiteral("出票日期"), 4)
            .notPrinted(),
        field("zdNian", C::Edit, B::Closing, QStringLiteral("开票年")).asDateBox(D::Year).computed(),
        field("zdYue", C::Edit, B::Closing, QStringLiteral("开票月")).asDateBox(D::Month).computed(),
        field("zdRi", C::Edit, B::Closing, QStringLiteral("开票日")).asDateBox(D::Day).computed(),
        field("zdNianYueRi", C::Edit, B::Closing, QStringLiteral("开票日期")).computed(),
        field("zdCodeAuto", C::Edit, B::Closing, QStringLiteral("验证码")).computed(),
    };
    int step = 12;
    for (int n = 1; n <= 5; ++n)
        addChargeLine(fields, n, step, LineSaving::WhileShown, {});
    for (int n = 1; n <= 10; ++n) {
        const QString name = numbered("zdDef", n);
        fields << field(name.toLatin1().constData(), C::Edit, B::Contents, numbered("自定义", n))
                      .saved(numbered("自定义", n), step++)
                      .savedOnlyWhenShown({name});
    }
    for (int row = 1; row <= kTotalRow; ++row)
        addDigitBoxes(fields, digitBoxNames(row));
    addDigitBoxes(fields, capitalBoxNames());
    fields << totalFields();
    // The counterfoil repeats fields of the bill.
    for (const char *copy : {"cgGKMC", "cgNianYueRi", "cgHJJE", "cgSKRen", "cgDef1", "cgDef2", "cgDef3"})
        fields << field(copy, C::Edit, B::Contents, QString()).computed();
    for (int n = 1; n <= 5; ++n) {
        fields << numberedField("cgSFNR", n, C::Edit, QString()).computed()
               << numberedField("cgJE", n, C::Edit, QString()).computed();
    }
    return fields;
}

} // namespace

const BillKind &receiptKind()
{
    static const BillKind kind = table::invoiceKind({
        .name = QStringLiteral("普通发票收据"),
        .formName = QStringLiteral("fmCheckReceipts"),
        .historyTable = QStringLiteral("DataCheckReceipt"),
        .texts = BillTexts::receipt(),
        .templateHint = QStringLiteral("普通发票收据模板的类型"),
        .noTemplateMessage = QStringLiteral("请选择普通发票收据模板的类型!"),
        .pdfFileName = QStringLiteral("普通发票收据.pdf"),
        .ownShape = {QStringLiteral("shpHKR"), QStringLiteral("点击选取销货单位"), QStringLiteral("选取开票单位信息"),
                     QStringLiteral("我方单位")},
        .partnerShape = {QStringLiteral("shpSKR"), QStringLiteral("点击选取购货单位"), QStringLiteral("选取客户名称"),
                         QStringLiteral("往来单位")},
        .firstField = QStringLiteral("zdGKMC"),
        .numberField = QStringLiteral("zdPJBH"),
        .fields = receiptFields(),
    });
    return kind;
}

} // namespace moque::entry
