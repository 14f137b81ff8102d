#include "CaptionBarLayout.h"

#include "platform/winsys/Twips.h"

#include <QImage>
#include <QPainter>

namespace CaptionBarLayout {
namespace {

const int TileStep = 300;
const int BarPieceHeight = 545;
const int EdgeThickness = 60;

QRect toPixels(const QRect &twips)
{
    return QRect(platform::TwipsToPixels(twips.x()), platform::TwipsToPixels(twips.y()),
                 platform::TwipsToPixels(twips.width()), platform::TwipsToPixels(twips.height()));
}

// Tiles at i x 300 for i = 1 up to one past the last whole step, so the run always reaches the
// far end; tile 0 would lie under the end piece anyway.
int tileCount(int lengthTwips)
{
    return lengthTwips / TileStep + 1;
}

} // namespace

int BarHeightPixels()
{
    return BarHeightTwips / platform::TwipsPerPixel;
}

QPoint CaptionOrigin(bool hasLogo)
{
    return QPoint(hasLogo ? 600 : 150, 150);
}

QRect BarTileSource()
{
    return QRect(300, 0, 300, BarPieceHeight);
}

QRect BarLeftEndSource()
{
    return QRect(0, 0, 545, BarPieceHeight);
}

QRect BarRightEndSource(QSize skinTwips)
{
    return QRect(skinTwips.width() - 1000, 0, 1000, BarPieceHeight);
}

QRect PlainPatchSource(QSize skinTwips)
{
    return QRect(skinTwips.width() - 1200, 0, 400, BarPieceHeight);
}

QRect BottomEdgeSource(QSize skinTwips)
{
    return QRect(300, skinTwips.height() - EdgeThickness, 300, 500);
}

QRect LeftEdgeSource()
{
    return QRect(0, 800, EdgeThickness, 500);
}

QRect RightEdgeSource(QSize skinTwips)
{
    return QRect(skinTwips.width() - EdgeThickness, 800, 300, 500);
}

QRect BottomLeftCornerSource(QSize skinTwips)
{
    return QRect(0, skinTwips.height() - EdgeThickness, 545, EdgeThickness);
}

QRect BottomRightCornerSource(QSize skinTwips)
{
    return QRect(skinTwips.width() - 500, skinTwips.height() - EdgeThickness, 500, EdgeThickness);
}

QList<SkinPiece> BarPieces(int barWidthTwips, QSize skinTwips)
{
    QList<SkinPiece> pieces;
    for (int i = 1; i <= tileCount(barWidthTwips); ++i) {
        pieces.append({BarTileSource(), QPoint(i * TileStep, 0)});
    }
    pieces.append({BarLeftEndSource(), QPoint(0, 0)});
    pieces.append({BarRightEndSource(skinTwips), QPoint(barWidthTwips - 1000, 0)});
    return pieces;
}

SkinPiece NominPiece(int barWidthTwips, QSize skinTwips)
{
    return {PlainPatchSource(skinTwips), QPoint(barWidthTwips - 830, 0)};
}

QList<SkinPiece> BorderPieces(QSize formTwips, QSize skinTwips)
{
    const int width = formTwips.width();
    const int height = formTwips.height();
    QList<SkinPiece> pieces;
    for (int i = 1; i <= tileCount(width); ++i) {
        pieces.append({BottomEdgeSource(skinTwips), QPoint(i * TileStep, height - EdgeThickness)});
    }
    for (int i = 1; i <= tileCount(height); ++i) {
        pieces.append({LeftEdgeSource(), QPoint(0, i * TileStep)});
    }
    for (int i = 1; i <= tileCount(height); ++i) {
        pieces.append({RightEdgeSource(skinTwips), QPoint(width - EdgeThickness, i * TileStep)});
    }
    pieces.append({BottomLeftCornerSource(skinTwips), QPoint(0, height - EdgeThickness)});
    pieces.append(
        {BottomRightCornerSource(skinTwips), QPoint(width - 500, height - EdgeThickness)});
    return pieces;
}

void PaintPieces(QPainter &painter, const QImage &skin, const QList<SkinPiece> &pieces)
{
    // Pieces are measured in device-independent pixels; a skin drawn for a higher ratio has
    // more pixels to each of them.
    const qreal ratio = skin.devicePixelRatio();
    const QRect bounds(QPoint(0, 0), skin.deviceIndependentSize().toSize());
    for (const SkinPiece &piece : pieces) {
        const QRect wanted = toPixels(piece.source);
        const QRect available = wanted.intersected(bounds);
        if (available.isEmpty()) {
            continue;
        }
        const QPoint target(platform::TwipsToPixels(piece.target.x()),
                            platform::TwipsToPixels(piece.target.y()));
        const QRectF source(QPointF(available.topLeft()) * ratio, QSizeF(available.size()) * ratio);
        const QPoint at = target + (available.topLeft() - wanted.topLeft());
        painter.drawImage(QRect(at, available.size()), skin, source);
    }
}

} // namespace CaptionBarLayout
