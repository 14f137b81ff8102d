#include "MainLayout.h"

#include "platform/winsys/Twips.h"

namespace MainLayout {
namespace {

const int BarHeight = 495;
const int ButtonTop = 15;
const int ButtonHeight = 270;
const int TabLeft = 2300;
const int TabTop = 45;
const int TabMargins = 6900;
const int PanelSide = 60;

std::optional<QRect> valid(int left, int top, int width, int height)
{
    if (width < 0 || height < 0) {
        return std::nullopt;
    }
    return QRect(left, top, width, height);
}

// The caption buttons form one row whose right end stays 85 twips from the window's edge.
std::optional<QRect> captionButton(int windowWidth, int fromRight, int width)
{
    return valid(windowWidth - fromRight, ButtonTop, width, ButtonHeight);
}

} // namespace

Placement Place(QSize clientTwips, int tabHeightTwips)
{
    const int width = clientTwips.width();
    const int height = clientTwips.height();
    Placement place;
    place.WebBForm = valid(0, 0, width, BarHeight);
    place.web_close = captionButton(width, 730, 645);
    place.web_minmax = captionButton(width, 1105, 375);
    place.web_min = captionButton(width, 1465, 360);
    place.web_tool = captionButton(width, 1825, 360);
    place.WebuTab = valid(TabLeft, TabTop, width - TabMargins, tabHeightTwips);
    place.GameSpaceBtn = valid(width - 3300, 0, 1215, 330);
    place.OtherUserBtn = valid(width - 4850, 0, 1485, 330);
    // Below the strip's own height, not its bottom: the panel tucks under the strip's lower edge.
    place.Picture1 = valid(PanelSide, tabHeightTwips, width - 2 * PanelSide,
                           height - tabHeightTwips - PanelSide);
    return place;
}

std::optional<QRect> StartBrowserRect(QSize panelTwips)
{
    return valid(-30, -30, panelTwips.width() + 60, panelTwips.height() + 60);
}

QRect ToPixels(const QRect &twips)
{
    using platform::TwipsToPixels;
    return QRect(TwipsToPixels(twips.x()), TwipsToPixels(twips.y()), TwipsToPixels(twips.width()),
                 TwipsToPixels(twips.height()));
}

} // namespace MainLayout
