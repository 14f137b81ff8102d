#pragma once

#include "platform/winsys/WindowHandles.h"

#include <QRegion>
#include <QSize>

namespace platform {

// A rectangle with rounded corners, each corner a quarter of an ellipse of the given size, as
// the window system builds one: the right and bottom edges lie outside it. The four corners are
// mirror images of one another.
QRegion CreateRoundRectRgn(int left, int top, int right, int bottom, int widthEllipse,
                           int heightEllipse);

// Makes the region the window's shape: outside it the window neither shows nor takes the mouse.
// False when the window does not exist.
bool SetWindowRgn(HWND hWnd, const QRegion &region, bool redraw);

} // namespace platform
