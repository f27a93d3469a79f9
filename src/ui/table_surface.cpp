#include "ui/table_surface.h"

#include "ui/pictures.h"
#include "ui/vb_controls.h"

#include <QPaintEvent>
#include <QPainter>
#include <cmath>

DrawnElement::DrawnElement(DrawingSurface *owner, QString name)
    : m_owner(owner)
    , m_name(std::move(name))
{
}

void DrawnElement::setVisible(bool on)
{
    if (m_visible == on)
        return;
    m_visible = on;
    changed();
}

void DrawnElement::changed()
{
    if (m_owner)
        m_owner->elementChanged(*this);
}

DrawnShape::DrawnShape(DrawingSurface *owner, QString name, Kind kind, QRect rect, qint32 fill,
                       qint32 border, int borderWidth)
    : DrawnElement(owner, std::move(name))
    , m_kind(kind)
    , m_rect(rect)
    , m_fill(fill)
    , m_border(border)
    , m_borderWidth(borderWidth)
{
}

void DrawnShape::setFillColor(qint32 ref)
{
    if (m_fill == ref)
        return;
    m_fill = ref;
    changed();
}

void DrawnShape::setBorderColor(qint32 ref)
{
    if (m_border == ref)
        return;
    m_border = ref;
    changed();
}

void DrawnShape::paint(QPainter &p) const
{
    // The border lies inside the shape's rectangle.
    const qreal half = m_borderWidth / 2.0;
    const QRectF r = QRectF(m_rect).adjusted(half, half, -half, -half);
    QPen pen(colorFromRef(m_border), m_borderWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(colorFromRef(m_fill));
    switch (m_kind) {
    case Rectangle:
        p.setRenderHint(QPainter::Antialiasing, false);
        p.drawRect(r);
        break;
    case RoundedRectangle: {
        p.setRenderHint(QPainter::Antialiasing, true);
        const qreal radius = std::min(r.width(), r.height()) / 12.0;
        p.drawRoundedRect(r, radius, radius);
        break;
    }
    case Circle:
        p.setRenderHint(QPainter::Antialiasing, true);
        p.drawEllipse(r);
        break;
    }
}

DrawnLine::DrawnLine(DrawingSurface *owner, QString name, QPointF from, QPointF to, qint32 color, int width)
    : DrawnElement(owner, std::move(name))
    , m_from(from)
    , m_to(to)
    , m_color(color)
    , m_width(width)
{
}

void DrawnLine::setBorderColor(qint32 ref)
{
    if (m_color == ref)
        return;
    m_color = ref;
    changed();
}

QRect DrawnLine::bounds() const
{
    const int margin = m_width + 2;
    return QRectF(m_from, m_to).normalized().toAlignedRect().adjusted(-margin, -margin, margin, margin);
}

void DrawnLine::paint(QPainter &p) const
{
    p.setRenderHint(QPainter::Antialiasing, true);
    QPen pen(colorFromRef(m_color), m_width);
    pen.setCapStyle(Qt::FlatCap);
    p.setPen(pen);
    p.drawLine(m_from, m_to);
}

DrawnImage::DrawnImage(DrawingSurface *owner, QString name, QRect rect, bool stretch)
    : DrawnElement(owner, std::move(name))
    , m_rect(rect)
    , m_stretch(stretch)
{
}

void DrawnImage::setPicture(int picture)
{
    if (m_picture == picture)
        return;
    m_picture = picture;
    changed();
}

void DrawnImage::paint(QPainter &p) const
{
    if (m_picture < 0)
        return;
    // A stretched cell fills its rectangle; an unstretched one shows the
    // picture at its own size (48 x 48) from the top-left corner.
    const QSize size = m_stretch ? m_rect.size() : QSize(48, 48);
    const QPixmap pix = scaledPicture(m_picture, size, p.device()->devicePixelRatioF());
    p.drawPixmap(m_rect.topLeft(), pix);
}

DrawingSurface::DrawingSurface(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setFocusPolicy(Qt::NoFocus);
}

void DrawingSurface::elementChanged(const DrawnElement &e)
{
    update(e.bounds());
}

void DrawingSurface::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    const QRect dirty = event->rect();
    for (const auto &e : m_elements) {
        if (e->isVisible() && e->bounds().intersects(dirty))
            e->paint(p);
    }
}
