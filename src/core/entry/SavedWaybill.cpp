#include "entry/SavedWaybill.h"

#include "app/AppCore.h"
#include "entry/BillStore.h"
#include "entry/WaybillAids.h"
#include "entry/BillKind.h"
#include "entry/BillValues.h"
#include "entry/FieldLists.h"
#include "templates/PrintItemStore.h"
#include "templates/TemplateCatalog.h"

#include <QSqlQuery>
#include <QVariant>

namespace moque::entry {

namespace {

// A per-template print option as stored ("1" on); missing means the default.
QString templateOption(QSqlDatabase db, int templateId, const QString &name)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("select DMValue from DMTable where CheckTypeId=? and upper(DMName)=upper(?)"));
    q.addBindValue(templateId);
    q.addBindValue(name);
    return q.exec() && q.next() ? q.value(0).toString() : QString();
}

} // namespace

std::optional<SavedWaybill> loadSavedWaybill(app::AppCore &core, qint64 id, QString *error)
{
    BillStore store(core.db());
    const std::optional<QHash<QString, QString>> row = store.load(id, error);
    if (!row) {
        if (error && error->isEmpty())
            *error = QStringLiteral("没有流水号为%1的快递单").arg(id);
        return std::nullopt;
    }
    const QString savedName = row->value(QStringLiteral("模板种类"));
    templates::TemplateCatalog catalog(core.db(), core.dialogs(), core.store());
    int templateId = catalog.loadCheckTypeIDByFirstAndLastName(waybillKind().name, savedName);
    if (templateId <= 0)
        if (const auto byFullName = catalog.templateByFullName(savedName))
            templateId = byFullName->id;
    const std::optional<templates::TemplateRow> tpl = templateId > 0 ? catalog.templateById(templateId) : std::nullopt;
    if (!tpl) {
        if (error)
            *error = QStringLiteral("快递单模板(%1)不存在或被重命名了").arg(savedName);
        return std::nullopt;
    }

    SavedWaybill bill;
    bill.templateId = tpl->id;
    bill.templateName = tpl->fullName;
    const templates::PrintItemSet items = templates::PrintItemStore(core.db()).itemsOf(tpl->id);
    // A control is on the form when the template shows its item; without an item it is hidden.
    auto shown = [&](const QString &control) {
        const templates::PrintItem *item = items.find(control);
        return item && item->needShow != 0;
    };
    // What the reopened window shows where the bill has no value: the template's start values,
    // and the first entry of the lists whose first value stands when a box is empty.
    const BillFields &fields = waybillKind().fields;
    const FieldLists lists(core.db(), waybillKind());
    for (const templates::PrintItem &item : items.items())
        if (!item.initValue.isEmpty())
            bill.values.set(item.name, item.initValue, shown(item.name));
    for (const BillField &f : fields) {
        if (!f.list.firstByDefault)
            continue;
        const auto values = lists.values(f, tpl->id, [](const QString &) { return QString(); });
        if (values && !values->isEmpty() && bill.values.value(f.name).text.isEmpty())
            bill.values.set(f.name, values->first(), shown(f.name));
    }

    // With "打印日期" off the date controls are hidden and so not printed.
    const bool printDate = templateOption(core.db(), tpl->id, QStringLiteral("cfgWantPrintRQ")) == QLatin1String("1");
    auto shownOnBill = [&](const BillField &f) {
        return shown(f.name) && (printDate || f.dateBox == BillField::DateBox::None);
    };
    const BillFields dates = dateBoxFields(fields);
    for (const BillField &f : readBackFields(fields)) {
        if (f.control == BillField::Control::DatePicker) {
            const DateBoxes boxes = dateBoxes(dateFromText(row->value(f.column)));
            for (const BillField &box : dates) {
                if (box.dateBox == BillField::DateBox::Time)
                    continue;
                bill.values.set(box.name, boxes.of(box.dateBox), shownOnBill(box));
            }
        } else if (f.isInput()) {
            bill.values.set(f.name, row->value(f.column), shownOnBill(f));
        }
    }

    const QStringList captions = optionCaptions(tpl->checkBoxes);
    const QList<bool> ticks = ticksFromOptionsText(captions, row->value(QStringLiteral("其他选项")));
    for (int i = 0; i < ticks.size(); ++i) {
        const QString name = QStringLiteral("DEFCHECK%1").arg(i);
        bill.values.set(name, ticks[i] ? QStringLiteral("√") : QString(), shown(name));
    }
    return bill;
}

} // namespace moque::entry
