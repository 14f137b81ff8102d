#include "Painting.h"
#include "Palette.h"
#include "Pictures.h"

#include <QFontMetrics>
#include <QPolygonF>
#include <functional>

namespace art {

namespace {

enum class Press { Normal, Hover, Pressed };

constexpr int buttonHeight = 22;
constexpr int iconSide = 12;
constexpr int iconGap = 4;

using Icon = std::function<void(QPainter &, const QRectF &, const QColor &)>;

void drawPlate(QPainter &painter, const QRectF &plate, Press press)
{
    if (press == Press::Normal)
        return;
    QPainterPath shape;
    shape.addRoundedRect(plate, 3, 3);
    if (press == Press::Hover) {
        painter.fillPath(shape, verticalGradient(plate, withAlpha(palette::white, 70),
                                                 withAlpha(palette::white, 30)));
        painter.strokePath(shape, QPen(withAlpha(palette::white, 110), 1));
        return;
    }
    painter.fillPath(shape, withAlpha(palette::navyNight, 85));
    painter.strokePath(shape, QPen(withAlpha(palette::navyNight, 120), 1));
}

void homeIcon(QPainter &painter, const QRectF &box, const QColor &ink)
{
    QPainterPath house;
    house.addPolygon(QPolygonF({{box.center().x(), box.top()},
                                {box.right() + 0.5, box.top() + 6},
                                {box.right() - 1.5, box.top() + 6},
                                {box.right() - 1.5, box.bottom()},
                                {box.center().x() + 1.5, box.bottom()},
                                {box.center().x() + 1.5, box.bottom() - 4},
                                {box.center().x() - 1.5, box.bottom() - 4},
                                {box.center().x() - 1.5, box.bottom()},
                                {box.left() + 1.5, box.bottom()},
                                {box.left() + 1.5, box.top() + 6},
                                {box.left() - 0.5, box.top() + 6}}));
    house.closeSubpath();
    painter.fillPath(house, ink);
}

void personIcon(QPainter &painter, const QRectF &box, const QColor &ink)
{
    QPainterPath person;
    person.addEllipse(QRectF(box.center().x() - 2.6, box.top() + 0.5, 5.2, 5.2));
    const QRectF shoulders(box.left() + 1, box.top() + 6.6, box.width() - 2, 10);
    person.moveTo(shoulders.left(), box.bottom());
    person.arcTo(shoulders, 180, -180);
    person.closeSubpath();
    painter.fillPath(person, ink);
}

QImage textButtonFrame(int width, Press press, const QString &text, const Icon &icon)
{
    QImage canvas = newCanvas({width, buttonHeight});
    QPainter painter(&canvas);
    // The buttons sit at the top of the caption bar and cover its rows 0 to 21.
    fillCaptionRows(painter, logicalRect(canvas), 0);
    prepare(painter);
    drawPlate(painter, QRectF(0.5, 0.5, width - 1, buttonHeight - 1), press);
    const QFont font = cjkFont(12);
    const int textWidth = QFontMetrics(font).horizontalAdvance(text);
    const int left = (width - iconSide - iconGap - textWidth) / 2;
    const int shift = press == Press::Pressed ? 1 : 0;
    const QRectF iconBox(left + shift, 5 + shift, iconSide, iconSide);
    icon(painter, iconBox.translated(0, 1), withAlpha(palette::navyNight, 120));
    icon(painter, iconBox, palette::white);
    painter.setFont(font);
    const QPoint baseline(left + iconSide + iconGap + shift, 15 + shift);
    painter.setPen(withAlpha(palette::navyNight, 130));
    painter.drawText(baseline + QPoint(0, 1), text);
    painter.setPen(palette::white);
    painter.drawText(baseline, text);
    painter.end();
    return canvas;
}

QImage textButtonStrip(int frameWidth, const QString &text, const Icon &icon)
{
    const QImage strip =
        joinedLeftToRight({textButtonFrame(frameWidth, Press::Normal, text, icon),
                           textButtonFrame(frameWidth, Press::Hover, text, icon),
                           textButtonFrame(frameWidth, Press::Pressed, text, icon)});
    return opaque(strip);
}

} // namespace

QImage drawGameSpaceButton()
{
    return textButtonStrip(81, QStringLiteral("游戏官网"), homeIcon);
}

QImage drawOtherUserButton()
{
    return textButtonStrip(99, QStringLiteral("切换账号"), personIcon);
}

} // namespace art
