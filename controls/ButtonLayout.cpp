#include "ButtonLayout.h"

#include "ButtonStrip.h"
#include "platform/winsys/Twips.h"

#include <cmath>

namespace ButtonLayout {
namespace {

int wholeTwips(double twips)
{
    return int(std::nearbyint(twips));
}

} // namespace

int IconWidthTwips(int iconPixelWidth)
{
    if (iconPixelWidth <= 0) {
        return 0;
    }
    return ButtonStrip::HimetricFromPixels(iconPixelWidth) / 26 * platform::TwipsPerPixel;
}

QPoint CaptionOrigin(QSize buttonTwips, QSize textTwips, int iconWidthTwips, int state)
{
    double x = buttonTwips.width() / 2.0 - textTwips.width() / 2.0 + iconWidthTwips;
    double y = buttonTwips.height() / 2.0 - textTwips.height() / 2.0;
    QPoint origin(wholeTwips(x), wholeTwips(y));
    if (state == ButtonStrip::StatePressed) {
        origin += QPoint(platform::TwipsPerPixel, platform::TwipsPerPixel);
    }
    return origin;
}

QPoint IconOrigin(QSize buttonTwips, int textWidthTwips, int iconWidthTwips)
{
    const double x = buttonTwips.width() / 2.0 - textWidthTwips / 2.0 - iconWidthTwips / 2.0;
    return QPoint(wholeTwips(x), 0);
}

QRect FocusRect(QSize buttonPixels)
{
    return QRect(QPoint(3, 3), QPoint(buttonPixels.width() - 4, buttonPixels.height() - 4));
}

} // namespace ButtonLayout
