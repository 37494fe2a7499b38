#include "entry/BillKind.h"

#include "entry/InvoiceAmounts.h"
#include "entry/InvoiceFields.h"

namespace moque::entry {

namespace {

using namespace table;

BillFields freightInvoiceFields()
{
    BillFields fields{
        field("", C::OptionBoxes, B::Contents, QString()).saved(QStringLiteral("其他选项"), 1).notPrinted(),
        field("cbFirstTypeName", C::TemplateChoice, B::Contents, QString()).saved(QStringLiteral("模板种类")).notPrinted(),
        field("zdPJBH", C::Edit, B::Contents, QStringLiteral("票据编号")).saved(QStringLiteral("票据编号"), 2),
        field("zdRemark", C::Memo, B::Contents, QStringLiteral("备注")).saved(QStringLiteral("备注"), 3).clearedOnNew(),
        field("SelDate", C::DatePicker, B::Closing, QStringLiteral("选择日期"))
            .saved(QStringLiteral("出票日期"), 4)
            .notPrinted(),
        field("zdFPDM", C::Edit, B::Contents, QStringLiteral("票据代码")).saved(QStringLiteral("票据代码"), 5),
        // The payer.
        field("zdGKMC", C::Combo, B::Receiver, QStringLiteral("付款单位"))
            .saved(QStringLiteral("顾客名称"), 6)
            .ofParty(P::Partner, R::FullName)
            .listedFrom(addressBook()),
        // Opening a saved invoice reads the tax number back, so the save keeps it.
        field("zdGKShuiHao", C::Edit, B::Receiver, QStringLiteral("税号"))
            .saved(QStringLiteral("顾客税号"), 7)
            .ofParty(P::Partner, R::TaxNo),
        field("KPRen", C::Combo, B::Closing, QStringLiteral("开票人"))
            .saved(QStringLiteral("开票人"), 8)
            .listedFrom(dictionary(QStringLiteral("开票人"), S::TemplateElseAll)),
        field("SKRen", C::Combo, B::Closing, QStringLiteral("收款人"))
            .saved(QStringLiteral("收款人"), 9)
            .listedFrom(dictionary(QStringLiteral("收款人"), S::TemplateElseAll)),
        // The payee: the user's company with its bank account; the table keeps none of it.
        field("ZDINCOMP", C::Combo, B::Sender, QStringLiteral("收款单位"))
            .ofParty(P::Own, R::FullName)
            .listedFrom(addressBook()),
        field("zdInShuiHao", C::Edit, B::Sender, QStringLiteral("收款方税号")).ofParty(P::Own, R::TaxNo),
        field("zdInBank", C::Edit, B::Sender, QStringLiteral("收款方银行名称")).ofParty(P::Own, R::Bank),
        field("zdInBankAcct", C::Edit, B::Sender, QStringLiteral("收款方银行帐号")).ofParty(P::Own, R::BankAccount),
        field("zdNian", C::Edit, B::Closing, QStringLiteral("开票年")).asDateBox(D::Year).computed(),
        field("zdYue", C::Edit, B::Closing, QStringLiteral("开票月")).asDateBox(D::Month).computed(),
        field("zdRi", C::Edit, B::Closing, QStringLiteral("开票日")).asDateBox(D::Day).computed(),
        field("zdNianYueRi", C::Edit, B::Closing, QStringLiteral("开票日期")).computed(),
    };
    int step = 10;
    for (int n = 1; n <= 6; ++n)
        addChargeLine(fields, n, step, LineSaving::Always, dictionary(QStringLiteral("收费内容"), S::AllOnly));
    for (int n = 1; n <= 10; ++n) {
        const QString name = numbered("zdDef", n);
        ListSource list = dictionary(numbered("自定义", n), S::TemplateElseAll);
        list.picker = QStringLiteral("cbFetchCode");
        fields << field(name.toLatin1().constData(), C::Edit, B::Contents, numbered("自定义", n))
                      .saved(numbered("自定义", n), step++)
                      .savedOnlyWhenShown({name})
                      .listedFrom(list);
    }
    addDigitBoxes(fields, capitalBoxNames());
    fields << totalFields();
    return fields;
}

} // namespace

const BillKind &freightInvoiceKind()
{
    static const BillKind kind = table::invoiceKind({
        .name = QStringLiteral("国际货运发票"),
        .formName = QStringLiteral("fmCheckIVIntel"),
        .historyTable = QStringLiteral("DataCheckIntel"),
        .texts = BillTexts::freightInvoice(),
        .templateHint = QStringLiteral("国际货运发票模板的类型"),
        .noTemplateMessage = QStringLiteral("请选择国际货运发票模板的类型!"),
        .pdfFileName = QStringLiteral("国际货运发票.pdf"),
        .ownShape = {QStringLiteral("shpSKR"), QStringLiteral("点击选取收款单位"),
                     QStringLiteral("选取收款人及银行账户"), QStringLiteral("我方单位")},
        .partnerShape = {QStringLiteral("shpHKR"), QStringLiteral("点击选取付款单位"), QStringLiteral("选取付款人/顾客"),
                         QStringLiteral("往来单位")},
        .firstField = QStringLiteral("zdGKMC"),
        .numberField = QStringLiteral("zdPJBH"),
        .fields = freightInvoiceFields(),
    });
    return kind;
}

} // namespace moque::entry
