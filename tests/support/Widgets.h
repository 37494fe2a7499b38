#pragma once

#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

namespace moque::test {

// The child of window whose objectName is name. A missing control ends the
// test program naming it, since a window test cannot go on without it and a
// null pointer would only crash later without a hint.
template<typename T = QWidget>
T *child(const QWidget *window, const char *name)
{
    T *w = window->findChild<T *>(QLatin1StringView(name));
    if (!w)
        qFatal("missing control %s in %s", name, window->metaObject()->className());
    return w;
}

// Clicks the window's button of that name.
inline void click(const QWidget *window, const char *button)
{
    child<QAbstractButton>(window, button)->click();
}

// Types the text key by key; QTest::keyClicks takes only Latin-1 characters.
inline void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(widget, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// Types over what the edit holds.
inline void replaceText(QLineEdit *edit, const QString &text)
{
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    typeText(edit, text);
}

} // namespace moque::test
