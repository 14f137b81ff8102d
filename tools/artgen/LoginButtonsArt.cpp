#include "Painting.h"
#include "Palette.h"
#include "Pictures.h"

#include <QRadialGradient>
#include <functional>

namespace art {

namespace {

using GlyphPainter = std::function<void(QPainter &, const QPointF &, qreal)>;

QPainterPath disc(const QRectF &rect)
{
    QPainterPath path;
    path.addEllipse(rect);
    return path;
}

void drawGlass(QPainter &painter, const QRectF &face)
{
    QRadialGradient depth(QPointF(face.center().x(), face.bottom()), face.height());
    depth.setColorAt(0, palette::sky);
    depth.setColorAt(0.55, palette::royal);
    depth.setColorAt(1, palette::navyDeep);
    painter.fillPath(disc(face), depth);
    const QRectF sheen(face.left() + face.width() * 0.12, face.top() + 1, face.width() * 0.76,
                       face.height() * 0.5);
    painter.fillPath(disc(sheen), verticalGradient(sheen, withAlpha(palette::white, 130),
                                                   withAlpha(palette::white, 8)));
}

QImage glassButton(int side, const GlyphPainter &glyph)
{
    QImage canvas = newCanvas({side, side});
    QPainter painter(&canvas);
    prepare(painter);
    const QRectF ring = QRectF(0, 0, side, side).adjusted(1.5, 1, -1.5, -2);
    drawGlow(painter, disc(ring.translated(0, 1)), withAlpha(palette::navyNight, 220), 1);
    painter.fillPath(disc(ring), verticalGradient(ring, palette::goldPale, palette::goldDeep));
    const qreal rimWidth = side / 16.0;
    const QRectF face = ring.adjusted(rimWidth, rimWidth, -rimWidth, -rimWidth);
    painter.strokePath(disc(face), QPen(palette::goldShadow, 1));
    drawGlass(painter, face);
    glyph(painter, face.center(), face.width());
    painter.end();
    return translucent(canvas);
}

void strokeGlyph(QPainter &painter, const QPainterPath &glyph, qreal width)
{
    painter.strokePath(glyph.translated(0, 1), QPen(withAlpha(palette::navyNight, 200), width,
                                                    Qt::SolidLine, Qt::RoundCap));
    painter.strokePath(glyph, QPen(palette::white, width, Qt::SolidLine, Qt::RoundCap));
}

void minusGlyph(QPainter &painter, const QPointF &centre, qreal faceWidth)
{
    const qreal reach = faceWidth * 0.24;
    QPainterPath line;
    line.moveTo(centre.x() - reach, centre.y());
    line.lineTo(centre.x() + reach, centre.y());
    strokeGlyph(painter, line, faceWidth / 11);
}

void crossGlyph(QPainter &painter, const QPointF &centre, qreal faceWidth)
{
    const qreal reach = faceWidth * 0.18;
    QPainterPath cross;
    cross.moveTo(centre + QPointF(-reach, -reach));
    cross.lineTo(centre + QPointF(reach, reach));
    cross.moveTo(centre + QPointF(reach, -reach));
    cross.lineTo(centre + QPointF(-reach, reach));
    strokeGlyph(painter, cross, faceWidth / 11);
}

} // namespace

QImage drawLoginMinimize()
{
    return glassButton(32, minusGlyph);
}

QImage drawLoginClose()
{
    return glassButton(40, crossGlyph);
}

} // namespace art
