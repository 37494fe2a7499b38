#include "templates/FormPlacement.h"

#include "common/Dialogs.h"
#include "templates/PrintItemStore.h"
#include "templates/TemplateCache.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

namespace moque::ui {

namespace {

QWidget *findControl(QWidget *window, const QString &name)
{
    const QList<QWidget *> children = window->findChildren<QWidget *>();
    for (QWidget *w : children)
        if (w->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return w;
    return nullptr;
}

void setStartValue(QWidget *control, const QString &text)
{
    if (auto *edit = qobject_cast<QLineEdit *>(control)) {
        edit->setText(text);
    } else if (auto *combo = qobject_cast<QComboBox *>(control)) {
        if (combo->isEditable())
            combo->setEditText(text);
        else
            combo->setCurrentText(text);
    } else if (auto *memo = qobject_cast<QPlainTextEdit *>(control)) {
        memo->setPlainText(text);
    } else if (auto *rich = qobject_cast<QTextEdit *>(control)) {
        rich->setPlainText(text);
    } else if (auto *label = qobject_cast<QLabel *>(control)) {
        label->setText(text);
    } else if (auto *button = qobject_cast<QAbstractButton *>(control); button && button->isCheckable()) {
        // Any start value ticks a tick box.
        button->setChecked(true);
    }
}

} // namespace

void setFormCtlPositionFromIni(const QString &fieldName, const templates::TemplateCacheFile &cache, QWidget *window)
{
    if (!window)
        return;
    QWidget *control = findControl(window, fieldName);
    if (!control)
        return;
    const templates::Placement p = cache.placement(fieldName);
    if (p.visible) {
        control->setGeometry(p.x, p.y, p.w, p.h);
        control->show();
    } else {
        control->hide();
    }
    window->update();
    if (!p.defaultText.isEmpty())
        setStartValue(control, p.defaultText);
}

void setFormControlsPosition(const QString &kind, QWidget *window, const templates::TemplateCacheFile *cache,
                             templates::PrintItemStore &items, Dialogs &dialogs)
{
    if (!window || !cache)
        return;
    QString error;
    const QStringList names = items.fieldNames(kind, &error);
    if (!error.isEmpty()) {
        dialogs.error(QStringLiteral("调入项目参数失败!") + error);
        return;
    }
    for (const QString &name : names)
        setFormCtlPositionFromIni(name, *cache, window);
}

} // namespace moque::ui
