#include "ModGetTaskbarHei.h"

#include "platform/winsys/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace ModGetTaskbarHei {

qint16 TaskbarHeightTwips(const QRect &screen, const QRect &workArea, int twipsPerPixel)
{
    // Work-area bottom is exclusive here, as the window system reports it.
    const int screenBottom = screen.y() + screen.height();
    const int workBottom = workArea.y() + workArea.height();
    const double twips = double(screenBottom - workBottom) * twipsPerPixel;
    return static_cast<qint16>(std::nearbyint(twips));
}

qint16 GetTaskbarHeight()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen) {
        return 0;
    }
    return TaskbarHeightTwips(screen->geometry(), screen->availableGeometry(),
                              platform::TwipsPerPixel);
}

} // namespace ModGetTaskbarHei
