#pragma once

#include "common/Dialogs.h"

#include <QList>
#include <QQueue>
#include <QStringList>

namespace moque::test {

// A Dialogs that answers from a script and records everything shown.
class ScriptedDialogs : public Dialogs
{
public:
    struct Shown
    {
        QString kind;    // "message", "ask", "input", "open", "save"
        QString text;
        QString caption;
        Icon icon = Icon::Information;
    };

    void message(const QString &text, const QString &caption, Icon icon) override;
    bool ask(const QString &text, const QString &caption, Icon icon) override;
    QString inputValue(const QString &prompt, const QString &defaultValue, const QString &kind) override;
    QString openFileName(const QString &caption, const QString &filter) override;
    QString saveFileName(const QString &caption, const QString &suggestedName, const QString &filter) override;

    // Answers used in order; a question without a scripted answer is answered No,
    // an input or file dialog without one is cancelled.
    QQueue<bool> answers;
    QQueue<QString> inputs;
    QQueue<QString> files;

    QList<Shown> shown;

    // Texts of everything shown, in order.
    QStringList texts() const;
    QString lastText() const { return shown.isEmpty() ? QString() : shown.last().text; }
    QString lastCaption() const { return shown.isEmpty() ? QString() : shown.last().caption; }
    void clear() { shown.clear(); }
};

} // namespace moque::test
