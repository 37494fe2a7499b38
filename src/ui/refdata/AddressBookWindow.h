#pragma once

#include "refdata/Person.h"
#include "refdata/PersonListModel.h"

#include <QDialog>

#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QLayout;
class QLineEdit;
class QMenuBar;
class QPushButton;
class QSplitter;
class QStatusBar;
class QTabWidget;
class QTableView;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace moque::app {
class AppCore;
}

namespace moque::ui {

class AddressEntryDialog;

// The address book window ("单位及客户资料管理"): the group tree, the list of
// entries with its searches, the editor, deletion, the default issuer and
// export. In pick mode a double-click returns the entry and closes.
class AddressBookWindow : public QDialog
{
    Q_OBJECT
public:
    // Exports a grid to a spreadsheet under the title.
    using Exporter = std::function<void(QTableView *, const QString &)>;

    explicit AddressBookWindow(moque::app::AppCore &core, QWidget *parent = nullptr, Exporter exporter = {});

    // Lists only one party type ("我方单位" or "往来单位") under the tab
    // caption ("【我方单位】"); an empty type lists every entry.
    void setTypeFilter(const QString &type, const QString &tabCaption = {});
    // Window caption and title label.
    void setCaption(const QString &caption);
    // Pick mode: a double-click takes the entry and closes the window.
    void setPickMode(bool pick);
    bool pickMode() const { return m_pickMode; }
    void setExporter(Exporter exporter) { m_exporter = std::move(exporter); }
    // Opens the spreadsheet import into the address book; without one the button is disabled.
    void setImporter(std::function<void(QWidget *)> importer);
    // Tells whether bill entry windows are open; after a new default issuer
    // they are asked to close with closeEntryWindowsRequested().
    void setEntryWindowsOpen(std::function<bool()> entryWindowsOpen) { m_entryWindowsOpen = std::move(entryWindowsOpen); }

    // The entry picked in pick mode; none when the window closed otherwise.
    std::optional<refdata::TPerson> pickedPerson() const { return m_picked; }

    // The pick contract of the entry windows: a fresh modal window for the
    // party type ("往来单位", "我方单位", anything else lists everything);
    // the entry double-clicked, or none.
    static std::optional<refdata::TPerson> fetchOnePerson(moque::app::AppCore &core, const QString &type,
                                                          const QString &caption, QWidget *parent = nullptr);

    // The window's actions, as its buttons run them.
    void runQuery();      // 查询(&C)
    void showAll();       // 全部(&A)
    void refreshList();   // 刷新(&R)
    void refreshTree();   // 【刷新】 of the tree
    QString tabCaption() const;
    QString typeFilter() const { return m_typeFilter; }
    QString currentGroup() const { return m_group; }
    AddressEntryDialog *editor();

Q_SIGNALS:
    void personPicked(const moque::refdata::TPerson &person);
    // A new default issuer was stored: the main window reloads its own.
    void defaultIssuerChanged();
    void closeEntryWindowsRequested();

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLayout *buildSearchBar();
    void buildAdvancedPanel();
    void buildGroupTree();
    void buildGrid();
    // The group tree beside the tabbed list.
    QSplitter *buildListArea();
    QLayout *buildCommands();
    QStatusBar *buildStatusBar();
    QMenuBar *buildHelpMenu();
    void query(bool advanced);
    void exactQuery();
    void toggleAdvanced();
    void treeClicked(QTreeWidgetItem *item);
    void selectTreeNode(const QString &caption);
    void headerClicked(int column);
    void rowDoubleClicked(int row);
    void addPerson();
    void editPerson();
    void deleteSelected();
    void deleteListed();
    void deleteAll();
    void setDefaultIssuer();
    void toggleDeleteAll();
    void gridMenu(const QPoint &pos);
    void showSelection();
    void reloadEntries();
    void listChanged();
    int currentRow() const;
    QList<int> selectedRows() const;
    void setTitle(const QString &title);

    moque::app::AppCore &m_core;
    Exporter m_exporter;
    std::function<void(QWidget *)> m_importer;
    std::function<bool()> m_entryWindowsOpen;
    refdata::PersonListModel *m_model = nullptr;
    QTableView *m_grid = nullptr;
    QTreeWidget *m_tree = nullptr;
    QTabWidget *m_tabs = nullptr;
    QLabel *m_title = nullptr;
    QLabel *m_keyHint = nullptr;
    QLabel *m_deleteAllLabel = nullptr;
    QLabel *m_selectedPanel = nullptr;
    QLabel *m_totalPanel = nullptr;
    QLineEdit *m_keyEdit = nullptr;
    QWidget *m_advancedPanel = nullptr;
    QComboBox *m_column = nullptr;
    QComboBox *m_equalOrContain = nullptr;
    QLineEdit *m_key = nullptr;
    QPushButton *m_advancedButton = nullptr;
    QPushButton *m_refreshButton = nullptr;
    QPushButton *m_importButton = nullptr;
    QPushButton *m_deleteAllButton = nullptr;
    AddressEntryDialog *m_editor = nullptr;

    bool m_pickMode = false;
    bool m_loaded = false;
    bool m_widened = false;
    std::optional<refdata::TPerson> m_picked;
    QString m_group;
    QString m_typeFilter;
    QString m_sortColumn;
    QString m_direction = QStringLiteral("DESC");
};

} // namespace moque::ui
