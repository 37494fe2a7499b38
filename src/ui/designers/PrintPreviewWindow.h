#pragma once

#include "design/BillPreview.h"
#include "design/TestTexts.h"
#include "templates/TemplateRow.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QSpinBox;
class QStandardItemModel;
class QTableView;

namespace moque::app {
class AppCore;
}

namespace moque::ui {

class PreviewCanvas;

// The print preview ("fm_PrintPreview"): where the template's items print, at
// real size on screen, shifted by the whole-template offset being tried. It
// draws through the print engine, so what it shows is what prints.
class PrintPreviewWindow : public QDialog
{
    Q_OBJECT
public:
    PrintPreviewWindow(app::AppCore &core, int templateId, QWidget *parent = nullptr);
    ~PrintPreviewWindow() override;

    // False for a template without a bill kind: the window has said so and must not be shown.
    bool isUsable() const { return m_usable; }
    PreviewCanvas *canvas() const { return m_canvas; }
    // The screen resolution the preview converts with.
    int dpi() const { return m_dpi; }

    void redraw();

Q_SIGNALS:
    // The offsets were stored: an open offset window reloads them.
    void offsetSaved();

private:
    void offsetChanged();
    void saveOffset();
    void toggleData();
    void fillData();
    void testTextEdited(int row);

    app::AppCore &m_core;
    design::TestTexts m_texts;
    int m_templateId = 0;
    int m_dpi = 96;
    bool m_usable = true;
    bool m_filling = false;
    templates::TemplateRow m_row;
    QSpinBox *m_x = nullptr;
    QSpinBox *m_y = nullptr;
    QLabel *m_xCm = nullptr;
    QLabel *m_yCm = nullptr;
    QCheckBox *m_ignore = nullptr;
    QLabel *m_note = nullptr;
    PreviewCanvas *m_canvas = nullptr;
    QTableView *m_grid = nullptr;
    QStandardItemModel *m_model = nullptr;
};

} // namespace moque::ui
