#pragma once

#include "history/HistoryQuery.h"
#include "history/HistoryStore.h"

#include <QDialog>
#include <QUrl>

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
class QTableView;
class QTreeWidget;
class QTreeWidgetItem;

namespace moque {
class SqlListModel;
}

namespace moque::app {
class AppCore;
}

namespace moque::ui {

// The waybill history ("快递单查询"): lists the saved waybills matching the
// filters with their fee total, reopens, supplements, deletes and exports them.
// Created anew for each opening and shown modally.
class WaybillHistoryWindow : public QDialog
{
    Q_OBJECT
public:
    // Exports a grid to a spreadsheet under the title.
    using Exporter = std::function<void(QTableView *, const QString &)>;
    // Picks an address book entry of the party type ("往来单位", "我方单位")
    // under the caption: the text to write into the filter, or none.
    using PersonPicker = std::function<std::optional<QString>(const QString &type, const QString &caption)>;

    explicit WaybillHistoryWindow(moque::app::AppCore &core, QWidget *parent = nullptr);

    void setExporter(Exporter exporter) { m_exporter = std::move(exporter); }
    void setPersonPicker(PersonPicker picker) { m_picker = std::move(picker); }

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
    void supplementNumber();
    void supplementRemark();
    void trackCurrentRow();
    // Forgets the last query so that the next one runs, and queries.
    void refresh();

    // Called by a receiver of openBillRequested (connected directly) that did
    // not open the bill, e.g. the user kept the other entry windows open: the
    // history window then stays open.
    void cancelOpen() { m_openCancelled = true; }

    // The filter as the controls hold it.
    history::WaybillFilter filter() const;
    QString sortColumn() const { return m_sortColumn; }
    SqlListModel *model() const { return m_model; }

Q_SIGNALS:
    // Open the saved waybill in the waybill entry window (openSavedBill).
    void openBillRequested(const QString &templateName, int id);
    // The courier tracking page, relative to the vendor's web service; the
    // main window adds its product parameters and opens it.
    void trackingRequested(const QUrl &relativeUrl);

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildWindow();
    QGroupBox *buildFilterBar();
    QGroupBox *buildMatchChoice(QWidget *filters);
    // The period tree over the export and delete commands.
    QLayout *buildPeriodPanel();
    // The grid with its record count and fee total.
    QLayout *buildList();
    QLayout *buildButtons();
    // The dates, template list and double-click choice a fresh window starts with.
    void presetFilters();
    void connectControls();
    void connectCommands();
    void connectFilters();
    // The period tree, the grid and the double-click choice.
    void connectList();
    void runQuery(const history::BoundStatement &statement, const history::WaybillFilter &filter);
    void showDatabaseError(const QString &statement);
    void markFiltersInUse(const history::WaybillFilter &filter);
    void expandParty(QLineEdit *edit);
    void pickParty(QLineEdit *edit, const QString &type, const QString &caption);
    void fillNumberList();
    void clearTemplate();
    void headerClicked(int column);
    void gridMenu(const QPoint &pos);
    void supplement(const QString &column, const QString &prompt);
    int currentRow() const;
    history::HistoryStore store() const;
    void changedFilterQuery();

    moque::app::AppCore &m_core;
    Exporter m_exporter;
    PersonPicker m_picker;
    SqlListModel *m_model = nullptr;

    QLineEdit *m_receiver = nullptr;
    QLineEdit *m_sender = nullptr;
    QDateEdit *m_date1 = nullptr;
    QDateEdit *m_date2 = nullptr;
    QCheckBox *m_anyDate = nullptr;
    QComboBox *m_template = nullptr;
    QComboBox *m_number = nullptr;
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
    QPushButton *m_query = nullptr;
    QPushButton *m_all = nullptr;
    QCheckBox *m_doubleClickOpens = nullptr;
    QPushButton *m_open = nullptr;
    QPushButton *m_exit = nullptr;
    QPushButton *m_clearReceiver = nullptr;
    QPushButton *m_clearSender = nullptr;
    QPushButton *m_clearTemplate = nullptr;
    QPushButton *m_pickReceiver = nullptr;
    QPushButton *m_pickSender = nullptr;

    QString m_sortColumn;
    std::optional<history::BoundStatement> m_lastStatement;
    history::BoundStatement m_shownStatement;
    bool m_resetting = false;
    bool m_openCancelled = false;
};

} // namespace moque::ui
