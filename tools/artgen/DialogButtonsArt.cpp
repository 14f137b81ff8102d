#include "Painting.h"
#include "Palette.h"
#include "Pictures.h"

namespace art {

namespace {

enum class Press { Normal, Hover, Pressed };

const QSize frameSize(75, 22);

struct ButtonColours {
    QColor top;
    QColor bottom;
    QColor edge;
    int sheen;
};

ButtonColours coloursFor(Press press)
{
    switch (press) {
    case Press::Normal:
        return {{0x3b, 0x88, 0xd6}, {0x1f, 0x5f, 0xa8}, {0x16, 0x4a, 0x86}, 110};
    case Press::Hover:
        return {{0x55, 0x9c, 0xe6}, {0x27, 0x6c, 0xba}, palette::goldDeep, 140};
    case Press::Pressed:
        break;
    }
    return {{0x17, 0x4c, 0x8a}, {0x26, 0x66, 0xb0}, {0x0f, 0x36, 0x63}, 0};
}

QImage buttonFrame(Press press)
{
    // The dialog behind these buttons is the white client area of the window skin.
    QImage canvas = newCanvas(frameSize, palette::white);
    QPainter painter(&canvas);
    prepare(painter);
    const ButtonColours colours = coloursFor(press);
    const QRectF body = QRectF(QPointF(0, 0), frameSize).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath shape;
    shape.addRoundedRect(body, 3, 3);
    painter.fillPath(shape, verticalGradient(body, colours.top, colours.bottom));
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRect(3, 1, frameSize.width() - 6, 1),
                     withAlpha(palette::white, colours.sheen));
    if (press == Press::Pressed)
        painter.fillRect(QRect(3, 1, frameSize.width() - 6, 2), withAlpha(palette::navyNight, 70));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.strokePath(shape, QPen(colours.edge, 1));
    painter.end();
    return canvas;
}

} // namespace

QImage drawDialogButtons()
{
    const QImage strip = joinedLeftToRight(
        {buttonFrame(Press::Normal), buttonFrame(Press::Hover), buttonFrame(Press::Pressed)});
    return opaque(strip);
}

} // namespace art
