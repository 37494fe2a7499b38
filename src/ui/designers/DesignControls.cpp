#include "designers/DesignControls.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>

namespace moque::ui {

using design::ControlKind;

namespace {

// The system's colours, given as 0x00BBGGRR values.
QColor systemColor(unsigned value)
{
    return QColor(int(value & 0xff), int((value >> 8) & 0xff), int((value >> 16) & 0xff));
}

const QColor restingEdit = systemColor(15970720);
const QColor newEdit = systemColor(15186607);
const QColor selectedRed = systemColor(255);
const QColor restingShape = systemColor(16711680);

QString background(const char *type, const QColor &color)
{
    return QStringLiteral("%1 { background-color: %2; }").arg(QLatin1String(type), color.name());
}

} // namespace

DesignShape::DesignShape(bool line, QWidget *parent)
    : QWidget(parent), m_line(line), m_pen(line ? Qt::black : Qt::red), m_penWidth(line ? 1 : 2)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

void DesignShape::setPen(const QColor &color, int width)
{
    m_pen = color;
    m_penWidth = width;
    update();
}

void DesignShape::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_line) {
        painter.fillRect(rect(), m_pen);
        return;
    }
    QPen pen(m_pen, m_penWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const int inset = m_penWidth / 2;
    painter.drawRect(rect().adjusted(inset, inset, -inset - 1, -inset - 1));
}

DesignPicture::DesignPicture(QObject *controlFilter, QWidget *parent)
    : QWidget(parent), m_filter(controlFilter), m_bgImage(new QLabel(this))
{
    setObjectName(QStringLiteral("panelImgBg"));
    m_bgImage->setObjectName(QStringLiteral("bgImage"));
    m_bgImage->setGeometry(QRect(QPoint(0, 0), m_size));
    m_bgImage->setMouseTracking(true);
    m_bgImage->installEventFilter(m_filter);
    setFixedSize(m_size);
}

bool DesignPicture::setPicture(const QString &file, const QSize &size)
{
    m_size = size;
    setFixedSize(m_size);
    m_bgImage->setGeometry(QRect(QPoint(0, 0), m_size));
    const QPixmap picture(file);
    m_bgImage->setPixmap(picture.isNull() ? QPixmap() : picture.scaled(m_size));
    return !picture.isNull();
}

void DesignPicture::build(const QList<design::FieldControl> &fields)
{
    const QList<const QWidget *> old = m_fields.keys();
    m_fields.clear();
    for (const QWidget *control : old)
        delete control;
    for (const design::FieldControl &field : fields) {
        if (control(field.name))
            continue;
        QWidget *created = createFieldControl(field, this);
        if (!created)
            continue;
        created->installEventFilter(m_filter);
        m_fields.insert(created, field);
    }
}

void DesignPicture::place(const QList<design::FieldControl> &fields)
{
    for (const design::FieldControl &field : fields) {
        QWidget *shown = control(field.name);
        if (!shown || !m_fields.contains(shown))
            continue;
        m_fields[shown] = field;
        placeFieldControl(shown, field);
    }
}

void DesignPicture::setOptionCaptions(const QStringList &captions)
{
    // A box the list no longer names shows its field's caption again.
    for (auto it = m_fields.constBegin(); it != m_fields.constEnd(); ++it) {
        auto *box = qobject_cast<QCheckBox *>(const_cast<QWidget *>(it.key()));
        if (!box || !it->name.startsWith(QLatin1String("DEFCHECK")))
            continue;
        bool numbered = false;
        const int i = it->name.mid(8).toInt(&numbered);
        const QString caption = numbered && i < captions.size() ? captions[i] : QString();
        box->setText(caption.isEmpty() ? it->label : caption);
    }
}

QWidget *DesignPicture::control(const QString &name) const
{
    return findChild<QWidget *>(name.toUpper(), Qt::FindDirectChildrenOnly);
}

const design::FieldControl *DesignPicture::field(const QWidget *control) const
{
    const auto it = m_fields.constFind(control);
    return it == m_fields.constEnd() ? nullptr : &it.value();
}

QWidget *createFieldControl(const design::FieldControl &field, QWidget *panel)
{
    const QString shown = field.initValue.isEmpty() ? field.label : field.initValue;
    QWidget *control = nullptr;
    switch (field.kind) {
    case ControlKind::Text: {
        auto *edit = new QLineEdit(shown, panel);
        edit->setFrame(false);
        // The designer moves the box; its text is not edited here.
        edit->setReadOnly(true);
        edit->setStyleSheet(background("QLineEdit", newEdit));
        edit->resize(50, 18);
        control = edit;
        break;
    }
    case ControlKind::Shape:
        control = new DesignShape(false, panel);
        control->resize(60, 20);
        break;
    case ControlKind::Line:
        control = new DesignShape(true, panel);
        break;
    case ControlKind::CheckBox:
        control = new QCheckBox(field.label, panel);
        control->resize(60, 20);
        break;
    case ControlKind::Label: {
        auto *label = new QLabel(shown, panel);
        label->setAttribute(Qt::WA_TranslucentBackground);
        label->resize(50, 16);
        control = label;
        break;
    }
    case ControlKind::None:
        return nullptr;
    }
    control->setObjectName(field.name);
    if (field.kind != ControlKind::CheckBox)
        control->setToolTip(field.label);
    control->setCursor(Qt::SizeAllCursor);
    placeFieldControl(control, field);
    return control;
}

void placeFieldControl(QWidget *control, const design::FieldControl &field)
{
    control->move(field.x, field.y);
    if (field.kind == ControlKind::Line)
        control->resize(field.h < field.w ? QSize(field.w, 1) : QSize(1, field.h));
    else
        control->resize(field.w, field.h);
    const QString shown = field.initValue.isEmpty() ? field.label : field.initValue;
    if (auto *edit = qobject_cast<QLineEdit *>(control))
        edit->setText(shown);
    else if (auto *label = qobject_cast<QLabel *>(control))
        label->setText(shown);
    control->setVisible(field.shown);
}

void highlightControl(QWidget *control, bool selected)
{
    if (!control)
        return;
    if (auto *shape = qobject_cast<DesignShape *>(control)) {
        shape->setPen(selected ? selectedRed : restingShape, shape->penWidth());
        return;
    }
    if (qobject_cast<QLineEdit *>(control)) {
        control->setStyleSheet(background("QLineEdit", selected ? selectedRed : restingEdit));
        return;
    }
    if (qobject_cast<QCheckBox *>(control)) {
        control->setStyleSheet(background("QCheckBox", selected ? selectedRed : restingEdit));
        return;
    }
    if (qobject_cast<QLabel *>(control)) {
        control->setAttribute(Qt::WA_TranslucentBackground, !selected);
        control->setStyleSheet(selected ? background("QLabel", selectedRed) : QString());
    }
}

QString controlText(const QWidget *control)
{
    if (auto *edit = qobject_cast<const QLineEdit *>(control))
        return edit->text();
    if (auto *box = qobject_cast<const QCheckBox *>(control))
        return box->text();
    if (auto *label = qobject_cast<const QLabel *>(control))
        return label->text();
    return control ? control->toolTip() : QString();
}

QString controlCaption(const QWidget *control)
{
    if (auto *box = qobject_cast<const QCheckBox *>(control))
        return box->text();
    return {};
}

} // namespace moque::ui
