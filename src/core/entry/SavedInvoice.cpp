#include "entry/SavedInvoice.h"

#include "app/AppCore.h"
#include "entry/Amounts.h"
#include "entry/BillStore.h"
#include "entry/BillValues.h"
#include "entry/ExportInvoiceAids.h"
#include "entry/InvoiceAmounts.h"
#include "entry/InvoiceControls.h"
#include "entry/InvoiceOptions.h"
#include "entry/NumberedFields.h"
#include "entry/ReceiptAids.h"
#include "refdata/Currencies.h"
#include "refdata/DAOPerson.h"
#include "templates/PrintItemStore.h"
#include "templates/TemplateCache.h"
#include "templates/TemplateCatalog.h"

#include <QDateTime>
#include <QRandomGenerator>
#include <QSet>

#include <algorithm>
#include <memory>

namespace moque::entry {

namespace {



bool isReceipt(const BillKind &kind)
{
    return kind.name == receiptKind().name;
}

bool isExport(const BillKind &kind)
{
    return kind.name == exportInvoiceKind().name;
}

// The print options the template keeps (记住选项), each with the default the
// option strip gives it when nothing is stored.
struct TemplateOptions
{
    bool printDate = true;
    bool twoDigitYear = false;
    QString dateFormat;
    QString digitLimit;
    QString defaultMoney;
    AmountLook look;
    int codeLength = 20;
    int codeGroup = 0;
    QString codeSeeds;
    ExportLook exportLook;
};

TemplateOptions readOptions(const templates::TemplateCacheFile *cache, const QStringList &moneyNames, bool exportForm)
{
    const auto stored = [cache](const char *name) {
        return templates::TemplateCache::getInifCheckConfigByName(cache, QString::fromLatin1(name));
    };
    const auto ticked = [&](const char *name) {
        return tickedUnlessStoredOff(QString::fromLatin1(name)) ? stored(name) != QLatin1String("0")
                                                                : stored(name) == QLatin1String("1");
    };
    // Stored choices are compared trimmed, as some choices start with blanks.
    const auto choice = [&](const char *name, const QStringList &items, const QString &start, bool typedTextStands) {
        const QString value = stored(name);
        const QString wanted = value.trimmed();
        if (wanted.isEmpty())
            return start;
        for (const QString &item : items)
            if (item.trimmed() == wanted)
                return item;
        return typedTextStands ? value : start;
    };
    const auto number = [&](const char *name, int start) {
        bool ok = false;
        const int n = stored(name).trimmed().toInt(&ok);
        return ok ? std::clamp(n, 0, kMostCodeChars) : start;
    };

    TemplateOptions o;
    o.printDate = ticked("cfgWantPrintRQ");
    o.twoDigitYear = ticked("cfg2YearChar");
    o.dateFormat = choice("cfgDateFormat", invoiceDateFormats(), defaultDateFormat(), false);
    o.digitLimit = choice("cfgJEDXFormat", invoiceDigitLimits(), defaultDigitLimit(), false);
    o.defaultMoney = choice("cfgDefaultMoney", moneyNames, moneyNames.contains(kHomeCurrency) ? kHomeCurrency : QString(), false);
    o.look.capitalWithCurrency = ticked("cfgJEDXRMBChecked");
    o.look.totalCurrencySign = ticked("cfgTotalJEWithSheep");
    o.look.totalWithYuan = ticked("cfgHJJEXXWithYuan");
    o.look.lineCurrencySign = ticked("cfgJENeedSheep");
    o.look.totalThousands = ticked("cfgHJJENeedQianFF");
    o.look.lineThousands = ticked("cfgJEXXNeedQianFF");
    o.look.capitalYuan = ticked("cfgJEDXYuan");
    o.look.nonStandardCapital = ticked("cfgJEDXFormatNoStandard");
    o.codeLength = number("cfgCodeLen", 20);
    o.codeGroup = number("cfgCodeSpinWidth", 0);
    o.codeSeeds = choice("cfgCodeSeeds", invoiceCodeSeeds(), invoiceCodeSeeds().first(), true);
    if (exportForm) {
        // The export window keeps no 打日期 or two-digit year; its dates always print.
        o.printDate = true;
        o.twoDigitYear = false;
        o.defaultMoney = choice("cfgDefaultMoney", moneyNames, exportStartCurrency(moneyNames), false);
        o.exportLook = storedExportLook([cache](const QString &name) {
            return templates::TemplateCache::getInifCheckConfigByName(cache, name);
        });
    }
    return o;
}

// The invoice window's controls as texts, and the rules by which it fills
// the computed ones.
class InvoiceSheet
{
public:
    InvoiceSheet(app::AppCore &core, const BillKind &kind) : m_core(core), m_kind(kind)
    {
        m_form = isReceipt(kind) ? InvoiceForm::Receipt : InvoiceForm::Freight;
        m_lines = isReceipt(kind) ? 5 : (isExport(kind) ? kExportLines : 6);
    }

