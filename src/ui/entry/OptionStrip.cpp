#include "entry/OptionStrip.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSignalBlocker>

namespace moque::ui {

namespace {

// A remembered combo box falls back to the text it started with.
const char *const kDefaultText = "defaultText";

} // namespace

OptionStrip::OptionStrip(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("shortbar"));
    m_row = new QHBoxLayout(this);
    m_row->setContentsMargins(4, 0, 4, 0);
    auto *remember = new QPushButton(QStringLiteral("记住选项"), this);
    remember->setObjectName(QStringLiteral("btRmember"));
    m_row->addWidget(remember);
    m_row->addStretch(1);
    connect(remember, &QPushButton::clicked, this, &OptionStrip::rememberRequested);
}

void OptionStrip::addOption(QWidget *option, bool remembered)
{
    option->setParent(this);
    // Before the button and the stretch.
    m_row->insertWidget(m_row->count() - 2, option);
    if (!remembered)
        return;
    if (auto *combo = qobject_cast<QComboBox *>(option))
        combo->setProperty(kDefaultText, combo->currentText());
    m_remembered.append(option);
}

void OptionStrip::applyStored(const std::function<QString(const QString &name)> &stored)
{
    for (QWidget *option : std::as_const(m_remembered)) {
        const QString value = stored(option->objectName());
        const QSignalBlocker blocker(option);
        if (auto *box = qobject_cast<QCheckBox *>(option)) {
            box->setChecked(value == QStringLiteral("1"));
        } else if (auto *combo = qobject_cast<QComboBox *>(option)) {
            combo->setCurrentText(value.isEmpty() || combo->findText(value) < 0
                                      ? combo->property(kDefaultText).toString()
                                      : value);
        }
    }
}

QList<QPair<QString, QString>> OptionStrip::rememberedValues() const
{
    QList<QPair<QString, QString>> values;
    for (const QWidget *option : m_remembered) {
        QString value;
        if (auto *box = qobject_cast<const QCheckBox *>(option))
            value = box->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
        else if (auto *combo = qobject_cast<const QComboBox *>(option))
            value = combo->currentText();
        values.append({option->objectName(), value});
    }
    return values;
}

} // namespace moque::ui
