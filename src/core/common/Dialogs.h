#pragma once

#include <QString>
#include <QStringList>

namespace moque {

// Every message box, question and input dialog of the system goes through this
// interface: the program shows Qt dialogs, tests answer from a script and read
// back what was shown.
class Dialogs
{
public:
    enum class Icon { Information, Warning, Error, Question };

    virtual ~Dialogs() = default;

    // A message with an OK button.
    virtual void message(const QString &text, const QString &caption, Icon icon) = 0;
    // A question with Yes and No; true when Yes was chosen.
    virtual bool ask(const QString &text, const QString &caption, Icon icon) = 0;
    // The single-value input dialog; empty text when cancelled.
    virtual QString inputValue(const QString &prompt, const QString &defaultValue, const QString &kind) = 0;
    // File choosers; empty text when cancelled.
    virtual QString openFileName(const QString &caption, const QString &filter) = 0;
    virtual QString saveFileName(const QString &caption, const QString &suggestedName, const QString &filter) = 0;

    // The system's alert: an information box with the caption; with ask it has
    // Yes and No and returns true for Yes, else OK and false. An empty caption
    // shows nothing and returns false.
    bool alert(const QString &text, const QString &caption, bool withQuestion = false)
    {
        if (caption.isEmpty())
            return false;
        if (withQuestion)
            return ask(text, caption, Icon::Information);
        message(text, caption, Icon::Information);
        return false;
    }
    void info(const QString &text, const QString &caption = QStringLiteral("提示"))
    {
        message(text, caption, Icon::Information);
    }
    void warning(const QString &text, const QString &caption = QStringLiteral("警告"))
    {
        message(text, caption, Icon::Warning);
    }
    void error(const QString &text, const QString &caption = QStringLiteral("错误"))
    {
        message(text, caption, Icon::Error);
    }
};

} // namespace moque
