#pragma once

#include "batch/BatchList.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabBar;
class QTableView;
class QTreeWidget;

namespace moque::app {
class AppCore;
}

namespace moque::ui {

class BatchListModel;
class WaybillWindow;

// The batch print list ("墨雀软件-批量打印快递单-收件人"): the recipients of
// ReceiverList without a group, filtered, sorted and edited in place, printed
// in one job with the sender, template and options of the waybill window that
// opened it, one bill a recipient.
class BatchPrintWindow : public QDialog
{
    Q_OBJECT
public:
    // Exports a grid to a spreadsheet under the title.
    using Exporter = std::function<void(QTableView *, const QString &)>;

    BatchPrintWindow(moque::app::AppCore &core, WaybillWindow &waybill, QWidget *parent = nullptr);

    void setExporter(Exporter exporter) { m_exporter = std::move(exporter); }
    // Opens the spreadsheet import into the list (the import window by
    // default); without one 导入Excel is disabled.
    void setImporter(std::function<void(QWidget *)> importer);

    // The window's actions, as its buttons and menu items run them.
    void loadList();        // 查 询, 【刷新】 and the filter controls
    void showAll();         // 全 部: the keyword emptied
    void printListed();     // 3.【开始】批量打印列出条目
    void printSelected();   // 【批量打印选中】条目
    void selectFirstN();    // 选中前 N 条
    void previewCurrent();  // 【预览】第1个
    void recognizeRecipients(); // 识别复制串或输入
    void deleteSelected();  // 删除选中条目
    void deleteListed();    // 删除当前列出条目
    void clearAll();        // 清空系统所有条目
    void exportListed();    // 导出到Excel(列出)
    void toggleFillPanel(); // 批量填充列
    void applyFill();       // 应用修改
    void pickFromAddressBook(); // 选取地址本
    // A caption of the creation-date tree: sets the date range and reloads.
    void chooseDatePeriod(const QString &caption);

    // The grid's visible columns by field name, in the order shown.
    QStringList gridColumns() const;
    int listedCount() const;
    QList<qint64> selectedIds() const;

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    QLayout *buildFilterBar();
    void buildGrid();
    QLayout *buildPrintPanel();
    QLayout *buildCommands();
    QGroupBox *buildFillPanel();
    QLayout *buildDatePanel();
    void fillTargetChosen();
    void setDateRange(const QDate &from);
    void printRows(const QList<qint64> &ids);
    void setBusy(bool busy);
    void updateCounters();
    void gridMenu(const QPoint &pos);
    void goToRow(int row);

    moque::app::AppCore &m_core;
    WaybillWindow &m_waybill;
    Exporter m_exporter;
    std::function<void(QWidget *)> m_importer;
    BatchListModel *m_model = nullptr;
    QTableView *m_grid = nullptr;
    QComboBox *m_filterEntry = nullptr;
    QComboBox *m_match = nullptr;
    QLineEdit *m_keyword = nullptr;
    QCheckBox *m_descending = nullptr;
    QLabel *m_listed = nullptr;
    QLabel *m_selected = nullptr;
    QLabel *m_status = nullptr;
    QPushButton *m_printAll = nullptr;
    QPushButton *m_printSelected = nullptr;
    QPushButton *m_import = nullptr;
    QGroupBox *m_fillPanel = nullptr;
    QComboBox *m_fillTarget = nullptr;
    QList<QComboBox *> m_fillParts;
    QCheckBox *m_fillEmpty = nullptr;
    QTreeWidget *m_dateTree = nullptr;
    QDateEdit *m_dateFrom = nullptr;
    QDateEdit *m_dateTo = nullptr;
    QCheckBox *m_anyDate = nullptr;
    QTabBar *m_printState = nullptr;
    bool m_filtersBuilt = false;
};

} // namespace moque::ui
