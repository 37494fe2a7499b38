#include "batch/BatchPrint.h"

#include "app/AppCore.h"
#include "app/PrintJob.h"
#include "common/Dialogs.h"
#include "entry/Amounts.h"
#include "entry/BillFields.h"
#include "entry/BillKind.h"
#include "entry/BillValues.h"
#include "entry/FieldLists.h"
#include "entry/WaybillAids.h"
#include "refdata/DAOPerson.h"
#include "store/BoundQuery.h"
#include "templates/PrintItemStore.h"
#include "templates/TemplateCatalog.h"

#include <QDate>
#include <QRegularExpression>

namespace moque::batch {

namespace {

const QString destinationControl = QStringLiteral("cbDestSite");
const QString amountControl = QStringLiteral("zdJEDX1");

// Columns copied only while the grid shows them, in the order they are copied.
struct ShownColumn
{
    const char *column;
    const char *control;
};
constexpr ShownColumn contentColumns[] = {
    {"内件说明", "zdWPNR"},   {"金额大写1", "zdJEDX1"}, {"件数", "edtAmount"},    {"重量", "edtWeight"},
    {"费用", "edtMoney"},     {"备注", "zdBz"},         {"代收金额", "zdDaisJE"}, {"手续费", "zdShouxuFee"},
    {"体积", "zdTiJi"},       {"保价金额", "zdBJJE"},   {"保价费", "zdBJFee"},    {"运费", "zdYunFee"},
    {"送货费", "zdSongHFee"}, {"加急费", "zdJiaJiFee"}, {"其他费", "zdQiTaFee"},  {"包装费", "zdBaoZFee"},
    {"自定义3", "zdDef3"},    {"自定义4", "zdDef4"},    {"自定义5", "zdDef5"},
};

// A per-template option as stored; empty when never stored.
QString templateOption(QSqlDatabase db, int templateId, const QString &name)
{
    QSqlQuery q(db);
    return store::execBound(q, QStringLiteral("select DMValue from DMTable where CheckTypeId=? and upper(DMName)=upper(?)"),
                            QVariantList{templateId, name})
                   && q.next()
               ? q.value(0).toString()
               : QString();
}

} // namespace

std::optional<WaybillSide> waybillSideFor(app::AppCore &core, const QString &templateName, int senderId,
                                          QString *error)
{
    const entry::BillKind &kind = entry::waybillKind();
    templates::TemplateCatalog catalog(core.db(), core.dialogs(), core.store());
    std::optional<templates::TemplateRow> tpl;
    if (templateName.isEmpty()) {
        const int id = catalog.loadDefaultCheckTypeId(kind.name);
        tpl = id > 0 ? catalog.templateById(id) : std::nullopt;
    } else {
        tpl = catalog.templateByFullName(templateName);
        if (tpl && tpl->kind != kind.name) {
            if (error)
                *error = QStringLiteral("%1 is not a %2 template").arg(templateName, kind.name);
            return std::nullopt;
        }
    }
    if (!tpl) {
        if (error)
            *error = templateName.isEmpty() ? kind.noTemplateMessage
                                            : QStringLiteral("unknown template: %1").arg(templateName);
        return std::nullopt;
    }
    refdata::TPerson sender;
    if (senderId > 0) {
        sender.setID(senderId);
        if (refdata::DAOPerson(core.db()).LoadPersonByID(sender) != 1) {
            if (error)
                *error = QStringLiteral("no address book entry %1").arg(senderId);
            return std::nullopt;
        }
    }

    WaybillSide side;
    side.templateId = tpl->id;
    side.templateName = tpl->fullName;
    const templates::PrintItemSet items = templates::PrintItemStore(core.db()).itemsOf(tpl->id);
    // A control is on the form when the template shows its item.
    const auto shown = [&](const QString &control) {
        const templates::PrintItem *item = items.find(control);
        return item && item->needShow != 0;
    };
    const bool printDate = templateOption(core.db(), tpl->id, QStringLiteral("cfgWantPrintRQ")) == QLatin1String("1");
    side.destinationIsCity = templateOption(core.db(), tpl->id, QStringLiteral("cfgDestSiteIsCity")) == QLatin1String("1");
    side.amountFormat = templateOption(core.db(), tpl->id, QStringLiteral("cfgJEDXFormat"));
    if (side.amountFormat.isEmpty())
        side.amountFormat = QStringLiteral("打印小写金额");

    // A new waybill: every control empty or at its start value, the date boxes on today.
    const entry::BillFields &fields = kind.fields;
    const entry::DateBoxes today = entry::dateBoxes(QDate::currentDate());
    for (const entry::BillField &f : fields) {
        if (f.name.isEmpty())
            continue;
        if (f.dateBox != entry::BillField::DateBox::None && f.dateBox != entry::BillField::DateBox::Time)
            side.values.set(f.name, today.of(f.dateBox), printDate && shown(f.name));
        else
            side.values.set(f.name, QString(), shown(f.name) && (printDate || f.dateBox == entry::BillField::DateBox::None));
    }
    for (const templates::PrintItem &item : items.items())
        if (!item.initValue.isEmpty())
            side.values.set(item.name, item.initValue, shown(item.name));
    const entry::FieldLists lists(core.db(), kind);
    for (const entry::BillField &f : fields) {
        if (!f.list.firstByDefault || !side.values.value(f.name).text.isEmpty())
            continue;
        const auto values = lists.values(f, tpl->id, [](const QString &) { return QString(); });
        if (values && !values->isEmpty())
            side.values.set(f.name, values->first(), shown(f.name));
    }
    for (int i = 0; i < entry::optionCaptions(tpl->checkBoxes).size(); ++i) {
        const QString name = QStringLiteral("DEFCHECK%1").arg(i);
        side.values.set(name, QString(), shown(name));
    }
    if (senderId > 0)
        for (const entry::BillField &f : entry::partyFields(fields, entry::BillField::Party::Own, true))
            side.values.set(f.name, sender.text(*f.role), shown(f.name));
    return side;
}

print::MapValueSource billFor(const WaybillSide &side, const std::optional<Receiver> &row,
                              const QStringList &gridColumns)
{
    print::MapValueSource bill = side.values;
    const auto write = [&](const QString &control, const QString &text) {
        bill.set(control, text, side.values.value(control).shown);
    };
    const auto column = [&](const char *name) { return row ? row->value(QString::fromUtf8(name)) : QString(); };
    const auto gridShows = [&](const QString &name) {
        for (qsizetype i = 1; i < gridColumns.size(); ++i) {
            const QString c = gridColumns[i] == QStringLiteral("目的地") ? QStringLiteral("目的站") : gridColumns[i];
            if (c == name)
                return true;
        }
        return false;
    };

    write(QStringLiteral("zdSKR"), column("全称"));
    write(QStringLiteral("zdSKRLXR"), column("联系人"));
    // With the handset box off the form the handset rides along in the phone box.
    QString phone = column("电话");
    const QString mobile = column("手机");
    if (!side.values.value(QStringLiteral("skrHandset")).shown && !mobile.isEmpty())
        phone = phone.isEmpty() ? mobile : phone + QLatin1Char('/') + mobile;
    write(QStringLiteral("zdskrDH"), phone);
    write(QStringLiteral("skrHandset"), mobile);
    write(QStringLiteral("edtCountryDest"), column("国家"));
    write(QStringLiteral("zdSKRS"), column("省"));
    if (gridShows(QStringLiteral("目的站")))
        write(destinationControl, column("目的站"));
    const QString city = column("市");
    write(QStringLiteral("zdSKRXS"), city);
    write(destinationControl,
          entry::destinationAfterCityChange(side.destinationIsCity, bill.value(destinationControl).text, city));
    write(QStringLiteral("edtSJRTown"), column("镇区"));
    write(QStringLiteral("zdSkrDZ"), column("地址"));
    write(QStringLiteral("zdSKRYB"), column("邮编"));

    static const QRegularExpression digitsOnly(QStringLiteral("^[0-9]+$"));
    bool amountWritten = false;
    for (const ShownColumn &c : contentColumns) {
        const QString name = QString::fromUtf8(c.column);
        if (!gridShows(name))
            continue;
        QString text = column(c.column);
        if (QLatin1String(c.control) == amountControl) {
            if (!digitsOnly.match(text).hasMatch())
                text.clear();
            amountWritten = true;
        }
        write(QString::fromLatin1(c.control), text);
    }
    // The capital amount box converts what was written into it, as on leaving it.
    if (amountWritten) {
        const entry::AmountText converted = entry::waybillAmount(bill.value(amountControl).text, side.amountFormat);
        if (converted.ok())
            write(amountControl, converted.text);
    }
    return bill;
}

BatchResult BatchPrint::print(const WaybillSide &side, const QList<qint64> &ids, const QStringList &gridColumns,
                              const Progress &progress)
{
    BatchResult result;
    const int total = int(ids.size());
    if (total == 0)
        return result;
    app::PrintJob job(m_core, m_device);
    job.setPrinterSetup(m_printerSetup);
    if (!job.PrintPrepare(side.templateId, side.templateName) || !job.PrinterTransBegin(0))
        return result;
    const BatchList list(m_core.db());
    for (int i = 0; i < total; ++i) {
        if (progress && !progress(i, total)) {
            job.AbortPrint();
            result.status = BatchResult::Status::Cancelled;
            return result;
        }
        const std::optional<Receiver> row = list.row(ids[i]);
        if (!row) {
            m_core.dialogs().info(QStringLiteral("调用错误，找不到记录，编号=") + QString::number(ids[i]));
            result.missing << ids[i];
        }
        if (i > 0 && !job.NewCheckPage())
            return result; // the job has shown the device's failure and aborted
        result.itemsOk = job.SendCheckToPrinter(billFor(side, row, gridColumns)) && result.itemsOk;
    }
    if (progress && !progress(total, total)) {
        job.AbortPrint();
        result.status = BatchResult::Status::Cancelled;
        return result;
    }
    if (!job.PrinterTransEnd())
        return result;
    result.status = BatchResult::Status::Printed;
    result.printed = total;
    return result;
}

} // namespace moque::batch
