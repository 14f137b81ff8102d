#pragma once

#include <QRect>

namespace ModGetTaskbarHei {

// Height in twips of a taskbar docked at the bottom of a screen, from the screen's geometry and
// its work area (both in pixels); 0 when the work area reaches the bottom.
qint16 TaskbarHeightTwips(const QRect &screen, const QRect &workArea, int twipsPerPixel);

// The same for the primary screen.
qint16 GetTaskbarHeight();

} // namespace ModGetTaskbarHei
