#include "entry/OptionStrip.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

namespace moque::ui {

namespace {

// A remembered combo box falls back to the text it started with.
const char *const kDefaultText = "defaultText";
// The option's name in the template's stored options, when not its own.
const char *const kStoredKey = "storedKey";
// A tick box that is on unless stored as "0".
const char *const kTickedUnlessOff = "tickedUnlessOff";
constexpr int kRowHeight = 26;

} // namespace

OptionStrip::OptionStrip(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("shortbar"));
    m_rows = new QVBoxLayout(this);
    m_rows->setContentsMargins(4, 0, 4, 0);
    m_rows->setSpacing(0);
    m_row = new QHBoxLayout;
    m_rows->addLayout(m_row);
    auto *remember = new QPushButton(QStringLiteral("记住选项"), this);
    remember->setObjectName(QStringLiteral("btRmember"));
    m_row->addWidget(remember);
    m_row->addStretch(1);
    connect(remember, &QPushButton::clicked, this, &OptionStrip::rememberRequested);
}

void OptionStrip::addOption(QWidget *option, bool remembered)
{
    option->setParent(this);
    // Before the stretch, and on the first row before the button too.
    m_row->insertWidget(m_row->count() - (m_rows->count() == 1 ? 2 : 1), option);
    if (!remembered)
        return;
    if (auto *combo = qobject_cast<QComboBox *>(option))
        combo->setProperty(kDefaultText, combo->currentText());
    else if (auto *spin = qobject_cast<QSpinBox *>(option))
        spin->setProperty(kDefaultText, spin->value());
    m_remembered.append(option);
}

void OptionStrip::startRow()
{
    m_row = new QHBoxLayout;
    m_row->addStretch(1);
    m_rows->addLayout(m_row);
}

int OptionStrip::stripHeight() const
{
    return kRowHeight * m_rows->count();
}

void OptionStrip::rememberAs(QWidget *option, const QString &key)
{
    option->setProperty(kStoredKey, key);
}

void OptionStrip::tickedUnlessStoredOff(QCheckBox *option)
{
    option->setProperty(kTickedUnlessOff, true);
}

void OptionStrip::applyStored(const std::function<QString(const QString &name)> &stored)
{
    for (QWidget *option : std::as_const(m_remembered)) {
        const QString value = stored(keyOf(option));
        const QSignalBlocker blocker(option);
        if (auto *box = qobject_cast<QCheckBox *>(option)) {
            box->setChecked(box->property(kTickedUnlessOff).toBool() ? value != QStringLiteral("0")
                                                                     : value == QStringLiteral("1"));
        } else if (auto *combo = qobject_cast<QComboBox *>(option)) {
            combo->setCurrentText(storedChoice(combo, value));
        } else if (auto *spin = qobject_cast<QSpinBox *>(option)) {
            bool ok = false;
            const int number = value.trimmed().toInt(&ok);
            spin->setValue(ok ? number : spin->property(kDefaultText).toInt());
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
        else if (auto *spin = qobject_cast<const QSpinBox *>(option))
            value = QString::number(spin->value());
        values.append({keyOf(option), value});
    }
    return values;
}

QString OptionStrip::keyOf(const QWidget *option)
{
    const QString key = option->property(kStoredKey).toString();
    return key.isEmpty() ? option->objectName() : key;
}

// Stored texts are compared trimmed, as the choices of some lists start with
// blanks; a box the user types in takes any stored text.
QString OptionStrip::storedChoice(const QComboBox *combo, const QString &value)
{
    const QString wanted = value.trimmed();
    if (!wanted.isEmpty()) {
        for (int i = 0; i < combo->count(); ++i)
            if (combo->itemText(i).trimmed() == wanted)
                return combo->itemText(i);
        if (combo->isEditable())
            return value;
    }
    return combo->property(kDefaultText).toString();
}

} // namespace moque::ui
