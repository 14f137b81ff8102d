#include "Emblem.h"
#include "Painting.h"
#include "Palette.h"
#include "Pictures.h"

#include <QRadialGradient>
#include <QRandomGenerator>
#include <QtMath>

namespace art {

namespace {

// The login browser is placed exactly over this rectangle; everything else is frame.
const QRect browserPanel(399, 119, 748, 456);
// The wing's right edge hides under the panel's rim, so only its outer three sides show a border.
const QRectF artWing(16, 22, 382, 652);
const QRectF frameBody(360, 76, 852, 544);
const qreal wingMiddle = 200;
constexpr qreal panelRim = 14;
// The login window lays its round minimise and close buttons over the top-right corner; the rim
// gets recessed sockets there so they look seated rather than dropped on.
const QRectF minimizeButton(1130, 116, 32, 32);
const QRectF closeButton(1146, 147, 40, 40);

QPainterPath wingPath()
{
    return chamferedRect(artWing, 34);
}

QPainterPath bodyPath()
{
    return chamferedRect(frameBody, 24);
}

// A gold finial that breaks the frame's outline above and below the panel; a negative rise
// points it upwards.
QPainterPath finialPath(const QPointF &base, qreal rise)
{
    const qreal halfWidth = 72;
    const QPointF tip(base.x(), base.y() + rise);
    QPainterPath path;
    path.moveTo(base.x() - halfWidth, base.y());
    path.cubicTo(base.x() - halfWidth * 0.4, base.y(), base.x() - 12, base.y() + rise * 0.45,
                 tip.x(), tip.y());
    path.cubicTo(base.x() + 12, base.y() + rise * 0.45, base.x() + halfWidth * 0.4, base.y(),
                 base.x() + halfWidth, base.y());
    // Left open: filling closes it, while the rim stroke should not run along the base.
    return path;
}

QPainterPath topCrest()
{
    return finialPath({browserPanel.center().x() + 0.5, frameBody.top() + 1}, -36);
}

QPainterPath bottomCrest()
{
    return finialPath({browserPanel.center().x() + 0.5, frameBody.bottom() - 1}, 36);
}

QPainterPath silhouette()
{
    return wingPath().united(bodyPath()).united(topCrest()).united(bottomCrest());
}

void drawCrest(QPainter &painter, const QPainterPath &crest)
{
    QLinearGradient gold(crest.boundingRect().topLeft(), crest.boundingRect().bottomLeft());
    gold.setColorAt(0, palette::goldPale);
    gold.setColorAt(0.5, palette::gold);
    gold.setColorAt(1, palette::goldDeep);
    painter.fillPath(crest, gold);
    painter.strokePath(crest, QPen(palette::goldShadow, 1.2));
    const QRectF bounds = crest.boundingRect();
    const bool pointsUp = bounds.center().y() < frameBody.center().y();
    const QPointF centre(bounds.center().x(), pointsUp ? bounds.bottom() - 13 : bounds.top() + 13);
    QPainterPath setting;
    setting.addEllipse(centre, 7.5, 7.5);
    painter.fillPath(
        setting, verticalGradient(setting.boundingRect(), palette::goldShadow, palette::goldPale));
    QPainterPath gem;
    gem.addEllipse(centre, 5.5, 5.5);
    QRadialGradient shine(centre - QPointF(1.5, 1.5), 6);
    shine.setColorAt(0, palette::skyPale);
    shine.setColorAt(1, palette::royal);
    painter.fillPath(gem, shine);
    painter.strokePath(gem, QPen(palette::goldShadow, 1));
}

void drawBody(QPainter &painter)
{
    painter.fillPath(bodyPath(), verticalGradient(frameBody, palette::navyMid, palette::navyDeep));
    painter.strokePath(bodyPath(), QPen(palette::goldDeep, 2));
    painter.strokePath(chamferedRect(frameBody.adjusted(6.5, 6.5, -6.5, -6.5), 19),
                       QPen(withAlpha(palette::gold, 140), 1));
}

void drawWingSky(QPainter &painter)
{
    painter.fillRect(artWing,
                     verticalGradient(artWing, QColor(0x17, 0x4c, 0x84), palette::navyNight));
    QRadialGradient halo(QPointF(wingMiddle, 168), 260);
    halo.setColorAt(0, withAlpha(palette::skyPale, 150));
    halo.setColorAt(0.35, withAlpha(palette::sky, 90));
    halo.setColorAt(1, withAlpha(palette::sky, 0));
    painter.fillRect(artWing, halo);
}

void drawRays(QPainter &painter)
{
    const QPointF origin(wingMiddle, 168);
    for (int i = 0; i < 16; ++i) {
        const qreal angle = qDegreesToRadians(i * 22.5 + 6);
        const qreal spread = qDegreesToRadians(4.0);
        QPainterPath ray;
        ray.moveTo(origin);
        ray.lineTo(origin + QPointF(qCos(angle - spread), qSin(angle - spread)) * 420);
        ray.lineTo(origin + QPointF(qCos(angle + spread), qSin(angle + spread)) * 420);
        ray.closeSubpath();
        QRadialGradient fade(origin, 420);
        fade.setColorAt(0, withAlpha(palette::white, 34));
        fade.setColorAt(1, withAlpha(palette::white, 0));
        painter.fillPath(ray, fade);
    }
}

void drawStars(QPainter &painter)
{
    QRandomGenerator random(20240611);
    for (int i = 0; i < 110; ++i) {
        const QPointF at(artWing.left() + 10 + random.bounded(artWing.width() - 20),
                         artWing.top() + 10 + random.bounded(440.0));
        const qreal radius = 0.5 + random.bounded(1.1);
        painter.setPen(Qt::NoPen);
        painter.setBrush(withAlpha(palette::white, 60 + random.bounded(170)));
        painter.drawEllipse(at, radius, radius);
    }
}

QPainterPath ridge(const QList<QPointF> &peaks, qreal floor)
{
    QPainterPath path;
    path.moveTo(artWing.left(), floor);
    for (const QPointF &peak : peaks)
        path.lineTo(peak);
    path.lineTo(artWing.right(), floor);
    path.closeSubpath();
    return path;
}

void drawRidge(QPainter &painter, const QPainterPath &path, const QColor &top, const QColor &rim)
{
    const QRectF bounds = path.boundingRect();
    painter.fillPath(path, verticalGradient(bounds, top, palette::navyNight));
    painter.strokePath(path, QPen(rim, 1.2));
}

void drawTower(QPainter &painter, qreal x, qreal base, qreal width, qreal height)
{
    const QColor stone(0x0a, 0x24, 0x42);
    painter.fillRect(QRectF(x, base - height, width, height), stone);
    QPainterPath roof;
    roof.addPolygon(QPolygonF({{x - 3, base - height},
                               {x + width / 2, base - height - width * 1.5},
                               {x + width + 3, base - height}}));
    painter.fillPath(roof, stone);
    painter.strokePath(roof, QPen(withAlpha(palette::sky, 120), 1));
    painter.fillRect(QRectF(x + width / 2 - 1.5, base - height * 0.7, 3, 5),
                     withAlpha(palette::gold, 220));
}

void drawCastle(QPainter &painter)
{
    const qreal base = 548;
    painter.fillRect(QRectF(232, base - 34, 100, 34), QColor(0x0a, 0x24, 0x42));
    for (int i = 0; i < 10; ++i)
        painter.fillRect(QRectF(232 + i * 10, base - 40, 6, 6), QColor(0x0a, 0x24, 0x42));
    drawTower(painter, 222, base, 18, 62);
    drawTower(painter, 276, base, 24, 86);
    drawTower(painter, 330, base, 16, 54);
}

void drawLandscape(QPainter &painter)
{
    drawRidge(
        painter,
        ridge({{16, 500}, {70, 452}, {120, 488}, {176, 430}, {236, 490}, {300, 466}, {390, 510}},
              674),
        QColor(0x12, 0x3c, 0x68), withAlpha(palette::sky, 110));
    drawCastle(painter);
    drawRidge(painter,
              ridge({{16, 560}, {80, 536}, {150, 572}, {220, 540}, {300, 582}, {390, 556}}, 674),
              QColor(0x0b, 0x2a, 0x4a), withAlpha(palette::sky, 90));
    drawRidge(painter, ridge({{16, 618}, {110, 596}, {210, 630}, {310, 604}, {390, 626}}, 674),
              QColor(0x07, 0x1c, 0x33), withAlpha(palette::sky, 60));
}

void drawWingTitles(QPainter &painter)
{
    const qreal x = wingMiddle;
    drawGoldText(painter, centredText(QStringLiteral("Vantor"), displayFont(66), {x, 338}));
    QLinearGradient line(QPointF(x - 130, 0), QPointF(x + 130, 0));
    line.setColorAt(0, withAlpha(palette::gold, 0));
    line.setColorAt(0.5, palette::gold);
    line.setColorAt(1, withAlpha(palette::gold, 0));
    painter.fillRect(QRectF(x - 130, 358, 260, 1), line);
    QPainterPath diamond;
    diamond.addPolygon(QPolygonF({{x - 6, 358.5}, {x, 352.5}, {x + 6, 358.5}, {x, 364.5}}));
    painter.fillPath(diamond, palette::gold);
    const QPainterPath subtitle =
        centredText(QStringLiteral("Vantor客户端"), cjkSerifFont(28, QFont::Bold), {x, 402});
    drawGlow(painter, subtitle.translated(0, 2), withAlpha(palette::navyNight, 240), 3);
    painter.fillPath(subtitle,
                     verticalGradient(subtitle.boundingRect(), palette::white, palette::skyPale));
}

void drawWing(QPainter &painter)
{
    painter.save();
    painter.setClipPath(wingPath());
    drawWingSky(painter);
    drawRays(painter);
    drawStars(painter);
    drawLandscape(painter);
    painter.restore();
    painter.strokePath(wingPath(), QPen(palette::goldDeep, 2));
    painter.strokePath(chamferedRect(artWing.adjusted(6.5, 6.5, -6.5, -6.5), 29),
                       QPen(withAlpha(palette::gold, 170), 1));
    const QRectF crest(wingMiddle - 80, 70, 160, 186);
    drawGlow(painter, shieldPath(shieldBoxInside(crest)).translated(0, 5),
             withAlpha(palette::navyNight, 200), 8);
    drawEmblem(painter, crest);
    drawWingTitles(painter);
}

void fillPixelFrame(QPainter &painter, const QRect &outer, const QColor &colour)
{
    painter.fillRect(QRect(outer.left(), outer.top(), outer.width(), 1), colour);
    painter.fillRect(QRect(outer.left(), outer.bottom(), outer.width(), 1), colour);
    painter.fillRect(QRect(outer.left(), outer.top(), 1, outer.height()), colour);
    painter.fillRect(QRect(outer.right(), outer.top(), 1, outer.height()), colour);
}

void drawCornerStud(QPainter &painter, const QPointF &centre)
{
    QPainterPath stud;
    stud.addPolygon(QPolygonF({centre + QPointF(-6, 0), centre + QPointF(0, -6),
                               centre + QPointF(6, 0), centre + QPointF(0, 6)}));
    stud.closeSubpath();
    painter.fillPath(stud,
                     verticalGradient(stud.boundingRect(), palette::goldPale, palette::goldDeep));
    painter.strokePath(stud, QPen(palette::goldShadow, 1));
}

void drawPanelFrame(QPainter &painter)
{
    const int rim = int(panelRim);
    const QRect outer = browserPanel.adjusted(-rim, -rim, rim, rim);
    painter.fillRect(outer, verticalGradient(outer, QColor(0x16, 0x47, 0x7c), palette::navyDeep));
    fillPixelFrame(painter, outer, palette::goldDeep);
    fillPixelFrame(painter, outer.adjusted(1, 1, -1, -1), withAlpha(palette::goldPale, 90));
    fillPixelFrame(painter, browserPanel.adjusted(-5, -5, 5, 5), withAlpha(palette::gold, 200));
    fillPixelFrame(painter, browserPanel.adjusted(-4, -4, 4, 4), palette::navyNight);
    fillPixelFrame(painter, browserPanel.adjusted(-3, -3, 3, 3), palette::navyNight);
    fillPixelFrame(painter, browserPanel.adjusted(-2, -2, 2, 2), palette::goldShadow);
    fillPixelFrame(painter, browserPanel.adjusted(-1, -1, 1, 1), palette::goldDeep);
    // The top-right corner is left plain: the minimise and close buttons sit there.
    drawCornerStud(painter, QPointF(outer.left() + 7.5, outer.top() + 7.5));
    drawCornerStud(painter, QPointF(outer.left() + 7.5, outer.bottom() - 6.5));
    drawCornerStud(painter, QPointF(outer.right() - 6.5, outer.bottom() - 6.5));
}

void drawButtonSockets(QPainter &painter)
{
    QPainterPath minimizeSocket;
    minimizeSocket.addEllipse(minimizeButton.adjusted(-3, -3, 3, 3));
    QPainterPath closeSocket;
    closeSocket.addEllipse(closeButton.adjusted(-3, -3, 3, 3));
    const QPainterPath sockets = minimizeSocket.united(closeSocket);
    drawGlow(painter, sockets, withAlpha(palette::navyNight, 200), 2);
    painter.fillPath(
        sockets, verticalGradient(sockets.boundingRect(), palette::navyNight, palette::navyDeep));
    painter.strokePath(sockets, QPen(withAlpha(palette::gold, 190), 1));
}

} // namespace

QImage drawLoginBackdrop()
{
    QImage canvas = newCanvas({1237, 696});
    QPainter painter(&canvas);
    prepare(painter);
    drawGlow(painter, silhouette(), withAlpha(palette::sky, 200), 6);
    drawBody(painter);
    drawWing(painter);
    drawPanelFrame(painter);
    drawButtonSockets(painter);
    painter.fillRect(browserPanel, palette::loginPanel);
    drawCrest(painter, topCrest());
    drawCrest(painter, bottomCrest());
    painter.end();
    return translucent(canvas);
}

} // namespace art
