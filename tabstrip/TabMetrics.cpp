#include "TabMetrics.h"

namespace {

// In the order of the fields: style, strip height, standard width, first Left, gap, face
// offset, face height, close inset, close top, caption indent, the four caption rooms, skin
// bitmap, skin rows, skin face width.
constexpr TabMetrics Style0{0, 25, 108, 14, 0, 14, 25, 24, 6, 0, 38, 14, 26, 26, 106, 25, 122};
constexpr TabMetrics Style1{1, 32, 200, 0, 5, 0, 26, 20, 7, 12, 28, 8, 28, 8, 107, 28, 124};

} // namespace

const TabMetrics &TabMetrics::ForStyle(int style)
{
    return style == 0 ? Style0 : Style1;
}

QRect TabMetrics::FaceRect(int left, int width) const
{
    return width > 0 ? QRect(left - FaceOffset, 0, width + FaceOffset, FaceHeight) : QRect();
}

QRect TabMetrics::CloseRect(int left, int width) const
{
    const QRect mark(left + width - CloseInset, CloseTop, CloseSize, CloseSize);
    return FaceRect(left, width).contains(mark) ? mark : QRect();
}

QRect TabMetrics::CaptionRect(int left, int width, bool hideButton, bool selected) const
{
    const int room = selected ? (hideButton ? SelectedRoomPlain : SelectedRoom)
                              : (hideButton ? CaptionRoomPlain : CaptionRoom);
    return QRect(left + CaptionIndent, 0, width - room, FaceHeight);
}
