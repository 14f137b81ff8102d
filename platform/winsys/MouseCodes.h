#pragma once

#include <QtGlobal>
#include <qnamespace.h>

class QMouseEvent;

// The codes the controls' mouse and key events carry: Button 1 left, 2 right, 4 middle (or'ed
// for a move), Shift 1 Shift, 2 Ctrl, 4 Alt, positions in twips
// (platform::PixelsToTwips) or, for controls laid out in pixels, in pixels.
namespace MouseCodes {

inline constexpr short LeftButton = 1;
inline constexpr short RightButton = 2;
inline constexpr short MiddleButton = 4;

short ButtonCode(Qt::MouseButtons buttons);
short ShiftCode(Qt::KeyboardModifiers modifiers);

enum class Unit { Twips, Pixels };

// A mouse event as a control reports it. Button is the button that went down or up (or was
// double-clicked); for a move it is every button held.
struct MouseArgs {
    short Button = 0;
    short Shift = 0;
    float X = 0;
    float Y = 0;
};
MouseArgs Unpack(const QMouseEvent *event, Unit unit = Unit::Twips);

} // namespace MouseCodes
