#pragma once

#include <Qt>

// The keys a game page leaves to the client (its keydown handler did not call preventDefault)
// and what they do to that page, as in a browser.
namespace PageKeys {

enum class Command { None, Reload, ZoomIn, ZoomOut, ZoomReset, FullScreen };

inline Command CommandOf(int key, Qt::KeyboardModifiers modifiers)
{
    // The keypad's keys count as the main ones; Shift is how "+" is typed.
    const Qt::KeyboardModifiers held = modifiers & ~(Qt::KeypadModifier | Qt::ShiftModifier);
    const bool shift = modifiers & Qt::ShiftModifier;
    if (held == Qt::NoModifier && !shift) {
        switch (key) {
        case Qt::Key_F5:
            return Command::Reload;
        case Qt::Key_F11:
            return Command::FullScreen;
        default:
            return Command::None;
        }
    }
    if (held != Qt::ControlModifier) {
        return Command::None;
    }
    switch (key) {
    case Qt::Key_R:
        return shift ? Command::None : Command::Reload;
    case Qt::Key_Equal:
    case Qt::Key_Plus:
        return Command::ZoomIn;
    case Qt::Key_Minus:
        return shift ? Command::None : Command::ZoomOut;
    case Qt::Key_0:
        return shift ? Command::None : Command::ZoomReset;
    default:
        return Command::None;
    }
}

} // namespace PageKeys
