#include "MouseCodes.h"

#include "Twips.h"

#include <QMouseEvent>

namespace MouseCodes {

short ButtonCode(Qt::MouseButtons buttons)
{
    return short(((buttons & Qt::LeftButton) ? LeftButton : 0) |
                 ((buttons & Qt::RightButton) ? RightButton : 0) |
                 ((buttons & Qt::MiddleButton) ? MiddleButton : 0));
}

short ShiftCode(Qt::KeyboardModifiers modifiers)
{
    return short(((modifiers & Qt::ShiftModifier) ? 1 : 0) |
                 ((modifiers & Qt::ControlModifier) ? 2 : 0) |
                 ((modifiers & Qt::AltModifier) ? 4 : 0));
}

MouseArgs Unpack(const QMouseEvent *event, Unit unit)
{
    const bool move = event->type() == QEvent::MouseMove;
    const QPointF position = event->position();
    const auto scaled = [unit](qreal pixels) {
        return unit == Unit::Twips ? platform::PixelsToTwips(pixels) : float(pixels);
    };
    return {ButtonCode(move ? event->buttons() : event->button()), ShiftCode(event->modifiers()),
            scaled(position.x()), scaled(position.y())};
}

} // namespace MouseCodes
