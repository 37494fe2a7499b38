#pragma once

#include <QDialog>

#include <functional>

class QComboBox;
class QLineEdit;
class QPushButton;
class QStandardItemModel;
class QTableView;

namespace moque::app {
class AppCore;
}

namespace moque::ui {

// The currency window ("币种设置"): choose a currency to see its code, add a
// currency, change a currency's code or delete it. Created once and kept.
class CurrencyWindow : public QDialog
{
    Q_OBJECT
public:
    explicit CurrencyWindow(moque::app::AppCore &core, QWidget *parent = nullptr);

    // The chosen currency, empty when none is chosen.
    QString chosenName() const;
    // Rereads the currencies and chooses the one with the name (none when not listed).
    void reload(const QString &name = {});

    // Shows "导出Excel", which hands the currency list to the exporter.
    using Exporter = std::function<void(QTableView *, const QString &)>;
    void setExporter(Exporter exporter);

private Q_SLOTS:
    void currencyChosen(int index);
    void addEntry();
    void deleteEntry();
    void saveChange();

private:
    void tell(const QString &text, const QString &caption, bool ok);

    moque::app::AppCore &m_core;
    QComboBox *m_names = nullptr;
    QComboBox *m_codes = nullptr;
    QLineEdit *m_newName = nullptr;
    QLineEdit *m_newCode = nullptr;
    QTableView *m_grid = nullptr;
    QStandardItemModel *m_list = nullptr;
    QPushButton *m_export = nullptr;
    Exporter m_exporter;
};

} // namespace moque::ui
