#pragma once

#include <QDialog>
#include <QList>

class QAction;
class QComboBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabBar;
class QTableView;

namespace moque {
class SqlListModel;
}

namespace moque::app {
class AppCore;
}

namespace moque::ui {

// The template management window ("frmCheckTypeMng"): lists the templates by
// state tab, bill kind and keyword, marks them default or common, hides,
// enables, deletes, clones and renames them. The offset window and the
// package import belong to the main window, which it asks through signals.
class TemplateManagerWindow : public QDialog
{
    Q_OBJECT
public:
    TemplateManagerWindow(moque::app::AppCore &core, int startTemplateId, QWidget *parent = nullptr);

    // The template whose kind is chosen on the next refresh (0 for none).
    void setStartTemplate(int templateId);
    // Template numbers of the selected rows, in list order.
    QList<int> selectedTemplateIds() const;
    // The template of the row under the cursor, 0 without rows.
    int currentTemplateId() const;

public Q_SLOTS:
    void refresh();
    void search();
    void showAll();

Q_SIGNALS:
    // 模板设计: the whole-template offset window of the template.
    void offsetRequested(int templateId);
    // 外部【导入】模板 / 导入模板: the package window on its import page.
    void importRequested();

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void kindChosen(int index);
    void setKindCaptions(const QString &kind);
    void setCommandStates();
    void showTab(int tab);
    void setDefaultTemplate();
    void setCommon(bool common);
    void hideTemplates();
    void enableTemplates();
    void deleteTemplates();
    void cloneTemplate();
    void renameTemplate();
    void designTemplate();
    void showPicture(int row);

    moque::app::AppCore &m_core;
    int m_startTemplateId = 0;
    QTabBar *m_tabs = nullptr;
    QComboBox *m_kinds = nullptr;
    QLineEdit *m_keyword = nullptr;
    QTableView *m_grid = nullptr;
    moque::SqlListModel *m_model = nullptr;
    QPushButton *m_setDefault = nullptr;
    QPushButton *m_setCommon = nullptr;
    QPushButton *m_hide = nullptr;
    QPushButton *m_enable = nullptr;
    QPushButton *m_removeCommon = nullptr;
    QPushButton *m_delete = nullptr;
    QMenu *m_menu = nullptr;
    QAction *m_menuDefault = nullptr;
    QAction *m_menuCommon = nullptr;
    QAction *m_menuRemoveCommon = nullptr;
    QAction *m_menuHide = nullptr;
    QAction *m_menuEnable = nullptr;
    QAction *m_menuDelete = nullptr;
    QAction *m_menuDesign = nullptr;
    QAction *m_menuClone = nullptr;
};

} // namespace moque::ui
