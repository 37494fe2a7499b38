#include "app/TemplateCommands.h"

#include "app/AppCore.h"
#include "app/AppVersion.h"
#include "app/UpgradeWindow.h"
#include "app/DesignCommands.h"
#include "common/Dialogs.h"
#include "templates/DatabaseUpgrade.h"
#include "templates/TemplateManagement.h"
#include "templates/TemplateManagerWindow.h"
#include "templates/TemplatePackageWindow.h"
#include "entry/EntryWindow.h"

namespace moque::ui {

TemplateCommands::TemplateCommands(app::AppCore &core, QWidget *parent, DesignCommands &design,
                                   EntryWindowCloser closeEntryWindows, EntryWindowFinder entryWindow)
    : QObject(parent)
    , m_core(core)
    , m_parent(parent)
    , m_design(design)
    , m_closeEntryWindows(std::move(closeEntryWindows))
    , m_entryWindow(std::move(entryWindow))
{
}

void TemplateCommands::openTemplateManager(int templateId)
{
    if (templateId <= 0)
        templateId = m_core.session().currentTemplateId;
    TemplateManagerWindow window(m_core, templateId, m_parent);
    connect(&window, &TemplateManagerWindow::offsetRequested, &m_design, &DesignCommands::openPrintOffset);
    connect(&window, &TemplateManagerWindow::importRequested, this, [this] { openTemplatePackages(true); });
    window.exec();
}

void TemplateCommands::openTemplatePackages(bool importOnly)
{
    TemplatePackageWindow window(m_core, importOnly, m_parent);
    connect(&window, &TemplatePackageWindow::templatesImported, this, [this] {
        if (EntryWindow *w = m_entryWindow()) {
            const QString current = w->templateDisplayName();
            w->reloadTypeNameList();
            w->buildCommonBlocks();
            w->setCurrentCheckType(current);
            // The template in use may have been replaced by the package's.
            w->setLoadedTypeId(-1);
            w->initFormType();
        }
    });
    window.exec();
}

void TemplateCommands::resetCache(bool entryWindowOpen)
{
    QString error;
    templates::TemplateManagement(m_core.db(), m_core.dialogs(), m_core.store(), m_core.dir().imageDir())
        .resetCache(&error);
    if (!error.isEmpty())
        m_core.dialogs().info(error);
    if (!entryWindowOpen) {
        m_core.dialogs().info(QStringLiteral("缓存清除成功！"));
        return;
    }
    m_core.dialogs().info(QStringLiteral("缓存清除需要关闭开单界面重新打开！"));
    m_closeEntryWindows();
}

void TemplateCommands::openUpgrade()
{
    UpgradeWindow window(m_core, m_parent);
    window.exec();
}

void TemplateCommands::upgradeIfNeeded()
{
    templates::DatabaseUpgrade upgrade(m_core.db(), m_core.dir().packageSkeleton(), app::getAppVersion(2));
    if (upgrade.isNeeded())
        openUpgrade();
}

} // namespace moque::ui
