#pragma once

#include <cmath>

namespace platform {

// Form layouts are kept in twips; everything the window system sees is in pixels.
inline constexpr int TwipsPerPixel = 15;

// Rounds halves to even, as the layouts were computed.
inline int TwipsToPixels(double twips)
{
    return static_cast<int>(std::nearbyint(twips / TwipsPerPixel));
}

inline int PixelsToTwips(int pixels)
{
    return pixels * TwipsPerPixel;
}

} // namespace platform
