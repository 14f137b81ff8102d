#pragma once

#include <QPoint>
#include <QRect>
#include <Qt>

// The resizing band of a borderless window as plain geometry. Rectangles are kept as the window
// system keeps them, by their four edges with right and bottom just outside the window, so that
// a rectangle turned into edges and back never gains or loses a pixel.
namespace SizingBand {

// Border zones, clockwise from the top.
enum HitCode {
    HitNone = -1,
    HitTop = 0,
    HitTopRight = 1,
    HitRight = 2,
    HitBottomRight = 3,
    HitBottom = 4,
    HitBottomLeft = 5,
    HitLeft = 6,
    HitTopLeft = 7,
};

inline constexpr int Tolerance = 5;
// A window sized by its band keeps more than this many pixels each way.
inline constexpr int MinWidthAbove = 800;
inline constexpr int MinHeightAbove = 600;

struct Edges {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    static Edges FromRect(const QRect &rect);
    QRect ToRect() const;
    bool operator==(const Edges &other) const = default;
};

// The zone of the window's band that the pointer (screen pixels) is in; corners first.
HitCode HitTest(const Edges &window, QPoint pointer);

Qt::CursorShape CursorFor(HitCode code);

// The frame a drag by the zone shows: the edges the zone names move as far as the pointer moved
// since the press (so a press and release without movement changes nothing, wherever in the band
// it was), and stop where the frame reaches its minimum size, on every edge and corner.
Edges DragFrame(const Edges &start, HitCode code, QPoint pressed, QPoint pointer);

} // namespace SizingBand
