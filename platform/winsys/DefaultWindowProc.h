#pragma once

#include "WindowMessages.h"

class QWidget;

namespace platform {

// What a message sent by code does when it reaches the bottom of a window's chain: a caption
// press starts a move, a system command minimises, maximises, restores or closes, a close
// request closes. Other messages do nothing. Returns the message's result.
LRESULT DefaultWindowAction(QWidget *widget, UINT uMsg, WPARAM wParam);

} // namespace platform
