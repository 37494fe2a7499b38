#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QStandardItemModel;
class QTableView;

namespace moque::app {
class AppCore;
}

namespace moque::ui {

// The alias editor of the recipient import ("导入列匹配-设置"): every item's
// list of spreadsheet titles that match it. The maintenance code typed as
// 顺序号 shows 添加 and 删除 and lets the item be renamed.
class ImportColumnsWindow : public QDialog
{
    Q_OBJECT
public:
    explicit ImportColumnsWindow(moque::app::AppCore &core, QWidget *parent = nullptr);

    // Lists the rows again and selects the one with the Id (the first without).
    void reload(int selectId = 0);

private:
    void showCurrent();
    void showOrdChanged(const QString &text);
    void submit();
    void addRow();
    void removeRow();
    int currentId() const;
    bool maintenance() const;

    moque::app::AppCore &m_core;
    QStandardItemModel *m_model = nullptr;
    QTableView *m_grid = nullptr;
    QLineEdit *m_showOrd = nullptr;
    QLineEdit *m_itemName = nullptr;
    QLineEdit *m_aliases = nullptr;
    QPushButton *m_add = nullptr;
    QPushButton *m_remove = nullptr;
};

} // namespace moque::ui
