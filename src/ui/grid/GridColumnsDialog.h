#pragma once

#include <QDialog>

class QListWidget;
class QTableView;

namespace moque {
class Dialogs;
namespace settings {
class UserSettings;
}
} // namespace moque

namespace moque::ui {

// The column settings dialog ("表格栏目配置"): which columns of a list grid
// are shown. Applying also stores the grid's widths under the key, a hidden
// column as -1, so that the choice outlives the window.
class GridColumnsDialog : public QDialog
{
    Q_OBJECT
public:
    // The grid must have a model.
    GridColumnsDialog(QTableView *grid, const QString &key, settings::UserSettings &settings, Dialogs &dialogs,
                   QWidget *parent = nullptr);

    // Moves the selected entries from the shown to the hidden list ("隐藏") and back ("显示").
    void hideSelected();
    void showSelected();
    // Shows and hides the grid's columns as listed and stores the widths ("应用修改").
    void apply();

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    // Field names of a list's entries.
    static QStringList fieldNames(const QListWidget *list);
    static void moveSelected(QListWidget *from, QListWidget *to);

    QTableView *m_grid;
    QString m_key;
    settings::UserSettings &m_settings;
    Dialogs &m_dialogs;
    QListWidget *m_shown = nullptr;
    QListWidget *m_hidden = nullptr;
};

} // namespace moque::ui
