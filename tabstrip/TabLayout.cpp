#include "TabLayout.h"

#include "TabMetrics.h"

#include <algorithm>
#include <cmath>

namespace TabLayout {

int CalcTabWidth(const StripGeometry &strip, const QList<TabBox> &tabs)
{
    const TabMetrics &metrics = TabMetrics::ForStyle(strip.Style);
    const int n = int(tabs.size());
    const int k = int(
        std::count_if(tabs.begin(), tabs.end(), [](const TabBox &tab) { return tab.LockSize; }));
    const int free =
        strip.BandWidth() - metrics.StandardWidth * k - metrics.FirstLeft - metrics.Gap * n;
    const int width = n > k ? int(std::nearbyint(double(free) / (n - k))) : metrics.StandardWidth;
    return std::min(width, metrics.StandardWidth);
}

void LayoutTabs(int style, int tabWidth, QList<TabBox> &tabs)
{
    const TabMetrics &metrics = TabMetrics::ForStyle(style);
    int x = metrics.FirstLeft;
    for (TabBox &tab : tabs) {
        tab.Left = x;
        tab.Width = tab.LockSize ? metrics.StandardWidth : tabWidth;
        x += tab.Width + metrics.Gap;
    }
}

void PlaceTabs(int style, QList<TabBox> &tabs)
{
    const TabMetrics &metrics = TabMetrics::ForStyle(style);
    for (TabBox &tab : tabs) {
        // Columns Left to Left + Width and rows 0 to HitHeight, bounds included. A null
        // rectangle contains nothing; one of negative width would be turned around.
        tab.Hit =
            tab.Width >= 0 ? QRect(tab.Left, 0, tab.Width + 1, TabMetrics::HitHeight + 1) : QRect();
        tab.Face = metrics.FaceRect(tab.Left, tab.Width);
        tab.Close = tab.HideButton ? QRect() : metrics.CloseRect(tab.Left, tab.Width);
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
    const QPoint at(x - strip.LeftSize, y);
    if (at.x() <= TabMetrics::FirstTabReach) {
        return {false, 0};
    }
    for (int i = 0; i < tabs.size(); ++i) {
        // The close zone is the drawn mark, bounds included.
        const QRect &mark = tabs[i].Close;
        if (tabs[i].Hit.contains(at)) {
            return {!mark.isEmpty() && mark.adjusted(0, 0, 1, 1).contains(at), i};
        }
    }
    return {false, HitBand};
}

int SelectionAfter(TabChange change, int count, int selected, int index)
{
    if (change == TabAdded) {
        return selected < 0 || selected > count ? 0 : selected;
    }
    if (change == TabRemoved && selected != index) {
        return selected > index ? selected - 1 : selected;
    }
    return 0;
}

} // namespace TabLayout
