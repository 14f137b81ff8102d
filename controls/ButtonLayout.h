#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where an image button puts its caption, icon and focus rectangle. Caption and icon positions
// are in twips like the button's own size; the focus rectangle is in pixels.
namespace ButtonLayout {

// The room an icon takes beside the caption: its HIMETRIC width in whole 26ths, in twips.
int IconWidthTwips(int iconPixelWidth);

// Top-left of the caption text. It sits centred, moves right by the icon's room when there is an
// icon, and one pixel right and down while the button shows pressed.
QPoint CaptionOrigin(QSize buttonTwips, QSize textTwips, int iconWidthTwips, int state);

// Top-left of the icon: left of a centred caption, or centred on its own when there is none.
QPoint IconOrigin(QSize buttonTwips, int textWidthTwips, int iconWidthTwips);

// Three pixels inside the button's edges.
QRect FocusRect(QSize buttonPixels);

} // namespace ButtonLayout
