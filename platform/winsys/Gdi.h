#pragma once

#include "platform/winsys/SystemColors.h"
#include "platform/winsys/WinTypes.h"

#include <QRect>
#include <QSize>
#include <QString>

class MemDC;

// Block transfers and text between memory device contexts, copying (SRCCOPY). A null context,
// or a rectangle without area, draws nothing and reports 0; what falls outside either picture
// is clipped away.
namespace Gdi {

using platform::COLORREF;
using platform::UINT;

inline constexpr UINT DT_CENTER = 0x0001;
inline constexpr UINT DT_RIGHT = 0x0002;
inline constexpr UINT DT_VCENTER = 0x0004;
inline constexpr UINT DT_BOTTOM = 0x0008;
inline constexpr UINT DT_SINGLELINE = 0x0020;
inline constexpr UINT DT_NOCLIP = 0x0100;
inline constexpr UINT DT_END_ELLIPSIS = 0x8000;

int BitBlt(MemDC *hdcDest, int x, int y, int cx, int cy, const MemDC *hdcSrc, int x1, int y1);

// Scales with the destination's stretch mode.
int StretchBlt(MemDC *hdcDest, int xDest, int yDest, int wDest, int hDest, const MemDC *hdcSrc,
               int xSrc, int ySrc, int wSrc, int hSrc);

// Copies every pixel except those of the colour crTransparent; scales by picking pixels.
int TransparentBlt(MemDC *hdcDest, int xDest, int yDest, int wDest, int hDest, const MemDC *hdcSrc,
                   int xSrc, int ySrc, int wSrc, int hSrc, COLORREF crTransparent);

// Draws nCount characters of the text (-1: all of it) in the rectangle with the context's
// font, text colour and background mode. Returns the height of the text drawn.
int DrawText(MemDC *hdc, const QString &text, int nCount, const QRect &rc, UINT format);

// The width and height of the text in the context's font.
QSize GetTextExtentPoint32(const MemDC *hdc, const QString &text);

} // namespace Gdi
