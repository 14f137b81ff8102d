#include "Emblem.h"
#include "Painting.h"
#include "Palette.h"
#include "Pictures.h"

namespace art {

namespace {

void paintCrest(QPainter &painter, int side)
{
    // Small icons give every pixel to the crest; larger ones leave room for a soft drop shadow.
    if (side < 48) {
        drawEmblemInShield(painter, pixelSnappedShield(side));
        return;
    }
    const qreal margin = side * 0.05;
    const QRectF box =
        QRectF(0, 0, side, side).adjusted(margin, margin * 0.5, -margin, -margin * 1.5);
    drawGlow(painter, shieldPath(shieldBoxInside(box)).translated(0, side * 0.02),
             withAlpha(palette::navyNight, 150), std::max(1, side / 64));
    drawEmblem(painter, box);
}

QImage emblemIcon(int side)
{
    QImage canvas = newCanvas({side, side});
    QPainter painter(&canvas);
    prepare(painter);
    paintCrest(painter, side);
    painter.end();
    return translucent(canvas);
}

} // namespace

QImage drawAppIcon()
{
    return emblemIcon(256);
}

QImage drawDesktopIcon(int side)
{
    return emblemIcon(side);
}

QList<int> desktopIconSides()
{
    return {16, 22, 24, 32, 48, 64, 128, 256};
}

QList<QImage> drawIconImages()
{
    QList<QImage> images;
    for (int side : {16, 24, 32, 48, 64, 128})
        images.append(emblemIcon(side));
    return images;
}

} // namespace art
