#include "Region.h"

#include <QWidget>

#include <algorithm>
#include <cmath>

namespace platform {
namespace {

// How many pixels of a corner's row (counted from the top or bottom edge) lie outside the
// rounding, counted from the side: a pixel stays when its centre lies within the ellipse that
// passes through the outermost pixel centres of an ex by ey box.
int cornerInset(int row, int ex, int ey)
{
    const double a = (ex - 1) / 2.0;
    const double b = (ey - 1) / 2.0;
    const double dy = b > 0 ? (ey / 2.0 - (row + 0.5)) / b : 0.0;
    const double dx = a * std::sqrt(std::max(0.0, 1.0 - dy * dy));
    // The allowance keeps a rounding error from cutting a pixel whose centre lies on the ellipse.
    return qBound(0, int(std::ceil(ex / 2.0 - dx - 0.5 - 1e-9)), ex / 2);
}

} // namespace

QRegion CreateRoundRectRgn(int left, int top, int right, int bottom, int widthEllipse,
                           int heightEllipse)
{
    const QRect box(QPoint(left, top), QPoint(right - 1, bottom - 1));
    if (box.isEmpty()) {
        return {};
    }
    const int ex = qMin(widthEllipse, box.width());
    const int ey = qMin(heightEllipse, box.height());
    const int ry = ey / 2;
    if (ex / 2 == 0 || ry == 0) {
        return QRegion(box);
    }
    // One row of a corner serves all four, turned over: the corners are alike to the pixel.
    QRegion region(box.adjusted(0, ry, 0, -ry));
    for (int row = 0; row < ry; ++row) {
        const int inset = cornerInset(row, ex, ey);
        const int width = box.width() - 2 * inset;
        region += QRect(box.left() + inset, box.top() + row, width, 1);
        region += QRect(box.left() + inset, box.bottom() - row, width, 1);
    }
    return region;
}

bool SetWindowRgn(HWND hWnd, const QRegion &region, bool redraw)
{
    QWidget *window = WidgetOf(hWnd);
    if (!window) {
        return false;
    }
    if (region.isEmpty()) {
        window->clearMask();
    } else {
        window->setMask(region);
    }
    if (redraw) {
        window->update();
    }
    return true;
}

} // namespace platform
