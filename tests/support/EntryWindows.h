#pragma once

#include "entry/EntryWindow.h"
#include "support/Widgets.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <memory>

// Driving a bill entry window as a user does: open it active, read what a
// control shows, type into a box and leave it.
namespace moque::test {

// The window shown and active, so that focus moves as it does on a desk.
template<class Window>
std::unique_ptr<Window> openActive(app::AppCore &core)
{
    auto w = std::make_unique<Window>(core);
    w->show();
    w->activateWindow();
    if (!QTest::qWaitForWindowActive(w.get()))
        qWarning("the %s did not become active", w->metaObject()->className());
    return w;
}

// The text a control of the window shows.
inline QString shownText(const ui::EntryWindow &w, const QString &name)
{
    const QWidget *c = w.control(name);
    if (auto *edit = qobject_cast<const QLineEdit *>(c))
        return edit->text();
    if (auto *combo = qobject_cast<const QComboBox *>(c))
        return combo->currentText();
    if (auto *memo = qobject_cast<const QPlainTextEdit *>(c))
        return memo->toPlainText();
    return {};
}

// Types over what a box holds and leaves it, as Tab would.
inline void enterText(ui::EntryWindow &w, const QString &name, const QString &text)
{
    QWidget *c = w.control(name);
    c->setFocus(Qt::TabFocusReason);
    auto *edit = qobject_cast<QLineEdit *>(c);
    if (!edit)
        edit = qobject_cast<QComboBox *>(c)->lineEdit();
    replaceText(edit, text);
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(c, &out);
}

} // namespace moque::test
