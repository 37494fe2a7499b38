#pragma once

#include <QStringList>
#include <QWidget>

class QComboBox;
class QTabBar;

namespace moque::ui {

// The strip above an entry window's picture (`panelTab`): the kind's common
// templates as tabs (`tbcCheckTypeName`) with a last tab "配置常用模板", and
// every visible template of the kind in the combo box `cbFirstTypeName`.
class TemplateBar : public QWidget
{
    Q_OBJECT
public:
    TemplateBar(const QString &comboHint, QWidget *parent = nullptr);

    // The template chosen in the combo box (its display name).
    QString currentName() const;
    bool isEmpty() const;
    // The combo box, shown again when printing finds no template chosen.
    QComboBox *combo() const { return m_combo; }

    // Fills the combo box without choosing anything anew.
    void setTemplates(const QStringList &displayNames);
    // The tabs become the common templates and "配置常用模板".
    void setCommonTemplates(const QStringList &displayNames);
    // Selects the name in the combo box and its tab, signalling nothing; true
    // when the combo box's choice changed.
    bool select(const QString &displayName);
    // The height of the tab strip, which the window's size allows for.
    int tabsHeight() const;
    // Long drop-down lists on tall screens.
    void fitListToScreen(int screenHeight);

    static QString manageTab() { return QStringLiteral("配置常用模板"); }
    // No tab is chosen when the template in use has none: "配置常用模板" can be chosen again.
    void leaveManageTab();

Q_SIGNALS:
    // The user chose another template in the combo box.
    void templateChosen();
    // The user chose a tab other than "配置常用模板" (its text).
    void tabChosen(const QString &displayName);
    // The user chose "配置常用模板": the template management opens.
    void manageChosen();

private:
    QTabBar *m_tabs = nullptr;
    QComboBox *m_combo = nullptr;
};

} // namespace moque::ui
