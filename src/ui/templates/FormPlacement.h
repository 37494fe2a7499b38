#pragma once

#include <QString>

class QWidget;

namespace moque {
class Dialogs;
}

namespace moque::templates {
class PrintItemStore;
class TemplateCacheFile;
} // namespace moque::templates

namespace moque::ui {

// Places the input control named after the field (any letter case) as the
// template cache says: shown at its place or hidden, with its start value.
// A window without such a control is left alone.
void setFormCtlPositionFromIni(const QString &fieldName, const templates::TemplateCacheFile &cache, QWidget *window);

// Places the controls of every field of the kind. Nothing happens without a
// window or a cache; a database error shows "调入项目参数失败!" + its message.
void setFormControlsPosition(const QString &kind, QWidget *window, const templates::TemplateCacheFile *cache,
                             templates::PrintItemStore &items, Dialogs &dialogs);

} // namespace moque::ui
