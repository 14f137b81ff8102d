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

QRect TabMetrics::CloseRect(int left, int width) const
{
    const QRect mark(ClosePos(left, width), QSize(CloseSize, CloseSize));
    return FaceRect(left, width).contains(mark) ? mark : QRect();
}

bool TabMetrics::InCloseZone(int left, int width, int x, int y) const
{
    const QRect mark = CloseRect(left, width);
    return !mark.isEmpty() && x >= mark.left() && x <= mark.left() + CloseSize && y >= mark.top() &&
           y <= mark.top() + CloseSize;
}
