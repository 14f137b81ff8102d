#pragma once

#include <QtGlobal>
#include <qnamespace.h>

// The codes the controls' mouse and key events carry: Button 1 left, 2 right, 4 middle (or'ed
// for a move), Shift 1 Shift, 2 Ctrl, 4 Alt, positions in twips
// (platform::PixelsToTwips).
namespace MouseCodes {

short ButtonCode(Qt::MouseButtons buttons);
short ShiftCode(Qt::KeyboardModifiers modifiers);

} // namespace MouseCodes
