#include "designers/LayoutCanvas.h"

#include "print/ItemRenderer.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

namespace moque::ui {

namespace {

// The system's colour value for an item not selected, light blue.
const QColor &unselectedColor()
{
    static const QColor color = print::ItemRenderer::colorFromText(QStringLiteral("16360068"));
    return color;
}

Qt::Alignment alignmentOf(int align)
{
    const Qt::Alignment h = align == 2 ? Qt::AlignRight : align == 1 ? Qt::AlignHCenter : Qt::AlignLeft;
    return h | Qt::AlignTop;
}

} // namespace

LayoutCanvas::LayoutCanvas(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("pnlCanvas"));
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(m_pageSize);
}

void LayoutCanvas::setPageSize(const QSize &size)
{
    m_pageSize = size;
    setFixedSize(size);
    updateScaledPicture();
    update();
}

void LayoutCanvas::setBackground(const QPixmap &picture)
{
    m_picture = picture;
    updateScaledPicture();
    update();
}

void LayoutCanvas::updateScaledPicture()
{
    m_scaled = m_picture.isNull() ? QPixmap()
                                  : m_picture.scaled(m_pageSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

void LayoutCanvas::setTransparent(bool transparent)
{
    m_transparent = transparent;
    update();
}

void LayoutCanvas::setNote(const QString &note)
{
    m_note = note;
    update();
}

void LayoutCanvas::clearItems()
{
    m_items.clear();
    m_order.clear();
    m_dragItem.clear();
    update();
}

void LayoutCanvas::setItemLabels(const QString &itemName, const QPoint &origin,
                                 const QList<design::LayoutLabel> &labels)
{
    if (!m_items.contains(itemName))
        m_order << itemName;
    m_items.insert(itemName, Item{origin, labels});
    update();
}

void LayoutCanvas::setSelection(const QStringList &itemNames)
{
    m_selected = itemNames;
    update();
}

QRect LayoutCanvas::itemRect(const QString &labelName) const
{
    for (const QString &name : m_order)
        for (const design::LayoutLabel &l : m_items.value(name).labels)
            if (l.name == labelName)
                return name == m_dragItem ? l.rect.translated(m_dragOffset) : l.rect;
    return {};
}

QStringList LayoutCanvas::labelNames() const
{
    QStringList names;
    for (const QString &name : m_order)
        for (const design::LayoutLabel &l : m_items.value(name).labels)
            names << l.name;
    return names;
}

QStringList LayoutCanvas::labelNamesOf(const QString &itemName) const
{
    QStringList names;
    for (const design::LayoutLabel &l : m_items.value(itemName).labels)
        names << l.name;
    return names;
}

QString LayoutCanvas::itemAt(const QPoint &pos) const
{
    // The label painted last lies on top.
    for (auto it = m_order.crbegin(); it != m_order.crend(); ++it)
        for (const design::LayoutLabel &l : m_items.value(*it).labels)
            if (l.rect.contains(pos))
                return *it;
    return {};
}

bool LayoutCanvas::event(QEvent *event)
{
    // Each label's hint is its item's name.
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const QString name = itemAt(help->pos());
        if (name.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), name, this);
        return true;
    }
    return QWidget::event(event);
}

void LayoutCanvas::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (!m_scaled.isNull())
        p.drawPixmap(0, 0, m_scaled);
    for (const QString &name : std::as_const(m_order)) {
        const bool selected = m_selected.contains(name);
        const QPoint shift = name == m_dragItem ? m_dragOffset : QPoint();
        for (const design::LayoutLabel &l : m_items.value(name).labels) {
            const QRect r = l.rect.translated(shift);
            if (selected)
                p.fillRect(r, Qt::red);
            else if (!m_transparent)
                p.fillRect(r, unselectedColor());
            QFont font(l.fontName);
            font.setPixelSize(l.pixelSize);
            font.setBold(l.bold);
            font.setItalic(l.italic);
            font.setUnderline(l.underline);
            p.setFont(font);
            p.setPen(Qt::black);
            p.drawText(r, int(alignmentOf(l.align)) | Qt::TextDontClip, l.text);
        }
    }
    if (!m_note.isEmpty()) {
        p.setPen(Qt::darkRed);
        p.drawText(rect().adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap, m_note);
    }
}

void LayoutCanvas::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QString name = itemAt(event->position().toPoint());
    if (name.isEmpty())
        return;
    Q_EMIT labelPressed(name);
    // A single selected item follows the mouse at once.
    if (m_selected.size() == 1 && m_selected.first() == name) {
        m_dragItem = name;
        m_pressPos = event->position().toPoint();
        m_dragOffset = QPoint();
    }
}

void LayoutCanvas::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragItem.isEmpty())
        return;
    m_dragOffset = event->position().toPoint() - m_pressPos;
    update();
    Q_EMIT dragMoved(m_dragItem, m_items.value(m_dragItem).origin + m_dragOffset);
}

void LayoutCanvas::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_dragItem.isEmpty() || event->button() != Qt::LeftButton)
        return;
    const QString name = m_dragItem;
    const QPoint offset = event->position().toPoint() - m_pressPos;
    m_dragItem.clear();
    m_dragOffset = QPoint();
    update();
    if (!offset.isNull())
        Q_EMIT dragFinished(name, m_items.value(name).origin + offset);
}

void LayoutCanvas::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QString name = itemAt(event->position().toPoint());
    if (!name.isEmpty())
        Q_EMIT labelDoubleClicked(name);
}

void LayoutCanvas::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Up:
        Q_EMIT nudge(design::MoveDirection::Up);
        break;
    case Qt::Key_Down:
        Q_EMIT nudge(design::MoveDirection::Down);
        break;
    case Qt::Key_Left:
        Q_EMIT nudge(design::MoveDirection::Left);
        break;
    case Qt::Key_Right:
        Q_EMIT nudge(design::MoveDirection::Right);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

} // namespace moque::ui
