#include "WindowProc.h"

#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QHash>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QResizeEvent>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace platform {
namespace {

class FunctionProcedure : public WindowProcedure {
public:
    explicit FunctionProcedure(WindowProcFunction function) : m_function(std::move(function)) {}
    LRESULT Call(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        return m_function(hWnd, uMsg, wParam, lParam);
    }

private:
    WindowProcFunction m_function;
};

// A Qt event on its way through a window's chain; the original procedure hands it to the
// widget when the message reaches the bottom unchanged.
struct PendingEvent {
    QEvent *event;
    Message message;
    bool delivered = false;
};

struct Chain {
    QPointer<QWidget> widget;
    WNDPROC original;
    WNDPROC top;
    bool trackLeave = false;
    bool filtering = false;
    QList<PendingEvent *> pending;
};

class ChainRegistry : public QObject {
public:
    Chain *find(HWND hWnd)
    {
        auto it = m_chains.find(hWnd);
        return it == m_chains.end() ? nullptr : &it.value();
    }
    Chain *findOrCreate(HWND hWnd);
    void updateFilter(HWND hWnd);
    void windowDestroyed(HWND hWnd);
    QList<HWND> handles() const { return m_chains.keys(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void watchWorkArea();

    QHash<HWND, Chain> m_chains;
    QHash<const QObject *, HWND> m_byWidget;
    bool m_watchingWorkArea = false;
};

ChainRegistry &registry()
{
    static ChainRegistry *instance = new ChainRegistry; // lives as long as the process
    return *instance;
}

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

void startWindowMove(QWidget *window)
{
    QWindow *handle = window->windowHandle();
    if (handle && QGuiApplication::platformName() == QLatin1String("wayland") &&
        handle->startSystemMove()) {
        return;
    }
    new PointerMove(window);
}

LRESULT systemCommand(QWidget *window, WPARAM command)
{
    switch (command & 0xFFF0) {
    case SC_CLOSE:
        window->close();
        break;
    case SC_MINIMIZE:
        window->showMinimized();
        break;
    case SC_MAXIMIZE:
        window->showMaximized();
        break;
    case SC_RESTORE:
        window->showNormal();
        break;
    default:
        break;
    }
    return 0;
}

LRESULT defaultAction(QWidget *widget, UINT uMsg, WPARAM wParam)
{
    switch (uMsg) {
    case wm::NcLButtonDown:
        if (wParam == HTCAPTION) {
            startWindowMove(widget->window());
        }
        return 0;
    case wm::SysCommand:
        return systemCommand(widget->window(), wParam);
    case wm::Close:
        widget->close();
        return 0;
    default:
        return 0;
    }
}

bool sameMessage(const Message &a, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return a.uMsg == uMsg && a.wParam == wParam && a.lParam == lParam;
}

class OriginalProcedure : public WindowProcedure {
public:
    LRESULT Call(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        Chain *chain = registry().find(hWnd);
        if (!chain || !chain->widget) {
            return 0;
        }
        QWidget *widget = chain->widget;
        if (!chain->pending.isEmpty()) {
            PendingEvent *pending = chain->pending.last();
            if (!pending->delivered && sameMessage(pending->message, uMsg, wParam, lParam)) {
                pending->delivered = true;
                // Filters run inside the event's delivery, so handing it on is the widget's
                // own handling of it, mouse propagation to parents included.
                static_cast<QObject *>(widget)->event(pending->event);
                return 0;
            }
        }
        return defaultAction(widget, uMsg, wParam);
    }
};

Chain *ChainRegistry::findOrCreate(HWND hWnd)
{
    if (Chain *chain = find(hWnd)) {
        return chain;
    }
    QWidget *widget = WidgetOf(hWnd);
    if (!widget) {
        return nullptr;
    }
    Chain chain;
    chain.widget = widget;
    chain.original = std::make_shared<OriginalProcedure>();
    chain.top = chain.original;
    m_byWidget.insert(widget, hWnd);
    connect(widget, &QObject::destroyed, this, [this, hWnd] { windowDestroyed(hWnd); });
    watchWorkArea();
    return &m_chains.insert(hWnd, chain).value();
}

void ChainRegistry::updateFilter(HWND hWnd)
{
    Chain *chain = find(hWnd);
    if (!chain || !chain->widget) {
        return;
    }
    // Windows that kept their own procedure pay nothing for the machinery.
    const bool wanted = chain->top != chain->original || chain->trackLeave;
    if (wanted != chain->filtering) {
        chain->filtering = wanted;
        if (wanted) {
            chain->widget->installEventFilter(this);
        } else {
            chain->widget->removeEventFilter(this);
        }
    }
}

void ChainRegistry::windowDestroyed(HWND hWnd)
{
    Chain *chain = find(hWnd);
    if (!chain) {
        return;
    }
    if (chain->top != chain->original) {
        WNDPROC top = chain->top;
        CallWindowProc(top, hWnd, wm::NcDestroy, 0, 0);
    }
    for (auto it = m_byWidget.begin(); it != m_byWidget.end();) {
        it = it.value() == hWnd ? m_byWidget.erase(it) : std::next(it);
    }
    m_chains.remove(hWnd);
}

bool ChainRegistry::eventFilter(QObject *watched, QEvent *event)
{
    const HWND hWnd = m_byWidget.value(watched, 0);
    Chain *chain = hWnd ? find(hWnd) : nullptr;
    if (!chain || !chain->widget) {
        return false;
    }
    Message message;
    if (event->type() == QEvent::Leave) {
        if (!chain->trackLeave) {
            return false;
        }
        chain->trackLeave = false;
        message.uMsg = wm::MouseLeave;
    } else if (!MessageFromEvent(chain->widget, event, message)) {
        return false;
    }
    if (event->type() == QEvent::Paint) {
        WNDPROC top = chain->top;
        CallWindowProc(top, hWnd, wm::EraseBkgnd, 0, 0);
        chain = find(hWnd);
        if (!chain) {
            return true;
        }
    }
    PendingEvent pending{event, message};
    chain->pending.append(&pending);
    WNDPROC top = chain->top; // a procedure may replace itself while it runs
    CallWindowProc(top, hWnd, message.uMsg, message.wParam, message.lParam);
    if (Chain *after = find(hWnd)) {
        after->pending.removeOne(&pending);
        updateFilter(hWnd);
    }
    return true;
}

void ChainRegistry::watchWorkArea()
{
    if (m_watchingWorkArea || !qGuiApp) {
        return;
    }
    m_watchingWorkArea = true;
    const auto watch = [this](QScreen *screen) {
        connect(screen, &QScreen::availableGeometryChanged, this, &BroadcastWorkAreaChange);
    };
    for (QScreen *screen : QGuiApplication::screens()) {
        watch(screen);
    }
    connect(qGuiApp, &QGuiApplication::screenAdded, this, watch);
}

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

WNDPROC MakeWindowProc(WindowProcFunction function)
{
    return std::make_shared<FunctionProcedure>(std::move(function));
}

WNDPROC SetWindowProc(HWND hWnd, WNDPROC procedure)
{
    Chain *chain = registry().findOrCreate(hWnd);
    if (!chain || !procedure) {
        return nullptr;
    }
    WNDPROC previous = std::exchange(chain->top, std::move(procedure));
    registry().updateFilter(hWnd);
    return previous;
}

WNDPROC GetWindowProc(HWND hWnd)
{
    Chain *chain = registry().findOrCreate(hWnd);
    return chain ? chain->top : nullptr;
}

bool HasOriginalWindowProc(HWND hWnd)
{
    Chain *chain = registry().find(hWnd);
    return chain ? chain->top == chain->original : IsWindow(hWnd);
}

LRESULT CallWindowProc(const WNDPROC &procedure, HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return procedure ? procedure->Call(hWnd, uMsg, wParam, lParam) : 0;
}

LRESULT SendMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    WNDPROC top = GetWindowProc(hWnd);
    return CallWindowProc(top, hWnd, uMsg, wParam, lParam);
}

bool PostMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (!IsWindow(hWnd)) {
        return false;
    }
    QTimer::singleShot(0, &registry(), [=] {
        if (IsWindow(hWnd)) {
            SendMessage(hWnd, uMsg, wParam, lParam);
        }
    });
    return true;
}

void TrackMouseLeave(HWND hWnd)
{
    Chain *chain = registry().findOrCreate(hWnd);
    if (!chain) {
        return;
    }
    if (!chain->widget->underMouse()) {
        // Already outside: the notification comes at once, as the system would post it.
        PostMessage(hWnd, wm::MouseLeave, 0, 0);
        return;
    }
    chain->trackLeave = true;
    registry().updateFilter(hWnd);
}

void BroadcastWorkAreaChange()
{
    for (HWND hWnd : registry().handles()) {
        Chain *chain = registry().find(hWnd);
        if (chain && chain->widget && chain->widget->isWindow() && chain->top != chain->original) {
            SendMessage(hWnd, wm::SettingChange, SPI_SETWORKAREA, 0);
        }
    }
}

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
    default:
        return false;
    }
}

WPARAM VirtualKeyOf(int qtKey)
{
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) {
        return WPARAM(qtKey);
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
        return WPARAM(0x70 + (qtKey - Qt::Key_F1));
    }
    static const QHash<int, WPARAM> keys{
        {Qt::Key_Backspace, 0x08}, {Qt::Key_Tab, 0x09},      {Qt::Key_Return, 0x0D},
        {Qt::Key_Enter, 0x0D},     {Qt::Key_Shift, 0x10},    {Qt::Key_Control, 0x11},
        {Qt::Key_Alt, 0x12},       {Qt::Key_Escape, 0x1B},   {Qt::Key_Space, 0x20},
        {Qt::Key_PageUp, 0x21},    {Qt::Key_PageDown, 0x22}, {Qt::Key_End, 0x23},
        {Qt::Key_Home, 0x24},      {Qt::Key_Left, 0x25},     {Qt::Key_Up, 0x26},
        {Qt::Key_Right, 0x27},     {Qt::Key_Down, 0x28},     {Qt::Key_Insert, 0x2D},
        {Qt::Key_Delete, 0x2E},
    };
    return keys.value(qtKey, 0);
}

} // namespace platform
