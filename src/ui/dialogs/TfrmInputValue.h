#pragma once

#include <QDialog>

class QComboBox;
class QLabel;

namespace moque::ui {

// The single-value input dialog ("用户输入"): one text or number typed or
// picked, filtered by its kind.
class TfrmInputValue : public QDialog
{
    Q_OBJECT
public:
    // "INTEGER", "DOUBLE" or "STRING", from the kind names callers give.
    static QString normaliseKind(const QString &kind);

    TfrmInputValue(const QString &prompt, const QString &defaultValue, const QString &kind,
                   QWidget *parent = nullptr);

    // Shows the dialog modally; the trimmed, non-empty text when confirmed, else empty text.
    static QString giveMeAnValue(QWidget *parent, const QString &prompt, const QString &defaultValue,
                                 const QString &kind);

    QString value() const;
    bool isCancelled() const { return m_cancelled; }

private:
    QString m_kind;
    bool m_cancelled = true;
    QComboBox *m_value = nullptr;
    QLabel *m_message = nullptr;
};

} // namespace moque::ui
