#pragma once

class QWidget;

namespace platform {

// The compositor places and sizes top-level windows itself (Wayland): a client can neither put a
// window at a point of the screen nor learn where its panels are, only ask for a state.
bool CompositorPlacesWindows();

// Moves a top-level window with the pointer until the left button is released, as the window
// system's move after a caption press does; on Wayland the system's own move is used.
void StartWindowMove(QWidget *window);

} // namespace platform
