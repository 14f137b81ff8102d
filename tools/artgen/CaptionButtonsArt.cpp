#include "Painting.h"
#include "Palette.h"
#include "Pictures.h"

#include <functional>

namespace art {

namespace {

enum class Press { Normal, Hover, Pressed };
enum class Mood { Plain, Danger };

constexpr int stripHeight = 18;
// Glyphs hang a little above the middle: the bar continues below the buttons.
constexpr int glyphCentreY = 9;

using Glyph = std::function<void(QPainter &, QPoint centre, const QColor &ink)>;

void drawBackground(QPainter &painter, const QRect &frame, Press press, Mood mood)
{
    fillCaptionRows(painter, frame, 0);
    if (press == Press::Normal)
        return;
    if (mood == Mood::Danger) {
        const bool hover = press == Press::Hover;
        painter.fillRect(
            frame, verticalGradient(frame, hover ? QColor(0xf0, 0x5a, 0x50) : palette::alertRedDeep,
                                    hover ? palette::alertRed : QColor(0x8c, 0x1e, 0x18)));
        return;
    }
    if (press == Press::Hover) {
        painter.fillRect(frame, withAlpha(palette::white, 46));
        painter.fillRect(QRect(frame.left(), frame.top(), frame.width(), 1),
                         withAlpha(palette::white, 70));
        return;
    }
    painter.fillRect(frame, withAlpha(palette::navyNight, 80));
    painter.fillRect(QRect(frame.left(), frame.top(), frame.width(), 1),
                     withAlpha(palette::navyNight, 90));
}

QImage buttonFrame(QSize size, Press press, Mood mood, const Glyph &glyph)
{
    QImage canvas = newCanvas(size);
    QPainter painter(&canvas);
    const QRect frame(QPoint(0, 0), size);
    drawBackground(painter, frame, press, mood);
    prepare(painter);
    const QPoint centre(size.width() / 2, glyphCentreY + (press == Press::Pressed ? 1 : 0));
    glyph(painter, centre + QPoint(0, 1), withAlpha(palette::navyNight, 110));
    glyph(painter, centre, palette::white);
    painter.end();
    return canvas;
}

QList<QImage> threeFrames(int width, Mood mood, const Glyph &glyph)
{
    const QSize size(width, stripHeight);
    return {buttonFrame(size, Press::Normal, mood, glyph),
            buttonFrame(size, Press::Hover, mood, glyph),
            buttonFrame(size, Press::Pressed, mood, glyph)};
}

void outlineBox(QPainter &painter, const QRect &box, const QColor &ink)
{
    painter.fillRect(QRect(box.left(), box.top(), box.width(), 2), ink);
    painter.fillRect(QRect(box.left(), box.bottom(), box.width(), 1), ink);
    painter.fillRect(QRect(box.left(), box.top() + 2, 1, box.height() - 3), ink);
    painter.fillRect(QRect(box.right(), box.top() + 2, 1, box.height() - 3), ink);
}

void minimizeGlyph(QPainter &painter, QPoint centre, const QColor &ink)
{
    painter.fillRect(QRect(centre.x() - 5, centre.y() + 2, 10, 2), ink);
}

void maximizeGlyph(QPainter &painter, QPoint centre, const QColor &ink)
{
    outlineBox(painter, QRect(centre.x() - 5, centre.y() - 4, 10, 9), ink);
}

void restoreGlyph(QPainter &painter, QPoint centre, const QColor &ink)
{
    const QRect front(centre.x() - 5, centre.y() - 2, 8, 7);
    painter.fillRect(QRect(front.left() + 2, front.top() - 3, 8, 2), ink);
    painter.fillRect(QRect(front.right() + 2, front.top() - 1, 1, 5), ink);
    painter.fillRect(QRect(front.right() + 1, front.top() + 3, 1, 1), ink);
    outlineBox(painter, front, ink);
}

void closeGlyph(QPainter &painter, QPoint centre, const QColor &ink)
{
    const QPointF c(centre.x(), centre.y() + 0.5);
    QPainterPath cross;
    cross.moveTo(c + QPointF(-4, -4));
    cross.lineTo(c + QPointF(4, 4));
    cross.moveTo(c + QPointF(4, -4));
    cross.lineTo(c + QPointF(-4, 4));
    painter.strokePath(cross, QPen(ink, 1.7, Qt::SolidLine, Qt::SquareCap));
}

void menuGlyph(QPainter &painter, QPoint centre, const QColor &ink)
{
    for (int row = -5; row <= 3; row += 4)
        painter.fillRect(QRect(centre.x() - 5, centre.y() + row, 10, 2), ink);
}

} // namespace

QImage drawMinimizeStrip()
{
    return opaque(joinedLeftToRight(threeFrames(24, Mood::Plain, minimizeGlyph)));
}

QImage drawMaximizeRestoreStrip()
{
    return opaque(joinedLeftToRight(threeFrames(25, Mood::Plain, maximizeGlyph) +
                                    threeFrames(25, Mood::Plain, restoreGlyph)));
}

QImage drawCloseStrip()
{
    return opaque(joinedLeftToRight(threeFrames(43, Mood::Danger, closeGlyph)));
}

QImage drawToolStrip()
{
    return opaque(joinedLeftToRight(threeFrames(24, Mood::Plain, menuGlyph)));
}

} // namespace art
