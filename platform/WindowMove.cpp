#include "WindowMove.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace platform {
namespace {

// Moves a top-level window with the pointer until the left button is released. The window
// system's own move would need a real pressed button, which scripted input does not give.
class PointerMove : public QObject {
public:
    explicit PointerMove(QWidget *window)
        : m_window(window), m_startCursor(QCursor::pos()), m_startWindow(window->pos())
    {
        qApp->installEventFilter(this);
        window->grabMouse();
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (!m_window) {
            deleteLater();
            return false;
        }
        if (event->type() == QEvent::MouseMove) {
            const QPoint global = static_cast<QMouseEvent *>(event)->globalPosition().toPoint();
            m_window->move(m_startWindow + (global - m_startCursor));
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            finish();
            return true;
        }
        return false;
    }

private:
    void finish()
    {
        qApp->removeEventFilter(this);
        m_window->releaseMouse();
        deleteLater();
    }

    QPointer<QWidget> m_window;
    QPoint m_startCursor;
    QPoint m_startWindow;
};

} // namespace

void StartWindowMove(QWidget *window)
{
    QWindow *handle = window->windowHandle();
    if (handle && QGuiApplication::platformName() == QLatin1String("wayland") &&
        handle->startSystemMove()) {
        return;
    }
    new PointerMove(window);
}

} // namespace platform
