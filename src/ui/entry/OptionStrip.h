#pragma once

#include <QList>
#include <QPair>
#include <QWidget>

#include <functional>

class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QVBoxLayout;

namespace moque::ui {

// The strip along the lower edge of an entry window's picture (`shortbar`):
// the kind's print options and the button "记住选项". A remembered option is
// kept per template under its component name: a tick box as "1" or "0", a
// combo box as its text, a number box as its number.
class OptionStrip : public QWidget
{
    Q_OBJECT
public:
    explicit OptionStrip(QWidget *parent = nullptr);

    // Adds an option to the row being filled, on the first row before
    // "记住选项"; the strip takes it over.
    void addOption(QWidget *option, bool remembered);
    // The options added next go on a row of their own below.
    void startRow();
    // The height its rows need.
    int stripHeight() const;
    // The option is stored under this name instead of its component name.
    static void rememberAs(QWidget *option, const QString &key);
    // The tick box is on unless stored as "0" (others are on only when stored as "1").
    static void tickedUnlessStoredOff(QCheckBox *option);

    // Sets the remembered options from the stored values (component name ->
    // value) without signalling; a combo box whose value is missing or not
    // among its items shows the text it started with.
    void applyStored(const std::function<QString(const QString &name)> &stored);
    // The remembered options' values to store, by component name.
    QList<QPair<QString, QString>> rememberedValues() const;

Q_SIGNALS:
    void rememberRequested();

private:
    static QString keyOf(const QWidget *option);
    static QString storedChoice(const QComboBox *combo, const QString &value);

    QVBoxLayout *m_rows = nullptr;
    QHBoxLayout *m_row = nullptr;
    QList<QWidget *> m_remembered;
};

} // namespace moque::ui
