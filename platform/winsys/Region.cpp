#include "Region.h"

#include <QWidget>

namespace platform {

QRegion CreateRoundRectRgn(int left, int top, int right, int bottom, int widthEllipse,
                           int heightEllipse)
{
    const QRect box(QPoint(left, top), QPoint(right - 1, bottom - 1));
    if (box.isEmpty()) {
        return {};
    }
    const int ex = qMin(widthEllipse, box.width());
    const int ey = qMin(heightEllipse, box.height());
    const int rx = ex / 2;
    const int ry = ey / 2;
    if (rx == 0 || ry == 0) {
        return QRegion(box);
    }
    QRegion region(box);
    const QRect corners[] = {
        QRect(box.left(), box.top(), rx, ry),
        QRect(box.right() - rx + 1, box.top(), rx, ry),
        QRect(box.left(), box.bottom() - ry + 1, rx, ry),
        QRect(box.right() - rx + 1, box.bottom() - ry + 1, rx, ry),
    };
    const QRect ellipses[] = {
        QRect(box.left(), box.top(), ex, ey),
        QRect(box.right() - ex + 1, box.top(), ex, ey),
        QRect(box.left(), box.bottom() - ey + 1, ex, ey),
        QRect(box.right() - ex + 1, box.bottom() - ey + 1, ex, ey),
    };
    for (int i = 0; i < 4; ++i) {
        region -= QRegion(corners[i]);
        region += QRegion(ellipses[i], QRegion::Ellipse) & QRegion(corners[i]);
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