    // The template, its options, where it shows which control and its start values.
    bool useTemplate(const templates::TemplateRow &tpl, QString *error)
    {
        m_bill.templateId = tpl.id;
        m_bill.templateName = tpl.fullName;
        templates::TemplateCatalog catalog(m_core.db(), m_core.dialogs(), m_core.store());
        templates::TemplateCache cache(catalog, m_core.dialogs(), m_core.dir());
        const std::unique_ptr<templates::TemplateCacheFile> file = cache.OpenCheckInif(tpl.id);
        if (!file) {
            *error = QStringLiteral("模板(%1)的缓存文件无法建立").arg(tpl.fullName);
            return false;
        }
        m_options = readOptions(file.get(), refdata::Currencies(m_core.db()).loadMoneyTypeList(), isExport(m_kind));
        m_captions = optionCaptions(tpl.checkBoxes);

        // A new window starts with the default own company (出票人); the
        // template's start values come over it.
        if (m_core.session().params.useDefaultIssuer) {
            std::optional<refdata::TPerson> issuer = m_core.session().defaultIssuer;
            setParty(BillField::Party::Own, issuer ? issuer : refdata::DAOPerson(m_core.db()).LoadDefaultIssuer());
        }
        QString namesError;
        const QStringList names = templates::PrintItemStore(m_core.db()).fieldNames(m_kind.name, &namesError);
        if (!namesError.isEmpty()) {
            *error = QStringLiteral("调入项目参数失败!") + namesError;
            return false;
        }
        for (const QString &name : names) {
            const templates::Placement place = file->placement(name);
            if (place.visible)
                m_shown.insert(name.toUpper());
            if (!place.defaultText.isEmpty()) {
                if (optionBox(name) >= 0)
                    m_startTicks.insert(optionBox(name));
                else
                    setText(name, place.defaultText);
            }
        }
        return true;
    }

    void setParty(BillField::Party party, const std::optional<refdata::TPerson> &person)
    {
        for (const BillField &f : partyFields(m_kind.fields, party, true))
            setText(f.name, person ? person->text(*f.role) : QString());
    }

    QString text(const QString &name) const { return m_texts.value(name.toUpper()); }
    void setText(const QString &name, const QString &value)
    {
        const BillField *field = findField(m_kind.fields, name);
        if (field && field->isInput())
            m_texts.insert(name.toUpper(), value);
    }
    bool shown(const QString &name) const { return m_shown.contains(name.toUpper()); }

    void setDate(const QDate &date) { m_date = date; }
    void setOptionsText(const QString &ticked) { m_ticked = ticked; }
    void setMoneyName(const QString &name) { m_moneyName = name.trimmed().isEmpty() ? kHomeCurrency : name.trimmed(); }
    QString defaultMoney() const { return m_options.defaultMoney; }
    QString moneyName() const { return m_moneyName; }
    bool linesInUse() const { return shown(QStringLiteral("zdDJ1")) || shown(QStringLiteral("zdJE1")); }
    int lines() const { return m_lines; }

