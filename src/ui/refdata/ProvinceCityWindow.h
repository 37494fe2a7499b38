#pragma once

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QStringListModel;

namespace moque::app {
class AppCore;
}

namespace moque::ui {

// The province and city code window ("省市代码设置"): the provinces, the
// cities of the chosen one, and an input panel to add a city (to a new or
// listed province) or rename the selected city. A province goes away with
// its last city. Created once and kept: every showing rereads the lists.
class ProvinceCityWindow : public QDialog
{
    Q_OBJECT
public:
    explicit ProvinceCityWindow(moque::app::AppCore &core, QWidget *parent = nullptr);

    QString currentProvince() const;
    // The selected city without the blank it is listed with; empty when none.
    QString currentCity() const { return m_city; }

protected:
    void showEvent(QShowEvent *event) override;

private Q_SLOTS:
    void addEntry();
    void editEntry();
    void deleteEntry();
    void confirmEdit();
    void cancelEdit();

private:
    enum class Mode { Browse, Add, Edit };

    // Rereads the provinces and the cities, selecting the province and city when listed.
    void reload(const QString &province, const QString &city = {});
    void loadCities(const QString &city = {});
    void setCity(const QString &city);
    void setMode(Mode mode);

    moque::app::AppCore &m_core;
    Mode m_mode = Mode::Browse;
    QString m_city;
    QComboBox *m_provinces = nullptr;
    QStringListModel *m_cityModel = nullptr;
    QListView *m_cities = nullptr;
    QLabel *m_current = nullptr;
    QPushButton *m_add = nullptr;
    QPushButton *m_edit = nullptr;
    QPushButton *m_delete = nullptr;
    QGroupBox *m_panel = nullptr;
    QLineEdit *m_panelProvince = nullptr;
    QLineEdit *m_panelCity = nullptr;
};

} // namespace moque::ui
