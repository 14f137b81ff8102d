#include "ButtonStrip.h"

#include <QRect>
#include <cmath>

namespace ButtonStrip {
namespace {

const QRgb MaskColor = 0xff00ff;

} // namespace

int HimetricFromPixels(int pixels)
{
    // 2540 HIMETRIC per inch at 96 pixels per inch, rounded half up as the picture reports it.
    return int((qint64(pixels) * 2540 + 48) / 96);
}

int FrameCount(int style)
{
    return style == ToggleStyle ? 6 : 3;
}

int ImageCount(int style)
{
    return style == ToggleStyle ? 8 : 4;
}

QSize FrameSize(QSize stripPixels, int style)
{
    // Rounded half to even, as the conversion to a whole number always did.
    const double width =
        HimetricFromPixels(stripPixels.width()) / HimetricPerPixel / FrameCount(style);
    const double height = HimetricFromPixels(stripPixels.height()) / HimetricPerPixel;
    return QSize(int(std::nearbyint(width)), int(std::nearbyint(height)));
}

int ImageIndex(int state, bool value, int style)
{
    return state + (value && style == ToggleStyle ? 3 : 0);
}

QList<QImage> CutImages(const QImage &strip, QSize frame, int style)
{
    QList<QImage> images;
    const QImage source = strip.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    // The frame is in device-independent pixels; a strip drawn for a higher ratio has more.
    const qreal ratio = strip.devicePixelRatio();
    const QSize pixels = (QSizeF(frame) * ratio).toSize();
    for (int i = 0; i < ImageCount(style); ++i) {
        QImage image = source.copy(QRect(QPoint(i * pixels.width(), 0), pixels));
        image.setDevicePixelRatio(ratio);
        images.append(image);
    }
    return images;
}

QImage DisabledFace(const QImage &normal)
{
    QImage face = normal.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < face.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(face.scanLine(y));
        for (int x = 0; x < face.width(); ++x) {
            const QRgb pixel = line[x];
            if ((pixel & RGB_MASK) == MaskColor) {
                continue; // stays see-through on a transparent button
            }
            // Halfway to a light grey keeps the glyph readable as "there but not available".
            const int grey = (qGray(pixel) + 0xd8) / 2;
            line[x] = qRgba(grey, grey, grey, qAlpha(pixel));
        }
    }
    return face.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace ButtonStrip
