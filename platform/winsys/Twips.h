#pragma once

#include <QtGlobal>
#include <cmath>

namespace platform {

// Form layouts are kept in twips; everything the window system sees is in pixels.
inline constexpr int TwipsPerPixel = 15;

// Rounds halves to even, as the layouts were computed.
inline int TwipsToPixels(double twips)
{
    return static_cast<int>(std::nearbyint(twips / TwipsPerPixel));
}

// Pointer positions arrive in fractions of a pixel and are reported in twips as a single.
inline float PixelsToTwips(qreal pixels)
{
    return float(pixels * TwipsPerPixel);
}

} // namespace platform
