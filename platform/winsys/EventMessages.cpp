#include "EventMessages.h"

#include "VirtualKeys.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QWidget>

namespace platform {
namespace {

WPARAM mouseKeyState(const QMouseEvent *event)
{
    WPARAM state = 0;
    const Qt::MouseButtons buttons = event->buttons();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    state |= buttons.testFlag(Qt::LeftButton) ? MK_LBUTTON : 0;
    state |= buttons.testFlag(Qt::RightButton) ? MK_RBUTTON : 0;
    state |= buttons.testFlag(Qt::MiddleButton) ? MK_MBUTTON : 0;
    state |= modifiers.testFlag(Qt::ShiftModifier) ? MK_SHIFT : 0;
    state |= modifiers.testFlag(Qt::ControlModifier) ? MK_CONTROL : 0;
    return state;
}

// Button messages come in threes (down, up, double click) for left, right and middle.
bool buttonMessage(const QMouseEvent *event, UINT &uMsg)
{
    int offset = 0;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        offset = 0;
        break;
    case QEvent::MouseButtonRelease:
        offset = 1;
        break;
    case QEvent::MouseButtonDblClick:
        offset = 2;
        break;
    default:
        return false;
    }
    switch (event->button()) {
    case Qt::LeftButton:
        uMsg = wm::LButtonDown + offset;
        return true;
    case Qt::RightButton:
        uMsg = wm::RButtonDown + offset;
        return true;
    case Qt::MiddleButton:
        uMsg = wm::MButtonDown + offset;
        return true;
    default:
        return false;
    }
}

bool mouseMessage(const QMouseEvent *event, Message &message)
{
    if (event->type() == QEvent::MouseMove) {
        message.uMsg = wm::MouseMove;
    } else if (!buttonMessage(event, message.uMsg)) {
        return false;
    }
    const QPoint position = event->position().toPoint();
    message.wParam = mouseKeyState(event);
    message.lParam = MakeLParam(position.x(), position.y());
    return true;
}

bool keyMessage(const QKeyEvent *event, Message &message)
{
    const WPARAM key = VirtualKeyOf(event->key());
    if (key == 0) {
        return false;
    }
    const bool down = event->type() == QEvent::KeyPress;
    message.uMsg = down ? wm::KeyDown : wm::KeyUp;
    message.wParam = key;
    // Repeat count 1; bit 30 the previous key state, bit 31 the transition state.
    const quint32 previousState = down ? (event->isAutoRepeat() ? 1u : 0u) : 1u;
    message.lParam = LPARAM(1u | (previousState << 30) | ((down ? 0u : 1u) << 31));
    return true;
}

WPARAM sizeKind(const QWidget *widget)
{
    if (widget->isMinimized()) {
        return SIZE_MINIMIZED;
    }
    return widget->isMaximized() ? SIZE_MAXIMIZED : SIZE_RESTORED;
}

} // namespace

bool MessageFromEvent(QWidget *widget, const QEvent *event, Message &message)
{
    message = Message{};
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        return mouseMessage(static_cast<const QMouseEvent *>(event), message);
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return keyMessage(static_cast<const QKeyEvent *>(event), message);
    case QEvent::Resize: {
        const QSize size = static_cast<const QResizeEvent *>(event)->size();
        message = {wm::Size, sizeKind(widget), MakeLParam(size.width(), size.height())};
        return true;
    }
    case QEvent::Move: {
        const QPoint origin = widget->geometry().topLeft();
        message = {wm::Move, 0, MakeLParam(origin.x(), origin.y())};
        return true;
    }
    case QEvent::Paint:
        message.uMsg = wm::Paint;
        return true;
    case QEvent::Close:
        message.uMsg = wm::Close;
        return true;
    case QEvent::WindowDeactivate:
        message = {wm::Activate, WA_INACTIVE, 0};
        return true;
    case QEvent::UngrabMouse:
        message.uMsg = wm::CaptureChanged;
        return true;
    default:
        return false;
    }
}

} // namespace platform
