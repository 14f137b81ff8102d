#include "TabLayout.h"

#include "TabMetrics.h"

#include <algorithm>
#include <cmath>

namespace TabLayout {

int CalcTabWidth(const StripGeometry &strip, const QList<TabBox> &tabs)
{
    const TabMetrics metrics = TabMetrics::ForStyle(strip.Style);
    const int n = int(tabs.size());
    const int k = int(
        std::count_if(tabs.begin(), tabs.end(), [](const TabBox &tab) { return tab.LockSize; }));
    const int locked = metrics.StandardWidth * k;
    const int free = metrics.Style == 0 ? strip.BandWidth() - locked - 14
                                        : strip.BandWidth() - locked - metrics.Gap * n;
    const int width = n > k ? int(std::nearbyint(double(free) / (n - k))) : metrics.StandardWidth;
    return std::min(width, metrics.StandardWidth);
}

void LayoutTabs(int style, int tabWidth, QList<TabBox> &tabs)
{
    const TabMetrics metrics = TabMetrics::ForStyle(style);
    int x = metrics.FirstLeft;
    for (TabBox &tab : tabs) {
        tab.Left = x;
        tab.Width = tab.LockSize ? metrics.StandardWidth : tabWidth;
        x += tab.Width + metrics.Gap;
    }
}

Hit HitTest(const StripGeometry &strip, const QList<TabBox> &tabs, int x, int y)
{
    if (x < 0 || x > strip.Width || y < 0 || y > TabMetrics::HitHeight) {
        return {false, HitOutside};
    }
    if (x > strip.Width - strip.RightSize || x < strip.LeftSize) {
        return {false, HitMargin};
    }
    if (tabs.isEmpty()) {
        return {false, HitBand};
    }
    const int bx = x - strip.LeftSize;
    if (bx <= 14) {
        return {false, 0};
    }
    const TabMetrics metrics = TabMetrics::ForStyle(strip.Style);
    for (int i = 0; i < tabs.size(); ++i) {
        const TabBox &tab = tabs[i];
        if (tab.Left <= bx && bx <= tab.Left + tab.Width) {
            const bool onClose = !tab.HideButton && metrics.InCloseZone(tab.Left, tab.Width, bx, y);
            return {onClose, i};
        }
    }
    return {false, HitBand};
}

} // namespace TabLayout
