#pragma once

#include "common/Dialogs.h"

#include <QPointer>
#include <QWidget>

namespace moque::ui {

// The program's Dialogs: Qt message boxes, the single-value input dialog and
// the file choosers, parented to the active window.
class QtDialogs : public Dialogs
{
public:
    void message(const QString &text, const QString &caption, Icon icon) override;
    bool ask(const QString &text, const QString &caption, Icon icon) override;
    QString inputValue(const QString &prompt, const QString &defaultValue, const QString &kind) override;
    QString openFileName(const QString &caption, const QString &filter) override;
    QString saveFileName(const QString &caption, const QString &suggestedName, const QString &filter) override;

private:
    static QWidget *parentWidget();
};

} // namespace moque::ui
