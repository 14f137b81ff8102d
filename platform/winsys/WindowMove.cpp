#include "WindowMove.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
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
    bool eventFilter(QObject *watched, QEvent *event) override
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
        // The move swallows the release, as the window system's does, but only once it has
        // passed Qt's window: that ends the press there. A press Qt still thinks held would
        // send every later move to the pressed widget, and nothing else would see hover.
        if (event->type() == QEvent::MouseButtonRelease) {
            if (watched->isWidgetType()) {
                finish();
                return true;
            }
            // Should Qt hand the release to no widget, the move ends all the same.
            QTimer::singleShot(0, this, &PointerMove::finish);
        }
        return false;
    }

private:
    void finish()
    {
        if (m_finished) {
            return;
        }
        m_finished = true;
        qApp->removeEventFilter(this);
        if (m_window) {
            m_window->releaseMouse();
        }
        deleteLater();
    }

    QPointer<QWidget> m_window;
    QPoint m_startCursor;
    QPoint m_startWindow;
    bool m_finished = false;
};

} // namespace

bool CompositorPlacesWindows()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void StartWindowMove(QWidget *window)
{
    QWindow *handle = window->windowHandle();
    if (handle && CompositorPlacesWindows() && handle->startSystemMove()) {
        return;
    }
    new PointerMove(window);
}

} // namespace platform
