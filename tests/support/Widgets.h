#pragma once

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

} // namespace moque::test