    // A line without an amount but with a quantity or a price is computed.
    bool computeLine(int line, QString *error)
    {
        const QString quantity = text(numbered("zdSL", line)).trimmed();
        const QString price = text(numbered("zdDJ", line)).trimmed();
        if (!text(numbered("zdJEXX", line)).trimmed().isEmpty() || (quantity.isEmpty() && price.isEmpty()))
            return true;
        const LineAmount amount = lineAmount(quantity, price);
        if (!amount.ok()) {
            *error = amount.error;
            return false;
        }
        setText(numbered("zdJEXX", line), amount.amount);
        return true;
    }

    // Everything the window fills from the typed values; `typedTotal` stands
    // when no lines make the total.
    std::optional<InvoiceBill> compute(const QString &typedTotal, QString *error)
    {
        m_bill.moneyCode = refdata::Currencies(m_core.db()).getMoneyCodeByName(m_moneyName);
        AmountLook look = m_options.look;
        look.currencyName = m_moneyName;
        look.currencyCode = m_bill.moneyCode;

        QStringList counted;
        for (int line = 1; line <= m_lines; ++line) {
            const QString typedBox = numbered("zdJEXX", line);
            const QString typed = text(typedBox).trimmed();
            const LineLook shownLine = lineLook(line, typed, text(numbered("zdSFNR", line)), look);
            if (!shownLine.invalid) {
                setText(typedBox, typed);
                setText(numbered("zdJE", line), shownLine.shown);
                for (auto it = shownLine.boxes.cbegin(); it != shownLine.boxes.cend(); ++it)
                    setText(it.key(), it.value());
            }
            if (!typed.isEmpty() && lineCounted(line))
                counted << typed;
        }
        QString totalText = typedTotal;
        if (linesInUse()) {
            const SumResult sum = sumLines(counted, m_options.digitLimit, m_form);
            if (!sum.message.isEmpty()) {
                *error = sum.message;
                return std::nullopt;
            }
            totalText = sum.total;
        }
        const TotalLook total = totalLook(totalText, look, m_form);
        if (!total.message.isEmpty()) {
            *error = total.message;
            return std::nullopt;
        }
        setText(control::total, total.plain);
        setText(control::totalShown, total.shown);
        setText(control::capital, total.capital);
        for (auto it = total.boxes.cbegin(); it != total.boxes.cend(); ++it)
            setText(it.key(), it.value());
        if (total.zero)
            setText(control::totalInput, QString());

        if (m_form == InvoiceForm::Receipt) {
            QRandomGenerator random = QRandomGenerator::securelySeeded();
            setText(QStringLiteral("zdCodeAuto"), verificationCode(m_options.codeLength, m_options.codeGroup,
                                                                   m_options.codeSeeds, random));
            // The counterfoil repeats what its sources show, the customer's prompt aside.
            const auto copy = [this](const QString &source, const QString &copyName) {
                const BillField *field = findField(m_kind.fields, source);
                setText(copyName, field ? field->valueOf(text(source)) : text(source));
            };
            for (int n = 1; n <= 3; ++n)
                copy(numbered("zdDef", n), numbered("cgDef", n));
            for (int line = 1; line <= m_lines; ++line) {
                copy(numbered("zdJE", line), numbered("cgJE", line));
                copy(numbered("zdSFNR", line), numbered("cgSFNR", line));
            }
            copy(control::customer, QStringLiteral("cgGKMC"));
            copy(QStringLiteral("SKRen"), QStringLiteral("cgSKRen"));
            setText(QStringLiteral("cgHJJE"), total.shown);
        }
        writeDates();
        fillValues();
        return std::move(m_bill);
    }

