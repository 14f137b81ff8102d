#include "Emblem.h"
#include "Painting.h"
#include "Palette.h"
#include "Pictures.h"

namespace art {

namespace {

constexpr int borderWidth = 4;
constexpr qreal cornerRadius = 7;

// The border is cut into edge tiles and stretched, so each of its four lines has to be one
// colour along its whole run: outer edge, two body lines, and a seam against the client area.
QColor borderLine(int depth)
{
    static const QColor lines[borderWidth] = {
        {0x14, 0x49, 0x85}, {0x22, 0x63, 0xab}, {0x22, 0x63, 0xab}, {0x17, 0x4f, 0x8f}};
    return lines[depth];
}

QImage bandImage(int width)
{
    QImage band = newCanvas({width, captionBandHeight});
    QPainter painter(&band);
    fillCaptionRows(painter, logicalRect(band), 0);
    painter.fillRect(QRect(0, 1, 1, captionBandHeight - 1), borderLine(0));
    painter.fillRect(QRect(width - 1, 1, 1, captionBandHeight - 1), borderLine(0));
    return band;
}

QPainterPath bandShape(const QSizeF &size)
{
    const qreal r = cornerRadius;
    QPainterPath path;
    path.moveTo(0, size.height());
    path.lineTo(0, r);
    path.quadTo(0, 0, r, 0);
    path.lineTo(size.width() - r, 0);
    path.quadTo(size.width(), 0, size.width(), r);
    path.lineTo(size.width(), size.height());
    path.closeSubpath();
    return path;
}

void drawBand(QPainter &painter, int width)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(bandShape(QSizeF(width, captionBandHeight)), QBrush(bandImage(width)));
    painter.setRenderHint(QPainter::Antialiasing, false);
}

void drawBorder(QPainter &painter, const QRect &window)
{
    for (int depth = 0; depth < borderWidth; ++depth) {
        const int top = captionBandHeight;
        const int bottom = window.bottom() - depth;
        painter.fillRect(QRect(depth, top, 1, bottom - top + 1), borderLine(depth));
        painter.fillRect(QRect(window.right() - depth, top, 1, bottom - top + 1),
                         borderLine(depth));
        painter.fillRect(QRect(depth, bottom, window.width() - 2 * depth, 1), borderLine(depth));
    }
}

} // namespace

QImage drawWindowSkin()
{
    const QSize size(94, 85);
    QImage canvas = newCanvas(size, palette::navyDeep);
    QPainter painter(&canvas);
    painter.fillRect(QRect(0, captionBandHeight, size.width(), size.height() - captionBandHeight),
                     palette::white);
    drawBand(painter, size.width());
    drawBorder(painter, logicalRect(canvas));
    painter.end();
    return opaque(canvas);
}

QImage drawCaptionLogo()
{
    // The logo is centred on the 33-row bar, so it repaints bar rows 2 to 30 behind the crest.
    QImage canvas = newCanvas({29, 29});
    QPainter painter(&canvas);
    fillCaptionRows(painter, logicalRect(canvas), (captionBarHeight - 29) / 2);
    prepare(painter);
    const QRectF shield = pixelSnappedShield(logicalSize(canvas).height()).adjusted(0, 0, 0, -1);
    drawGlow(painter, shieldPath(shield).translated(0, 1), withAlpha(palette::navyNight, 170), 1);
    drawEmblemInShield(painter, shield);
    painter.end();
    return opaque(canvas);
}

} // namespace art
