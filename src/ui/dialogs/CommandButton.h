#pragma once

#include <QPushButton>

namespace moque::ui {

// A window's push button under its component name. It never takes Enter as
// the default button: Enter belongs to the field that has the focus (lookups,
// mnemonic expansion), as the windows of this system expect.
inline QPushButton *commandButton(const QString &text, const QString &name, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

} // namespace moque::ui
