#pragma once

#include "design/TemplateOffset.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QListWidget;
class QSpinBox;

namespace moque::app {
class AppCore;
}

namespace moque::ui {

// The whole-template offset window ("frmPrintOffset"): per template, the shift
// added to every print item, the paper orientation, the size of the entry
// picture and the real paper size. Offsets save as the user leaves a box or
// clicks an arrow; 保存整体设置 saves everything and says so.
class PrintOffsetWindow : public QDialog
{
    Q_OBJECT
public:
    PrintOffsetWindow(app::AppCore &core, int templateId, QWidget *parent = nullptr);
    ~PrintOffsetWindow() override;

    int templateId() const { return m_templateId; }
    // Reloads the values of the selected template (after the designer changed its paper).
    void loadParam();

Q_SIGNALS:
    // "整体上差不多，我要调整某单项的打印位置": the main window opens the design mode on the template.
    void designRequested(int templateId);

private:
    QSpinBox *addBox(const QString &name, int minimum, int maximum);
    void fillTemplates(int templateId);
    void templateChosen();
    void saveClicked();
    void autoSave();
    void arrowClicked(bool xAxis, bool up);
    void updateCentimetres();
    void openPreview();
    void showFeedPicture(const QString &file);
    void printGrid();
    design::WholeTemplateSettings boxes() const;
    void setBoxes(const design::WholeTemplateSettings &settings);
    void saveBoxes(bool fromButton);
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

    app::AppCore &m_core;
    design::TemplateOffset m_offsets;
    int m_templateId = 0;
    QString m_templateName;
    bool m_loading = false;
    bool m_placed = false;
    QListWidget *m_list = nullptr;
    QLabel *m_typeName = nullptr;
    QSpinBox *m_x = nullptr;
    QSpinBox *m_y = nullptr;
    QSpinBox *m_screenWidth = nullptr;
    QSpinBox *m_screenHeight = nullptr;
    QSpinBox *m_paperWidth = nullptr;
    QSpinBox *m_paperHeight = nullptr;
    QComboBox *m_direction = nullptr;
    QLabel *m_xCm = nullptr;
    QLabel *m_yCm = nullptr;
    QLabel *m_paperWidthCm = nullptr;
    QLabel *m_paperHeightCm = nullptr;
};

} // namespace moque::ui
