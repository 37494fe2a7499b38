#pragma once

#include "refdata/GoodsCatalog.h"

#include <QDialog>

#include <functional>

class QAction;
class QComboBox;
class QLayout;
class QLineEdit;
class QTableView;
class QTreeWidget;
class QTreeWidgetItem;

namespace moque::app {
class AppCore;
}

namespace moque::ui {

// The goods catalogue window ("产品分类管理"): the category tree, the list of
// entries with its searches, the editor, deletion and export.
class GoodsCatalogWindow : public QDialog
{
    Q_OBJECT
public:
    // Exports a grid to a spreadsheet under the title.
    using Exporter = std::function<void(QTableView *, const QString &)>;

    explicit GoodsCatalogWindow(moque::app::AppCore &core, QWidget *parent = nullptr);

    // Replaces the spreadsheet export of the pop-up menu.
    void setExporter(Exporter exporter) { m_exporter = std::move(exporter); }

    QString categoryPath() const { return m_path; }
    refdata::GoodsFilter sort() const { return m_sort; }

    // The window's actions, as its buttons run them.
    void search();        // 查询(&C), 刷新
    void showAll();       // 全部
    void showCategory();  // 分类内所有

private:
    QLayout *buildSearchBar();
    void buildTree();
    void buildGrid();
    QLayout *buildCommands();
    void reloadTree();
    void reloadNames();
    void listAgain();
    void list(const refdata::GoodsFilter &filter);
    void setPath(const QString &path);
    void treeClicked(QTreeWidgetItem *item);
    void headerClicked(int column);
    void addGood();
    void editGood();
    void openEditor(const refdata::Good &good);
    void deleteSelected();
    void clearAll();
    void importGoods(); // 导入商品
    void gridMenu(const QPoint &pos);

    moque::app::AppCore &m_core;
    Exporter m_exporter;
    refdata::GoodsListModel *m_model = nullptr;
    refdata::GoodsFilter m_sort;
    QString m_path;
    QLineEdit *m_keyword = nullptr;
    QComboBox *m_names = nullptr;
    QTreeWidget *m_tree = nullptr;
    QTableView *m_grid = nullptr;
    QLineEdit *m_pathBox = nullptr;
    QAction *m_exportAction = nullptr;
    QAction *m_importAction = nullptr;
    QAction *m_widthsAction = nullptr;
};

} // namespace moque::ui
