#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

class QImage;
class QPainter;

// The caption bar and the window border are cut from one skin bitmap, a miniature window. These
// functions say which piece of the skin goes where, in twips, so the layout is tested without a
// window; PaintPieces puts them on a surface in pixels.
namespace CaptionBarLayout {

struct SkinPiece {
    QRect source;  // in the skin, twips
    QPoint target; // on the surface, twips; painted at the source's size
    bool operator==(const SkinPiece &other) const = default;
};

// The bar is as high as a whole number of pixels fits in 500 twips: 33 pixels, 495 twips.
inline constexpr int BarHeightTwips = 500;
int BarHeightPixels();

// Where the caption text starts: further right when the owner puts a logo at the bar's left.
QPoint CaptionOrigin(bool hasLogo);

QRect BarTileSource();
QRect BarLeftEndSource();
QRect BarRightEndSource(QSize skinTwips);
QRect PlainPatchSource(QSize skinTwips);
QRect BottomEdgeSource(QSize skinTwips);
QRect LeftEdgeSource();
QRect RightEdgeSource(QSize skinTwips);
QRect BottomLeftCornerSource(QSize skinTwips);
QRect BottomRightCornerSource(QSize skinTwips);

// Bar tiles from the left, then the left end, then the right end over them.
QList<SkinPiece> BarPieces(int barWidthTwips, QSize skinTwips);

// The patch that covers the bar's right end where a minimise button would sit.
SkinPiece NominPiece(int barWidthTwips, QSize skinTwips);

// The form's border below the bar: bottom tiles, left tiles, right tiles, then both corners.
QList<SkinPiece> BorderPieces(QSize formTwips, QSize skinTwips);

// Paints each piece at its source's size; whatever falls outside the skin or the surface is cut.
void PaintPieces(QPainter &painter, const QImage &skin, const QList<SkinPiece> &pieces);

} // namespace CaptionBarLayout