    // Everything the export window fills from the typed values at `rate`: the
    // line amounts, the foreign and RMB totals with their capitals, the FOB
    // totals and the currency name. What the window would show a message about
    // (a quantity or price, a FOB value or the rate not readable) refuses.
    std::optional<InvoiceBill> computeExport(const QString &rate, QString *error)
    {
        m_bill.moneyCode = refdata::Currencies(m_core.db()).getMoneyCodeByName(m_moneyName);
        ExportLook look = m_options.exportLook;
        look.currencyName = m_moneyName;
        look.currencyCode = m_bill.moneyCode;
        setText(QStringLiteral("zdWaiBiName"), m_moneyName);

        QStringList sums;
        QStringList fobValues;
        for (int line = 1; line <= m_lines; ++line) {
            setText(numbered("zdAmount", line), text(numbered("zdAmount", line)).left(kExportQuantityLength));
            const ExportLine sum =
                exportLineSum(text(numbered("zdAmount", line)).trimmed(), text(numbered("zdPrice", line)).trimmed());
            if (!sum.error.isEmpty()) {
                *error = sum.error;
                return std::nullopt;
            }
            setText(numbered("zdSum", line), sum.amount);
            sums << sum.amount;
            fobValues << text(numbered("zdD2Price", line));
        }
        const ExportTotals sales = exportTotals(sums, rate, look);
        if (!sales.message.isEmpty() || !sales.rateMessage.isEmpty()) {
            *error = sales.message.isEmpty() ? sales.rateMessage : sales.message;
            return std::nullopt;
        }
        setText(control::rate, sales.cleanedRate);
        setText(QStringLiteral("zdWaiHJXX"), sales.foreign);
        setText(QStringLiteral("ZDWAIHJDX"), sales.foreignCapital);
        setText(QStringLiteral("zdRmbHJXX"), sales.rmb);
        setText(QStringLiteral("zdRmbHJDX"), sales.rmbCapital);
        const FobTotals fob = fobTotals(fobValues, sales.cleanedRate, look);
        if (!fob.message.isEmpty() || !fob.rateMessage.isEmpty()) {
            *error = fob.message.isEmpty() ? fob.rateMessage : fob.message;
            return std::nullopt;
        }
        setText(QStringLiteral("zdFobWaiHJXX"), fob.foreign);
        setText(QStringLiteral("zdFobRmbHJXX"), fob.rmb);
        writeDates();
        fillValues();
        return std::move(m_bill);
    }

private:
    // The option box of a DEFCHECK name, or -1.
    static int optionBox(const QString &name)
    {
        static const QString prefix = QStringLiteral("DEFCHECK");
        if (!name.startsWith(prefix, Qt::CaseInsensitive))
            return -1;
        bool ok = false;
        const int n = name.mid(prefix.size()).toInt(&ok);
        return ok ? n : -1;
    }

    // The date boxes and the date line in the template's date format; the
    // receipt's counterfoil repeats the line.
    void writeDates()
    {
        const DateBoxes boxes = m_date.isValid() ? receiptDateBoxes(m_date, m_options.twoDigitYear) : DateBoxes{};
        for (const BillField &box : dateBoxFields(m_kind.fields))
            setText(box.name, boxes.of(box.dateBox));
        const QString dateLine =
            m_date.isValid() ? billDateLine(QDateTime(m_date, QTime::currentTime()), m_options.dateFormat) : QString();
        setText(control::dateLine, dateLine);
        setText(control::dateLineCopy, dateLine);
    }

    // On the receipt a line counts towards the total only while the form shows it.
    bool lineCounted(int line) const
    {
        return m_form == InvoiceForm::Freight || shown(numbered("zdJE", line)) || shown(numbered("zdY", line));
    }

