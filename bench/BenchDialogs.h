#pragma once

#include "common/Dialogs.h"

// Benchmarks answer every question with No, cancel every input and count the
// messages a run would have shown.
class BenchDialogs : public moque::Dialogs
{
public:
    int messages = 0;

    void message(const QString &, const QString &, Icon) override { ++messages; }
    bool ask(const QString &, const QString &, Icon) override { return false; }
    QString inputValue(const QString &, const QString &, const QString &) override { return {}; }
    QString openFileName(const QString &, const QString &) override { return {}; }
    QString saveFileName(const QString &, const QString &, const QString &) override { return {}; }
};
