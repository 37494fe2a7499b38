#pragma once

#include "history/HistoryStore.h"
#include "history/InvoiceQuery.h"

#include <QDialog>

#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableView;
class QTreeWidget;

namespace moque {
class SqlListModel;
}

namespace moque::app {
class AppCore;
}

namespace moque::ui {

// The history of an invoice kind: "收据及发票查询" (普通发票收据),
// "国际货运发票查询" (国际货运发票) or "出口商品发票查询" (出口商品发票). Lists
// the saved invoices matching the filters with their amount total, reopens,
// deletes, exports and voids them; the export invoice window also registers
// ranges of received invoice numbers. Created anew for each opening and
// shown modally.
class InvoiceHistoryWindow : public QDialog
{
    Q_OBJECT
public:
    // Exports a grid to a spreadsheet under the title.
    using Exporter = std::function<void(QTableView *, const QString &)>;
    // Picks an address book entry of the party type under the caption: the
    // text to write into the party filter, or none.
    using PersonPicker = std::function<std::optional<QString>(const QString &type, const QString &caption)>;

    InvoiceHistoryWindow(moque::app::AppCore &core, history::InvoiceKind kind, QWidget *parent = nullptr);

    void setExporter(Exporter exporter) { m_exporter = std::move(exporter); }
    void setPersonPicker(PersonPicker picker) { m_picker = std::move(picker); }

    const history::InvoiceQuery &query() const { return m_query; }

    // The window's actions, as its buttons and menu items run them.
    void search();
    // Clears every filter and ticks "不限日期"; queries only when asked to (a click does).
    void btAllClick(bool query = true);
    void selectPeriod(const QString &node);
    // Opens the current row; a double-click only when "双击打开" is ticked.
    void openCurrentRow(bool byDoubleClick = false);
    void deleteSelected();
    void deleteListed();
    void deleteAll();
    void exportGrid();
    // "作废选中(&F)".
    void voidSelected();
    // "领用联号票据": fills the template list and shows the panel over the grid.
    void showRegistration();
    // "开始登记".
    void registerRange();
    // Forgets the last query so that the next one runs, and queries.
    void refresh();

    // Called by a receiver of openBill (connected directly) that did not open
    // the bill, e.g. the user kept the other entry windows open: the history
    // window then stays open.
    void cancelOpen() { m_openCancelled = true; }

    // The filter as the controls hold it.
    history::InvoiceFilter filter() const;
    QString sortColumn() const { return m_sortColumn; }
    SqlListModel *model() const { return m_model; }

Q_SIGNALS:
    // Open the saved invoice with this 流水号 in the entry window of the kind
    // ("普通发票收据", "国际货运发票", "出口商品发票").
    void openBill(const QString &kindName, qint64 id);

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildWindow();
    QGroupBox *buildFilterBar();
    QGroupBox *buildMatchChoice(QWidget *filters);
    QLayout *buildPeriodPanel();
    QLayout *buildList();
    QLayout *buildButtons();
    void buildRegistrationPanel();
    void presetFilters();
    void connectCommands();
    void connectFilters();
    void connectList();
    void runQuery(const history::BoundStatement &statement, const history::InvoiceFilter &filter);
    void showDatabaseError(const QString &error);
    void markFiltersInUse(const history::InvoiceFilter &filter);
    void writeBackTrimmed(const history::InvoiceFilter &filter);
    void expandParty();
    void pickParty();
    void fillOnFirstEntry(QComboBox *box);
    void clearTemplate();
    void headerClicked(int column);
    void gridMenu(const QPoint &pos);
    int currentRow() const;
    history::HistoryStore store() const;
    void changedFilterQuery();

    moque::app::AppCore &m_core;
    history::InvoiceQuery m_query;
    Exporter m_exporter;
    PersonPicker m_picker;
    SqlListModel *m_model = nullptr;

    QLineEdit *m_party = nullptr;
    QPushButton *m_clearParty = nullptr;
    QPushButton *m_pickParty = nullptr;
    QComboBox *m_number = nullptr;
    QDateEdit *m_date1 = nullptr;
    QDateEdit *m_date2 = nullptr;
    QCheckBox *m_anyDate = nullptr;
    QComboBox *m_template = nullptr;
    QPushButton *m_clearTemplate = nullptr;
    QComboBox *m_state = nullptr;
    QLineEdit *m_contract = nullptr;
    QLineEdit *m_amountFrom = nullptr;
    QLineEdit *m_amountTo = nullptr;
    QRadioButton *m_exact = nullptr;
    QRadioButton *m_contains = nullptr;
    QTableView *m_grid = nullptr;
    QLabel *m_count = nullptr;
    QLabel *m_sum = nullptr;
    QTreeWidget *m_tree = nullptr;
    QPushButton *m_export = nullptr;
    QPushButton *m_delete = nullptr;
    QPushButton *m_deleteList = nullptr;
    QPushButton *m_deleteAll = nullptr;
    QPushButton *m_void = nullptr;
    QPushButton *m_recordNumbers = nullptr;
    QPushButton *m_queryButton = nullptr;
    QPushButton *m_all = nullptr;
    QCheckBox *m_doubleClickOpens = nullptr;
    QPushButton *m_open = nullptr;
    QPushButton *m_exit = nullptr;

    // "领用联号票据".
    QGroupBox *m_panel = nullptr;
    QComboBox *m_panelTemplate = nullptr;
    QLineEdit *m_code = nullptr;
    QLineEdit *m_firstNumber = nullptr;
    QLineEdit *m_lastNumber = nullptr;
    QSpinBox *m_digits = nullptr;
    QPushButton *m_startImport = nullptr;
    QPushButton *m_endImport = nullptr;
    QLabel *m_status = nullptr;

    QString m_sortColumn;
    std::optional<history::BoundStatement> m_lastStatement;
    history::BoundStatement m_shownStatement;
    bool m_resetting = false;
    bool m_openCancelled = false;
};

} // namespace moque::ui
