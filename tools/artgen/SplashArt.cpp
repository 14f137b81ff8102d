#include "Emblem.h"
#include "Painting.h"
#include "Palette.h"
#include "Pictures.h"

#include <QFontMetricsF>
#include <QRadialGradient>
#include <cmath>

namespace art {

namespace {

const QRectF plaque(52.5, 20.5, 290, 82);
const QRectF crestBox(14, 8, 92, 106);

QPainterPath plaquePath()
{
    QPainterPath path;
    path.addRoundedRect(plaque, 16, 16);
    return path;
}

void fillPlaque(QPainter &painter)
{
    painter.fillPath(plaquePath(), verticalGradient(plaque, palette::navyMid, palette::navyNight));
    QRadialGradient light(QPointF(215, 46), 150);
    light.setColorAt(0, withAlpha(palette::sky, 110));
    light.setColorAt(1, withAlpha(palette::sky, 0));
    painter.fillPath(plaquePath(), light);
}

void drawPlaqueRims(QPainter &painter)
{
    painter.strokePath(plaquePath(), QPen(palette::goldDeep, 1.6));
    QPainterPath inner;
    inner.addRoundedRect(plaque.adjusted(4, 4, -4, -4), 12, 12);
    painter.strokePath(inner, QPen(withAlpha(palette::gold, 120), 1));
    painter.fillRect(QRectF(plaque.left() + 18, plaque.top() + 1.5, plaque.width() - 36, 1),
                     withAlpha(palette::white, 40));
}

// Texts are centred in the part of the plaque that the crest leaves free.
constexpr qreal textMiddle = 226;

void drawDivider(QPainter &painter, qreal y)
{
    const qreal reach = 92;
    QLinearGradient line(QPointF(textMiddle - reach, y), QPointF(textMiddle + reach, y));
    line.setColorAt(0, withAlpha(palette::gold, 0));
    line.setColorAt(0.5, palette::gold);
    line.setColorAt(1, withAlpha(palette::gold, 0));
    painter.fillRect(QRectF(textMiddle - reach, y, 2 * reach, 1), line);
    QPainterPath diamond;
    diamond.addPolygon(QPolygonF({{textMiddle - 4, y + 0.5},
                                  {textMiddle, y - 3.5},
                                  {textMiddle + 4, y + 0.5},
                                  {textMiddle, y + 4.5}}));
    painter.fillPath(diamond, palette::gold);
}

void drawTexts(QPainter &painter)
{
    drawGoldText(painter, centredText(QStringLiteral("Vantor"), displayFont(40), {textMiddle, 60}));
    drawDivider(painter, 70);
    const QString status = QStringLiteral("正在连接服务器…");
    const QFont statusFont = cjkFont(13);
    // Whole-pixel start keeps the small CJK glyphs on the hinting grid.
    const qreal left =
        std::floor(textMiddle - QFontMetricsF(statusFont).horizontalAdvance(status) / 2);
    painter.setFont(statusFont);
    painter.setPen(withAlpha(palette::navyNight, 200));
    painter.drawText(QPointF(left + 1, 91), status);
    painter.setPen(palette::skyPale);
    painter.drawText(QPointF(left, 90), status);
}

} // namespace

QImage drawSplash()
{
    QImage canvas = newCanvas({356, 122});
    QPainter painter(&canvas);
    prepare(painter);
    const QPainterPath silhouette = plaquePath().united(shieldPath(shieldBoxInside(crestBox)));
    drawGlow(painter, silhouette, palette::sky, 5);
    drawGlow(painter, silhouette, withAlpha(palette::skyPale, 160), 2);
    fillPlaque(painter);
    drawPlaqueRims(painter);
    drawGlow(painter, shieldPath(shieldBoxInside(crestBox)).translated(0, 2),
             withAlpha(palette::navyNight, 220), 3);
    drawEmblem(painter, crestBox);
    drawTexts(painter);
    painter.end();
    return translucent(canvas);
}

} // namespace art
