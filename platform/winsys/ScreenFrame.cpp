#include "ScreenFrame.h"

#include <QPainter>
#include <QWidget>

namespace platform {
namespace {

class FrameWindow : public QWidget {
public:
    FrameWindow()
        : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                               Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus |
                               Qt::X11BypassWindowManagerHint)
    {
        setObjectName("ScreenFrame");
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_ShowWithoutActivating);
    }

protected:
    // Black and white dots, so the frame shows on light and dark alike.
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        QPen dots(Qt::black, 1, Qt::CustomDashLine);
        dots.setDashPattern({1, 1});
        painter.setPen(dots);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

} // namespace

ScreenFrame::ScreenFrame() = default;

ScreenFrame::~ScreenFrame()
{
    delete m_window;
}

void ScreenFrame::Draw(const QRect &rect)
{
    if (!m_window) {
        m_window = new FrameWindow;
    }
    m_rect = rect;
    m_window->setGeometry(rect);
    // Only the one-pixel outline is the window's: what lies inside stays visible and live.
    const QRect local(QPoint(0, 0), rect.size());
    m_window->setMask(QRegion(local) - QRegion(local.adjusted(1, 1, -1, -1)));
    m_window->show();
    m_window->raise();
}

void ScreenFrame::Erase()
{
    if (m_window) {
        m_window->hide();
    }
    m_rect = QRect();
}

bool ScreenFrame::IsShown() const
{
    return m_window && m_window->isVisible();
}

} // namespace platform
