#include "SizingBand.h"

#include <QtGlobal>

#include <cstdlib>

namespace SizingBand {
namespace {

bool near(int a, int b)
{
    return std::abs(a - b) <= Tolerance;
}

bool within(int value, int low, int high)
{
    return low + Tolerance < value && value < high - Tolerance;
}

// A moving edge follows the pointer until the frame is down to its minimum, and stops there
// however far the pointer goes on.
void moveLeft(Edges &frame, int x)
{
    frame.left = qMin(x, frame.right - MinWidthAbove - 1);
}

void moveRight(Edges &frame, int x)
{
    frame.right = qMax(x, frame.left + MinWidthAbove + 1);
}

void moveTop(Edges &frame, int y)
{
    frame.top = qMin(y, frame.bottom - MinHeightAbove - 1);
}

void moveBottom(Edges &frame, int y)
{
    frame.bottom = qMax(y, frame.top + MinHeightAbove + 1);
}

} // namespace

Edges Edges::FromRect(const QRect &rect)
{
    return {rect.x(), rect.y(), rect.x() + rect.width(), rect.y() + rect.height()};
}

QRect Edges::ToRect() const
{
    return QRect(left, top, right - left, bottom - top);
}

HitCode HitTest(const Edges &w, QPoint p)
{
    const int x = p.x();
    const int y = p.y();
    if (near(w.left, x) && near(w.bottom, y)) {
        return HitBottomLeft;
    }
    if (near(w.top, y) && near(w.left, x)) {
        return HitTopLeft;
    }
    if (near(w.right, x) && near(w.bottom, y)) {
        return HitBottomRight;
    }
    if (near(w.right, x) && near(w.top, y)) {
        return HitTopRight;
    }
    if (near(w.top, y) && within(x, w.left, w.right)) {
        return HitTop;
    }
    if (near(w.right, x) && within(y, w.top, w.bottom)) {
        return HitRight;
    }
    if (near(w.bottom, y) && within(x, w.left, w.right)) {
        return HitBottom;
    }
    if (near(w.left, x) && within(y, w.top, w.bottom)) {
        return HitLeft;
    }
    return HitNone;
}

Qt::CursorShape CursorFor(HitCode code)
{
    switch (code) {
    case HitTop:
    case HitBottom:
        return Qt::SizeVerCursor;
    case HitRight:
    case HitLeft:
        return Qt::SizeHorCursor;
    case HitTopRight:
    case HitBottomLeft:
        return Qt::SizeBDiagCursor;
    case HitBottomRight:
    case HitTopLeft:
        return Qt::SizeFDiagCursor;
    case HitNone:
        break;
    }
    return Qt::ArrowCursor;
}

Edges DragFrame(const Edges &start, HitCode code, QPoint pressed, QPoint pointer)
{
    Edges frame = start;
    const QPoint moved = pointer - pressed;
    if (moved.isNull()) {
        return frame;
    }
    switch (code) {
    case HitTop:
        moveTop(frame, start.top + moved.y());
        break;
    case HitTopRight:
        moveTop(frame, start.top + moved.y());
        moveRight(frame, start.right + moved.x());
        break;
    case HitRight:
        moveRight(frame, start.right + moved.x());
        break;
    case HitBottomRight:
        moveRight(frame, start.right + moved.x());
        moveBottom(frame, start.bottom + moved.y());
        break;
    case HitBottom:
        moveBottom(frame, start.bottom + moved.y());
        break;
    case HitBottomLeft:
        moveLeft(frame, start.left + moved.x());
        moveBottom(frame, start.bottom + moved.y());
        break;
    case HitLeft:
        moveLeft(frame, start.left + moved.x());
        break;
    case HitTopLeft:
        moveTop(frame, start.top + moved.y());
        moveLeft(frame, start.left + moved.x());
        break;
    case HitNone:
        break;
    }
    return frame;
}

} // namespace SizingBand
