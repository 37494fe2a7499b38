#pragma once

#include "print/ValueSource.h"
#include "templates/PrintItem.h"
#include "templates/TemplateRow.h"

#include <QImage>
#include <QList>
#include <QRect>
#include <QString>

namespace moque::app {
class AppCore;
}

namespace moque::design {

// One printed item of the preview: its number in print order (the hint the
// preview shows) and where its texts landed, in pixels of the picture.
struct PreviewItem
{
    int number = 0;
    QString name;
    QList<QRect> rects;
};

// The print preview's picture: the template's test texts drawn by the print
// job and engine that print on paper, at the screen's resolution, from the
// sheet's corner, shifted by the offset given (the one being typed, or none).
class BillPreview
{
public:
    BillPreview(app::AppCore &core, int dpi) : m_core(core), m_dpi(dpi) {}

    // False when the template cannot be printed (the print job said why).
    bool render(int templateId, int xMove = 0, int yMove = 0);

    const QImage &image() const { return m_image; }
    const QList<PreviewItem> &items() const { return m_items; }
    const templates::TemplateRow &templateRow() const { return m_row; }

    // Every field's test text, or its label when the test text is blank.
    static print::MapValueSource testValues(const QList<templates::DictionaryField> &fields);

private:
    app::AppCore &m_core;
    int m_dpi;
    QImage m_image;
    QList<PreviewItem> m_items;
    templates::TemplateRow m_row;
};

} // namespace moque::design
