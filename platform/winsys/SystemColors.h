#pragma once

#include <QColor>

namespace platform {

// Colours travel as 0x00BBGGRR (red in the low byte). A value with the high bit set names a
// system colour by its index (0x80000012 is the button text colour) and is resolved through the
// application palette, so skinned windows follow the desktop's theme.
using COLORREF = quint32;

inline constexpr COLORREF SystemColorFlag = 0x80000000u;

constexpr COLORREF RGB(int red, int green, int blue)
{
    return COLORREF(red & 0xFF) | (COLORREF(green & 0xFF) << 8) | (COLORREF(blue & 0xFF) << 16);
}

inline QColor ColorFromRef(COLORREF color)
{
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

// Resolves system colours; plain colours pass through unchanged.
QColor TranslateColor(COLORREF color);

} // namespace platform
