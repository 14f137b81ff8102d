#pragma once

#include <QRect>

// Every fixed number of a strip style, in pixels: where a tab's face, caption and close mark lie
// against its nominal Left and Width, and where the style's skin keeps its pictures. Style 0 has
// overlapping faces that reach 14 pixels to the left of a tab's nominal edge; style 1 has
// separate faces with a 5-pixel gap. Any style other than 0 is style 1.
struct TabMetrics {
    // The pictures in the order the skin keeps them.
    enum FaceLook { FaceNormal, FaceHot, FaceSelected, FaceLooks };
    enum MarkLook { MarkOnSelected, MarkNormal, MarkHot, MarkPressed };

    static const TabMetrics &ForStyle(int style);

    int Style;
    int StripHeight;   // also the height of every buffer
    int StandardWidth; // width of a locked tab and the most a shared tab gets
    int FirstLeft;     // Left of tab 0: style 0 keeps room for the first tab's left cap
    int Gap;           // between a tab's right edge and the next tab's Left
    int FaceOffset;    // the face starts this far left of Left and is this much wider
    int FaceHeight;
    int CloseInset; // the close mark's left edge is this far left of the tab's right
    int CloseTop;
    int CaptionIndent; // the caption starts this far right of Left
    // How much narrower than the tab its caption is, with and without a close mark: room for
    // the mark and the right cap. Style 0's selected tab keeps one bold caption width either way.
    int CaptionRoom, CaptionRoomPlain, SelectedRoom, SelectedRoomPlain;
    int SkinBitmap;    // the resource holding the style's skin
    int SkinRows;      // of the skin's background column, stretched to the strip's height
    int SkinFaceWidth; // of each face picture in the skin

    static constexpr int CloseSize = 12;
    // A face's ends are copied as they are; only its middle is stretched.
    static constexpr int CapWidth = 14;
    // Rows below this are outside the tabs in both styles.
    static constexpr int HitHeight = 25;
    // The band's columns up to this one always hit tab 0: style 0 draws its first left cap there.
    static constexpr int FirstTabReach = 14;
    // The skin's first column is the background; the faces follow it.
    static constexpr int BackColumns = 1;

    // Skin columns: the background, the faces side by side, then the close marks.
    int FaceColumn(FaceLook look) const { return BackColumns + look * SkinFaceWidth; }
    int MarkColumn(MarkLook look) const { return FaceColumn(FaceLooks) + look * CloseSize; }

    // A tab's rectangles in band coordinates. A tab without width has no face and is not
    // drawn; a close mark exists only where the face can hold it, so it is hit only where it
    // shows.
    QRect FaceRect(int left, int width) const;
    QRect CloseRect(int left, int width) const;
    QRect CaptionRect(int left, int width, bool hideButton, bool selected) const;
};
