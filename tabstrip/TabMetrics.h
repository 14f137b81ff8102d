#pragma once

#include <QPoint>
#include <QRect>

// The fixed geometry of a strip style. Style 0 has overlapping faces that reach 14 pixels to the
// left of a tab's nominal edge; style 1 has separate faces with a 5-pixel gap. Any style other
// than 0 is style 1.
class TabMetrics {
public:
    static TabMetrics ForStyle(int style);

    int Style = 0;
    int StripHeight = 25;    // also the height of every buffer
    int StandardWidth = 108; // width of a locked tab and the most a shared tab gets
    int FirstLeft = 14;      // Left of tab 0
    int Gap = 0;             // between a tab's right edge and the next tab's Left
    int FaceOffset = 14;     // the face starts this far left of Left and is this much wider
    int FaceHeight = 25;
    int CloseInset = 24; // the close mark's left edge is this far left of the tab's right
    int CloseTop = 6;
    static constexpr int CloseSize = 12;
    static constexpr int HitHeight = 25; // rows below this are outside the tabs in both styles

    // Where the tab's face is drawn, in band coordinates.
    QRect FaceRect(int left, int width) const;
    // The close mark's top-left corner.
    QPoint ClosePos(int left, int width) const;
    // Where the close mark is drawn, in band coordinates; empty where the face is too narrow to
    // hold it. Drawing and hit testing both read it, so a mark is hit only where it shows.
    QRect CloseRect(int left, int width) const;
    // The close zone for the mouse: the mark, bounds included.
    bool InCloseZone(int left, int width, int x, int y) const;
};