    // What the print engine reads: the printed controls with whether the form shows them.
    void fillValues()
    {
        QSet<QString> dates;
        for (const BillField &box : dateBoxFields(m_kind.fields))
            dates.insert(box.name.toUpper());
        dates << control::dateLine.toUpper() << control::dateLineCopy.toUpper();
        for (const BillField &f : m_kind.fields) {
            if (!f.isInput() || !f.printed)
                continue;
            const bool onForm = shown(f.name) && (m_options.printDate || !dates.contains(f.name.toUpper()));
            QString value = f.valueOf(text(f.name));
            // A memo prints its lines as the window hands them over, ended by CR LF.
            if (f.control == BillField::Control::Memo)
                value = value.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                            .split(QLatin1Char('\n'))
                            .join(QStringLiteral("\r\n"));
            m_bill.values.set(f.name, value, onForm);
        }
        const QList<bool> ticks = ticksFromOptionsText(m_captions, m_ticked);
        for (const QString &name : std::as_const(m_shown)) {
            const int box = optionBox(name);
            if (box < 0)
                continue;
            const bool ticked = box < m_captions.size() ? ticks.value(box) : m_startTicks.contains(box);
            m_bill.values.set(name, ticked ? QStringLiteral("√") : QString(), true);
        }
    }

    app::AppCore &m_core;
    const BillKind &m_kind;
    InvoiceForm m_form;
    int m_lines;
    TemplateOptions m_options;
    QStringList m_captions;
    QHash<QString, QString> m_texts;
    QSet<QString> m_shown;
    QSet<int> m_startTicks;
    QDate m_date;
    QString m_ticked;
    QString m_moneyName = kHomeCurrency;
    InvoiceBill m_bill;
};

} // namespace

const BillKind *invoiceKindNamed(const QString &name)
{
    for (const BillKind *kind : {&receiptKind(), &freightInvoiceKind(), &exportInvoiceKind()})
        if (kind->name == name)
            return kind;
    return nullptr;
}

std::optional<InvoiceBill> loadSavedInvoice(app::AppCore &core, const BillKind &kind, qint64 id, QString *error)
{
    QString reason;
    BillStore store(core.db(), kind.historyTable);
    const std::optional<QHash<QString, QString>> row = store.load(id, &reason);
    if (!row) {
        *error = reason.isEmpty() ? QStringLiteral("没有流水号为%1的%2").arg(id).arg(kind.name) : reason;
        return std::nullopt;
    }
    QString savedName;
    for (const BillField &f : kind.fields)
        if (f.control == BillField::Control::TemplateChoice)
            savedName = row->value(f.column);
    templates::TemplateCatalog catalog(core.db(), core.dialogs(), core.store());
    int templateId = catalog.loadCheckTypeIDByFirstAndLastName(kind.name, savedName);
    if (templateId <= 0)
        if (const auto byFullName = catalog.templateByFullName(savedName); byFullName && byFullName->kind == kind.name)
            templateId = byFullName->id;
    const std::optional<templates::TemplateRow> tpl = templateId > 0 ? catalog.templateById(templateId) : std::nullopt;
    if (!tpl) {
        *error = QStringLiteral("%1模板(%2)不存在或被重命名了").arg(kind.name, savedName);
        return std::nullopt;
    }

    InvoiceSheet sheet(core, kind);
    if (!sheet.useTemplate(*tpl, error))
        return std::nullopt;
    bool dated = false;
    for (const BillField &f : readBackFields(kind.fields)) {
        const QString value = row->value(f.column);
        if (f.control == BillField::Control::OptionBoxes) {
            sheet.setOptionsText(value);
        } else if (f.control == BillField::Control::DatePicker) {
            const QDate date = dateFromText(value);
            sheet.setDate(date);
            dated = date.isValid();
        } else {
            sheet.setText(f.name, value);
        }
    }
    // A registered number not used yet is dated today.
    if (!dated && !kind.stateColumn.isEmpty() && opensFillable(row->value(kind.stateColumn)))
        sheet.setDate(QDate::currentDate());
    if (isReceipt(kind)) {
        // The own company comes from the address book when it knows the seller.
        const QString seller = row->value(QStringLiteral("销货方名称"));
        if (const auto company = refdata::DAOPerson(core.db()).FindPersonByFullName(seller))
            sheet.setParty(BillField::Party::Own, company);
        else
            sheet.setText(QStringLiteral("zdInComp"), seller);
    }
    if (isExport(kind)) {
        // A registered number not filled in yet has its number in 发票编号 only.
        if (sheet.text(QStringLiteral("zdCheckNo")).isEmpty())
            sheet.setText(QStringLiteral("zdCheckNo"), row->value(QStringLiteral("发票编号")));
        const QString currency = row->value(QStringLiteral("币种")).trimmed();
        sheet.setMoneyName(currency.isEmpty() ? sheet.defaultMoney() : currency);
        const QString rate =
            openedRate(row->value(QStringLiteral("当期汇率")), keptRate(core.options(), sheet.moneyName()));
        return sheet.computeExport(rate, error);
    }
    sheet.setMoneyName(row->value(QStringLiteral("币种")));
    for (int line = 1; line <= sheet.lines(); ++line)
        if (!sheet.computeLine(line, error))
            return std::nullopt;
    return sheet.compute(row->value(QStringLiteral("合计金额")), error);
}

std::optional<InvoiceBill> invoiceFromValues(app::AppCore &core, const BillKind &kind, int templateId,
                                             const print::ValueSource &given, QString *error)
{
    templates::TemplateCatalog catalog(core.db(), core.dialogs(), core.store());
    const std::optional<templates::TemplateRow> tpl = catalog.templateById(templateId);
    if (!tpl || tpl->kind != kind.name) {
        *error = QStringLiteral("%1模板(%2)不存在或被重命名了").arg(kind.name).arg(templateId);
        return std::nullopt;
    }
    InvoiceSheet sheet(core, kind);
    if (!sheet.useTemplate(*tpl, error))
        return std::nullopt;
    // A value given stands for what the user typed; the computed boxes are the window's.
    for (const BillField &f : kind.fields) {
        if (!f.isInput() || f.readOnly)
            continue;
        const print::FieldValue v = given.value(f.name);
        if (v.shown)
            sheet.setText(f.name, v.text);
    }
    const QStringList captions = optionCaptions(tpl->checkBoxes);
    QList<bool> ticks;
    for (int i = 0; i < captions.size(); ++i)
        ticks << !given.value(QStringLiteral("DEFCHECK%1").arg(i)).text.trimmed().isEmpty();
    sheet.setOptionsText(tickedOptionsText(captions, ticks));
    const QDate typedDate = dateFromText(given.value(control::dateLine).text);
    sheet.setDate(typedDate.isValid() ? typedDate : QDate::currentDate());
    sheet.setMoneyName(sheet.defaultMoney());
    if (isExport(kind)) {
        const QString rate = openedRate(given.value(control::rate).text, keptRate(core.options(), sheet.moneyName()));
        return sheet.computeExport(rate, error);
    }
    for (int line = 1; line <= sheet.lines(); ++line) {
        // The line amount as typed over its display.
        const print::FieldValue amount = given.value(numbered("zdJE", line));
        if (amount.shown && !amount.text.trimmed().isEmpty()) {
            const QString typed = normalizeDigits(amount.text);
            if (!parseFen(typed)) {
                *error = numbered("zdJE", line) + QStringLiteral(": ") + kBadLineAmount;
                return std::nullopt;
            }
            sheet.setText(numbered("zdJEXX", line), typed);
        }
        if (!sheet.computeLine(line, error))
            return std::nullopt;
    }
    QString total = given.value(control::total).text;
    if (total.trimmed().isEmpty())
        total = given.value(control::totalShown).text;
    return sheet.compute(normalizeDigits(total), error);
}

} // namespace moque::entry
