#pragma once

#include "design/EntryLayout.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QWidget>

class QLabel;

namespace moque::ui {

// An outline (a SHAPE field) or a line (a LINE field) over the designer's picture.
class DesignShape : public QWidget
{
    Q_OBJECT
public:
    DesignShape(bool line, QWidget *parent);

    bool isLine() const { return m_line; }
    QColor penColor() const { return m_pen; }
    int penWidth() const { return m_penWidth; }
    void setPen(const QColor &color, int width);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_line;
    QColor m_pen;
    int m_penWidth;
};

// The designer's picture panel (panelImgBg): the template's picture (bgImage)
// and one control per dictionary field over it. The controls' mouse and key
// events go to the filter given, which is the designer.
class DesignPicture : public QWidget
{
    Q_OBJECT
public:
    explicit DesignPicture(QObject *controlFilter, QWidget *parent = nullptr);

    QLabel *background() const { return m_bgImage; }
    QSize pictureSize() const { return m_size; }
    // Takes the size and shows the picture file scaled to it; false when the
    // file cannot be read, which leaves a plain panel.
    bool setPicture(const QString &file, const QSize &size);
    // Replaces every control by those of the fields, in their order; a name
    // that comes twice keeps its first control.
    void build(const QList<design::FieldControl> &fields);
    // Places the existing controls as the fields say.
    void place(const QList<design::FieldControl> &fields);
    // Caption i goes to the tick box DEFCHECK + i when there is one; the
    // other tick boxes show their fields' captions.
    void setOptionCaptions(const QStringList &captions);

    QWidget *control(const QString &name) const;
    // The field a control of the picture stands for; null for anything else.
    const design::FieldControl *field(const QWidget *control) const;

private:
    QObject *m_filter;
    QLabel *m_bgImage;
    QSize m_size{400, 300};
    QHash<const QWidget *, design::FieldControl> m_fields;
};

// The control the entry layout designer shows for a field, named by the
// field, parented to the picture panel; null for a kind that has none.
QWidget *createFieldControl(const design::FieldControl &field, QWidget *panel);
// Shows the control at the field's place, or hides it; a line keeps its
// thickness of 1 across its length.
void placeFieldControl(QWidget *control, const design::FieldControl &field);
// The selected control in red, the others in their resting colours.
void highlightControl(QWidget *control, bool selected);
// An edit box's, check box's or label's text, a shape's hint.
QString controlText(const QWidget *control);
// A check box's caption; empty for other controls.
QString controlCaption(const QWidget *control);

} // namespace moque::ui
