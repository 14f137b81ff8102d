#pragma once

#include <QPointer>
#include <QRect>

class QWidget;

namespace platform {

// A dotted rectangle drawn over everything on the screen, as a window being sized shows its new
// frame. The pointer passes through it, it never takes the focus, and nothing but the frame's
// own pixels is covered, composited screen or not.
class ScreenFrame {
public:
    ScreenFrame();
    ~ScreenFrame();
    ScreenFrame(const ScreenFrame &) = delete;
    ScreenFrame &operator=(const ScreenFrame &) = delete;

    // Shows the frame at the rectangle (screen pixels), replacing the one shown before.
    void Draw(const QRect &rect);
    void Erase();
    bool IsShown() const;
    QRect Rect() const { return m_rect; }

private:
    QPointer<QWidget> m_window;
    QRect m_rect;
};

} // namespace platform
