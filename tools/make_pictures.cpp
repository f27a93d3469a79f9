// Draws the game's pictures: the seven reel symbols, the four spare
// pictures, the window icon and the pointing-hand cursor.
//
//   QT_QPA_PLATFORM=offscreen make_pictures <resources dir> [--sheet <dir>]
//
// The pictures are the ones src/reels/pictures.def names, at the sizes
// src/ui/artwork.h gives. Symbols and spares are square masters (twice the
// 48 px cell), each also written at the sizes the table shows at 100 %
// (name_28.png for the pay table, name_48.png for a reel cell: the master
// scaled down), on a transparent background, drawn in a 48-unit design grid
// so that every line lands where it will be seen at the size the game shows
// them. The program icon is drawn separately for each of its sizes (the
// window uses some, the desktop's icon theme all); the 16 px one is set
// pixel by pixel. The hand cursor is drawn on its grid, the tip of its index
// finger at the hotspot artwork.h gives.
//
// With --sheet the generator also writes contact sheets (sheet_48.png and
// sheet_96.png) that show every picture at the game's size and at twice that
// size, over the colours of the table, for looking at them.
//
// Letters are built from strokes rather than taken from a font, so the
// output does not depend on the fonts installed.

#include "ui/artwork.h"

#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QRadialGradient>
#include <QString>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

