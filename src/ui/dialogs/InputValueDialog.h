#pragma once

#include <QDialog>

class QComboBox;
class QLabel;

namespace moque::ui {

// The single-value input dialog ("用户输入"): one text or number typed or
// picked, filtered by its kind.
class InputValueDialog : public QDialog
{
    Q_OBJECT
public:
    // "INTEGER", "DOUBLE" or "STRING", from the kind names callers give.
    static QString normaliseKind(const QString &kind);

    InputValueDialog(const QString &prompt, const QString &defaultValue, const QString &kind,
                   QWidget *parent = nullptr);

    // Shows the dialog modally; the trimmed, non-empty text when confirmed, else empty text.
    static QString giveMeAnValue(QWidget *parent, const QString &prompt, const QString &defaultValue,
                                 const QString &kind);

    QString value() const;
    bool isCancelled() const { return m_cancelled; }
    QString kind() const { return m_kind; }

    // Trims the value; an empty value is refused on the message line, else the dialog closes confirmed.
    void confirm();

    // Cancelling by any route (button, Esc, close box) empties the value.
    void reject() override;
    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // Whether a typed character belongs to the kind's numbers.
    bool allowedChar(QChar c) const;
    QString refusedKeyMessage() const;
    // Keeps text that arrived other than by a key press (pasting, dropping) to the allowed characters.
    void keepAllowed(const QString &text);

    QString m_kind;
    bool m_cancelled = true;
    QLabel *m_prompt = nullptr;
    QComboBox *m_value = nullptr;
    QLabel *m_message = nullptr;
};

} // namespace moque::ui
