#pragma once

#include "history/HistoryQuery.h"
#include "history/HistoryStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QRadioButton>

#include <functional>
#include <optional>

class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLayout;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableView;
class QTreeWidget;
class QVBoxLayout;

namespace moque {
class SqlListModel;
}

namespace moque::app {
class AppCore;
}

namespace moque::refdata {
class TPerson;
}

namespace moque::ui {

// What a history window calls its own: names, captions and where its rows are kept.
struct HistoryNames
{
    // The window's objectName, also the key of its saved column widths.
    QString windowName;
    QString caption;
    QString gridName;
    // The setting that keeps the "双击打开" choice.
    QString doubleClickKey;
    QString doubleClickTip;
    // What one row is, in the delete question and the export title.
    QString itemWord;
    QString table;
    QString keyColumn;
    QString numberColumn;
};

// A window over saved bills: the filters, the period tree, the list with its
// record count and total, and the open, delete and export commands. The kinds
// add their own filters, query and row commands. Created anew for each
// opening and shown modally.
class HistoryWindow : public QDialog
{
    Q_OBJECT
public:
    // Exports a grid to a spreadsheet under the title.
    using Exporter = std::function<void(QTableView *, const QString &)>;
    // Picks an address book entry of the party type ("往来单位", "我方单位")
    // under the caption: the text to write into the filter, or none.
    using PersonPicker = std::function<std::optional<QString>(const QString &type, const QString &caption)>;

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
    // Forgets the last query so that the next one runs, and queries.
    void refresh();

    // Called by a receiver of the open signal (connected directly) that did
    // not open the bill, e.g. the user kept the other entry windows open: the
    // history window then stays open.
    void cancelOpen() { m_openCancelled = true; }

    QString sortColumn() const { return m_sortColumn; }
    SqlListModel *model() const { return m_model; }

protected:
    HistoryWindow(moque::app::AppCore &core, const HistoryNames &names, QWidget *parent);

    // Builds the window around the list model, connects it and runs the first query.
    void start(SqlListModel *model);

    // Reads the filters, writes them back trimmed and keeps them for the
    // query: the list statement they ask for.
    virtual history::BoundStatement takeFilter() = 0;
    virtual history::BoundStatement totalsStatement() const = 0;
    virtual QString totalLabel(const history::Totals &totals) const = 0;
    virtual void markFiltersInUse() = 0;
    // Empties the filters only this kind has.
    virtual void clearOwnFilters() = 0;
    virtual void showDatabaseError(const QString &statement, const QString &error) = 0;
    // The text a person picked from the address book puts into a party filter.
    virtual QString partyText(const refdata::TPerson &person) const = 0;
    // Asks the main window to open the bill of the row.
    virtual void requestOpen(int row) = 0;

    virtual QGroupBox *buildFilterBar() = 0;
    // The period tree over the export and delete commands.
    virtual QVBoxLayout *buildPeriodPanel();
    virtual bool hasTotal() const { return true; }
    // What a kind lays over the finished window.
    virtual void buildExtras() {}
    virtual void presetFilters();
    virtual void connectCommands();
    virtual void connectFilters();
    // Row commands of the grid's menu, after "打开查看".
    virtual void addRowCommands(QMenu &) {}
    // After a query has listed its rows.
    virtual void listed(int) {}

    QGroupBox *newFilterBox();
    // The two dates and "不限日期", in a row.
    QHBoxLayout *buildDates(QWidget *filters);
    void buildNumberFilter(QWidget *filters);
    void buildTemplateFilter(QWidget *filters);
    QGroupBox *buildMatchChoice(QWidget *filters);
    void pickParty(QLineEdit *edit, const QString &type, const QString &caption);
    void fillOnFirstEntry(QComboBox *box);
    void clearTemplate();
    void changedFilterQuery();
    int currentRow() const;
    history::HistoryStore store() const;
    // The filters every kind has, as the controls hold them.
    template<class Filter>
    Filter commonFilter() const;
    // Puts the trimmed number and template back into their boxes.
    void writeBack(const QString &number, const QString &templateName);

    // A filter in the current query is yellow, one not in use white.
    static void markInUse(QWidget *filter, bool inUse);
    static QLabel *label(const QString &text, QWidget *parent);
    static QComboBox *editableCombo(const char *name, QWidget *parent);

    void showEvent(QShowEvent *event) override;
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

    moque::app::AppCore &m_core;
    const HistoryNames m_names;
    Exporter m_exporter;
    PersonPicker m_picker;
    SqlListModel *m_model = nullptr;

    QComboBox *m_number = nullptr;
    QDateEdit *m_date1 = nullptr;
    QDateEdit *m_date2 = nullptr;
    QCheckBox *m_anyDate = nullptr;
    QComboBox *m_template = nullptr;
    QPushButton *m_clearTemplate = nullptr;
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
    QPushButton *m_queryButton = nullptr;
    QPushButton *m_all = nullptr;
    QCheckBox *m_doubleClickOpens = nullptr;
    QPushButton *m_open = nullptr;
    QPushButton *m_exit = nullptr;

    bool m_resetting = false;

private:
    void buildWindow();
    // The grid with its record count and total.
    QLayout *buildList();
    QLayout *buildButtons();
    void connectList();
    void runQuery(const history::BoundStatement &statement);
    void headerClicked(int column);
    void gridMenu(const QPoint &pos);

    QString m_sortColumn;
    std::optional<history::BoundStatement> m_lastStatement;
    history::BoundStatement m_shownStatement;
    bool m_openCancelled = false;
};


template<class Filter>
Filter HistoryWindow::commonFilter() const
{
    Filter f;
    f.number = m_number->currentText();
    if (m_template)
        f.templateName = m_template->currentText();
    f.anyDate = m_anyDate->isChecked();
    f.from = m_date1->date();
    f.to = m_date2->date();
    f.match = m_exact->isChecked() ? history::MatchMode::Exact : history::MatchMode::Contains;
    return f;
}

} // namespace moque::ui
