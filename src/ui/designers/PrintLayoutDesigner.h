#pragma once

#include "design/DesignHistory.h"
#include "design/PrintLayout.h"

#include <QDialog>
#include <QHash>

#include <memory>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QSpinBox;
class QStackedWidget;
class QTabWidget;
class QWidget;

namespace moque::app {
class AppCore;
}

namespace moque::ui {

class LayoutCanvas;

// The print layout designer ("【…】打印设置", form fmTemplateDesigner): the
// template's picture at its real proportions with every print item as a label
// at its print place. Items are selected, dragged, nudged, aligned and edited
// one column at a time; every change is written at once and can be undone.
class PrintLayoutDesigner : public QDialog
{
    Q_OBJECT
public:
    PrintLayoutDesigner(moque::app::AppCore &core, int templateId, QWidget *parent = nullptr);
    ~PrintLayoutDesigner() override;

    // False for an unknown template: the dialog was told so and is not shown.
    bool isUsable() const { return m_usable; }

    LayoutCanvas *canvas() const { return m_canvas; }
    design::DesignHistory &history() { return *m_history; }
    // The last message of the status bar.
    QString statusMessage() const;
    QStringList selectedNames() const { return m_selection.names(); }

Q_SIGNALS:
    void paperSizeSaved(int templateId);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildUi();
    QWidget *buildSelectionBox();
    QWidget *buildToolBox();
    QWidget *buildPropertyPanel();
    QWidget *buildBatchPages();
    void connectPropertyPanel();

    void relayout();
    void drawItems();
    void redrawItem(const QString &name);
    void showNotes();
    void showMessage(const QString &text);
    void showResult(const design::DesignResult &result);

    void syncSelection();
    void loadProperties(const QString &name);
    void applyBreakUi(bool on);
    void applyWidthAveUi(bool on);
    QString singleSelected() const;
    QString itemNameFor(const QString &name) const;
    QStringList allItemNames() const;

    void saveProperty(const QString &column, const QVariant &value, bool redraw = true);
    void saveItem();
    void moveSelected(design::MoveDirection direction);
    void runBatch(design::BatchOp op);
    void afterBatch(const design::DesignResult &result);
    void setStep(int tenths);
    void setZoom(const QString &text);
    void chooseGroup(const QString &text);
    void savePaper();
    void updateTestText();
    void browsePicture();
    void toggleFullScreen();
    void testPrint();
    void historyApplied();

    moque::app::AppCore &m_core;
    std::unique_ptr<design::DesignHistory> m_history;
    std::unique_ptr<design::PrintLayout> m_layout;
    design::LayoutSelection m_selection;
    design::CanvasScale m_scale;
    QHash<QString, design::DesignItem> m_items;
    QStringList m_itemOrder;
    bool m_usable = false;
    bool m_loading = false;
    bool m_pictureFound = false;
    int m_zoom = 100;

    LayoutCanvas *m_canvas = nullptr;
    QScrollArea *m_canvasArea = nullptr;
    QWidget *m_side = nullptr;
    QLabel *m_title = nullptr;
    QLabel *m_statusPage = nullptr;
    QLabel *m_statusMessage = nullptr;

    QRadioButton *m_single = nullptr;
    QRadioButton *m_multi = nullptr;
    QComboBox *m_groups = nullptr;
    QListWidget *m_allNames = nullptr;
    QListWidget *m_selectedNames = nullptr;

    QSpinBox *m_step = nullptr;
    QLabel *m_stepText = nullptr;
    QLineEdit *m_ratioX = nullptr;
    QLineEdit *m_ratioY = nullptr;
    QComboBox *m_zoomBox = nullptr;
    QCheckBox *m_transparent = nullptr;
    QPushButton *m_fullScreen = nullptr;
    QPushButton *m_undo = nullptr;
    QPushButton *m_redo = nullptr;
    QLineEdit *m_paperWidth = nullptr;
    QLineEdit *m_paperHeight = nullptr;

    QStackedWidget *m_panels = nullptr;
    QWidget *m_propertyPanel = nullptr;
    QTabWidget *m_batchPages = nullptr;
    QSpinBox *m_x = nullptr;
    QSpinBox *m_y = nullptr;
    QSpinBox *m_w = nullptr;
    QSpinBox *m_h = nullptr;
    QComboBox *m_fontName = nullptr;
    QSpinBox *m_fontSize = nullptr;
    QCheckBox *m_bold = nullptr;
    QCheckBox *m_italic = nullptr;
    QCheckBox *m_underline = nullptr;
    QRadioButton *m_alignLeft = nullptr;
    QRadioButton *m_alignCenter = nullptr;
    QRadioButton *m_alignRight = nullptr;
    QCheckBox *m_multiLine = nullptr;
    QSpinBox *m_lineHeight = nullptr;
    QSpinBox *m_breakFontSize = nullptr;
    QSpinBox *m_breakNum = nullptr;
    QLabel *m_lineHeightLabel = nullptr;
    QLabel *m_breakFontSizeLabel = nullptr;
    QCheckBox *m_widthAve = nullptr;
    QSpinBox *m_aveWidth = nullptr;
    QLabel *m_aveWidthLabel = nullptr;
    QComboBox *m_testText = nullptr;
    QLineEdit *m_defaultValue = nullptr;

    QSpinBox *m_batchFontSize = nullptr;
    QComboBox *m_batchFontName = nullptr;
    QSpinBox *m_incWidth = nullptr;
    QSpinBox *m_incHeight = nullptr;
};

} // namespace moque::ui
