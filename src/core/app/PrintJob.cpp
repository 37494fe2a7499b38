#include "app/PrintJob.h"

#include "app/AppCore.h"
#include "common/Dialogs.h"
#include "templates/PrintItemStore.h"
#include "templates/TemplateCatalog.h"

#include <QSqlQuery>

namespace moque::app {

using print::BillRenderer;
using print::ItemRenderer;
using print::KindRules;
using print::PageSetup;
using print::PrintDevice;
using print::ValueSource;

namespace {
const QString deviceFailure = QStringLiteral("打印出错，请检查打印机是否可用！");
}

PrintJob::PrintJob(AppCore &core, PrintDevice &device)
    : m_core(core)
    , m_dialogs(core.dialogs())
    , m_device(device)
{
}

PrintJob::~PrintJob()
{
    if (m_open)
        AbortPrint();
}

void PrintJob::setReady(bool ready)
{
    m_ready = ready;
    m_core.session().printerReady = ready;
}

void PrintJob::failDevice()
{
    const QString reason = m_device.errorText();
    if (!m_device.isPrinter() && !reason.isEmpty())
        fail(reason);
    else
        fail(reason.isEmpty() ? deviceFailure : deviceFailure + QLatin1Char('\n') + reason);
}

void PrintJob::fail(const QString &message)
{
    m_dialogs.message(message, QStringLiteral("提示"), Dialogs::Icon::Warning);
}

bool PrintJob::PrintPrepare(int templateId, const QString &templateName)
{
    setReady(false);
    templates::PrintItemStore store(m_core.db());
    templates::TemplateCatalog catalog(m_core.db(), m_dialogs, m_core.store());
    const std::optional<templates::TemplateRow> row = catalog.templateById(templateId);
    if (!row && !QSqlQuery(m_core.db()).exec(QStringLiteral("select 1 from CKTypeTable where 1>2"))) {
        fail(QStringLiteral("Err:数据库连接错误，无法取得整体打印偏移量！"));
        return false;
    }
    if (!row) {
        fail(QStringLiteral("Err:\"") + templateName + QStringLiteral("\"没有进行初始化，无法取得整体打印偏移量！"));
        return false;
    }
    m_template = *row;
    m_items = store.itemsOf(templateId);
    m_fields = store.printableFields(m_template.kind);
    // A template without print items, or a kind without fields, is what a damaged file looks like.
    if (m_items.isEmpty() || m_fields.isEmpty()) {
        if (const QString damage = m_core.damageFound(); !damage.isEmpty()) {
            fail(damage);
            return false;
        }
    }
    m_rules = KindRules::forKind(m_template.kind);
    m_moneyCellWidth = m_rules.usesMoneyCode ? store.getCellsWidth(templateId, QStringLiteral("zdQY"), 35,
                                                                   QStringLiteral("zdBY"))
                                             : 0;
    setReady(true);
    // Cancelling the set-up prints nothing and says nothing.
    if (m_core.session().params.popPrinterSetup && m_printerSetup)
        setReady(m_printerSetup());
    return m_ready;
}

bool PrintJob::PrinterTransBegin(int copies, const QString &title)
{
    if (!m_ready)
        return false;
    m_copies = qMax(1, copies);
    if (m_rules.maxCopies > 0)
        m_copies = qMin(m_copies, m_rules.maxCopies);
    PageSetup setup;
    setup.landscape = m_template.landscape();
    setup.paperWidth = m_template.effectivePaperWidth();
    setup.paperHeight = m_template.effectivePaperHeight();
    setup.copies = m_copies;
    setup.title = title;
    if (!m_device.begin(setup)) {
        setReady(false);
        failDevice();
        m_device.abort();
        return false;
    }
    m_open = true;
    m_pageUsed = false;
    m_renderer = std::make_unique<ItemRenderer>(*m_device.canvas(), &m_dialogs);
    m_renderer->setMoneyCellWidth(m_moneyCellWidth);
    return true;
}

bool PrintJob::SendCheckToPrinter(const ValueSource &values, const QString &moneyCode)
{
    if (!m_ready || !m_open)
        return false;
    if (m_rules.usesMoneyCode)
        m_renderer->setMoneyCode(moneyCode);
    BillRenderer bill(*m_renderer, m_fields, m_items, m_rules, m_template.xMove, m_template.yMove);
    const int pages = m_device.makesCopies() ? 1 : m_copies;
    bool ok = true;
    for (int copy = 0; copy < pages; ++copy) {
        if (copy > 0 && !NewCheckPage())
            return false;
        ok = bill.render(values) && ok;
    }
    m_pageUsed = true;
    return ok;
}

bool PrintJob::NewCheckPage()
{
    if (!m_ready || !m_open)
        return false;
    if (!m_device.newPage()) {
        failDevice();
        AbortPrint();
        return false;
    }
    return true;
}

bool PrintJob::PrinterTransEnd()
{
    if (!m_ready || !m_open)
        return false;
    m_renderer.reset();
    m_open = false;
    setReady(false);
    if (!m_device.end()) {
        failDevice();
        m_device.abort();
        return false;
    }
    return true;
}

void PrintJob::AbortPrint()
{
    m_renderer.reset();
    m_device.abort();
    m_open = false;
    setReady(false);
}

} // namespace moque::app
