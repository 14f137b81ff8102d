#include "Emblem.h"

#include "Painting.h"
#include "Palette.h"

#include <QPolygonF>
#include <QRadialGradient>
#include <algorithm>

namespace art {

namespace {

constexpr qreal shieldWidthRatio = 0.86;

QPointF at(const QRectF &rect, qreal fx, qreal fy)
{
    return {rect.left() + rect.width() * fx, rect.top() + rect.height() * fy};
}

QRectF innerField(const QRectF &shield, qreal rim)
{
    return shield.adjusted(rim, rim * 1.1, -rim, -rim * 1.7);
}

void fillRim(QPainter &painter, const QRectF &shield)
{
    QLinearGradient gold(shield.topLeft(), shield.bottomRight());
    gold.setColorAt(0.0, palette::goldPale);
    gold.setColorAt(0.35, palette::gold);
    gold.setColorAt(0.7, palette::goldDeep);
    gold.setColorAt(1.0, palette::goldShadow);
    painter.fillPath(shieldPath(shield), gold);
}

void fillField(QPainter &painter, const QRectF &field)
{
    QRadialGradient light(at(field, 0.5, 0.32), field.height() * 0.75);
    light.setColorAt(0.0, palette::sky);
    light.setColorAt(0.45, palette::royal);
    light.setColorAt(1.0, palette::navyDeep);
    painter.fillPath(shieldPath(field), light);
}

void addGloss(QPainter &painter, const QRectF &field)
{
    painter.save();
    painter.setClipPath(shieldPath(field));
    const QRectF sheen(at(field, -0.2, -0.25), QSizeF(field.width() * 1.4, field.height() * 0.7));
    QPainterPath ellipse;
    ellipse.addEllipse(sheen);
    painter.fillPath(ellipse, verticalGradient(sheen, withAlpha(palette::white, 70),
                                               withAlpha(palette::white, 0)));
    painter.restore();
}

QPolygonF chevron(const QRectF &field)
{
    return QPolygonF({at(field, 0.14, 0.22), at(field, 0.37, 0.22), at(field, 0.5, 0.58),
                      at(field, 0.63, 0.22), at(field, 0.86, 0.22), at(field, 0.5, 0.86)});
}

// Lighting the left arm and shading the right one makes the flat V read as struck metal.
void addChevronFacets(QPainter &painter, const QRectF &field)
{
    const QPolygonF v = chevron(field);
    QPainterPath lit;
    lit.addPolygon(QPolygonF({v[0], v[1], v[2], v[5]}));
    painter.fillPath(lit, withAlpha(palette::white, 60));
    QPainterPath shaded;
    shaded.addPolygon(QPolygonF({v[2], v[3], v[4], v[5]}));
    painter.fillPath(shaded, withAlpha(palette::goldShadow, 70));
}

void drawChevron(QPainter &painter, const QRectF &field, bool outlined)
{
    QPainterPath path;
    path.addPolygon(chevron(field));
    path.closeSubpath();
    if (outlined)
        drawGlow(painter, path.translated(0, field.height() * 0.03),
                 withAlpha(palette::navyNight, 200), std::max(1, int(field.height() / 40)));
    QLinearGradient gold(field.topLeft(), field.bottomLeft());
    gold.setColorAt(0.2, palette::goldPale);
    gold.setColorAt(0.6, palette::gold);
    gold.setColorAt(0.9, palette::goldDeep);
    painter.fillPath(path, gold);
    addChevronFacets(painter, field);
    if (outlined)
        painter.strokePath(path, QPen(palette::goldShadow, field.height() / 90.0));
}

QPainterPath fourPointStar(const QPointF &centre, qreal radius)
{
    const qreal waist = radius * 0.24;
    QPainterPath star;
    star.moveTo(centre.x(), centre.y() - radius);
    star.lineTo(centre.x() + waist, centre.y() - waist);
    star.lineTo(centre.x() + radius, centre.y());
    star.lineTo(centre.x() + waist, centre.y() + waist);
    star.lineTo(centre.x(), centre.y() + radius);
    star.lineTo(centre.x() - waist, centre.y() + waist);
    star.lineTo(centre.x() - radius, centre.y());
    star.lineTo(centre.x() - waist, centre.y() - waist);
    star.closeSubpath();
    return star;
}

void drawStar(QPainter &painter, const QRectF &field)
{
    const QPointF centre = at(field, 0.5, 0.33);
    const qreal radius = field.width() * 0.13;
    drawGlow(painter, fourPointStar(centre, radius * 1.3), withAlpha(palette::goldPale, 200),
             std::max(1, int(radius / 3)));
    painter.fillPath(fourPointStar(centre, radius), palette::white);
}

} // namespace

QPainterPath shieldPath(const QRectF &r)
{
    const qreal w = r.width();
    const qreal h = r.height();
    const qreal cx = r.center().x();
    QPainterPath path;
    path.moveTo(r.left(), r.top() + h * 0.1);
    path.quadTo(r.left() + w * 0.32, r.top() + h * 0.1, cx, r.top());
    path.quadTo(r.right() - w * 0.32, r.top() + h * 0.1, r.right(), r.top() + h * 0.1);
    path.lineTo(r.right(), r.top() + h * 0.48);
    path.cubicTo(r.right(), r.top() + h * 0.78, cx + w * 0.22, r.top() + h * 0.9, cx, r.bottom());
    path.cubicTo(cx - w * 0.22, r.top() + h * 0.9, r.left(), r.top() + h * 0.78, r.left(),
                 r.top() + h * 0.48);
    path.closeSubpath();
    return path;
}

QRectF shieldBoxInside(const QRectF &box)
{
    const qreal height = std::min(box.height(), box.width() / shieldWidthRatio);
    const QSizeF size(height * shieldWidthRatio, height);
    return QRectF(box.center() - QPointF(size.width() / 2, size.height() / 2), size);
}

void drawEmblem(QPainter &painter, const QRectF &box)
{
    drawEmblemInShield(painter, shieldBoxInside(box));
}

QRectF pixelSnappedShield(int side)
{
    int width = qRound(side * shieldWidthRatio);
    width += (side - width) % 2; // equal margins keep both rims on whole pixels
    return QRectF((side - width) / 2, 0, width, side);
}

void drawEmblemInShield(QPainter &painter, const QRectF &shield)
{
    const qreal size = shield.height();
    const qreal rim = std::max<qreal>(1.5, size * 0.07);
    const QRectF field = innerField(shield, rim);
    fillRim(painter, shield);
    fillField(painter, field);
    if (size >= 44) {
        addGloss(painter, field);
        painter.strokePath(shieldPath(field.adjusted(rim * 0.6, rim * 0.6, -rim * 0.6, -rim)),
                           QPen(withAlpha(palette::gold, 150), size / 110.0));
    }
    drawChevron(painter, field, size >= 44);
    if (size >= 30)
        drawStar(painter, field);
    painter.strokePath(shieldPath(shield), QPen(palette::goldShadow, std::max(0.7, size / 120.0)));
}

} // namespace art
