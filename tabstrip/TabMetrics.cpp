#include "TabMetrics.h"

TabMetrics TabMetrics::ForStyle(int style)
{
    TabMetrics m;
    if (style == 0) {
        return m;
    }
    m.Style = 1;
    m.StripHeight = 32;
    m.StandardWidth = 200;
    m.FirstLeft = 0;
    m.Gap = 5;
    m.FaceOffset = 0;
    m.FaceHeight = 26;
    m.CloseInset = 20;
    m.CloseTop = 7;
    return m;
}

QRect TabMetrics::FaceRect(int left, int width) const
{
    return QRect(left - FaceOffset, 0, width + FaceOffset, FaceHeight);
}

QPoint TabMetrics::ClosePos(int left, int width) const
{
    return QPoint(left + width - CloseInset, CloseTop);
}

bool TabMetrics::InCloseZone(int left, int width, int x, int y) const
{
    const QPoint mark = ClosePos(left, width);
    return x >= mark.x() && x <= mark.x() + CloseSize && y >= mark.y() && y <= mark.y() + CloseSize;
}
