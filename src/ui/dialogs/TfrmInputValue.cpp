#include "dialogs/TfrmInputValue.h"

#include <QComboBox>
#include <QLabel>

namespace moque::ui {

QString TfrmInputValue::normaliseKind(const QString &kind)
{
    const QString k = kind.trimmed().toUpper();
    if (k == QLatin1String("INT") || k == QLatin1String("INTEGER"))
        return QStringLiteral("INTEGER");
    if (k == QLatin1String("FLOAT") || k == QLatin1String("REAL") || k == QLatin1String("DOUBLE"))
        return QStringLiteral("DOUBLE");
    return QStringLiteral("STRING");
}

TfrmInputValue::TfrmInputValue(const QString &, const QString &, const QString &kind, QWidget *parent)
    : QDialog(parent)
    , m_kind(normaliseKind(kind))
{
}

QString TfrmInputValue::giveMeAnValue(QWidget *parent, const QString &prompt, const QString &defaultValue,
                                      const QString &kind)
{
    TfrmInputValue dialog(prompt, defaultValue, kind, parent);
    dialog.exec();
    return dialog.value();
}

QString TfrmInputValue::value() const
{
    return {};
}

} // namespace moque::ui
