#include "support/ScriptedDialogs.h"

namespace moque::test {

void ScriptedDialogs::message(const QString &text, const QString &caption, Icon icon)
{
    shown << Shown{QStringLiteral("message"), text, caption, icon};
}

bool ScriptedDialogs::ask(const QString &text, const QString &caption, Icon icon)
{
    shown << Shown{QStringLiteral("ask"), text, caption, icon};
    return answers.isEmpty() ? false : answers.dequeue();
}

QString ScriptedDialogs::inputValue(const QString &prompt, const QString &defaultValue, const QString &kind)
{
    shown << Shown{QStringLiteral("input"), prompt, defaultValue + QLatin1Char('|') + kind, Icon::Question};
    return inputs.isEmpty() ? QString() : inputs.dequeue();
}

QString ScriptedDialogs::openFileName(const QString &caption, const QString &filter)
{
    shown << Shown{QStringLiteral("open"), filter, caption, Icon::Question};
    return files.isEmpty() ? QString() : files.dequeue();
}

QString ScriptedDialogs::saveFileName(const QString &caption, const QString &suggestedName, const QString &filter)
{
    shown << Shown{QStringLiteral("save"), suggestedName + QLatin1Char('|') + filter, caption, Icon::Question};
    return files.isEmpty() ? QString() : files.dequeue();
}

QStringList ScriptedDialogs::texts() const
{
    QStringList t;
    for (const Shown &s : shown)
        t << s.text;
    return t;
}

} // namespace moque::test
