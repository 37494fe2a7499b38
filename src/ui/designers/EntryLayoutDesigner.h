#pragma once

#include "design/DesignHistory.h"
#include "design/EntryLayout.h"
#include "templates/TemplateCache.h"
#include "templates/TemplateCatalog.h"

#include <QDialog>
#include <QPointer>

class QComboBox;
class QLabel;
class QPushButton;
class QTabWidget;

namespace moque::app {
class AppCore;
}

namespace moque::ui {

class CaptionList;
class DesignPicture;
class EntryLayoutPage;

// The entry layout designer ("模板设计"): moves and sizes the input controls
// of a template over its picture, sets their visibility and default values
// and the template's tick-box captions. Print positions are not touched.
// Every write can be undone for the session.
class EntryLayoutDesigner : public QDialog
{
    Q_OBJECT
public:
    // templateId <= 0: the session's template, else the default one.
    EntryLayoutDesigner(moque::app::AppCore &core, int templateId, QWidget *parent = nullptr);
    ~EntryLayoutDesigner() override;

    // False when the data has no template at all; the dialog then shows nothing.
    bool isUsable() const { return m_usable; }
    int templateId() const { return m_templateId; }
    design::DesignHistory &history() { return m_history; }

    // However the dialog closes, the template's cache is rebuilt so that the
    // entry windows see the new places.
    void done(int result) override;

Q_SIGNALS:
    // "设置打印参数": the print layout designer is to open on the template.
    void printDesignRequested(int templateId);
    // The page "整体打印偏移" was chosen: the offset dialog is to open.
    void offsetRequested(int templateId);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    // How a save reports its success.
    enum class Report { Box, Caption, Quiet };

    void buildWindow();
    QWidget *buildTopGroup();
    void connectPage();
    void connectHistory();

    void fillKinds();
    void fillNames();
    void fillCaptions();
    void kindChosen();
    void nameChosen();
    void initFormType();
    void reloadTemplate();
    void loadParam(int templateId);
    void setControlsPosition();
    void applyOptionBoxes();
    void refreshFromData();

    void listClicked();
    void selectControl(QWidget *control);
    void loadCurrent(bool createMissing);
    void save(Report report);
    void saveSilently();
    QString captionOf(const QWidget *control) const;

    void moveByButton(design::Direction direction);
    void sizeByButton(bool height, int delta);
    void spinChanged();
    bool handleKey(QKeyEvent *event);
    void setMessage(const QString &text);
    void editCheckBoxes();
    void rebuildCache();

    moque::app::AppCore &m_core;
    templates::TemplateCatalog m_catalog;
    templates::TemplateCache m_cache;
    design::DesignHistory m_history;
    design::EntryLayout m_layout;

    bool m_usable = false;
    int m_templateId = 0;
    int m_loadedId = 0;
    QString m_kind;
    QString m_listKind;
    QPointer<QWidget> m_current;
    QPointer<QWidget> m_previous;
    bool m_saved = true;
    bool m_showSuccess = true;
    bool m_changing = false;
    QPointer<QWidget> m_dragging;

    QComboBox *m_kinds = nullptr;
    QComboBox *m_names = nullptr;
    CaptionList *m_list = nullptr;
    DesignPicture *m_panel = nullptr;
    QLabel *m_bgImage = nullptr;
    QTabWidget *m_pages = nullptr;
    EntryLayoutPage *m_page = nullptr;
    QLabel *m_status0 = nullptr;
    QLabel *m_status1 = nullptr;
    QPushButton *m_undo = nullptr;
    QPushButton *m_redo = nullptr;
};

} // namespace moque::ui
