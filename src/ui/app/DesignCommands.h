#pragma once

#include <QObject>

#include <functional>

namespace moque::app {
class AppCore;
}

namespace moque::ui {

class EntryWindow;

// The main window's design commands: the entry layout designer (with the
// print layout designer and the offset window it opens), the whole-template
// offset window, and afterwards the open entry windows placing their controls
// again from the changed template.
class DesignCommands : public QObject
{
    Q_OBJECT
public:
    using EntryWindowFinder = std::function<EntryWindow *()>;

    DesignCommands(app::AppCore &core, QWidget *parent, EntryWindowFinder entryWindow);

    // 设计模式: on the open entry window's template, else the current one.
    void openDesignMode(int templateId = 0);
    // 打印整体偏移调整 / 整体偏移: the offset window on the template given, else the current one.
    void openPrintOffset(int templateId = 0);
    void openPrintDesigner(int templateId);

private:
    // The waybill, receipt and freight windows forget their template and apply it again.
    void reapplyTemplates();

    app::AppCore &m_core;
    QWidget *m_parent;
    EntryWindowFinder m_entryWindow;
};

} // namespace moque::ui