namespace {

constexpr int kMaster = PictureMasterSize;
constexpr qreal kUnit = kMaster / 48.0;

QPen outline(const QColor &c, qreal w = 1.2)
{
    QPen pen(c, w);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

QLinearGradient vertical(qreal y0, qreal y1, const QColor &top, const QColor &bottom)
{
    QLinearGradient g(0, y0, 0, y1);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

QRadialGradient shine(QPointF centre, qreal radius, QPointF focus, const QColor &light,
                      const QColor &mid, const QColor &dark)
{
    QRadialGradient g(centre, radius, focus);
    g.setColorAt(0, light);
    g.setColorAt(0.55, mid);
    g.setColorAt(1, dark);
    return g;
}

QPainterPath roundRect(qreal x, qreal y, qreal w, qreal h, qreal r)
{
    QPainterPath p;
    p.addRoundedRect(QRectF(x, y, w, h), r, r);
    return p;
}

QPainterPath ellipse(QPointF c, qreal rx, qreal ry)
{
    QPainterPath p;
    p.addEllipse(c, rx, ry);
    return p;
}

// Centre lines of the few letters the pictures need, in the box given.
QPainterPath letter(char c, const QRectF &b)
{
    const qreal x0 = b.left(), x1 = b.right(), y0 = b.top(), y1 = b.bottom();
    const qreal xm = b.center().x(), ym = b.center().y();
    QPainterPath p;
    switch (c) {
    case 'T':
        p.moveTo(x0, y0);
        p.lineTo(x1, y0);
        p.moveTo(xm, y0);
        p.lineTo(xm, y1);
        break;
    case 'I':
        p.moveTo(xm, y0);
        p.lineTo(xm, y1);
        break;
    case 'V':
        p.moveTo(x0, y0);
        p.lineTo(xm, y1);
        p.lineTo(x1, y0);
        break;
    case 'L':
        p.moveTo(x0, y0);
        p.lineTo(x0, y1);
        p.lineTo(x1, y1);
        break;
    case 'C':
        p.arcMoveTo(b, 50);
        p.arcTo(b, 50, 260);
        break;
    case 'R': {
        const qreal bowl = (ym - y0);
        p.moveTo(x0, y1);
        p.lineTo(x0, y0);
        p.lineTo(x1 - bowl / 2, y0);
        p.arcTo(QRectF(x1 - bowl, y0, bowl, bowl), 90, -180);
        p.lineTo(x0, ym);
        p.moveTo(xm, ym);
        p.lineTo(x1, y1);
        break;
    }
    case '?': {
        const qreal w = b.width();
        QRectF top(x0, y0, w, w * 0.9);
        p.arcMoveTo(top, 165);
        p.arcTo(top, 165, -210);
        p.quadTo(xm, top.bottom() - w * 0.15, xm, y1 - w * 0.55);
        break;
    }
    default:
        break;
    }
    return p;
}

// A row of stroked letters as one fillable outline.
QPainterPath lettering(const char *text, QRectF first, qreal advance, qreal weight,
                       Qt::PenCapStyle cap = Qt::SquareCap)
{
    QPainterPathStroker stroker;
    stroker.setWidth(weight);
    stroker.setCapStyle(cap);
    stroker.setJoinStyle(Qt::MiterJoin);
    QPainterPath all;
    for (const char *c = text; *c; ++c) {
        all = all.united(stroker.createStroke(letter(*c, first)));
        first.translate(advance, 0);
    }
    return all.simplified();
}

// ---------------------------------------------------------------- symbols

void drawApple(QPainter &p)
{
    // Stem behind the body.
    QPainterPath stem;
    stem.moveTo(24, 17);
    stem.cubicTo(24, 12, 24.5, 8, 27, 4.5);
    p.setPen(outline(QColor(0x3b, 0x22, 0x0e), 3.0));
    p.drawPath(stem);
    p.setPen(outline(QColor(0x8b, 0x5a, 0x2b), 1.4));
    p.drawPath(stem);

    QPainterPath body;
    body.moveTo(24, 15);
    body.cubicTo(19, 10.5, 7.5, 11.5, 7, 24);
    body.cubicTo(6.8, 34, 12.5, 44.5, 19, 44.5);
    body.cubicTo(21.5, 44.5, 22.5, 43.3, 24, 43.3);
    body.cubicTo(25.5, 43.3, 26.5, 44.5, 29, 44.5);
    body.cubicTo(35.5, 44.5, 41.2, 34, 41, 24);
    body.cubicTo(40.5, 11.5, 29, 10.5, 24, 15);
    p.setPen(outline(QColor(0x5c, 0x06, 0x06), 1.3));
    p.setBrush(shine(QPointF(18, 23), 25, QPointF(16, 21), QColor(0xff, 0x7a, 0x6a),
                     QColor(0xe0, 0x1b, 0x1b), QColor(0x90, 0x08, 0x10)));
    p.drawPath(body);

    // Shine.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 170));
    p.save();
    p.translate(14.5, 23);
    p.rotate(-25);
    p.drawEllipse(QPointF(0, 0), 2.2, 4.6);
    p.restore();
    p.setBrush(QColor(255, 255, 255, 110));
    p.drawEllipse(QPointF(17.5, 17.2), 1.6, 1.1);

    // Leaf.
    QPainterPath leaf;
    leaf.moveTo(26, 11);
    leaf.cubicTo(28, 4.5, 35, 3, 40, 5);
    leaf.cubicTo(37.5, 10.5, 31, 13, 26, 11);
    QLinearGradient lg(27, 11, 38, 4);
    lg.setColorAt(0, QColor(0x2e, 0x8b, 0x2e));
    lg.setColorAt(1, QColor(0x8c, 0xe0, 0x50));
    p.setPen(outline(QColor(0x1b, 0x4d, 0x1b), 1.0));
    p.setBrush(lg);
    p.drawPath(leaf);
    QPainterPath vein;
    vein.moveTo(27.5, 10.3);
    vein.quadTo(33, 7, 38.5, 5.3);
    p.setPen(outline(QColor(0x1b, 0x5e, 0x20), 0.6));
    p.setBrush(Qt::NoBrush);
    p.drawPath(vein);
}

void drawTelevision(QPainter &p)
{
    // Antenna.
    p.setPen(outline(QColor(0x30, 0x30, 0x30), 1.4));
    p.drawLine(QPointF(24, 12), QPointF(14.5, 2.8));
    p.drawLine(QPointF(24, 12), QPointF(34, 3.5));
    p.setPen(outline(QColor(0x20, 0x20, 0x20), 0.9));
    p.setBrush(QColor(0xd0, 0xd0, 0xd0));
    p.drawEllipse(QPointF(14.5, 2.8), 1.5, 1.5);
    p.drawEllipse(QPointF(34, 3.5), 1.5, 1.5);
    p.setBrush(vertical(9, 13, QColor(0x80, 0x80, 0x80), QColor(0x30, 0x30, 0x30)));
    p.drawChord(QRectF(19.5, 9.5, 9, 7), 0, 180 * 16);

    // Legs.
    p.setPen(outline(QColor(0x2a, 0x1a, 0x0a), 2.2));
    p.drawLine(QPointF(10, 40), QPointF(8, 45));
    p.drawLine(QPointF(38, 40), QPointF(40, 45));

    // Wooden cabinet.
    p.setPen(outline(QColor(0x45, 0x24, 0x0c), 1.3));
    QLinearGradient wood(0, 12, 0, 42);
    wood.setColorAt(0, QColor(0xd9, 0x9a, 0x5b));
    wood.setColorAt(0.5, QColor(0xb3, 0x6b, 0x2e));
    wood.setColorAt(1, QColor(0x86, 0x4a, 0x1c));
    p.setBrush(wood);
    p.drawRoundedRect(QRectF(3.5, 12.5, 41, 29), 4, 4);

    // Screen with its dark bezel.
    p.setPen(outline(QColor(0x15, 0x15, 0x15), 1.2));
    p.setBrush(QColor(0x2b, 0x2b, 0x2b));
    p.drawRoundedRect(QRectF(6.5, 15.5, 27, 23), 4.5, 4.5);
    p.setPen(Qt::NoPen);
    p.setBrush(shine(QPointF(18, 25), 17, QPointF(15, 22), QColor(0xb8, 0xe8, 0xff),
                     QColor(0x3d, 0x8f, 0xd6), QColor(0x12, 0x3a, 0x6a)));
    p.drawRoundedRect(QRectF(8.5, 17.5, 23, 19), 4, 4);
    QPainterPath glare;
    glare.moveTo(10.5, 20.5);
    glare.quadTo(11, 18.8, 14, 18.8);
    glare.lineTo(21, 18.8);
    glare.quadTo(15, 21, 11, 27);
    glare.closeSubpath();
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawPath(glare);

    // Knobs and speaker.
    p.setPen(outline(QColor(0x20, 0x20, 0x20), 0.9));
    p.setBrush(shine(QPointF(39, 19.5), 3, QPointF(38.2, 18.8), QColor(0xff, 0xf3, 0xc0),
                     QColor(0xe0, 0xb0, 0x40), QColor(0x8a, 0x60, 0x10)));
    p.drawEllipse(QPointF(39, 19.8), 2.5, 2.5);
    p.setBrush(shine(QPointF(39, 26.5), 3, QPointF(38.2, 25.8), QColor(0xff, 0xf3, 0xc0),
                     QColor(0xe0, 0xb0, 0x40), QColor(0x8a, 0x60, 0x10)));
    p.drawEllipse(QPointF(39, 26.8), 2.5, 2.5);
    p.setPen(outline(QColor(0x40, 0x20, 0x08), 0.8));
    for (qreal y = 32; y <= 37.5; y += 1.8)
        p.drawLine(QPointF(36.5, y), QPointF(41.5, y));
}

void drawTelephone(QPainter &p)
{
    const QColor ink(0x10, 0x10, 0x10);
    // Body: a low trapezoid with rounded corners.
    QPainterPath body;
    body.moveTo(13, 21);
    body.lineTo(35, 21);
    body.quadTo(37.5, 21, 38.3, 23.5);
    body.lineTo(43, 40);
    body.quadTo(43.5, 43.5, 40, 43.5);
    body.lineTo(8, 43.5);
    body.quadTo(4.5, 43.5, 5, 40);
    body.lineTo(9.7, 23.5);
    body.quadTo(10.5, 21, 13, 21);
    p.setPen(outline(ink, 1.3));
    p.setBrush(vertical(21, 44, QColor(0x6a, 0x6a, 0x70), QColor(0x18, 0x18, 0x1c)));
    p.drawPath(body);

    // Cradle posts holding the handset.
    p.setBrush(QColor(0x30, 0x30, 0x34));
    p.drawRoundedRect(QRectF(12, 16, 4, 7), 1, 1);
    p.drawRoundedRect(QRectF(32, 16, 4, 7), 1, 1);

    // Handset: two cups joined by a curved grip.
    QPainterPath handset;
    handset.moveTo(7, 17);
    handset.cubicTo(6, 10, 12, 8.5, 24, 8.5);
    handset.cubicTo(36, 8.5, 42, 10, 41, 17);
    handset.lineTo(36.5, 18.5);
    handset.cubicTo(35, 14.5, 31, 14, 24, 14);
    handset.cubicTo(17, 14, 13, 14.5, 11.5, 18.5);
    handset.closeSubpath();
    QPainterPath cups = roundRect(4, 14.5, 10.5, 6, 2.8).united(roundRect(33.5, 14.5, 10.5, 6, 2.8));
    handset = handset.united(cups);
    p.setBrush(vertical(8, 21, QColor(0x78, 0x78, 0x80), QColor(0x1a, 0x1a, 0x1e)));
    p.drawPath(handset);
    p.setPen(outline(QColor(255, 255, 255, 120), 0.9));
    p.setBrush(Qt::NoBrush);
    QPainterPath grip;
    grip.moveTo(12, 11.2);
    grip.cubicTo(16, 10, 20, 10, 24, 10);
    p.drawPath(grip);

    // Dial.
    const QPointF c(24, 32.5);
    p.setPen(outline(ink, 1.0));
    p.setBrush(shine(c, 9, QPointF(22, 30), QColor(0xff, 0xff, 0xff), QColor(0xe8, 0xe8, 0xe8),
                     QColor(0xa8, 0xa8, 0xa8)));
    p.drawEllipse(c, 8.2, 8.2);
    p.setBrush(QColor(0x25, 0x25, 0x28));
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 10; ++i) {
        const qreal a = qDegreesToRadians(-60.0 + i * 28.0);
        p.drawEllipse(QPointF(c.x() + 5.4 * std::cos(a), c.y() - 5.4 * std::sin(a)), 1.25, 1.25);
    }
    p.setPen(outline(ink, 0.7));
    p.setBrush(QColor(0xd3, 0x2f, 0x2f));
    p.drawEllipse(c, 2.4, 2.4);
}

void drawHouse(QPainter &p)
{
    // Ground.
    p.setPen(Qt::NoPen);
    p.setBrush(vertical(41, 47, QColor(0x7c, 0xc8, 0x4a), QColor(0x3e, 0x8e, 0x2a)));
    p.drawRoundedRect(QRectF(1.5, 41.5, 45, 5), 2.5, 2.5);

    const QColor line(0x4a, 0x2c, 0x14);
    // Tree on the right, behind nothing.
    p.setPen(outline(line, 1.0));
    p.setBrush(vertical(28, 43, QColor(0x9a, 0x62, 0x30), QColor(0x6a, 0x3e, 0x18)));
    p.drawRect(QRectF(37.2, 29, 3.6, 13.5));
    QPainterPath crown = ellipse(QPointF(39, 18.5), 7, 8)
                             .united(ellipse(QPointF(34.5, 24.5), 5.5, 5))
                             .united(ellipse(QPointF(43, 24.5), 4.3, 5));
    p.setPen(outline(QColor(0x15, 0x4a, 0x15), 1.1));
    p.setBrush(shine(QPointF(37, 19), 12, QPointF(35.5, 16), QColor(0xa6, 0xe8, 0x6a),
                     QColor(0x3f, 0xa3, 0x35), QColor(0x1e, 0x6b, 0x1e)));
    p.drawPath(crown);

    // Chimney, then the walls and the roof over it.
    p.setPen(outline(line, 1.0));
    p.setBrush(vertical(10, 20, QColor(0xb0, 0x5a, 0x3a), QColor(0x80, 0x38, 0x20)));
    p.drawRect(QRectF(23, 10.5, 4, 9));
    p.setBrush(vertical(22, 43, QColor(0xff, 0xf1, 0xd6), QColor(0xe3, 0xc2, 0x8e)));
    p.drawRect(QRectF(6, 23.5, 24, 19));
    QPainterPath roof;
    roof.moveTo(2.5, 25.5);
    roof.lineTo(18, 9);
    roof.lineTo(33.5, 25.5);
    roof.closeSubpath();
    p.setPen(outline(QColor(0x5e, 0x10, 0x08), 1.2));
    p.setBrush(vertical(9, 26, QColor(0xf0, 0x5a, 0x40), QColor(0xa8, 0x20, 0x14)));
    p.drawPath(roof);

    // Door and window.
    p.setPen(outline(line, 1.0));
    p.setBrush(vertical(31, 43, QColor(0xa0, 0x60, 0x28), QColor(0x6e, 0x3c, 0x14)));
    p.drawRect(QRectF(10, 31, 6.5, 11.5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xd5, 0x4f));
    p.drawEllipse(QPointF(15, 37), 0.8, 0.8);
    p.setPen(outline(line, 1.0));
    p.setBrush(vertical(28, 35, QColor(0xc8, 0xf0, 0xff), QColor(0x5a, 0xa8, 0xe0)));
    p.drawRect(QRectF(20, 28.5, 7, 6.5));
    p.setPen(outline(line, 0.8));
    p.drawLine(QPointF(23.5, 28.5), QPointF(23.5, 35));
    p.drawLine(QPointF(20, 31.75), QPointF(27, 31.75));
}

void drawGlobe(QPainter &p)
{
    const QPointF c(24, 20.5);
    const qreal r = 15.5;
    const QColor metal(0x6b, 0x4a, 0x08);

    // Stand: foot, post and the half ring holding the ball.
    p.setPen(outline(metal, 1.0));
    QPainterPath foot;
    foot.moveTo(14, 46);
    foot.quadTo(14, 41.5, 24, 41.5);
    foot.quadTo(34, 41.5, 34, 46);
    foot.closeSubpath();
    p.setBrush(vertical(41, 46, QColor(0xf2, 0xc9, 0x5c), QColor(0xa6, 0x74, 0x12)));
    p.drawPath(foot);
    p.drawRect(QRectF(22.6, 37, 2.8, 5));

    // The ball: ocean, then land clipped to it.
    QPainterPath ball = ellipse(c, r, r);
    p.setPen(Qt::NoPen);
    p.setBrush(shine(c - QPointF(4, 4), r + 5, c - QPointF(7, 7), QColor(0x9f, 0xdc, 0xff),
                     QColor(0x2a, 0x7f, 0xd4), QColor(0x0e, 0x3a, 0x7a)));
    p.drawPath(ball);

    p.save();
    p.setClipPath(ball);
    QPainterPath land;
    // North America.
    land.moveTo(9, 9);
    land.cubicTo(13, 5, 21, 4.5, 25, 7.5);
    land.cubicTo(23, 9.5, 21.5, 11, 22, 13);
    land.cubicTo(19.5, 14, 18.5, 16, 19, 18.5);
    land.cubicTo(17, 19.5, 16, 21.5, 17.5, 23.5);
    land.cubicTo(14, 22, 12, 19, 10.5, 16.5);
    land.cubicTo(8, 15, 7.5, 11, 9, 9);
    // South America.
    land.moveTo(19, 25);
    land.cubicTo(22.5, 24, 26.5, 26, 27.5, 28.5);
    land.cubicTo(27.5, 31.5, 24.5, 33.5, 23, 37);
    land.cubicTo(21.2, 36.5, 21.5, 32, 20, 30);
    land.cubicTo(18.5, 28.5, 17.8, 26.5, 19, 25);
    // Europe and Africa at the right-hand rim.
    land.moveTo(33, 9.5);
    land.cubicTo(36, 7.5, 39, 8.5, 41, 10.5);
    land.lineTo(42, 30);
    land.cubicTo(39.5, 29, 37.5, 26, 36.5, 23.5);
    land.cubicTo(34, 22.5, 32, 20, 33.5, 17);
    land.cubicTo(32, 15, 31.5, 12, 33, 9.5);
    // Greenland.
    land.addEllipse(QPointF(27.5, 5.5), 2.6, 1.8);
    p.setPen(outline(QColor(0x1b, 0x4d, 0x1b), 0.7));
    p.setBrush(vertical(4, 38, QColor(0x8e, 0xd8, 0x5a), QColor(0x2e, 0x7d, 0x32)));
    p.drawPath(land);

    // Faint grid of latitude and longitude.
    p.setPen(QPen(QColor(255, 255, 255, 70), 0.55));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(c.x() - r, c.y()), QPointF(c.x() + r, c.y()));
    for (qreal w : {5.5, 11.0})
        p.drawEllipse(c, w, r);
    for (qreal y : {-8.0, 8.0}) {
        const qreal half = std::sqrt(r * r - y * y);
        p.drawLine(QPointF(c.x() - half, c.y() + y), QPointF(c.x() + half, c.y() + y));
    }
    // Sheen over the ball.
    QRadialGradient sheen(c - QPointF(6, 7), 9);
    sheen.setColorAt(0, QColor(255, 255, 255, 120));
    sheen.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(sheen);
    p.drawPath(ball);
    p.restore();

    p.setPen(outline(QColor(0x0a, 0x24, 0x50), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(ball);

    // Meridian ring round the right side, with its pins.
    QPainterPathStroker ring;
    ring.setWidth(2.2);
    ring.setCapStyle(Qt::FlatCap);
    QPainterPath arc;
    const QRectF around(c.x() - r - 2.5, c.y() - r - 2.5, 2 * (r + 2.5), 2 * (r + 2.5));
    arc.arcMoveTo(around, 100);
    arc.arcTo(around, 100, -210);
    p.setPen(outline(metal, 0.8));
    p.setBrush(vertical(2, 40, QColor(0xff, 0xe0, 0x80), QColor(0xb0, 0x7c, 0x16)));
    p.drawPath(ring.createStroke(arc));
    p.drawEllipse(QPointF(c.x(), c.y() - r - 2.5), 1.3, 1.3);
    p.drawEllipse(QPointF(c.x(), c.y() + r + 2.5), 1.3, 1.3);
}

void drawButterfly(QPainter &p)
{
    QPainterPath upper;  // left upper wing
    upper.moveTo(23, 22);
    upper.cubicTo(19, 13, 12, 5, 5.5, 6.5);
    upper.cubicTo(1.5, 7.5, 2, 14, 4.5, 19);
    upper.cubicTo(6.5, 23, 12, 25.5, 23, 24.5);
    upper.closeSubpath();
    QPainterPath lower;  // left lower wing
    lower.moveTo(23, 25.5);
    lower.cubicTo(15, 25, 8.5, 28, 8, 34);
    lower.cubicTo(7.5, 39.5, 12, 42, 16, 40);
    lower.cubicTo(19.5, 38, 22, 33, 23, 28);
    lower.closeSubpath();

    const QColor edge(0x1a, 0x10, 0x08);
    QTransform mirror(-1, 0, 0, 1, 48, 0);
    for (const QTransform &t : {QTransform(), mirror}) {
        p.save();
        p.setTransform(t, true);
        p.setPen(outline(edge, 1.8));
        p.setBrush(shine(QPointF(17, 17), 17, QPointF(18, 19), QColor(0xff, 0xe0, 0x6a),
                         QColor(0xff, 0x9a, 0x1a), QColor(0xd8, 0x5a, 0x00)));
        p.drawPath(upper);
        p.setBrush(shine(QPointF(18, 30), 13, QPointF(19, 29), QColor(0xff, 0xf0, 0x80),
                         QColor(0xff, 0xc2, 0x2a), QColor(0xe0, 0x78, 0x00)));
        p.drawPath(lower);
        // Veins.
        p.setPen(outline(QColor(0x3a, 0x20, 0x08, 200), 0.7));
        p.setBrush(Qt::NoBrush);
        QPainterPath veins;
        veins.moveTo(22, 23);
        veins.quadTo(14, 14, 7, 9);
        veins.moveTo(22, 23.5);
        veins.quadTo(13, 20, 5, 17);
        veins.moveTo(22, 27);
        veins.quadTo(14, 31, 11, 38);
        p.drawPath(veins);
        // White dots along the dark rim.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 235));
        for (QPointF d : {QPointF(5.2, 10), QPointF(8.5, 7.6), QPointF(4.8, 15.5), QPointF(10.5, 38.8)})
            p.drawEllipse(d, 0.95, 0.95);
        p.restore();
    }

    // Body and antennae.
    p.setPen(outline(edge, 1.0));
    p.setBrush(QColor(0x2a, 0x1c, 0x12));
    QPainterPath feelers;
    feelers.moveTo(23.3, 14);
    feelers.cubicTo(22.5, 9, 19.5, 6, 16.5, 4.5);
    feelers.moveTo(24.7, 14);
    feelers.cubicTo(25.5, 9, 28.5, 6, 31.5, 4.5);
    p.setBrush(Qt::NoBrush);
    p.drawPath(feelers);
    p.setBrush(QColor(0x2a, 0x1c, 0x12));
    p.drawEllipse(QPointF(16.5, 4.5), 1.2, 1.2);
    p.drawEllipse(QPointF(31.5, 4.5), 1.2, 1.2);
    p.setBrush(vertical(13, 38, QColor(0x5a, 0x42, 0x30), QColor(0x1a, 0x10, 0x08)));
    p.drawEllipse(QPointF(24, 16), 2.2, 2.4);
    p.drawRoundedRect(QRectF(22.2, 17, 3.6, 20.5), 1.8, 1.8);
}

void drawClock(QPainter &p)
{
    const QPointF c(24, 24);
    // Rim.
    p.setPen(outline(QColor(0x1c, 0x1c, 0x24), 1.2));
    QLinearGradient rim(8, 4, 40, 44);
    rim.setColorAt(0, QColor(0x7f, 0xb2, 0xff));
    rim.setColorAt(0.5, QColor(0x2f, 0x5f, 0xc8));
    rim.setColorAt(1, QColor(0x15, 0x2e, 0x70));
    p.setBrush(rim);
    p.drawEllipse(c, 21.5, 21.5);
    // Face.
    p.setPen(outline(QColor(0x10, 0x20, 0x40), 0.8));
    p.setBrush(shine(c - QPointF(3, 4), 20, c - QPointF(5, 6), QColor(0xff, 0xff, 0xff),
                     QColor(0xfa, 0xfa, 0xf4), QColor(0xd6, 0xd6, 0xcc)));
    p.drawEllipse(c, 17.5, 17.5);

    // Hour marks, heavier at 12, 3, 6 and 9.
    for (int h = 0; h < 12; ++h) {
        const qreal a = qDegreesToRadians(h * 30.0);
        const bool quarter = h % 3 == 0;
        const qreal inner = quarter ? 12.0 : 13.6;
        p.setPen(outline(QColor(0x18, 0x18, 0x18), quarter ? 2.0 : 1.1));
        p.drawLine(QPointF(c.x() + inner * std::sin(a), c.y() - inner * std::cos(a)),
                   QPointF(c.x() + 15.6 * std::sin(a), c.y() - 15.6 * std::cos(a)));
    }

    // Hands at ten past ten.
    auto hand = [&](qreal degrees, qreal length, qreal width, const QColor &col) {
        const qreal a = qDegreesToRadians(degrees);
        p.setPen(outline(col, width));
        p.drawLine(QPointF(c.x() - 2.5 * std::sin(a), c.y() + 2.5 * std::cos(a)),
                   QPointF(c.x() + length * std::sin(a), c.y() - length * std::cos(a)));
    };
    hand(305, 9.0, 2.6, QColor(0x18, 0x18, 0x18));   // hour
    hand(60, 13.5, 1.9, QColor(0x18, 0x18, 0x18));   // minute
    hand(190, 14.0, 0.8, QColor(0xd3, 0x2f, 0x2f));  // second
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xd3, 0x2f, 0x2f));
    p.drawEllipse(c, 1.7, 1.7);
    p.setBrush(QColor(0x18, 0x18, 0x18));
    p.drawEllipse(c, 0.8, 0.8);

    // Glass reflection.
    QPainterPath glass;
    glass.arcMoveTo(QRectF(c.x() - 15.5, c.y() - 15.5, 31, 31), 100);
    glass.arcTo(QRectF(c.x() - 15.5, c.y() - 15.5, 31, 31), 100, 60);
    glass.arcTo(QRectF(c.x() - 13, c.y() - 13.5, 28, 30), 160, -60);
    glass.closeSubpath();
    p.setBrush(QColor(0x9f, 0xc8, 0xff, 90));
    p.drawPath(glass);
}

// ------------------------------------------------------------------ spares

void drawSpareClr(QPainter &p)
{
    // A palette card: rainbow face, white border and a drop shadow.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 60));
    p.drawRoundedRect(QRectF(6.5, 8.5, 38, 33), 3, 3);
    p.setPen(outline(QColor(0x30, 0x30, 0x30), 1.1));
    p.setBrush(vertical(5, 40, QColor(0xff, 0xff, 0xff), QColor(0xe4, 0xe4, 0xe4)));
    p.drawRoundedRect(QRectF(4.5, 6.5, 38, 33), 3, 3);
    QLinearGradient rainbow(7, 0, 40, 0);
    const QColor bands[] = {QColor(0xe5, 0x1c, 0x23), QColor(0xff, 0x98, 0x00), QColor(0xff, 0xeb, 0x3b),
                            QColor(0x4c, 0xaf, 0x50), QColor(0x21, 0x96, 0xf3), QColor(0x3f, 0x51, 0xb5),
                            QColor(0x9c, 0x27, 0xb0)};
    for (int i = 0; i < 7; ++i)
        rainbow.setColorAt(i / 6.0, bands[i]);
    p.setPen(outline(QColor(0x50, 0x50, 0x50), 0.6));
    p.setBrush(rainbow);
    p.drawRect(QRectF(7.5, 9.5, 32, 27));

    QPainterPath text = lettering("CLR", QRectF(9.5, 16, 7.5, 13), 10.3, 3.0);
    p.setPen(outline(QColor(0x10, 0x10, 0x10), 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawPath(text);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(text);
}

void drawSpareBook(QPainter &p)
{
    const QColor edge(0x2a, 0x0e, 0x40);
    // Pages showing below and to the right of the cover.
    p.setPen(outline(QColor(0x70, 0x60, 0x40), 0.9));
    p.setBrush(QColor(0xfb, 0xf4, 0xdc));
    QPainterPath pages;
    pages.moveTo(12, 41);
    pages.lineTo(39.5, 41);
    pages.lineTo(41.5, 38.5);
    pages.lineTo(41.5, 7.5);
    pages.lineTo(39, 6);
    pages.lineTo(12, 6);
    pages.closeSubpath();
    p.drawPath(pages);
    p.setPen(outline(QColor(0xc0, 0xb0, 0x90), 0.5));
    for (qreal y = 39.3; y > 38; y -= 0.9)
        p.drawLine(QPointF(13, y), QPointF(39.5, y));

    // Cover and spine.
    p.setPen(outline(edge, 1.2));
    QLinearGradient cover(9, 0, 40, 0);
    cover.setColorAt(0, QColor(0x6a, 0x2c, 0x9c));
    cover.setColorAt(0.4, QColor(0xa2, 0x5c, 0xdb));
    cover.setColorAt(1, QColor(0x6e, 0x30, 0xa0));
    p.setBrush(cover);
    p.drawRoundedRect(QRectF(8, 4, 31, 35.5), 2, 2);
    p.setBrush(vertical(4, 40, QColor(0x5a, 0x22, 0x88), QColor(0x3c, 0x14, 0x60)));
    p.drawRoundedRect(QRectF(6, 4, 5.5, 35.5), 2, 2);
    p.setPen(outline(QColor(0xd8, 0xb8, 0xff, 160), 0.7));
    p.drawLine(QPointF(8.7, 7), QPointF(8.7, 37));

    // The question mark.
    QPainterPathStroker stroker;
    stroker.setWidth(4.0);
    stroker.setCapStyle(Qt::RoundCap);
    QPainterPath mark = stroker.createStroke(letter('?', QRectF(18, 10, 13, 24)));
    mark.addEllipse(QPointF(24.5, 31.8), 2.4, 2.4);
    mark = mark.simplified();
    p.setPen(outline(QColor(0x40, 0x24, 0x00), 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawPath(mark);
    p.setPen(Qt::NoPen);
    p.setBrush(vertical(10, 35, QColor(0xff, 0xf1, 0x76), QColor(0xff, 0xc1, 0x07)));
    p.drawPath(mark);
}

void drawSpareBall(QPainter &p)
{
    // Grey tile with a bevel.
    p.setPen(outline(QColor(0x40, 0x40, 0x40), 1.1));
    QLinearGradient tile(5, 5, 43, 43);
    tile.setColorAt(0, QColor(0xd8, 0xd8, 0xd8));
    tile.setColorAt(1, QColor(0x80, 0x80, 0x80));
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(4.5, 4.5, 39, 39), 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(vertical(7, 41, QColor(0xb8, 0xb8, 0xb8), QColor(0x9c, 0x9c, 0x9c)));
    p.drawRoundedRect(QRectF(7.5, 7.5, 33, 33), 1.5, 1.5);

    // Shadow, then the ball.
    QRadialGradient shadow(QPointF(26, 38), 12);
    shadow.setColorAt(0, QColor(0, 0, 0, 110));
    shadow.setColorAt(1, QColor(0, 0, 0, 0));
    p.setBrush(shadow);
    p.drawEllipse(QPointF(26, 37.5), 12, 3.5);
    p.setPen(outline(QColor(0x6a, 0x2a, 0x00), 1.0));
    p.setBrush(shine(QPointF(22, 20), 16, QPointF(19, 17), QColor(0xff, 0xe0, 0xa8),
                     QColor(0xff, 0x8c, 0x1a), QColor(0xb0, 0x48, 0x00)));
    p.drawEllipse(QPointF(24, 23.5), 12, 12);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 190));
    p.drawEllipse(QPointF(19.5, 18.5), 3, 2.2);
}

void drawSpareScrewdriver(QPainter &p)
{
    const QColor steelEdge(0x30, 0x34, 0x3a);
    // Two screws lying beside the tool.
    auto screw = [&](QPointF at, qreal angle) {
        p.save();
        p.translate(at);
        p.rotate(angle);
        p.setPen(outline(steelEdge, 0.8));
        QPainterPath shank;
        shank.moveTo(-1.6, 0);
        shank.lineTo(1.6, 0);
        shank.lineTo(1.6, 9);
        shank.lineTo(0, 12);
        shank.lineTo(-1.6, 9);
        shank.closeSubpath();
        QLinearGradient steel(-2, 0, 2, 0);
        steel.setColorAt(0, QColor(0x90, 0x98, 0xa0));
        steel.setColorAt(0.4, QColor(0xf0, 0xf4, 0xf8));
        steel.setColorAt(1, QColor(0x70, 0x78, 0x80));
        p.setBrush(steel);
        p.drawPath(shank);
        for (qreal y = 1.8; y < 10; y += 1.7)
            p.drawLine(QPointF(-1.6, y), QPointF(1.6, y + 0.9));
        QLinearGradient head(-4, 0, 4, 0);
        head.setColorAt(0, QColor(0xa0, 0xa8, 0xb0));
        head.setColorAt(0.35, QColor(0xff, 0xff, 0xff));
        head.setColorAt(1, QColor(0x78, 0x80, 0x88));
        p.setBrush(head);
        p.drawChord(QRectF(-4, -3, 8, 6), 0, 180 * 16);
        p.drawLine(QPointF(-4, 0), QPointF(4, 0));
        p.setPen(outline(steelEdge, 0.9));
        p.drawLine(QPointF(0, -3), QPointF(0, -1));
        p.restore();
    };
    screw(QPointF(10, 8), -20);
    screw(QPointF(37, 30), 15);

    // Screwdriver, lying diagonally from the handle (lower left) to the tip.
    p.save();
    p.translate(24, 24);
    p.rotate(-45);
    // Shaft and blade.
    p.setPen(outline(steelEdge, 0.9));
    QLinearGradient steel(0, -1.5, 0, 1.5);
    steel.setColorAt(0, QColor(0xf4, 0xf8, 0xfc));
    steel.setColorAt(1, QColor(0x70, 0x78, 0x84));
    p.setBrush(steel);
    QPainterPath shaft;
    shaft.moveTo(-2, -1.3);
    shaft.lineTo(17, -1.3);
    shaft.lineTo(20.5, -2.2);
    shaft.lineTo(22, -2.2);
    shaft.lineTo(22, 2.2);
    shaft.lineTo(20.5, 2.2);
    shaft.lineTo(17, 1.3);
    shaft.lineTo(-2, 1.3);
    shaft.closeSubpath();
    p.drawPath(shaft);
    // Ferrule.
    QLinearGradient ferrule(0, -2.6, 0, 2.6);
    ferrule.setColorAt(0, QColor(0xff, 0xf0, 0xa0));
    ferrule.setColorAt(1, QColor(0xa0, 0x7a, 0x10));
    p.setBrush(ferrule);
    p.drawRoundedRect(QRectF(-4.5, -2.6, 3.5, 5.2), 0.8, 0.8);
    // Handle with grip grooves.
    p.setPen(outline(QColor(0x60, 0x08, 0x08), 1.1));
    QLinearGradient grip(0, -4.5, 0, 4.5);
    grip.setColorAt(0, QColor(0xff, 0x8a, 0x80));
    grip.setColorAt(0.35, QColor(0xe5, 0x1c, 0x23));
    grip.setColorAt(1, QColor(0x8a, 0x0c, 0x10));
    p.setBrush(grip);
    p.drawRoundedRect(QRectF(-22, -4.5, 18, 9), 4, 4);
    p.setPen(outline(QColor(0x70, 0x08, 0x08, 200), 0.7));
    for (qreal x = -17.5; x <= -8; x += 3)
        p.drawLine(QPointF(x, -3), QPointF(x + 2, -3));
    p.restore();
}

// ---------------------------------------------------------------- icon

// The window icon: a small application window, blue title bar, lettered
// TIV. Each size is drawn for itself.
const QColor kIconFrame(0x10, 0x24, 0x58);
const QColor kIconTitleTop(0x5a, 0x9a, 0xff), kIconTitleBottom(0x1c, 0x4c, 0xc0);
const QColor kIconLetters[3] = {QColor(0xd0, 0x20, 0x20), QColor(0x1f, 0x8a, 0x2a), QColor(0x15, 0x55, 0xc8)};

// The 16-pixel icon, pixel by pixel. Rows 1..14 hold the window, rows 2..4
// its title.
void smallWindowIcon(QImage &img)
{
    auto px = [&](int x, int y, QColor c) { img.setPixelColor(x, y, c); };
    for (int y = 1; y <= 14; ++y)
        for (int x = 0; x <= 15; ++x) {
            const bool border = y == 1 || y == 14 || x == 0 || x == 15;
            QColor c = border ? kIconFrame
                       : y <= 4 ? (y == 2 ? kIconTitleTop : y == 3 ? QColor(0x38, 0x70, 0xe0) : kIconTitleBottom)
                                : QColor(0xff, 0xff, 0xff);
            px(x, y, c);
        }
    // Title-bar close box.
    px(13, 3, QColor(0xff, 0xff, 0xff));
    px(12, 3, QColor(0xe0, 0xe8, 0xff));
    px(11, 3, QColor(0xe0, 0xe8, 0xff));
    // Shade under the title bar.
    for (int x = 1; x <= 14; ++x)
        px(x, 5, QColor(0xe4, 0xe8, 0xf2));
    // T I V in a 3 x 5 pixel hand, rows 7..11.
    const char *glyphs[3][5] = {{"###", ".#.", ".#.", ".#.", ".#."},
                                {"#", "#", "#", "#", "#"},
                                {"#.#", "#.#", "#.#", "#.#", ".#."}};
    int x0 = 3;
    for (int g = 0; g < 3; ++g) {
        int w = 0;
        for (int row = 0; row < 5; ++row) {
            const char *line = glyphs[g][row];
            w = int(strlen(line));
            for (int col = 0; line[col]; ++col)
                if (line[col] == '#')
                    px(x0 + col, 7 + row, kIconLetters[g]);
        }
        x0 += w + 1;
    }
}

// The window's shadow, frame, body and title bar on the 32-unit grid of an
// icon of `size` pixels (`px` grid units to a pixel); the title bar's box.
QRectF iconWindow(QPainter &p, int size, qreal s, qreal px)
{
    // Shadow (only where there is room for a soft one).
    if (size >= 64) {
        p.setPen(Qt::NoPen);
        for (int i = 3; i >= 1; --i) {
            p.setBrush(QColor(0, 0, 0, 22));
            p.drawRoundedRect(QRectF(1.5 + 0.25 * i, 3 + 0.25 * i, 30, 27.5), 1.5 + 0.3 * i, 1.5 + 0.3 * i);
        }
    }
    // Frame and body, aligned to the pixel grid.
    const QRectF win(0.5 * px + (size >= 64 ? 0.5 : 0), 2 + 0.5 * px, 32 - px - (size >= 64 ? 1.5 : 0),
                     27 - px);
    p.setPen(QPen(kIconFrame, size >= 64 ? 1.0 : px * 1.0));
    p.setBrush(QColor(0xfb, 0xfc, 0xff));
    p.drawRoundedRect(win, size >= 64 ? 1.5 : 0.01, size >= 64 ? 1.5 : 0.01);
    // Title bar.
    const qreal titleH = 6;
    QRectF title(win.left() + 0.5 * px, win.top() + 0.5 * px, win.width() - px, titleH);
    p.setPen(Qt::NoPen);
    p.setBrush(vertical(title.top(), title.bottom(), kIconTitleTop, kIconTitleBottom));
    p.drawRect(title);
    p.setBrush(QColor(0xd8, 0xe0, 0xf0));
    p.drawRect(QRectF(title.left(), title.bottom(), title.width(), px * std::max(1.0, s / 2)));
    return title;
}

// The caption buttons on the title bar: close box (red) and two light
// ones, each a border and an inset face on whole pixels; at 64 pixels and
// up a cross on the close box and a short caption line.
void iconCaptionButtons(QPainter &p, const QRectF &title, int size, qreal px)
{
    const qreal bs = 4;
    const qreal by = title.top() + (title.height() - bs) / 2;
    const qreal bx = title.right() - 1 - bs;
    auto button = [&](qreal x, const QColor &border, const QColor &face) {
        p.fillRect(QRectF(x, by, bs, bs), border);
        p.fillRect(QRectF(x + px, by + px, bs - 2 * px, bs - 2 * px), face);
    };
    button(bx, QColor(0x60, 0x0c, 0x0c), QColor(0xe8, 0x40, 0x30));
    for (int i = 1; i <= 2; ++i)
        button(bx - i * (bs + 1), QColor(0x20, 0x40, 0x90), QColor(0xe8, 0xee, 0xff));
    if (size >= 64) {
        p.setPen(QPen(Qt::white, 0.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(bx + 1, by + 1), QPointF(bx + bs - 1, by + bs - 1));
        p.drawLine(QPointF(bx + bs - 1, by + 1), QPointF(bx + 1, by + bs - 1));
        p.setPen(QPen(QColor(255, 255, 255, 200), 0.9, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(title.left() + 2, title.center().y()), QPointF(title.left() + 9, title.center().y()));
    }
}

// TIV, heavy strokes centred in the body below the title bar.
void iconLettering(QPainter &p, const QRectF &title)
{
    const qreal weight = 3.0;
    const qreal top = title.bottom() + 5.0, height = 12.0;
    const qreal letterW = 7.0, gap = 3.0;
    const qreal total = letterW + gap + weight + gap + letterW;  // T, I (one stroke), V
    // Whole grid units keep the upright strokes on whole pixels.
    const qreal x = std::round((32 - total) / 2);
    QRectF boxes[3] = {QRectF(x + weight / 2, top + weight / 2, letterW - weight, height - weight),
                       QRectF(x + letterW + gap, top + weight / 2, weight, height - weight),
                       QRectF(x + letterW + gap + weight + gap + weight / 2 - 0.3, top + weight / 2,
                              letterW - weight + 0.6, height - weight)};
    const char letters[3] = {'T', 'I', 'V'};
    QPainterPathStroker stroker;
    stroker.setWidth(weight);
    stroker.setCapStyle(Qt::SquareCap);
    stroker.setJoinStyle(Qt::MiterJoin);
    for (int i = 0; i < 3; ++i) {
        QPainterPath glyph = stroker.createStroke(letter(letters[i], boxes[i])).simplified();
        if (letters[i] == 'V') {
            // Trim the square caps back to the baseline and the cap height.
            QPainterPath band;
            band.addRect(QRectF(0, top, 32, height));
            glyph = glyph.intersected(band);
        }
        p.setPen(Qt::NoPen);
        p.setBrush(kIconLetters[i]);
        p.drawPath(glyph);
    }
}

QImage windowIcon(int size)
{
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    if (size == 16) {
        smallWindowIcon(img);
        return img;
    }
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size / 32.0;  // drawn on a 32-unit grid
    p.scale(s, s);
    const qreal px = 1.0 / s;     // one device pixel in grid units
    const QRectF title = iconWindow(p, size, s, px);
    iconCaptionButtons(p, title, size, px);
    iconLettering(p, title);
    return img;
}

// ---------------------------------------------------------------- cursor

// The pointing hand, index finger up, on its grid. Black outline, white
// fill, transparent around it. The tip of the index finger is the hotspot.
QImage handCursor(int size)
{
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, size > HandCursorGrid);
    const qreal s = size / qreal(HandCursorGrid);
    p.scale(s, s);

    // Shapes on half-pixel centres so the one-pixel outline stays crisp.
    const QPointF tip(HandCursorHotspotX, HandCursorHotspotY);
    QPainterPath hand = roundRect(tip.x() - 2.5, tip.y() + 0.5, 5, 16, 2.5); // index finger
    hand = hand.united(roundRect(14.5, 10.5, 4, 8, 2));                    // middle
    hand = hand.united(roundRect(18.5, 11.5, 4, 8, 2));                    // ring
    hand = hand.united(roundRect(22.5, 12.5, 4, 8, 2));                    // little
    QPainterPath palm;
    palm.moveTo(9.5, 14.5);
    palm.lineTo(26.5, 15.5);
    palm.lineTo(26.5, 22.5);
    palm.cubicTo(26.5, 26, 24.5, 27.5, 23.5, 28.5);
    palm.lineTo(23.5, 31.5);
    palm.lineTo(11.5, 31.5);
    palm.lineTo(11.5, 29.5);
    palm.cubicTo(9, 27, 6, 24, 4, 20.5);
    palm.closeSubpath();
    hand = hand.united(palm);
    QPainterPath thumb;
    thumb.moveTo(9.5, 24);
    thumb.lineTo(3.8, 18.4);
    thumb.cubicTo(2.2, 16.8, 3.8, 14.2, 6, 15.6);
    thumb.lineTo(9.5, 18.5);
    thumb.closeSubpath();
    hand = hand.united(thumb).simplified();

    // One grid unit of outline: one pixel at 32, two at 64.
    p.setPen(QPen(Qt::black, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPath(hand);
    // Creases between the folded fingers and at the base of the index finger.
    p.setPen(QPen(Qt::black, 1.0, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(14.5, 13), QPointF(14.5, 17.5));
    p.drawLine(QPointF(18.5, 14), QPointF(18.5, 18.5));
    p.drawLine(QPointF(22.5, 15), QPointF(22.5, 19.5));
    return img;
}

// ---------------------------------------------------------------- output

struct Picture {
    const char *file;
    std::function<void(QPainter &)> draw;
};

QImage render(const Picture &pic)
{
    QImage img(kMaster, kMaster, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(kUnit, kUnit);
    pic.draw(p);
    p.end();
    return img;
}

bool save(const QImage &img, const QString &path)
{
    if (!img.convertToFormat(QImage::Format_ARGB32).save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(QDir::current().relativeFilePath(path)));
    return true;
}

// Every picture at the given display size over the table's colours: the
// grey reel window, the light-green pay table and the navy frame.
QImage contactSheet(const std::vector<QImage> &pictures, const std::vector<QImage> &small, int cell)
{
    const QColor backs[3] = {QColor(224, 224, 224), QColor(192, 255, 192), QColor(0, 0, 128)};
    const int pad = cell / 6;
    const int factor = cell / 48;
    int smallW = pad, smallH = 0;
    for (const QImage &img : small) {
        smallW += img.width() * factor + pad;
        smallH = std::max(smallH, img.height() * factor);
    }
    const int w = std::max(pad + int(pictures.size()) * (cell + pad), smallW);
    const int h = pad + 3 * (cell + pad) + smallH + pad;
    QImage sheet(w, h, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(128, 128, 128));
    QPainter p(&sheet);
    for (int row = 0; row < 3; ++row) {
        p.fillRect(QRect(0, pad / 2 + row * (cell + pad), w, cell + pad), backs[row]);
        for (size_t i = 0; i < pictures.size(); ++i) {
            const QImage scaled = pictures[i].scaled(cell, cell, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            p.drawImage(pad + int(i) * (cell + pad), pad + row * (cell + pad), scaled);
        }
    }
    // Last row: the icon sizes and the cursors, each at a scale that matches
    // the sheet (1 x on the 48 sheet, 2 x on the 96 sheet), over white.
    const int y = pad + 3 * (cell + pad);
    p.fillRect(QRect(0, y - pad / 2, w, h - y + pad / 2), Qt::white);
    int x = pad;
    for (const QImage &img : small) {
        const QImage shown = img.scaled(img.width() * factor, img.height() * factor);
        p.drawImage(x, y, shown);
        x += shown.width() + pad;
    }
    return sheet;
}

}  // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: make_pictures <resources dir> [--sheet <dir>]\n");
        return 2;
    }
    const QDir out(args.at(1));
    QString sheetDir;
    const int at = args.indexOf("--sheet");
    if (at > 0 && at + 1 < args.size())
        sheetDir = args.at(at + 1);

    out.mkpath("pictures");
    out.mkpath("icons");

    // Every picture the game names, each drawn by draw<Name>.
    const std::vector<Picture> pictures = {
#define TIVORAN_PICTURE(name, file) {#file, draw##name},
#include "reels/pictures.def"
#undef TIVORAN_PICTURE
    };
    bool ok = true;
    std::vector<QImage> drawn;
    for (const Picture &pic : pictures) {
        drawn.push_back(render(pic));
        ok &= save(drawn.back(), out.filePath(QString("pictures/%1.png").arg(pic.file)));
        // The sizes the table shows at 100 %, ready made, so that it decodes
        // small pictures and scales nothing.
        for (int size : ReadyMadePictureSizes) {
            ok &= save(drawn.back().scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation),
                       out.filePath(QString("pictures/%1_%2.png").arg(pic.file).arg(size)));
        }
    }
    std::vector<QImage> small;
    std::vector<int> iconSizes(WindowIconSizes.begin(), WindowIconSizes.end());
    iconSizes.insert(iconSizes.end(), ThemeOnlyIconSizes.begin(), ThemeOnlyIconSizes.end());
    std::sort(iconSizes.begin(), iconSizes.end());
    for (int size : iconSizes) {
        small.push_back(windowIcon(size));
        ok &= save(small.back(), out.filePath(QString("icons/tivoran_%1.png").arg(size)));
    }
    for (int size : HandCursorSizes) {
        small.push_back(handCursor(size));
        ok &= save(small.back(), out.filePath(QString("icons/hand_%1.png").arg(size)));
    }

    if (!sheetDir.isEmpty()) {
        QDir().mkpath(sheetDir);
        for (int cell : {ReadyMadePictureSizes.back(), PictureMasterSize})
            ok &= save(contactSheet(drawn, small, cell), QDir(sheetDir).filePath(QString("sheet_%1.png").arg(cell)));
    }
    return ok ? 0 : 1;
}
