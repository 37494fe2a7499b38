#pragma once

#include <QObject>

#include <functional>

namespace moque::app {
class AppCore;
}

namespace moque::ui {

class DesignCommands;
class EntryWindow;

// The main window's template commands: template management, template
// packages, the cache reset and the database upgrade.
class TemplateCommands : public QObject
{
    Q_OBJECT
public:
    // Closes the open entry windows (each asks to save its bill).
    using EntryWindowCloser = std::function<void()>;

    using EntryWindowFinder = std::function<EntryWindow *()>;

    TemplateCommands(app::AppCore &core, QWidget *parent, DesignCommands &design, EntryWindowCloser closeEntryWindows,
                     EntryWindowFinder entryWindow);

    // 票据模板管理 and the entry windows' "配置常用模板": on the template given, else the current one.
    void openTemplateManager(int templateId = 0);
    // 票据模板导入 and 新模板导入 (both pages), or the management's import (its page only).
    // After an import the open entry window lists the templates afresh.
    void openTemplatePackages(bool importOnly);
    // 清除软件缓存文件.
    void resetCache(bool entryWindowOpen);
    // 升级到9.28: the upgrade window.
    void openUpgrade();
    // At start: a data file of an earlier version opens the upgrade window first.
    void upgradeIfNeeded();

private:
    app::AppCore &m_core;
    QWidget *m_parent;
    DesignCommands &m_design;
    EntryWindowCloser m_closeEntryWindows;
    EntryWindowFinder m_entryWindow;
};

} // namespace moque::ui
