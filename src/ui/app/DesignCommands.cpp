#include "app/DesignCommands.h"

#include "app/AppCore.h"
#include "designers/EntryLayoutDesigner.h"
#include "designers/PrintLayoutDesigner.h"
#include "designers/PrintOffsetWindow.h"
#include "entry/ExportInvoiceWindow.h"

#include <optional>

namespace moque::ui {

DesignCommands::DesignCommands(app::AppCore &core, QWidget *parent, EntryWindowFinder entryWindow)
    : QObject(parent)
    , m_core(core)
    , m_parent(parent)
    , m_entryWindow(std::move(entryWindow))
{
}

void DesignCommands::openDesignMode(int templateId)
{
    if (templateId <= 0)
        if (EntryWindow *w = m_entryWindow(); w && w->curTypeId() > 0)
            templateId = w->curTypeId();
    if (templateId > 0)
        m_core.session().currentTemplateId = templateId;
    {
        EntryLayoutDesigner designer(m_core, templateId, m_parent);
        if (!designer.isUsable())
            return;
        connect(&designer, &EntryLayoutDesigner::printDesignRequested, this, &DesignCommands::openPrintDesigner);
        connect(&designer, &EntryLayoutDesigner::offsetRequested, this,
                [this](int id) { openPrintOffset(id); });
        designer.exec();
    }
    reapplyTemplates();
}

void DesignCommands::openPrintOffset(int templateId)
{
    if (templateId <= 0)
        templateId = m_core.session().currentTemplateId;
    std::optional<int> designTemplate;
    {
        PrintOffsetWindow window(m_core, templateId, m_parent);
        connect(&window, &PrintOffsetWindow::designRequested, this, [&](int id) { designTemplate = id; });
        window.exec();
    }
    // The entry picture's size may have changed.
    reapplyTemplates();
    if (designTemplate)
        openDesignMode(*designTemplate);
}

void DesignCommands::openPrintDesigner(int templateId)
{
    PrintLayoutDesigner designer(m_core, templateId, m_parent);
    if (designer.isUsable())
        designer.exec();
}

void DesignCommands::reapplyTemplates()
{
    EntryWindow *w = m_entryWindow();
    // The export invoice keeps its controls where its form puts them.
    if (!w || qobject_cast<ExportInvoiceWindow *>(w))
        return;
    w->setLoadedTypeId(-1);
    w->initFormType();
}

} // namespace moque::ui
