#pragma once

#include <QImage>
#include <QList>
#include <QSize>

// The back picture of an image button is a horizontal strip of equal frames, normal, hover and
// pressed, three for a push button and six for a toggle button (Value false, then Value true).
// These functions cut it; they need no window, so the geometry is tested on its own.
namespace ButtonStrip {

inline constexpr int PushStyle = 0;
inline constexpr int ToggleStyle = 1;

// Visual states; they index the cut images.
inline constexpr int StateNormal = 0;
inline constexpr int StateHover = 1;
inline constexpr int StatePressed = 2;
inline constexpr int StateDisabled = 3;

// A picture reports its size in HIMETRIC; the frame sizes were defined on that measure, so they
// are computed from it to round exactly as the button always has.
inline constexpr double HimetricPerPixel = 26.45836;
int HimetricFromPixels(int pixels);

// Frames in the strip: 3 for a push button, 6 for a toggle button.
int FrameCount(int style);

// Cut images kept per button: 4 for a push button, 8 for a toggle button.
int ImageCount(int style);

// One frame's size in pixels, from the strip's size in pixels.
QSize FrameSize(QSize stripPixels, int style);

// The cut image that shows a state (0..2) for the given toggle value.
int ImageIndex(int state, bool value, int style);

// Entry i is the frame-sized rectangle of the strip at x = i x frame width; parts beyond the
// strip come out transparent.
QList<QImage> CutImages(const QImage &strip, QSize frame, int style);

// The strip holds no disabled frame; a disabled button shows its normal frame faded to grey.
QImage DisabledFace(const QImage &normal);

} // namespace ButtonStrip
