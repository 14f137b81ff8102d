#pragma once

class QWidget;

namespace platform {

// Moves a top-level window with the pointer until the left button is released, as the window
// system's move after a caption press does; on Wayland the system's own move is used.
void StartWindowMove(QWidget *window);

} // namespace platform
